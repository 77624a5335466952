// What the controls screen does, without drawing: a list of actions per device,
// a selection moved by keys or buttons, rebinding by the next key, button or stick
// push, restoring defaults, and closing with or without saving.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ActionMap.h"
#include "platform/ActionMapStore.h"
#include "platform/InputDevices.h"

class InputControlsEditor {
 public:
  struct DeviceView {
    std::string name;
    platform::DeviceKind kind = platform::DeviceKind::Keyboard;
    int instance = -1;
    std::string identity;
    platform::ActionMap map;
    platform::ActionMap defaults;
  };

  // One line of the list: an action, or one of the commands after the actions.
  struct Row {
    enum class Kind { Action, RestoreDefaults, Save, Cancel };
    Kind kind = Kind::Action;
    std::uint32_t data = 0;
    std::string name;
    bool fixed = false;
    bool axis = false;
  };

  enum class Result { Open, Saved, Cancelled };

  InputControlsEditor(const platform::ActionFormat& format, std::vector<DeviceView> devices);

  // Reacts to one key, button or stick event.
  void Handle(const platform::ControlEvent& event);
  // Closes without saving (a quit request, for one).
  void Cancel() { m_result = Result::Cancelled; }
  // The save that "Save and close" asked for failed: the screen stays open and says
  // so, and why, on its message line.
  void SaveFailed(const std::string& reason);

  Result GetResult() const { return m_result; }
  const std::vector<DeviceView>& GetDevices() const { return m_devices; }
  int GetDeviceIndex() const { return m_device; }
  // The rows of the device on show: its actions, then the three commands.
  const std::vector<Row>& GetRows() const { return m_rows; }
  int GetSelection() const { return m_selection; }
  bool IsWaiting() const { return m_waiting; }
  const std::string& GetMessage() const { return m_message; }
  // The control bound to a row's action on the device on show ("" when none).
  std::string BindingName(const Row& row) const;
  // `saved` with every shown device's remappable bindings in place.
  platform::SavedMaps MergeInto(platform::SavedMaps saved) const;

 private:
  enum class Navigation { None, Up, Down, Previous, Next, Confirm, Back };

  void BuildRows();
  Navigation NavigationOf(const platform::ControlEvent& event) const;
  void Browse(Navigation navigation);
  void Listen(const platform::ControlEvent& event);
  void Assign(const platform::Control& control, bool inverted);
  bool IsShownDevice(const platform::ControlEvent& event) const;

  platform::ActionFormat m_format;
  std::vector<DeviceView> m_devices;
  std::vector<Row> m_rows;
  int m_device = 0;
  int m_selection = 0;
  bool m_waiting = false;
  std::string m_message;
  Result m_result = Result::Open;
};
