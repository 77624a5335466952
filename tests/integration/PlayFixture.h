// Play on a copy of the generated working folder whose game list starts straight
// in play on the training ground, through the real frame loop.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace playtest {

class PlayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    m_folder = m_data.Path() / "game";
    testsupport::CopyForPlay(m_folder, "test", "test.lvl");
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(m_folder);
    if (StartsInSetUp()) StartGame();
  }
  // Fixtures that write their own level start the game themselves.
  virtual bool StartsInSetUp() const { return true; }
  // The game list starts play on `level`, a file of the working folder.
  void StartOn(const std::string& level) {
    std::ofstream(m_folder / "Gold.vt") << testsupport::PlayList("test", level);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  // A fresh game on the same folder: game list and level, then the set-up frame.
  void StartGame() {
    game.reset();
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
  }
  // Frames until the hero stands on something, at most `limit`.
  int FramesToLand(int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      game->RunFrames(1);
      if (!World::GetPlayer()->IsAirborne()) return frame;
    }
    return limit + 1;
  }
  // Keys flip their action on every event, so only held keys may be released.
  void Release(SDL_Scancode key, ActionBits action) {
    if (Input::GetInstance()->IsHeld(action)) game->KeyUp(key);
  }
  static PlayerObject* Hero() { return World::GetPlayer(); }
  const std::filesystem::path& Folder() const { return m_folder; }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::filesystem::path m_folder;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

}  // namespace playtest
