// Combat through the real frame loop on the generated data: S swings the
// sword combo, D fires shots into the main list, and an enemy touching the
// hero cracks orbs on the HUD until the game is over.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/EnemyObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

class CombatRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    const std::filesystem::path folder = m_data.Path() / "game";
    testsupport::CopyForPlay(folder, "test", "test.lvl");
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(Hero(), nullptr);
    for (int frame = 0; frame < 240 && Hero()->IsAirborne(); ++frame) game->RunFrames(1);
    ASSERT_FALSE(Hero()->IsAirborne());
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  static PlayerObject* Hero() { return World::GetPlayer(); }
  void Press(SDL_Scancode key) {
    game->KeyDown(key);
    game->RunFrames(1);
    game->KeyUp(key);
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(CombatRunTest, SKeySwingsTheRedComboInsideTheWindow) {
  Hero()->SetOrbs(ORB_RED, ORB_RED, ORB_RED);
  const float damages[] = {4.0f, 8.0f, 11.0f};
  for (int swing = 0; swing < 3; ++swing) {
    if (swing > 0) game->RunFrames(9);  // the press lands 10 frames after the last swing
    Press(SDL_SCANCODE_S);
    ASSERT_EQ(Hero()->GetStateHandler(), &PlayerObject::StateSword) << swing;
    EXPECT_EQ(Hero()->GetState(), 4 + swing);
    EXPECT_FLOAT_EQ(Hero()->GetAttackDamage(), damages[swing]);
  }
  game->RunFrames(60);
  EXPECT_EQ(Hero()->GetStateHandler(), &PlayerObject::StateGround) << "the last swing ends the state";
}

TEST_F(CombatRunTest, DKeyPutsShotsWithTheirLookAndDamageInTheMainList) {
  Hero()->SetOrbs(ORB_GREEN, ORB_PLAIN, ORB_PLAIN);
  Press(SDL_SCANCODE_D);
  std::vector<GameObject*> shots;
  for (int frame = 0; frame < 60 && shots.empty(); ++frame) {
    game->RunFrames(1);
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      if (sprite->GetName() == "Shot") shots.push_back(static_cast<GameObject*>(sprite));
    }
  }
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0]->GetState(), 8);
  EXPECT_FLOAT_EQ(shots[0]->GetFlag("Damage"), 2.0f);
  EXPECT_FLOAT_EQ(std::abs(shots[0]->GetVelocity().X()), 10.0f);
}

TEST_F(CombatRunTest, AnEnemyTouchingTheHeroCracksOrbsUntilTheGameIsOver) {
  const std::vector<std::uint32_t> before = game->ReadFrame();
  Sprite* rat = World::FindPrototype("Rat");
  ASSERT_NE(rat, nullptr);
  auto* enemy = new EnemyObject("TestEnemy", rat->GetAnimation(), Hero()->GetPosition(),
                                NO_CALLBACKS, 0.0f);
  World::GetObjects()->Add(enemy);
  game->RunFrames(2);
  ASSERT_EQ(Hero()->GetHealth(), 2);
  EXPECT_EQ(HUD::FindObject("CrackedOrb3")->GetFrame(), 1);
  game->SaveFrame((testsupport::BinaryDir() / "combat_hit.png").string());
  // The back orb's slot shows the crack overlay now.
  const std::vector<std::uint32_t> after = game->ReadFrame();
  int changed = 0;
  for (int y = 113 - 14; y <= 113 + 14; ++y) {
    for (int x = 253 - 14; x <= 253 + 14; ++x) {
      changed += testharness::GameHarness::PixelAt(before, x, y) !=
                 testharness::GameHarness::PixelAt(after, x, y);
    }
  }
  EXPECT_GT(changed, 20);

  // The enemy stays: a hit every time the blink ends.
  for (int frame = 0; frame < 600 && World::GetState() == STATE_GAMEPLAY; ++frame) {
    enemy->MoveTo(Hero()->GetPosition());
    game->RunFrames(1);
  }
  EXPECT_EQ(World::GetState(), STATE_GAME_OVER);
}

}  // namespace
