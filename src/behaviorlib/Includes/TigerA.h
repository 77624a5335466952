// The factory boss TigerA: it moves between five fixed waypoints of its arena,
// chooses where to go from the zone the hero stands in, throws bombs at him on
// a ballistic arc, and dies in a burst of flashes. Its Init is registered
// (Behaviors.h); the states and helpers are listed here for the tests and the
// level's trigger.
#pragma once

class GameObject;

// The jump reach in frames, set before the program entry runs: a jump at -20
// under 0.7 gravity lands 157 pixels lower after this many frames.
extern const float gTigerAJumpFrames;

struct TigerAPoint {
  float x;
  float y;
};
// Waypoints 0-4; any other index gives (0, 2752).
TigerAPoint TigerAWaypoint(int index);
// The zone of a position: 3 and 4 the platforms, 5 beyond the right side, then
// 2, 1, 0 from right to left on the floor.
int TigerAZoneOf(float x, float y);

void TigerAGoTo(GameObject* tiger, void (*next)(GameObject*), int animation, int waypoint);
void TigerAEnterWaypoint(GameObject* tiger, int zone);
// True when TigerA died this frame.
bool TigerADamage(GameObject* tiger);
void TigerAThrowBomb(GameObject* tiger);
GameObject* SpawnTigerABomb(float x, float y, float vx, float vy);

// Decision states.
void TigerAAtCentre(GameObject* tiger);
void TigerAAtSide(GameObject* tiger);
void TigerAAtUpper(GameObject* tiger);
// Moves.
void TigerARun(GameObject* tiger);
void TigerAJump(GameObject* tiger);
void TigerAClimb(GameObject* tiger);
void TigerADeath(GameObject* tiger);
// Movement.
void TigerABrake(GameObject* tiger);
void TigerAFall(GameObject* tiger);
void TigerAMoveStep(GameObject* tiger);
