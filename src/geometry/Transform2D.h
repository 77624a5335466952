// An affine frame about a pivot: an origin and a matrix.
#pragma once

#include <limits>

#include "geometry/CachedVector.h"
#include "geometry/Matrix2D.h"
#include "geometry/Ray2D.h"
#include "geometry/Vector2.h"

class Transform2D {
 public:
  // Origin a with columns b - a and c - a.
  Transform2D(const Vector2& a, const Vector2& b, const Vector2& c)
      : m_origin(a), m_matrix(b - a, c - a) {}

  const Vector2& GetOrigin() const { return m_origin; }
  const Matrix2D& GetMatrix() const { return m_matrix; }

  // A point turned and scaled about the pivot.
  Vector2 Apply(const Vector2& p) const { return m_origin + m_matrix * (p - m_origin); }
  CachedVector Apply(const CachedVector& v) const { return m_matrix * v; }
  Ray2D Apply(const Ray2D& ray) const {
    return Ray2D(Apply(ray.GetOrigin()), m_matrix * ray.GetDirection());
  }

  // A point given relative to the pivot, into world coordinates.
  Vector2 ToWorld(const Vector2& q) const { return m_origin + m_matrix * q; }

  // The local coordinates u with M*u = p - origin; (+inf, +inf) for a singular frame.
  Vector2 ToLocal(const Vector2& p) const { return m_matrix.Solve(p - m_origin); }
  Ray2D ToLocal(const Ray2D& ray) const {
    const Vector2 u0 = ToLocal(ray.GetOrigin());
    const Vector2 u1 = ToLocal(ray.GetEnd());
    constexpr float kInf = std::numeric_limits<float>::infinity();
    if (IsUnsolved(u0) || IsUnsolved(u1)) {
      // Stale caches are +inf too, so the whole ray reads as infinite.
      return Ray2D(Vector2(kInf, kInf), CachedVector(kInf, kInf));
    }
    return Ray2D(u0, u1 - u0);
  }

  // In-place forms.
  void ApplyInPlace(Vector2& p) const { p = Apply(p); }
  void ApplyInPlace(CachedVector& v) const { v = Apply(v); }
  void ApplyInPlace(Ray2D& ray) const { ray = Apply(ray); }
  void ToWorldInPlace(Vector2& q) const { q = ToWorld(q); }

 private:
  static bool IsUnsolved(const Vector2& u) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    return u.X() == kInf && u.Y() == kInf;
  }

  Vector2 m_origin;
  Matrix2D m_matrix;
};

// The frame applied to a point, vector or ray, with the frame on either side.
inline Vector2 operator*(const Transform2D& f, const Vector2& p) {
  return f.Apply(p);
}
inline Vector2 operator*(const Vector2& p, const Transform2D& f) {
  return f.Apply(p);
}
inline CachedVector operator*(const Transform2D& f, const CachedVector& v) {
  return f.Apply(v);
}
inline CachedVector operator*(const CachedVector& v, const Transform2D& f) {
  return f.Apply(v);
}
inline Ray2D operator*(const Transform2D& f, const Ray2D& r) {
  return f.Apply(r);
}
inline Ray2D operator*(const Ray2D& r, const Transform2D& f) {
  return f.Apply(r);
}
inline Vector2& operator*=(Vector2& p, const Transform2D& f) {
  f.ApplyInPlace(p);
  return p;
}
inline CachedVector& operator*=(CachedVector& v, const Transform2D& f) {
  f.ApplyInPlace(v);
  return v;
}
inline Ray2D& operator*=(Ray2D& r, const Transform2D& f) {
  f.ApplyInPlace(r);
  return r;
}
