// One level named in "Gold.vt": its name (the key states ask for), its file, and
// the level while it is loaded (owned by the World).
#pragma once

#include <memory>
#include <string>

#include "game/level/Level.h"

struct LevelEntry {
  std::string name;
  std::string file;
  std::unique_ptr<Level> level;
};
