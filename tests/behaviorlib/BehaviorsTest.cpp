// The shared behaviour functions: ground probe, walking, acceleration, the
// hit-stun blink, removal outside the view, sparks, hit sparks and enemy damage.
#include "behaviorlib/Behaviors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/ConstructorCounts.h"
#include "game/hud/HUD.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/ResponseFixtures.h"

namespace {

using behaviortest::BehaviorWorldTest;

class BehaviorsTest : public BehaviorWorldTest {
 protected:
  // A walker from section 9 with the ground and damage groups, no behaviour.
  EnemyObject* Walker() {
    EnemyObject* walker = Enemy("Walker");
    walker->SetBehavior(nullptr);
    walker->AddFlag("Health", 10.0f);
    AddDamageFlags(walker);
    AddGroundFlag(walker);
    return walker;
  }
};

TEST_F(BehaviorsTest, IsFallingProbesTwoPixelsAtRestAndEightWhileMovingVertically) {
  struct Case {
    float gap;  // from the walker's feet down to the floor
    float vy;
    bool falling;
  };
  const Case cases[] = {{1.5f, 0.0f, false}, {3.0f, 0.0f, true}, {7.5f, 1.0f, false}, {9.0f, 1.0f, true}};
  for (const Case& test : cases) {
    StartLevel({"Floor 0 500 0 0 0"}, {"Walker 64 " + std::to_string(500.0f - test.gap) + " 0"});
    EnemyObject* walker = Walker();
    walker->SetVelocity(1.5f, test.vy);
    EXPECT_EQ(IsFalling(walker), test.falling) << "gap " << test.gap << " vy " << test.vy;
    if (!test.falling) {
      EXPECT_NEAR(walker->GetPosition().Y(), 499.9f, 1e-3f) << "gap " << test.gap;
      EXPECT_FLOAT_EQ(walker->GetVelocity().X(), 1.5f);
      EXPECT_FLOAT_EQ(walker->GetVelocity().Y(), 0.0f);
    }
  }
}

TEST_F(BehaviorsTest, IsFallingCarriesTheWalkerOnAMovingSupport) {
  StartLevel({"Floor 0 500 0 0 0"}, {"Walker 64 499.5 0"});
  GameObject* floor = Live("Floor");
  floor->SetVelocity(0.0f, 1.0f);  // sinking
  EnemyObject* walker = Walker();
  EXPECT_FALSE(IsFalling(walker));
  EXPECT_NEAR(walker->GetPosition().Y(), 499.9f, 1e-3f);  // re-probed against the still floor
  EXPECT_FLOAT_EQ(walker->GetVelocity().Y(), 1.0f);
  EXPECT_FLOAT_EQ(floor->GetVelocity().Y(), 1.0f);  // the support's own velocity is restored
  EXPECT_TRUE(floor->GetParkedVelocity().IsZero());
}

TEST_F(BehaviorsTest, IsFallingKeepsTheFirstContactWhenARisingSupportIsOutOfReachOfTheStillProbe) {
  // 3.5 pixels above a lift rising at 3: the moving probe meets it, the still one does not.
  StartLevel({"Floor 0 500 0 0 0"}, {"Walker 64 496.5 0"});
  Live("Floor")->SetVelocity(0.0f, -3.0f);
  EnemyObject* walker = Walker();
  EXPECT_FALSE(IsFalling(walker));
  EXPECT_NEAR(walker->GetPosition().Y(), 496.5f + 2.0f * 0.7f - 0.1f, 1e-3f);
  EXPECT_NEAR(walker->GetVelocity().Y(), -3.1f, 1e-5f);  // rides the lift, lifted clear
}

TEST_F(BehaviorsTest, WalkStepClimbsAThirtyDegreeSlopeKeepingHorizontalSpeedButNotASixtyDegreeOne) {
  struct Case {
    const char* slope;
    bool climbs;
  };
  for (const Case& test : {Case{"Slope30", true}, Case{"Slope60", false}}) {
    StartLevel({std::string(test.slope) + " 128 372 0 0 0"}, {"Walker 110 499.9 0"});
    EnemyObject* walker = Walker();
    walker->SetVelocity(3.0f, 0.0f);
    WalkStep(walker);
    EXPECT_FLOAT_EQ(walker->GetVelocity().X(), 3.0f) << test.slope;
    if (test.climbs) {
      EXPECT_NEAR(walker->GetVelocity().Y(), -3.0f * behaviortest::kTan30 - 0.1f, 1e-4f);
      // Moved up to the slope, 0.1 pixel short.
      const float reach = 128.0f + 0.1f / behaviortest::kTan30 - 126.0f;
      EXPECT_NEAR(walker->GetPosition().X(), 110.0f + reach - 0.1f, 1e-3f);
    } else {
      EXPECT_FLOAT_EQ(walker->GetVelocity().Y(), 0.0f);
      EXPECT_FLOAT_EQ(walker->GetPosition().X(), 110.0f);
    }
  }
}

TEST_F(BehaviorsTest, KillIfOutsideViewSparesObjectsWithinTheMargins) {
  StartLevel({"Floor 0 500 0 0 0"});
  World::GetObjects()->SetOffset(Vector2(100, 50));
  struct Case {
    Vector2 at;
    bool dead;
  };
  const Case cases[] = {{{90, 300}, false},  {{89.5f, 300}, true}, {{910, 300}, false},
                        {{910.5f, 300}, true}, {{400, 30}, false},   {{400, 29.5f}, true},
                        {{400, 670}, false},  {{400, 670.5f}, true}};
  for (const Case& test : cases) {
    GameObject* object = Live("Floor");
    object->SetDead(false);
    object->MoveTo(test.at);
    EXPECT_EQ(KillIfOutsideView(object, 10.0f, 20.0f), test.dead) << test.at.X() << ", " << test.at.Y();
  }
}

TEST_F(BehaviorsTest, SparksFlyOffInTheDrawnDirectionAndLiveOneFrameLongerThanTheirTimer) {
  StartLevel({"Floor 0 500 0 0 0"});
  platform::SeedRandom(77);
  const int timer = 15 + platform::Random() % 30;
  const int y = platform::Random() % 21 - 10;
  const int x = platform::Random() % 21 - 10;
  platform::SeedRandom(77);
  GameObject* spark = SpawnSpark(4, Vector2(10, 20), CachedVector(1, 0), 0.5f, nullptr, 0.2f);
  CachedVector expected(static_cast<float>(x), static_cast<float>(y));
  expected.Normalize();
  EXPECT_NEAR(spark->GetVelocity().X(), expected.X() * 3.0f + 1.0f, 1e-5f);
  EXPECT_NEAR(spark->GetVelocity().Y(), expected.Y() * 3.0f, 1e-5f);
  EXPECT_EQ(spark->GetFlag("Timer"), static_cast<float>(timer));
  EXPECT_EQ(spark->GetFrame(), 4);
  EXPECT_EQ(spark->GetCollisionCallback(), &CollideBounceEnergyKept);
  EXPECT_EQ(World::GetObjects()->GetSprites().back(), spark);  // appended, not sorted

  spark->SetFlag("Timer", 3.0f);
  int frames = 0;
  while (!spark->IsDead()) {
    SparkBehavior(spark);
    ++frames;
  }
  EXPECT_EQ(frames, 4);
}

class HitSparksTest : public BehaviorsTest {
 protected:
  // Attacker and victim whose boxes overlap in `width` x `height` (negative: apart).
  void Hit(float width, float height, float colour, float level) {
    StartLevel({"Floor 0 500 0 0 0"}, {"Walker 300 300 0"});
    attacker = Live("Floor");
    victim = Walker();
    victim->SetFlag("DamageColor", colour);
    victim->SetFlag("DamageLevel", level);
    attacker->GetCollisionShape().GetBounds() = Bounds{0, 0, 1000, 1000};
    victim->GetCollisionShape().GetBounds() = Bounds{1000 - width, 1000 - height, 2000, 2000};
    SpawnHitSparks(attacker, victim);
  }
  std::vector<int> SparkFrames() {
    std::vector<int> frames;
    for (GameObject* spark : All("Spark")) frames.push_back(spark->GetFrame());
    return frames;
  }
  GameObject* attacker = nullptr;
  GameObject* victim = nullptr;
};

TEST_F(HitSparksTest, CountGrowsWithTheOverlapsSideAndAnEmptyOverlapGivesTwo) {
  struct Case {
    float width, height;
    int sparks;
  };
  const Case cases[] = {{100, 100, 12}, {130, 130, 15}, {500, 500, 15}, {9, 9, 2}, {-5, 40, 2}, {40, -5, 2}};
  for (const Case& test : cases) {
    Hit(test.width, test.height, 0.0f, 1.0f);
    EXPECT_EQ(Count("Spark"), test.sparks) << test.width << " x " << test.height;
  }
}

TEST_F(HitSparksTest, PlainAndGunHitsGivePlainSparksAndColouredOnesPickFramesUpToTheirLevel) {
  Hit(100, 100, 0.0f, 2.0f);
  EXPECT_EQ(SparkFrames(), std::vector<int>(12, 9));

  Hit(100, 100, 0.0f, 3.0f);  // the gun's level: plain sparks, no stop
  EXPECT_EQ(SparkFrames(), std::vector<int>(12, 9));

  platform::SeedRandom(5);
  std::vector<int> expected;
  for (int i = 0; i < 12; ++i) {
    expected.push_back(2 - platform::Random() % 3);
    for (int draw = 0; draw < 4; ++draw) platform::Random();  // depth, timer, y, x
  }
  platform::SeedRandom(5);
  StartLevel({"Floor 0 500 0 0 0"}, {"Walker 300 300 0"});
  platform::SeedRandom(5);
  GameObject* floor = Live("Floor");
  EnemyObject* walker = Walker();
  walker->SetFlag("DamageColor", 2.0f);
  walker->SetFlag("DamageLevel", 2.0f);
  floor->GetCollisionShape().GetBounds() = Bounds{0, 0, 1000, 1000};
  walker->GetCollisionShape().GetBounds() = Bounds{900, 900, 2000, 2000};
  SpawnHitSparks(floor, walker);
  EXPECT_EQ(SparkFrames(), expected);
}

TEST_F(HitSparksTest, ColoursOrLevelsOutsideTheirRangesStillStop) {
  EXPECT_DEATH(Hit(100, 100, 5.0f, 1.0f), "index >= 0 && index <= 9");
  EXPECT_DEATH(Hit(100, 100, 2.0f, 3.0f), "index >= 0 && index <= 9|level >= 0 && level <= 2");
  EXPECT_DEATH(Hit(100, 100, 0.0f, 4.0f), "level >= 0 && level <= 2");
}

class HandleDamageTest : public BehaviorsTest {
 protected:
  void SetUpFight(const std::string& bounds = "0 0 4000 1000", float enemyY = 500.0f) {
    StartLevel({"Floor 0 500 0 0 0"}, {"Walker 300 " + std::to_string(enemyY) + " 0"}, bounds);
    hero = AddHero(Vector2(330, 500));
    enemy = Walker();
    enemy->SetSummoned(true);  // summoned enemies send no HUD message
  }
  void HitBy(PhysicsObject* attacker, float damage) {
    enemy->SetFlag("DamageReceived", damage);
    enemy->SetLastContact(responsetest::Overlap(enemy, attacker, 1, 2));
  }
  PlayerObject* hero = nullptr;
  EnemyObject* enemy = nullptr;
};

TEST_F(HandleDamageTest, OneAttackHurtsOnceAndKnocksTheEnemyAwayFromTheAttacker) {
  SetUpFight();
  HitBy(hero, 4.0f);
  EXPECT_TRUE(HandleDamage(enemy));
  EXPECT_EQ(enemy->GetFlag("Health"), 6.0f);
  EXPECT_EQ(enemy->GetFlag("DamagedTime"), 15.0f);
  EXPECT_EQ(enemy->GetFlag("DamageReceived"), 0.0f);
  EXPECT_EQ(enemy->GetLastHitAttackId(), hero->GetAttackId());
  EXPECT_FLOAT_EQ(enemy->GetVelocity().X(), -2.0f);
  EXPECT_GE(Count("Spark"), 2);

  HitBy(hero, 4.0f);  // the same swing a frame later
  EXPECT_FALSE(HandleDamage(enemy));
  EXPECT_EQ(enemy->GetFlag("Health"), 6.0f);
  EXPECT_FALSE(HandleDamage(enemy));  // nothing stored

  // From the other side, by something that is not the hero: no sparks.
  const int sparks = Count("Spark");
  GameObject* floor = Live("Floor");
  floor->MoveTo(Vector2(200, 500));
  HitBy(floor, 1.0f);
  EXPECT_TRUE(HandleDamage(enemy));
  EXPECT_EQ(enemy->GetFlag("Health"), 5.0f);
  EXPECT_FLOAT_EQ(enemy->GetVelocity().X(), 2.0f);
  EXPECT_EQ(Count("Spark"), sparks);
}

TEST_F(HandleDamageTest, AHitToExactlyZeroKillsWithOnePowerupRisingFromTheEnemy) {
  SetUpFight();
  HitBy(hero, 10.0f);
  EXPECT_TRUE(HandleDamage(enemy));
  EXPECT_TRUE(enemy->IsDead());
  ASSERT_EQ(Count("Powerup"), 1);
  GameObject* powerup = Live("Powerup");
  EXPECT_EQ(powerup->GetPosition(), enemy->GetPosition());
  EXPECT_FLOAT_EQ(powerup->GetVelocity().Y(), -5.0f);
  EXPECT_GE(powerup->GetFrame(), 2);
  EXPECT_LE(powerup->GetFrame(), 4);
  EXPECT_EQ(powerup->GetFlag("Lifetime"), 600.0f);

  // Parts that die by their own logic are never removed here.
  SetUpFight();
  enemy->SetNoContactDamage(true);
  HitBy(hero, 10.0f);
  EXPECT_TRUE(HandleDamage(enemy));
  EXPECT_FALSE(enemy->IsDead());
  EXPECT_EQ(Count("Powerup"), 0);
}

TEST_F(HandleDamageTest, AStrideHitThatLeavesExactlyZeroHealthIsShownAsAKill) {
  const struct {
    float damage;  // against 10 health
    std::vector<int> kinds;
  } cases[] = {{9.0f, {3}}, {10.0f, {3, 4}}, {11.0f, {3, 4}}};
  for (const auto& c : cases) {
    SetUpFight();
    enemy->SetSummoned(false);
    hero->SetState(PLAYER_STRIDE);
    HitBy(hero, c.damage);
    EXPECT_TRUE(HandleDamage(enemy));
    EXPECT_EQ(enemy->IsDead(), c.kinds.size() == 2) << c.damage;
    std::vector<int> kinds;
    for (const auto& message : HUD::GetInstance()->GetMessages()) kinds.push_back(message.kind);
    EXPECT_EQ(kinds, c.kinds) << c.damage;
  }
}

TEST_F(HandleDamageTest, EnemiesBelowAClosedBottomBoundDieButAnOpenBoundKillsNobody) {
  SetUpFight("0 0 4000 1000", 1100.0f);
  EXPECT_FALSE(HandleDamage(enemy));
  EXPECT_TRUE(enemy->IsDead());
  EXPECT_EQ(Count("Powerup"), 1);

  SetUpFight("-1 -1 -1 -1", 1100.0f);
  EXPECT_FALSE(HandleDamage(enemy));
  EXPECT_FALSE(enemy->IsDead());
  EXPECT_EQ(Count("Powerup"), 0);
}

TEST_F(HandleDamageTest, HitSparksCountFromTheBoxTheGroundProbeLeftWidened) {
  SetUpFight();
  enemy->MoveTo(Vector2(64, 499));  // just above the floor tile
  const float bottom = enemy->GetCollisionShape().GetBounds().bottom;
  EXPECT_FALSE(IsFalling(enemy));
  // The probe's sweep stays on the box until the next physics step rebuilds it.
  EXPECT_GT(enemy->GetCollisionShape().GetBounds().bottom, bottom + 1.0f);
  EXPECT_EQ(OverlapRect(hero, enemy).bottom,
            std::min(hero->GetCollisionShape().GetBounds().bottom,
                     enemy->GetCollisionShape().GetBounds().bottom));
}

class CoreCollectTest : public BehaviorsTest {
 protected:
  // A core piece at (400, 300) seen through a camera at (100, 50), with or without its glow.
  GameObject* Touch(bool withGlow) {
    StartLevel({"Floor 400 300 0 0 0", "Floor 400 300 0 0 0"});
    World::GetObjects()->SetOffset(Vector2(100, 50));
    std::vector<GameObject*> objects = All("Floor");
    GameObject* piece = objects[0];
    piece->SetName("CorePiece");
    piece->SetCollisionCallback(CollideCoreCollect);
    for (GameObject* object : objects) {
      object->AddFlag("Movement", 0.0f);
      object->AddFlag("Specialty", 2.0f);
    }
    if (withGlow) objects[1]->SetName("CoreGlow");
    PlayerObject* hero = AddHero(Vector2(1000, 500));
    Contact c = responsetest::Overlap(piece, hero, 0, 1);
    CollideCoreCollect(&c);
    return piece;
  }
  static void ExpectFlownToThePanel(const GameObject* object) {
    EXPECT_TRUE(object->IsDead());
    EXPECT_EQ(object->GetPosition(), Vector2(300, 250));
    EXPECT_FLOAT_EQ(object->GetVelocity().X(), -5.0f);
    EXPECT_FLOAT_EQ(object->GetVelocity().Y(), -170.0f / 30.0f);
  }
};

TEST_F(CoreCollectTest, PieceAndGlowLeaveTheLevelForTheHUD) {
  GameObject* piece = Touch(true);
  ExpectFlownToThePanel(piece);
  EXPECT_EQ(piece->GetCollisionCallback(), nullptr);
  ExpectFlownToThePanel(Live("CoreGlow"));
}

TEST_F(CoreCollectTest, APieceWithoutItsGlowIsCollectedAlone) {
  GameObject* piece = Touch(false);
  ExpectFlownToThePanel(piece);
  EXPECT_FALSE(Live("Floor")->IsDead());
}

TEST(AccelerateXTest, MayEndOneStepPastTheLimitAndDoesNothingDuringHitStun) {
  responsetest::ObjectKit kit;
  GameObject* object = kit.Make("Rat", {}, Vector2(), CachedVector(1.4f, 0.0f));
  AddDamageFlags(object);
  AccelerateX(object, 0.375f, 1.5f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), 1.775f);
  AccelerateX(object, 0.375f, 1.5f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), 1.775f);
  AccelerateX(object, 0.0f, 1.5f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), 1.775f);

  object->SetVelocity(2.0f, 0.0f);  // knocked back
  object->SetFlag("DamagedTime", 15.0f);
  for (int frame = 0; frame < 15; ++frame) {
    AccelerateX(object, -0.375f, 1.5f);
    UpdateDamageFlash(object);
    EXPECT_FLOAT_EQ(object->GetVelocity().X(), 2.0f) << "frame " << frame;
  }
  AccelerateX(object, -0.375f, 1.5f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), 1.625f);
}

TEST(UpdateDamageFlashTest, BlinksHiddenTwoShownThreeAndEndsVisible) {
  responsetest::ObjectKit kit;
  GameObject* object = kit.Make("Rat", {});
  AddDamageFlags(object);
  object->SetFlag("DamagedTime", 15.0f);
  object->SetLastContact(responsetest::Overlap(object, object, 1, 1));
  std::string pattern;
  for (int frame = 0; frame < 15; ++frame) {
    UpdateDamageFlash(object);
    pattern += object->IsVisible() ? 'S' : 'H';
  }
  EXPECT_EQ(pattern, "HHSSSHHSSSHHSSS");
  EXPECT_EQ(object->GetFlag("DamagedTime"), 0.0f);
  EXPECT_FALSE(object->TakeLastContact().IsHit());  // hits during the stun are dropped
}

TEST(PatrolTest, TurnsAtATargetBehindAndSetsTheNextOneAhead) {
  responsetest::ObjectKit kit;
  GameObject* object = kit.Make("Rat", {}, Vector2(100, 0));
  AddDamageFlags(object);
  AddMovementFlags(object);
  object->SetFlag("TargetX", 50.0f);
  BehaviorPatrolTurn(object, 0.375f, 1.5f, 400.0f);
  EXPECT_EQ(object->GetFlag("DirectionX"), -1.0f);
  EXPECT_EQ(object->GetFlag("TargetX"), -300.0f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), -0.375f);
  EXPECT_TRUE(object->IsFacingLeft());

  // FaceTarget turns without moving the target, and ignores hit-stun.
  object->SetFlag("TargetX", 500.0f);
  object->SetFlag("DamagedTime", 10.0f);
  FaceTarget(object, 0.5f, 4.0f);
  EXPECT_EQ(object->GetFlag("DirectionX"), 1.0f);
  EXPECT_EQ(object->GetFlag("TargetX"), 500.0f);
  EXPECT_FLOAT_EQ(object->GetVelocity().X(), 0.125f);
  EXPECT_FALSE(object->IsFacingLeft());
}

TEST(ConstructorCountsTest, EntriesAreAppendedCountedAndNeverShrink) {
  constructorcounts::ResetForTests();
  EXPECT_EQ(constructorcounts::Append(), 0);
  EXPECT_EQ(constructorcounts::Append(), 1);
  constructorcounts::Add(1, 2);
  constructorcounts::Add(1, -1);
  constructorcounts::Add(7, 1);  // no such entry
  EXPECT_EQ(constructorcounts::Get(0), 0);
  EXPECT_EQ(constructorcounts::Get(1), 1);
  EXPECT_EQ(constructorcounts::Get(-1), 0);
  EXPECT_EQ(constructorcounts::Size(), 2);
  constructorcounts::ResetForTests();
}

// A hit's message is coloured by the orb of the attack; Stride and Cyclone hits
// show grey doubled damage, and a kill by them a second, black message doubled again.
TEST_F(BehaviorsTest, HitMessagesShowTheOrbColourAndSpecialMoveKillsADoubledSecondOne) {
  using Colour = std::array<unsigned char, 4>;
  const Colour red{255, 255, 0, 0}, green{255, 0, 255, 0}, blue{255, 0, 0, 255}, black{255, 0, 0, 0},
      grey{255, 127, 127, 127};
  struct Sent {
    int points, kind;
    Colour colour;
  };
  struct Case {
    int colour, heroState;
    bool killed;
    std::vector<Sent> expected;
  };
  const Case cases[] = {
      {2, PLAYER_IDLE, false, {{4, 0, red}}},
      {3, PLAYER_SWORD, true, {{4, 0, green}}},
      {4, PLAYER_IDLE, false, {{4, 0, blue}}},
      {0, PLAYER_IDLE, false, {{4, 0, black}}},
      {1, PLAYER_IDLE, false, {{4, 0, black}}},
      {7, PLAYER_IDLE, false, {{4, 0, black}}},
      {2, PLAYER_STRIDE, false, {{8, 3, grey}}},
      {2, PLAYER_STRIDE, true, {{8, 3, grey}, {16, 4, black}}},
      {4, PLAYER_CYCLONE, true, {{8, 5, grey}, {16, 6, black}}},
  };
  StartLevel({"Floor 0 500 0 0 0"});
  PlayerObject* hero = AddHero(Vector2(100, 500));
  HUD* hud = HUD::GetInstance();
  ASSERT_NE(hud, nullptr);
  for (const Case& c : cases) {
    // Outside any combo (the hero's input step runs its timer), with no message on the HUD.
    for (int frame = 0; frame < 600 && hero->IsComboTimerRunning(); ++frame) hero->HandleInput();
    ASSERT_FALSE(hero->IsComboTimerRunning());
    hud->SetAbilities(0);
    hero->SetState(c.heroState);
    ShowHitOnHUD(4, c.colour, c.killed);
    EXPECT_TRUE(hero->IsComboTimerRunning());
    const auto& messages = hud->GetMessages();
    ASSERT_EQ(messages.size(), c.expected.size()) << "colour " << c.colour << " state " << c.heroState;
    for (std::size_t i = 0; i < messages.size(); ++i) {
      EXPECT_EQ(messages[i].points, c.expected[i].points) << c.colour << " " << c.heroState << " " << i;
      EXPECT_EQ(messages[i].kind, c.expected[i].kind) << c.colour << " " << c.heroState << " " << i;
      EXPECT_EQ(messages[i].pointsText.GetStartColor(), c.expected[i].colour)
          << c.colour << " " << c.heroState << " " << i;
    }
  }

  // A second hit while the combo timer runs adds to the message of its kind.
  hero->SetState(PLAYER_IDLE);
  ShowHitOnHUD(3, 2, false);
  ASSERT_EQ(hud->GetMessages().size(), 3u);
  EXPECT_EQ(hud->GetMessages().back().count, 1) << "a new kind starts its own message";
  ShowHitOnHUD(5, 2, false);
  ASSERT_EQ(hud->GetMessages().size(), 3u);
  EXPECT_EQ(hud->GetMessages().back().count, 2);
  EXPECT_EQ(hud->GetMessages().back().points, 8);
}

TEST(ShowHitOnHUDTest, StopsWithoutAHud) {
  ASSERT_EQ(HUD::GetInstance(), nullptr);
  EXPECT_DEATH(ShowHitOnHUD(1, 0, false), "pHUD");
}

}  // namespace
