// Stale-cache rules of CachedVector and the normalisation and caches of Angle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/Angle.h"
#include "geometry/CachedVector.h"

namespace {
constexpr double kPi = Angle::kPi;
constexpr double kTwoPi = Angle::kTwoPi;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CachedVectorCaches, LengthIsComputedOnceAndFollowsSetters) {
  CachedVector zero;
  EXPECT_FALSE(zero.IsLengthStale());
  EXPECT_EQ(zero.GetLength(), 0.0f);

  CachedVector v(3.0f, 4.0f);
  EXPECT_TRUE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 5.0f);
  v.SetX(0.0f);
  EXPECT_FALSE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 4.0f);
  v *= 2.0f;
  EXPECT_TRUE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 8.0f);

  EXPECT_EQ(CachedVector(-0.5f, 0.0f).GetLength(), 0.5f);
  EXPECT_EQ(CachedVector(1e-7f, -1e-7f).GetLength(), 0.0f);
}

TEST(CachedVectorCaches, DirectionNeverAskedForStaysStaleAcrossSetters) {
  CachedVector v(1.0f, 0.0f);
  v.SetY(1.0f);
  EXPECT_TRUE(v.IsAngleStale());
  EXPECT_DOUBLE_EQ(v.GetAngle().GetRadians(), kPi / 4);
  // Once computed, the direction follows the coordinates.
  v.SetX(-1.0f);
  EXPECT_FALSE(v.IsAngleStale());
  EXPECT_DOUBLE_EQ(v.GetAngle().GetRadians(), 3 * kPi / 4);
  EXPECT_TRUE((v + v).IsAngleStale());
}

TEST(CachedVectorCaches, NormalizeKeepsDirectionAndRecomputesLength) {
  CachedVector zero(0.0f, 0.0f);
  zero.Normalize();
  EXPECT_EQ(zero.X(), 0.0f);
  EXPECT_EQ(zero.Y(), 0.0f);

  CachedVector v(3.0f, 4.0f);
  const double before = v.GetAngle().GetRadians();
  v.Normalize();
  EXPECT_FLOAT_EQ(v.X(), 0.6f);
  EXPECT_FLOAT_EQ(v.Y(), 0.8f);
  EXPECT_TRUE(v.IsLengthStale());
  EXPECT_EQ(v.GetAngle().GetRadians(), before);
  EXPECT_NEAR(v.GetLength(), 1.0f, 1e-6f);
}

TEST(AngleNormalisation, KeepsRadiansInOneTurn) {
  EXPECT_DOUBLE_EQ(Angle(7.0).GetRadians(), 7.0 - kTwoPi);
  EXPECT_DOUBLE_EQ(Angle(-0.5).GetRadians(), kTwoPi - 0.5);
  EXPECT_EQ(Angle(kTwoPi).GetRadians(), 0.0);
  Angle a(6.0);
  a += Angle(1.0);
  EXPECT_DOUBLE_EQ(a.GetRadians(), 7.0 - kTwoPi);
  EXPECT_DOUBLE_EQ((Angle(0.5) - Angle(1.0)).GetRadians(), kTwoPi - 0.5);
  // Unary minus mirrors without renormalising.
  EXPECT_EQ((-Angle(1.0)).GetRadians(), -1.0);
}

TEST(AngleNormalisation, HugeAndInfiniteValuesDoNotHang) {
  const double huge = Angle(1e20).GetRadians();
  EXPECT_GE(huge, 0.0);
  EXPECT_LT(huge, kTwoPi);
  EXPECT_GE(Angle(-1e18).GetRadians(), 0.0);
  EXPECT_EQ(Angle(kInf).GetRadians(), kInf);
  Angle stale;
  stale += Angle(1.0);
  EXPECT_TRUE(stale.IsStale());
  EXPECT_TRUE(std::isnan(Angle(std::nan("")).GetRadians()));
}

TEST(AngleFromDirection, CoversTheAxesAndCachesOnlyTheTangent) {
  EXPECT_DOUBLE_EQ(Angle(-1.0, 0.0).GetRadians(), kPi);
  EXPECT_DOUBLE_EQ(Angle(0.0, 1.0).GetRadians(), kPi / 2);
  EXPECT_DOUBLE_EQ(Angle(0.0, -1.0).GetRadians(), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(Angle(1.0, -1.0).GetRadians(), 7 * kPi / 4);
  EXPECT_TRUE(std::isnan(Angle(0.0, 0.0).GetRadians()));

  const Angle a(-1.0, -1.0);
  EXPECT_DOUBLE_EQ(a.GetRadians(), 5 * kPi / 4);
  EXPECT_DOUBLE_EQ(a.Tan(), 1.0);
  EXPECT_NEAR(a.Sin(), -std::sqrt(0.5), 1e-12);
}

}  // namespace
