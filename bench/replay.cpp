// Whole frames of real play: each level's recorded playthrough replayed headless
// on the virtual clock, from its first play frame to level complete. A frame is
// the World's update (through the sound fades), then the draw with its present;
// the counters give the median, 99th percentile and longest of each half and of
// the whole frame, in milliseconds of the game thread's processor time (so that
// other work on a shared machine does not count), and the replay's peak resident
// memory.
//
// Each replay runs in a child process of its own, so that its peak memory is its
// own, with the software device's fast paths set by VANTREL_FAST_DRAW (see
// platform/Gfx.h): "before" draws as SDL does but for the plain blits, "after"
// takes every fast path. Both play in an 800 x 600 window, so both pay the
// present a windowed player pays (headless full screen, "after" would skip it);
// "present" is that copy alone, timed over extra presents of the last frame.
// "fullscreen" plays the "after" paths full screen on the dummy desktop and pays
// the scaled present a full-screen player pays. All appear side by side in one
// run; pin it to one core (any one the machine has) so that frames are not split
// across cores:
//
//   taskset -c 0 build-release/bench/bench_replay --benchmark_filter=airship
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/world/GameState.h"
#include "game/world/World.h"
#include "harness/Playthrough.h"
#include "platform/Gfx.h"
#include "support/ChildProcess.h"
#include "support/ReadToEnd.h"
#include "support/TempDir.h"

namespace {

// A replay that has not completed its level by now has gone astray.
constexpr int kFrameLimit = 20000;
constexpr int kPresents = 200;

// Every fast path but the headless full-screen skip of the present.
constexpr const char* kAllButUnseenPresent = "blit,transform,turn,fill,shared";

// What a replay's child hands back through its pipe.
struct ReplayFigures {
  double frames = 0;
  double update[3] = {};  // p50, p99, max
  double draw[3] = {};
  double frame[3] = {};
  double present[3] = {};
  double peakMb = 0;
  char error[160] = {};
};

// The nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double p) {
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

void Summarise(std::vector<double>& values, double out[3]) {
  std::sort(values.begin(), values.end());
  out[0] = Percentile(values, 0.50);
  out[1] = Percentile(values, 0.99);
  out[2] = values.back();
}

// The process's peak resident set, in megabytes (VmHWM).
double PeakResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  }
  return 0.0;
}

// Replays one level in this process.
ReplayFigures Replay(const char* name) {
  ReplayFigures figures;
  const auto fail = [&](const std::string& why) {
    std::snprintf(figures.error, sizeof figures.error, "%s", why.c_str());
    return figures;
  };
  const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(name);
  const std::filesystem::path file =
      testsupport::BinaryDir() / "playthroughs" / (std::string(name) + ".rec");
  if (!level || !std::filesystem::exists(file)) {
    return fail("no recording: build the playthroughs and gamedata targets");
  }
  testharness::Playthrough run(*level);
  std::string error;
  if (!run.Begin(file.string(), error)) return fail(error);
  std::vector<double> update, draw, frame;
  int playState = STATE_GAMEPLAY;
  while ((playState == STATE_GAMEPLAY || playState == STATE_PAUSE) &&
         static_cast<int>(frame.size()) < kFrameLimit) {
    const double start = testharness::ThreadCpuMs();
    run.Game().RunFrames(1);
    frame.push_back(testharness::ThreadCpuMs() - start);
    update.push_back(run.Game().LastFrameTimes().updateMs);
    draw.push_back(run.Game().LastFrameTimes().drawMs);
    playState = World::GetState();
  }
  if (playState != STATE_LEVEL_COMPLETE) return fail("the replay did not complete its level");
  std::vector<double> present;
  platform::Gfx* device = D3DInterface::GetEngine()->GetDevice();
  for (int i = 0; i < kPresents && device; ++i) {
    const double start = testharness::ThreadCpuMs();
    device->Present();
    present.push_back(testharness::ThreadCpuMs() - start);
  }
  if (present.empty()) return fail("no graphics device to present with");
  Summarise(present, figures.present);
  figures.frames = static_cast<double>(frame.size());
  Summarise(update, figures.update);
  Summarise(draw, figures.draw);
  Summarise(frame, figures.frame);
  figures.peakMb = PeakResidentMb();
  return figures;
}

void BM_Replay(benchmark::State& state, const char* name, const char* fastDraw, bool windowed) {
  ReplayFigures figures;
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    testsupport::ChildProcess child([&] {
      close(fds[0]);
      setenv("VANTREL_FAST_DRAW", fastDraw, 1);
      if (windowed) setenv("VANTREL_WINDOWED", "1", 1);
      const ReplayFigures result = Replay(name);
      const bool sent = write(fds[1], &result, sizeof result) == sizeof result;
      close(fds[1]);
      return sent;
    });
    close(fds[1]);
    const std::string reply = testsupport::ReadToEnd(fds[0]);
    if (!child.Succeeded() || reply.size() != sizeof figures) {
      state.SkipWithError("the replay's process failed");
      return;
    }
    std::memcpy(&figures, reply.data(), sizeof figures);
    if (figures.error[0] != '\0') {
      state.SkipWithError(figures.error);
      return;
    }
  }
  state.counters["frames"] = figures.frames;
  const char* halves[] = {"update", "draw", "frame", "present"};
  const double* values[] = {figures.update, figures.draw, figures.frame, figures.present};
  for (int h = 0; h < 4; ++h) {
    state.counters[std::string(halves[h]) + "_p50"] = values[h][0];
    state.counters[std::string(halves[h]) + "_p99"] = values[h][1];
    state.counters[std::string(halves[h]) + "_max"] = values[h][2];
  }
  state.counters["peak_MB"] = figures.peakMb;
}

// One replay per run: a level takes seconds and its frames are the sample.
#define VANTREL_REPLAY(level)                                                           \
  BENCHMARK_CAPTURE(BM_Replay, level##_before, #level, "blit", true)                    \
      ->Iterations(1)                                                                   \
      ->Unit(benchmark::kMillisecond);                                                  \
  BENCHMARK_CAPTURE(BM_Replay, level##_after, #level, "all", true)                      \
      ->Iterations(1)                                                                   \
      ->Unit(benchmark::kMillisecond);                                                  \
  BENCHMARK_CAPTURE(BM_Replay, level##_fullscreen, #level, kAllButUnseenPresent, false) \
      ->Iterations(1)                                                                   \
      ->Unit(benchmark::kMillisecond)

VANTREL_REPLAY(junkyard);
VANTREL_REPLAY(factory);
VANTREL_REPLAY(airship);

}  // namespace

BENCHMARK_MAIN();
