// The controls screen: moving through the list, rebinding, refusing what may not
// change, and a saved map coming back at the next start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/Input.h"
#include "game/InputControlsDialog.h"
#include "game/InputControlsEditor.h"
#include "gameio/InputTestEvents.h"
#include "support/TempDir.h"

namespace {

using platform::Binding;
using platform::Control;
using platform::ControlEvent;
using platform::ControlKind;
using platform::DeviceKind;
using Row = InputControlsEditor::Row;

constexpr int kPadInstance = 7;

ControlEvent Key(int scancode, bool down = true) {
  return {DeviceKind::Keyboard, -1, {ControlKind::Key, scancode}, down, 0};
}
ControlEvent PadButton(int button, bool down = true) {
  return {DeviceKind::Gamepad, kPadInstance, {ControlKind::Button, button}, down, 0};
}
ControlEvent PadAxis(int axis, int raw) {
  return {DeviceKind::Gamepad, kPadInstance, {ControlKind::Axis, axis}, false, raw};
}

InputControlsEditor::DeviceView View(platform::DeviceKind kind, int instance,
                                     const std::string& identity) {
  const platform::ActionFormat format = Input::MakeActionFormat();
  const platform::ActionMap defaults = platform::DefaultActionMap(format, kind);
  return {identity, kind, instance, identity, defaults, defaults};
}

class ControlsEditorTest : public ::testing::Test {
 protected:
  InputControlsEditor MakeEditor() {
    return InputControlsEditor(format, {View(DeviceKind::Keyboard, -1, "keyboard"),
                                        View(DeviceKind::Gamepad, kPadInstance, "gamepad:01")});
  }
  platform::ActionFormat format = Input::MakeActionFormat();
};

int RowOf(const InputControlsEditor& editor, const std::string& name) {
  const auto& rows = editor.GetRows();
  auto it =
      std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.name == name; });
  EXPECT_NE(it, rows.end()) << name;
  return static_cast<int>(it - rows.begin());
}

void Select(InputControlsEditor& editor, const std::string& name) {
  const int target = RowOf(editor, name);
  while (editor.GetSelection() != target) editor.Handle(Key(platform::keys::kDown));
}

std::string Bound(const InputControlsEditor& editor, const std::string& name) {
  return editor.BindingName(editor.GetRows()[RowOf(editor, name)]);
}

TEST_F(ControlsEditorTest, ListsEachActionOnceWithItsKeyAndCommandsLast) {
  InputControlsEditor editor = MakeEditor();
  const auto& rows = editor.GetRows();
  ASSERT_EQ(rows.size(), 24u + 3u) << "the keyboard has no stick actions";
  EXPECT_EQ(rows[0].name, "Fire gun");
  EXPECT_EQ(Bound(editor, "Jump"), "Space");
  EXPECT_EQ(Bound(editor, "Enter Menu Selection"), "Return");
  EXPECT_TRUE(rows[RowOf(editor, "Display menu")].fixed);
  EXPECT_EQ(rows[24].kind, Row::Kind::RestoreDefaults);
  EXPECT_EQ(rows[26].kind, Row::Kind::Cancel);
  // The gamepad's list starts with its sticks.
  editor.Handle(Key(platform::keys::kRight));
  EXPECT_EQ(editor.GetDeviceIndex(), 1);
  ASSERT_EQ(editor.GetRows().size(), 26u + 3u);
  EXPECT_EQ(editor.GetRows()[0].name, "Move left/right");
  EXPECT_EQ(Bound(editor, "Jump"), "A");
  EXPECT_EQ(Bound(editor, "Enter Menu Selection"), "");
}

TEST_F(ControlsEditorTest, RebindingTakesTheNextKeyAndFreesItsOldAction) {
  InputControlsEditor editor = MakeEditor();
  Select(editor, "Jump");
  editor.Handle(Key(platform::keys::kReturn));
  ASSERT_TRUE(editor.IsWaiting());
  editor.Handle(Key(platform::keys::kReturn, false));  // letting go of Return binds nothing
  editor.Handle(PadButton(platform::pad::kX));         // another device: ignored
  ASSERT_TRUE(editor.IsWaiting());
  editor.Handle(Key(SDL_SCANCODE_D));  // "Fire gun"'s key
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_EQ(Bound(editor, "Jump"), "D");
  EXPECT_EQ(Bound(editor, "Fire gun"), "");
  EXPECT_NE(editor.GetMessage().find("Fire gun"), std::string::npos) << editor.GetMessage();
  EXPECT_FALSE(platform::CheckActionMap(format, DeviceKind::Keyboard, editor.GetDevices()[0].map));

  Select(editor, "Restore defaults");
  editor.Handle(Key(platform::keys::kReturn));
  EXPECT_EQ(Bound(editor, "Jump"), "Space");
  EXPECT_EQ(Bound(editor, "Fire gun"), "D");
}

TEST_F(ControlsEditorTest, FixedActionsAndTheirKeysStayPut) {
  InputControlsEditor editor = MakeEditor();
  Select(editor, "Pause game");
  editor.Handle(Key(platform::keys::kReturn));
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_NE(editor.GetMessage().find("cannot be changed"), std::string::npos);

  Select(editor, "Stride");
  editor.Handle(Key(platform::keys::kReturn));
  editor.Handle(Key(platform::keys::kF1));
  EXPECT_TRUE(editor.IsWaiting()) << "F1 belongs to Controls Information";
  EXPECT_EQ(Bound(editor, "Controls Information"), "F1");
  editor.Handle(Key(platform::keys::kEscape));
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_EQ(Bound(editor, "Stride"), "A") << "Esc keeps the old key";
  EXPECT_EQ(editor.GetResult(), InputControlsEditor::Result::Open);
}

TEST_F(ControlsEditorTest, SticksBindByPushDirection) {
  InputControlsEditor editor = MakeEditor();
  editor.Handle(Key(platform::keys::kRight));
  Select(editor, "Aim up or down");
  editor.Handle(Key(platform::keys::kReturn));
  editor.Handle(PadButton(platform::pad::kY));  // a button cannot give a stick action
  ASSERT_TRUE(editor.IsWaiting());
  editor.Handle(PadAxis(3, -30000));  // right stick pushed up
  ASSERT_FALSE(editor.IsWaiting());
  const auto& map = editor.GetDevices()[1].map;
  EXPECT_EQ(*platform::FindAction(map, VERTICAL_AXIS),
            (Binding{{ControlKind::Axis, 3}, VERTICAL_AXIS, true}));

  Select(editor, "Move left/right");
  editor.Handle(PadButton(platform::pad::kA));
  editor.Handle(PadAxis(2, 30000));  // right stick pushed right
  EXPECT_EQ(*platform::FindAction(editor.GetDevices()[1].map, LATERAL_AXIS),
            (Binding{{ControlKind::Axis, 2}, LATERAL_AXIS, false}));
}

class ControlsDialogTest : public inputtest::InputFixture {
 protected:
  std::filesystem::path MapFile() const { return config / "vantrel" / "Vantrel button maps"; }
};

TEST_F(ControlsDialogTest, RebindIsSavedAndLoadedAtTheNextStart) {
  Start();
  InputControlsDialog dialog(*input->GetInputSystem(), input->GetActionFormat(), Devices(), {});
  EXPECT_EQ(dialog.Run(nullptr), InputControlsEditor::Result::Cancelled) << "headless";
  InputControlsEditor& editor = dialog.GetEditor();
  Select(editor, "Jump");
  editor.Handle(Key(platform::keys::kReturn));
  editor.Handle(Key(SDL_SCANCODE_K));
  Select(editor, "Save and close");
  editor.Handle(Key(platform::keys::kReturn));
  ASSERT_EQ(editor.GetResult(), InputControlsEditor::Result::Saved);
  ASSERT_TRUE(dialog.Save());
  ASSERT_TRUE(std::filesystem::exists(MapFile()));

  Start();
  inputtest::TapKey(SDL_SCANCODE_SPACE);
  input->Update();
  EXPECT_FALSE(input->IsPressed(JUMP));
  inputtest::PushKey(SDL_SCANCODE_K, true);
  input->Update();
  EXPECT_TRUE(input->IsPressed(JUMP));
}

TEST_F(ControlsDialogTest, DamagedSavedMapIsReportedAndDefaultsApply) {
  std::filesystem::create_directories(MapFile().parent_path());
  std::ofstream(MapFile()) << "Vantrel button maps\n{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}\n"
                              "device keyboard\nkey 14 0x";
  testing::internal::CaptureStderr();
  Start();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find(MapFile().string()), std::string::npos) << message;
  inputtest::PushKey(SDL_SCANCODE_SPACE, true);
  input->Update();
  EXPECT_TRUE(input->IsHeld(JUMP));
}

TEST_F(ControlsDialogTest, DrawsEveryRowWithItsKeyOverTheAreaColour) {
  Start();
  InputControlsDialog dialog(*input->GetInputSystem(), input->GetActionFormat(), Devices(), {});
  D3DInterface::Create(nullptr, 800, 600, false);
  dialog.Draw();
  const auto& quads = D3DInterface::GetEngine()->GetQuadQueue();
  ASSERT_FALSE(quads.empty());
  EXPECT_EQ(quads[0].vertices[0].color, 0xFF000000u);
  std::vector<std::string> texts;
  for (const QueuedText& text : D3DInterface::GetTextQueue()) texts.push_back(text.text);
  D3DInterface::Render(nullptr);
  D3DInterface::Destroy();
  if (texts.empty()) GTEST_SKIP() << "no fonts on this machine";
  for (const char* text : {"Controls", "Swing sword", "Space", "Save and close"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
  }
}

}  // namespace
