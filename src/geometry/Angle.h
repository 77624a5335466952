// An angle in radians kept in [0, 2*pi), remembering its sine, cosine and tangent.
#pragma once

#include <cmath>
#include <limits>

class Angle {
 public:
  static constexpr double kTwoPi = 6.283185307179586;
  static constexpr double kPi = 3.141592653589793;
  // Marks a value that has not been computed yet; never a finite number.
  static constexpr double kStale = std::numeric_limits<double>::infinity();

  // The whole angle is stale until something assigns it.
  Angle() : m_radians(kStale), m_sin(kStale), m_cos(kStale), m_tan(kStale) {}

  Angle(double radians) : m_radians(Normalized(radians)) { ComputeTrig(); }  // NOLINT: implicit

  // The direction of (dx, dy). Only the tangent is known from the division; sine and cosine
  // wait until someone asks.
  Angle(double dx, double dy) : m_sin(kStale), m_cos(kStale), m_tan(dy / dx) {
    double radians = std::atan(m_tan);
    if (dx < 0) radians += kPi;
    m_radians = Normalized(radians);
  }

  double GetRadians() const { return m_radians; }
  bool IsStale() const { return m_radians == kStale; }
  bool HasTrig() const { return m_tan != kStale; }

  void Set(double radians) {
    m_radians = Normalized(radians);
    if (HasTrig()) ComputeTrig();
  }

  double Sin() const {
    if (m_sin == kStale) ComputeTrig();
    return m_sin;
  }
  double Cos() const {
    if (m_cos == kStale) ComputeTrig();
    return m_cos;
  }
  double Tan() const {
    if (m_tan == kStale) ComputeTrig();
    return m_tan;
  }

  Angle& operator+=(const Angle& other) {
    Set(m_radians + other.m_radians);
    return *this;
  }
  Angle& operator-=(const Angle& other) {
    Set(m_radians - other.m_radians);
    return *this;
  }
  Angle operator+(const Angle& other) const { return Angle(m_radians + other.m_radians); }
  Angle operator-(const Angle& other) const { return Angle(m_radians - other.m_radians); }

  // Mirrors the angle; the radians are deliberately left outside [0, 2*pi).
  Angle operator-() const {
    Angle result(*this);
    result.m_radians = -m_radians;
    result.m_sin = -m_sin;
    result.m_tan = -m_tan;
    return result;
  }

  // Brings radians into [0, 2*pi) by whole turns. Values that are not finite stay as they
  // are (stepping an infinity by 2*pi would never end), and values many turns away are
  // reduced with fmod first for the same reason.
  static double Normalized(double radians) {
    if (!std::isfinite(radians)) return radians;
    constexpr double kManyTurns = 64 * kTwoPi;
    if (radians >= kManyTurns || radians <= -kManyTurns) radians = std::fmod(radians, kTwoPi);
    while (radians >= kTwoPi) radians -= kTwoPi;
    if (radians < 0) {
      while (radians < 0) radians += kTwoPi;
    }
    return radians;
  }

 private:
  void ComputeTrig() const {
    m_sin = std::sin(m_radians);
    m_cos = std::cos(m_radians);
    m_tan = std::tan(m_radians);
  }

  double m_radians;
  // Caches may be filled in from const accessors.
  mutable double m_sin;
  mutable double m_cos;
  mutable double m_tan;
};
