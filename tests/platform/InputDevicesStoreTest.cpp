// The saved-controls file: where it lives, what it keeps, and damaged copies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>

#include "platform/ActionMap.h"
#include "platform/ActionMapStore.h"
#include "support/TempDir.h"

using platform::ControlKind;

namespace {

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

}  // namespace
