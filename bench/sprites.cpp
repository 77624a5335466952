// One frame of a live object list of 300 animated objects, headless: the list's
// passes (behaviours, physics, drawing, frame timers) and the render of the quads
// they queue. A second figure gives the list's passes alone. The objects are built as
// the game builds them (a behaviour is called with a GameObject).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/D3DAnimation.h"
#include "animationlib/SpriteCollection.h"
#include "game/objects/GameObject.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace {

constexpr int kSprites = 300;
constexpr int kFrames = 8;
constexpr int kSide = 64;

// A sheet of kFrames round sprites of kSide pixels on the magenta key, and its
// ".acd" with every frame shown for 4 ticks, looping.
std::string WriteSheet(const testsupport::TempDir& dir) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kFrames) * kSide * kSide);
  const int width = kFrames * kSide;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < width; ++x) {
      const int dx = x % kSide - kSide / 2;
      const int dy = y - kSide / 2;
      const bool inside = dx * dx + dy * dy < (kSide / 2 - 2) * (kSide / 2 - 2);
      const auto shade = static_cast<std::uint32_t>(40 + 25 * (x / kSide));
      pixels[static_cast<std::size_t>(y) * width + x] =
          inside ? 0xFF000000u | shade << 16 | 0x6020u : platform::kColorKey;
    }
  }
  std::string error;
  platform::SavePng((dir / "orb.png").string(), width, kSide, pixels.data(), error);
  Animation description("orb", Vector2(kSide, kSide));
  for (int f = 0; f < kFrames; ++f) {
    description.GetFrames().emplace_back((f + 1) % kFrames, 4, Vector2(kSide / 2, kSide / 2));
  }
  description.Save((dir / "orb.acd").string());
  return (dir / "orb.acd").string();
}

void Bob(GameObject* object) {
  // A behaviour with a little work in it: sway up and down.
  object->SetVelocity(0.0f, object->GetFrame() < kFrames / 2 ? 0.5f : -0.5f);
}

struct Scene {
  std::unique_ptr<platform::Window> window;
  testsupport::TempDir dir;
  std::unique_ptr<D3DAnimation> animation;
  std::unique_ptr<SpriteCollection> list;
};

std::unique_ptr<Scene> MakeScene(std::string& error) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  auto scene = std::make_unique<Scene>();
  scene->window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  if (!scene->window) return nullptr;
  D3DInterface::Create(scene->window.get(), 800, 600, true);
  scene->animation = std::make_unique<D3DAnimation>(WriteSheet(scene->dir));
  scene->list = std::make_unique<SpriteCollection>(PASS_ALL);
  ObjectCallbacks callbacks;
  callbacks.behavior = Bob;
  for (int n = 0; n < kSprites; ++n) {
    const Vector2 at(static_cast<float>((n * 37) % 800), static_cast<float>((n * 53) % 600));
    auto* object =
        new GameObject("orb", scene->animation.get(), at, callbacks, static_cast<float>(n % 5));
    object->SetFrame(n % kFrames);
    if (n % 3 == 0) object->SetFacingLeft(true);
    if (n % 7 == 0) object->SetDrawAngle(0.3f);
    if (n % 11 == 0) object->StartPulse(4, 0.05f, 3, true);
    scene->list->AddUnsorted(object);
  }
  scene->list->Sort();
  return scene;
}

void BM_SpriteFrame(benchmark::State& state) {
  std::string error;
  std::unique_ptr<Scene> scene = MakeScene(error);
  if (!scene) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t quads = 0;
  for (auto _ : state) {
    D3DInterface::ClearQuads();
    scene->list->Update(false);
    quads = D3DInterface::GetEngine()->GetQuadQueue().size();
    D3DInterface::Render(scene->window.get());
  }
  state.counters["quads"] = static_cast<double>(quads);
  scene.reset();
  D3DInterface::Destroy();
}
BENCHMARK(BM_SpriteFrame)->Unit(benchmark::kMicrosecond);

void BM_SpriteListPasses(benchmark::State& state) {
  std::string error;
  std::unique_ptr<Scene> scene = MakeScene(error);
  if (!scene) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    D3DInterface::ClearQuads();
    scene->list->Update(true);
  }
  scene.reset();
  D3DInterface::Destroy();
}
BENCHMARK(BM_SpriteListPasses)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
