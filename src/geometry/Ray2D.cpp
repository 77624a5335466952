// Segment crossings and the time of impact of a moving circle on a segment.
#include "geometry/Ray2D.h"

#include <cmath>
#include <limits>

#include "geometry/Angle.h"

namespace {
constexpr float kNever = std::numeric_limits<float>::infinity();
}  // namespace

float Ray2D::LineParameter(const Ray2D& other) const {
  const Vector2& d = m_direction;
  const Vector2& d2 = other.m_direction;
  const float den = d.X() * d2.Y() - d.Y() * d2.X();
  if (den == 0.0f) return kNever;
  return ((other.m_origin.X() - m_origin.X()) * d2.Y() -
          (other.m_origin.Y() - m_origin.Y()) * d2.X()) /
         den;
}

float Ray2D::TimeOfImpact(const Circle& circle, const Vector2& e) const {
  if (e.X() == 0.0f && e.Y() == 0.0f) return kNever;
  const Vector2& c = circle.GetCentre();
  const Vector2& d = m_direction;
  const float side = (c.X() - m_origin.X()) * d.Y() - (c.Y() - m_origin.Y()) * d.X();
  // The perpendicular of the segment pointing from the centre's side towards its line.
  float nx = side > 0.0f ? -d.Y() : d.Y();
  const float ny = side > 0.0f ? d.X() : -d.X();
  // A horizontal segment must give (0, +-d.x); a negative zero would flip the angle.
  if (nx == 0.0f) nx = 0.0f;
  const Vector2 rim = circle.PointAt(Angle(nx, ny));
  const float u = IntersectLine(rim, e);
  return (std::isfinite(u) && u >= 0.0f && u <= 1.0f) ? u : kNever;
}
