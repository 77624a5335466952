// One HUD frame with 0, 5 and 20 point messages queued: every character of a
// message is its own text draw and extent query.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "D3DInterfaceLib/D3DInterface.h"
#include "ShippedWorld.h"
#include "game/hud/HUD.h"
#include "game/world/World.h"

namespace {

void BM_HudUpdate(benchmark::State& state) {
  benchworld::ShippedWorld world;
  if (!world.Start(state)) return;
  HUD* hud = HUD::GetInstance();
  const int messages = static_cast<int>(state.range(0));
  D3DInterface* engine = D3DInterface::GetEngine();
  if (!hud || !engine) {
    state.SkipWithError("no HUD or graphics device");
    return;
  }

  for (auto _ : state) {
    state.PauseTiming();
    // A fresh queue each round, so that none expires while timed.
    hud->SetAbilities(0);
    for (int i = 0; i < messages; ++i) hud->AddMessage(100 + i, i % HUD::kMessageKinds, 255, 255, 0, 0);
    // The World queues the score and time texts until its frame ends; four
    // strings a round are a cost the figures may carry.
    engine->ClearQuads();
    state.ResumeTiming();
    hud->Update();
  }
  state.counters["queued"] = static_cast<double>(hud->GetMessages().size());
  hud->SetAbilities(0);
}
BENCHMARK(BM_HudUpdate)->Arg(0)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
