// The typed polygons of a frame or object, with their bounds and type flags.
#pragma once

#include <cstddef>
#include <vector>

#include "PhysicsLib/Bounds.h"
#include "PhysicsLib/CollisionPolygon.h"
#include "geometry/CachedVector.h"
#include "geometry/Matrix2D.h"
#include "geometry/Vector2.h"

class CollisionShape {
 public:
  CollisionShape() = default;
  // Copies the polygons, then computes the bounds and the type flags.
  explicit CollisionShape(const std::vector<CollisionPolygon>& polygons);

  const CollisionPolygon& GetPolygon(std::size_t i) const;
  int GetPolygonCount() const { return static_cast<int>(m_polygons.size()); }
  const std::vector<CollisionPolygon>& GetPolygons() const { return m_polygons; }
  // Appends without recomputing; follow with UpdateBounds and ComputeTypeFlags.
  void AddPolygon(const CollisionPolygon& polygon) { m_polygons.push_back(polygon); }

  const Bounds& GetBounds() const { return m_bounds; }
  Bounds& GetBounds() { return m_bounds; }

  // Some polygon's type collides as a solid (3) or overlaps (2) with some type of the table.
  bool IsSolid() const { return m_solid; }
  bool IsOverlap() const { return m_overlap; }

  // Moves every vertex; the bounds move too and grow by one pixel on every side.
  void Translate(const CachedVector& v);
  void Transform(const Matrix2D& m);
  void UpdateBounds();
  void ComputeTypeFlags();
  bool ContainsInBounds(const Vector2& p) const;

 private:
  std::vector<CollisionPolygon> m_polygons;
  Bounds m_bounds;
  bool m_solid = false;
  bool m_overlap = false;
};
