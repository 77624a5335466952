// Reading, ranking and atomically rewriting the high-score file.
#include "game/data/ScoreFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <utility>

namespace scorefile {
namespace {

namespace fs = std::filesystem;

// A whole file is 44 short lines. Reading stops well past that, so a damaged
// file that is huge, endless or all line breaks costs no more than a proper one.
constexpr int kMaxLines = 2 * kBlocks * (kBlockRows + 1);
constexpr std::size_t kMaxBytes = std::size_t{4} << 20;
// Enough of a line for its value, its TAB and more name than is kept.
constexpr std::size_t kMaxLineKept = 64;

bool IsBlank(const std::string& line) {
  for (const char c : line) {
    if (c != ' ' && c != '\t' && c != '\v' && c != '\f' && c != '\r') return false;
  }
  return true;
}

// "integer TAB rest-of-line": an optional sign, then digits; false for anything
// else, values past int included. CR is never part of the name.
bool ParseEntry(const std::string& line, int& value, std::string& name) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == ' ') ++start;
  const char* first = line.data() + start;
  const char* last = line.data() + line.size();
  // from_chars takes no '+', which the formatted read would; allow it before a digit.
  if (first != last && *first == '+') {
    ++first;
    if (first == last || *first < '0' || *first > '9') return false;
  }
  int parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || end == last || *end != '\t') return false;
  value = parsed;
  name.clear();
  for (const char* c = end + 1; c != last; ++c) {
    if (*c != '\r') name.push_back(*c);
  }
  return true;
}

// The lines of an open file, each cut to its first kMaxLineKept bytes, from
// its first kMaxBytes.
class LineReader {
 public:
  explicit LineReader(int fd) : m_fd(fd) {}

  // False at the end, at the byte limit or on a read error (Error()). `cut`
  // says the line went on past what was kept.
  bool Next(std::string& line, bool& cut) {
    line.clear();
    cut = false;
    bool any = false;
    for (;;) {
      if (m_at == m_size && !Fill()) return any;  // a last line without a break counts
      any = true;
      const char* start = m_buffer + m_at;
      const auto* end = static_cast<const char*>(std::memchr(start, '\n', m_size - m_at));
      const std::size_t length = static_cast<std::size_t>((end ? end : m_buffer + m_size) - start);
      const std::size_t room = kMaxLineKept - line.size();
      line.append(start, std::min(length, room));
      cut = cut || length > room;
      m_at += length;
      if (end) {
        ++m_at;
        return true;
      }
    }
  }
  int Error() const { return m_error; }

 private:
  bool Fill() {
    if (m_total == kMaxBytes || m_error != 0) return false;
    ssize_t n = 0;
    do {
      n = ::read(m_fd, m_buffer, std::min(sizeof m_buffer, kMaxBytes - m_total));
    } while (n < 0 && errno == EINTR);
    if (n < 0) m_error = errno;
    if (n <= 0) return false;
    m_at = 0;
    m_size = static_cast<std::size_t>(n);
    m_total += m_size;
    return true;
  }

  int m_fd;
  char m_buffer[8192];
  std::size_t m_at = 0;
  std::size_t m_size = 0;
  std::size_t m_total = 0;
  int m_error = 0;
};

// Reads block after block: up to ten entry lines, closed by an empty line.
// Empty lines before a block are passed over. Returns the first problem, as
// "line N ...", or "" when there is none.
std::string ReadBlocks(LineReader& reader, ScoreTable& table, int& entries) {
  std::string problem;
  int lineNumber = 0;
  const auto note = [&](const std::string& what) {
    if (problem.empty()) problem = "line " + std::to_string(lineNumber) + " " + what;
  };
  std::string line;
  bool cut = false;
  bool more = true;
  for (int block = 0; block < kBlocks && more; ++block) {
    int row = 0;
    while ((more = lineNumber < kMaxLines && reader.Next(line, cut))) {
      ++lineNumber;
      if (IsBlank(line)) {
        if (row == 0) continue;
        break;
      }
      if (row == kBlockRows) {
        note("is past the ten entries of its block; it is left out");
        continue;
      }
      const int k = block * kBlockRows + row++;
      ++entries;
      int value = 0;
      std::string name;
      if (!ParseEntry(line, value, name)) {
        note("is not a value, a TAB and a name; unreadable entries start empty");
        continue;
      }
      table.values[k] = value;
      if (cut || name.size() > kMaxNameLength) {
        note("has a name longer than " + std::to_string(kMaxNameLength) + " characters; it is cut");
        name.resize(std::min(name.size(), kMaxNameLength));
      }
      table.names[k] = std::move(name);
    }
    if (more && row < kBlockRows) {
      note("closes a block of " + std::to_string(row) + " entries; the rest of it start empty");
    }
  }
  return problem;
}

std::string Folder(const fs::path& path) {
  const fs::path folder = path.parent_path();
  return folder.empty() ? "." : folder.string();
}

// Readers take no lock: the rename shows them the old file or the new one, whole.
platform::SaveStatus Locked(const fs::path& target, const std::string& path,
                            platform::FileCalls& calls, std::string& error,
                            const std::function<platform::SaveStatus(const platform::FolderLock&)>& save) {
  const platform::FolderLock lock(Folder(target), calls);
  switch (lock.Status()) {
    case platform::SaveStatus::Saved:
      return save(lock);
    case platform::SaveStatus::Busy:
      error = path + ": another game is saving its scores";
      return platform::SaveStatus::Busy;
    case platform::SaveStatus::Failed:
      break;
  }
  error = path + ": cannot lock its folder (" + std::strerror(lock.Error()) + ")";
  return platform::SaveStatus::Failed;
}

// Write, with the folder's lock held.
platform::SaveStatus WriteLocked(const fs::path& target, const std::string& path,
                                 const ScoreTable& table, const platform::FolderLock& lock,
                                 platform::FileCalls& calls, std::string& error) {
  platform::Replacement replacement(calls);
  std::string problem;
  if (!replacement.Write(target, Format(table), problem) || !replacement.Commit(lock, problem)) {
    error = path + ": " + problem;
    return platform::SaveStatus::Failed;
  }
  return platform::SaveStatus::Saved;
}

// The file a save replaces: where `path` leads when it is a link.
bool Target(const std::string& path, fs::path& target, std::string& error) {
  std::string problem;
  if (platform::FollowLinks(path, target, problem)) return true;
  error = path + ": cannot be written (" + problem + ")";
  return false;
}

}  // namespace

bool IsTimeBlock(int block) {
  return block % 2 == 1;
}

ScoreTable Placeholders() {
  ScoreTable table;
  for (int k = 0; k < kEntries; ++k) table.values[k] = IsTimeBlock(k / kBlockRows) ? kNoTime : 0;
  return table;
}

Loaded Load(const std::string& path) {
  Loaded loaded{Placeholders(), Found::kFile, "", ""};
  const auto unreadable = [&](const std::string& what, int error) {
    loaded.table = Placeholders();
    loaded.found = Found::kUnreadable;
    loaded.cause = what + (error ? std::string(": ") + std::strerror(error) : "");
    loaded.problem = path + ": " + loaded.cause + "; it shows as empty tables and is never saved over";
    return loaded;
  };
  // Opened without waiting, so that a pipe under this name cannot stall the
  // game before it is turned away.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (error != ENOENT) return unreadable("cannot open the score file", error);
    loaded.found = Found::kNoFile;
    loaded.problem =
        path + ": cannot open the score file: " + std::strerror(error) + "; the tables start empty";
    return loaded;
  }
  struct stat status {};
  const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  LineReader reader(fd);
  int entries = 0;
  const std::string problem = regular ? ReadBlocks(reader, loaded.table, entries) : "";
  ::close(fd);
  if (!regular) return unreadable("not a regular file", 0);
  if (reader.Error() != 0) return unreadable("cannot read the score file", reader.Error());
  if (!problem.empty()) {
    loaded.problem = path + ": " + problem;
  } else if (entries < kEntries) {
    loaded.problem = path + ": only " + std::to_string(entries) + " of " +
                     std::to_string(kEntries) + " entries; the rest start empty";
  }
  return loaded;
}

ScoreTable Read(const std::string& path) {
  Loaded loaded = Load(path);
  if (!loaded.problem.empty()) std::fprintf(stderr, "%s\n", loaded.problem.c_str());
  return std::move(loaded.table);
}

Slots Rank(const ScoreTable& table, bool multiPlayer, int score, int time) {
  Slots slots;
  const int scoreBlock = multiPlayer ? 2 : 0;
  const int timeBlock = scoreBlock + 1;
  for (int r = 0; r < kBlockRows; ++r) {
    const int s = scoreBlock * kBlockRows + r;
    if (slots.score == -1 && score > table.values[s]) slots.score = s;
    const int t = timeBlock * kBlockRows + r;
    if (slots.time == -1 && time < table.values[t]) slots.time = t;
  }
  return slots;
}

void Insert(ScoreTable& table, int slot, int value, const std::string& name) {
  if (slot < 0 || slot >= kEntries) return;
  const int blockEnd = (slot / kBlockRows + 1) * kBlockRows;
  for (int k = blockEnd - 1; k > slot; --k) {
    table.values[k] = table.values[k - 1];
    table.names[k] = table.names[k - 1];
  }
  table.values[slot] = value;
  table.names[slot] = name;
}

std::string CleanName(const std::string& name) {
  std::string clean;
  for (const char c : name) {
    if (clean.size() == kMaxNameLength) break;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter || c == '-' || c == '\'' || c == ' ') clean.push_back(c);
  }
  return clean;
}

std::string Format(const ScoreTable& table) {
  std::string text;
  for (int k = 0; k < kEntries; ++k) {
    text += std::to_string(table.values[k]);
    text += '\t';
    text += table.names[k];
    text += '\n';
    if (k % kBlockRows == kBlockRows - 1) text += '\n';
  }
  return text;
}

std::string TempPath(const std::string& path) {
  return path + ".tmp";
}

bool Write(const std::string& path, const ScoreTable& table, std::string& error,
           platform::FileCalls& calls) {
  fs::path target;
  if (!Target(path, target, error)) return false;
  return platform::RetryWhileBusy([&] {
           return Locked(target, path, calls, error, [&](const platform::FolderLock& lock) {
             return WriteLocked(target, path, table, lock, calls, error);
           });
         }) == platform::SaveStatus::Saved;
}

platform::SaveStatus TrySave(const std::string& path, const Result& result, std::string& error,
                             platform::FileCalls& calls) {
  fs::path target;
  if (!Target(path, target, error)) return platform::SaveStatus::Failed;
  return Locked(target, path, calls, error, [&](const platform::FolderLock& lock) {
    Loaded loaded = Load(target.string());
    if (loaded.found == Found::kUnreadable) {
      error = path + ": " + loaded.cause + "; it is left as it is";
      return platform::SaveStatus::Failed;
    }
    if (!loaded.problem.empty()) std::fprintf(stderr, "%s\n", loaded.problem.c_str());
    const std::string name = CleanName(result.name);
    const Slots slots = Rank(loaded.table, result.multiPlayer, result.score, result.time);
    Insert(loaded.table, slots.score, result.score, name);
    Insert(loaded.table, slots.time, result.time, name);
    return WriteLocked(target, path, loaded.table, lock, calls, error);
  });
}

bool Save(const std::string& path, const Result& result, std::string& error,
          std::chrono::milliseconds patience) {
  return platform::RetryWhileBusy([&] { return TrySave(path, result, error); }, patience) ==
         platform::SaveStatus::Saved;
}

}  // namespace scorefile
