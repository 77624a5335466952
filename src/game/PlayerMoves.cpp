// The hero's per-frame input handling, state handlers and movement.
#include "game/PlayerObject.h"

void PlayerObject::HandleInput() {}
void PlayerObject::StateGround() {}
void PlayerObject::StateAir() {}
void PlayerObject::StateSuperJump() {}
void PlayerObject::StateStride() {}
void PlayerObject::StateCyclone() {}
void PlayerObject::StateWallJump() {}
void PlayerObject::StateSword() {}
void PlayerObject::StateGun() {}
void PlayerObject::MoveHorizontal(float, float, float) {}
void PlayerObject::ApplyFriction(float) {}
void PlayerObject::ApplyGravity(float) {}
void PlayerObject::ProbeGround(bool) {}
void PlayerObject::FollowSlope() {}
Contact PlayerObject::Probe(float, float) { return Contact(); }
