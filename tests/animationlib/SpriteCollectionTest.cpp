// Object lists: depth order, ownership, the pass mask and pass order, screen
// shake, the dead-object purge, and lists that change while their passes run.
#include <gtest/gtest.h>

#include <set>

#include "animationlib/SceneryCollection.h"
#include "animationlib/ScenerySprite.h"
#include "platform/Random.h"
#include "StandInObject.h"

namespace {

using Log = std::vector<std::string>;

// What the sprites of a test did, in order: "behave:a", "draw:a", "gone:a".
Log gLog;
std::vector<Vector2> gDrawOffsets;
SpriteCollection* gList = nullptr;

Sprite* AsSprite(GameObject* object) {
  return object;
}

void Behave(GameObject* object) {
  gLog.push_back("behave:" + AsSprite(object)->GetName());
}

class ProbeSprite : public GameObject {
 public:
  ProbeSprite(const std::string& name, Animation* animation, float depth, BehaviorFn behavior)
      : GameObject(name, animation, Vector2(), ObjectCallbacks{nullptr, behavior, nullptr}, depth) {}
  ~ProbeSprite() override { gLog.push_back("gone:" + GetName()); }
  void Draw(const Vector2& offset, int flags) override {
    gLog.push_back("draw:" + GetName());
    gDrawOffsets.push_back(offset);
    Sprite::Draw(offset, flags);
  }
};

class SpriteCollectionTest : public ::testing::Test {
 protected:
  SpriteCollectionTest() {
    gLog.clear();
    gDrawOffsets.clear();
    animation.GetFrames().emplace_back(0, 2, Vector2());  // 2 ticks, looping
  }
  ~SpriteCollectionTest() override { gList = nullptr; }

  ProbeSprite* Probe(const std::string& name, float depth = 0, BehaviorFn behavior = Behave) {
    return new ProbeSprite(name, &animation, depth, behavior);
  }
  static Log Names(const SpriteCollection& list) {
    Log names;
    for (const Sprite* sprite : list.GetSprites()) names.push_back(sprite->GetName());
    return names;
  }

  Animation animation{"probe", Vector2(8, 8)};
};

TEST_F(SpriteCollectionTest, SortedAddKeepsDepthOrderWithLaterAddsLastAmongEquals) {
  SpriteCollection list(PASS_ALL);
  for (auto [name, depth] : {std::pair{"a", 2}, {"b", 1}, {"c", 2}, {"d", 0}}) {
    list.Add(Probe(name, depth));
  }
  EXPECT_EQ(Names(list), (Log{"d", "b", "a", "c"}));
  list.AddUnsorted(Probe("e", -1));
  EXPECT_EQ(list.At(4)->GetName(), "e");
  list.Sort();
  EXPECT_EQ(list.At(0)->GetName(), "e");
}

TEST_F(SpriteCollectionTest, FullMaskRunsBehavioursPhysicsDrawingThenTimersAndMasksPickPasses) {
  SpriteCollection list(PASS_ALL);
  ProbeSprite* a = Probe("a", 0);
  list.Add(a);
  list.Add(Probe("b", 1));
  a->SetVelocity(3, 4);
  list.SetOffset(Vector2(10, 20));
  list.Update(false);
  EXPECT_EQ(gLog, (Log{"behave:a", "behave:b", "draw:a", "draw:b"}));
  EXPECT_EQ(a->GetPosition(), Vector2(3, 4));  // moved by the physics step
  EXPECT_EQ(gDrawOffsets[0], Vector2(10, 20));
  EXPECT_EQ(a->GetTicksLeft(), 1);

  // Drawing only: no behaviour, motion, timer or pulse. Without passes only the
  // purge runs. Hidden sprites tick without being drawn; inactive ones do neither.
  gLog.clear();
  SpriteCollection drawOnly(PASS_DRAW), passive(0), animated(PASS_DRAW | PASS_ANIMATE);
  ProbeSprite* drawn = Probe("drawn");
  drawOnly.Add(drawn);
  drawn->SetVelocity(5, 0);
  drawn->StartPulse(1, 0.5f, 1, true);
  passive.Add(Probe("dead"));
  passive.At(0)->SetDead(true);
  for (const char* name : {"hidden", "asleep"}) animated.Add(Probe(name));
  animated.Find("hidden")->SetVisible(false);
  animated.Find("asleep")->SetInactive(true);
  for (SpriteCollection* each : {&drawOnly, &passive, &animated}) each->Update(false);
  EXPECT_EQ(gLog, (Log{"draw:drawn", "gone:dead"}));
  EXPECT_EQ(std::tuple(drawn->GetTicksLeft(), drawn->GetPosition(), drawn->GetScaleX()),
            std::tuple(2, Vector2(0, 0), 1.0f));
  EXPECT_EQ(animated.Find("hidden")->GetTicksLeft(), 1);
  EXPECT_EQ(animated.Find("asleep")->GetTicksLeft(), 2);
}

TEST_F(SpriteCollectionTest, ShakeMovesTheDrawingByWholePixelsUpToFiveEachWay) {
  platform::SeedRandom(7);
  SpriteCollection list(PASS_DRAW);
  list.Add(Probe("a"));
  list.SetOffset(Vector2(100, 50));
  for (int i = 0; i < 300; ++i) list.Update(true);
  std::set<float> dx;
  std::set<float> dy;
  for (const Vector2& offset : gDrawOffsets) {
    dx.insert(offset.X() - 100);
    dy.insert(offset.Y() - 50);
  }
  const std::set<float> all{-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5};
  EXPECT_EQ(dx, all);
  EXPECT_EQ(dy, all);
  EXPECT_EQ(list.GetOffset(), Vector2(100, 50));  // the list's own offset stays
}

TEST_F(SpriteCollectionTest, SpritesAddedRemovedOrKilledDuringAPassLeaveTheWalkIntact) {
  // "spawner" adds two sprites in front of everything; the re-sort moves them
  // ahead of the sprites still to be visited. "remover" takes "b" and "c" out;
  // "victim" dies in its behaviour and is neither drawn nor ticked.
  SpriteCollection list(PASS_ALL);
  gList = &list;
  list.Add(Probe("a", 1));
  list.Add(Probe("spawner", 2, [](GameObject* object) {
    for (int i = 0; i < 2; ++i) {
      gList->Add(new ProbeSprite("spawn", AsSprite(object)->GetAnimation(), -1, Behave));
    }
  }));
  list.Add(Probe("remover", 3, [](GameObject*) {
    delete gList->RemoveByName("b");
    gList->Remove(gList->Find("c"));
  }));
  for (const char* name : {"b", "c", "d"}) list.Add(Probe(name, 4));
  list.Add(Probe("victim", 5, [](GameObject* object) { AsSprite(object)->SetDead(true); }));
  list.Update(false);
  EXPECT_EQ(gLog, (Log{"behave:a", "gone:b", "gone:c", "behave:d", "draw:spawn", "draw:spawn",
                       "draw:a", "draw:spawner", "draw:remover", "draw:d", "gone:victim"}));
  EXPECT_EQ(list.Count(), 6);
}

TEST_F(SpriteCollectionTest, ParallaxScrollsVisibleSceneryOnly) {
  SceneryCollection layer;
  auto* near = new ScenerySprite("near", &animation, Vector2(1, 1), 0);
  auto* hidden = new ScenerySprite("hidden", &animation, Vector2(1, 1), 1);
  hidden->SetVisible(false);
  layer.Add(near);
  layer.Add(hidden);
  layer.Add(Probe("plain", 2));  // not scenery: left where it is
  layer.UpdateParallax(Vector2(10, 6));
  EXPECT_EQ(near->GetPosition(), Vector2(-10, -6));
  EXPECT_EQ(hidden->GetPosition(), Vector2(0, 0));
  EXPECT_EQ(layer.Find("plain")->GetPosition(), Vector2(0, 0));
}

}  // namespace
