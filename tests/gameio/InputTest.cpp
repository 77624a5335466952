// The input reader's masks: held and pressed across frames for keys, buttons and
// sticks, the fixed actions, the device list, and staying in step across Disable.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gameio/InputTestEvents.h"

namespace {

using inputtest::PushKey;
using inputtest::TapKey;

class InputTest : public inputtest::InputFixture {};

// The raw stick position that reads as `value` on the 0..99 range.
int RawFor(int value) {
  for (int raw = -32768; raw <= 32767; ++raw) {
    if (platform::ScaleAxis(raw, 0, 99, false) == value) return raw;
  }
  ADD_FAILURE() << "no raw position for " << value;
  return 0;
}

TEST_F(InputTest, HoldingSpaceIsPressedOnceThenHeldUntilReleased) {
  Input& in = Start();
  PushKey(SDL_SCANCODE_SPACE, true);
  in.Update();
  EXPECT_TRUE(in.IsHeld(JUMP));
  EXPECT_TRUE(in.IsPressed(JUMP));
  in.Update();
  EXPECT_TRUE(in.IsHeld(JUMP));
  EXPECT_FALSE(in.IsPressed(JUMP));
  PushKey(SDL_SCANCODE_SPACE, true, /*repeat=*/true);  // the keyboard's auto-repeat
  in.Update();
  EXPECT_TRUE(in.IsHeld(JUMP));
  EXPECT_FALSE(in.IsPressed(JUMP));
  PushKey(SDL_SCANCODE_SPACE, false);
  in.Update();
  EXPECT_FALSE(in.IsHeld(JUMP));
  EXPECT_FALSE(in.IsPressed(JUMP));
}

TEST_F(InputTest, PressReleasePressInOneFrameIsHeldAndPressed) {
  Input& in = Start();
  PushKey(SDL_SCANCODE_SPACE, true);
  PushKey(SDL_SCANCODE_SPACE, false);
  PushKey(SDL_SCANCODE_SPACE, true);
  in.Update();
  EXPECT_TRUE(in.IsHeld(JUMP));
  EXPECT_TRUE(in.IsPressed(JUMP));
  // A tap within one frame still counts as a press, and ends released.
  PushKey(SDL_SCANCODE_SPACE, false);
  TapKey(SDL_SCANCODE_D);
  in.Update();
  EXPECT_TRUE(in.IsPressed(FIRE_GUN));
  EXPECT_FALSE(in.IsHeld(FIRE_GUN | JUMP));
}

TEST_F(InputTest, FixedActionsArePressedOnPressAndOnRelease) {
  Input& in = Start();
  const struct {
    SDL_Scancode key;
    ActionBits action;
  } fixed[] = {{SDL_SCANCODE_ESCAPE, DISPLAY_MENU},
               {SDL_SCANCODE_PAUSE, PAUSE_GAME},
               {SDL_SCANCODE_F1, CONTROLS_INFORMATION}};
  for (const auto& f : fixed) {
    PushKey(f.key, true);
    in.Update();
    EXPECT_TRUE(in.IsPressed(f.action)) << f.action;
    in.Update();
    EXPECT_FALSE(in.IsPressed(f.action)) << f.action;
    EXPECT_FALSE(in.IsHeld(f.action)) << f.action;
    PushKey(f.key, false);
    in.Update();
    EXPECT_TRUE(in.IsPressed(f.action)) << f.action;
    in.Update();
    EXPECT_FALSE(in.IsPressed(f.action) | in.IsHeld(f.action)) << f.action;
  }
}

TEST_F(InputTest, KeyboardDefaultsCoverEveryKeyboardAction) {
  Input& in = Start();
  const struct {
    SDL_Scancode key;
    ActionBits action;
  } keys[] = {{SDL_SCANCODE_UP, UP_OPTIONS_SELECTION},
              {SDL_SCANCODE_DOWN, DOWN_OPTIONS_SELECTION},
              {SDL_SCANCODE_LEFT, MOVE_LEFT},
              {SDL_SCANCODE_RIGHT, MOVE_RIGHT},
              {SDL_SCANCODE_D, FIRE_GUN},
              {SDL_SCANCODE_S, SWING_SWORD},
              {SDL_SCANCODE_A, STRIDE},
              {SDL_SCANCODE_Q, AIM_UP},
              {SDL_SCANCODE_Z, AIM_DOWN},
              {SDL_SCANCODE_RETURN, ENTER_MENU_SELECTION},
              {SDL_SCANCODE_1, DEBUG_1},
              {SDL_SCANCODE_9, DEBUG_9},
              {SDL_SCANCODE_0, DEBUG_0}};
  for (const auto& k : keys) {
    PushKey(k.key, true);
    in.Update();
    EXPECT_EQ(in.IsPressed(0xFFFFFFFF), k.action) << SDL_GetScancodeName(k.key);
    PushKey(k.key, false);
    in.Update();
  }
  EXPECT_EQ(in.IsHeld(0xFFFFFFFF), 0u);
}

TEST_F(InputTest, StickThresholdsAre25And73) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Input& in = Start();
  ASSERT_EQ(in.GetDeviceCount(), 2);
  const struct {
    int value;
    ActionBits held;
  } lateral[] = {{24, MOVE_LEFT}, {25, 0}, {73, 0}, {74, MOVE_RIGHT}};
  for (const auto& step : lateral) {
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(49));
    in.Update();
    pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(step.value));
    in.Update();
    EXPECT_EQ(in.IsHeld(MOVE_LEFT | MOVE_RIGHT), step.held) << step.value;
    EXPECT_EQ(in.IsPressed(MOVE_LEFT | MOVE_RIGHT), step.held) << step.value;
  }
  // Stick up is toward "Up Options Selection", down toward "Down Options Selection".
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  in.Update();
  EXPECT_EQ(in.IsPressed(UP_OPTIONS_SELECTION | DOWN_OPTIONS_SELECTION), UP_OPTIONS_SELECTION);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
  in.Update();
  EXPECT_EQ(in.IsHeld(UP_OPTIONS_SELECTION | DOWN_OPTIONS_SELECTION), DOWN_OPTIONS_SELECTION);
}

TEST_F(InputTest, StickSwungAcrossLetsGoOfTheOtherSideAndPressesOnce) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Input& in = Start();
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  in.Update();
  EXPECT_EQ(in.IsHeld(MOVE_LEFT | MOVE_RIGHT), MOVE_RIGHT);
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  in.Update();
  EXPECT_EQ(in.IsHeld(MOVE_LEFT | MOVE_RIGHT), MOVE_LEFT);
  EXPECT_TRUE(in.IsPressed(MOVE_LEFT));
  // Further along the same side: still held, not pressed again (a menu would skip).
  pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, RawFor(10));
  in.Update();
  EXPECT_TRUE(in.IsHeld(MOVE_LEFT));
  EXPECT_FALSE(in.IsPressed(MOVE_LEFT));
}

TEST_F(InputTest, AtMostFourDevicesKeyboardFirst) {
  std::vector<std::unique_ptr<inputtest::VirtualPad>> pads;
  for (int i = 0; i < 5; ++i) {
    pads.push_back(std::make_unique<inputtest::VirtualPad>("Pad " + std::to_string(i)));
    ASSERT_TRUE(pads.back()->ok());
  }
  Input& in = Start();
  ASSERT_EQ(in.GetDeviceCount(), Input::MAX_DEVICES);
  EXPECT_EQ(in.GetDeviceName(0), "Keyboard");
  // The devices used are the first ones reported.
  EXPECT_EQ(in.GetDeviceName(1), "Pad 0");
  EXPECT_EQ(in.GetDeviceName(3), "Pad 2");
}

TEST_F(InputTest, LongDeviceNamesAreCutTo35CharactersPlusDots) {
  const std::string forty = "Extremely Long Controller Name Of Forty";
  ASSERT_EQ(forty.size() + 1, 40u);
  inputtest::VirtualPad pad(forty + "!");
  ASSERT_TRUE(pad.ok());
  Input& in = Start();
  ASSERT_EQ(in.GetDeviceCount(), 2);
  EXPECT_EQ(in.GetDeviceName(1), (forty + "!").substr(0, 35) + "...");
  EXPECT_EQ(Input::DisplayName(std::string(35, 'x')), std::string(35, 'x'));
  EXPECT_EQ(Input::DisplayName(std::string(36, 'x')), std::string(35, 'x') + "...");
}

TEST_F(InputTest, KeyReleasedWhileDisabledIsNotStuckAfterEnable) {
  Input& in = Start();
  PushKey(SDL_SCANCODE_RIGHT, true);
  in.Update();
  ASSERT_TRUE(in.IsHeld(MOVE_RIGHT));
  in.Disable();
  EXPECT_FALSE(in.IsHeld(MOVE_RIGHT));
  in.Update();  // ignored while disabled
  PushKey(SDL_SCANCODE_LEFT, true);
  PushKey(SDL_SCANCODE_LEFT, false);
  in.Enable();
  in.Update();
  EXPECT_EQ(in.IsHeld(0xFFFFFFFF), 0u);
  // Right was held through it all: letting go now must not switch it on.
  PushKey(SDL_SCANCODE_RIGHT, false);
  in.Update();
  EXPECT_FALSE(in.IsHeld(MOVE_RIGHT));
  EXPECT_FALSE(in.IsPressed(MOVE_RIGHT));
  PushKey(SDL_SCANCODE_RIGHT, true);
  in.Update();
  EXPECT_TRUE(in.IsHeld(MOVE_RIGHT));
  EXPECT_TRUE(in.IsPressed(MOVE_RIGHT));
}

TEST_F(InputTest, ControlsScreenReturnsAtOnceHeadlessAndSwallowsItsKey) {
  Input& in = Start();
  PushKey(SDL_SCANCODE_RIGHT, true);
  PushKey(SDL_SCANCODE_F1, true);
  in.Update();
  ASSERT_TRUE(in.IsPressed(CONTROLS_INFORMATION));
  in.ConfigureDevices();
  EXPECT_EQ(in.GetDeviceCount(), 1);
  EXPECT_TRUE(in.IsInitialised());
  PushKey(SDL_SCANCODE_F1, false);
  PushKey(SDL_SCANCODE_RIGHT, false);
  in.Update();
  EXPECT_EQ(in.IsPressed(0xFFFFFFFF), 0u) << "the key that opened the screen";
  EXPECT_EQ(in.IsHeld(0xFFFFFFFF), 0u);
  TapKey(SDL_SCANCODE_SPACE);
  in.Update();
  EXPECT_TRUE(in.IsPressed(JUMP)) << "the new devices read as usual";
}

TEST(InputDeathTest, SecondReaderIsAnAssertion) {
  inputtest::SdlSession session;
  Input first(nullptr);
  EXPECT_DEATH(Input second(nullptr), "Assertion failed: !spMe, file game/Input\\.cpp, line");
}

}  // namespace
