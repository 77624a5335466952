// The player's two files, the score file and the controls file, save alike: never
// waiting on another game's lock, never leaving their name without a file, never
// writing through a name another left in the way, and never piling up leftovers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "game/data/ScoreFile.h"
#include "platform/ActionMapStore.h"
#include "platform/FileSave.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::SaveStatus;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

platform::ActionFormat Format() {
  platform::ActionFormat format;
  format.guid = "{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}";
  format.mapName = "Vantrel button maps";
  format.actions = {{0x10, platform::kKeyboardSemanticBase + 0x39, 0, "Jump"}};
  return format;
}

// One of the two files: where it lies, one try at saving a change into it, and
// whether the change is there.
struct PlayerFile {
  const char* name;
  fs::path path;
  std::function<SaveStatus(platform::FileCalls&, std::string&)> trySave;
  std::function<bool()> changed;
};

class PlayerFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path scores = dir / scorefile::kFileName;
    const fs::path controls = dir / "Vantrel button maps";
    files = {
        {"score file", scores,
         [scores](platform::FileCalls& calls, std::string& error) {
           return scorefile::TrySave(scores, {false, 5000, scorefile::kNoTime, "New"}, error, calls);
         },
         [scores] { return scorefile::Read(scores).names[0] == "New"; }},
        {"controls file", controls,
         [controls](platform::FileCalls& calls, std::string& error) {
           const platform::SavedMaps keyboard = {
               {"keyboard", {{{platform::ControlKind::Key, 14}, 0x10, false}}}};
           return platform::TrySaveSavedMaps(controls, Format(), keyboard, error, nullptr, calls);
         },
         [controls] {
           platform::SavedMaps maps;
           std::string error;
           return platform::LoadSavedMaps(controls, Format(), maps, error) && maps.size() == 1;
         }},
    };
  }
  // Each file as a game left it before the change.
  void Reset() {
    std::ofstream(files[0].path) << scorefile::Format(scorefile::Placeholders());
    std::ofstream(files[1].path) << "Vantrel button maps\n" << Format().guid << "\nend\n";
  }
  testsupport::TempDir dir;
  std::vector<PlayerFile> files;
};

TEST_F(PlayerFilesTest, ASaveFindingAnotherGameSavingNeverWaitsAndChangesNothing) {
  // A save that waited would wait here for ever: the alarm ends the test instead.
  ::alarm(60);
  for (const int held : {LOCK_SH, LOCK_EX}) {
    for (const PlayerFile& file : files) {
      SCOPED_TRACE(std::string(file.name) + (held == LOCK_SH ? ", shared" : ", exclusive"));
      Reset();
      const std::string before = Slurp(file.path);
      const int other = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
      ASSERT_EQ(::flock(other, held), 0);
      std::string error;
      EXPECT_EQ(file.trySave(platform::FileCalls::System(), error), SaveStatus::Busy);
      EXPECT_NE(error.find(file.path.string()), std::string::npos) << error;
      EXPECT_NE(error.find("another game is saving"), std::string::npos) << error;
      EXPECT_EQ(Slurp(file.path), before);
      ::close(other);
    }
  }
  // Where there are no frames to spread tries over, the wait is bounded.
  const int other = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  std::string error;
  EXPECT_FALSE(scorefile::Save(files[0].path, {false, 1, 1, "Late"}, error,
                               std::chrono::milliseconds(20)));
  EXPECT_NE(error.find("another game is saving"), std::string::npos) << error;
  ::close(other);
  ::alarm(0);
}

// Watches a save's calls: at each one the file's name must hold a file, and the
// temporary file must be on the disk before it is renamed into place. It can plant
// something at the temporary file's name just before the save creates it, and refuse
// second names as some file systems do.
class Spy : public platform::FileCalls {
 public:
  explicit Spy(fs::path file) : m_file(std::move(file)) {}
  int Open(const char* path, int flags, mode_t mode) override {
    Check("open");
    const bool temporary = std::string(path).find(".tmp-") != std::string::npos;
    if (temporary && plant) {
      plant(path);
      planted = path;
      plant = nullptr;
    }
    const int fd = FileCalls::Open(path, flags, mode);
    if (temporary && fd >= 0) m_temporary = fd;
    return fd;
  }
  int Sync(int fd) override {
    m_synced = m_synced || fd == m_temporary;
    return FileCalls::Sync(fd);
  }
  int Rename(const char* from, const char* to) override {
    if (!m_synced) problems += std::string("renamed unsynced: ") + from + "\n";
    const int result = FileCalls::Rename(from, to);
    Check("rename");
    return result;
  }
  int Link(const char* from, const char* to) override {
    Check("link");
    if (!refuseLinks) return FileCalls::Link(from, to);
    errno = EPERM;
    return -1;
  }
  bool refuseLinks = false;
  std::function<void(const std::string&)> plant;
  std::string planted;
  std::string problems;

 private:
  void Check(const char* at) {
    struct stat info {};
    if (::lstat(m_file.c_str(), &info) != 0) problems += std::string("no file at ") + at + "\n";
  }
  fs::path m_file;
  int m_temporary = -1;
  bool m_synced = false;
};

TEST_F(PlayerFilesTest, TheNewFileIsOnTheDiskBeforeTheRenameAndTheNameNeverGoesEmpty) {
  const struct {
    const char* name;
    std::size_t file;
    bool unreadable;  // an unreadable controls file is kept aside first
    bool refuseLinks;
  } cases[] = {
      {"score file", 0, false, false},
      {"controls file", 1, false, false},
      {"unreadable controls file", 1, true, false},
      {"unreadable controls file, no second names", 1, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PlayerFile& file = files[c.file];
    Reset();
    fs::remove(file.path.string() + ".bad");
    if (c.unreadable) std::ofstream(file.path) << "not a controls file\n";
    Spy spy(file.path);
    spy.refuseLinks = c.refuseLinks;
    std::string error;
    EXPECT_EQ(file.trySave(spy, error), SaveStatus::Saved) << error;
    EXPECT_EQ(spy.problems, "");
    EXPECT_TRUE(file.changed());
    if (c.unreadable) {
      EXPECT_EQ(Slurp(file.path.string() + ".bad"), "not a controls file\n");
    }
  }
}

TEST_F(PlayerFilesTest, TheTemporaryFileIsANewFileNeverReachedThroughALink) {
  const fs::path victim = dir / "victim";
  const struct {
    const char* name;
    void (*plant)(const std::string& at, const fs::path& victim);
    const char* plantedHolds;
  } cases[] = {
      {"a link to another file",
       [](const std::string& at, const fs::path& v) { fs::create_symlink(v, at); },
       "someone else's file"},
      {"a file someone else writes",
       [](const std::string& at, const fs::path&) { std::ofstream(at) << "theirs"; }, "theirs"},
  };
  for (const auto& c : cases) {
    for (const PlayerFile& file : files) {
      SCOPED_TRACE(std::string(file.name) + ", " + c.name);
      Reset();
      std::ofstream(victim) << "someone else's file";
      Spy spy(file.path);
      spy.plant = [&](const std::string& at) { c.plant(at, victim); };
      std::string error;
      EXPECT_EQ(file.trySave(spy, error), SaveStatus::Saved) << error;
      EXPECT_TRUE(file.changed());
      EXPECT_EQ(Slurp(victim), "someone else's file");
      EXPECT_EQ(Slurp(spy.planted), c.plantedHolds);
      fs::remove(spy.planted);
    }
  }
}

TEST_F(PlayerFilesTest, LeftoversOfGamesThatNoLongerRunGoAndOthersStay) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const auto leftover = [](const PlayerFile& file, pid_t pid) {
    return file.path.string() + ".tmp-" + std::to_string(pid) + "-1-a1b2c3";
  };
  for (const PlayerFile& file : files) {
    SCOPED_TRACE(file.name);
    Reset();
    std::ofstream(leftover(file, gone)) << "half a save";
    std::ofstream(leftover(file, ::getppid())) << "a save under way";
    std::string error;
    EXPECT_EQ(file.trySave(platform::FileCalls::System(), error), SaveStatus::Saved) << error;
    EXPECT_FALSE(fs::exists(leftover(file, gone)));
    EXPECT_EQ(Slurp(leftover(file, ::getppid())), "a save under way");
  }
}

}  // namespace
