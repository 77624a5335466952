// One gameplay frame on the generated start level with the hero running right,
// split into its three parts (the camera with the main list's behaviours and
// physics, the other list passes, the HUD), and the camera's wake-and-park pass
// over large main lists.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// The generated game, run into normal play; null (with the run skipped) when
// the working folder is missing.
struct RunningGame {
  explicit RunningGame(benchmark::State& state) : cwd(PlayCopy(data.Path())) {
    if (!std::filesystem::exists(Folder() / "SpriteList.vtsl")) {
      state.SkipWithError("the working folder is missing: build the gamedata target");
      return;
    }
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    harness = std::make_unique<testharness::GameHarness>();
    harness->RunFrames(3);  // game list and level, set-up, first play frame
    if (World::GetState() != STATE_GAMEPLAY || !World::GetPlayer()) {
      state.SkipWithError("the start state is not play with a hero");
      harness.reset();
    }
  }
  ~RunningGame() {
    harness.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  static std::filesystem::path Folder() { return testsupport::ShippedGame(); }
  // The shipped game list starts on the menu: a copy whose list starts in play.
  static std::filesystem::path PlayCopy(const std::filesystem::path& root) {
    const std::filesystem::path copy = root / "game";
    if (!std::filesystem::exists(Folder() / "SpriteList.vtsl")) return root;
    testsupport::CopyForPlay(copy, "test", "test.lvl");
    return copy;
  }

  testsupport::TempDir data;
  testsupport::TempDir config;
  testsupport::ScopedCurrentDir cwd;
  std::unique_ptr<testharness::GameHarness> harness;
};

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_GameplayFrameParts(benchmark::State& state) {
  RunningGame game(state);
  if (!game.harness) return;
  game.harness->KeyDown(SDL_SCANCODE_RIGHT);
  game.harness->RunFrames(1);
  double camera = 0.0;
  double lists = 0.0;
  double hud = 0.0;
  for (auto _ : state) {
    auto start = Clock::now();
    World::UpdateCamera();
    camera += Since(start);

    start = Clock::now();
    for (SpriteCollection* list : {static_cast<SpriteCollection*>(World::GetSceneryA()),
                                   World::GetLayerB(), World::GetObjects(), World::GetLayerD(),
                                   static_cast<SpriteCollection*>(World::GetSceneryC())}) {
      list->Update(false);
    }
    lists += Since(start);

    start = Clock::now();
    HUD::GetInstance()->Update();
    hud += Since(start);

    state.PauseTiming();
    D3DInterface::ClearQuads();  // the frame loop's begin-frame
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["camera_us"] = camera / n * 1e6;
  state.counters["lists_us"] = lists / n * 1e6;
  state.counters["hud_us"] = hud / n * 1e6;
}
// The HUD's texts pile up outside the frame loop: keep the run bounded.
BENCHMARK(BM_GameplayFrameParts)->Iterations(3000)->Unit(benchmark::kMicrosecond);

void BM_ActivateNearbyObjects(benchmark::State& state) {
  RunningGame game(state);
  if (!game.harness) return;
  const int count = static_cast<int>(state.range(0));
  SpriteCollection* active = World::GetObjects();
  World::GetDormantObjects()->Clear();
  Animation* animation = World::GetPlayer()->GetAnimation();
  // A long row of objects, 40 px apart; the view jumps between its two ends.
  for (int i = 0; i < count; ++i) {
    active->AddUnsorted(new GameObject("Crate", animation,
                                       Vector2(40.0f * static_cast<float>(i), 300.0f),
                                       NO_CALLBACKS, static_cast<float>(i % 7)));
  }
  active->Sort();
  const float far = 40.0f * static_cast<float>(count);
  bool atStart = true;
  for (auto _ : state) {
    active->SetOffset(Vector2(atStart ? 0.0f : far - 800.0f, 0.0f));
    atStart = !atStart;
    World::ActivateNearbyObjects(Vector2(8.0f, 0.0f));
  }
  state.counters["awake"] = active->Count();
}
BENCHMARK(BM_ActivateNearbyObjects)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
