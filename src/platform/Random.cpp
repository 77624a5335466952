#include "platform/Random.h"

#include <chrono>
#include <limits>
#include <optional>

#include "platform/Settings.h"

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
  if (const std::optional<long long> fixed =
          WholeNumberSetting("VANTREL_SEED", 0, std::numeric_limits<std::uint32_t>::max())) {
    SeedRandom(static_cast<std::uint32_t>(*fixed));
    return;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  SeedRandom(static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

}  // namespace platform
