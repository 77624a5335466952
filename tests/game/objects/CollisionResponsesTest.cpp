// The standard collision responses, fed hand-built contact records.
#include "game/objects/CollisionResponses.h"

#include <gtest/gtest.h>

#include <cmath>

#include "behaviorlib/Behaviors.h"
#include "game/WorldTestKit.h"
#include "game/objects/ResponseFixtures.h"
#include "game/player/PlayerObject.h"
#include "geometry/MatrixHelpers.h"

namespace {

using namespace responsetest;

constexpr float kTolerance = 1e-5f;

void ExpectVelocity(const PhysicsObject* object, float x, float y) {
  EXPECT_NEAR(object->GetVelocity().X(), x, kTolerance);
  EXPECT_NEAR(object->GetVelocity().Y(), y, kTolerance);
}

// Counts what the responses ask of the hero.
class CountingHero : public GameObject {
 public:
  using GameObject::GameObject;
  void OnLanded() override { ++landings; }
  void TakeDamage(int amount) override { damage += amount; }
  int landings = 0;
  int damage = 0;
};

TEST(MatrixHelpersTest, ProjectAndReflectAlongALineAndHandleTheZeroDirection) {
  const CachedVector v(3.0f, 4.0f);
  const CachedVector onX = ProjectionMatrix(Vector2(2.0f, 0.0f)) * v;
  EXPECT_FLOAT_EQ(onX.X(), 3.0f);
  EXPECT_FLOAT_EQ(onX.Y(), 0.0f);
  const CachedVector mirrored = ReflectionMatrix(Vector2(1.0f, 1.0f)) * v;
  EXPECT_NEAR(mirrored.X(), 4.0f, kTolerance);
  EXPECT_NEAR(mirrored.Y(), 3.0f, kTolerance);
  EXPECT_EQ(ProjectionMatrix(Vector2()), Matrix2D(0.0f, 0.0f, 0.0f, 0.0f));
  EXPECT_EQ(ReflectionMatrix(Vector2()), -Matrix2D::Identity());
}

class ResponseTest : public ::testing::Test {
 protected:
  // A 128-wide floor whose top edge runs along y = 0.
  GameObject* Floor(const CachedVector& velocity = CachedVector()) {
    return kit.Make("Floor", {Box(2, 0, 0, 128, 128)}, Vector2(), velocity);
  }
  int FloorTop(const GameObject* floor) {
    return EdgeFeature(*floor, 0, Vector2(0, 0), Vector2(128, 0));
  }
  // A walker's bottom-left corner touching the floor's top edge.
  Contact OntoFloor(GameObject* walker, GameObject* floor) {
    return Swept(walker, floor, 0, VertexFeature(*walker, 0, walker->GetPosition()), kFeatureVertex,
                 0, FloorTop(floor), kFeatureEdge);
  }
  GameObject* Walker(const CachedVector& velocity) {
    return kit.Make("Rat", {Box(1, 0, -32, 32, 0), Box(7, 0, -32, 32, 0)}, Vector2(10, 0), velocity);
  }

  ObjectKit kit;
};

TEST_F(ResponseTest, SlideRemovesTheMotionIntoAFlatFloorAndKeepSpeedRestoresTheSpeed) {
  GameObject* floor = Floor();
  GameObject* walker = Walker(CachedVector(3, 4));
  Contact c = OntoFloor(walker, floor);
  CollideSlide(&c);
  ExpectVelocity(walker, 3, 0);

  walker->SetVelocity(3, 4);
  CollideSlideKeepSpeed(&c);
  ExpectVelocity(walker, 5, 0);

  // Seen from the floor's side (its own edge hit), the same rule applies.
  floor->SetVelocity(3, 4);
  Contact mirrored = c;
  mirrored.Swap();
  CollideSlide(&mirrored);
  ExpectVelocity(floor, 3, 0);

  // Overlaps are left alone.
  walker->SetVelocity(3, 4);
  Contact overlap = Overlap(walker, floor, 0, 0);
  CollideSlide(&overlap);
  ExpectVelocity(walker, 3, 4);
}

TEST_F(ResponseTest, VertexAgainstVertexSlidesAcrossTheJoiningLineAndZeroDirectionsStopOrKeep) {
  GameObject* a = kit.Make("A", {Box(0, -10, -10, 0, 0)}, Vector2(), CachedVector(2, 0));
  GameObject* b = kit.Make("B", {Box(0, 1, 1, 10, 10)});
  Contact c = Swept(a, b, 0, VertexFeature(*a, 0, Vector2(0, 0)), kFeatureVertex, 0,
                    VertexFeature(*b, 0, Vector2(1, 1)), kFeatureVertex);
  CollideSlide(&c);  // joining line (1, 1): slides along (-1, 1)
  ExpectVelocity(a, 1, -1);

  // Both vertices at one point: no direction at all.
  GameObject* touching = kit.Make("B", {Box(0, 0, 0, 10, 10)});
  Contact same = Swept(a, touching, 0, VertexFeature(*a, 0, Vector2(0, 0)), kFeatureVertex, 0,
                       VertexFeature(*touching, 0, Vector2(0, 0)), kFeatureVertex);
  a->SetVelocity(2, 3);
  CollideBounce(&same);
  ExpectVelocity(a, 2, 3);
  CollideSlide(&same);
  ExpectVelocity(a, 0, 0);
}

TEST_F(ResponseTest, SparkBouncesOffAFlatFloorKeepingItsShareOfEnergy) {
  GameObject* floor = Floor();
  GameObject* spark = kit.Make("Spark", {Box(4, -2, -2, 2, 2)}, Vector2(10, -2), CachedVector(0, 5));
  spark->AddFlag("EnergyKept", 0.35f);
  Contact c = Swept(spark, floor, 0, VertexFeature(*spark, 0, Vector2(8, 0)), kFeatureVertex, 0,
                    FloorTop(floor), kFeatureEdge);
  CollideBounceEnergyKept(&c);
  ExpectVelocity(spark, 0, -1.75f);

  // An overlap does not bounce but still costs energy.
  spark->SetVelocity(0, 4);
  Contact overlap = Overlap(spark, floor, 0, 0);
  CollideBounceEnergyKept(&overlap);
  ExpectVelocity(spark, 0, 1.4f);
}

TEST_F(ResponseTest, GroundLandsOnlyOnSurfacesUpToFortyFiveDegreesAndRidesTheOther) {
  struct Case {
    const char* surface;
    Vector2 to;  // the slope's far end, from (0, 0)
    bool lands;
  };
  const Case cases[] = {{"flat", Vector2(128, 0), true},
                        {"30 degrees", Vector2(128, -73.9f), true},
                        {"45 degrees", Vector2(128, -128), true},
                        {"60 degrees", Vector2(64, -110.85f), false}};
  for (const Case& test : cases) {
    GameObject* slope = kit.Make("Slope", {Polygon(2, {Vector2(0, 0), test.to, Vector2(test.to.X(), 10)})},
                                 Vector2(), CachedVector(0, -1));
    GameObject* walker = Walker(CachedVector(0, 5));
    walker->AddFlag("OnGround", 0.0f);
    Contact c = Swept(walker, slope, 0, 0, kFeatureVertex, 0,
                      EdgeFeature(*slope, 0, Vector2(0, 0), test.to), kFeatureEdge);
    CollideGround(&c);
    EXPECT_EQ(walker->GetFlag("OnGround"), test.lands ? 1.0f : 0.0f) << test.surface;
    // Either way it slides and takes on the support's velocity.
    const CachedVector along = ProjectionMatrix(CachedVector(test.to)) * CachedVector(0, 5);
    EXPECT_NEAR(walker->GetVelocity().X(), along.X(), 1e-4f) << test.surface;
    EXPECT_NEAR(walker->GetVelocity().Y(), along.Y() - 1.0f, 1e-4f) << test.surface;
  }
}

TEST_F(ResponseTest, GroundTellsOnlyTheHeroOfItsLandingAndSparesUndeclaredFlags) {
  GameObject* floor = Floor();
  auto* hero = kit.Make<CountingHero>("ZodirazO", {Box(3, 0, -32, 32, 0)}, Vector2(10, 0),
                                      CachedVector(0, 5));
  Contact c = OntoFloor(hero, floor);
  CollideGround(&c);
  EXPECT_EQ(hero->landings, 1);
  EXPECT_EQ(hero->GetFlags().count("OnGround"), 0u);

  // A kind that never declared "OnGround" (the Constructor, boss parts) lands without it.
  auto* constructor = kit.Make<CountingHero>("Constructor", {Box(1, 0, -32, 32, 0)}, Vector2(10, 0),
                                             CachedVector(0, 5));
  Contact other = OntoFloor(constructor, floor);
  CollideGround(&other);
  EXPECT_EQ(constructor->landings, 0);
  EXPECT_EQ(constructor->GetFlags().count("OnGround"), 0u);
  ExpectVelocity(constructor, 0, 0);

  // Overlaps are ignored.
  constructor->SetVelocity(1, 1);
  Contact overlap = Overlap(constructor, floor, 0, 0);
  CollideGround(&overlap);
  ExpectVelocity(constructor, 1, 1);
}

TEST_F(ResponseTest, PlayerTakesContactDamageOnlyFromHurtingBodiesAndMarksTouchedPickups) {
  auto* hero = kit.Make<CountingHero>("ZodirazO", {Box(3, 0, 0, 1, 1), Box(5, 0, 0, 1, 1)});
  auto* rat = kit.Make<EnemyObject>("Rat", {Box(7, 0, 0, 1, 1)});
  auto* claw = kit.Make<EnemyObject>("AirshipClaw", {Box(7, 0, 0, 1, 1)});
  claw->SetNoContactDamage(true);
  GameObject* shot = kit.Make("TigerCShot", {Box(8, 0, 0, 1, 1)});
  shot->AddFlag("Damage", 5.0f);
  GameObject* pickup = kit.Make("Powerup", {Box(10, 0, 0, 1, 1)});
  GameObject* scenery = kit.Make("Gate", {Box(2, 0, 0, 1, 1)});

  struct Case {
    GameObject* other;
    int heroPolygon;
    int damage;
  };
  const Case cases[] = {{rat, 1, 1}, {rat, 0, 0}, {claw, 1, 0}, {shot, 1, 1}, {scenery, 1, 0}};
  for (const Case& test : cases) {
    hero->damage = 0;
    Contact c = Overlap(hero, test.other, test.heroPolygon, 0);
    CollidePlayer(&c);
    EXPECT_EQ(hero->damage, test.damage) << test.other->GetName() << " polygon " << test.heroPolygon;
  }

  // The pickup keeps the hero's record as it was received.
  Contact touch = Overlap(hero, pickup, 1, 0);
  CollidePlayer(&touch);
  const Contact stored = pickup->TakeLastContact();
  EXPECT_EQ(stored.a, hero);
  EXPECT_EQ(stored.b, pickup);
  EXPECT_EQ(stored.polygonA, 1);
}

// The hero needs a HUD, so these cases run in a started World.
class DamageResponseTest : public ResponseTest {
 protected:
  void SetUp() override {
    world.Start();
    hero = kit.Make<PlayerObject>("ZodirazO", {Box(3, 0, 0, 1, 1), Box(5, 0, 0, 1, 1), Box(6, 0, 0, 1, 1)});
    rat = kit.Make<EnemyObject>("Rat", {Box(1, 0, -32, 32, 0), Box(7, 0, -32, 32, 0)}, Vector2(10, 0));
    AddDamageFlags(rat);
    AddGroundFlag(rat);
  }
  void TearDown() override { world.Stop(); }
  worldtest::StartedWorld world;
  PlayerObject* hero;
  EnemyObject* rat;
};

TEST_F(DamageResponseTest, MapsTheAttackersStateToDamageLevelAndColour) {
  struct Case {
    int state;
    float level, colour;
  };
  const Case cases[] = {{1, 0, 0},  {3, 0, 0},  {4, 0, 2},  {5, 1, 2},  {6, 2, 2},  {8, 0, 3},
                        {9, 1, 3},  {10, 2, 3}, {12, 0, 4}, {13, 1, 4}, {14, 2, 4}, {15, 3, 0},
                        {16, 1, 0}, {17, 2, 0}, {18, 0, 0}};
  for (const Case& test : cases) {
    hero->SetState(test.state);
    Contact c = Overlap(rat, hero, 1, 1);  // the body: colour and level only
    CollideDamage(&c);
    EXPECT_EQ(rat->GetFlag("DamageLevel"), test.level) << "state " << test.state;
    EXPECT_EQ(rat->GetFlag("DamageColor"), test.colour) << "state " << test.state;
    EXPECT_FALSE(rat->TakeLastContact().IsHit()) << "state " << test.state;
  }
}

TEST_F(DamageResponseTest, StoresHitsOnlyFromAnAttackingWeaponOrAShotOnTheBody) {
  rat->SetFlag("DamageReceived", 0.0f);
  hero->SetState(5);
  Contact weapon = Overlap(rat, hero, 1, 2);
  CollideDamage(&weapon);
  EXPECT_EQ(rat->GetFlag("DamageReceived"), hero->GetAttackDamage());
  EXPECT_EQ(rat->TakeLastContact().b, hero);

  hero->SetState(1);  // not attacking
  CollideDamage(&weapon);
  EXPECT_FALSE(rat->TakeLastContact().IsHit());

  hero->SetState(5);
  Contact walkerPolygon = Overlap(rat, hero, 0, 2);
  CollideDamage(&walkerPolygon);
  EXPECT_FALSE(rat->TakeLastContact().IsHit());

  GameObject* shot = kit.Make("Shot", {Box(9, 0, 0, 1, 1)});
  shot->AddFlag("Damage", 7.0f);
  shot->SetState(9);
  Contact byShot = Overlap(rat, shot, 1, 0);
  CollideDamage(&byShot);
  EXPECT_EQ(rat->GetFlag("DamageReceived"), 7.0f);
  EXPECT_EQ(rat->GetFlag("DamageColor"), 3.0f);
  // Both keep the record exactly as the enemy received it.
  const Contact stored = rat->TakeLastContact();
  const Contact seenByShot = shot->TakeLastContact();
  EXPECT_TRUE(stored.a == rat && stored.b == shot);
  EXPECT_TRUE(seenByShot.a == rat && seenByShot.b == shot);
}

TEST_F(DamageResponseTest, SweptContactsOfTheWalkerPolygonAreGround) {
  GameObject* floor = Floor();
  rat->SetFlag("OnGround", 0.0f);
  rat->SetVelocity(0, 5);
  Contact c = OntoFloor(rat, floor);
  CollideDamage(&c);
  EXPECT_EQ(rat->GetFlag("OnGround"), 1.0f);
  ExpectVelocity(rat, 0, 0);
}

TEST_F(DamageResponseTest, OrbTakesAShotsColourOrTheHerosStoredWeaponContact) {
  GameObject* orb = kit.Make("OrbRotation", {Box(0, 0, 0, 1, 1), Box(10, 0, 0, 1, 1)});
  auto& frames = orb->GetAnimation()->GetFrames();
  while (frames.size() < 5) frames.push_back(frames.front());
  GameObject* shot = kit.Make("Shot", {Box(9, 0, 0, 1, 1)});
  struct Case {
    int state, frame;
  };
  for (const Case& test : {Case{4, 2}, Case{10, 3}, Case{12, 4}}) {
    shot->SetState(test.state);
    Contact c = Overlap(orb, shot, 1, 0);
    CollideShot(&c);
    EXPECT_EQ(orb->GetFrame(), test.frame) << "state " << test.state;
    EXPECT_EQ(shot->TakeLastContact().a, orb);
  }
  shot->SetState(15);  // a plain shot changes nothing
  Contact plain = Overlap(orb, shot, 1, 0);
  CollideShot(&plain);
  EXPECT_EQ(orb->GetFrame(), 4);
  EXPECT_FALSE(shot->TakeLastContact().IsHit());

  // The hero's weapon hands over the hero's own stored contact, else this one.
  const Contact heroRecord = Overlap(hero, rat, 2, 1);
  hero->SetLastContact(heroRecord);
  Contact weapon = Overlap(orb, hero, 1, 2);
  CollideShot(&weapon);
  EXPECT_EQ(orb->TakeLastContact().b, rat);
  EXPECT_FALSE(hero->TakeLastContact().IsHit());
  CollideShot(&weapon);
  EXPECT_EQ(orb->TakeLastContact().b, hero);
  Contact body = Overlap(orb, hero, 1, 1);
  CollideShot(&body);
  EXPECT_FALSE(orb->TakeLastContact().IsHit());
}

TEST_F(ResponseTest, ContactsWithObjectsThatAreNotGameObjectsDoNothing) {
  Animation animation("bare");
  animation.GetFrames().emplace_back(0, 0, Vector2(), CollisionShape({Box(1, 0, 0, 1, 1)}));
  PhysicsObject bare(&animation.GetFrames()[0].GetShape(), Vector2(), CachedVector(1, 2));
  auto* hero = kit.Make<CountingHero>("ZodirazO", {Box(5, 0, 0, 1, 1)}, Vector2(), CachedVector(1, 2));
  for (CollisionCallback response : CollisionResponseTable) {
    if (response == CollideSlide || response == CollideSlideKeepSpeed || response == CollideBounce) {
      continue;  // geometry only: any object may slide or bounce
    }
    Contact fromBare = Overlap(&bare, hero, 1, 1);
    response(&fromBare);
    Contact towardBare = Overlap(hero, &bare, 1, 1);
    response(&towardBare);
    Contact swept = Swept(&bare, hero, 0, 0, kFeatureVertex, 0, 0, kFeatureEdge);
    response(&swept);
    Contact sweptToward = Swept(hero, &bare, 0, 0, kFeatureVertex, 0, 0, kFeatureEdge);
    response(&sweptToward);
  }
  ExpectVelocity(&bare, 1, 2);
  ExpectVelocity(hero, 1, 2);
  EXPECT_EQ(hero->damage, 0);
  EXPECT_EQ(hero->landings, 0);
}

}  // namespace
