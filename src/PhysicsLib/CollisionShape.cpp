// Bounds, type flags and point tests of whole collision shapes.
#include "PhysicsLib/CollisionShape.h"

#include <cmath>

#include "PhysicsLib/CollisionTypes.h"
#include "platform/Assert.h"

CollisionShape::CollisionShape(const std::vector<CollisionPolygon>& polygons)
    : m_polygons(polygons) {
  UpdateBounds();
  ComputeTypeFlags();
}

const CollisionPolygon& CollisionShape::GetPolygon(std::size_t i) const {
  // Polygon indices come from data (weapon, muzzle, body); a missing one must not read
  // past the list.
  VT_ASSERT(i < m_polygons.size());
  return m_polygons[i];
}

void CollisionShape::Translate(const CachedVector& v) {
  m_bounds.left += v.X() - 1.0f;
  m_bounds.right += v.X() + 1.0f;
  m_bounds.top += v.Y() - 1.0f;
  m_bounds.bottom += v.Y() + 1.0f;
  for (CollisionPolygon& polygon : m_polygons) polygon.Translate(v);
}

void CollisionShape::Transform(const Matrix2D& m) {
  for (CollisionPolygon& polygon : m_polygons) polygon.Transform(m);
  UpdateBounds();
}

void CollisionShape::UpdateBounds() {
  // Starting from zero keeps the shape's origin inside the box.
  m_bounds = Bounds();
  for (const CollisionPolygon& polygon : m_polygons) {
    for (const CollisionVertex& vertex : polygon.GetVertices()) {
      const float x = vertex.GetPosition().X();
      const float y = vertex.GetPosition().Y();
      const float r = vertex.GetRadius();
      if (x + r > m_bounds.right) m_bounds.right = x + r + 1.0f;
      if (x - r < m_bounds.left) m_bounds.left = x - r - 1.0f;
      if (y + r > m_bounds.bottom) m_bounds.bottom = y + r + 1.0f;
      if (y - r < m_bounds.top) m_bounds.top = y - r - 1.0f;
    }
  }
}

void CollisionShape::ComputeTypeFlags() {
  m_solid = false;
  m_overlap = false;
  const int types = CollisionTypeTable::Count();
  for (const CollisionPolygon& polygon : m_polygons) {
    const int p = polygon.GetType();
    for (int j = 0; j < types; ++j) {
      const int forward = CollisionTypeTable::Get(p, j);
      const int backward = CollisionTypeTable::Get(j, p);
      if (forward == kCollisionSolid || backward == kCollisionSolid) m_solid = true;
      if (forward == kCollisionOverlap || backward == kCollisionOverlap) m_overlap = true;
    }
  }
}

bool CollisionShape::ContainsInBounds(const Vector2& p) const {
  if (p.X() < m_bounds.left || p.X() > m_bounds.right || p.Y() < m_bounds.top ||
      p.Y() > m_bounds.bottom) {
    return false;
  }
  for (const CollisionPolygon& polygon : m_polygons) {
    if (polygon.Contains(p)) return true;
    for (const CollisionVertex& vertex : polygon.GetVertices()) {
      const float r = vertex.GetRadius();
      if (r == 0.0f) continue;
      const float dx = p.X() - vertex.GetPosition().X();
      const float dy = p.Y() - vertex.GetPosition().Y();
      if (std::sqrt(dx * dx + dy * dy) <= r) return true;
    }
  }
  return false;
}
