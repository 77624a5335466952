// The program entry's loop on the headless window, past more waking looks than
// SDL's event queue holds, must still end on each way a quit is asked for.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "game/FrameLoop.h"
#include "game/WindowLoopHost.h"
#include "platform/Clock.h"
#include "platform/Window.h"

namespace {

// A virtual clock that counts the sleeps of the window's waits.
class SleepCountingClock final : public platform::Clock {
 public:
  std::int64_t Counter() override { return m_counter; }
  std::int64_t Frequency() override { return 1'000'000; }
  std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(m_counter / 1000); }
  void Sleep(std::int64_t counts) override {
    ++sleeps;
    m_counter += counts;
  }
  std::int64_t sleeps = 0;

 private:
  std::int64_t m_counter = 0;
};

// The window's host with the game's frame left out: `ask` runs after every frame.
class AskingHost : public WindowLoopHost {
 public:
  AskingHost(platform::Window& window, std::function<void(platform::Window&, int)> ask)
      : WindowLoopHost(window), m_ask(std::move(ask)) {}
  void RunFrame() override { m_ask(m_window, ++frames); }
  int frames = 0;

 private:
  std::function<void(platform::Window&, int)> m_ask;
};

TEST(LoopQuit, EveryWayToQuitStillEndsTheLoopAfterMoreWaitsThanTheQueueHolds) {
  constexpr int kSoakFrames = 8'000;  // eight or nine looks a frame
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  SleepCountingClock clock;
  platform::SetClock(&clock);
  std::string error;
  auto window = platform::Window::Open("Vantrel", 40, 40, 800, 600, false, error);
  ASSERT_TRUE(window) << error;

  const struct {
    const char* way;
    std::function<void(platform::Window&, int)> ask;
  } ways[] = {
      {"SIGTERM",
       [](platform::Window&, int frame) {
         if (frame == kSoakFrames) std::raise(SIGTERM);
       }},
      {"SIGINT",
       [](platform::Window&, int frame) {
         if (frame == kSoakFrames) std::raise(SIGINT);
       }},
      // The frame limit asks once; the menu asks every frame until the loop ends.
      {"frame limit",
       [](platform::Window& w, int frame) {
         if (frame == kSoakFrames) w.PostQuit();
       }},
      {"menu",
       [](platform::Window& w, int frame) {
         if (frame >= kSoakFrames) w.PostQuit();
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    AskingHost host(*window, way.ask);
    FrameLoop loop(host);
    loop.Start();
    clock.sleeps = 0;
    while (loop.RunOnce() != FrameLoop::Step::Quit && host.frames < kSoakFrames + 60) {
    }
    EXPECT_GT(clock.sleeps, 65'535);
    EXPECT_TRUE(loop.QuitRequested());
    EXPECT_EQ(host.frames, kSoakFrames);
  }
  window.reset();
  platform::SetClock(nullptr);
}

}  // namespace
