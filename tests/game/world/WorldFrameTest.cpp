// Whole frames through the real loop on the hand-made data, headless and read
// back: the fade and the text queue on screen, the window going to the
// background and coming back, and closing it.
#include <gtest/gtest.h>

#include <utility>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"

namespace {

using testharness::GameHarness;

class WorldFrameTest : public worldtest::WorldDataTest {
 protected:
  std::uint32_t At(int x, int y) { return GameHarness::PixelAt(game->ReadFrame(), x, y); }
  // True when a pixel where the queued text goes differs from `background`.
  bool TextDrawn(std::uint32_t background) {
    const std::vector<std::uint32_t> frame = game->ReadFrame();
    for (int y = 200; y < 240; ++y) {
      for (int x = 200; x < 350; ++x) {
        if (GameHarness::PixelAt(frame, x, y) != background) return true;
      }
    }
    return false;
  }
  static void QueueText() { World::QueueText({"", 30, 200.0f, 200.0f, "Vantrel", 0xFFFFFFFF}); }
};

TEST_F(WorldFrameTest, FadeCoversTheScreenStepByStepAndQueuedTextIsDrawnOnceOverIt) {
  WriteGameList("", 0);
  InitWorld();
  World::SetNewGame(false);  // play with no level and no hero: nothing to set up
  World::StartFade(2, 0xFFFFFFFF, 0xFF800000);
  QueueText();
  game->RunFrames(1);
  for (const auto& [x, y] : {std::pair(0, 0), std::pair(400, 300), std::pair(799, 599)}) {
    EXPECT_EQ(At(x, y), 0xFFC08080u) << x << "," << y;
  }
  EXPECT_TRUE(TextDrawn(0xFFC08080));
  game->RunFrames(1);
  EXPECT_EQ(At(400, 300), 0xFF800000u);
  EXPECT_FALSE(TextDrawn(0xFF800000));
  game->RunFrames(3);  // the end colour holds
  EXPECT_EQ(At(400, 300), 0xFF800000u);
}

TEST_F(WorldFrameTest, InTheBackgroundGameplayIsDrawnButNothingMovesOrReadsInput) {
  worldtest::WriteText(Root() / "one.lvl", "0 0 0 0 0 0 0 -1 -1 -1 -1 1 Gate 100 100 0 0 0 0 0 0");
  WriteGameList("one one.lvl", 1);
  InitWorld();
  World::SetNewGame(false);  // the level has no hero to start a game with
  game->RunFrames(1);        // the game list and the level
  Sprite* gate = World::GetObjects()->Find("Gate");
  ASSERT_NE(gate, nullptr);
  gate->SetVelocity(5.0f, 0.0f);
  game->LoseFocus();
  QueueText();
  game->RunFrames(1);
  EXPECT_FALSE(Input::GetInstance()->IsEnabled());
  EXPECT_EQ(At(108, 108), worldtest::kPaint);
  EXPECT_TRUE(TextDrawn(At(700, 500)));
  game->RunFrames(1);
  EXPECT_EQ(gate->GetPosition(), Vector2(100.0f, 100.0f));
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);

  game->GainFocus();
  game->RunFrames(1);
  EXPECT_TRUE(Input::GetInstance()->IsEnabled());
  EXPECT_EQ(World::GetReferenceCount(), 1);  // the focus handles were temporary
  game->CloseWindow();                       // the loop ends before another frame
  EXPECT_EQ(game->RunFrames(5), 0);
  EXPECT_EQ(game->FramesRun(), 4);
}

}  // namespace
