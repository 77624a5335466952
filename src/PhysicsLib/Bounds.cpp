// Box overlap of objects and the swept widening of a box.
#include "PhysicsLib/Bounds.h"

#include <cmath>

#include "PhysicsLib/PhysicsObject.h"

bool Bounds::Overlaps(const PhysicsObject& a, const PhysicsObject& b) {
  return Overlaps(a.GetCollisionShape().GetBounds(), b.GetCollisionShape().GetBounds());
}

void Bounds::Sweep(const Vector2& move) {
  // Whole pixels toward zero; std::trunc keeps huge speeds from overflowing an int.
  if (move.X() < 0.0f) {
    left += std::trunc(move.X() - 2.0f);
  } else if (move.X() > 0.0f) {
    right += std::trunc(move.X() + 2.0f);
  }
  if (move.Y() < 0.0f) {
    top += std::trunc(move.Y() - 2.0f);
  } else if (move.Y() > 0.0f) {
    bottom += std::trunc(move.Y() + 2.0f);
  }
}
