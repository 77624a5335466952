// The training ground's tutorial through the real frame loop: a message shows as the
// hero walks into it, the focus message flies the camera to its point and back while
// the hero waits, and games of several players show none.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/level/Level.h"
#include "game/player/PlayerObject.h"
#include "game/tutorial/Tutorial.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

class TutorialRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "data" / "tuttest.lvl")) << shipped;
    // A copy whose game list starts straight in play on the training ground.
    const std::filesystem::path folder = m_data.Path() / "game";
    testsupport::CopyForPlay(folder, "test", "test.lvl");
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
    ASSERT_NE(Tutorial::GetCurrent(), nullptr);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  void Land() {
    for (int frame = 0; frame < 240 && World::GetPlayer()->IsAirborne(); ++frame) game->RunFrames(1);
    ASSERT_FALSE(World::GetPlayer()->IsAirborne());
  }
  static Vector2 CameraCentre() {
    const Vector2& offset = World::GetCameraOffset();
    return Vector2(offset.X() + 400.0f, offset.Y() + 300.0f);
  }
  // Pixels of the message colour in the first line's strip.
  int TextPixels() const {
    const Tutorial& tutorial = *Tutorial::GetCurrent();
    const std::vector<std::uint32_t> frame = game->ReadFrame();
    int count = 0;
    const int top = static_cast<int>(tutorial.GetBaseY());
    for (int y = top; y < top + tutorial.GetPointSize() + 4; ++y) {
      for (int x = static_cast<int>(tutorial.GetX()); x < 500; ++x) {
        const std::uint32_t p = testharness::GameHarness::PixelAt(frame, x, y);
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (r > 220 && g > 210 && b > 170 && b < 230) ++count;
      }
    }
    return count;
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(TutorialRunTest, LoadingGivesTheWorldACopyOfTheLevelsTutorial) {
  const Tutorial* level = World::GetCurrentLevel()->GetTutorial();
  ASSERT_NE(level, nullptr);
  const Tutorial* world = Tutorial::GetCurrent();
  EXPECT_NE(world, level);
  ASSERT_EQ(world->GetPending().size(), level->GetPending().size());
  for (std::size_t i = 0; i < level->GetPending().size(); ++i) {
    EXPECT_EQ(world->GetPending()[i]->GetText(), level->GetPending()[i]->GetText()) << i;
    EXPECT_NE(world->GetPending()[i].get(), level->GetPending()[i].get()) << i;
  }
}

TEST_F(TutorialRunTest, WalkingRightIntoTheFirstBoxShowsItsText) {
  Land();
  const int before = TextPixels();
  const Tutorial& tutorial = *Tutorial::GetCurrent();
  game->KeyDown(SDL_SCANCODE_RIGHT);
  int frames = 0;
  while (tutorial.GetShown().empty() && frames < 200) frames += game->RunFrames(1);
  game->KeyUp(SDL_SCANCODE_RIGHT);
  ASSERT_FALSE(tutorial.GetShown().empty()) << "the hero never reached the first box";
  const TutorialEvent& first = *tutorial.GetShown()[0].event;
  EXPECT_EQ(first.GetID(), 0);
  EXPECT_EQ(first.GetText().rfind(" Welcome", 0), 0u) << first.GetText();
  EXPECT_LT(std::fabs(World::GetPlayer()->GetPosition().X() - first.GetX()), first.GetWidth());

  game->RunFrames(tutorial.GetFadeInFrames() + 5);  // at full strength
  ASSERT_FALSE(tutorial.GetShown().empty());
  EXPECT_EQ(tutorial.GetShown()[0].event.get(), &first) << "still the first line";
  EXPECT_EQ(tutorial.GetShown()[0].offset, 0.0f) << "drawn at the base y";
  EXPECT_GT(TextPixels(), before + 30);
}

TEST_F(TutorialRunTest, FocusMessageFliesTheCameraToItsPointAndBackWhileTheHeroWaits) {
  Land();
  const Tutorial& tutorial = *Tutorial::GetCurrent();
  const TutorialEvent* focus = nullptr;
  for (const auto& event : tutorial.GetPending()) {
    if (event->HasFocus()) focus = event.get();
  }
  ASSERT_NE(focus, nullptr) << "the script has no focus message";
  const Vector2 point(focus->GetFocusX(), focus->GetFocusY());
  const Vector2 start(focus->GetX(), World::GetPlayer()->GetPosition().Y());
  World::GetPlayer()->MoveTo(start);
  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->RunFrames(1);
  ASSERT_EQ(World::GetFocusQueue().size(), 2u);

  // Out: 8 pixels a frame along the line, the hero frozen with Right held.
  const Vector2 held = World::GetPlayer()->GetPosition();
  Vector2 centre = CameraCentre();
  int frames = 0;
  while (!(centre == point) && frames < 800) {
    game->RunFrames(1);
    ++frames;
    const Vector2 next = CameraCentre();
    const float step = std::hypot(next.X() - centre.X(), next.Y() - centre.Y());
    const float left = std::hypot(point.X() - centre.X(), point.Y() - centre.Y());
    if (left > 8.0f) {
      EXPECT_NEAR(step, 8.0f, 0.01f) << "frame " << frames;
    }
    centre = next;
    EXPECT_EQ(World::GetPlayer()->GetPosition(), held) << "frame " << frames;
    EXPECT_EQ(World::GetPlayer()->GetVelocity().X(), 0.0f) << "frame " << frames;
  }
  ASSERT_EQ(centre, point);

  // It holds there, then comes back to where the hero stands.
  while (!World::GetFocusQueue().empty() && frames < 2000) {
    game->RunFrames(1);
    ++frames;
    EXPECT_EQ(World::GetPlayer()->GetPosition(), held) << "frame " << frames;
  }
  ASSERT_TRUE(World::GetFocusQueue().empty());
  EXPECT_NEAR(CameraCentre().X(), held.X(), 1.0f);

  // Control returns.
  game->RunFrames(30);
  EXPECT_GT(World::GetPlayer()->GetPosition().X(), held.X() + 20.0f);
  game->KeyUp(SDL_SCANCODE_RIGHT);
}

TEST_F(TutorialRunTest, GamesOfTwoPlayersShowNoTutorial) {
  World::GetPlayerRecords().push_back(nullptr);
  ASSERT_TRUE(World::LoadLevel("test", false));
  ASSERT_NE(Tutorial::GetCurrent(), nullptr);
  EXPECT_TRUE(Tutorial::GetCurrent()->GetPending().empty());
  game->RunFrames(2);
  Land();
  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->RunFrames(150);
  game->KeyUp(SDL_SCANCODE_RIGHT);
  EXPECT_GT(World::GetPlayer()->GetPosition().X(), 700.0f);
  EXPECT_TRUE(Tutorial::GetCurrent()->GetShown().empty());
}

}  // namespace
