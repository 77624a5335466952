// The standard collision responses: sliding, bouncing, landing, the hero's
// contact damage, enemies recording the hero's hits, core collection and the
// rotating orb's reaction to shots. Every object gets one of them (or one of its
// kind's own) as its collision callback.
#pragma once

#include "PhysicsLib/Contact.h"
#include "geometry/CachedVector.h"

class GameObject;
class PhysicsObject;

// Slot numbers into CollisionResponseTable.
enum CollisionResponseSlot {
  kSlide = 0,
  kSlideKeepSpeed = 1,
  kBounce = 2,
  kBounceEnergyKept = 3,
  kGround = 4,
  kPlayer = 5,
  kDamage = 6,
  kCoreCollect = 7,
  kShot = 8,
  kCollisionResponseCount = 9,
};

extern const CollisionCallback CollisionResponseTable[kCollisionResponseCount];

// Removes the motion into the surface; overlaps are ignored.
void CollideSlide(Contact* c);
// Slides, then restores the speed the object had.
void CollideSlideKeepSpeed(Contact* c);
// Reverses the motion along the surface normal; overlaps are ignored.
void CollideBounce(Contact* c);
// Bounces, then scales the velocity by the object's "EnergyKept".
void CollideBounceEnergyKept(Contact* c);
// Lands on surfaces of 45 degrees or flatter, slides, and rides the other object.
void CollideGround(Contact* c);
// The hero's callback: ground for swept contacts, contact damage and pickups
// for overlaps of its body.
void CollidePlayer(Contact* c);
// The enemies' callback: ground for their walker polygon, and the hero's or a
// shot's hit recorded for the behaviour to apply.
void CollideDamage(Contact* c);
// A core piece flies to the HUD when the hero touches it.
void CollideCoreCollect(Contact* c);
// The rotating orb takes a shot's colour, or the hero's weapon contact.
void CollideShot(Contact* c);

// The game object behind a contact's object; null for anything else, so a
// response never reinterprets an object that is not one.
GameObject* ContactGameObject(PhysicsObject* object);

// The edge of the object's world shape that starts at vertex `feature` of
// polygon `polygon` (to the next vertex, wrapping); (0, 0) for indices the
// shape does not have.
CachedVector ShapeEdge(const PhysicsObject& object, int polygon, int feature);

// The landing test the ground response and the walking step share: turns the
// surface the way of the relative motion, and tells whether that motion runs
// onto the surface (down onto it, or along it, rather than away).
void PointAlongMotion(CachedVector& surface, const CachedVector& motion);
bool MovesOntoSurface(const CachedVector& surface, const CachedVector& motion);
