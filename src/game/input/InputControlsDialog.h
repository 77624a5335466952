// The controls screen: a modal screen drawn with the game's graphics and fonts that
// lists every action with its key or button per device, rebinds them and saves the
// map. Headless (no real display) it closes at once.
#pragma once

#include <memory>
#include <vector>

#include "game/input/Input.h"
#include "game/input/InputControlsEditor.h"

namespace platform {
class Window;
}

class InputControlsDialog {
 public:
  InputControlsDialog(platform::InputSystem& system, const platform::ActionFormat& format,
                      const std::vector<std::shared_ptr<platform::InputDevice>>& devices,
                      const InputDialogColors& colors);

  // Shows the screen until it is closed (or the game is asked to quit), saving the
  // map on "Save and close".
  InputControlsEditor::Result Run(platform::Window* window);
  // The screen itself, once it is known that it can be shown on the graphics engine.
  InputControlsEditor::Result Show(platform::Window* window);
  // Queues one picture of the screen on the graphics engine.
  void Draw() const;
  // Keeps the edited maps for the devices read next and writes them to the player's
  // saved-maps file, in one try that never waits; true once written. While another
  // game's save holds the file's folder it stays "Save and close" and the screen tries
  // again on its next frames (IsWaitingToSave), so it goes on drawing and a quit closes
  // it at once; after kSaveLockFrames it gives up. When the file cannot be written the
  // screen stays open and its message line says why.
  bool Save();
  bool IsWaitingToSave() const { return m_busyFrames > 0; }

  InputControlsEditor& GetEditor() { return m_editor; }

 private:
  platform::InputSystem& m_system;
  platform::ActionFormat m_format;
  InputDialogColors m_colors;
  InputControlsEditor m_editor;
  int m_busyFrames = 0;  // tries that found another game saving
};
