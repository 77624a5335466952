#include "platform/ActionMapStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/FileSave.h"
#include "platform/WriteAll.h"

namespace platform {

namespace {

// A map file is a few kilobytes at most; anything far larger is not ours.
constexpr std::size_t kMaxFileSize = 64 * 1024;
constexpr std::size_t kMaxDevices = 64;
// A file that could not be read is kept aside; a copy, where one is needed, is
// made of at most this much, and at most this many are kept.
constexpr std::size_t kMaxKeptSize = 16 * 1024 * 1024;
constexpr int kMaxKeptCopies = 100;

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

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(Descriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Closes it now: a close can fail, and a file being written must say so.
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

std::string Reason(int error) {
  return std::strerror(error);
}

enum class FileRead { Read, Missing, Failed };

// The whole file, when it is a regular file of at most `limit` bytes. A pipe or
// device is never opened: reading one could block or have effects.
FileRead ReadSmallFile(const std::filesystem::path& file, std::string& text, std::string& problem,
                       std::size_t limit = kMaxFileSize) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    if (errno == ENOENT) return FileRead::Missing;
    problem = "cannot be read (" + Reason(errno) + ")";
    return FileRead::Failed;
  }
  if (S_ISDIR(info.st_mode)) {
    problem = "cannot be read (" + Reason(EISDIR) + ")";
    return FileRead::Failed;
  }
  if (!S_ISREG(info.st_mode)) {
    problem = "cannot be read (not a regular file)";
    return FileRead::Failed;
  }
  Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!in.IsOpen()) {
    problem = "cannot be read (" + Reason(errno) + ")";
    return FileRead::Failed;
  }
  // Read to one byte past the limit, so a file that grew since the check still shows.
  text.assign(limit + 1, '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(in.Get(), text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      problem = "cannot be read (" + Reason(errno) + ")";
      return FileRead::Failed;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > limit) {
    problem = "too large to be a controls file";
    return FileRead::Failed;
  }
  text.resize(got);
  return FileRead::Read;
}

// A copy of `from` as `to`, a new file of its own, synced to the disk; for folders
// where a second name cannot be given.
bool CopyAside(const std::filesystem::path& from, const std::filesystem::path& to,
               FileCalls& calls) {
  std::string text;
  std::string problem;
  if (ReadSmallFile(from, text, problem, kMaxKeptSize) != FileRead::Read) {
    errno = EACCES;
    return false;
  }
  Descriptor out(
      calls.Open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!out.IsOpen()) return false;
  if (WriteAll(out.Get(), text.data(), text.size()) && calls.Sync(out.Get()) == 0 && out.Close()) {
    return true;
  }
  const int error = errno;
  ::unlink(to.c_str());
  errno = error;
  return false;
}

// Keeps the file a save is about to replace under a name of its own beside it,
// "<file>.bad", or "<file>.bad.2" and on when an earlier one is kept: a second name
// for the same file (or a copy), so the file's own name is never without a file and
// no copy kept earlier is replaced. The name it took, or empty with errno.
std::filesystem::path KeepAside(const std::filesystem::path& file, FileCalls& calls) {
  for (int n = 1; n <= kMaxKeptCopies; ++n) {
    const std::filesystem::path kept =
        file.string() + ".bad" + (n == 1 ? std::string() : "." + std::to_string(n));
    if (calls.Link(file.c_str(), kept.c_str()) == 0) return kept;
    if (errno == EEXIST) continue;
    // A folder that takes no second names gets a copy.
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK) return {};
    if (CopyAside(file, kept, calls)) return kept;
    if (errno != EEXIST) return {};
  }
  errno = EEXIST;
  return {};
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
  const std::string where = "saved controls \"" + file.string() + "\"";
  std::string text;
  std::string problem;
  switch (ReadSmallFile(file, text, problem)) {
    case FileRead::Missing:
      return true;
    case FileRead::Failed:
      error = where + ": " + problem;
      return false;
    case FileRead::Read:
      break;
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

SaveStatus TrySaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                            const SavedMaps& maps, std::string& error, SaveReport* report,
                            FileCalls& calls) {
  if (file.empty()) {
    error = "no configuration folder for the saved controls (HOME is not set)";
    return SaveStatus::Failed;
  }
  std::string where = "saved controls \"" + file.string() + "\"";
  std::filesystem::path target;
  std::string problem;
  if (!FollowLinks(file, target, problem)) {
    error = where + ": cannot be written (" + problem + ")";
    return SaveStatus::Failed;
  }
  if (target != file) where += " (\"" + target.string() + "\")";
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = where + ": cannot create its folder (" + ec.message() + ")";
    return SaveStatus::Failed;
  }

  // Another game saving now holds this, and each one merges into what the other wrote.
  const FolderLock lock(folder, calls);
  if (lock.Status() == SaveStatus::Busy) {
    error = where + ": another game is saving its controls";
    return SaveStatus::Busy;
  }
  if (lock.Status() != SaveStatus::Saved) {
    error = where + ": cannot lock its folder (" + Reason(lock.Error()) + ")";
    return SaveStatus::Failed;
  }

  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (!replacing && errno != ENOENT) {
    error = where + ": cannot be written (" + Reason(errno) + ")";
    return SaveStatus::Failed;
  }
  if (replacing && S_ISDIR(old.st_mode)) {
    error = where + ": cannot be written (" + Reason(EISDIR) + ")";
    return SaveStatus::Failed;
  }
  SavedMaps merged;
  const bool unreadable = replacing && !LoadSavedMaps(target, format, merged, problem);
  for (const SavedDeviceMap& entry : maps) PutSavedMap(merged, entry);

  std::string text = format.mapName + "\n" + format.guid + "\n";
  for (const SavedDeviceMap& entry : merged) {
    text += "device " + entry.identity + "\n";
    for (const Binding& binding : entry.map) {
      if (format.IsFixed(binding.data)) continue;
      text += std::string(ControlKindName(binding.control.kind)) + " " +
              std::to_string(binding.control.index) + " " + Hex(binding.data) +
              (binding.inverted ? " inverted" : "") + "\n";
    }
  }
  text += "end\n";

  Replacement replacement(calls);
  std::string failure;
  if (!replacement.Write(target, text, failure)) {
    error = where + ": " + failure;
    return SaveStatus::Failed;
  }
  std::string notice;
  if (unreadable) {
    // The player's other devices are in there: kept for whoever can mend it.
    const std::filesystem::path kept = KeepAside(target, calls);
    if (kept.empty()) {
      error = where + ": cannot keep the unreadable file aside (" + Reason(errno) + ")";
      return SaveStatus::Failed;
    }
    notice = problem + "; it is kept as \"" + kept.string() + "\"";
  }
  if (!replacement.Commit(lock, failure)) {
    error = where + ": " + failure;
    return SaveStatus::Failed;
  }
  if (report != nullptr) {
    report->stored = std::move(merged);
    report->notice = std::move(notice);
  }
  return SaveStatus::Saved;
}

bool SaveSavedMaps(const std::filesystem::path& file, const ActionFormat& format,
                   const SavedMaps& maps, std::string& error, SaveReport* report) {
  return RetryWhileBusy([&] {
           return TrySaveSavedMaps(file, format, maps, error, report);
         }) == SaveStatus::Saved;
}

}  // namespace platform
