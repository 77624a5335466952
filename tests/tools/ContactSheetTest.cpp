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

TEST(ReplayContactSheet, TwelveFramesFillOneRowOfTenAndTwoOfTheNext) {
  ContactSheet sheet;
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(sheet.Add(std::vector<std::uint32_t>(800 * 600, Shade(i + 1))));
  }
  EXPECT_EQ(sheet.TileWidth(), 200);
  EXPECT_EQ(sheet.TileHeight(), 150);
  EXPECT_EQ(sheet.Width(), 2000);
  EXPECT_EQ(sheet.Height(), 300);
  EXPECT_EQ(sheet.TileAt(0), std::make_pair(0, 0));
  EXPECT_EQ(sheet.TileAt(9), std::make_pair(1800, 0));
  EXPECT_EQ(sheet.TileAt(10), std::make_pair(0, 150));
  EXPECT_EQ(sheet.TileAt(11), std::make_pair(200, 150));

  const std::vector<std::uint32_t> pixels = sheet.Pixels();
  ASSERT_EQ(pixels.size(), 2000u * 300u);
  const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * 2000 + x]; };
  for (int i = 0; i < 12; ++i) {
    const auto [left, top] = sheet.TileAt(i);
    EXPECT_EQ(at(left, top), Shade(i + 1)) << "first pixel of tile " << i;
    EXPECT_EQ(at(left + 199, top + 149), Shade(i + 1)) << "last pixel of tile " << i;
  }
  EXPECT_EQ(at(400, 150), 0xFF000000u) << "after the last tile";
  EXPECT_EQ(at(1999, 299), 0xFF000000u);
}

TEST(ReplayContactSheet, ShortRunMakesOneRowAsWideAsItsFrames) {
  ContactSheet sheet;
  for (int i = 0; i < 3; ++i) sheet.Add(std::vector<std::uint32_t>(800 * 600, Shade(i)));
  EXPECT_EQ(sheet.Width(), 600);
  EXPECT_EQ(sheet.Height(), 150);
}

TEST(ReplayContactSheet, TilePixelIsTheMeanOfItsBlock) {
  // Two 4 x 4 blocks: one striped black and white, one a single colour.
  ContactSheet sheet(8, 4);
  std::vector<std::uint32_t> frame(8 * 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      frame[y * 8 + x] = x >= 4 ? 0xFF102030u : (x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    }
  }
  ASSERT_TRUE(sheet.Add(frame));
  EXPECT_EQ(sheet.Pixels(), (std::vector<std::uint32_t>{0xFF7F7F7Fu, 0xFF102030u}));
}

TEST(ReplayContactSheet, FrameOfAnotherSizeIsLeftOut) {
  ContactSheet sheet;
  EXPECT_FALSE(sheet.Add({}));
  EXPECT_FALSE(sheet.Add(std::vector<std::uint32_t>(640 * 480)));
  EXPECT_EQ(sheet.Tiles(), 0);
}

TEST(ReplayContactSheet, SavesOnePngOrNamesWhyNot) {
  testsupport::TempDir dir;
  const std::string path = (dir / "run.png").string();
  ContactSheet sheet;
  std::string error;
  EXPECT_FALSE(sheet.Save(path, error));
  EXPECT_NE(error.find(path), std::string::npos) << error;

  for (int i = 0; i < 11; ++i) sheet.Add(std::vector<std::uint32_t>(800 * 600, Shade(i)));
  ASSERT_TRUE(sheet.Save(path, error)) << error;
  platform::Image image;
  ASSERT_TRUE(platform::LoadPng(path, image, error)) << error;
  EXPECT_EQ(image.width, 2000);
  EXPECT_EQ(image.height, 300);
  EXPECT_EQ(image.pixels, sheet.Pixels());
}

}  // namespace
