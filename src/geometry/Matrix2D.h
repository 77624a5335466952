// A 2 x 2 matrix kept as two columns: M*v = col0*v.x + col1*v.y.
#pragma once

#include <limits>

#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class Matrix2D {
 public:
  Matrix2D(const CachedVector& col0, const CachedVector& col1) : m_col0(col0), m_col1(col1) {}
  // Columns (a, b) and (c, d).
  Matrix2D(float a, float b, float c, float d) : m_col0(a, b), m_col1(c, d) {}

  static Matrix2D Identity() { return Matrix2D(1.0f, 0.0f, 0.0f, 1.0f); }

  const CachedVector& Column(int i) const { return i == 0 ? m_col0 : m_col1; }
  CachedVector Row(int i) const {
    return i == 0 ? CachedVector(m_col0.X(), m_col1.X()) : CachedVector(m_col0.Y(), m_col1.Y());
  }

  float Determinant() const { return m_col0.X() * m_col1.Y() - m_col1.X() * m_col0.Y(); }

  CachedVector Apply(const Vector2& v) const {
    return CachedVector(m_col0.X() * v.X() + m_col1.X() * v.Y(),
                        m_col0.Y() * v.X() + m_col1.Y() * v.Y());
  }

  // u with M*u = b by Cramer's rule; (+inf, +inf) when the matrix is singular.
  CachedVector Solve(const Vector2& b) const {
    const float det = Determinant();
    if (det == 0.0f) {
      constexpr float kInf = std::numeric_limits<float>::infinity();
      return CachedVector(kInf, kInf);
    }
    const float ux = (b.X() * m_col1.Y() - b.Y() * m_col1.X()) / det;
    float uy;
    if (m_col1.X() != 0.0f) {
      uy = (b.X() - ux * m_col0.X()) / m_col1.X();
    } else {
      uy = (b.Y() - ux * m_col0.Y()) / m_col1.Y();
    }
    return CachedVector(ux, uy);
  }

  Matrix2D operator*(const Matrix2D& other) const {
    return Matrix2D(Apply(other.m_col0), Apply(other.m_col1));
  }
  Matrix2D operator-() const {
    return Matrix2D(-m_col0.X(), -m_col0.Y(), -m_col1.X(), -m_col1.Y());
  }
  Matrix2D& operator*=(float factor) {
    m_col0 *= factor;
    m_col1 *= factor;
    return *this;
  }

  bool operator==(const Matrix2D& other) const {
    return m_col0.X() == other.m_col0.X() && m_col0.Y() == other.m_col0.Y() &&
           m_col1.X() == other.m_col1.X() && m_col1.Y() == other.m_col1.Y();
  }

 private:
  CachedVector m_col0;
  CachedVector m_col1;
};

inline CachedVector operator*(const Matrix2D& m, const Vector2& v) {
  return m.Apply(v);
}
inline CachedVector operator*(const Vector2& v, const Matrix2D& m) {
  return m.Apply(v);
}
inline CachedVector operator*(const Matrix2D& m, const CachedVector& v) {
  return m.Apply(v);
}
inline CachedVector operator*(const CachedVector& v, const Matrix2D& m) {
  return m.Apply(v);
}
inline CachedVector& operator*=(CachedVector& v, const Matrix2D& m) {
  v = m.Apply(v);
  return v;
}
inline Matrix2D operator*(float factor, const Matrix2D& m) {
  Matrix2D result(m);
  result *= factor;
  return result;
}
inline Matrix2D operator*(const Matrix2D& m, float factor) {
  return factor * m;
}
