// Matrices, frames, the swept point/circle/segment tests and the binary forms of points.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>

#include "geometry/Geometry.h"

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(MatrixAndFrames, SolveInvertsApplyAndRejectsSingularMatrices) {
  const Matrix2D m(2.0f, 1.0f, -1.0f, 3.0f);
  const CachedVector b = m * Vector2(1.5f, -2.0f);
  const CachedVector u = m.Solve(b);
  EXPECT_FLOAT_EQ(u.X(), 1.5f);
  EXPECT_FLOAT_EQ(u.Y(), -2.0f);

  // A column with x = 0 takes the other branch of the back substitution.
  const Matrix2D shear(1.0f, 2.0f, 0.0f, 4.0f);
  const CachedVector v = shear.Solve(shear * Vector2(3.0f, 5.0f));
  EXPECT_FLOAT_EQ(v.X(), 3.0f);
  EXPECT_FLOAT_EQ(v.Y(), 5.0f);

  const CachedVector none = Matrix2D(1.0f, 2.0f, 2.0f, 4.0f).Solve(Vector2(1.0f, 1.0f));
  EXPECT_EQ(none.X(), kInf);
  EXPECT_EQ(none.Y(), kInf);
}

TEST(MatrixAndFrames, FrameMapsPointsBothWaysAndSingularFramesGiveInfinity) {
  const Transform2D frame(Vector2(10.0f, 10.0f), Vector2(12.0f, 10.0f), Vector2(10.0f, 13.0f));
  const Vector2 world = frame.ToWorld(Vector2(1.0f, 1.0f));
  EXPECT_EQ(world, Vector2(12.0f, 13.0f));
  const Vector2 local = frame.ToLocal(Vector2(11.0f, 11.5f));
  EXPECT_FLOAT_EQ(local.X(), 0.5f);
  EXPECT_FLOAT_EQ(local.Y(), 0.5f);
  EXPECT_EQ(frame.Apply(Vector2(11.0f, 11.0f)), Vector2(12.0f, 13.0f));

  const Transform2D flat(Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f), Vector2(2.0f, 2.0f));
  const Vector2 p = flat.ToLocal(Vector2(5.0f, 1.0f));
  EXPECT_EQ(p.X(), kInf);
  EXPECT_EQ(p.Y(), kInf);
  const Ray2D r = flat.ToLocal(Ray2D(Vector2(0.0f, 0.0f), Vector2(1.0f, 0.0f)));
  EXPECT_EQ(r.GetOrigin().X(), kInf);
  EXPECT_EQ(r.GetDirection().Y(), kInf);
  EXPECT_EQ(r.GetDirection().GetLength(), kInf);
}

TEST(CircleIntersection, PointEnteringLeavingAndTouching) {
  const Circle c(Vector2(0.0f, 0.0f), 5.0f);
  EXPECT_FLOAT_EQ(c.IntersectRay(Vector2(-10.0f, 0.0f), Vector2(10.0f, 0.0f)), 0.5f);
  // Starting inside: the exit, when it lies within the step.
  EXPECT_FLOAT_EQ(c.IntersectRay(Vector2(0.0f, 0.0f), Vector2(0.0f, 10.0f)), 0.5f);
  EXPECT_EQ(c.IntersectRay(Vector2(0.0f, 0.0f), Vector2(0.0f, 2.0f)), kInf);
  // Reaching the rim exactly at the end of the step counts.
  EXPECT_EQ(c.IntersectRay(Vector2(-15.0f, 0.0f), Vector2(10.0f, 0.0f)), 1.0f);
  // A tangent pass touches once.
  EXPECT_EQ(c.IntersectRay(Vector2(-5.0f, 5.0f), Vector2(10.0f, 0.0f)), 0.5f);
  EXPECT_EQ(c.IntersectRay(Vector2(-10.0f, 6.0f), Vector2(20.0f, 0.0f)), kInf);
  EXPECT_EQ(c.IntersectRay(Vector2(-10.0f, 0.0f), Vector2(0.0f, 0.0f)), kInf);

  const Circle small(Vector2(-10.0f, 0.0f), 1.0f);
  EXPECT_FLOAT_EQ(c.IntersectRaySwept(small, Vector2(10.0f, 0.0f)), 0.4f);
}

TEST(SegmentIntersection, CrossingParallelAndEndOfStep) {
  const Ray2D segment(Vector2(0.0f, 10.0f), Vector2(20.0f, 10.0f));
  EXPECT_FLOAT_EQ(segment.IntersectLine(Vector2(5.0f, 0.0f), Vector2(0.0f, 20.0f)), 0.5f);
  EXPECT_EQ(segment.IntersectLine(Vector2(5.0f, 0.0f), Vector2(0.0f, 10.0f)), 1.0f);
  EXPECT_EQ(segment.IntersectLine(Vector2(5.0f, 0.0f), Vector2(0.0f, 9.0f)), kInf);
  EXPECT_EQ(segment.IntersectLine(Vector2(0.0f, 5.0f), Vector2(20.0f, 0.0f)), kInf);
  // Passing beyond the segment's end misses.
  EXPECT_EQ(segment.IntersectLine(Vector2(25.0f, 0.0f), Vector2(0.0f, 20.0f)), kInf);
  // Mostly horizontal motion uses the x component.
  EXPECT_FLOAT_EQ(segment.IntersectLine(Vector2(-5.0f, 5.0f), Vector2(20.0f, 10.0f)), 0.5f);
}

TEST(SegmentIntersection, CircleTouchesAHorizontalSegmentFromEitherSide) {
  const Ray2D floor(Vector2(-10.0f, 5.0f), Vector2(10.0f, 5.0f));
  const Circle above(Vector2(0.0f, 0.0f), 2.0f);
  EXPECT_FLOAT_EQ(floor.TimeOfImpact(above, Vector2(0.0f, 10.0f)), 0.3f);
  const Circle below(Vector2(0.0f, 10.0f), 2.0f);
  EXPECT_FLOAT_EQ(floor.TimeOfImpact(below, Vector2(0.0f, -10.0f)), 0.3f);
  // The same segment walked the other way round.
  const Ray2D reversed(Vector2(10.0f, 5.0f), Vector2(-10.0f, 5.0f));
  EXPECT_FLOAT_EQ(reversed.TimeOfImpact(above, Vector2(0.0f, 10.0f)), 0.3f);
  EXPECT_EQ(floor.TimeOfImpact(above, Vector2(0.0f, 2.0f)), kInf);
  EXPECT_EQ(floor.TimeOfImpact(above, Vector2(0.0f, 0.0f)), kInf);
}

TEST(BinaryForms, PointIsEightBytesAndReadsBackBitIdentical) {
  std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
  const Vector2 p(-0.0f, std::bit_cast<float>(std::uint32_t{0x7FC12345}));
  WriteBinary(stream, p);
  WriteRaw(stream, std::uint32_t{0x01020304});
  const std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes[8], '\x04');  // little-endian

  Vector2 back(1.0f, 1.0f);
  ASSERT_TRUE(ReadBinary(stream, back));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(back.X()), std::bit_cast<std::uint32_t>(p.X()));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(back.Y()), 0x7FC12345u);
}

TEST(BinaryForms, TruncatedReadFailsAndLeavesTheTarget) {
  std::istringstream stream(std::string("\x00\x00\x80\x3F\x00\x00", 6), std::ios::binary);
  Vector2 p(7.0f, 8.0f);
  EXPECT_FALSE(ReadBinary(stream, p));
  EXPECT_EQ(p, Vector2(7.0f, 8.0f));
}

}  // namespace
