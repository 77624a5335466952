// The World's game states and the shape of a state handler.
#pragma once

enum GameState : int {
  STATE_LOAD_GAME = 0,
  STATE_INTRO = 1,
  STATE_INTRO_DONE = 2,
  STATE_MAIN_MENU = 3,
  STATE_OPTIONS = 4,
  STATE_STORY = 5,
  STATE_CREDITS = 6,
  STATE_HIGH_SCORES = 7,
  STATE_GAMEPLAY = 8,
  STATE_PAUSE = 9,
  STATE_LEVEL_COMPLETE = 10,
  STATE_GAME_OVER = 11,
  STATE_NAME_ENTRY = 12,
  // Number of real states; as a state value, the one-frame wait after a handler
  // returned a negative state.
  STATE_COUNT = 13,
};

// Takes the World's frame counter (negative values are set-up frames) and
// returns the next state.
using StateHandler = int (*)(int* frameCounter);
