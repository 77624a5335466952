// The controls screen: rebinding keys and sticks, refusing what may not change,
// and a saved map coming back at the next start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/input/Input.h"
#include "game/input/InputControlsDialog.h"
#include "game/input/InputControlsEditor.h"
#include "game/input/InputTestEvents.h"
#include "game/sound/AudioFake.h"
#include "game/sound/SoundEngine.h"
#include "platform/FileSave.h"
#include "platform/Window.h"

namespace {

using inputtest::Masks;
using platform::Binding;
using platform::ControlEvent;
using platform::ControlKind;
using platform::DeviceKind;
using Row = InputControlsEditor::Row;

ControlEvent Key(int scancode, bool down = true) {
  return {DeviceKind::Keyboard, -1, {ControlKind::Key, scancode}, down, 0};
}

class ControlsDialogTest : public inputtest::InputFixture {
 protected:
  // The dialog over the reader's devices, and its editor.
  InputControlsEditor& Open() {
    std::vector<std::shared_ptr<platform::InputDevice>> devices;
    for (int i = 0; i < input->GetDeviceCount(); ++i) devices.push_back(input->GetDevice(i));
    dialog = std::make_unique<InputControlsDialog>(
        *input->GetInputSystem(), input->GetActionFormat(), devices, InputDialogColors{});
    EXPECT_EQ(dialog->Run(nullptr), InputControlsEditor::Result::Cancelled) << "headless";
    return dialog->GetEditor();
  }
  int RowOf(const std::string& name) {
    const auto& rows = dialog->GetEditor().GetRows();
    auto it =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.name == name; });
    EXPECT_NE(it, rows.end()) << name;
    return static_cast<int>(it - rows.begin());
  }
  // Moves down to the row and picks it.
  void Choose(const std::string& name) {
    const int target = RowOf(name);
    while (dialog->GetEditor().GetSelection() != target) Handle(Key(platform::keys::kDown));
    Handle(Key(platform::keys::kReturn));
  }
  void Handle(const ControlEvent& event) { dialog->GetEditor().Handle(event); }
  std::string Bound(const std::string& name) {
    return dialog->GetEditor().BindingName(dialog->GetEditor().GetRows()[RowOf(name)]);
  }

  std::unique_ptr<InputControlsDialog> dialog;
};

TEST_F(ControlsDialogTest, KeyRebindsAreCheckedThenSavedAndLoadedAtTheNextStart) {
  Start();
  InputControlsEditor& editor = Open();
  Choose("Pause game");
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_NE(editor.GetMessage().find("cannot be changed"), std::string::npos);
  Choose("Jump");
  Handle(Key(platform::keys::kReturn, false));  // letting go of Return binds nothing
  Handle({DeviceKind::Gamepad,
          7,
          {ControlKind::Button, platform::pad::kX},
          true,
          0});                       // no such device
  Handle(Key(platform::keys::kF1));  // kept for "Controls Information"
  ASSERT_TRUE(editor.IsWaiting());
  Handle(Key(SDL_SCANCODE_D));  // "Fire gun"'s key
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_EQ(Bound("Jump"), "D");
  EXPECT_EQ(Bound("Fire gun"), "");
  EXPECT_EQ(Bound("Controls Information"), "F1");
  EXPECT_NE(editor.GetMessage().find("Fire gun"), std::string::npos) << editor.GetMessage();
  EXPECT_FALSE(platform::CheckActionMap(input->GetActionFormat(), DeviceKind::Keyboard,
                                        editor.GetDevices()[0].map));
  Choose("Stride");
  Handle(Key(platform::keys::kEscape));
  EXPECT_FALSE(editor.IsWaiting());
  EXPECT_EQ(Bound("Stride"), "A") << "Esc keeps the old key";
  EXPECT_EQ(editor.GetResult(), InputControlsEditor::Result::Open);
  Choose("Restore defaults");
  EXPECT_EQ(Bound("Jump"), "Space");
  EXPECT_EQ(Bound("Fire gun"), "D");

  Choose("Jump");
  Handle(Key(SDL_SCANCODE_K));
  Choose("Save and close");
  ASSERT_EQ(editor.GetResult(), InputControlsEditor::Result::Saved);
  ASSERT_TRUE(dialog->Save());
  const std::filesystem::path file = config / "vantrel" / "Vantrel button maps";
  ASSERT_TRUE(std::filesystem::exists(file));
  Start();
  inputtest::TapKey(SDL_SCANCODE_SPACE);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  inputtest::PushKey(SDL_SCANCODE_K, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP}));

  std::ofstream(file) << "Vantrel button maps\n{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}\n"
                         "device keyboard\nkey 14 0x";
  testing::internal::CaptureStderr();
  Start();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  inputtest::PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP})) << "a damaged map is ignored";
}

// A save that fails keeps the screen open and says why on its message line; saving
// again once the folder is right closes it.
TEST_F(ControlsDialogTest, AFailedSaveKeepsTheScreenOpenAndSaysWhy) {
  const std::filesystem::path notAFolder = config / "not-a-folder";
  std::ofstream(notAFolder) << "x";
  setenv("XDG_CONFIG_HOME", notAFolder.c_str(), 1);
  testing::internal::CaptureStderr();
  Start();
  InputControlsEditor& editor = Open();
  Choose("Jump");
  Handle(Key(SDL_SCANCODE_K));
  Choose("Save and close");
  ASSERT_EQ(editor.GetResult(), InputControlsEditor::Result::Saved);
  EXPECT_FALSE(dialog->Save());
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(editor.GetResult(), InputControlsEditor::Result::Open);
  EXPECT_NE(editor.GetMessage().find("not saved"), std::string::npos) << editor.GetMessage();
  EXPECT_NE(editor.GetMessage().find("Not a directory"), std::string::npos) << editor.GetMessage();

  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  Choose("Save and close");
  EXPECT_TRUE(dialog->Save());
  EXPECT_EQ(editor.GetResult(), InputControlsEditor::Result::Saved);
  EXPECT_TRUE(std::filesystem::exists(config / "vantrel" / "Vantrel button maps"));
}

// While another game saves its controls, "Save and close" tries once a frame: the
// screen goes on and a quit closes it at once; after the bounded wait it stays open
// and says why.
TEST_F(ControlsDialogTest, ASaveFindingAnotherGameSavingTriesEachFrameAndAQuitEndsIt) {
  ::alarm(60);  // a save that waited on the lock would wait here for ever
  const std::filesystem::path folder = config / "vantrel";
  std::filesystem::create_directories(folder);
  const int other = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  Start();
  InputControlsEditor& editor = Open();
  Choose("Save and close");
  int tries = 1;
  testing::internal::CaptureStderr();
  while (!dialog->Save() && dialog->IsWaitingToSave()) ++tries;
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(tries, platform::kSaveLockFrames);
  EXPECT_EQ(editor.GetResult(), InputControlsEditor::Result::Open);
  EXPECT_NE(editor.GetMessage().find("another game is saving"), std::string::npos)
      << editor.GetMessage();
  EXPECT_FALSE(std::filesystem::exists(folder / "Vantrel button maps"));

  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  const auto window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  ASSERT_TRUE(window) << error;
  D3DInterface::Create(window.get(), 800, 600, true);
  Choose("Save and close");
  const SDL_TimerID quit = SDL_AddTimer(
      100,
      [](Uint32, void*) -> Uint32 {
        SDL_Event event{};
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
        return 0;
      },
      nullptr);
  EXPECT_EQ(dialog->Show(window.get()), InputControlsEditor::Result::Cancelled);
  SDL_RemoveTimer(quit);
  D3DInterface::Destroy();
  ::close(other);
  ::alarm(0);
}

TEST_F(ControlsDialogTest, SticksBindByPushDirectionAndNeverToAButton) {
  inputtest::VirtualPad pad;
  ASSERT_TRUE(pad.ok());
  Start();
  InputControlsEditor& editor = Open();
  const auto stick = [&](int axis, int raw) -> ControlEvent {
    return {DeviceKind::Gamepad, pad.instance(), {ControlKind::Axis, axis}, false, raw};
  };
  Handle(Key(platform::keys::kRight));  // the gamepad's page
  Choose("Aim up or down");
  Handle({DeviceKind::Gamepad, pad.instance(), {ControlKind::Button, platform::pad::kY}, true, 0});
  ASSERT_TRUE(editor.IsWaiting());
  Handle(stick(3, -30000));  // right stick pushed up
  Choose("Move left/right");
  Handle(stick(2, 30000));  // right stick pushed right
  const platform::ActionMap& map = editor.GetDevices()[1].map;
  EXPECT_EQ(*platform::FindAction(map, VERTICAL_AXIS),
            (Binding{{ControlKind::Axis, 3}, VERTICAL_AXIS, true}));
  EXPECT_EQ(*platform::FindAction(map, LATERAL_AXIS),
            (Binding{{ControlKind::Axis, 2}, LATERAL_AXIS, false}));
}

// The frame loop stands still behind the screen, so the screen itself keeps
// the music going: a track that ends is followed, and fades go on stepping.
TEST_F(ControlsDialogTest, MusicGoesOnWhileTheScreenIsOpen) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  const auto window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  ASSERT_TRUE(window) << error;
  D3DInterface::Create(window.get(), 800, 600, true);
  AudioFake audio;
  platform::SetAudioDevice(&audio);
  {
    SoundEngine sound;
    ASSERT_TRUE(sound.Init(AudioFake::AnyWindow()));
    sound.SetLoadingPlaylist(true);
    for (const char* file : {"a.ogg", "b.ogg", "amb.ogg"}) audio.AddFile(file);
    ASSERT_TRUE(sound.Load("a.ogg", "loop"));
    ASSERT_TRUE(sound.Load("b.ogg", "loop"));
    ASSERT_TRUE(sound.PlayMusic());
    sound.PlayAmbient("amb.ogg");
    sound.FadeInAmbient();
    audio.EndStream("a.ogg");

    Start();
    Open();
    int frames = 0;  // the screen closes in its third frame
    audio.onDispatch = [&frames] {
      if (++frames == 3) inputtest::PushKey(platform::keys::kEscape, true);
    };
    // Should the music stall after all, a quit closes the screen rather than the test hanging.
    const SDL_TimerID fallback = SDL_AddTimer(
        10000,
        [](Uint32, void*) -> Uint32 {
          SDL_Event quit{};
          quit.type = SDL_QUIT;
          SDL_PushEvent(&quit);
          return 0;
        },
        nullptr);
    EXPECT_EQ(dialog->Show(window.get()), InputControlsEditor::Result::Cancelled);
    SDL_RemoveTimer(fallback);
    audio.onDispatch = nullptr;
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(audio.PlayingStreams(), (std::vector<std::string>{"b.ogg", "amb.ogg"}));
    EXPECT_EQ(audio.StreamVolume("amb.ogg"), 3);
  }
  platform::SetAudioDevice(nullptr);
  D3DInterface::Destroy();
}

}  // namespace
