// The game-state machine: handler dispatch, out-of-range states, the frame
// counter a new state starts with, and level-list bookkeeping.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "WorldTestKit.h"
#include "game/World.h"
#include "platform/Clock.h"

namespace {

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

class WorldStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetClock(&clock);
    ASSERT_EQ(World::GetReferenceCount(), 0);
    world = std::make_unique<World>();
    for (int s = 0; s < STATE_COUNT; ++s) {
      saved[s] = World::GetStateHandler(s);
      World::SetStateHandler(s, ScriptedHandler);
      if (StateLevelList* list = World::GetLevelList(s)) *list = StateLevelList{};
    }
    World::SetState(STATE_LOAD_GAME);
    World::SetFrameCounter(0);
    World::SetCurrentEntry(0);
    World::SetNewGame(false);
    World::StartFade(0, 0xFF000000, 0xFF000000);  // nothing to draw
    World::OnSetFocus();
    gNextState = 0;
    gCalls = 0;
    gSeenCounter = 0;
    gAdvanceEntry = false;
  }

  void TearDown() override {
    for (int s = 0; s < STATE_COUNT; ++s) World::SetStateHandler(s, saved[s]);
    world.reset();
    platform::SetClock(nullptr);
  }

  // One frame in `from` whose handler answers `to`.
  void Step(int from, int to) {
    World::SetState(from);
    gNextState = to;
    World::Update();
  }

  platform::VirtualClock clock;
  worldtest::ScopedInput input;  // every active frame reads it
  std::unique_ptr<World> world;
  StateHandler saved[STATE_COUNT] = {};
};

TEST_F(WorldStateTest, HandlerGetsTheFrameCounterAndItsResultBecomesTheState) {
  World::SetFrameCounter(41);
  Step(STATE_HIGH_SCORES, STATE_HIGH_SCORES);
  EXPECT_EQ(gCalls, 1);
  EXPECT_EQ(gSeenCounter, 41);
  // Same state: the handler's own counter change stands.
  EXPECT_EQ(World::GetFrameCounter(), 42);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
}

TEST_F(WorldStateTest, StateWithoutHandlerStaysAndKeepsItsCounter) {
  World::SetStateHandler(STATE_STORY, nullptr);
  World::SetFrameCounter(-31);
  Step(STATE_STORY, STATE_GAMEPLAY);
  Step(STATE_STORY, STATE_GAMEPLAY);
  EXPECT_EQ(World::GetState(), STATE_STORY);
  EXPECT_EQ(World::GetFrameCounter(), -31);
  EXPECT_EQ(gCalls, 0);
}

TEST_F(WorldStateTest, IntroDoneAlwaysPassesToMainMenu) {
  World::SetFrameCounter(17);
  Step(STATE_INTRO_DONE, STATE_GAMEPLAY);
  EXPECT_EQ(gCalls, 0);
  EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
  EXPECT_EQ(World::GetFrameCounter(), 0);
}

TEST_F(WorldStateTest, ResultPastTheTableRestartsLoadingOnTheSameFrame) {
  Step(STATE_CREDITS, 13);
  EXPECT_EQ(World::GetState(), STATE_LOAD_GAME);
  Step(STATE_PAUSE, 500);
  EXPECT_EQ(World::GetState(), STATE_LOAD_GAME);
}

TEST_F(WorldStateTest, NegativeResultWaitsOneFrameWithoutHandlerThenLoads) {
  Step(STATE_HIGH_SCORES, -4);
  EXPECT_EQ(World::GetState(), STATE_COUNT);
  EXPECT_EQ(gCalls, 1);
  World::Update();
  EXPECT_EQ(gCalls, 1);
  EXPECT_EQ(World::GetState(), STATE_LOAD_GAME);
  EXPECT_EQ(World::GetFrameCounter(), 0);
}

// (old state, new state, player slots, counter the new state starts with)
class WorldCounterStartTest : public WorldStateTest,
                              public ::testing::WithParamInterface<std::tuple<int, int, int, int>> {
};

TEST_P(WorldCounterStartTest, NewStateStartsWithItsSetUpFrames) {
  const auto [from, to, slots, expected] = GetParam();
  World::GetPlayerRecords().assign(static_cast<std::size_t>(slots), nullptr);
  World::SetFrameCounter(99);
  Step(from, to);
  EXPECT_EQ(World::GetState(), to);
  EXPECT_EQ(World::GetFrameCounter(), expected);
}

INSTANTIATE_TEST_SUITE_P(Transitions, WorldCounterStartTest,
                         ::testing::Values(std::make_tuple(STATE_OPTIONS, STATE_MAIN_MENU, 1, -1),
                                           std::make_tuple(STATE_INTRO, STATE_INTRO_DONE, 1, -1),
                                           std::make_tuple(STATE_STORY, STATE_MAIN_MENU, 1, -31),
                                           std::make_tuple(STATE_STORY, STATE_NAME_ENTRY, 1, -31),
                                           std::make_tuple(STATE_CREDITS, STATE_MAIN_MENU, 1, -31),
                                           std::make_tuple(STATE_CREDITS, STATE_NAME_ENTRY, 1, 0),
                                           std::make_tuple(STATE_GAME_OVER, STATE_GAMEPLAY, 1, 0),
                                           std::make_tuple(STATE_GAME_OVER, STATE_GAMEPLAY, 3, -1),
                                           std::make_tuple(STATE_GAME_OVER, STATE_NAME_ENTRY, 3, 0),
                                           std::make_tuple(STATE_MAIN_MENU, STATE_GAMEPLAY, 1, 0),
                                           std::make_tuple(STATE_PAUSE, STATE_GAMEPLAY, 2, 0)));

TEST_F(WorldStateTest, NewGameIsFlaggedOnlyWhenGameplayIsEnteredFromTheMainMenu) {
  Step(STATE_PAUSE, STATE_GAMEPLAY);
  EXPECT_FALSE(World::IsNewGame());
  Step(STATE_MAIN_MENU, STATE_OPTIONS);
  EXPECT_FALSE(World::IsNewGame());
  Step(STATE_MAIN_MENU, STATE_GAMEPLAY);
  EXPECT_TRUE(World::IsNewGame());
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
}

TEST_F(WorldStateTest, NewEntryWithAStateChangeLeavesTheListAlone) {
  StateLevelList& list = *World::GetLevelList(STATE_LEVEL_COMPLETE);
  list.names = {"Junkyard", "Factory"};
  gAdvanceEntry = true;
  Step(STATE_GAMEPLAY, STATE_LEVEL_COMPLETE);
  EXPECT_EQ(list.index, 0);
}

TEST_F(WorldStateTest, NewEntryInAStateWithoutAListIsHarmless) {
  gAdvanceEntry = true;
  Step(STATE_LOAD_GAME, STATE_LOAD_GAME);
  EXPECT_EQ(World::GetState(), STATE_LOAD_GAME);
  // An empty list stays at its start.
  Step(STATE_CREDITS, STATE_CREDITS);
  EXPECT_EQ(World::GetLevelList(STATE_CREDITS)->index, 0);
  EXPECT_EQ(World::GetLevelList(STATE_LOAD_GAME), nullptr);
  EXPECT_EQ(World::GetLevelList(STATE_COUNT), nullptr);
}

TEST_F(WorldStateTest, InactiveWindowRunsNoHandlerAndKeepsTheState) {
  World::OnKillFocus();
  Step(STATE_HIGH_SCORES, STATE_MAIN_MENU);
  EXPECT_EQ(gCalls, 0);
  EXPECT_EQ(World::GetState(), STATE_HIGH_SCORES);
  World::OnSetFocus();
  World::Update();
  EXPECT_EQ(gCalls, 1);
  EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
}

}  // namespace
