// The music meter: each measure on tracks whose answer is known, and the targets it checks.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Loudness.h"
#include "MusicMeter.h"

namespace musicmeter {
namespace {

constexpr int kRate = 44100;
constexpr double kTwoPi = 6.283185307179586;

// `seconds` of stereo made by `at(time, channel)`.
Track Make(double seconds, const std::function<double(double, int)>& at) {
  Track t;
  t.rate = kRate;
  t.channels = 2;
  for (int i = 0; i < static_cast<int>(seconds * kRate); ++i)
    for (int c = 0; c < 2; ++c) t.samples.push_back(static_cast<float>(at(double(i) / kRate, c)));
  return t;
}

TEST(MusicMeter, WidthBrightnessAndCopiedBarsOfKnownTracks) {
  auto sine = [](double hz) {
    return [hz](double t, int) { return 0.5 * std::sin(kTwoPi * hz * t); };
  };
  // Each bar (0.5 s) plays its own pitch, or the same one every time.
  auto bars = [](bool same) {
    return [same](double t, int) {
      const int bar = static_cast<int>(t / 0.5);
      return 0.5 * std::sin(kTwoPi * (same ? 300 : 150 * (bar + 1)) * t);
    };
  };
  struct Case {
    const char* what;
    std::function<double(double, int)> at;
    double correlation, bright, copied;  // negative: not checked
  } cases[] = {
      {"the same in both ears", sine(440), 1.0, 0.0, -1},
      {"sides a quarter turn apart", [](double t, int c) { return std::sin(kTwoPi * 440 * t + c * kTwoPi / 4); }, 0.0, -1, -1},
      {"a 4 kHz tone", sine(4000), -1, 1.0, -1},
      {"every bar the same", bars(true), -1, -1, 3.0 / 4},
      {"every bar new", bars(false), -1, -1, 0.0},
  };
  for (const Case& c : cases) {
    const Measures m = Measure(Make(2.0, c.at), 0.5);
    if (c.correlation >= 0) {
      EXPECT_NEAR(m.correlation, c.correlation, 0.02) << c.what;
    }
    if (c.bright >= 0) {
      EXPECT_NEAR(m.brightShare, c.bright, 0.02) << c.what;
    }
    if (c.copied >= 0) {
      EXPECT_DOUBLE_EQ(m.copiedBars, c.copied) << c.what;
    }
  }
}

// A full-scale 1 kHz tone reads 0 LUFS over two channels and 3 LU less in one; a piece half
// at one level and half 10 dB under ranges about 10 LU.
TEST(MusicMeter, LoudnessFollowsTheBroadcastScale) {
  const Track both = Make(4, [](double t, int) { return std::sin(kTwoPi * 1000 * t); });
  const Track one = Make(4, [](double t, int c) { return c == 0 ? std::sin(kTwoPi * 1000 * t) : 0; });
  EXPECT_NEAR(assetgen::IntegratedLoudness(both.samples, kRate, 2), 0.0, 0.1);
  EXPECT_NEAR(assetgen::IntegratedLoudness(one.samples, kRate, 2), -3.01, 0.1);
  const Track steps = Make(20, [](double t, int) {
    return (t < 10 ? 0.3 : 0.3 / std::sqrt(10.0)) * std::sin(kTwoPi * 1000 * t);
  });
  EXPECT_NEAR(assetgen::LoudnessRange(steps.samples, kRate, 2), 10.0, 0.5);
}

TEST(MusicMeter, EachMissedTargetIsNamed) {
  Measures good;
  good.seconds = 61, good.correlation = 0.7, good.brightShare = 0.06, good.copiedBars = 0.25;
  good.peak = 0.9;
  EXPECT_TRUE(Faults(good).empty());
  const std::pair<std::function<void(Measures&)>, std::string> cases[] = {
      {[](Measures& m) { m.seconds = 59; }, "shorter than 60 s"},
      {[](Measures& m) { m.correlation = 0.9; }, "left-right correlation outside 0.6-0.85"},
      {[](Measures& m) { m.correlation = 0.5; }, "left-right correlation outside 0.6-0.85"},
      {[](Measures& m) { m.brightShare = 0.04; }, "under 5 % of its energy above 2 kHz"},
      {[](Measures& m) { m.copiedBars = 0.3; }, "more than a quarter of its bars copy earlier ones"},
      {[](Measures& m) { m.peak = 1.0; }, "reaches full scale"},
  };
  for (const auto& [spoil, fault] : cases) {
    Measures m = good;
    spoil(m);
    EXPECT_EQ(Faults(m), std::vector<std::string>{fault});
  }
}

}  // namespace
}  // namespace musicmeter
