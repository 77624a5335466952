#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Font.h"
#include "platform/FontLookup.h"

namespace {

std::string FileFor(const std::string& face) {
  std::string path, error;
  EXPECT_TRUE(platform::FindFontFile(face, path, error)) << error;
  return std::filesystem::path(path).filename().string();
}

std::unique_ptr<platform::Font> Open(const std::string& face, int pixels) {
  std::string error;
  auto font = platform::Font::Open(face, pixels, error);
  EXPECT_TRUE(font) << error;
  return font;
}

}  // namespace

TEST(FontFaces, GameFacesMapToThePinnedFreeFonts) {
  EXPECT_FALSE(platform::FontConfigPath().empty()) << "the game's fonts.conf was not found";
  EXPECT_EQ(FileFor("Times New Roman"), "LiberationSerif-Regular.ttf");
  EXPECT_EQ(FileFor("Georgia"), "DejaVuSerif.ttf");
  EXPECT_EQ(FileFor("Corsiva"), "Z003-MediumItalic.otf");
  EXPECT_EQ(FileFor("Teletype"), "DejaVuSansMono.ttf");
  EXPECT_EQ(FileFor(""), "DejaVuSans.ttf");
  EXPECT_FALSE(FileFor("No Such Face 123").empty());  // falls back, like the Windows mapper
}

TEST(FontMetrics, ExtentIsTheSumOfAdvancesByTheLineHeight) {
  auto font = Open("Times New Roman", 33);
  ASSERT_TRUE(font);
  int width = -1, height = -1, sum = 0;
  font->Measure("AVATAR", width, height);
  for (unsigned char c : std::string("AVATAR")) sum += font->Advance(c);
  EXPECT_EQ(width, sum);  // no kerning pulls "AV" together
  EXPECT_EQ(height, font->Height());
  EXPECT_GT(font->Height(), 33);  // ascent plus descent exceed the em
  EXPECT_LT(font->Height(), 2 * 33);
}

TEST(FontMetrics, LinesStackAndEmptyTextIsOneEmptyLine) {
  auto font = Open("Teletype", 16);
  ASSERT_TRUE(font);
  int one = 0, three = 0, height = 0;
  font->Measure("abc", one, height);
  font->Measure("a\nabc\r\nab", three, height);
  EXPECT_EQ(three, one);
  EXPECT_EQ(height, 3 * font->Height());
  font->Measure("", one, height);
  EXPECT_EQ(one, 0);
  EXPECT_EQ(height, font->Height());
}

TEST(FontText, WindowsCodePageBytesMapToUnicode) {
  EXPECT_EQ(platform::CodePointOf('A'), 0x41u);
  EXPECT_EQ(platform::CodePointOf(0x80), 0x20ACu);  // euro sign
  EXPECT_EQ(platform::CodePointOf(0x99), 0x2122u);  // trade mark
  EXPECT_EQ(platform::CodePointOf(0xE9), 0xE9u);    // e acute
}
