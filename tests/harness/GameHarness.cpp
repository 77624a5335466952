#include "harness/GameHarness.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/world/World.h"
#include "platform/Gfx.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "platform/Window.h"

namespace testharness {

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// The window's host, timing the halves of every frame it runs.
class TimedLoopHost : public WindowLoopHost {
 public:
  using WindowLoopHost::WindowLoopHost;
  void RunFrame() override {
    const double start = ThreadCpuMs();
    double updated = start;
    RunGameFrame(m_window, [&] { updated = ThreadCpuMs(); });
    const double drawn = ThreadCpuMs();
    m_recorder.AfterFrame();
    times.updateMs = updated - start;
    times.drawMs = drawn - updated;
  }
  GameHarness::FrameTimes times;
};

GameHarness::GameHarness() : GameHarness(Options{}) {}

GameHarness::GameHarness(const Options& options) {
  // Never open a real display or sound card from a test unless asked to.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // As the program entry does; the benchmarks and the autopilot have no test main.
  RegisterBehaviors();
  platform::SeedRandom(options.seed);
  platform::SetClock(&m_clock);

  std::string error;
  m_window = platform::Window::Open("Vantrel", 40, 40, kScreenWidth, kScreenHeight,
                                    options.fullScreen, error);
  if (!m_window) {
    ADD_FAILURE() << "the headless window did not open: " << error;
    std::abort();
  }
  m_host = std::make_unique<TimedLoopHost>(*m_window);
  m_loop = std::make_unique<FrameLoop>(*m_host);
  D3DInterface::Create(m_window.get(), kScreenWidth, kScreenHeight, options.fullScreen);
  HideCursorInFullScreen(*m_window);
  m_world = std::make_unique<World>();
  if (options.initWorld) m_initResult = World::Init(m_window.get());
  m_loop->Start();
}

GameHarness::~GameHarness() {
  D3DInterface::Destroy();
  m_world.reset();
  m_loop.reset();
  m_host.reset();
  m_window.reset();
  platform::SetClock(nullptr);
}

const GameHarness::FrameTimes& GameHarness::LastFrameTimes() const {
  return m_host->times;
}

int GameHarness::RunFrames(int frames) {
  int run = 0;
  for (; run < frames; ++run) {
    m_clock.Advance(m_loop->TicksPerFrame());
    FrameLoop::Step step;
    int passes = 0;
    do {
      step = m_loop->RunOnce();
      // A frame is due, so only waiting events can come first.
      if (++passes > 100'000 || step == FrameLoop::Step::Waited) {
        ADD_FAILURE() << "the frame loop did not run a due frame";
        return run;
      }
    } while (step == FrameLoop::Step::Event);
    if (step == FrameLoop::Step::Quit) break;
  }
  return run;
}

namespace {
void PushKey(Uint32 type, SDL_Scancode key) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = type;
  event.key.timestamp = SDL_GetTicks();
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = key;
  event.key.keysym.sym = SDL_GetKeyFromScancode(key);
  SDL_PushEvent(&event);
}
}  // namespace

void GameHarness::KeyDown(SDL_Scancode key) {
  PushKey(SDL_KEYDOWN, key);
}
void GameHarness::KeyUp(SDL_Scancode key) {
  PushKey(SDL_KEYUP, key);
}

void GameHarness::PushWindowEvent(std::uint8_t windowEvent) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = SDL_WINDOWEVENT;
  event.window.event = windowEvent;
  event.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(m_window->NativeHandle()));
  SDL_PushEvent(&event);
}

void GameHarness::LoseFocus() {
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
}
void GameHarness::GainFocus() {
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
}
void GameHarness::CloseWindow() {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
}

std::vector<std::uint32_t> GameHarness::ReadFrame() const {
  std::vector<std::uint32_t> pixels;
  platform::Gfx* device = D3DInterface::GetEngine()->GetDevice();
  if (!device || !device->ReadPixels(pixels)) pixels.clear();
  return pixels;
}

bool GameHarness::SaveFrame(const std::string& path) const {
  const std::vector<std::uint32_t> pixels = ReadFrame();
  if (pixels.empty()) return false;
  std::string error;
  return platform::SavePng(path, kScreenWidth, kScreenHeight, pixels.data(), error);
}

}  // namespace testharness
