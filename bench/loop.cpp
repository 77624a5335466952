// The program entry's frame loop on the real clock, idle in the junkyard: the
// processor time the whole process spends per frame (the game's work, the loop's
// waiting and SDL's own threads), the part of it spent inside the game's frames,
// and how late each frame starts against when it was due (median, 99th
// percentile and latest, in milliseconds).
//
// It opens an 800 x 600 window on whatever display SDL_VIDEODRIVER names (the
// dummy one by default); to see what a player's machine pays, run it on a real
// display or a virtual one:
//
//   Xvfb :57 & DISPLAY=:57 SDL_VIDEODRIVER=x11 build-release/bench/bench_loop
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/FrameLoop.h"
#include "game/WindowLoopHost.h"
#include "harness/Playthrough.h"
#include "platform/Clock.h"
#include "platform/Window.h"

namespace {

constexpr int kFrames = 300;

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) * 1e-3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The game's own frame, plus a note of how late it started; quits after kFrames.
class TimingHost : public WindowLoopHost {
 public:
  TimingHost(platform::Window& window, std::int64_t period)
      : WindowLoopHost(window), m_period(period) {}

  void Begin() { m_due = platform::QueryCounter() + m_period; }
  void RunFrame() override {
    const std::int64_t start = platform::QueryCounter();
    lateMs.push_back(static_cast<double>(start - m_due) * 1e3 /
                     static_cast<double>(platform::QueryFrequency()));
    m_due = start + m_period;
    const double cpuStart = testharness::ThreadCpuMs();
    WindowLoopHost::RunFrame();
    frameWorkMs += testharness::ThreadCpuMs() - cpuStart;
    if (static_cast<int>(lateMs.size()) == kFrames) m_window.PostQuit();
  }

  std::vector<double> lateMs;
  double frameWorkMs = 0.0;  // this thread's time inside the game's frames

 private:
  std::int64_t m_period;
  std::int64_t m_due = 0;
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
  return values[std::max<std::size_t>(rank, 1) - 1];
}

void BM_IdleLoop(benchmark::State& state) {
  setenv("VANTREL_WINDOWED", "1", 0);  // an 800 x 600 window, as a player would see it
  testharness::Playthrough run(*testharness::FindPlaythroughLevel("junkyard"));
  std::string error;
  if (!run.Begin("", error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  run.Game().RunFrames(30);  // past the level's opening
  platform::SetClock(nullptr);
  double cpuMs = 0.0;
  double workMs = 0.0;
  std::vector<double> late;
  for (auto _ : state) {
    TimingHost timed(run.Game().Window(), platform::QueryFrequency() / FrameLoop::kFramesPerSecond);
    FrameLoop timedLoop(timed);
    const double cpuStart = ProcessCpuMs();
    timedLoop.Start();
    timed.Begin();
    timedLoop.Run();
    cpuMs = ProcessCpuMs() - cpuStart;
    late = timed.lateMs;
    workMs = timed.frameWorkMs;
  }
  if (late.empty()) {
    state.SkipWithError("no frame ran");
    return;
  }
  state.counters["frames"] = static_cast<double>(late.size());
  state.counters["cpu_ms_per_frame"] = cpuMs / static_cast<double>(late.size());
  state.counters["frame_work_ms"] = workMs / static_cast<double>(late.size());
  state.counters["start_late_p50_ms"] = Percentile(late, 0.50);
  state.counters["start_late_p99_ms"] = Percentile(late, 0.99);
  state.counters["start_late_max_ms"] = Percentile(late, 1.0);
}

BENCHMARK(BM_IdleLoop)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
