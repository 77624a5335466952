// Kaje, the airship's boss: it walks in, talks, hides behind a shield that
// only falling crates break, then fights on foot with summoned TigerE, and
// last in a duel of runs, leaps, dashes and energy shots.
#include "behaviorlib/Includes/AirshipKaje.h"

#include <cmath>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "game/input/Input.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/CameraFocus.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Random.h"

namespace {

constexpr float kFallGravity = 0.7f;
constexpr float kMaxFallSpeed = 20.0f;
constexpr float kWalkSpeed = 6.0f;
constexpr float kArriveDistance = 10.0f;
// Kaje only falls once it is near the view, so it can enter from the left
// along a deck that starts off screen.
constexpr float kFallMargin = 200.0f;
constexpr float kShieldGrowth = 0.02f;
constexpr float kRocketSpeed = 5.0f;
constexpr float kProjectileDepth = 3.9f;
constexpr float kHitStunFrames = 15.0f;
constexpr float kSwipeReach = 180.0f;

constexpr int kStand = 1;
constexpr int kWalk = 2;
constexpr int kSwipe = 3;
constexpr int kFire = 15;
constexpr int kDash = 16;
constexpr int kLeap = 17;

Vector2 Beside(const Vector2& at, float dx) { return Vector2(at.X() + dx, at.Y()); }

float Side(const GameObject* kaje) { return kaje->IsFacingLeft() ? -1.0f : 1.0f; }

// The deck end Kaje faces.
float FacedDeckEnd(const GameObject* kaje) { return kaje->IsFacingLeft() ? kKajeDeckLeft : kKajeDeckRight; }

void SetStateOnce(GameObject* kaje, int state) {
  if (kaje->GetState() != state) kaje->SetState(state);
}

void FaceHero(GameObject* kaje) {
  if (const PlayerObject* hero = World::GetPlayer()) {
    kaje->SetFacingLeft(hero->GetPosition().X() < kaje->GetPosition().X());
  }
}

// "Counts down from N": loads N at 0, otherwise steps down; true on reaching 0.
bool CountDown(float& timer, float from) {
  if (timer == 0.0f) {
    timer = from;
    return false;
  }
  timer -= 1.0f;
  if (timer > 0.0f) return false;
  timer = 0.0f;
  return true;
}

EnemyObject* BuildFromPrototype(const char* name, const Vector2& at, ObjectCallbacks callbacks) {
  Sprite* prototype = World::FindPrototype(name);
  VT_ASSERT(prototype);
  auto* object = new EnemyObject(name, prototype->GetAnimation(), at, callbacks, prototype->GetDepth());
  if (const GameObject* source = prototype->AsGameObject()) object->CopyStateAnimations(*source);
  return object;
}

GameObject* CloneFromPrototype(const char* name) {
  GameObject* object = World::CloneSprite(name)->AsGameObject();
  VT_ASSERT(object);
  return object;
}

// Gravity while Kaje walks, but not while it is still far left of the view.
void FallNearView(GameObject* kaje) {
  const bool falling = IsFalling(kaje);
  if (falling && kaje->GetPosition().X() > World::GetObjects()->GetOffset().X() - kFallMargin) {
    kaje->SetFlag("OnGround", 0.0f);
    ApplyGravity(kaje, kFallGravity, kMaxFallSpeed);
  }
}

// Walks toward the active crate; true once Kaje stands within reach of it.
// Without a crate Kaje has arrived where it stands.
bool WalkToCrate(GameObject* kaje) {
  SetStateOnce(kaje, kWalk);
  const GameObject* crate = FindAirshipObject("AirshipCrate");
  const float dx = crate ? crate->GetPosition().X() - kaje->GetPosition().X() : 0.0f;
  if (std::fabs(dx) <= kArriveDistance) return true;
  const float direction = dx > 0.0f ? 1.0f : -1.0f;
  kaje->SetFlag("DirectionX", direction);
  kaje->SetFacingLeft(direction < 0.0f);
  kaje->SetVelocity(kWalkSpeed * direction, kaje->GetVelocity().Y());
  FallNearView(kaje);
  return false;
}

void Launch(GameObject* kaje, GameObject* projectile, BehaviorFn init) {
  projectile->SetInactive(false);
  projectile->SetBehavior(init);
  projectile->MoveTo(KajeLaunchPoint(kaje));
  projectile->SetDepth(kProjectileDepth);
  projectile->SetDeactivateOffscreen(false);
  World::GetObjects()->Add(projectile);
}

void LaunchRocket(GameObject* kaje, float rise) {
  GameObject* rocket = CloneFromPrototype("KajeRocket");
  const double turn = (platform::Random() % 600) / 1000.0 - 0.3;
  const double heading = std::atan2(static_cast<double>(rise), kRocketSpeed * Side(kaje)) + turn;
  rocket->SetVelocity(static_cast<float>(kRocketSpeed * std::cos(heading)),
                      static_cast<float>(kRocketSpeed * std::sin(heading)));
  Launch(kaje, rocket, KajeRocketInit);
  rocket->RunBehavior();
}

// Blink and hit of the fighting stages; true when the hit applied this frame
// took Kaje's last hit point.
bool TakeStageHit(GameObject* kaje) {
  float& damaged = kaje->GetFlag("DamagedTime");
  if (damaged != 0.0f) {
    damaged -= 1.0f;
    if (damaged <= 0.0f) {
      damaged = 0.0f;
      kaje->TakeLastContact();
      kaje->SetVisible(true);
    } else {
      float& flash = kaje->GetFlag("FlashTime");
      flash -= 1.0f;
      if (flash <= 0.0f) {
        kaje->SetVisible(!kaje->IsVisible());
        flash = kaje->IsVisible() ? 3.0f : 2.0f;
      }
    }
  }

  const Contact contact = kaje->TakeLastContact();
  if (!contact.IsHit()) return false;
  PlayerObject* hero = World::GetPlayer();
  auto* enemy = dynamic_cast<EnemyObject*>(kaje);
  const bool byHero = hero && contact.b == static_cast<PhysicsObject*>(hero);
  // Each attack counts once, however many frames its blade touches.
  if (byHero && enemy && hero->GetAttackId() == enemy->GetLastHitAttackId()) return false;
  float& health = kaje->GetFlag("Health");
  float& received = kaje->GetFlag("DamageReceived");
  health -= received;
  if (enemy && hero) enemy->SetLastHitAttackId(hero->GetAttackId());
  if (byHero) {
    SpawnHitSparks(hero, kaje);
    ShowHitOnHUD(static_cast<int>(received), static_cast<int>(kaje->GetFlag("DamageColor")), health <= 0.0f);
  }
  received = 0.0f;
  if (health > 0.0f) {
    damaged = kHitStunFrames;
    return false;
  }
  return true;
}

void StopMusic() {
  SoundEngine engine;
  engine.StopMusic();
}

void NextMusicSection() {
  SoundEngine engine;
  engine.NextSection();
  engine.PlayMusic();
}

}  // namespace

// ---- Shared helpers ----

GameObject* FindAirshipObject(const char* name) {
  SpriteCollection* objects = World::GetObjects();
  if (!objects) return nullptr;
  for (Sprite* sprite : objects->GetSprites()) {
    if (!sprite->IsDead() && sprite->GetName() == name) return sprite->AsGameObject();
  }
  return nullptr;
}

GameObject* RequireKajeTrigger() {
  GameObject* trigger = FindAirshipObject("KajeTrigger");
  VT_ASSERT(trigger);
  return trigger;
}

void SetHoldFocus(float value) { RequireKajeTrigger()->SetFlag("HoldFocus", value); }

void QueueKajeFocus(const GameObject* followed, const Vector2& position, bool playerControl) {
  CameraFocus focus;
  focus.m_vPosition = position;
  focus.Follow(followed);
  focus.m_bPlayerControl = playerControl;
  focus.m_callback = KajeTriggerHold;
  PushCameraFocus(focus);
}

bool IsFireMoment(const GameObject* object) {
  const auto& frames = object->GetAnimation()->GetFrames();
  const int index = object->GetFrame();
  if (index < 0 || index >= static_cast<int>(frames.size())) return false;
  const AnimationFrame& frame = frames[static_cast<std::size_t>(index)];
  return frame.GetNextFrame() <= index && object->GetTicksLeft() == frame.GetTicks();
}

Vector2 KajeLaunchPoint(const GameObject* kaje) {
  const CollisionShape& shape = kaje->GetCollisionShape();
  if (shape.GetPolygonCount() > 2 && shape.GetPolygon(2).GetVertexCount() > 0) {
    return shape.GetPolygon(2).GetVertex(0).GetPosition();
  }
  return kaje->GetPosition();
}

void RemoveByRenaming(GameObject* object) {
  object->SetName("DELETED");
  object->SetDead(true);
}

// ---- The trigger ----

void KajeTriggerInit(GameObject* trigger) {
  trigger->AddFlag("Timer", 0.0f);
  trigger->AddFlag("State", 0.0f);
  trigger->AddFlag("HoldFocus", 0.0f);
  trigger->SetDeactivateOffscreen(false);
  trigger->SetBehavior(KajeTriggerSpawnBoss);
}

bool KajeTriggerHold() {
  // Without the trigger nothing would ever release the camera.
  GameObject* trigger = FindAirshipObject("KajeTrigger");
  if (!trigger) return true;
  float& hold = trigger->GetFlag("HoldFocus");
  if (hold == 0.0f) {
    hold = -1.0f;
    return true;
  }
  if (hold == -1.0f) hold = 1.0f;
  return false;
}

void KajeTriggerSpawnBoss(GameObject* trigger) {
  const PlayerObject* hero = World::GetPlayer();
  if (!hero || std::fabs(hero->GetPosition().X() - trigger->GetPosition().X()) > 100.0f) return;

  if (Input* input = Input::GetInstance()) input->Disable();
  World::SetCameraLock(0);
  World::ClearLevelJustLoaded();

  const Vector2 at(kKajeSpawnX, kKajeSpawnY);
  EnemyObject* kaje = BuildFromPrototype("Kaje", at, NO_CALLBACKS);
  World::GetObjects()->Add(kaje);
  KajeInit(kaje);

  EnemyObject* shield = BuildFromPrototype("KajeShield", at, NO_CALLBACKS);
  shield->SetBehavior(KajeShieldFollow);
  shield->SetScaleX(0.0f);
  shield->SetScaleY(0.0f);
  shield->SetCollisionCallback(CollideDamage);
  shield->SetInactive(true);
  shield->SetDeactivateOffscreen(false);
  AddDamageFlags(shield);
  shield->SetDepth(3.0f);
  // Set up now, switched on when the shield stage settles.
  shield->StartPulse(5, 0.03f, 5, true);
  shield->SetPulsing(false);
  World::GetObjects()->Add(shield);

  trigger->SetBehavior(nullptr);
  QueueKajeFocus(kaje, Vector2(), true);
  trigger->SetFlag("HoldFocus", 1.0f);
  StopMusic();
}

void KajeTriggerEndLevel(GameObject* trigger) {
  float& state = trigger->GetFlag("State");
  float& timer = trigger->GetFlag("Timer");
  switch (static_cast<int>(state)) {
    case 0:
      state = 1.0f;
      World::StartFade(180, 0x00000000, 0xFFFF0000);
      timer = 180.0f;
      break;
    case 1:
      timer -= 1.0f;
      if (timer <= 0.0f) {
        state = 2.0f;
        World::StartFade(180, 0xFFFF0000, 0xFF000000);
        timer = 180.0f;
      }
      break;
    case 2:
      timer -= 1.0f;
      if (timer <= 0.0f) {
        state = 3.0f;
        NextMusicSection();
        World::NextLevel();
      }
      break;
    default:
      break;
  }
}

// ---- Kaje: approach and shield stage ----

void KajeInit(GameObject* kaje) {
  kaje->AddFlag("Health", 3.0f);
  kaje->AddFlag("FrameChange", 0.0f);
  kaje->AddFlag("OnGround", 0.0f);
  kaje->AddFlag("DirectionX", 1.0f);
  kaje->AddFlag("TargetX", 0.0f);
  kaje->AddFlag("StateTime", 0.0f);
  kaje->AddFlag("WaitTime", 0.0f);
  AddDamageFlags(kaje);
  kaje->SetDeactivateOffscreen(false);
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->SetState(kWalk);
  kaje->SetCollisionCallback(CollideDamage);
  kaje->SetBehavior(KajeStart);
  kaje->SetFrameChangeCallback(FrameChangeCallback);
}

void KajeStart(GameObject* kaje) {
  kaje->TakeLastContact();  // not to be hurt before the fight
  if (!WalkToCrate(kaje)) return;
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->SetState(kStand);
  kaje->SetBehavior(nullptr);

  GameObject* trigger = RequireKajeTrigger();
  trigger->SetFlag("HoldFocus", 0.0f);
  trigger->SetBehavior(KajeTriggerDialogue);
  if (PlayerObject* hero = World::GetPlayer()) {
    hero->SetFacingLeft(true);
    hero->SetBehavior(nullptr);
    hero->SetVelocity(0.0f, hero->GetVelocity().Y());
    QueueKajeFocus(hero, Vector2(), true);
  }
  if (Input* input = Input::GetInstance()) input->Enable();
  World::StartFade(120, 0x00000000, 0x7F000000);
  // The scaffolding would stand in the fight.
  for (SpriteCollection* list : {World::GetObjects(), World::GetDormantObjects()}) {
    if (!list) continue;
    for (Sprite* sprite : list->GetSprites()) {
      if (sprite->GetName() != "AirshipScaffold") continue;
      if (GameObject* scaffold = sprite->AsGameObject()) RemoveByRenaming(scaffold);
    }
  }
}

void KajeShieldWait(GameObject* kaje) {
  kaje->TakeLastContact();
  GameObject* shield = FindAirshipObject("KajeShield");
  float& timer = kaje->GetFlag("StateTime");
  if (timer == 0.0f) {
    if (shield) {
      shield->SetInactive(false);
      shield->MoveTo(kaje->GetPosition());
    }
    World::StartFade(90, 0x00FF7FFF, 0x7FFF7FFF);
    timer = 180.0f;
  } else {
    timer -= 1.0f;
    if (timer == 90.0f) World::StartFade(90, 0x7FFF7FFF, 0x00FF7FFF);
    if (timer <= 0.0f) {
      timer = 0.0f;
      if (shield) shield->SetPulsing(true);
      kaje->SetBehavior(KajeRocketWait);
    }
  }
  if (shield && shield->GetScaleX() < 1.0f) {
    shield->SetScaleX(std::fmin(shield->GetScaleX() + kShieldGrowth, 1.0f));
    shield->SetScaleY(std::fmin(shield->GetScaleY() + kShieldGrowth, 1.0f));
  }
}

void KajeRocketWait(GameObject* kaje) {
  kaje->TakeLastContact();
  if (!CountDown(kaje->GetFlag("StateTime"), 60.0f)) return;
  const PlayerObject* hero = World::GetPlayer();
  if (hero) {
    const Vector2 offset(hero->GetPosition().X() - kaje->GetPosition().X(),
                         hero->GetPosition().Y() - kaje->GetPosition().Y());
    // A hero right under Kaje's arm cannon is out of its line: it turns away.
    if (offset.Y() >= 30.0f && offset.X() <= 100.0f) {
      kaje->SetFacingLeft(!kaje->IsFacingLeft());
    } else {
      FaceHero(kaje);
    }
  }
  kaje->SetState(kFire);
  kaje->SetBehavior(KajeFireRockets);
}

void KajeFireRockets(GameObject* kaje) {
  kaje->TakeLastContact();
  if (IsFireMoment(kaje)) LaunchRocket(kaje, -1.0f);
  if (kaje->IsAnimationFinished()) {
    kaje->SetState(kStand);
    kaje->SetBehavior(KajeRocketWait);
  }
}

void KajeShieldFadeOut(GameObject* kaje) {
  kaje->TakeLastContact();
  if (GameObject* shield = FindAirshipObject("KajeShield")) {
    shield->SetPulsing(false);
    shield->SetScaleX(shield->GetScaleX() - kShieldGrowth);
    shield->SetScaleY(shield->GetScaleY() - kShieldGrowth);
    if (shield->GetScaleX() > 0.0f) return;
    shield->SetScaleX(0.0f);
    shield->SetScaleY(0.0f);
    shield->SetInactive(true);
  }
  float& shields = kaje->GetFlag("Health");
  shields -= 1.0f;
  if (shields <= 0.0f) {
    kaje->SetBehavior(KajePhaseOneMove);
    shields = 80.0f;
    kaje->SetFlag("DirectionX", -1.0f);
    kaje->SetFlag("StateTime", 0.0f);
    kaje->TakeLastContact();
  } else {
    kaje->SetBehavior(KajeCrateCheck);
  }
}

void KajeCrateCheck(GameObject* kaje) {
  kaje->TakeLastContact();
  if (!WalkToCrate(kaje)) return;
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->SetState(kStand);
  kaje->SetBehavior(KajeShieldWait);
  SetHoldFocus(0.0f);
}

// ---- Stage one ----

void KajePhaseOneMove(GameObject* kaje) {
  SetStateOnce(kaje, kWalk);
  const float direction = kaje->GetFlag("DirectionX");
  kaje->SetFacingLeft(direction < 0.0f);
  kaje->SetVelocity(kWalkSpeed * direction, kaje->GetVelocity().Y());

  // What Kaje stands on: a marked deck tile turns it round.
  const CachedVector velocity = kaje->GetVelocity();
  kaje->SetParkedVelocity(velocity);
  kaje->SetVelocity(0.0f, 2.0f);
  const Contact below = World::GetObjects()->Probe(kaje);
  kaje->SetVelocity(velocity);
  kaje->SetParkedVelocity(0.0f, 0.0f);

  float& walked = kaje->GetFlag("StateTime");
  walked += 1.0f;
  const auto* tile = below.IsHit() ? dynamic_cast<const Sprite*>(below.b) : nullptr;
  if (tile && walked > 60.0f && tile->GetFrame() != 0) {
    kaje->SetVelocity(0.0f, 0.0f);
    kaje->SetState(kStand);
    kaje->SetFacingLeft(!kaje->IsFacingLeft());
    walked = 0.0f;
    kaje->SetBehavior(KajeDropTiger);
    kaje->SetFlag("DirectionX", -direction);
    SetHoldFocus(0.0f);
  } else {
    FallNearView(kaje);
  }
  KajePhaseOneHit(kaje);
}

void KajeDropTiger(GameObject* kaje) {
  float& timer = kaje->GetFlag("StateTime");
  float& wait = kaje->GetFlag("WaitTime");
  const float s = Side(kaje);
  const Vector2 at = kaje->GetPosition();
  if (timer == 0.0f && wait == 0.0f) {
    // Where the tigers will appear.
    SpawnFlash(Beside(at, 200.0f * s), 0, 0.0f, 0.05f, 4.0f, 4.0f);
    SpawnFlash(Beside(at, 300.0f * s), 0, 0.0f, 0.05f, 4.0f, 4.0f);
    timer = 60.0f;
  } else if (wait != 0.0f) {
    wait -= 1.0f;
    if (wait <= 0.0f) {
      wait = 0.0f;
      kaje->SetBehavior(KajePhaseOneWait);
    }
  } else {
    timer -= 1.0f;
    if (timer <= 0.0f) {
      timer = 0.0f;
      Sprite* prototype = World::FindPrototype("TigerE");
      VT_ASSERT(prototype);
      const BehaviorFn tigerBehavior = prototype->GetBehavior();
      for (int i = 0; i < 2; ++i) {
        EnemyObject* tiger =
            BuildFromPrototype("TigerE", Beside(at, (200.0f + 100.0f * static_cast<float>(i)) * s),
                               ObjectCallbacks{FrameChangeCallback, tigerBehavior, CollideDamage});
        tiger->SetDeactivateOffscreen(false);
        tiger->SetBehavior(TigerEInit);
        TigerEInit(tiger);
        if (kaje->IsFacingLeft()) {
          tiger->SetFlag("DirectionX", -1.0f);
          tiger->SetFlag("TargetX", tiger->GetPosition().X() - 250.0f);
          tiger->SetFacingLeft(true);
        }
        tiger->SetSummoned(true);
        World::GetObjects()->Add(tiger);
      }
      wait = 30.0f;
    }
  }
  KajePhaseOneHit(kaje);
}

void KajePhaseOneWait(GameObject* kaje) {
  if (!FindAirshipObject("TigerE")) {
    kaje->SetFlag("StateTime", 0.0f);
    kaje->SetBehavior(KajePhaseOneMove);
  } else if (CountDown(kaje->GetFlag("StateTime"), 60.0f)) {
    FaceHero(kaje);
    const PlayerObject* hero = World::GetPlayer();
    if (hero && std::fabs(hero->GetPosition().X() - kaje->GetPosition().X()) <= kSwipeReach) {
      kaje->SetState(kSwipe);
      kaje->SetBehavior(KajePhaseOneIdle);
    } else {
      kaje->SetState(kFire);
      kaje->SetBehavior(KajePhaseOneRockets);
    }
  }
  KajePhaseOneHit(kaje);
}

void KajePhaseOneRockets(GameObject* kaje) {
  if (IsFireMoment(kaje)) LaunchRocket(kaje, -2.0f);
  if (kaje->IsAnimationFinished()) {
    kaje->SetState(kStand);
    kaje->SetBehavior(KajePhaseOneWait);
  }
  KajePhaseOneHit(kaje);
}

void KajePhaseOneIdle(GameObject* kaje) {
  if (kaje->IsAnimationFinished()) {
    kaje->SetState(kStand);
    kaje->SetBehavior(KajePhaseOneWait);
  }
  KajePhaseOneHit(kaje);
}

void KajePhaseOneHit(GameObject* kaje) {
  if (!TakeStageHit(kaje)) return;
  kaje->SetBehavior(KajePhaseTwoStart);
  kaje->SetState(kStand);
  kaje->SetFlag("StateTime", 0.0f);
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->SetVisible(true);
  if (auto* enemy = dynamic_cast<EnemyObject*>(kaje)) enemy->SetNoContactDamage(true);
  World::SetEarthquake(true);
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite->GetName() != "TigerE") continue;
    if (GameObject* tiger = sprite->AsGameObject()) RemoveByRenaming(tiger);
  }
  QueueKajeFocus(nullptr, kaje->GetPosition(), false);
  SetHoldFocus(1.0f);
  StopMusic();
}

// ---- Transition: colour flashes, then the second stage ----

void KajePhaseTwoStart(GameObject* kaje) {
  float& step = kaje->GetFlag("StateTime");
  float& wait = kaje->GetFlag("WaitTime");
  // The fades of steps 0 to 3, each from the last one's colour.
  static constexpr D3DCOLOR kColours[] = {0x00000000, 0x7FFF0000, 0x7F00FF00, 0x7F0000FF, 0x7FFFFFFF};
  const int current = static_cast<int>(step);
  if (current == 0) {
    step = 1.0f;
    World::StartFade(45, kColours[0], kColours[1]);
    wait = 45.0f;
    return;
  }
  if (current < 1 || current > 6) return;
  wait -= 1.0f;
  if (wait > 0.0f) return;
  wait = 45.0f;
  step = static_cast<float>(current + 1);
  if (current <= 3) {
    World::StartFade(45, kColours[current], kColours[current + 1]);
  } else if (current == 4) {
    kaje->StartPulse(2, 0.05f, 2, true);
  } else if (current == 5) {
    World::StartFade(45, 0x7FFFFFFF, 0x00FFFFFF);
    SetHoldFocus(0.0f);
    if (PlayerObject* hero = World::GetPlayer()) hero->SetFrame(hero->GetFrame());
    NextMusicSection();
    wait = 60.0f;
  } else {
    step = 0.0f;
    wait = 0.0f;
    kaje->SetPulsing(false);
    kaje->SetScaleX(1.0f);
    kaje->SetScaleY(1.0f);
    kaje->SetFlag("Health", 100.0f);
    if (auto* enemy = dynamic_cast<EnemyObject*>(kaje)) enemy->SetNoContactDamage(false);
    kaje->SetBehavior(KajePhaseTwoMove);
  }
}

// ---- Stage two ----

namespace {

void Leap(GameObject* kaje) {
  kaje->SetState(kLeap);
  kaje->SetFlag("OnGround", 0.0f);
  kaje->SetVelocity(7.0f * Side(kaje), -18.0f);
  kaje->SetBehavior(KajePhaseTwoLand);
}

void FireEnergy(GameObject* kaje) {
  kaje->SetState(kFire);
  kaje->SetBehavior(KajeFireEnergyShot);
}

}  // namespace

void KajePhaseTwoMove(GameObject* kaje) {
  if (CountDown(kaje->GetFlag("StateTime"), 40.0f)) {
    if (const PlayerObject* hero = World::GetPlayer()) {
      FaceHero(kaje);
      const float s = Side(kaje);
      const float toEnd = std::fabs(kaje->GetPosition().X() - FacedDeckEnd(kaje));
      const float d = std::fabs(hero->GetPosition().X() - kaje->GetPosition().X());
      if (d > 500.0f) {
        const bool odd = (platform::Random() & 1) != 0;
        if (odd && toEnd > 300.0f) {
          kaje->SetState(kWalk);
          kaje->SetVelocity(kWalkSpeed * s, 0.0f);
          kaje->SetBehavior(KajePhaseTwoJump);
        } else {
          FireEnergy(kaje);
        }
      } else if (d > 300.0f && toEnd > 500.0f) {
        if (platform::Random() % 3 == 0) {
          kaje->SetState(kDash);
          kaje->SetVelocity(8.0f * s, 0.0f);
          kaje->SetBehavior(KajePhaseTwoWait);
        } else {
          Leap(kaje);
        }
      } else if (d < kSwipeReach) {
        kaje->SetState(kSwipe);
        kaje->SetBehavior(KajePhaseTwoIdle);
      } else {
        FireEnergy(kaje);
      }
      kaje->SetFlag("StateTime", 0.0f);
    }
  }
  KajePhaseTwoHit(kaje);
}

void KajePhaseTwoJump(GameObject* kaje) {
  if (CountDown(kaje->GetFlag("StateTime"), 30.0f)) {
    if (std::fabs(kaje->GetPosition().X() - FacedDeckEnd(kaje)) <= 400.0f) {
      kaje->SetVelocity(0.0f, 0.0f);
      kaje->SetState(kStand);
      kaje->SetBehavior(KajePhaseTwoMove);
    } else {
      Leap(kaje);
    }
    kaje->SetFlag("StateTime", 0.0f);
  }
  KajePhaseTwoHit(kaje);
}

void KajePhaseTwoIdle(GameObject* kaje) {
  if (kaje->IsAnimationFinished()) {
    kaje->SetState(kStand);
    kaje->SetBehavior(KajePhaseTwoMove);
  }
  KajePhaseTwoHit(kaje);
}

void KajeFireEnergyShot(GameObject* kaje) {
  if (IsFireMoment(kaje)) {
    GameObject* shot = CloneFromPrototype("KajeEnergyShot");
    shot->SetVelocity(5.0f * Side(kaje), 0.0f);
    Launch(kaje, shot, KajeEnergyShotInit);
    shot->RunBehavior();
  }
  if (kaje->IsAnimationFinished()) {
    kaje->SetState(kStand);
    kaje->SetBehavior(KajePhaseTwoJump);
  }
  KajePhaseTwoHit(kaje);
}

void KajePhaseTwoWait(GameObject* kaje) {
  kaje->SetVisible(true);
  if (!CountDown(kaje->GetFlag("StateTime"), 30.0f)) return;
  kaje->SetVelocity(kWalkSpeed * Side(kaje), 0.0f);
  kaje->TakeLastContact();
  kaje->SetBehavior(KajePhaseTwoJump);
  kaje->SetState(kWalk);
}

void KajePhaseTwoLand(GameObject* kaje) {
  kaje->SetVisible(true);
  ApplyGravity(kaje, kFallGravity, kMaxFallSpeed);
  if (kaje->GetFlag("OnGround") == 0.0f) return;
  kaje->SetFlag("StateTime", 0.0f);
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->TakeLastContact();
  kaje->SetBehavior(KajePhaseTwoMove);
  kaje->SetState(kStand);
}

void KajePhaseTwoHit(GameObject* kaje) {
  if (!TakeStageHit(kaje)) return;
  StopMusic();
  World::PauseGameClock();
  kaje->SetBehavior(nullptr);
  kaje->SetTicksLeft(0);
  kaje->SetFlag("StateTime", 0.0f);
  kaje->SetVelocity(0.0f, 0.0f);
  kaje->SetVisible(true);
  if (PlayerObject* hero = World::GetPlayer()) hero->SetVisible(true);
  QueueKajeFocus(nullptr, kaje->GetPosition(), false);
  GameObject* trigger = RequireKajeTrigger();
  trigger->SetFlag("HoldFocus", 1.0f);
  trigger->SetFlag("Timer", 0.0f);
  trigger->SetFlag("State", 0.0f);
  trigger->SetBehavior(KajeTriggerEndLevel);
}
