// The level names one game state plays, in "Gold.vt" order, and which is next.
#pragma once

#include <string>
#include <vector>

struct StateLevelList {
  int index = 0;
  std::vector<std::string> names;

  // Steps to the next name, back to the first after the last.
  void Advance() {
    ++index;
    if (index >= static_cast<int>(names.size())) index = 0;
  }
};
