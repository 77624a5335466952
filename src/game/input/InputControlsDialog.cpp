#include "game/input/InputControlsDialog.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/sound/SoundEngine.h"

namespace {

constexpr int kFrameMilliseconds = 16;
constexpr const char* kFace = "Teletype";
constexpr int kTitleSize = 20;
constexpr int kTextSize = 11;
constexpr float kLeft = 40.0f;
constexpr float kRight = 760.0f;
constexpr float kNameX = 60.0f;
constexpr float kBindingX = 420.0f;
constexpr float kFirstRowY = 74.0f;
constexpr float kRowPitch = 16.0f;
constexpr float kMessageY = 572.0f;
// Lines the message may take, upward from the last; the commands end above them.
constexpr std::size_t kMessageLines = 2;

void AddRect(D3DInterface& engine, float x0, float y0, float x1, float y1, D3DCOLOR color) {
  ScreenQuad quad;
  quad.vertices[0] = {x0, y0, 0.1f, 1.0f, color, 0.0f, 0.0f};
  quad.vertices[1] = {x1, y0, 0.1f, 1.0f, color, 0.0f, 0.0f};
  quad.vertices[2] = {x1, y1, 0.1f, 1.0f, color, 0.0f, 0.0f};
  quad.vertices[3] = {x0, y1, 0.1f, 1.0f, color, 0.0f, 0.0f};
  quad.texture = nullptr;
  engine.AddQuad(quad);
}

// The message in lines that fit between the screen's margins, broken between words;
// the last of them takes whatever is left.
std::vector<std::string> MessageLines(D3DInterface& engine, const std::string& message) {
  std::vector<std::string> lines(1);
  std::istringstream words(message);
  std::string word;
  while (words >> word) {
    const std::string longer = lines.back().empty() ? word : lines.back() + " " + word;
    int width = 0;
    int height = 0;
    engine.GetTextExtent(kFace, kTextSize, longer, &width, &height);
    if (width > kRight - kLeft && !lines.back().empty() && lines.size() < kMessageLines) {
      lines.push_back(word);
    } else {
      lines.back() = longer;
    }
  }
  return lines;
}

std::vector<InputControlsEditor::DeviceView> ViewsOf(
    const std::vector<std::shared_ptr<platform::InputDevice>>& devices) {
  std::vector<InputControlsEditor::DeviceView> views;
  for (const auto& device : devices) {
    views.push_back({Input::DisplayName(device->GetInstanceName()), device->GetKind(),
                     device->GetInstanceId(), device->GetIdentity(), device->GetActionMap(),
                     device->GetDefaultActionMap()});
  }
  return views;
}

}  // namespace

InputControlsDialog::InputControlsDialog(
    platform::InputSystem& system, const platform::ActionFormat& format,
    const std::vector<std::shared_ptr<platform::InputDevice>>& devices,
    const InputDialogColors& colors)
    : m_system(system), m_format(format), m_colors(colors), m_editor(format, ViewsOf(devices)) {}

InputControlsEditor::Result InputControlsDialog::Run(platform::Window* window) {
  if (!platform::InputSystem::CanShowDialog() || !D3DInterface::Exists()) {
    return InputControlsEditor::Result::Cancelled;
  }
  return Show(window);
}

InputControlsEditor::Result InputControlsDialog::Show(platform::Window* window) {
  // The frame loop waits behind the screen, so the music is kept going here:
  // tracks that end move the playlist on, and fades go on stepping.
  SoundEngine sound;
  m_system.StartListening();
  while (true) {
    m_system.PumpEvents();
    sound.Update();
    platform::ControlEvent event;
    while (m_system.NextControlEvent(event)) m_editor.Handle(event);
    // The quit stays queued; the frame loop ends the game once the screen is gone.
    if (m_system.IsQuitRequested()) m_editor.Cancel();
    if (m_editor.GetResult() == InputControlsEditor::Result::Saved) Save();
    const InputControlsEditor::Result result = m_editor.GetResult();
    if (result == InputControlsEditor::Result::Cancelled ||
        (result == InputControlsEditor::Result::Saved && !IsWaitingToSave())) {
      break;
    }
    D3DInterface::ClearQuads();
    Draw();
    D3DInterface::Render(window);
    m_system.Wait(kFrameMilliseconds);
  }
  m_system.StopListening();
  return m_editor.GetResult();
}

void InputControlsDialog::Draw() const {
  D3DInterface& engine = *D3DInterface::GetEngine();
  engine.FillScreen(Vector2(0.0f, 0.0f), m_colors.areaFill);
  // A frame around the screen's content.
  AddRect(engine, 20.0f, 8.0f, 780.0f, 10.0f, m_colors.border);
  AddRect(engine, 20.0f, 590.0f, 780.0f, 592.0f, m_colors.border);
  AddRect(engine, 20.0f, 8.0f, 22.0f, 592.0f, m_colors.border);
  AddRect(engine, 778.0f, 8.0f, 780.0f, 592.0f, m_colors.border);

  engine.DrawText(kFace, kTitleSize, kLeft, 16.0f, "Controls", m_colors.highlightedText);
  const auto& devices = m_editor.GetDevices();
  std::string heading = "No devices";
  if (!devices.empty()) {
    heading = "Device " + std::to_string(m_editor.GetDeviceIndex() + 1) + " of " +
              std::to_string(devices.size()) + ": " + devices[m_editor.GetDeviceIndex()].name;
    if (devices.size() > 1) heading += "   (Left/Right: other device)";
  }
  engine.DrawText(kFace, kTextSize, kLeft, 48.0f, heading, m_colors.text);

  const auto& rows = m_editor.GetRows();
  float y = kFirstRowY;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const InputControlsEditor::Row& row = rows[i];
    const bool selected = i == m_editor.GetSelection();
    // A gap sets the commands apart from the actions.
    if (row.kind == InputControlsEditor::Row::Kind::RestoreDefaults) y += kRowPitch / 2;
    if (selected) AddRect(engine, kLeft, y - 1.0f, kRight, y + kRowPitch - 1.0f, m_colors.border);
    const D3DCOLOR color = selected    ? m_colors.highlightedText
                           : row.fixed ? m_colors.controlFill
                                       : m_colors.text;
    engine.DrawText(kFace, kTextSize, kNameX, y, row.name, color);
    if (row.kind == InputControlsEditor::Row::Kind::Action) {
      if (selected && m_editor.IsWaiting()) {
        engine.DrawText(kFace, kTextSize, kBindingX, y, "...", m_colors.calloutLine);
      } else {
        const std::string binding = m_editor.BindingName(row);
        engine.DrawText(kFace, kTextSize, kBindingX, y, binding.empty() ? "-" : binding, color);
      }
    }
    y += kRowPitch;
  }
  const std::string& message = m_editor.GetMessage();
  if (message.empty()) {
    engine.DrawText(kFace, kTextSize, kLeft, kMessageY,
                    "Up/Down: choose   Return: change   Esc: close", m_colors.controlFill);
    return;
  }
  const std::vector<std::string> lines = MessageLines(engine, message);
  float lineY = kMessageY - kRowPitch * static_cast<float>(lines.size() - 1);
  for (const std::string& line : lines) {
    engine.DrawText(kFace, kTextSize, kLeft, lineY, line, m_colors.calloutLine);
    lineY += kRowPitch;
  }
}

bool InputControlsDialog::Save() {
  std::string error;
  // Only the devices shown: the file's other devices may have been saved by another game.
  const platform::SaveStatus status = m_system.SaveMaps(m_format, m_editor.MergeInto({}), error);
  if (status == platform::SaveStatus::Saved) {
    m_busyFrames = 0;
    return true;
  }
  if (status == platform::SaveStatus::Busy && ++m_busyFrames < platform::kSaveLockFrames) {
    return false;
  }
  m_busyFrames = 0;
  std::fprintf(stderr, "%s; the new controls last until the game ends.\n", error.c_str());
  m_editor.SaveFailed(error);
  return false;
}
