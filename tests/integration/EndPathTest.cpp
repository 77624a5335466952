// The end of a game through the real frame loop with the keyboard, on a copy of
// the generated folder: a lost game quit at game over, and a completed game
// through the credits, both end with a typed name on the high-score table and
// the main menu.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "integration/PlayFolder.h"

namespace {

using playfolder::kFloorTop;

constexpr float kFinishX = 900.0f;
// The high-score screen: caption and ten rank labels, then per table ten values and ten names.
constexpr std::size_t kFixedTexts = 11;
constexpr std::size_t kTextsPerTable = 20;

// Stands in for a boss's end of level: the hero past the line finishes it, once.
void FinishLine(GameObject* line) {
  const PlayerObject* hero = World::GetPlayer();
  if (!hero || hero->GetPosition().X() < kFinishX || line->GetFlags().count("Finished")) return;
  line->AddFlag("Finished", 1.0f);
  World::NextLevel();
}

class EndPath : public ::testing::Test {
 protected:
  // A short level: a floor of nine tiles, then a pit to fall into.
  // Starts in play, or at the main menu when `fromMenu`; a game begun from the
  // menu starts the player records.
  void Start(int slots, bool fromMenu = false) {
    playfolder::LevelText level;
    level.Floor(0, 8);
    level.player = "ZodirazO 300 " + std::to_string(static_cast<int>(kFloorTop)) + " 0";
    level.width = 13 * 128;
    folder.WriteLevel("short.lvl", level);
    folder.WriteGameList(fromMenu ? STATE_MAIN_MENU : STATE_GAMEPLAY, {{STATE_MAIN_MENU, {"menu.lvl"}}, {STATE_GAMEPLAY, {"short.lvl"}}});
    game = std::make_unique<testharness::GameHarness>();
    ASSERT_TRUE(game->InitResult());
    World::GetPlayerRecords().resize(static_cast<std::size_t>(slots));
    if (fromMenu) {
      ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_MAIN_MENU && World::GetFrameCounter() == 71; },
                           400));
      Press(SDL_SCANCODE_RETURN);  // "Start" is selected first
    }
    ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_GAMEPLAY && World::GetPlayer(); }, 400));
  }
  void TearDown() override {
    World::StartFade(0, 0xFF000000, 0xFF000000);
    game.reset();
  }

  bool RunUntil(const std::function<bool()>& done, int frames) {
    for (int i = 0; i < frames; ++i) {
      if (done()) return true;
      if (game->RunFrames(1) != 1) return done();
    }
    return done();
  }
  bool Reach(int state, int frames) {
    return RunUntil([state] { return World::GetState() == state; }, frames);
  }
  void Press(SDL_Scancode key) {
    game->KeyDown(key);
    game->RunFrames(1);
    game->KeyUp(key);
    game->RunFrames(1);
  }

  // Steers the on-screen keyboard to `key` by the shortest way and chooses it.
  void ChooseKey(int key) {
    const std::pair<ActionBits, SDL_Scancode> moves[] = {{MOVE_LEFT, SDL_SCANCODE_LEFT},
                                                         {MOVE_RIGHT, SDL_SCANCODE_RIGHT},
                                                         {UP_OPTIONS_SELECTION, SDL_SCANCODE_UP},
                                                         {DOWN_OPTIONS_SELECTION, SDL_SCANCODE_DOWN}};
    std::map<int, std::pair<int, SDL_Scancode>> cameFrom;
    std::deque<int> open{endscreens::NameEntrySelection()};
    cameFrom[open.front()] = {-1, SDL_SCANCODE_UNKNOWN};
    while (!open.empty() && !cameFrom.count(key)) {
      const int at = open.front();
      open.pop_front();
      for (const auto& [action, scancode] : moves) {
        const int to = endscreens::NameEntryMove(at, action);
        if (cameFrom.emplace(to, std::make_pair(at, scancode)).second) open.push_back(to);
      }
    }
    ASSERT_TRUE(cameFrom.count(key)) << key;
    std::vector<SDL_Scancode> path;
    for (int at = key; cameFrom[at].first != -1; at = cameFrom[at].first) path.insert(path.begin(), cameFrom[at].second);
    for (SDL_Scancode scancode : path) Press(scancode);
    ASSERT_EQ(endscreens::NameEntrySelection(), key);
    Press(SDL_SCANCODE_RETURN);
  }
  // Types "Ki t" (capital, case switch, space) and chooses Done.
  void TypeName() {
    enum { kSpace = 28, kCase = 29, kDone = 30 };
    ChooseKey('K' - 'A');
    ChooseKey(kCase);
    ChooseKey('i' - 'a');
    ChooseKey(kSpace);
    ChooseKey('t' - 'a');
    EXPECT_EQ(endscreens::NameEntryName(), "Ki t");
    ChooseKey(kDone);
  }

  static std::string ScoreFile() {
    std::ifstream in("Scores.vths");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The name on the high-score screen's first table at row `row` (0-9) of table `table`.
  static std::string TableName(int table, int row) {
    const std::vector<TextAnimation>& texts = endscreens::HighScoreTexts();
    const std::size_t at = kFixedTexts + static_cast<std::size_t>(table) * kTextsPerTable + 10 + static_cast<std::size_t>(row);
    return at < texts.size() ? texts[at].GetText() : std::string();
  }
  static bool TableShows(int table, const std::string& name) {
    for (int row = 0; row < 10; ++row) {
      if (TableName(table, row) == name) return true;
    }
    return false;
  }

  // Through the four tables to the main menu with its level loaded.
  void LeaveHighScores() {
    for (int press = 0; press < 4; ++press) {
      ASSERT_EQ(World::GetState(), STATE_HIGH_SCORES) << press;
      Press(SDL_SCANCODE_SPACE);
    }
    ASSERT_TRUE(Reach(STATE_MAIN_MENU, 10));
    game->RunFrames(5);
    EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
    EXPECT_EQ(World::GetPlayer(), nullptr);
    EXPECT_EQ(World::GetObjects()->FindAll("MenuSword").size(), 1u);
    EXPECT_EQ(World::GetObjects()->FindAll("MenuOptions").size(), 3u);
    for (const auto& record : World::GetPlayerRecords()) EXPECT_EQ(record, nullptr);
  }

  playfolder::Folder folder;
  std::unique_ptr<testharness::GameHarness> game;
};

TEST_F(EndPath, LostGameQuitNameTypedShownInTheTableThenTheMenu) {
  Start(1, true);
  game->RunFrames(1);  // play's set-up frame
  ASSERT_NE(World::GetCurrentRecord(), nullptr);
  // The points of a fight: enough for the tenth row of the single-player scores.
  HUD::GetInstance()->AddToScore(1500);
  game->KeyDown(SDL_SCANCODE_RIGHT);
  ASSERT_TRUE(Reach(STATE_GAME_OVER, 600)) << "the hero never fell into the pit";
  game->KeyUp(SDL_SCANCODE_RIGHT);

  ASSERT_TRUE(RunUntil([] { return World::GetFrameCounter() == 155; }, 200));
  Press(SDL_SCANCODE_DOWN);
  EXPECT_EQ(endscreens::GameOverSelection(), 1) << "quit";
  Press(SDL_SCANCODE_RETURN);
  ASSERT_TRUE(Reach(STATE_NAME_ENTRY, 120));
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY) << "the score did not qualify";
  TypeName();
  ASSERT_TRUE(Reach(STATE_HIGH_SCORES, 2));

  EXPECT_EQ(TableName(0, 9), "Ki t");
  EXPECT_EQ(endscreens::HighScoreTexts()[kFixedTexts + 9].GetText(), "1500");
  EXPECT_FALSE(TableShows(1, "Ki t")) << "a lost game enters no time";
  EXPECT_NE(ScoreFile().find("1500\tKi t\n"), std::string::npos);
  LeaveHighScores();
}

class CompletedGame : public EndPath, public ::testing::WithParamInterface<int> {};

TEST_P(CompletedGame, CreditsNameEntryHighScoresAndTheMenu) {
  const int slots = GetParam();
  Start(slots);
  auto tiles = World::GetObjects()->FindAll("MetalTiles");
  ASSERT_FALSE(tiles.empty());
  auto* line = dynamic_cast<GameObject*>(tiles.front());
  line->SetBehavior(FinishLine);
  line->SetDeactivateOffscreen(false);

  game->KeyDown(SDL_SCANCODE_RIGHT);
  ASSERT_TRUE(Reach(STATE_LEVEL_COMPLETE, 300));
  game->KeyUp(SDL_SCANCODE_RIGHT);
  ASSERT_TRUE(Reach(STATE_CREDITS, 260)) << "the only level done completes the game";
  game->KeyDown(SDL_SCANCODE_RETURN);  // fast-forward
  ASSERT_TRUE(RunUntil([] { return World::GetState() != STATE_CREDITS; }, 1300));
  game->KeyUp(SDL_SCANCODE_RETURN);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY);
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY) << "a finished game's time did not qualify";
  TypeName();
  ASSERT_TRUE(Reach(STATE_HIGH_SCORES, 2));

  // A finished game enters its time in the times of its kind.
  const int times = slots == 1 ? 1 : 3;
  for (int table = 0; table < times; ++table) Press(SDL_SCANCODE_SPACE);
  EXPECT_TRUE(TableShows(times, "Ki t"));
  EXPECT_FALSE(TableShows(slots == 1 ? 3 : 1, "Ki t")) << "only the blocks of the game's kind";
  EXPECT_NE(ScoreFile().find("\tKi t\n"), std::string::npos);
  for (int table = times; table < 3; ++table) Press(SDL_SCANCODE_SPACE);
  ASSERT_EQ(endscreens::HighScoreTable(), 3);
  Press(SDL_SCANCODE_SPACE);
  ASSERT_TRUE(Reach(STATE_MAIN_MENU, 10));
  game->RunFrames(5);
  EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
  EXPECT_EQ(World::GetObjects()->FindAll("MenuSword").size(), 1u) << "the menu level is loaded";
  EXPECT_EQ(World::GetObjects()->FindAll("MenuOptions").size(), 3u);
  for (const auto& record : World::GetPlayerRecords()) EXPECT_EQ(record, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Slots, CompletedGame, ::testing::Values(1, 2));

}  // namespace
