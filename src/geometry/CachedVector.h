// A free vector (velocity, scale, direction, difference) that remembers its length and
// direction until it changes.
#pragma once

#include <cmath>
#include <limits>

#include "geometry/Angle.h"
#include "geometry/Vector2.h"

class CachedVector {
 public:
  static constexpr float kStaleLength = std::numeric_limits<float>::infinity();

  // The zero vector knows its length already.
  CachedVector() : m_coords(0.0f, 0.0f), m_length(0.0f) {}
  CachedVector(float x, float y) : m_coords(x, y), m_length(kStaleLength) {}
  CachedVector(const Vector2& v) : m_coords(v), m_length(kStaleLength) {}  // NOLINT: implicit
  CachedVector(const Vector2& from, const Vector2& to)
      : m_coords(to.X() - from.X(), to.Y() - from.Y()), m_length(kStaleLength) {}
  // The unit vector of an angle.
  explicit CachedVector(const Angle& angle)
      : m_coords(static_cast<float>(angle.Cos()), static_cast<float>(angle.Sin())),
        m_length(1.0f),
        m_direction(angle) {}

  // The coordinates, readable wherever a point is expected.
  operator const Vector2&() const { return m_coords; }  // NOLINT: implicit
  const Vector2& AsVector2() const { return m_coords; }

  float X() const { return m_coords.X(); }
  float Y() const { return m_coords.Y(); }
  float GetX() const { return m_coords.X(); }
  float GetY() const { return m_coords.Y(); }
  float operator[](int i) const { return m_coords[i]; }
  float Dot(const Vector2& other) const { return m_coords.Dot(other); }
  bool IsZero() const { return m_coords.X() == 0.0f && m_coords.Y() == 0.0f; }

  // Caches that were computed follow the new coordinates; stale ones stay stale.
  void SetX(float x) {
    m_coords.SetX(x);
    RefreshCaches();
  }
  void SetY(float y) {
    m_coords.SetY(y);
    RefreshCaches();
  }

  float GetLength() const {
    if (m_length == kStaleLength) UpdateLength();
    return m_length;
  }
  const Angle& GetAngle() const {
    if (m_direction.IsStale()) UpdateAngle();
    return m_direction;
  }
  bool IsLengthStale() const { return m_length == kStaleLength; }
  bool IsAngleStale() const { return m_direction.IsStale(); }

  void UpdateLength() const {
    constexpr float kTiny = 1e-6f;
    const float x = m_coords.X();
    const float y = m_coords.Y();
    if (x >= -kTiny && x <= kTiny && y >= -kTiny && y <= kTiny) {
      m_length = 0.0f;
    } else {
      m_length = std::sqrt(x * x + y * y);
    }
  }
  void UpdateAngle() const { m_direction = Angle(m_coords.X(), m_coords.Y()); }

  // The direction stays valid; the length is left to be recomputed from the rounded result.
  void Normalize() {
    const float length = GetLength();
    if (length != 0.0f) {
      const float inverse = 1.0f / length;
      m_coords = Vector2(m_coords.X() * inverse, m_coords.Y() * inverse);
    }
    m_length = kStaleLength;
  }

  // This vector scaled by (this . v) / length: the projection of v when this is a unit vector.
  CachedVector Project(const Vector2& v) const {
    const float factor = m_coords.Dot(v) / GetLength();
    return CachedVector(m_coords.X() * factor, m_coords.Y() * factor);
  }

  CachedVector operator-() const { return CachedVector(-m_coords.X(), -m_coords.Y()); }

  CachedVector& operator*=(float factor) {
    m_coords = Vector2(m_coords.X() * factor, m_coords.Y() * factor);
    MarkStale();
    return *this;
  }

  // Drops both caches after an outside change of the coordinates.
  void MarkStale() {
    m_length = kStaleLength;
    m_direction = Angle();
  }

 private:
  void RefreshCaches() {
    if (m_length != kStaleLength) UpdateLength();
    if (!m_direction.IsStale()) UpdateAngle();
  }

  Vector2 m_coords;
  mutable float m_length;
  mutable Angle m_direction;
};

inline CachedVector operator+(const CachedVector& a, const CachedVector& b) {
  return CachedVector(a.X() + b.X(), a.Y() + b.Y());
}
inline CachedVector operator-(const CachedVector& a, const CachedVector& b) {
  return CachedVector(a.X() - b.X(), a.Y() - b.Y());
}
inline CachedVector operator*(float factor, const CachedVector& v) {
  return CachedVector(factor * v.X(), factor * v.Y());
}
inline CachedVector operator*(const CachedVector& v, float factor) {
  return CachedVector(v.X() * factor, v.Y() * factor);
}

// Point arithmetic: point + vector and point - vector are points; point - point is a vector.
inline Vector2 operator+(const Vector2& p, const CachedVector& v) {
  return Vector2(p.X() + v.X(), p.Y() + v.Y());
}
inline Vector2 operator+(const CachedVector& v, const Vector2& p) {
  return Vector2(v.X() + p.X(), v.Y() + p.Y());
}
inline Vector2 operator-(const Vector2& p, const CachedVector& v) {
  return Vector2(p.X() - v.X(), p.Y() - v.Y());
}
inline CachedVector operator-(const Vector2& p, const Vector2& q) {
  return CachedVector(p.X() - q.X(), p.Y() - q.Y());
}

inline Vector2& Vector2::operator+=(const CachedVector& v) {
  m_x += v.X();
  m_y += v.Y();
  return *this;
}
inline Vector2& Vector2::operator-=(const CachedVector& v) {
  m_x -= v.X();
  m_y -= v.Y();
  return *this;
}
