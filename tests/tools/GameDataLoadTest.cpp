// The generated working folder read by the game's own readers: the game list,
// the sound list, every prototype and every level the game list names, with the
// cross references a playable data set must keep. A reference the readers cannot
// follow (an unknown name, a frame an animation lacks) stops the test program
// with the reader's message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "Generator.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGroundPolygon = 2;

// A tile or wall: solid for whatever meets it, and nothing else.
bool OnlyGround(const GameObject& object) {
  const auto& polygons = object.GetCollisionShape().GetPolygons();
  return !polygons.empty() && std::all_of(polygons.begin(), polygons.end(), [](const auto& p) {
    return p.GetType() == kGroundPolygon;
  });
}

class GameDataLoad : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir;
    assetgen::Generate({testsupport::SourceDir() / "assets", Game(), fs::path()});
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  static fs::path Game() { return s_dir->Path() / "game"; }

  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    cwd = std::make_unique<testsupport::ScopedCurrentDir>(Game());
    testharness::GameHarness::Options options;
    options.initWorld = false;
    game = std::make_unique<testharness::GameHarness>(options);
    ASSERT_TRUE(World::Init(&game->Window()));
    startState = World::LoadGame("Gold.vt");
  }
  void TearDown() override {
    game.reset();
    cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

  static testsupport::TempDir* s_dir;
  testsupport::TempDir config;
  std::unique_ptr<testsupport::ScopedCurrentDir> cwd;
  std::unique_ptr<testharness::GameHarness> game;
  int startState = 0;
};

testsupport::TempDir* GameDataLoad::s_dir = nullptr;

TEST_F(GameDataLoad, EveryListedAnimationAndSoundLoadsAndTheHeroHasItsStates) {
  for (const Animation* animation : World::GetAnimationPool()->GetAnimations()) {
    EXPECT_GT(animation->GetFrameCount(), 0) << "\"" << animation->GetName() << "\" did not load";
  }
  const auto* hero = static_cast<GameObject*>(World::GetPrototypePool()->Find(World::kPlayerName));
  ASSERT_NE(hero, nullptr) << "the player's prototype is missing";
  std::set<int> states;
  for (const StateAnimation& entry : hero->GetStateAnimations()) states.insert(entry.state);
  for (int state : {1, 2, 3, 15, 16, 17, 18, 19, 20, 22}) EXPECT_TRUE(states.count(state)) << state;

  SoundEngine engine;
  std::ifstream list(Game() / "Sounds.vtse");
  int count = 0;
  list >> count;
  for (int i = 0; i < count; ++i) {
    std::string name, file;
    list >> name >> file;
    int kind = 0;
    int index = 0;
    EXPECT_TRUE(engine.Find(name, kind, index)) << name << " (" << file << ")";
  }

  EXPECT_FALSE(World::GetLevelList(startState)->names.empty());
  EXPECT_FALSE(World::GetLevelList(STATE_GAMEPLAY)->names.empty());
  EXPECT_TRUE(World::GetLevelList(STATE_LEVEL_COMPLETE)->names.empty());
}

TEST_F(GameDataLoad, EveryLevelLoadsAndKeepsItsBoundsAroundWhatPlaysInIt) {
  const std::set<std::string> gameplay(World::GetLevelList(STATE_GAMEPLAY)->names.begin(),
                                       World::GetLevelList(STATE_GAMEPLAY)->names.end());
  std::set<std::string> seen;
  for (const LevelEntry& entry : World::GetLevelEntries()) {
    if (!seen.insert(entry.name).second) continue;
    SCOPED_TRACE(entry.file);
    ASSERT_TRUE(World::LoadLevel(entry.name, true));
    const Level* level = World::GetCurrentLevel();
    ASSERT_EQ(level->GetName(), entry.name) << "the level file did not open";

    for (const std::string& track : level->GetTrackFiles()) {
      EXPECT_TRUE(fs::exists(track)) << track;
    }
    if (level->GetAmbientTrack() != "0") {
      EXPECT_TRUE(fs::exists(level->GetAmbientTrack()));
    }

    if (gameplay.count(entry.name)) {
      // Enemies below the bottom bound die at once, and a player there has lost.
      ASSERT_NE(level->GetYUpper(), -1) << "a gameplay level needs a bottom bound";
      const GameObject* player = level->GetPlayer();
      ASSERT_NE(player, nullptr) << "a gameplay level needs the player";
      const float bottom = static_cast<float>(level->GetYUpper());
      EXPECT_LT(player->GetPosition().Y(), bottom);
      for (const auto& object : level->GetMainObjects()) {
        // Ground may run on past the bound: it only keeps the foot of the screen painted.
        if (OnlyGround(*object)) continue;
        EXPECT_LE(object->GetPosition().Y(), bottom) << object->GetName();
      }
    } else {
      // Front-end levels: walls or a player would show on the menus.
      EXPECT_EQ(level->GetPlayer(), nullptr);
      EXPECT_EQ(World::GetLevelLowerBounds(), Vector2(-1.0f, -1.0f));
      EXPECT_EQ(World::GetLevelUpperBounds(), Vector2(-1.0f, -1.0f));
    }
  }
}

}  // namespace
