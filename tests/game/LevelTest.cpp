// Level files and making a level current: bound walls, the player, enemies,
// triggers with their checkpoint numbers, the lists the World gets, the music,
// and a level replaced by the next one.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "WorldTestKit.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/Level.h"
#include "game/SoundEngine.h"

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
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteGameList("one one.lvl two two.lvl", 2);
    WriteText(Root() / "two.lvl", LevelText().Text());
  }
  // Writes one.lvl, starts the World and makes the level current.
  void Play(const LevelText& level) {
    WriteText(Root() / "one.lvl", level.Text());
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("one", true));
  }
  static const std::vector<GameObject*>& Main() {
    return World::GetCurrentLevel()->GetMainObjects();
  }
};

TEST_F(LevelTest, LevelWithoutPlayerLeavesTheCameraAndTheSceneryAtRest) {
  LevelText level;
  level.sceneryA = "1 animations/sky.acd 10 20 0 0 0 0 -1 -1";
  Play(level);
  EXPECT_EQ(World::GetCurrentLevel()->GetPlayer(), nullptr);
  EXPECT_EQ(World::GetCameraOffset(), Vector2(0.0f, 0.0f));
  EXPECT_EQ(World::GetLayerB()->GetOffset(), Vector2(0.0f, 0.0f));
  EXPECT_EQ(World::GetSceneryA()->At(0)->GetPosition(), Vector2(10.0f, 20.0f));
  EXPECT_EQ(World::GetObjects()->Count(), 0);  // open bounds make no walls
}

TEST_F(LevelTest, ListsAreCopiesCentredOnThePlayer) {
  LevelText level;
  level.sceneryA = "1 animations/sky.acd 10 20 1 0 0 0 -1 -0.5";
  level.main = "-1 -1 -1 -1 1 Tile 64 832 3 1 -0.5";
  level.player = "ZodirazO 1000 700 1";
  Play(level);
  EXPECT_EQ(World::GetCameraOffset(), Vector2(600.0f, 400.0f));
  EXPECT_EQ(World::GetLayerD()->GetOffset(), Vector2(600.0f, 400.0f));
  // Scenery keeps offset 0 and moves by its parallax share of the camera.
  EXPECT_EQ(World::GetSceneryA()->At(0)->GetPosition(), Vector2(-590.0f, -180.0f));

  const Sprite* tile = World::GetObjects()->At(0);  // depth -0.5 sorts before the player
  EXPECT_NE(tile, Main()[0]);
  EXPECT_EQ(tile->GetFrame(), 3);
  EXPECT_TRUE(tile->IsFacingLeft());
  auto* player = static_cast<GameObject*>(World::GetObjects()->At(1));
  EXPECT_EQ(player->GetName(), "ZodirazO");
  EXPECT_NE(player, World::GetCurrentLevel()->GetPlayer());
  EXPECT_EQ(player->GetPosition(), Vector2(1000.0f, 700.0f));
  EXPECT_EQ(player->GetStateAnimations().size(), 2u);
  EXPECT_EQ(player->GetMovement().groundMaxSpeed, 7.5f);
  EXPECT_FALSE(player->GetDeactivateOffscreen());  // carried over
}

TEST_F(LevelTest, WallsStandAlongTheBoundsAcrossTheScreenOnly) {
  LevelText level;
  level.main = "100 50 500 1000 0";
  Play(level);
  std::vector<Vector2> walls;
  for (const GameObject* wall : Main()) walls.push_back(wall->GetPosition());
  const std::vector<Vector2> expected = {
      {97, 0},   {97, 256}, {97, 512}, {503, 0},  {503, 256},  {503, 512},  {0, 47},
      {256, 47}, {512, 47}, {768, 47}, {0, 1000}, {256, 1000}, {512, 1000}, {768, 1000}};
  EXPECT_EQ(walls, expected);
  EXPECT_EQ(Main()[0]->GetName(), "VerticalBound");
  EXPECT_EQ(Main()[0]->GetDepth(), -5.0f);
  EXPECT_EQ(World::GetLevelUpperBounds(), Vector2(500.0f, 1000.0f));
}

TEST_F(LevelTest, EnemiesAreEnemyObjectsWithTheirPrototypesStatesAndTuning) {
  WriteText(Root() / "data" / "Rat.ini", "4.0\n");
  LevelText level;
  level.prototypes = "1 Shredder 2 0 animations/gate.acd 5 animations/rat_walk.acd";
  level.enemies = "2 Rat 300 400 1 Shredder 50 60 0";
  Play(level);
  ASSERT_TRUE(Main()[0]->IsEnemy());
  EXPECT_EQ(Main()[0]->GetFrameChangeCallback(), &FrameChangeCallback);
  EXPECT_TRUE(Main()[0]->IsFacingLeft());
  EXPECT_EQ(Main()[0]->GetMovement().groundMaxSpeed, 4.0f);
  ASSERT_EQ(Main()[1]->GetStateAnimations().size(), 2u);  // from the level's own pool
  EXPECT_EQ(Main()[1]->GetStateAnimations()[1].state, 5);
  EXPECT_TRUE(static_cast<GameObject*>(World::GetObjects()->Find("Rat"))->IsEnemy());
}

TEST_F(LevelTest, CheckpointsAreNumberedInFileOrderAndTheTutorialTriggerFollowsThePlayer) {
  LevelText level;
  level.prototypes = "1 TriggerCheckPoint 1 1 animations/gate.acd";
  level.triggers =
      "5 TriggerCheckPoint 100 0 0 0 0.5 Gate 150 0 0 1 0.5 TriggerCheckPoint 200 0 0 0 0.5 "
      "Tutorial 7 8 0 0 0 TriggerCheckPoint 300 0 0 0 0.5";
  level.player = "ZodirazO 640 480 0";
  Play(level);
  std::vector<float> numbers;
  for (const GameObject* trigger : Main()) {
    EXPECT_FALSE(trigger->IsVisible()) << trigger->GetName();
    if (trigger->GetName() != "TriggerCheckPoint") continue;
    numbers.push_back(trigger->GetFlags().at("CheckPointCount"));
    EXPECT_FALSE(trigger->GetDeactivateOffscreen());
  }
  EXPECT_EQ(numbers, (std::vector<float>{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(Main()[1]->GetFlags().count("CheckPointCount"), 0u);

  EXPECT_EQ(Main()[3]->GetAnimation()->GetName(), "tutorial");  // the global "TutorialTrigger"
  GameObject* tutorial = static_cast<GameObject*>(World::GetObjects()->Find("Tutorial"));
  tutorial->RunBehavior();
  EXPECT_EQ(tutorial->GetPosition(), Vector2(640.0f, 480.0f));
}

TEST_F(LevelTest, LoadingALevelDeletesTheOneBeforeEvenWhenItIsTheSame) {
  LevelText level;
  level.main = "-1 -1 -1 -1 1 Gate 5 5 0 0 0";
  Play(level);
  const ObjectHandle templateGate = Main()[0]->GetHandle();
  const float liveGate = LinkTo(static_cast<GameObject*>(World::GetObjects()->Find("Gate")));
  ASSERT_TRUE(World::LoadLevel("one", true));
  EXPECT_EQ(ObjectRegistry::Resolve(templateGate), nullptr);
  EXPECT_EQ(LinkedObject(liveGate), nullptr);
  EXPECT_EQ(World::GetObjects()->Count(), 1);

  ASSERT_TRUE(World::LoadLevel("two", true));
  EXPECT_EQ(World::GetLevelEntries()[0].level, nullptr);
  EXPECT_EQ(World::GetCurrentEntry(), 1);
  EXPECT_FALSE(World::LoadLevel("three", true));  // no such entry: nothing changes
  EXPECT_EQ(World::GetCurrentEntry(), 1);
}

TEST_F(LevelTest, FirstFrameReadsTheGameListAndLoadsTheLevelAtTheStartIndex) {
  WriteText(Root() / "Gold.vt", "8 1 0 0 0 0 0 0 0 2 one one.lvl two two.lvl 0 0 0 0\n");
  InitWorld();
  game->RunFrames(1);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  ASSERT_NE(World::GetCurrentLevel(), nullptr);
  EXPECT_EQ(World::GetCurrentLevel()->GetName(), "two");
}

TEST_F(LevelTest, MusicAndAmbientTrackFollowTheLevelAndTheRatsOnScreen) {
  for (const char* file : {"a.ogg", "b.ogg", "amb.ogg"}) audio.AddFile(file);
  LevelText level;
  level.music = "amb.ogg 2 a.ogg loop b.ogg loop";
  level.enemies = "1 Rat 0 300 0";  // on the screen's left edge: not on screen
  Play(level);
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"a.ogg"});
  World::UpdateAmbientSound();
  EXPECT_FALSE(World::IsAmbientOn());
  Sprite* rat = World::GetObjects()->Find("Rat");
  rat->MoveTo(Vector2(1.0f, 300.0f));
  World::UpdateAmbientSound();
  EXPECT_TRUE(World::IsAmbientOn());
  // While a boss fights the ambient track is left as it is.
  World::SetBoss(static_cast<GameObject*>(rat));
  rat->MoveTo(Vector2(800.0f, 300.0f));
  World::UpdateAmbientSound();
  EXPECT_TRUE(World::IsAmbientOn());
  World::SetBoss(nullptr);
  World::UpdateAmbientSound();
  EXPECT_FALSE(World::IsAmbientOn());

  ASSERT_TRUE(World::LoadLevel("two", true));  // stops the music (the ambient fades alone)
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"amb.ogg"});
}

// (section, its tokens, what the game says as it stops)
using Broken = std::tuple<std::string LevelText::*, const char*, const char*>;
class BrokenLevelTest : public LevelTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenLevelTest, StopsWithItsAssertionOrAMessageNamingFileAndToken) {
  const auto [section, tokens, message] = GetParam();
  LevelText level;
  level.*section = tokens;
  WriteText(Root() / "one.lvl", level.Text());
  InitWorld();
  World::LoadGame("Gold.vt");
  EXPECT_DEATH(World::LoadLevel("one", true), message);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, BrokenLevelTest,
    ::testing::Values(
        Broken(&LevelText::music, "0 -2", "Assertion failed: m_nTrackCount >= 0"),
        Broken(&LevelText::sceneryC, "1 animations/sky.acd 0 0 2 0 0 0 0 0",
               "expected a scenery tile x \\(0 or 1\\), found \"2\""),
        Broken(&LevelText::layerB, "1 Crate 0 0 0 0 0",
               "Data file \"one.lvl\": \"Crate\" is in no prototype pool"),
        Broken(&LevelText::layerD, "1 Tile 0 0 4 0 0",
               "\"Tile\" has no frame 4 \\(its animation \"tiles\" has 4\\)"),
        Broken(&LevelText::main, "500 -1 100 -1 0",
               "m_nXLower < m_nXUpper \\|\\| m_nXLower == -1 \\|\\| m_nXUpper == -1"),
        Broken(&LevelText::player, "Gate2 0 0 0", "the player \"Gate2\" is not in the global"),
        Broken(&LevelText::enemies, "-1", "Assertion failed: enemyCount >= 0"),
        Broken(&LevelText::triggers, "1 Gate 0 0 -1 0 0", "Assertion failed: frame >= 0"),
        Broken(&LevelText::triggers, "1 Gate 10", "the file ends where the y of \"Gate\"")),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
