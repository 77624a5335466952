// Level complete and game over: their timelines, where each leads, and the
// turns of a game of several players, which always come to an end.
#include <gtest/gtest.h>

#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/hud/HUD.h"
#include "game/level/Level.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"

namespace {

using worldtest::WriteText;

class EndStateTest : public worldtest::WorldDataTest {
 protected:
  // Play on the first of `levels` short levels with `players` record slots,
  // past the set-up frame, then put the World in `state`.
  void Start(int players, int levels, int state) {
    for (const char* art : {"LevelComplete", "Crack", "GameOverWindow", "GameOverContinue",
                            "GameOverQuit"}) {
      WriteAnimation(art);
    }
    WriteText(Root() / "SpriteList.vtsl",
              "7\n"
              "ZodirazO 2 1 animations/hero_idle.acd 2 animations/hero_run.acd\n"
              "Tile 1 0 animations/tiles.acd\n"
              "LevelComplete 1 0 animations/LevelComplete.acd\n"
              "Crack 1 0 animations/Crack.acd\n"
              "GameOverWindow 1 0 animations/GameOverWindow.acd\n"
              "GameOverContinue 1 0 animations/GameOverContinue.acd\n"
              "GameOverQuit 1 0 animations/GameOverQuit.acd\n");
    std::string list;
    for (int i = 0; i < levels; ++i) {
      const std::string name = "l" + std::to_string(i);
      list += (i ? " " : "") + name + " " + name + ".lvl";
      WriteText(Root() / (name + ".lvl"), "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1 0\nZodirazO " +
                                              std::to_string(100 + 10 * i) + " 300 0\n0\n0\n");
    }
    WriteGameList(list, levels);
    InitWorld();
    World::GetPlayerRecords().resize(static_cast<std::size_t>(players));
    game->RunFrames(2);  // the game list, then play's set-up frame
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    Hero()->SetBehavior(nullptr);
    World::SetState(state);
    World::SetFrameCounter(0);
  }
  static PlayerObject* Hero() { return World::GetPlayer(); }
  static float& Flag(int record, const char* name) {
    return *World::GetPlayerRecords()[static_cast<std::size_t>(record)]->AddFlag(name, 0.0f);
  }
  // One hit, and the blink after it run out.
  static void Hit() {
    World::SetPlayFrame(true);  // the hero's timers run only in frames of play
    Hero()->TakeDamage(1);
    for (int f = 0; f < 180; ++f) Hero()->HandleInput();
  }
  // Each HUD orb shows the hero's: a whole one in its colour with no crack over it,
  // a cracked one given up under its crack.
  static void ExpectHudShowsHerosOrbs(const char* when) {
    ASSERT_NE(Hero(), nullptr) << when;
    for (int i = 0; i < 3; ++i) {
      const bool cracked = Hero()->GetCrackQueue()[static_cast<std::size_t>(i)];
      GameObject* orb = HUD::FindObject("HUDorb" + std::to_string(i + 1));
      const GameObject* crack = HUD::FindObject("CrackedOrb" + std::to_string(i + 1));
      EXPECT_EQ(crack->GetFrame(), cracked ? 1 : 0) << when << ", orb " << i + 1;
      EXPECT_EQ(orb->GetFlag("Visible") != 0.0f, !cracked) << when << ", orb " << i + 1;
      if (!cracked) {
        EXPECT_EQ(orb->GetFrame(), Hero()->GetOrbQueue()[static_cast<std::size_t>(i)])
            << when << ", orb " << i + 1;
      }
    }
  }
  // Runs until the state differs from `state`, at most `limit` frames.
  int RunWhile(int state, int limit) {
    int frames = 0;
    while (World::GetState() == state && frames < limit) {
      game->RunFrames(1);
      ++frames;
    }
    return frames;
  }
};

TEST_F(EndStateTest, LevelCompleteWalksTheHeroOffAndStartsTheNextLevel) {
  Start(1, 2, STATE_LEVEL_COMPLETE);
  game->RunFrames(1);
  EXPECT_NE(endscreens::LevelCompleteSprites()->Find("LevelComplete"), nullptr);
  EXPECT_EQ(Hero()->GetFlags().at("Level"), 1.0f);
  EXPECT_EQ(World::GetCurrentRecord()->GetFlags().at("Level"), 1.0f);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
  // The body falls; these levels have no floor, so hold it in view to watch the walk.
  EXPECT_EQ(Hero()->GetBehavior(), BehaviorRegistry::GetBehavior("DeadFall"));
  Hero()->SetBehavior(nullptr);
  Hero()->SetVelocity(CachedVector());
  game->RunFrames(99);  // the counter reaches 100
  const float x = Hero()->GetPosition().X();
  game->RunFrames(1);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_DRAW | PASS_ANIMATE);
  EXPECT_EQ(Hero()->GetState(), 2);
  EXPECT_FLOAT_EQ(Hero()->GetPosition().X(), x + 5.0f);
  // It stops once it is more than 70 pixels past the view's right edge.
  game->RunFrames(98);
  const float right = World::GetCameraOffset().X() + 800.0f + 70.0f;
  EXPECT_LE(Hero()->GetPosition().X(), right + 5.0f);
  EXPECT_EQ(World::GetState(), STATE_LEVEL_COMPLETE);
  game->RunFrames(1);  // the decision at 200
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  EXPECT_EQ(World::GetCurrentLevel()->GetName(), "l1");
  EXPECT_FALSE(World::IsGameCompleted());
  EXPECT_EQ(endscreens::LevelCompleteSprites()->GetSprites().size(), 0u);
}

TEST_F(EndStateTest, TheLastLevelCompletesTheGameAndGoesToTheCredits) {
  Start(1, 1, STATE_LEVEL_COMPLETE);
  EXPECT_EQ(RunWhile(STATE_LEVEL_COMPLETE, 300), 200);
  EXPECT_EQ(World::GetState(), STATE_CREDITS);
  EXPECT_TRUE(World::IsGameCompleted());
  EXPECT_EQ(World::GetObjects()->GetSprites().size(), 0u);
}

// Points still on their way when the sign goes up are the finished level's: the
// next level starts with all of them, and so does the record that name entry saves.
TEST_F(EndStateTest, EveryPointShownOrPendingAtLevelCompleteReachesTheNextLevelAndTheRecord) {
  constexpr int kScore = 2000;
  const struct {
    const char* name;
    int levels;        // 1: the last level, so the credits (and name entry) follow
    int pending;       // rolling in as the sign goes up
    int message;       // a message's points, 0 for none
    int messageFrame;  // when it is queued; from frame 90 it is still queued at the decision
    int comboHits;     // 50-point hits merged into one combo as the sign goes up
    int expected;
  } cases[] = {
      {"PendingPointsRollInUnderTheSign", 2, 810, 0, 0, 0, kScore + 810},
      {"AMessageExpiresUnderTheSign", 2, 0, 1000, 0, 0, kScore + 1000},
      {"AMessageOutlivesTheSign", 2, 0, 1000, 90, 0, kScore + 1000},
      {"AComboBanksItsPointsTimesItsCount", 2, 0, 0, 0, 3, kScore + 150 * 3},
      {"TheLastLevelsPointsReachTheRecordNameEntrySaves", 1, 810, 1000, 90, 0, kScore + 810 + 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(1, c.levels, STATE_LEVEL_COMPLETE);
    HUD* hud = HUD::GetInstance();
    hud->SetScore(kScore);
    HUD::SetPending(c.pending);
    for (int i = 0; i < c.comboHits; ++i) hud->UpdateCombo(50, 0, 255, 255, 255, 255);
    if (c.message) {
      game->RunFrames(c.messageFrame);
      hud->AddMessage(c.message, 2, 255, 255, 128, 0);
    }
    RunWhile(STATE_LEVEL_COMPLETE, 300);
    ASSERT_EQ(World::GetState(), c.levels == 1 ? STATE_CREDITS : STATE_GAMEPLAY);
    EXPECT_EQ(World::GetCurrentRecord()->GetScore(), c.expected);
    if (c.levels > 1) {
      // Shown at once, with nothing left to roll in twice.
      EXPECT_EQ(HUD::GetScore(), c.expected);
      EXPECT_EQ(HUD::GetPending(), 0);
      EXPECT_TRUE(hud->GetMessages().empty());
    }
  }
}

TEST_F(EndStateTest, LevelCompletePassesTheTurnToTheNextPlayerWithTimeLeft) {
  const struct {
    const char* name;
    float times[3];
    int players;
    int nextPlayer;  // -1: the game ends in the credits
  } cases[] = {
      {"TheOtherRanOutSoTheSamePlayerGoesOn", {600, -5, 0}, 2, 0},
      {"TheNextWithTimeIsSkippedTo", {600, 0, 300}, 3, 2},
      {"EveryoneOut", {0, -5, -5}, 3, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.players, 3, STATE_LEVEL_COMPLETE);
    for (int i = 0; i < c.players; ++i) Flag(i, "TimeRemaining") = c.times[i];
    *Hero()->AddFlag("TimeRemaining", 0.0f) = c.times[0];
    World::SetCurrentPlayer(0);
    RunWhile(STATE_LEVEL_COMPLETE, 300);
    if (c.nextPlayer < 0) {
      EXPECT_EQ(World::GetState(), STATE_CREDITS);
      EXPECT_TRUE(World::IsGameCompleted());
    } else {
      EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
      EXPECT_EQ(World::GetCurrentPlayer(), c.nextPlayer);
    }
  }
}

TEST_F(EndStateTest, GameOverCracksTheScreenInStagesAndReadsNoInputBeforeTheMenuWaits) {
  Start(1, 1, STATE_GAME_OVER);
  const struct {
    int frames;
    std::size_t cracks;
  } stages[] = {{1, 3}, {15, 4}, {15, 7}, {15, 8}, {16, 11}};
  for (const auto& s : stages) {
    game->RunFrames(s.frames);
    std::size_t cracks = 0;
    for (Sprite* sprite : endscreens::GameOverSprites()->GetSprites()) {
      cracks += sprite->GetName() == "Crack";
    }
    EXPECT_EQ(cracks, s.cracks) << World::GetFrameCounter();
  }
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_DRAW);
  // Choosing while the menu grows does nothing.
  game->KeyDown(SDL_SCANCODE_DOWN);
  game->KeyDown(SDL_SCANCODE_RETURN);
  while (World::GetFrameCounter() < 150) game->RunFrames(1);
  EXPECT_EQ(endscreens::GameOverSelection(), 0);
  game->KeyUp(SDL_SCANCODE_DOWN);
  game->KeyUp(SDL_SCANCODE_RETURN);
  game->RunFrames(10);
  EXPECT_EQ(World::GetFrameCounter(), 155);
  // Both arrows together change nothing; Down twice leaves quit chosen.
  game->KeyDown(SDL_SCANCODE_DOWN);
  game->KeyDown(SDL_SCANCODE_UP);
  game->RunFrames(1);
  EXPECT_EQ(endscreens::GameOverSelection(), 0);
  game->KeyUp(SDL_SCANCODE_DOWN);
  game->KeyUp(SDL_SCANCODE_UP);
  for (int i = 0; i < 2; ++i) {
    game->KeyDown(SDL_SCANCODE_DOWN);
    game->RunFrames(1);
    game->KeyUp(SDL_SCANCODE_DOWN);
    game->RunFrames(1);
  }
  EXPECT_EQ(endscreens::GameOverSelection(), 1);
  HUD::GetInstance()->SetScore(1234);
  game->KeyDown(SDL_SCANCODE_RETURN);
  EXPECT_LT(RunWhile(STATE_GAME_OVER, 100), 100);
  EXPECT_EQ(World::GetState(), STATE_NAME_ENTRY);
  EXPECT_EQ(World::GetCurrentRecord()->GetScore(), 1234);
  EXPECT_EQ(HUD::GetScore(), 0);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
}

// Quitting at game over ends the game: the points on their way are saved with it.
TEST_F(EndStateTest, QuittingAtGameOverSavesEveryPointShownOrPending) {
  Start(1, 1, STATE_GAME_OVER);
  while (World::GetFrameCounter() != 155) game->RunFrames(1);
  game->KeyDown(SDL_SCANCODE_DOWN);
  game->RunFrames(1);
  game->KeyUp(SDL_SCANCODE_DOWN);
  game->RunFrames(1);
  ASSERT_EQ(endscreens::GameOverSelection(), 1);
  HUD* hud = HUD::GetInstance();
  hud->SetScore(1234);
  HUD::SetPending(300);
  for (int hit = 0; hit < 3; ++hit) hud->UpdateCombo(50, 0, 255, 255, 255, 255);
  game->KeyDown(SDL_SCANCODE_RETURN);
  EXPECT_LT(RunWhile(STATE_GAME_OVER, 100), 100);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY);
  // A combo banks its points times its count.
  EXPECT_EQ(World::GetCurrentRecord()->GetScore(), 1234 + 300 + 150 * 3);
}

TEST_F(EndStateTest, ContinueReloadsTheLevelAndAddsTheClockToTheElapsedTime) {
  Start(1, 1, STATE_GAME_OVER);
  *Hero()->AddFlag("TimeElapsed", 0.0f) = 100.0f;
  while (World::GetFrameCounter() != 155) game->RunFrames(1);
  game->KeyDown(SDL_SCANCODE_RETURN);
  EXPECT_LT(RunWhile(STATE_GAME_OVER, 300), 300);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  // About four seconds of game over on the virtual clock went by.
  const float elapsed = World::GetCurrentRecord()->GetFlags().at("TimeElapsed");
  EXPECT_GT(elapsed, 103.0f);
  EXPECT_LT(elapsed, 106.0f);
  EXPECT_EQ(Hero()->GetFlags().at("TimeElapsed"), elapsed);
}

// Cracks drawn before a restore used to stay over the orbs it made whole.
TEST_F(EndStateTest, TheHudShowsTheHerosOrbsAfterEveryRestoreAndAfterTheNextHit) {
  enum class Restore { Continue, CheckPoint, NextLevel };
  const struct {
    const char* name;
    Restore restore;
    int hits;
  } cases[] = {{"continue after game over", Restore::Continue, 3},
               {"checkpoint", Restore::CheckPoint, 2},
               {"next level", Restore::NextLevel, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(1, 2, STATE_GAMEPLAY);
    for (int hit = 0; hit < c.hits; ++hit) Hit();
    ASSERT_EQ(Hero()->GetHealth(), 3 - c.hits);
    switch (c.restore) {
      case Restore::Continue:
        RunWhile(STATE_GAMEPLAY, 5);
        ASSERT_EQ(World::GetState(), STATE_GAME_OVER);
        while (World::GetFrameCounter() < 155) game->RunFrames(1);
        game->KeyDown(SDL_SCANCODE_RETURN);
        RunWhile(STATE_GAME_OVER, 300);
        game->KeyUp(SDL_SCANCODE_RETURN);
        break;
      case Restore::CheckPoint: {
        auto* point = new GameObject("TriggerCheckPoint", Hero()->GetAnimation(),
                                     Hero()->GetPosition(),
                                     {nullptr, BehaviorRegistry::GetBehavior(
                                                   "TriggerCheckPoint"), nullptr},
                                     2.0f);
        point->AddFlag("CheckPointCount", 1.0f);
        World::GetObjects()->Add(point);
        game->RunFrames(2);  // armed, then fired
        ASSERT_EQ(point->GetBehavior(), nullptr);
        break;
      }
      case Restore::NextLevel:
        World::SetState(STATE_LEVEL_COMPLETE);
        World::SetFrameCounter(0);
        RunWhile(STATE_LEVEL_COMPLETE, 300);
        break;
    }
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    Hero()->SetBehavior(nullptr);
    game->RunFrames(1);
    ExpectHudShowsHerosOrbs("restored");
    Hit();
    ExpectHudShowsHerosOrbs("hit after the restore");
  }
}

TEST_F(EndStateTest, PlayersWhoRanOutEndTheGameInNameEntry) {
  for (int players : {2, 4}) {
    SCOPED_TRACE(players);
    Start(players, 2, STATE_GAMEPLAY);
    // Every countdown runs out in play; game over follows each turn.
    for (int i = 0; i < players; ++i) Flag(i, "TimeRemaining") = 1.0f;
    *Hero()->AddFlag("TimeRemaining", 0.0f) = 1.0f;
    int frames = 0;
    while (World::GetState() != STATE_NAME_ENTRY && frames < 3000) {
      if (PlayerObject* hero = Hero()) hero->SetBehavior(nullptr);
      game->RunFrames(1);
      if (World::GetState() == STATE_GAME_OVER) {
        EXPECT_EQ(endscreens::GameOverSprites()->Find("GameOverWindow"), nullptr);
      }
      ++frames;
    }
    EXPECT_EQ(World::GetState(), STATE_NAME_ENTRY);
    EXPECT_LT(frames, 350 * players);
  }
}

}  // namespace
