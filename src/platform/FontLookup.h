// Face name to font file, through fontconfig with the game's own fonts.conf.
#pragma once

#include <string>

namespace platform {

// The file fontconfig picks for `face` (an empty face gets the default face).
// False with a reason when no font file can be found.
bool FindFontFile(const std::string& face, std::string& path, std::string& error);

// Where the game's fonts.conf was found; empty when only the system configuration
// is in use.
std::string FontConfigPath();

}  // namespace platform
