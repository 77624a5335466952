// The World's handle lifetime, game clock, fade colours and text formatting.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "game/World.h"
#include "platform/Clock.h"

namespace {

class WorldHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(World::GetReferenceCount(), 0); }
};

TEST_F(WorldHandleTest, FirstHandleMakesOnePlayerSlotAndLastReleasesIt) {
  {
    World first;
    EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
    {
      World second;
      EXPECT_EQ(World::GetReferenceCount(), 2);
      EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
    }
    EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  }
  EXPECT_EQ(World::GetReferenceCount(), 0);
  EXPECT_TRUE(World::GetPlayerRecords().empty());
}

TEST_F(WorldHandleTest, FocusThroughATemporaryHandleBeforeStartUpLeavesNothingBehind) {
  {
    World temporary;
    temporary.OnSetFocus();
  }
  EXPECT_TRUE(World::GetPlayerRecords().empty());

  World entry;
  EXPECT_EQ(World::GetReferenceCount(), 1);
  EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  EXPECT_FALSE(World::IsInactive());
}

class WorldClockTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kFrequency = 1000;

  void SetUp() override {
    platform::SetClock(&clock);
    world = std::make_unique<World>();  // the first handle reads the frequency
    World::ResumeGameClock();
    World::ResetGameClock();  // running now, so this starts from zero
  }
  void TearDown() override {
    World::OnSetFocus();
    world.reset();
    platform::SetClock(nullptr);
  }

  platform::VirtualClock clock{kFrequency};
  std::unique_ptr<World> world;
};

TEST_F(WorldClockTest, RunningClockCountsCounterSeconds) {
  clock.Advance(2500);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.5);
  clock.Advance(500);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 3.0);
}

TEST_F(WorldClockTest, PausedClockHoldsAndResumeContinuesFromThere) {
  clock.Advance(1000);
  World::PauseGameClock();
  clock.Advance(60'000);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 1.0);
  World::ResumeGameClock();
  clock.Advance(250);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 1.25);
}

TEST_F(WorldClockTest, ResetZeroesOnlyARunningClock) {
  clock.Advance(2000);
  World::PauseGameClock();
  World::ResetGameClock();
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 2.0);
  World::ResumeGameClock();
  World::ResetGameClock();
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 0.0);
}

TEST_F(WorldClockTest, LosingFocusStopsTheClockUntilItComesBack) {
  clock.Advance(1000);
  World::OnKillFocus();
  EXPECT_TRUE(World::IsInactive());
  clock.Advance(30'000);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 1.0);
  World::OnSetFocus();
  clock.Advance(500);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), 1.5);
}

TEST(WorldFadeColorTest, BlackToTransparentOverThirtyFramesStartsAtAlpha247) {
  EXPECT_EQ(World::FadeColor(0xFF000000, 0x00000000, 1, 30), 0xF7000000u);
  EXPECT_EQ(World::FadeColor(0xFF000000, 0x00000000, 29, 30), 0x09000000u);
}

TEST(WorldFadeColorTest, EndColourIsReachedOnTheLastFrame) {
  EXPECT_EQ(World::FadeColor(0xFF000000, 0x00FFFFFF, 30, 30), 0x00FFFFFFu);
  EXPECT_EQ(World::FadeColor(0x12345678, 0x9ABCDEF0, 7, 7), 0x9ABCDEF0u);
  EXPECT_EQ(World::FadeColor(0x12345678, 0x9ABCDEF0, 0, 7), 0x12345678u);
}

TEST(WorldFadeColorTest, EachChannelRoundsOnItsOwn) {
  // Halfway: 255 -> 0 gives 127.5 and 0 -> 255 gives 127.5, both rounding up.
  EXPECT_EQ(World::FadeColor(0x00FF0000, 0x000000FF, 15, 30), 0x00800080u);
  EXPECT_EQ(World::FadeColor(0x00000000, 0xFF000000, 1, 3), 0x55000000u);
}

TEST(WorldFormatTest, TimeShowsHoursOnlyFromAnHourOn) {
  EXPECT_EQ(World::FormatTime(3725), "1:02:05");
  EXPECT_EQ(World::FormatTime(3909), "1:05:09");
  EXPECT_EQ(World::FormatTime(36000), "10:00:00");
  EXPECT_EQ(World::FormatTime(59), "0:59");
  EXPECT_EQ(World::FormatTime(309), "5:09");
  EXPECT_EQ(World::FormatTime(0), "0:00");
  EXPECT_EQ(World::FormatTime(3599), "59:59");
}

TEST(WorldFormatTest, IntToStringPadsInFrontOfTheSign) {
  EXPECT_EQ(World::IntToString(-5, 3), "0-5");
  EXPECT_EQ(World::IntToString(0, 3), "000");
  EXPECT_EQ(World::IntToString(0, 0), "0");
  EXPECT_EQ(World::IntToString(7, 2), "07");
  EXPECT_EQ(World::IntToString(12345, 2), "12345");
  EXPECT_EQ(World::IntToString(-40, 0), "-40");
}

TEST(WorldFormatTest, IntToStringHandlesTheExtremes) {
  EXPECT_EQ(World::IntToString(INT_MAX, 1), "2147483647");
  EXPECT_EQ(World::IntToString(INT_MIN, 1), "-2147483648");
}

}  // namespace
