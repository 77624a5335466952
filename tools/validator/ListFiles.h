// The token layouts of the game list, the sound list, the prototype lists and the level
// files, read without side effects. These parses stop at the first token the game's own
// readers would stop the program on, including the counts and orders they assert on, so
// the game's readers only ever see files that pass them.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "TokenScan.h"

namespace validator {

struct PrototypeEntry {
  std::string name;
  std::vector<std::pair<int, std::string>> animations;  // (state key, ".acd" file)
};

struct GameList {
  int startState = 0;
  int startIndex = 0;
  // (level name, level file) per state; position 0 is unused.
  std::array<std::vector<std::pair<std::string, std::string>>, 13> states;
};

struct SoundEntry {
  std::string name;
  std::string file;
};

// An object line of a level: layers, main list, player, enemies and triggers (fields a
// section lacks stay 0).
struct PlacedObject {
  std::string name;
  float x = 0.0f;
  float y = 0.0f;
  int frame = 0;
  float depth = 0.0f;
  bool facingLeft = false;  // sections 4, 6 and 7
};

struct LevelData {
  std::vector<PrototypeEntry> prototypes;
  std::string ambient;
  std::vector<std::pair<std::string, std::string>> tracks;  // (file, mode)
  std::vector<std::string> sceneryA, sceneryC;              // animation files
  std::vector<PlacedObject> layerB, layerD, main;
  std::array<int, 4> bounds{};  // x lower, y lower, x upper, y upper; -1 is open
  bool hasPlayer = false;
  PlacedObject player;
  std::vector<PlacedObject> enemies, triggers;
};

// Each returns false (with the scan's error set) at the first unusable token.
bool ParsePrototypeList(TokenScan& in, std::vector<PrototypeEntry>& out);
bool ParseGameList(TokenScan& in, GameList& out);
bool ParseSoundList(TokenScan& in, std::vector<SoundEntry>& out);
bool ParseLevel(TokenScan& in, LevelData& out);

}  // namespace validator
