// The TigerC, the Shredder and the Constructor: how far the gunner keeps from
// the hero and when it shoots, where the chaser retreats to after a hit, and
// when the spawner releases its TigerE.
#include "behaviorlib/GunnerEnemies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ConstructorCounts.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/ObjectHandle.h"
#include "game/objects/ResponseFixtures.h"

namespace {

using behaviortest::GROUND;

constexpr float kFloorY = 500.0f;
constexpr float kStandY = kFloorY - 0.1f;

const char* const kSpriteList =
    "11\n"
    "ZodirazO 1 1 animations/hero.acd\n"
    "Floor 1 1 animations/floor.acd\n"
    "Tiles 1 1 animations/tiles.acd\n"
    "Flash 1 1 animations/flash.acd\n"
    "Spark 1 1 animations/spark.acd\n"
    "Powerup 1 1 animations/powerup.acd\n"
    "TigerC 1 1 animations/walker.acd\n"
    "TigerCShot 1 3 animations/flash.acd\n"
    "Shredder 1 1 animations/walker.acd\n"
    "Constructor 1 1 animations/walker.acd\n"
    "TigerE 1 1 animations/walker.acd\n";

class GunnersTest : public behaviortest::BehaviorWorldTest {
 protected:
  void SetUp() override {
    BehaviorWorldTest::SetUp();
    // Ground tiles whose frames mark ledge ends (12, 13) and walls (16, 17).
    Write("tiles", 18, 128, 128, {0, 0}, {behaviortest::Box(GROUND, 0, 0, 128, 128)});
    worldtest::WriteText(Root() / "SpriteList.vtsl", kSpriteList);
    constructorcounts::ResetForTests();
  }
  void TearDown() override {
    constructorcounts::ResetForTests();
    BehaviorWorldTest::TearDown();
  }

  // One enemy of `kind` at x on 24 floor tiles with the given frames (all 0
  // when empty), the hero at heroX, and `extra` level objects. After `settle`
  // frames (the first runs the Init) the enemy has landed and stands still.
  EnemyObject* Start(const std::string& kind, float x, float heroX, std::vector<int> frames = {},
                     const std::vector<std::string>& extra = {}, int settle = 10) {
    frames.resize(24, 0);
    std::vector<std::string> objects = extra;
    for (int tile = 0; tile < 24; ++tile) {
      objects.push_back("Tiles " + std::to_string(tile * 128) + " 500 " + std::to_string(frames[tile]) + " 0 0");
    }
    StartLevel(objects, {kind + " " + std::to_string(x) + " " + std::to_string(kStandY) + " 0"});
    hero = AddHero(Vector2(heroX, kStandY));
    EnemyObject* enemy = Enemy(kind);
    Step(settle);
    enemy->SetVelocity(0.0f, 0.0f);
    return enemy;
  }

  void PlaceHero(const GameObject* enemy, float dx) {
    hero->MoveTo(Vector2(enemy->GetPosition().X() + dx, kStandY));
  }

  // A hit of `damage` by an attack that has not hurt the enemy yet.
  void Hit(EnemyObject* enemy, float damage) {
    enemy->SetLastHitAttackId(hero->GetAttackId() - 1);
    enemy->SetSummoned(true);  // no HUD here to show the hit
    enemy->SetFlag("DamageReceived", damage);
    enemy->SetLastContact(responsetest::Overlap(enemy, hero, 1, 2));
  }

  // Calls `state` until the behaviour changes; the number of calls, or -1.
  static int CallsUntilLeaving(GameObject* enemy, BehaviorFn state, int limit) {
    for (int call = 1; call <= limit; ++call) {
      state(enemy);
      if (enemy->GetBehavior() != state) return call;
    }
    return -1;
  }

  // Aims at the hero 300 pixels to the right with the gun ready: it fires.
  void Fire(EnemyObject* tiger) {
    PlaceHero(tiger, 300);
    tiger->SetBehavior(TigerCAim);
    tiger->SetFlag("AggroDelay", 0.0f);
    tiger->SetFlag("GunTimer", 0.0f);
    TigerCAim(tiger);
  }

  PlayerObject* hero = nullptr;
};

TEST_F(GunnersTest, TigerCAndShredderNoticeAndTigerCFiresOnlyInsideTheirRanges) {
  struct Case {
    const char* kind;
    BehaviorFn from;
    float dx;
    BehaviorFn to;
  };
  const Case cases[] = {{"TigerC", TigerCPatrol, 499.5f, TigerCAim},
                        {"TigerC", TigerCPatrol, -500, TigerCPatrol},
                        {"TigerC", TigerCAim, -479.5f, TigerCShoot},
                        {"TigerC", TigerCAim, 480, TigerCAim},
                        {"Shredder", ShredderPatrol, -499.5f, ShredderChase},
                        {"Shredder", ShredderPatrol, 500, ShredderPatrol}};
  for (const Case& test : cases) {
    EnemyObject* enemy = Start(test.kind, 1500, 3000);
    enemy->SetBehavior(test.from);
    enemy->SetFlag("AggroDelay", 10.0f);
    PlaceHero(enemy, test.dx);
    test.from(enemy);
    EXPECT_EQ(enemy->GetBehavior(), test.to) << test.kind << " dx " << test.dx;
  }
}

// Each kind's numbers, read from its own Init and first states: the hero
// stands far to the right unless a reading moves him.
TEST_F(GunnersTest, TigerCKeepsItsHealthSpeedsPatrolAndGunTimers) {
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 25, [](EnemyObject* tiger) { return tiger->GetFlag("Health"); }},
      {"gun timer at the start", 0, [](EnemyObject* tiger) { return tiger->GetFlag("GunTimer"); }},
      {"backing off from a near hero", -3,
       [this](EnemyObject* tiger) {
         PlaceHero(tiger, 300);
         tiger->SetFlag("GunTimer", 1000.0f);
         return SpeedAfter(tiger, TigerCAim, 1);
       }},
      {"frames between decisions", 50,
       [this](EnemyObject* tiger) {
         PlaceHero(tiger, 300);
         tiger->SetFlag("GunTimer", 1000.0f);
         SpeedAfter(tiger, TigerCAim, 1);
         return tiger->GetFlag("AggroDelay");
       }},
      {"firing frames", 80,
       [this](EnemyObject* tiger) {
         Fire(tiger);
         return tiger->GetFlag("GunTimer");
       }},
      {"frames to the shot", 40,
       [this](EnemyObject* tiger) {
         Fire(tiger);
         int calls = 0;
         while (Count("TigerCShot") == 0 && calls < 100) {
           TigerCShoot(tiger);
           ++calls;
         }
         return static_cast<float>(calls);
       }},
      {"shot speed", 10,
       [this](EnemyObject* tiger) {
         Fire(tiger);
         while (Count("TigerCShot") == 0 && tiger->GetBehavior() == TigerCShoot) TigerCShoot(tiger);
         return Count("TigerCShot") ? Live("TigerCShot")->GetVelocity().X() : 0.0f;
       }},
      {"reload frames", 120,
       [this](EnemyObject* tiger) {
         Fire(tiger);
         CallsUntilLeaving(tiger, TigerCShoot, 100);
         return tiger->GetFlag("GunTimer");
       }},
      {"gravity", 0.7f, [](EnemyObject* tiger) { return Fall(tiger, TigerCFall); }},
  };
  const auto start = [this] { return Start("TigerC", 1500, 3000); };
  ExpectNumbers("TigerC", PatrolNumbers(TigerCPatrol, 1500, 250, 0.5f, 3.0f, 500), start);
  ExpectNumbers("TigerC", numbers, start);
}

TEST_F(GunnersTest, ShredderKeepsItsHealthSpeedsPatrolAndTimers) {
  const auto chase = [this](EnemyObject* shredder, int calls) {
    PlaceHero(shredder, -300);
    shredder->SetFlag("AggroDelay", 10.0f);
    return SpeedAfter(shredder, ShredderChase, calls);
  };
  // Its first target is where it stands, so it turns left on its first patrol
  // step. Speeds grow in steps of 0.1, which in floats fall just short of 4
  // and 6: one more step is taken past each limit.
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 25, [](EnemyObject* shredder) { return shredder->GetFlag("Health"); }},
      {"backing off at the start", 0,
       [](EnemyObject* shredder) { return shredder->GetFlag("Backoff"); }},
      {"frames of steering after noticing", 100,
       [this](EnemyObject* shredder) {
         PlaceHero(shredder, -300);
         SpeedAfter(shredder, ShredderChase, 1);
         return shredder->GetFlag("AggroDelay");
       }},
      {"chase acceleration", -0.1f, [&chase](EnemyObject* shredder) { return chase(shredder, 1); }},
      {"chase top speed", -6.1f, [&chase](EnemyObject* shredder) { return chase(shredder, 80); }},
      {"gravity", 0.7f, [](EnemyObject* shredder) { return Fall(shredder, ShredderFall); }},
  };
  const auto start = [this] { return Start("Shredder", 1500, 3000, {}, {}, 1); };
  ExpectNumbers("Shredder", PatrolNumbers(ShredderPatrol, 1500, 0, -0.1f, -4.1f, 500), start);
  ExpectNumbers("Shredder", numbers, start);
}

TEST_F(GunnersTest, ConstructorKeepsItsHealthAndTimers) {
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 100, [](EnemyObject* constructor) { return constructor->GetFlag("Health"); }},
      {"opening frames after its first frame with the hero near", 100,
       [](EnemyObject* constructor) {
         return static_cast<float>(CallsUntilLeaving(constructor, ConstructorOpen, 1000));
       }},
      {"spawning frames", 200,
       [](EnemyObject* constructor) {
         CallsUntilLeaving(constructor, ConstructorOpen, 1000);
         return static_cast<float>(CallsUntilLeaving(constructor, ConstructorSpawn, 1000));
       }},
      {"idle frames after a release", 250,
       [](EnemyObject* constructor) {
         CallsUntilLeaving(constructor, ConstructorOpen, 1000);
         CallsUntilLeaving(constructor, ConstructorSpawn, 1000);
         return constructor->GetFlag("Timer");
       }},
      {"release drop", 64,
       [](EnemyObject* constructor) {
         CallsUntilLeaving(constructor, ConstructorOpen, 1000);
         CallsUntilLeaving(constructor, ConstructorSpawn, 1000);
         const GameObject* tiger = Live("TigerE");
         return tiger ? tiger->GetPosition().Y() - constructor->GetPosition().Y() : 0.0f;
       }},
  };
  // In the air, as the other Constructor tests place it: nothing stops a release.
  ExpectNumbers("Constructor", numbers, [this] {
    constructorcounts::ResetForTests();
    StartLevel({}, {"Constructor 1000 436 0"});
    hero = AddHero(Vector2(1300, kStandY));
    Step();
    return Enemy("Constructor");
  });
}

TEST_F(GunnersTest, TigerCKeepsFourHundredEightyPixelsFromTheHero) {
  struct Case {
    float dx;  // hero relative to the TigerC
    float vx;
    bool facingLeft;
    int animation;
  };
  const Case cases[] = {{480, 0, true, 1},   {-484, 0, false, 1}, {475, -3, true, 2}, {-300, 3, false, 2},
                        {485, 3, false, 2},  {-700, -3, true, 2}};
  for (const Case& test : cases) {
    EnemyObject* tiger = Start("TigerC", 1500, 3000);
    ASSERT_EQ(tiger->GetBehavior(), TigerCPatrol);
    tiger->SetBehavior(TigerCAim);
    tiger->SetState(1);
    tiger->SetFlag("GunTimer", 1000.0f);
    tiger->SetFlag("OnGround", 0.0f);  // airborne, so the y velocity only gains gravity
    tiger->SetVelocity(0.5f, -2.0f);
    PlaceHero(tiger, test.dx);
    TigerCAim(tiger);
    EXPECT_EQ(tiger->GetBehavior(), TigerCAim) << test.dx;
    EXPECT_EQ(tiger->GetVelocity().X(), test.vx) << test.dx;
    EXPECT_FLOAT_EQ(tiger->GetVelocity().Y(), test.vx == 0 ? 0.7f : -1.3f) << test.dx;
    EXPECT_EQ(tiger->IsFacingLeft(), test.facingLeft) << test.dx;
    EXPECT_EQ(tiger->GetState(), test.animation) << test.dx;
    EXPECT_EQ(tiger->GetFlag("AggroDelay"), 50.0f);
  }
}

TEST_F(GunnersTest, TigerCHoldsADecisionFiftyFramesAndGivesUpBeyondSevenHundredFifty) {
  EnemyObject* tiger = Start("TigerC", 1500, 3000);
  tiger->SetBehavior(TigerCAim);
  tiger->SetFlag("GunTimer", 1000.0f);
  PlaceHero(tiger, 300);
  TigerCAim(tiger);
  EXPECT_EQ(tiger->GetVelocity().X(), -3.0f);
  PlaceHero(tiger, 600);  // now too far: it should come closer, but only at the next decision
  for (int frame = 0; frame < 50; ++frame) {
    TigerCAim(tiger);
    ASSERT_EQ(tiger->GetVelocity().X(), -3.0f) << frame;
  }
  TigerCAim(tiger);
  EXPECT_EQ(tiger->GetVelocity().X(), 3.0f);

  PlaceHero(tiger, -750);
  TigerCAim(tiger);
  EXPECT_EQ(tiger->GetBehavior(), TigerCAim);
  PlaceHero(tiger, -751);
  TigerCAim(tiger);
  EXPECT_EQ(tiger->GetBehavior(), TigerCFall);
  EXPECT_EQ(tiger->GetFlag("OnGround"), 0.0f);
}

TEST_F(GunnersTest, TigerCFiresOnItsFirstAimFrameAndTheShotLeavesFortyFramesLater) {
  for (float dx : {300.0f, -300.0f}) {
    EnemyObject* tiger = Start("TigerC", 1500, 3000);
    PlaceHero(tiger, dx);
    TigerCPatrol(tiger);
    ASSERT_EQ(tiger->GetBehavior(), TigerCAim);
    TigerCAim(tiger);
    ASSERT_EQ(tiger->GetBehavior(), TigerCShoot) << dx;
    EXPECT_EQ(tiger->GetState(), 15);
    EXPECT_EQ(tiger->GetVelocity(), CachedVector(0.0f, 0.0f));
    EXPECT_EQ(tiger->IsFacingLeft(), dx < 0);

    const float side = dx < 0 ? -1.0f : 1.0f;
    for (int call = 1; call < 40; ++call) TigerCShoot(tiger);
    EXPECT_EQ(Count("TigerCShot"), 0);
    TigerCShoot(tiger);
    ASSERT_EQ(Count("TigerCShot"), 1) << dx;
    const GameObject* shot = Live("TigerCShot");
    EXPECT_EQ(shot->GetPosition(), tiger->GetPosition() + CachedVector(50.0f * side, -22.0f));
    EXPECT_EQ(shot->GetVelocity(), CachedVector(10.0f * side, 0.0f));
    EXPECT_EQ(shot->IsFacingLeft(), dx < 0);
    EXPECT_EQ(shot->GetDepth(), 4.0f);
    EXPECT_EQ(shot->GetState(), 3);
    EXPECT_FALSE(shot->IsInactive());

    EXPECT_EQ(CallsUntilLeaving(tiger, TigerCShoot, 100), 40) << dx;
    EXPECT_EQ(tiger->GetBehavior(), TigerCAim);
    EXPECT_EQ(tiger->GetFlag("GunTimer"), 120.0f);
    EXPECT_EQ(tiger->GetState(), 1);
    EXPECT_EQ(Count("TigerCShot"), 1);
  }
}

TEST_F(GunnersTest, TigerCTurnsOrFiresOnlyAtTheLedgeEndItIsHeadingOff) {
  struct Case {
    BehaviorFn state;
    int tile;
    float heading;
    bool reacts;  // patrol turns round, aim fires
  };
  const Case cases[] = {{TigerCPatrol, 12, 1, true},  {TigerCPatrol, 13, -1, true}, {TigerCPatrol, 12, -1, false},
                        {TigerCPatrol, 0, 1, false},  {TigerCAim, 13, -1, true},    {TigerCAim, 12, 1, true},
                        {TigerCAim, 13, 1, false},    {TigerCAim, 0, -1, false}};
  for (const Case& test : cases) {
    // The TigerC in the middle of tile 3.
    EnemyObject* tiger = Start("TigerC", 3 * 128 + 64, 3000, {0, 0, 0, test.tile});
    tiger->SetBehavior(test.state);
    tiger->SetFacingLeft(test.heading < 0);
    tiger->SetFlag("DirectionX", test.heading);
    tiger->SetFlag("TargetX", tiger->GetPosition().X() + 400.0f * test.heading);
    tiger->SetFlag("AggroDelay", 10.0f);
    tiger->SetFlag("GunTimer", 100.0f);
    tiger->SetVelocity(3.0f * test.heading, 0.0f);
    PlaceHero(tiger, test.state == TigerCAim ? 600.0f : 1000.0f);
    test.state(tiger);
    const std::string what = std::to_string(test.tile) + " heading " + std::to_string(test.heading);
    if (test.state == TigerCAim) {
      EXPECT_EQ(tiger->GetBehavior() == TigerCShoot, test.reacts) << what;
      continue;
    }
    EXPECT_EQ(tiger->GetFlag("DirectionX"), test.reacts ? -test.heading : test.heading) << what;
    EXPECT_EQ(tiger->IsFacingLeft(), test.reacts ? test.heading > 0 : test.heading < 0) << what;
    if (test.reacts) {
      EXPECT_EQ(tiger->GetVelocity(), CachedVector(0.0f, 0.0f)) << what;
      // The next patrol frame walks the new way.
      TigerCPatrol(tiger);
      EXPECT_EQ(tiger->GetFlag("DirectionX"), -test.heading) << what;
      EXPECT_EQ(tiger->GetVelocity().X(), -0.5f * test.heading) << what;
    }
  }
}

TEST_F(GunnersTest, AppliedHitsStunTigerCAndShredderOnlyOutsideTheStunnedState) {
  struct Case {
    const char* kind;
    BehaviorFn state;
    BehaviorFn stunned;
  };
  const Case cases[] = {{"TigerC", TigerCPatrol, TigerCStunned},     {"TigerC", TigerCFall, TigerCStunned},
                        {"TigerC", TigerCAim, TigerCStunned},        {"TigerC", TigerCShoot, TigerCStunned},
                        {"Shredder", ShredderPatrol, ShredderStunned}, {"Shredder", ShredderFall, ShredderStunned},
                        {"Shredder", ShredderChase, ShredderStunned}};
  for (const Case& test : cases) {
    EnemyObject* enemy = Start(test.kind, 1500, 3000);
    enemy->SetBehavior(test.state);
    if (test.state == TigerCShoot) enemy->SetFlag("GunTimer", 60.0f);
    Hit(enemy, 10.0f);
    test.state(enemy);
    EXPECT_EQ(enemy->GetBehavior(), test.stunned) << test.kind;
    EXPECT_EQ(enemy->GetFlag("Health"), 15.0f) << test.kind;
    // While stunned, further hits are dropped.
    Hit(enemy, 10.0f);
    test.stunned(enemy);
    EXPECT_EQ(enemy->GetFlag("Health"), 15.0f) << test.kind;
  }
}

TEST_F(GunnersTest, ShredderRevsForAFrameThenSteersAtTheHeroUpToSix) {
  EnemyObject* shredder = Start("Shredder", 1500, 3000);
  ASSERT_EQ(shredder->GetBehavior(), ShredderPatrol);
  PlaceHero(shredder, -499);
  ShredderPatrol(shredder);
  ASSERT_EQ(shredder->GetBehavior(), ShredderChase);
  EXPECT_EQ(shredder->GetFlag("AggroDelay"), 0.0f);
  ShredderChase(shredder);
  EXPECT_EQ(shredder->GetFlag("AggroDelay"), 100.0f);
  EXPECT_EQ(shredder->GetVelocity().X(), 0.0f);
  ShredderChase(shredder);
  EXPECT_EQ(shredder->GetFlag("TargetX"), hero->GetPosition().X());
  EXPECT_FLOAT_EQ(shredder->GetVelocity().X(), -0.1f);
  EXPECT_TRUE(shredder->IsFacingLeft());
  shredder->SetVelocity(-6.0f, 0.0f);
  ShredderChase(shredder);
  EXPECT_EQ(shredder->GetVelocity().X(), -6.0f);

  PlaceHero(shredder, 900);
  ShredderChase(shredder);
  EXPECT_EQ(shredder->GetBehavior(), ShredderChase);
  PlaceHero(shredder, 901);
  ShredderChase(shredder);
  EXPECT_EQ(shredder->GetBehavior(), ShredderFall);
}

TEST_F(GunnersTest, RecoveredShredderRetreatsToARandomPointOnItsOwnSide) {
  for (float dx : {200.0f, -200.0f}) {
    EnemyObject* shredder = Start("Shredder", 1500, 3000);
    PlaceHero(shredder, dx);
    shredder->SetBehavior(ShredderStunned);
    shredder->SetFlag("DamagedTime", 1.0f);
    platform::SeedRandom(77);
    const float r = static_cast<float>(platform::Random() % 192);
    platform::SeedRandom(77);
    const float x = shredder->GetPosition().X();
    ShredderStunned(shredder);
    EXPECT_EQ(shredder->GetBehavior(), ShredderFall) << dx;
    EXPECT_EQ(shredder->GetFlag("Backoff"), 1.0f);
    EXPECT_EQ(shredder->GetFlag("TargetX"), dx > 0 ? x - r : x + r) << dx;
  }
}

TEST_F(GunnersTest, ShredderRetreatEndsNearItsPointOrAtAWallTile) {
  struct Case {
    const char* what;
    float target;   // relative to the Shredder
    int wallFrame;  // -1: no wall ahead
    bool ends;
  };
  const Case cases[] = {{"arrived", 9.5f, -1, true},       {"on its way", 150, -1, false},
                        {"wall 16", 150, 16, true},        {"wall 17", 150, 17, true},
                        {"plain tile ahead", 150, 0, false}};
  for (const Case& test : cases) {
    // A wall tile 3 pixels ahead of the walker box's right edge (x + 16).
    std::vector<std::string> extra;
    if (test.wallFrame >= 0) extra.push_back("Tiles 519 372 " + std::to_string(test.wallFrame) + " 0 0");
    EnemyObject* shredder = Start("Shredder", 500, 3000, {}, extra);
    shredder->MoveTo(Vector2(500.0f, kStandY));
    PlaceHero(shredder, -300);
    shredder->SetBehavior(ShredderChase);
    shredder->SetFlag("AggroDelay", 20.0f);
    shredder->SetFlag("Backoff", 1.0f);
    shredder->SetFlag("TargetX", 500.0f + test.target);
    shredder->SetVelocity(6.0f, 0.0f);
    ShredderChase(shredder);
    EXPECT_EQ(shredder->GetFlag("Backoff"), test.ends ? 0.0f : 1.0f) << test.what;
    // Until it ends, the retreat point stays the target.
    EXPECT_EQ(shredder->GetFlag("TargetX"), 500.0f + test.target) << test.what;
    ShredderChase(shredder);
    EXPECT_EQ(shredder->GetFlag("TargetX"), test.ends ? hero->GetPosition().X() : 500.0f + test.target)
        << test.what;
  }
}

TEST_F(GunnersTest, EachConstructorAppendsItsOwnCountEntry) {
  constructorcounts::Append();  // an entry of an earlier level
  StartLevel({}, {"Constructor 300 400 0", "Constructor 900 400 0"});
  Step();
  const std::vector<GameObject*> constructors = All("Constructor");
  ASSERT_EQ(constructors.size(), 2u);
  EXPECT_EQ(constructorcounts::Size(), 3);
  EXPECT_EQ(FlagBitsToInt(constructors[0]->GetFlag("Cindex")) + FlagBitsToInt(constructors[1]->GetFlag("Cindex")), 3);
  EXPECT_NE(constructors[0]->GetFlag("Cindex"), constructors[1]->GetFlag("Cindex"));
}

TEST_F(GunnersTest, ConstructorReleasesTheFirstTigerEThreeHundredFramesInAndTheNextFiveHundredFiftyLater) {
  std::vector<std::string> floor;
  for (int tile = 0; tile < 16; ++tile) floor.push_back("Floor " + std::to_string(tile * 128) + " 500 0 0 0");
  StartLevel(floor, {"Constructor 1000 436 0"});
  hero = AddHero(Vector2(1400, kStandY));
  std::vector<int> releases;
  for (int frame = 1; frame <= 900 && releases.size() < 2; ++frame) {
    Step();
    if (constructorcounts::Get(0) > static_cast<int>(releases.size())) releases.push_back(frame);
  }
  ASSERT_EQ(releases.size(), 2u);
  // The first frame runs the Init, so the first release is 300 frames after it.
  EXPECT_EQ(releases[0], 301);
  EXPECT_EQ(releases[1] - releases[0], 550);
  GameObject* constructor = Live("Constructor");
  for (GameObject* tiger : All("TigerE")) {
    EXPECT_EQ(tiger->GetFlag("Cindex"), constructor->GetFlag("Cindex"));
    EXPECT_TRUE(dynamic_cast<const EnemyObject*>(tiger)->IsSummoned());
  }
  EXPECT_EQ(constructor->GetPosition(), Vector2(1000, 436));
}

TEST_F(GunnersTest, SpawnedTigerEStandsBelowTheConstructorReadyToHurt) {
  StartLevel({}, {"Constructor 1000 436 0"});
  hero = AddHero(Vector2(3000, kStandY));
  Step();
  GameObject* constructor = Live("Constructor");
  constructor->SetBehavior(ConstructorSpawn);
  constructor->SetFlag("Timer", 1.0f);
  ConstructorSpawn(constructor);
  EXPECT_EQ(constructor->GetBehavior(), ConstructorIdle);
  EXPECT_EQ(constructor->GetFlag("Timer"), 250.0f);
  EXPECT_EQ(constructor->GetState(), 1);
  auto* tiger = Enemy("TigerE");
  ASSERT_NE(tiger, nullptr);
  EXPECT_EQ(tiger->GetPosition(), Vector2(1000, 500));
  EXPECT_TRUE(tiger->IsSummoned());
  EXPECT_EQ(tiger->GetCollisionCallback(), CollideDamage);
  EXPECT_EQ(tiger->GetFrameChangeCallback(), FrameChangeCallback);
  EXPECT_EQ(tiger->GetBehavior(), TigerEFall);  // Init ran; released in the air
  EXPECT_EQ(FlagBitsToInt(tiger->GetFlag("Cindex")), 0);
  EXPECT_EQ(constructorcounts::Get(0), 1);
}

TEST_F(GunnersTest, ConstructorIdlesFrozenAtTwoLiveAndOnlyWhileTheHeroIsNear) {
  struct Case {
    const char* what;
    float heroDx;
    int live;
    bool counts;
  };
  const Case cases[] = {{"near, one live", 599, 1, true},  {"near, two live", -300, 2, false},
                        {"far", 600, 0, false}};
  for (const Case& test : cases) {
    constructorcounts::ResetForTests();
    StartLevel({}, {"Constructor 1000 436 0"});
    hero = AddHero(Vector2(1000 + test.heroDx, kStandY));
    Step();
    GameObject* constructor = Live("Constructor");
    constructorcounts::Add(0, test.live);
    constructor->SetBehavior(ConstructorIdle);
    constructor->SetFlag("Timer", 250.0f);
    for (int frame = 0; frame < 100; ++frame) ConstructorIdle(constructor);
    EXPECT_EQ(constructor->GetFlag("Timer"), test.counts ? 150.0f : 250.0f) << test.what;
    if (test.live == 2) {
      constructorcounts::Add(0, -1);  // one of them killed by a hit
      ConstructorIdle(constructor);
      EXPECT_EQ(constructor->GetFlag("Timer"), 249.0f) << test.what;
    }
  }
}

TEST_F(GunnersTest, ConstructorIsNeverKnockedBackAndDiesLeavingItsTigerE) {
  StartLevel({}, {"Constructor 1000 436 0"});
  hero = AddHero(Vector2(3000, kStandY));
  Step();
  auto* constructor = Enemy("Constructor");
  constructor->SetFlag("Timer", 1.0f);
  ConstructorSpawn(constructor);
  ASSERT_EQ(Count("TigerE"), 1);

  constructor->SetVelocity(4.0f, -2.0f);
  Hit(constructor, 40.0f);
  ConstructorIdle(constructor);
  EXPECT_EQ(constructor->GetVelocity(), CachedVector(0.0f, 0.0f));
  EXPECT_EQ(constructor->GetFlag("Health"), 60.0f);
  EXPECT_EQ(constructor->GetBehavior(), ConstructorIdle);

  Hit(constructor, 60.0f);
  Step();
  EXPECT_EQ(Count("Constructor"), 0);
  EXPECT_EQ(Count("Powerup"), 1);
  EXPECT_EQ(Count("TigerE"), 1);
  EXPECT_EQ(constructorcounts::Get(0), 1);
}

using GunnersDeathTest = GunnersTest;

TEST_F(GunnersDeathTest, SpawningWithoutThePrototypeStopsNamingIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* missing;
    const char* kind;
    BehaviorFn state;
    const char* timer;
    float value;
  };
  const Case cases[] = {{"TigerE", "Constructor", ConstructorSpawn, "Timer", 1.0f},
                        {"TigerCShot", "TigerC", TigerCShoot, "GunTimer", 41.0f}};
  for (const Case& test : cases) {
    std::string list = kSpriteList;
    list.replace(0, 2, "10");
    list.erase(list.find(std::string(test.missing) + " "), list.find('\n', list.find(std::string(test.missing) + " ")) -
                                                                   list.find(std::string(test.missing) + " ") + 1);
    worldtest::WriteText(Root() / "SpriteList.vtsl", list);
    StartLevel({}, {std::string(test.kind) + " 1000 436 0"});
    hero = AddHero(Vector2(3000, kStandY));
    Step();
    GameObject* enemy = Live(test.kind);
    enemy->SetFlag(test.timer, test.value);
    EXPECT_DEATH(test.state(enemy),
                 std::string("Assertion failed: the prototype \"") + test.missing + "\" is loaded");
  }
}

}  // namespace
