// Keyboard, game controllers and joysticks on SDL2, read the way the game's input
// reader expects: devices offered one by one for an action format, an action map
// built and set per device, and per-device buffers of (action data, value) records
// filled while the device is acquired. Events reach this layer through its own SDL
// event watch, whoever pumps the queue.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ActionMap.h"
#include "platform/ActionMapStore.h"

namespace platform {

struct InputHub;

// One buffered event: the action's data and its value (an axis position within the
// format's range; 0x80 for a press, 0 for a release).
struct DeviceRecord {
  std::uint32_t data = 0;
  std::uint32_t value = 0;
};

// A raw control event, heard while the controls dialog listens.
struct ControlEvent {
  DeviceKind kind = DeviceKind::Keyboard;
  int instance = -1;  // the device's instance id; -1 for the keyboard
  Control control;
  bool down = false;  // pressed (keys, buttons, hat directions)
  int raw = 0;        // axis position, -32768..32767 (axes only)
};

class InputDevice {
 public:
  ~InputDevice();
  InputDevice(const InputDevice&) = delete;
  InputDevice& operator=(const InputDevice&) = delete;

  DeviceKind GetKind() const { return m_kind; }
  // 0x13 keyboard, 0x14 joystick, 0x15 gamepad.
  std::uint32_t GetType() const { return static_cast<std::uint32_t>(m_kind); }
  const std::string& GetInstanceName() const { return m_name; }
  // Names the device model for saved maps ("keyboard", "gamepad:<guid>", ...).
  const std::string& GetIdentity() const { return m_identity; }
  int GetInstanceId() const { return m_instance; }

  // The format's defaults for this device with the player's saved map laid over
  // them. A saved map that does not fit the device is reported and left out.
  bool BuildActionMap(const ActionFormat& format);
  // Makes the built map the one events go through; false before BuildActionMap.
  bool SetActionMap(const ActionFormat& format);
  ActionMap GetActionMap() const;
  const ActionMap& GetDefaultActionMap() const { return m_defaults; }

  // Starts buffering with an empty buffer. Controls already held at this moment do
  // not report their release, so a key let go while unacquired never comes back
  // as a press. False when the device is gone.
  bool Acquire();
  // Stops buffering and drops what was buffered.
  void Unacquire();
  bool IsAcquired() const;
  // Brings pending SDL events in; false when the device is gone.
  bool Poll();
  // Takes up to `count` records, oldest first; `count` becomes the number taken.
  // False (and no records) while not acquired.
  bool GetDeviceData(DeviceRecord* records, int& count);

 private:
  friend class InputSystem;
  friend struct InputHub;
  InputDevice(std::shared_ptr<InputHub> hub, DeviceKind kind, int instance, std::string name,
              std::string identity, void* handle);

  std::shared_ptr<InputHub> m_hub;
  DeviceKind m_kind;
  int m_instance;
  std::string m_name;
  std::string m_identity;
  void* m_handle;  // SDL_GameController or SDL_Joystick
  ActionMap m_defaults;
  ActionMap m_built;
  bool m_isBuilt = false;
  struct State;
  std::unique_ptr<State> m_state;  // guarded by the hub's lock
};

class InputSystem {
 public:
  // Starts SDL's event, joystick and game-controller subsystems and begins
  // watching their events. Null, with the reason in `error`, when SDL's events
  // cannot start; joysticks that cannot start leave the keyboard alone.
  static std::unique_ptr<InputSystem> Create(std::string* error = nullptr);
  ~InputSystem();
  InputSystem(const InputSystem&) = delete;
  InputSystem& operator=(const InputSystem&) = delete;

  using DeviceCallback = std::function<bool(const std::shared_ptr<InputDevice>&)>;
  // Offers every attached device, the keyboard first, then joysticks in SDL's
  // order (game controllers as gamepads), until the callback returns false.
  // The first call loads the player's saved maps for the format.
  bool EnumDevicesBySemantics(const ActionFormat& format, const DeviceCallback& callback);

  const SavedMaps& GetSavedMaps() const;
  // Keeps `maps` (the maps of the devices shown) for later enumerations, so they last
  // until the game ends, and puts them into the saved-maps file beside the other
  // devices' maps it holds, in one try that never waits (TrySaveSavedMaps). Busy while
  // another game's save holds the file's folder; Failed, with the reason in `error`,
  // when the file was not written.
  SaveStatus SaveMaps(const ActionFormat& format, const SavedMaps& maps, std::string& error);

  // Whether a modal screen can be shown: false without a real display (headless).
  static bool CanShowDialog();
  // While listening, raw control events and quit requests are collected for the
  // controls dialog; they still reach acquired devices as usual.
  void StartListening();
  void StopListening();
  bool NextControlEvent(ControlEvent& event);
  // A quit or window close was seen since listening started (it stays queued for
  // the frame loop).
  bool IsQuitRequested() const;
  void PumpEvents();
  void Wait(int milliseconds);

  // A readable name for a control of a device kind ("Space", "A", "Left stick X").
  static std::string ControlName(DeviceKind kind, const Control& control);

 private:
  InputSystem() = default;
  std::shared_ptr<InputHub> m_hub;
};

}  // namespace platform
