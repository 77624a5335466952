// Face name to font file, through fontconfig with the game's own fonts.conf.
#pragma once

#include <string>

namespace platform {

// The file fontconfig picks for `face` (an empty face gets the default face).
// False with a reason when no font file can be found.
bool FindFontFile(const std::string& face, std::string& path, std::string& error);

// Empty when `face` finds the family it asks for; otherwise a line saying which
// family was asked for and which stands in (told on stderr once, when first looked up).
std::string FontFallback(const std::string& face);

// Where the game's fonts.conf was found; empty when only the system configuration
// is in use.
std::string FontConfigPath();

}  // namespace platform
