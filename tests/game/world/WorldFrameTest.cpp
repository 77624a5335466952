// Whole frames through the real loop on the hand-made data, headless and read
// back: the fade and the text queue on screen, the window going to the
// background and coming back, and closing it.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/hud/HUD.h"

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
  // The colours of the untextured full-screen quads one World frame queues.
  static std::vector<D3DCOLOR> ScreenFillsOfAFrame() {
    D3DInterface::ClearQuads();
    World::Update();
    std::vector<D3DCOLOR> fills;
    for (const ScreenQuad& quad : D3DInterface::GetEngine()->GetQuadQueue()) {
      const ScreenVertex& first = quad.vertices[0];
      const ScreenVertex& opposite = quad.vertices[2];
      if (!quad.texture && first.x <= 0.0f && first.y <= 0.0f && opposite.x >= 800.0f &&
          opposite.y >= 600.0f) {
        fills.push_back(first.color);
      }
    }
    D3DInterface::ClearQuads();
    return fills;
  }
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

// An ended fade that shows nothing queues nothing; one that covers the screen,
// even partly, keeps covering it. The HUD keeps the end colour either way.
TEST_F(WorldFrameTest, AnEndedFadeHoldsItsColourUnlessItEndedTransparent) {
  const struct {
    const char* name;
    D3DCOLOR from, to;
    bool held;
  } cases[] = {
      {"FadeInToTransparentBlack", 0xFF000000, 0x00000000, false},
      {"TransparentOfAnyColour", 0x7FFF7FFF, 0x00FF7FFF, false},
      {"FadeOutToOpaqueBlack", 0x00000000, 0xFF000000, true},
      {"HalfTransparentTint", 0x00000000, 0x7F000000, true},
  };
  WriteGameList("", 0);
  InitWorld();
  World::SetNewGame(false);  // play with no level and no hero: only the HUD besides the fade
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World::StartFade(3, c.from, c.to);
    EXPECT_EQ(ScreenFillsOfAFrame().size(), 1u) << "a running fade is drawn";
    game->RunFrames(5);
    const std::vector<D3DCOLOR> fills = ScreenFillsOfAFrame();
    EXPECT_EQ(fills, c.held ? std::vector<D3DCOLOR>{c.to} : std::vector<D3DCOLOR>{});
    EXPECT_EQ(HUD::GetInstance()->GetColor(), c.to);
  }
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
