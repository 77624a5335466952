// The input room holds the input reader and the controls screen with its editor.
//
// The game's input reader: keyboard and controllers turned into two masks of game
// actions, the actions held now and those that went down this frame, with input
// recording and playback files for tests and demos.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/ActionMap.h"

namespace platform {
class InputDevice;
class InputSystem;
class Window;
}  // namespace platform

// One bit per game action, the same in the held and the pressed mask.
using ActionBits = std::uint32_t;

inline constexpr ActionBits MOVE_LEFT = 0x1;
inline constexpr ActionBits MOVE_RIGHT = 0x2;
inline constexpr ActionBits FIRE_GUN = 0x4;
inline constexpr ActionBits SWING_SWORD = 0x8;
inline constexpr ActionBits JUMP = 0x10;
inline constexpr ActionBits STRIDE = 0x20;
inline constexpr ActionBits AIM_UP = 0x40;
inline constexpr ActionBits AIM_DOWN = 0x80;
inline constexpr ActionBits CONTROLS_INFORMATION = 0x100;
inline constexpr ActionBits PAUSE_GAME = 0x200;
inline constexpr ActionBits DISPLAY_MENU = 0x400;
inline constexpr ActionBits UP_OPTIONS_SELECTION = 0x800;
inline constexpr ActionBits DOWN_OPTIONS_SELECTION = 0x1000;
inline constexpr ActionBits ENTER_MENU_SELECTION = 0x2000;
inline constexpr ActionBits DEBUG_1 = 0x4000;
inline constexpr ActionBits DEBUG_2 = 0x8000;
inline constexpr ActionBits DEBUG_3 = 0x10000;
inline constexpr ActionBits DEBUG_4 = 0x20000;
inline constexpr ActionBits DEBUG_5 = 0x40000;
inline constexpr ActionBits DEBUG_6 = 0x80000;
inline constexpr ActionBits DEBUG_7 = 0x100000;
inline constexpr ActionBits DEBUG_8 = 0x200000;
inline constexpr ActionBits DEBUG_9 = 0x400000;
inline constexpr ActionBits DEBUG_0 = 0x800000;

// The data reported by the two stick axes (all other actions report their bits).
inline constexpr std::uint32_t LATERAL_AXIS = 0x7F000001;
inline constexpr std::uint32_t VERTICAL_AXIS = 0x7F000002;

// The colours of the controls screen (ARGB).
struct InputDialogColors {
  std::uint32_t text = 0xFFFFFFFF;
  std::uint32_t highlightedText = 0xFF00FF00;
  std::uint32_t calloutLine = 0xFFFF0000;
  std::uint32_t highlightedCallout = 0xFF0000FF;
  std::uint32_t border = 0xFF646464;
  std::uint32_t controlFill = 0xFF8C8C8C;
  std::uint32_t highlightFill = 0x00000000;
  std::uint32_t areaFill = 0xFF000000;
};

class Input {
 public:
  static constexpr int MAX_DEVICES = 4;
  // Display names longer than this are cut and followed by "...".
  static constexpr std::size_t MAX_DEVICE_NAME = 35;

  // The reader for the game window; asserts that no other reader exists.
  explicit Input(platform::Window* window);
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  static Input* GetInstance() { return spMe; }

  // Once per frame: reads every device's buffered events into the masks (or the
  // playback file's), and writes a record when recording and the held mask changed.
  void Update();
  ActionBits IsHeld(ActionBits bits) const { return m_held & bits; }
  ActionBits IsPressed(ActionBits bits) const { return m_pressed & bits; }

  // Opens the controls screen (modal) and reads the devices again afterwards.
  void ConfigureDevices();
  void Disable();
  void Enable() { m_enabled = true; }

  // Records into `file` from now on; false, with the reason in `error` when given, when
  // it cannot be opened. A write or close that fails later is reported on stderr with
  // the file and the reason, and ends the recording.
  bool StartRecording(const std::string& file, std::string* error = nullptr);
  // Writes the end record and closes the file.
  void StopRecording();
  bool StartPlayback(const std::string& file);
  void StopPlayback();
  bool IsRecording() const { return m_recording; }
  bool IsPlayingBack() const { return m_playingBack; }

  bool IsInitialised() const { return m_initialised; }
  bool IsEnabled() const { return m_enabled; }
  int GetDeviceCount() const { return m_deviceCount; }
  const std::string& GetDeviceName(int index) const { return m_devices[index].name; }
  const std::shared_ptr<platform::InputDevice>& GetDevice(int index) const {
    return m_devices[index].device;
  }
  const platform::ActionFormat& GetActionFormat() const { return m_actionFormat; }
  platform::InputSystem* GetInputSystem() const { return m_inputSystem.get(); }

  // `name` as shown for a device: cut to MAX_DEVICE_NAME UTF-8 characters plus "...".
  static std::string DisplayName(const std::string& name);
  // The game's 34 actions with their semantics and keyboard defaults.
  static platform::ActionFormat MakeActionFormat();

 private:
  struct DeviceEntry {
    std::shared_ptr<platform::InputDevice> device;
    std::string name;
    // What this device's controls hold now: its buttons that are down (a device
    // binds each action to one control at most), and the side each stick axis is
    // pushed to. Press sets, release clears, so a release never holds anything.
    ActionBits buttons = 0;
    ActionBits lateral = 0;
    ActionBits vertical = 0;
  };

  bool EnumerateDevices();
  // True to go on enumerating.
  bool OnDevice(const std::shared_ptr<platform::InputDevice>& device);
  void ReleaseDevices();
  // The actions at least one control of any device holds (the fixed ones aside).
  ActionBits ControlsHeld() const;
  // Counts every control outside `keep` as up until its next press.
  void ForgetControls(ActionBits keep);
  void PlaybackStep();
  // False, reported with the file and the reason, when the record was not written.
  bool WriteRecord(std::uint32_t frames, std::uint32_t mask);
  void ReportRecordingFailure(const char* what, int error) const;

  inline static Input* spMe = nullptr;

  platform::Window* m_window = nullptr;
  std::unique_ptr<platform::InputSystem> m_inputSystem;
  platform::ActionFormat m_actionFormat;
  bool m_initialised = false;
  bool m_enabled = false;
  ActionBits m_held = 0;
  ActionBits m_pressed = 0;
  DeviceEntry m_devices[MAX_DEVICES];
  int m_deviceCount = 0;
  bool m_recording = false;
  bool m_playingBack = false;
  bool m_playbackFinished = false;  // the end record was read; playback stops next frame
  // Wide enough for any u32 frame count a file may hold.
  std::int64_t m_nPlaybackCountdown = 0;
  std::uint32_t m_nFramesSinceChange = 0;
  ActionBits m_pendingMask = 0;
  std::ifstream m_playbackFile;
  // Written straight to the file: each write's failure, and the close's, has its reason.
  int m_recordingFile = -1;
  bool m_recordingFailed = false;  // a write failed: nothing more is written
  std::string m_playbackName;
  std::string m_recordingName;
  InputDialogColors m_configureColors;
};
