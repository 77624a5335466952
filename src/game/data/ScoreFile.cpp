// Reading, ranking and atomically rewriting the high-score file.
#include "game/data/ScoreFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace scorefile {
namespace {

bool IsBlank(const std::string& line) {
  for (const char c : line) {
    if (c != ' ' && c != '\t' && c != '\v' && c != '\f') return false;
  }
  return true;
}

// "integer TAB rest-of-line"; false for anything else, values past int included.
bool ParseEntry(const std::string& line, int& value, std::string& name) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == ' ') ++start;
  const char* first = line.data() + start;
  const char* last = line.data() + line.size();
  // from_chars takes no '+', which the formatted read would; allow it.
  if (first != last && *first == '+') ++first;
  int parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || end == last || *end != '\t') return false;
  value = parsed;
  name.assign(end + 1, last);
  return true;
}

int WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Makes the rename itself durable; a folder that cannot be synced still holds
// a whole file, old or new, so failure here is not reported.
void SyncFolder(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
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

ScoreTable Read(const std::string& path) {
  ScoreTable table = Placeholders();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot open the score file; the tables start empty\n", path.c_str());
    return table;
  }

  int entry = 0;
  int lineNumber = 0;
  int firstBad = 0;
  std::string line;
  while (entry < kEntries && std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // The empty line after each block, or any other, is skipped as white space.
    if (IsBlank(line)) continue;
    int value = 0;
    std::string name;
    if (ParseEntry(line, value, name)) {
      table.values[entry] = value;
      table.names[entry] = std::move(name);
    } else if (firstBad == 0) {
      firstBad = lineNumber;
    }
    ++entry;
  }

  if (firstBad != 0) {
    std::fprintf(stderr, "%s: line %d is not a value, a TAB and a name; unreadable entries start empty\n",
                 path.c_str(), firstBad);
  } else if (entry < kEntries) {
    std::fprintf(stderr, "%s: only %d of %d entries; the rest start empty\n", path.c_str(), entry,
                 kEntries);
  }
  return table;
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
           RenameFn rename) {
  const std::string temp = TempPath(path);
  // A temporary file left by an interrupted save is simply written over.
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = std::string("cannot create ") + temp + ": " + std::strerror(errno);
    return false;
  }
  int failure = WriteAll(fd, Format(table));
  if (failure == 0 && ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0) {
    if ((rename ? rename : &std::rename)(temp.c_str(), path.c_str()) == 0) {
      SyncFolder(path);
      return true;
    }
    failure = errno != 0 ? errno : EIO;
    error = std::string("cannot replace ") + path + ": " + std::strerror(failure);
  } else {
    error = std::string("cannot write ") + temp + ": " + std::strerror(failure);
  }
  ::unlink(temp.c_str());
  return false;
}

bool Save(const std::string& path, const Result& result, std::string& error) {
  const std::string name = CleanName(result.name);
  ScoreTable table = Read(path);
  const Slots slots = Rank(table, result.multiPlayer, result.score, result.time);
  Insert(table, slots.score, result.score, name);
  Insert(table, slots.time, result.time, name);
  return Write(path, table, error);
}

}  // namespace scorefile
