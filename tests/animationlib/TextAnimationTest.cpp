// Animated text: alignment and per-character placement, colour fades and
// blinks, size growth, and the vertical wave, read from the engine's text queue.
#include <gtest/gtest.h>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/TextAnimation.h"

namespace {

class TextAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Texts are queued and measured without any device to draw them.
    D3DInterface::Create(nullptr, 800, 600, true);
    text.SetFont("Teletype");
    text.SetSize(12);
    text.SetText("x");
  }
  void TearDown() override { D3DInterface::Destroy(); }

  static std::pair<int, int> Extent(const std::string& s, int size = 12,
                                    const std::string& font = "Teletype") {
    int w = -1, h = -1;
    D3DInterface::GetEngine()->GetTextExtent(font, size, s, &w, &h);
    return {w, h};
  }
  // One frame of the text; returns what it queued and empties the queue.
  std::vector<QueuedText> Frame() {
    text.Update();
    std::vector<QueuedText> queued = D3DInterface::GetTextQueue();
    D3DInterface::Render(nullptr);
    return queued;
  }
  // The red byte of each of `frames` frames of a one-character text.
  std::vector<int> Reds(int frames) {
    std::vector<int> reds;
    for (int i = 0; i < frames; ++i) reds.push_back(static_cast<int>(Frame()[0].color >> 16 & 255));
    return reds;
  }

  TextAnimation text;
};

TEST_F(TextAnimationTest, AlignmentPlacesTheTextOnItsPositionCentredVertically) {
  text.SetText("Hello");
  text.SetPosition(Vector2(100, 50));
  const auto [w, h] = Extent("Hello");
  ASSERT_GT(w, 0);
  for (auto [alignment, left] : {std::pair{TextAnimation::ALIGN_LEFT, 100},
                                 {TextAnimation::ALIGN_RIGHT, 100 - w},
                                 {TextAnimation::ALIGN_CENTRE, 100 - w / 2},
                                 {7, 100 - w / 2}}) {
    text.SetAlignment(alignment);
    const std::vector<QueuedText> queued = Frame();
    ASSERT_EQ(queued.size(), 5u);
    EXPECT_EQ(queued[0].rect.left, left) << alignment;
    EXPECT_EQ(queued[0].rect.top, static_cast<int>(50 - h / 2)) << alignment;
    EXPECT_EQ(queued[4].text, "o");
  }
}

TEST_F(TextAnimationTest, CharactersAdvanceByTheirWidthsAndASpaceByHalfTheSize) {
  text.SetFont("Times New Roman");
  text.SetText("W i");
  text.SetPosition(Vector2(10, 100));
  const std::vector<QueuedText> queued = Frame();
  ASSERT_EQ(queued.size(), 3u);
  const int w = Extent("W", 12, "Times New Roman").first;
  EXPECT_EQ(queued[0].rect.left, 10);
  EXPECT_EQ(queued[1].rect.left, 10 + w);
  EXPECT_EQ(queued[2].rect.left, 10 + w + 6);
  text.SetText("");
  EXPECT_TRUE(Frame().empty());
}

TEST_F(TextAnimationTest, FadesRestartOrTurnBackAndBlinksJumpBetweenTheColours) {
  text.SetColor(255, 255, 255, 255);
  text.FadeTo(255, 0, 255, 255, 4, false);
  // Red byte at timers 0, 0.25, 0.5, 0.75, then 0 again.
  EXPECT_EQ(Reds(6), (std::vector<int>{255, 192, 128, 64, 255, 192}));
  EXPECT_EQ(Frame()[0].color & 0xFF00FFFFu, 0xFF00FFFFu);  // the other channels stay
  text.FadeTo(255, 0, 255, 255, 4, true);
  EXPECT_EQ(Reds(10), (std::vector<int>{255, 192, 128, 64, 0, 64, 128, 192, 255, 192}));
  text.Pulse(255, 0, 0, 0, 3);
  EXPECT_EQ(Reds(8), (std::vector<int>{255, 255, 255, 0, 0, 0, 255, 255}));
  text.SetColor(255, 255, 255, 255);  // a new colour ends the blink
  EXPECT_EQ(Reds(4), std::vector<int>(4, 255));
}

TEST_F(TextAnimationTest, SizeGrowsOrBlinks) {
  text.GrowTo(24, 4, false);
  for (int size : {12, 15, 18, 21, 12}) {
    EXPECT_EQ(text.GetCurrentSize(), size);
    Frame();
  }
  text.BlinkSize(20, 2);
  for (int size : {12, 12, 20, 20, 12, 12, 20}) {
    EXPECT_EQ(text.GetCurrentSize(), size);
    Frame();
  }
  // The characters are drawn at the current size, truncated.
  text.SetSize(13.9f);
  const QueuedText drawn = Frame()[0];
  EXPECT_EQ(drawn.rect.bottom - drawn.rect.top, Extent("x", 13).second);
}

TEST_F(TextAnimationTest, WaveOffsetsRiseAndFallAlongTheCharacters) {
  text.SetText("ABCDE");
  text.SetPosition(Vector2(100, 50));
  const int base = Frame()[0].rect.top;
  auto offsets = [&] {
    std::vector<int> tops;
    for (const QueuedText& queued : Frame()) tops.push_back(queued.rect.top - base);
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
