// The three shipped levels give the player somewhere to restart and something of
// everything to meet: each level has checkpoints, and between them they hold every
// common enemy kind, a lift, circling orbs and placed power-ups.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "LevelContents.h"
#include "support/TempDir.h"

namespace {

const char* const kLevels[] = {"junkyard", "factory", "airship"};

struct Shipped {
  std::string name;
  levelcontents::LevelContents contents;
};

std::vector<Shipped> ShippedContents() {
  std::vector<Shipped> all;
  for (const char* name : kLevels) {
    Shipped level{name, {}};
    std::string error;
    EXPECT_TRUE(levelcontents::CountFile(
        testsupport::SourceDir() / "assets/game" / (level.name + ".lvl"), level.contents, error))
        << error;
    all.push_back(std::move(level));
  }
  return all;
}

std::string Listing(const std::vector<Shipped>& levels) {
  std::string text;
  for (const Shipped& level : levels) {
    text += level.name + "\n" + levelcontents::Describe(level.contents);
  }
  return text;
}

TEST(ShippedLevels, EachHasAtLeastTwoCheckpoints) {
  for (const Shipped& level : ShippedContents()) {
    EXPECT_GE(level.contents.checkpoints, 2) << level.name;
  }
}

TEST(ShippedLevels, TogetherHoldEveryEnemyKindALiftOrbsAndPowerups) {
  const std::vector<Shipped> levels = ShippedContents();
  std::map<std::string, int> enemies;
  int lifts = 0, orbs = 0, powerups = 0;
  for (const Shipped& level : levels) {
    for (const auto& [kind, count] : level.contents.enemies) enemies[kind] += count;
    lifts += level.contents.lifts;
    orbs += level.contents.orbs;
    powerups += level.contents.powerups;
  }
  for (const char* kind : {"Rat", "Rummager", "TigerE", "TigerC", "Shredder", "Constructor"}) {
    EXPECT_GE(enemies[kind], 1) << "no " << kind << " in any level";
  }
  EXPECT_GE(lifts, 1) << "no lift";
  EXPECT_GE(orbs, 1) << "no circling orb";
  EXPECT_GE(powerups, 1) << "no placed power-up";
  if (HasFailure()) ADD_FAILURE() << "the levels hold:\n" << Listing(levels);
}

}  // namespace
