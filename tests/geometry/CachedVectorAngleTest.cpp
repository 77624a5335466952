// Stale-cache rules of CachedVector and the normalisation and caches of Angle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/Angle.h"
#include "geometry/CachedVector.h"

namespace {
constexpr double kPi = Angle::kPi;
constexpr double kTwoPi = Angle::kTwoPi;

TEST(CachedVectorCaches, LengthDirectionAndNormalizeFollowTheStaleRules) {
  EXPECT_FALSE(CachedVector().IsLengthStale());
  CachedVector v(3.0f, 4.0f);
  EXPECT_TRUE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 5.0f);
  v.SetX(0.0f);  // a setter keeps a known length up to date...
  EXPECT_FALSE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 4.0f);
  EXPECT_TRUE(v.IsAngleStale());  // ...and leaves a direction never asked for stale
  v *= 2.0f;
  EXPECT_TRUE(v.IsLengthStale());
  EXPECT_EQ(v.GetLength(), 8.0f);
  EXPECT_EQ(CachedVector(1e-7f, -1e-7f).GetLength(), 0.0f);

  CachedVector d(1.0f, 1.0f);
  EXPECT_DOUBLE_EQ(d.GetAngle().GetRadians(), kPi / 4);
  d.SetX(-1.0f);  // once computed, the direction follows the coordinates
  EXPECT_FALSE(d.IsAngleStale());
  const double before = d.GetAngle().GetRadians();
  EXPECT_DOUBLE_EQ(before, 3 * kPi / 4);
  // Normalising keeps the direction, drops the length, and leaves zero alone.
  d.Normalize();
  EXPECT_FLOAT_EQ(d.X(), -std::sqrt(0.5f));
  EXPECT_TRUE(d.IsLengthStale());
  EXPECT_EQ(d.GetAngle().GetRadians(), before);
  CachedVector zero(0.0f, 0.0f);
  zero.Normalize();
  EXPECT_TRUE(zero.X() == 0.0f && zero.Y() == 0.0f);
}

TEST(AngleNormalisation, KeepsRadiansInOneTurnAndFindsDirections) {
  const std::pair<Angle, double> cases[] = {{Angle(7.0), 7.0 - kTwoPi},
                                            {Angle(-0.5), kTwoPi - 0.5},
                                            {Angle(6.0) += Angle(1.0), 7.0 - kTwoPi},
                                            {Angle(0.5) - Angle(1.0), kTwoPi - 0.5},
                                            {Angle(-1.0, 0.0), kPi},
                                            {Angle(0.0, -1.0), 3 * kPi / 2},
                                            {Angle(1.0, -1.0), 7 * kPi / 4}};
  for (const auto& [angle, radians] : cases) EXPECT_DOUBLE_EQ(angle.GetRadians(), radians);
  EXPECT_EQ(Angle(kTwoPi).GetRadians(), 0.0);
  // Unary minus mirrors without renormalising.
  EXPECT_EQ((-Angle(1.0)).GetRadians(), -1.0);
  EXPECT_TRUE(std::isnan(Angle(0.0, 0.0).GetRadians()));

  const Angle a(-1.0, -1.0);
  EXPECT_DOUBLE_EQ(a.GetRadians(), 5 * kPi / 4);
  EXPECT_DOUBLE_EQ(a.Tan(), 1.0);
}

TEST(AngleNormalisation, HugeAndInfiniteValuesDoNotHang) {
  const double huge = Angle(1e20).GetRadians();
  EXPECT_TRUE(huge >= 0.0 && huge < kTwoPi);
  EXPECT_GE(Angle(-1e18).GetRadians(), 0.0);
  const double kInf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(Angle(kInf).GetRadians(), kInf);
  EXPECT_TRUE(std::isnan(Angle(std::nan("")).GetRadians()));
  Angle stale;
  stale += Angle(1.0);
  EXPECT_TRUE(stale.IsStale());
}

}  // namespace
