#include "platform/InputDevices.h"

#include <SDL.h>

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

static_assert(keys::kReturn == SDL_SCANCODE_RETURN && keys::kEscape == SDL_SCANCODE_ESCAPE &&
              keys::kSpace == SDL_SCANCODE_SPACE && keys::kF1 == SDL_SCANCODE_F1 &&
              keys::kPause == SDL_SCANCODE_PAUSE && keys::kUp == SDL_SCANCODE_UP &&
              keys::kDown == SDL_SCANCODE_DOWN && keys::kLeft == SDL_SCANCODE_LEFT &&
              keys::kRight == SDL_SCANCODE_RIGHT && keys::kTab == SDL_SCANCODE_TAB &&
              keys::kBackspace == SDL_SCANCODE_BACKSPACE && keys::kA == SDL_SCANCODE_A);
static_assert(pad::kA == SDL_CONTROLLER_BUTTON_A && pad::kB == SDL_CONTROLLER_BUTTON_B &&
              pad::kX == SDL_CONTROLLER_BUTTON_X && pad::kY == SDL_CONTROLLER_BUTTON_Y &&
              pad::kBack == SDL_CONTROLLER_BUTTON_BACK &&
              pad::kStart == SDL_CONTROLLER_BUTTON_START &&
              pad::kLeftShoulder == SDL_CONTROLLER_BUTTON_LEFTSHOULDER &&
              pad::kRightShoulder == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER &&
              pad::kDpadUp == SDL_CONTROLLER_BUTTON_DPAD_UP &&
              pad::kDpadDown == SDL_CONTROLLER_BUTTON_DPAD_DOWN &&
              pad::kDpadLeft == SDL_CONTROLLER_BUTTON_DPAD_LEFT &&
              pad::kDpadRight == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              pad::kButtonCount == SDL_CONTROLLER_BUTTON_MAX &&
              pad::kLeftX == SDL_CONTROLLER_AXIS_LEFTX &&
              pad::kLeftY == SDL_CONTROLLER_AXIS_LEFTY &&
              pad::kAxisCount == SDL_CONTROLLER_AXIS_MAX);
static_assert(kMaxScancode + 1 == SDL_NUM_SCANCODES);

namespace {

// Heard events kept for the dialog; it reads them every few milliseconds.
constexpr std::size_t kMaxHeard = 256;
// An axis pushed past half way counts as deliberate for the dialog.
constexpr int kAxisHeardThreshold = 16384;

using PhysicalId = std::pair<DeviceKind, int>;  // kind and instance id

}  // namespace

struct InputDevice::State {
  bool acquired = false;
  std::deque<DeviceRecord> buffer;
  std::size_t bufferSize = 32;
  std::vector<Control> stale;  // held at Acquire: their release is not reported
  ActionMap map;
  int axisMin = 0;
  int axisMax = 99;
  std::map<int, int> lastAxis;          // axis index -> last scaled position
  std::vector<std::uint32_t> axisData;  // data values that are axis positions
};

// Shared between the system, its devices and the SDL event watch.
struct InputHub {
  std::mutex mutex;
  std::vector<InputDevice*> devices;
  std::bitset<kMaxScancode + 1> keysDown;
  std::map<PhysicalId, std::vector<Control>> controlsDown;
  std::map<std::pair<int, int>, Uint8> hats;              // (instance, hat) -> value
  std::map<std::pair<PhysicalId, int>, bool> axisPushed;  // for the dialog
  bool listening = false;
  bool quitRequested = false;
  std::deque<ControlEvent> heard;
  SavedMaps saved;
  bool savedLoaded = false;
  bool events = false;
  bool joysticks = false;

  ~InputHub() {
    // Quit exactly as initialised: SDL counts each subsystem's users.
    if (joysticks) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    if (events) SDL_QuitSubSystem(SDL_INIT_EVENTS);
  }

  void Hear(const ControlEvent& event) {
    if (listening && heard.size() < kMaxHeard) heard.push_back(event);
  }

  void TrackDown(const PhysicalId& id, const Control& control, bool down) {
    if (id.first == DeviceKind::Keyboard) {
      keysDown[static_cast<std::size_t>(control.index)] = down;
      return;
    }
    std::vector<Control>& held = controlsDown[id];
    auto it = std::find(held.begin(), held.end(), control);
    if (down && it == held.end()) held.push_back(control);
    if (!down && it != held.end()) held.erase(it);
  }

  std::vector<Control> HeldControls(const PhysicalId& id) const {
    if (id.first == DeviceKind::Keyboard) {
      std::vector<Control> held;
      for (int key = 0; key <= kMaxScancode; ++key) {
        if (keysDown[static_cast<std::size_t>(key)]) held.push_back({ControlKind::Key, key});
      }
      return held;
    }
    auto it = controlsDown.find(id);
    return it == controlsDown.end() ? std::vector<Control>{} : it->second;
  }

  // A press or release of a key, button or hat direction.
  void Switch(DeviceKind kind, int instance, const Control& control, bool down) {
    TrackDown({kind, instance}, control, down);
    Hear({kind, instance, control, down, 0});
    for (InputDevice* device : devices) {
      if (device->m_kind != kind || device->m_instance != instance) continue;
      InputDevice::State& state = *device->m_state;
      if (!state.acquired) continue;
      auto stale = std::find(state.stale.begin(), state.stale.end(), control);
      if (stale != state.stale.end()) {
        state.stale.erase(stale);
        if (!down) continue;
      }
      const Binding* binding = FindBinding(state.map, control);
      if (binding) Push(state, {binding->data, down ? 0x80u : 0u}, false);
    }
  }

  void Move(DeviceKind kind, int instance, int axis, int raw) {
    const Control control{ControlKind::Axis, axis};
    bool& pushed = axisPushed[{{kind, instance}, axis}];
    const bool far = raw >= kAxisHeardThreshold || raw <= -kAxisHeardThreshold;
    if (far && !pushed) Hear({kind, instance, control, false, raw});
    pushed = far;
    for (InputDevice* device : devices) {
      if (device->m_kind != kind || device->m_instance != instance) continue;
      InputDevice::State& state = *device->m_state;
      const Binding* binding = FindBinding(state.map, control);
      if (!binding) continue;
      const int value = ScaleAxis(raw, state.axisMin, state.axisMax, binding->inverted);
      auto last = state.lastAxis.find(axis);
      if (last != state.lastAxis.end() && last->second == value) continue;
      // Tracked while unacquired too, so a stale position never hides a real change.
      state.lastAxis[axis] = value;
      if (state.acquired) Push(state, {binding->data, static_cast<std::uint32_t>(value)}, true);
    }
  }

  static void Push(InputDevice::State& state, const DeviceRecord& record, bool axis) {
    if (axis) {
      // A stick sends a stream of positions: an unread position of the same axis
      // with only other positions after it is simply replaced.
      for (auto it = state.buffer.rbegin(); it != state.buffer.rend(); ++it) {
        const bool isAxis = std::find(state.axisData.begin(), state.axisData.end(), it->data) !=
                            state.axisData.end();
        if (!isAxis) break;
        if (it->data == record.data) {
          it->value = record.value;
          return;
        }
      }
    }
    // A full buffer keeps its oldest events, as buffered devices do.
    if (state.buffer.size() < state.bufferSize) state.buffer.push_back(record);
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        // Auto-repeat would toggle the action on every repeat.
        if (event.key.repeat) return;
        const int scancode = event.key.keysym.scancode;
        if (scancode < 0 || scancode > kMaxScancode) return;
        Switch(DeviceKind::Keyboard, -1, {ControlKind::Key, scancode}, event.type == SDL_KEYDOWN);
        return;
      }
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        Switch(DeviceKind::Gamepad, event.cbutton.which,
               {ControlKind::Button, event.cbutton.button}, event.type == SDL_CONTROLLERBUTTONDOWN);
        return;
      case SDL_CONTROLLERAXISMOTION:
        Move(DeviceKind::Gamepad, event.caxis.which, event.caxis.axis, event.caxis.value);
        return;
      case SDL_JOYBUTTONDOWN:
      case SDL_JOYBUTTONUP:
        Switch(DeviceKind::Joystick, event.jbutton.which,
               {ControlKind::Button, event.jbutton.button}, event.type == SDL_JOYBUTTONDOWN);
        return;
      case SDL_JOYAXISMOTION:
        Move(DeviceKind::Joystick, event.jaxis.which, event.jaxis.axis, event.jaxis.value);
        return;
      case SDL_JOYHATMOTION: {
        Uint8& previous = hats[{event.jhat.which, event.jhat.hat}];
        const Uint8 now = event.jhat.value;
        constexpr std::pair<Uint8, ControlKind> kDirections[] = {
            {SDL_HAT_UP, ControlKind::HatUp},
            {SDL_HAT_RIGHT, ControlKind::HatRight},
            {SDL_HAT_DOWN, ControlKind::HatDown},
            {SDL_HAT_LEFT, ControlKind::HatLeft}};
        const Uint8 before = previous;
        previous = now;
        for (const auto& [bit, kind] : kDirections) {
          if ((before & bit) != (now & bit)) {
            Switch(DeviceKind::Joystick, event.jhat.which, {kind, event.jhat.hat},
                   (now & bit) != 0);
          }
        }
        return;
      }
      case SDL_QUIT:
        if (listening) quitRequested = true;
        return;
      case SDL_WINDOWEVENT:
        if (listening && event.window.event == SDL_WINDOWEVENT_CLOSE) quitRequested = true;
        return;
      default:
        return;
    }
  }

  static int SDLCALL Watch(void* userdata, SDL_Event* event) {
    auto* hub = static_cast<InputHub*>(userdata);
    std::lock_guard<std::mutex> lock(hub->mutex);
    hub->Handle(*event);
    return 0;
  }
};

// ---------------------------------------------------------------------------
// InputDevice

InputDevice::InputDevice(std::shared_ptr<InputHub> hub, DeviceKind kind, int instance,
                         std::string name, std::string identity, void* handle)
    : m_hub(std::move(hub)),
      m_kind(kind),
      m_instance(instance),
      m_name(std::move(name)),
      m_identity(std::move(identity)),
      m_handle(handle),
      m_state(std::make_unique<State>()) {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  m_hub->devices.push_back(this);
}

InputDevice::~InputDevice() {
  {
    std::lock_guard<std::mutex> lock(m_hub->mutex);
    auto& devices = m_hub->devices;
    devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
  }
  if (m_kind == DeviceKind::Gamepad) {
    SDL_GameControllerClose(static_cast<SDL_GameController*>(m_handle));
  } else if (m_kind == DeviceKind::Joystick) {
    SDL_JoystickClose(static_cast<SDL_Joystick*>(m_handle));
  }
}

bool InputDevice::BuildActionMap(const ActionFormat& format) {
  int buttons = 0, axes = 0, hats = 0;
  if (m_kind == DeviceKind::Joystick) {
    auto* joystick = static_cast<SDL_Joystick*>(m_handle);
    buttons = std::max(0, SDL_JoystickNumButtons(joystick));
    axes = std::max(0, SDL_JoystickNumAxes(joystick));
    hats = std::max(0, SDL_JoystickNumHats(joystick));
  }
  m_defaults = DefaultActionMap(format, m_kind, buttons, axes, hats);
  m_built = m_defaults;
  if (const SavedDeviceMap* saved = FindSavedMap(m_hub->saved, m_identity)) {
    ActionMap overlaid = OverlaySavedMap(format, m_defaults, saved->map);
    std::optional<std::string> problem = CheckActionMap(format, m_kind, overlaid);
    if (!problem && m_kind == DeviceKind::Joystick) {
      for (const Binding& binding : overlaid) {
        const int count = binding.control.kind == ControlKind::Button ? buttons
                          : binding.control.IsAxis()                  ? axes
                                                                      : hats;
        if (binding.control.index >= count) problem = "a control this joystick does not have";
      }
    }
    if (problem) {
      std::fprintf(stderr, "Saved controls for \"%s\" ignored: %s; using the defaults.\n",
                   m_name.c_str(), problem->c_str());
    } else {
      m_built = std::move(overlaid);
    }
  }
  m_isBuilt = true;
  return true;
}

bool InputDevice::SetActionMap(const ActionFormat& format) {
  if (!m_isBuilt) return false;
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  State& state = *m_state;
  state.map = m_built;
  state.axisMin = format.axisMin;
  state.axisMax = format.axisMax;
  state.bufferSize = static_cast<std::size_t>(std::clamp(format.bufferSize, 1, 1024));
  state.lastAxis.clear();
  state.axisData.clear();
  for (const Binding& binding : state.map) {
    if (binding.control.IsAxis()) state.axisData.push_back(binding.data);
  }
  return true;
}

ActionMap InputDevice::GetActionMap() const {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  return m_state->map;
}

bool InputDevice::Acquire() {
  if (m_kind == DeviceKind::Gamepad &&
      !SDL_GameControllerGetAttached(static_cast<SDL_GameController*>(m_handle))) {
    return false;
  }
  if (m_kind == DeviceKind::Joystick &&
      !SDL_JoystickGetAttached(static_cast<SDL_Joystick*>(m_handle))) {
    return false;
  }
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  State& state = *m_state;
  if (!state.acquired) {
    state.acquired = true;
    state.buffer.clear();
    state.stale = m_hub->HeldControls({m_kind, m_instance});
  }
  return true;
}

void InputDevice::Unacquire() {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  m_state->acquired = false;
  m_state->buffer.clear();
  m_state->stale.clear();
}

bool InputDevice::IsAcquired() const {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  return m_state->acquired;
}

bool InputDevice::Poll() {
  SDL_PumpEvents();
  if (m_kind == DeviceKind::Gamepad) {
    return SDL_GameControllerGetAttached(static_cast<SDL_GameController*>(m_handle));
  }
  if (m_kind == DeviceKind::Joystick) {
    return SDL_JoystickGetAttached(static_cast<SDL_Joystick*>(m_handle));
  }
  return true;
}

bool InputDevice::GetDeviceData(DeviceRecord* records, int& count) {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  State& state = *m_state;
  if (!state.acquired || count < 0) {
    count = 0;
    return false;
  }
  int taken = 0;
  while (taken < count && !state.buffer.empty()) {
    records[taken++] = state.buffer.front();
    state.buffer.pop_front();
  }
  count = taken;
  return true;
}

// ---------------------------------------------------------------------------
// InputSystem

std::unique_ptr<InputSystem> InputSystem::Create(std::string* error) {
  // Focus loss disables the reader anyway; this keeps headless runs (no focused
  // window) hearing their controllers.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  auto hub = std::make_shared<InputHub>();
  if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
    if (error) *error = std::string("SDL events cannot start: ") + SDL_GetError();
    return nullptr;
  }
  hub->events = true;
  hub->joysticks = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
  std::unique_ptr<InputSystem> system(new InputSystem());
  system->m_hub = std::move(hub);
  SDL_AddEventWatch(&InputHub::Watch, system->m_hub.get());
  return system;
}

InputSystem::~InputSystem() {
  SDL_DelEventWatch(&InputHub::Watch, m_hub.get());
}

bool InputSystem::EnumDevicesBySemantics(const ActionFormat& format,
                                         const DeviceCallback& callback) {
  if (!m_hub->savedLoaded) {
    m_hub->savedLoaded = true;
    std::string error;
    if (!LoadSavedMaps(SavedMapsPath(format.mapName), format, m_hub->saved, error)) {
      std::fprintf(stderr, "%s; using the default controls.\n", error.c_str());
    }
  }

  std::shared_ptr<InputDevice> keyboard(
      new InputDevice(m_hub, DeviceKind::Keyboard, -1, "Keyboard", "keyboard", nullptr));
  if (!callback(keyboard)) return true;
  if (!m_hub->joysticks) return true;

  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    std::shared_ptr<InputDevice> device;
    if (SDL_IsGameController(index)) {
      SDL_GameController* controller = SDL_GameControllerOpen(index);
      if (!controller) continue;
      const char* name = SDL_GameControllerName(controller);
      const int instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      device.reset(new InputDevice(m_hub, DeviceKind::Gamepad, instance,
                                   name ? name : "Game controller", std::string("gamepad:") + guid,
                                   controller));
    } else {
      SDL_Joystick* joystick = SDL_JoystickOpen(index);
      if (!joystick) continue;
      const char* name = SDL_JoystickName(joystick);
      device.reset(new InputDevice(m_hub, DeviceKind::Joystick, SDL_JoystickInstanceID(joystick),
                                   name ? name : "Joystick", std::string("joystick:") + guid,
                                   joystick));
    }
    if (!callback(device)) break;
  }
  return true;
}

const SavedMaps& InputSystem::GetSavedMaps() const {
  return m_hub->saved;
}

SaveStatus InputSystem::SaveMaps(const ActionFormat& format, const SavedMaps& maps,
                                 std::string& error) {
  for (const SavedDeviceMap& entry : maps) PutSavedMap(m_hub->saved, entry);
  m_hub->savedLoaded = true;
  SaveReport report;
  const SaveStatus status =
      TrySaveSavedMaps(SavedMapsPath(format.mapName), format, maps, error, &report);
  if (status != SaveStatus::Saved) return status;
  if (!report.notice.empty()) std::fprintf(stderr, "%s.\n", report.notice.c_str());
  // What another game saved meanwhile counts too.
  m_hub->saved = std::move(report.stored);
  return status;
}

bool InputSystem::CanShowDialog() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

void InputSystem::StartListening() {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  m_hub->listening = true;
  m_hub->quitRequested = false;
  m_hub->heard.clear();
}

void InputSystem::StopListening() {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  m_hub->listening = false;
  m_hub->heard.clear();
}

bool InputSystem::NextControlEvent(ControlEvent& event) {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  if (m_hub->heard.empty()) return false;
  event = m_hub->heard.front();
  m_hub->heard.pop_front();
  return true;
}

bool InputSystem::IsQuitRequested() const {
  std::lock_guard<std::mutex> lock(m_hub->mutex);
  return m_hub->quitRequested;
}

void InputSystem::PumpEvents() {
  SDL_PumpEvents();
}

void InputSystem::Wait(int milliseconds) {
  SDL_Delay(static_cast<Uint32>(std::max(0, milliseconds)));
}

std::string InputSystem::ControlName(DeviceKind kind, const Control& control) {
  static const char* const kPadButtons[] = {
      "A",          "B",          "X",           "Y",           "Back",         "Guide",
      "Start",      "Left stick", "Right stick", "Left bumper", "Right bumper", "D-pad up",
      "D-pad down", "D-pad left", "D-pad right", "Misc",        "Paddle 1",     "Paddle 2",
      "Paddle 3",   "Paddle 4",   "Touchpad"};
  static const char* const kPadAxes[] = {"Left stick X",  "Left stick Y", "Right stick X",
                                         "Right stick Y", "Left trigger", "Right trigger"};
  static_assert(std::size(kPadButtons) == pad::kButtonCount);
  static_assert(std::size(kPadAxes) == pad::kAxisCount);
  const std::string number = std::to_string(control.index + 1);
  switch (control.kind) {
    case ControlKind::Key: {
      const char* name = SDL_GetScancodeName(static_cast<SDL_Scancode>(control.index));
      return name && name[0] ? name : "Key " + std::to_string(control.index);
    }
    case ControlKind::Button:
      if (kind == DeviceKind::Gamepad && control.index >= 0 && control.index < pad::kButtonCount) {
        return kPadButtons[control.index];
      }
      return "Button " + number;
    case ControlKind::Axis:
      if (kind == DeviceKind::Gamepad && control.index >= 0 && control.index < pad::kAxisCount) {
        return kPadAxes[control.index];
      }
      return "Axis " + number;
    case ControlKind::HatUp:
      return "Hat " + number + " up";
    case ControlKind::HatRight:
      return "Hat " + number + " right";
    case ControlKind::HatDown:
      return "Hat " + number + " down";
    case ControlKind::HatLeft:
      return "Hat " + number + " left";
  }
  return "?";
}

}  // namespace platform
