// Triangulation, point tests, transforms and bounds of collision shapes.
#include <gtest/gtest.h>

#include <algorithm>

#include "ShapeFixtures.h"

namespace {

void ExpectBounds(const Bounds& b, float left, float top, float right, float bottom) {
  EXPECT_TRUE(b.left == left && b.top == top && b.right == right && b.bottom == bottom)
      << b.left << " " << b.top << " " << b.right << " " << b.bottom;
}

TEST(Triangulation, SquareAndLShapeAreCoveredExactlyEitherWindingAndMirrored) {
  // A 20 x 20 square, and the L left when its top-right 10 x 10 quarter is cut away.
  const std::vector<Vector2> square = {Vector2(0, 0), Vector2(20, 0), Vector2(20, 20),
                                       Vector2(0, 20)};
  const std::vector<Vector2> l = {Vector2(0, 0),   Vector2(10, 0),  Vector2(10, 10),
                                  Vector2(20, 10), Vector2(20, 20), Vector2(0, 20)};
  for (int variant = 0; variant < 4; ++variant) {
    SCOPED_TRACE(variant);  // the L when odd; reversed winding from 2 on
    const bool notched = variant % 2 == 1;
    std::vector<Vector2> points = notched ? l : square;
    if (variant >= 2) std::reverse(points.begin(), points.end());
    const CollisionPolygon polygon = MakePolygon(0, points);
    CollisionPolygon mirrored = polygon;
    mirrored.Transform(Matrix2D(-1, 0, 0, 1));
    EXPECT_EQ(polygon.GetTriangles().size(), points.size() - 2);
    for (const Vector2& corner : points) EXPECT_TRUE(polygon.Contains(corner));
    // Reaches past the right and top edges.
    for (float y = -0.5f; y < 20; y += 1.0f) {
      for (float x = 0.5f; x < 21; x += 1.0f) {
        const bool inside = y > 0 && x < 20 && !(notched && x > 10 && y < 10);
        EXPECT_EQ(polygon.Contains(Vector2(x, y)), inside) << x << "," << y;
        EXPECT_EQ(mirrored.Contains(Vector2(-x, y)), inside) << -x << "," << y;
      }
    }
  }
}

TEST(Triangulation, FlatTrianglesFromVerticesInALineContainNothingBeyondThePolygon) {
  // (0,0), (10,10) and (20,20) lie on one line, so an ear along it has no area.
  const CollisionPolygon l = MakePolygon(0, {Vector2(0, 0), Vector2(10, 0), Vector2(10, 10),
                                             Vector2(20, 10), Vector2(20, 20), Vector2(0, 20)});
  for (const Vector2& far : {Vector2(30, 30), Vector2(-100, -100), Vector2(25, 25)}) {
    EXPECT_FALSE(l.Contains(far)) << far.X() << "," << far.Y();
  }
  EXPECT_TRUE(l.Contains(Vector2(5, 15)));
}

TEST(Triangulation, ManyVerticesDoNotRecurseDeeply) {
  // A fine sawtooth: every corner is an ear, thousands of them.
  std::vector<Vector2> points;
  for (int i = 0; i <= 2000; ++i) points.emplace_back(i * 0.01f, (i % 2) * 0.01f);
  points.emplace_back(20.0f, 10.0f);
  points.emplace_back(0.0f, 10.0f);
  const CollisionPolygon saw = MakePolygon(0, points);
  EXPECT_EQ(saw.GetTriangles().size(), points.size() - 2);
  EXPECT_TRUE(saw.Contains(Vector2(10.0f, 5.0f)));
}

TEST(Triangulation, VertexIndexBeyondTheCountIsAnAssertion) {
  const CollisionPolygon square = BoxPolygon(0, 0, 0, 10, 10);
  EXPECT_DEATH(square.GetVertex(4),
               "Assertion failed: i < m_collisionpoints.size\\(\\), file "
               "PhysicsLib/CollisionPolygon.cpp, line [0-9]+");
}

TEST(ShapeTransforms, RoundSegmentScalesTranslatesAndHitTestsItsCircles) {
  CollisionShape shape({MakePolygon(0, {Vector2(0, 0), Vector2(10, 0)}, 2.0f)});
  EXPECT_TRUE(shape.GetPolygon(0).GetTriangles().empty());
  ExpectBounds(shape.GetBounds(), -3, -3, 13, 3);
  EXPECT_TRUE(shape.ContainsInBounds(Vector2(10, 1.5f)));
  EXPECT_FALSE(shape.ContainsInBounds(Vector2(5, 0)));  // only the circles count
  shape.Transform(Matrix2D(2, 0, 0, 2));
  EXPECT_EQ(shape.GetPolygon(0).GetVertex(1).GetRadius(), 4.0f);
  ExpectBounds(shape.GetBounds(), -5, -5, 25, 5);
  // Each move widens the bounds by one more on every side.
  shape.Translate(CachedVector(5, 0));
  EXPECT_EQ(shape.GetPolygon(0).GetVertex(0).GetPosition(), Vector2(5, 0));
  ExpectBounds(shape.GetBounds(), -1, -6, 31, 6);
  EXPECT_TRUE(shape.ContainsInBounds(Vector2(28, 0)));
  EXPECT_FALSE(shape.ContainsInBounds(Vector2(-0.5f, 0)));
}

TEST(BoundsTests, SharedEdgesOverlapAndSweepsWidenTheMovingSide) {
  const Bounds a{0, 0, 10, 10};
  EXPECT_TRUE(Bounds::Overlaps(a, Bounds{10, 0, 20, 10}));
  EXPECT_TRUE(Bounds::Overlaps(a, Bounds{-5, 10, 0, 15}));
  EXPECT_FALSE(Bounds::Overlaps(a, Bounds{10.5f, 0, 20, 10}));
  Bounds right = a, left = a;
  right.Sweep(Vector2(0.5f, 0));
  left.Sweep(Vector2(-0.5f, 0));
  ExpectBounds(right, 0, 0, 12, 10);
  ExpectBounds(left, -2, 0, 10, 10);
}

TEST(TypeFlags, FollowTheTableInBothDirections) {
  ScopedTable table({{1, 3, 1}, {1, 1, 1}, {1, 1, 2}});
  EXPECT_TRUE(CollisionShape({BoxPolygon(1, 0, 0, 1, 1)}).IsSolid());
  EXPECT_TRUE(CollisionShape({BoxPolygon(2, 0, 0, 1, 1)}).IsOverlap());
  // A type the table does not cover takes part in nothing instead of reading past it.
  EXPECT_FALSE(CollisionShape({BoxPolygon(7, 0, 0, 1, 1)}).IsSolid());
  EXPECT_EQ(CollisionTypeTable::Get(-1, 0), kCollisionNone);
}

}  // namespace
