// The physics step: time-ordered swept contacts, back-off, re-sweeps, overlaps and probes.
#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "ShapeFixtures.h"

namespace {
using physics_test::BoxPolygon;
using physics_test::BoxShape;
using physics_test::ScopedTable;
using physics_test::SmallTable;

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
  PhysicsStepTest() : m_table(SmallTable()) { g_delivered.clear(); }

  // A 10 x 10 box whose origin is its top-left corner.
  PhysicsObject* Box(float x, float y, float vx, float vy, CollisionCallback cb = Record,
                     const CollisionShape* shape = nullptr) {
    m_objects.emplace_back(shape ? shape : &m_box, Vector2(x, y), CachedVector(vx, vy), cb);
    m_list.push_back(&m_objects.back());
    return &m_objects.back();
  }
  PhysicsObject* Floor(float y) {
    m_objects.emplace_back(&m_floor, Vector2(-100, y), CachedVector(0, 0), Record);
    m_list.push_back(&m_objects.back());
    return &m_objects.back();
  }
  void Step() { PhysicsStep(m_list); }

  ScopedTable m_table;
  CollisionShape m_box = BoxShape(0, 0, 0, 10, 10);
  CollisionShape m_floor = BoxShape(0, 0, 0, 200, 10);
  std::list<PhysicsObject> m_objects;
  std::vector<PhysicsObject*> m_list;
};

TEST_F(PhysicsStepTest, FallingBoxStopsShortOfFloor) {
  PhysicsObject* box = Box(0, 0, 0, 10);
  PhysicsObject* floor = Floor(15);
  Step();

  EXPECT_FLOAT_EQ(box->GetPosition().Y(), 4.9f);
  EXPECT_TRUE(box->HasCollided());
  EXPECT_FLOAT_EQ(box->GetContactTime(), 0.49f);
  EXPECT_FALSE(floor->HasCollided());
  EXPECT_EQ(floor->GetPosition(), Vector2(-100, 15));

  // Each callback sees itself first, with the time of the touch itself.
  ASSERT_EQ(g_delivered.size(), 2u);
  const Contact& seenByBox = g_delivered[0];
  const Contact& seenByFloor = g_delivered[1];
  EXPECT_TRUE(seenByBox.a == box && seenByBox.b == floor && seenByBox.t == 0.5f);
  EXPECT_TRUE(seenByFloor.a == floor && seenByFloor.b == box && seenByFloor.t == 0.5f);
  EXPECT_EQ(seenByBox.kindA, kFeatureVertex);
  EXPECT_EQ(seenByFloor.kindA, kFeatureEdge);
  EXPECT_EQ(seenByFloor.featureB, seenByBox.featureA);
  EXPECT_TRUE(GetContactList().empty());
}

TEST_F(PhysicsStepTest, ContactAtTheVeryEndOfTheStepCountsAndLaterOnesDoNot) {
  PhysicsObject* touching = Box(0, 0, 0, 10);
  PhysicsObject* missing = Box(50, -0.5f, 0, 10);
  Floor(20);
  Step();
  ASSERT_EQ(g_delivered.size(), 2u);
  EXPECT_EQ(g_delivered[0].a, touching);
  EXPECT_EQ(g_delivered[0].t, 1.0f);
  EXPECT_FLOAT_EQ(touching->GetPosition().Y(), 9.9f);
  EXPECT_FALSE(missing->HasCollided());
  EXPECT_FLOAT_EQ(missing->GetPosition().Y(), 9.5f);
}

TEST_F(PhysicsStepTest, EqualVelocitiesNeverCollideEvenWhenTouching) {
  PhysicsObject* left = Box(0, 0, 3, 2);
  PhysicsObject* right = Box(10, 0, 3, 2);
  Step();
  EXPECT_TRUE(g_delivered.empty());
  EXPECT_EQ(left->GetPosition(), Vector2(3, 2));
  EXPECT_EQ(right->GetPosition(), Vector2(13, 2));
}

TEST_F(PhysicsStepTest, StillObjectTakesPartInEveryContactInTimeOrder) {
  PhysicsObject* late = Box(0, 0, 0, 10);
  PhysicsObject* early = Box(40, 3, 0, 10);
  PhysicsObject* floor = Floor(15);
  Step();
  ASSERT_EQ(g_delivered.size(), 4u);
  EXPECT_EQ(g_delivered[0].a, early);
  EXPECT_FLOAT_EQ(g_delivered[0].t, 0.2f);
  EXPECT_EQ(g_delivered[1].a, floor);
  EXPECT_EQ(g_delivered[2].a, late);
  EXPECT_FLOAT_EQ(g_delivered[2].t, 0.5f);
  EXPECT_EQ(g_delivered[3].a, floor);
  EXPECT_FALSE(floor->HasCollided());
  EXPECT_FLOAT_EQ(early->GetPosition().Y(), 4.9f);
  EXPECT_FLOAT_EQ(late->GetPosition().Y(), 4.9f);
}

TEST_F(PhysicsStepTest, StoppedObjectIsResweptAgainstObjectsStillMoving) {
  // The runner hits the wall; the chaser, moving with it, only meets it once it has stopped.
  PhysicsObject* runner = Box(0, 0, 10, 0, RecordAndStop);
  PhysicsObject* wall = Box(12, 0, 0, 0);
  PhysicsObject* chaser = Box(-15, 0, 10, 0, RecordAndStop);
  Step();
  EXPECT_FLOAT_EQ(runner->GetPosition().X(), 1.9f);
  EXPECT_NEAR(chaser->GetPosition().X(), -8.2f, 1e-5f);
  ASSERT_EQ(g_delivered.size(), 4u);
  EXPECT_EQ(g_delivered[0].a, runner);
  EXPECT_EQ(g_delivered[0].b, wall);
  EXPECT_EQ(g_delivered[2].a, runner);
  EXPECT_EQ(g_delivered[2].b, chaser);
  EXPECT_NEAR(g_delivered[2].t, 0.69f, 1e-5f);
  EXPECT_TRUE(runner->GetParkedVelocity().IsZero());
}

TEST_F(PhysicsStepTest, PileOfFallingBoxesSettles) {
  Floor(300);
  std::vector<PhysicsObject*> boxes;
  for (int i = 0; i < 20; ++i) boxes.push_back(Box(0, i * 10.5f, 0, 8, RecordAndStop));
  for (int step = 0; step < 40; ++step) {
    for (PhysicsObject* box : boxes) box->SetVelocity(0, 8);
    Step();
  }
  // Stacked without sinking into one another.
  for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
    EXPECT_LE(boxes[i]->GetPosition().Y() + 10, boxes[i + 1]->GetPosition().Y() + 1e-3f);
  }
  EXPECT_NEAR(boxes.back()->GetPosition().Y() + 10, 300.0f, 0.2f);
  EXPECT_NEAR(boxes.front()->GetPosition().Y(), 100.0f, 3.0f);
}

TEST_F(PhysicsStepTest, DeadInactiveAndNonSolidObjectsDoNotCollide) {
  const CollisionShape ghostShape = BoxShape(1, 0, 0, 10, 10);
  PhysicsObject* dead = Box(0, 0, 0, 10);
  dead->SetDead(true);
  PhysicsObject* inactive = Box(20, 0, 0, 10);
  inactive->SetInactive(true);
  PhysicsObject* ghost = Box(40, 0, 0, 10, Record, &ghostShape);
  Floor(15);
  Step();
  EXPECT_TRUE(g_delivered.empty());
  EXPECT_EQ(dead->GetPosition(), Vector2(0, 0));
  EXPECT_EQ(inactive->GetPosition(), Vector2(20, 0));
  EXPECT_EQ(ghost->GetPosition(), Vector2(40, 10));
}

TEST_F(PhysicsStepTest, OverlapsComeAfterMovementOncePerPolygonPair) {
  const CollisionShape twoParts({BoxPolygon(1, 0, 0, 10, 10), BoxPolygon(1, 5, 5, 15, 15)});
  const CollisionShape target = BoxShape(2, 0, 0, 10, 10);
  PhysicsObject* mover = Box(0, 0, 20, 0, Record, &twoParts);
  PhysicsObject* still = Box(28, 0, 0, 0, Record, &target);
  Step();
  // Only after moving do the two shapes overlap.
  ASSERT_EQ(g_delivered.size(), 4u);
  EXPECT_EQ(g_delivered[0].a, mover);
  EXPECT_EQ(g_delivered[0].polygonA, 0);
  EXPECT_EQ(g_delivered[0].t, kOverlapTime);
  EXPECT_EQ(g_delivered[0].kindA, kFeatureNone);
  EXPECT_EQ(g_delivered[1].a, still);
  EXPECT_EQ(g_delivered[1].polygonB, 0);
  EXPECT_EQ(g_delivered[2].polygonA, 1);
  EXPECT_EQ(g_delivered[3].polygonB, 1);
  EXPECT_EQ(mover->GetPosition(), Vector2(20, 0));
  EXPECT_FALSE(mover->HasCollided());
}

TEST_F(PhysicsStepTest, CirclesOverlapAndSegmentsCrossing) {
  const CollisionShape dot({physics_test::MakePolygon(1, {Vector2(0, 0)}, 3.0f)});
  const CollisionShape bar({physics_test::MakePolygon(2, {Vector2(0, -10), Vector2(0, 10)})});
  const CollisionShape cross({physics_test::MakePolygon(1, {Vector2(-10, 0), Vector2(10, 0)})});
  Box(0, 0, 0, 0, Record, &dot);
  Box(2.5f, 0, 0, 0, Record, &bar);
  Box(100, 0, 0, 0, Record, &cross);
  Box(100, 0, 0, 0, Record, &bar);
  Box(200, 0, 0, 0, Record, &dot);
  Box(204, 0, 0, 0, Record, &bar);
  Step();
  ASSERT_EQ(g_delivered.size(), 4u);
  EXPECT_EQ(g_delivered[0].a, m_list[0]);
  EXPECT_EQ(g_delivered[2].a, m_list[2]);
}

TEST_F(PhysicsStepTest, CheckCollisionReportsTheEarliestHitWithoutMovingAnything) {
  PhysicsObject* probe = Box(0, 0, 0, 10);
  PhysicsObject* floor = Floor(15);
  Box(0, 12, 0, 0);  // nearer than the floor
  const Contact hit = CheckCollision(probe, m_list);
  ASSERT_TRUE(hit.IsHit());
  EXPECT_EQ(hit.a, probe);
  EXPECT_NE(hit.b, floor);
  EXPECT_FLOAT_EQ(hit.t, 0.2f);
  EXPECT_EQ(probe->GetPosition(), Vector2(0, 0));
  EXPECT_TRUE(g_delivered.empty());
  EXPECT_TRUE(GetContactList().empty());

  std::vector<PhysicsObject*> alone = {probe};
  EXPECT_FALSE(CheckCollision(probe, alone).IsHit());
  probe->SetInactive(true);
  EXPECT_FALSE(CheckCollision(probe, m_list).IsHit());
}

TEST_F(PhysicsStepTest, RoundShapesCollideWithEdgesAndEachOther) {
  const CollisionShape ball({physics_test::MakePolygon(0, {Vector2(0, 0)}, 2.0f)});
  PhysicsObject* ball1 = Box(0, 0, 0, 10, Record, &ball);
  Floor(5);
  PhysicsObject* ball2 = Box(50, 0, 10, 0, Record, &ball);
  PhysicsObject* ball3 = Box(60, 0, 0, 0, Record, &ball);
  Step();
  ASSERT_EQ(g_delivered.size(), 4u);
  EXPECT_EQ(g_delivered[0].a, ball1);
  EXPECT_FLOAT_EQ(g_delivered[0].t, 0.3f);
  EXPECT_EQ(g_delivered[0].kindA, kFeatureCircle);
  EXPECT_EQ(g_delivered[0].kindB, kFeatureEdge);
  EXPECT_EQ(g_delivered[2].a, ball2);
  EXPECT_EQ(g_delivered[2].b, ball3);
  EXPECT_FLOAT_EQ(g_delivered[2].t, 0.6f);
  EXPECT_EQ(g_delivered[2].kindA, kFeatureCircle);
  EXPECT_EQ(g_delivered[2].kindB, kFeatureCircle);
}

TEST_F(PhysicsStepTest, ListsOfDerivedObjectsAreStepped) {
  struct Thing : PhysicsObject {
    using PhysicsObject::PhysicsObject;
  };
  Thing box(&m_box, Vector2(0, 0), CachedVector(0, 10), Record);
  Thing floor(&m_floor, Vector2(-100, 15), CachedVector(0, 0), Record);
  std::list<Thing*> things = {&box, &floor};
  EXPECT_TRUE(CheckCollision(&box, things).IsHit());
  PhysicsStep(things);
  EXPECT_FLOAT_EQ(box.GetPosition().Y(), 4.9f);
}

TEST(PhysicsObjectShape, WorldShapeFollowsMirrorRotationScaleAndPosition) {
  ScopedTable table(SmallTable());
  const CollisionShape shape({physics_test::MakePolygon(0, {Vector2(5, 0)}, 1.0f)});
  PhysicsObject object(&shape, Vector2(100, 50));
  auto corner = [&] { return object.GetCollisionShape().GetPolygon(0).GetVertex(0); };
  EXPECT_EQ(corner().GetPosition(), Vector2(105, 50));
  // The copied bounds widen by one on every side when placed.
  EXPECT_EQ(object.GetCollisionShape().GetBounds().right, 107.0f + 1.0f);

  object.SetFacingLeft(true);
  EXPECT_EQ(corner().GetPosition(), Vector2(95, 50));
  object.SetFacingLeft(false);
  object.SetRotation(Angle(Angle::kPi / 2));
  EXPECT_NEAR(corner().GetPosition().X(), 100.0f, 1e-4f);
  EXPECT_NEAR(corner().GetPosition().Y(), 55.0f, 1e-4f);
  object.SetRotation(Angle(0.0));
  object.SetScaleX(2.0f);
  object.SetScaleY(2.0f);
  object.SetShape(&shape);
  EXPECT_EQ(corner().GetPosition(), Vector2(110, 50));
  EXPECT_EQ(corner().GetRadius(), 2.0f);
  object.MoveTo(Vector2(0, 0));
  EXPECT_EQ(corner().GetPosition(), Vector2(10, 0));
}

TEST(PhysicsObjectShape, CopiesStartAliveWithClearedStepState) {
  PhysicsObject object(nullptr, Vector2(1, 2), CachedVector(3, 4));
  object.SetDead(true)->SetCollisionCallback(Record);
  object.SetCollided(true);
  object.SetParkedVelocity(1, 1);
  const PhysicsObject copy(object);
  EXPECT_FALSE(copy.IsDead());
  EXPECT_FALSE(copy.HasCollided());
  EXPECT_TRUE(copy.GetParkedVelocity().IsZero());
  EXPECT_EQ(copy.GetCollisionCallback(), &Record);
}

}  // namespace
