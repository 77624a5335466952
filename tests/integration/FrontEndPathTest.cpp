// A new player's path with only the keyboard, on a copy of the generated working
// folder as shipped: intro, menu, story, credits, options, a level and back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "animationlib/SpriteCollection.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class FrontEndPath : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path shipped = testsupport::BinaryDir() / "game";
    ASSERT_TRUE(fs::exists(shipped / "intro.lvl")) << "build the gamedata target first";
    fs::copy(shipped, m_data.Path() / "game", fs::copy_options::recursive);
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(m_data.Path() / "game");
    game = std::make_unique<testharness::GameHarness>();
    ASSERT_TRUE(game->InitResult());
  }
  void TearDown() override {
    World::StartFade(0, 0xFF000000, 0xFF000000);
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  bool RunUntil(const std::function<bool()>& done, int frames) {
    for (int i = 0; i < frames; ++i) {
      if (done()) return true;
      if (game->RunFrames(1) != 1) return done();
    }
    return done();
  }
  bool Idle(int state, int counter, int frames = 800) {
    return RunUntil([=] { return World::GetState() == state && World::GetFrameCounter() == counter; },
                    frames);
  }
  void Press(SDL_Scancode key) {
    game->KeyDown(key);
    game->RunFrames(1);
    game->KeyUp(key);
  }
  static Sprite* SelectedCard() {
    for (Sprite* card : World::GetObjects()->FindAll("MenuOptions"))
      if (card->GetDepth() == 4.0f) return card;
    return nullptr;
  }
  // Turns the menu wheel until `item` is selected; false when it never comes.
  bool Select(int item) {
    for (int turn = 0; turn < 6; ++turn) {
      if (!Idle(STATE_MAIN_MENU, 71)) return false;
      if (SelectedCard() && SelectedCard()->GetFrame() == item) return true;
      Press(SDL_SCANCODE_DOWN);
    }
    return false;
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(FrontEndPath, IntroMenuStoryCreditsOptionsALevelAndBackWithTheKeyboard) {
  enum Item { kStart = 0, kOptions = 1, kCredits = 4, kStory = 5 };
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_INTRO);
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));

  ASSERT_TRUE(Select(kStory));
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_STORY; }, 400));
  for (int page = 0; page < 3; ++page) {
    const int wait = page == 0 ? 205 : page == 1 ? 411 : 514;
    ASSERT_TRUE(Idle(STATE_STORY, wait)) << page;
    Press(SDL_SCANCODE_SPACE);
  }
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));

  ASSERT_TRUE(Select(kCredits));
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_CREDITS; }, 400));
  game->KeyDown(SDL_SCANCODE_RETURN);  // fast-forward
  ASSERT_TRUE(RunUntil([] { return World::GetState() != STATE_CREDITS; }, 1300));
  game->KeyUp(SDL_SCANCODE_RETURN);
  EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));

  ASSERT_TRUE(Select(kOptions));
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  Press(SDL_SCANCODE_ESCAPE);
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));

  ASSERT_TRUE(Select(kStart));
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_GAMEPLAY && World::GetPlayer(); }, 400));
  game->RunFrames(30);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);

  // "Display menu", then abort the level.
  Press(SDL_SCANCODE_ESCAPE);
  ASSERT_TRUE(Idle(STATE_PAUSE, 62));
  Press(SDL_SCANCODE_DOWN);
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  EXPECT_EQ(World::GetPlayer(), nullptr);
  EXPECT_EQ(World::GetObjects()->FindAll("MenuSword").size(), 1u);
  EXPECT_EQ(World::GetObjects()->FindAll("MenuOptions").size(), 3u);
  // The menu is on screen: the selected card stands out from the backdrop beside it.
  const std::vector<std::uint32_t> frame = game->ReadFrame();
  ASSERT_FALSE(frame.empty());
  EXPECT_NE(testharness::GameHarness::PixelAt(frame, 430, 460),
            testharness::GameHarness::PixelAt(frame, 300, 560));
}

}  // namespace
