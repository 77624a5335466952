// The main list's behaviours and physics with a crowd of enemies on the
// generated test level: 40 TigerC, each with a bolt in flight, 40 Shredders,
// 4 Constructors with two live TigerE each, and walkers making up 200.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
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
    // The play frame leaves the list drawing; time the behaviour and physics passes.
    World::GetObjects()->SetMask(PASS_BEHAVIOR);
    World::GetObjects()->Update(false);
    for (auto _ : state) World::GetObjects()->Update(false);
    state.counters["objects"] = static_cast<double>(World::GetObjects()->GetSprites().size());
  }
  unsetenv("XDG_CONFIG_HOME");
}
BENCHMARK(BM_MixedEnemyFrame)->Unit(benchmark::kMicrosecond);


// Walking crowds on a flat 64-tile floor: 50, 100 and 200 walkers (Rat,
// Rummager and TigerE in turn) with the hero far off or among them, and a burst
// of 300 sparks. Every ground probe and path probe is a CheckCollision against
// the whole list, so its calls per frame are counted as well as the time.
namespace crowd {

std::int64_t g_checks = 0;

constexpr int kFloorTiles = 64;
constexpr float kFloorTop = 1280.0f;

// The floor, the hero at `heroX` and nothing else.
std::string FloorLevel(float heroX) {
  std::string text =
      "1\nMetalTiles 1 0 animations/tiles_metal.acd\n0 2 music/explore.wav order music/calm.wav order\n"
      "1\nanimations/sky_dusk.acd 0 0 0 0 0 0 0 0\n0\n0\n0\n";
  text += "0 0 " + std::to_string(128 * kFloorTiles) + " 1700\n" + std::to_string(kFloorTiles) + "\n";
  for (int i = 0; i < kFloorTiles; ++i) text += "MetalTiles " + std::to_string(64 + 128 * i) + " 1344 0 0 -0.5\n";
  return text + "ZodirazO " + std::to_string(heroX) + " 1270 0\n0\n0\n";
}

// A game in play on the floor level; false (with the run skipped) when it cannot start.
struct FloorGame {
  FloorGame(benchmark::State& state, float heroX) {
    if (!std::filesystem::exists(Folder() / "SpriteList.vtsl")) {
      state.SkipWithError("the working folder is missing: build the gamedata target");
      return;
    }
    folder = data.Path() / "game";
    std::filesystem::copy(Folder(), folder, std::filesystem::copy_options::recursive);
    std::ofstream(folder / "floor.lvl") << FloorLevel(heroX);
    std::string list = "8 0\n";
    for (int s = 1; s <= 12; ++s) list += s == 8 ? "1 floor floor.lvl\n" : "0\n";
    std::ofstream(folder / "Gold.vt") << list;
    cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    harness = std::make_unique<testharness::GameHarness>();
    harness->RunFrames(3);
    if (World::GetState() != STATE_GAMEPLAY || !World::GetPlayer()) {
      state.SkipWithError("the start state is not play with a hero");
      harness.reset();
    }
  }
  ~FloorGame() {
    harness.reset();
    cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  // Everything takes part, whatever the camera sees, in the behaviour and
  // physics passes only (the play frame leaves the list drawing).
  static void WakeAll() {
    SpriteCollection* objects = World::GetObjects();
    objects->SetMask(PASS_BEHAVIOR);
    // The camera parks what it does not see, floor tiles included.
    while (Sprite* parked = World::GetDormantObjects()->RemoveAt(0)) objects->AddUnsorted(parked);
    objects->Sort();
    for (Sprite* sprite : objects->GetSprites()) {
      if (auto* object = dynamic_cast<PhysicsObject*>(sprite)) object->SetInactive(false);
    }
  }

  testsupport::TempDir data;
  testsupport::TempDir config;
  std::filesystem::path folder;
  std::unique_ptr<testsupport::ScopedCurrentDir> cwd;
  std::unique_ptr<testharness::GameHarness> harness;
};

// Arguments: the number of walkers, and 1 when the hero stands among them
// (within every kind's notice range) or 0 when it is over a thousand pixels away.
void BM_WalkerCrowdFrame(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool inRange = state.range(1) != 0;
  const float heroX = inRange ? 4000.0f : 300.0f;
  FloorGame game(state, heroX);
  if (!game.harness) return;
  FloorGame::WakeAll();
  const char* kinds[] = {"Rat", "Rummager", "TigerE"};
  for (int i = 0; i < count; ++i) {
    const float spread = static_cast<float>(i) / static_cast<float>(count);
    const float x = inRange ? heroX - 180.0f + 360.0f * spread : 1500.0f + 6400.0f * spread;
    Place(kinds[i % 3], x, kFloorTop - 0.1f);
  }
  World::GetObjects()->Update(false);  // the Inits
  FloorGame::WakeAll();
  for (int frame = 0; frame < 30; ++frame) World::GetObjects()->Update(false);  // into their stride
  g_checks = 0;
  std::int64_t frames = 0;
  for (auto _ : state) {
    World::GetObjects()->Update(false);
    ++frames;
  }
  state.counters["checks/frame"] = static_cast<double>(g_checks) / static_cast<double>(frames);
  state.counters["objects"] = static_cast<double>(World::GetObjects()->GetSprites().size());
}
BENCHMARK(BM_WalkerCrowdFrame)
    ->ArgsProduct({{50, 100, 200}, {0, 1}})
    ->ArgNames({"walkers", "inRange"})
    ->Unit(benchmark::kMicrosecond);

// 300 sparks burst from a point above the floor every 30 frames (they live 15
// to 44 frames), bouncing on it; the frame cost averaged over the bursts.
void BM_SparkBurstFrame(benchmark::State& state) {
  FloorGame game(state, 300.0f);
  if (!game.harness) return;
  FloorGame::WakeAll();
  std::int64_t frames = 0;
  double alive = 0.0;
  g_checks = 0;
  for (auto _ : state) {
    if (frames % 30 == 0) {
      state.PauseTiming();
      for (int i = 0; i < 300; ++i) {
        SpawnSpark(9, Vector2(1000.0f, kFloorTop - 60.0f), CachedVector(0.0f, 2.0f), 0.01f, nullptr, 0.2f);
      }
      FloorGame::WakeAll();
      state.ResumeTiming();
    }
    World::GetObjects()->Update(false);
    alive += static_cast<double>(World::GetObjects()->GetSprites().size());
    ++frames;
  }
  state.counters["objects"] = alive / static_cast<double>(frames);
  state.counters["checks/frame"] = static_cast<double>(g_checks) / static_cast<double>(frames);
}
BENCHMARK(BM_SparkBurstFrame)->Unit(benchmark::kMicrosecond);

}  // namespace crowd

}  // namespace

// The linker sends the behaviours' CheckCollision calls through here (see
// bench/CMakeLists.txt), so the crowd cases can count them.
Contact RealCheckCollision(PhysicsObject* object, PhysicsObjectList objects) asm(
    "__real__Z14CheckCollisionP13PhysicsObjectSt4spanIKS0_Lm18446744073709551615EE");
Contact CountedCheckCollision(PhysicsObject* object, PhysicsObjectList objects) asm(
    "__wrap__Z14CheckCollisionP13PhysicsObjectSt4spanIKS0_Lm18446744073709551615EE");
Contact CountedCheckCollision(PhysicsObject* object, PhysicsObjectList objects) {
  ++crowd::g_checks;
  return RealCheckCollision(object, objects);
}

BENCHMARK_MAIN();
