// Shapes and tables shared by the physics tests.
#pragma once

#include <vector>

#include "PhysicsLib/Collision.h"

inline CollisionPolygon MakePolygon(int type, const std::vector<Vector2>& points,
                                    float radius = 0.0f) {
  std::vector<CollisionVertex> vertices;
  for (const Vector2& p : points) vertices.emplace_back(p, radius);
  return CollisionPolygon(type, vertices);
}

inline CollisionPolygon BoxPolygon(int type, float left, float top, float right, float bottom) {
  return MakePolygon(type, {Vector2(left, top), Vector2(right, top), Vector2(right, bottom),
                            Vector2(left, bottom)});
}

// Installs a table for the test's lifetime and empties it afterwards. By default type 0 is
// solid against itself and types 1 and 2 overlap each other.
struct ScopedTable {
  explicit ScopedTable(std::vector<std::vector<int>> rows = {{3, 1, 1}, {1, 1, 2}, {1, 2, 1}}) {
    CollisionTypeTable::Rows() = std::move(rows);
  }
  ~ScopedTable() { CollisionTypeTable::Rows().clear(); }
};
