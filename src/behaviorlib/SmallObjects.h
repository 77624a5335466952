// The later states of the pickups, effects, level objects and projectiles whose
// first states the registry holds (declared in Behaviors.h).
#pragma once

class GameObject;
struct Contact;

// Pickups.
void OrbRotationUpdate(GameObject* object);
void CorePieceUpdate(GameObject* object);
void CoreGlowPulse(GameObject* object);
void TriggerCheckPointUpdate(GameObject* object);

// The ability a memory core grants, chosen by the depth the level gave it.
enum class CoreAbility { Stride, WallJump, Cyclone, SuperJump };
CoreAbility CoreAbilityOfDepth(float depth);

// Effects.
void BreakOrbFly(GameObject* object);

// Level objects.
void TireUpdate(GameObject* object);
void TireFall(GameObject* object);
void FactoryPlatformMove(GameObject* object);

// Projectiles.
void TigerCShotFly(GameObject* object);
void TigerABombFuse(GameObject* object);
void TigerABombExplode(GameObject* object);
void TigerABombCollide(Contact* c);

// The orb colour of an attack by the hero's (or its shot's) state: 2 red,
// 3 green, 4 blue, 0 for any other state.
int AttackColorOfState(int state);
