// What the intro screen needs of its level: the letters, the seal, the copyright
// line and the three team logos it clones.
#pragma once

#include <functional>
#include <string>

#include "ListFiles.h"
#include "Problems.h"

class Animation;

namespace validator {

// `prototypeAnimation` gives the first animation of the prototype the game would
// find for a name from this level (global list first), or null when there is none
// or it does not load; `prototypeExists` whether there is such a prototype at all.
void CheckIntroLevel(const std::string& file, const LevelData& level,
                     const std::function<bool(const std::string&)>& prototypeExists,
                     const std::function<const Animation*(const std::string&)>& prototypeAnimation,
                     Problems& problems);

}  // namespace validator
