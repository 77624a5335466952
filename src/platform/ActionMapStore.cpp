#include "platform/ActionMapStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

namespace {

// A map file is a few kilobytes at most; anything far larger is not ours.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;
constexpr std::size_t kMaxDevices = 64;

struct KindName {
  ControlKind kind;
  const char* name;
};
constexpr KindName kControlNames[] = {
    {ControlKind::Key, "key"},           {ControlKind::Button, "button"},
    {ControlKind::Axis, "axis"},         {ControlKind::HatUp, "hatup"},
    {ControlKind::HatRight, "hatright"}, {ControlKind::HatDown, "hatdown"},
    {ControlKind::HatLeft, "hatleft"},
};

const char* ControlKindName(ControlKind kind) {
  for (const KindName& entry : kControlNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "?";
}

std::optional<ControlKind> ControlKindFromName(const std::string& name) {
  for (const KindName& entry : kControlNames) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

std::optional<long long> ParseInteger(const std::string& text, int base) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (base == 16) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
      return std::nullopt;
    }
    first += 2;
  }
  long long value = 0;
  auto [end, ec] = std::from_chars(first, last, value, base);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream stream(line);
  std::string token;
  while (stream >> token) tokens.push_back(token);
  return tokens;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

}  // namespace

std::optional<DeviceKind> KindOfIdentity(const std::string& identity) {
  if (identity == "keyboard") return DeviceKind::Keyboard;
  auto guidOf = [&](const std::string& prefix) -> std::optional<std::string> {
    if (identity.rfind(prefix, 0) != 0) return std::nullopt;
    std::string guid = identity.substr(prefix.size());
    if (guid.empty() || guid.size() > 64) return std::nullopt;
    for (char c : guid) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return guid;
  };
  if (guidOf("gamepad:")) return DeviceKind::Gamepad;
  if (guidOf("joystick:")) return DeviceKind::Joystick;
  return std::nullopt;
}

const SavedDeviceMap* FindSavedMap(const SavedMaps& maps, const std::string& identity) {
  for (const SavedDeviceMap& entry : maps) {
    if (entry.identity == identity) return &entry;
  }
  return nullptr;
}

void PutSavedMap(SavedMaps& maps, const SavedDeviceMap& entry) {
  for (SavedDeviceMap& existing : maps) {
    if (existing.identity == entry.identity) {
      existing.map = entry.map;
      return;
    }
  }
  maps.push_back(entry);
}

std::filesystem::path SavedMapsPath(const std::string& mapName) {
  std::filesystem::path folder;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  // Relative XDG folders are to be ignored.
  if (xdg && xdg[0] == '/') {
    folder = xdg;
  } else if (home && home[0] != '\0') {
    folder = std::filesystem::path(home) / ".config";
  } else {
    return {};
  }
  return folder / "vantrel" / mapName;
}

bool LoadSavedMaps(const std::filesystem::path& file, const ActionFormat& format, SavedMaps& maps,
                   std::string& error) {
  maps.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return true;
  const std::string where = "saved controls \"" + file.string() + "\"";
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) {
    error = where + ": cannot be read (" + ec.message() + ")";
    return false;
  }
  if (size > kMaxFileSize) {
    error = where + ": too large to be a controls file";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), static_cast<std::streamsize>(size))) {
    error = where + ": cannot be read";
    return false;
  }

  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string& what) {
    error = where + ", line " + std::to_string(lineNumber) + ": " + what;
    maps.clear();
    return false;
  };
  auto next = [&]() {
    if (!std::getline(lines, line)) return false;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };

  if (!next() || line != format.mapName) return fail("not a \"" + format.mapName + "\" file");
  if (!next() || line != format.guid) return fail("saved for another action format");

  SavedMaps loaded;
  SavedDeviceMap* current = nullptr;
  std::optional<DeviceKind> currentKind;
  bool ended = false;
  auto closeSection = [&]() -> std::optional<std::string> {
    if (!current) return std::nullopt;
    return CheckActionMap(format, *currentKind, current->map);
  };
  while (next()) {
    const std::vector<std::string> tokens = Tokens(line);
    if (tokens.empty()) continue;
    if (ended) return fail("text after the end line");
    if (tokens[0] == "end" && tokens.size() == 1) {
      if (auto problem = closeSection()) return fail(*problem);
      ended = true;
      continue;
    }
    if (tokens[0] == "device") {
      if (auto problem = closeSection()) return fail(*problem);
      if (tokens.size() != 2) return fail("a device line needs one identity");
      currentKind = KindOfIdentity(tokens[1]);
      if (!currentKind) return fail("unknown device \"" + tokens[1] + "\"");
      if (FindSavedMap(loaded, tokens[1])) return fail("device \"" + tokens[1] + "\" twice");
      if (loaded.size() >= kMaxDevices) return fail("too many devices");
      loaded.push_back({tokens[1], {}});
      current = &loaded.back();
      continue;
    }
    const std::optional<ControlKind> kind = ControlKindFromName(tokens[0]);
    if (!kind) return fail("unknown entry \"" + tokens[0] + "\"");
    if (!current) return fail("a binding before any device");
    if (tokens.size() != 3 && tokens.size() != 4) return fail("a binding needs a control and data");
    const std::optional<long long> index = ParseInteger(tokens[1], 10);
    const std::optional<long long> data = ParseInteger(tokens[2], 16);
    if (!index || *index < 0 || *index > kMaxScancode) return fail("bad control number");
    if (!data || *data < 0 || *data > 0xFFFFFFFFLL) return fail("bad action data");
    Binding binding{{*kind, static_cast<int>(*index)}, static_cast<std::uint32_t>(*data), false};
    if (tokens.size() == 4) {
      if (tokens[3] != "inverted") return fail("unknown option \"" + tokens[3] + "\"");
      binding.inverted = true;
    }
    if (format.IsFixed(binding.data)) return fail("a fixed action cannot be remapped");
    // Each device map holds at most one binding per action, so this bounds the size.
    if (current->map.size() >= format.actions.size()) return fail("too many bindings");
    current->map.push_back(binding);
  }
  if (!ended) return fail("the file ends early (no end line)");
  maps = std::move(loaded);
  return true;
}

bool SaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                   const SavedMaps& maps, std::string& error) {
  const std::string where = "saved controls \"" + file.string() + "\"";
  if (file.empty()) {
    error = "no configuration folder for the saved controls (HOME is not set)";
    return false;
  }
  std::string text = format.mapName + "\n" + format.guid + "\n";
  for (const SavedDeviceMap& entry : maps) {
    text += "device " + entry.identity + "\n";
    for (const Binding& binding : entry.map) {
      if (format.IsFixed(binding.data)) continue;
      text += std::string(ControlKindName(binding.control.kind)) + " " +
              std::to_string(binding.control.index) + " " + Hex(binding.data) +
              (binding.inverted ? " inverted" : "") + "\n";
    }
  }
  text += "end\n";

  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) {
    error = where + ": cannot create its folder (" + ec.message() + ")";
    return false;
  }
  const std::filesystem::path temporary = file.string() + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = where + ": cannot write the temporary file";
    return false;
  }
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    std::filesystem::remove(temporary, ec);
    error = where + ": writing failed";
    return false;
  }
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    error = where + ": cannot replace the old file";
    return false;
  }
  return true;
}

}  // namespace platform
