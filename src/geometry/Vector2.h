// A 2-D point (or plain pair of floats) in pixels.
#pragma once

class CachedVector;

class Vector2 {
 public:
  Vector2() : m_x(0.0f), m_y(0.0f) {}
  Vector2(float x, float y) : m_x(x), m_y(y) {}

  float X() const { return m_x; }
  float Y() const { return m_y; }
  void SetX(float x) { m_x = x; }
  void SetY(float y) { m_y = y; }

  // Index 0 is x; every other index is y.
  float& operator[](int i) { return i == 0 ? m_x : m_y; }
  float operator[](int i) const { return i == 0 ? m_x : m_y; }

  float Dot(const Vector2& other) const { return m_x * other.m_x + m_y * other.m_y; }

  // Moving a point by a vector; defined with CachedVector.
  inline Vector2& operator+=(const CachedVector& v);
  inline Vector2& operator-=(const CachedVector& v);

 private:
  float m_x;
  float m_y;
};

// Exact float comparison, as positions are compared bit for bit.
inline bool operator==(const Vector2& a, const Vector2& b) {
  return a.X() == b.X() && a.Y() == b.Y();
}

// Point arithmetic (point +/- vector, point - point) lives with CachedVector.
#include "geometry/CachedVector.h"
