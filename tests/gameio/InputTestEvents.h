// Injected keyboard events, virtual controllers and a reader per test for the
// input tests.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/Input.h"
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

// Holds SDL's joystick subsystem for virtual devices attached before the reader
// enumerates, and empties the event queue that nobody else reads in a test.
class SdlSession {
 public:
  SdlSession() {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ok_ = SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  ~SdlSession() {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (ok_) SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// A virtual game controller (or plain joystick) attached for the test's lifetime.
class VirtualPad {
 public:
  explicit VirtualPad(const std::string& name = "Test Pad", bool gamepad = true) : name_(name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = gamepad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = gamepad ? SDL_CONTROLLER_AXIS_MAX : 2;
    desc.nbuttons = gamepad ? SDL_CONTROLLER_BUTTON_MAX : 10;
    desc.nhats = gamepad ? 0 : 1;
    desc.name = name_.c_str();
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) {
      joystick_ = SDL_JoystickOpen(index);
      instance_ = SDL_JoystickInstanceID(joystick_);
    }
  }
  ~VirtualPad() {
    if (!joystick_) return;
    SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) {
        SDL_JoystickDetachVirtual(i);
        break;
      }
    }
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool ok() const { return joystick_ != nullptr; }
  int instance() const { return instance_; }
  // The new state shows up as events at the next pump.
  void SetAxis(int axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
  }
  void SetButton(int button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void SetHat(int hat, Uint8 value) { SDL_JoystickSetVirtualHat(joystick_, hat, value); }

 private:
  std::string name_;
  SDL_Joystick* joystick_ = nullptr;
  int instance_ = -1;
};

// Each test gets its own configuration folder, so no saved map leaks in.
class InputFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.ok());
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  }
  void TearDown() override {
    input.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  // Builds the reader and runs one frame so its devices are acquired.
  Input& Start() {
    input.reset();
    input = std::make_unique<Input>(nullptr);
    input->Update();
    return *input;
  }
  std::vector<std::shared_ptr<platform::InputDevice>> Devices() const {
    std::vector<std::shared_ptr<platform::InputDevice>> devices;
    for (int i = 0; i < input->GetDeviceCount(); ++i) devices.push_back(input->GetDevice(i));
    return devices;
  }

  SdlSession session;
  testsupport::TempDir config;
  std::unique_ptr<Input> input;
};

}  // namespace inputtest
