// The main list's behaviours and physics with a crowd of enemies on the
// generated test level: 40 TigerC, each with a bolt in flight, 40 Shredders,
// 4 Constructors with two live TigerE each, and walkers making up 200.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/CollisionResponses.h"
#include "behaviorlib/ConstructorCounts.h"
#include "behaviorlib/GunnerEnemies.h"
#include "game/EnemyObject.h"
#include "game/GameObject.h"
#include "game/ObjectHandle.h"
#include "game/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace {

std::filesystem::path Folder() { return testsupport::BinaryDir() / "game"; }

// An enemy built as a level builds one, added to the main list.
GameObject* Place(const std::string& kind, float x, float y) {
  const auto* prototype = dynamic_cast<const GameObject*>(World::FindPrototype(kind));
  if (!prototype) return nullptr;
  const ObjectCallbacks callbacks{FrameChangeCallback, prototype->GetBehavior(), CollideDamage};
  auto enemy = std::make_unique<EnemyObject>(kind, prototype->GetAnimation(), Vector2(x, y), callbacks, 0.0f);
  enemy->CopyStateAnimations(*prototype);
  GameObject* placed = enemy.get();
  World::GetObjects()->Add(enemy.release());
  return placed;
}

// Floor columns clear of the test level's wall pillars.
float Column(int k) {
  const float x = 400.0f + 22.0f * static_cast<float>(k);
  return x < 3180.0f ? x : x + 480.0f;
}

void BM_MixedEnemyFrame(benchmark::State& state) {
  if (!std::filesystem::exists(Folder() / "SpriteList.vtsl")) {
    state.SkipWithError("the working folder is missing: build the gamedata target");
    return;
  }
  // A copy whose game list starts straight in play on the test level.
  testsupport::TempDir data;
  const std::filesystem::path folder = data.Path() / "game";
  std::filesystem::copy(Folder(), folder, std::filesystem::copy_options::recursive);
  std::string list = "8 0\n";
  for (int s = 1; s <= 12; ++s) list += s == 8 ? "1 test test.lvl\n" : "0\n";
  std::ofstream(folder / "Gold.vt") << list;
  testsupport::ScopedCurrentDir cwd(folder);
  testsupport::TempDir config;
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  {
    testharness::GameHarness harness;
    harness.RunFrames(3);
    if (World::GetState() != STATE_GAMEPLAY || !World::GetPlayer()) {
      state.SkipWithError("the start state is not play with a hero");
      return;
    }
    const char* walkers[] = {"Rat", "Rummager", "TigerE"};
    int k = 0;
    for (int i = 0; i < 40; ++i, ++k) Place("TigerC", Column(k), 1000.0f);
    for (int i = 0; i < 40; ++i, ++k) Place("Shredder", Column(k), 1000.0f);
    for (int i = 0; i < 4; ++i, ++k) Place("Constructor", Column(k), 1000.0f);
    for (int i = 0; k < 200; ++i, ++k) Place(walkers[i % 3], Column(k), 1000.0f);
    harness.RunFrames(1);  // Inits run; the enemies start falling onto the floor
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      auto* object = dynamic_cast<GameObject*>(sprite);
      if (!object) continue;
      object->SetInactive(false);
      if (object->GetName() == "TigerC") {
        // Mid-sequence: the bolt leaves on the next frame.
        object->SetBehavior(TigerCShoot);
        object->SetFlag("GunTimer", 41.0f);
      } else if (object->GetName() == "Constructor") {
        constructorcounts::Add(FlagBitsToInt(object->GetFlag("Cindex")), 2);
      }
    }
    World::GetObjects()->Update(false);
    for (auto _ : state) World::GetObjects()->Update(false);
    state.counters["objects"] = static_cast<double>(World::GetObjects()->GetSprites().size());
  }
  unsetenv("XDG_CONFIG_HOME");
}
BENCHMARK(BM_MixedEnemyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
