// The contact sheet of a run: screen frames at a quarter of their size, ten to a row in
// the order they came, the last row as long as its frames, each tile pixel the mean of
// the pixels it stands for.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness/ContactSheet.h"
#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

using testharness::ContactSheet;

std::uint32_t Shade(int i) {
  return 0xFF000000u | static_cast<std::uint32_t>(i * 0x0A0B0C);
}

TEST(ReplayContactSheet, TwelveFramesMakeARowOfTenAndARowOfTwo) {
  ContactSheet sheet;
  for (int i = 1; i <= 12; ++i) {
    ASSERT_TRUE(sheet.Add(std::vector<std::uint32_t>(800 * 600, Shade(i))));
  }
  EXPECT_FALSE(sheet.Add(std::vector<std::uint32_t>(640 * 480))) << "a frame of another size";
  testsupport::TempDir dir;
  std::string error;
  ASSERT_TRUE(sheet.Save((dir / "run.png").string(), error)) << error;
  platform::Image image;
  ASSERT_TRUE(platform::LoadPng((dir / "run.png").string(), image, error)) << error;
  ASSERT_EQ(image.width, 2000);
  ASSERT_EQ(image.height, 300);

  const auto at = [&](int x, int y) {
    return image.pixels[static_cast<std::size_t>(y) * 2000 + x];
  };
  for (int i = 0; i < 12; ++i) {
    const int left = i % 10 * 200, top = i / 10 * 150;
    EXPECT_EQ(sheet.TileAt(i), std::make_pair(left, top));
    EXPECT_EQ(at(left, top), Shade(i + 1)) << "first pixel of tile " << i;
    EXPECT_EQ(at(left + 199, top + 149), Shade(i + 1)) << "last pixel of tile " << i;
  }
  EXPECT_EQ(at(400, 150), 0xFF000000u) << "after the last tile";
}

TEST(ReplayContactSheet, TilePixelIsTheMeanOfItsBlock) {
  // Two 4 x 4 blocks: one striped black and white, one a single colour.
  ContactSheet sheet(8, 4);
  std::vector<std::uint32_t> frame(8 * 4);
  for (int i = 0; i < 8 * 4; ++i) {
    frame[i] = i % 8 >= 4 ? 0xFF102030u : (i % 2 ? 0xFFFFFFFFu : 0xFF000000u);
  }
  ASSERT_TRUE(sheet.Add(frame));
  EXPECT_EQ(sheet.Pixels(), (std::vector<std::uint32_t>{0xFF7F7F7Fu, 0xFF102030u}));
}

TEST(ReplayContactSheet, EmptySheetIsNotSaved) {
  std::string error;
  EXPECT_FALSE(ContactSheet().Save("/nowhere/run.png", error));
  EXPECT_NE(error.find("/nowhere/run.png"), std::string::npos) << error;
}

}  // namespace
