// Settings from the environment: whole numbers in range, or the program stops saying
// which setting and value were wrong.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/Random.h"
#include "platform/Settings.h"

namespace {

using platform::ParseSettingNumber;

TEST(SettingNumber, OnlyWholeDecimalNumbersInRangeAreTaken) {
  constexpr long long kMost = std::numeric_limits<long long>::max();
  const struct {
    const char* text;
    long long lowest;
    long long highest;
    std::optional<long long> value;
  } cases[] = {
      {"60", 1, kMost, 60},
      {"1", 1, kMost, 1},
      {"9223372036854775807", 1, kMost, kMost},
      {"4294967295", 0, 4294967295, 4294967295},
      {"-5", -10, 10, -5},
      {"007", 0, 10, 7},
      {"", 1, kMost, std::nullopt},
      {"abc", 1, kMost, std::nullopt},
      {"-5", 1, kMost, std::nullopt},
      {"0", 1, kMost, std::nullopt},
      {"60abc", 1, kMost, std::nullopt},
      {"1e3", 1, kMost, std::nullopt},
      {"0x10", 0, kMost, std::nullopt},
      {"+60", 1, kMost, std::nullopt},
      {" 60", 1, kMost, std::nullopt},
      {"60 ", 1, kMost, std::nullopt},
      {"6 0", 1, kMost, std::nullopt},
      {"9223372036854775808", 1, kMost, std::nullopt},
      {"4294967296", 0, 4294967295, std::nullopt},
      {"-", 0, kMost, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSettingNumber(c.text, c.lowest, c.highest), c.value) << '"' << c.text << '"';
  }
}

TEST(SettingNumber, UnsetSettingsAreNothing) {
  unsetenv("VANTREL_TEST_SETTING");
  EXPECT_EQ(platform::WholeNumberSetting("VANTREL_TEST_SETTING", 1, 10), std::nullopt);
  EXPECT_TRUE(platform::WholeNumberListSetting("VANTREL_TEST_SETTING", 1, 10).empty());
  setenv("VANTREL_TEST_SETTING", "3,1,10", 1);
  EXPECT_EQ(platform::WholeNumberListSetting("VANTREL_TEST_SETTING", 1, 10),
            (std::vector<long long>{3, 1, 10}));
  unsetenv("VANTREL_TEST_SETTING");
}

TEST(SettingNumberDeathTest, AValueThatIsNotTakenStopsNamingTheSettingAndValue) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    const char* value;
    bool list;
    const char* message;
  } cases[] = {
      {"abc", false, "VANTREL_TEST_SETTING=\"abc\" is not a whole number from 1 to 10"},
      {"", false, "VANTREL_TEST_SETTING=\"\" is not a whole number"},
      {"11", false, "VANTREL_TEST_SETTING=\"11\" is not a whole number from 1 to 10"},
      {"1,x,3", true, "VANTREL_TEST_SETTING=\"1,x,3\": \"x\" is not a whole number"},
      {"1,", true, "VANTREL_TEST_SETTING=\"1,\": \"\" is not a whole number"},
  };
  for (const auto& c : cases) {
    setenv("VANTREL_TEST_SETTING", c.value, 1);
    if (c.list) {
      EXPECT_EXIT(platform::WholeNumberListSetting("VANTREL_TEST_SETTING", 1, 10),
                  testing::ExitedWithCode(EXIT_FAILURE), c.message);
    } else {
      EXPECT_EXIT(platform::WholeNumberSetting("VANTREL_TEST_SETTING", 1, 10),
                  testing::ExitedWithCode(EXIT_FAILURE), c.message);
    }
  }
  unsetenv("VANTREL_TEST_SETTING");
}

// A seed that is not a whole number used to seed with whatever its leading digits gave.
TEST(SettingNumberDeathTest, ASeedThatIsNotAWholeNumberStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const char* seed : {"abc", "12abc", "-5", "4294967296", "1e3", ""}) {
    setenv("VANTREL_SEED", seed, 1);
    EXPECT_EXIT(platform::SeedRandomFromClock(), testing::ExitedWithCode(EXIT_FAILURE),
                "VANTREL_SEED=\"" + std::string(seed) + "\"")
        << seed;
  }
  setenv("VANTREL_SEED", "1", 1);
  platform::SeedRandomFromClock();
  EXPECT_EQ(platform::Random(), 41) << "the first value for seed 1";
  unsetenv("VANTREL_SEED");
}

}  // namespace
