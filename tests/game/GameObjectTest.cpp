// Game objects: the declared-before-use property map, the state-to-animation
// table, contacts taken once, copy rules and the property-file reader.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "WorldTestKit.h"
#include "game/EnemyObject.h"
#include "game/GameObject.h"

namespace {

using worldtest::MakeAnimation;

class GameObjectTest : public ::testing::Test {
 protected:
  GameObjectTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  Animation idle = MakeAnimation("idle", 3);
  Animation run = MakeAnimation("run", 2);
  GameObject object{"Crate", &idle, Vector2(10.0f, 20.0f), NO_CALLBACKS, 0.5f};
};

TEST_F(GameObjectTest, PropertiesAreDeclaredOnceAndUndeclaredNamesStopTheGame) {
  float* health = object.AddFlag("Health", 15.0f);
  object.SetFlag("Health", 9.0f);
  EXPECT_EQ(object.AddFlag("Health", 15.0f), health);  // the existing entry, value kept
  EXPECT_EQ(object.GetFlag("Health"), 9.0f);
  EXPECT_DEATH(object.GetFlag("health"),
               "Assertion failed: m_Flags.end\\(\\) != flag, file game/GameObject.cpp, line");
  EXPECT_DEATH(object.SetFlag("Timer", 3.0f), "Assertion failed: m_Flags.end\\(\\) != flag");
}

TEST_F(GameObjectTest, StateWithoutAnAnimationKeepsThePlayingOne) {
  object.AddStateAnimation(nullptr, 5);
  object.SetFrame(2);
  object.SetState(5);
  EXPECT_EQ(object.GetState(), 5);
  EXPECT_EQ(object.GetAnimation(), &idle);
  EXPECT_EQ(object.GetFrame(), 2);

  // Registering state 5 again replaces its animation in place; setting it restarts it.
  object.AddStateAnimation(&run, 5);
  ASSERT_EQ(object.GetStateAnimations().size(), 2u);
  object.SetState(5);
  EXPECT_EQ(object.GetAnimation(), &run);
  object.SetFrame(1);
  object.SetState(5);
  EXPECT_EQ(object.GetFrame(), 0);
}

TEST_F(GameObjectTest, LastContactIsTakenOnce) {
  GameObject other = object;
  object.SetLastContact(Contact(&object, &other, 1, 2, 3, 0, kFeatureEdge, kFeatureVertex, 0.25f));
  EXPECT_EQ(object.TakeLastContact().b, &other);
  const Contact second = object.TakeLastContact();
  EXPECT_FALSE(second.IsHit());
  EXPECT_EQ(second.t, 0.0f);
  EXPECT_EQ(second.polygonB, 0);
}

TEST_F(GameObjectTest, CopyOwnsItsPropertiesAndStartsWithoutAContact) {
  object.AddFlag("Timer", 30.0f);
  object.AddStateAnimation(&run, 2);
  object.SetState(2);
  object.SetLastContact(Contact(&object, &object, 0, 0, 0, 0, 1, 1, 0.5f));
  std::unique_ptr<GameObject> copy(object.Clone());
  EXPECT_EQ(copy->GetState(), 2);
  EXPECT_EQ(copy->GetStateAnimations().size(), 2u);
  EXPECT_FALSE(copy->TakeLastContact().IsHit());
  copy->SetFlag("Timer", 1.0f);
  EXPECT_EQ(object.GetFlag("Timer"), 30.0f);

  // Assignment takes the contact too, but each object keeps its own handle.
  GameObject target("Other", &run, Vector2(), NO_CALLBACKS, 0.0f);
  const ObjectHandle handle = target.GetHandle();
  target = object;
  EXPECT_EQ(target.GetHandle(), handle);
  EXPECT_EQ(target.TakeLastContact().t, 0.5f);
}

TEST_F(GameObjectTest, CopiedEnemyCanBeHitAgainByTheSameAttack) {
  EnemyObject enemy("Rat", &idle, Vector2(5.0f, 6.0f), NO_CALLBACKS, 0.0f);
  enemy.SetLastHitAttackId(7);
  enemy.SetNoContactDamage(true);
  std::unique_ptr<GameObject> copy(enemy.Clone());
  ASSERT_TRUE(copy->IsEnemy());
  EXPECT_EQ(static_cast<EnemyObject*>(copy.get())->GetLastHitAttackId(), 0);
  EXPECT_TRUE(static_cast<EnemyObject*>(copy.get())->HasNoContactDamage());
  // Enemies die by their behaviours only.
  enemy.Kill();
  EXPECT_EQ(enemy.GetPosition(), Vector2(5.0f, 6.0f));
}

TEST_F(GameObjectTest, AnimationFinishesOnTheLastTickOfAFrameThatLeadsBack) {
  Animation timed = MakeAnimation("timed", 2, 16, 16, 2);  // 0 -> 1 -> 0, two ticks each
  GameObject looping("Loop", &timed, Vector2(), NO_CALLBACKS, 0.0f);
  looping.Tick();
  EXPECT_FALSE(looping.IsAnimationFinished());  // one tick left, but frame 0 leads forward
  looping.Tick();
  looping.Tick();
  EXPECT_EQ(looping.GetFrame(), 1);
  EXPECT_TRUE(looping.IsAnimationFinished());
}

TEST_F(GameObjectTest, PropertyFileReadsOneValuePerLineUntilOneIsNoNumber) {
  std::istringstream file("6.5 comment after a blank\r\n2.5\n-0.5 braking\nfast\n1.5\n");
  object.LoadParameters(file);
  const MovementParameters& m = object.GetMovement();
  EXPECT_EQ(m.groundMaxSpeed, 6.5f);
  EXPECT_EQ(m.groundAcceleration, 2.5f);
  EXPECT_EQ(m.groundBraking, -0.5f);
  EXPECT_EQ(m.airMaxSpeed, 3.0f);  // the failed value keeps its default, not 0
  EXPECT_EQ(m.airAcceleration, 1.0f);
  EXPECT_EQ(m.jumpVelocity, -11.5f);
}

}  // namespace
