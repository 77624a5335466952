#include "game/input/Input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/input/InputControlsDialog.h"
#include "platform/Assert.h"
#include "platform/InputDevices.h"
#include "platform/WriteAll.h"

namespace {

// The fixed actions are cleared before each device's events, so their press and
// their release each read as a press.
constexpr ActionBits kFixedActions = CONTROLS_INFORMATION | PAUSE_GAME | DISPLAY_MENU;
// The one action live keys keep while a recording plays.
constexpr ActionBits kLiveDuringPlayback = DEBUG_9;
constexpr std::uint32_t kEndMark = 0xFFFFFFFF;
constexpr int kRecordsPerRead = 10;
// A button record's value has this bit set for a press, clear for a release.
constexpr std::uint32_t kPressedValue = 0x80;

void PutLittleEndian(unsigned char* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const unsigned char* in) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

platform::ActionFormat Input::MakeActionFormat() {
  using platform::kActionFixed;
  platform::ActionFormat format;
  format.guid = "{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}";
  format.genre = 0x22000000;
  format.bufferSize = 32;
  format.axisMin = 0;
  format.axisMax = 99;
  format.mapName = "Vantrel button maps";
  auto key = [](std::uint32_t scanCode) { return platform::kKeyboardSemanticBase + scanCode; };
  format.actions = {
      {LATERAL_AXIS, 0x22008201, 0, "Move left/right"},
      {VERTICAL_AXIS, 0x22010202, 0, "Aim up or down"},
      {FIRE_GUN, 0x22000403, 0, "Fire gun"},
      {SWING_SWORD, 0x22000402, 0, "Swing sword"},
      {JUMP, 0x22000401, 0, "Jump"},
      {STRIDE, 0x22000404, 0, "Stride"},
      {AIM_UP, 0x2207C4E0, 0, "Aim Up"},
      {AIM_DOWN, 0x2207C4E8, 0, "Aim Down"},
      {PAUSE_GAME, 0x220044FC, kActionFixed, "Pause game"},
      {DISPLAY_MENU, 0x220004FD, kActionFixed, "Display menu"},
      {UP_OPTIONS_SELECTION, key(0xC8), 0, "Up Options Selection"},
      {DOWN_OPTIONS_SELECTION, key(0xD0), 0, "Down Options Selection"},
      {MOVE_LEFT, key(0xCB), 0, "Move left"},
      {MOVE_RIGHT, key(0xCD), 0, "Move right"},
      {FIRE_GUN, key(0x20), 0, "Fire gun"},
      {SWING_SWORD, key(0x1F), 0, "Swing sword"},
      {JUMP, key(0x39), 0, "Jump"},
      {STRIDE, key(0x1E), 0, "Stride"},
      {AIM_UP, key(0x10), 0, "Aim Up"},
      {AIM_DOWN, key(0x2C), 0, "Aim Down"},
      {ENTER_MENU_SELECTION, key(0x1C), 0, "Enter Menu Selection"},
      {CONTROLS_INFORMATION, key(0x3B), kActionFixed, "Controls Information"},
      {PAUSE_GAME, key(0xC5), kActionFixed, "Pause game"},
      {DISPLAY_MENU, key(0x01), kActionFixed, "Display menu"},
  };
  const char* const debugNames[] = {"Debug 1", "Debug 2", "Debug 3", "Debug 4", "Debug 5",
                                    "Debug 6", "Debug 7", "Debug 8", "Debug 9", "Debug 0"};
  for (std::uint32_t i = 0; i < 10; ++i) {
    format.actions.push_back({DEBUG_1 << i, key(0x02 + i), kActionFixed, debugNames[i]});
  }
  return format;
}

std::string Input::DisplayName(const std::string& name) {
  // Counted in UTF-8 characters: a cut between bytes would leave half a character.
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80;
    if (!continuation && characters++ == MAX_DEVICE_NAME) return name.substr(0, i) + "...";
  }
  return name;
}

Input::Input(platform::Window* window) : m_window(window) {
  VT_ASSERT(!spMe);
  spMe = this;
  m_initialised = true;
  m_enabled = true;
  m_deviceCount = 0;
  m_held = m_pressed = 0;
  StopPlayback();
  StopRecording();

  std::string error;
  m_inputSystem = platform::InputSystem::Create(&error);
  if (!m_inputSystem) {
    std::fprintf(stderr, "No keyboard or controller input: %s\n", error.c_str());
    m_initialised = false;
  }
  if (m_initialised) {
    m_actionFormat = MakeActionFormat();
    if (!EnumerateDevices()) m_initialised = false;
  }
}

Input::~Input() {
  // A recording cut short by shutdown still gets its end record.
  StopRecording();
  StopPlayback();
  ReleaseDevices();
  m_inputSystem.reset();
  spMe = nullptr;
}

bool Input::EnumerateDevices() {
  m_deviceCount = 0;
  return m_inputSystem->EnumDevicesBySemantics(
      m_actionFormat,
      [this](const std::shared_ptr<platform::InputDevice>& device) { return OnDevice(device); });
}

bool Input::OnDevice(const std::shared_ptr<platform::InputDevice>& device) {
  const std::uint32_t type = device->GetType() & 0xFF;
  if (type == 0x13 || type == 0x14 || type == 0x15) {
    if (!device->BuildActionMap(m_actionFormat)) return true;
    if (!device->SetActionMap(m_actionFormat)) return true;
    m_devices[m_deviceCount] = {device, DisplayName(device->GetInstanceName())};
    ++m_deviceCount;
  }
  return m_deviceCount < MAX_DEVICES;
}

void Input::ReleaseDevices() {
  for (int i = 0; i < m_deviceCount; ++i) {
    m_devices[i].device->Unacquire();
    m_devices[i] = {};
  }
  m_deviceCount = 0;
}

ActionBits Input::ControlsHeld() const {
  ActionBits held = 0;
  for (int i = 0; i < m_deviceCount; ++i)
    held |= m_devices[i].buttons | m_devices[i].lateral | m_devices[i].vertical;
  return held;
}

void Input::Update() {
  if (!m_enabled) return;
  // The recording's last change showed for one frame; the live devices take over.
  if (m_playbackFinished) StopPlayback();
  const ActionBits heldBefore = m_held;
  m_pressed = 0;
  ++m_nFramesSinceChange;

  // The fixed actions flip on every event and are cleared before each device's events.
  ActionBits fixedHeld = 0;
  ActionBits pressed = 0;
  const int range = m_actionFormat.axisMax - m_actionFormat.axisMin;
  const int half = range / 2;
  const int quarter = half / 2;
  const int low = m_actionFormat.axisMin + half - quarter;
  const int high = m_actionFormat.axisMin + half + quarter;

  for (int i = 0; i < m_deviceCount; ++i) {
    DeviceEntry& entry = m_devices[i];
    platform::InputDevice& device = *entry.device;
    fixedHeld = 0;
    device.Acquire();
    device.Poll();
    platform::DeviceRecord records[kRecordsPerRead];
    int count = kRecordsPerRead;
    if (!device.GetDeviceData(records, count)) continue;
    for (int k = 0; k < count; ++k) {
      const std::uint32_t data = records[k].data;
      const int value = static_cast<int>(records[k].value);
      const ActionBits before = ControlsHeld();
      if (data == LATERAL_AXIS || data == VERTICAL_AXIS) {
        const ActionBits lowBit = data == LATERAL_AXIS ? MOVE_LEFT : DOWN_OPTIONS_SELECTION;
        const ActionBits highBit = data == LATERAL_AXIS ? MOVE_RIGHT : UP_OPTIONS_SELECTION;
        ActionBits& side = data == LATERAL_AXIS ? entry.lateral : entry.vertical;
        // A stick swung straight across lets go of the other side, and a stick
        // already past the threshold does not press again as it moves further.
        if (value < low || value > high) {
          side = value < low ? lowBit : highBit;
          pressed |= side & ~before;
        } else {
          // Back in the middle within the frame is no press, unless another
          // control still holds that side.
          side = 0;
          pressed &= ~((lowBit | highBit) & ~ControlsHeld());
        }
      } else if (data != 0) {
        const ActionBits fixed = data & kFixedActions;
        fixedHeld ^= fixed;
        if (fixed && (fixedHeld & fixed) == fixed) pressed |= fixed;
        const ActionBits button = data & ~kFixedActions;
        if (records[k].value & kPressedValue) {
          entry.buttons |= button;
          pressed |= button & ~before;
        } else {
          entry.buttons &= ~button;
        }
      }
    }
  }
  const ActionBits held = ControlsHeld() | fixedHeld;

  if (!m_playingBack) {
    m_held = held;
    m_pressed = pressed;
  } else {
    PlaybackStep();
    m_held = (m_held & ~kLiveDuringPlayback) | (held & kLiveDuringPlayback);
    m_pressed = (m_pressed & ~kLiveDuringPlayback) | (pressed & kLiveDuringPlayback);
  }

  if (m_recording && m_held != heldBefore) {
    if (!WriteRecord(m_nFramesSinceChange, m_held)) StopRecording();
    m_nFramesSinceChange = 0;
  }
}

void Input::PlaybackStep() {
  if (m_nPlaybackCountdown != 0) --m_nPlaybackCountdown;
  if (m_nPlaybackCountdown != 0) return;

  unsigned char record[8];
  m_playbackFile.read(reinterpret_cast<char*>(record), sizeof record);
  const bool complete = m_playbackFile.gcount() == static_cast<std::streamsize>(sizeof record);
  const std::uint32_t frames = GetLittleEndian(record);
  const std::uint32_t mask = GetLittleEndian(record + 4);
  // The previous record's mask is due now, the last one before the end included.
  m_pressed = m_pendingMask & ~m_held;
  m_held = m_pendingMask;
  if (complete && frames == kEndMark && mask == kEndMark) {
    m_playbackFinished = true;
    return;
  }
  if (complete && m_playbackFile.good()) {
    m_pendingMask = mask;
    m_nPlaybackCountdown = frames;
  } else {
    std::fprintf(stderr,
                 "Input playback \"%s\": the file ends without its end record; "
                 "playback stopped.\n",
                 m_playbackName.c_str());
    StopPlayback();
  }
}

bool Input::WriteRecord(std::uint32_t frames, std::uint32_t mask) {
  unsigned char record[8];
  PutLittleEndian(record, frames);
  PutLittleEndian(record + 4, mask);
  // Records are rare: each goes to the file at once, so a failed write shows at once.
  if (platform::WriteAll(m_recordingFile, record, sizeof record)) return true;
  const bool end = frames == kEndMark && mask == kEndMark;
  ReportRecordingFailure(end ? "the end record was not written" : "a record was not written",
                         errno);
  m_recordingFailed = true;
  return false;
}

void Input::ReportRecordingFailure(const char* what, int error) const {
  std::fprintf(stderr, "Input recording \"%s\": %s (%s); recording stopped.\n",
               m_recordingName.c_str(), what, std::strerror(error));
}

void Input::ConfigureDevices() {
  if (!m_inputSystem) return;
  std::vector<std::shared_ptr<platform::InputDevice>> shown;
  for (int i = 0; i < m_deviceCount; ++i) {
    m_devices[i].device->Unacquire();
    shown.push_back(m_devices[i].device);
  }
  ReleaseDevices();
  InputControlsDialog dialog(*m_inputSystem, m_actionFormat, shown, m_configureColors);
  dialog.Run(m_window);
  shown.clear();
  // Every control starts released on the new devices (their releases are not
  // reported), so nothing held before the screen may stay held.
  m_held = m_pressed = 0;
  if (!EnumerateDevices()) m_initialised = false;
}

void Input::ForgetControls(ActionBits keep) {
  for (int i = 0; i < m_deviceCount; ++i) {
    m_devices[i].buttons &= keep;
    m_devices[i].lateral &= keep;
    m_devices[i].vertical &= keep;
  }
}

void Input::Disable() {
  for (int i = 0; i < m_deviceCount; ++i) m_devices[i].device->Unacquire();
  // Controls let go while disabled report nothing, so none may stay held.
  ForgetControls(0);
  m_enabled = false;
  m_held = m_pressed = 0;
}

bool Input::StartRecording(const std::string& file, std::string* error) {
  StopRecording();
  m_recordingFile = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (m_recordingFile < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  m_recordingFailed = false;
  m_recordingName = file;
  m_recording = true;
  return true;
}

void Input::StopRecording() {
  if (m_recordingFile >= 0) {
    // Playback holds a mask only until the next record is due, and the end record is due
    // at once: keys still down say how long they stayed down, or the replay lets go of
    // them a frame after their last change. Keys that changed on the last frame recorded
    // show for that one frame already.
    if (!m_recordingFailed && m_held != 0 && m_nFramesSinceChange != 0)
      WriteRecord(m_nFramesSinceChange, m_held);
    if (!m_recordingFailed) WriteRecord(kEndMark, kEndMark);
    // A file system may report a failed write only when the file is closed.
    if (::close(m_recordingFile) != 0 && !m_recordingFailed) {
      ReportRecordingFailure("closing the file failed", errno);
    }
    m_recordingFile = -1;
  }
  m_nFramesSinceChange = 0;
  m_recording = false;
}

bool Input::StartPlayback(const std::string& file) {
  StopPlayback();
  m_playbackFile.open(file, std::ios::binary | std::ios::in);
  if (!m_playbackFile.is_open()) {
    m_playbackFile.clear();
    return false;
  }
  m_playbackName = file;
  m_playingBack = true;
  return true;
}

void Input::StopPlayback() {
  if (m_playbackFile.is_open()) {
    // Live controls count again only from their next press, as after a focus change.
    ForgetControls(kLiveDuringPlayback);
    m_held &= kLiveDuringPlayback;
    m_pressed &= kLiveDuringPlayback;
    m_playbackFile.close();
  }
  m_playbackFile.clear();
  m_nPlaybackCountdown = 0;
  m_pendingMask = 0;
  m_playingBack = false;
  m_playbackFinished = false;
}
