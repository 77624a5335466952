// Swept point and circle tests against a circle.
#include "geometry/Circle.h"

#include <cmath>
#include <limits>

namespace {
constexpr float kNever = std::numeric_limits<float>::infinity();

bool InStep(float t) {
  return t >= 0.0f && t <= 1.0f;
}
}  // namespace

float Circle::IntersectRay(const Vector2& p, const Vector2& e) const {
  if (e.X() == 0.0f && e.Y() == 0.0f) return kNever;
  const float wx = p.X() - m_centre.X();
  const float wy = p.Y() - m_centre.Y();
  const float b = -(wx * e.X() + wy * e.Y());
  const float a = e.Dot(e);
  const float disc = b * b - (wx * wx + wy * wy - m_radius * m_radius) * a;
  if (disc < 0.0f) return kNever;
  if (disc == 0.0f) {
    const float t = b / a;
    return InStep(t) ? t : kNever;
  }
  const float root = std::sqrt(disc);
  const float t1 = (b + root) / a;
  const float t2 = (b - root) / a;
  const bool in1 = InStep(t1);
  const bool in2 = InStep(t2);
  if (in1 && in2) return t1 < t2 ? t1 : t2;
  if (in1) return t1;
  if (in2) return t2;
  return kNever;
}

float Circle::IntersectRaySwept(const Circle& other, const Vector2& e) const {
  return Circle(m_centre, m_radius + other.m_radius).IntersectRay(other.m_centre, e);
}
