// Whole frames through the real loop, headless: the fade and the text queue on
// screen, focus changes arriving as window events, and quitting.
#include <gtest/gtest.h>

#include <cstdlib>

#include "WorldTestKit.h"
#include "game/World.h"
#include "harness/GameHarness.h"

namespace {

using testharness::GameHarness;

int gHandlerCalls = 0;
int CountingHandler(int*) {
  ++gHandlerCalls;
  return STATE_HIGH_SCORES;
}

class WorldFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GameHarness::Options options;
    options.initWorld = false;  // no game data here
    game = std::make_unique<GameHarness>(options);
    input = std::make_unique<worldtest::ScopedInput>();  // every active frame reads it
    saved = World::GetStateHandler(STATE_HIGH_SCORES);
    World::SetStateHandler(STATE_HIGH_SCORES, CountingHandler);
    World::SetState(STATE_HIGH_SCORES);
    World::StartFade(0, 0xFF000000, 0xFF000000);
    gHandlerCalls = 0;
  }
  void TearDown() override {
    World::SetStateHandler(STATE_HIGH_SCORES, saved);
    World::StartFade(0, 0xFF000000, 0xFF000000);
    input.reset();
    game.reset();
  }

  std::uint32_t Centre() { return GameHarness::PixelAt(game->ReadFrame(), 400, 300); }

  // True when any pixel of the rectangle differs from `background`.
  bool Drawn(int x, int y, int w, int h, std::uint32_t background) {
    const std::vector<std::uint32_t> frame = game->ReadFrame();
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) {
        if (GameHarness::PixelAt(frame, i, j) != background) return true;
      }
    }
    return false;
  }

  std::unique_ptr<GameHarness> game;
  std::unique_ptr<worldtest::ScopedInput> input;
  StateHandler saved = nullptr;
};

TEST_F(WorldFrameTest, FadeCoversTheScreenStepByStepAndHoldsItsEndColour) {
  World::StartFade(2, 0xFFFFFFFF, 0xFFFF0000);
  game->RunFrames(1);
  EXPECT_EQ(Centre(), 0xFFFF8080u);
  EXPECT_EQ(GameHarness::PixelAt(game->ReadFrame(), 0, 0), 0xFFFF8080u);
  EXPECT_EQ(GameHarness::PixelAt(game->ReadFrame(), 799, 599), 0xFFFF8080u);
  game->RunFrames(1);
  EXPECT_EQ(Centre(), 0xFFFF0000u);
  game->RunFrames(3);
  EXPECT_EQ(Centre(), 0xFFFF0000u);
}

TEST_F(WorldFrameTest, QueuedTextIsDrawnOnceOverTheFade) {
  World::StartFade(1, 0xFF0000FF, 0xFF0000FF);
  World::QueueText({"", 30, 100.0f, 100.0f, "Vantrel", 0xFFFFFFFF});
  game->RunFrames(1);
  EXPECT_TRUE(Drawn(100, 100, 150, 40, 0xFF0000FF));
  game->RunFrames(1);
  EXPECT_FALSE(Drawn(100, 100, 150, 40, 0xFF0000FF));
}

TEST_F(WorldFrameTest, LostFocusStopsTheStateButKeepsDrawing) {
  game->RunFrames(1);
  EXPECT_EQ(gHandlerCalls, 1);

  game->LoseFocus();
  World::StartFade(1, 0xFF00FF00, 0xFF00FF00);
  World::QueueText({"", 30, 100.0f, 100.0f, "Paused", 0xFFFFFFFF});
  game->RunFrames(1);
  EXPECT_TRUE(World::IsInactive());
  EXPECT_EQ(Centre(), 0xFF00FF00u);
  EXPECT_TRUE(Drawn(100, 100, 150, 40, 0xFF00FF00));
  game->RunFrames(1);
  EXPECT_FALSE(Drawn(100, 100, 150, 40, 0xFF00FF00));
  EXPECT_EQ(gHandlerCalls, 1);

  game->GainFocus();
  game->RunFrames(1);
  EXPECT_FALSE(World::IsInactive());
  EXPECT_EQ(gHandlerCalls, 2);
  EXPECT_EQ(World::GetReferenceCount(), 1);  // the focus handles were temporary
}

TEST_F(WorldFrameTest, ClosingTheWindowEndsTheLoopBeforeAnotherFrame) {
  game->RunFrames(2);
  game->CloseWindow();
  EXPECT_EQ(game->RunFrames(5), 0);
  EXPECT_TRUE(game->QuitRequested());
  EXPECT_EQ(game->FramesRun(), 2);
}

}  // namespace
