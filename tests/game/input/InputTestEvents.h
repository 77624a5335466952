// Injected keyboard events, virtual controllers and a reader per test for the
// input tests.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/input/Input.h"
#include "platform/InputDevices.h"
#include "support/TempDir.h"

namespace inputtest {

inline void PushKey(int scancode, bool down, bool repeat = false) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  SDL_PushEvent(&event);
}

inline void TapKey(int scancode) {
  PushKey(scancode, true);
  PushKey(scancode, false);
}

// A frame's held and pressed actions, all of them.
struct Masks {
  ActionBits held;
  ActionBits pressed;
  bool operator==(const Masks&) const = default;
  friend void PrintTo(const Masks& masks, std::ostream* out) {
    *out << std::hex << "{held 0x" << masks.held << ", pressed 0x" << masks.pressed << "}"
         << std::dec;
  }
};

// A virtual game controller attached for the test's lifetime.
class VirtualPad {
 public:
  explicit VirtualPad(const std::string& name = "Test Pad") {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name.c_str();  // SDL keeps a copy
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick_ = SDL_JoystickOpen(index);
  }
  ~VirtualPad() {
    if (!joystick_) return;
    const SDL_JoystickID id = instance();
    SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool ok() const { return joystick_ != nullptr; }
  SDL_JoystickID instance() const { return SDL_JoystickInstanceID(joystick_); }
  // The new state shows up as events at the next pump.
  void SetAxis(int axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
  }
  void SetButton(int button, bool down) { SDL_JoystickSetVirtualButton(joystick_, button, down); }

 private:
  SDL_Joystick* joystick_ = nullptr;
};

// Holds SDL's joystick subsystem for virtual devices attached before the reader
// enumerates, empties the event queue that nobody else reads in a test, and
// gives each test its own configuration folder, so no saved map leaks in.
class InputFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(kSubsystems), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  }
  void TearDown() override {
    input.reset();
    unsetenv("XDG_CONFIG_HOME");
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_QuitSubSystem(kSubsystems);
  }
  // Builds the reader and runs one frame so its devices are acquired.
  Input& Start() {
    input.reset();
    input = std::make_unique<Input>(nullptr);
    input->Update();
    return *input;
  }
  Masks Frame() {
    input->Update();
    return {input->IsHeld(0xFFFFFFFF), input->IsPressed(0xFFFFFFFF)};
  }

  static constexpr Uint32 kSubsystems =
      SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
  testsupport::TempDir config;
  std::unique_ptr<Input> input;
};

}  // namespace inputtest
