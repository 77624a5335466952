// What the end-of-game screens hold between frames, for tests and tools to
// look at. Each screen owns its state; these only read it.
#pragma once

#include <string>
#include <vector>

#include "animationlib/TextAnimation.h"
#include "game/input/Input.h"

class SpriteCollection;

namespace endscreens {

// Name entry: the 31 keys then the 9 name slots, the name so far, the key selected.
const std::vector<TextAnimation>& NameEntryKeys();
const std::string& NameEntryName();
int NameEntrySelection();
// The key a move action leads to from `selection`, with the keyboard's wraps.
int NameEntryMove(int selection, ActionBits action);

// High scores: the caption, the ten rank labels, then per block ten values and
// ten names; and the table on show (0-3).
const std::vector<TextAnimation>& HighScoreTexts();
int HighScoreTable();
// The line under the tables saying why the last result was not saved; empty
// when it was.
const std::string& HighScoreNotice();

// Level complete's sign list and game over's crack list (null before first use),
// and game over's selection (0 continue, 1 quit).
SpriteCollection* LevelCompleteSprites();
SpriteCollection* GameOverSprites();
int GameOverSelection();

}  // namespace endscreens
