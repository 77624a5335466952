// The game's own 15-bit random numbers (0..32767), the classic linear congruential
// step, so every rand()-based formula keeps its range whatever the C library does.
#pragma once

#include <cstdint>

namespace platform {

constexpr int kRandMax = 32767;

void SeedRandom(std::uint32_t seed);
int Random();  // 0..kRandMax

// Seeds from a millisecond wall clock so runs differ. VANTREL_SEED, a whole number
// from 0 to 4294967295, overrides it; any other value stops the program, naming it.
void SeedRandomFromClock();

}  // namespace platform
