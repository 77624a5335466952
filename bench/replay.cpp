// Whole frames of real play: each level's recorded playthrough replayed headless
// on the virtual clock, from its first play frame to level complete. One harness
// frame is the World's update, the draw and the present; the counters give the
// mean, median, 99th percentile and longest of them, in milliseconds.
//
//   build-release/bench/bench_replay --benchmark_filter=airship
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "game/world/GameState.h"
#include "game/world/World.h"
#include "harness/Playthrough.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// A replay that has not completed its level by now has gone astray.
constexpr int kFrameLimit = 20000;

// The nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double p) {
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

void BM_Replay(benchmark::State& state, const char* name) {
  const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(name);
  const std::filesystem::path file =
      testsupport::BinaryDir() / "playthroughs" / (std::string(name) + ".rec");
  if (!level || !std::filesystem::exists(file)) {
    state.SkipWithError("no recording: build the playthroughs and gamedata targets");
    return;
  }
  std::vector<double> frames;
  for (auto _ : state) {
    testharness::Playthrough run(*level);
    std::string error;
    if (!run.Begin(file.string(), error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    frames.clear();
    int playState = STATE_GAMEPLAY;
    while ((playState == STATE_GAMEPLAY || playState == STATE_PAUSE) &&
           static_cast<int>(frames.size()) < kFrameLimit) {
      const auto start = Clock::now();
      run.Game().RunFrames(1);
      frames.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      playState = World::GetState();
    }
    if (playState != STATE_LEVEL_COMPLETE) {
      state.SkipWithError("the replay did not complete its level");
      return;
    }
  }
  std::sort(frames.begin(), frames.end());
  state.counters["frames"] = static_cast<double>(frames.size());
  state.counters["mean_ms"] =
      std::accumulate(frames.begin(), frames.end(), 0.0) / static_cast<double>(frames.size());
  state.counters["p50_ms"] = Percentile(frames, 0.50);
  state.counters["p99_ms"] = Percentile(frames, 0.99);
  state.counters["max_ms"] = frames.back();
}

// One replay per run: a level takes seconds and its frames are the sample.
BENCHMARK_CAPTURE(BM_Replay, junkyard, "junkyard")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, factory, "factory")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, airship, "airship")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
