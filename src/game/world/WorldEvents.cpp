// Scripted level events: the junkyard and factory boss triggers (spawn the boss
// when the hero reaches the arena, hand out the memory core once it is dead, end
// the level past a fixed line) and the junkyard's closing explosion.
#include <cstdio>
#include <memory>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/level/Level.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/tutorial/Tutorial.h"
#include "game/world/EventRegistry.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Random.h"

namespace {

const Vector2 kGrindlenautSpawn(15000.0f, 1280.0f);
const Vector2 kJunkyardEndPoint(16256.0f, 896.0f);
constexpr float kJunkyardExit = 16768.0f;
const Vector2 kTigerASpawn(6656.0f, 2752.0f);
const Vector2 kFactoryReward(6656.0f, 2560.0f);
constexpr float kFactoryExit = 8192.0f;

// The core depths name the ability the piece grants.
constexpr float kGlowDepth = 1.0f;
constexpr float kWallJumpDepth = 1.02f;
constexpr float kSuperJumpDepth = 1.04f;
constexpr float kDebrisDepth = 5.0f;

// The ground tiles the explosion breaks open, and their broken frames.
struct BrokenTile {
  Vector2 position;
  int frame;
};
const BrokenTile kBrokenTiles[] = {
    {{16128.0f, 768.0f}, 18},
    {{16128.0f, 1024.0f}, 4},
    {{16384.0f, 768.0f}, 18},
    {{16384.0f, 1024.0f}, 5},
};

// The camera holds on the explosion until the marker's count passes this.
constexpr float kEndHoldCount = 40.0f;
constexpr float kDebrisGravity = 1.5f;
constexpr float kDebrisLifetime = 100.0f;

// A script that names a prototype neither pool holds is broken data: stop with
// a message naming it and the level instead of reading a null prototype.
GameObject* RequirePrototype(const std::string& name) {
  Sprite* found = World::FindPrototype(name);
  GameObject* prototype = found ? found->AsGameObject() : nullptr;
  if (!prototype) {
    const Level* level = World::GetCurrentLevel();
    std::fprintf(stderr, "Level \"%s\": the prototype \"%s\" is in neither the level nor the global pool\n",
                 level ? level->GetName().c_str() : "", name.c_str());
    platform::AssertionFailed("prototype of a scripted event", __FILE__, __LINE__);
  }
  return prototype;
}

// A boss or boss part: an enemy that stays awake off screen.
EnemyObject* SpawnBossPart(const std::string& name, const Vector2& position) {
  GameObject* prototype = RequirePrototype(name);
  const ObjectCallbacks callbacks{FrameChangeCallback, prototype->GetBehavior(), CollideDamage};
  auto part = std::make_unique<EnemyObject>(name, prototype->GetAnimation(), position, callbacks, 0.0f);
  part->SetName(name);
  part->SetDeactivateOffscreen(false);
  part->CopyStateAnimations(*prototype);
  EnemyObject* added = part.release();
  World::GetObjects()->Add(added);
  return added;
}

// A plain object with the prototype's look and behaviour, nothing else.
GameObject* SpawnPlain(const std::string& name, const Vector2& position, float depth) {
  GameObject* prototype = RequirePrototype(name);
  const ObjectCallbacks callbacks{nullptr, prototype->GetBehavior(), nullptr};
  auto object = std::make_unique<GameObject>(name, prototype->GetAnimation(), position, callbacks, depth);
  object->SetName(name);
  GameObject* added = object.release();
  World::GetObjects()->Add(added);
  return added;
}

void NextMusicSection() {
  SoundEngine engine;
  engine.NextSection();
}

// The boss's death sequence has run out: hidden, no health left.
bool IsBossFinished(GameObject* boss) {
  if (!boss || boss->IsVisible()) return false;
  const auto& flags = boss->GetFlags();
  const auto health = flags.find("Health");
  return health != flags.end() && health->second <= 0.0f;
}

void MarkDead(const char* name) {
  if (Sprite* object = World::GetObjects()->Find(name)) object->SetDead(true);
}

// Both triggers fire when the camera leads right with the hero past the trigger
// (not above it), and only in the first such frame after the level loaded.
bool ShouldSpawn(const GameObject* trigger, const PlayerObject* hero) {
  return World::IsCameraLeadingRight() && trigger->GetPosition().X() <= hero->GetPosition().X() &&
         trigger->GetPosition().Y() <= hero->GetPosition().Y() && World::IsLevelJustLoaded();
}

void StartBossFight(GameObject* trigger) {
  trigger->SetDeactivateOffscreen(false);
  World::ClearLevelJustLoaded();
}

void RunOnce(GameObject* object) {
  if (BehaviorFn behavior = object->GetBehavior()) behavior(object);
}

}  // namespace

void World::GrindlenautTrigger(GameObject* trigger) {
  PlayerObject* hero = GetPlayer();
  if (!hero) return;

  if (ShouldSpawn(trigger, hero)) {
    StartBossFight(trigger);
    EnemyObject* boss = SpawnBossPart("Grindlenaut", kGrindlenautSpawn);
    SetBoss(boss);
    for (const char* part : {"GrindlenautArm", "GrindlenautDrill", "GrindlenautBurrow"}) {
      SpawnBossPart(part, kGrindlenautSpawn);
    }
    // Its first run links the parts; then it waits one frame before it rises.
    RunOnce(boss);
    *boss->AddFlag("PatrolTime", 1.0f) = 1.0f;
    NextMusicSection();
    return;
  }
  if (IsLevelJustLoaded()) return;

  if (IsBossFinished(GetBoss())) {
    SetBoss(nullptr);
    MarkDead("Grindlenaut");
    NextMusicSection();

    CameraFocus explosion;
    explosion.m_vPosition = kJunkyardEndPoint;
    explosion.m_bPlayerControl = false;
    explosion.m_callback = EventRegistry::GetEvent("JunkyardEnd");
    PushCameraFocus(explosion);
    CameraFocus back;
    back.m_vPosition = hero->GetPosition();
    back.m_bPlayerControl = false;
    PushCameraFocus(back);
    SetCameraLock(0);
    return;
  }
  if (hero->GetPosition().X() > kJunkyardExit) SetRequestedState(STATE_LEVEL_COMPLETE);
}

void World::TigerATrigger(GameObject* trigger) {
  PlayerObject* hero = GetPlayer();
  if (!hero) return;

  if (ShouldSpawn(trigger, hero)) {
    StartBossFight(trigger);
    EnemyObject* tiger = SpawnBossPart("TigerA", kTigerASpawn);
    SetBoss(tiger);
    RunOnce(tiger);
    NextMusicSection();
    return;
  }
  if (IsLevelJustLoaded()) return;

  if (IsBossFinished(GetBoss())) {
    SetBoss(nullptr);
    MarkDead("TigerA");
    NextMusicSection();
    SpawnPlain("CoreGlow", kFactoryReward, kGlowDepth);
    SpawnPlain("CorePiece", kFactoryReward, kSuperJumpDepth);
    if (Tutorial* tutorial = Tutorial::GetCurrent()) tutorial->ActivateId(1);
    return;
  }
  if (hero->GetPosition().X() > kFactoryExit) SetRequestedState(STATE_LEVEL_COMPLETE);
}

bool World::JunkyardEnd() {
  SpriteCollection* objects = GetObjects();
  if (Sprite* found = objects->Find("TriggerEnd")) {
    GameObject* marker = found->AsGameObject();
    float& timer = marker->GetFlag("Timer");
    if (timer > kEndHoldCount) {
      objects->Sort();
      return true;
    }
    timer += 1.0f;
    return false;
  }

  // First call: the wall blows open.
  auto marker = std::make_unique<GameObject>("TriggerEnd", RequirePrototype("GrindlenautTrigger")->GetAnimation(),
                                             Vector2(0.0f, 0.0f), NO_CALLBACKS, 0.0f);
  marker->SetName("TriggerEnd");
  marker->SetVisible(false);
  marker->SetDeactivateOffscreen(false);
  marker->AddFlag("Timer", 0.0f);
  objects->Add(marker.release());

  SpawnPlain("CoreGlow", kJunkyardEndPoint, kGlowDepth);
  SpawnPlain("CorePiece", kJunkyardEndPoint, kWallJumpDepth);

  for (Sprite* tile : objects->FindAll("JunkyardGround")) {
    for (const BrokenTile& broken : kBrokenTiles) {
      if (tile->GetPosition().X() == broken.position.X() &&
          tile->GetPosition().Y() == broken.position.Y()) {
        tile->SetFrame(broken.frame);
      }
    }
  }

  SoundEngine engine;
  engine.Play("explosion");

  Animation* debris = RequirePrototype("JunkyardTile0")->GetAnimation();
  const int pieces = static_cast<int>(debris->GetFrames().size());
  for (int i = 0; i < pieces; ++i) {
    const ObjectCallbacks callbacks{nullptr, &World::ExplodeBehavior, nullptr};
    auto piece = std::make_unique<GameObject>("JunkyardTile0", debris, kJunkyardEndPoint, callbacks,
                                              kDebrisDepth);
    piece->SetName("JunkyardTile0");
    // Each piece shows its own fragment of the wall.
    piece->SetFrame(i);
    for (const char* flag : {"xExplode", "yExplode", "Angle", "Timer"}) piece->AddFlag(flag, 0.0f);
    objects->Add(piece.release());
  }
  return false;
}

void World::ExplodeBehavior(GameObject* piece) {
  float& vx = piece->GetFlag("xExplode");
  float& vy = piece->GetFlag("yExplode");
  float& spin = piece->GetFlag("Angle");
  if (vx == 0.0f && vy == 0.0f && spin == 0.0f) {
    // Three draws, in this order, so a seeded game throws the same debris.
    vx = static_cast<float>(platform::Random() % 20 - 10);
    vy = static_cast<float>(-(platform::Random() % 20));
    spin = 3.1415927f / static_cast<float>(platform::Random() % 20 + 20);
    return;
  }
  piece->SetVelocity(vx, vy);
  vy += kDebrisGravity;
  piece->SetDrawAngle(piece->GetDrawAngle() + spin);
  float& timer = piece->GetFlag("Timer");
  if (timer >= kDebrisLifetime) piece->SetDead(true);
  timer += 1.0f;
}
