// Start-up and the World's data: the prototype pool, the game list, finding and
// cloning prototypes, damaged lists, and the subsystems Init makes and releases.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/sound/SoundEngine.h"

namespace {

using worldtest::WriteText;

class WorldLoadingTest : public worldtest::WorldDataTest {
 protected:
  static GameObject* Prototype(const std::string& name) {
    return static_cast<GameObject*>(World::GetPrototypePool()->Find(name));
  }
};

TEST_F(WorldLoadingTest, PrototypesTakeTheirStatesAndTuningAndKeyZeroOnlyShows) {
  WriteText(Root() / "data" / "Rat.ini", "2.5 rat speed\n");
  InitWorld();
  EXPECT_EQ(World::GetPrototypePool()->Count(), 5);
  EXPECT_EQ(World::GetObjects()->Count(), 0);  // the loading screen is gone
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

TEST_F(WorldLoadingTest, InitMakesSoundAndInputAndTheLastHandleReleasesThem) {
  InitWorld();
  EXPECT_NE(Input::GetInstance(), nullptr);
  EXPECT_EQ(audio.initCalls, 1);
  game.reset();
  EXPECT_EQ(Input::GetInstance(), nullptr);
  EXPECT_EQ(audio.closeCalls, 1);
  EXPECT_EQ(World::GetObjects(), nullptr);

  // Without a window the sound engine fails, and Init stops before input.
  EXPECT_FALSE(StartWorld(false));
  EXPECT_EQ(Input::GetInstance(), nullptr);
  // A missing prototype list is a failed start, not a stop, and says which file.
  std::filesystem::remove(Root() / "SpriteList.vtsl");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(StartWorld());
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "Data file \"SpriteList.vtsl\": the prototype list cannot be opened"),
            std::string::npos);
}

TEST_F(WorldLoadingTest, AMissingOrEmptyCollisionTableIsReportedAndPlayGoesOn) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "Data file \"clsntypes.ctt\": cannot be opened; nothing will collide"},
      {"", "Data file \"clsntypes.ctt\": holds no square table of collision types"}};
  for (const auto& [content, message] : cases) {
    if (content) WriteText(Root() / "clsntypes.ctt", content);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(StartWorld());
    EXPECT_NE(testing::internal::GetCapturedStderr().find(message), std::string::npos) << message;
  }
}

// A list file (absent when `content` is null) and what the game says as it
// stops; game lists are read after a good start.
struct BrokenFile {
  const char* name;
  const char* file;
  const char* content;
  const char* message;
};
class BrokenFileTest : public WorldLoadingTest, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenFileTest, StopsWithItsAssertionOrAMessageNamingFileAndToken) {
  const BrokenFile& c = GetParam();
  if (c.content) WriteText(Root() / c.file, c.content);
  if (!c.content) std::filesystem::remove(Root() / c.file);
  if (std::string(c.file).ends_with(".vt")) {
    InitWorld();
    EXPECT_DEATH(World::LoadGame(c.file), c.message);
  } else {
    EXPECT_DEATH(StartWorld(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BrokenFileTest,
    ::testing::Values(
        BrokenFile{"NoSoundList", "Sounds.vtse", nullptr,
                   "Data file \"Sounds.vtse\": the sound list cannot be opened\n"
                   "Assertion failed: bLoadSoundEffects"},
        BrokenFile{"PrototypeNameClimbsOut", "SpriteList.vtsl",
                   "1 ../Rat 1 1 animations/rat_walk.acd",
                   "Data file \"SpriteList.vtsl\": the prototype name \"../Rat\" holds a path "
                   "separator or \"..\""},
        BrokenFile{"PrototypeNameInFolder", "SpriteList.vtsl", "1 rats/Rat 1 1 animations/a.acd",
                   "the prototype name \"rats/Rat\" holds a path separator"},
        BrokenFile{"PrototypeNameBackslash", "SpriteList.vtsl", "1 a\\Rat 1 1 animations/a.acd",
                   "the prototype name \"a.Rat\" holds a path separator"},
        BrokenFile{"NegativeSprites", "SpriteList.vtsl", "-2",
                   "Assertion failed: spriteCount >= 0"},
        BrokenFile{"NoAnimation", "SpriteList.vtsl", "1 Rat 0",
                   "Assertion failed: animationCount >= 1"},
        BrokenFile{"TruncatedSprites", "SpriteList.vtsl",
                   "2 Rat 1 1 animations/rat_walk.acd Gate 1",
                   "Data file \"SpriteList.vtsl\": the file ends where a state key of \"Gate\""},
        BrokenFile{"HugeCount", "SpriteList.vtsl", "1 Rat 1e40",
                   "expected the animation count of \"Rat\" \\(a whole number\\), found \"1e40\""},
        BrokenFile{"NoGameList", "nowhere.vt", nullptr,
                   "Data file \"nowhere.vt\": the game list cannot be opened\n"
                   "Assertion failed: file.is_open\\(\\)"},
        BrokenFile{"NegativeLevels", "b.vt", "1 0\n0\n-3",
                   "Data file \"b.vt\": line 3: expected the level count of state 2 \\(0 or "
                   "more\\), found \"-3\""},
        BrokenFile{"NegativeStartState", "e.vt", "-1 0",
                   "Data file \"e.vt\": line 1: the start state -1 is not a state 1 to 12"},
        BrokenFile{"NegativeSounds", "Sounds.vtse", "\n-2 a sounds/a.wav",
                   "Data file \"Sounds.vtse\": line 2: expected the sound count \\(0 or "
                   "more\\), found \"-2\""},
        // An index past the start list would be read on the first frame; state 0
        // would read the file again every frame.
        BrokenFile{"StartPastList", "c.vt", "8 2 0 0 0 0 0 0 0 2 a a.lvl b b.lvl 0 0 0 0",
                   "start level index 2 is not one of the 2 levels"},
        BrokenFile{"StartStateZero", "d.vt", "0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                   "start state 0 is not a state 1 to 12"}),
    [](const auto& info) { return std::string(info.param.name); });

// A sound that does not load is told once, naming its file and its line in the list,
// and the rest load; a name listed twice keeps its first file.
TEST_F(WorldLoadingTest, ASoundThatDoesNotLoadIsToldByFileAndLineAndPlayGoesOn) {
  WriteText(Root() / "sounds" / "cut.wav", "RIFF");  // on disk, but the device refuses it
  audio.AddFile("sounds/good.wav");
  WriteText(Root() / "Sounds.vtse",
            "4\nhit sounds/gone.wav\ncut sounds/cut.wav\n\ngood sounds/good.wav\n"
            "good sounds/cut.wav\n");
  testing::internal::CaptureStderr();
  InitWorld();
  const std::string report = testing::internal::GetCapturedStderr();
  for (const char* line :
       {"Data file \"sounds/gone.wav\": cannot be opened; the sound \"hit\" on line 2 of "
        "\"Sounds.vtse\" is left out and the game plays on without it\n",
        "Data file \"sounds/cut.wav\": is not a whole sound the game can play; the sound "
        "\"cut\" on line 3 of \"Sounds.vtse\" is left out",
        "Data file \"Sounds.vtse\": line 6: the sound \"good\" is listed again; its first "
        "file stays\n"}) {
    EXPECT_NE(report.find(line), std::string::npos) << report;
  }
  EXPECT_EQ(report.find("good.wav"), std::string::npos) << report;
  SoundEngine engine;
  EXPECT_TRUE(engine.Play("good"));
  EXPECT_FALSE(engine.Play("hit"));
}

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
