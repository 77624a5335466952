// Level files and making a level current: bound walls, the player, enemies,
// triggers with their checkpoint numbers, the lists the World gets, the music,
// a level replaced by the next one, and damaged level files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/level/Level.h"

namespace {

using worldtest::WriteText;

// The ten sections as tokens; the defaults make an empty level.
struct LevelText {
  std::string prototypes = "0", music = "0 0", sceneryA = "0", layerB = "0", sceneryC = "0",
              layerD = "0", main = "-1 -1 -1 -1 0", player = "0", enemies = "0", triggers = "0";
  std::string Text() const {
    return prototypes + "\n" + music + "\n" + sceneryA + "\n" + layerB + "\n" + sceneryC + "\n" +
           layerD + "\n" + main + "\n" + player + "\n" + enemies + "\n" + triggers + "\n";
  }
};

class LevelTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    WriteGameList("one one.lvl two two.lvl", 2);
    WriteText(Root() / "two.lvl", LevelText().Text());
  }
  // Writes one.lvl, starts the World, reads the game list and, unless told
  // otherwise, makes the level current.
  void Play(const LevelText& level, bool load = true) {
    WriteText(Root() / "one.lvl", level.Text());
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(!load || World::LoadLevel("one", true));
  }
  static const std::vector<std::unique_ptr<GameObject>>& Main() {
    return World::GetCurrentLevel()->GetMainObjects();
  }
  static GameObject* Live(const std::string& name) {
    return static_cast<GameObject*>(World::GetObjects()->Find(name));
  }
};

TEST_F(LevelTest, ListsAreCopiesCentredOnThePlayerAndCheckpointsAreNumberedInFileOrder) {
  LevelText level;
  level.sceneryA = "1 animations/sky.acd 10 20 1 0 0 0 -1 -0.5";
  level.main = "-1 -1 -1 -1 1 Tile 64 832 3 1 -0.5";
  level.player = "ZodirazO 1000 700 1";
  level.prototypes = "1 TriggerCheckPoint 1 1 animations/gate.acd";
  level.triggers =
      "5 TriggerCheckPoint 100 0 0 0 0.5 Gate 150 0 0 1 0.5 TriggerCheckPoint 200 0 0 0 0.5 "
      "Tutorial 7 8 0 0 0 TriggerCheckPoint 300 0 0 0 0.5";
  Play(level);
  EXPECT_EQ(World::GetLayerD()->GetOffset(), Vector2(600.0f, 400.0f));
  // Scenery keeps offset 0 and moves by its parallax share of the camera.
  EXPECT_EQ(World::GetSceneryA()->At(0)->GetPosition(), Vector2(-590.0f, -180.0f));
  const Sprite* tile = World::GetObjects()->At(0);  // depth -0.5 sorts before the player
  EXPECT_EQ(tile->GetFrame(), 3);
  EXPECT_TRUE(tile->IsFacingLeft());
  GameObject* player = Live(World::kPlayerName);
  EXPECT_NE(player, World::GetCurrentLevel()->GetPlayer());
  EXPECT_EQ(player->GetName(), "ZodirazO");
  EXPECT_EQ(player->GetPosition(), Vector2(1000.0f, 700.0f));
  EXPECT_EQ(player->GetMovement().groundMaxSpeed, 7.5f);
  EXPECT_FALSE(player->GetDeactivateOffscreen());  // carried over

  // Main objects: the tile, then the five triggers, all hidden.
  std::vector<float> numbers;
  for (std::size_t i = 1; i < Main().size(); ++i) {
    EXPECT_FALSE(Main()[i]->IsVisible()) << Main()[i]->GetName();
    if (Main()[i]->GetName() == "TriggerCheckPoint") {
      numbers.push_back(Main()[i]->GetFlags().at("CheckPointCount"));
    }
  }
  EXPECT_EQ(numbers, (std::vector<float>{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(Main()[2]->GetFlags().count("CheckPointCount"), 0u);
  EXPECT_EQ(Main()[4]->GetAnimation()->GetName(), "tutorial");  // the global "TutorialTrigger"
  Live("Tutorial")->RunBehavior();
  EXPECT_EQ(Live("Tutorial")->GetPosition(), Vector2(1000.0f, 700.0f));
}

TEST_F(LevelTest, WithoutPlayerTheCameraRestsAndWallsStandAlongTheBoundsOnScreen) {
  LevelText level;
  level.sceneryA = "1 animations/sky.acd 10 20 0 0 0 0 -1 -1";
  level.main = "100 50 500 1000 0";
  Play(level);
  EXPECT_EQ(World::GetCurrentLevel()->GetPlayer(), nullptr);
  EXPECT_EQ(World::GetCameraOffset(), Vector2(0.0f, 0.0f));
  EXPECT_EQ(World::GetSceneryA()->At(0)->GetPosition(), Vector2(10.0f, 20.0f));
  std::vector<Vector2> walls;
  for (const auto& wall : Main()) walls.push_back(wall->GetPosition());
  const std::vector<Vector2> expected = {
      {97, 0},   {97, 256}, {97, 512}, {503, 0},  {503, 256},  {503, 512},  {0, 47},
      {256, 47}, {512, 47}, {768, 47}, {0, 1000}, {256, 1000}, {512, 1000}, {768, 1000}};
  EXPECT_EQ(walls, expected);
  EXPECT_EQ(Main()[0]->GetName(), "VerticalBound");
  EXPECT_EQ(Main()[0]->GetDepth(), -5.0f);
}

TEST_F(LevelTest, FirstFrameLoadsTheStartLevelAndEachLoadDeletesTheOneBefore) {
  WriteText(Root() / "Gold.vt", "8 1 0 0 0 0 0 0 0 2 one one.lvl two two.lvl 0 0 0 0\n");
  LevelText level;
  level.main = "-1 -1 -1 -1 1 Gate 5 5 0 0 0";
  WriteText(Root() / "one.lvl", level.Text());
  InitWorld();
  game->RunFrames(1);  // reads the game list and loads the level at its start index
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  EXPECT_EQ(World::GetCurrentLevel()->GetName(), "two");

  ASSERT_TRUE(World::LoadLevel("one", true));
  EXPECT_EQ(World::GetLevelEntries()[1].level, nullptr);
  const ObjectHandle templateGate = Main()[0]->GetHandle();
  const float liveGate = LinkTo(Live("Gate"));
  ASSERT_TRUE(World::LoadLevel("one", true));  // even the same level
  EXPECT_EQ(ObjectRegistry::Resolve(templateGate), nullptr);
  EXPECT_EQ(LinkedObject(liveGate), nullptr);
  EXPECT_EQ(World::GetObjects()->Count(), 1);     // open bounds make no walls
  EXPECT_FALSE(World::LoadLevel("three", true));  // no such entry: nothing changes
  EXPECT_EQ(World::GetCurrentEntry(), 0);
}

TEST_F(LevelTest, MusicAndAmbientTrackFollowTheLevelAndTheRatEnemiesOnScreen) {
  for (const char* file : {"a.ogg", "b.ogg", "amb.ogg"}) audio.AddFile(file);
  LevelText level;
  level.music = "amb.ogg 2 a.ogg loop b.ogg loop";
  level.enemies = "1 Rat 0 300 0";  // on the screen's left edge: not on screen
  Play(level);
  EXPECT_TRUE(Live("Rat")->IsEnemy());
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"a.ogg"});
  World::UpdateAmbientSound();
  EXPECT_FALSE(World::IsAmbientOn());
  Live("Rat")->MoveTo(Vector2(1.0f, 300.0f));
  World::UpdateAmbientSound();
  EXPECT_TRUE(World::IsAmbientOn());

  ASSERT_TRUE(World::LoadLevel("two", true));  // stops the music (the ambient fades alone)
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"amb.ogg"});
}

TEST_F(LevelTest, AnEnemyOfAnUnknownKindRunsItsFramesWithoutABehaviour) {
  WriteAnimation("stranger_walk", 2, 16, 16, 2);  // two frames of 2 ticks each
  LevelText level;
  level.prototypes = "1 Stranger 1 1 animations/stranger_walk.acd";
  level.enemies = "1 Stranger 100 100 0";
  Play(level);
  GameObject* stranger = Live("Stranger");
  ASSERT_NE(stranger, nullptr);
  EXPECT_EQ(stranger->GetBehavior(), nullptr);
  for (int frame = 0; frame < 300; ++frame) World::GetObjects()->Update(false);
  EXPECT_EQ(Live("Stranger"), stranger);
  EXPECT_EQ(stranger->GetFlags().count("FrameChange"), 1u);
}

TEST_F(LevelTest, BoundsAtTheEndsOfIntPutTheirWallsOnTheRightSide) {
  LevelText level;
  level.main = "-2147483648 -2147483648 2147483647 2147483647 0";
  Play(level);
  int left = 0, right = 0, top = 0;
  for (const auto& wall : Main()) {
    const Vector2& at = wall->GetPosition();
    if (at.X() < -2.0e9f) ++left;
    if (at.X() > 2.0e9f) ++right;
    if (at.Y() < -2.0e9f) ++top;
  }
  EXPECT_EQ(left, 3);
  EXPECT_EQ(right, 3);
  EXPECT_EQ(top, 4);
}

// A gameplay level the game list names must give the new game its hero: a level
// file that is missing (left empty, as the data rule says) or has no player stops
// the game naming the file and, when it is missing, its game list entry.
TEST_F(LevelTest, AGameStartedOnALevelWithoutAHeroStopsNamingTheLevelFile) {
  const struct {
    const char* name;
    bool written;
    const char* message;
  } cases[] = {
      {"MissingFile", false,
       "Data file \"one.lvl\": cannot be opened; \"Gold.vt\" lists it as the level \"one\", "
       "which is left empty.*Data file \"one.lvl\": a game starts on the level \"one\", which "
       "has no player.*Assertion failed: player,"},
      {"NoPlayer", true,
       "Data file \"one.lvl\": a game starts on the level \"one\", which has no "
       "player.*Assertion failed: player,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(Root() / "one.lvl");
    if (c.written) WriteText(Root() / "one.lvl", LevelText().Text());
    InitWorld();
    World::SetNewGame(true);
    EXPECT_DEATH(game->RunFrames(2), c.message);
  }
}

// Loading a second file into one level keeps the first file's player, which the
// reader does not allow.
TEST_F(LevelTest, ASecondPlayerForOneLevelStopsOnItsAssertion) {
  LevelText level;
  level.player = "ZodirazO 10 20 0";
  Play(level, false);
  Level twice;
  ASSERT_TRUE(twice.Load("one.lvl", World::GetPrototypePool()));
  EXPECT_DEATH(twice.Load("one.lvl", World::GetPrototypePool()),
               "Assertion failed: m_cpoPlayer == NULL, file game/level/LevelFile.cpp");
}

// A section's tokens and what the game says as it stops.
struct Broken {
  const char* name;
  std::string LevelText::*section;
  std::string tokens;
  const char* message;
};
class BrokenLevelTest : public LevelTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenLevelTest, StopsWithItsAssertionOrAMessageNamingFileAndToken) {
  LevelText level;
  level.*GetParam().section = GetParam().tokens;
  Play(level, false);
  EXPECT_DEATH(World::LoadLevel("one", true), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, BrokenLevelTest,
    ::testing::Values(
        Broken{"TileFlag", &LevelText::sceneryC, "1 animations/sky.acd 0 0 2 0 0 0 0 0",
               "expected a scenery tile x \\(0 or 1\\), found \"2\""},
        Broken{"NoPrototype", &LevelText::layerB, "1 Crate 0 0 0 0 0",
               "Data file \"one.lvl\": \"Crate\" is in no prototype pool"},
        Broken{"FramePastEnd", &LevelText::layerD, "1 Tile 0 0 4 0 0",
               "\"Tile\" has no frame 4 \\(its animation \"tiles\" has 4\\)"},
        Broken{"NegativeFrame", &LevelText::triggers, "1 Gate 0 0 -1 0 0",
               "Data file \"one.lvl\": expected the frame of \"Gate\" \\(0 or more\\), "
               "found \"-1\".*Assertion failed: frame >= 0"},
        Broken{"BoundsCrossed", &LevelText::main, "500 -1 100 -1 0",
               "Data file \"one.lvl\": the x bounds cross: the lower, 500, is not below the "
               "upper, 100.*m_nXLower < m_nXUpper \\|\\| m_nXLower == -1 \\|\\| m_nXUpper == -1"},
        Broken{"YBoundsCrossed", &LevelText::main, "-1 900 -1 900 0",
               "Data file \"one.lvl\": the y bounds cross: the lower, 900, is not below the "
               "upper, 900.*m_nYLower < m_nYUpper \\|\\| m_nYLower == -1 \\|\\| m_nYUpper == -1"},
        Broken{"PlayerNotGlobal", &LevelText::player, "Gate2 0 0 0",
               "the player \"Gate2\" is not in the global"},
        Broken{"NegativeEnemies", &LevelText::enemies, "-1",
               "Data file \"one.lvl\": expected the enemy count \\(0 or more\\), found "
               "\"-1\".*Assertion failed: enemyCount >= 0"},
        // Every count the reader checks names the file before its assertion stops the game.
        Broken{"NegativePrototypes", &LevelText::prototypes, "-3",
               "Data file \"one.lvl\": expected the sprite count \\(0 or more\\), found "
               "\"-3\".*Assertion failed: spriteCount >= 0"},
        Broken{"PrototypeWithoutAnimations", &LevelText::prototypes, "1 Crate 0",
               "Data file \"one.lvl\": expected the animation count of \"Crate\" \\(1 or "
               "more\\), found \"0\".*Assertion failed: animationCount >= 1"},
        Broken{"NegativeTracks", &LevelText::music, "0 -2",
               "Data file \"one.lvl\": expected the music track count \\(0 or more\\), found "
               "\"-2\".*Assertion failed: m_nTrackCount >= 0"},
        Broken{"NegativeScenery", &LevelText::sceneryC, "-1",
               "Data file \"one.lvl\": expected the scenery count \\(0 or more\\), found "
               "\"-1\".*Assertion failed: count >= 0"},
        Broken{"NegativeObjects", &LevelText::layerB, "-1",
               "Data file \"one.lvl\": expected the object count \\(0 or more\\), found "
               "\"-1\".*Assertion failed: objectCount >= 0"},
        Broken{"NegativeMainObjects", &LevelText::main, "-1 -1 -1 -1 -7",
               "Data file \"one.lvl\": expected the object count \\(0 or more\\), found "
               "\"-7\".*Assertion failed: objectCount >= 0"},
        Broken{"NegativeTriggers", &LevelText::triggers, "-1",
               "Data file \"one.lvl\": expected the trigger count \\(0 or more\\), found "
               "\"-1\".*Assertion failed: triggerCount >= 0"},
        Broken{"Truncated", &LevelText::triggers, "1 Gate 10",
               "the file ends where the y of \"Gate\""},
        Broken{"PrototypeNameClimbsOut", &LevelText::prototypes, "1 ..\\Gate 1 1 animations/gate.acd",
               "Data file \"one.lvl\": the prototype name \"...Gate\" holds a path separator"},
        // The whole token shows, the NUL escaped, with its length.
        Broken{"NulInToken", &LevelText::triggers, std::string("1 Gate 10 Metal\0Box", 19),
               "Data file \"one.lvl\": expected the y of \"Gate\" \\(a decimal number\\), "
               "found \"Metal\\\\x00Box\" \\(9 bytes\\)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
