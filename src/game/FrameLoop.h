// The 60 Hz frame pacing of the program entry, kept apart from the window so it
// can be stepped on a virtual clock.
#pragma once

#include <cstdint>

class FrameLoop {
 public:
  // What the loop drives: the window's message queue and the game frame.
  class Host {
   public:
    virtual ~Host() = default;
    virtual bool HasEvent() = 0;
    // Fetches and handles one waiting event; false when it was the quit request.
    virtual bool DispatchEvent() = 0;
    virtual void RunFrame() = 0;
    // Sleeps until an event arrives or the clock's counter reaches `deadline`.
    virtual void WaitUntil(std::int64_t deadline) = 0;
  };

  enum class Step { Event, Frame, Waited, Quit };

  static constexpr int kFramesPerSecond = 60;

  // Reads the counter frequency; ticks per frame = frequency / 60.
  explicit FrameLoop(Host& host);

  // The last frame start becomes the counter now.
  void Start();
  // One pass of the loop: handles one event if any waits, else runs a frame if one
  // is due, else sleeps until it is due or an event arrives.
  Step RunOnce();
  // Passes until the quit request has been fetched.
  void Run();

  bool QuitRequested() const { return m_quit; }
  std::int64_t TicksPerFrame() const { return m_ticksPerFrame; }
  std::int64_t LastFrameStart() const { return m_lastFrameStart; }
  std::int64_t FramesRun() const { return m_framesRun; }

 private:
  Host& m_host;
  std::int64_t m_frequency;
  std::int64_t m_ticksPerFrame;
  std::int64_t m_lastFrameStart = 0;
  std::int64_t m_framesRun = 0;
  bool m_quit = false;
};
