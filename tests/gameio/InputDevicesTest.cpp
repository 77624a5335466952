// The SDL device layer under the reader: buffering while acquired, stick streams,
// plain joysticks, and the raw events the controls screen listens to.
#include <gtest/gtest.h>

#include <vector>

#include "gameio/InputTestEvents.h"

namespace {

using platform::Control;
using platform::ControlKind;
using platform::DeviceKind;
using platform::DeviceRecord;

class InputDevicesTest : public inputtest::InputFixture {};

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

TEST_F(InputDevicesTest, BuffersOnlyWhileAcquiredAndKeepsTheOldest32) {
  Start();
  platform::InputDevice& keyboard = *input->GetDevice(0);
  keyboard.Unacquire();
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
  for (const DeviceRecord& record : kept) EXPECT_EQ(record.data, JUMP);
  EXPECT_EQ(kept[0].value, 0x80u);
  EXPECT_EQ(kept[1].value, 0u);
  inputtest::TapKey(SDL_SCANCODE_SPACE);
  keyboard.Unacquire();
  keyboard.Acquire();
  EXPECT_TRUE(Drain(keyboard).empty()) << "unacquiring drops the buffer";
}

TEST_F(InputDevicesTest, StickPositionsCoalesceUntilAButtonComesBetween) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  platform::InputDevice& gamepad = *input->GetDevice(1);
  EXPECT_EQ(gamepad.GetType(), 0x15u);
  for (int raw : {-1000, -9000, -20000, -32768}) {
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, raw);
    gamepad.Poll();
  }
  std::vector<DeviceRecord> records = Drain(gamepad);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].value, 0u);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  gamepad.Poll();
  pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
  gamepad.Poll();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  records = Drain(gamepad);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].data, LATERAL_AXIS);
  EXPECT_EQ(records[1].data, JUMP);
  EXPECT_EQ(records[2].value, 99u);
}

TEST_F(InputDevicesTest, PlainJoystickUsesRawButtonsAndHat) {
  inputtest::VirtualPad stick("Plain Stick", /*gamepad=*/false);
  ASSERT_TRUE(stick.ok());
  Start();
  platform::InputDevice& joystick = *input->GetDevice(1);
  EXPECT_EQ(joystick.GetType(), 0x14u);
  stick.SetHat(0, SDL_HAT_UP);
  joystick.Poll();
  stick.SetHat(0, SDL_HAT_CENTERED);
  joystick.Poll();
  stick.SetButton(9, true);
  const std::vector<DeviceRecord> records = Drain(joystick);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].data, AIM_UP);
  EXPECT_EQ(records[0].value, 0x80u);
  EXPECT_EQ(records[1].data, AIM_UP);
  EXPECT_EQ(records[1].value, 0u);
  EXPECT_EQ(records[2].data, PAUSE_GAME);
}

TEST_F(InputDevicesTest, ListeningHearsKeysFarStickPushesAndQuit) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  platform::InputSystem& system = *input->GetInputSystem();
  system.StartListening();
  inputtest::PushKey(SDL_SCANCODE_K, true);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 4000);  // a nudge: not heard
  system.PumpEvents();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  system.PumpEvents();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);

  int keyEvents = 0;
  int axisEvents = 0;
  platform::ControlEvent e;
  while (system.NextControlEvent(e)) {
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
  EXPECT_TRUE(system.IsQuitRequested());
  system.StopListening();
  inputtest::PushKey(SDL_SCANCODE_K, false);
  EXPECT_FALSE(system.NextControlEvent(e));
}

}  // namespace
