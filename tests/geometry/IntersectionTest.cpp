// Matrices, frames and the swept point/circle/segment tests.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/Geometry.h"

namespace {
using V = Vector2;
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(MatrixAndFrames, SolveInvertsApplyAndSingularOnesGiveInfinity) {
  // The second matrix has a zero in its first column, the other branch of back substitution.
  for (const Matrix2D& m : {Matrix2D(2, 1, -1, 3), Matrix2D(1, 2, 0, 4)}) {
    const CachedVector u = m.Solve(m * V(1.5f, -2));
    EXPECT_FLOAT_EQ(u.X(), 1.5f);
    EXPECT_FLOAT_EQ(u.Y(), -2.0f);
  }
  EXPECT_EQ(Matrix2D(1, 2, 2, 4).Solve(V(1, 1)), V(kInf, kInf));

  const Transform2D frame(V(10, 10), V(12, 10), V(10, 13));
  EXPECT_EQ(frame.ToLocal(V(11, 11.5f)), V(0.5f, 0.5f));
  const Transform2D flat(V(0, 0), V(1, 1), V(2, 2));
  EXPECT_EQ(flat.ToLocal(V(5, 1)), V(kInf, kInf));
}

TEST(SweptIntersection, PointsAndCirclesMeetCirclesAndSegmentsWithinTheStepOnly) {
  const Circle c(V(0, 0), 5);
  const Ray2D segment(V(0, 10), V(20, 10));
  const Ray2D floor(V(-10, 5), V(10, 5));
  const Circle ball(V(0, 0), 2);
  struct Case {
    const char* what;
    float t, expected;
    bool exact;  // the step's end and "never" are exact
  };
  const Case cases[] = {
      {"enters circle", c.IntersectRay(V(-10, 0), V(10, 0)), 0.5f, false},
      {"leaves circle from inside", c.IntersectRay(V(0, 0), V(0, 10)), 0.5f, false},
      {"stays inside circle", c.IntersectRay(V(0, 0), V(0, 2)), kInf, true},
      {"reaches rim at step end", c.IntersectRay(V(-15, 0), V(10, 0)), 1.0f, true},
      {"grazes circle", c.IntersectRay(V(-5, 5), V(10, 0)), 0.5f, true},
      {"passes circle", c.IntersectRay(V(-10, 6), V(20, 0)), kInf, true},
      {"still near circle", c.IntersectRay(V(-10, 0), V(0, 0)), kInf, true},
      {"reaches segment at step end", segment.IntersectLine(V(5, 0), V(0, 10)), 1.0f, true},
      {"stops short of segment", segment.IntersectLine(V(5, 0), V(0, 9)), kInf, true},
      {"parallel to segment", segment.IntersectLine(V(0, 5), V(20, 0)), kInf, true},
      {"beyond segment end", segment.IntersectLine(V(25, 0), V(0, 20)), kInf, true},
      {"mostly horizontal", segment.IntersectLine(V(-5, 5), V(20, 10)), 0.5f, false},
      {"ball rises onto segment", floor.TimeOfImpact(Circle(V(0, 10), 2), V(0, -10)), 0.3f, false},
      {"ball onto reversed segment", Ray2D(V(10, 5), V(-10, 5)).TimeOfImpact(ball, V(0, 10)), 0.3f,
       false},
      {"ball stops short of segment", floor.TimeOfImpact(ball, V(0, 2)), kInf, true},
      {"ball at rest near segment", floor.TimeOfImpact(ball, V(0, 0)), kInf, true},
  };
  for (const Case& k : cases) {
    EXPECT_TRUE(k.exact ? k.t == k.expected : std::fabs(k.t - k.expected) < 1e-6f)
        << k.what << ": " << k.t;
  }
}

}  // namespace
