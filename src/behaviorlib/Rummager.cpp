// The Rummager: a slow patroller that, once hit (or summoned by a boss),
// winds up, charges the hero and slams its claw down when it reaches him.
#include <cmath>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

constexpr float kPatrolAcceleration = 0.2f;
constexpr float kPatrolSpeed = 1.0f;
constexpr float kPatrolTurn = 200.0f;
constexpr float kChargeAcceleration = 0.2f;
constexpr float kChargeSpeed = 2.0f;
constexpr float kWindUpFrames = 30.0f;
constexpr float kAttackRange = 50.0f;
constexpr float kWalkerGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr int kWalkAnimation = 2;
constexpr int kAttackAnimation = 3;
constexpr int kWindUpAnimation = 4;

}  // namespace

void RummagerInit(GameObject* rummager) {
  rummager->AddFlag("Health", 25.0f);
  rummager->AddFlag("FrameChange", -1.0f);
  rummager->AddFlag("BossMode", 0.0f);
  AddDamageFlags(rummager);
  AddGroundFlag(rummager);
  AddMovementFlags(rummager);
  rummager->SetFlag("TargetX", rummager->GetPosition().X() + 100.0f);
  // Stored first so that the patrol run below can still send it elsewhere; a
  // grounded Rummager goes on to patrol the next frame.
  rummager->SetBehavior(RummagerFall);
  RummagerPatrol(rummager);
}

void RummagerPatrol(GameObject* rummager) {
  if (HandleDamage(rummager)) rummager->SetBehavior(RummagerStunned);
  if (rummager->GetFlag("AggroDelay") != 0.0f || rummager->GetFlag("BossMode") != 0.0f) {
    rummager->SetState(kWindUpAnimation);
    rummager->SetBehavior(RummagerCharge);
    rummager->SetFlag("AggroDelay", kWindUpFrames);
    return;
  }
  BehaviorPatrolTurn(rummager, kPatrolAcceleration, kPatrolSpeed, kPatrolTurn);
  if (IsFalling(rummager)) {
    rummager->SetBehavior(RummagerFall);
    rummager->SetFlag("OnGround", 0.0f);
  } else {
    UpdateDamageFlash(rummager);
    WalkStep(rummager);
  }
}

void RummagerFall(GameObject* rummager) {
  if (HandleDamage(rummager)) rummager->SetBehavior(RummagerStunned);
  if (rummager->GetFlag("OnGround") == 0.0f) {
    UpdateDamageFlash(rummager);
    ApplyGravity(rummager, kWalkerGravity, kMaxFallSpeed);
  } else {
    rummager->SetBehavior(RummagerPatrol);
  }
}

void RummagerStunned(GameObject* rummager) {
  UpdateDamageFlash(rummager);
  if (rummager->GetFlag("DamagedTime") <= 0.0f) {
    // A hit Rummager charges once it recovers.
    rummager->SetFlag("AggroDelay", 1.0f);
    rummager->SetBehavior(RummagerFall);
  }
  if (rummager->GetFlag("OnGround") == 0.0f) ApplyGravity(rummager, kWalkerGravity, kMaxFallSpeed);
}

void RummagerCharge(GameObject* rummager) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  const float x = rummager->GetPosition().X();
  const float playerX = player->GetPosition().X();
  if (std::fabs(playerX - x) < kAttackRange) {
    rummager->SetVelocity(0.0f, 0.0f);
    rummager->SetState(kAttackAnimation);
    // A stale 1 from an earlier swing must not end this one at once.
    rummager->SetFlag("FrameChange", 0.0f);
    rummager->SetBehavior(RummagerAttack);
    return;
  }

  float& windUp = rummager->GetFlag("AggroDelay");
  if (windUp != 0.0f) {
    windUp -= 1.0f;
    if (windUp == 0.0f) rummager->SetState(kAttackAnimation);
  }

  if (rummager->GetFlag("DamagedTime") == 0.0f) {
    const float vx = rummager->GetVelocity().X();
    const float vy = rummager->GetVelocity().Y();
    if (x <= playerX) {
      if (vx < kChargeSpeed) rummager->SetVelocity(vx + kChargeAcceleration, vy);
      rummager->SetFacingLeft(false);
    } else {
      if (vx > -kChargeSpeed) rummager->SetVelocity(vx - kChargeAcceleration, vy);
      rummager->SetFacingLeft(true);
    }
    HandleDamage(rummager);
  }

  UpdateDamageFlash(rummager);
  if (IsFalling(rummager)) {
    rummager->SetState(kWalkAnimation);
    rummager->SetBehavior(RummagerFall);
    rummager->SetFlag("OnGround", 0.0f);
  } else {
    // On the ground the hit-stun of a charge runs down twice as fast.
    UpdateDamageFlash(rummager);
    WalkStep(rummager);
  }
}

void RummagerAttack(GameObject* rummager) {
  // Frame 1 is the slam: once the animation reaches it the swing is over.
  if (rummager->GetFlag("FrameChange") == 1.0f) {
    rummager->SetFlag("AggroDelay", 0.0f);
    rummager->SetState(kWalkAnimation);
    rummager->SetBehavior(RummagerPatrol);
  }
  HandleDamage(rummager);
  UpdateDamageFlash(rummager);
}
