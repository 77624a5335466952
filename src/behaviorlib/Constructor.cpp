// The Constructor: an assembly pod that never moves. While the hero is near and
// fewer than two of its TigerE live, it opens, welds and releases another one.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ConstructorCounts.h"
#include "behaviorlib/GunnerEnemies.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/objects/ObjectHandle.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

constexpr float kWakeRange = 600.0f;
constexpr int kMaxLive = 2;
constexpr float kOpenFrames = 100.0f;
constexpr float kSpawnFrames = 200.0f;
constexpr float kIdleFrames = 250.0f;
constexpr float kReleaseDrop = 64.0f;
constexpr int kIdleAnimation = 1;
constexpr int kOpenAnimation = 3;
constexpr int kSpawnAnimation = 4;

// A hit hurts it but never knocks it about.
bool TakesHit(GameObject* constructor) {
  if (!HandleDamage(constructor)) return false;
  constructor->SetVelocity(0.0f, 0.0f);
  return true;
}

std::int32_t CountIndex(GameObject* constructor) {
  return FlagBitsToInt(constructor->GetFlag("Cindex"));
}

void ReleaseTigerE(GameObject* constructor) {
  RequirePrototype("TigerE");
  const auto* prototype = dynamic_cast<const GameObject*>(World::FindPrototype("TigerE"));
  VT_ASSERT(prototype);
  const ObjectCallbacks callbacks{FrameChangeCallback, prototype->GetBehavior(), CollideDamage};
  auto made = std::make_unique<EnemyObject>(
      "TigerE", prototype->GetAnimation(),
      constructor->GetPosition() + CachedVector(0.0f, kReleaseDrop), callbacks, 0.0f);
  made->CopyStateAnimations(*prototype);
  made->SetBehavior(TigerEInit);
  made->RunBehavior();
  made->SetSummoned(true);
  EnemyObject* tiger = made.get();
  World::GetObjects()->Add(made.release());  // the list owns its objects
  TigerEInit(tiger);

  const std::int32_t index = CountIndex(constructor);
  tiger->SetFlag("Cindex", IntToFlagBits(index));
  constructorcounts::Add(index, 1);
}

}  // namespace

void RequirePrototype(const char* name) {
  if (World::FindPrototype(name)) return;
  const std::string expression = std::string("the prototype \"") + name + "\" is loaded";
  platform::AssertionFailed(expression.c_str(), __FILE__, __LINE__);
}

void ConstructorInit(GameObject* constructor) {
  // The index is an integer kept in the float's bits.
  *constructor->AddFlag("Cindex", 0.0f) = IntToFlagBits(constructorcounts::Append());
  constructor->AddFlag("Health", 100.0f);
  constructor->AddFlag("FrameChange", -1.0f);
  constructor->AddFlag("Timer", 0.0f);
  AddDamageFlags(constructor);
  constructor->SetBehavior(ConstructorIdle);
  ConstructorIdle(constructor);
}

void ConstructorIdle(GameObject* constructor) {
  if (TakesHit(constructor)) return;
  const PlayerObject* player = World::GetPlayer();
  if (!player) return;
  const bool heroNear = std::fabs(player->GetPosition().X() - constructor->GetPosition().X()) < kWakeRange;
  if (heroNear && constructorcounts::Get(CountIndex(constructor)) < kMaxLive) {
    float& timer = constructor->GetFlag("Timer");
    timer -= 1.0f;
    if (timer <= 0.0f) {
      constructor->SetBehavior(ConstructorOpen);
      timer = kOpenFrames;
      constructor->SetState(kOpenAnimation);
      return;
    }
  }
  UpdateDamageFlash(constructor);
}

void ConstructorOpen(GameObject* constructor) {
  if (TakesHit(constructor)) return;
  float& timer = constructor->GetFlag("Timer");
  timer -= 1.0f;
  if (timer <= 0.0f) {
    constructor->SetBehavior(ConstructorSpawn);
    timer = kSpawnFrames;
    constructor->SetState(kSpawnAnimation);
  } else {
    UpdateDamageFlash(constructor);
  }
}

void ConstructorSpawn(GameObject* constructor) {
  if (TakesHit(constructor)) return;
  float& timer = constructor->GetFlag("Timer");
  timer -= 1.0f;
  if (timer <= 0.0f) {
    ReleaseTigerE(constructor);
    constructor->SetBehavior(ConstructorIdle);
    timer = kIdleFrames;
    constructor->SetState(kIdleAnimation);
  } else {
    UpdateDamageFlash(constructor);
  }
}
