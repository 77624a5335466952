// A ray standing for the segment from origin to origin + direction.
#pragma once

#include <cmath>
#include <limits>

#include "geometry/CachedVector.h"
#include "geometry/Circle.h"
#include "geometry/Vector2.h"

class Ray2D {
 public:
  Ray2D() = default;
  Ray2D(const Vector2& origin, const CachedVector& direction)
      : m_origin(origin), m_direction(direction) {}
  Ray2D(const Vector2& from, const Vector2& to) : m_origin(from), m_direction(from, to) {}

  const Vector2& GetOrigin() const { return m_origin; }
  const CachedVector& GetDirection() const { return m_direction; }
  // The far end of the segment.
  Vector2 GetEnd() const { return m_origin + m_direction; }

  float Cross(const Ray2D& other) const {
    return m_direction.X() * other.m_direction.Y() - m_direction.Y() * other.m_direction.X();
  }

  // Parameter along this ray where it meets the other's line (unbounded); +inf if parallel.
  float LineParameter(const Ray2D& other) const;
  // Time in [0, 1] at which a point q moving by e crosses this segment; +inf if it doesn't.
  float IntersectLine(const Vector2& q, const Vector2& e) const;
  // Time in [0, 1] at which a circle moving by e first touches this segment; +inf if never.
  float TimeOfImpact(const Circle& circle, const Vector2& e) const;

 private:
  Vector2 m_origin;
  CachedVector m_direction;
};

// Inline: it is the innermost test of every swept contact.
inline float Ray2D::IntersectLine(const Vector2& q, const Vector2& e) const {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  if (e.X() == 0.0f && e.Y() == 0.0f) return kInf;
  const Vector2& d = m_direction;
  const float den = e.Y() * d.X() - e.X() * d.Y();
  const float s =
      den == 0.0f ? kInf : ((q.X() - m_origin.X()) * e.Y() - (q.Y() - m_origin.Y()) * e.X()) / den;
  // NaN falls through every comparison below, so test the range the way round that rejects it.
  if (!(s >= 0.0f && s <= 1.0f)) return kInf;
  float u;
  if (std::fabs(e.Y()) <= std::fabs(e.X())) {
    u = (m_origin.X() - q.X() + s * d.X()) / e.X();
  } else {
    u = (m_origin.Y() - q.Y() + s * d.Y()) / e.Y();
  }
  return (u >= 0.0f && u <= 1.0f) ? u : kInf;
}
