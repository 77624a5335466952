// Start-up time on the generated working folder: from the start of World::Init
// (loading screen, sound engine, sound list, input, collision table, object
// lists, every prototype) to the end of the first frame's level load.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "animationlib/SpriteCollection.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace {

void BM_WorldInitToFirstLevel(benchmark::State& state) {
  const std::filesystem::path game = testsupport::BinaryDir() / "game";
  if (!std::filesystem::exists(game / "SpriteList.vtsl")) {
    state.SkipWithError("the working folder is missing: build the gamedata target");
    return;
  }
  testsupport::TempDir config;  // no saved controls map from the machine
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  testsupport::ScopedCurrentDir cwd(game);

  int objects = 0;
  for (auto _ : state) {
    testharness::GameHarness::Options options;
    options.initWorld = false;
    auto harness = std::make_unique<testharness::GameHarness>(options);

    const auto start = std::chrono::steady_clock::now();
    const bool ok = World::Init(&harness->Window());
    World::Update();  // state 0: the game list, then the start level
    const auto end = std::chrono::steady_clock::now();

    if (!ok || !World::GetObjects()) {
      state.SkipWithError("World::Init failed");
      break;
    }
    objects = World::GetObjects()->Count();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    harness.reset();
  }
  state.counters["objects"] = objects;
  unsetenv("XDG_CONFIG_HOME");
}
BENCHMARK(BM_WorldInitToFirstLevel)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
