#include "platform/ActionMap.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// PC scan codes (set 1; keys sent after 0xE0 as 0x80 + code) to scancodes.
constexpr std::pair<std::uint8_t, std::uint16_t> kScanCodes[] = {
    {0x01, 41},  {0x02, 30},  {0x03, 31},  {0x04, 32}, {0x05, 33},  {0x06, 34}, {0x07, 35},
    {0x08, 36},  {0x09, 37},  {0x0A, 38},  {0x0B, 39}, {0x0C, 45},  {0x0D, 46}, {0x0E, 42},
    {0x0F, 43},  {0x10, 20},  {0x11, 26},  {0x12, 8},  {0x13, 21},  {0x14, 23}, {0x15, 28},
    {0x16, 24},  {0x17, 12},  {0x18, 18},  {0x19, 19}, {0x1A, 47},  {0x1B, 48}, {0x1C, 40},
    {0x1D, 224}, {0x1E, 4},   {0x1F, 22},  {0x20, 7},  {0x21, 9},   {0x22, 10}, {0x23, 11},
    {0x24, 13},  {0x25, 14},  {0x26, 15},  {0x27, 51}, {0x28, 52},  {0x29, 53}, {0x2A, 225},
    {0x2B, 49},  {0x2C, 29},  {0x2D, 27},  {0x2E, 6},  {0x2F, 25},  {0x30, 5},  {0x31, 17},
    {0x32, 16},  {0x33, 54},  {0x34, 55},  {0x35, 56}, {0x36, 229}, {0x37, 85}, {0x38, 226},
    {0x39, 44},  {0x3A, 57},  {0x3B, 58},  {0x3C, 59}, {0x3D, 60},  {0x3E, 61}, {0x3F, 62},
    {0x40, 63},  {0x41, 64},  {0x42, 65},  {0x43, 66}, {0x44, 67},  {0x57, 68}, {0x58, 69},
    {0x9C, 88},  {0x9D, 228}, {0xB8, 230}, {0xC5, 72}, {0xC7, 74},  {0xC8, 82}, {0xC9, 75},
    {0xCB, 80},  {0xCD, 79},  {0xCF, 77},  {0xD0, 81}, {0xD1, 78},  {0xD2, 73}, {0xD3, 76},
};

// Default controls of the arcade platform genre's semantics, for gamepads and for
// plain joysticks.
struct GenreDefault {
  std::uint32_t semantic;
  bool axis;
  Control gamepad;
  Control joystick;
  bool inverted;  // stick up toward the axis maximum
};

constexpr GenreDefault kGenreDefaults[] = {
    {0x22008201, true, {ControlKind::Axis, pad::kLeftX}, {ControlKind::Axis, 0}, false},
    {0x22010202, true, {ControlKind::Axis, pad::kLeftY}, {ControlKind::Axis, 1}, true},
    {0x22000401, false, {ControlKind::Button, pad::kA}, {ControlKind::Button, 0}, false},
    {0x22000402, false, {ControlKind::Button, pad::kX}, {ControlKind::Button, 2}, false},
    {0x22000403, false, {ControlKind::Button, pad::kB}, {ControlKind::Button, 1}, false},
    {0x22000404, false, {ControlKind::Button, pad::kY}, {ControlKind::Button, 3}, false},
    {0x2207C4E0, false, {ControlKind::Button, pad::kDpadUp}, {ControlKind::HatUp, 0}, false},
    {0x2207C4E8, false, {ControlKind::Button, pad::kDpadDown}, {ControlKind::HatDown, 0}, false},
    {0x220044FC, false, {ControlKind::Button, pad::kStart}, {ControlKind::Button, 9}, false},
    {0x220004FD, false, {ControlKind::Button, pad::kBack}, {ControlKind::Button, 8}, false},
};

const GenreDefault* FindGenreDefault(std::uint32_t semantic) {
  for (const GenreDefault& entry : kGenreDefaults) {
    if (entry.semantic == semantic) return &entry;
  }
  return nullptr;
}

bool IsKeyboardSemantic(std::uint32_t semantic) {
  return semantic >= kKeyboardSemanticBase && semantic <= kKeyboardSemanticBase + 0xFF;
}

bool ControlFits(DeviceKind kind, const Control& control, int buttons, int axes, int hats) {
  switch (control.kind) {
    case ControlKind::Key:
      return kind == DeviceKind::Keyboard && control.index >= 0 && control.index <= kMaxScancode;
    case ControlKind::Button:
      return kind != DeviceKind::Keyboard && control.index >= 0 && control.index < buttons;
    case ControlKind::Axis:
      return kind != DeviceKind::Keyboard && control.index >= 0 && control.index < axes;
    case ControlKind::HatUp:
    case ControlKind::HatRight:
    case ControlKind::HatDown:
    case ControlKind::HatLeft:
      return kind == DeviceKind::Joystick && control.index >= 0 && control.index < hats;
  }
  return false;
}

}  // namespace

const ActionDescription* ActionFormat::Find(std::uint32_t data) const {
  for (const ActionDescription& action : actions) {
    if (action.data == data) return &action;
  }
  return nullptr;
}

bool ActionFormat::IsFixed(std::uint32_t data) const {
  const ActionDescription* action = Find(data);
  return action && (action->flags & kActionFixed) != 0;
}

bool ActionFormat::IsAxis(std::uint32_t data) const {
  for (const ActionDescription& action : actions) {
    if (action.data != data) continue;
    const GenreDefault* genre = FindGenreDefault(action.semantic);
    if (genre) return genre->axis;
  }
  return false;
}

int ScancodeFromScanCode(std::uint32_t scanCode) {
  for (const auto& [code, scancode] : kScanCodes) {
    if (code == scanCode) return scancode;
  }
  return -1;
}

ActionMap DefaultActionMap(const ActionFormat& format, DeviceKind kind, int buttons, int axes,
                           int hats) {
  if (kind == DeviceKind::Gamepad) {
    buttons = pad::kButtonCount;
    axes = pad::kAxisCount;
    hats = 0;
  }
  ActionMap map;
  auto add = [&](const Binding& binding) {
    if (!ControlFits(kind, binding.control, buttons, axes, hats)) return;
    if (FindBinding(map, binding.control) || FindAction(map, binding.data)) return;
    map.push_back(binding);
  };
  for (const ActionDescription& action : format.actions) {
    if (kind == DeviceKind::Keyboard) {
      if (!IsKeyboardSemantic(action.semantic)) continue;
      const int scancode = ScancodeFromScanCode(action.semantic - kKeyboardSemanticBase);
      if (scancode >= 0) add({{ControlKind::Key, scancode}, action.data, false});
    } else {
      const GenreDefault* genre = FindGenreDefault(action.semantic);
      if (!genre || (action.semantic & 0xFF000000) != format.genre) continue;
      const Control control = kind == DeviceKind::Gamepad ? genre->gamepad : genre->joystick;
      add({control, action.data, genre->inverted});
    }
  }
  return map;
}

ActionMap OverlaySavedMap(const ActionFormat& format, const ActionMap& defaults,
                          const ActionMap& saved) {
  ActionMap map;
  for (const Binding& binding : defaults) {
    if (format.IsFixed(binding.data)) map.push_back(binding);
  }
  for (const Binding& binding : saved) {
    if (!format.IsFixed(binding.data)) map.push_back(binding);
  }
  return map;
}

std::optional<std::string> CheckActionMap(const ActionFormat& format, DeviceKind kind,
                                          const ActionMap& map) {
  const int buttons = kind == DeviceKind::Gamepad ? pad::kButtonCount : 256;
  const int axes = kind == DeviceKind::Gamepad ? pad::kAxisCount : 256;
  const int hats = kind == DeviceKind::Gamepad ? 0 : 256;
  for (std::size_t i = 0; i < map.size(); ++i) {
    const Binding& binding = map[i];
    if (!format.Find(binding.data)) return "no action has the data " + std::to_string(binding.data);
    if (!ControlFits(kind, binding.control, buttons, axes, hats)) {
      return "a control this kind of device does not have";
    }
    if (format.IsAxis(binding.data) != binding.control.IsAxis()) {
      return "an axis action on a button, or a button action on an axis";
    }
    if (binding.inverted && !binding.control.IsAxis()) return "an inverted button";
    for (std::size_t j = 0; j < i; ++j) {
      if (map[j].control == binding.control) return "one control bound to two actions";
      if (map[j].data == binding.data) return "one action bound to two controls";
    }
  }
  return std::nullopt;
}

const Binding* FindBinding(const ActionMap& map, const Control& control) {
  auto it = std::find_if(map.begin(), map.end(),
                         [&](const Binding& binding) { return binding.control == control; });
  return it == map.end() ? nullptr : &*it;
}

const Binding* FindAction(const ActionMap& map, std::uint32_t data) {
  auto it = std::find_if(map.begin(), map.end(),
                         [&](const Binding& binding) { return binding.data == data; });
  return it == map.end() ? nullptr : &*it;
}

int ScaleAxis(int raw, int min, int max, bool inverted) {
  raw = std::clamp(raw, -32768, 32767);
  const long long span = static_cast<long long>(max) - min;
  // Rounded to the nearest step so both ends are reachable.
  long long value = ((static_cast<long long>(raw) + 32768) * span + 32767) / 65535;
  if (inverted) value = span - value;
  return static_cast<int>(min + value);
}

}  // namespace platform
