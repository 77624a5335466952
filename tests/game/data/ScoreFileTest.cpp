// The high-score file: ranking and insertion, reading damaged files without
// harm, and saves that never lose the old tables.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "game/data/ScoreFile.h"
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

int FailRename(const char*, const char*) {
  errno = EXDEV;
  return -1;
}

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = scorefile::Format(Sorted());
  ScoreTable changed = Sorted();
  changed.names[0] = "New";
  const std::string temp = scorefile::TempPath(File());
  const struct {
    const char* name;
    void (*arrange)(const std::string& temp, const fs::path& dir);
    scorefile::RenameFn rename;
    bool tempIsFolder;
  } cases[] = {
      {"FolderInTheWayOfTheTemporaryFile",
       [](const std::string& t, const fs::path&) { fs::create_directory(t); }, nullptr, true},
      {"RenameFails", [](const std::string&, const fs::path&) {}, &FailRename, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Spit(File(), old);
    c.arrange(temp, m_dir.Path());
    std::string error;
    EXPECT_FALSE(scorefile::Write(File(), changed, error, c.rename));
    EXPECT_NE(error.find(scorefile::kFileName), std::string::npos) << error;
    EXPECT_EQ(Slurp(File()), old);
    EXPECT_EQ(fs::is_directory(temp), c.tempIsFolder);
    if (!c.tempIsFolder) {
      EXPECT_FALSE(fs::exists(temp));
    }
    fs::remove_all(temp);
  }
}

TEST_F(ScoreFileTest, AReadOnlyFolderFailsTheSaveAndKeepsTheFile) {
  const std::string old = scorefile::Format(Sorted());
  Spit(File(), old);
  ::chmod(m_dir.Path().c_str(), 0555);
  const bool rootWrites = ::access(m_dir.Path().c_str(), W_OK) == 0;
  std::string error;
  const bool saved = rootWrites || scorefile::Write(File(), scorefile::Placeholders(), error);
  ::chmod(m_dir.Path().c_str(), 0755);
  if (rootWrites) GTEST_SKIP() << "permissions do not bind this user";
  EXPECT_FALSE(saved);
  EXPECT_EQ(Slurp(File()), old);
  EXPECT_FALSE(fs::exists(scorefile::TempPath(File())));
}

TEST_F(ScoreFileTest, ALeftoverTemporaryFileIsWrittenOver) {
  Spit(scorefile::TempPath(File()), "half a save from a crash");
  std::string error;
  ASSERT_TRUE(scorefile::Write(File(), Sorted(), error)) << error;
  EXPECT_EQ(Slurp(File()), scorefile::Format(Sorted()));
  EXPECT_FALSE(fs::exists(scorefile::TempPath(File())));
}

}  // namespace
