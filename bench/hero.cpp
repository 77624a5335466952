// The hero's per-frame input handling while running on a row of tiles: up to
// four collision probes against the main list each frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <list>
#include <memory>

#include "PhysicsLib/CollisionTypes.h"
#include "ShippedWorld.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

CollisionShape Box(float width, float height) {
  std::vector<CollisionVertex> corners = {
      CollisionVertex(Vector2(0, 0)), CollisionVertex(Vector2(width, 0)),
      CollisionVertex(Vector2(width, height)), CollisionVertex(Vector2(0, height))};
  return CollisionShape({CollisionPolygon(0, corners)});
}

void BM_HeroHandleInput(benchmark::State& state) {
  benchworld::ShippedWorld world;
  if (!world.Start(state)) return;
  testharness::GameHarness* harness = world.harness.get();
  const auto savedTable = CollisionTypeTable::Rows();
  CollisionTypeTable::Rows() = {{kCollisionSolid}};

  Animation tile("tile", Vector2(128, 128), Vector2(128, 128));
  tile.GetFrames().emplace_back(0, 0, Vector2(), Box(128, 128));
  Animation body("body", Vector2(64, 64), Vector2(64, 64));
  body.GetFrames().emplace_back(0, 0, Vector2(), Box(20, 40));
  SpriteCollection* objects = World::GetObjects();
  objects->Clear();
  const int tiles = static_cast<int>(state.range(0));
  for (int i = 0; i < tiles; ++i) {
    objects->AddUnsorted(new GameObject("Tile", &tile, Vector2(128.0f * i, 500.0f), NO_CALLBACKS, 0));
  }
  auto* hero = new PlayerObject(World::kPlayerName, &body, Vector2(300, 459.9f), NO_CALLBACKS, 0);
  objects->AddUnsorted(hero);
  hero->ChangeState(PLAYER_RUN);
  harness->KeyDown(SDL_SCANCODE_RIGHT);
  Input::GetInstance()->Update();
  Input::GetInstance()->Update();

  for (auto _ : state) {
    hero->MoveTo(Vector2(300, 459.9f));  // running in place: every frame probes the same way
    hero->HandleInput();
  }
  // Still running on the ground: the figures are for the grounded probes.
  state.counters["grounded"] = hero->GetStateHandler() == &PlayerObject::StateGround ? 1 : 0;
  objects->Clear();
  CollisionTypeTable::Rows() = savedTable;
}
BENCHMARK(BM_HeroHandleInput)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
