// The behaviour library's entry points: the first state (or only state) of
// every registered object kind, and the shared functions they are built from.
// A behaviour is a plain function of the object; each state replaces the
// object's behaviour with the next state, and all of an object's state lives
// in its properties (m_Flags).
#pragma once

#include "PhysicsLib/Bounds.h"
#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class GameObject;
class SpriteCollection;

// Walking enemies.
void RatInit(GameObject* object);
void RummagerInit(GameObject* object);
void TigerEInit(GameObject* object);
// Gunner, chaser and spawner.
void TigerCInit(GameObject* object);
void ShredderInit(GameObject* object);
void ConstructorInit(GameObject* object);
// Bosses and their parts.
void TigerAInit(GameObject* object);
void GrindlenautInit(GameObject* object);
void GrindlenautArmInit(GameObject* object);
void GrindlenautDrillInit(GameObject* object);
void ScrapBehavior(GameObject* object);
void KajeTriggerInit(GameObject* object);
void AirshipCrateInit(GameObject* object);
void AirshipClawInit(GameObject* object);
// Pickups, effects and small objects.
void TigerCShotInit(GameObject* object);
void ShotBehavior(GameObject* object);
void TireInit(GameObject* object);
void FlashBehavior(GameObject* object);
void PowerupBehavior(GameObject* object);
void BreakOrbBehavior(GameObject* object);
void GreyOrbBehavior(GameObject* object);
void OrbRotationInit(GameObject* object);
void CorePieceInit(GameObject* object);
void SparkBehavior(GameObject* object);
void DeadFallBehavior(GameObject* object);
void FactoryPlatformInit(GameObject* object);
void TigerABombInit(GameObject* object);
void TriggerCheckPointInit(GameObject* object);

// Shared functions every behaviour is built from.

// Property groups; a property that already exists keeps its value.
void AddDamageFlags(GameObject* object);
void AddGroundFlag(GameObject* object);
void AddMovementFlags(GameObject* object);

// False when the object stands on something (and is snapped 0.1 pixel above
// it, riding it if it moves), true when it is airborne.
bool IsFalling(GameObject* object);
// Adds the acceleration while below the speed limit (so it may end one step
// past it); nothing during hit-stun.
void AccelerateX(GameObject* object, float acceleration, float maxSpeed);
// Follows a walkable slope (45 degrees or flatter) met by this frame's
// horizontal motion; steeper ones are left to the physics step.
void WalkStep(GameObject* object);
void ApplyGravity(GameObject* object, float gravity, float maxFallSpeed);
// Hit-stun countdown with its blink; visible again once it ends.
void UpdateDamageFlash(GameObject* object);
// Marks the object dead when it is further than the margins outside the view;
// returns the dead flag.
bool KillIfOutsideView(GameObject* object, float marginX, float marginY);

GameObject* SpawnFlash(const Vector2& position, int frame, float scale, float expandRate,
                       float endSize, float depth);
// A spark flying off in a random direction at 3 pixels per frame on top of
// `velocity`; appended unsorted to `list`, or to the World's objects when null.
GameObject* SpawnSpark(int frame, Vector2 position, CachedVector velocity, float depth,
                       SpriteCollection* list, float gravity);
// How many frames a power-up lasts once it is in play, dropped or placed.
inline constexpr float kPowerupLifetime = 600.0f;
void SpawnPowerup(const Vector2& position);
// Drops a power-up and marks the enemy dead.
void KillEnemy(GameObject* object);

// The intersection of the two world shapes' boxes; empty boxes are not corrected.
Bounds OverlapRect(GameObject* a, GameObject* b);
void SpawnHitSparks(GameObject* attacker, GameObject* victim);
void ShowHitOnHUD(int damage, int colour, bool killed);
// Applies the hit the damage response stored; true when one was applied.
bool HandleDamage(GameObject* object);
void BehaviorPatrolTurn(GameObject* object, float acceleration, float maxSpeed, float turnDistance);
void FaceTarget(GameObject* object, float acceleration, float maxSpeed);
