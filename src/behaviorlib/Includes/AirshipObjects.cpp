// The crates dropped on Kaje's shield and the claws that hold them, Kaje's
// rockets, energy shots and shield, and the dialogue before the fight.
#include "behaviorlib/Includes/AirshipObjects.h"

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "game/input/Input.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Random.h"

namespace {

constexpr float kHomingStep = 0.15f;
constexpr float kRocketLifetime = 300.0f;
constexpr float kSmokeInterval = 10.0f;
// The hero's shot is removed this far outside the view too.
constexpr float kShotViewMargin = 500.0f;
constexpr int kHeroWeaponPolygon = 2;

// Points the rocket's nose (drawn facing left) along its flight.
void AlignWithFlight(GameObject* rocket) {
  const CachedVector& v = rocket->GetVelocity();
  if (v.IsZero()) return;
  rocket->SetRotation(Angle(-v.X(), -v.Y()));
}

struct DialogueLine {
  int size;
  float x;
  float y;
  const char* text;
};

constexpr DialogueLine kPageOne[] = {
    {30, 300.0f, 160.0f, "ZODIRAZ O"},
    {20, 70.0f, 210.0f, "I remember now! You sent me to find the traitor...but YOU were "},
    {20, 70.0f, 240.0f, "the traitor and you destroyed my memory core when I found out!"},
};
constexpr DialogueLine kPageTwo[] = {
    {30, 370.0f, 160.0f, "KAJE"},
    {20, 100.0f, 210.0f, "You were lucky to find out in the first place, but your luck"},
    {20, 100.0f, 240.0f, "has ended; you will not get out of this junkyard to stop me!"},
};

const char* const kDialogueFace = "Times New Roman";

template <std::size_t N>
void ShowPage(const DialogueLine (&page)[N]) {
  for (const DialogueLine& line : page) {
    World::QueueText(TextEntry{kDialogueFace, line.size, line.x, line.y, line.text, 0xFFFFFFFF});
  }
}

template <std::size_t N>
void PreparePage(D3DInterface& engine, const DialogueLine (&page)[N]) {
  for (const DialogueLine& line : page) engine.PrepareText(kDialogueFace, line.size, line.text);
}

bool JumpHeld() {
  const Input* input = Input::GetInstance();
  return input && input->IsHeld(JUMP) != 0;
}

}  // namespace

// ---- Crate ----

void AirshipCrateInit(GameObject* crate) {
  crate->AddFlag("HitKaje", 0.0f);
  crate->SetDeactivateOffscreen(false);
  crate->SetBehavior(AirshipCrateUpdate);
  crate->SetCollisionCallback(nullptr);
}

void AirshipCrateUpdate(GameObject* crate) {
  if (FindAirshipObject("AirshipCrate") != crate) return;
  GameObject* kaje = FindAirshipObject("Kaje");
  GameObject* claw = FindAirshipObject("AirshipClaw");
  if (!kaje || !claw || claw->GetFrame() != 1) return;

  claw->SetName("UsedAirshipClaw");
  crate->SetFrame(1);
  crate->SetCollisionCallback(CollideHitKaje);
  crate->SetBehavior(AirshipCrateFall);

  kaje->SetState(1);
  kaje->SetBehavior(nullptr);
  kaje->SetFlag("StateTime", 0.0f);
  kaje->SetFlag("WaitTime", 0.0f);

  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite->GetName() != "KajeRocket") continue;
    GameObject* rocket = sprite->AsGameObject();
    if (!rocket) continue;
    rocket->SetName("DELETED");
    rocket->SetBehavior(KajeRocketExplode);
    KajeRocketExplode(rocket);
  }
  QueueKajeFocus(nullptr, kaje->GetPosition(), false);
  SetHoldFocus(1.0f);
}

void CollideHitKaje(Contact* c) {
  GameObject* crate = ContactGameObject(c->a);
  GameObject* other = ContactGameObject(c->b);
  if (crate && other && other->GetName() == "Kaje") crate->SetFlag("HitKaje", 1.0f);
}

void AirshipCrateFall(GameObject* crate) {
  if (crate->GetFlag("HitKaje") == 0.0f) {
    ApplyGravity(crate, 0.7f, 20.0f);
    return;
  }
  crate->SetDead(true);
  SpawnFlash(crate->GetPosition(), 3, 5.0f, 0.1f, 11.0f, 4.0f);
  if (GameObject* kaje = FindAirshipObject("Kaje")) {
    // A crate that lands while the pink shield tint is still rising would leave the screen
    // tinted for the whole stage: the wait's fade back never comes.
    if (kaje->GetBehavior() == KajeShieldWait && kaje->GetFlag("StateTime") > 90.0f) {
      World::StartFade(90, 0x7FFF7FFF, 0x00FF7FFF);
    }
    kaje->SetBehavior(KajeShieldFadeOut);
  }
}

// ---- Claw ----

void AirshipClawInit(GameObject* claw) {
  claw->AddFlag("Health", 40.0f);
  AddDamageFlags(claw);
  claw->SetDepth(-0.51f);
  if (auto* enemy = dynamic_cast<EnemyObject*>(claw)) enemy->SetNoContactDamage(true);
  claw->SetCollisionCallback(CollideDamage);
  claw->SetBehavior(AirshipClawUpdate);
}

void AirshipClawUpdate(GameObject* claw) {
  // Only the first claw takes hits, and only while there is a boss to drop on.
  if (FindAirshipObject("AirshipClaw") != claw || !FindAirshipObject("Kaje")) {
    claw->TakeLastContact();
    return;
  }
  HandleDamage(claw);
  claw->SetVelocity(0.0f, 0.0f);
  if (claw->GetFlag("Health") <= 0.0f) {
    claw->SetVisible(true);
    claw->SetFrame(1);
    claw->SetBehavior(nullptr);
  } else {
    UpdateDamageFlash(claw);
  }
}

// ---- Rocket ----

void KajeRocketInit(GameObject* rocket) {
  AddDamageFlags(rocket);
  rocket->AddFlag("Health", kRocketLifetime);
  rocket->AddFlag("SmokeDelay", 0.0f);
  AlignWithFlight(rocket);
  rocket->SetBehavior(KajeRocketFly);
  rocket->SetCollisionCallback(CollideDropPowerup);
}

void KajeRocketFly(GameObject* rocket) {
  float& smoke = rocket->GetFlag("SmokeDelay");
  smoke -= 1.0f;
  if (smoke <= 0.0f) {
    smoke = kSmokeInterval;
    SpawnFlash(rocket->GetPosition(), 0, 0.2f, 0.01f, 0.6f, -0.1f);
  }
  float& life = rocket->GetFlag("Health");
  life -= 1.0f;
  if (life <= 0.0f) {
    rocket->SetBehavior(KajeRocketExplode);
    KajeRocketExplode(rocket);
    return;
  }
  if (const PlayerObject* hero = World::GetPlayer()) {
    const Vector2& at = rocket->GetPosition();
    const Vector2& target = hero->GetPosition();
    float vx = rocket->GetVelocity().X();
    float vy = rocket->GetVelocity().Y();
    if (at.X() < target.X()) vx += kHomingStep;
    if (at.X() > target.X()) vx -= kHomingStep;
    if (at.Y() < target.Y()) vy += kHomingStep;
    if (at.Y() > target.Y()) vy -= kHomingStep;
    rocket->SetVelocity(vx, vy);
  }
  AlignWithFlight(rocket);
}

void CollideDropPowerup(Contact* c) {
  GameObject* rocket = ContactGameObject(c->a);
  if (!rocket) return;
  rocket->SetCollisionCallback(nullptr);
  rocket->SetBehavior(KajeRocketExplode);
  KajeRocketExplode(rocket);
  const GameObject* other = ContactGameObject(c->b);
  if (!other) return;
  const bool cut = other->GetName() == World::kPlayerName && c->polygonB == kHeroWeaponPolygon;
  if ((cut || other->GetName() == "Shot") && platform::Random() % 5 == 0) {
    SpawnPowerup(rocket->GetPosition());
  }
}

void KajeRocketExplode(GameObject* rocket) {
  rocket->SetDead(true);
  SpawnFlash(rocket->GetPosition(), 0, 0.5f, 0.05f, 2.0f, 4.0f);
}

// ---- Energy shot ----

void KajeEnergyShotInit(GameObject* shot) {
  shot->SetDeactivateOffscreen(false);
  shot->SetCollisionCallback(CollideStoreContact);
  // Nothing parks it off screen, so it is removed where the hero's shot would be.
  KillIfOutsideView(shot, kShotViewMargin, kShotViewMargin);
}

void CollideStoreContact(Contact* c) {
  GameObject* other = ContactGameObject(c->b);
  if (!other) return;
  // Stored as the touched body sees it: the shot is its other object.
  Contact seen = *c;
  seen.Swap();
  other->SetLastContact(seen);
}

// ---- Shield ----

void KajeShieldFollow(GameObject* shield) {
  if (const GameObject* kaje = FindAirshipObject("Kaje")) shield->MoveTo(kaje->GetPosition());
}

// ---- Dialogue ----

void PrepareKajeDialogue() {
  D3DInterface* engine = D3DInterface::GetEngine();
  if (engine == nullptr) return;
  PreparePage(*engine, kPageOne);
  PreparePage(*engine, kPageTwo);
}

void KajeTriggerDialogue(GameObject* trigger) {
  float& state = trigger->GetFlag("State");
  float& hold = trigger->GetFlag("HoldFocus");
  GameObject* kaje = FindAirshipObject("Kaje");
  switch (static_cast<int>(state)) {
    case 0:
      if (hold == -1.0f) state = 1.0f;
      break;
    case 1:
      ShowPage(kPageOne);
      if (JumpHeld()) {
        QueueKajeFocus(kaje, kaje ? Vector2() : trigger->GetPosition(), true);
        hold = 0.0f;
        state = 2.0f;
      }
      break;
    case 2:
      if (hold == -1.0f) state = 3.0f;
      break;
    case 3:
      ShowPage(kPageTwo);
      if (JumpHeld()) {
        trigger->SetFlag("Timer", 30.0f);
        hold = 0.0f;
        World::SetBoss(kaje);
        World::StartFade(30, 0x7F000000, 0x00000000);
        SoundEngine engine;
        engine.NextSection();
        engine.PlayMusic();
        state = 4.0f;
      }
      break;
    case 4: {
      float& timer = trigger->GetFlag("Timer");
      timer -= 1.0f;
      if (timer > 0.0f) break;
      if (PlayerObject* hero = World::GetPlayer()) hero->SetBehavior(PlayerInputThunk);
      trigger->SetBehavior(nullptr);
      if (kaje) kaje->SetBehavior(KajeShieldWait);
      break;
    }
    default:
      break;
  }
}
