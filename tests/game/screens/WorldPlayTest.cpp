// The gameplay state and the player records: set-up, the turn banner, the
// clock, keys, requested states, game over and level complete, clearing the
// lists for the front end, and saving and restoring the hero between levels.
#include <gtest/gtest.h>

#include <string>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/hud/HUD.h"
#include "game/level/Level.h"
#include "game/player/PlayerObject.h"

namespace {

using worldtest::WriteText;

int gRequested = 0;
void RequestState(GameObject*) {
  World::SetRequestedState(gRequested);
}
void AskForNextLevel(GameObject* object) {
  World::NextLevel();
  object->SetBehavior(nullptr);
}

class PlayTest : public worldtest::WorldDataTest {
 protected:
  // A game that starts in play on "one.lvl", with `players` record slots, run
  // up to (not through) the set-up frame. The hero stands still.
  void Start(int players = 1, const std::string& bounds = "-1 -1 -1 -1",
             const std::string& hero = "ZodirazO 1000 700 0") {
    WriteText(Root() / "SpriteList.vtsl",
              "6\n"
              "ZodirazO 2 1 animations/hero_idle.acd 2 animations/hero_run.acd\n"
              "Tile 1 0 animations/tiles.acd\n"
              "Rat 1 1 animations/rat_walk.acd\n"
              "Gate 1 1 animations/gate.acd\n"
              "TutorialTrigger 1 1 animations/tutorial.acd\n"
              "PlayerNumber 4 0 animations/gate.acd 1 animations/tiles.acd "
              "2 animations/rat_walk.acd 3 animations/sky.acd\n");
    WriteGameList("one one.lvl two two.lvl", 2);
    const std::string scenery = "1 animations/sky.acd 10 20 0 0 0 0 -1 -0.5";
    WriteText(Root() / "one.lvl",
              "0\n0 0\n" + scenery + "\n0\n0\n0\n" + bounds + " 0\n" + hero + "\n0\n0\n");
    WriteText(Root() / "two.lvl", "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1 0\nZodirazO 50 60 0\n0\n0\n");
    InitWorld();
    World::GetPlayerRecords().resize(static_cast<std::size_t>(players));
    game->RunFrames(1);  // the game list and the level
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_EQ(World::GetFrameCounter(), 0);
    StillHero();
  }
  PlayerObject* StillHero() {
    PlayerObject* hero = World::GetPlayer();
    if (hero) hero->SetBehavior(nullptr);
    return hero;
  }
  // Frames until normal play, the set-up frame included.
  int RunToNormalPlay() {
    int frames = 0;
    do {
      game->RunFrames(1);
      ++frames;
      EXPECT_FALSE(PlayerObject::IsControlEnabled()) << frames;
    } while (World::GetFrameCounter() != -2 && frames < 200);
    return frames;
  }
  static GameObject* AddObject(SpriteCollection* list, BehaviorFn behavior) {
    auto* object = new GameObject("Gate", World::FindPrototype("Gate")->GetAnimation(),
                                  Vector2(1000, 700), NO_CALLBACKS, 0.0f);
    object->SetBehavior(behavior);
    list->Add(object);
    return object;
  }
};

TEST_F(PlayTest, OnePlayerSetUpFrameReadsKeysAndControlStartsAFrameLater) {
  const struct {
    const char* name;
    SDL_Scancode key;
    int state;
  } cases[] = {
      {"NoKey", SDL_SCANCODE_UNKNOWN, STATE_GAMEPLAY},
      {"EscapeOpensTheMenu", SDL_SCANCODE_ESCAPE, STATE_PAUSE},
      {"PausePauses", SDL_SCANCODE_PAUSE, STATE_PAUSE},
      {"F1ShowsTheControlsAndPlayGoesOn", SDL_SCANCODE_F1, STATE_GAMEPLAY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    if (c.key != SDL_SCANCODE_UNKNOWN) game->KeyDown(c.key);
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), c.state);
    EXPECT_FALSE(World::IsPlayFrame());
    EXPECT_EQ(HUD::GetTime(), 0);
    EXPECT_EQ(World::GetGameMode(), 0);
    if (c.state != STATE_GAMEPLAY) continue;
    EXPECT_EQ(World::GetFrameCounter(), -2);
    game->RunFrames(1);
    EXPECT_TRUE(PlayerObject::IsControlEnabled());
  }
}

TEST_F(PlayTest, TwoPlayersSeeTheBannerGrowThenFlyToTheHudCornerWhileTheHeroWaits) {
  Start(2);
  game->RunFrames(1);
  GameObject* banner = World::GetPlayerNumberSprite();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->GetState(), 0);
  EXPECT_EQ(banner->GetPosition(), Vector2(400, 300));
  EXPECT_FLOAT_EQ(banner->GetScaleX(), 1.0f / 30.0f);
  EXPECT_EQ(HUD::GetObjects()->Find("PlayerNumber"), banner);
  // Both records start as the fresh hero, with the countdown.
  ASSERT_EQ(World::GetPlayerRecords().size(), 2u);
  for (const auto& record : World::GetPlayerRecords()) {
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetFlags().at("TimeRemaining"), 601.0f);
    EXPECT_EQ(record->GetFlags().at("Level"), 0.0f);
  }
  EXPECT_EQ(World::GetCurrentPlayer(), 0);

  for (int frame = 2; frame <= 30; ++frame) game->RunFrames(1);
  EXPECT_NEAR(banner->GetScaleX(), 1.0f, 1e-5f);
  EXPECT_EQ(World::GetFrameCounter(), 31);
  game->RunFrames(1);  // grows to 31/30, turns toward the corner, first shrink
  EXPECT_NEAR(banner->GetScaleY(), 31.0f / 30.0f - 0.02f, 1e-5f);
  EXPECT_FALSE(PlayerObject::IsControlEnabled());
  EXPECT_EQ(RunToNormalPlay(), 30);
  EXPECT_NEAR(banner->GetScaleX(), 31.0f / 30.0f - 31 * 0.02f, 1e-4f);
  EXPECT_NEAR(banner->GetPosition().X(), 720.0f, 1e-2f);
  EXPECT_NEAR(banner->GetPosition().Y(), 85.0f, 1e-2f);
  EXPECT_TRUE(banner->GetVelocity().IsZero());
  // The first play frame comes one second after the clock was reset.
  EXPECT_EQ(HUD::GetTime(), 600);
  game->RunFrames(1);
  EXPECT_TRUE(PlayerObject::IsControlEnabled());
}

TEST_F(PlayTest, CountdownBelowZeroShowsZeroAndEndsTheGame) {
  Start(2);
  RunToNormalPlay();
  World::GetPlayer()->SetFlag("TimeRemaining", -2.0f);
  game->RunFrames(1);
  EXPECT_EQ(HUD::GetTime(), 0);
  EXPECT_EQ(World::GetState(), STATE_GAME_OVER);
}

TEST_F(PlayTest, GameEndsOnlyBelowAClosedBottomBound) {
  const struct {
    const char* name;
    std::string bounds;
    float y;
    int state;
  } cases[] = {
      {"AtTheLimit", "0 0 4000 1000", 1100.0f, STATE_GAMEPLAY},
      {"JustBelow", "0 0 4000 1000", 1100.5f, STATE_GAME_OVER},
      {"OpenBottom", "-1 -1 -1 -1", 50000.0f, STATE_GAMEPLAY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(1, c.bounds);
    game->RunFrames(1);
    World::GetPlayer()->MoveTo(Vector2(1000.0f, c.y));
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), c.state);
  }
}

TEST_F(PlayTest, LevelCompleteWinsOverACrackedFrontOrb) {
  for (const bool complete : {false, true}) {
    SCOPED_TRACE(complete ? "LevelCompleteToo" : "OnlyCracked");
    Start();
    game->RunFrames(1);
    World::GetPlayer()->SetOrbs(ORB_CRACKED, ORB_PLAIN, ORB_PLAIN);
    if (complete) AddObject(World::GetObjects(), &AskForNextLevel);
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), complete ? STATE_LEVEL_COMPLETE : STATE_GAME_OVER);
  }
}

TEST_F(PlayTest, StateRequestedDuringTheListsIsReturnedAndFrontEndStatesClearThem) {
  const struct {
    int requested;
    bool cleared;
  } cases[] = {{STATE_HIGH_SCORES, false}, {STATE_MAIN_MENU, true}, {STATE_INTRO_DONE, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requested);
    Start();
    game->RunFrames(1);
    gRequested = c.requested;
    AddObject(World::GetLayerB(), &RequestState);
    World::Update();
    EXPECT_EQ(World::GetState(), c.requested);
    const int counts = World::GetSceneryA()->Count() + World::GetLayerB()->Count() +
                       World::GetObjects()->Count() + World::GetLayerD()->Count() +
                       World::GetSceneryC()->Count();
    EXPECT_EQ(counts == 0, c.cleared);
  }
}

TEST_F(PlayTest, LevelWithoutAHeroKeepsNoClockAndPlaysOn) {
  Start(1, "-1 -1 -1 -1", "0");
  World::SetNewGame(false);  // a new game would stop at once without a hero
  HUD::SetTime(77);
  game->RunFrames(3);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  EXPECT_EQ(HUD::GetTime(), 77);
}

// A hero with something of everything a record keeps.
void Decorate(PlayerObject& hero) {
  *hero.AddFlag("Keys", 0.0f) = 3.0f;
  hero.SetEnergy(42.0f);
  hero.SetOrbs(ORB_RED, ORB_CRACKED, ORB_BLUE);
  hero.ToggleAbility(ABILITY_STRIDE | ABILITY_CYCLONE);
  hero.SetScore(900);
}
void ExpectDecorated(const PlayerObject& hero) {
  EXPECT_EQ(hero.GetFlags().at("Keys"), 3.0f);
  EXPECT_EQ(hero.GetEnergy(), 42.0f);
  EXPECT_EQ(hero.GetAbilities(), ABILITY_STRIDE | ABILITY_CYCLONE);
  EXPECT_EQ(hero.GetScore(), 900);
}

TEST_F(PlayTest, SavedRecordCopiesTheLiveHeroAndNeedsOne) {
  Start();
  game->RunFrames(1);
  PlayerObject* hero = World::GetPlayer();
  Decorate(*hero);
  World::SavePlayerState();
  const PlayerObject* record = World::GetCurrentRecord();
  ASSERT_NE(record, nullptr);
  ExpectDecorated(*record);
  EXPECT_EQ(record->GetOrbQueue(), hero->GetOrbQueue());
  World::GetObjects()->Remove(hero);
  World::SavePlayerState();
  EXPECT_EQ(World::GetCurrentRecord(), record);
}

TEST_F(PlayTest, RecordSavedAtTheStartIsCopiedIntoTheLiveHero) {
  Start();
  game->RunFrames(1);
  PlayerObject* record = World::GetCurrentRecord();
  Decorate(*record);
  PlayerObject* hero = World::GetPlayer();
  World::RestorePlayer(false);
  EXPECT_EQ(World::GetPlayer(), hero);
  ExpectDecorated(*hero);
  EXPECT_EQ(hero->GetOrbQueue()[1], ORB_CRACKED);
  EXPECT_NE(World::GetCurrentRecord(), nullptr);
  ExpectDecorated(*World::GetCurrentRecord());
}

TEST_F(PlayTest, RecordSavedAtACheckpointReplacesTheHeroAndMovesTheView) {
  Start();
  game->RunFrames(1);
  PlayerObject* record = World::GetCurrentRecord();
  Decorate(*record);
  record->MoveTo(Vector2(1300, 650));
  const ObjectHandle old = World::GetPlayer()->GetHandle();
  const Vector2 camera = World::GetCameraOffset();
  const Vector2 sky = World::GetSceneryA()->At(0)->GetPosition();
  World::RestorePlayer(false);
  PlayerObject* hero = World::GetPlayer();
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(ObjectRegistry::Resolve(old), nullptr);
  EXPECT_EQ(hero->GetPosition(), Vector2(1300, 650));
  ExpectDecorated(*hero);
  EXPECT_EQ(hero->GetOrbQueue(), (std::deque<int>{ORB_RED, ORB_PLAIN, ORB_BLUE}));
  EXPECT_FALSE(hero->GetDeactivateOffscreen());
  for (SpriteCollection* list : {World::GetObjects(), World::GetLayerB(), World::GetLayerD()}) {
    EXPECT_EQ(list->GetOffset(), Vector2(camera.X() + 300, camera.Y() - 50));
  }
  // Parallax factor (-1, -0.5) of the shift.
  EXPECT_EQ(World::GetSceneryA()->At(0)->GetPosition(), Vector2(sky.X() - 300, sky.Y() + 25));
}

TEST_F(PlayTest, NextLevelCarriesTheRecordIntoItsHero) {
  Start();
  game->RunFrames(1);
  Decorate(*World::GetPlayer());
  World::SavePlayerState();
  ASSERT_TRUE(World::LoadLevel("two", true));
  PlayerObject* hero = World::GetPlayer();
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->GetPosition(), Vector2(50, 60));
  ExpectDecorated(*hero);
  EXPECT_EQ(hero->GetOrbQueue()[0], ORB_RED);
  EXPECT_EQ(World::GetCurrentRecord()->GetPosition(), Vector2(50, 60));
}

}  // namespace

namespace {

TEST_F(PlayTest, AnotherObjectNamedLikeTheHeroIsNeverTakenForIt) {
  Start(1, "0 0 4000 1000");
  game->RunFrames(1);
  // Sorted in front of the hero, fallen far below the bottom bound.
  auto* impostor = new GameObject(World::kPlayerName, World::FindPrototype("Gate")->GetAnimation(),
                                  Vector2(3000, 5000), NO_CALLBACKS, -1.0f);
  World::GetObjects()->Add(impostor);
  ASSERT_EQ(World::GetObjects()->Find(World::kPlayerName), impostor);
  const Vector2 camera = World::GetCameraOffset();
  game->RunFrames(5);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  EXPECT_EQ(World::GetCameraOffset(), camera) << "the camera stays on the standing hero";
}

}  // namespace
