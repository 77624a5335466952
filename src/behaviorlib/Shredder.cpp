// The Shredder: a saw on treads that chases the hero and, after each hit,
// backs off to a random point on its own side before it comes again.
#include <cmath>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/GunnerEnemies.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Random.h"

namespace {

constexpr float kNoticeRange = 500.0f;
constexpr float kGiveUpRange = 900.0f;
constexpr float kPatrolAcceleration = 0.1f;
constexpr float kPatrolSpeed = 4.0f;
constexpr float kPatrolTurn = 500.0f;
constexpr float kChaseAcceleration = 0.1f;
constexpr float kChaseSpeed = 6.0f;
constexpr float kAggroFrames = 100.0f;
constexpr float kArrived = 10.0f;
constexpr int kRetreatSpan = 192;
constexpr float kWalkerGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr int kRollAnimation = 2;
// Tile frames of the walls a retreat stops at.
constexpr int kWallLeft = 16;
constexpr int kWallRight = 17;

bool TakesHit(GameObject* shredder) {
  if (!HandleDamage(shredder)) return false;
  shredder->SetBehavior(ShredderStunned);
  return true;
}

void StartFalling(GameObject* shredder) {
  shredder->SetBehavior(ShredderFall);
  shredder->SetFlag("OnGround", 0.0f);
}

}  // namespace

void ShredderInit(GameObject* shredder) {
  shredder->AddFlag("Health", 25.0f);
  shredder->AddFlag("FrameChange", -1.0f);
  shredder->AddFlag("Backoff", 0.0f);
  AddDamageFlags(shredder);
  AddGroundFlag(shredder);
  AddMovementFlags(shredder);
  shredder->SetBehavior(ShredderPatrol);
  ShredderPatrol(shredder);
}

void ShredderPatrol(GameObject* shredder) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(shredder)) return;
  if (std::fabs(player->GetPosition().X() - shredder->GetPosition().X()) < kNoticeRange) {
    shredder->SetBehavior(ShredderChase);
    shredder->SetFlag("AggroDelay", 0.0f);
    return;
  }
  BehaviorPatrolTurn(shredder, kPatrolAcceleration, kPatrolSpeed, kPatrolTurn);
  if (IsFalling(shredder)) {
    StartFalling(shredder);
  } else {
    UpdateDamageFlash(shredder);
    WalkStep(shredder);
  }
}

void ShredderFall(GameObject* shredder) {
  if (TakesHit(shredder)) return;
  if (shredder->GetFlag("OnGround") == 0.0f) {
    UpdateDamageFlash(shredder);
    ApplyGravity(shredder, kWalkerGravity, kMaxFallSpeed);
    return;
  }
  shredder->SetBehavior(ShredderPatrol);
  shredder->SetState(kRollAnimation);
  shredder->SetFlag("DirectionX",
                    shredder->GetFlag("TargetX") - shredder->GetPosition().X() <= 1.0f ? -1.0f : 1.0f);
}

void ShredderStunned(GameObject* shredder) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  // No hit check: the blink drops whatever lands meanwhile.
  UpdateDamageFlash(shredder);
  if (shredder->GetFlag("DamagedTime") <= 0.0f) {
    shredder->SetFlag("Backoff", 1.0f);
    const float x = shredder->GetPosition().X();
    const float r = static_cast<float>(platform::Random() % kRetreatSpan);
    shredder->SetFlag("TargetX", x < player->GetPosition().X() ? x - r : x + r);
    StartFalling(shredder);
  }
  if (shredder->GetFlag("OnGround") == 0.0f) ApplyGravity(shredder, kWalkerGravity, kMaxFallSpeed);
}

void ShredderChase(GameObject* shredder) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(shredder)) return;
  const float x = shredder->GetPosition().X();
  if (std::fabs(player->GetPosition().X() - x) > kGiveUpRange) StartFalling(shredder);

  float& aggroDelay = shredder->GetFlag("AggroDelay");
  if (aggroDelay == 0.0f) {
    // Noticed the hero this frame: it revs up before steering.
    aggroDelay = kAggroFrames;
  } else {
    float& backoff = shredder->GetFlag("Backoff");
    if (backoff == 0.0f) {
      shredder->SetFlag("TargetX", player->GetPosition().X());
    } else if (std::fabs(shredder->GetFlag("TargetX") - x) < kArrived) {
      backoff = 0.0f;
    } else {
      const int frame = ProbeTileFrame(shredder, shredder->GetVelocity().X(), 0.0f);
      if (frame == kWallLeft || frame == kWallRight) backoff = 0.0f;
    }
    FaceTarget(shredder, kChaseAcceleration, kChaseSpeed);
    aggroDelay -= 1.0f;
  }

  UpdateDamageFlash(shredder);
  if (shredder->GetFlag("OnGround") != 0.0f) {
    if (IsFalling(shredder)) {
      StartFalling(shredder);
    } else {
      WalkStep(shredder);
    }
  }
}
