// The factory lift and the hero: a lift that meets a hero with nowhere to go
// waits for him instead of pressing him into the ground, and riding it stays
// as it was.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "game/objects/CollisionResponses.h"
#include "game/player/PlayerObject.h"

namespace {

using behaviortest::BehaviorWorldTest;

// The hero's solid box around his feet, and a tile's (the "Floor" art: 128 square, origin
// at the top-left corner), which the lift borrows.
constexpr float kHeroHalfWidth = 14.0f;
constexpr float kHeroHeight = 60.0f;
constexpr float kTile = 128.0f;

struct Box {
  float left, top, right, bottom;
};

Box HeroBox(const GameObject* hero) {
  const Vector2& at = hero->GetPosition();
  return {at.X() - kHeroHalfWidth, at.Y() - kHeroHeight, at.X() + kHeroHalfWidth, at.Y()};
}

Box TileBox(const GameObject* tile) {
  const Vector2& at = tile->GetPosition();
  return {at.X(), at.Y(), at.X() + kTile, at.Y() + kTile};
}

// Deeper than rounding: the hero rests a tenth of a pixel off surfaces.
bool Overlap(const Box& a, const Box& b) {
  constexpr float kDepth = 0.01f;
  return a.left < b.right - kDepth && b.left < a.right - kDepth && a.top < b.bottom - kDepth &&
         b.top < a.bottom - kDepth;
}

class LiftWorld : public BehaviorWorldTest {
 protected:
  // Ground tiles at each "x y", a lift placed at `liftAt` (its top-left corner) before or
  // after the hero in the list, and the hero at `heroAt` (his feet) with his game callbacks.
  void Start(const std::vector<std::string>& tiles, const Vector2& liftAt, const Vector2& heroAt,
             bool liftFirst) {
    std::vector<std::string> objects;
    for (const std::string& tile : tiles) objects.push_back("Floor " + tile + " 0 0 0");
    StartLevel(objects);
    // A floor tile's art under the lift's name and behaviour: GROUND, it passes through the
    // tiles.
    lift = dynamic_cast<GameObject*>(World::CloneSprite("Floor"));
    lift->SetName("FactoryPlatform");
    lift->MoveTo(liftAt);
    lift->SetDepth(liftFirst ? -1.0f : 1.0f);
    lift->SetBehavior(FactoryPlatformInit);
    World::GetObjects()->Add(lift);
    hero = AddHero(heroAt);
    hero->SetBehavior(PlayerInputThunk);
    hero->SetCollisionCallback(CollidePlayer);
    Input::GetInstance()->Update();
  }

  // One frame with `key` held (or nothing, for SDL_SCANCODE_UNKNOWN).
  void Frame(SDL_Scancode key) {
    if (key != m_down) {
      if (m_down != SDL_SCANCODE_UNKNOWN) game->KeyUp(m_down);
      if (key != SDL_SCANCODE_UNKNOWN) game->KeyDown(key);
      m_down = key;
    }
    Input::GetInstance()->Update();
    Step();
  }

  bool HeroInsideGround() const {
    for (const GameObject* tile : All("Floor")) {
      if (Overlap(HeroBox(hero), TileBox(tile))) return true;
    }
    return false;
  }

  GameObject* lift = nullptr;
  PlayerObject* hero = nullptr;

 private:
  SDL_Scancode m_down = SDL_SCANCODE_UNKNOWN;
};

struct TrapCase {
  const char* name;
  std::vector<std::string> tiles;
  Vector2 lift;
  Vector2 hero;
  bool liftFirst;  // the lift's behaviour runs before the hero's
};

void PrintTo(const TrapCase& c, std::ostream* out) {
  *out << c.name;
}

// A well floor under the lift's shaft: the lift rises, then comes down through the floor
// over the hero standing on it.
const std::vector<std::string> kWell = {"0 500",   "128 500", "256 500", "384 500",
                                        "512 500", "640 500", "768 500"};
// A ceiling over the top of the shaft, 200 pixels above the head of a hero riding up from
// the floor beside it, where he walks off to.
const std::vector<std::string> kLowCeiling = {"136 272", "264 600", "392 600",
                                              "520 600", "648 600", "776 600"};

const TrapCase kTrapCases[] = {
    {"ComingDownOnAHeroStandingOnTheFloor", kWell, {136, 300}, {200, 499.9f}, true},
    {"ComingDownOnAHeroStandingOnTheFloorHeMovesFirst", kWell, {136, 300}, {200, 499.9f}, false},
    {"CarryingTheHeroUpIntoALowCeiling", kLowCeiling, {136, 600}, {200, 599.9f}, true},
    {"CarryingTheHeroUpIntoALowCeilingHeMovesFirst", kLowCeiling, {136, 600}, {200, 599.9f}, false},
};

class LiftTrapsHero : public LiftWorld, public ::testing::WithParamInterface<TrapCase> {};

TEST_P(LiftTrapsHero, WaitsForHimInsteadOfPressingHimIntoTheGroundAndHeWalksAway) {
  const TrapCase& c = GetParam();
  Start(c.tiles, c.lift, c.hero, c.liftFirst);
  // Longer than the lift takes to meet him and to try the rest of its leg.
  for (int frame = 0; frame < 400; ++frame) {
    Frame(SDL_SCANCODE_UNKNOWN);
    ASSERT_FALSE(HeroInsideGround()) << "frame " << frame << ", hero at " << hero->GetPosition().X()
                                     << ", " << hero->GetPosition().Y();
  }
  // Waiting, within reach of him.
  EXPECT_TRUE(lift->GetVelocity().IsZero());
  const float startX = hero->GetPosition().X();
  for (int frame = 0; frame < 90; ++frame) {
    Frame(SDL_SCANCODE_RIGHT);
    ASSERT_FALSE(HeroInsideGround()) << "walking, frame " << frame;
  }
  for (int frame = 0; frame < 60; ++frame) Frame(SDL_SCANCODE_UNKNOWN);
  EXPECT_GT(hero->GetPosition().X(), startX + 300.0f);
  EXPECT_FALSE(hero->IsAirborne());
  EXPECT_FALSE(HeroInsideGround());
  // Free of him, the lift goes on.
  EXPECT_FALSE(lift->GetVelocity().IsZero());
}

INSTANTIATE_TEST_SUITE_P(Lift, LiftTrapsHero, ::testing::ValuesIn(kTrapCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiftWorld, ARiderWithRoomGoesTheWholeTripUpAndDownAtFullSpeed) {
  for (bool liftFirst : {true, false}) {
    // The hero on the lift in an open shaft, the floor far below its lowest point.
    Start({"0 1200", "128 1200", "256 1200"}, Vector2(136, 600), Vector2(200, 599.9f), liftFirst);
    float lowest = 0.0f;
    float highest = 1e9f;
    for (int frame = 0; frame < 600; ++frame) {
      Frame(SDL_SCANCODE_UNKNOWN);
      if (frame == 0) continue;  // the Init; he lands on it
      // Never held back for him.
      ASSERT_FLOAT_EQ(std::fabs(lift->GetVelocity().Y()), 2.5f) << "frame " << frame;
      ASSERT_FALSE(hero->IsAirborne()) << "frame " << frame;
      // Rising, he is lifted his rest gap clear of it each frame and put back on it; where
      // it turns down, a hero who moves first still goes up for that frame.
      const float gap = lift->GetPosition().Y() - hero->GetPosition().Y();
      ASSERT_GE(gap, 0.09f) << "frame " << frame << ", lift first " << liftFirst;
      ASSERT_LE(gap, liftFirst ? 0.21f : 5.21f)
          << "frame " << frame << ", lift first " << liftFirst;
      lowest = std::max(lowest, lift->GetPosition().Y());
      highest = std::min(highest, lift->GetPosition().Y());
    }
    // Its whole trip: up just past 344, down just past 854.5.
    EXPECT_NEAR(highest, 342.5f, 1e-3f);
    EXPECT_NEAR(lowest, 855.0f, 1e-3f);
    EXPECT_FLOAT_EQ(hero->GetPosition().X(), 200.0f);
  }
}

}  // namespace
