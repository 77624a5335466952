// The World's static state: handle lifetime, the game-state machine (handler
// dispatch, out-of-range states, the frame counter a new state starts with,
// level-list bookkeeping), the game clock, fade colours and text formatting.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/WorldTestKit.h"
#include "game/player/PlayerObject.h"

namespace {

TEST(WorldHandleTest, FirstHandleMakesOnePlayerSlotAndLastReleasesIt) {
  ASSERT_EQ(World::GetReferenceCount(), 0);
  {
    World temporary;  // a focus change before start-up leaves nothing behind
    temporary.OnSetFocus();
  }
  EXPECT_TRUE(World::GetPlayerRecords().empty());
  {
    World first;
    World second;
    EXPECT_EQ(World::GetReferenceCount(), 2);
    EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  }
  EXPECT_EQ(World::GetReferenceCount(), 0);
  EXPECT_TRUE(World::GetPlayerRecords().empty());
}

int gNextState = 0;
int gCalls = 0;
int gSeenCounter = 0;
bool gAdvanceEntry = false;

int ScriptedHandler(int* frameCounter) {
  ++gCalls;
  gSeenCounter = *frameCounter;
  ++*frameCounter;
  if (gAdvanceEntry) World::SetCurrentEntry(World::GetCurrentEntry() + 1);
  return gNextState;
}

// A started World whose every state runs ScriptedHandler.
class WorldStateTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    InitWorld();
    for (int s = 0; s < STATE_COUNT; ++s) {
      saved[s] = World::GetStateHandler(s);
      World::SetStateHandler(s, ScriptedHandler);
    }
    World::SetCurrentEntry(0);
    World::SetNewGame(false);
    gCalls = 0;
    gAdvanceEntry = false;
  }
  void TearDown() override {
    for (int s = 0; s < STATE_COUNT; ++s) World::SetStateHandler(s, saved[s]);
    WorldDataTest::TearDown();
  }

  // One frame in `from` whose handler answers `to`.
  static void Step(int from, int to) {
    World::SetState(from);
    gNextState = to;
    World::Update();
  }

  StateHandler saved[STATE_COUNT] = {};
};

TEST_F(WorldStateTest, HandlerResultBecomesTheStateWithItsFirstCounterValue) {
  const struct {
    const char* name;
    int from, result, playerSlots;
    int state, counter;  // what the frame leaves
  } transitions[] = {    // Same state: the handler's own counter change stands.
                     {"SameState", STATE_HIGH_SCORES, STATE_HIGH_SCORES, 1, STATE_HIGH_SCORES, 100},
                     {"IntroDone", STATE_INTRO_DONE, STATE_GAMEPLAY, 1, STATE_MAIN_MENU, 0},
                     // Past the table the game restarts at once; below it waits a frame in 13.
                     {"PastTheTable", STATE_CREDITS, 13, 1, STATE_LOAD_GAME, -31},
                     {"Negative", STATE_HIGH_SCORES, -4, 1, STATE_COUNT, 0},
                     {"FromOptions", STATE_OPTIONS, STATE_MAIN_MENU, 1, STATE_MAIN_MENU, -1},
                     {"FromStory", STATE_STORY, STATE_NAME_ENTRY, 1, STATE_NAME_ENTRY, -31},
                     {"CreditsToNames", STATE_CREDITS, STATE_NAME_ENTRY, 1, STATE_NAME_ENTRY, 0},
                     {"NewGame", STATE_MAIN_MENU, STATE_GAMEPLAY, 1, STATE_GAMEPLAY, 0},
                     {"ContinueAlone", STATE_GAME_OVER, STATE_GAMEPLAY, 1, STATE_GAMEPLAY, 0},
                     {"ContinueTogether", STATE_GAME_OVER, STATE_GAMEPLAY, 3, STATE_GAMEPLAY, -1},
                     {"GameOverToNames", STATE_GAME_OVER, STATE_NAME_ENTRY, 3, STATE_NAME_ENTRY, 0},
                     {"UnpauseTogether", STATE_PAUSE, STATE_GAMEPLAY, 2, STATE_GAMEPLAY, 0}};
  for (const auto& t : transitions) {
    SCOPED_TRACE(t.name);
    World::GetPlayerRecords().clear();
    World::GetPlayerRecords().resize(static_cast<std::size_t>(t.playerSlots));
    World::SetFrameCounter(99);
    World::SetNewGame(false);
    gCalls = gSeenCounter = 0;
    Step(t.from, t.result);
    EXPECT_EQ(World::GetState(), t.state);
    EXPECT_EQ(World::GetFrameCounter(), t.counter);
    // State 2 needs no handler: it always passes on to the main menu.
    EXPECT_EQ(gCalls, t.from == STATE_INTRO_DONE ? 0 : 1);
    EXPECT_EQ(gSeenCounter, gCalls ? 99 : 0);
    // Only gameplay entered from the main menu starts a new game.
    EXPECT_EQ(World::IsNewGame(), t.from == STATE_MAIN_MENU && t.state == STATE_GAMEPLAY);
  }
}

TEST_F(WorldStateTest, StatesWithoutAHandlerRunNothingAndThirteenPassesToLoading) {
  World::SetStateHandler(STATE_STORY, nullptr);
  World::SetFrameCounter(-31);
  Step(STATE_STORY, STATE_GAMEPLAY);
  EXPECT_EQ(World::GetState(), STATE_STORY);
  EXPECT_EQ(World::GetFrameCounter(), -31);
  Step(STATE_COUNT, STATE_GAMEPLAY);
  EXPECT_EQ(World::GetState(), STATE_LOAD_GAME);
  EXPECT_EQ(World::GetFrameCounter(), 0);
  EXPECT_EQ(gCalls, 0);
}

TEST_F(WorldStateTest, NewEntryInTheSameStateAdvancesItsLevelListAndWraps) {
  StateLevelList& list = *World::GetLevelList(STATE_GAMEPLAY);
  list.names = {"Junkyard", "Factory", "Airship"};
  list.index = 1;
  gAdvanceEntry = true;
  Step(STATE_GAMEPLAY, STATE_GAMEPLAY);
  EXPECT_EQ(list.index, 2);
  Step(STATE_GAMEPLAY, STATE_GAMEPLAY);
  EXPECT_EQ(list.index, 0);
  // With a state change the new state's list stays where it is.
  World::GetLevelList(STATE_LEVEL_COMPLETE)->names = {"Junkyard", "Factory"};
  Step(STATE_GAMEPLAY, STATE_LEVEL_COMPLETE);
  EXPECT_EQ(World::GetLevelList(STATE_LEVEL_COMPLETE)->index, 0);
  // States without a list, or with an empty one, are left alone.
  Step(STATE_LOAD_GAME, STATE_LOAD_GAME);
  Step(STATE_CREDITS, STATE_CREDITS);
  EXPECT_EQ(World::GetLevelList(STATE_CREDITS)->index, 0);
  EXPECT_EQ(World::GetLevelList(STATE_LOAD_GAME), nullptr);
  EXPECT_EQ(World::GetLevelList(STATE_COUNT), nullptr);
}

TEST_F(WorldStateTest, GameClockRunsOnlyWhileResumedAndFocusedAndResetsOnlyWhileRunning) {
  constexpr std::int64_t kSecond = testharness::GameHarness::kClockFrequency;
  World::ResetGameClock();  // running, so this starts from zero
  game->Clock().Advance(2 * kSecond);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.0);
  World::PauseGameClock();
  game->Clock().Advance(60 * kSecond);
  World::ResetGameClock();
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.0);
  World::ResumeGameClock();
  game->Clock().Advance(kSecond / 4);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.25);
  World::OnKillFocus();  // the window in the background holds it too
  game->Clock().Advance(30 * kSecond);
  World::OnSetFocus();
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.25);
  World::ResetGameClock();
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 0.0);
}

TEST(WorldFadeColorTest, EachChannelStepsAndRoundsOnItsOwn) {
  EXPECT_EQ(World::FadeColor(0xFF000000, 0x00000000, 1, 30), 0xF7000000u);  // alpha 247 first
  EXPECT_EQ(World::FadeColor(0xFF000000, 0x00FFFFFF, 30, 30), 0x00FFFFFFu);
  EXPECT_EQ(World::FadeColor(0x00FF0000, 0x000000FF, 15, 30), 0x00800080u);  // 127.5 rounds up
  EXPECT_EQ(World::FadeColor(0x00000000, 0xFF000000, 1, 3), 0x55000000u);
}

TEST(WorldFormatTest, TimeShowsHoursOnlyFromAnHourOnAndIntegersPadInFrontOfTheSign) {
  EXPECT_EQ(World::FormatTime(309), "5:09");
  EXPECT_EQ(World::FormatTime(3599), "59:59");
  EXPECT_EQ(World::FormatTime(3725), "1:02:05");
  EXPECT_EQ(World::FormatTime(36000), "10:00:00");
  EXPECT_EQ(World::IntToString(-5, 3), "0-5");
  EXPECT_EQ(World::IntToString(0, 0), "0");
  EXPECT_EQ(World::IntToString(7, 2), "07");
  EXPECT_EQ(World::IntToString(12345, 2), "12345");
  EXPECT_EQ(World::IntToString(INT_MIN, 1), "-2147483648");
}

}  // namespace

namespace {

// A front-end state loads its level on a new entry whatever the slot count; only
// gameplay leaves a turn of several players to RestorePlayer.
TEST_F(WorldStateTest, FrontEndLevelsLoadOnANewEntryWhateverTheSlotCount) {
  worldtest::WriteText(Root() / "front.lvl",
                       "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1\n1\nTile 10 10 0 0 0\n0\n0\n0\n");
  ASSERT_TRUE(World::AddLevelEntry("front", "front.lvl"));
  for (int state : {STATE_INTRO_DONE, STATE_MAIN_MENU, STATE_GAMEPLAY}) {
    World::GetLevelList(state)->names = {"front"};
  }
  gAdvanceEntry = true;
  const struct {
    int from, to;
    bool loads;
  } steps[] = {{STATE_PAUSE, STATE_INTRO_DONE, true},
               {STATE_HIGH_SCORES, STATE_MAIN_MENU, true},
               {STATE_LEVEL_COMPLETE, STATE_GAMEPLAY, false}};
  for (int slots : {1, 2, 4}) {
    for (const auto& s : steps) {
      SCOPED_TRACE(std::to_string(slots) + " slots, " + std::to_string(s.from) + " -> " +
                   std::to_string(s.to));
      World::GetPlayerRecords().clear();
      World::GetPlayerRecords().resize(static_cast<std::size_t>(slots));
      World::SetNewGame(false);
      World::ClearLevelJustLoaded();
      Step(s.from, s.to);
      EXPECT_EQ(World::IsLevelJustLoaded(), s.loads || slots == 1);
    }
  }
}

}  // namespace
