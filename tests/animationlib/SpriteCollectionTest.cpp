// Object lists: depth order, ownership, the pass mask and pass order, screen
// shake, the dead-object purge, and lists that change while their passes run.
#include <gtest/gtest.h>

#include <set>

#include "AnimationTestKit.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/ScenerySprite.h"
#include "platform/Random.h"

namespace {

using animtest::AsSprite;

// What the sprites of a test did, in order: "behave:a", "draw:a", "gone:a".
std::vector<std::string> gLog;
std::vector<Vector2> gDrawOffsets;
SpriteCollection* gList = nullptr;

void Behave(GameObject* object) {
  gLog.push_back("behave:" + AsSprite(object)->GetName());
}

class ProbeSprite : public Sprite {
 public:
  ProbeSprite(const std::string& name, Animation* animation, float depth, BehaviorFn behavior)
      : Sprite(name, animation, Vector2(), ObjectCallbacks{nullptr, behavior, nullptr}, depth) {}
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
  static std::vector<std::string> Names(const SpriteCollection& list) {
    std::vector<std::string> names;
    for (const Sprite* sprite : list.GetSprites()) names.push_back(sprite->GetName());
    return names;
  }
  using Log = std::vector<std::string>;

  Animation animation{"probe", Vector2(8, 8)};
};

TEST_F(SpriteCollectionTest, SortedAddKeepsDepthOrderWithLaterAddsLastAmongEquals) {
  SpriteCollection list(PASS_ALL);
  list.Add(Probe("a", 2));
  list.Add(Probe("b", 1));
  list.Add(Probe("c", 2));
  list.Add(Probe("d", 0));
  EXPECT_EQ(Names(list), (Log{"d", "b", "a", "c"}));
  list.AddUnsorted(Probe("e", -1));
  EXPECT_EQ(list.At(4)->GetName(), "e");
  list.Sort();
  EXPECT_EQ(list.At(0)->GetName(), "e");
}

TEST_F(SpriteCollectionTest, RemovingDeletesButUnlinkingHandsTheSpriteBack) {
  SpriteCollection list(PASS_ALL);
  for (const char* name : {"a", "b", "c", "b"}) list.Add(Probe(name));
  EXPECT_EQ(list.At(list.Count()), nullptr);
  EXPECT_EQ(list.RemoveAt(list.Count()), nullptr);
  EXPECT_EQ(list.Find("c"), list.At(2));
  EXPECT_EQ(list.RemoveByName("z"), nullptr);
  std::unique_ptr<Sprite> b(list.RemoveByName("b"));
  std::unique_ptr<Sprite> a(list.RemoveAt(0));
  EXPECT_EQ(a->GetName(), "a");
  EXPECT_EQ(Names(list), (Log{"c", "b"}));
  EXPECT_TRUE(gLog.empty());  // unlinked, not deleted

  EXPECT_FALSE(list.Remove(b.get()));
  EXPECT_TRUE(list.Remove(list.Find("c")));
  list.Add(Probe("e"));
  list.Clear();
  EXPECT_EQ(gLog, (Log{"gone:c", "gone:e", "gone:b"}));  // cleared last first
}

TEST_F(SpriteCollectionTest, FullMaskRunsBehavioursPhysicsDrawingThenTimers) {
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
}

TEST_F(SpriteCollectionTest, MaskChoosesThePasses) {
  SpriteCollection drawOnly(PASS_DRAW);
  ProbeSprite* drawn = Probe("drawn");
  drawOnly.Add(drawn);
  drawn->SetVelocity(5, 0);
  drawn->StartPulse(1, 0.5f, 1, true);
  drawOnly.Update(false);
  EXPECT_EQ(gLog, Log{"draw:drawn"});
  EXPECT_EQ(drawn->GetTicksLeft(), 2);
  EXPECT_EQ(drawn->GetPosition(), Vector2(0, 0));
  EXPECT_EQ(drawn->GetScaleX(), 1.0f);  // a pulse steps only in animated lists

  gLog.clear();
  SpriteCollection passive(0);
  passive.Add(Probe("kept"));
  passive.Add(Probe("dead"));
  passive.Find("dead")->SetDead(true);
  passive.Update(true);
  EXPECT_EQ(gLog, Log{"gone:dead"});
  EXPECT_EQ(passive.Find("kept")->GetTicksLeft(), 2);

  // Hidden sprites tick without being drawn; inactive ones do neither.
  gLog.clear();
  SpriteCollection list(PASS_DRAW | PASS_ANIMATE);
  list.Add(Probe("hidden"));
  list.Add(Probe("asleep"));
  list.Find("hidden")->SetVisible(false);
  list.Find("asleep")->SetInactive(true);
  list.Update(false);
  EXPECT_TRUE(gLog.empty());
  EXPECT_EQ(list.Find("hidden")->GetTicksLeft(), 1);
  EXPECT_EQ(list.Find("asleep")->GetTicksLeft(), 2);
}

TEST_F(SpriteCollectionTest, ShakeMovesTheDrawingByWholePixelsUpToFiveEachWay) {
  platform::SeedRandom(7);
  SpriteCollection list(PASS_DRAW);
  list.Add(Probe("a"));
  list.SetOffset(Vector2(100, 50));
  for (int i = 0; i < 300; ++i) list.Update(true);
  std::set<float> xs;
  std::set<float> ys;
  for (const Vector2& offset : gDrawOffsets) {
    xs.insert(offset.X());
    ys.insert(offset.Y());
  }
  EXPECT_EQ(xs, (std::set<float>{95, 96, 97, 98, 99, 100, 101, 102, 103, 104, 105}));
  EXPECT_EQ(ys, (std::set<float>{45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55}));
  EXPECT_EQ(list.GetOffset(), Vector2(100, 50));  // the list's own offset stays
}

TEST_F(SpriteCollectionTest, SpriteKilledInItsBehaviourIsNotDrawnNorTickedAndIsDeleted) {
  SpriteCollection list(PASS_ALL);
  list.Add(Probe("a", 0));
  list.Add(Probe("victim", 1, [](GameObject* object) { AsSprite(object)->SetDead(true); }));
  list.Update(false);
  EXPECT_EQ(gLog, (Log{"behave:a", "draw:a", "gone:victim"}));
  EXPECT_EQ(Names(list), Log{"a"});
}

TEST_F(SpriteCollectionTest, SpritesAddedOrRemovedDuringAPassLeaveTheWalkIntact) {
  // "spawner" adds two sprites in front of everything; the re-sort moves them
  // ahead of the sprites still to be visited. "remover" takes "b" and "c" out.
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
  list.Update(false);
  EXPECT_EQ(gLog, (Log{"behave:a", "gone:b", "gone:c", "behave:d", "draw:spawn", "draw:spawn",
                       "draw:a", "draw:spawner", "draw:remover", "draw:d"}));
  EXPECT_EQ(list.Count(), 6);
}

TEST_F(SpriteCollectionTest, ParallaxScrollsVisibleSceneryOnly) {
  SceneryCollection layer;
  EXPECT_EQ(layer.GetMask(), PASS_ALL);
  auto* near = new ScenerySprite("near", &animation, Vector2(1, 1), 0);
  auto* hidden = new ScenerySprite("hidden", &animation, Vector2(1, 1), 1);
  hidden->SetVisible(false);
  layer.Add(near);
  layer.Add(hidden);
  layer.Add(Probe("plain", 2));
  layer.UpdateParallax(Vector2(10, 6));
  EXPECT_EQ(near->GetPosition(), Vector2(-10, -6));
  EXPECT_EQ(hidden->GetPosition(), Vector2(0, 0));
  EXPECT_EQ(layer.Find("plain")->GetPosition(), Vector2(0, 0));
}

}  // namespace
