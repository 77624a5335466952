// The autopilot's picture outputs land where the command was started, though the run
// plays in a copy of the game's folder as its current directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

TEST(Autopilot, RelativeCaptureAndSheetLandInTheStartingFolder) {
  testsupport::TempDir dir;
  testsupport::ScopedCurrentDir cwd(dir.Path());
  const fs::path autopilot = testsupport::BinaryDir() / "tests" / "vantrel_autopilot";
  // Too short to finish the level, so it runs on only because failed runs are kept.
  const std::string command = "'" + autopilot.string() +
                              "' junkyard --frames 120 --every 60 --capture frames "
                              "--sheet sheet.png --out run.txt --keep-failed > log.txt 2>&1";
  const int status = std::system(command.c_str());
  SCOPED_TRACE("exit status " + std::to_string(status) + ", log in " + (dir / "log.txt").string());

  EXPECT_TRUE(fs::exists(dir / "frames/junkyard-000060.png"));
  EXPECT_TRUE(fs::exists(dir / "frames/junkyard-000120.png"));
  platform::Image sheet;
  std::string error;
  ASSERT_TRUE(platform::LoadPng((dir / "sheet.png").string(), sheet, error)) << error;
  EXPECT_EQ(sheet.width, 400) << "two frames, a quarter wide each";
  EXPECT_EQ(sheet.height, 150);
  EXPECT_TRUE(fs::exists(dir / "run.txt"));
}

}  // namespace
