// The line-based data files: the high-score table and the property (".ini") files.
#pragma once

#include <string>
#include <vector>

#include "Problems.h"

namespace validator {

// Four sorted blocks of ten "value<TAB>name" lines, each followed by an empty line.
void CheckScores(const std::string& file, Problems& problems);

// The values of a property file, one per line, read as the game reads them (a number at
// the start of each line, the rest a comment). Reading stops at the first line without
// a number, which is reported: it and every later value would keep their defaults.
std::vector<float> ReadProperties(const std::string& file, std::size_t wanted, Problems& problems);

// The hero's 42 values, with the relations between them the player relies on. Returns
// the values read (empty when the file is missing).
std::vector<float> CheckHeroTuning(const std::string& file, Problems& problems);

}  // namespace validator
