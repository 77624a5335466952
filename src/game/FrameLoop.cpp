#include "game/FrameLoop.h"

#include "platform/Clock.h"

FrameLoop::FrameLoop(Host& host)
    : m_host(host),
      m_frequency(platform::QueryFrequency()),
      m_ticksPerFrame(m_frequency / kFramesPerSecond) {}

void FrameLoop::Start() {
  m_lastFrameStart = platform::QueryCounter();
}

FrameLoop::Step FrameLoop::RunOnce() {
  if (m_quit) return Step::Quit;

  // Messages come first: a burst of them delays the frame, which then runs once.
  if (m_host.HasEvent()) {
    if (!m_host.DispatchEvent()) {
      m_quit = true;
      return Step::Quit;
    }
    return Step::Event;
  }

  const std::int64_t now = platform::QueryCounter();
  const std::int64_t elapsed = now - m_lastFrameStart;
  // A counter running backwards counts as due; late frames are never made up.
  if (elapsed < 0 || elapsed >= m_ticksPerFrame) {
    m_lastFrameStart = now;
    ++m_framesRun;
    m_host.RunFrame();
    return Step::Frame;
  }

  // Sleep rather than spin a core; an event cuts the sleep short.
  m_host.WaitUntil(m_lastFrameStart + m_ticksPerFrame);
  return Step::Waited;
}

void FrameLoop::Run() {
  while (RunOnce() != Step::Quit) {
  }
}
