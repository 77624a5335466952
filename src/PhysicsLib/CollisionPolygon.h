// A typed polygon of a collision shape, with the triangulation used for point tests.
#pragma once

#include <cstddef>
#include <vector>

#include "PhysicsLib/CollisionVertex.h"
#include "geometry/CachedVector.h"
#include "geometry/Matrix2D.h"
#include "geometry/Vector2.h"

// Three vertex indices in the polygon's winding.
struct CollisionTriangle {
  int index[3];

  int& operator[](int k) { return index[k]; }
  int operator[](int k) const { return index[k]; }
};

class CollisionPolygon {
 public:
  CollisionPolygon() : m_type(0) {}
  // Takes the corners in order and triangulates them, as reading a polygon does.
  CollisionPolygon(int type, std::vector<CollisionVertex> points);

  const CollisionVertex& GetVertex(std::size_t i) const;
  int GetVertexCount() const { return static_cast<int>(m_collisionpoints.size()); }
  const std::vector<CollisionVertex>& GetVertices() const { return m_collisionpoints; }
  int GetType() const { return m_type; }
  void SetType(int type) { m_type = type; }
  const std::vector<CollisionTriangle>& GetTriangles() const { return m_triangles; }

  // Appends a corner; call Decompose once the polygon is complete.
  void AddVertex(const CollisionVertex& vertex) { m_collisionpoints.push_back(vertex); }

  // Rebuilds the triangles, first turning a negatively wound polygon round.
  void Decompose();
  // Ear-splits the polygon given by the vertex indices (at least 4), appending triangles.
  void SplitConcave(std::vector<int> indices);

  // True when p lies in some triangle, edges included; vertex circles are not considered.
  bool Contains(const Vector2& p) const;

  // Vertices and radii through M; a mirroring M re-winds the triangles.
  void Transform(const Matrix2D& m);
  void Translate(const CachedVector& v);

 private:
  std::vector<CollisionVertex> m_collisionpoints;
  int m_type;
  std::vector<CollisionTriangle> m_triangles;
};
