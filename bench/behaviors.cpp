// The main list's behaviours and physics with a crowd of enemies on the
// generated test level: 40 TigerC, each with a bolt in flight, 40 Shredders,
// 4 Constructors with two live TigerE each, and walkers making up 200.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "PhysicsLib/BroadPhase.h"
#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ConstructorCounts.h"
#include "behaviorlib/GunnerEnemies.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "behaviorlib/Includes/Grindlenaut.h"
#include "behaviorlib/Includes/TigerA.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/objects/ObjectHandle.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/AirshipArena.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

std::filesystem::path Folder() { return testsupport::ShippedGame(); }

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
  testsupport::CopyForPlay(folder, "test", "test.lvl");
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
    // The camera's pass leaves the list drawing only: behaviours and physics too here.
    World::GetObjects()->SetMask(PASS_ALL);
    World::GetObjects()->Update(false);
    for (auto _ : state) World::GetObjects()->Update(false);
    state.counters["objects"] = static_cast<double>(World::GetObjects()->GetSprites().size());
  }
  unsetenv("XDG_CONFIG_HOME");
}
BENCHMARK(BM_MixedEnemyFrame)->Unit(benchmark::kMicrosecond);

// A boss arena of metal tiles written into a copy of the working folder, whose game
// list starts in play on it; `run` sets the scene up and measures.
void InArena(benchmark::State& state, const std::string& level,
             const std::function<void(benchmark::State&, testharness::GameHarness&)>& run) {
  if (!std::filesystem::exists(Folder() / "SpriteList.vtsl")) {
    state.SkipWithError("the working folder is missing: build the gamedata target");
    return;
  }
  testsupport::TempDir data;
  const std::filesystem::path folder = data.Path() / "game";
  testsupport::CopyForPlay(folder, "arena", "arena.lvl");
  std::ofstream(folder / "arena.lvl") << level;
  testsupport::ScopedCurrentDir cwd(folder);
  testsupport::TempDir config;
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  {
    testharness::GameHarness harness;
    harness.RunFrames(3);
    if (World::GetState() != STATE_GAMEPLAY || !World::GetPlayer()) {
      state.SkipWithError("the start state is not play with a hero");
    } else {
      // The camera's pass leaves the list drawing only: behaviours and physics too here.
      World::GetObjects()->SetMask(PASS_ALL);
      run(state, harness);
      state.counters["objects"] = static_cast<double>(World::GetObjects()->GetSprites().size());
    }
  }
  unsetenv("XDG_CONFIG_HOME");
}

// `rows` rows of `columns` tiles from (x, y) down, as level object lines.
std::string Tiles(int x, int y, int columns, int rows, int* count) {
  std::string lines;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c, ++*count) {
      lines += "MetalTiles " + std::to_string(x + 128 * c) + " " + std::to_string(y + 128 * r) +
               (r == 0 ? " 0" : " 1") + " 0 -0.5\n";
    }
  }
  return lines;
}

std::string ArenaLevel(const std::string& extraPrototypes, int prototypes, const std::string& bounds,
                       const std::string& objects, int count, const std::string& player,
                       const std::string& enemies, int enemyCount) {
  return std::to_string(prototypes) + "\nMetalTiles 1 0 animations/tiles_metal.acd\n" +
         extraPrototypes + "0 0\n0\n0\n0\n0\n" + bounds + "\n" + std::to_string(count) + "\n" +
         objects + player + "\n" + std::to_string(enemyCount) + "\n" + enemies + "0\n";
}

GameObject* Live(const char* name) {
  Sprite* found = World::GetObjects()->Find(name);
  return found ? found->AsGameObject() : nullptr;
}

// The junkyard's busiest frame: the boss breaking apart with a flash every frame,
// its parts, the hero and 60 tiles.
void BM_JunkyardDeathFrame(benchmark::State& state) {
  int count = 0;
  std::string tiles = Tiles(14656, 960, 10, 4, &count);  // the floor and the ground below
  tiles += Tiles(14528, 320, 1, 5, &count) + Tiles(14528, 960, 1, 5, &count);
  tiles += Tiles(15936, 320, 1, 5, &count) + Tiles(15936, 960, 1, 5, &count);
  const std::string parts =
      "Grindlenaut 15300 810 0\nGrindlenautDrill 15300 810 0\nGrindlenautArm 15300 810 0\n"
      "GrindlenautBurrow 15300 810 0\n";
  InArena(state,
          ArenaLevel("", 1, "14336 0 16128 1800", tiles, count, "ZodirazO 14900 800 0", parts, 4),
          [](benchmark::State& st, testharness::GameHarness& harness) {
            GameObject* body = Live("Grindlenaut");
            for (const char* name : {"Grindlenaut", "GrindlenautDrill", "GrindlenautArm", "GrindlenautBurrow"})
              if (GameObject* part = Live(name)) part->SetDeactivateOffscreen(false);
            harness.RunFrames(1);
            if (!body || body->GetBehavior() != GrindlenautWait) {
              st.SkipWithError("the Grindlenaut did not set itself up");
              return;
            }
            body->SetFlag("PatrolTime", 0.0f);
            body->SetBehavior(GrindlenautDeath);
            harness.RunFrames(40);  // every flash of the last 40 frames alive
            for (auto _ : st) {
              body->SetFlag("PatrolTime", 150.0f);  // never ends; a flash every frame
              World::GetObjects()->Update(false);
            }
          });
}
BENCHMARK(BM_JunkyardDeathFrame)->Unit(benchmark::kMicrosecond);

// The factory: TigerA waiting to decide while six of its bombs bounce on the floor.
void BM_FactoryBombFrame(benchmark::State& state) {
  int count = 0;
  std::string tiles = Tiles(5664, 2816, 16, 2, &count);
  tiles += Tiles(5536, 2176, 1, 6, &count) + Tiles(7776, 2176, 1, 6, &count);
  InArena(state,
          ArenaLevel("", 1, "5300 1800 8000 3200", tiles, count, "ZodirazO 5800 2700 0",
                     "TigerA 6656 2752 0\n", 1),
          [](benchmark::State& st, testharness::GameHarness& harness) {
            GameObject* tiger = Live("TigerA");
            if (!tiger) {
              st.SkipWithError("no TigerA");
              return;
            }
            tiger->SetDeactivateOffscreen(false);
            harness.RunFrames(1);
            std::vector<GameObject*> bombs;
            for (int i = 0; i < 6; ++i)
              bombs.push_back(SpawnTigerABomb(6100.0f + 150.0f * static_cast<float>(i), 2500.0f, 1.0f, -4.0f));
            harness.RunFrames(10);
            for (auto _ : st) {
              tiger->SetFlag("DelayTime", 30.0f);
              for (GameObject* bomb : bombs) {
                bomb->SetFlag("ExplodeTimer", 100.0f);  // fusing for good
                if (bomb->GetFlag("OnGround") != 0.0f) {
                  bomb->SetFlag("OnGround", 0.0f);
                  bomb->SetVelocity(bomb->GetVelocity().X(), -9.0f);
                }
              }
              World::GetObjects()->Update(false);
            }
          });
}
BENCHMARK(BM_FactoryBombFrame)->Unit(benchmark::kMicrosecond);

// Rockets in play, topped up to `count` around the hero outside the timed part.
int CountLiveRockets() {
  int live = 0;
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (!sprite->IsDead() && sprite->GetName() == "KajeRocket") ++live;
  }
  return live;
}

void TopUpRockets(int count, int& next) {
  const Vector2 hero = World::GetPlayer()->GetPosition();
  for (int live = CountLiveRockets(); live < count; ++live, ++next) {
    auto* rocket = dynamic_cast<GameObject*>(World::CloneSprite("KajeRocket"));
    if (!rocket) return;
    const float side = next % 2 == 0 ? -1.0f : 1.0f;
    rocket->MoveTo(Vector2(hero.X() + side * (300.0f + 25.0f * static_cast<float>(next % 8)),
                           hero.Y() - 100.0f - 20.0f * static_cast<float>(next % 5)));
    rocket->SetVelocity(-5.0f * side, -1.0f);
    rocket->SetInactive(false);
    rocket->SetDeactivateOffscreen(false);
    rocket->SetDepth(3.9f);
    rocket->SetBehavior(KajeRocketInit);
    World::GetObjects()->Add(rocket);
  }
}

// The busiest frame of Kaje's first stage on the airship arena: Kaje waiting
// between attacks, its shield, two TigerE, twelve homing rockets with their
// smoke, the hero and the deck.
void BM_KajeStageOneFrame(benchmark::State& state) {
  InArena(state, testsupport::AirshipArenaLevel(),
          [](benchmark::State& st, testharness::GameHarness& harness) {
            // The hero at the trigger: Kaje and its shield appear.
            World::GetPlayer()->MoveTo(
                Vector2(testsupport::kArenaTriggerX, testsupport::kArenaDeckY - 10.0f));
            harness.RunFrames(2);
            GameObject* kaje = FindAirshipObject("Kaje");
            GameObject* shield = FindAirshipObject("KajeShield");
            if (!kaje || !shield) {
              st.SkipWithError("Kaje did not appear");
              return;
            }
            World::GetFocusQueue().clear();
            kaje->MoveTo(Vector2(2700.0f, testsupport::kArenaDeckY));
            kaje->SetFlag("Health", 80.0f);
            kaje->SetState(1);
            kaje->SetBehavior(KajePhaseOneWait);
            shield->SetInactive(false);
            Place("TigerE", 2500.0f, testsupport::kArenaDeckY - 10.0f);
            Place("TigerE", 2900.0f, testsupport::kArenaDeckY - 10.0f);
            World::GetPlayer()->MoveTo(Vector2(2200.0f, testsupport::kArenaDeckY - 10.0f));
            World::GetObjects()->SetMask(PASS_ALL);
            int next = 0;
            // Long enough for the smoke to build up to its steady count.
            for (int frame = 0; frame < 60; ++frame) {
              TopUpRockets(12, next);
              kaje->SetFlag("StateTime", 30.0f);  // between attacks: only these rockets count
              World::GetObjects()->Update(false);
            }
            for (auto _ : st) {
              st.PauseTiming();
              TopUpRockets(12, next);
              kaje->SetFlag("StateTime", 30.0f);
              st.ResumeTiming();
              World::GetObjects()->Update(false);
            }
            double flashes = 0.0;
            for (Sprite* sprite : World::GetObjects()->GetSprites()) {
              if (!sprite->IsDead() && sprite->GetName() == "Flash") ++flashes;
            }
            st.counters["flashes"] = flashes;
          });
}
BENCHMARK(BM_KajeStageOneFrame)->Unit(benchmark::kMicrosecond);


// Walking crowds on a flat 64-tile floor: 50 to 800 walkers (Rat,
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
    testsupport::CopyForPlay(folder, "floor", "floor.lvl");
    std::ofstream(folder / "floor.lvl") << FloorLevel(heroX);
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

// Arguments: the number of walkers; where they stand: 1 among the hero (within
// every kind's notice range), 0 spread over the same 6400 pixels whatever their
// number (a bigger crowd is a denser one), 2 eight pixels apart whatever their
// number (a bigger crowd takes more room), both over a thousand pixels from the
// hero; and 1 with the broad phase or 0 testing every pair (the cost before it).
void BM_WalkerCrowdFrame(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool inRange = state.range(1) == 1;
  const float spreadWidth = state.range(1) == 2 ? 8.0f * static_cast<float>(count) : 6400.0f;
  SetBroadPhaseEnabled(state.range(2) != 0);
  const float heroX = inRange ? 4000.0f : 300.0f;
  FloorGame game(state, heroX);
  if (!game.harness) return;
  FloorGame::WakeAll();
  const char* kinds[] = {"Rat", "Rummager", "TigerE"};
  for (int i = 0; i < count; ++i) {
    const float spread = static_cast<float>(i) / static_cast<float>(count);
    const float x = inRange ? heroX - 180.0f + 360.0f * spread : 1500.0f + spreadWidth * spread;
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
  SetBroadPhaseEnabled(true);
}
BENCHMARK(BM_WalkerCrowdFrame)
    ->ArgsProduct({{50, 100, 200, 400, 800}, {0, 1, 2}, {0, 1}})
    ->ArgNames({"walkers", "inRange", "broadPhase"})
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
