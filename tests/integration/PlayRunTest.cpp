// Play on the generated working folder through the real frame loop: the hero
// lands and stands, runs with the camera leading, and the menu keys and a fall
// below the level end play.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <memory>
#include <vector>

#include "PlayFixture.h"
#include "game/hud/HUD.h"
#include "game/level/Level.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

using PlayRunTest = playtest::PlayFixture;

TEST_F(PlayRunTest, HeroLandsStandsAndRunsRightWithTheCameraLeading) {
  ASSERT_LE(FramesToLand(240), 240);
  const Vector2 landed = World::GetPlayer()->GetPosition();
  game->RunFrames(20);
  EXPECT_EQ(World::GetPlayer()->GetPosition(), landed) << "standing still";

  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->RunFrames(200);
  const PlayerObject* hero = World::GetPlayer();
  EXPECT_GT(hero->GetPosition().X(), landed.X() + 200.0f);
  EXPECT_TRUE(World::IsCameraLeadingRight());
  const float screenX = hero->GetPosition().X() - World::GetCameraOffset().X();
  const float rightEdge = World::GetLevelUpperBounds().X();
  // Held at 3/10 of the screen unless the camera has reached the level's end.
  if (rightEdge == -1.0f || World::GetCameraOffset().X() + 800.0f < rightEdge) {
    EXPECT_NEAR(screenX, 240.0f, 1.0f);
  }
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
}

TEST_F(PlayRunTest, MenuAndPauseKeysLeavePlay) {
  for (const SDL_Scancode key : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_PAUSE}) {
    World::SetState(STATE_GAMEPLAY);
    World::SetFrameCounter(-2);
    game->KeyDown(key);
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), STATE_PAUSE) << key;
    game->KeyUp(key);
    game->RunFrames(1);
  }
}

TEST_F(PlayRunTest, FallingBelowTheBottomBoundEndsTheGame) {
  const float bottom = World::GetLevelUpperBounds().Y();
  ASSERT_NE(bottom, -1.0f) << "a gameplay level needs a bottom bound";
  World::GetPlayer()->MoveTo(Vector2(World::GetPlayer()->GetPosition().X(), bottom + 400.0f));
  game->RunFrames(1);
  EXPECT_EQ(World::GetState(), STATE_GAME_OVER);
}

TEST_F(PlayRunTest, SpaceJumpsAndTheLandingReturnsToTheGround) {
  ASSERT_LE(FramesToLand(240), 240);
  const float floor = Hero()->GetPosition().Y();
  game->KeyDown(SDL_SCANCODE_SPACE);
  game->RunFrames(1);
  EXPECT_EQ(Hero()->GetState(), PLAYER_AIR);
  EXPECT_TRUE(Hero()->IsAirborne());
  float highest = floor;
  int frames = 0;
  while (Hero()->IsAirborne() && frames++ < 120) {
    game->RunFrames(1);
    highest = std::min(highest, Hero()->GetPosition().Y());
  }
  game->KeyUp(SDL_SCANCODE_SPACE);
  game->RunFrames(1);
  EXPECT_FALSE(Hero()->IsAirborne());
  EXPECT_EQ(Hero()->GetStateHandler(), &PlayerObject::StateGround);
  EXPECT_EQ(Hero()->GetPosition().Y(), floor);
  // A held jump: about 206 pixels.
  EXPECT_NEAR(floor - highest, 206.0f, 8.0f);
}

// The bar is 128 pixels long from (144, 73), scaled in x by the energy fraction.
TEST_F(PlayRunTest, ReadBackShowsTheHudPanelAndAnEnergyBarOfTheEnergysWidth) {
  ASSERT_LE(FramesToLand(240), 240);
  const auto bright = [](std::uint32_t argb) {
    const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return std::max({r, g, b}) > 0x80;
  };
  for (const float energy : {50.0f, 100.0f, 150.0f}) {
    Hero()->SetEnergy(energy);
    game->RunFrames(1);  // standing refills 0.2
    const std::vector<std::uint32_t> frame = game->ReadFrame();
    ASSERT_EQ(frame.size(), 800u * 600u);
    int end = 146;
    while (end < 290 && bright(testharness::GameHarness::PixelAt(frame, end, 73))) ++end;
    const float expected = 144.0f + 128.0f * Hero()->GetEnergy() / Hero()->GetMaxEnergy();
    EXPECT_NEAR(static_cast<float>(end), expected, 3.0f) << "energy " << Hero()->GetEnergy();
  }

  // Hiding the panel changes most of its corner of the screen and nothing far from it.
  const std::vector<std::uint32_t> shown = game->ReadFrame();
  GameObject* panel = HUD::FindObject("HUDWindow");
  ASSERT_NE(panel, nullptr);
  panel->SetVisible(false);
  game->RunFrames(1);
  const std::vector<std::uint32_t> hidden = game->ReadFrame();
  panel->SetVisible(true);
  const auto changed = [&](int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        count += testharness::GameHarness::PixelAt(shown, x, y) != testharness::GameHarness::PixelAt(hidden, x, y);
      }
    }
    return static_cast<float>(count) / static_cast<float>((x1 - x0) * (y1 - y0));
  };
  EXPECT_GT(changed(0, 0, 250, 140), 0.6f);
  EXPECT_EQ(changed(320, 160, 800, 220), 0.0f);
}

// The recording (run, jump onto the ramp's plateau, Stride, SuperJump) lives in
// the test's data as text, which the build turns into a playback file; two fresh
// starts must replay it identically.
TEST_F(PlayRunTest, ARecordedCoursePlaysBackIdenticallyFromAFreshStart) {
  const std::filesystem::path recording =
      testsupport::BinaryDir() / "recordings" / "hero_course.rec";
  ASSERT_TRUE(std::filesystem::exists(recording)) << recording;
  struct Sample {
    Vector2 position;
    int state;
    float energy;
    bool operator==(const Sample&) const = default;
  };
  const auto play = [&]() {
    std::vector<Sample> trace;
    StartGame();
    FramesToLand(240);
    HUD::GetInstance()->ShowSuperJump(true);
    EXPECT_TRUE(Input::GetInstance()->StartPlayback(recording.string()));
    for (int frame = 0; frame < 340; ++frame) {
      game->RunFrames(1);
      trace.push_back({Hero()->GetPosition(), Hero()->GetState(), Hero()->GetEnergy()});
    }
    Input::GetInstance()->StopPlayback();
    return trace;
  };
  const std::vector<Sample> first = play();
  const std::vector<Sample> second = play();
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    ASSERT_TRUE(first[i] == second[i]) << "frame " << i << ": (" << first[i].position.X() << ", "
                                       << first[i].position.Y() << ") vs (" << second[i].position.X()
                                       << ", " << second[i].position.Y() << ")";
  }
  // The course really uses the moves it is meant to protect.
  bool jumped = false, strode = false, superJumped = false;
  float highest = first.front().position.Y();
  for (const Sample& sample : first) {
    jumped |= sample.state == PLAYER_AIR;
    strode |= sample.state == PLAYER_STRIDE;
    superJumped |= sample.state == PLAYER_SUPER_JUMP;
    highest = std::min(highest, sample.position.Y());
  }
  EXPECT_TRUE(jumped);
  EXPECT_TRUE(strode);
  EXPECT_TRUE(superJumped);
  EXPECT_GT(first.back().position.X(), 1400.0f) << "ran up the ramps";
  EXPECT_LT(highest, 1000.0f);
}

}  // namespace
