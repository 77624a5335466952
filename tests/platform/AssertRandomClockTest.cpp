#include <gtest/gtest.h>

#include "platform/Assert.h"
#include "platform/Clock.h"
#include "platform/Random.h"

TEST(AssertionDeathTest, ReportsExpressionFileAndLine) {
  const int line = __LINE__ + 1;
  auto fail = [] { VT_ASSERT(1 + 1 == 3); };
  const std::string expected = "Assertion failed: 1 \\+ 1 == 3, file .*AssertRandomClockTest\\.cpp, line " +
                               std::to_string(line);
  EXPECT_DEATH(fail(), expected);
}

TEST(Random, StaysInFifteenBitsAndRepeatsForASeed) {
  platform::SeedRandom(1);
  // The classic generator's first values for seed 1.
  EXPECT_EQ(platform::Random(), 41);
  EXPECT_EQ(platform::Random(), 18467);
  EXPECT_EQ(platform::Random(), 6334);
  platform::SeedRandom(12345);
  for (int i = 0; i < 10000; ++i) {
    const int value = platform::Random();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, platform::kRandMax);
  }
}

TEST(Clock, VirtualClockReplacesTheSystemClockUntilRemoved) {
  platform::VirtualClock clock(600);
  platform::SetClock(&clock);
  clock.Set(1200);
  EXPECT_EQ(platform::QueryCounter(), 1200);
  EXPECT_EQ(platform::QueryFrequency(), 600);
  EXPECT_EQ(platform::Milliseconds(), 2000u);
  platform::SetClock(nullptr);
  EXPECT_NE(platform::QueryFrequency(), 600);
}
