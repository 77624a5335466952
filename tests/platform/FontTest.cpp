#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Font.h"
#include "platform/FontLookup.h"

TEST(FontFaces, GameFacesMapToThePinnedFreeFonts) {
  EXPECT_FALSE(platform::FontConfigPath().empty()) << "the game's fonts.conf was not found";
  // An unknown face falls back to some font, like the Windows mapper.
  for (auto [face, file] : {std::pair{"Times New Roman", "LiberationSerif-Regular.ttf"},
                            {"Georgia", "DejaVuSerif.ttf"},
                            {"Corsiva", "Z003-MediumItalic.otf"},
                            {"Teletype", "DejaVuSansMono.ttf"},
                            {"", "DejaVuSans.ttf"},
                            {"No Such Face 123", nullptr}}) {
    std::string path, error;
    EXPECT_TRUE(platform::FindFontFile(face, path, error)) << error;
    if (file != nullptr) {
      EXPECT_EQ(std::filesystem::path(path).filename().string(), file) << face;
    }
  }
}

TEST(FontMetrics, ExtentSumsAdvancesWithoutKerningAndStacksLines) {
  std::string error;
  // On a machine without the face the metrics are another font's: say whose.
  SCOPED_TRACE(platform::FontFallback("Times New Roman"));
  auto font = platform::Font::Open("Times New Roman", 33, error);
  ASSERT_TRUE(font) << error;
  int width = -1, height = -1, sum = 0;
  font->Measure("AVATAR", width, height);
  for (unsigned char c : std::string("AVATAR")) sum += font->Advance(c);
  EXPECT_EQ(width, sum);  // no kerning pulls "AV" together
  EXPECT_EQ(height, font->Height());
  EXPECT_GT(font->Height(), 33);  // ascent plus descent exceed the em
  EXPECT_LT(font->Height(), 2 * 33);

  const int widest = width;
  font->Measure("a\nAVATAR\r\nab", width, height);
  EXPECT_EQ(std::pair(width, height), std::pair(widest, 3 * font->Height()));
  font->Measure("", width, height);
  EXPECT_EQ(std::pair(width, height), std::pair(0, font->Height()));
}

TEST(FontText, WindowsCodePageBytesMapToUnicode) {
  EXPECT_EQ(platform::CodePointOf('A'), 0x41u);
  EXPECT_EQ(platform::CodePointOf(0x80), 0x20ACu);  // euro sign
  EXPECT_EQ(platform::CodePointOf(0x99), 0x2122u);  // trade mark
  EXPECT_EQ(platform::CodePointOf(0xE9), 0xE9u);    // e acute
}
