// Texts shown together on a screen: what counts as covering another or leaving the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "TextRules.h"

namespace {

constexpr D3DCOLOR kOpaque = 0xFFFFFFFF;
constexpr D3DCOLOR kFading = 0x7FFFFFFF;

TextEntry Label(const char* text, float x, float y, D3DCOLOR color = kOpaque) {
  return {"Corsiva", 20, x, y, text, color};
}

class ShownTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { D3DInterface::Create(nullptr, 800, 600, true); }
  void TearDown() override { D3DInterface::Destroy(); }
};

TEST_F(ShownTextsTest, OnlyDifferentLabelsAtFullStrengthClashAndOnlyRestingOnesMustFit) {
  using Frames = std::vector<std::vector<TextEntry>>;
  struct Case {
    const char* name;
    bool still;
    Frames frames;
    std::string expected;  // a piece of the only message, or "" for none
  };
  const Case cases[] = {
      {"two labels on top of each other",
       false,
       {{Label("Alpha", 100, 100), Label("Beta", 110, 104)}},
       "overlap by up to "},
      {"a label and its own trail",
       false,
       {{Label("Alpha", 100, 100), Label("Alpha", 104, 102)}},
       ""},
      {"labels one above the other",
       false,
       {{Label("Alpha", 100, 100), Label("Beta", 100, 200)}},
       ""},
      {"a label still fading in over another",
       false,
       {{Label("Alpha", 100, 100), Label("Beta", 110, 104, kFading)}},
       ""},
      {"a label resting across the right edge",
       false,
       {{Label("Far right", 780, 100)}, {Label("Far right", 780, 100)}},
       "px past the right edge of the 800 x 600 screen"},
      {"a label sliding in from beyond the left edge",
       false,
       {{Label("Arriving", -60, 100)}, {Label("Arriving", -50, 100)}},
       ""},
      {"a still page with a line below the bottom",
       true,
       {{Label("Low line", 100, 590)}},
       "px past the bottom edge"},
  };
  for (const Case& c : cases) {
    validator::ShownTexts texts("credits", c.still);
    int frame = 0;
    for (const auto& shown : c.frames) texts.Frame(++frame, shown);
    validator::Problems problems;
    texts.Report(problems);
    if (c.expected.empty()) {
      EXPECT_EQ(problems.Count(), 0u) << c.name << ": " << problems.Lines().front();
      continue;
    }
    ASSERT_EQ(problems.Count(), 1u) << c.name;
    const std::string& line = problems.Lines().front();
    EXPECT_EQ(line.rfind("credits: ", 0), 0u) << line;
    EXPECT_NE(line.find(c.expected), std::string::npos) << c.name << ": " << line;
  }
}

// The screen's last column and row are on it: a label ending right on an edge fits.
TEST_F(ShownTextsTest, ALabelEndingExactlyOnTheScreensEdgeFits) {
  int w = 0, h = 0;
  D3DInterface::GetEngine()->GetTextExtent("Corsiva", 20, "Edge", &w, &h);
  ASSERT_GT(w, 0);
  const float right = static_cast<float>(800 - w), bottom = static_cast<float>(600 - h);
  const struct {
    const char* name;
    float x, y;
    bool fits;
  } cases[] = {
      {"on the right edge", right, 100, true},
      {"in the bottom right corner", right, bottom, true},
      {"a pixel past the right edge", right + 1, 100, false},
      {"a pixel past the bottom edge", 100, bottom + 1, false},
  };
  for (const auto& c : cases) {
    validator::ShownTexts texts("story", true);
    texts.Frame(1, {Label("Edge", c.x, c.y)});
    validator::Problems problems;
    texts.Report(problems);
    EXPECT_EQ(problems.Count() == 0, c.fits) << c.name;
  }
}

TEST_F(ShownTextsTest, AFaultIsToldOnceAtItsWorstWithTheFrameItFirstShowsOn) {
  validator::ShownTexts texts("credits", false);
  // Beta closes in on Alpha over three frames, then moves away.
  const float xs[] = {300, 150, 104, 400};
  int frame = 0;
  for (float x : xs) texts.Frame(++frame, {Label("Alpha", 100, 100), Label("Beta", x, 100)});
  validator::Problems problems;
  texts.Report(problems);
  ASSERT_EQ(problems.Count(), 1u);
  const std::string& line = problems.Lines().front();
  EXPECT_NE(line.find("\"Alpha\" and \"Beta\""), std::string::npos) << line;
  EXPECT_NE(line.find("(first on frame 2)"), std::string::npos) << line;
  // The worst overlap is the one at x 104, four pixels in, wider than the one at x 150.
  int alpha = 0, beta = 0, height = 0;
  D3DInterface::GetEngine()->GetTextExtent("Corsiva", 20, "Alpha", &alpha, &height);
  D3DInterface::GetEngine()->GetTextExtent("Corsiva", 20, "Beta", &beta, &height);
  const int worst = std::min(100 + alpha, 104 + beta) - 104;
  EXPECT_NE(line.find("up to " + std::to_string(worst) + " x "), std::string::npos) << line;
}

}  // namespace
