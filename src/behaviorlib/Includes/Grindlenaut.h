// The junkyard boss: a burrowing machine of four objects the level places (the
// body "Grindlenaut", its "GrindlenautArm", "GrindlenautDrill" and the mound
// "GrindlenautBurrow"). The body drives the fight; the parts follow it. Its Init
// and the parts' Inits are registered (Behaviors.h); the states are listed here
// for the tests and the level's trigger.
#pragma once

class GameObject;

// Body states.
void GrindlenautWait(GameObject* body);
void GrindlenautEmerge(GameObject* body);
void GrindlenautPatrol(GameObject* body);
void GrindlenautArmAttack(GameObject* body);
void GrindlenautDive(GameObject* body);
void GrindlenautDeath(GameObject* body);

// Moves the drill, arm and burrow to their mounts on the body.
void GrindlenautPlaceParts(GameObject* body);
// Smoke, hit flash and the stored hit; true when the boss died this frame.
bool GrindlenautDamage(GameObject* body);

// Part states.
void GrindlenautArmSwing(GameObject* arm);
void GrindlenautArmDeath(GameObject* arm);
void GrindlenautDrillDeath(GameObject* drill);
