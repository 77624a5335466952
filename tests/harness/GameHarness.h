// Runs the game headless for tests, the way the program entry does:
//
//   testharness::GameHarness game;          // window, device, World handle, Init
//   game.KeyDown(SDL_SCANCODE_SPACE);
//   game.RunFrames(10);                     // ten frames through the real loop
//   std::vector<std::uint32_t> argb = game.ReadFrame();   // 800 x 600, row by row
//
// The video and audio drivers default to SDL's dummy ones, the random generator
// gets a fixed seed, and time comes from a virtual clock that moves exactly one
// frame period per frame, so runs are repeatable. Window events (quit, focus)
// go through the real loop and its handlers; key and controller events reach
// the input layer through its SDL event watch the moment they are pushed.
// World::Init reads the game's data from the current folder: run tests that
// need it from a folder holding that data (see testsupport::ScopedCurrentDir).
#pragma once

#include <SDL_scancode.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/FrameLoop.h"
#include "game/WindowLoopHost.h"
#include "platform/Clock.h"

class World;
namespace platform {
class Window;
}

namespace testharness {

class TimedLoopHost;

// Processor time this thread has used, in milliseconds.
double ThreadCpuMs();

class GameHarness {
 public:
  struct Options {
    bool initWorld = true;   // run World::Init after the World handle is made
    std::uint32_t seed = 1;  // the random generator's seed
    bool fullScreen = true;  // the flag the graphics device is created with
  };

  // Counts per second of the virtual clock: one frame is exactly 100000 counts.
  static constexpr std::int64_t kClockFrequency = 6'000'000;
  static constexpr int kScreenWidth = 800;
  static constexpr int kScreenHeight = 600;

  GameHarness();
  explicit GameHarness(const Options& options);
  // Shuts down in the entry's order: device, then the World handle, then the window.
  ~GameHarness();
  GameHarness(const GameHarness&) = delete;
  GameHarness& operator=(const GameHarness&) = delete;

  // Moves the clock on one period per frame and lets the real loop handle every
  // waiting window event and then run the frame. Returns the frames run, fewer
  // than asked when the game quit.
  int RunFrames(int frames);
  // True once the loop has fetched the quit request.
  bool QuitRequested() const { return m_loop->QuitRequested(); }
  std::int64_t FramesRun() const { return m_loop->FramesRun(); }
  // Processor time this thread spent on the last frame's two halves, in
  // milliseconds: the game's logic (through the sound fades) and the drawing
  // with its present.
  struct FrameTimes {
    double updateMs = 0.0;
    double drawMs = 0.0;
  };
  const FrameTimes& LastFrameTimes() const;

  // Keyboard input, as the keyboard would send it.
  void KeyDown(SDL_Scancode key);
  void KeyUp(SDL_Scancode key);
  // Window events, handled by the loop before the next frame.
  void LoseFocus();
  void GainFocus();
  void CloseWindow();

  // The last rendered frame as 800 x 600 ARGB pixels, row by row (empty when no
  // device could be opened).
  std::vector<std::uint32_t> ReadFrame() const;
  // Pixel (x, y) of ReadFrame's result.
  static std::uint32_t PixelAt(const std::vector<std::uint32_t>& frame, int x, int y) {
    return frame[static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(x)];
  }
  // Saves the last rendered frame as a PNG for a person to look at.
  bool SaveFrame(const std::string& path) const;

  platform::VirtualClock& Clock() { return m_clock; }
  platform::Window& Window() { return *m_window; }
  FrameLoop& Loop() { return *m_loop; }
  bool InitResult() const { return m_initResult; }

 private:
  void PushWindowEvent(std::uint8_t windowEvent);

  platform::VirtualClock m_clock{kClockFrequency};
  std::unique_ptr<platform::Window> m_window;
  std::unique_ptr<TimedLoopHost> m_host;
  std::unique_ptr<FrameLoop> m_loop;
  std::unique_ptr<World> m_world;
  bool m_initResult = false;
};

}  // namespace testharness
