// A started World on the generated working folder, for benchmarks that measure
// one part of the game with its real data.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace benchworld {

class ShippedWorld {
 public:
  // False (with the benchmark skipped) when the folder is missing or Init fails.
  bool Start(benchmark::State& state) {
    const std::filesystem::path game = testsupport::BinaryDir() / "game";
    if (!std::filesystem::exists(game / "SpriteList.vtsl")) {
      state.SkipWithError("the working folder is missing: build the gamedata target");
      return false;
    }
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(game);
    testharness::GameHarness::Options options;
    options.initWorld = false;
    harness = std::make_unique<testharness::GameHarness>(options);
    if (!World::Init(&harness->Window())) {
      state.SkipWithError("World::Init failed");
      return false;
    }
    return true;
  }
  ~ShippedWorld() {
    harness.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

  std::unique_ptr<testharness::GameHarness> harness;

 private:
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

}  // namespace benchworld
