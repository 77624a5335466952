// The SDL device layer: injected events become (action data, value) records on the
// right device, only while it is acquired.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "gameio/InputTestEvents.h"
#include "platform/InputDevices.h"
#include "support/TempDir.h"

using platform::Control;
using platform::ControlKind;
using platform::DeviceKind;
using platform::DeviceRecord;

namespace {

constexpr std::uint32_t kLateral = 0x7F000001;
constexpr std::uint32_t kVertical = 0x7F000002;

// A small format: both axes, Jump and Aim Up on the genre, and three keys.
platform::ActionFormat TestFormat() {
  platform::ActionFormat format;
  format.guid = "{TEST}";
  format.genre = 0x22000000;
  format.bufferSize = 32;
  format.mapName = "Test button maps";
  format.actions = {
      {kLateral, 0x22008201, 0, "Move left/right"},
      {kVertical, 0x22010202, 0, "Aim up or down"},
      {0x10, 0x22000401, 0, "Jump"},
      {0x40, 0x2207C4E0, 0, "Aim Up"},
      {0x10, platform::kKeyboardSemanticBase + 0x39, 0, "Jump"},
      {0x2, platform::kKeyboardSemanticBase + 0xCD, 0, "Move right"},
      {0x400, platform::kKeyboardSemanticBase + 0x01, platform::kActionFixed, "Display menu"},
  };
  return format;
}

std::vector<DeviceRecord> Drain(platform::InputDevice& device) {
  device.Poll();
  std::vector<DeviceRecord> all;
  DeviceRecord records[10];
  int count = 10;
  while (device.GetDeviceData(records, count) && count > 0) {
    all.insert(all.end(), records, records + count);
    count = 10;
  }
  return all;
}

class InputDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.ok());
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    system = platform::InputSystem::Create();
    ASSERT_TRUE(system);
  }
  void TearDown() override {
    devices.clear();
    system.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

  // Every device the system offers, with its map built and set.
  void Enumerate() {
    devices.clear();
    system->EnumDevicesBySemantics(format, [&](const std::shared_ptr<platform::InputDevice>& d) {
      EXPECT_TRUE(d->BuildActionMap(format));
      EXPECT_TRUE(d->SetActionMap(format));
      devices.push_back(d);
      return true;
    });
  }

  platform::InputDevice& Device(DeviceKind kind) {
    for (auto& device : devices) {
      if (device->GetKind() == kind) return *device;
    }
    ADD_FAILURE() << "no such device";
    return *devices.front();
  }

  inputtest::SdlSession session;
  testsupport::TempDir config;
  platform::ActionFormat format = TestFormat();
  std::unique_ptr<platform::InputSystem> system;
  std::vector<std::shared_ptr<platform::InputDevice>> devices;
};

TEST_F(InputDevicesTest, BuffersOnlyWhileAcquiredAndKeepsTheOldest32) {
  Enumerate();
  platform::InputDevice& keyboard = *devices.front();
  inputtest::TapKey(SDL_SCANCODE_SPACE);
  DeviceRecord records[10];
  int count = 10;
  EXPECT_FALSE(keyboard.GetDeviceData(records, count));
  EXPECT_EQ(count, 0);
  keyboard.Acquire();
  EXPECT_TRUE(Drain(keyboard).empty());
  for (int i = 0; i < 20; ++i) inputtest::TapKey(SDL_SCANCODE_SPACE);  // 40 events
  inputtest::PushKey(SDL_SCANCODE_RIGHT, true);
  const std::vector<DeviceRecord> kept = Drain(keyboard);
  ASSERT_EQ(kept.size(), 32u);
  for (const DeviceRecord& record : kept) EXPECT_EQ(record.data, 0x10u);
  inputtest::TapKey(SDL_SCANCODE_SPACE);
  keyboard.Unacquire();
  keyboard.Acquire();
  EXPECT_TRUE(Drain(keyboard).empty()) << "unacquiring drops the buffer";
}

TEST_F(InputDevicesTest, StickPositionsCoalesceAndRepeatsAreDropped) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Enumerate();
  platform::InputDevice& gamepad = Device(DeviceKind::Gamepad);
  gamepad.Acquire();
  Drain(gamepad);
  for (int raw : {-1000, -9000, -20000, -32768}) {
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, raw);
    gamepad.Poll();
  }
  std::vector<DeviceRecord> records = Drain(gamepad);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].value, 0u);
  // A button between two positions keeps them apart: order matters for buttons.
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  gamepad.Poll();
  pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
  gamepad.Poll();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  records = Drain(gamepad);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].data, kLateral);
  EXPECT_EQ(records[1].data, 0x10u);
  EXPECT_EQ(records[2].value, 99u);
}

TEST_F(InputDevicesTest, PlainJoystickUsesRawAxesButtonsAndHat) {
  inputtest::VirtualPad stick("Plain Stick", /*gamepad=*/false);
  ASSERT_TRUE(stick.ok());
  Enumerate();
  platform::InputDevice& joystick = Device(DeviceKind::Joystick);
  EXPECT_EQ(joystick.GetType(), 0x14u);
  joystick.Acquire();
  Drain(joystick);
  stick.SetHat(0, SDL_HAT_UP);
  joystick.Poll();
  stick.SetHat(0, SDL_HAT_CENTERED);
  joystick.Poll();
  stick.SetButton(0, true);
  const std::vector<DeviceRecord> records = Drain(joystick);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].data, 0x40u);
  EXPECT_EQ(records[0].value, 0x80u);
  EXPECT_EQ(records[1].data, 0x40u);
  EXPECT_EQ(records[1].value, 0u);
  EXPECT_EQ(records[2].data, 0x10u);
}

TEST_F(InputDevicesTest, ListeningHearsControlsAndQuit) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Enumerate();
  system->StartListening();
  inputtest::PushKey(SDL_SCANCODE_K, true);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 4000);  // a nudge: not heard
  system->PumpEvents();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  system->PumpEvents();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);

  std::vector<platform::ControlEvent> heard;
  platform::ControlEvent event;
  while (system->NextControlEvent(event)) heard.push_back(event);
  int keyEvents = 0;
  int axisEvents = 0;
  for (const auto& e : heard) {
    if (e.kind == DeviceKind::Keyboard) {
      ++keyEvents;
      EXPECT_EQ(e.control, (Control{ControlKind::Key, SDL_SCANCODE_K}));
      EXPECT_TRUE(e.down);
    }
    if (e.kind == DeviceKind::Gamepad && e.control.IsAxis()) {
      ++axisEvents;
      EXPECT_EQ(e.instance, pad.instance());
      EXPECT_EQ(e.raw, 30000);
    }
  }
  EXPECT_EQ(keyEvents, 1);
  EXPECT_EQ(axisEvents, 1);
  EXPECT_TRUE(system->IsQuitRequested());
  system->StopListening();
  inputtest::PushKey(SDL_SCANCODE_K, false);
  EXPECT_FALSE(system->NextControlEvent(event));
}

}  // namespace
