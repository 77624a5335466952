// The player's remapped controls, kept in a small text file named after the action
// map in the user's configuration folder ($XDG_CONFIG_HOME/vantrel, or
// ~/.config/vantrel).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ActionMap.h"

namespace platform {

// One device's remappable bindings. The identity names the device model:
// "keyboard", "gamepad:<SDL GUID>" or "joystick:<SDL GUID>".
struct SavedDeviceMap {
  std::string identity;
  ActionMap map;
};
using SavedMaps = std::vector<SavedDeviceMap>;

// The device kind an identity names, or nothing for a malformed identity.
std::optional<DeviceKind> KindOfIdentity(const std::string& identity);

// The saved map of `identity` in `maps`, or null.
const SavedDeviceMap* FindSavedMap(const SavedMaps& maps, const std::string& identity);
// Replaces (or adds) the saved map of `entry.identity`.
void PutSavedMap(SavedMaps& maps, const SavedDeviceMap& entry);

// The file that keeps the maps named `mapName`; empty when the user has no
// configuration folder (neither XDG_CONFIG_HOME nor HOME set).
std::filesystem::path SavedMapsPath(const std::string& mapName);

// Reads the maps saved for `format`. A missing file gives no maps and true. A file
// that is unreadable, truncated, too large or malformed, or holds a map that does not
// fit the format, gives false with the reason in `error` (naming the file and line);
// `maps` is then left empty.
bool LoadSavedMaps(const std::filesystem::path& file, const ActionFormat& format, SavedMaps& maps,
                   std::string& error);

// Writes `maps` through a temporary file in the same folder renamed over the old
// one, creating the folder when needed. False with the reason in `error`.
bool SaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                   const SavedMaps& maps, std::string& error);

}  // namespace platform
