// The Grindlenaut: it bursts out of the ground, charges to a wall, swings its
// arm three times throwing scrap, dives back in (calling up a Rummager) and
// waits to come out again, until it breaks apart in a burst of flashes. Links to
// its parts and to a carried scrap are handles: every use resolves them and
// skips a part the level has deleted.
#include "behaviorlib/Includes/Grindlenaut.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/objects/ObjectHandle.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Random.h"

namespace {

constexpr float kFullHealth = 150.0f;
constexpr float kFirstSmoke = 150.0f;
constexpr float kFirstEmergeSpeed = 20.0f;
constexpr float kWaitFrames = 600.0f;
constexpr float kQuakeLead = 60.0f;
constexpr float kRestFrames = 240.0f;
constexpr float kAttackFrames = 600.0f;
constexpr float kSwingEvery = 180.0f;
constexpr float kDiveDepth = 360.0f;
constexpr float kSummonBand = 5.0f;
constexpr float kDeathFrames = 300.0f;
constexpr float kHitStunFrames = 15.0f;
constexpr float kArmStep = 0.017f;
constexpr float kBodyGravity = 0.3f;
constexpr float kBodyMaxFall = 40.0f;
constexpr float kTwoPi = 6.2831853f;
constexpr int kWalkAnimation = 2;
constexpr int kDigAnimation = 3;
constexpr int kDeathAnimation = 20;
// A damaged look of state s is state s + 10 per stage, with the frames, ticks and shapes
// of s: dented and scorched below two thirds of its health, smoking and sparking below
// a third.
constexpr int kLookStep = 10;
constexpr float kStageHealth[] = {100.0f, 50.0f};
constexpr int kStages = 1 + static_cast<int>(std::size(kStageHealth));
constexpr int kMountPolygon = 2;
constexpr int kScrapPolygon = 1;

GameObject* FindLive(const char* name) {
  SpriteCollection* objects = World::GetObjects();
  Sprite* found = objects ? objects->Find(name) : nullptr;
  return found ? found->AsGameObject() : nullptr;
}

GameObject* Linked(GameObject* object, const char* link) { return LinkedObject(object->GetFlag(link)); }

Vector2 MountPoint(const GameObject* object, int polygon, int vertex) {
  return object->GetCollisionShape().GetPolygon(polygon).GetVertex(vertex).GetPosition();
}

float Facing(const GameObject* body, float speed) { return body->IsFacingLeft() ? -speed : speed; }

void SetPartDepths(GameObject* body) {
  const float depth = body->GetDepth();
  if (GameObject* drill = Linked(body, "DrillPtr")) drill->SetDepth(depth + 0.01f);
  if (GameObject* arm = Linked(body, "ArmPtr")) arm->SetDepth(depth + 0.02f);
  if (GameObject* burrow = Linked(body, "BurrowPtr")) burrow->SetDepth(depth + 0.03f);
}

void ShowBurrow(GameObject* body, bool visible) {
  if (GameObject* burrow = Linked(body, "BurrowPtr")) burrow->SetVisible(visible);
}

// The y velocity before gravity tells a rise from a fall: the apex is the frame
// that turns one into the other.
bool RiseAndReachApex(GameObject* body) {
  const bool rising = body->GetVelocity().Y() < 0.0f;
  ApplyGravity(body, kBodyGravity, kBodyMaxFall);
  return rising && body->GetVelocity().Y() >= 0.0f;
}

void PointAlongPath(GameObject* body) {
  const CachedVector& v = body->GetVelocity();
  body->SetRotation(Angle(std::fabs(v.X()), v.Y()));
}

Animation* StateLook(const GameObject* body, int state) {
  for (const StateAnimation& entry : body->GetStateAnimations()) {
    if (entry.state == state) return entry.animation;
  }
  return nullptr;
}

// The stage the shown animation belongs to as a look of `state`, or -1.
int LookStage(const GameObject* body, int state) {
  const Animation* shown = body->GetAnimation();
  for (int stage = 0; stage < kStages; ++stage) {
    if (shown == StateLook(body, state + stage * kLookStep)) return stage;
  }
  return -1;
}

int DamageStage(float health) {
  int stage = 0;
  for (const float below : kStageHealth) stage += health < below;
  return stage;
}

// The walk or dig look of the stage its health has reached, from the same frame on, so
// the wear shows without a hitch in the treads. A stage the data lacks keeps the last.
void ShowWear(GameObject* body) {
  const int wanted = DamageStage(body->GetFlag("Health"));
  for (const int state : {kWalkAnimation, kDigAnimation}) {
    const int shown = LookStage(body, state);
    if (shown < 0) continue;
    for (int stage = wanted; stage > shown; --stage) {
      if (body->SwapLook(StateLook(body, state + stage * kLookStep))) return;
    }
    return;
  }
}

void EndFrame(GameObject* body) {
  GrindlenautPlaceParts(body);
  GrindlenautDamage(body);
  ShowWear(body);
}

void Smoke(GameObject* body) {
  float& smokeTime = body->GetFlag("SmokeTime");
  smokeTime -= 1.0f;
  if (smokeTime > 0.0f) return;
  const float health = body->GetFlag("Health");
  const float f = health / kFullHealth;
  GameObject* puff = SpawnFlash(MountPoint(body, kMountPolygon, 0), 0, (1.0f - f) * 0.25f,
                                (1.0f - f) * 0.025f, (1.0f - f) * 1.25f, 4.0f);
  puff->SetDepth(body->GetDepth() + 0.025f);
  World::GetObjects()->Sort();
  // Blown back over the hull, away from the way it faces.
  CachedVector drift(static_cast<float>(platform::Random() % 21 - 10) + Facing(body, -10.0f), -10.0f);
  drift.Normalize();
  puff->SetVelocity(drift * 2.3f);
  smokeTime = std::max(5.0f, 4.0f * std::sqrt(std::max(0.0f, health)));
}

void HitFlash(GameObject* body) {
  float& stun = body->GetFlag("DamagedTime");
  if (stun == 0.0f) return;
  stun -= 1.0f;
  if (stun == 0.0f) {
    body->TakeLastContact();
    body->SetVisible(true);
    return;
  }
  float& flash = body->GetFlag("FlashTime");
  flash -= 1.0f;
  if (flash <= 0.0f) {
    body->SetVisible(!body->IsVisible());
    flash = body->IsVisible() ? 3.0f : 2.0f;
  }
}

void Summon(GameObject* body) {
  Sprite* found = World::FindPrototype("Rummager");
  GameObject* prototype = found ? found->AsGameObject() : nullptr;
  VT_ASSERT(prototype != nullptr && "the Grindlenaut needs the prototype \"Rummager\"");
  const ObjectCallbacks callbacks{FrameChangeCallback, prototype->GetBehavior(), CollideDamage};
  auto* rummager = new EnemyObject("Rummager", prototype->GetAnimation(), body->GetPosition(),
                                   callbacks, 0.0f);
  rummager->CopyStateAnimations(*prototype);
  rummager->SetDeactivateOffscreen(false);
  rummager->SetVelocity(3.0f, -12.0f);
  rummager->RunBehavior();
  rummager->SetFlag("BossMode", 1.0f);
  rummager->SetSummoned(true);
  World::GetObjects()->Add(rummager);
}

void PickScrap(GameObject* arm) {
  GameObject* scrap = World::CloneSprite("Scrap")->AsGameObject();
  VT_ASSERT(scrap != nullptr);
  scrap->SetDeactivateOffscreen(false);
  scrap->SetInactive(false);
  scrap->SetState(platform::Random() % 7);
  scrap->MoveTo(MountPoint(arm, kScrapPolygon, 0));
  scrap->SetVelocity(0.0f, 0.0f);
  scrap->SetDepth(arm->GetDepth() - 0.005f);
  arm->SetFlag("ScrapPtr", LinkTo(scrap));
  World::GetObjects()->Add(scrap);
}

}  // namespace

void GrindlenautInit(GameObject* body) {
  if (body->IsVisible()) {
    body->AddFlag("OnGround", 1.0f);
    body->SetVisible(false);
  }
  // The level may add the parts after the body; the burrow is waited for like
  // the others, so no link is ever left empty.
  GameObject* arm = FindLive("GrindlenautArm");
  GameObject* drill = FindLive("GrindlenautDrill");
  GameObject* burrow = FindLive("GrindlenautBurrow");
  if (!arm || !drill || !burrow) return;

  body->SetVisible(true);
  body->AddFlag("Health", kFullHealth);
  body->AddFlag("FrameChange", -1.0f);
  AddDamageFlags(body);
  body->AddFlag("OnGround", 1.0f);
  body->AddFlag("PatrolTime", 0.0f);
  body->AddFlag("InitialY", 0.0f);
  body->AddFlag("FinalYVel", kFirstEmergeSpeed);
  body->AddFlag("SmokeTime", kFirstSmoke);
  body->AddFlag("DrillPtr", 0.0f);
  body->AddFlag("ArmPtr", 0.0f);
  body->AddFlag("BurrowPtr", 0.0f);
  body->SetBehavior(GrindlenautWait);
  body->SetDepth(-1.0f);

  drill->SetDeactivateOffscreen(false);
  body->SetFlag("DrillPtr", LinkTo(drill));
  arm->SetDeactivateOffscreen(false);
  body->SetFlag("ArmPtr", LinkTo(arm));
  arm->AddFlag("ArmAngle", 0.0f);
  arm->AddFlag("ArmDir", 0.0f);
  arm->AddFlag("ScrapPtr", 0.0f);
  burrow->SetDeactivateOffscreen(false);
  body->SetFlag("BurrowPtr", LinkTo(burrow));
  burrow->SetVisible(false);
  GrindlenautPlaceParts(body);
  SetPartDepths(body);

  World::GetObjects()->Sort();
  GrindlenautWait(body);
}

void GrindlenautArmInit(GameObject* arm) {
  arm->AddFlag("FrameChange", -1.0f);
  arm->SetBehavior(GrindlenautArmSwing);
}

void GrindlenautDrillInit(GameObject* drill) {
  drill->AddFlag("FrameChange", -1.0f);
  drill->SetBehavior(nullptr);  // the body moves it
}

void ScrapBehavior(GameObject* scrap) {
  ApplyGravity(scrap, 0.3f, 20.0f);
  KillIfOutsideView(scrap, 3000.0f, 500.0f);
}

void GrindlenautPlaceParts(GameObject* body) {
  const CachedVector& velocity = body->GetVelocity();
  const bool left = body->IsFacingLeft();
  if (GameObject* drill = Linked(body, "DrillPtr")) {
    drill->MoveTo(MountPoint(body, kMountPolygon, 0));
    drill->SetVelocity(velocity);
    drill->SetRotation(body->GetRotation());
    if (drill->IsFacingLeft() != left) drill->SetFacingLeft(left);
  }
  if (GameObject* arm = Linked(body, "ArmPtr")) {
    arm->MoveTo(MountPoint(body, kMountPolygon, 1));
    arm->SetVelocity(velocity);
    arm->SetRotation(Angle(body->GetRotation().GetRadians() + arm->GetFlag("ArmAngle")));
    if (arm->IsFacingLeft() != left) arm->SetFacingLeft(left);
  }
  if (GameObject* burrow = Linked(body, "BurrowPtr")) {
    burrow->MoveTo(Vector2(body->GetPosition().X(), body->GetFlag("InitialY")));
    if (burrow->IsFacingLeft() != left) burrow->SetFacingLeft(left);
  }
}

bool GrindlenautDamage(GameObject* body) {
  Smoke(body);
  HitFlash(body);

  const Contact contact = body->TakeLastContact();
  if (!contact.IsHit()) return false;
  auto* enemy = dynamic_cast<EnemyObject*>(body);
  PlayerObject* player = World::GetPlayer();
  const bool byPlayer = player && contact.b == player;
  if (byPlayer && enemy && player->GetAttackId() == enemy->GetLastHitAttackId()) return false;

  float& health = body->GetFlag("Health");
  const float received = body->GetFlag("DamageReceived");
  health -= received;
  if (player && enemy) enemy->SetLastHitAttackId(player->GetAttackId());
  if (byPlayer) {
    SpawnHitSparks(player, body);
    ShowHitOnHUD(static_cast<int>(received), static_cast<int>(body->GetFlag("DamageColor")),
                 health <= 0.0f);
  }
  if (health <= 0.0f) {
    World::SetEarthquake(false);
    ShowBurrow(body, false);
    body->GetFlag("PatrolTime") = 0.0f;
    // The blink may have hidden it this frame; hidden means the sequence is over.
    body->SetVisible(true);
    body->SetBehavior(GrindlenautDeath);
    return true;
  }
  body->SetFlag("DamagedTime", kHitStunFrames);
  return false;
}

void GrindlenautWait(GameObject* body) {
  float& time = body->GetFlag("PatrolTime");
  if (time == 0.0f) {
    time = kWaitFrames;
  } else {
    time -= 1.0f;
    if (time <= kQuakeLead) World::SetEarthquake(true);
    if (time <= 0.0f) {
      time = 0.0f;
      body->SetBehavior(GrindlenautEmerge);
    }
  }
  EndFrame(body);
}

void GrindlenautEmerge(GameObject* body) {
  float& time = body->GetFlag("PatrolTime");
  if (time == 0.0f) {
    body->SetFlag("InitialY", body->GetPosition().Y());
    body->SetVelocity(Facing(body, 5.0f), -body->GetFlag("FinalYVel"));
    body->SetState(kDigAnimation);
    time = 1.0f;
  } else {
    const bool apex = RiseAndReachApex(body);
    if (body->GetPosition().Y() < body->GetFlag("InitialY")) {
      World::SetEarthquake(false);
      ShowBurrow(body, false);
    }
    if (apex) {
      // In front of the scenery from here on, standing upright to land.
      body->SetDepth(1.0f);
      SetPartDepths(body);
      World::GetObjects()->Sort();
      body->SetState(kWalkAnimation);
      body->SetFlag("OnGround", 0.0f);
      body->SetRotation(Angle(0.0));
    }
    if (body->GetVelocity().Y() < 0.0f) {
      PointAlongPath(body);
    } else if (body->GetFlag("OnGround") == 1.0f) {
      time = 0.0f;
      body->SetBehavior(GrindlenautPatrol);
    }
  }
  EndFrame(body);
}

void GrindlenautPatrol(GameObject* body) {
  float& time = body->GetFlag("PatrolTime");
  if (time == 0.0f) {
    body->SetParkedVelocity(body->GetVelocity());
    body->SetVelocity(Facing(body, 2.0f), 0.0f);
    SpriteCollection* objects = World::GetObjects();
    const Contact ahead = objects ? objects->Probe(body) : Contact();
    body->SetVelocity(body->GetParkedVelocity());
    body->SetParkedVelocity(0.0f, 0.0f);
    if (ahead.IsHit()) {
      time = kRestFrames;
    } else {
      body->SetVelocity(Facing(body, 5.0f), 0.0f);
    }
  } else {
    time -= 1.0f;
    // It digs in on hitting the wall and again before it turns.
    World::SetEarthquake(time > kRestFrames - kQuakeLead || time <= kQuakeLead);
    if (time <= 0.0f) {
      World::SetEarthquake(false);
      body->SetFacingLeft(!body->IsFacingLeft());
      body->SetBehavior(GrindlenautArmAttack);
    }
  }
  EndFrame(body);
}

void GrindlenautArmAttack(GameObject* body) {
  float& time = body->GetFlag("PatrolTime");
  if (time == 0.0f) {
    time = kAttackFrames;
  } else {
    time -= 1.0f;
    if (time <= 0.0f) {
      time = 0.0f;
      body->SetBehavior(GrindlenautDive);
    } else if (time >= kSwingEvery && std::fmod(time, kSwingEvery) == 0.0f) {
      if (GameObject* arm = Linked(body, "ArmPtr")) arm->SetFlag("ArmDir", 1.0f);
    }
  }
  EndFrame(body);
}

void GrindlenautDive(GameObject* body) {
  const Animation* shown = body->GetAnimation();
  // The walking body, whatever its wear, is the first frame of the dive.
  if (shown && (shown->GetName() == "GNTbody" || LookStage(body, kWalkAnimation) > 0)) {
    body->SetFlag("InitialY", body->GetPosition().Y());
    body->SetVelocity(Facing(body, 3.0f), -10.0f);
    body->SetState(kDigAnimation);
  } else {
    if (RiseAndReachApex(body)) {
      // Behind the ground it dives into.
      body->SetDepth(-1.0f);
      SetPartDepths(body);
      World::GetObjects()->Sort();
    }
    PointAlongPath(body);
    const float y = body->GetPosition().Y();
    const float groundLine = body->GetFlag("InitialY");
    if (y > groundLine) {
      World::SetEarthquake(true);
      ShowBurrow(body, true);
      if (!FindLive("Rummager") && std::fabs(groundLine - y) <= kSummonBand) Summon(body);
    }
    if (y > groundLine + kDiveDepth) {
      body->SetFlag("FinalYVel", body->GetVelocity().Y());
      body->SetVelocity(0.0f, 0.0f);
      body->SetBehavior(GrindlenautWait);
      World::SetEarthquake(false);
    }
  }
  EndFrame(body);
}

void GrindlenautDeath(GameObject* body) {
  ShowBurrow(body, false);
  if (GameObject* rummager = FindLive("Rummager")) rummager->SetDead(true);

  float& time = body->GetFlag("PatrolTime");
  if (time == 0.0f) {
    body->SetState(kDeathAnimation);
    body->SetVelocity(0.0f, 0.0f);
    SpawnFlash(body->GetPosition(), 0, 0.0f, 0.1f, 10.0f, 4.0f);
    if (GameObject* drill = Linked(body, "DrillPtr")) {
      drill->SetVelocity(Facing(body, 5.0f), 0.0f);
      drill->SetState(kDeathAnimation);
      drill->SetBehavior(GrindlenautDrillDeath);
    }
    if (GameObject* arm = Linked(body, "ArmPtr")) {
      arm->SetVelocity(Facing(body, 2.0f), -12.0f);
      arm->SetState(kDeathAnimation);
      arm->SetBehavior(GrindlenautArmDeath);
    }
    time = kDeathFrames;
    return;
  }
  time -= 1.0f;
  if (time <= 0.0f) {
    for (const char* link : {"DrillPtr", "ArmPtr", "BurrowPtr"}) {
      if (GameObject* part = Linked(body, link)) part->SetDead(true);
    }
    body->SetVisible(false);
    body->SetBehavior(nullptr);
    time = -1.0f;
    return;
  }
  if (std::fmod(time, 10.0f) != 0.0f) {
    const float r = static_cast<float>(platform::Random()) / 32768.0f * 100.0f;
    const float a = static_cast<float>(platform::Random()) / 32768.0f * kTwoPi;
    const Vector2 at(body->GetPosition().X() + r * std::cos(a), body->GetPosition().Y() + r * std::sin(a));
    SpawnFlash(at, 0, 0.0f, 0.05f, 1.5f, 4.0f);
  }
}

void GrindlenautArmSwing(GameObject* arm) {
  // Until the body claims it the arm has nothing to swing.
  if (arm->GetFlags().count("ArmDir") == 0) return;
  float& dir = arm->GetFlag("ArmDir");
  float& angle = arm->GetFlag("ArmAngle");
  if (dir > 0.0f) {
    angle += kArmStep;
    if (angle >= 1.0f) {
      dir = -1.0f;
      PickScrap(arm);
    }
  } else if (dir < 0.0f) {
    angle -= kArmStep;
    // A scrap the level has already deleted is simply no longer carried.
    GameObject* scrap = Linked(arm, "ScrapPtr");
    if (scrap) scrap->MoveTo(MountPoint(arm, kScrapPolygon, 0));
    if (angle <= 0.0f) {
      angle = 0.0f;
      dir = 0.0f;
      const float r1 = static_cast<float>(platform::Random()) / 32768.0f * 2.0f;
      const float r2 = static_cast<float>(platform::Random()) / 32768.0f * 12.0f;
      const float vx = 4.0f + r1;
      if (scrap) scrap->SetVelocity(arm->IsFacingLeft() ? -vx : vx, -5.0f - r2);
      arm->SetFlag("ScrapPtr", 0.0f);
    }
  }
}

void GrindlenautDrillDeath(GameObject* drill) { ApplyGravity(drill, 0.2f, 20.0f); }

void GrindlenautArmDeath(GameObject* arm) {
  float& angle = arm->GetFlag("ArmAngle");
  angle += 0.1f;
  arm->SetRotation(Angle(angle));
  ApplyGravity(arm, 0.3f, 20.0f);
}
