// Default action maps, axis scaling and the saved-controls file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/ActionMap.h"
#include "platform/ActionMapStore.h"
#include "support/TempDir.h"

using platform::Binding;
using platform::ControlKind;
using platform::DeviceKind;

namespace {

platform::ActionFormat Format() {
  platform::ActionFormat format;
  format.guid = "{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}";
  format.genre = 0x22000000;
  format.mapName = "Vantrel button maps";
  const auto key = [](std::uint32_t code) { return platform::kKeyboardSemanticBase + code; };
  format.actions = {
      {0x7F000001, 0x22008201, 0, "Move left/right"},
      {0x7F000002, 0x22010202, 0, "Aim up or down"},
      {0x10, 0x22000401, 0, "Jump"},
      {0x200, 0x220044FC, platform::kActionFixed, "Pause game"},
      {0x800, key(0xC8), 0, "Up Options Selection"},
      {0x10, key(0x39), 0, "Jump"},
      {0x20, key(0x1E), 0, "Stride"},
      {0x400, key(0x01), platform::kActionFixed, "Display menu"},
      {0x4000, key(0x02), platform::kActionFixed, "Debug 1"},
  };
  return format;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

TEST(ActionMapDefaults, AxisScalingReachesBothEndsAndFlips) {
  EXPECT_EQ(platform::ScaleAxis(-32768, 0, 99, false), 0);
  EXPECT_EQ(platform::ScaleAxis(32767, 0, 99, false), 99);
  EXPECT_EQ(platform::ScaleAxis(0, 0, 99, false), 50);
  EXPECT_EQ(platform::ScaleAxis(-32768, 0, 99, true), 99);
  EXPECT_EQ(platform::ScaleAxis(32767, 0, 99, true), 0);
}

class SavedMapsTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir / "vantrel" / "Vantrel button maps"; }
  testsupport::TempDir dir;
  platform::ActionFormat format = Format();
};

TEST_F(SavedMapsTest, PathFollowsXdgConfigHomeThenHome) {
  const char* oldHome = std::getenv("HOME");
  const std::string home = oldHome ? oldHome : "";
  setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
  EXPECT_EQ(platform::SavedMapsPath("Vantrel button maps"),
            std::filesystem::path("/xdg/config/vantrel/Vantrel button maps"));
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(platform::SavedMapsPath("Vantrel button maps"),
            std::filesystem::path("/home/player/.config/vantrel/Vantrel button maps"));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_TRUE(platform::SavedMapsPath("Vantrel button maps").empty());
  if (oldHome) setenv("HOME", home.c_str(), 1);
}

TEST_F(SavedMapsTest, SaveThenLoadGivesTheSameMapsWithoutFixedActions) {
  const platform::SavedMaps maps = {
      {"keyboard", {{{ControlKind::Key, 14}, 0x10, false}, {{ControlKind::Key, 41}, 0x400, false}}},
      {"gamepad:030000005e0400008e02000014010000",
       {{{ControlKind::Axis, 3}, 0x7F000002, true}, {{ControlKind::Button, 9}, 0x800, false}}},
  };
  std::string error;
  ASSERT_TRUE(platform::SaveSavedMaps(File(), format, maps, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(File().string() + ".tmp"));
  EXPECT_EQ(ReadFile(File()).rfind("Vantrel button maps\n", 0), 0u);

  platform::SavedMaps loaded;
  ASSERT_TRUE(platform::LoadSavedMaps(File(), format, loaded, error)) << error;
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].map, (platform::ActionMap{{{ControlKind::Key, 14}, 0x10, false}}));
  EXPECT_EQ(loaded[1].identity, maps[1].identity);
  EXPECT_EQ(loaded[1].map, maps[1].map);
}

TEST_F(SavedMapsTest, DamagedFilesAreRejectedWithTheFileAndReason) {
  const std::string head = "Vantrel button maps\n{3AFAD4D1-B4C0-4514-B47E-65FEF9D7142F}\n";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"truncated", head + "device keyboard\nkey 14 0x10\n"},
      {"empty", ""},
      {"another format", "Vantrel button maps\n{0000}\nend\n"},
      {"bad number", head + "device keyboard\nkey 1x4 0x10\nend\n"},
      {"decimal data", head + "device keyboard\nkey 14 16\nend\n"},
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
  for (const auto& c : cases) {
    WriteFile(File(), c.text);
    platform::SavedMaps loaded;
    std::string error;
    EXPECT_FALSE(platform::LoadSavedMaps(File(), format, loaded, error)) << c.what;
    EXPECT_TRUE(loaded.empty()) << c.what;
    EXPECT_NE(error.find(File().string()), std::string::npos) << c.what << ": " << error;
  }
}

}  // namespace
