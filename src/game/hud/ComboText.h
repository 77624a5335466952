// One point message of the HUD: its points and label texts, how many events
// have merged into it, how long it stays and the points it banks.
#pragma once

#include "animationlib/TextAnimation.h"

struct ComboText {
  // A new message of `kind` worth `points`: one event, 180 frames to live.
  ComboText(int kind, int points);

  static constexpr int kLifetime = 180;

  int kind;
  TextAnimation pointsText;
  TextAnimation labelText;
  int count = 1;
  int remainingFrames = kLifetime;
  int points;
};
