// The physics step: time-ordered swept contacts, back-off, re-sweeps, overlaps and probes.
#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "ShapeFixtures.h"

namespace {

// Every contact delivered to a callback, in delivery order.
std::vector<Contact> g_delivered;
void Record(Contact* c) {
  g_delivered.push_back(*c);
}
// A response that stops the object, as the game's ground responses do.
void RecordAndStop(Contact* c) {
  g_delivered.push_back(*c);
  c->a->SetVelocity(0.0f, 0.0f);
}

class PhysicsStepTest : public ::testing::Test {
 protected:
  PhysicsStepTest() { g_delivered.clear(); }

  // A 10 x 10 box (or the given shape) whose origin is its top-left corner.
  PhysicsObject* Box(float x, float y, float vx, float vy, CollisionCallback cb = Record,
                     const CollisionShape* shape = nullptr) {
    m_objects.emplace_back(shape ? shape : &m_box, Vector2(x, y), CachedVector(vx, vy), cb);
    m_list.push_back(&m_objects.back());
    return &m_objects.back();
  }
  PhysicsObject* Floor(float y) { return Box(-100, y, 0, 0, Record, &m_floor); }

  // The i-th delivered contact names a, then b, at time t (exactly unless a tolerance is given).
  static void ExpectContact(std::size_t i, const PhysicsObject* a, const PhysicsObject* b, float t,
                            float tolerance = 0.0f) {
    ASSERT_LT(i, g_delivered.size());
    EXPECT_TRUE(g_delivered[i].a == a && g_delivered[i].b == b) << "contact " << i;
    EXPECT_NEAR(g_delivered[i].t, t, tolerance) << "contact " << i;
  }

  ScopedTable m_table;
  CollisionShape m_box{{BoxPolygon(0, 0, 0, 10, 10)}};
  CollisionShape m_floor{{BoxPolygon(0, 0, 0, 200, 10)}};
  std::list<PhysicsObject> m_objects;
  std::vector<PhysicsObject*> m_list;
};

TEST_F(PhysicsStepTest, FallingBoxStopsShortOfFloor) {
  PhysicsObject* box = Box(0, 0, 0, 10);
  PhysicsObject* floor = Floor(15);
  PhysicsStep(m_list);
  EXPECT_FLOAT_EQ(box->GetPosition().Y(), 4.9f);
  EXPECT_TRUE(box->HasCollided());
  EXPECT_FLOAT_EQ(box->GetContactTime(), 0.49f);

  // Each callback sees itself first, with the time of the touch itself.
  ASSERT_EQ(g_delivered.size(), 2u);
  ExpectContact(0, box, floor, 0.5f);
  ExpectContact(1, floor, box, 0.5f);
  EXPECT_EQ(g_delivered[0].kindA, kFeatureVertex);
  EXPECT_EQ(g_delivered[1].kindA, kFeatureEdge);
  EXPECT_EQ(g_delivered[1].featureB, g_delivered[0].featureA);
  EXPECT_TRUE(GetContactList().empty());
}

TEST_F(PhysicsStepTest, ContactsComeInTimeOrderUpToTheVeryEndOfTheStep) {
  const CollisionShape ball({MakePolygon(0, {Vector2(0, 0)}, 2.0f)});
  PhysicsObject* atEnd = Box(0, 0, 0, 10);  // touches at t = 1 exactly
  PhysicsObject* early = Box(40, 3, 0, 10);
  PhysicsObject* missing = Box(70, -0.5f, 0, 10);  // would touch just after the step
  PhysicsObject* falling = Box(-50, 13, 0, 10, Record, &ball);
  PhysicsObject* rolling = Box(-90, -50, 10, 0, Record, &ball);
  PhysicsObject* resting = Box(-80, -50, 0, 0, Record, &ball);
  PhysicsObject* floor = Floor(20);  // still, and in three contacts
  PhysicsStep(m_list);
  ASSERT_EQ(g_delivered.size(), 8u);
  ExpectContact(0, falling, floor, 0.5f, 1e-6f);
  ExpectContact(2, rolling, resting, 0.6f, 1e-6f);
  ExpectContact(4, early, floor, 0.7f, 1e-6f);
  ExpectContact(5, floor, early, 0.7f, 1e-6f);
  ExpectContact(6, atEnd, floor, 1.0f);
  ExpectContact(7, floor, atEnd, 1.0f);
  EXPECT_TRUE(g_delivered[0].kindA == kFeatureCircle && g_delivered[0].kindB == kFeatureEdge);
  EXPECT_TRUE(g_delivered[2].kindA == kFeatureCircle && g_delivered[2].kindB == kFeatureCircle);
  EXPECT_FLOAT_EQ(atEnd->GetPosition().Y(), 9.9f);
  EXPECT_FALSE(missing->HasCollided() || floor->HasCollided());
  EXPECT_FLOAT_EQ(missing->GetPosition().Y(), 9.5f);
}

TEST_F(PhysicsStepTest, DeadInactiveNonSolidAndEqualVelocityObjectsNeverCollide) {
  const CollisionShape ghost({BoxPolygon(1, 0, 0, 10, 10)});
  Box(0, 0, 0, 10)->SetDead(true);
  Box(20, 0, 0, 10)->SetInactive(true);
  Box(40, 0, 0, 10, Record, &ghost);
  Box(60, 0, 3, 2);  // touching its neighbour and moving with it
  Box(70, 0, 3, 2);
  Floor(15);
  PhysicsStep(m_list);
  EXPECT_TRUE(g_delivered.empty());
  const Vector2 expected[] = {Vector2(0, 0), Vector2(20, 0), Vector2(40, 10), Vector2(63, 2),
                              Vector2(73, 2)};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m_list[i]->GetPosition(), expected[i]) << i;
}

TEST_F(PhysicsStepTest, StoppedObjectIsResweptAgainstObjectsStillMoving) {
  // The runner hits the wall; the chaser, moving with it, only meets it once it has stopped.
  PhysicsObject* runner = Box(0, 0, 10, 0, RecordAndStop);
  PhysicsObject* wall = Box(12, 0, 0, 0);
  PhysicsObject* chaser = Box(-15, 0, 10, 0, RecordAndStop);
  PhysicsStep(m_list);
  EXPECT_FLOAT_EQ(runner->GetPosition().X(), 1.9f);
  EXPECT_NEAR(chaser->GetPosition().X(), -8.2f, 1e-5f);
  ASSERT_EQ(g_delivered.size(), 4u);
  ExpectContact(0, runner, wall, 0.2f, 1e-6f);
  ExpectContact(2, runner, chaser, 0.69f, 1e-5f);
  EXPECT_TRUE(runner->GetParkedVelocity().IsZero());
}

TEST_F(PhysicsStepTest, HeldObjectKeepsItsMotionWhenItsResweptContactIsDropped) {
  // a and d stop at their walls; the tall runner, moving with them until then, meets d first,
  // so its later contact with the held a is dropped.
  const CollisionShape tall({BoxPolygon(0, 0, 0, 10, 30)});
  Box(0, 0, 0, 0);
  PhysicsObject* a = Box(12, 0, -10, 0);
  Box(5, 20, 0, 0);
  PhysicsObject* d = Box(17, 20, -10, 0);
  PhysicsObject* runner = Box(28, 0, -10, 0, Record, &tall);
  PhysicsStep(m_list);
  EXPECT_NEAR(a->GetPosition().X(), 10.1f, 1e-5f);
  EXPECT_NEAR(d->GetPosition().X(), 15.1f, 1e-5f);
  EXPECT_NEAR(runner->GetPosition().X(), 25.2f, 1e-5f);
  for (PhysicsObject* object : {a, d, runner}) {
    EXPECT_EQ(object->GetVelocity(), Vector2(-10, 0));
    EXPECT_TRUE(object->GetParkedVelocity().IsZero());
    EXPECT_TRUE(object->HasCollided());
  }
  ASSERT_EQ(g_delivered.size(), 6u);
  ExpectContact(4, d, runner, 0.29f, 1e-5f);

  // Freed of its wall, a moves on.
  m_list.erase(m_list.begin());
  PhysicsStep(m_list);
  EXPECT_NEAR(a->GetPosition().X(), 0.1f, 1e-5f);
}

// An overlap response that removes its own object, as a spent shot does.
void RecordAndDie(Contact* c) {
  g_delivered.push_back(*c);
  c->a->SetDead(true);
}

TEST_F(PhysicsStepTest, ObjectDyingInItsOverlapResponseStillMeetsEveryLaterObjectThisStep) {
  const CollisionShape shot({BoxPolygon(1, 0, 0, 10, 10)});
  const CollisionShape target({BoxPolygon(2, 0, 0, 10, 10)});
  PhysicsObject* bullet = Box(0, 0, 0, 0, RecordAndDie, &shot);
  PhysicsObject* first = Box(5, 0, 0, 0, Record, &target);
  PhysicsObject* second = Box(0, 5, 0, 0, Record, &target);
  PhysicsStep(m_list);
  ASSERT_EQ(g_delivered.size(), 4u);
  ExpectContact(0, bullet, first, kOverlapTime);
  ExpectContact(2, bullet, second, kOverlapTime);
  EXPECT_TRUE(bullet->IsDead());

  // Dead before the overlap pass, it meets nothing.
  g_delivered.clear();
  PhysicsStep(m_list);
  EXPECT_TRUE(g_delivered.empty());
}

TEST_F(PhysicsStepTest, OverlapsComeAfterMovementOncePerPolygonPair) {
  const CollisionShape twoParts({BoxPolygon(1, 0, 0, 10, 10), BoxPolygon(1, 5, 5, 15, 15)});
  const CollisionShape target({BoxPolygon(2, 0, 0, 10, 10)});
  const CollisionShape dot({MakePolygon(1, {Vector2(0, 0)}, 3.0f)});
  const CollisionShape bar({MakePolygon(2, {Vector2(0, -10), Vector2(0, 10)})});
  const CollisionShape cross({MakePolygon(1, {Vector2(-10, 0), Vector2(10, 0)})});
  PhysicsObject* mover = Box(0, 0, 20, 0, Record, &twoParts);
  PhysicsObject* still = Box(28, 0, 0, 0, Record, &target);  // reached only by moving
  PhysicsObject* circle = Box(100, 0, 0, 0, Record, &dot);
  PhysicsObject* bar1 = Box(102.5f, 0, 0, 0, Record, &bar);
  PhysicsObject* crossing = Box(200, 0, 0, 0, Record, &cross);
  PhysicsObject* bar2 = Box(200, 0, 0, 0, Record, &bar);
  Box(300, 0, 0, 0, Record, &dot);  // out of reach of the bar beside it
  Box(304, 0, 0, 0, Record, &bar);
  PhysicsStep(m_list);
  ASSERT_EQ(g_delivered.size(), 8u);
  ExpectContact(0, mover, still, kOverlapTime);
  ExpectContact(1, still, mover, kOverlapTime);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(i % 2 ? g_delivered[i].polygonB : g_delivered[i].polygonA, i / 2) << i;
  }
  ExpectContact(4, circle, bar1, kOverlapTime);
  ExpectContact(6, crossing, bar2, kOverlapTime);
  EXPECT_EQ(mover->GetPosition(), Vector2(20, 0));
  EXPECT_FALSE(mover->HasCollided());
}

TEST_F(PhysicsStepTest, CheckCollisionReportsTheEarliestHitWithoutMovingAnything) {
  PhysicsObject* probe = Box(0, 0, 0, 10);
  Floor(15);
  PhysicsObject* nearer = Box(0, 12, 0, 0);
  const Contact hit = CheckCollision(probe, m_list);
  EXPECT_TRUE(hit.a == probe && hit.b == nearer);
  EXPECT_FLOAT_EQ(hit.t, 0.2f);
  EXPECT_EQ(probe->GetPosition(), Vector2(0, 0));
  EXPECT_TRUE(g_delivered.empty());
  // Lists of derived objects are taken as they are.
  struct Thing : PhysicsObject {
    using PhysicsObject::PhysicsObject;
  };
  Thing far(&m_box, Vector2(0, 15), CachedVector(0, 0), Record);
  EXPECT_TRUE(CheckCollision(probe, std::list<Thing*>{&far}).b == &far);
  probe->SetInactive(true);
  EXPECT_FALSE(CheckCollision(probe, m_list).IsHit());
}

TEST(PhysicsObjectShape, WorldShapeFollowsMirrorRotationScaleAndPositionAndCopiesStartAlive) {
  const CollisionShape shape({MakePolygon(0, {Vector2(5, 0)}, 1.0f)});
  PhysicsObject object(&shape, Vector2(100, 50));
  auto corner = [](const PhysicsObject& o) {
    return o.GetCollisionShape().GetPolygon(0).GetVertex(0);
  };
  EXPECT_EQ(corner(object).GetPosition(), Vector2(105, 50));
  object.SetFacingLeft(true);
  EXPECT_EQ(corner(object).GetPosition(), Vector2(95, 50));
  object.SetFacingLeft(false);
  object.SetRotation(Angle(Angle::kPi / 2));
  EXPECT_NEAR(corner(object).GetPosition().X(), 100.0f, 1e-4f);
  EXPECT_NEAR(corner(object).GetPosition().Y(), 55.0f, 1e-4f);
  object.SetRotation(Angle(0.0));
  object.SetScaleX(2.0f);
  object.SetScaleY(2.0f);
  object.SetShape(&shape);
  object.MoveTo(Vector2(0, 0));
  EXPECT_EQ(corner(object).GetPosition(), Vector2(10, 0));
  EXPECT_EQ(corner(object).GetRadius(), 2.0f);

  // A copy keeps the placed shape but none of this step's state.
  object.SetDead(true);
  object.SetCollided(true);
  object.SetParkedVelocity(1, 1);
  const PhysicsObject copy(object);
  EXPECT_FALSE(copy.IsDead() || copy.HasCollided());
  EXPECT_TRUE(copy.GetParkedVelocity().IsZero());
  EXPECT_EQ(corner(copy).GetPosition(), Vector2(10, 0));
}

}  // namespace
