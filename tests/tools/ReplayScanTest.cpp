// The replay scan's reading of a frame: a band of rows all one flat colour at the screen's
// top or bottom edge, beside the HUD panel, counts; painted rows, a gradient's flat rows a
// shade apart, and flat art inside the screen do not.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "harness/ReplayScan.h"

namespace {

using testharness::FlatBandHeight;
using testharness::ScreenBox;

constexpr int kW = 40, kH = 30;
constexpr std::uint32_t kFlat = 0xFF101418;

struct BandCase {
  const char* what;
  int from, to;      // rows [from, to) painted flat
  bool shaded;       // each of those rows a shade apart
  bool panelPixels;  // the panel's box (the top-left 10 x 10) holds other pixels
  int expected;
};

TEST(ReplayScan, FlatBandsCountOnlyAtTheScreensEdgeInOneColour) {
  const BandCase cases[] = {
      {"a band along the bottom", 22, kH, false, false, 8},
      {"a band along the top, beside the panel's art", 0, 6, false, true, 6},
      {"a flat girder inside the screen", 10, 20, false, false, 0},
      {"a gradient's rows along the bottom", 22, kH, true, false, 1},
  };
  const ScreenBox panel{0.0f, 0.0f, 10.0f, 10.0f};
  for (const BandCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint32_t> frame(kW * kH);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const bool flat = y >= c.from && y < c.to;
        frame[y * kW + x] = flat ? kFlat + (c.shaded ? static_cast<std::uint32_t>(y) : 0u)
                                 : 0xFF000000u | static_cast<std::uint32_t>(x * 7 + y);
        if (c.panelPixels && x < 10 && y < 10) frame[y * kW + x] = 0xFFFFFFFFu - x;
      }
    }
    EXPECT_EQ(FlatBandHeight(frame, kW, kH, panel), c.expected);
  }
}

TEST(ReplayScan, OverlapDepthIsTheShallowerSideOfTheOverlap) {
  const ScreenBox panel{0.0f, 0.0f, 300.0f, 150.0f};
  EXPECT_FLOAT_EQ(testharness::OverlapDepth({280.0f, 20.0f, 340.0f, 80.0f}, panel), 20.0f);
  EXPECT_FLOAT_EQ(testharness::OverlapDepth({100.0f, 140.0f, 140.0f, 200.0f}, panel), 10.0f);
  EXPECT_FLOAT_EQ(testharness::OverlapDepth({310.0f, 20.0f, 340.0f, 80.0f}, panel), 0.0f);
}

}  // namespace
