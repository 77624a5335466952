// The small objects of the levels and the HUD: tire stacks, the lift, shots,
// power-ups, orbs, the HUD's orb particles, flashes, core pieces, checkpoints
// and the boss's bomb.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "animationlib/SceneryCollection.h"
#include "animationlib/ScenerySprite.h"
#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/hud/HUD.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/ResponseFixtures.h"

namespace {

using behaviortest::BehaviorWorldTest;
using responsetest::Overlap;

class SmallObjectsTest : public BehaviorWorldTest {
 protected:
  // A copy of the five-frame "Powerup" art under another name and behaviour,
  // added to the main list at `depth`.
  GameObject* Make(const std::string& name, const Vector2& at, BehaviorFn behavior, float depth = 0.0f) {
    auto* object = dynamic_cast<GameObject*>(World::CloneSprite("Powerup"));
    object->SetName(name);
    object->MoveTo(at);
    object->SetDepth(depth);
    object->SetBehavior(behavior);
    World::GetObjects()->Add(object);
    return object;
  }
};

// --- Level objects ---------------------------------------------------------

TEST_F(SmallObjectsTest, OnlyAStridingOrCycloningHeroKnocksTheWholeStackLooseSelfLast) {
  for (int state : {PLAYER_RUN, PLAYER_STRIDE, PLAYER_CYCLONE}) {
    StartLevel({});
    PlayerObject* hero = AddHero(Vector2(600, 200));  // clear of the stack: no touch of its own
    hero->SetState(state);
    std::vector<GameObject*> tires;
    for (int i = 0; i < 4; ++i) {
      // The last one rests far away, off the screen.
      tires.push_back(Make("Tire", Vector2(i == 3 ? 3000.0f : 300.0f, 480.0f - 20.0f * i), TireInit,
                           static_cast<float>(i)));
    }
    Make("Tires", Vector2(300, 400), nullptr, 0.5f);  // another name is no part of the stack
    Step();  // the Inits
    tires[2]->SetFrame(1);  // already loose: left alone
    tires[1]->SetLastContact(Overlap(tires[1], hero, 1, 2));

    // The stack in list order (0, 3; 2 is loose), then the tire that was hit.
    platform::SeedRandom(99);
    std::vector<CachedVector> expected(4);
    for (int i : {0, 3, 1}) {
      const double angle = platform::Random() / 32768.0 * 2.0 * 3.14159265358979;
      expected[i] = CachedVector(static_cast<float>(5.0 * std::cos(angle)),
                                 static_cast<float>(5.0 * std::sin(angle)));
    }
    platform::SeedRandom(99);
    Step();

    const bool launched = state != PLAYER_RUN;
    for (int i : {0, 1, 3}) {
      EXPECT_EQ(tires[i]->GetFrame(), launched ? 1 : 0) << "state " << state << " tire " << i;
      if (!launched) continue;
      EXPECT_EQ(tires[i]->GetBehavior(), &TireFall);
      EXPECT_NEAR(tires[i]->GetVelocity().X(), expected[i].X(), 1e-5f) << "tire " << i;
      EXPECT_NEAR(tires[i]->GetVelocity().Y(), expected[i].Y(), 1e-5f) << "tire " << i;
    }
    EXPECT_EQ(tires[2]->GetBehavior(), &TireUpdate);
    EXPECT_TRUE(Live("Tires")->GetVelocity().IsZero());
    // Taken out and put back, the list is still in depth order.
    ASSERT_EQ(All("Tire").size(), 4u);
    float depth = -1e9f;
    for (const Sprite* sprite : World::GetObjects()->GetSprites()) {
      EXPECT_GE(sprite->GetDepth(), depth);
      depth = sprite->GetDepth();
    }
  }
}

TEST_F(SmallObjectsTest, TheLiftRisesTwoHundredFiftySixThenShuttlesFiveHundredTwelve) {
  StartLevel({});
  GameObject* lift = Make("FactoryPlatform", Vector2(400, 400), FactoryPlatformInit);
  Step();  // the Init only
  EXPECT_FLOAT_EQ(lift->GetPosition().Y(), 400.0f);
  EXPECT_EQ(lift->GetFlag("TargetY"), 144.0f);
  EXPECT_EQ(lift->GetFlag("FrameChange"), -1.0f);

  std::vector<float> turns;  // where the direction changed
  float last = lift->GetPosition().Y();
  float direction = -1.0f;
  for (int frame = 0; frame < 800; ++frame) {
    Step();
    const float y = lift->GetPosition().Y();
    EXPECT_FLOAT_EQ(std::fabs(y - last), 2.5f) << "frame " << frame;
    if ((y - last) * direction < 0.0f) {
      turns.push_back(last);
      direction = -direction;
    }
    last = y;
  }
  ASSERT_GE(turns.size(), 3u);
  EXPECT_NEAR(turns[0], 400.0f - 257.5f, 1e-3f);  // just past the target
  EXPECT_NEAR(turns[1] - turns[0], 512.5f, 1e-3f);
  EXPECT_NEAR(turns[1] - turns[2], 512.5f, 1e-3f);
}

// --- Projectiles -------------------------------------------------------------

TEST_F(SmallObjectsTest, ProjectilesLeaveAtTheirMargins) {
  StartLevel({});
  World::GetObjects()->SetOffset(Vector2(1000, 200));
  struct Case {
    BehaviorFn fly;
    Vector2 at;
    bool dead;
  };
  const Case cases[] = {
      {TigerCShotFly, {600, 400}, false},   {TigerCShotFly, {599, 400}, true},
      {TigerCShotFly, {2200, 400}, false},  {TigerCShotFly, {2201, 400}, true},
      {TigerCShotFly, {1500, 190}, false},  {TigerCShotFly, {1500, 189}, true},
      {TigerCShotFly, {1500, 810}, false},  {TigerCShotFly, {1500, 811}, true},
      {ShotBehavior, {500, 400}, false},    {ShotBehavior, {499, 400}, true},
      {ShotBehavior, {1500, 1300}, false},  {ShotBehavior, {1500, 1301}, true},
  };
  for (const Case& test : cases) {
    GameObject* shot = Make("Shot", test.at, test.fly);
    test.fly(shot);
    EXPECT_EQ(shot->IsDead(), test.dead) << test.at.X() << ", " << test.at.Y();
  }
  GameObject* bolt = Make("TigerCShot", Vector2(1500, 400), TigerCShotInit);
  TigerCShotInit(bolt);
  EXPECT_EQ(bolt->GetBehavior(), &TigerCShotFly);
  EXPECT_FALSE(bolt->GetDeactivateOffscreen());
  EXPECT_EQ(bolt->GetFlag("DamageReceived"), 0.0f);
}

TEST_F(SmallObjectsTest, AShotFlashesInItsColourAndLocksTheOrbItHit) {
  StartLevel({});
  struct Case {
    int shotState;
    int flashFrame;
  };
  for (const Case& test : {Case{9, 3}, Case{5, 2}, Case{1, 0}}) {
    GameObject* orb = Make("OrbRotation", Vector2(300, 300), nullptr);
    OrbRotationInit(orb);
    GameObject* shot = Make("Shot", Vector2(310, 300), ShotBehavior);
    shot->SetState(test.shotState);
    shot->SetLastContact(Overlap(orb, shot, 1, 0));  // as the orb's response stores it
    const int flashes = Count("Flash");
    ShotBehavior(shot);
    EXPECT_TRUE(shot->IsDead());
    ASSERT_EQ(Count("Flash"), flashes + 1);
    GameObject* flash = All("Flash").back();
    EXPECT_EQ(flash->GetFrame(), test.flashFrame) << "state " << test.shotState;
    EXPECT_EQ(flash->GetFlag("ExpandRate"), 0.05f);
    EXPECT_EQ(flash->GetFlag("EndSize"), 1.5f);
    EXPECT_EQ(flash->GetScaleX(), 0.0f);
    EXPECT_EQ(flash->GetDepth(), 4.0f);
    EXPECT_EQ(orb->GetState(), test.flashFrame);
    EXPECT_EQ(orb->GetFlag("LockTime"), 60.0f);
    orb->SetDead(true);
  }
}

TEST_F(SmallObjectsTest, AShotWhoseTargetHasLeftThePlayReadsNothingOfIt) {
  StartLevel({});
  GameObject* shot = Make("Shot", Vector2(310, 300), ShotBehavior);
  GameObject* gone = Make("Powerup", Vector2(300, 300), nullptr);
  shot->SetLastContact(Overlap(gone, shot, 1, 0));
  World::GetObjects()->Remove(gone);
  ShotBehavior(shot);
  EXPECT_TRUE(shot->IsDead());
  EXPECT_EQ(Count("Flash"), 1);
}

TEST_F(SmallObjectsTest, TheBombExplodesAHundredTwentyFramesAfterTheThrowAndGrowsToTwo) {
  StartLevel({}, {"Walker 300 300 0"});
  EnemyObject* bomb = Enemy("Walker");
  bomb->SetName("TigerABomb");
  TigerABombInit(bomb);  // the first fuse frame runs at once
  EXPECT_EQ(bomb->GetFlag("ExplodeTimer"), 119.0f);
  EXPECT_FLOAT_EQ(bomb->GetVelocity().Y(), 0.7f);  // falling: "OnGround" starts at 0
  EXPECT_TRUE(bomb->HasNoContactDamage());
  EXPECT_EQ(bomb->GetCollisionCallback(), &TigerABombCollide);

  int frames = 1;
  while (bomb->GetBehavior() == &TigerABombFuse) {
    TigerABombFuse(bomb);
    ++frames;
  }
  EXPECT_EQ(frames, 120);
  EXPECT_EQ(bomb->GetBehavior(), &TigerABombExplode);
  EXPECT_EQ(bomb->GetState(), 3);
  EXPECT_EQ(bomb->GetScaleX(), 0.0f);
  EXPECT_TRUE(bomb->GetVelocity().IsZero());
  EXPECT_FALSE(bomb->HasNoContactDamage());

  std::vector<float> scales;
  while (!bomb->IsDead()) {
    TigerABombExplode(bomb);
    scales.push_back(bomb->GetScaleX());
  }
  ASSERT_EQ(scales.size(), 80u);
  EXPECT_FLOAT_EQ(scales[0], 2.0f / 80.0f);
  EXPECT_FLOAT_EQ(scales[78], 2.0f * 79.0f / 80.0f);
  EXPECT_EQ(Count("Powerup"), 0);
}

TEST_F(SmallObjectsTest, ABombHitDuringItsFuseDropsAPowerupAndNeverExplodes) {
  StartLevel({}, {"Walker 300 300 0"});
  PlayerObject* hero = AddHero(Vector2(330, 300));
  EnemyObject* bomb = Enemy("Walker");
  bomb->SetSummoned(true);
  TigerABombInit(bomb);
  for (int i = 0; i < 50; ++i) TigerABombFuse(bomb);
  bomb->SetFlag("DamageReceived", 1.0f);
  bomb->SetLastContact(Overlap(bomb, hero, 1, 2));
  TigerABombFuse(bomb);
  EXPECT_TRUE(bomb->IsDead());
  EXPECT_EQ(Count("Powerup"), 1);
  EXPECT_NE(bomb->GetBehavior(), &TigerABombExplode);
}

TEST_F(SmallObjectsTest, TheBombBouncesOnSweptContactsAndIsHurtByOverlaps) {
  responsetest::ObjectKit kit;
  auto* bomb = kit.Make<EnemyObject>("TigerABomb", {responsetest::Box(behaviortest::SMALL_SOLID, -5, -5, 5, 5),
                                                    responsetest::Box(behaviortest::ENEMY_BODY, -5, -5, 5, 5)},
                                      Vector2(0, -5), CachedVector(0, 5));
  GameObject* floor = kit.Make("Floor", {responsetest::Box(behaviortest::GROUND, -100, 0, 100, 50)});
  AddDamageFlags(bomb);
  bomb->AddFlag("EnergyKept", 0.3f);
  Contact swept = responsetest::Swept(bomb, floor, 0, 0, kFeatureVertex, 0,
                                      responsetest::EdgeFeature(*floor, 0, Vector2(-100, 0), Vector2(100, 0)),
                                      kFeatureEdge);
  TigerABombCollide(&swept);
  EXPECT_FLOAT_EQ(bomb->GetVelocity().Y(), -1.5f);

  GameObject* shot = kit.Make("Shot", {});
  shot->AddFlag("Damage", 2.0f);
  shot->SetState(9);
  Contact overlap = Overlap(bomb, shot, 1, 0);
  TigerABombCollide(&overlap);
  EXPECT_EQ(bomb->GetFlag("DamageReceived"), 2.0f);
  EXPECT_EQ(bomb->GetFlag("DamageColor"), 3.0f);
}

}  // namespace
