// The output limiter: quiet sums pass untouched, loud ones never reach full
// scale, and the gain comes back to exactly one afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/MixLimiter.h"

namespace {

using platform::MixLimiter;

constexpr int kRate = 44100;

// Stereo frames of a sine at `amplitude`, both channels alike.
std::vector<std::int32_t> Sine(double amplitude, int frames) {
  std::vector<std::int32_t> mix;
  for (int i = 0; i < frames; ++i)
    mix.insert(mix.end(), 2,
               static_cast<std::int32_t>(std::lround(amplitude * std::sin(0.0627 * i))));
  return mix;
}

std::vector<std::int16_t> Limit(MixLimiter& limiter, const std::vector<std::int32_t>& mix) {
  std::vector<std::int16_t> out(mix.size());
  limiter.Process(mix, out);
  return out;
}

TEST(MixLimiter, SumsUpToTheCeilingPassUnchanged) {
  MixLimiter limiter(kRate, 2);
  for (int amplitude : {0, 1000, 29490, MixLimiter::kCeiling}) {
    const std::vector<std::int32_t> mix = Sine(amplitude, 4000);
    const std::vector<std::int16_t> out = Limit(limiter, mix);
    EXPECT_TRUE(std::equal(mix.begin(), mix.end(), out.begin())) << amplitude;
  }
  EXPECT_EQ(limiter.Gain(), 1.0);
}

// However loud, and on both sides (thirty-two sounds at full scale included),
// nothing reaches full scale, and a loud sum still comes out near the ceiling.
TEST(MixLimiter, LoudSumsStayBelowFullScale) {
  for (double amplitude : {31129.0, 32768.0, 60000.0, 32.0 * 32768}) {
    MixLimiter limiter(kRate, 2);
    const std::vector<std::int16_t> out = Limit(limiter, Sine(amplitude, 4000));
    const auto [low, high] = std::minmax_element(out.begin(), out.end());
    EXPECT_LE(*high, MixLimiter::kCeiling) << amplitude;
    EXPECT_GE(*low, -MixLimiter::kCeiling) << amplitude;
    EXPECT_GT(*high, MixLimiter::kCeiling * 9 / 10) << amplitude;
  }
}

// After a loud moment the gain recovers: within two seconds a quiet sound passes
// sample for sample again, and one frame far above the rest is limited alone
// within its frame: both channels share its gain.
TEST(MixLimiter, GainRecoversToOneAfterALoudMoment) {
  MixLimiter limiter(kRate, 2);
  Limit(limiter, Sine(200000, 2000));
  EXPECT_LT(limiter.Gain(), 0.2);
  Limit(limiter, Sine(8000, 2 * kRate));
  EXPECT_EQ(limiter.Gain(), 1.0);
  const std::vector<std::int32_t> quiet = Sine(8000, 2000);
  const std::vector<std::int16_t> out = Limit(limiter, quiet);
  EXPECT_TRUE(std::equal(quiet.begin(), quiet.end(), out.begin()));

  MixLimiter fresh(kRate, 2);
  const std::vector<std::int16_t> frame = Limit(fresh, {2 * MixLimiter::kCeiling, 1000});
  EXPECT_EQ(frame, (std::vector<std::int16_t>{MixLimiter::kCeiling, 500}));
}

// Whichever side of a stereo frame is too loud, the frame's gain follows it:
// the loud side lands on the ceiling instead of being clipped there, and the
// quiet side drops with it, now and in the frames that follow.
TEST(MixLimiter, EitherSideOfAStereoFrameSetsTheGainForBoth) {
  const std::int32_t loud = 2 * MixLimiter::kCeiling;
  for (std::size_t side : {0u, 1u}) {
    SCOPED_TRACE(side == 0 ? "left" : "right");
    std::vector<std::int32_t> mix = {1000, 1000, 8000, 8000};
    mix[side] = loud;
    MixLimiter limiter(kRate, 2);
    const std::vector<std::int16_t> out = Limit(limiter, mix);
    EXPECT_EQ(out[side], MixLimiter::kCeiling);
    EXPECT_EQ(out[1 - side], 500);
    EXPECT_LT(out[2], 4100);
    EXPECT_EQ(out[2], out[3]);
    EXPECT_LT(limiter.Gain(), 0.52);
  }
}

}  // namespace
