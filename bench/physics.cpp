// Cost of one physics step over lists of moving boxes, and of one collision probe.
#include <benchmark/benchmark.h>

#include <list>
#include <random>
#include <vector>

#include "PhysicsLib/BroadPhase.h"
#include "PhysicsLib/Collision.h"

namespace {

void Stop(Contact* c) {
  c->a->SetVelocity(0.0f, 0.0f);
}

// Boxes on a grid with gaps of five pixels, moving a few pixels per step in random
// directions, so neighbours meet often and many contacts need re-sweeps.
class BoxField {
 public:
  explicit BoxField(int count) {
    CollisionTypeTable::Rows() = {{3}};
    m_shape = CollisionShape(
        {CollisionPolygon(0, {CollisionVertex(Vector2(0, 0)), CollisionVertex(Vector2(10, 0)),
                              CollisionVertex(Vector2(10, 10)), CollisionVertex(Vector2(0, 10))})});
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> speed(-3.0f, 3.0f);
    const int columns = 20;
    for (int i = 0; i < count; ++i) {
      const Vector2 start(static_cast<float>(i % columns) * 15.0f,
                          static_cast<float>(i / columns) * 15.0f);
      m_starts.push_back(start);
      m_velocities.emplace_back(speed(random), speed(random));
      m_objects.emplace_back(&m_shape, start, m_velocities.back(), Stop);
      m_list.push_back(&m_objects.back());
    }
  }
  ~BoxField() { CollisionTypeTable::Rows().clear(); }

  // Puts every box back so each measured step sees the same situation.
  void Reset() {
    auto object = m_objects.begin();
    for (std::size_t i = 0; i < m_starts.size(); ++i, ++object) {
      object->MoveTo(m_starts[i]);
      object->SetVelocity(m_velocities[i]);
    }
  }

  std::vector<PhysicsObject*>& List() { return m_list; }

 private:
  CollisionShape m_shape;
  std::vector<Vector2> m_starts;
  std::vector<CachedVector> m_velocities;
  std::list<PhysicsObject> m_objects;
  std::vector<PhysicsObject*> m_list;
};

// Arguments: the number of boxes, and 1 with the broad phase or 0 testing every pair.
void BM_PhysicsStep(benchmark::State& state) {
  BoxField field(static_cast<int>(state.range(0)));
  SetBroadPhaseEnabled(state.range(1) != 0);
  for (auto _ : state) {
    field.Reset();
    PhysicsStep(field.List());
  }
  SetBroadPhaseEnabled(true);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PhysicsStep)
    ->ArgsProduct({{10, 50, 100, 200, 400, 800}, {0, 1}})
    ->ArgNames({"boxes", "broadPhase"});

void BM_CheckCollision(benchmark::State& state) {
  BoxField field(static_cast<int>(state.range(0)));
  PhysicsObject* probe = field.List()[field.List().size() / 2];
  probe->SetVelocity(0.0f, 8.0f);
  int hits = 0;
  for (auto _ : state) {
    const Contact contact = CheckCollision(probe, field.List());
    hits += contact.IsHit() ? 1 : 0;
  }
  benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_CheckCollision)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
