// Start-up loading: the loading screen's frames and captions, the prototype
// pool, the game list, and finding and cloning prototypes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "WorldTestKit.h"
#include "animationlib/SpriteCollection.h"
#include "game/GameObject.h"
#include "game/Level.h"
#include "platform/Gfx.h"

namespace {

using worldtest::WriteText;

struct LoadingFrame {
  float percent;
  std::string caption;
  int barPixels;  // pixels of the bar's colour along one row through it
};
std::vector<LoadingFrame> gFrames;

void RecordFrame(float percent, const std::string& caption) {
  std::vector<std::uint32_t> pixels;
  D3DInterface::GetEngine()->GetDevice()->ReadPixels(pixels);
  int bar = 0;
  for (int x = 0; x < 800; ++x) bar += pixels[560 * 800 + x] == worldtest::kBarColor;
  gFrames.push_back({percent, caption, bar});
}

class WorldLoadingTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    gFrames.clear();
  }
  static GameObject* Prototype(const std::string& name) {
    return static_cast<GameObject*>(World::GetPrototypePool()->Find(name));
  }
};

TEST_F(WorldLoadingTest, InitShowsSevenCaptionedStepsThenOneFramePerPrototype) {
  World::SetLoadingFrameObserver(RecordFrame);
  InitWorld();
  const char* const steps[] = {"Tutorial Template", "Sound Engine",   "Sound Effects",
                               "Input Handling",    "HUD Art Assets", "Physics Engine",
                               "World Objects"};
  const char* const prototypes[] = {"ZodirazO", "Tile", "Rat", "Gate", "TutorialTrigger"};
  ASSERT_EQ(gFrames.size(), 12u);
  for (int i = 0; i < 12; ++i) {
    const float percent =
        i < 7 ? 30.0f * static_cast<float>(i + 1) / 7.0f : 30.0f + 14.0f * (i - 7);
    const std::string caption =
        i < 7 ? steps[i] : std::string(prototypes[i - 7]) + " Sprite Assets";
    EXPECT_FLOAT_EQ(gFrames[i].percent, percent) << caption;
    EXPECT_EQ(gFrames[i].caption, caption);
    EXPECT_NEAR(gFrames[i].barPixels, 2.0f * percent, 1.5f) << caption;  // a 200-pixel bar
  }
  EXPECT_EQ(World::GetLoadingPercent(), 100.0f);
  EXPECT_EQ(World::GetObjects()->Count(), 0);  // the loading screen is gone
  EXPECT_EQ(World::GetPrototypePool()->Count(), 5);
}

TEST_F(WorldLoadingTest, PrototypesTakeTheirStatesAndTuningAndKeyZeroOnlyShows) {
  WriteText(Root() / "data" / "Rat.ini", "2.5 rat speed\n");
  InitWorld();
  const GameObject* hero = Prototype("ZodirazO");
  ASSERT_EQ(hero->GetStateAnimations().size(), 2u);
  EXPECT_EQ(hero->GetAnimation()->GetName(), "hero_idle");
  EXPECT_EQ(hero->GetStateAnimations()[1].state, 2);
  EXPECT_EQ(hero->GetStateAnimations()[1].animation->GetName(), "hero_run");
  EXPECT_EQ(hero->GetMovement().groundMaxSpeed, 7.5f);
  EXPECT_EQ(Prototype("Rat")->GetMovement().groundMaxSpeed, 2.5f);
  // Key 0 only: the first animation shows as state 1 and nothing else is registered.
  const GameObject* tile = Prototype("Tile");
  ASSERT_EQ(tile->GetStateAnimations().size(), 1u);
  EXPECT_EQ(tile->GetStateAnimations()[0].state, 1);
  EXPECT_EQ(tile->GetAnimation()->GetName(), "tiles");
}

TEST_F(WorldLoadingTest, MissingPrototypeListFailsInitAndMissingSoundListStopsIt) {
  std::filesystem::remove(Root() / "SpriteList.vtsl");
  EXPECT_FALSE(StartWorld());
  game.reset();
  std::filesystem::remove(Root() / "Sounds.vtse");
  EXPECT_DEATH(StartWorld(), "Assertion failed: bLoadSoundEffects");
}

// (file, content, what the game says as it stops)
using BrokenList = std::tuple<const char*, const char*, const char*>;
class BrokenListTest : public WorldLoadingTest, public ::testing::WithParamInterface<BrokenList> {};

TEST_P(BrokenListTest, StopsWithItsAssertionOrAMessageNamingFileAndToken) {
  const auto [file, content, message] = GetParam();
  WriteText(Root() / file, content);
  EXPECT_DEATH(StartWorld(), message);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BrokenListTest,
    ::testing::Values(
        BrokenList("Sounds.vtse", "-1", "Assertion failed: nEffectsCount >= 0"),
        BrokenList("SpriteList.vtsl", "-2", "Assertion failed: spriteCount >= 0"),
        BrokenList("SpriteList.vtsl", "1 Rat 0", "Assertion failed: animationCount >= 1"),
        BrokenList("SpriteList.vtsl", "2 Rat 1 1 animations/rat_walk.acd Gate 1",
                   "Data file \"SpriteList.vtsl\": the file ends where a state key of \"Gate\""),
        BrokenList(
            "SpriteList.vtsl", "1 Rat 1e40",
            "expected the animation count of \"Rat\" \\(a whole number\\), found \"1e40\"")),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(WorldLoadingTest, GameListReadTwiceAppendsEverythingAgain) {
  InitWorld();
  WriteText(Root() / "Gold.vt",
            "8 1 1 intro i.lvl 0 0 0 0 0 0 2 junkyard j.lvl factory f.lvl 0 0 0 0");
  EXPECT_EQ(World::LoadGame("Gold.vt"), STATE_GAMEPLAY);
  EXPECT_EQ(World::GetCurrentEntry(), 0);
  EXPECT_EQ(World::GetLevelList(STATE_GAMEPLAY)->index, 1);
  ASSERT_EQ(World::GetLevelEntries().size(), 3u);
  EXPECT_EQ(World::GetLevelEntries()[2].file, "f.lvl");
  World::LoadGame("Gold.vt");
  EXPECT_EQ(World::GetLevelEntries().size(), 6u);
  EXPECT_EQ(World::GetLevelList(STATE_GAMEPLAY)->names,
            (std::vector<std::string>{"junkyard", "factory", "junkyard", "factory"}));

  EXPECT_DEATH(World::LoadGame("nowhere.vt"), "Assertion failed: file.is_open\\(\\)");
  WriteText(Root() / "a.vt", "-1 0");
  EXPECT_DEATH(World::LoadGame("a.vt"), "Assertion failed: nextState >= 0");
  WriteText(Root() / "b.vt", "1 0 0 -3");
  EXPECT_DEATH(World::LoadGame("b.vt"), "Assertion failed: levelCount >= 0");
  // An index past the start list would be read on the first frame; state 0 would
  // read the file again every frame.
  WriteText(Root() / "c.vt", "8 2 0 0 0 0 0 0 0 2 a a.lvl b b.lvl 0 0 0 0");
  EXPECT_DEATH(World::LoadGame("c.vt"), "start level index 2 is not one of the 2 levels");
  WriteText(Root() / "d.vt", "0 0 0 0 0 0 0 0 0 0 0 0 0 0");
  EXPECT_DEATH(World::LoadGame("d.vt"), "start state 0 is not a state 1 to 12");
}

TEST_F(WorldLoadingTest, PrototypesAreFoundOnlyThroughALoadedLevelGlobalPoolFirst) {
  WriteText(Root() / "own.lvl",
            "2 Rat 1 1 animations/gate.acd Crate 1 1 animations/gate.acd 0 0 0 0 0 0 "
            "-1 -1 -1 -1 0 0 0 0");
  WriteGameList("own own.lvl", 1);
  InitWorld();
  EXPECT_EQ(World::FindPrototype("Rat"), nullptr);  // no level yet
  World::LoadGame("Gold.vt");
  ASSERT_TRUE(World::LoadLevel("own", false));
  EXPECT_EQ(World::FindPrototype("Rat"), World::GetPrototypePool()->Find("Rat"));
  Sprite* crate = World::FindPrototype("Crate");
  ASSERT_EQ(crate, World::GetCurrentLevel()->GetPrototypePool()->Find("Crate"));

  std::unique_ptr<Sprite> clone(World::CloneSprite("Crate"));
  auto* object = dynamic_cast<GameObject*>(clone.get());
  ASSERT_NE(object, nullptr);
  EXPECT_NE(object, crate);
  EXPECT_EQ(object->GetAnimation(), crate->GetAnimation());
  EXPECT_DEATH(World::CloneSprite("Nothing"), "Assertion failed: original");
}

}  // namespace
