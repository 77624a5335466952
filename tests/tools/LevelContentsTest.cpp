// The level listing counts what the hero can meet in a level file: each enemy kind, the
// bosses by their triggers, checkpoints, platforms, pickups and memory cores with the
// ability each grants; and it names a file it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "LevelContents.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// A level of every kind, with an orb and a tire among the scenery objects, where they are
// only pictures.
const char kSmallLevel[] = R"(0
0 0
0
2
OrbRotation 10 10 2 0 0
Tire 20 10 0 0 0
0
0
0 0 2000 1000
15
CorePiece 100 200 0 0 1.01
CorePiece 300 200 0 0 1.02
CorePiece 500 200 0 0 1.03
CorePiece 700 200 0 0 1.04
CorePiece 900 250.5 0 0 1
OrbRotation 400 100 2 0 0
OrbRotation 450 100 3 0 0
Powerup 480 100 4 0 0
Tire 600 300 0 0 0
Tire 600 260 0 0 0
FactoryPlatform 800 300 0 0 0
ArenaLedge 1000 300 0 0 0
ArenaLedge 1200 300 0 0 0
AirshipCrate 1300 100 0 0 0
AirshipCrate 1400 100 0 0 0
Hero 50 300 0
5
Rat 200 300 1
Rat 250 300 0
TigerC 700 300 1
AirshipClaw 1300 80 0
AirshipClaw 1400 80 0
4
TriggerCheckPoint 500 300 0 0 1
TriggerCheckPoint 900 300 0 0 1
GrindlenautTrigger 1100 300 0 0 0
KajeTrigger 1500 300 0 0 0
)";

fs::path Write(const testsupport::TempDir& dir, const std::string& name, const std::string& text) {
  const fs::path file = dir / name;
  std::ofstream(file) << text;
  return file;
}

TEST(LevelContents, CountsWhatTheHeroCanMeetAndLeavesSceneryOut) {
  testsupport::TempDir dir;
  levelcontents::LevelContents contents;
  std::string error;
  ASSERT_TRUE(levelcontents::CountFile(Write(dir, "small.lvl", kSmallLevel), contents, error))
      << error;

  const std::map<std::string, int> enemies = {{"Rat", 2}, {"TigerC", 1}};
  EXPECT_EQ(contents.enemies, enemies) << "claws belong to the boss, not the enemies";
  const std::map<std::string, int> bosses = {{"Grindlenaut", 1}, {"Kaje", 1}};
  EXPECT_EQ(contents.bosses, bosses);
  EXPECT_EQ(contents.claws, 2);
  EXPECT_EQ(contents.crates, 2);
  EXPECT_EQ(contents.checkpoints, 2);
  EXPECT_EQ(contents.lifts, 1);
  EXPECT_EQ(contents.ledges, 2);
  EXPECT_EQ(contents.orbs, 2);
  EXPECT_EQ(contents.powerups, 1);
  EXPECT_EQ(contents.tires, 2);
}

TEST(LevelContents, CoreDepthPicksTheAbilityAsTheGameDoes) {
  testsupport::TempDir dir;
  levelcontents::LevelContents contents;
  std::string error;
  ASSERT_TRUE(levelcontents::CountFile(Write(dir, "small.lvl", kSmallLevel), contents, error));
  const char* const expected[] = {"Stride", "WallJump", "Cyclone", "SuperJump", "SuperJump"};
  ASSERT_EQ(contents.cores.size(), std::size(expected));
  for (std::size_t i = 0; i < contents.cores.size(); ++i) {
    EXPECT_EQ(contents.cores[i].ability, expected[i]) << "depth " << contents.cores[i].depth;
  }
}

TEST(LevelContents, ListingNamesEveryCountAndCore) {
  testsupport::TempDir dir;
  levelcontents::LevelContents contents;
  std::string error;
  ASSERT_TRUE(levelcontents::CountFile(Write(dir, "small.lvl", kSmallLevel), contents, error));
  EXPECT_EQ(levelcontents::Describe(contents),
            "  enemies: Rat 2, TigerC 1\n"
            "  bosses: Grindlenaut 1, Kaje 1 (claws 2, crates 2)\n"
            "  checkpoints 2, lifts 1, ledges 2\n"
            "  orbs 2, power-ups 1, tires 2\n"
            "  cores: Stride at (100, 200), WallJump at (300, 200), Cyclone at (500, 200), "
            "SuperJump at (700, 200), SuperJump at (900, 250.5)\n");
  EXPECT_EQ(levelcontents::Describe({}),
            "  enemies: none\n  bosses: none\n  checkpoints 0, lifts 0, ledges 0\n"
            "  orbs 0, power-ups 0, tires 0\n  cores: none\n");
}

// The training ground is where every kind is tried out, so it proves the counting on a
// level the game really loads.
TEST(LevelContents, TrainingGroundHoldsEveryEnemyKind) {
  levelcontents::LevelContents contents;
  std::string error;
  ASSERT_TRUE(
      levelcontents::CountFile(testsupport::SourceDir() / "assets/game/test.lvl", contents, error))
      << error;
  for (const char* kind : {"Rat", "Rummager", "TigerE", "TigerC", "Shredder", "Constructor"}) {
    EXPECT_GE(contents.EnemyCount(kind), 1) << kind;
  }
  EXPECT_EQ(contents.EnemyCount("Grindlenaut"), 0);
  EXPECT_GE(contents.checkpoints, 2);
  EXPECT_GE(contents.lifts, 1);
  EXPECT_GE(contents.orbs, 1);
  EXPECT_GE(contents.tires, 1);
  ASSERT_FALSE(contents.cores.empty());
  EXPECT_EQ(contents.cores.front().ability, "Stride");
}

TEST(LevelContents, FileItCannotReadIsNamedWithItsFault) {
  testsupport::TempDir dir;
  const std::string full = kSmallLevel;
  struct Case {
    const char* what;
    fs::path file;
    const char* fault;
  };
  const Case cases[] = {
      {"missing", dir / "missing.lvl", "cannot be opened"},
      {"cut short", Write(dir, "short.lvl", full.substr(0, full.find("4\nTriggerCheckPoint"))),
       "trigger count"},
      {"bad number", Write(dir, "bad.lvl", full.substr(0, full.find("Rat 250")) + "Rat x 300 0\n"),
       "\"Rat\""},
  };
  for (const Case& c : cases) {
    levelcontents::LevelContents contents;
    std::string error;
    EXPECT_FALSE(levelcontents::CountFile(c.file, contents, error)) << c.what;
    EXPECT_NE(error.find(c.file.string()), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << c.what << ": " << error;
  }
}

}  // namespace
