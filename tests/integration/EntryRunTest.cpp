// The real game binary, started headless the way a person or CI would start it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

// Runs the game from its working folder with extra environment settings, its
// error output going to "<outputs>/err.txt"; returns its exit code.
int RunGame(const std::filesystem::path& outputs, const std::string& environment,
            std::filesystem::path game = testsupport::BinaryDir() / "game" / "vantrel") {
  EXPECT_TRUE(std::filesystem::exists(game)) << game;
  const std::string command = "cd '" + game.parent_path().string() + "' && env " + environment +
                              " '" + game.string() + "' > /dev/null 2> '" +
                              (outputs / "err.txt").string() + "'";
  const int status = std::system(command.c_str());
  return status == -1 || !WIFEXITED(status) ? -1 : WEXITSTATUS(status);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(EntryRunTest, HeadlessRunStopsAfterTheFrameLimitAndCapturesItsFrames) {
  testsupport::TempDir dir;
  const int code = RunGame(dir.Path(),
                           "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy VANTREL_MAX_FRAMES=5 "
                           "VANTREL_CAPTURE_FRAMES=2,5 VANTREL_CAPTURE_DIR='" +
                               dir.Path().string() + "'");
  EXPECT_EQ(code, 0) << ReadText(dir / "err.txt");
  for (const char* name : {"frame-00002.png", "frame-00005.png"}) {
    platform::Image frame;
    std::string error;
    ASSERT_TRUE(platform::LoadPng((dir / name).string(), frame, error, platform::ColorKey::None))
        << error;
    EXPECT_EQ(frame.width, 800);
    EXPECT_EQ(frame.height, 600);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "frame-00006.png"));
}

// A setting that is not a whole number in range used to mean something else: no frame
// limit (a headless run that never ends), or only its leading digits.
TEST(EntryRunTest, ANumberSettingThatIsNotAWholeNumberStopsTheGameNamingIt) {
  const char* const settings[] = {
      "VANTREL_MAX_FRAMES=60abc",
      "VANTREL_MAX_FRAMES=1e3",
      "VANTREL_MAX_FRAMES=-5",
      "VANTREL_MAX_FRAMES=abc",
      "VANTREL_MAX_FRAMES=",
      "VANTREL_MAX_FRAMES=0",
      "VANTREL_MAX_FRAMES=99999999999999999999",
      "VANTREL_CAPTURE_FRAMES=1,x",
      "VANTREL_CAPTURE_FRAMES=",
      "VANTREL_SEED=12abc",
      // Settings that would do nothing: frames with no folder to save them in, a
      // stray comma, and all beside none.
      "VANTREL_CAPTURE_FRAMES=2",
      "VANTREL_FAST_DRAW=blit,",
      "VANTREL_FAST_DRAW=all,none",
  };
  for (const std::string setting : settings) {
    SCOPED_TRACE(setting);
    testsupport::TempDir dir;
    const std::string name = setting.substr(0, setting.find('='));
    const std::string value = setting.substr(setting.find('=') + 1);
    // Should the setting be taken after all, the frame limit ends the run; the timeout
    // is only there so that a fault cannot hang the suite.
    const std::string limit = name == "VANTREL_MAX_FRAMES" ? "" : " VANTREL_MAX_FRAMES=2";
    const int code = RunGame(dir.Path(), "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + limit +
                                             " '" + setting + "' timeout 60");
    const std::string error = ReadText(dir / "err.txt");
    EXPECT_EQ(code, 1) << error;
    EXPECT_NE(error.find("vantrel: " + name + "=\"" + value + "\""), std::string::npos) << error;
  }
}

TEST(EntryRunTest, MissingDisplayIsOneClearLineAndAFailure) {
  testsupport::TempDir dir;
  EXPECT_NE(RunGame(dir.Path(), "-u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11"), 0);
  const std::string error = ReadText(dir / "err.txt");
  EXPECT_EQ(error.rfind("vantrel: cannot open the game window: ", 0), 0u) << error;
  EXPECT_EQ(error.find('\n'), error.size() - 1) << error;  // one line
}

TEST(EntryRunTest, AGameWhoseDataDidNotLoadNamesTheFileAndFails) {
  // A working folder with every animation (loading screen, HUD) and the sound list,
  // but no prototype list.
  testsupport::TempDir dir;
  const std::filesystem::path shipped = testsupport::BinaryDir() / "game";
  const std::filesystem::path game = dir / "vantrel";
  std::filesystem::copy_file(shipped / "vantrel", game);
  std::filesystem::copy(shipped / "animations", dir / "animations");
  std::ofstream(dir / "Sounds.vtse") << "0\n";
  const int code = RunGame(dir.Path(), "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy", game);
  const std::string error = ReadText(dir / "err.txt");
  EXPECT_EQ(code, 1) << error;
  EXPECT_NE(error.find("Data file \"SpriteList.vtsl\": the prototype list cannot be opened"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("vantrel: the game could not start"), std::string::npos) << error;
}

}  // namespace
