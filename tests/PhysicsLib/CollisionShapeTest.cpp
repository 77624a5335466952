// Triangulation, point tests, transforms and bounds of collision shapes.
#include <gtest/gtest.h>

#include "ShapeFixtures.h"

namespace {
using physics_test::BoxPolygon;
using physics_test::MakePolygon;
using physics_test::ScopedTable;
using physics_test::SmallTable;

// The L: a 20 x 20 square with its top-right 10 x 10 quarter cut away.
std::vector<Vector2> LShape() {
  return {Vector2(0, 0),   Vector2(10, 0),  Vector2(10, 10),
          Vector2(20, 10), Vector2(20, 20), Vector2(0, 20)};
}

bool InL(float x, float y) {
  const bool inSquare = x >= 0 && x <= 20 && y >= 0 && y <= 20;
  const bool inNotch = x > 10 && y < 10;
  return inSquare && !inNotch;
}

TEST(Triangulation, SquareSplitsInTwoAndContainsItsCorners) {
  const CollisionPolygon square = BoxPolygon(0, 0, 0, 10, 10);
  EXPECT_EQ(square.GetTriangles().size(), 2u);
  EXPECT_TRUE(square.Contains(Vector2(5, 5)));
  for (const CollisionVertex& corner : square.GetVertices()) {
    EXPECT_TRUE(square.Contains(corner.GetPosition()));
  }
  EXPECT_FALSE(square.Contains(Vector2(10.5f, 5)));
  EXPECT_FALSE(square.Contains(Vector2(5, -0.5f)));
}

TEST(Triangulation, LShapeIsCoveredExactlyEitherWinding) {
  std::vector<Vector2> points = LShape();
  for (int winding = 0; winding < 2; ++winding) {
    const CollisionPolygon l = MakePolygon(0, points);
    EXPECT_EQ(l.GetTriangles().size(), 4u);
    for (float y = 0.5f; y < 20; y += 1.0f) {
      for (float x = 0.5f; x < 20; x += 1.0f) {
        EXPECT_EQ(l.Contains(Vector2(x, y)), InL(x, y)) << x << "," << y << " winding " << winding;
      }
    }
    EXPECT_FALSE(l.Contains(Vector2(15, 5)));
    std::reverse(points.begin(), points.end());
  }
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

TEST(Triangulation, SegmentsHaveNoTrianglesOnlyCircles) {
  ScopedTable table(SmallTable());
  const CollisionPolygon segment = MakePolygon(0, {Vector2(0, 0), Vector2(10, 0)}, 2.0f);
  EXPECT_TRUE(segment.GetTriangles().empty());
  EXPECT_FALSE(segment.Contains(Vector2(5, 0)));

  const CollisionShape shape({segment});
  EXPECT_TRUE(shape.ContainsInBounds(Vector2(10, 1.5f)));
  EXPECT_FALSE(shape.ContainsInBounds(Vector2(5, 0)));
}

TEST(Triangulation, VertexIndexBeyondTheCountIsAnAssertion) {
  const CollisionPolygon square = BoxPolygon(0, 0, 0, 10, 10);
  EXPECT_DEATH(square.GetVertex(4),
               "Assertion failed: i < m_collisionpoints.size\\(\\), file "
               "PhysicsLib/CollisionPolygon.cpp, line [0-9]+");
}

TEST(ShapeTransforms, MirroredPolygonKeepsContainingMirroredPoints) {
  const CollisionPolygon original = MakePolygon(0, LShape());
  CollisionPolygon mirrored = original;
  mirrored.Transform(Matrix2D(-1, 0, 0, 1));
  for (float y = 0.5f; y < 20; y += 1.0f) {
    for (float x = 0.5f; x < 20; x += 1.0f) {
      EXPECT_EQ(mirrored.Contains(Vector2(-x, y)), original.Contains(Vector2(x, y)))
          << x << "," << y;
    }
  }
}

TEST(ShapeTransforms, ScaleGrowsRadiiAndTranslateWidensBounds) {
  ScopedTable table(SmallTable());
  CollisionShape shape({MakePolygon(0, {Vector2(0, 0)}, 8.0f)});
  const Bounds& b = shape.GetBounds();
  EXPECT_EQ(b.left, -9.0f);
  EXPECT_EQ(b.top, -9.0f);
  EXPECT_EQ(b.right, 9.0f);
  EXPECT_EQ(b.bottom, 9.0f);
  shape.Transform(Matrix2D(2, 0, 0, 2));
  EXPECT_EQ(shape.GetPolygon(0).GetVertex(0).GetRadius(), 16.0f);
  EXPECT_EQ(b.right, 17.0f);

  // The box starts at (0, 0, 11, 11): the origin needs no margin; each move adds one.
  CollisionShape box({BoxPolygon(0, 0, 0, 10, 10)});
  box.Translate(CachedVector(5, 0));
  EXPECT_EQ(box.GetPolygon(0).GetVertex(0).GetPosition(), Vector2(5, 0));
  EXPECT_EQ(box.GetBounds().left, 4.0f);
  EXPECT_EQ(box.GetBounds().right, 17.0f);
  EXPECT_EQ(box.GetBounds().top, -1.0f);
  EXPECT_TRUE(box.ContainsInBounds(Vector2(15, 10)));
  EXPECT_FALSE(box.ContainsInBounds(Vector2(4, 5)));
}

TEST(BoundsTests, SharedEdgesOverlapAndSweepsWidenTheMovingSide) {
  const Bounds a{0, 0, 10, 10};
  EXPECT_TRUE(Bounds::Overlaps(a, Bounds{10, 0, 20, 10}));
  EXPECT_TRUE(Bounds::Overlaps(a, Bounds{-5, 10, 0, 15}));
  EXPECT_FALSE(Bounds::Overlaps(a, Bounds{10.5f, 0, 20, 10}));

  Bounds right = a;
  right.Sweep(Vector2(0.5f, 0));
  EXPECT_EQ(right.right, 12.0f);
  EXPECT_EQ(right.left, 0.0f);
  Bounds left = a;
  left.Sweep(Vector2(-0.5f, 0));
  EXPECT_EQ(left.left, -2.0f);
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
