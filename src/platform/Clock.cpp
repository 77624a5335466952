#include "platform/Clock.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace platform {
namespace {

class SystemClock final : public Clock {
 public:
  std::int64_t Counter() override { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }
  std::int64_t Frequency() override {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
  }
  std::uint32_t Milliseconds() override { return SDL_GetTicks(); }
  // nanosleep, not SDL_Delay: whole milliseconds are too coarse to start a frame on time.
  void Sleep(std::int64_t counts) override {
    if (counts <= 0) return;
    const std::int64_t frequency = Frequency();
    const std::int64_t seconds = counts / frequency;
    const std::int64_t nanoseconds = (counts % frequency) * 1'000'000'000 / frequency;
    std::this_thread::sleep_for(std::chrono::seconds(seconds) +
                                std::chrono::nanoseconds(nanoseconds));
  }
};

SystemClock gSystemClock;
Clock* gClock = &gSystemClock;

}  // namespace

Clock& GetClock() { return *gClock; }
void SetClock(Clock* clock) { gClock = clock ? clock : &gSystemClock; }

}  // namespace platform
