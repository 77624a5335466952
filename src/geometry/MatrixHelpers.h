// Projection onto, and reflection across, the line along a direction: what the
// collision responses slide and bounce with.
#pragma once

#include "geometry/Matrix2D.h"
#include "geometry/Vector2.h"

// Projects onto the line along d; a zero d gives the zero matrix, so whatever
// it is applied to stops.
inline Matrix2D ProjectionMatrix(const Vector2& d) {
  const float x = d.X();
  const float y = d.Y();
  const float lengthSquared = x * x + y * y;
  if (lengthSquared == 0.0f) return Matrix2D(0.0f, 0.0f, 0.0f, 0.0f);
  return (1.0f / lengthSquared) * Matrix2D(x * x, x * y, x * y, y * y);
}

// Mirrors across the line along d; a zero d gives minus the identity, which a
// bounce negates again, leaving the velocity as it was.
inline Matrix2D ReflectionMatrix(const Vector2& d) {
  const float x = d.X();
  const float y = d.Y();
  const float lengthSquared = x * x + y * y;
  if (lengthSquared == 0.0f) return -Matrix2D::Identity();
  return (1.0f / lengthSquared) * Matrix2D(x * x - y * y, 2.0f * x * y, 2.0f * x * y, y * y - x * x);
}
