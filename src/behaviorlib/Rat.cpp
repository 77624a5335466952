// The rat: a small runner that patrols, chases the hero once he comes near and
// jumps at him from close by.
#include <cmath>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

constexpr float kNoticeRange = 200.0f;
constexpr float kGiveUpRange = 250.0f;
constexpr float kJumpRange = 100.0f;
constexpr float kPatrolAcceleration = 0.375f;
constexpr float kPatrolSpeed = 1.5f;
constexpr float kPatrolTurn = 400.0f;
constexpr float kChaseAcceleration = 0.375f;
constexpr float kChaseSpeed = 2.25f;
constexpr float kReaimFrames = 60.0f;
constexpr float kJumpSpeedX = 0.9f;  // three fifths of the patrol speed
constexpr float kJumpSpeedY = -12.0f;
constexpr float kWalkerGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr int kRunAnimation = 2;
constexpr int kJumpAnimation = 3;

float Facing(const GameObject* rat) { return rat->IsFacingLeft() ? -1.0f : 1.0f; }

// True when the rat has left the ground; it then falls from the next frame on.
bool StartsFalling(GameObject* rat) {
  if (!IsFalling(rat)) return false;
  rat->SetBehavior(RatFall);
  rat->SetFlag("OnGround", 0.0f);
  return true;
}

}  // namespace

void RatInit(GameObject* rat) {
  rat->AddFlag("Health", 15.0f);
  rat->AddFlag("FrameChange", -1.0f);
  AddDamageFlags(rat);
  AddGroundFlag(rat);
  AddMovementFlags(rat);
  rat->SetFlag("TargetX", rat->GetPosition().X() + 200.0f);
  rat->SetBehavior(RatPatrol);
  RatPatrol(rat);
}

void RatPatrol(GameObject* rat) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (std::fabs(player->GetPosition().X() - rat->GetPosition().X()) < kNoticeRange) {
    rat->SetBehavior(RatChase);
    rat->SetFlag("AggroDelay", 0.0f);
  }
  BehaviorPatrolTurn(rat, kPatrolAcceleration, kPatrolSpeed, kPatrolTurn);
  HandleDamage(rat);
  UpdateDamageFlash(rat);
  if (!StartsFalling(rat)) WalkStep(rat);
}

void RatFall(GameObject* rat) {
  if (rat->GetFlag("OnGround") == 0.0f) {
    HandleDamage(rat);
    UpdateDamageFlash(rat);
    ApplyGravity(rat, kWalkerGravity, kMaxFallSpeed);
    return;
  }
  rat->SetBehavior(RatPatrol);
  rat->SetState(kRunAnimation);
  // Heads back the way it came unless its target lies clearly ahead to the right.
  rat->SetFlag("DirectionX", rat->GetFlag("TargetX") - rat->GetPosition().X() <= 1.0f ? -1.0f : 1.0f);
}

void RatChase(GameObject* rat) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  const float dx = player->GetPosition().X() - rat->GetPosition().X();
  if (std::fabs(dx) > kGiveUpRange) {
    rat->SetBehavior(RatFall);
    rat->SetFlag("OnGround", 0.0f);
  }

  float& aggroDelay = rat->GetFlag("AggroDelay");
  if (aggroDelay == 0.0f) {
    const bool right = rat->GetPosition().X() <= player->GetPosition().X();
    AccelerateX(rat, right ? kChaseAcceleration : -kChaseAcceleration, kChaseSpeed);
    rat->SetFacingLeft(!right);
    aggroDelay = kReaimFrames;
  } else {
    // Between re-aims it keeps running the way it faces, overshooting a dodge.
    AccelerateX(rat, kChaseAcceleration * Facing(rat), kChaseSpeed);
    aggroDelay -= 1.0f;
  }

  if (std::fabs(dx) < kJumpRange) {
    rat->SetVelocity(kJumpSpeedX * Facing(rat), kJumpSpeedY);
    rat->SetState(kJumpAnimation);
    rat->SetBehavior(RatFall);
    rat->SetFlag("OnGround", 0.0f);
  } else if (!StartsFalling(rat)) {
    HandleDamage(rat);
    UpdateDamageFlash(rat);
    WalkStep(rat);
  }
}
