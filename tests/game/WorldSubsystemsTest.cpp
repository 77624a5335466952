// The sound engine and input reader the World makes and releases, the
// earthquake rumble, focus reaching the input reader, and the lists still drawn
// while the window is in the background.
#include <gtest/gtest.h>

#include "WorldTestKit.h"
#include "animationlib/SpriteCollection.h"

namespace {

class WorldSubsystemsTest : public worldtest::WorldDataTest {};

TEST_F(WorldSubsystemsTest, InitMakesSoundAndInputAndTheLastHandleReleasesThem) {
  InitWorld();
  EXPECT_NE(Input::GetInstance(), nullptr);
  EXPECT_EQ(audio.initCalls, 1);
  game.reset();
  EXPECT_EQ(Input::GetInstance(), nullptr);
  EXPECT_EQ(audio.closeCalls, 1);
  EXPECT_EQ(World::GetObjects(), nullptr);

  // Without a window the sound engine fails, and Init stops before input.
  testharness::GameHarness::Options options;
  options.initWorld = false;
  game = std::make_unique<testharness::GameHarness>(options);
  EXPECT_FALSE(World::Init(nullptr));
  EXPECT_EQ(Input::GetInstance(), nullptr);
}

TEST_F(WorldSubsystemsTest, EarthquakeRumblesAtOnceAndEveryThreeSecondsAndFocusReachesInput) {
  worldtest::WriteText(Root() / "Sounds.vtse", "1 earthquake quake.wav\n");
  audio.AddFile("quake.wav");
  WriteGameList("", 0);
  InitWorld();
  World::SetEarthquake(true);
  game->RunFrames(180);
  EXPECT_EQ(audio.soundsPlayed.size(), 1u);
  game->RunFrames(1);
  EXPECT_EQ(audio.soundsPlayed.size(), 2u);

  game->LoseFocus();
  game->RunFrames(1);
  EXPECT_FALSE(Input::GetInstance()->IsEnabled());
  game->GainFocus();
  game->RunFrames(1);
  EXPECT_TRUE(Input::GetInstance()->IsEnabled());
}

TEST_F(WorldSubsystemsTest, BackgroundGameplayIsDrawnButNothingMoves) {
  worldtest::WriteText(Root() / "one.lvl", "0 0 0 0 0 0 0 -1 -1 -1 -1 1 Gate 100 100 0 0 0 0 0 0");
  WriteGameList("one one.lvl", 1);
  InitWorld();
  game->RunFrames(1);  // the game list and the level
  Sprite* gate = World::GetObjects()->Find("Gate");
  ASSERT_NE(gate, nullptr);
  gate->SetVelocity(5.0f, 0.0f);
  game->LoseFocus();
  game->RunFrames(2);
  const std::vector<std::uint32_t> frame = game->ReadFrame();
  EXPECT_EQ(testharness::GameHarness::PixelAt(frame, 108, 108), 0xFF40C060u);
  EXPECT_EQ(gate->GetPosition(), Vector2(100.0f, 100.0f));
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_ALL);
  game->GainFocus();
}

}  // namespace
