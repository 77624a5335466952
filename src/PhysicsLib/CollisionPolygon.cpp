// Triangulation, point tests and transforms of collision polygons.
#include "PhysicsLib/CollisionPolygon.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "geometry/Transform2D.h"
#include "platform/Assert.h"

CollisionPolygon::CollisionPolygon(int type, std::vector<CollisionVertex> points)
    : m_collisionpoints(std::move(points)), m_type(type) {
  Decompose();
}

const CollisionVertex& CollisionPolygon::GetVertex(std::size_t i) const {
  VT_ASSERT(i < m_collisionpoints.size());
  return m_collisionpoints[i];
}

void CollisionPolygon::Decompose() {
  m_triangles.clear();
  const int count = GetVertexCount();
  if (count < 3) return;

  float area = 0.0f;
  for (int i = 0; i < count; ++i) {
    const Vector2& p = m_collisionpoints[i].GetPosition();
    const Vector2& q = m_collisionpoints[(i + 1) % count].GetPosition();
    area += p.X() * q.Y() - p.Y() * q.X();
  }
  // Point tests expect positive winding.
  if (area < 0.0f) std::reverse(m_collisionpoints.begin(), m_collisionpoints.end());

  if (count == 3) {
    m_triangles.push_back({{0, 1, 2}});
    return;
  }
  std::vector<int> indices(count);
  std::iota(indices.begin(), indices.end(), 0);
  SplitConcave(std::move(indices));
}

void CollisionPolygon::SplitConcave(std::vector<int> indices) {
  // Lists still to split, worked last-in first-out so triangles come out in the order a
  // recursive split would give them, without recursing once per vertex.
  std::vector<std::vector<int>> pending;
  pending.push_back(std::move(indices));
  while (!pending.empty()) {
    std::vector<int> list = std::move(pending.back());
    pending.pop_back();
    for (;;) {
      const int m = static_cast<int>(list.size());
      if (m < 3) break;
      if (m == 3) {
        m_triangles.push_back({{list[0], list[1], list[2]}});
        break;
      }

      // The first convex (or straight) corner, without wrapping round.
      int k = -1;
      for (int c = 0; c + 2 < m; ++c) {
        const Vector2& a = m_collisionpoints[list[c]].GetPosition();
        const Vector2& b = m_collisionpoints[list[c + 1]].GetPosition();
        const Vector2& cc = m_collisionpoints[list[c + 2]].GetPosition();
        const float cross = (a.X() - b.X()) * (cc.Y() - b.Y()) - (a.Y() - b.Y()) * (cc.X() - b.X());
        if (cross <= 0.0f) {
          k = c;
          break;
        }
      }
      if (k < 0) break;

      // The vertex inside the ear nearest to its corner, if any.
      const Transform2D ear(m_collisionpoints[list[k + 1]].GetPosition(),
                            m_collisionpoints[list[k]].GetPosition(),
                            m_collisionpoints[list[k + 2]].GetPosition());
      float best = 2.0f;
      int chosen = -1;
      for (int j = 0; j < m; ++j) {
        if (j == k || j == k + 1 || j == k + 2) continue;
        const Vector2 u = ear.ToLocal(m_collisionpoints[list[j]].GetPosition());
        const float s = u.X();
        const float t = u.Y();
        if (s > 0.0f && t > 0.0f && s + t < 1.0f) {
          const float distance = s * s + t * t;
          if (distance < best) {
            best = distance;
            chosen = j;
          }
        }
      }

      if (chosen >= 0) {
        // Split along the diagonal from the ear's corner to that vertex.
        std::vector<int> first;
        std::vector<int> second;
        for (int p = k + 1;; p = (p + 1) % m) {
          first.push_back(list[p]);
          if (p == chosen) break;
        }
        for (int p = chosen;; p = (p + 1) % m) {
          second.push_back(list[p]);
          if (p == k + 1) break;
        }
        pending.push_back(std::move(second));
        pending.push_back(std::move(first));
        break;
      }

      m_triangles.push_back({{list[k], list[k + 1], list[k + 2]}});
      list.erase(list.begin() + k + 1);
    }
  }
}

bool CollisionPolygon::Contains(const Vector2& p) const {
  for (const CollisionTriangle& triangle : m_triangles) {
    // Three vertices in a line make a flat triangle whose edge tests pass for
    // every point on that line, however far away; it covers no area.
    const Vector2& a = m_collisionpoints[triangle[0]].GetPosition();
    const Vector2& b = m_collisionpoints[triangle[1]].GetPosition();
    const Vector2& c = m_collisionpoints[triangle[2]].GetPosition();
    if ((b.X() - a.X()) * (c.Y() - a.Y()) == (b.Y() - a.Y()) * (c.X() - a.X())) continue;
    bool inside = true;
    for (int e = 0; e < 3 && inside; ++e) {
      const Vector2& u = m_collisionpoints[triangle[e]].GetPosition();
      const Vector2& w = m_collisionpoints[triangle[(e + 1) % 3]].GetPosition();
      const float nx = w.Y() - u.Y();
      const float ny = u.X() - w.X();
      inside = nx * p.X() + ny * p.Y() <= nx * u.X() + ny * u.Y();
    }
    if (inside) return true;
  }
  return false;
}

void CollisionPolygon::Transform(const Matrix2D& m) {
  const float det = m.Determinant();
  const float magnitude = std::fabs(det);
  const float radiusFactor = magnitude == 1.0f ? 1.0f : std::sqrt(magnitude);
  for (CollisionVertex& vertex : m_collisionpoints) {
    vertex = m * vertex.GetPosition();
    if (vertex.GetRadius() != 0.0f) vertex.SetRadius(vertex.GetRadius() * radiusFactor);
  }
  if (det < 0.0f) {
    for (CollisionTriangle& triangle : m_triangles) std::swap(triangle[0], triangle[2]);
  }
}

void CollisionPolygon::Translate(const CachedVector& v) {
  for (CollisionVertex& vertex : m_collisionpoints) vertex += v;
}
