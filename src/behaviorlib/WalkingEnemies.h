// The states of the walking enemies. Their Inits are in Behaviors.h with the
// other registered kinds; the states are listed here so that the kinds that
// spawn walkers, and the tests, can tell which state an enemy is in.
#pragma once

class GameObject;

// Rat: patrols, chases the hero within reach and jumps at him.
void RatPatrol(GameObject* object);
void RatFall(GameObject* object);
void RatChase(GameObject* object);

// Rummager: patrols until hit (or summoned as a boss's help), then charges.
void RummagerPatrol(GameObject* object);
void RummagerFall(GameObject* object);
void RummagerStunned(GameObject* object);
void RummagerCharge(GameObject* object);
void RummagerAttack(GameObject* object);

// TigerE: patrols, runs at the hero and leaps at him after a pause.
void TigerEPatrol(GameObject* object);
void TigerEFall(GameObject* object);
void TigerEStunned(GameObject* object);
void TigerEChase(GameObject* object);
void TigerELeap(GameObject* object);
