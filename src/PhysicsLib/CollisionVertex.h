// One corner of a collision polygon; a non-zero radius also makes it a circle.
#pragma once

#include <istream>
#include <ostream>

#include "geometry/BinaryStream.h"
#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class CollisionVertex {
 public:
  CollisionVertex() : m_radius(0.0f) {}
  explicit CollisionVertex(const Vector2& position, float radius = 0.0f)
      : m_position(position), m_radius(radius) {}

  const Vector2& GetPosition() const { return m_position; }
  // Moves the corner; the radius stays.
  CollisionVertex& operator=(const Vector2& position) {
    m_position = position;
    return *this;
  }
  float GetRadius() const { return m_radius; }
  void SetRadius(float radius) { m_radius = radius; }
  bool IsCircle() const { return m_radius != 0.0f; }

  CollisionVertex& operator+=(const CachedVector& v) {
    m_position += v;
    return *this;
  }

 private:
  Vector2 m_position;
  float m_radius;
};

// A vertex on a binary stream is x, y, radius: 12 bytes.
inline std::istream& ReadBinary(std::istream& in, CollisionVertex& vertex) {
  Vector2 position;
  float radius = 0.0f;
  if (ReadBinary(in, position) && ReadRaw(in, radius)) vertex = CollisionVertex(position, radius);
  return in;
}

inline std::ostream& WriteBinary(std::ostream& out, const CollisionVertex& vertex) {
  WriteBinary(out, vertex.GetPosition());
  return WriteRaw(out, vertex.GetRadius());
}
