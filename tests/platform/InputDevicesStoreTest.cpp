// The saved-controls file: where it lives, what it keeps, damaged copies, and saves
// that lose nothing whatever the folder holds or whoever saves at the same time.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ActionMap.h"
#include "platform/ActionMapStore.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

using platform::ControlKind;

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Runs `body` as a user that file modes bind (see testsupport::AsOrdinaryUser). Its
// answer is empty when everything held, else what went wrong, which the child says on
// stderr since only its status comes back.
std::string InChildProcess(const std::filesystem::path& folder,
                           const std::function<std::string()>& body) {
  const bool held = testsupport::AsOrdinaryUser(folder, [&] {
    const std::string failure = body();
    if (!failure.empty()) std::fprintf(stderr, "%s\n", failure.c_str());
    return failure.empty();
  });
  return held ? "" : "the check as an ordinary user failed (its message is above)";
}

class SavedMapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto key = [](std::uint32_t code) { return platform::kKeyboardSemanticBase + code; };
    format.guid = "{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}";
    format.mapName = "Vantrel button maps";
    format.actions = {{0x7F000001, 0x22008201, 0, "Move left/right"},
                      {0x7F000002, 0x22010202, 0, "Aim up or down"},
                      {0x800, key(0xC8), 0, "Up Options Selection"},
                      {0x10, key(0x39), 0, "Jump"},
                      {0x20, key(0x1E), 0, "Stride"},
                      {0x400, key(0x01), platform::kActionFixed, "Display menu"}};
    std::filesystem::create_directories(file.parent_path());
  }
  testsupport::TempDir dir;
  const std::filesystem::path file = dir / "vantrel" / "Vantrel button maps";
  platform::ActionFormat format;
};

// XDG_CONFIG_HOME itself is followed in the controls dialog's save test.
TEST_F(SavedMapsTest, PathFallsBackToHomeAndIsEmptyWithoutEither) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(platform::SavedMapsPath("Vantrel button maps"),
            std::filesystem::path("/home/player/.config/vantrel/Vantrel button maps"));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_TRUE(platform::SavedMapsPath("Vantrel button maps").empty());
  if (!home.empty()) setenv("HOME", home.c_str(), 1);
}

TEST_F(SavedMapsTest, SaveThenLoadGivesTheSameMapsWithoutFixedActions) {
  const platform::SavedMaps maps = {
      {"keyboard", {{{ControlKind::Key, 14}, 0x10, false}, {{ControlKind::Key, 41}, 0x400, false}}},
      {"gamepad:030000005e0400008e02000014010000",
       {{{ControlKind::Axis, 3}, 0x7F000002, true}, {{ControlKind::Button, 9}, 0x800, false}}},
  };
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, maps, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
  std::ifstream saved(file);
  std::string firstLine;
  std::getline(saved, firstLine);
  EXPECT_EQ(firstLine, "Vantrel button maps");

  platform::SavedMaps loaded;
  ASSERT_TRUE(platform::LoadSavedMaps(file, format, loaded, error)) << error;
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].map, (platform::ActionMap{{{ControlKind::Key, 14}, 0x10, false}}));
  EXPECT_EQ(loaded[1].identity, maps[1].identity);
  EXPECT_EQ(loaded[1].map, maps[1].map);
}

TEST_F(SavedMapsTest, DamagedFilesAreRejectedWithTheFileAndReason) {
  const std::string head = "Vantrel button maps\n{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}\n";
  const std::pair<const char*, std::string> cases[] = {
      {"truncated", head + "device keyboard\nkey 14 0x10\n"},
      {"empty", ""},
      {"another format", "Vantrel button maps\n{0000}\nend\n"},
      {"bad number", head + "device keyboard\nkey 1x4 0x10\nend\n"},
      {"huge number", head + "device keyboard\nkey 99999999999999999999 0x10\nend\n"},
      {"fixed action", head + "device keyboard\nkey 14 0x400\nend\n"},
      {"key twice", head + "device keyboard\nkey 14 0x10\nkey 14 0x20\nend\n"},
      {"unknown device", head + "device mouse\nend\n"},
      {"device twice", head + "device keyboard\ndevice keyboard\nend\n"},
      {"binding first", head + "key 14 0x10\nend\n"},
      {"axis on a key", head + "device keyboard\nkey 14 0x7F000001\nend\n"},
      {"after end", head + "end\ndevice keyboard\n"},
      {"binary", head + std::string("\0\xff\x01", 3) + "\nend\n"},
      {"too large", std::string(200 * 1024, '#')},
  };
  for (const auto& [what, text] : cases) {
    std::ofstream(file, std::ios::binary) << text;
    platform::SavedMaps loaded;
    std::string error;
    EXPECT_FALSE(platform::LoadSavedMaps(file, format, loaded, error)) << what;
    EXPECT_TRUE(loaded.empty()) << what;
    EXPECT_NE(error.find(file.string()), std::string::npos) << what << ": " << error;
  }
}

const platform::SavedDeviceMap kKeyboard{"keyboard", {{{ControlKind::Key, 14}, 0x10, false}}};
const platform::SavedDeviceMap kPad{"gamepad:030000005e0400008e02000014010000",
                                    {{{ControlKind::Button, 9}, 0x800, false}}};

// Two games running at once each keep their own device's change.
TEST_F(SavedMapsTest, SavingMergesIntoWhatTheFileHoldsNow) {
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kKeyboard}, error)) << error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kPad}, error)) << error;
  platform::SavedMaps loaded;
  ASSERT_TRUE(platform::LoadSavedMaps(file, format, loaded, error)) << error;
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].map, kKeyboard.map);
  EXPECT_EQ(loaded[1].map, kPad.map);
}

TEST_F(SavedMapsTest, AFileTheGameCouldNotReadIsKeptBesideBeforeASaveReplacesIt) {
  const std::string head = "Vantrel button maps\n{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}\n";
  const struct {
    const char* what;
    std::string text;
    mode_t mode;
  } cases[] = {
      {"one bad line",
       head + "device keyboard\nkey 14 0x10\ndevice gamepad:0300\nbutton 9 0x800 sideways\nend\n",
       0644},
      {"another format's identifier", "Vantrel button maps\n{0000}\ndevice keyboard\nend\n", 0644},
      {"too large", std::string(200 * 1024, '#'), 0644},
      {"unreadable", head + "device keyboard\nkey 14 0x10\nend\n", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::filesystem::path bad = file.string() + ".bad";
    std::filesystem::remove(bad);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << c.text;
    chmod(file.c_str(), c.mode);
    const std::string failure = InChildProcess(dir.Path(), [&]() -> std::string {
      std::string error;
      platform::SaveReport report;
      if (!platform::SaveSavedMaps(file, format, {kPad}, error, &report)) {
        return "not saved: " + error;
      }
      if (report.notice.find(file.string()) == std::string::npos ||
          report.notice.find(bad.string()) == std::string::npos) {
        return "the notice names neither file: " + report.notice;
      }
      if (report.stored.size() != 1) return "the report holds other maps";
      return "";
    });
    EXPECT_EQ(failure, "");
    chmod(bad.c_str(), 0644);
    EXPECT_EQ(ReadAll(bad), c.text) << "kept byte for byte";
    platform::SavedMaps loaded;
    std::string error;
    ASSERT_TRUE(platform::LoadSavedMaps(file, format, loaded, error)) << error;
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].map, kPad.map);
  }
}

TEST_F(SavedMapsTest, ALeftoverTemporaryNameIsNeverWrittenThrough) {
  const std::filesystem::path victim = dir / "victim";
  std::ofstream(victim) << "someone else's file\n";
  std::filesystem::create_symlink(victim, file.string() + ".tmp");
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kKeyboard}, error)) << error;
  EXPECT_EQ(ReadAll(victim), "someone else's file\n");
  platform::SavedMaps loaded;
  ASSERT_TRUE(platform::LoadSavedMaps(file, format, loaded, error)) << error;
  EXPECT_EQ(loaded.size(), 1u);
}

TEST_F(SavedMapsTest, AControlsFileThatIsALinkIsReplacedWhereItPoints) {
  const std::filesystem::path kept = dir / "dotfiles" / "controls";
  const struct {
    const char* what;
    std::filesystem::path link;  // what the controls file points at
    bool targetExists;
  } cases[] = {
      {"absolute", kept, true},
      {"relative", "../dotfiles/controls", true},
      {"dangling", kept, false},
      {"a link to a link", dir / "second-link", true},
  };
  std::filesystem::create_symlink(kept, dir / "second-link");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(kept.parent_path());
    std::filesystem::remove(file);
    std::filesystem::create_directories(kept.parent_path());
    if (c.targetExists) {
      std::string error;
      ASSERT_TRUE(platform::SaveSavedMaps(kept, format, {kPad}, error)) << error;
    }
    std::filesystem::create_symlink(c.link, file);
    std::string error;
    ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kKeyboard}, error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(std::filesystem::read_symlink(file), c.link);
    platform::SavedMaps loaded;
    ASSERT_TRUE(platform::LoadSavedMaps(kept, format, loaded, error)) << error;
    EXPECT_EQ(loaded.size(), c.targetExists ? 2u : 1u);
  }
}

TEST_F(SavedMapsTest, ASavedFileKeepsItsMode) {
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kKeyboard}, error)) << error;
  for (const mode_t mode : {0600, 0640, 0664}) {
    ASSERT_EQ(chmod(file.c_str(), mode), 0);
    ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kPad}, error)) << error;
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
  }
}

TEST_F(SavedMapsTest, ASavedFileIsAlwaysItsOwnersToReadAndWrite) {
  const struct {
    mode_t before;
    mode_t after;
  } cases[] = {{0, 0600}, {0444, 0644}, {0200, 0600}, {0640, 0640}};
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kKeyboard}, error)) << error;
  for (const auto& c : cases) {
    ASSERT_EQ(chmod(file.c_str(), c.before), 0);
    ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kPad}, error)) << error;
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.after) << std::oct << c.before;
  }
}

TEST_F(SavedMapsTest, EachUnreadableFileIsKeptAsideWithoutReplacingAnEarlierOne) {
  const std::string kept[] = {file.string() + ".bad", file.string() + ".bad.2",
                              file.string() + ".bad.3"};
  for (const std::string& name : kept) {
    std::ofstream(file, std::ios::trunc) << "damaged for " << name << "\n";
    std::string error;
    ASSERT_TRUE(platform::SaveSavedMaps(file, format, {kPad}, error)) << error;
  }
  for (const std::string& name : kept) EXPECT_EQ(ReadAll(name), "damaged for " + name + "\n");
}

// Only a file that is not there reads as no saved controls; every other failure is
// said, with the file and the reason.
TEST_F(SavedMapsTest, ErrorsOtherThanNoSuchFileAreReported) {
  const std::filesystem::path plainFile = dir / "not-a-folder";
  std::ofstream(plainFile) << "x";
  const std::filesystem::path loop = dir / "loop";
  std::filesystem::create_symlink(loop, loop);
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directories(locked / "vantrel");
  std::ofstream(locked / "vantrel" / "Vantrel button maps") << "Vantrel button maps\n";
  chmod(locked.c_str(), 0);
  const std::filesystem::path fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const struct {
    const char* what;
    std::filesystem::path path;
    const char* reason;
  } cases[] = {
      {"a configuration folder that is a file", plainFile / "vantrel" / "Vantrel button maps",
       "Not a directory"},
      {"a link loop", loop, "Too many levels of symbolic links"},
      {"a folder without search permission", locked / "vantrel" / "Vantrel button maps",
       "Permission denied"},
      {"a folder", dir.Path(), "Is a directory"},
      {"a named pipe", fifo, "not a regular file"},
  };
  const std::string failure = InChildProcess(dir.Path(), [&]() -> std::string {
    std::string problems;
    for (const auto& c : cases) {
      platform::SavedMaps loaded;
      std::string error;
      const bool read = platform::LoadSavedMaps(c.path, format, loaded, error);
      if (read || error.find(c.path.string()) == std::string::npos ||
          error.find(c.reason) == std::string::npos) {
        problems += std::string(c.what) + ": " + (read ? "read as no file" : error) + "\n";
      }
    }
    platform::SavedMaps loaded;
    std::string error;
    if (!platform::LoadSavedMaps(dir / "missing" / "file", format, loaded, error)) {
      problems += "a missing file: " + error + "\n";
    }
    return problems;
  });
  EXPECT_EQ(failure, "");
  chmod(locked.c_str(), 0755);
}

// Two games saving again and again into one folder while a third reads the file: the
// file is always one whole valid file, no save fails, and each game's device is kept.
TEST_F(SavedMapsTest, TwoGamesSavingAtOnceAlwaysLeaveOneWholeValidFile) {
  constexpr int kSaves = 300;
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(file, format, {}, error)) << error;
  const platform::SavedDeviceMap devices[2] = {kKeyboard, kPad};
  std::vector<std::unique_ptr<testsupport::ChildProcess>> games;
  for (const platform::SavedDeviceMap& device : devices) {
    games.push_back(std::make_unique<testsupport::ChildProcess>([&] {
      int failures = 0;
      for (int i = 0; i < kSaves; ++i) {
        platform::SavedDeviceMap entry = device;
        entry.map[0].control.index += i % 8;  // each save a little different
        std::string problem;
        if (!platform::SaveSavedMaps(file, format, {entry}, problem)) ++failures;
      }
      if (failures > 0) std::fprintf(stderr, "%d of %d saves failed\n", failures, kSaves);
      return failures == 0;
    }));
  }
  const auto running = [&] {
    return std::any_of(games.begin(), games.end(), [](auto& game) { return game->Running(); });
  };
  int samples = 0;
  std::vector<std::string> problems;
  do {
    platform::SavedMaps loaded;
    std::string problem;
    if (!platform::LoadSavedMaps(file, format, loaded, problem) && problems.size() < 5) {
      problems.push_back(problem);
    }
    ++samples;
  } while (running());
  for (auto& game : games) EXPECT_TRUE(game->Succeeded()) << "a game's saves failed";
  EXPECT_GT(samples, 10);
  EXPECT_TRUE(problems.empty()) << problems.front();
  platform::SavedMaps loaded;
  ASSERT_TRUE(platform::LoadSavedMaps(file, format, loaded, error)) << error;
  EXPECT_EQ(loaded.size(), 2u) << "each game's last save kept";
}

}  // namespace
