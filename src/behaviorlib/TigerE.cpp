// The TigerE: a fast patroller that runs at the hero, crouches for a moment
// and leaps at him, then rests before it hunts again. Constructors spawn
// them and keep count of the live ones.
#include <cmath>
#include <cstdint>
#include <limits>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ConstructorCounts.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/objects/GameObject.h"
#include "game/objects/ObjectHandle.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

constexpr float kNoticeRange = 250.0f;
constexpr float kGiveUpRange = 500.0f;
constexpr float kLeapRange = 200.0f;
constexpr float kPatrolAcceleration = 0.5f;
constexpr float kPatrolSpeed = 3.0f;
constexpr float kPatrolTurn = 500.0f;
constexpr float kChaseSpeed = 4.5f;
constexpr float kReaimFrames = 100.0f;
constexpr float kCrouchFrames = 35.0f;
constexpr float kRestFrames = 120.0f;
constexpr float kLeapSpeedX = 6.0f;
constexpr float kLeapSpeedY = -8.0f;
constexpr float kWalkerGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr int kRunAnimation = 2;
constexpr int kLeapAnimation = 3;
constexpr std::int32_t kNoConstructor = -1;

// Applies a pending hit; true when one was applied, and the tiger is then
// stunned for the rest of the frame. A hit in the middle of a leap cancels it.
bool TakesHit(GameObject* tiger, bool cancelsLeap) {
  if (!HandleDamage(tiger)) return false;
  if (tiger->IsDead()) {
    // The index is an integer kept in the float's bits.
    const std::int32_t constructor = FlagBitsToInt(tiger->GetFlag("Cindex"));
    if (constructor >= 0) constructorcounts::Add(constructor, -1);
  }
  tiger->SetBehavior(TigerEStunned);
  if (cancelsLeap) tiger->SetFlag("PostLeapPause", 0.0f);
  return true;
}

// Grounded: keeps to the floor and walks, or starts falling from the next frame.
void KeepFooting(GameObject* tiger) {
  if (IsFalling(tiger)) {
    tiger->SetBehavior(TigerEFall);
    tiger->SetFlag("OnGround", 0.0f);
  } else {
    WalkStep(tiger);
  }
}

}  // namespace

void TigerEInit(GameObject* tiger) {
  tiger->AddFlag("Cindex", IntToFlagBits(kNoConstructor));
  tiger->AddFlag("Health", 25.0f);
  tiger->AddFlag("FrameChange", -1.0f);
  tiger->AddFlag("PostLeapPause", 0.0f);
  // No leap before a chase has set the crouch.
  tiger->AddFlag("PreLeapPause", std::numeric_limits<float>::infinity());
  AddDamageFlags(tiger);
  AddGroundFlag(tiger);
  AddMovementFlags(tiger);
  tiger->SetFlag("TargetX", tiger->GetPosition().X() + 250.0f);
  tiger->SetBehavior(TigerEPatrol);
  TigerEPatrol(tiger);
}

void TigerEPatrol(GameObject* tiger) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(tiger, false)) return;
  if (std::fabs(player->GetPosition().X() - tiger->GetPosition().X()) < kNoticeRange) {
    tiger->SetBehavior(TigerEChase);
    tiger->SetFlag("AggroDelay", 0.0f);
    return;
  }
  BehaviorPatrolTurn(tiger, kPatrolAcceleration, kPatrolSpeed, kPatrolTurn);
  if (IsFalling(tiger)) {
    tiger->SetBehavior(TigerEFall);
    tiger->SetFlag("OnGround", 0.0f);
  } else {
    UpdateDamageFlash(tiger);
    WalkStep(tiger);
  }
}

void TigerEFall(GameObject* tiger) {
  if (TakesHit(tiger, false)) return;
  if (tiger->GetFlag("OnGround") == 0.0f) {
    UpdateDamageFlash(tiger);
    ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
    return;
  }
  tiger->SetBehavior(TigerEPatrol);
  tiger->SetState(kRunAnimation);
  tiger->SetFlag("DirectionX", tiger->GetFlag("TargetX") - tiger->GetPosition().X() <= 1.0f ? -1.0f : 1.0f);
}

void TigerEStunned(GameObject* tiger) {
  // No hit check: the blink drops whatever lands meanwhile.
  UpdateDamageFlash(tiger);
  if (tiger->GetFlag("DamagedTime") <= 0.0f) {
    tiger->SetBehavior(TigerEFall);
    tiger->SetFlag("OnGround", 0.0f);
  }
  if (tiger->GetFlag("OnGround") == 0.0f) ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
}

void TigerEChase(GameObject* tiger) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(tiger, true)) return;
  const float dx = player->GetPosition().X() - tiger->GetPosition().X();
  if (std::fabs(dx) > kGiveUpRange) {
    tiger->SetBehavior(TigerEFall);
    tiger->SetFlag("OnGround", 0.0f);
  }

  float& aggroDelay = tiger->GetFlag("AggroDelay");
  const float vy = tiger->GetVelocity().Y();
  if (aggroDelay == 0.0f) {
    const bool right = tiger->GetPosition().X() <= player->GetPosition().X();
    tiger->SetVelocity(right ? kChaseSpeed : -kChaseSpeed, vy);
    tiger->SetFacingLeft(!right);
    aggroDelay = kReaimFrames;
  } else {
    tiger->SetVelocity(tiger->GetVelocity().X() < 0.0f ? -kChaseSpeed : kChaseSpeed, vy);
    aggroDelay -= 1.0f;
  }

  if (std::fabs(dx) < kLeapRange) {
    tiger->SetState(kLeapAnimation);
    tiger->SetBehavior(TigerELeap);
    tiger->SetVelocity(0.0f, 0.0f);
    tiger->SetFlag("PreLeapPause", kCrouchFrames);
    return;
  }
  UpdateDamageFlash(tiger);
  if (tiger->GetFlag("OnGround") != 0.0f) KeepFooting(tiger);
}

void TigerELeap(GameObject* tiger) {
  if (TakesHit(tiger, true)) return;
  float& rest = tiger->GetFlag("PostLeapPause");
  if (rest == 0.0f) {
    float& crouch = tiger->GetFlag("PreLeapPause");
    if (crouch <= 0.0f) {
      tiger->SetVelocity(tiger->IsFacingLeft() ? -kLeapSpeedX : kLeapSpeedX, kLeapSpeedY);
      tiger->SetFlag("OnGround", 0.0f);
      rest = kRestFrames;
      return;
    }
    crouch -= 1.0f;
  } else {
    if (tiger->GetFlag("OnGround") != 0.0f) {
      tiger->SetVelocity(0.0f, 0.0f);
      rest -= 1.0f;
    } else {
      ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
    }
    if (rest <= 0.0f) {
      rest = 0.0f;
      tiger->SetState(kRunAnimation);
      tiger->SetBehavior(TigerEPatrol);
    }
  }
  if (tiger->GetFlag("OnGround") != 0.0f) KeepFooting(tiger);
}
