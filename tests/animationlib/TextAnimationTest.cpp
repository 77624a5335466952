// Animated text: alignment and per-character placement, colour fades and
// blinks, size growth, and the vertical wave, read from the engine's text queue.
#include <gtest/gtest.h>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/TextAnimation.h"

namespace {

constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kRed = 0xFFFF0000u;

class TextAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Texts are queued and measured without any device to draw them.
    D3DInterface::Create(nullptr, 800, 600, true);
    text.SetFont("Teletype");
    text.SetSize(12);
  }
  void TearDown() override { D3DInterface::Destroy(); }

  static D3DInterface* Engine() { return D3DInterface::GetEngine(); }
  static std::pair<int, int> Extent(const std::string& s, int size = 12) {
    int w = -1, h = -1;
    Engine()->GetTextExtent("Teletype", size, s, &w, &h);
    return {w, h};
  }
  // One frame of the text; returns what it queued and empties the queue.
  std::vector<QueuedText> Frame() {
    text.Update();
    std::vector<QueuedText> queued = D3DInterface::GetTextQueue();
    D3DInterface::Render(nullptr);
    return queued;
  }
  std::vector<int> Tops() {
    std::vector<int> tops;
    for (const QueuedText& queued : Frame()) tops.push_back(queued.rect.top);
    return tops;
  }

  TextAnimation text;
};

TEST_F(TextAnimationTest, AlignmentPlacesTheTextOnItsPositionCentredVertically) {
  text.SetText("Hello");
  text.SetPosition(Vector2(100, 50));
  const auto [w, h] = Extent("Hello");
  ASSERT_GT(w, 0);
  const int top = static_cast<int>(50 - h / 2);
  for (auto [alignment, left] : {std::pair{TextAnimation::ALIGN_LEFT, 100},
                                 {TextAnimation::ALIGN_RIGHT, 100 - w},
                                 {TextAnimation::ALIGN_CENTRE, 100 - w / 2},
                                 {7, 100 - w / 2}}) {
    text.SetAlignment(alignment);
    const std::vector<QueuedText> queued = Frame();
    ASSERT_EQ(queued.size(), 5u);
    EXPECT_EQ(queued[0].rect.left, left) << alignment;
    EXPECT_EQ(queued[0].rect.top, top) << alignment;
    EXPECT_EQ(queued[0].text, "H");
    EXPECT_EQ(queued[4].text, "o");
  }
}

TEST_F(TextAnimationTest, CharactersAdvanceByTheirWidthsAndASpaceByHalfTheSize) {
  text.SetFont("Times New Roman");
  text.SetText("W i");
  text.SetPosition(Vector2(10, 100));
  const std::vector<QueuedText> queued = Frame();
  ASSERT_EQ(queued.size(), 3u);
  int w = 0, h = 0;
  Engine()->GetTextExtent("Times New Roman", 12, "W", &w, &h);
  EXPECT_EQ(queued[0].rect.left, 10);
  EXPECT_EQ(queued[1].rect.left, 10 + w);
  EXPECT_EQ(queued[1].text, " ");
  EXPECT_EQ(queued[2].rect.left, 10 + w + 6);

  text.SetText("");
  EXPECT_TRUE(Frame().empty());
}

TEST_F(TextAnimationTest, FadeRunsToTheEndColourThenRestartsOrTurnsBack) {
  text.SetText("x");
  text.SetColor(255, 255, 255, 255);
  text.FadeTo(255, 0, 255, 255, 4, false);
  // Red byte at timers 0, 0.25, 0.5, 0.75, then 0 again.
  for (int red : {255, 192, 128, 64, 255, 192}) {
    const std::vector<QueuedText> queued = Frame();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].color, 0xFF00FFFFu | (static_cast<D3DCOLOR>(red) << 16)) << red;
  }
  text.FadeTo(255, 0, 255, 255, 4, true);
  for (int red : {255, 192, 128, 64, 0, 64, 128, 192, 255, 192}) {
    EXPECT_EQ(Frame()[0].color, 0xFF00FFFFu | (static_cast<D3DCOLOR>(red) << 16)) << red;
  }
}

TEST_F(TextAnimationTest, PulseBlinksBetweenTheColoursEveryPeriod) {
  text.SetText("x");
  text.Pulse(255, 255, 0, 0, 10);
  std::vector<std::pair<D3DCOLOR, int>> runs;
  for (int i = 0; i < 62; ++i) {
    const D3DCOLOR color = Frame()[0].color;
    if (runs.empty() || runs.back().first != color) runs.push_back({color, 0});
    ++runs.back().second;
  }
  ASSERT_GE(runs.size(), 5u);
  EXPECT_EQ(runs[0].first, kWhite);
  EXPECT_EQ(runs[1].first, kRed);
  for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
    EXPECT_EQ(runs[i].first, i % 2 == 0 ? kWhite : kRed);
    EXPECT_GE(runs[i].second, 9) << i;
    EXPECT_LE(runs[i].second, 11) << i;
  }
  text.SetColor(255, 255, 255, 255);
  EXPECT_EQ(Frame()[0].color, kWhite);
  EXPECT_EQ(Frame()[0].color, kWhite);
}

TEST_F(TextAnimationTest, SizeGrowsOrBlinks) {
  text.SetText("x");
  text.GrowTo(24, 4, false);
  for (int size : {12, 15, 18, 21, 12}) {
    EXPECT_EQ(text.GetCurrentSize(), size);
    Frame();
  }
  EXPECT_EQ(text.BlinkSize(20, 2), &text);
  for (int size : {12, 12, 20, 20, 12, 12, 20}) {
    EXPECT_EQ(text.GetCurrentSize(), size);
    Frame();
  }
  // The characters are drawn at the current size, truncated.
  text.SetSize(13.9f);
  const std::vector<QueuedText> queued = Frame();
  EXPECT_EQ(queued[0].rect.bottom - queued[0].rect.top, Extent("x", 13).second);
}

TEST_F(TextAnimationTest, WaveOffsetsRiseAndFallAlongTheCharacters) {
  text.SetText("ABCDE");
  text.SetPosition(Vector2(100, 50));
  const int base = Tops()[0];
  auto offsets = [&] {
    std::vector<int> tops = Tops();
    for (int& top : tops) top -= base;
    return tops;
  };
  text.SetWave(15, 5, 30, true);
  EXPECT_EQ(offsets(), (std::vector<int>{0, 5, 10, 15, 10}));
  // A frame later the first character's phase has moved on by amplitude / period.
  text.SetWave(15, 5, 3, true);
  offsets();
  EXPECT_EQ(offsets(), (std::vector<int>{5, 10, 15, 10, 5}));
  // A sawtooth drops back by the amplitude instead.
  text.SetWave(10, 4, 30, false);
  EXPECT_EQ(offsets(), (std::vector<int>{0, 4, 8, 2, 6}));

  // Moving by a vector stops the wave; moving by coordinates keeps it.
  text.SetWave(15, 5, 30, true);
  text.SetPosition(100.0f, 50.0f);
  EXPECT_EQ(offsets()[3], 15);
  text.SetPosition(Vector2(100, 50));
  EXPECT_EQ(offsets(), std::vector<int>(5, 0));
}

}  // namespace
