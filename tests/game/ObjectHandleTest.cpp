// Links between objects: handles that survive the trip through a float property
// and never lead to a deleted object, and integers kept in a float's bits.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "WorldTestKit.h"
#include "game/GameObject.h"
#include "game/ObjectHandle.h"

namespace {

class ObjectHandleTest : public ::testing::Test {
 protected:
  std::unique_ptr<GameObject> Make() {
    return std::make_unique<GameObject>("Drill", &look, Vector2(), NO_CALLBACKS, 0.0f);
  }
  Animation look = worldtest::MakeAnimation("drill");
};

TEST_F(ObjectHandleTest, LinkLeadsToTheObjectUntilItIsDeleted) {
  auto boss = Make();
  auto drill = Make();
  boss->AddFlag("DrillPtr", LinkTo(drill.get()));
  std::unique_ptr<GameObject> copy(boss->Clone());
  EXPECT_NE(copy->GetHandle(), boss->GetHandle());
  EXPECT_EQ(LinkedObject(copy->GetFlag("DrillPtr")), drill.get());
  drill.reset();
  EXPECT_EQ(LinkedObject(boss->GetFlag("DrillPtr")), nullptr);
  for (float noHandle : {0.0f, -1.0f, 2.5f, std::nanf(""), 3.0e9f}) {
    EXPECT_EQ(LinkedObject(noHandle), nullptr) << noHandle;
  }
}

TEST_F(ObjectHandleTest, NumbersRunningOutStartAgainAndSkipLiveObjects) {
  ObjectRegistry::SetNextHandleForTesting(ObjectRegistry::kMaxHandle);
  auto last = Make();
  EXPECT_EQ(LinkedObject(LinkTo(last.get())), last.get());  // still an exact float
  ObjectRegistry::SetNextHandleForTesting(last->GetHandle());
  auto next = Make();
  EXPECT_NE(next->GetHandle(), last->GetHandle());
  EXPECT_EQ(ObjectRegistry::Resolve(last->GetHandle()), last.get());
}

TEST_F(ObjectHandleTest, IntegersSurviveTheTripThroughAPropertyBitForBit) {
  auto object = Make();
  // Small integers are denormal floats and some patterns are NaNs: all come back.
  for (std::int32_t value : {0, 1, 7, -1, 0x7FC00001}) {
    object->AddFlag("Cindex", 0.0f);
    object->SetFlag("Cindex", IntToFlagBits(value));
    std::unique_ptr<GameObject> copy(object->Clone());
    EXPECT_EQ(FlagBitsToInt(copy->GetFlag("Cindex")), value);
  }
}

}  // namespace
