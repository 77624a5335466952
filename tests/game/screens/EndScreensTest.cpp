// The name screen and the high-score screen: spelling a name on the key grid,
// saving it under the first qualifying record, and paging through the tables.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/data/ScoreFile.h"
#include "game/hud/HUD.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "platform/FileSave.h"

namespace {

using worldtest::WriteText;

// Scores 1000 down to 100 and times 100 up to 1000 in every block.
std::string ShippedScores() {
  scorefile::ScoreTable t;
  for (int k = 0; k < scorefile::kEntries; ++k) {
    const int r = k % 10;
    t.values[k] = scorefile::IsTimeBlock(k / 10) ? (r + 1) * 100 : (10 - r) * 100;
    t.names[k] = "Old" + std::to_string(k);
  }
  return scorefile::Format(t);
}

class EndScreenTest : public worldtest::WorldDataTest {
 protected:
  // The game list and its one level are loaded, then the World is put in
  // `state` with one record per given score (0 leaves the slot empty).
  void Enter(int state, std::initializer_list<int> scores) {
    WriteText(Root() / scorefile::kFileName, ShippedScores());
    WriteGameList("one one.lvl", 1);
    WriteText(Root() / "one.lvl", "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1 0\nZodirazO 100 100 0\n0\n0\n");
    InitWorld();
    game->RunFrames(1);
    PlayerObject* hero = World::GetPlayer();
    ASSERT_NE(hero, nullptr);
    hero->SetBehavior(nullptr);
    World::PlayerRecords& records = World::GetPlayerRecords();
    records.clear();
    for (int score : scores) {
      if (score == 0) {
        records.push_back(nullptr);
        continue;
      }
      auto record = std::make_unique<PlayerObject>(*hero);
      record->SetScore(score);
      *record->AddFlag("Level", 0.0f) = 0.0f;
      records.push_back(std::move(record));
    }
    World::SetState(state);
    World::SetFrameCounter(0);
  }
  void Press(SDL_Scancode key) {
    game->KeyDown(key);
    game->RunFrames(1);
    game->KeyUp(key);
    game->RunFrames(1);
  }
  static std::string Slot(int m) { return endscreens::NameEntryKeys()[31 + m].GetText(); }
  std::string FirstLine() const {
    std::ifstream in(Root() / scorefile::kFileName);
    std::string line;
    std::getline(in, line);
    return line;
  }
};

TEST(NameEntryKeys, MovesWrapAroundTheGridAndTheBottomRow) {
  enum { A = 0, B = 1, C = 2, D = 3, F = 5, G = 6, H = 7, U = 20, V = 21, W = 22, Y = 24 };
  enum { Dash = 26, Quote = 27, Space = 28, Case = 29, Done = 30 };
  const struct {
    int from;
    ActionBits action;
    int to;
  } cases[] = {
      {A, MOVE_LEFT, G},       {B, MOVE_LEFT, A},         {Space, MOVE_LEFT, Done},
      {Done, MOVE_LEFT, Case}, {G, MOVE_RIGHT, A},        {Quote, MOVE_RIGHT, V},
      {Done, MOVE_RIGHT, Space}, {Space, MOVE_RIGHT, Case}, {C, UP_OPTIONS_SELECTION, Case},
      {A, UP_OPTIONS_SELECTION, Space}, {G, UP_OPTIONS_SELECTION, Done},
      {Space, UP_OPTIONS_SELECTION, W}, {Case, UP_OPTIONS_SELECTION, Y},
      {Done, UP_OPTIONS_SELECTION, Dash}, {H, UP_OPTIONS_SELECTION, A},
      {A, DOWN_OPTIONS_SELECTION, H}, {V, DOWN_OPTIONS_SELECTION, Space},
      {U - 1, DOWN_OPTIONS_SELECTION, U + 6}, {Dash, DOWN_OPTIONS_SELECTION, Done},
      {Space, DOWN_OPTIONS_SELECTION, B}, {Case, DOWN_OPTIONS_SELECTION, D},
      {Done, DOWN_OPTIONS_SELECTION, F},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(endscreens::NameEntryMove(c.from, c.action), c.to)
        << c.from << " action " << c.action;
  }
}

TEST_F(EndScreenTest, NineLettersFillTheNameAndEachBackspaceKeyTakesOneBack) {
  Enter(STATE_NAME_ENTRY, {5000});
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY);
  EXPECT_EQ(World::GetObjects()->GetMask(), 0);
  EXPECT_EQ(Slot(0), "_");
  for (int i = 0; i < 10; ++i) Press(SDL_SCANCODE_SPACE);
  EXPECT_EQ(endscreens::NameEntryName(), "AAAAAAAAA");  // the tenth is ignored
  EXPECT_EQ(Slot(8), "A");
  int expectedLength = 9;
  for (SDL_Scancode key : {SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_A}) {
    Press(key);
    --expectedLength;
    EXPECT_EQ(endscreens::NameEntryName().size(), static_cast<std::size_t>(expectedLength));
    EXPECT_EQ(Slot(expectedLength), "_");
    if (expectedLength < 8) {
      EXPECT_EQ(Slot(expectedLength + 1), " ");
    }
  }
}

TEST_F(EndScreenTest, TheCaseKeySwitchesLettersAndLabelAndDoneSavesTheName) {
  Enter(STATE_NAME_ENTRY, {5000});
  game->RunFrames(1);
  Press(SDL_SCANCODE_RETURN);          // "A"
  Press(SDL_SCANCODE_UP);              // "Space"
  Press(SDL_SCANCODE_SPACE);           // a space
  Press(SDL_SCANCODE_RIGHT);           // the case key
  Press(SDL_SCANCODE_SPACE);
  EXPECT_EQ(endscreens::NameEntryKeys()[29].GetText(), "Upper");
  EXPECT_EQ(endscreens::NameEntryKeys()[0].GetText(), "a");
  EXPECT_EQ(endscreens::NameEntryKeys()[25].GetText(), "z");
  Press(SDL_SCANCODE_UP);              // "y"
  Press(SDL_SCANCODE_SPACE);
  EXPECT_EQ(endscreens::NameEntryName(), "A y");
  Press(SDL_SCANCODE_DOWN);            // back to the case key
  Press(SDL_SCANCODE_SPACE);
  EXPECT_EQ(endscreens::NameEntryKeys()[29].GetText(), "Lower");
  EXPECT_EQ(endscreens::NameEntryKeys()[0].GetText(), "A");
  Press(SDL_SCANCODE_RIGHT);           // "Done"
  if (const char* dir = std::getenv("ENDSCREEN_SHOTS")) game->SaveFrame(std::string(dir) + "/names.png");
  game->KeyDown(SDL_SCANCODE_SPACE);
  game->RunFrames(1);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
  EXPECT_EQ(FirstLine(), "5000\tA y");
  EXPECT_EQ(World::GetPlayerRecords()[0], nullptr);
}

TEST_F(EndScreenTest, OnlyTheFirstQualifyingRecordIsNamedAndDeleted) {
  // Slot 0 empty, slot 1 beats nothing, slot 2 and 3 qualify.
  Enter(STATE_NAME_ENTRY, {0, 50, 3000, 4000});
  game->RunFrames(1);
  Press(SDL_SCANCODE_UP);    // "Space"
  Press(SDL_SCANCODE_LEFT);  // "Done", with an empty name
  Press(SDL_SCANCODE_RETURN);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  EXPECT_EQ(FirstLine(), "1000\tOld0");  // a game of several players: blocks 2-3
  const scorefile::ScoreTable t = scorefile::Read(scorefile::kFileName);
  EXPECT_EQ(t.values[20], 3000);
  EXPECT_EQ(t.names[20], "");
  const World::PlayerRecords& records = World::GetPlayerRecords();
  EXPECT_NE(records[1], nullptr);
  EXPECT_EQ(records[2], nullptr);
  EXPECT_NE(records[3], nullptr);
}

TEST_F(EndScreenTest, NoQualifyingRecordGoesOnAtOnceWithTheListUntouched) {
  Enter(STATE_NAME_ENTRY, {50});
  World::GetObjects()->SetMask(PASS_ALL);
  game->RunFrames(1);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
  EXPECT_EQ(FirstLine(), "1000\tOld0");
}

TEST_F(EndScreenTest, AScoreFileThatCannotBeReadIsKeptAndTheTablesShowEmpty) {
  Enter(STATE_NAME_ENTRY, {5000});
  // A pipe under the file's name: the game must neither wait on it nor replace it.
  const std::filesystem::path file = Root() / scorefile::kFileName;
  std::filesystem::remove(file);
  ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_NAME_ENTRY);  // empty tables: any result enters
  Press(SDL_SCANCODE_UP);                          // "Space"
  Press(SDL_SCANCODE_LEFT);                        // "Done"
  Press(SDL_SCANCODE_RETURN);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  EXPECT_EQ(std::filesystem::symlink_status(file).type(), std::filesystem::file_type::fifo);
  const auto& texts = endscreens::HighScoreTexts();
  ASSERT_EQ(texts.size(), 91u);
  EXPECT_EQ(texts[11].GetText(), "0");
  EXPECT_EQ(texts[21].GetText(), "");
}

// A save that finds another game saving tries again each frame and gives up only
// after a bounded wait; a score that is not saved is told in one line under the
// tables, which still show.
TEST_F(EndScreenTest, AScoreThatIsNotSavedIsToldUnderTheTablesWhichStillShow) {
  ::alarm(120);  // a save that waited on the lock would wait here for ever
  const struct {
    const char* name;
    int lockFrames;      // frames another game holds the folder after "Done"; -1: throughout
    bool pipe;           // a pipe in the score file's place
    const char* notice;  // part of the line under the tables; "" for none
  } cases[] = {
      {"AnotherGameSavesThroughout", -1, false, "another game is saving its scores"},
      {"AnotherGameEndsItsSaveInTime", 30, false, ""},
      {"APipeInTheFilesPlace", 0, true, "not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Enter(STATE_NAME_ENTRY, {5000});
    const std::filesystem::path file = Root() / scorefile::kFileName;
    if (c.pipe) {
      std::filesystem::remove(file);
      ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    }
    game->RunFrames(1);
    Press(SDL_SCANCODE_UP);    // "Space"
    Press(SDL_SCANCODE_LEFT);  // "Done"
    const int other = ::open(Root().c_str(), O_RDONLY | O_DIRECTORY);
    if (c.lockFrames != 0) {
      ASSERT_EQ(::flock(other, LOCK_EX), 0);
    }
    testing::internal::CaptureStderr();
    Press(SDL_SCANCODE_RETURN);
    int frames = 0;
    for (; World::GetState() == STATE_NAME_ENTRY && frames < 1000; ++frames) {
      if (frames == c.lockFrames) ::flock(other, LOCK_UN);
      game->RunFrames(1);
    }
    ::close(other);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
    if (c.lockFrames < 0) {
      EXPECT_GE(frames, platform::kSaveLockFrames - 2);
      EXPECT_EQ(FirstLine(), "1000\tOld0");
    }
    if (c.lockFrames > 0) {
      EXPECT_EQ(FirstLine(), "5000\t");
    }
    const std::string& notice = endscreens::HighScoreNotice();
    if (*c.notice) {
      EXPECT_NE(notice.find(scorefile::kFileName), std::string::npos) << notice;
      EXPECT_NE(notice.find(c.notice), std::string::npos) << notice;
    } else {
      EXPECT_EQ(notice, "");
    }
    // Under the tables, on one line within the screen: only the notice lights there.
    game->RunFrames(40);
    EXPECT_EQ(endscreens::HighScoreTexts().size(), 91u);
    if (const char* dir = std::getenv("ENDSCREEN_SHOTS")) {
      game->SaveFrame(std::string(dir) + "/notice-" + c.name + ".png");
    }
    const std::vector<std::uint32_t> frame = game->ReadFrame();
    if (frame.empty()) continue;
    int lit = 0;
    int litAtEdges = 0;
    for (int y = 572; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        const bool on = (testharness::GameHarness::PixelAt(frame, x, y) & 0xFFFFFF) != 0;
        lit += on;
        litAtEdges += on && (x < 4 || x >= 796);
      }
    }
    EXPECT_EQ(lit > 0, *c.notice != '\0');
    EXPECT_EQ(litAtEdges, 0);
  }
  ::alarm(0);
}

TEST_F(EndScreenTest, HighScoresPageThroughFourTablesThenLeaveForTheMenu) {
  Enter(STATE_HIGH_SCORES, {5000});
  // This data set has no menu level: the menu is not what is under test here.
  const StateHandler menu = World::GetStateHandler(STATE_MAIN_MENU);
  World::SetStateHandler(STATE_MAIN_MENU, nullptr);
  game->RunFrames(1);
  const auto& texts = endscreens::HighScoreTexts();
  ASSERT_EQ(texts.size(), 91u);
  EXPECT_EQ(texts[0].GetText(), "Single Player Scores");
  EXPECT_EQ(texts[1].GetText(), "1st");
  EXPECT_EQ(texts[11].GetText(), "1000");  // block 0 values, then names
  EXPECT_EQ(texts[21].GetText(), "Old0");
  EXPECT_EQ(World::GetObjects()->GetMask(), 0);
  // The top row in its yellow: some pixel of the name column turns yellow.
  game->RunFrames(40);  // past the fade in
  if (const char* dir = std::getenv("ENDSCREEN_SHOTS")) game->SaveFrame(std::string(dir) + "/scores.png");
  const std::vector<std::uint32_t> frame = game->ReadFrame();
  if (!frame.empty()) {
    bool yellow = false;
    for (int y = 120; y < 160 && !yellow; ++y) {
      for (int x = 300; x < 400 && !yellow; ++x) {
        yellow = (testharness::GameHarness::PixelAt(frame, x, y) & 0xFFFFFF) == 0xFFFF00;
      }
    }
    EXPECT_TRUE(yellow);
  }
  const int entry = World::GetCurrentEntry();
  const char* const captions[] = {"Single Player Times", "Multi-Player Scores",
                                  "Multi-Player Times"};
  for (const char* caption : captions) {
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(texts[0].GetText(), caption);
    EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  }
  Press(SDL_SCANCODE_SPACE);
  EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
  EXPECT_EQ(World::GetCurrentEntry(), entry + 1);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
  EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  EXPECT_EQ(World::GetPlayerRecords()[0], nullptr);
  World::SetStateHandler(STATE_MAIN_MENU, menu);
}

}  // namespace
