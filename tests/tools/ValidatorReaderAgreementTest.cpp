// The validator stands in front of the game's readers, which stop the program on bad
// data: for each kind of damage it must report exactly what would stop them, and pass
// what they accept. Each case is run through both: the validator reports it, and the
// game's reader, run in a child process, dies on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "DataValidator.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/level/Level.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/World.h"
#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// A front-end level (state 1) that names a prototype of its own in every object section.
const char kLevel[] =
    "1 P 1 1 animations/a.acd\n"
    "0 0\n"
    "0\n0\n0\n0\n"
    "-1 -1 -1 -1 1 P 10 20 1 0 0\n"
    "0\n"
    "0\n"
    "1 P 5 5 1 0 0\n";
const char kGameList[] = "2 0\n0\n1 L l.lvl\n0\n0\n0\n0\n0\n1 G g.lvl\n0\n0\n0\n0\n";

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A two-frame animation and its image.
void WriteAnimation(const fs::path& dir, const std::string& name) {
  Animation a(name, Vector2(8.0f, 8.0f));
  a.GetFrames() = {AnimationFrame(0, 0), AnimationFrame(1, 0)};
  ASSERT_TRUE(a.Save((dir / "animations" / (name + ".acd")).string()));
  const std::vector<std::uint32_t> pixels(16 * 8, 0xFF808080u);
  std::string error;
  ASSERT_TRUE(platform::SavePng((dir / "animations" / (name + ".png")).string(), 16, 8,
                                pixels.data(), error));
}

// The level under state 2 (which asks nothing of its level), beside an untouched copy as
// the gameplay level.
void WriteFolder(const fs::path& dir, const std::string& level, const std::string& gameList) {
  fs::create_directories(dir / "animations");
  WriteAnimation(dir, "a");
  WriteAnimation(dir, "VerticalBound");  // every level loads it
  Write(dir / "SpriteList.vtsl", "1 ZodirazO 1 1 animations/a.acd\n");
  Write(dir / "Gold.vt", gameList);
  Write(dir / "l.lvl", level);
  Write(dir / "g.lvl", kLevel);
}

// What the game does with the folder's game list and level, with nothing else loaded.
void ReadWithGameReaders(const fs::path& dir) {
  testsupport::ScopedCurrentDir cwd(dir);
  {
    World world;
    World::LoadGame("Gold.vt");
  }
  D3DInterface::Create(nullptr, 800, 600, true);
  {
    AnimationCollection animations;
    SpriteCollection pool(0);
    std::ifstream list("SpriteList.vtsl");
    TokenReader reader(list, "SpriteList.vtsl");
    ReadPrototypeList(reader, &animations, &pool);
    Level level;
    EXPECT_TRUE(level.Load("l.lvl", &pool));
  }
  D3DInterface::Destroy();
}

// The validator's messages about one file.
std::vector<std::string> MessagesAbout(const fs::path& dir, const std::string& file) {
  std::vector<std::string> about;
  for (const std::string& line : validator::ValidateGameData(dir))
    if (line.rfind(file + ": ", 0) == 0) about.push_back(line);
  return about;
}

struct Damage {
  const char* name;
  const char* file;  // "l.lvl" or "Gold.vt"
  const char* from;  // replaced by `to` in the sound file
  const char* to;
};

const Damage kDamage[] = {
    {"LevelEndsEarly", "l.lvl", "0\n0\n1 P 5 5 1 0 0\n", "0\n"},
    {"WordForACount", "l.lvl", "0 0\n", "0 x\n"},
    {"NegativeSceneryCount", "l.lvl", "\n0\n0\n0\n0\n-1", "\n-1\n0\n0\n0\n-1"},
    {"BoundsOutOfOrder", "l.lvl", "-1 -1 -1 -1", "5 -1 1 -1"},
    {"UnknownObject", "l.lvl", "1 P 10 20", "1 Q 10 20"},
    {"ObjectFrameBeyondItsAnimation", "l.lvl", "P 10 20 1", "P 10 20 2"},
    {"NegativeTriggerFrame", "l.lvl", "P 5 5 1", "P 5 5 -1"},
    {"FrontTileFlagNotABool", "l.lvl", "\n0\n0\n0\n0\n-1",
     "\n0\n0\n1 animations/a.acd 0 0 2 0 0 0 0 0\n0\n-1"},
    {"PlayerFacingNotABool", "l.lvl", "0\n0\n1 P 5", "ZodirazO 1 1 2\n0\n1 P 5"},
    {"PlayerNotGlobal", "l.lvl", "0\n0\n1 P 5", "P 1 1 0\n0\n1 P 5"},
    {"TutorialWithoutItsPrototype", "l.lvl", "1 P 5 5", "1 Tutorial 5 5"},
    {"PrototypeWithoutAnimations", "l.lvl", "1 P 1 1 animations/a.acd", "1 P 0"},
    {"NumberTooLargeForAFloat", "l.lvl", "P 10 20", "P 1e99 20"},
    {"StartStateBeyondTheLast", "Gold.vt", "2 0\n", "13 0\n"},
    {"StartLevelIndexOutsideItsList", "Gold.vt", "2 0\n", "2 1\n"},
};

class ReaderAgreement : public ::testing::TestWithParam<Damage> {};

TEST_P(ReaderAgreement, ValidatorReportsWhatStopsTheGameReader) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Damage& d = GetParam();
  std::string level = kLevel, gameList = kGameList;
  std::string& damaged = std::string(d.file) == "l.lvl" ? level : gameList;
  const std::size_t at = damaged.find(d.from);
  ASSERT_NE(at, std::string::npos) << d.from;
  damaged.replace(at, std::string(d.from).size(), d.to);
  testsupport::TempDir dir;
  WriteFolder(dir.Path(), level, gameList);

  EXPECT_FALSE(MessagesAbout(dir.Path(), d.file).empty());
  for (auto& m : MessagesAbout(dir.Path(), d.file)) printf("%s\n", m.c_str());
  fflush(stdout);
  EXPECT_DEATH(ReadWithGameReaders(dir.Path()),
               "Data file \"" + std::string(d.file) + "\"|Assertion failed");
}

INSTANTIATE_TEST_SUITE_P(OneDamageEach, ReaderAgreement, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderAgreement, ValidatorPassesWhatTheGameReadersAccept) {
  // Plus signs and CRLF line ends are read by the game as well.
  std::string level = std::string(kLevel).replace(0, 1, "+1");
  std::string crlf;
  for (char c : level) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  testsupport::TempDir dir;
  WriteFolder(dir.Path(), crlf, kGameList);

  EXPECT_EQ(MessagesAbout(dir.Path(), "l.lvl"), std::vector<std::string>());
  EXPECT_EQ(MessagesAbout(dir.Path(), "Gold.vt"), std::vector<std::string>());
  ReadWithGameReaders(dir.Path());
}

}  // namespace
