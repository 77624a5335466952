// The broad phase must change nothing: the step and the probes give the same contacts, in the
// same order, with the same effects, as testing every pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "PhysicsLib/BroadPhase.h"
#include "ShapeFixtures.h"

namespace {

// What a callback saw, with objects named by their index in the crowd.
using Delivery = std::tuple<int, int, float, int, int, int, int, int, int>;
std::vector<Delivery>* g_log = nullptr;
const PhysicsObject* g_base = nullptr;

int Id(const PhysicsObject* object) {
  return static_cast<int>(object - g_base);
}

void Log(const Contact* c) {
  g_log->emplace_back(Id(c->a), Id(c->b), c->t, c->polygonA, c->polygonB, c->featureA, c->featureB,
                      c->kindA, c->kindB);
}
void Record(Contact* c) {
  Log(c);
}
void Stop(Contact* c) {
  Log(c);
  c->a->SetVelocity(0.0f, 0.0f);
}
void Bounce(Contact* c) {
  Log(c);
  c->a->SetVelocity(-c->a->GetVelocity().X(), -c->a->GetVelocity().Y());
}
// Overlap answers that move or remove objects while the overlap pass runs.
void Shove(Contact* c) {
  Log(c);
  c->a->MoveTo(c->a->GetPosition() + CachedVector(7.0f, 0.0f));
}
void Kill(Contact* c) {
  Log(c);
  c->b->SetDead(true);
}

struct CrowdCase {
  std::string name;
  unsigned seed;
  int count;
  float width;  // of the area the objects start in
  float height;
  float speed;     // largest speed on each axis
  float asleep;    // share of inactive objects
  float overlaps;  // share of overlap shapes
  bool grid;       // on a grid of touching boxes instead of at random
};

void PrintTo(const CrowdCase& c, std::ostream* os) {
  *os << c.name;
}

// The shapes a crowd draws from: solid boxes big and small, a circle, a segment, a floor
// wider than any sprite, and overlap boxes of both overlapping types.
struct Shapes {
  CollisionShape small{{BoxPolygon(0, 0, 0, 10, 10)}};
  CollisionShape big{{BoxPolygon(0, 0, 0, 300, 40)}};
  CollisionShape ball{{MakePolygon(0, {Vector2(0, 0)}, 6.0f)}};
  CollisionShape segment{{MakePolygon(0, {Vector2(0, 0), Vector2(30, 12)})}};
  CollisionShape floor{{BoxPolygon(0, 0, 0, 3000, 10)}};
  CollisionShape hurt{{BoxPolygon(1, 0, 0, 14, 14)}};
  CollisionShape hit{{BoxPolygon(2, 0, 0, 20, 8), BoxPolygon(0, 0, 0, 8, 8)}};
};

// Two identical crowds are built from one seed; one steps with the broad phase, one without.
class Crowd {
 public:
  Crowd(const CrowdCase& c, const Shapes& shapes) {
    std::mt19937 random(c.seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const CollisionCallback solid[] = {Record, Stop, Bounce};
    const CollisionCallback overlap[] = {Record, Shove, Kill};
    m_objects.reserve(static_cast<std::size_t>(c.count) + 8);
    for (int i = 0; i < c.count; ++i) {
      const bool isOverlap = unit(random) < c.overlaps;
      const CollisionShape* shape = &shapes.small;
      if (isOverlap) {
        shape = unit(random) < 0.5f ? &shapes.hurt : &shapes.hit;
      } else if (!c.grid) {
        const CollisionShape* kinds[] = {&shapes.small, &shapes.small, &shapes.big, &shapes.ball,
                                         &shapes.segment};
        shape = kinds[random() % 5];
      }
      Vector2 at(unit(random) * c.width, unit(random) * c.height);
      if (c.grid)
        at = Vector2(static_cast<float>(i % 20) * 10.0f, static_cast<float>(i / 20) * 10.0f);
      // Some stand still: only the others' motion brings contacts to them.
      const bool still = random() % 4 == 0;
      const CachedVector velocity(still ? 0.0f : (unit(random) * 2.0f - 1.0f) * c.speed,
                                  still ? 0.0f : (unit(random) * 2.0f - 1.0f) * c.speed);
      CollisionCallback callback = isOverlap ? overlap[random() % 3] : solid[random() % 3];
      m_objects.emplace_back(shape, at, velocity, callback);
      m_objects.back().SetInactive(unit(random) < c.asleep);
    }
    m_objects.emplace_back(&shapes.floor, Vector2(-100.0f, c.height + 5.0f), CachedVector(), Stop);
    for (PhysicsObject& object : m_objects) m_list.push_back(&object);
  }

  // Steps the crowd `steps` times; returns everything delivered and every object's state.
  std::vector<Delivery> Step(int steps, bool broadPhase) {
    std::vector<Delivery> log;
    g_log = &log;
    g_base = m_objects.data();
    SetBroadPhaseEnabled(broadPhase);
    for (int i = 0; i < steps; ++i) PhysicsStep(m_list);
    SetBroadPhaseEnabled(true);
    AppendStates(log);
    return log;
  }

  // Every object's position, motion and step bookkeeping, as log lines of their own.
  void AppendStates(std::vector<Delivery>& log) const {
    for (const PhysicsObject& o : m_objects) {
      const Bounds& b = o.GetCollisionShape().GetBounds();
      log.emplace_back(-1, o.IsDead() ? 1 : 0, o.GetPosition().X(),
                       static_cast<int>(o.GetPosition().Y() * 1024),
                       static_cast<int>(o.GetVelocity().X() * 1024),
                       static_cast<int>(o.GetVelocity().Y() * 1024), o.HasCollided() ? 1 : 0,
                       static_cast<int>(o.GetContactTime() * 1024),
                       static_cast<int>((b.left + b.top + b.right + b.bottom) * 16));
    }
  }

  std::vector<PhysicsObject>& Objects() { return m_objects; }
  std::vector<PhysicsObject*>& List() { return m_list; }

 private:
  std::vector<PhysicsObject> m_objects;
  std::vector<PhysicsObject*> m_list;
};

const CrowdCase kCrowds[] = {
    {"Overlapping", 11, 150, 200, 200, 4, 0, 0, false},
    {"TouchingEdges", 12, 200, 0, 100, 3, 0, 0, true},
    {"BigAndSmall", 13, 160, 1500, 500, 12, 0, 0, false},
    {"SleepingAndAwake", 14, 200, 600, 300, 6, 0.4f, 0, false},
    {"OverlapsThatMoveAndKill", 15, 160, 300, 200, 3, 0.1f, 0.6f, false},
    {"FastAndSparse", 16, 120, 4000, 400, 40, 0.2f, 0.2f, false},
};

class BroadPhaseCrowdTest : public ::testing::TestWithParam<CrowdCase> {
 protected:
  ScopedTable m_table;
  Shapes m_shapes;
};

TEST_P(BroadPhaseCrowdTest, StepDeliversTheSameContactsInTheSameOrderAsEveryPair) {
  Crowd every(GetParam(), m_shapes);
  Crowd swept(GetParam(), m_shapes);
  const std::vector<Delivery> expected = every.Step(4, false);
  const std::vector<Delivery> got = swept.Step(4, true);
  // A crowd with nothing to deliver would prove nothing.
  EXPECT_GT(expected.size(), every.Objects().size() + 10);
  EXPECT_EQ(got, expected);
}

// Probes between changes of the list, as a behaviour pass makes them: the indexed crowd and
// the plain one go through the same moves, probes, additions and removals.
TEST_P(BroadPhaseCrowdTest, ProbesAnswerAsTheWholeListWhileObjectsMoveComeAndGo) {
  Crowd plain(GetParam(), m_shapes);
  Crowd indexed(GetParam(), m_shapes);
  std::vector<Delivery> logs[2];
  Crowd* crowds[2] = {&plain, &indexed};
  for (int k = 0; k < 2; ++k) {
    Crowd& crowd = *crowds[k];
    std::vector<Delivery>& log = logs[k];
    g_base = crowd.Objects().data();
    std::mt19937 random(GetParam().seed);
    ProbeIndex index;
    if (k == 1) index.Start();
    auto probe = [&](PhysicsObject* object) {
      return k == 1 ? index.Probe(object, crowd.List()) : CheckCollision(object, crowd.List());
    };
    for (int op = 0; op < 600; ++op) {
      std::vector<PhysicsObject*>& list = crowd.List();
      PhysicsObject* object = list[random() % list.size()];
      switch (random() % 8) {
        case 0:  // a behaviour moves its object
          object->MoveTo(object->GetPosition() +
                         CachedVector(static_cast<float>(random() % 41) - 20.0f,
                                      static_cast<float>(random() % 11) - 5.0f));
          break;
        case 1:  // or reshapes it
          object->SetFacingLeft(!object->IsFacingLeft());
          break;
        case 2:  // an object leaves the list
          if (list.size() > 10) {
            list.erase(list.begin() + static_cast<long>(random() % list.size()));
            index.Invalidate();
          }
          break;
        case 3:  // one is added at the end (a spark), once the crowd's own are used up
          if (crowd.Objects().size() < crowd.Objects().capacity()) {
            crowd.Objects().emplace_back(&m_shapes.small, object->GetPosition(),
                                         CachedVector(0.0f, 3.0f), Record);
            list.push_back(&crowd.Objects().back());
            index.Append(list.back());
          }
          break;
        case 4:  // one dies
          object->SetDead(random() % 2 == 0);
          break;
        case 5: {  // another list's pass runs inside this one
          ProbeIndex inner;
          inner.Start();
          object->MoveTo(object->GetPosition() + CachedVector(0.0f, 9.0f));
          inner.Stop();
          break;
        }
        default: {  // a ground or path probe
          const CachedVector saved = object->GetVelocity();
          object->SetVelocity(static_cast<float>(random() % 13) - 6.0f,
                              static_cast<float>(random() % 9));
          const Contact c = probe(object);
          log.emplace_back(c.IsHit() ? Id(c.a) : -1, c.IsHit() ? Id(c.b) : -1, c.t, c.polygonA,
                           c.polygonB, c.featureA, c.featureB, c.kindA, c.kindB);
          object->SetVelocity(saved);
        }
      }
    }
    if (k == 1) index.Stop();
    crowd.AppendStates(log);
  }
  EXPECT_EQ(logs[1], logs[0]);
}

INSTANTIATE_TEST_SUITE_P(Crowds, BroadPhaseCrowdTest, ::testing::ValuesIn(kCrowds),
                         [](const auto& info) { return info.param.name; });

// The index itself against a test of every pair, over boxes that touch, nest, are very wide,
// inverted, infinite or NaN on a side, and after they move.
TEST(SweepIndexTest, QueriesAndPairsFindExactlyTheOverlappingBoxes) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  std::mt19937 random(7);
  auto coordinate = [&random] { return static_cast<float>(random() % 400); };
  std::vector<Bounds> boxes;
  for (int i = 0; i < 150; ++i) {
    const float left = coordinate();
    const float top = coordinate();
    boxes.push_back({left, top, left + static_cast<float>(random() % 60),
                     top + static_cast<float>(random() % 60)});
  }
  boxes.push_back({0, 0, 5000, 10});       // wider than any sprite
  boxes.push_back({100, 100, 90, 120});    // inverted
  boxes.push_back({-kInf, 50, 20, 60});    // open to the left
  boxes.push_back({kNaN, 200, 250, 210});  // no left side at all
  boxes.push_back({30, kNaN, 40, kNaN});   // no top or bottom
  boxes.push_back({60, 60, 60, 60});       // a point on others' edges

  auto check = [&](SweepIndex& index, const std::string& when) {
    std::vector<SweepIndex::Pair> expected;
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
      for (std::uint32_t j = i + 1; j < boxes.size(); ++j) {
        if (Bounds::Overlaps(boxes[i], boxes[j])) expected.emplace_back(i, j);
      }
    }
    std::vector<SweepIndex::Pair> pairs;
    index.Pairs(pairs);
    EXPECT_EQ(pairs, expected) << when;
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
      std::vector<std::uint32_t> found;
      index.Query(boxes[i], found);
      std::sort(found.begin(), found.end());
      std::vector<std::uint32_t> want;
      for (std::uint32_t j = 0; j < boxes.size(); ++j) {
        if (Bounds::Overlaps(boxes[i], boxes[j])) want.push_back(j);
      }
      EXPECT_EQ(found, want) << when << ", query " << i;
    }
  };

  const std::vector<Bounds> filed = boxes;
  for (bool vertical : {false, true}) {
    const std::string axis = vertical ? "along y" : "along x";
    boxes = filed;
    SweepIndex index;
    index.Clear(vertical);
    for (std::uint32_t i = 0; i < boxes.size(); ++i) index.Add(i, boxes[i]);
    check(index, axis + ", as filed");
    for (int move = 0; move < 300; ++move) {
      const std::uint32_t i = static_cast<std::uint32_t>(random() % boxes.size());
      Bounds to = boxes[i];
      const float dx = static_cast<float>(random() % 81) - 40.0f;
      const float dy = static_cast<float>(random() % 81) - 40.0f;
      to = {to.left + dx, to.top + dy, to.right + dx, to.bottom + dy};
      if (move % 50 == 0) to.right = to.left + 3000.0f;   // becomes long
      if (move % 50 == 10) to.bottom = to.top + 3000.0f;  // or tall
      if (move % 50 == 25) to = {10, 10, 30, 30};         // and back
      index.Move(i, boxes[i], to);
      boxes[i] = to;
    }
    check(index, axis + ", after moves");
  }
}

// A box that grows where it is filed (its near edge stays) must be found all along its new
// length: the reach of a query back from its far end grows with it.
TEST(SweepIndexTest, ABoxThatGrowsWhereItIsFiledIsFoundAlongItsNewLength) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "along y" : "along x");
    SweepIndex index;
    index.Clear(vertical);
    const Bounds small{0, 0, 10, 10};
    index.Add(0, small);
    index.Add(1, {20, 20, 25, 25});
    const Bounds grown = vertical ? Bounds{0, 0, 10, 200} : Bounds{0, 0, 200, 10};
    index.Move(0, small, grown);
    std::vector<std::uint32_t> found;
    index.Query(vertical ? Bounds{2, 150, 8, 160} : Bounds{150, 2, 160, 8}, found);
    EXPECT_EQ(found, std::vector<std::uint32_t>{0});
  }
}

// A pass over another list nested in this one takes the notes of what moves meanwhile: when
// it ends, the outer index must refile, or it answers from where things were.
TEST(ProbeIndexTest, ANestedPassMakesTheOuterIndexRefileWhatMovedMeanwhile) {
  ScopedTable table;
  const CollisionShape box{{BoxPolygon(0, 0, 0, 10, 10)}};
  PhysicsObject faller(&box, Vector2(0, 0), CachedVector(0.0f, 5.0f), nullptr);
  PhysicsObject block(&box, Vector2(500, 0), CachedVector(0.0f, 0.0f), nullptr);
  PhysicsObject elsewhere(&box, Vector2(900, 900), CachedVector(0.0f, 0.0f), nullptr);
  std::vector<PhysicsObject*> list = {&faller, &block};
  std::vector<PhysicsObject*> other = {&elsewhere};
  ProbeIndex outer;
  outer.Start();
  EXPECT_FALSE(outer.Probe(&faller, list).IsHit());
  faller.MoveTo(Vector2(1, 0));  // a note of the outer pass's own before the nested one
  {
    ProbeIndex inner;
    inner.Start();
    inner.Probe(&elsewhere, other);
    block.MoveTo(Vector2(0, 12));  // just below the faller
    inner.Stop();
  }
  const Contact contact = outer.Probe(&faller, list);
  EXPECT_TRUE(contact.IsHit());
  EXPECT_EQ(contact.b, &block);
  outer.Stop();
}

}  // namespace
