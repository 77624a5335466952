// The high-score file: ranking and insertion, reading damaged files without
// harm, and saves that never lose the old tables.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "game/data/ScoreFile.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using scorefile::ScoreTable;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Block scores 1000, 900, ... 100 named "S<b><r>"; times 100, 200, ... 1000.
ScoreTable Sorted() {
  ScoreTable t;
  for (int k = 0; k < scorefile::kEntries; ++k) {
    const int r = k % 10;
    t.values[k] = scorefile::IsTimeBlock(k / 10) ? (r + 1) * 100 : (10 - r) * 100;
    t.names[k] = "N" + std::to_string(k);
  }
  return t;
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

// A table exactly as a save writes it: four blocks of ten "value<TAB>name"
// lines, each closed by an empty line, scores highest first, times lowest first,
// names the name screen could type.
bool IsWholeTable(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  if (text.empty() || text.back() != '\n' || lines.size() != 44) return false;
  for (int b = 0; b < scorefile::kBlocks; ++b) {
    if (!lines[static_cast<std::size_t>(b * 11 + 10)].empty()) return false;
    int previous = 0;
    for (int r = 0; r < scorefile::kBlockRows; ++r) {
      const std::string& line = lines[static_cast<std::size_t>(b * 11 + r)];
      const std::size_t tab = line.find('\t');
      int value = 0;
      const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
      if (tab == std::string::npos || ec != std::errc() || end != line.data() + tab) return false;
      const std::string name = line.substr(tab + 1);
      if (scorefile::CleanName(name) != name) return false;
      if (r > 0 && (scorefile::IsTimeBlock(b) ? value < previous : value > previous)) return false;
      previous = value;
    }
  }
  return true;
}

TEST(ScoreRanking, StrictlyBetterOnlyAndTheBlockShiftsDown) {
  ScoreTable t = Sorted();
  // Equal to the 10th (100) ranks below it; one more takes row 10.
  EXPECT_EQ(scorefile::Rank(t, false, 100, scorefile::kNoTime).score, -1);
  const scorefile::Slots tenth = scorefile::Rank(t, false, 101, scorefile::kNoTime);
  ASSERT_EQ(tenth.score, 9);
  EXPECT_EQ(tenth.time, -1);  // no time enters where none is above 99999
  scorefile::Insert(t, tenth.score, 101, "Ten");
  EXPECT_EQ(t.values[9], 101);
  EXPECT_EQ(t.names[9], "Ten");
  EXPECT_EQ(t.values[8], 200);

  // A top score moves the whole block down one row and its last leaves.
  t = Sorted();
  scorefile::Insert(t, scorefile::Rank(t, false, 5000, scorefile::kNoTime).score, 5000, "Top");
  EXPECT_EQ(t.values[0], 5000);
  for (int r = 1; r < 10; ++r) EXPECT_EQ(t.names[r], "N" + std::to_string(r - 1));
  EXPECT_EQ(t.names[10], "N10");  // the next block is untouched
}

TEST(ScoreRanking, OnlyTheBlocksOfTheGamesKind) {
  const ScoreTable t = Sorted();
  const scorefile::Slots single = scorefile::Rank(t, false, 950, 150);
  EXPECT_EQ(single.score, 1);
  EXPECT_EQ(single.time, 11);
  const scorefile::Slots multi = scorefile::Rank(t, true, 950, 150);
  EXPECT_EQ(multi.score, 21);
  EXPECT_EQ(multi.time, 31);
  // 99999 enters a time block only where a stored time is above it.
  ScoreTable slow = t;
  slow.values[39] = 100000;
  EXPECT_EQ(scorefile::Rank(slow, true, 0, scorefile::kNoTime).time, 39);
  EXPECT_EQ(scorefile::Rank(slow, false, 0, scorefile::kNoTime).time, -1);
}

TEST(ScoreNames, OnlyWhatTheNameScreenCanType) {
  EXPECT_EQ(scorefile::CleanName("O'Neil-Ray"), "O'Neil-Ra");
  EXPECT_EQ(scorefile::CleanName("a\tb\nc\rd"), "abcd");
  EXPECT_EQ(scorefile::CleanName("  x  "), "  x  ");
  EXPECT_EQ(scorefile::CleanName(""), "");
}

class ScoreFileTest : public ::testing::Test {
 protected:
  std::string File() const { return (m_dir / scorefile::kFileName).string(); }
  // Whatever else the folder holds: a save leaves nothing of its own behind.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir.Path())) {
      if (entry.path().filename() != scorefile::kFileName) {
        names.push_back(entry.path().filename().string());
      }
    }
    return names;
  }
  testsupport::TempDir m_dir;
};

TEST_F(ScoreFileTest, RoundTripKeepsSpacesApostrophesEmptyNamesAndNegatives) {
  ScoreTable t = Sorted();
  t.names[0] = "Mo 'Jo";
  t.names[1] = "";
  t.values[2] = -42;
  t.names[3] = " lead";
  std::string error;
  ASSERT_TRUE(scorefile::Write(File(), t, error)) << error;
  const std::string text = Slurp(File());
  EXPECT_EQ(CountLines(text), 44);
  EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1) + 1), "1000\tMo 'Jo\n900\t\n");
  testing::internal::CaptureStderr();
  const ScoreTable back = scorefile::Read(File());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(back.values, t.values);
  EXPECT_EQ(back.names, t.names);
  EXPECT_FALSE(fs::exists(scorefile::TempPath(File())));
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ScoreFileTest, DamagedFilesKeepWhatReadsAndSayWhereItWentWrong) {
  const std::string good = scorefile::Format(Sorted());
  const std::string firstLines = "1000\tAce\n900\tBee\n";
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const struct {
    const char* name;
    std::string bytes;   // null: no file
    bool exists;
    int keptEntries;     // leading entries read as written
    const char* message; // part of the one message, or "" for none
  } cases[] = {
      {"Missing", "", false, 0, "cannot open"},
      {"Empty", "", true, 0, "only 0 of 40"},
      {"CutMidLine", firstLines + "800", true, 2, "line 3"},
      {"NoTab", firstLines + "800 Cee\n", true, 2, "line 3"},
      {"NotANumber", firstLines + "lots\tCee\n", true, 2, "line 3"},
      {"OutOfRange", firstLines + "99999999999\tCee\n", true, 2, "line 3"},
      {"Crlf", "1000\tAce\r\n900\tBee\r\n", true, 2, "only 2 of 40"},
      {"LongLine", firstLines + std::string(10000, '7') + "\n", true, 2, "line 3"},
      {"RandomBytes", noise, true, 0, "line"},
      {"Whole", good, true, 40, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(File());
    if (c.exists) Spit(File(), c.bytes);
    testing::internal::CaptureStderr();
    const ScoreTable t = scorefile::Read(File());
    const std::string err = testing::internal::GetCapturedStderr();
    if (*c.message) {
      EXPECT_NE(err.find(scorefile::kFileName), std::string::npos) << err;
      EXPECT_NE(err.find(c.message), std::string::npos) << err;
      EXPECT_EQ(CountLines(err), 1) << err;
    } else {
      EXPECT_EQ(err, "");
    }
    if (c.keptEntries >= 2 && c.keptEntries < 40) {
      EXPECT_EQ(t.names[0], "Ace");  // no '\r' in a name
      EXPECT_EQ(t.names[1], "Bee");
      EXPECT_EQ(t.values[1], 900);
    }
    // Whatever could not be read is a placeholder.
    const ScoreTable empty = scorefile::Placeholders();
    if (c.keptEntries == 0 && std::string(c.name) != "RandomBytes") {
      EXPECT_EQ(t.values, empty.values);
    }
    for (int k = std::max(c.keptEntries, 3); k < 40 && c.keptEntries < 40; ++k) {
      if (std::string(c.name) == "RandomBytes") break;
      EXPECT_EQ(t.values[k], empty.values[k]) << k;
      EXPECT_EQ(t.names[k], "") << k;
    }
  }
}

// A rename that fails as one across file systems would.
class FailRename : public platform::FileCalls {
 public:
  int Rename(const char*, const char*) override {
    errno = EXDEV;
    return -1;
  }
};

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = scorefile::Format(Sorted());
  ScoreTable changed = Sorted();
  changed.names[0] = "New";
  const std::string temp = scorefile::TempPath(File());
  const struct {
    const char* name;
    void (*arrange)(const std::string& temp, const fs::path& dir);
    bool tempIsFolder;
  } cases[] = {
      // A folder no longer stands in a save's way (each takes a name of its own),
      // but is left alone by one that fails.
      {"FolderAtTheOldTemporaryNameAndTheRenameFails",
       [](const std::string& t, const fs::path&) { fs::create_directory(t); }, true},
      {"RenameFails", [](const std::string&, const fs::path&) {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Spit(File(), old);
    c.arrange(temp, m_dir.Path());
    std::string error;
    FailRename failRename;
    EXPECT_FALSE(scorefile::Write(File(), changed, error, failRename));
    EXPECT_NE(error.find(scorefile::kFileName), std::string::npos) << error;
    EXPECT_EQ(Slurp(File()), old);
    EXPECT_EQ(fs::is_directory(temp), c.tempIsFolder);
    if (!c.tempIsFolder) {
      EXPECT_FALSE(fs::exists(temp));
    }
    EXPECT_EQ(Leftovers().size(), c.tempIsFolder ? 1u : 0u);
    fs::remove_all(temp);
  }
}

TEST_F(ScoreFileTest, AReadOnlyFolderFailsTheSaveAndKeepsTheFile) {
  const std::string old = scorefile::Format(Sorted());
  Spit(File(), old);
  ::chmod(m_dir.Path().c_str(), 0555);
  EXPECT_TRUE(testsupport::AsOrdinaryUser(m_dir.Path(), [&] {
    std::string error;
    if (!scorefile::Write(File(), scorefile::Placeholders(), error)) return true;
    std::fprintf(stderr, "the save into a read-only folder reported success\n");
    return false;
  }));
  ::chmod(m_dir.Path().c_str(), 0755);
  EXPECT_EQ(Slurp(File()), old);
  EXPECT_FALSE(fs::exists(scorefile::TempPath(File())));
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ScoreFileTest, ALeftoverTemporaryFileIsWrittenOver) {
  Spit(scorefile::TempPath(File()), "half a save from a crash");
  Spit(scorefile::TempPath(File()) + ".k1Lled9x", "half a save from a kill");
  std::string error;
  ASSERT_TRUE(scorefile::Write(File(), Sorted(), error)) << error;
  EXPECT_EQ(Slurp(File()), scorefile::Format(Sorted()));
  EXPECT_FALSE(fs::exists(scorefile::TempPath(File())));
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ScoreFileTest, WhateverStandsAtTheOldTemporaryNameIsNeitherWrittenThroughNorInTheWay) {
  const std::string old = scorefile::Format(Sorted());
  const std::string temp = scorefile::TempPath(File());
  testsupport::TempDir elsewhere;
  const fs::path victim = elsewhere / "victim";
  const struct {
    const char* name;
    void (*arrange)(const std::string& temp, const fs::path& victim);
  } cases[] = {
      {"ALinkToAnotherFile",
       [](const std::string& t, const fs::path& v) { fs::create_symlink(v, t); }},
      {"ALinkToNothing",
       [](const std::string& t, const fs::path& v) {
         fs::create_symlink(v.parent_path() / "nothing", t);
       }},
      {"AFolder", [](const std::string& t, const fs::path&) { fs::create_directory(t); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Spit(File(), old);
    Spit(victim, "not a score file");
    c.arrange(temp, victim);
    std::string error;
    EXPECT_TRUE(scorefile::Save(File(), {false, 5000, scorefile::kNoTime, "New"}, error)) << error;
    EXPECT_EQ(Slurp(victim), "not a score file");
    EXPECT_FALSE(fs::exists(elsewhere / "nothing"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(File())));
    EXPECT_EQ(scorefile::Read(File()).names[0], "New");
    fs::remove(temp);
  }
}

TEST_F(ScoreFileTest, AScoreFileThatIsALinkIsReplacedWhereItPoints) {
  testsupport::TempDir kept;
  const fs::path target = kept / "scores";
  const struct {
    const char* name;
    fs::path link;
    bool targetExists;
  } cases[] = {
      {"Absolute", target, true},
      {"Relative", fs::relative(target, m_dir.Path()), true},
      {"Dangling", target, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(File());
    fs::remove(target);
    if (c.targetExists) Spit(target, scorefile::Format(Sorted()));
    fs::create_symlink(c.link, File());
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(scorefile::Save(File(), {false, 5000, scorefile::kNoTime, "New"}, error)) << error;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fs::read_symlink(File()), c.link);
    const ScoreTable t = scorefile::Read(target.string());
    EXPECT_EQ(t.names[0], "New");
    EXPECT_EQ(t.names[1], c.targetExists ? "N0" : "");
  }
}

TEST_F(ScoreFileTest, AFileThatExistsButCannotBeReadIsLeftAlone) {
  const std::string old = scorefile::Format(Sorted());
  Spit(File(), old);
  ::chmod(File().c_str(), 0);
  EXPECT_TRUE(testsupport::AsOrdinaryUser(m_dir.Path(), [&] {
    const std::string reason = std::strerror(EACCES);
    testing::internal::CaptureStderr();
    const ScoreTable shown = scorefile::Read(File());
    std::string error;
    const bool saved = scorefile::Save(File(), {false, 5000, scorefile::kNoTime, "New"}, error);
    const std::string said = testing::internal::GetCapturedStderr();
    const bool sound = shown.values == scorefile::Placeholders().values &&
                       said.find(File()) != std::string::npos &&
                       said.find(reason) != std::string::npos && !saved &&
                       error.find(File()) != std::string::npos &&
                       error.find(reason) != std::string::npos;
    if (!sound) {
      std::fprintf(stderr, "the read said: %s\nthe save %s: %s\n", said.c_str(),
                   saved ? "went through" : "failed", error.c_str());
    }
    return sound;
  }));
  ::chmod(File().c_str(), 0644);
  EXPECT_EQ(Slurp(File()), old);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ScoreFileTest, TwoGamesSavingAtOnceEachLandWholeAndNoneIsLost) {
  Spit(File(), scorefile::Format(scorefile::Placeholders()));
  constexpr int kSaves = 300;
  // Game g saves the scores 1000 + 2i + g and the times 5000 - 2i - g, so the
  // last saves of both games are the best of all.
  const auto game = [this](int g) {
    return [this, g] {
      for (int i = 0; i < kSaves; ++i) {
        const scorefile::Result result{false, 1000 + 2 * i + g, 5000 - 2 * i - g, g ? "Bee" : "Ay"};
        std::string error;
        if (!scorefile::Save(File(), result, error)) {
          std::fprintf(stderr, "game %d, save %d: %s\n", g, i, error.c_str());
          return false;
        }
      }
      return true;
    };
  };
  testsupport::ChildProcess first(game(0));
  testsupport::ChildProcess second(game(1));
  int samples = 0;
  int torn = 0;
  std::string firstTorn;
  while (first.Running() || second.Running()) {
    const std::string text = Slurp(File());
    ++samples;
    if (!IsWholeTable(text) && torn++ == 0) firstTorn = text;
  }
  EXPECT_TRUE(first.Succeeded());
  EXPECT_TRUE(second.Succeeded());
  EXPECT_EQ(torn, 0) << "of " << samples << " samples; the first:\n" << firstTorn;
  const ScoreTable t = scorefile::Read(File());
  for (int r = 0; r < scorefile::kBlockRows; ++r) {
    EXPECT_EQ(t.values[r], 1000 + 2 * kSaves - 1 - r) << r;
    EXPECT_EQ(t.values[10 + r], 5000 - 2 * kSaves + 1 + r) << r;
  }
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ScoreFileTest, OnlyARegularFileIsReadAndNothingElseIsReplaced) {
  const std::string table = scorefile::Format(Sorted());
  // Each returns a descriptor to hold open while the file is read, or -1.
  const struct {
    const char* name;
    int (*arrange)(const std::string& path, const std::string& table);
    fs::file_type type;
  } cases[] = {
      {"AFifoSomeoneWritesTo",
       [](const std::string& path, const std::string& table) {
         ::mkfifo(path.c_str(), 0644);
         const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
         EXPECT_EQ(::write(fd, table.data(), table.size()), static_cast<ssize_t>(table.size()));
         return fd;
       },
       fs::file_type::fifo},
      {"AFolder",
       [](const std::string& path, const std::string&) {
         fs::create_directory(path);
         return -1;
       },
       fs::file_type::directory},
      // Last: a reader that waits for a writer never comes back from this one.
      {"AFifoNobodyWritesTo",
       [](const std::string& path, const std::string&) {
         ::mkfifo(path.c_str(), 0644);
         return -1;
       },
       fs::file_type::fifo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int writer = c.arrange(File(), table);
    testing::internal::CaptureStderr();
    const ScoreTable shown = scorefile::Read(File());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown.values, scorefile::Placeholders().values);
    EXPECT_NE(said.find(File()), std::string::npos) << said;
    EXPECT_NE(said.find("not a regular file"), std::string::npos) << said;
    // A reader that took the table out of the pipe finds another for the save.
    if (writer >= 0) {
      EXPECT_GT(::write(writer, table.data(), table.size()), 0);
    }
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scorefile::Save(File(), {false, 5000, scorefile::kNoTime, "New"}, error));
    testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find(File()), std::string::npos) << error;
    EXPECT_EQ(fs::symlink_status(File()).type(), c.type);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    if (writer >= 0) ::close(writer);
    fs::remove_all(File());
  }
}

TEST_F(ScoreFileTest, NamesAreCutToWhatTheNameScreenHoldsAndReadingStops) {
  ScoreTable t = Sorted();
  t.names[0] = std::string(1000000, 'A');
  t.names[1] = "Christopher";
  t.names[25] = std::string(100000, 'z');
  Spit(File(), scorefile::Format(t));
  testing::internal::CaptureStderr();
  const ScoreTable back = scorefile::Read(File());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("line 1 "), std::string::npos) << said;
  EXPECT_EQ(back.values, t.values);  // the long lines spoil nothing after them
  t.names[0] = "AAAAAAAAA";
  t.names[1] = "Christoph";
  t.names[25] = "zzzzzzzzz";
  EXPECT_EQ(back.names, t.names);
  std::string error;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(scorefile::Save(File(), {false, 0, scorefile::kNoTime, ""}, error)) << error;
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Slurp(File()), scorefile::Format(t));

  // Reading stops well before the end of a file of nothing but line breaks.
  Spit(File(), std::string(1000000, '\n') + scorefile::Format(Sorted()));
  testing::internal::CaptureStderr();
  EXPECT_EQ(scorefile::Read(File()).values, scorefile::Placeholders().values);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("only 0 of 40"), std::string::npos);
}

TEST_F(ScoreFileTest, EachBlockIsReadAsABlockSoADamagedLineSpoilsNoOtherTable) {
  const std::vector<std::string> good = Lines(scorefile::Format(Sorted()));
  const auto edited = [&good](std::size_t at, int remove, std::vector<std::string> insert) {
    std::vector<std::string> lines = good;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at),
                lines.begin() + static_cast<std::ptrdiff_t>(at) + remove);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), insert.begin(), insert.end());
    return Joined(lines);
  };
  std::string noLastBreak = Joined(good);
  noLastBreak.pop_back();
  const struct {
    const char* name;
    std::string bytes;
    std::vector<int> firstBlock;  // the rows of block 0 by their index in Sorted(); -1: placeholder
    const char* message;          // part of the one message, or "" for none
  } cases[] = {
      {"AnExtraEntryNearTheTop",
       edited(2, 0, {"950\tExtra"}),
       {0, 1, 99, 2, 3, 4, 5, 6, 7, 8},
       "line 11"},
      {"AMissingEntryNearTheTop", edited(2, 1, {}), {0, 1, 3, 4, 5, 6, 7, 8, 9, -1}, "line 10"},
      {"ADamagedLine", edited(2, 1, {"lots\tCee"}), {0, 1, -1, 3, 4, 5, 6, 7, 8, 9}, "line 3"},
      {"AnExtraEmptyLineBetweenBlocks", edited(11, 0, {""}), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, ""},
      {"NoBreakAfterTheLastLine", noLastBreak, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, ""},
  };
  const ScoreTable sorted = Sorted();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Spit(File(), c.bytes);
    testing::internal::CaptureStderr();
    const ScoreTable t = scorefile::Read(File());
    const std::string said = testing::internal::GetCapturedStderr();
    if (*c.message) {
      EXPECT_NE(said.find(c.message), std::string::npos) << said;
      EXPECT_EQ(CountLines(said), 1) << said;
    } else {
      EXPECT_EQ(said, "");
    }
    for (int r = 0; r < scorefile::kBlockRows; ++r) {
      const int from = c.firstBlock[static_cast<std::size_t>(r)];
      const int value = from == 99 ? 950 : from < 0 ? 0 : sorted.values[from];
      const std::string name = from == 99 ? "Extra" : from < 0 ? "" : sorted.names[from];
      EXPECT_EQ(t.values[r], value) << r;
      EXPECT_EQ(t.names[r], name) << r;
    }
    for (int k = scorefile::kBlockRows; k < scorefile::kEntries; ++k) {
      EXPECT_EQ(t.values[k], sorted.values[k]) << k;
      EXPECT_EQ(t.names[k], sorted.names[k]) << k;
    }
  }
}

TEST_F(ScoreFileTest, AValueIsASignAndDigitsAndACarriageReturnIsNoPartOfAName) {
  const std::vector<std::string> rest = Lines(scorefile::Format(Sorted()));
  const struct {
    const char* line;
    bool reads;
    int value;
    const char* name;
  } cases[] = {
      {"5\tab\r\r", true, 5, "ab"},     {"5\ta\rb", true, 5, "ab"},   {"+5\tPlus", true, 5, "Plus"},
      {"-5\tMinus", true, -5, "Minus"}, {"+-5\tSigns", false, 0, ""}, {"-+5\tSigns", false, 0, ""},
      {"+\tNoDigits", false, 0, ""},    {"- 5\tGap", false, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> lines = rest;
    lines[0] = c.line;
    Spit(File(), Joined(lines));
    testing::internal::CaptureStderr();
    const ScoreTable t = scorefile::Read(File());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.values[0], c.value);
    EXPECT_EQ(t.names[0], c.name);
    EXPECT_EQ(said.empty(), c.reads) << said;
    EXPECT_EQ(said.find("line 1 ") != std::string::npos, !c.reads) << said;
    // What reads is what a save writes back: a read after a save finds the same.
    std::string error;
    ASSERT_TRUE(scorefile::Write(File(), t, error)) << error;
    const ScoreTable again = scorefile::Read(File());
    EXPECT_EQ(again.values, t.values);
    EXPECT_EQ(again.names, t.names);
  }
}

}  // namespace
