// Game objects: the declared-before-use property map, the state-to-animation
// table, contacts taken once, copy rules, the property-file reader, and links
// between objects that never lead to a deleted one.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "game/WorldTestKit.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/objects/ObjectHandle.h"

namespace {

class GameObjectTest : public ::testing::Test {
 protected:
  GameObjectTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  std::unique_ptr<GameObject> Make() {
    return std::make_unique<GameObject>("Drill", &idle, Vector2(), NO_CALLBACKS, 0.0f);
  }
  Animation idle = worldtest::MakeAnimation("idle", 3);
  Animation run = worldtest::MakeAnimation("run", 2);
  GameObject object{"Crate", &idle, Vector2(10.0f, 20.0f), NO_CALLBACKS, 0.5f};
};

TEST_F(GameObjectTest, PropertiesAreDeclaredOnceAndUndeclaredNamesStopTheGame) {
  float* health = object.AddFlag("Health", 15.0f);
  object.SetFlag("Health", 9.0f);
  EXPECT_EQ(object.AddFlag("Health", 15.0f), health);  // the existing entry, value kept
  EXPECT_EQ(object.GetFlag("Health"), 9.0f);
  EXPECT_DEATH(object.GetFlag("health"),
               "Assertion failed: m_Flags.end\\(\\) != flag, "
               "file game/objects/GameObject.cpp, line");
  EXPECT_DEATH(object.SetFlag("Timer", 3.0f), "Assertion failed: m_Flags.end\\(\\) != flag");
}

TEST_F(GameObjectTest, StateWithoutAnAnimationKeepsThePlayingOne) {
  object.AddStateAnimation(nullptr, 5);
  object.SetFrame(2);
  object.SetState(5);
  EXPECT_EQ(object.GetState(), 5);
  EXPECT_EQ(object.GetAnimation(), &idle);
  EXPECT_EQ(object.GetFrame(), 2);
  // Once state 5 has an animation, setting it restarts that animation.
  object.AddStateAnimation(&run, 5);
  object.SetState(5);
  EXPECT_EQ(object.GetAnimation(), &run);
  EXPECT_EQ(object.GetFrame(), 0);
}

TEST_F(GameObjectTest, AnimationFinishesOnTheLastTickOfAFrameThatLeadsBack) {
  Animation timed = worldtest::MakeAnimation("timed", 2, 16, 16, 2);  // 0 -> 1 -> 0, 2 ticks
  GameObject looping("Loop", &timed, Vector2(), NO_CALLBACKS, 0.0f);
  looping.Tick();
  EXPECT_FALSE(looping.IsAnimationFinished());  // one tick left, but frame 0 leads forward
  looping.Tick();
  looping.Tick();
  EXPECT_EQ(looping.GetFrame(), 1);
  EXPECT_TRUE(looping.IsAnimationFinished());
}

TEST_F(GameObjectTest, ContactIsTakenOnceAndCopiesOwnTheirPropertiesWithoutIt) {
  GameObject target("Other", &run, Vector2(), NO_CALLBACKS, 0.0f);
  const ObjectHandle handle = target.GetHandle();
  object.AddFlag("Timer", 30.0f);
  object.SetLastContact(Contact(&object, &target, 1, 2, 3, 0, kFeatureEdge, kFeatureVertex, 0.25f));
  std::unique_ptr<GameObject> copy(object.Clone());
  EXPECT_FALSE(copy->TakeLastContact().IsHit());
  copy->SetFlag("Timer", 1.0f);
  EXPECT_EQ(object.GetFlag("Timer"), 30.0f);
  target = object;  // assignment takes the contact too, but not the handle
  EXPECT_EQ(target.GetHandle(), handle);
  EXPECT_EQ(target.TakeLastContact().t, 0.25f);

  EXPECT_EQ(object.TakeLastContact().b, &target);
  const Contact second = object.TakeLastContact();
  EXPECT_FALSE(second.IsHit());
  EXPECT_EQ(second.t, 0.0f);
}

TEST_F(GameObjectTest, CopiedEnemyCanBeHitAgainByTheSameAttack) {
  EnemyObject enemy("Rat", &idle, Vector2(5.0f, 6.0f), NO_CALLBACKS, 0.0f);
  enemy.SetLastHitAttackId(7);
  enemy.SetNoContactDamage(true);
  std::unique_ptr<GameObject> copy(enemy.Clone());
  ASSERT_TRUE(copy->IsEnemy());
  EXPECT_EQ(static_cast<EnemyObject*>(copy.get())->GetLastHitAttackId(), 0);
  EXPECT_TRUE(static_cast<EnemyObject*>(copy.get())->HasNoContactDamage());
}

TEST_F(GameObjectTest, PropertyFileReadsOneValuePerLineUntilOneIsNoNumber) {
  std::istringstream file("6.5 comment after a blank\r\n2.5\n-0.5 braking\nfast\n1.5\n");
  object.LoadParameters(file);
  const MovementParameters& m = object.GetMovement();
  EXPECT_EQ(m.groundMaxSpeed, 6.5f);
  EXPECT_EQ(m.groundAcceleration, 2.5f);
  EXPECT_EQ(m.groundBraking, -0.5f);
  EXPECT_EQ(m.airMaxSpeed, 3.0f);  // the failed value keeps its default, not 0
  EXPECT_EQ(m.jumpVelocity, -11.5f);
}

TEST_F(GameObjectTest, LinkLeadsToTheObjectUntilItIsDeleted) {
  auto drill = Make();
  object.AddFlag("DrillPtr", LinkTo(drill.get()));
  std::unique_ptr<GameObject> copy(object.Clone());
  EXPECT_NE(copy->GetHandle(), object.GetHandle());
  EXPECT_EQ(LinkedObject(copy->GetFlag("DrillPtr")), drill.get());
  drill.reset();
  EXPECT_EQ(LinkedObject(object.GetFlag("DrillPtr")), nullptr);
  for (float noHandle : {0.0f, -1.0f, 2.5f, std::nanf(""), 3.0e9f}) {
    EXPECT_EQ(LinkedObject(noHandle), nullptr) << noHandle;
  }
}

TEST_F(GameObjectTest, HandleNumbersRunningOutStartAgainAndSkipLiveObjects) {
  ObjectRegistry::SetNextHandleForTesting(ObjectRegistry::kMaxHandle);
  auto last = Make();
  auto next = Make();  // numbers start again: every link stays an exact float
  EXPECT_EQ(LinkedObject(LinkTo(last.get())), last.get());
  EXPECT_EQ(LinkedObject(LinkTo(next.get())), next.get());
  ObjectRegistry::SetNextHandleForTesting(last->GetHandle());
  auto third = Make();
  EXPECT_NE(third->GetHandle(), last->GetHandle());
  EXPECT_EQ(ObjectRegistry::Resolve(last->GetHandle()), last.get());
}

TEST_F(GameObjectTest, IntegersSurviveTheTripThroughAPropertyBitForBit) {
  object.AddFlag("Cindex", 0.0f);
  // Small integers are denormal floats and some patterns are NaNs: all come back.
  for (std::int32_t value : {0, 1, 7, -1, 0x7FC00001}) {
    object.SetFlag("Cindex", IntToFlagBits(value));
    std::unique_ptr<GameObject> copy(object.Clone());
    EXPECT_EQ(FlagBitsToInt(copy->GetFlag("Cindex")), value);
  }
}

}  // namespace
