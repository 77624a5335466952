// Shapes and tables shared by the physics tests.
#pragma once

#include <vector>

#include "PhysicsLib/Collision.h"

namespace physics_test {

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

inline CollisionShape BoxShape(int type, float left, float top, float right, float bottom) {
  return CollisionShape({BoxPolygon(type, left, top, right, bottom)});
}

// Installs a table for the test's lifetime and empties it afterwards.
class ScopedTable {
 public:
  explicit ScopedTable(std::vector<std::vector<int>> rows) {
    CollisionTypeTable::Rows() = std::move(rows);
  }
  ~ScopedTable() { CollisionTypeTable::Rows().clear(); }
};

// Type 0 is solid against itself; types 1 and 2 overlap each other.
inline std::vector<std::vector<int>> SmallTable() {
  return {{3, 1, 1}, {1, 1, 2}, {1, 2, 1}};
}

}  // namespace physics_test
