// Ties the frame loop to the game window: window events become quit and focus
// changes, and every due frame runs the game's frame sequence.
#pragma once

#include <functional>

#include "game/FrameLoop.h"
#include "game/level/LevelRecorder.h"

namespace platform {
class Window;
struct WindowEvent;
}  // namespace platform

// One frame, in order: empty the quad queue, step the World, run the sound
// engine's per-frame fades, draw and present. `afterUpdate`, when given, runs
// between the fades and the drawing, so that the two halves can be timed apart.
void RunGameFrame(platform::Window& window, const std::function<void()>& afterUpdate = {});

// Handles one window event; false for the quit request. Focus changes reach the
// World through temporary handles, so they work before the entry holds one.
bool HandleWindowEvent(const platform::WindowEvent& event, platform::Window& window);

// Hides the pointer while the graphics device is full screen.
void HideCursorInFullScreen(platform::Window& window);

class WindowLoopHost : public FrameLoop::Host {
 public:
  explicit WindowLoopHost(platform::Window& window) : m_window(window) {}

  bool HasEvent() override;
  bool DispatchEvent() override;
  void RunFrame() override;
  void WaitUntil(std::int64_t deadline) override;

 protected:
  platform::Window& m_window;
  LevelRecorder m_recorder;  // VANTREL_RECORD
};
