// Checks a game working folder the way the game will read it: every data file is loaded
// with the game's own readers, and the cross references between files (names, states,
// frames, polygons, sounds, scores, tuning) are checked against what the code expects.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace validator {

// One message per problem, each naming the file (relative to the folder) and what is
// wrong; empty when the folder is sound. Never stops the program on bad data: where a
// game reader would, the validator checks that reader's preconditions first and does not
// run it. While it runs the current folder is `folder`; it restores the current folder,
// the collision table and the graphics engine as they were. The game must not be running
// (the game list reader shares the World's level lists).
std::vector<std::string> ValidateGameData(const std::filesystem::path& folder);

}  // namespace validator
