// The high-score file "Scores.vths": four blocks of ten entries (single-player
// scores, single-player times, multi-player scores, multi-player times), each
// line a value, a TAB and a name, each block followed by an empty line.
//
// Reading never fails: whatever cannot be read becomes a placeholder entry and
// is reported once. Writing replaces the file in one step, so a failed or
// interrupted save leaves the old tables whole; a save holds a lock on the
// folder from its read to its rename, so games saving at once take turns. A
// score file that is a symbolic link is replaced where the link points.
#pragma once

#include <array>
#include <string>

#include "platform/FileSave.h"

namespace scorefile {

inline constexpr const char* kFileName = "Scores.vths";
inline constexpr int kBlockRows = 10;
inline constexpr int kBlocks = 4;
inline constexpr int kEntries = kBlockRows * kBlocks;
// The time of a player who has none to show.
inline constexpr int kNoTime = 99999;
inline constexpr std::size_t kMaxNameLength = 9;

// Entry k of the file at index k: block b, row r at 10b + r.
struct ScoreTable {
  std::array<int, kEntries> values{};
  std::array<std::string, kEntries> names;
};

// Every block empty: scores 0, times kNoTime, no names.
ScoreTable Placeholders();
bool IsTimeBlock(int block);

// What a read found at the path.
enum class Found {
  kFile,        // a regular file, read whole or in part
  kNoFile,      // nothing: the tables start empty and a save creates the file
  kUnreadable,  // something that cannot be read: shown empty, never saved over
};

struct Loaded {
  ScoreTable table;
  Found found = Found::kFile;
  // The one message on what could not be read, naming the file; empty if none.
  std::string problem;
  // Why an unreadable file could not be read, without the file's name.
  std::string cause;
};

// The table as the file holds it, each block read up to the empty line that
// closes it, so a damaged line spoils only its own entry (a placeholder) and
// an extra or missing line only its own block. Names are cut to
// kMaxNameLength and lose any CR. Reading stops after the four blocks, or
// after a bounded number of lines and bytes in a damaged file.
Loaded Load(const std::string& path);
// The same, with the problem, if any, on stderr.
ScoreTable Read(const std::string& path);

// The rows a result would take in the two blocks of its kind, -1 where it
// beats nothing. A result equal to a stored value ranks below it.
struct Slots {
  int score = -1;
  int time = -1;
};
Slots Rank(const ScoreTable& table, bool multiPlayer, int score, int time);

// Puts the entry at `slot`, moving the rest of its block down one row; the
// block's last entry falls off.
void Insert(ScoreTable& table, int slot, int value, const std::string& name);

// What the name screen can type: at most 9 of A-Z, a-z, '-', '\'' and space;
// anything else is dropped.
std::string CleanName(const std::string& name);

// The 44 lines of the file.
std::string Format(const ScoreTable& table);

// Under the folder's lock, writes the table to a new temporary file beside
// `path`, syncs it to the disk and renames it over `path`, waiting for another
// game's save at most platform::kSaveLockPatience. On failure the old file stays
// as it was, the temporary file is removed, `error` says why and false comes
// back.
bool Write(const std::string& path, const ScoreTable& table, std::string& error,
           platform::FileCalls& calls = platform::FileCalls::System());

// The start of the temporary files' names; a save gives each its own ending.
// What an interrupted save left under such a name goes at a later save, once
// the process that left it no longer runs.
std::string TempPath(const std::string& path);

// A finished player's result: it enters the blocks of its kind where it ranks.
struct Result {
  bool multiPlayer = false;
  int score = 0;
  int time = kNoTime;
  std::string name;  // cleaned to what the name screen can type
};

// Under the folder's lock, reads the tables at `path`, puts the result where
// it ranks and writes them back, in one try that never waits: Busy, with
// `error` saying so, while another game's save holds the folder. Failed, with
// `error` naming the file and saying why, when the file was not replaced; a
// file that exists but cannot be read is left as it is.
platform::SaveStatus TrySave(const std::string& path, const Result& result, std::string& error,
                             platform::FileCalls& calls = platform::FileCalls::System());
// The same, trying again while another game saves, for at most `patience`.
bool Save(const std::string& path, const Result& result, std::string& error,
          std::chrono::milliseconds patience = platform::kSaveLockPatience);

}  // namespace scorefile
