// The airship boss Kaje and the trigger that stages its fight. The trigger
// holds the camera through its "HoldFocus" property: 1 holds the current
// focus, 0 asks KajeTriggerHold to release it once (then -1), and -1 turns
// back to 1 when the next queued focus is polled.
#pragma once

#include "geometry/Vector2.h"

class GameObject;

// Deck ends Kaje turns between in stage two.
inline constexpr float kKajeDeckLeft = 2304.0f;
inline constexpr float kKajeDeckRight = 4608.0f;
// Where the trigger builds Kaje and its shield.
inline constexpr float kKajeSpawnX = 300.0f;
inline constexpr float kKajeSpawnY = 4000.0f;

// The trigger (its Init is the registry's, declared in Behaviors.h).
bool KajeTriggerHold();
void KajeTriggerSpawnBoss(GameObject* trigger);
void KajeTriggerEndLevel(GameObject* trigger);

void KajeInit(GameObject* kaje);
// Approach: walks in to the first crate.
void KajeStart(GameObject* kaje);
// Shield stage.
void KajeShieldWait(GameObject* kaje);
void KajeRocketWait(GameObject* kaje);
void KajeFireRockets(GameObject* kaje);
void KajeShieldFadeOut(GameObject* kaje);
void KajeCrateCheck(GameObject* kaje);
// Stage one.
void KajePhaseOneMove(GameObject* kaje);
void KajeDropTiger(GameObject* kaje);
void KajePhaseOneWait(GameObject* kaje);
void KajePhaseOneRockets(GameObject* kaje);
void KajePhaseOneIdle(GameObject* kaje);
void KajePhaseOneHit(GameObject* kaje);
// Transition and stage two.
void KajePhaseTwoStart(GameObject* kaje);
void KajePhaseTwoMove(GameObject* kaje);
void KajePhaseTwoJump(GameObject* kaje);
void KajePhaseTwoIdle(GameObject* kaje);
void KajeFireEnergyShot(GameObject* kaje);
void KajePhaseTwoWait(GameObject* kaje);
void KajePhaseTwoLand(GameObject* kaje);
void KajePhaseTwoHit(GameObject* kaje);

// Shared with the airship objects.
// The first live object of that name in the World's main list, or null.
GameObject* FindAirshipObject(const char* name);
// The trigger; the program stops when the level has none.
GameObject* RequireKajeTrigger();
void SetHoldFocus(float value);
// Queues a camera focus with KajeTriggerHold as its callback: following
// `followed` when it is not null, else on `position`.
void QueueKajeFocus(const GameObject* followed, const Vector2& position, bool playerControl);
// True on the first tick of the last frame of the current animation: the
// moment Kaje's weapons fire.
bool IsFireMoment(const GameObject* object);
// Where Kaje's projectiles leave: vertex 0 of its polygon 2 (its position when
// the frame has no such polygon).
Vector2 KajeLaunchPoint(const GameObject* kaje);
// Marks an object dead after renaming it, so a search by name in the same
// frame no longer finds it.
void RemoveByRenaming(GameObject* object);
