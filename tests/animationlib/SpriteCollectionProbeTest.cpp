// Probes made by behaviours during a list's pass answer as a probe of the whole list would,
// while the behaviours move their objects, spawn, remove and kill sprites.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "PhysicsLib/BroadPhase.h"
#include "PhysicsLib/CollisionTypes.h"
#include "StandInObject.h"
#include "animationlib/SpriteCollection.h"

namespace {

std::vector<std::string> g_log;
SpriteCollection* g_list = nullptr;
std::mt19937 g_random;
int g_spawned = 0;
Animation* g_animation = nullptr;
CollisionShape* g_shape = nullptr;

void Touch(Contact* c) {
  g_log.push_back("touch:" + static_cast<Sprite*>(c->a)->GetName() + ">" +
                  static_cast<Sprite*>(c->b)->GetName());
}

GameObject* NewSprite(const std::string& name, Vector2 at, float depth);

// A walker: probes the ground below and ahead, logs the answer, then makes the list change.
void Walk(GameObject* object) {
  object->SetVelocity(static_cast<float>(g_random() % 9) - 4.0f, 5.0f);
  const Contact c = g_list->Probe(object);
  g_log.push_back(object->GetName() + (c.IsHit() ? ":" + static_cast<Sprite*>(c.b)->GetName() +
                                                       "@" + std::to_string(c.t)
                                                 : ":none"));
  object->SetVelocity(c.IsHit() ? 0.0f : object->GetVelocity().X(), c.IsHit() ? 0.0f : 2.0f);
  const Vector2 at = object->GetPosition();
  switch (g_random() % 16) {
    case 0:  // a spark, appended
      g_list->AddUnsorted(NewSprite("spark" + std::to_string(g_spawned++), at, 0.0f));
      break;
    case 1:  // a flash, sorted in by depth
      g_list->Add(NewSprite("flash" + std::to_string(g_spawned++), at,
                            static_cast<float>(g_random() % 5) - 2.0f));
      break;
    case 2:  // another sprite goes
      if (g_list->Count() > 5) g_list->Remove(g_list->At(static_cast<int>(g_random() % 5)));
      break;
    case 3:
      object->SetDead(true);
      break;
    case 4:  // a jump sideways
      object->MoveTo(at + CachedVector(static_cast<float>(g_random() % 61) - 30.0f, -20.0f));
      break;
    default:
      break;
  }
}

GameObject* NewSprite(const std::string& name, Vector2 at, float depth) {
  auto* sprite =
      new GameObject(name, g_animation, at, ObjectCallbacks{nullptr, Walk, Touch}, depth);
  sprite->SetShape(g_shape);
  return sprite;
}

// The names and places of what is left, and everything logged.
std::vector<std::string> RunCrowd(unsigned seed, bool broadPhase) {
  g_log.clear();
  g_random.seed(seed);
  g_spawned = 0;
  SetBroadPhaseEnabled(broadPhase);
  {
    SpriteCollection list(PASS_BEHAVIOR);
    g_list = &list;
    for (int i = 0; i < 60; ++i) {
      list.Add(NewSprite(
          "w" + std::to_string(i),
          Vector2(static_cast<float>(g_random() % 300), static_cast<float>(g_random() % 100)),
          static_cast<float>(i % 3)));
    }
    for (int i = 0; i < 4; ++i) {
      GameObject* ground =
          NewSprite("ground" + std::to_string(i), Vector2(80.0f * i, 120.0f), 1.0f);
      ground->SetBehavior(nullptr);
      list.Add(ground);
    }
    for (int frame = 0; frame < 12; ++frame) list.Update(false);
    for (const Sprite* sprite : list.GetSprites()) {
      g_log.push_back(sprite->GetName() + "=" + std::to_string(sprite->GetPosition().X()) + "," +
                      std::to_string(sprite->GetPosition().Y()));
    }
    g_list = nullptr;
  }
  SetBroadPhaseEnabled(true);
  return g_log;
}

// Every sprite the tests make walks with one 12 px box that collides with itself.
struct WalkerBox {
  Animation animation{"walker", Vector2(8, 8)};
  CollisionShape box{
      {CollisionPolygon(0, {CollisionVertex(Vector2(0, 0)), CollisionVertex(Vector2(12, 0)),
                            CollisionVertex(Vector2(12, 12)), CollisionVertex(Vector2(0, 12))})}};
  WalkerBox() {
    CollisionTypeTable::Rows() = {{3}};
    animation.GetFrames().emplace_back(0, 2, Vector2());
    g_animation = &animation;
    g_shape = &box;
  }
  ~WalkerBox() { CollisionTypeTable::Rows().clear(); }
};

TEST(SpriteCollectionProbeTest, ProbesInAPassAnswerAsTheWholeListWhileSpritesComeAndGo) {
  const WalkerBox walker;
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::vector<std::string> expected = RunCrowd(seed, false);
    EXPECT_EQ(RunCrowd(seed, true), expected) << "seed " << seed;
    EXPECT_GT(expected.size(), 400u) << "seed " << seed;
  }
}

// A behaviour that probes (filing the list), drops a spark just below itself unsorted, and
// probes again: the second probe must meet the spark.
std::string g_seen;
void ProbeAroundASpark(GameObject* object) {
  object->SetVelocity(0.0f, 5.0f);
  g_list->Probe(object);
  GameObject* spark = NewSprite("spark", object->GetPosition() + CachedVector(0.0f, 14.0f), 0.0f);
  spark->SetBehavior(nullptr);
  g_list->AddUnsorted(spark);
  const Contact c = g_list->Probe(object);
  g_seen = c.IsHit() ? static_cast<Sprite*>(c.b)->GetName() : "none";
  object->SetVelocity(0.0f, 0.0f);
}

TEST(SpriteCollectionProbeTest, ASpriteAddedUnsortedInAPassIsMetByTheNextProbe) {
  const WalkerBox walker;
  g_seen.clear();
  {
    SpriteCollection list(PASS_BEHAVIOR);
    g_list = &list;
    GameObject* dropper = NewSprite("dropper", Vector2(100, 100), 0.0f);
    dropper->SetBehavior(ProbeAroundASpark);
    list.Add(dropper);
    list.Update(false);
    g_list = nullptr;
  }
  EXPECT_EQ(g_seen, "spark");
}

}  // namespace
