// What only the generator knows about the working folder it writes: the same assets give
// the same bytes, and every sheet is laid out in the grid the game cuts frames from. What
// the game itself needs of the folder is the data validator's job (ValidatorTest.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Generator.h"
#include "animationlib/Animation.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Width and height from a PNG's header; (0, 0) when it is no PNG.
std::pair<int, int> PngSize(const fs::path& path) {
  const std::string bytes = ReadBytes(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto be32 = [&](std::size_t at) {
    return static_cast<int>((std::uint32_t(std::uint8_t(bytes[at])) << 24) |
                            (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
                            (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) |
                            std::uint8_t(bytes[at + 3]));
  };
  return {be32(16), be32(20)};
}

std::map<std::string, std::string> FolderBytes(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadBytes(e.path());
  return files;
}

class GameData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir;
    assetgen::Generate(
        {testsupport::SourceDir() / "assets", Game(), s_dir->Path() / "contact.png"});
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  static fs::path Game() { return s_dir->Path() / "game"; }

  static testsupport::TempDir* s_dir;
};

testsupport::TempDir* GameData::s_dir = nullptr;

TEST_F(GameData, TwoRunsProduceTheSameBytes) {
  testsupport::TempDir second;
  assetgen::Generate(
      {testsupport::SourceDir() / "assets", second / "game", second / "contact.png"});
  auto a = FolderBytes(Game()), b = FolderBytes(second / "game");
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [path, bytes] : a) {
    ASSERT_TRUE(b.count(path)) << path;
    EXPECT_TRUE(b[path] == bytes) << path << " differs between runs";
  }
  EXPECT_EQ(ReadBytes(s_dir->Path() / "contact.png"), ReadBytes(second / "contact.png"));
}

// The build reruns the text group when a text file changes; that is where the score file is
// written, so the rerun needs nothing else.
TEST_F(GameData, ARerunKeepsTheScoreFileTheGameWrote) {
  testsupport::TempDir dir;
  const assetgen::GenerateOptions options{testsupport::SourceDir() / "assets", dir / "game",
                                          fs::path()};
  assetgen::GenerateText(options);
  const fs::path scores = dir / "game" / "Scores.vths";
  const std::string shipped = ReadBytes(scores);
  ASSERT_FALSE(shipped.empty());
  const std::string played = "123456\tWinner\n" + shipped.substr(shipped.find('\n') + 1);
  std::ofstream(scores, std::ios::binary) << played;
  assetgen::GenerateText(options);
  EXPECT_EQ(ReadBytes(scores), played);
  // A working folder without one gets the shipped file.
  fs::remove(scores);
  assetgen::GenerateText(options);
  EXPECT_EQ(ReadBytes(scores), shipped);
}

// The game only needs the frames to fit; the generator also keeps its sheets exact: named
// after the file, whole cells, no empty row.
TEST_F(GameData, EverySheetHoldsItsFramesInAnExactGrid) {
  for (const auto& e : fs::directory_iterator(Game() / "animations")) {
    if (e.path().extension() != ".acd") continue;
    SCOPED_TRACE(e.path().filename().string());
    Animation acd;
    ASSERT_TRUE(acd.Load(e.path().string())) << acd.GetLoadError();
    EXPECT_EQ(acd.GetName() + ".acd", e.path().filename().string());
    auto [w, h] = PngSize(Game() / "animations" / (acd.GetName() + ".png"));
    const int fw = static_cast<int>(acd.GetFrameWidth()),
              fh = static_cast<int>(acd.GetFrameHeight());
    ASSERT_GT(fw, 0);
    ASSERT_GT(fh, 0);
    EXPECT_EQ(static_cast<float>(fw), acd.GetFrameWidth()) << "a fractional frame size";
    EXPECT_EQ(w % fw, 0);
    EXPECT_EQ(h % fh, 0);
    const int columns = w / fw, rows = h / fh;
    EXPECT_GE(columns * rows, acd.GetFrameCount());
    EXPECT_GT(acd.GetFrameCount(), (rows - 1) * columns) << "an empty row of frames";
  }
}

// The build redoes one group of the folder at a time: one .anim file paints only its own
// sheets, and a sound recipe's content file changes only when that recipe does.
TEST(GameDataParts, AGroupWritesOnlyWhatItsSourceFeeds) {
  testsupport::TempDir dir;
  const fs::path assets = testsupport::SourceDir() / "assets";
  const assetgen::GenerateOptions options{assets, dir / "game", fs::path()};
  const auto used = assetgen::GenerateAnimationFile(options, "hud.anim");
  EXPECT_EQ(used, std::vector<fs::path>{assets / "animations" / "hud.anim"});
  int written = 0;
  for (const auto& e : fs::directory_iterator(dir / "game" / "animations"))
    written += e.path().extension() == ".acd";
  int defined = 0;
  std::ifstream hud(assets / "animations" / "hud.anim");
  for (std::string line; std::getline(hud, line);) defined += line.rfind("animation ", 0) == 0;
  EXPECT_EQ(written, defined);

  // A sheet copied from another file's animation depends on that file too.
  testsupport::TempDir anims;
  fs::create_directories(anims / "animations");
  std::ofstream(anims / "animations" / "a.anim")
      << "animation shot_plain\npainter shot color=plain level=0\nsize 56 32\noffset 34 16\n"
         "box HERO_SHOT -8 -5 8 5\nframes 2 ticks=3\n";
  std::ofstream(anims / "animations" / "b.anim")
      << "animation shot_red0\ncopy shot_plain\npainter shot color=red level=0\n";
  const assetgen::GenerateOptions copyOptions{anims.Path(), anims / "game", fs::path()};
  EXPECT_EQ(assetgen::GenerateAnimationFile(copyOptions, "b.anim"),
            (std::vector<fs::path>{anims / "animations" / "a.anim",
                                   anims / "animations" / "b.anim"}));
  EXPECT_TRUE(fs::exists(anims / "game" / "animations" / "shot_red0.png"));
  EXPECT_FALSE(fs::exists(anims / "game" / "animations" / "shot_plain.png"));

  // Two recipes; editing the second leaves the first one's content file as it was.
  testsupport::TempDir copy;
  fs::create_directories(copy / "sounds");
  auto write = [&](const std::string& gain) {
    std::ofstream(copy / "sounds" / "t.snd")
        << "sound a s/a.wav length=0.1\ntone f0=440 dur=0.1\n"
        << "sound b s/b.wav length=0.1\ntone f0=220 dur=0.1 gain=" << gain << "\n";
  };
  const assetgen::GenerateOptions soundOptions{copy.Path(), copy / "game", fs::path()};
  write("0.5");
  assetgen::SplitSoundRecipes(soundOptions, copy / "recipes");
  const std::string a = ReadBytes(copy / "recipes" / "s_a.wav.recipe");
  const std::string b = ReadBytes(copy / "recipes" / "s_b.wav.recipe");
  write("0.25");
  assetgen::SplitSoundRecipes(soundOptions, copy / "recipes");
  EXPECT_EQ(ReadBytes(copy / "recipes" / "s_a.wav.recipe"), a);
  EXPECT_NE(ReadBytes(copy / "recipes" / "s_b.wav.recipe"), b);
  assetgen::GenerateSound(soundOptions, "s/b.wav");
  EXPECT_TRUE(fs::exists(copy / "game" / "s" / "b.wav"));
  EXPECT_FALSE(fs::exists(copy / "game" / "s" / "a.wav"));
}

}  // namespace
