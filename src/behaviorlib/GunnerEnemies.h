// The states of the gunner (TigerC), the chaser (Shredder) and the spawner
// (Constructor); their Inits are in Behaviors.h with the other registered kinds.
#pragma once

class GameObject;

// TigerC: patrols a ledge, keeps its distance from the hero and shoots at him.
void TigerCPatrol(GameObject* object);
void TigerCFall(GameObject* object);
void TigerCStunned(GameObject* object);
void TigerCAim(GameObject* object);
void TigerCShoot(GameObject* object);

// Shredder: chases the hero, and backs off for a moment after each hit.
void ShredderPatrol(GameObject* object);
void ShredderFall(GameObject* object);
void ShredderStunned(GameObject* object);
void ShredderChase(GameObject* object);

// Constructor: stands still and releases TigerE, at most two alive at a time.
void ConstructorIdle(GameObject* object);
void ConstructorOpen(GameObject* object);
void ConstructorSpawn(GameObject* object);

// The current frame of whatever the object would run into moving by
// (probeX, probeY) this frame, or -1 for nothing; its velocity is kept. Level
// tiles mark ledge ends and walls by their frame.
int ProbeTileFrame(GameObject* object, float probeX, float probeY);

// Stops the game with an assertion naming the prototype when the loaded levels
// lack it; spawners call it before building from one.
void RequirePrototype(const char* name);
