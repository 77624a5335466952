// The three playable levels on the generated working folder: each starts with the hero
// landing on its floor and holding its boss trigger, and a frame of its start is saved beside
// the build (build/level_frames) for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

struct LevelCase {
  const char* file;
  const char* trigger;
};

class LevelsRunTest : public ::testing::TestWithParam<LevelCase> {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    m_folder = m_data.Path() / "game";
    testsupport::CopyForPlay(m_folder, "level", GetParam().file);
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(m_folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  void Save(const std::string& what) {
    const std::filesystem::path out = testsupport::BinaryDir() / "level_frames";
    std::filesystem::create_directories(out);
    EXPECT_TRUE(game->SaveFrame((out / (std::string(GetParam().file) + "_" + what + ".png")).string()));
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
  std::filesystem::path m_folder;
};

TEST_P(LevelsRunTest, HeroLandsAtTheStartAndTheLevelHoldsItsBossTrigger) {
  ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
  PlayerObject* hero = World::GetPlayer();
  ASSERT_NE(hero, nullptr);
  int frames = 0;
  while (hero->IsAirborne() && frames < 240) {
    game->RunFrames(1);
    ++frames;
  }
  EXPECT_LT(frames, 240) << "the hero never lands";
  game->RunFrames(30);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  Save("start");

  const bool found = World::GetObjects()->Find(GetParam().trigger) ||
                     World::GetDormantObjects()->Find(GetParam().trigger);
  EXPECT_TRUE(found) << GetParam().trigger;
}

INSTANTIATE_TEST_SUITE_P(
    ShippedLevels, LevelsRunTest,
    ::testing::Values(LevelCase{"junkyard.lvl", "GrindlenautTrigger"},
                      LevelCase{"factory.lvl", "TigerATrigger"},
                      LevelCase{"airship.lvl", "KajeTrigger"}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

// TigerA charges and runs along the floor from one side of the factory arena to the
// other, under both platforms: a platform hanging into its way would hold it for good.
class FactoryArenaTest : public LevelsRunTest {};

TEST_P(FactoryArenaTest, TigerAHasRoomToRunUnderThePlatforms) {
  ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
  std::unique_ptr<Sprite> tiger(World::CloneSprite("TigerA"));
  ASSERT_NE(tiger, nullptr);
  auto* walker = tiger->AsGameObject();
  ASSERT_NE(walker, nullptr);
  walker->SetState(1);
  // The arena lies far from the start, parked with the dormant objects.
  std::vector<Sprite*> arena(World::GetObjects()->GetSprites().begin(), World::GetObjects()->GetSprites().end());
  arena.insert(arena.end(), World::GetDormantObjects()->GetSprites().begin(),
               World::GetDormantObjects()->GetSprites().end());
  for (const float from : {5760.0f, 7552.0f}) {
    walker->MoveTo(Vector2(from, 2751.9f));
    walker->SetVelocity(from < 6656.0f ? 1792.0f : -1792.0f, 0.0f);
    const Contact contact = CheckCollision(walker, arena);
    EXPECT_FALSE(contact.IsHit()) << "from x " << from << " it runs into the object at ("
                                  << contact.b->GetPosition().X() << ", " << contact.b->GetPosition().Y() << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, FactoryArenaTest,
                         ::testing::Values(LevelCase{"factory.lvl", "TigerATrigger"}),
                         [](const auto&) { return std::string("factory"); });

}  // namespace
