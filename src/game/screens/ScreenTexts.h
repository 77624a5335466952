// The texts the story and the credits show, for the data tools to measure: what is on
// screen together, frame by frame, without a World or a window.
#pragma once

#include <functional>
#include <vector>

#include "game/world/TextEntry.h"

namespace screentexts {

// The story's three pages as they rest while a key is awaited, solid lines only.
std::vector<std::vector<TextEntry>> StoryPagesAtRest();

// One whole run of the credits at normal speed: `frame` is called with the frame number
// and the texts queued on it, for every frame until the credits end.
void ForEachCreditsFrame(const std::function<void(int, const std::vector<TextEntry>&)>& frame);

}  // namespace screentexts
