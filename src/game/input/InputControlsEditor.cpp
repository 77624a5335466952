#include "game/input/InputControlsEditor.h"

#include <algorithm>
#include <utility>

#include "game/input/Input.h"

using platform::Binding;
using platform::Control;
using platform::ControlKind;
using platform::DeviceKind;
namespace keys = platform::keys;
namespace pad = platform::pad;

InputControlsEditor::InputControlsEditor(const platform::ActionFormat& format,
                                         std::vector<DeviceView> devices)
    : m_format(format), m_devices(std::move(devices)) {
  BuildRows();
}

void InputControlsEditor::BuildRows() {
  m_rows.clear();
  if (!m_devices.empty()) {
    const bool keyboard = m_devices[m_device].kind == DeviceKind::Keyboard;
    for (const platform::ActionDescription& action : m_format.actions) {
      const bool shown = std::any_of(m_rows.begin(), m_rows.end(),
                                     [&](const Row& row) { return row.data == action.data; });
      const bool axis = m_format.IsAxis(action.data);
      // A keyboard has no stick to give an axis action.
      if (shown || action.data == 0 || (keyboard && axis)) continue;
      m_rows.push_back(
          {Row::Kind::Action, action.data, action.name, m_format.IsFixed(action.data), axis});
    }
  }
  m_rows.push_back({Row::Kind::RestoreDefaults, 0, "Restore defaults", false, false});
  m_rows.push_back({Row::Kind::Save, 0, "Save and close", false, false});
  m_rows.push_back({Row::Kind::Cancel, 0, "Cancel", false, false});
  m_selection = std::clamp(m_selection, 0, static_cast<int>(m_rows.size()) - 1);
}

void InputControlsEditor::Handle(const platform::ControlEvent& event) {
  if (m_result != Result::Open) return;
  if (m_waiting) {
    Listen(event);
  } else if (event.down) {
    Browse(NavigationOf(event));
  }
}

InputControlsEditor::Navigation InputControlsEditor::NavigationOf(
    const platform::ControlEvent& event) const {
  const Control& control = event.control;
  switch (event.kind) {
    case DeviceKind::Keyboard:
      if (control.kind != ControlKind::Key) return Navigation::None;
      switch (control.index) {
        case keys::kUp:
          return Navigation::Up;
        case keys::kDown:
          return Navigation::Down;
        case keys::kLeft:
          return Navigation::Previous;
        case keys::kRight:
        case keys::kTab:
          return Navigation::Next;
        case keys::kReturn:
          return Navigation::Confirm;
        case keys::kEscape:
          return Navigation::Back;
        default:
          return Navigation::None;
      }
    case DeviceKind::Gamepad:
      if (control.kind != ControlKind::Button) return Navigation::None;
      switch (control.index) {
        case pad::kDpadUp:
          return Navigation::Up;
        case pad::kDpadDown:
          return Navigation::Down;
        case pad::kDpadLeft:
        case pad::kLeftShoulder:
          return Navigation::Previous;
        case pad::kDpadRight:
        case pad::kRightShoulder:
          return Navigation::Next;
        case pad::kA:
          return Navigation::Confirm;
        case pad::kB:
          return Navigation::Back;
        default:
          return Navigation::None;
      }
    case DeviceKind::Joystick:
      switch (control.kind) {
        case ControlKind::HatUp:
          return Navigation::Up;
        case ControlKind::HatDown:
          return Navigation::Down;
        case ControlKind::HatLeft:
          return Navigation::Previous;
        case ControlKind::HatRight:
          return Navigation::Next;
        case ControlKind::Button:
          return control.index == 0   ? Navigation::Confirm
                 : control.index == 1 ? Navigation::Back
                                      : Navigation::None;
        default:
          return Navigation::None;
      }
  }
  return Navigation::None;
}

void InputControlsEditor::Browse(Navigation navigation) {
  const int rows = static_cast<int>(m_rows.size());
  const int devices = static_cast<int>(m_devices.size());
  switch (navigation) {
    case Navigation::None:
      return;
    case Navigation::Up:
      m_selection = (m_selection + rows - 1) % rows;
      m_message.clear();
      return;
    case Navigation::Down:
      m_selection = (m_selection + 1) % rows;
      m_message.clear();
      return;
    case Navigation::Previous:
    case Navigation::Next:
      if (devices < 2) return;
      m_device = (m_device + (navigation == Navigation::Next ? 1 : devices - 1)) % devices;
      BuildRows();
      m_message.clear();
      return;
    case Navigation::Back:
      m_result = Result::Cancelled;
      return;
    case Navigation::Confirm:
      break;
  }

  const Row& row = m_rows[m_selection];
  switch (row.kind) {
    case Row::Kind::Save:
      m_result = Result::Saved;
      return;
    case Row::Kind::Cancel:
      m_result = Result::Cancelled;
      return;
    case Row::Kind::RestoreDefaults:
      if (m_devices.empty()) return;
      m_devices[m_device].map = m_devices[m_device].defaults;
      m_message = "Default controls restored for " + m_devices[m_device].name + ".";
      return;
    case Row::Kind::Action:
      break;
  }
  if (row.fixed) {
    m_message = "\"" + row.name + "\" cannot be changed.";
    return;
  }
  m_waiting = true;
  if (row.axis) {
    m_message = std::string("Push a stick ") + (row.data == VERTICAL_AXIS ? "up" : "right") +
                " for \"" + row.name + "\" (Esc keeps the old one).";
  } else {
    m_message = std::string("Press a ") +
                (m_devices[m_device].kind == DeviceKind::Keyboard ? "key" : "button") + " for \"" +
                row.name + "\" (Esc keeps the old one).";
  }
}

bool InputControlsEditor::IsShownDevice(const platform::ControlEvent& event) const {
  const DeviceView& device = m_devices[m_device];
  return event.kind == device.kind && event.instance == device.instance;
}

void InputControlsEditor::Listen(const platform::ControlEvent& event) {
  if (event.kind == DeviceKind::Keyboard && event.down &&
      event.control == Control{ControlKind::Key, keys::kEscape}) {
    m_waiting = false;
    m_message = "Nothing changed.";
    return;
  }
  if (!IsShownDevice(event)) return;
  const Row& row = m_rows[m_selection];
  if (row.axis) {
    // Pushing toward the action's far end reads as its maximum.
    if (event.control.IsAxis()) Assign(event.control, event.raw < 0);
  } else if (event.down && !event.control.IsAxis()) {
    Assign(event.control, false);
  }
}

void InputControlsEditor::Assign(const Control& control, bool inverted) {
  DeviceView& device = m_devices[m_device];
  const Row& row = m_rows[m_selection];
  const std::string controlName = platform::InputSystem::ControlName(device.kind, control);
  const Binding* taken = platform::FindBinding(device.map, control);
  if (taken && m_format.IsFixed(taken->data)) {
    const platform::ActionDescription* owner = m_format.Find(taken->data);
    m_message =
        controlName + " is kept for \"" + (owner ? owner->name : "") + "\"; choose another.";
    return;
  }
  std::string movedFrom;
  if (taken && taken->data != row.data) {
    const platform::ActionDescription* owner = m_format.Find(taken->data);
    if (owner) movedFrom = owner->name;
  }
  std::erase_if(device.map, [&](const Binding& binding) {
    return binding.control == control || binding.data == row.data;
  });
  device.map.push_back({control, row.data, inverted});
  m_waiting = false;
  m_message = "\"" + row.name + "\": " + controlName;
  if (!movedFrom.empty()) m_message += " (no longer \"" + movedFrom + "\")";
  m_message += ".";
}

void InputControlsEditor::SaveFailed(const std::string& reason) {
  m_result = Result::Open;
  m_waiting = false;
  m_message = "The controls were not saved: " + reason +
              ". They last until the game ends; Save tries again.";
}

std::string InputControlsEditor::BindingName(const Row& row) const {
  if (row.kind != Row::Kind::Action || m_devices.empty()) return "";
  const DeviceView& device = m_devices[m_device];
  const Binding* binding = platform::FindAction(device.map, row.data);
  return binding ? platform::InputSystem::ControlName(device.kind, binding->control) : "";
}

platform::SavedMaps InputControlsEditor::MergeInto(platform::SavedMaps saved) const {
  for (const DeviceView& device : m_devices) {
    platform::SavedDeviceMap entry{device.identity, {}};
    for (const Binding& binding : device.map) {
      if (!m_format.IsFixed(binding.data)) entry.map.push_back(binding);
    }
    platform::PutSavedMap(saved, entry);
  }
  return saved;
}
