// The game's one window on SDL2, and the events the frame loop cares about.
// Keyboard and controller events are not delivered here: the input layer taps
// them with its own SDL event watch.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

enum class WindowEventType { Quit, FocusGained, FocusLost, Other };

struct WindowEvent {
  WindowEventType type = WindowEventType::Other;
};

class Window {
 public:
  // Starts SDL video (SDL_VIDEODRIVER=dummy runs headless) and opens the window.
  // Returns null with a one-line reason in `error` when no display can be opened.
  static std::unique_ptr<Window> Open(const std::string& title, int x, int y, int width, int height,
                                      bool fullScreen, std::string& error);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // True when an event is waiting; nothing is removed.
  bool HasEvent();
  // Removes the next event; false when none waits.
  bool NextEvent(WindowEvent& event);
  // Sleeps until an event is waiting or the clock's counter reaches `deadline`,
  // looking for events every couple of milliseconds. Returns at once when the
  // counter runs backwards. Adds nothing to the queue.
  void WaitUntil(std::int64_t deadline);
  // Asks the loop to end, as closing the window does.
  void PostQuit();

  bool IsFullScreen() const;
  void SetCursorVisible(bool visible);
  // The SDL window, for the rest of the platform layer only.
  void* NativeHandle() const;

  // Runs `hook` just before the window goes away, so whatever draws into it (the
  // graphics device) can let go first. One hook per key; removing is idempotent.
  void AddDestroyHook(const void* key, std::function<void()> hook);
  void RemoveDestroyHook(const void* key);

 private:
  Window() = default;
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
