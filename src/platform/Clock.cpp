#include "platform/Clock.h"

#include <SDL.h>

namespace platform {
namespace {

class SystemClock final : public Clock {
 public:
  std::int64_t Counter() override { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }
  std::int64_t Frequency() override {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
  }
  std::uint32_t Milliseconds() override { return SDL_GetTicks(); }
};

SystemClock gSystemClock;
Clock* gClock = &gSystemClock;

}  // namespace

Clock& GetClock() { return *gClock; }
void SetClock(Clock* clock) { gClock = clock ? clock : &gSystemClock; }

}  // namespace platform
