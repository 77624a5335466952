// The level listing counts what the hero can meet in a level file: each enemy kind, the
// bosses by their triggers, checkpoints, platforms, pickups and memory cores with the
// ability each grants; and it names a file it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "LevelContents.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Something of every kind, with an orb and a tire among the scenery objects (layer B),
// where they are only pictures, and Kaje's claws among the enemies.
const char kSmallLevel[] = R"(0
0 0
0
2 OrbRotation 10 10 2 0 0  Tire 20 10 0 0 0
0
0
0 0 2000 1000
11
CorePiece 100 200 0 0 1.01
CorePiece 300 200 0 0 1.02
CorePiece 500 200 0 0 1.03
CorePiece 700 250.5 0 0 1
OrbRotation 400 100 2 0 0
Powerup 480 100 4 0 0
Tire 600 300 0 0 0
Tire 600 260 0 0 0
FactoryPlatform 800 300 0 0 0
ArenaLedge 1000 300 0 0 0
AirshipCrate 1300 100 0 0 0
Hero 50 300 0
4 Rat 200 300 1  Rat 250 300 0  TigerC 700 300 1  AirshipClaw 1300 80 0
3
TriggerCheckPoint 500 300 0 0 1
GrindlenautTrigger 1100 300 0 0 0
KajeTrigger 1500 300 0 0 0
)";

levelcontents::LevelContents SmallLevel() {
  testsupport::TempDir dir;
  std::ofstream(dir / "small.lvl") << kSmallLevel;
  levelcontents::LevelContents contents;
  std::string error;
  EXPECT_TRUE(levelcontents::CountFile(dir / "small.lvl", contents, error)) << error;
  return contents;
}

TEST(LevelContents, ListsWhatTheHeroCanMeetAndLeavesSceneryOut) {
  const levelcontents::LevelContents contents = SmallLevel();
  EXPECT_EQ(contents.enemies, (std::map<std::string, int>{{"Rat", 2}, {"TigerC", 1}}))
      << "claws belong to the boss, not the enemies";
  EXPECT_EQ(levelcontents::Describe(contents),
            "  enemies: Rat 2, TigerC 1\n"
            "  bosses: Grindlenaut 1, Kaje 1 (claws 1, crates 1)\n"
            "  checkpoints 1, lifts 1, ledges 1\n"
            "  orbs 1, power-ups 1, tires 2\n"
            "  cores: Stride at (100, 200), WallJump at (300, 200), Cyclone at (500, 200), "
            "SuperJump at (700, 250.5)\n");
}

// The training ground tries out every kind, so it proves the counting on a level the game
// really loads.
TEST(LevelContents, TrainingGroundHoldsEveryEnemyKind) {
  levelcontents::LevelContents contents;
  std::string error;
  ASSERT_TRUE(
      levelcontents::CountFile(testsupport::SourceDir() / "assets/game/test.lvl", contents, error))
      << error;
  for (const char* kind : {"Rat", "Rummager", "TigerE", "TigerC", "Shredder", "Constructor"}) {
    EXPECT_GE(contents.EnemyCount(kind), 1) << kind;
  }
  EXPECT_EQ(contents.checkpoints, 2);
  EXPECT_EQ(contents.lifts, 1);
  EXPECT_EQ(contents.orbs, 2);
  ASSERT_EQ(contents.cores.size(), 1u);
  EXPECT_EQ(contents.cores[0].ability, "Stride");
}

TEST(LevelContents, FileItCannotReadIsNamedWithItsFault) {
  testsupport::TempDir dir;
  const std::string level = kSmallLevel;
  std::ofstream(dir / "short.lvl") << level.substr(0, level.find("3\nTriggerCheckPoint"));
  const std::pair<fs::path, const char*> cases[] = {
      {dir / "missing.lvl", "cannot be opened"},
      {dir / "short.lvl", "trigger count"},
  };
  for (const auto& [file, fault] : cases) {
    levelcontents::LevelContents contents;
    std::string error;
    EXPECT_FALSE(levelcontents::CountFile(file, contents, error));
    EXPECT_NE(error.find(file.string() + ": "), std::string::npos) << error;
    EXPECT_NE(error.find(fault), std::string::npos) << error;
  }
}

}  // namespace
