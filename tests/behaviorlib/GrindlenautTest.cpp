// The junkyard boss: set-up of its four objects, the wait, emergence, charge,
// arm attack, dive and death, its smoke and hits, and parts that have vanished.
#include "behaviorlib/Includes/Grindlenaut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/BossWorld.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/objects/ObjectHandle.h"
#include "game/world/World.h"

namespace {

constexpr float kFloorY = 500.0f;
constexpr float kStandY = kFloorY - 0.1f;
constexpr float kBuriedX = 1280.0f;
constexpr float kBuriedY = 884.0f;

class GrindlenautTest : public behaviortest::BossWorldTest {
 protected:
  // The arena with the boss's objects placed as enemies; the first frame runs
  // the Inits (the body's waits while a part is missing).
  void Start(bool withBurrow = true) {
    std::vector<std::string> parts = {"Grindlenaut", "GrindlenautDrill", "GrindlenautArm"};
    if (withBurrow) parts.push_back("GrindlenautBurrow");
    std::vector<std::string> enemies;
    for (const std::string& part : parts) enemies.push_back(part + " " + std::to_string(kBuriedX) + " " + std::to_string(kBuriedY) + " 0");
    StartLevel(Arena(256, 2304, static_cast<int>(kFloorY)), enemies, "0 0 4000 3000");
    hero = AddHero(Vector2(400, kStandY));
    body = Enemy("Grindlenaut");
    body->SetDeactivateOffscreen(false);
    Step();
  }

  GameObject* Part(const char* link) { return LinkedObject(body->GetFlag(link)); }

  // The body standing on the floor at x in the state given.
  void StandAt(float x, BehaviorFn state, bool facingLeft = false) {
    body->SetState(2);
    body->SetDepth(1.0f);
    body->SetFacingLeft(facingLeft);
    body->MoveTo(Vector2(x, kStandY));
    body->SetVelocity(0.0f, 0.0f);
    body->SetFlag("OnGround", 1.0f);
    body->SetFlag("PatrolTime", 0.0f);
    body->SetFlag("InitialY", kStandY);
    body->SetBehavior(state);
  }

  Vector2 Mount(int vertex) const {
    return body->GetCollisionShape().GetPolygon(2).GetVertex(vertex).GetPosition();
  }

  PlayerObject* hero = nullptr;
  EnemyObject* body = nullptr;
};

TEST_F(GrindlenautTest, InitWaitsForEveryPartThenLinksPlacesAndLayersThem) {
  Start(false);
  Step(3);
  EXPECT_EQ(body->GetBehavior(), GrindlenautInit) << "a missing burrow keeps it waiting";
  EXPECT_FALSE(body->IsVisible());

  auto* burrow = new EnemyObject("GrindlenautBurrow", World::FindPrototype("GrindlenautBurrow")->GetAnimation(),
                                 Vector2(kBuriedX, kBuriedY), NO_CALLBACKS, 0.0f);
  World::GetObjects()->Add(burrow);
  Step();
  ASSERT_EQ(body->GetBehavior(), GrindlenautWait);
  EXPECT_TRUE(body->IsVisible());
  EXPECT_EQ(body->GetFlag("PatrolTime"), 600.0f) << "the wait ran once in the Init's frame";
  EXPECT_EQ(body->GetFlag("Health"), 150.0f);
  GameObject* drill = Part("DrillPtr");
  GameObject* arm = Part("ArmPtr");
  ASSERT_TRUE(drill && arm);
  EXPECT_EQ(drill->GetName(), "GrindlenautDrill");
  EXPECT_EQ(arm->GetName(), "GrindlenautArm");
  EXPECT_EQ(Part("BurrowPtr"), burrow);
  EXPECT_FALSE(burrow->IsVisible());
  EXPECT_FLOAT_EQ(body->GetDepth(), -1.0f);
  EXPECT_FLOAT_EQ(drill->GetDepth(), -0.99f);
  EXPECT_FLOAT_EQ(arm->GetDepth(), -0.98f);
  EXPECT_FLOAT_EQ(burrow->GetDepth(), -0.97f);
  for (GameObject* part : {drill, arm, static_cast<GameObject*>(burrow)}) EXPECT_FALSE(part->GetDeactivateOffscreen());
  // The physics step moved nothing: the parts sit on the mounts.
  EXPECT_EQ(drill->GetPosition(), Mount(0));
  EXPECT_EQ(arm->GetPosition(), Mount(1));
}

TEST_F(GrindlenautTest, WaitsSixHundredFramesShakingTheGroundForTheLastSixty) {
  Start();
  Step(539);
  EXPECT_FALSE(World::IsEarthquake());
  Step();
  EXPECT_TRUE(World::IsEarthquake());
  Step(59);
  EXPECT_EQ(body->GetBehavior(), GrindlenautWait);
  Step();
  EXPECT_EQ(body->GetBehavior(), GrindlenautEmerge);
  EXPECT_EQ(body->GetFlag("PatrolTime"), 0.0f);
}

TEST_F(GrindlenautTest, EmergesAlongItsPathTurnsUprightAtTheApexAndPatrolsAfterLanding) {
  for (bool left : {false, true}) {
    Start();
    body->SetFacingLeft(left);
    body->SetFlag("PatrolTime", 1.0f);  // as the level's trigger shortens the wait
    Step(2);
    ASSERT_EQ(body->GetBehavior(), GrindlenautEmerge);
    EXPECT_EQ(body->GetState(), 3);
    EXPECT_FLOAT_EQ(body->GetFlag("InitialY"), kBuriedY);
    Step();
    const float vx = left ? -5.0f : 5.0f;
    EXPECT_FLOAT_EQ(body->GetVelocity().X(), vx);
    EXPECT_FLOAT_EQ(body->GetVelocity().Y(), -19.7f);
    EXPECT_NEAR(body->GetRotation().GetRadians(), std::atan2(-19.7, 5.0) + 2 * M_PI, 1e-4);
    EXPECT_FALSE(Part("BurrowPtr")->IsVisible());
    int frames = 0;
    while (body->GetState() != 2 && frames++ < 200) Step();
    EXPECT_FLOAT_EQ(body->GetDepth(), 1.0f);
    EXPECT_FLOAT_EQ(Part("ArmPtr")->GetDepth(), 1.02f);
    EXPECT_EQ(body->GetRotation().GetRadians(), 0.0);
    EXPECT_FALSE(World::IsEarthquake());
    while (body->GetBehavior() == GrindlenautEmerge && frames++ < 400) Step();
    EXPECT_EQ(body->GetBehavior(), GrindlenautPatrol) << "left " << left;
    EXPECT_NEAR(body->GetPosition().Y(), kStandY, 0.5f);
    EXPECT_EQ(Part("DrillPtr")->IsFacingLeft(), left);
  }
}

TEST_F(GrindlenautTest, ChargesToAWallRestsWithTheQuakeAtBothEndsThenTurnsToAttack) {
  for (bool left : {false, true}) {
    Start();
    StandAt(1280.0f, GrindlenautPatrol, left);
    int frames = 0;
    while (body->GetFlag("PatrolTime") == 0.0f && frames++ < 400) Step();
    ASSERT_EQ(body->GetFlag("PatrolTime"), 240.0f);
    const float gap = left ? body->GetPosition().X() - 100.0f - 256.0f : 2304.0f - (body->GetPosition().X() + 100.0f);
    EXPECT_GE(gap, 0.0f);
    EXPECT_LE(gap, 2.0f) << "left " << left;
    std::vector<bool> quake;
    for (int i = 0; i < 240; ++i) {
      body->SetVelocity(0.0f, 0.0f);
      Step();
      quake.push_back(World::IsEarthquake());
    }
    EXPECT_TRUE(quake[0] && quake[58] && !quake[59] && !quake[178] && quake[179] && quake[238]);
    EXPECT_FALSE(quake[239]) << "off when it turns";
    EXPECT_EQ(body->GetBehavior(), GrindlenautArmAttack);
    EXPECT_EQ(body->IsFacingLeft(), !left);
  }
}

TEST_F(GrindlenautTest, ArmAttackSwingsThreeTimesThrowingScrapTheWayItFaces) {
  for (bool left : {false, true}) {
    Start();
    StandAt(1280.0f, GrindlenautArmAttack, left);
    GameObject* arm = Part("ArmPtr");
    std::vector<int> swings;
    std::vector<ObjectHandle> scraps;
    for (int frame = 1; frame <= 601; ++frame) {
      const float before = arm->GetFlag("ArmDir");
      Step();
      if (before != 1.0f && arm->GetFlag("ArmDir") == 1.0f) swings.push_back(frame);
      Note("Scrap", scraps);
    }
    // 600 set on the first frame, then swings at 540, 360 and 180 left.
    EXPECT_EQ(swings, (std::vector<int>{61, 241, 421})) << "left " << left;
    EXPECT_EQ(scraps.size(), 3u);
    EXPECT_EQ(body->GetBehavior(), GrindlenautDive);
    for (ObjectHandle handle : scraps) {
      GameObject* scrap = ObjectRegistry::Resolve(handle);
      if (!scrap) continue;  // already fallen out of view
      EXPECT_GE(scrap->GetState(), 0);
      EXPECT_LE(scrap->GetState(), 6);
      EXPECT_EQ(scrap->GetVelocity().X() < 0.0f, left);
    }
  }
}

TEST_F(GrindlenautTest, SwingPicksScrapAtTheGrabberAndThrowsItWithinTheRandomRange) {
  Start();
  StandAt(1280.0f, GrindlenautWait);
  GameObject* arm = Part("ArmPtr");
  arm->SetFlag("ArmDir", 1.0f);
  for (int i = 0; i < 58; ++i) GrindlenautArmSwing(arm);
  EXPECT_EQ(Count("Scrap"), 0);
  GrindlenautArmSwing(arm);
  ASSERT_EQ(Count("Scrap"), 1) << "picked when the angle reaches 1.0";
  GameObject* scrap = LinkedObject(arm->GetFlag("ScrapPtr"));
  ASSERT_TRUE(scrap);
  EXPECT_EQ(arm->GetFlag("ArmDir"), -1.0f);
  EXPECT_EQ(scrap->GetPosition(), arm->GetCollisionShape().GetPolygon(1).GetVertex(0).GetPosition());
  EXPECT_FLOAT_EQ(scrap->GetDepth(), arm->GetDepth() - 0.005f);
  EXPECT_TRUE(scrap->GetVelocity().IsZero());
  int frames = 0;
  while (arm->GetFlag("ArmDir") != 0.0f && frames++ < 100) GrindlenautArmSwing(arm);
  // 59 steps of 0.017 up overshoot 1.0 by 0.003, so the way down takes one more.
  EXPECT_EQ(frames, 60);
  EXPECT_EQ(arm->GetFlag("ScrapPtr"), 0.0f);
  EXPECT_GE(scrap->GetVelocity().X(), 4.0f);
  EXPECT_LT(scrap->GetVelocity().X(), 6.0f);
  EXPECT_LE(scrap->GetVelocity().Y(), -5.0f);
  EXPECT_GT(scrap->GetVelocity().Y(), -17.0f);
}

TEST_F(GrindlenautTest, ArmCarriesAndThrowsNothingOnceItsScrapOrThePartsAreGone) {
  Start();
  StandAt(1280.0f, GrindlenautWait);
  GameObject* arm = Part("ArmPtr");
  arm->SetFlag("ArmDir", 1.0f);
  for (int i = 0; i < 59; ++i) GrindlenautArmSwing(arm);
  LinkedObject(arm->GetFlag("ScrapPtr"))->SetDead(true);
  Part("DrillPtr")->SetDead(true);
  Step();  // the list deletes both
  EXPECT_EQ(LinkedObject(arm->GetFlag("ScrapPtr")), nullptr);
  EXPECT_EQ(Part("DrillPtr"), nullptr);
  Step(100);
  EXPECT_EQ(arm->GetFlag("ArmDir"), 0.0f);
  EXPECT_EQ(arm->GetFlag("ScrapPtr"), 0.0f);
  EXPECT_EQ(Count("Scrap"), 0);
  EXPECT_EQ(body->GetBehavior(), GrindlenautWait);
}

TEST_F(GrindlenautTest, DiveSummonsOneChargingRummagerAndSinksBackToWait) {
  for (bool rummagerAlive : {false, true}) {
    Start();
    if (rummagerAlive) {
      auto* other = new EnemyObject("Rummager", World::FindPrototype("Rummager")->GetAnimation(),
                                    Vector2(300, kStandY), NO_CALLBACKS, 0.0f);
      World::GetObjects()->Add(other);
    }
    StandAt(1280.0f, GrindlenautDive, true);
    Step();
    EXPECT_EQ(body->GetState(), 3);
    EXPECT_FLOAT_EQ(body->GetVelocity().X(), -3.0f);
    EXPECT_FLOAT_EQ(body->GetVelocity().Y(), -10.0f);
    int frames = 0;
    bool sawBurrow = false;
    while (body->GetBehavior() == GrindlenautDive && frames++ < 300) {
      const bool below = body->GetPosition().Y() > kStandY;
      Step();
      if (below && body->GetBehavior() == GrindlenautDive) {
        EXPECT_TRUE(World::IsEarthquake());
        sawBurrow = sawBurrow || Part("BurrowPtr")->IsVisible();
        EXPECT_FLOAT_EQ(body->GetDepth(), -1.0f);
      }
    }
    EXPECT_TRUE(sawBurrow);
    ASSERT_EQ(body->GetBehavior(), GrindlenautWait);
    EXPECT_FALSE(World::IsEarthquake());
    EXPECT_GT(body->GetPosition().Y(), kStandY + 360.0f);
    EXPECT_GT(body->GetFlag("FinalYVel"), 10.0f) << "kept for the next emergence";
    EXPECT_TRUE(body->GetVelocity().IsZero());
    ASSERT_EQ(Count("Rummager"), 1);
    if (rummagerAlive) continue;
    auto* rummager = Enemy("Rummager");
    EXPECT_TRUE(rummager->IsSummoned());
    EXPECT_EQ(rummager->GetFlag("BossMode"), 1.0f);
    EXPECT_FALSE(rummager->GetDeactivateOffscreen());
    EXPECT_EQ(rummager->GetBehavior(), RummagerCharge) << "it charges at once";
  }
}

TEST_F(GrindlenautTest, SmokesMoreOftenAsItsHealthDrops) {
  Start();
  EXPECT_EQ(body->GetFlag("SmokeTime"), 149.0f);
  // A full-health puff has no size: it is gone after its first frame.
  body->SetFlag("SmokeTime", 1.0f);
  Step();
  EXPECT_EQ(body->GetFlag("SmokeTime"), 4.0f * std::sqrt(150.0f));
  Step();
  EXPECT_EQ(Count("Flash"), 0);
  struct Case {
    float health;
    int every;
  };
  for (const Case& test : {Case{150, 49}, Case{25, 20}, Case{1, 5}}) {
    body->SetFlag("Health", test.health);
    body->SetFlag("SmokeTime", 1.0f);
    Step();
    int frames = 0;
    float last = body->GetFlag("SmokeTime");
    do {
      last = body->GetFlag("SmokeTime");
      Step();
      ++frames;
    } while (body->GetFlag("SmokeTime") < last && frames < 100);
    EXPECT_EQ(frames, test.every) << test.health;
  }
}

TEST_F(GrindlenautTest, WearShowsByHealthInStepWithTheTreadsAndStillStartsTheDive) {
  // Two timed frames per look, so a swap that restarted the animation would show.
  for (const char* wear : {"", "_dented", "_wrecked"}) {
    WriteArt(std::string("GNTbody") + wear, 2, {100, 60}, 200, 60, BodyShape(true), 8);
    WriteArt(std::string("GNTdive") + wear, 2, {100, 60}, 200, 60, BodyShape(false), 4);
  }
  struct Case {
    float health;
    std::string wear;
  };
  for (const Case& c : {Case{150, ""}, Case{100, ""}, Case{99.5f, "_dented"}, Case{50, "_dented"},
                        Case{49.5f, "_wrecked"}, Case{1, "_wrecked"}}) {
    SCOPED_TRACE(c.health);
    Start();
    StandAt(1280.0f, GrindlenautPatrol);
    Step(11);  // into the second frame
    body->SetFlag("Health", c.health);
    const int frame = body->GetFrame();
    const int ticks = body->GetTicksLeft();
    ASSERT_EQ(frame, 1);
    Step();
    EXPECT_EQ(body->GetAnimation()->GetName(), "GNTbody" + c.wear);
    EXPECT_EQ(body->GetFrame(), frame);
    EXPECT_EQ(body->GetTicksLeft(), ticks - 1);
    body->SetBehavior(GrindlenautDive);
    Step();
    EXPECT_EQ(body->GetState(), 3) << "a worn walk is the dive's first frame too";
    EXPECT_EQ(body->GetAnimation()->GetName(), "GNTdive" + c.wear);
    EXPECT_FLOAT_EQ(body->GetVelocity().Y(), -10.0f);
  }
}

TEST_F(GrindlenautTest, EachAttackHurtsOnceWithoutKnockBackAndRestartsTheFlash) {
  Start();
  Hit(body, hero, 10.0f);
  Step();
  EXPECT_EQ(body->GetFlag("Health"), 140.0f);
  EXPECT_EQ(body->GetFlag("DamagedTime"), 15.0f);
  EXPECT_TRUE(body->GetVelocity().IsZero());
  Step(4);
  Hit(body, hero, 10.0f, false);
  Step();
  EXPECT_EQ(body->GetFlag("Health"), 140.0f) << "the same swing";
  Hit(body, hero, 10.0f);
  Step();
  EXPECT_EQ(body->GetFlag("Health"), 130.0f) << "a new swing counts during the flash";
  EXPECT_EQ(body->GetFlag("DamagedTime"), 15.0f);
}

TEST_F(GrindlenautTest, DeathFlashesThreeHundredFramesEvenWhenTheKillingHitLandsWhileHidden) {
  Start();
  for (int i = 0; i < 2; ++i) {
    World::GetObjects()->Add(new EnemyObject("Rummager", World::FindPrototype("Rummager")->GetAnimation(),
                                             Vector2(300, kStandY), NO_CALLBACKS, 0.0f));
  }
  body->SetFlag("Health", 5.0f);
  body->SetFlag("DamagedTime", 10.0f);
  body->SetFlag("FlashTime", 1.0f);  // the blink hides it this frame
  World::SetEarthquake(true);
  Hit(body, hero, 10.0f);
  Step();
  ASSERT_EQ(body->GetBehavior(), GrindlenautDeath);
  EXPECT_TRUE(body->IsVisible());
  EXPECT_FALSE(World::IsEarthquake());
  std::vector<ObjectHandle> flashes;
  int visibleFrames = 0;
  for (int frame = 1; frame <= 301; ++frame) {
    Step();
    Note("Flash", flashes);
    visibleFrames += body->IsVisible();
    if (frame == 1) {
      EXPECT_EQ(body->GetState(), 20);
      EXPECT_EQ(Part("DrillPtr")->GetBehavior(), GrindlenautDrillDeath);
      EXPECT_EQ(Part("ArmPtr")->GetBehavior(), GrindlenautArmDeath);
      EXPECT_EQ(Count("Rummager"), 1) << "one killed per frame";
    }
  }
  EXPECT_EQ(Count("Rummager"), 0);
  EXPECT_EQ(flashes.size(), 271u);
  EXPECT_EQ(visibleFrames, 300) << "shown until the sequence ends";
  EXPECT_FALSE(body->IsVisible());
  EXPECT_EQ(body->GetBehavior(), nullptr);
  EXPECT_EQ(body->GetFlag("PatrolTime"), -1.0f);
  EXPECT_EQ(Part("DrillPtr"), nullptr);
  EXPECT_EQ(Part("ArmPtr"), nullptr);
  EXPECT_EQ(Part("BurrowPtr"), nullptr);
  EXPECT_FALSE(body->IsDead()) << "the level's trigger marks it";
}

using GrindlenautDeathTest = GrindlenautTest;

TEST_F(GrindlenautDeathTest, SummonWithoutARummagerPrototypeStopsNamingIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        worldtest::WriteText(Root() / "SpriteList.vtsl",
                             "5\nZodirazO 1 1 animations/hero.acd\nFloor 1 1 animations/floor.acd\n"
                             "Flash 1 1 animations/flash.acd\nSpark 1 1 animations/spark.acd\n"
                             "Grindlenaut 4 1 animations/GNTburied.acd 2 animations/GNTbody.acd"
                             " 3 animations/GNTdive.acd 20 animations/GNTdeath.acd\n");
        StartLevel(Arena(256, 2304, 500), {"Grindlenaut 1280 884 0"}, "0 0 4000 3000");
        GameObject* lone = Live("Grindlenaut");
        lone->SetBehavior(nullptr);
        lone->AddFlag("InitialY", 499.9f);
        lone->AddFlag("PatrolTime", 0.0f);
        lone->AddFlag("SmokeTime", 100.0f);
        lone->AddFlag("DrillPtr", 0.0f);
        lone->AddFlag("ArmPtr", 0.0f);
        lone->AddFlag("BurrowPtr", 0.0f);
        lone->MoveTo(Vector2(1280, 502));
        GrindlenautDive(lone);
      },
      "Rummager");
}

}  // namespace
