// The factory boss: its zones and waypoints, the decisions from the hero's
// zone, the moves between waypoints, the bombs, its hits and its death.
#include "behaviorlib/Includes/TigerA.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/BossWorld.h"
#include "game/world/World.h"

namespace {

constexpr float kFloor = 2752.0f;
constexpr float kLedge = 2595.0f;

class TigerATest : public behaviortest::BossWorldTest {
 protected:
  // The arena: the floor from 5504 to 7808 with walls, two ledges, TigerA at
  // the centre (its Init runs on the first frame) and the hero at `heroAt`.
  void Start(const Vector2& heroAt) {
    std::vector<std::string> tiles = Arena(5504, 7808, static_cast<int>(kFloor));
    for (int x : {6016, 6144, 7040, 7168}) tiles.push_back("Ledge " + std::to_string(x) + " 2595 0 0 0");
    StartLevel(tiles, {"TigerA 6656 2751.9 0"}, "0 0 9000 4000");
    // The arena lies far from the level's corner: bring it into play.
    World::GetObjects()->SetOffset(Vector2(6256, 2452));
    World::ActivateNearbyObjects(Vector2(1, 0));
    hero = AddHero(heroAt);
    tiger = Enemy("TigerA");
    ASSERT_TRUE(tiger);
    tiger->SetDeactivateOffscreen(false);
    Step();
  }

  // TigerA standing at (x, y) in the state given, ready to decide.
  void StandAt(float x, float y, BehaviorFn state) {
    tiger->MoveTo(Vector2(x, y - 0.1f));
    tiger->SetVelocity(0.0f, 0.0f);
    tiger->SetFlag("OnGround", 1.0f);
    tiger->SetFlag("DoFalling", 0.0f);
    tiger->SetFlag("DelayTime", 0.0f);
    tiger->SetBehavior(state);
  }

  // Steps until TigerA's behaviour is `state` (at most `limit` frames); -1 if never.
  int StepUntil(BehaviorFn state, int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      Step();
      if (tiger->GetBehavior() == state) return frame;
    }
    return -1;
  }

  PlayerObject* hero = nullptr;
  EnemyObject* tiger = nullptr;
};

TEST(TigerAArenaTest, ZonesUseStrictPlatformEdgesAndWaypointsFallBackOutsideTheTable) {
  struct Case {
    float x, y;
    int zone;
  };
  const Case cases[] = {
      {6016.5f, 2658.9f, 3}, {6016.0f, 2600.0f, 0}, {6271.9f, 2600.0f, 3}, {6272.0f, 2600.0f, 1},
      {6100.0f, 2659.0f, 0}, {7040.0f, 2600.0f, 1}, {7040.5f, 2600.0f, 4}, {7296.0f, 2600.0f, 2},
      {7936.0f, kFloor, 5},  {7935.9f, kFloor, 2},  {7168.0f, kFloor, 2},  {7167.9f, kFloor, 1},
      {6144.0f, kFloor, 1},  {6143.9f, kFloor, 0},  {7936.0f, 2600.0f, 5}, {0.0f, 0.0f, 0}};
  for (const Case& c : cases) EXPECT_EQ(TigerAZoneOf(c.x, c.y), c.zone) << c.x << ", " << c.y;
  for (int index : {-1, 5}) {
    EXPECT_EQ(TigerAWaypoint(index).x, 0.0f);
    EXPECT_EQ(TigerAWaypoint(index).y, 2752.0f);
  }
  EXPECT_EQ(TigerAWaypoint(3).x, 6144.0f);
  EXPECT_EQ(TigerAWaypoint(3).y, 2595.0f);
  EXPECT_NEAR(gTigerAJumpFrames, 64.136833f, 1e-4);
  EXPECT_NEAR(6.0f * gTigerAJumpFrames, 384.821f, 1e-3);
}

TEST_F(TigerATest, DecidesFromTheHerosZoneAndItsOwn) {
  struct Case {
    const char* rule;
    Vector2 at;
    BehaviorFn state;
    Vector2 hero;
    float bombThrown;
    BehaviorFn next;  // null: a bomb, or no decision
    int waypoint;
    int animation;
    bool bomb;
  };
  const Case cases[] = {
      {"centre, hero centre to the left", {6656, kFloor}, TigerAAtCentre, {6400, kFloor}, 0, TigerARun, 4, 2, false},
      {"centre, hero centre to the right", {6656, kFloor}, TigerAAtCentre, {6900, kFloor}, 0, TigerARun, 3, 2, false},
      {"centre, hero on the right ledge", {6656, kFloor}, TigerAAtCentre, {7168, kLedge}, 0, TigerAJump, 4, 17, false},
      {"centre, hero under the left ledge", {6656, kFloor}, TigerAAtCentre, {6100, kFloor}, 0, TigerARun, 0, 2, false},
      {"centre, hero left in the open: bomb", {6656, kFloor}, TigerAAtCentre, {5800, kFloor}, 0, nullptr, 0, 1, true},
      {"centre, hero left in the open: move", {6656, kFloor}, TigerAAtCentre, {5800, kFloor}, 1, TigerARun, 4, 2, false},
      {"centre, hero right: move", {6656, kFloor}, TigerAAtCentre, {7600, kFloor}, 1, TigerARun, 3, 2, false},
      {"centre, hero beyond the arena", {6656, kFloor}, TigerAAtCentre, {8000, kFloor}, 0, nullptr, 0, 1, false},
      {"side, hero on its side", {5760, kFloor}, TigerAAtSide, {5900, kFloor}, 0, TigerAClimb, 1, 16, false},
      {"side, hero centre", {7552, kFloor}, TigerAAtSide, {6656, kFloor}, 0, TigerAClimb, 1, 16, false},
      {"side, hero on its ledge", {5760, kFloor}, TigerAAtSide, {6144, kLedge}, 0, TigerAJump, 3, 17, false},
      {"side, hero on the right ledge", {7552, kFloor}, TigerAAtSide, {7168, kLedge}, 0, TigerAJump, 4, 17, false},
      {"upper, hero on its ledge to the left", {6144, kLedge}, TigerAAtUpper, {6050, kLedge}, 0, TigerAClimb, 0, 16, false},
      {"upper, hero on its ledge to the right", {7168, kLedge}, TigerAAtUpper, {7260, kLedge}, 0, TigerAClimb, 2, 16, false},
      {"upper, hero on its ledge behind", {6144, kLedge}, TigerAAtUpper, {6260, kLedge}, 0, TigerAClimb, 1, 16, false},
      {"upper, hero on the other ledge: bomb", {7168, kLedge}, TigerAAtUpper, {6144, kLedge}, 0, nullptr, 0, 1, true},
      {"upper, hero on the other ledge: move", {7168, kLedge}, TigerAAtUpper, {6144, kLedge}, 1, TigerARun, 2, 2, false},
      {"upper, hero on the far floor", {7168, kLedge}, TigerAAtUpper, {5800, kFloor}, 0, TigerARun, 1, 2, false},
      {"upper, hero right below", {6144, kLedge}, TigerAAtUpper, {6120, kFloor}, 0, TigerARun, 1, 2, false},
      {"upper, hero centre: move", {6144, kLedge}, TigerAAtUpper, {6656, kFloor}, 1, TigerARun, 0, 2, false},
      {"upper, hero on the floor beyond", {7168, kLedge}, TigerAAtUpper, {7600, kFloor}, 0, TigerAClimb, 2, 16, false},
      {"upper, hero on the floor before", {6144, kLedge}, TigerAAtUpper, {5800, kFloor}, 0, TigerAClimb, 0, 16, false},
  };
  Start(Vector2(5800, kFloor - 0.1f));
  for (const Case& c : cases) {
    for (Sprite* bomb : World::GetObjects()->FindAll("TigerABomb")) bomb->SetDead(true);
    Step();
    StandAt(c.at.X(), c.at.Y(), c.state);
    tiger->SetState(1);
    tiger->SetFlag("BombThrown", c.bombThrown);
    hero->MoveTo(Vector2(c.hero.X(), c.hero.Y() - 0.1f));
    c.state(tiger);
    EXPECT_EQ(tiger->GetBehavior(), c.next ? c.next : c.state) << c.rule;
    EXPECT_EQ(tiger->GetState(), c.animation) << c.rule;
    EXPECT_EQ(Count("TigerABomb"), c.bomb ? 1 : 0) << c.rule;
    if (c.bomb) {
      EXPECT_EQ(tiger->GetFlag("DelayTime"), 59.0f) << c.rule;
      EXPECT_EQ(tiger->GetFlag("BombThrown"), 1.0f) << c.rule;
    }
    if (!c.next) continue;
    EXPECT_EQ(tiger->GetFlag("TargetX"), TigerAWaypoint(c.waypoint).x) << c.rule;
    EXPECT_EQ(tiger->GetFlag("TargetY"), TigerAWaypoint(c.waypoint).y) << c.rule;
  }
}

TEST_F(TigerATest, SideRunTargetsItsLedgeOrTheCentreByTheDraw) {
  Start(Vector2(7600, kFloor - 0.1f));
  for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
    platform::SeedRandom(seed);
    const bool odd = platform::Random() % 2 == 1;
    StandAt(5760, kFloor, TigerAAtSide);
    platform::SeedRandom(seed);
    TigerAAtSide(tiger);
    EXPECT_EQ(tiger->GetBehavior(), TigerARun);
    EXPECT_EQ(tiger->GetFlag("TargetX"), odd ? 6656.0f : 6144.0f) << seed;
  }
}

TEST_F(TigerATest, ThrowsABombAtTheFirstDecisionAndRunsSixtyFramesLater) {
  Start(Vector2(5800, kFloor - 0.1f));
  EXPECT_EQ(StepUntil(TigerAAtCentre, 1), 1);
  int frames = 2;
  while (Count("TigerABomb") == 0 && frames < 100) {
    Step();
    ++frames;
  }
  EXPECT_EQ(frames, 61) << "the Init's frame, 59 more to 0, then the decision";
  EXPECT_EQ(tiger->GetFlag("DelayTime"), 59.0f);
  EXPECT_TRUE(tiger->IsFacingLeft());
  EXPECT_EQ(StepUntil(TigerARun, 100), 60);
  EXPECT_EQ(tiger->GetFlag("TargetX"), 7168.0f);
}

TEST_F(TigerATest, BombFlightTimeReachesTheHeroAndStaysFiniteWhenHeIsOutOfReach) {
  struct Case {
    float heroDy;  // hero y - TigerA y
    float flight;
  };
  for (const Case& c : {Case{0.0f, 36.0f / 0.7f}, Case{-157.0f, (std::sqrt(324.0f - 1.4f * 157.0f) + 18.0f) / 0.7f},
                        Case{-300.0f, 18.0f / 0.7f}}) {
    Start(Vector2(5800, kFloor - 0.1f + c.heroDy));
    StandAt(6656, kFloor, TigerAAtCentre);
    TigerAThrowBomb(tiger);
    auto* bomb = Enemy("TigerABomb");
    ASSERT_TRUE(bomb);
    const float dx = 5800.0f - tiger->GetPosition().X();
    EXPECT_NEAR(bomb->GetVelocity().X(), dx / c.flight, 1e-3) << c.heroDy;
    EXPECT_FLOAT_EQ(bomb->GetVelocity().Y(), -18.0f + 0.7f) << "its first fuse frame ran";
    EXPECT_TRUE(std::isfinite(bomb->GetVelocity().X()));
    EXPECT_TRUE(bomb->IsSummoned());
    EXPECT_FALSE(bomb->GetDeactivateOffscreen());
    EXPECT_EQ(bomb->GetDepth(), 4.0f);
    EXPECT_EQ(bomb->GetState(), 1);
    EXPECT_EQ(bomb->GetFlags().count("ExplodeTimer"), 1u) << "its Init ran";
  }
}

TEST_F(TigerATest, RunLeapsOntoALedgeOnlyWithinReachAndArrivesThere) {
  Start(Vector2(6500, kFloor - 0.1f));
  StandAt(6656, kFloor, TigerAAtCentre);
  TigerAAtCentre(tiger);
  ASSERT_EQ(tiger->GetBehavior(), TigerARun);
  ASSERT_EQ(tiger->GetFlag("TargetX"), 7168.0f);
  hero->MoveTo(Vector2(5000, kFloor - 0.1f));  // out of the way of the next decision
  float leapX = 0.0f;
  for (int frame = 0; frame < 400 && tiger->GetBehavior() == TigerARun; ++frame) {
    const float x = tiger->GetPosition().X();
    Step();
    if (leapX == 0.0f && tiger->GetState() == 19) leapX = x;
  }
  EXPECT_LE(7168.0f - leapX, 384.821f);
  EXPECT_GT(7168.0f - leapX, 380.0f);
  EXPECT_EQ(tiger->GetBehavior(), TigerAAtUpper);
  EXPECT_NEAR(tiger->GetPosition().X(), 7168.0f, 5.0f);
}

TEST_F(TigerATest, JumpHopsUntilWithinFivePixelsOfTheLedge) {
  Start(Vector2(6144, kLedge - 0.1f));
  StandAt(6656, kFloor, TigerAAtCentre);
  TigerAAtCentre(tiger);
  ASSERT_EQ(tiger->GetBehavior(), TigerAJump);
  Step();
  EXPECT_FLOAT_EQ(tiger->GetVelocity().Y(), -18.5f);
  EXPECT_LT(tiger->GetVelocity().X(), -8.0f);
  hero->MoveTo(Vector2(5000, kFloor - 0.1f));
  EXPECT_GT(StepUntil(TigerAAtUpper, 600), 0);
  // It arrives on the frame it is within 5 pixels, and brakes to a stop on the ledge.
  EXPECT_NEAR(tiger->GetPosition().X() - tiger->GetVelocity().X(), 6144.0f, 5.0f);
  Step(60);
  EXPECT_EQ(TigerAZoneOf(tiger->GetPosition().X(), tiger->GetPosition().Y()), 3);
}

TEST_F(TigerATest, DashGainsOneUpToNineAndBrakeTakesTwoOff) {
  Start(Vector2(5000, kFloor - 0.1f));
  StandAt(5760, kFloor, TigerAAtSide);
  TigerAGoTo(tiger, TigerAClimb, 16, 1);
  std::vector<float> speeds;
  for (int i = 0; i < 10; ++i) {
    TigerAClimb(tiger);
    speeds.push_back(tiger->GetVelocity().X());
  }
  EXPECT_EQ(speeds, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9, 9}));
  for (const auto& [from, to] : std::vector<std::pair<float, float>>{{3, 1}, {1, 0}, {-1, 0}, {-3, -1}, {0, 0}}) {
    tiger->SetVelocity(from, 5.0f);
    TigerABrake(tiger);
    EXPECT_EQ(tiger->GetVelocity(), CachedVector(to, 5.0f)) << from;
  }
}

TEST_F(TigerATest, HitsCountOncePerAttackAndSendItToItsZonesDecision) {
  Start(Vector2(5000, kFloor - 0.1f));
  StandAt(5760, kFloor, TigerARun);
  tiger->SetFlag("TargetX", 6656.0f);
  tiger->SetFlag("DelayTime", 33.0f);
  Hit(tiger, hero, 10.0f);
  TigerARun(tiger);
  EXPECT_EQ(tiger->GetFlag("Health"), 90.0f);
  EXPECT_EQ(tiger->GetBehavior(), TigerAAtSide);
  EXPECT_EQ(tiger->GetFlag("DamagedTime"), 14.0f) << "15, then the run's own flash step";
  EXPECT_EQ(tiger->GetFlag("DelayTime"), 33.0f);
  Hit(tiger, hero, 10.0f, false);
  EXPECT_FALSE(TigerADamage(tiger));
  EXPECT_EQ(tiger->GetFlag("Health"), 90.0f);
}

TEST_F(TigerATest, LethalHitWhileHiddenStillFlashesForAHundredAndNineteenFrames) {
  Start(Vector2(5000, kFloor - 0.1f));
  StandAt(6656, kFloor, TigerAAtCentre);
  tiger->SetFlag("Health", 5.0f);
  tiger->SetVisible(false);
  tiger->SetVelocity(3.0f, 0.0f);
  Hit(tiger, hero, 10.0f);
  EXPECT_TRUE(TigerADamage(tiger));
  EXPECT_EQ(tiger->GetBehavior(), TigerADeath);
  EXPECT_EQ(tiger->GetState(), 22);
  EXPECT_TRUE(tiger->GetVelocity().IsZero());
  EXPECT_EQ(tiger->GetFlag("DelayTime"), 120.0f);
  int visible = 0;
  std::vector<ObjectHandle> flashes;
  for (int i = 0; i < 120; ++i) {
    visible += tiger->IsVisible();
    Step();
    Note("Flash", flashes);
  }
  EXPECT_EQ(visible, 120);
  EXPECT_FALSE(tiger->IsVisible());
  EXPECT_GT(flashes.size(), 20u);
  EXPECT_FALSE(tiger->IsDead());
}

using TigerADeathTest = TigerATest;

TEST_F(TigerADeathTest, BombWithoutItsPrototypeStopsNamingIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        worldtest::WriteText(Root() / "SpriteList.vtsl",
                             "2\nZodirazO 1 1 animations/hero.acd\nTigerA 1 1 animations/tiger.acd\n");
        StartLevel({}, {}, "0 0 9000 4000");
        SpawnTigerABomb(0.0f, 0.0f, 1.0f, -18.0f);
      },
      "TigerABomb");
}

}  // namespace
