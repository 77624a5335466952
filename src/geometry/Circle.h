// A circle: a centre and a radius, with the swept point and circle tests.
#pragma once

#include "geometry/Angle.h"
#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class Circle {
 public:
  Circle() : m_radius(0.0f) {}
  Circle(const Vector2& centre, float radius) : m_centre(centre), m_radius(radius) {}

  const Vector2& GetCentre() const { return m_centre; }
  float GetRadius() const { return m_radius; }
  void SetCentre(const Vector2& centre) { m_centre = centre; }
  void SetRadius(float radius) { m_radius = radius; }

  Vector2 PointAt(const Angle& angle) const {
    return Vector2(m_centre.X() + m_radius * static_cast<float>(angle.Cos()),
                   m_centre.Y() + m_radius * static_cast<float>(angle.Sin()));
  }

  // The rim counts as inside.
  bool Contains(const Vector2& p) const {
    const float dx = p.X() - m_centre.X();
    const float dy = p.Y() - m_centre.Y();
    return m_radius * m_radius >= dx * dx + dy * dy;
  }

  // Earliest time in [0, 1] at which a point p moving by e is on the rim; +inf if none.
  float IntersectRay(const Vector2& p, const Vector2& e) const;
  // The other circle's centre moving by e against this circle grown by the other's radius.
  float IntersectRaySwept(const Circle& other, const Vector2& e) const;

  Circle& operator*=(float factor) {
    m_radius *= factor;
    return *this;
  }

 private:
  Vector2 m_centre;
  float m_radius;
};

inline Circle operator*(float factor, const Circle& c) {
  return Circle(c.GetCentre(), factor * c.GetRadius());
}
inline Circle operator*(const Circle& c, float factor) {
  return Circle(c.GetCentre(), c.GetRadius() * factor);
}
