// The walking enemies: when the rat, the Rummager and the TigerE notice the
// hero, give up, jump, charge, leap and rest, and how hits reach them.
#include "behaviorlib/WalkingEnemies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ConstructorCounts.h"
#include "game/objects/ObjectHandle.h"
#include "game/objects/ResponseFixtures.h"

namespace {

constexpr float kFloorY = 500.0f;
constexpr float kStandY = kFloorY - 0.1f;

class WalkingEnemiesTest : public behaviortest::BehaviorWorldTest {
 protected:
  void SetUp() override {
    BehaviorWorldTest::SetUp();
    // The three kinds on the box-shaped walker.
    worldtest::WriteText(Root() / "SpriteList.vtsl",
                         "8\n"
                         "ZodirazO 1 1 animations/hero.acd\n"
                         "Floor 1 1 animations/floor.acd\n"
                         "Flash 1 1 animations/flash.acd\n"
                         "Spark 1 1 animations/spark.acd\n"
                         "Powerup 1 1 animations/powerup.acd\n"
                         "Rat 1 1 animations/walker.acd\n"
                         "Rummager 1 1 animations/walker.acd\n"
                         "TigerE 1 1 animations/walker.acd\n");
  }

  // One enemy of `kind` standing at x on a floor 1024 pixels long; the hero,
  // when there is one, stands at heroX. The first frame runs the Init, after
  // the enemy has been given the properties in `declared`; null when that
  // frame killed it (the list deletes the dead at the end of its update).
  EnemyObject* Start(const std::string& kind, float x, float heroX, bool withHero = true,
                     const std::string& bounds = "0 0 4000 1000",
                     const std::map<std::string, float>& declared = {}) {
    std::vector<std::string> floor;
    for (int tile = 0; tile < 8; ++tile) floor.push_back("Floor " + std::to_string(tile * 128) + " 500 0 0 0");
    StartLevel(floor, {kind + " " + std::to_string(x) + " " + std::to_string(kStandY) + " 0"}, bounds);
    if (withHero) hero = AddHero(Vector2(heroX, kStandY));
    EnemyObject* enemy = Enemy(kind);
    for (const auto& [name, value] : declared) enemy->AddFlag(name, value);
    Step();
    enemy = Enemy(kind);
    if (enemy) enemy->SetVelocity(0.0f, 0.0f);  // still, wherever its first patrol step took it
    return enemy;
  }

  void MoveHeroTo(float x) { hero->MoveTo(Vector2(x, kStandY)); }
  // The hero `dx` to the right of the enemy.
  void PlaceHero(const GameObject* enemy, float dx) { MoveHeroTo(enemy->GetPosition().X() + dx); }

  // A sword hit of `damage` by an attack that has not hurt the enemy yet, as
  // the damage response stores it.
  void Hit(EnemyObject* enemy, float damage) {
    enemy->SetLastHitAttackId(hero->GetAttackId() - 1);
    enemy->SetSummoned(true);  // no HUD here to show the hit
    enemy->SetFlag("DamageReceived", damage);
    enemy->SetLastContact(responsetest::Overlap(enemy, hero, 1, 2));
  }

  // Steps until the enemy's behaviour changes (at most `limit` frames); the
  // number of frames it took, or -1.
  static int StepUntilLeaving(const GameObject* enemy, int limit) {
    const BehaviorFn state = enemy->GetBehavior();
    for (int frame = 1; frame <= limit; ++frame) {
      Step();
      if (enemy->GetBehavior() != state) return frame;
    }
    return -1;
  }

  // The x velocity after `calls` runs of the chase `state`, begun with a fresh
  // aim at the hero `dx` to the right.
  float Chase(EnemyObject* enemy, float dx, int calls, BehaviorFn state = RatChase) {
    PlaceHero(enemy, dx);
    enemy->SetFlag("AggroDelay", 0.0f);
    return SpeedAfter(enemy, state, calls);
  }
  // A TigerE's velocity at its leap: it runs in, crouches and springs.
  CachedVector Leap(EnemyObject* tiger) {
    Chase(tiger, 150, 1, TigerEChase);
    for (int call = 0; call < 100 && tiger->GetFlag("OnGround") != 0.0f; ++call) TigerELeap(tiger);
    return tiger->GetVelocity();
  }

  PlayerObject* hero = nullptr;
};

TEST_F(WalkingEnemiesTest, WalkersNoticeAttackAndGiveUpExactlyAtTheirRanges) {
  struct Case {
    const char* kind;
    BehaviorFn from;
    float dx;
    BehaviorFn to;
  };
  const Case cases[] = {{"Rat", RatPatrol, 199, RatChase},
                        {"Rat", RatPatrol, -200, RatPatrol},
                        {"Rat", RatChase, 250, RatChase},
                        {"Rat", RatChase, -251, RatFall},
                        {"TigerE", TigerEPatrol, -249, TigerEChase},
                        {"TigerE", TigerEPatrol, 250, TigerEPatrol},
                        {"TigerE", TigerEChase, 500, TigerEChase},
                        {"TigerE", TigerEChase, -501, TigerEFall},
                        // Attacks: the rat's jump, the Rummager's slam and the TigerE's crouch.
                        {"Rat", RatChase, 99.5f, RatFall},
                        {"Rat", RatChase, -100, RatChase},
                        {"Rummager", RummagerCharge, -49.5f, RummagerAttack},
                        {"Rummager", RummagerCharge, 50, RummagerCharge},
                        {"TigerE", TigerEChase, 199.5f, TigerELeap},
                        {"TigerE", TigerEChase, -200, TigerEChase}};
  for (const Case& test : cases) {
    EnemyObject* enemy = Start(test.kind, 500, 1500);
    enemy->SetBehavior(test.from);
    enemy->SetFlag("AggroDelay", 10.0f);
    PlaceHero(enemy, test.dx);
    test.from(enemy);
    EXPECT_EQ(enemy->GetBehavior(), test.to) << test.kind << " dx " << test.dx;
    EXPECT_EQ(enemy->GetFlag("OnGround"), test.to == RatFall || test.to == TigerEFall ? 0.0f : 1.0f);
  }
}

// Each kind's numbers, read from its own Init and first states: the hero
// stands 1000 pixels to the right unless a reading moves him.
TEST_F(WalkingEnemiesTest, RatKeepsItsHealthSpeedsPatrolAndTimers) {
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 15, [](EnemyObject* rat) { return rat->GetFlag("Health"); }},
      {"chase acceleration", 0.375f, [this](EnemyObject* rat) { return Chase(rat, 150, 1); }},
      {"chase top speed", 2.25f, [this](EnemyObject* rat) { return Chase(rat, 150, 10); }},
      {"frames between re-aims", 60,
       [this](EnemyObject* rat) {
         Chase(rat, 150, 1);
         return rat->GetFlag("AggroDelay");
       }},
      {"jump speed ahead", 0.9f, [this](EnemyObject* rat) { return Chase(rat, 50, 1); }},
      {"jump speed up", -12,
       [this](EnemyObject* rat) {
         Chase(rat, 50, 1);
         return rat->GetVelocity().Y();
       }},
      {"gravity", 0.7f, [](EnemyObject* rat) { return Fall(rat, RatFall); }},
  };
  const auto start = [this] { return Start("Rat", 500, 1500); };
  ExpectNumbers("Rat", PatrolNumbers(RatPatrol, 500, 200, 0.375f, 1.5f, 400), start);
  ExpectNumbers("Rat", numbers, start);
}

TEST_F(WalkingEnemiesTest, RummagerKeepsItsHealthSpeedsPatrolAndTimers) {
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 25, [](EnemyObject* rummager) { return rummager->GetFlag("Health"); }},
      {"boss mode", 0, [](EnemyObject* rummager) { return rummager->GetFlag("BossMode"); }},
      {"wind-up frames", 30,
       [](EnemyObject* rummager) {
         rummager->SetFlag("AggroDelay", 1.0f);  // as a recovered hit leaves it
         RummagerPatrol(rummager);
         return rummager->GetFlag("AggroDelay");
       }},
      {"charge acceleration", 0.2f,
       [this](EnemyObject* rummager) { return Chase(rummager, 300, 1, RummagerCharge); }},
      {"charge top speed", 2.0f,
       [this](EnemyObject* rummager) { return Chase(rummager, 300, 20, RummagerCharge); }},
      {"gravity", 0.7f, [](EnemyObject* rummager) { return Fall(rummager, RummagerFall); }},
  };
  const auto start = [this] { return Start("Rummager", 500, 1500); };
  ExpectNumbers("Rummager", PatrolNumbers(RummagerPatrol, 500, 100, 0.2f, 1.0f, 200), start);
  ExpectNumbers("Rummager", numbers, start);
}

TEST_F(WalkingEnemiesTest, TigerEKeepsItsHealthSpeedsPatrolAndTimers) {
  const std::vector<behaviortest::EnemyNumber> numbers = {
      {"health", 25, [](EnemyObject* tiger) { return tiger->GetFlag("Health"); }},
      {"no constructor", -1,
       [](EnemyObject* tiger) {
         return static_cast<float>(FlagBitsToInt(tiger->GetFlag("Cindex")));
       }},
      {"chase speed at once", 4.5f,
       [this](EnemyObject* tiger) { return Chase(tiger, 300, 1, TigerEChase); }},
      {"frames between re-aims", 100,
       [this](EnemyObject* tiger) {
         Chase(tiger, 300, 1, TigerEChase);
         return tiger->GetFlag("AggroDelay");
       }},
      {"crouch frames", 35,
       [this](EnemyObject* tiger) {
         Chase(tiger, 150, 1, TigerEChase);
         return tiger->GetFlag("PreLeapPause");
       }},
      {"leap speed ahead", 6, [this](EnemyObject* tiger) { return Leap(tiger).X(); }},
      {"leap speed up", -8, [this](EnemyObject* tiger) { return Leap(tiger).Y(); }},
      {"rest frames after landing", 120,
       [this](EnemyObject* tiger) {
         Leap(tiger);
         return tiger->GetFlag("PostLeapPause");
       }},
      {"gravity", 0.7f, [](EnemyObject* tiger) { return Fall(tiger, TigerEFall); }},
  };
  const auto start = [this] { return Start("TigerE", 500, 1500); };
  ExpectNumbers("TigerE", PatrolNumbers(TigerEPatrol, 500, 250, 0.5f, 3.0f, 500), start);
  ExpectNumbers("TigerE", numbers, start);
}

TEST_F(WalkingEnemiesTest, RatJumpsBelowAHundredAlongItsFacing) {
  struct Case {
    float dx;
    float aggroDelay;  // 0 aims at the hero first; otherwise it keeps its facing
    bool facingLeft;
    float jumpX;       // 0: no jump
  };
  const Case cases[] = {{99, 0, true, 0.9f}, {-99, 0, false, -0.9f}, {99, 5, true, -0.9f}, {100, 0, false, 0.0f}};
  for (const Case& test : cases) {
    EnemyObject* rat = Start("Rat", 500, 1500);
    rat->SetBehavior(RatChase);
    rat->SetFacingLeft(test.facingLeft);
    rat->SetFlag("AggroDelay", test.aggroDelay);
    PlaceHero(rat, test.dx);
    RatChase(rat);
    const bool jumped = test.jumpX != 0.0f;
    EXPECT_EQ(rat->GetBehavior(), jumped ? RatFall : RatChase) << "dx " << test.dx;
    EXPECT_EQ(rat->GetState(), jumped ? 3 : 1);
    if (!jumped) continue;
    EXPECT_EQ(rat->GetVelocity(), CachedVector(test.jumpX, -12.0f)) << "dx " << test.dx;
    EXPECT_EQ(rat->GetFlag("OnGround"), 0.0f);
  }
}

TEST_F(WalkingEnemiesTest, LandingRatTurnsLeftUnlessItsTargetIsMoreThanAPixelToTheRight) {
  for (float ahead : {1.0f, 1.5f, -50.0f}) {
    EnemyObject* rat = Start("Rat", 500, 1500);
    rat->SetBehavior(RatFall);
    rat->SetFlag("TargetX", rat->GetPosition().X() + ahead);
    RatFall(rat);
    EXPECT_EQ(rat->GetFlag("DirectionX"), ahead > 1.0f ? 1.0f : -1.0f) << ahead;
    EXPECT_EQ(rat->GetBehavior(), RatPatrol);
    EXPECT_EQ(rat->GetState(), 2);
  }
}

TEST_F(WalkingEnemiesTest, RummagerInBossModeChargesAtOnceWhateverTheDistance) {
  // The summoning boss declares the mode before the Init runs.
  EnemyObject* rummager = Start("Rummager", 64, 1000, true, "0 0 4000 1000", {{"BossMode", 1.0f}});
  EXPECT_EQ(rummager->GetBehavior(), RummagerCharge);
  EXPECT_EQ(rummager->GetState(), 4);
  EXPECT_EQ(rummager->GetFlag("AggroDelay"), 30.0f);
}

TEST_F(WalkingEnemiesTest, RummagerAttackEndsOnTheFrameTheSlamIsReached) {
  EnemyObject* rummager = Start("Rummager", 300, 600);
  rummager->SetBehavior(RummagerCharge);
  rummager->SetFlag("FrameChange", 1.0f);  // left over from an earlier swing
  PlaceHero(rummager, -49.0f);
  RummagerCharge(rummager);
  EXPECT_EQ(rummager->GetBehavior(), RummagerAttack);
  EXPECT_EQ(rummager->GetState(), 3);
  EXPECT_EQ(rummager->GetFlag("FrameChange"), 0.0f);

  for (float frame : {0.0f, 0.999f, 2.0f, 1.0f}) {
    rummager->SetFlag("FrameChange", frame);
    RummagerAttack(rummager);
    EXPECT_EQ(rummager->GetBehavior(), frame == 1.0f ? RummagerPatrol : RummagerAttack) << frame;
  }
  EXPECT_EQ(rummager->GetState(), 2);
}

TEST_F(WalkingEnemiesTest, HitRummagerIsStunnedAndChargesWhenItRecovers) {
  EnemyObject* rummager = Start("Rummager", 300, 700);
  Step();
  Hit(rummager, 5.0f);
  Step();
  EXPECT_EQ(rummager->GetBehavior(), RummagerStunned);
  EXPECT_EQ(rummager->GetFlag("Health"), 20.0f);
  std::vector<BehaviorFn> path;
  while (path.size() < 3 && StepUntilLeaving(rummager, 40) > 0) path.push_back(rummager->GetBehavior());
  EXPECT_EQ(path, (std::vector<BehaviorFn>{RummagerFall, RummagerPatrol, RummagerCharge}));
  EXPECT_EQ(rummager->GetState(), 4);

  // While charging on the ground its stun runs down two frames per frame.
  rummager->SetFlag("DamagedTime", 10.0f);
  RummagerCharge(rummager);
  EXPECT_EQ(rummager->GetFlag("DamagedTime"), 8.0f);
}

TEST_F(WalkingEnemiesTest, TigerERunsCrouchesThirtyFiveFramesLeapsAndRestsAfterLanding) {
  EnemyObject* tiger = Start("TigerE", 200, 380);
  EXPECT_EQ(tiger->GetFlag("PreLeapPause"), std::numeric_limits<float>::infinity());
  ASSERT_EQ(tiger->GetBehavior(), TigerEChase);
  Step();
  ASSERT_EQ(tiger->GetBehavior(), TigerELeap);
  EXPECT_EQ(tiger->GetState(), 3);
  Step(35);
  EXPECT_TRUE(tiger->GetVelocity().IsZero());
  Step();
  EXPECT_FLOAT_EQ(tiger->GetVelocity().X(), 6.0f);
  EXPECT_FLOAT_EQ(tiger->GetVelocity().Y(), -8.0f);

  int flight = 0;
  for (; tiger->GetFlag("OnGround") == 0.0f && flight < 60; ++flight) Step();
  EXPECT_GT(flight, 20);
  EXPECT_NEAR(tiger->GetPosition().Y(), kStandY, 0.05f);  // stopped short along its diagonal
  EXPECT_EQ(StepUntilLeaving(tiger, 200), 120);
  EXPECT_EQ(tiger->GetBehavior(), TigerEPatrol);
  EXPECT_EQ(tiger->GetState(), 2);

  // Back on the hunt it runs at full speed from the start.
  PlaceHero(tiger, 240.0f);
  Step(2);
  ASSERT_EQ(tiger->GetBehavior(), TigerEChase);
  EXPECT_FLOAT_EQ(std::fabs(tiger->GetVelocity().X()), 4.5f);
}

TEST_F(WalkingEnemiesTest, TigerEHitWhileCrouchingLosesItsLeapAndIgnoresHitsWhileStunned) {
  EnemyObject* tiger = Start("TigerE", 200, 380);
  Step(10);
  ASSERT_EQ(tiger->GetBehavior(), TigerELeap);
  Hit(tiger, 5.0f);
  Step();
  EXPECT_EQ(tiger->GetBehavior(), TigerEStunned);
  EXPECT_EQ(tiger->GetFlag("PostLeapPause"), 0.0f);

  Hit(tiger, 5.0f);  // a fresh swing during the stun
  Step();
  EXPECT_FALSE(tiger->TakeLastContact().IsHit());
  std::vector<BehaviorFn> path;
  while (path.size() < 2 && StepUntilLeaving(tiger, 40) > 0) path.push_back(tiger->GetBehavior());
  EXPECT_EQ(path, (std::vector<BehaviorFn>{TigerEFall, TigerEPatrol}));
  EXPECT_EQ(tiger->GetFlag("Health"), 20.0f);
}

TEST_F(WalkingEnemiesTest, OnlyAKillingHitLowersTheSpawningConstructorsCount) {
  constructorcounts::ResetForTests();
  constructorcounts::Append();
  const int constructor = constructorcounts::Append();
  constructorcounts::Add(constructor, 2);
  struct Case {
    const char* what;
    bool spawned;
    float damage;
    const char* bounds;
    bool dies;
    int count;
  };
  const Case cases[] = {{"hurt", true, 10, "0 0 4000 1000", false, 2},
                        {"killed", true, 25, "0 0 4000 1000", true, 1},
                        {"a level's own, killed", false, 25, "0 0 4000 1000", true, 2},
                        {"fallen below the level", true, 0, "0 0 4000 400", true, 2}};
  for (const Case& test : cases) {
    std::map<std::string, float> spawned;
    if (test.spawned) spawned["Cindex"] = IntToFlagBits(constructor);
    EnemyObject* tiger = Start("TigerE", 300, 1000, true, test.bounds, spawned);
    if (tiger && test.damage > 0) Hit(tiger, test.damage);
    Step();
    EXPECT_EQ(Enemy("TigerE") == nullptr, test.dies) << test.what;
    EXPECT_EQ(constructorcounts::Get(constructor), test.count) << test.what;
    EXPECT_EQ(constructorcounts::Get(0), 0) << test.what;
    constructorcounts::Add(constructor, 2 - constructorcounts::Get(constructor));
  }
  constructorcounts::ResetForTests();
}

TEST_F(WalkingEnemiesTest, WalkersWaitInALevelWithoutAHero) {
  for (const char* kind : {"Rat", "TigerE", "Rummager"}) {
    EnemyObject* enemy = Start(kind, 300, 0, false);
    if (enemy->GetBehavior() == RummagerFall) enemy->SetBehavior(RummagerCharge);
    const BehaviorFn state = enemy->GetBehavior();
    const Vector2 at = enemy->GetPosition();
    Step(30);
    EXPECT_EQ(enemy->GetBehavior(), state) << kind;
    EXPECT_EQ(enemy->GetPosition(), at) << kind;
  }
}

}  // namespace
