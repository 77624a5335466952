#include "platform/Random.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace platform {
namespace {
std::uint32_t gState = 1;
}

void SeedRandom(std::uint32_t seed) { gState = seed; }

int Random() {
  gState = gState * 214013u + 2531011u;
  return static_cast<int>((gState >> 16) & 0x7fffu);
}

void SeedRandomFromClock() {
  if (const char* fixed = std::getenv("VANTREL_SEED")) {
    SeedRandom(static_cast<std::uint32_t>(std::strtoul(fixed, nullptr, 10)));
    return;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  SeedRandom(static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

}  // namespace platform
