// Projectiles: the hero's shot, the TigerC's bolt and the TigerA's bomb.
#include <algorithm>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/world/World.h"

namespace {

constexpr float kBombFuseFrames = 120.0f;
constexpr float kBlastFrames = 80.0f;
constexpr int kBlastState = 3;

// A stored contact outlives the physics step that made it; only follow it to
// an object that is still in play.
GameObject* LiveInWorld(PhysicsObject* object) {
  SpriteCollection* objects = World::GetObjects();
  if (!object || !objects) return nullptr;
  const auto& sprites = objects->GetSprites();
  if (std::find(sprites.begin(), sprites.end(), object) == sprites.end()) return nullptr;
  return ContactGameObject(object);
}

}  // namespace

int AttackColorOfState(int state) {
  if (state >= 4 && state <= 6) return 2;
  if (state >= 8 && state <= 10) return 3;
  if (state >= 12 && state <= 14) return 4;
  return 0;
}

void ShotBehavior(GameObject* shot) {
  const Contact contact = shot->TakeLastContact();
  if (!contact.IsHit()) {
    KillIfOutsideView(shot, 500.0f, 500.0f);
    return;
  }
  const int colour = AttackColorOfState(shot->GetState());
  SpawnFlash(shot->GetPosition(), colour, 0.0f, 0.05f, 1.5f, 4.0f);
  // A circling orb takes the shot's colour and holds it a while.
  GameObject* target = LiveInWorld(contact.a);
  if (target && target->GetName() == "Powerup") {
    target->SetState(colour);
    target->SetFlag("LockTime", 60.0f);
  }
  shot->SetDead(true);
}

void TigerCShotInit(GameObject* shot) {
  AddDamageFlags(shot);
  shot->SetBehavior(TigerCShotFly);
  // It flies on across the level rather than waiting off screen.
  shot->SetDeactivateOffscreen(false);
}

void TigerCShotFly(GameObject* shot) { KillIfOutsideView(shot, 400.0f, 10.0f); }

void TigerABombInit(GameObject* bomb) {
  AddDamageFlags(bomb);
  AddGroundFlag(bomb);
  bomb->AddFlag("Health", 1.0f);
  bomb->AddFlag("ExplodeTimer", kBombFuseFrames);
  bomb->AddFlag("EnergyKept", 0.3f);
  bomb->SetFlag("OnGround", 0.0f);
  bomb->SetBehavior(TigerABombFuse);
  TigerABombFuse(bomb);
  // The fusing bomb neither hurts on touch nor dies below the level.
  if (auto* enemy = dynamic_cast<EnemyObject*>(bomb)) enemy->SetNoContactDamage(true);
  bomb->SetCollisionCallback(TigerABombCollide);
}

void TigerABombCollide(Contact* c) {
  if (c->t < 0.0f) {
    CollideDamage(c);
  } else {
    CollideBounceEnergyKept(c);
  }
}

void TigerABombFuse(GameObject* bomb) {
  if (HandleDamage(bomb)) KillEnemy(bomb);
  float& timer = bomb->GetFlag("ExplodeTimer");
  timer -= 1.0f;
  if (timer <= 0.0f) {
    timer = kBlastFrames;
    bomb->SetScaleX(0.0f);
    bomb->SetScaleY(0.0f);
    bomb->SetVelocity(0.0f, 0.0f);
    bomb->SetState(kBlastState);
    bomb->SetBehavior(TigerABombExplode);
    if (auto* enemy = dynamic_cast<EnemyObject*>(bomb)) enemy->SetNoContactDamage(false);
    return;
  }
  if (bomb->GetFlag("OnGround") == 0.0f) {
    ApplyGravity(bomb, 0.7f, 20.0f);
  } else {
    bomb->SetVelocity(0.0f, 0.0f);
  }
  UpdateDamageFlash(bomb);
}

void TigerABombExplode(GameObject* bomb) {
  float& timer = bomb->GetFlag("ExplodeTimer");
  timer -= 1.0f;
  if (timer > 0.0f) {
    const float scale = 2.0f * (kBlastFrames - timer) / kBlastFrames;
    bomb->SetScaleX(scale);
    bomb->SetScaleY(scale);
  } else {
    bomb->SetDead(true);
  }
}
