// In-memory objects for the collision-response tests: animations whose single
// frame carries the given polygons, game objects placed on them, and contact
// records built by hand.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "PhysicsLib/Collision.h"
#include "animationlib/Animation.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"

namespace responsetest {

inline CollisionPolygon Polygon(int type, const std::vector<Vector2>& points) {
  std::vector<CollisionVertex> vertices;
  for (const Vector2& p : points) vertices.emplace_back(p);
  return CollisionPolygon(type, vertices);
}

inline CollisionPolygon Box(int type, float left, float top, float right, float bottom) {
  return Polygon(type, {Vector2(left, top), Vector2(right, top), Vector2(right, bottom),
                        Vector2(left, bottom)});
}

// Owns the animations the test objects point at, and the objects.
class ObjectKit {
 public:
  // One held frame carrying `polygons` (local coordinates).
  Animation* Shape(const std::vector<CollisionPolygon>& polygons) {
    auto& animation = m_animations.emplace_back(std::make_unique<Animation>("shape"));
    animation->GetFrames().emplace_back(0, 0, Vector2(), CollisionShape(polygons));
    return animation.get();
  }

  template <class T = GameObject>
  T* Make(const std::string& name, const std::vector<CollisionPolygon>& polygons,
          const Vector2& position = Vector2(), const CachedVector& velocity = CachedVector()) {
    auto object = std::make_unique<T>(name, Shape(polygons), position, NO_CALLBACKS, 0.0f);
    object->SetVelocity(velocity);
    T* raw = object.get();
    m_objects.push_back(std::move(object));
    return raw;
  }

 private:
  std::deque<std::unique_ptr<Animation>> m_animations;
  std::vector<std::unique_ptr<GameObject>> m_objects;
};

// The vertex index at which the edge from `from` to `to` (either way round)
// starts in the object's world polygon; -1 when the polygon has no such edge.
inline int EdgeFeature(const PhysicsObject& object, int polygon, const Vector2& from,
                       const Vector2& to) {
  const CollisionPolygon& p = object.GetCollisionShape().GetPolygon(polygon);
  const int n = p.GetVertexCount();
  for (int i = 0; i < n; ++i) {
    const Vector2& u = p.GetVertex(i).GetPosition();
    const Vector2& v = p.GetVertex((i + 1) % n).GetPosition();
    if ((u == from && v == to) || (u == to && v == from)) return i;
  }
  return -1;
}

inline int VertexFeature(const PhysicsObject& object, int polygon, const Vector2& at) {
  const CollisionPolygon& p = object.GetCollisionShape().GetPolygon(polygon);
  for (int i = 0; i < p.GetVertexCount(); ++i) {
    if (p.GetVertex(i).GetPosition() == at) return i;
  }
  return -1;
}

// The record a response receives: a's feature against b's, swept at t 0.5
// unless given.
inline Contact Swept(PhysicsObject* a, PhysicsObject* b, int polygonA, int featureA, int kindA,
                     int polygonB, int featureB, int kindB, float t = 0.5f) {
  return Contact(a, b, polygonA, polygonB, featureA, featureB, kindA, kindB, t);
}

inline Contact Overlap(PhysicsObject* a, PhysicsObject* b, int polygonA, int polygonB) {
  return Contact(a, b, polygonA, polygonB, 0, 0, kFeatureNone, kFeatureNone, kOverlapTime);
}

}  // namespace responsetest
