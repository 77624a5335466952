// The root of every sprite and game object: where it is, how it moves, its collision shape
// in the world, and the callback that answers its contacts.
#pragma once

#include <cstdint>
#include <vector>

#include "PhysicsLib/CollisionShape.h"
#include "PhysicsLib/Contact.h"
#include "geometry/Angle.h"
#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class PhysicsObject {
 public:
  explicit PhysicsObject(const CollisionShape* source = nullptr,
                         const Vector2& position = Vector2(),
                         const CachedVector& velocity = CachedVector(),
                         CollisionCallback callback = nullptr);
  // A copy starts alive and with this step's collision bookkeeping cleared.
  PhysicsObject(const PhysicsObject& other);
  PhysicsObject& operator=(const PhysicsObject& other) = default;
  virtual ~PhysicsObject() = default;

  // Stores the local shape (owned by an animation frame) and places a copy in the world:
  // position + mirror * scale * rotation * local. A null shape is only stored.
  void SetShape(const CollisionShape* shape);
  const CollisionShape* GetSourceShape() const { return m_pSourceShape; }
  const CollisionShape& GetCollisionShape() const { return m_worldShape; }
  // Whoever takes the shape to write is taken to change it (see WatchShapeChanges).
  CollisionShape& GetCollisionShape() {
    NoteShapeChange();
    return m_worldShape;
  }

  // Moves the object and its world shape.
  void MoveTo(const Vector2& position);
  const Vector2& GetPosition() const { return m_position; }

  const CachedVector& GetVelocity() const { return m_velocity; }
  void SetVelocity(const CachedVector& velocity) { m_velocity = velocity; }
  void SetVelocity(float x, float y) {
    m_velocity.SetX(x);
    m_velocity.SetY(y);
  }

  // A velocity set aside while the object is held, or while a probe borrows the velocity.
  const CachedVector& GetParkedVelocity() const { return m_parkedVelocity; }
  void SetParkedVelocity(const CachedVector& velocity) { m_parkedVelocity = velocity; }
  void SetParkedVelocity(float x, float y) { m_parkedVelocity = CachedVector(x, y); }

  const Angle& GetRotation() const { return m_rotation; }
  void SetRotation(const Angle& rotation);
  bool IsFacingLeft() const { return m_bMirrored; }
  void SetFacingLeft(bool facingLeft);

  // Scale takes effect at the next SetShape.
  const CachedVector& GetScale() const { return m_scale; }
  float GetScaleX() const { return m_scale.X(); }
  float GetScaleY() const { return m_scale.Y(); }
  void SetScaleX(float x) { m_scale.SetX(x); }
  void SetScaleY(float y) { m_scale.SetY(y); }

  CollisionCallback GetCollisionCallback() const { return m_collisionCallback; }
  PhysicsObject* SetCollisionCallback(CollisionCallback callback) {
    m_collisionCallback = callback;
    return this;
  }

  bool IsDead() const { return m_bDead; }
  PhysicsObject* SetDead(bool dead) {
    m_bDead = dead;
    return this;
  }
  bool IsInactive() const { return m_bInactive; }
  void SetInactive(bool inactive) { m_bInactive = inactive; }
  // Neither dead nor inactive: takes part in behaviours, physics and drawing.
  bool IsLive() const { return !m_bDead && !m_bInactive; }

  // This step's contact bookkeeping (see PhysicsStep).
  bool HasCollided() const { return m_bCollided; }
  void SetCollided(bool collided) { m_bCollided = collided; }
  float GetContactTime() const { return m_contactTime; }
  void SetContactTime(float t) { m_contactTime = t; }

  // Widens the world shape's box over this step's motion.
  void SweepBounds();

  // While a list's probe index runs, every change of a watched object's world shape appends
  // the object's place in that list to `changes`, so the index refiles only what moved.
  // Returns the list that was watching before (null for none).
  static std::vector<int>* WatchShapeChanges(std::vector<int>* changes);
  // Counts every change of any world shape, watched or not.
  static std::uint64_t ShapeChangeCount();
  // The object's place in the watched list, or -1.
  void SetWatchedPlace(int place) { m_watchedPlace.place = place; }

 private:
  // A copy starts unwatched and an assignment keeps the target's place: the place belongs to
  // the object in its list, not to its state. Assigning changes the shape.
  struct WatchedPlace {
    int place = -1;
    WatchedPlace() = default;
    WatchedPlace(const WatchedPlace&) {}
    WatchedPlace& operator=(const WatchedPlace&);
  };

  void NoteShapeChange() const;

  const CollisionShape* m_pSourceShape;
  CollisionShape m_worldShape;
  Vector2 m_position;
  CachedVector m_velocity;
  CollisionCallback m_collisionCallback;
  bool m_bMirrored;
  Angle m_rotation;
  CachedVector m_scale;
  bool m_bInactive;
  bool m_bDead;
  bool m_bCollided;
  float m_contactTime;
  CachedVector m_parkedVelocity;
  WatchedPlace m_watchedPlace;
};
