// Start-up on the generated working folder: the loading screen advancing through
// its captions and every prototype's name, read back frame by frame, then the
// first frame loading the start state's level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SpriteCollection.h"
#include "game/level/Level.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "platform/Gfx.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct Frame {
  float percent;
  std::string caption;
  int barLength;  // lit pixels along the middle row of the 128-pixel bar at (50, 550)
};
std::vector<Frame> gFrames;

void Record(float percent, const std::string& caption) {
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(D3DInterface::GetEngine()->GetDevice()->ReadPixels(pixels));
  int lit = 0;
  for (int x = 50; x < 178; ++x) lit += (pixels[550 * 800 + x] & 0x00FFFFFF) != 0;
  gFrames.push_back({percent, caption, lit});
}

TEST(StartupLoadingTest, LoadingScreenShowsEveryStepAndPrototypeThenTheStartLevelLoads) {
  const fs::path game = testsupport::BinaryDir() / "game";
  ASSERT_TRUE(fs::exists(game / "SpriteList.vtsl")) << "build the gamedata target first";
  // The seven steps, then one caption per prototype of the list.
  std::vector<std::string> captions = {"Tutorial Template", "Sound Engine",   "Sound Effects",
                                       "Input Handling",    "HUD Art Assets", "Physics Engine",
                                       "World Objects"};
  std::ifstream list(game / "SpriteList.vtsl");
  int count = 0;
  list >> count;
  for (int i = 0; i < count; ++i) {
    std::string name, key, file;
    int animations = 0;
    list >> name >> animations;
    for (int k = 0; k < animations; ++k) list >> key >> file;
    captions.push_back(name + " Sprite Assets");
  }

  testsupport::TempDir config;  // no saved key map leaks in
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  testsupport::ScopedCurrentDir cwd(game);
  World::SetLoadingFrameObserver(Record);
  testharness::GameHarness::Options options;
  options.initWorld = false;
  auto harness = std::make_unique<testharness::GameHarness>(options);
  ASSERT_TRUE(World::Init(&harness->Window()));
  ASSERT_EQ(gFrames.size(), captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const float k = static_cast<float>(i);
    const float percent = i < 7 ? 30.0f * (k + 1) / 7.0f : 30.0f + 70.0f * (k - 7) / count;
    EXPECT_EQ(gFrames[i].caption, captions[i]);
    EXPECT_FLOAT_EQ(gFrames[i].percent, percent) << captions[i];
    EXPECT_NEAR(gFrames[i].barLength, 1.28f * percent, 2.0f) << captions[i];
  }
  EXPECT_EQ(World::GetPrototypePool()->Count(), count);
  EXPECT_EQ(World::GetObjects()->Count(), 0);  // the loading screen is gone

  harness->RunFrames(1);
  const Level* level = World::GetCurrentLevel();
  ASSERT_NE(level, nullptr);
  // The game opens on the intro level: no hero, every sprite in the main list.
  EXPECT_EQ(World::GetState(), STATE_INTRO);
  EXPECT_EQ(level->GetPlayer(), nullptr);
  EXPECT_NE(World::GetObjects()->Find("HalvornI"), nullptr);
  EXPECT_EQ(World::GetObjects()->Count(), static_cast<int>(level->GetMainObjects().size()));

  harness.reset();
  World::SetLoadingFrameObserver(nullptr);
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
