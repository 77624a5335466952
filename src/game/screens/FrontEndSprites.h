// The screens room holds one file per state handler of the front end and of the end of
// a game (intro, main menu, options, story, credits, high scores, name entry, pause,
// level complete, game over, play), and what they share.
//
// The sprites a front-end screen moves: found by name in the World's main active
// list every frame. A level without them is unusable data, so a screen that
// misses one stops the game with a message naming the level file and the sprite,
// like every other data fault, instead of running on null pointers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class Sprite;

namespace frontend {

// The current level's file, as "Gold.vt" names it ("no level" when none is loaded).
std::string CurrentLevelFile();

// The one sprite of that name; stops the game when there is none.
Sprite* RequireOne(const std::string& name, const std::string& screen);
// Exactly `count` sprites of that name, in list order; stops the game otherwise.
std::vector<Sprite*> RequireCount(const std::string& name, std::size_t count,
                                  const std::string& screen);

// At least `count` sprites of that name, in list order; stops the game otherwise.
std::vector<Sprite*> RequireAtLeast(const std::string& name, std::size_t count,
                                    const std::string& screen);

// The options screen's eight sprites in the order both screens turn them:
// "OptionGunTop", "OptionGunBottom", "OptionsItems", the three "OptionsOption",
// "OptionGunMiddle", "SoundBar".
std::vector<Sprite*> RequireOptionsSprites(const std::string& screen);

// The intro's three team logos, cloned from the prototype pools.
inline constexpr const char* kTeamLogos[] = {"TeamLogoKiln", "TeamLogoQuarry", "TeamLogoHarbor"};

// Radians as the menus take them: pi is 3.14 there.
constexpr float kMenuPi = 3.14f;

}  // namespace frontend
