// The game library stays below the behaviours: nothing in src/game includes them
// (the behaviours fill the game's registries instead), and every source but the
// program entry's lives in a room.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

TEST(LayoutTest, GameNeverIncludesTheBehaviours) {
  const fs::path game = testsupport::SourceDir() / "src" / "game";
  int sources = 0;
  for (const auto& entry : fs::recursive_directory_iterator(game)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    ++sources;
    std::ifstream in(entry.path());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      EXPECT_EQ(line.find("#include \"behaviorlib/"), std::string::npos)
          << entry.path() << ":" << number << ": " << line;
    }
  }
  EXPECT_GT(sources, 50);
}

TEST(LayoutTest, OnlyTheEntrySitsAtTheTopOfTheGameFolder) {
  const std::set<std::string> entry = {"CMakeLists.txt", "main.cpp",         "FrameLoop.h",
                                       "FrameLoop.cpp",  "WindowLoopHost.h", "WindowLoopHost.cpp"};
  for (const auto& item : fs::directory_iterator(testsupport::SourceDir() / "src" / "game")) {
    if (item.is_directory()) continue;
    EXPECT_TRUE(entry.count(item.path().filename().string())) << item.path();
  }
}

}  // namespace
