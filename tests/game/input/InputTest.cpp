// The input reader's masks: held and pressed across frames for keys and sticks,
// the fixed actions, the device list, and staying in step across Disable; and
// the SDL device layer under it: buffering, stick streams, and the raw events
// the controls screen listens to.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "game/input/InputTestEvents.h"

namespace {

using inputtest::Masks;
using inputtest::PushKey;
using inputtest::TapKey;
using inputtest::VirtualPad;
using platform::Control;
using platform::ControlKind;
using platform::DeviceKind;
using Records = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // data, value

class InputTest : public inputtest::InputFixture {};
class InputDevicesTest : public inputtest::InputFixture {};
class InputDeathTest : public inputtest::InputFixture {};

// The raw stick position that reads as `value` on the 0..99 range.
int RawFor(int value) {
  for (int raw = -32768; raw <= 32767; ++raw)
    if (platform::ScaleAxis(raw, 0, 99, false) == value) return raw;
  ADD_FAILURE() << "no raw position for " << value;
  return 0;
}

TEST_F(InputTest, SpaceIsPressedOnceHeldUntilReleasedAndEveryPressInAFrameCounts) {
  Start();
  PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP}));
  EXPECT_EQ(Frame(), (Masks{JUMP, 0}));
  PushKey(SDL_SCANCODE_SPACE, true, /*repeat=*/true);  // the keyboard's auto-repeat
  EXPECT_EQ(Frame(), (Masks{JUMP, 0}));
  PushKey(SDL_SCANCODE_SPACE, false);
  EXPECT_EQ(Frame(), (Masks{0, 0}));

  PushKey(SDL_SCANCODE_SPACE, true);
  PushKey(SDL_SCANCODE_SPACE, false);
  PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP}));
  PushKey(SDL_SCANCODE_SPACE, false);
  TapKey(SDL_SCANCODE_D);  // a tap within one frame still counts, and ends released
  EXPECT_EQ(Frame(), (Masks{0, FIRE_GUN}));
}

TEST_F(InputTest, FixedActionsArePressedOnPressAndOnReleaseFrames) {
  Start();
  const std::pair<SDL_Scancode, ActionBits> fixed[] = {{SDL_SCANCODE_ESCAPE, DISPLAY_MENU},
                                                       {SDL_SCANCODE_PAUSE, PAUSE_GAME},
                                                       {SDL_SCANCODE_F1, CONTROLS_INFORMATION}};
  for (const auto& [key, action] : fixed) {
    SCOPED_TRACE(SDL_GetScancodeName(key));
    for (bool down : {true, false}) {
      PushKey(key, down);
      EXPECT_EQ(Frame(), (Masks{action, action}));
      EXPECT_EQ(Frame(), (Masks{0, 0}));  // not held on: it lasts the one frame
    }
  }
}

TEST_F(InputTest, StickThresholdsAre25And73AndSwingingAcrossPressesOnce) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  ASSERT_EQ(input->GetDeviceCount(), 2);
  const std::pair<int, ActionBits> steps[] = {{24, MOVE_LEFT}, {25, 0}, {73, 0}, {74, MOVE_RIGHT}};
  for (const auto& [value, side] : steps) {
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(49));
    Frame();
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(value));
    EXPECT_EQ(Frame(), (Masks{side, side})) << value;
  }
  // From right across to left lets go of right; further left is no new press
  // (a menu would skip).
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  EXPECT_EQ(Frame(), (Masks{MOVE_LEFT, MOVE_LEFT}));
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(10));
  EXPECT_EQ(Frame(), (Masks{MOVE_LEFT, 0}));

  // Stick up is toward "Up Options Selection", down toward "Down Options Selection".
  const ActionBits menu = UP_OPTIONS_SELECTION | DOWN_OPTIONS_SELECTION;
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  EXPECT_EQ(Frame().pressed & menu, UP_OPTIONS_SELECTION);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
  EXPECT_EQ(Frame().held & menu, DOWN_OPTIONS_SELECTION);
}

TEST_F(InputTest, AtMostFourDevicesKeyboardFirstAndLongNamesCut) {
  const std::string longName = "Extremely Long Controller Name Of Forty!";
  std::vector<std::unique_ptr<VirtualPad>> pads;
  for (int i = 0; i < 5; ++i) {
    pads.push_back(std::make_unique<VirtualPad>(i ? "Pad " + std::to_string(i) : longName));
    ASSERT_TRUE(pads.back()->ok());
  }
  Start();
  ASSERT_EQ(input->GetDeviceCount(), 4);
  EXPECT_EQ(input->GetDeviceName(0), "Keyboard");
  EXPECT_EQ(input->GetDeviceName(1), longName.substr(0, 35) + "...");
  EXPECT_EQ(input->GetDeviceName(3), "Pad 2");  // the first ones reported
  EXPECT_EQ(Input::DisplayName(std::string(35, 'x')), std::string(35, 'x'));
  EXPECT_EQ(Input::DisplayName(std::string(36, 'x')), std::string(35, 'x') + "...");
}

// Names are cut after 35 characters, however many bytes each takes in UTF-8.
TEST(DeviceDisplayName, CutsWholeUtf8Characters) {
  auto times = [](int count, const std::string& text) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
  };
  const std::string e = "\u00e9";     // two bytes
  const std::string yen = "\u5186";   // three bytes
  const std::string pad = "\U0001F3AE";  // four bytes
  const struct {
    std::string name;
    std::string shown;
  } cases[] = {
      {times(35, e), times(35, e)},
      {times(36, e), times(35, e) + "..."},
      {times(34, "a") + yen + "bcdef", times(34, "a") + yen + "..."},
      {times(17, "a") + times(20, pad), times(17, "a") + times(18, pad) + "..."},
  };
  for (const auto& c : cases) EXPECT_EQ(Input::DisplayName(c.name), c.shown) << c.name;
}

TEST_F(InputTest, KeyReleasedWhileDisabledIsNotStuckAfterEnable) {
  Start();
  PushKey(SDL_SCANCODE_RIGHT, true);
  ASSERT_EQ(Frame(), (Masks{MOVE_RIGHT, MOVE_RIGHT}));
  input->Disable();
  EXPECT_EQ(input->IsHeld(MOVE_RIGHT), 0u);
  input->Update();  // ignored while disabled
  TapKey(SDL_SCANCODE_LEFT);
  input->Enable();
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  // Right was held through it all: letting go now must not switch it on.
  PushKey(SDL_SCANCODE_RIGHT, false);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  PushKey(SDL_SCANCODE_RIGHT, true);
  EXPECT_EQ(Frame(), (Masks{MOVE_RIGHT, MOVE_RIGHT}));
}

// An action is held while any of its controls is down: a key and a pad button,
// or a key and a stick, each press and let go on their own.
TEST_F(InputTest, AnActionWithTwoControlsDownStaysHeldUntilBothAreUp) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  ASSERT_EQ(input->GetDeviceCount(), 2);
  using Step = std::pair<std::function<void()>, Masks>;
  const Step jump[] = {
      {[] { PushKey(SDL_SCANCODE_SPACE, true); }, {JUMP, JUMP}},
      {[&] { pad.SetButton(SDL_CONTROLLER_BUTTON_A, true); }, {JUMP, 0}},
      {[] { PushKey(SDL_SCANCODE_SPACE, false); }, {JUMP, 0}},
      {[] { PushKey(SDL_SCANCODE_SPACE, true); }, {JUMP, 0}},
      {[&] { pad.SetButton(SDL_CONTROLLER_BUTTON_A, false); }, {JUMP, 0}},
      {[] { PushKey(SDL_SCANCODE_SPACE, false); }, {0, 0}},
      {[&] { pad.SetButton(SDL_CONTROLLER_BUTTON_A, true); }, {JUMP, JUMP}},
      {[&] { pad.SetButton(SDL_CONTROLLER_BUTTON_A, false); }, {0, 0}},
  };
  const Step left[] = {
      {[] { PushKey(SDL_SCANCODE_LEFT, true); }, {MOVE_LEFT, MOVE_LEFT}},
      {[&] { pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768); }, {MOVE_LEFT, 0}},
      {[&] { pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0); }, {MOVE_LEFT, 0}},
      {[&] { pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767); },
       {MOVE_LEFT | MOVE_RIGHT, MOVE_RIGHT}},
      {[] { PushKey(SDL_SCANCODE_LEFT, false); }, {MOVE_RIGHT, 0}},
      {[&] { pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0); }, {0, 0}},
  };
  for (const auto& steps : {std::span<const Step>(jump), std::span<const Step>(left)}) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      steps[i].first();
      EXPECT_EQ(Frame(), steps[i].second) << "step " << i;
    }
  }
}

// A stick pushed to a side and back to the middle within the frame a key presses
// that side takes nothing away: the key's press and hold stand.
TEST_F(InputTest, AStickBackInTheMiddleKeepsTheSideAKeyHoldsAndPresses) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  ASSERT_EQ(input->GetDeviceCount(), 2);
  const struct {
    SDL_Scancode key;
    int push;
    ActionBits side;
  } sides[] = {{SDL_SCANCODE_LEFT, -32768, MOVE_LEFT}, {SDL_SCANCODE_RIGHT, 32767, MOVE_RIGHT}};
  platform::InputDevice& gamepad = *input->GetDevice(1);
  for (const auto& c : sides) {
    SCOPED_TRACE(SDL_GetScancodeName(c.key));
    PushKey(c.key, true);
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, c.push);
    gamepad.Poll();
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);  // keeps the two positions apart
    gamepad.Poll();
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(Frame(), (Masks{c.side | JUMP, c.side | JUMP}));
    pad.SetButton(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(Frame(), (Masks{c.side, 0}));
    PushKey(c.key, false);
    EXPECT_EQ(Frame(), (Masks{0, 0}));
  }
}

// A let-go whose press the game never saw (a key held down as the game started)
// leaves nothing held; the control's next press and let-go work as usual.
TEST_F(InputTest, AReleaseWithoutItsPressHoldsNothing) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  PushKey(SDL_SCANCODE_RIGHT, false);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  PushKey(SDL_SCANCODE_RIGHT, true);
  EXPECT_EQ(Frame(), (Masks{MOVE_RIGHT, MOVE_RIGHT}));
  PushKey(SDL_SCANCODE_RIGHT, false);
  EXPECT_EQ(Frame(), (Masks{0, 0}));

  // A release pushed straight at the pad, as its driver might report one.
  SDL_Event release{};
  release.type = SDL_CONTROLLERBUTTONUP;
  release.cbutton.which = pad.instance();
  release.cbutton.button = SDL_CONTROLLER_BUTTON_A;
  SDL_PushEvent(&release);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  // The fixed actions still read a let-go as a press, for its one frame.
  PushKey(SDL_SCANCODE_ESCAPE, false);
  EXPECT_EQ(Frame().pressed, DISPLAY_MENU);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
}

TEST_F(InputTest, ControlsScreenReturnsAtOnceHeadlessAndSwallowsItsKey) {
  Start();
  PushKey(SDL_SCANCODE_RIGHT, true);
  PushKey(SDL_SCANCODE_F1, true);
  ASSERT_EQ(Frame(), (Masks{MOVE_RIGHT | CONTROLS_INFORMATION, MOVE_RIGHT | CONTROLS_INFORMATION}));
  input->ConfigureDevices();
  EXPECT_EQ(input->GetDeviceCount(), 1);
  EXPECT_TRUE(input->IsInitialised());
  PushKey(SDL_SCANCODE_F1, false);
  PushKey(SDL_SCANCODE_RIGHT, false);
  EXPECT_EQ(Frame(), (Masks{0, 0})) << "the key that opened the screen";
  TapKey(SDL_SCANCODE_SPACE);
  EXPECT_EQ(Frame(), (Masks{0, JUMP})) << "the new devices read as usual";
}

// Everything the device has buffered, read ten records at a time.
Records Drain(platform::InputDevice& device) {
  device.Poll();
  Records all;
  platform::DeviceRecord records[10];
  for (int count = 10; device.GetDeviceData(records, count) && count > 0; count = 10)
    for (int i = 0; i < count; ++i) all.emplace_back(records[i].data, records[i].value);
  return all;
}

TEST_F(InputDevicesTest, BuffersOnlyWhileAcquiredAndKeepsTheOldest32) {
  Start();
  platform::InputDevice& keyboard = *input->GetDevice(0);
  keyboard.Unacquire();
  TapKey(SDL_SCANCODE_SPACE);
  platform::DeviceRecord records[10];
  int count = 10;
  EXPECT_FALSE(keyboard.GetDeviceData(records, count));
  EXPECT_EQ(count, 0);
  keyboard.Acquire();
  EXPECT_TRUE(Drain(keyboard).empty());
  for (int i = 0; i < 20; ++i) TapKey(SDL_SCANCODE_SPACE);  // 40 events
  PushKey(SDL_SCANCODE_RIGHT, true);
  Records oldest;
  for (int i = 0; i < 16; ++i) oldest.insert(oldest.end(), {{JUMP, 0x80}, {JUMP, 0}});
  EXPECT_EQ(Drain(keyboard), oldest);
  TapKey(SDL_SCANCODE_SPACE);
  keyboard.Unacquire();
  keyboard.Acquire();
  EXPECT_TRUE(Drain(keyboard).empty()) << "unacquiring drops the buffer";
}

// A swept stick must not crowd presses out of the 32-record buffer.
TEST_F(InputDevicesTest, StickPositionsCoalesceUntilAButtonComesBetween) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  platform::InputDevice& gamepad = *input->GetDevice(1);
  for (int raw : {-1000, -9000, -20000, -32768}) {
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, raw);
    gamepad.Poll();
  }
  EXPECT_EQ(Drain(gamepad), (Records{{LATERAL_AXIS, 0}}));
  // A button between two positions keeps the order of all three.
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  gamepad.Poll();
  pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
  gamepad.Poll();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  EXPECT_EQ(Drain(gamepad), (Records{{LATERAL_AXIS, 50}, {JUMP, 0x80}, {LATERAL_AXIS, 99}}));
}

TEST_F(InputDevicesTest, ListeningHearsKeysFarStickPushesAndQuit) {
  VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  platform::InputSystem& system = *input->GetInputSystem();
  system.StartListening();
  PushKey(SDL_SCANCODE_K, true);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 4000);  // a nudge: not heard
  system.PumpEvents();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  system.PumpEvents();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);

  // Kind, instance, control, down, raw.
  using Heard = std::tuple<DeviceKind, int, Control, bool, int>;
  std::vector<Heard> heard;
  for (platform::ControlEvent e; system.NextControlEvent(e);)
    if (e.kind != DeviceKind::Joystick)  // the pad again, seen as a plain joystick
      heard.emplace_back(e.kind, e.instance, e.control, e.down, e.raw);
  EXPECT_EQ(heard,
            (std::vector<Heard>{
                {DeviceKind::Keyboard, -1, {ControlKind::Key, SDL_SCANCODE_K}, true, 0},
                {DeviceKind::Gamepad, pad.instance(), {ControlKind::Axis, 1}, false, 30000}}));
  EXPECT_TRUE(system.IsQuitRequested());
  system.StopListening();
  PushKey(SDL_SCANCODE_K, false);
  platform::ControlEvent after;
  EXPECT_FALSE(system.NextControlEvent(after));
}

TEST_F(InputDeathTest, SecondReaderIsAnAssertion) {
  Input first(nullptr);
  EXPECT_DEATH(Input second(nullptr), "Assertion failed: !spMe, file game/input/Input\\.cpp, line");
}

}  // namespace
