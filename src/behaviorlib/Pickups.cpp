// Pickups: the dropped power-up, the circling orb, the memory-core pieces that
// grant the special abilities, and the checkpoint triggers.
#include <cmath>
#include <memory>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/ScenerySprite.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/hud/HUD.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Random.h"

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kPowerupLifetimeBlink = 120.0f;
constexpr float kPowerupBand = 100.0f;
constexpr float kOrbRadius = 20.0f;
constexpr float kOrbTurnPerFrame = 0.03141593f;  // one turn in 200 frames
constexpr float kOrbColourFrames = 150.0f;
constexpr float kOrbLockFrames = 60.0f;
constexpr float kOrbRelockBelow = 30.0f;
constexpr float kCoreSpinPerFrame = 0.05235988f;  // pi / 60
constexpr int kCoreSparks = 50;

// Orb colours are the frames 2 (red), 3 (green) and 4 (blue), in a cycle.
void NextOrbColour(GameObject* orb) { orb->SetFrame(orb->GetFrame() >= 4 ? 2 : orb->GetFrame() + 1); }

void CollectOrb(GameObject* orb) {
  if (PlayerObject* player = World::GetPlayer()) player->AddOrb(orb->GetFrame());
  orb->SetDead(true);
}

bool NearView(const Vector2& at, float margin) {
  const Vector2& offset = World::GetObjects()->GetOffset();
  const D3DInterface* engine = D3DInterface::GetEngine();
  return offset.X() - margin <= at.X() && at.X() <= offset.X() + engine->GetScreenWidth() + margin &&
         offset.Y() - margin <= at.Y() && at.Y() <= offset.Y() + engine->GetScreenHeight() + margin;
}

Vector2 ScreenCentre() {
  const D3DInterface* engine = D3DInterface::GetEngine();
  return Vector2(engine->GetScreenWidth() / 2.0f, engine->GetScreenHeight() / 2.0f);
}

// One half of a checkpoint gate: scenery that scrolls with the trigger's spot.
void AddGateHalf(SceneryCollection* list, const Sprite& prototype, const Vector2& at, float depth,
                 bool mirrored, float parallax) {
  if (!list) return;
  auto gate = std::make_unique<ScenerySprite>(prototype.GetName(), prototype.GetAnimation(),
                                              Vector2(1.0f, 1.0f), depth);
  gate->SetScaleX(1.0f);
  gate->SetScaleY(1.0f);
  gate->MoveTo(at);
  gate->SetFacingLeft(mirrored);
  gate->SetTileX(false);
  gate->SetTileY(false);
  gate->SetParallaxFactor(Vector2(parallax, parallax));
  list->Add(gate.release());
}

// Advances the count-th gate of the list (1 first); a count past the gates
// advances none.
void CloseGate(SpriteCollection* list, float count) {
  if (!list) return;
  for (Sprite* sprite : list->GetSprites()) {
    if (sprite->GetName() != "CheckPointClose") continue;
    count -= 1.0f;
    if (count == 0.0f) {
      sprite->AdvanceFrame();
      return;
    }
  }
}

}  // namespace

void PowerupBehavior(GameObject* powerup) {
  if (powerup->TakeLastContact().IsHit()) {
    CollectOrb(powerup);
    return;
  }
  // One placed in a level file comes without properties: its clock starts on
  // the first frame it is awake, with a dropped one's lifetime.
  float& lifetime = *powerup->AddFlag("Lifetime", kPowerupLifetime);
  lifetime -= 1.0f;
  if (lifetime <= 0.0f) {
    powerup->SetDead(true);
    return;
  }
  if (lifetime == kPowerupLifetimeBlink) {
    AddDamageFlags(powerup);
    powerup->SetFlag("DamagedTime", kPowerupLifetimeBlink);
  } else if (lifetime < kPowerupLifetimeBlink) {
    UpdateDamageFlash(powerup);
  }
  // Far from the view it hangs still, so it is still there when the hero comes back.
  if (NearView(powerup->GetPosition(), kPowerupBand)) ApplyGravity(powerup, 0.7f, 20.0f);
}

void OrbRotationInit(GameObject* orb) {
  orb->SetCollisionCallback(CollideShot);
  orb->SetFrameChangeCallback(nullptr);
  orb->SetBehavior(OrbRotationUpdate);
  // Shots and the hero's pickup response know it by this name.
  orb->SetName("Powerup");
  orb->AddFlag("xValue", orb->GetPosition().X());
  orb->AddFlag("yValue", orb->GetPosition().Y());
  orb->AddFlag("Angle", 0.0f);
  orb->AddFlag("LockTime", 0.0f);
  orb->AddFlag("ChangeTime", kOrbColourFrames);
  orb->SetFrame(2 + platform::Random() % 3);
}

void OrbRotationUpdate(GameObject* orb) {
  const Contact contact = orb->TakeLastContact();
  float& lock = orb->GetFlag("LockTime");
  if (contact.IsHit()) {
    // Its pickup circle (polygon 1) against the hero's body collects it; the
    // hero's weapon only changes its colour.
    if (contact.polygonB == 1) {
      CollectOrb(orb);
      return;
    }
    if (lock < kOrbRelockBelow) {
      lock = kOrbLockFrames;
      NextOrbColour(orb);
    }
  }

  if (lock <= 0.0f) {
    float& angle = orb->GetFlag("Angle");
    if (angle > kTwoPi) angle = 0.0f;
    float& change = orb->GetFlag("ChangeTime");
    change -= 1.0f;
    if (change <= 0.0f) {
      NextOrbColour(orb);
      change = kOrbColourFrames;
    }
    orb->MoveTo(Vector2(orb->GetFlag("xValue") + kOrbRadius * std::cos(angle),
                        orb->GetFlag("yValue") + kOrbRadius * std::sin(angle)));
    angle += kOrbTurnPerFrame;
    return;
  }

  // Locked: it stands still and sheds sparks of its colour.
  if (std::fmod(lock, 3.0f) == 0.0f) {
    SpawnSpark((orb->GetFrame() - 2) * 3, orb->GetPosition(), CachedVector(), orb->GetDepth() - 0.01f,
               World::GetObjects(), 0.2f);
  }
  lock -= 1.0f;
  if (lock <= 0.0f) {
    lock = 0.0f;
    orb->SetFlag("ChangeTime", kOrbColourFrames);
  }
}

void CorePieceInit(GameObject* object) {
  object->AddFlag("Movement", -1.0f);
  object->AddFlag("Specialty", 0.0f);
  object->SetBehavior(object->GetName() == "CorePiece" ? CorePieceUpdate : CoreGlowPulse);
}

void CoreGlowPulse(GameObject* glow) {
  glow->StartPulse(5, 0.2f, 5, true);
  glow->SetCollisionCallback(nullptr);
  glow->SetBehavior(nullptr);
  glow->SetFrameChangeCallback(nullptr);
}

CoreAbility CoreAbilityOfDepth(float depth) {
  // The level file marks which core this is by its depth; exact float values.
  if (depth == 1.01f) return CoreAbility::Stride;
  if (depth == 1.02f) return CoreAbility::WallJump;
  if (depth == 1.03f) return CoreAbility::Cyclone;
  return CoreAbility::SuperJump;
}

void CorePieceUpdate(GameObject* piece) {
  piece->SetCollisionCallback(CollideCoreCollect);
  piece->SetFrameChangeCallback(nullptr);
  if (piece->GetDrawAngle() > kTwoPi) piece->SetDrawAngle(0.0f);
  piece->SetDrawAngle(piece->GetDrawAngle() + kCoreSpinPerFrame);

  float& movement = piece->GetFlag("Movement");
  if (movement != 0.0f) {
    if (movement != -1.0f) movement -= 1.0f;
    return;
  }

  // Arrived at the HUD's core: grant the ability. A level may have placed the
  // piece without its glow, and then there is none to remove.
  if (GameObject* glow = HUD::FindObject("CoreGlow")) glow->SetDead(true);
  piece->SetDead(true);
  if (HUD* hud = HUD::GetInstance()) {
    switch (CoreAbilityOfDepth(piece->GetDepth())) {
      case CoreAbility::Stride: hud->ShowStride(true); break;
      case CoreAbility::WallJump: hud->ShowWallJump(true); break;
      case CoreAbility::Cyclone: hud->ShowCyclone(true); break;
      case CoreAbility::SuperJump: hud->ShowSuperJump(true); break;
    }
    hud->AddMessage(1000, 2, 255, 255, 128, 0);  // "New Ability!" in orange
  }
  if (SoundEngine* sound = World::GetSoundEngine()) sound->Play("core_explosion");
  for (int i = 0; i < kCoreSparks; ++i) {
    SpawnSpark(1, piece->GetPosition(), CachedVector(), 5.0f, HUD::GetObjects(), 0.0f);
  }
}

void TriggerCheckPointInit(GameObject* trigger) {
  // Without the gate art the checkpoint still restores and saves, gateless.
  if (const Sprite* prototype = World::FindPrototype("CheckPointClose")) {
    const Vector2 centre = ScreenCentre();
    const CachedVector d = trigger->GetPosition() - (World::GetObjects()->GetOffset() + CachedVector(centre));
    AddGateHalf(World::GetSceneryA(), *prototype, centre + d * 0.9f, 100.0f, true, -0.9f);
    AddGateHalf(World::GetSceneryC(), *prototype, centre + d * 1.02f, -100.0f, false, -1.02f);
  }
  trigger->SetBehavior(TriggerCheckPointUpdate);
}

void TriggerCheckPointUpdate(GameObject* trigger) {
  PlayerObject* player = World::GetPlayer();
  if (!player) return;

  // A fired checkpoint (no behaviour) disarms every one before it in the list.
  std::vector<Sprite*> same;
  int lastFired = -1;
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite->GetName() != trigger->GetName()) continue;
    if (sprite->GetBehavior() == nullptr) lastFired = static_cast<int>(same.size());
    same.push_back(sprite);
  }
  for (int i = 0; i < lastFired; ++i) same[static_cast<std::size_t>(i)]->SetBehavior(nullptr);

  const Vector2& hero = player->GetPosition();
  const Vector2& at = trigger->GetPosition();
  if (!(std::fabs(hero.X() - at.X()) < 20.0f && std::fabs(hero.Y() - at.Y()) < 500.0f)) return;

  const float count = trigger->GetFlag("CheckPointCount");
  CloseGate(World::GetSceneryC(), count);
  CloseGate(World::GetSceneryA(), count);

  player->RestoreOrbs();
  // The HUD's score is still rolling up; save that one without disturbing it.
  const int kept = player->GetScore();
  player->SetScore(HUD::GetScore());
  player->UpdateHUD();
  player->SetScore(kept);
  // The restart point: the hero as it stands at the checkpoint, orbs whole.
  World::SavePlayerState();
  trigger->SetBehavior(nullptr);
}
