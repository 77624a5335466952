// An axis-aligned box: left <= right, top (smaller y) <= bottom.
#pragma once

#include "geometry/Vector2.h"

class PhysicsObject;

struct Bounds {
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;

  // Inclusive: boxes that share only an edge overlap.
  static bool Overlaps(const Bounds& a, const Bounds& b) {
    return !(b.right < a.left || b.left > a.right || b.bottom < a.top || b.top > a.bottom);
  }
  // The world-shape boxes of two objects.
  static bool Overlaps(const PhysicsObject& a, const PhysicsObject& b);

  // Grows the box to cover a step's motion, with two pixels to spare on the moving side.
  void Sweep(const Vector2& move);
};
