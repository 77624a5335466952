// A copy of the generated working folder with a game list and levels written
// by the test, so a run through the real frame loop starts where the test needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace playfolder {

namespace fs = std::filesystem;

// The metal tiles are 128 pixels with their origin at the centre; a floor row
// whose centres are at y 1344 has its top at 1280, where the hero and the
// walkers stand.
constexpr float kFloorTop = 1280.0f;
constexpr float kTile = 128.0f;

struct LevelText {
  std::vector<std::string> objects;  // main-list lines: name x y frame facing depth
  std::string player = "0";          // "ZodirazO x y facing", or "0"
  std::vector<std::string> enemies;  // name x y facing
  int width = 4096;
  int height = 1700;

  // A row of metal tiles along the floor, tile `first` to `last` (grid
  // columns), with `frames` overriding single columns.
  void Floor(int first, int last, const std::map<int, int>& frames = {}) {
    for (int column = first; column <= last; ++column) {
      const auto frame = frames.find(column);
      Tile(column, 10, frame == frames.end() ? 0 : frame->second);
    }
  }
  // One tile in grid column `column`, row `row` (row 10 is the floor).
  void Tile(int column, int row, int frame) {
    objects.push_back("MetalTiles " + std::to_string(static_cast<int>(column * kTile + kTile / 2)) + " " +
                      std::to_string(static_cast<int>(row * kTile + kTile / 2)) + " " +
                      std::to_string(frame) + " 0 -0.5");
  }

  std::string Text() const {
    std::string text = "1\nMetalTiles 1 0 animations/tiles_metal.acd\n0 0\n";
    text += "1\nanimations/sky_dusk.acd 0 0 0 0 0 0 0 0\n0\n0\n0\n";
    text += "0 0 " + std::to_string(width) + " " + std::to_string(height) + "\n";
    text += std::to_string(objects.size()) + "\n";
    for (const std::string& line : objects) text += line + "\n";
    text += player + "\n";
    text += std::to_string(enemies.size()) + "\n";
    for (const std::string& line : enemies) text += line + "\n";
    text += "0\n";
    return text;
  }
};

// The generated folder copied to a temporary one, made the current folder,
// with the configuration kept in a temporary folder too.
class Folder {
 public:
  Folder() {
    const fs::path shipped = testsupport::BinaryDir() / "game";
    EXPECT_TRUE(fs::exists(shipped / "SpriteList.vtsl")) << "build the gamedata target first";
    fs::copy(shipped, Path(), fs::copy_options::recursive);
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(Path());
  }
  ~Folder() {
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  fs::path Path() const { return m_data.Path() / "game"; }

  void WriteLevel(const std::string& file, const LevelText& level) const {
    std::ofstream(Path() / file) << level.Text();
  }
  // The game list: the start state and, per state 1 to 12, its level files.
  void WriteGameList(int startState, const std::map<int, std::vector<std::string>>& levels) const {
    std::string list = std::to_string(startState) + " 0\n";
    for (int state = 1; state <= 12; ++state) {
      const auto found = levels.find(state);
      if (found == levels.end()) {
        list += "0\n";
        continue;
      }
      list += std::to_string(found->second.size());
      for (const std::string& file : found->second) list += " " + file.substr(0, file.find('.')) + " " + file;
      list += "\n";
    }
    std::ofstream(Path() / "Gold.vt") << list;
  }

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

}  // namespace playfolder
