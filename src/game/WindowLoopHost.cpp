#include "game/WindowLoopHost.h"

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Window.h"

void RunGameFrame(platform::Window& window, const std::function<void()>& afterUpdate) {
  D3DInterface::ClearQuads();
  World::Update();
  {
    SoundEngine engine;
    engine.Update();
  }
  if (afterUpdate) afterUpdate();
  D3DInterface::Render(&window);
}

void HideCursorInFullScreen(platform::Window& window) {
  if (D3DInterface::Exists() && !D3DInterface::GetEngine()->IsWindowed()) {
    window.SetCursorVisible(false);
    D3DInterface::GetEngine()->ShowCursor(false);
  }
}

bool HandleWindowEvent(const platform::WindowEvent& event, platform::Window& window) {
  switch (event.type) {
    case platform::WindowEventType::Quit:
      return false;
    case platform::WindowEventType::FocusGained: {
      HideCursorInFullScreen(window);
      World world;
      world.OnSetFocus();
      return true;
    }
    case platform::WindowEventType::FocusLost: {
      World world;
      world.OnKillFocus();
      return true;
    }
    case platform::WindowEventType::Other:
      return true;
  }
  return true;
}

bool WindowLoopHost::HasEvent() {
  return m_window.HasEvent();
}

bool WindowLoopHost::DispatchEvent() {
  platform::WindowEvent event;
  if (!m_window.NextEvent(event)) return true;
  return HandleWindowEvent(event, m_window);
}

void WindowLoopHost::RunFrame() {
  RunGameFrame(m_window);
  m_recorder.AfterFrame();
}

void WindowLoopHost::WaitUntil(std::int64_t deadline) {
  m_window.WaitUntil(deadline);
}
