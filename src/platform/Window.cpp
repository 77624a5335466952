#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/Clock.h"

namespace platform {

struct Window::Impl {
  SDL_Window* window = nullptr;
  std::vector<std::pair<const void*, std::function<void()>>> destroyHooks;
};

namespace {

// How often a wait looks for new events: input and quit requests are seen this
// soon, and a frame's wait wakes this many times.
constexpr std::int64_t kEventCheckMs = 2;

bool WindowedForDevelopment() {
  const char* value = std::getenv("VANTREL_WINDOWED");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

WindowEventType Classify(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return WindowEventType::Quit;
  if (event.type != SDL_WINDOWEVENT) return WindowEventType::Other;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      return WindowEventType::Quit;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      return WindowEventType::FocusGained;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return WindowEventType::FocusLost;
    default:
      return WindowEventType::Other;
  }
}

}  // namespace

std::unique_ptr<Window> Window::Open(const std::string& title, int x, int y, int width, int height,
                                     bool fullScreen, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("cannot open a display (") + SDL_GetError() +
            "); set SDL_VIDEODRIVER=dummy to run without one";
    return nullptr;
  }
  // SDL quietly falls back to its "offscreen" driver when no display exists; that
  // is only acceptable when headless running was asked for by name.
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const char* chosen = SDL_GetCurrentVideoDriver();
  if (chosen != nullptr && SDL_strcmp(chosen, "offscreen") == 0 &&
      (requested == nullptr || SDL_strcmp(requested, "offscreen") != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    error = "cannot open a display; set SDL_VIDEODRIVER=dummy to run without one";
    return nullptr;
  }
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (fullScreen && !WindowedForDevelopment()) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_Window* sdlWindow = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (sdlWindow == nullptr) {
    error = std::string("cannot create the window (") + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  // Text input would turn key presses into IME and text events nobody reads.
  SDL_StopTextInput();

  std::unique_ptr<Window> window(new Window());
  window->m_impl = std::make_unique<Impl>();
  window->m_impl->window = sdlWindow;
  return window;
}

Window::~Window() {
  if (!m_impl) return;
  // Hooks may remove themselves while running, so run them from a copy.
  auto hooks = std::move(m_impl->destroyHooks);
  m_impl->destroyHooks.clear();
  for (auto& [key, hook] : hooks) hook();
  SDL_DestroyWindow(m_impl->window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool Window::HasEvent() {
  SDL_PumpEvents();
  return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
}

bool Window::NextEvent(WindowEvent& event) {
  SDL_Event sdlEvent;
  if (SDL_PollEvent(&sdlEvent) == 0) return false;
  // Keyboard and controller events already reached the input layer's event watch
  // when they entered the queue; here they only take their turn and are dropped.
  event.type = Classify(sdlEvent);
  return true;
}

// Not SDL_WaitEventTimeout: without an event to take, it queues a marker at
// every look and never takes one back, and they fill the queue until even the
// quit request is refused.
void Window::WaitUntil(std::int64_t deadline) {
  Clock& clock = GetClock();
  const std::int64_t check = std::max<std::int64_t>(1, clock.Frequency() * kEventCheckMs / 1000);
  std::int64_t previous = clock.Counter();
  while (!HasEvent()) {
    const std::int64_t now = clock.Counter();
    if (now >= deadline || now < previous) return;
    previous = now;
    clock.Sleep(std::min(deadline - now, check));
  }
}

void Window::PostQuit() {
  // The main menu asks every frame until the loop ends; one waiting quit is enough.
  SDL_PumpEvents();
  if (SDL_HasEvent(SDL_QUIT) == SDL_TRUE) return;
  SDL_Event quit;
  std::memset(&quit, 0, sizeof quit);
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

bool Window::IsFullScreen() const {
  return (SDL_GetWindowFlags(m_impl->window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void Window::SetCursorVisible(bool visible) {
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void* Window::NativeHandle() const {
  return m_impl->window;
}

void Window::AddDestroyHook(const void* key, std::function<void()> hook) {
  RemoveDestroyHook(key);
  m_impl->destroyHooks.emplace_back(key, std::move(hook));
}

void Window::RemoveDestroyHook(const void* key) {
  auto& hooks = m_impl->destroyHooks;
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->first == key) {
      hooks.erase(it);
      return;
    }
  }
}

}  // namespace platform
