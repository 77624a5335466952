// TigerA: decides where to go from the hero's zone of its fixed arena, runs,
// jumps and dashes between five waypoints, and alternates bombs with moves.
#include "behaviorlib/Includes/TigerA.h"

#include <algorithm>
#include <cmath>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Random.h"

const float gTigerAJumpFrames = (std::sqrt(619.8f) + 20.0f) / 0.7f;

namespace {

constexpr float kPlatformTop = 2659.0f;
constexpr float kLeftPlatformLeft = 6016.0f;
constexpr float kLeftPlatformRight = 6272.0f;
constexpr float kRightPlatformLeft = 7040.0f;
constexpr float kRightPlatformRight = 7296.0f;
constexpr float kArrived = 5.0f;
constexpr float kDecisionDelay = 60.0f;
constexpr float kDeathFrames = 120.0f;
constexpr float kHitStunFrames = 15.0f;
constexpr float kTigerGravity = 0.7f;
constexpr float kMaxFall = 20.0f;
constexpr float kBombLift = 18.0f;
constexpr float kBrake = 2.0f;
constexpr float kTooClose = 50.0f;

constexpr int kStand = 1;
constexpr int kRunAnimation = 2;
constexpr int kDashAnimation = 16;
constexpr int kJumpUpAnimation = 17;
constexpr int kJumpOffAnimation = 19;
constexpr int kDeathAnimation = 22;

constexpr TigerAPoint kWaypoints[] = {
    {5760.0f, 2752.0f}, {6656.0f, 2752.0f}, {7552.0f, 2752.0f}, {6144.0f, 2595.0f}, {7168.0f, 2595.0f},
};

using State = void (*)(GameObject*);

bool IsPlatform(int zone) { return zone == 3 || zone == 4; }

bool UnderPlatform(float x) {
  return (kLeftPlatformLeft < x && x < kLeftPlatformRight) ||
         (kRightPlatformLeft < x && x < kRightPlatformRight);
}

int OwnZone(const GameObject* tiger) {
  return TigerAZoneOf(tiger->GetPosition().X(), tiger->GetPosition().Y());
}

void Arrive(GameObject* tiger, int zone) {
  tiger->SetState(kStand);
  tiger->SetFlag("DelayTime", kDecisionDelay);
  TigerAEnterWaypoint(tiger, zone);
}

// Off toward the target with a leap: up onto a platform or down from one.
void LeapOff(GameObject* tiger) {
  const float x = tiger->GetPosition().X();
  tiger->SetVelocity(x <= tiger->GetFlag("TargetX") ? 6.0f : -6.0f, -20.0f);
  tiger->SetState(kJumpOffAnimation);
  tiger->SetFlag("DoFalling", 1.0f);
  tiger->SetFlag("OnGround", 0.0f);
}

// A bomb this time, the move the next; true when the move started.
bool BombOrMove(GameObject* tiger, State move, int animation, int waypoint) {
  float& thrown = tiger->GetFlag("BombThrown");
  if (thrown == 0.0f) {
    TigerAThrowBomb(tiger);
    thrown = 1.0f;
    tiger->SetFlag("DelayTime", kDecisionDelay);
    return false;
  }
  thrown = 0.0f;
  TigerAGoTo(tiger, move, animation, waypoint);
  return true;
}

bool DecideAtCentre(GameObject* tiger, const PlayerObject& hero) {
  const float heroX = hero.GetPosition().X();
  const int p = TigerAZoneOf(heroX, hero.GetPosition().Y());
  if (p == 1) {
    TigerAGoTo(tiger, TigerARun, kRunAnimation, tiger->GetPosition().X() > heroX ? 4 : 3);
    return true;
  }
  if (IsPlatform(p)) {
    TigerAGoTo(tiger, TigerAJump, kJumpUpAnimation, p);
    return true;
  }
  if (p == 0 || p == 2) {
    if (UnderPlatform(heroX)) {
      TigerAGoTo(tiger, TigerARun, kRunAnimation, p);
      return true;
    }
    return BombOrMove(tiger, TigerARun, kRunAnimation, p == 0 ? 4 : 3);
  }
  return false;
}

bool DecideAtSide(GameObject* tiger, const PlayerObject& hero) {
  const int p = TigerAZoneOf(hero.GetPosition().X(), hero.GetPosition().Y());
  const int s = OwnZone(tiger);
  const int platform = s == 0 ? 3 : 4;
  if (p == s || p == 1) {
    TigerAGoTo(tiger, TigerAClimb, kDashAnimation, 1);
    return true;
  }
  if ((p == 3 && s == 0) || (p == 4 && s == 2)) {
    TigerAGoTo(tiger, TigerAJump, kJumpUpAnimation, platform);
    return true;
  }
  if (((p == 3 || p == 0) && s == 2) || ((p == 4 || p == 2) && s == 0)) {
    TigerAGoTo(tiger, TigerARun, kRunAnimation, platform::Random() % 2 == 1 ? 1 : platform);
    return true;
  }
  return false;
}

bool DecideAtUpper(GameObject* tiger, const PlayerObject& hero) {
  const float heroX = hero.GetPosition().X();
  const float x = tiger->GetPosition().X();
  const int p = TigerAZoneOf(heroX, hero.GetPosition().Y());
  const int s = OwnZone(tiger);
  const int floorBelow = s == 4 ? 2 : 0;
  if (p == s) {
    int waypoint = 1;
    if (s == 3 && x > heroX) waypoint = 0;
    if (s == 4 && x < heroX) waypoint = 2;
    TigerAGoTo(tiger, TigerAClimb, kDashAnimation, waypoint);
    return true;
  }
  if ((p == 3 && s == 4) || (p == 4 && s == 3)) {
    return BombOrMove(tiger, TigerARun, kRunAnimation, floorBelow);
  }
  if ((p == 0 && s == 4) || (p == 2 && s == 3) || std::fabs(heroX - x) < kTooClose) {
    TigerAGoTo(tiger, TigerARun, kRunAnimation, 1);
    return true;
  }
  if (p == 1) return BombOrMove(tiger, TigerARun, kRunAnimation, floorBelow);
  if (p == 2 && s == 4) {
    TigerAGoTo(tiger, TigerAClimb, kDashAnimation, 2);
    return true;
  }
  if (p == 0 && s == 3) {
    TigerAGoTo(tiger, TigerAClimb, kDashAnimation, 0);
    return true;
  }
  return false;
}

// The frame every decision state shares; `decide` says whether a move started.
void DecisionFrame(GameObject* tiger, bool (*decide)(GameObject*, const PlayerObject&), bool walk) {
  TigerABrake(tiger);
  if (TigerADamage(tiger)) return;
  UpdateDamageFlash(tiger);
  float& delay = tiger->GetFlag("DelayTime");
  const PlayerObject* hero = World::GetPlayer();
  if (delay == 0.0f && hero && decide(tiger, *hero)) return;
  delay = std::max(0.0f, delay - 1.0f);
  if (tiger->GetFlag("DoFalling") != 0.0f) TigerAFall(tiger);
  // The hit-stun and blink run down twice as fast while it waits.
  UpdateDamageFlash(tiger);
  if (walk) WalkStep(tiger);
}

}  // namespace

TigerAPoint TigerAWaypoint(int index) {
  if (index < 0 || index > 4) return {0.0f, 2752.0f};
  return kWaypoints[index];
}

int TigerAZoneOf(float x, float y) {
  if (y < kPlatformTop && kLeftPlatformLeft < x && x < kLeftPlatformRight) return 3;
  if (y < kPlatformTop && kRightPlatformLeft < x && x < kRightPlatformRight) return 4;
  if (x >= 7936.0f) return 5;
  if (x >= 7168.0f) return 2;
  if (x >= 6144.0f) return 1;
  return 0;
}

void TigerAInit(GameObject* tiger) {
  tiger->AddFlag("Health", 100.0f);
  tiger->AddFlag("FrameChange", -1.0f);
  tiger->AddFlag("DoFalling", 1.0f);
  tiger->AddFlag("DelayTime", kDecisionDelay);
  tiger->AddFlag("BombThrown", 0.0f);
  AddDamageFlags(tiger);
  AddGroundFlag(tiger);
  tiger->SetFlag("OnGround", 0.0f);
  AddMovementFlags(tiger);
  tiger->SetBehavior(TigerAAtCentre);
  TigerAAtCentre(tiger);
}

void TigerAGoTo(GameObject* tiger, void (*next)(GameObject*), int animation, int waypoint) {
  const TigerAPoint target = TigerAWaypoint(waypoint);
  tiger->SetFlag("TargetX", target.x);
  tiger->SetFlag("TargetY", target.y);
  tiger->SetState(animation);
  tiger->SetBehavior(next);
}

void TigerAEnterWaypoint(GameObject* tiger, int zone) {
  tiger->SetState(kStand);
  if (zone == 0 || zone == 2) tiger->SetBehavior(TigerAAtSide);
  if (zone == 1) tiger->SetBehavior(TigerAAtCentre);
  if (IsPlatform(zone)) tiger->SetBehavior(TigerAAtUpper);
}

bool TigerADamage(GameObject* tiger) {
  const Contact contact = tiger->TakeLastContact();
  if (!contact.IsHit()) return false;
  auto* enemy = dynamic_cast<EnemyObject*>(tiger);
  PlayerObject* hero = World::GetPlayer();
  const bool byHero = hero && contact.b == hero;
  if (byHero && enemy && hero->GetAttackId() == enemy->GetLastHitAttackId()) return false;

  float& health = tiger->GetFlag("Health");
  const float received = tiger->GetFlag("DamageReceived");
  health -= received;
  if (hero && enemy) enemy->SetLastHitAttackId(hero->GetAttackId());
  if (byHero) {
    SpawnHitSparks(hero, tiger);
    ShowHitOnHUD(static_cast<int>(received), static_cast<int>(tiger->GetFlag("DamageColor")),
                 health <= 0.0f);
  }
  if (health <= 0.0f) {
    tiger->SetBehavior(TigerADeath);
    tiger->SetVelocity(0.0f, 0.0f);
    tiger->SetState(kDeathAnimation);
    tiger->SetFlag("DelayTime", kDeathFrames);
    // The blink may have hidden it this frame; hidden means the sequence is over.
    tiger->SetVisible(true);
    return true;
  }
  tiger->SetFlag("DamagedTime", kHitStunFrames);
  TigerAEnterWaypoint(tiger, OwnZone(tiger));
  return false;
}

void TigerAThrowBomb(GameObject* tiger) {
  const PlayerObject* hero = World::GetPlayer();
  if (!hero) return;
  const Vector2& at = tiger->GetPosition();
  const Vector2& target = hero->GetPosition();
  tiger->SetFacingLeft(at.X() > target.X());
  // The later time the arc is back at the hero's height. A hero too high for
  // the arc to reach gets the flight to the top of it and down to this height.
  const float reach = kBombLift * kBombLift - (at.Y() - target.Y()) * 2.0f * kTigerGravity;
  const float t = (std::sqrt(std::max(0.0f, reach)) + kBombLift) / kTigerGravity;
  SpawnTigerABomb(at.X(), at.Y(), (target.X() - at.X()) / t, -kBombLift);
}

GameObject* SpawnTigerABomb(float x, float y, float vx, float vy) {
  Sprite* found = World::FindPrototype("TigerABomb");
  GameObject* prototype = found ? found->AsGameObject() : nullptr;
  VT_ASSERT(prototype != nullptr && "TigerA needs the prototype \"TigerABomb\"");
  const ObjectCallbacks callbacks{nullptr, prototype->GetBehavior(), nullptr};
  auto* bomb = new EnemyObject("TigerABomb", prototype->GetAnimation(), Vector2(x, y), callbacks, 0.0f);
  bomb->CopyStateAnimations(*prototype);
  bomb->SetDeactivateOffscreen(false);
  bomb->SetVelocity(vx, vy);
  bomb->RunBehavior();
  bomb->SetSummoned(true);
  bomb->SetInactive(false);
  bomb->SetState(1);
  bomb->SetDepth(4.0f);
  World::GetObjects()->Add(bomb);
  return bomb;
}

void TigerAAtCentre(GameObject* tiger) { DecisionFrame(tiger, DecideAtCentre, false); }
void TigerAAtSide(GameObject* tiger) { DecisionFrame(tiger, DecideAtSide, true); }
void TigerAAtUpper(GameObject* tiger) { DecisionFrame(tiger, DecideAtUpper, true); }

void TigerARun(GameObject* tiger) {
  if (TigerADamage(tiger)) return;
  UpdateDamageFlash(tiger);
  const int s = OwnZone(tiger);
  const float targetX = tiger->GetFlag("TargetX");
  const int z = TigerAZoneOf(targetX, tiger->GetFlag("TargetY"));
  const float x = tiger->GetPosition().X();
  if (std::fabs(x - targetX) < kArrived) {
    Arrive(tiger, s);
    return;
  }
  FaceTarget(tiger, 0.1f, 4.0f);
  const bool falling = tiger->GetFlag("DoFalling") != 0.0f;
  if (!falling && IsPlatform(s) && s != z) {
    LeapOff(tiger);
    WalkStep(tiger);
    return;
  }
  if (!falling && tiger->GetFlag("OnGround") != 0.0f) {
    if (!IsPlatform(z)) {
      WalkStep(tiger);
      return;
    }
    if (s != z && std::fabs(targetX - x) <= 6.0f * gTigerAJumpFrames) LeapOff(tiger);
  } else if (falling) {
    TigerAFall(tiger);
    if (tiger->GetFlag("DoFalling") == 0.0f) tiger->SetState(kRunAnimation);
  }
  WalkStep(tiger);
}

void TigerAJump(GameObject* tiger) {
  UpdateDamageFlash(tiger);
  const int s = OwnZone(tiger);
  if (tiger->GetFlag("OnGround") != 0.0f) {
    const float x = tiger->GetPosition().X();
    tiger->SetVelocity(x <= tiger->GetFlag("TargetX") ? 8.0f : -8.0f, -18.5f);
    tiger->SetFlag("DoFalling", 1.0f);
    tiger->SetFlag("OnGround", 0.0f);
  } else if (tiger->GetFlag("DoFalling") != 0.0f) {
    TigerAFall(tiger);
  }
  if (std::fabs(tiger->GetPosition().X() - tiger->GetFlag("TargetX")) >= kArrived &&
      tiger->GetFlag("OnGround") == 0.0f) {
    FaceTarget(tiger, 1.5f, 12.0f);
    return;
  }
  Arrive(tiger, s);
}

void TigerAClimb(GameObject* tiger) {
  UpdateDamageFlash(tiger);
  const int s = OwnZone(tiger);
  if (std::fabs(tiger->GetPosition().X() - tiger->GetFlag("TargetX")) < kArrived) {
    Arrive(tiger, s);
    return;
  }
  FaceTarget(tiger, 1.0f, 9.0f);
  if (tiger->GetFlag("OnGround") != 0.0f) {
    WalkStep(tiger);
    if (IsFalling(tiger)) tiger->SetFlag("OnGround", 0.0f);
  } else {
    TigerAFall(tiger);
  }
}

void TigerADeath(GameObject* tiger) {
  float& delay = tiger->GetFlag("DelayTime");
  delay -= 1.0f;
  if (delay <= 0.0f) {
    tiger->SetVisible(false);
    return;
  }
  if (static_cast<int>(delay) % 2 == platform::Random() % 2) {
    const int dx = platform::Random() % 128 - 64;  // x is drawn first
    const int dy = platform::Random() % 128 - 64;
    const float endSize = 3.0f / static_cast<float>(platform::Random() % 10 + 1);
    const Vector2 at(tiger->GetPosition().X() + static_cast<float>(dx),
                     tiger->GetPosition().Y() + static_cast<float>(dy));
    SpawnFlash(at, 0, 0.5f, 0.05f, endSize, 4.0f);
  }
}

void TigerABrake(GameObject* tiger) {
  const float vx = tiger->GetVelocity().X();
  const float vy = tiger->GetVelocity().Y();
  if (vx > 0.0f) tiger->SetVelocity(std::max(0.0f, vx - kBrake), vy);
  if (vx < 0.0f) tiger->SetVelocity(std::min(0.0f, vx + kBrake), vy);
}

void TigerAFall(GameObject* tiger) {
  if (tiger->GetFlag("OnGround") == 0.0f) {
    UpdateDamageFlash(tiger);
    TigerAMoveStep(tiger);
    ApplyGravity(tiger, kTigerGravity, kMaxFall);
    return;
  }
  tiger->SetFlag("DirectionX", tiger->GetFlag("TargetX") - tiger->GetPosition().X() > 1.0f ? 1.0f : -1.0f);
  tiger->SetFlag("DoFalling", 0.0f);
}

void TigerAMoveStep(GameObject* tiger) {
  tiger->SetParkedVelocity(tiger->GetVelocity());
  tiger->SetVelocity(tiger->GetVelocity().X(), 0.0f);
  SpriteCollection* objects = World::GetObjects();
  Contact contact = objects ? objects->Probe(tiger) : Contact();
  tiger->SetVelocity(tiger->GetParkedVelocity());
  tiger->SetParkedVelocity(0.0f, 0.0f);
  if (contact.IsHit()) CollideGround(&contact);
}
