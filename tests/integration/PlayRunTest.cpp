// Play on the generated working folder through the real frame loop: the hero
// lands and stands, runs with the camera leading, and the menu keys and a fall
// below the level end play.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <memory>

#include "game/Level.h"
#include "game/PlayerObject.h"
#include "game/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace {

class PlayRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::BinaryDir() / "game";
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    // A copy whose game list starts straight in play on the training ground.
    const std::filesystem::path folder = m_data.Path() / "game";
    std::filesystem::copy(shipped, folder, std::filesystem::copy_options::recursive);
    std::string list = "8 0\n";
    for (int state = 1; state <= 12; ++state) list += state == 8 ? "1 test test.lvl\n" : "0\n";
    std::ofstream(folder / "Gold.vt") << list;
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);  // game list and level, then the set-up frame
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  // Frames until the hero stands on something, at most `limit`.
  int FramesToLand(int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      game->RunFrames(1);
      if (!World::GetPlayer()->IsAirborne()) return frame;
    }
    return limit + 1;
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(PlayRunTest, HeroLandsStandsAndRunsRightWithTheCameraLeading) {
  ASSERT_LE(FramesToLand(240), 240);
  const Vector2 landed = World::GetPlayer()->GetPosition();
  game->RunFrames(20);
  EXPECT_EQ(World::GetPlayer()->GetPosition(), landed) << "standing still";

  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->RunFrames(200);
  const PlayerObject* hero = World::GetPlayer();
  EXPECT_GT(hero->GetPosition().X(), landed.X() + 200.0f);
  EXPECT_TRUE(World::IsCameraLeadingRight());
  const float screenX = hero->GetPosition().X() - World::GetCameraOffset().X();
  const float rightEdge = World::GetLevelUpperBounds().X();
  // Held at 3/10 of the screen unless the camera has reached the level's end.
  if (rightEdge == -1.0f || World::GetCameraOffset().X() + 800.0f < rightEdge) {
    EXPECT_NEAR(screenX, 240.0f, 1.0f);
  }
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
}

TEST_F(PlayRunTest, MenuAndPauseKeysLeavePlay) {
  for (const SDL_Scancode key : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_PAUSE}) {
    World::SetState(STATE_GAMEPLAY);
    World::SetFrameCounter(-2);
    game->KeyDown(key);
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), STATE_PAUSE) << key;
    game->KeyUp(key);
    game->RunFrames(1);
  }
}

TEST_F(PlayRunTest, FallingBelowTheBottomBoundEndsTheGame) {
  const float bottom = World::GetLevelUpperBounds().Y();
  ASSERT_NE(bottom, -1.0f) << "a gameplay level needs a bottom bound";
  World::GetPlayer()->MoveTo(Vector2(World::GetPlayer()->GetPosition().X(), bottom + 400.0f));
  game->RunFrames(1);
  EXPECT_EQ(World::GetState(), STATE_GAME_OVER);
}

}  // namespace
