// A copy of the generated game folder whose game list starts straight in play,
// for runs through the real frame loop (the shipped list starts on the menu).
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// The working folder the gamedata target generates.
std::filesystem::path ShippedGame();

// Copies the generated folder to `destination` as it ships.
void CopyShipped(const std::filesystem::path& destination);

// The game list text: start in play (state 8) on the one level `file`, listed as `name`.
std::string PlayList(const std::string& name, const std::string& file);

// Copies the generated folder to `destination` and writes there the game list
// that starts in play on `file` (a file of the copy, or one written afterwards).
void CopyForPlay(const std::filesystem::path& destination, const std::string& name, const std::string& file);

}  // namespace testsupport
