// The TigerC: a gunner that patrols its ledge, keeps 480 pixels from the hero
// and fires bolts at him, never walking off a ledge end while it aims.
#include <cmath>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/GunnerEnemies.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

constexpr float kNoticeRange = 500.0f;
constexpr float kGiveUpRange = 750.0f;
constexpr float kKeptDistance = 480.0f;
constexpr float kDistanceSlack = 5.0f;
constexpr float kAimSpeed = 3.0f;
constexpr float kDecisionFrames = 50.0f;
constexpr float kPatrolAcceleration = 0.5f;
constexpr float kPatrolSpeed = 3.0f;
constexpr float kPatrolTurn = 500.0f;
constexpr float kGroundProbe = 2.0f;
constexpr float kFireFrames = 80.0f;
constexpr float kShotFrame = 40.0f;
constexpr float kReloadFrames = 120.0f;
constexpr float kMuzzleX = 50.0f;
constexpr float kMuzzleY = -22.0f;
constexpr float kShotSpeed = 10.0f;
constexpr float kShotDepth = 4.0f;
constexpr float kWalkerGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr int kStandAnimation = 1;
constexpr int kWalkAnimation = 2;
constexpr int kShotAnimation = 3;
constexpr int kShootAnimation = 15;
// Tile frames that end a ledge.
constexpr int kLedgeRightEnd = 12;
constexpr int kLedgeLeftEnd = 13;

bool TakesHit(GameObject* tiger) {
  if (!HandleDamage(tiger)) return false;
  tiger->SetBehavior(TigerCStunned);
  return true;
}

// The ledge end it is heading off: the right end moving right, the left end
// moving left.
bool AtLedgeEnd(GameObject* tiger, float heading) {
  const int frame = ProbeTileFrame(tiger, 0.0f, kGroundProbe);
  return (frame == kLedgeLeftEnd && heading < 0.0f) || (frame == kLedgeRightEnd && heading > 0.0f);
}

void Fire(GameObject* tiger, const PlayerObject* player) {
  tiger->SetFacingLeft(player->GetPosition().X() <= tiger->GetPosition().X());
  tiger->SetState(kShootAnimation);
  tiger->SetBehavior(TigerCShoot);
  tiger->SetVelocity(0.0f, 0.0f);
  tiger->SetFlag("GunTimer", kFireFrames);
}

void ReleaseShot(GameObject* tiger) {
  RequirePrototype("TigerCShot");
  GameObject* shot = ContactGameObject(World::CloneSprite("TigerCShot"));
  VT_ASSERT(shot);
  const float side = tiger->IsFacingLeft() ? -1.0f : 1.0f;
  shot->SetInactive(false);
  shot->SetState(kShotAnimation);
  shot->MoveTo(tiger->GetPosition() + CachedVector(side * kMuzzleX, kMuzzleY));
  shot->SetFacingLeft(tiger->IsFacingLeft());
  shot->SetVelocity(side * kShotSpeed, 0.0f);
  shot->SetDepth(kShotDepth);
  World::GetObjects()->Add(shot);
}

}  // namespace

int ProbeTileFrame(GameObject* object, float probeX, float probeY) {
  SpriteCollection* objects = World::GetObjects();
  if (!objects) return -1;
  const CachedVector velocity = object->GetVelocity();
  object->SetParkedVelocity(velocity);
  object->SetVelocity(probeX, probeY);
  const Contact contact = objects->Probe(object);
  object->SetVelocity(velocity);
  object->SetParkedVelocity(0.0f, 0.0f);
  const auto* other = dynamic_cast<const Sprite*>(contact.b);
  return contact.IsHit() && other ? other->GetFrame() : -1;
}

void TigerCInit(GameObject* tiger) {
  tiger->AddFlag("Health", 25.0f);
  tiger->AddFlag("FrameChange", -1.0f);
  tiger->AddFlag("GunTimer", 0.0f);
  AddDamageFlags(tiger);
  AddGroundFlag(tiger);
  AddMovementFlags(tiger);
  // Placed in the air, it drops onto its ledge first.
  tiger->SetFlag("OnGround", 0.0f);
  tiger->SetFlag("TargetX", tiger->GetPosition().X() + 250.0f);
  tiger->SetBehavior(TigerCPatrol);
  TigerCPatrol(tiger);
}

void TigerCPatrol(GameObject* tiger) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(tiger)) return;
  if (std::fabs(player->GetPosition().X() - tiger->GetPosition().X()) < kNoticeRange) {
    tiger->SetBehavior(TigerCAim);
    tiger->SetFlag("AggroDelay", 0.0f);
    return;
  }
  BehaviorPatrolTurn(tiger, kPatrolAcceleration, kPatrolSpeed, kPatrolTurn);
  if (IsFalling(tiger)) {
    tiger->SetBehavior(TigerCFall);
    tiger->SetFlag("OnGround", 0.0f);
    return;
  }
  float& direction = tiger->GetFlag("DirectionX");
  if (AtLedgeEnd(tiger, direction)) {
    // Only the end it walks toward turns it, and the patrol target moves with
    // the turn; otherwise it would turn back the next frame and stand
    // flickering on the end tile.
    tiger->SetVelocity(0.0f, 0.0f);
    tiger->SetFacingLeft(!tiger->IsFacingLeft());
    direction = -direction;
    tiger->SetFlag("TargetX", tiger->GetPosition().X() + kPatrolTurn * direction);
    return;
  }
  UpdateDamageFlash(tiger);
  WalkStep(tiger);
}

void TigerCFall(GameObject* tiger) {
  if (TakesHit(tiger)) return;
  if (tiger->GetFlag("OnGround") == 0.0f) {
    UpdateDamageFlash(tiger);
    ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
    return;
  }
  tiger->SetBehavior(TigerCPatrol);
  tiger->SetState(kWalkAnimation);
  tiger->SetFlag("DirectionX", tiger->GetFlag("TargetX") - tiger->GetPosition().X() <= 1.0f ? -1.0f : 1.0f);
}

void TigerCStunned(GameObject* tiger) {
  // No hit check: the blink drops whatever lands meanwhile.
  UpdateDamageFlash(tiger);
  if (tiger->GetFlag("DamagedTime") <= 0.0f) {
    tiger->SetBehavior(TigerCFall);
    tiger->SetFlag("OnGround", 0.0f);
  }
  if (tiger->GetFlag("OnGround") == 0.0f) ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
}

void TigerCAim(GameObject* tiger) {
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  if (TakesHit(tiger)) return;
  const float x = tiger->GetPosition().X();
  const float heroX = player->GetPosition().X();
  const float d = std::fabs(heroX - x);
  if (d > kGiveUpRange) {
    tiger->SetBehavior(TigerCFall);
    tiger->SetFlag("OnGround", 0.0f);
  }

  float& aggroDelay = tiger->GetFlag("AggroDelay");
  const float vy = tiger->GetVelocity().Y();
  if (aggroDelay == 0.0f) {
    if (tiger->GetState() == kStandAnimation) tiger->SetState(kWalkAnimation);
    // Away from the hero is -1 with the hero to the right.
    const float away = x <= heroX ? -1.0f : 1.0f;
    if (std::fabs(d - kKeptDistance) < kDistanceSlack) {
      tiger->SetState(kStandAnimation);
      tiger->SetVelocity(0.0f, 0.0f);
      tiger->SetFacingLeft(away < 0.0f);
    } else {
      const float vx = d < kKeptDistance ? away * kAimSpeed : -away * kAimSpeed;
      tiger->SetVelocity(vx, vy);
      tiger->SetFacingLeft(vx < 0.0f);
    }
    aggroDelay = kDecisionFrames;
  } else {
    const float vx = tiger->GetVelocity().X();
    if (vx != 0.0f) tiger->SetVelocity(vx < 0.0f ? -kAimSpeed : kAimSpeed, vy);
    aggroDelay -= 1.0f;
  }

  float& gunTimer = tiger->GetFlag("GunTimer");
  gunTimer -= 1.0f;
  if (gunTimer <= 0.0f && d < kKeptDistance) {
    Fire(tiger, player);
    return;
  }
  UpdateDamageFlash(tiger);
  if (tiger->GetFlag("OnGround") == 0.0f) {
    ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
  } else if (IsFalling(tiger)) {
    tiger->SetBehavior(TigerCFall);
    tiger->SetFlag("OnGround", 0.0f);
  } else if (AtLedgeEnd(tiger, tiger->GetVelocity().X())) {
    // Backed up to the edge: it stands its ground and shoots.
    Fire(tiger, player);
  } else {
    WalkStep(tiger);
  }
}

void TigerCShoot(GameObject* tiger) {
  if (TakesHit(tiger)) return;
  float& gunTimer = tiger->GetFlag("GunTimer");
  gunTimer -= 1.0f;
  if (gunTimer == kShotFrame) {
    ReleaseShot(tiger);
  } else if (gunTimer <= 0.0f) {
    tiger->SetState(kStandAnimation);
    tiger->SetBehavior(TigerCAim);
    tiger->SetFlag("GunTimer", kReloadFrames);
    return;
  }
  UpdateDamageFlash(tiger);
  if (tiger->GetFlag("OnGround") == 0.0f) ApplyGravity(tiger, kWalkerGravity, kMaxFallSpeed);
}
