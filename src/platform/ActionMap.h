// Action formats and per-device action maps: which key, button, hat direction or
// axis of a device produces which game action. Free of SDL so that game code and
// tests can use it; control numbers follow SDL's numbering (scancodes, controller
// buttons and axes, raw joystick indices).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Device types as reported to the game (low byte of the device type).
enum class DeviceKind : std::uint8_t { Keyboard = 0x13, Joystick = 0x14, Gamepad = 0x15 };

// The player cannot remap an action with this flag.
inline constexpr std::uint32_t kActionFixed = 0x10;
// Semantics 0x81000400 + scan code describe a keyboard key.
inline constexpr std::uint32_t kKeyboardSemanticBase = 0x81000400;

struct ActionDescription {
  std::uint32_t data = 0;      // reported with every event of the action
  std::uint32_t semantic = 0;  // what the action means, for default mapping
  std::uint32_t flags = 0;
  std::string name;
};

struct ActionFormat {
  std::string guid;
  std::uint32_t genre = 0;
  int bufferSize = 32;
  int axisMin = 0;
  int axisMax = 99;
  std::string mapName;
  std::vector<ActionDescription> actions;

  // The first action carrying `data`, or null.
  const ActionDescription* Find(std::uint32_t data) const;
  bool IsFixed(std::uint32_t data) const;
  // Axis actions report positions; the rest report presses and releases.
  bool IsAxis(std::uint32_t data) const;
};

enum class ControlKind : std::uint8_t { Key, Button, Axis, HatUp, HatRight, HatDown, HatLeft };

// One physical control of a device. Buttons and axes of a gamepad are SDL's
// controller buttons and axes; those of a plain joystick are its raw indices.
struct Control {
  ControlKind kind = ControlKind::Key;
  int index = 0;
  bool operator==(const Control&) const = default;
  bool IsAxis() const { return kind == ControlKind::Axis; }
};

struct Binding {
  Control control;
  std::uint32_t data = 0;  // the action's data
  // An axis reports its range upside down (SDL reports stick up as the minimum).
  bool inverted = false;
  bool operator==(const Binding&) const = default;
};

using ActionMap = std::vector<Binding>;

// Scancode numbers used by the defaults and the controls dialog (SDL's values).
namespace keys {
inline constexpr int kA = 4;
inline constexpr int kReturn = 40;
inline constexpr int kEscape = 41;
inline constexpr int kBackspace = 42;
inline constexpr int kTab = 43;
inline constexpr int kSpace = 44;
inline constexpr int kF1 = 58;
inline constexpr int kPause = 72;
inline constexpr int kRight = 79;
inline constexpr int kLeft = 80;
inline constexpr int kDown = 81;
inline constexpr int kUp = 82;
}  // namespace keys

// Controller buttons and axes (SDL's values).
namespace pad {
inline constexpr int kA = 0;
inline constexpr int kB = 1;
inline constexpr int kX = 2;
inline constexpr int kY = 3;
inline constexpr int kBack = 4;
inline constexpr int kStart = 6;
inline constexpr int kLeftShoulder = 9;
inline constexpr int kRightShoulder = 10;
inline constexpr int kDpadUp = 11;
inline constexpr int kDpadDown = 12;
inline constexpr int kDpadLeft = 13;
inline constexpr int kDpadRight = 14;
inline constexpr int kButtonCount = 21;
inline constexpr int kLeftX = 0;
inline constexpr int kLeftY = 1;
inline constexpr int kAxisCount = 6;
}  // namespace pad

// Highest scancode a key binding may use.
inline constexpr int kMaxScancode = 511;

// The scancode of a PC keyboard scan code (set 1, 0xE0 keys as 0x80 + code), or -1.
int ScancodeFromScanCode(std::uint32_t scanCode);

// The default map of a device kind for a format: keyboard semantics bind keys,
// the genre's semantics bind controller sticks and buttons. Fixed actions included.
// A joystick with fewer controls than a default needs leaves that action unbound.
ActionMap DefaultActionMap(const ActionFormat& format, DeviceKind kind, int buttons = 32,
                           int axes = 8, int hats = 4);

// The defaults with `saved` in place of every remappable binding.
ActionMap OverlaySavedMap(const ActionFormat& format, const ActionMap& defaults,
                          const ActionMap& saved);

// Why `map` cannot be used for a device of `kind` under `format`, or nothing when it
// can: unknown actions, axis actions on buttons, controls the kind lacks, a control
// bound twice, or an action bound to two controls.
std::optional<std::string> CheckActionMap(const ActionFormat& format, DeviceKind kind,
                                          const ActionMap& map);

// The binding of `control` in `map`, or null.
const Binding* FindBinding(const ActionMap& map, const Control& control);
// The binding of action `data` in `map`, or null.
const Binding* FindAction(const ActionMap& map, std::uint32_t data);

// Scales a raw axis position (-32768..32767) onto [min, max], flipped when inverted.
int ScaleAxis(int raw, int min, int max, bool inverted);

}  // namespace platform
