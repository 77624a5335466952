// The player's remapped controls, kept in a small text file named after the action
// map in the user's configuration folder ($XDG_CONFIG_HOME/vantrel, or
// ~/.config/vantrel).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ActionMap.h"
#include "platform/FileSave.h"

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

// Reads the maps saved for `format`. Only a file that is not there gives no maps and
// true. A file that cannot be read (for any other reason: a folder without search
// permission, a link loop, a folder or pipe in its place), or that is truncated, too
// large or malformed, or holds a map that does not fit the format, gives false with the
// reason in `error` (naming the file and line); `maps` is then left empty.
bool LoadSavedMaps(const std::filesystem::path& file, const ActionFormat& format, SavedMaps& maps,
                   std::string& error);

// What a save found besides writing.
struct SaveReport {
  SavedMaps stored;    // every map the file holds now
  std::string notice;  // said when a file that could not be read was kept aside
};

// Puts `maps` into the saved maps, keeping the other devices' maps the file holds, and
// writes them, all under a lock on the file's folder, so games saving at once each keep
// their change; in one try that never waits: Busy, with `error` saying so, while another
// game's save holds the folder. The file is written under a new name in its folder and
// renamed over the old one, which keeps its mode (with reading and writing for its
// owner); a file that is a link is replaced where it points. A file that could not be
// read is first kept beside it as "<file>.bad" (or "<file>.bad.2" and on, so that no
// kept file is replaced) under a second name, so the file's own name always holds the
// old file or the new one. The folder is made when needed. Failed with the reason in
// `error`; the old file is then still in place.
SaveStatus TrySaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                            const SavedMaps& maps, std::string& error,
                            SaveReport* report = nullptr, FileCalls& calls = FileCalls::System());
// The same, trying again while another game saves, for at most kSaveLockPatience.
bool SaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                   const SavedMaps& maps, std::string& error, SaveReport* report = nullptr);

}  // namespace platform
