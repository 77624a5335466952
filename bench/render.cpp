// One full frame through the graphics interface: 300 textured 64 x 64 quads and
// 20 texts, rendered headless on the software device and presented. The argument
// picks what the frame holds, to show where its time goes: 0 everything, 1 the
// quads alone, 2 the texts alone, 3 nothing (clearing and presenting). The second
// picks the drawing: 0 SDL draws everything, 1 plain quads are blended directly.
//
// BM_BlownUpFlash times one flash at its largest, sampled nearest and smoothly.
//
// The frame of quads alone also reports the bandwidth bound of the bytes it moves
// (the clear's writes, and for each covered pixel a texel read and the pixel's
// read and write), at the rate this run copies a frame-sized buffer, and the
// ratio of the frame's processor time to that bound.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "platform/Gfx.h"
#include "platform/Window.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The bytes a frame of these quads must move at the least.
double BytesMoved(const std::vector<ScreenQuad>& quads) {
  double bytes = 4.0 * kWidth * kHeight;  // the clear
  for (const ScreenQuad& quad : quads) {
    const float left = std::max(quad.vertices[0].x, 0.0f);
    const float right = std::min(quad.vertices[1].x, static_cast<float>(kWidth));
    const float top = std::max(quad.vertices[0].y, 0.0f);
    const float bottom = std::min(quad.vertices[2].y, static_cast<float>(kHeight));
    if (right > left && bottom > top) bytes += 12.0 * (right - left) * (bottom - top);
  }
  return bytes;
}

// Processor time this thread has used, in seconds: other work on a shared machine
// does not count.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Bytes per second this machine moves copying a frame-sized buffer (read and write).
double CopyRate() {
  const std::size_t size = 4u * kWidth * kHeight;
  std::vector<char> from(size, 1), to(size, 2);
  double best = 0.0;
  for (int round = 0; round < 5; ++round) {
    constexpr int kCopies = 40;
    const double start = ThreadSeconds();
    for (int i = 0; i < kCopies; ++i) {
      from[static_cast<std::size_t>(i)] = static_cast<char>(i);
      std::memcpy(to.data(), from.data(), size);
      benchmark::DoNotOptimize(to.data());
      benchmark::ClobberMemory();
    }
    best = std::max(best, 2.0 * static_cast<double>(size) * kCopies / (ThreadSeconds() - start));
  }
  return best;
}

void BM_RenderFrame(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  auto window = platform::Window::Open("Vantrel", 40, 40, kWidth, kHeight, true, error);
  if (!window) {
    state.SkipWithError(error.c_str());
    return;
  }
  D3DInterface::Create(window.get(), kWidth, kHeight, true);
  D3DInterface* engine = D3DInterface::GetEngine();
  engine->GetDevice()->SetDirectBlits(state.range(1) != 0);
  if (state.range(1) != 0 && !engine->GetDevice()->DirectBlits()) {
    state.SkipWithError("direct blits are off on this machine");
    D3DInterface::Destroy();
    return;
  }

  // A dozen sprite sheets' worth of tiles, part transparent like real art.
  std::vector<std::unique_ptr<platform::Texture>> textures;
  for (int t = 0; t < 12; ++t) {
    std::vector<std::uint32_t> texels(64 * 64);
    for (int i = 0; i < 64 * 64; ++i) {
      const bool inside = (i % 64 - 32) * (i % 64 - 32) + (i / 64 - 32) * (i / 64 - 32) < 900;
      texels[i] = inside ? 0xFF000000u | static_cast<std::uint32_t>(t * 20) << 16 | 0x8040u : 0;
    }
    textures.push_back(engine->GetDevice()->CreateTexture(64, 64, texels.data(), 64, error));
  }
  std::vector<ScreenQuad> quads;
  for (int n = 0; n < 300; ++n) {
    ScreenQuad quad;
    const float x = static_cast<float>((n * 37) % 760) + 0.5f - 20.0f;
    const float y = static_cast<float>((n * 53) % 560) + 0.5f - 20.0f;
    quad.vertices[0] = {x, y, 0.1f, 1.0f, 0xFFFF0000u, 0.0f, 0.0f};
    quad.vertices[1] = {x + 64.0f, y, 0.1f, 1.0f, 0xFFFF0000u, 1.0f, 0.0f};
    quad.vertices[2] = {x + 64.0f, y + 64.0f, 0.1f, 1.0f, 0xFFFF0000u, 1.0f, 1.0f};
    quad.vertices[3] = {x, y + 64.0f, 0.1f, 1.0f, 0xFFFF0000u, 0.0f, 1.0f};
    quad.texture = textures[static_cast<std::size_t>(n / 3) % textures.size()].get();
    quads.push_back(quad);
  }
  const char* faces[] = {"Corsiva", "Teletype", "Times New Roman", "Georgia"};

  const bool withQuads = state.range(0) == 0 || state.range(0) == 1;
  const bool withTexts = state.range(0) == 0 || state.range(0) == 2;
  const double start = ThreadSeconds();
  for (auto _ : state) {
    D3DInterface::ClearQuads();
    if (withQuads) {
      for (const ScreenQuad& quad : quads) engine->AddQuad(quad);
    }
    for (int t = 0; withTexts && t < 20; ++t) {
      engine->DrawText(faces[t % 4], 18 + 2 * (t % 4), 20.0f, 25.0f * static_cast<float>(t),
                       "Score 0012345 x" + std::to_string(t), 0xFFFFFF00u);
    }
    D3DInterface::Render(window.get());
  }
  const double frameSeconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
  if (withQuads && !withTexts) {
    const double bound = BytesMoved(quads) / CopyRate();
    state.counters["bound_ms"] = bound * 1e3;
    state.counters["ratio"] = frameSeconds / bound;
  }
  state.counters["frame_share"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrameSeconds,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  textures.clear();
  D3DInterface::Destroy();
}
BENCHMARK(BM_RenderFrame)
    ->ArgNames({"part", "direct"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The cost of a flash at its largest: a 64 x 64 glow drawn eleven times its size
// over most of the frame, sampled nearest (argument 0) or smoothly (1).
void BM_BlownUpFlash(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  auto window = platform::Window::Open("Vantrel", 40, 40, kWidth, kHeight, true, error);
  auto gfx = window ? platform::Gfx::Create(*window, kWidth, kHeight, error) : nullptr;
  if (!gfx) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<std::uint32_t> texels(64 * 64);
  for (int i = 0; i < 64 * 64; ++i) {
    const int dx = i % 64 - 32, dy = i / 64 - 32;
    const int alpha = std::max(0, 255 - (dx * dx + dy * dy) * 255 / 1024);
    texels[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(alpha) << 24 | 0xFFF0C0u;
  }
  auto flash = gfx->CreateTexture(64, 64, texels.data(), 64, error);
  if (!flash) {
    state.SkipWithError(error.c_str());
    return;
  }
  flash->SetSmoothScaling(state.range(0) != 0);
  const float x0 = 48.5f, y0 = -51.5f, x1 = x0 + 704.0f, y1 = y0 + 704.0f;
  const platform::GfxVertex quad[4] = {{x0, y0, 0xFFFFFFFFu, 0, 0},
                                       {x1, y0, 0xFFFFFFFFu, 1, 0},
                                       {x1, y1, 0xFFFFFFFFu, 1, 1},
                                       {x0, y1, 0xFFFFFFFFu, 0, 1}};
  for (auto _ : state) {
    gfx->BeginFrame(0xFF406080u);
    gfx->DrawQuads(flash.get(), quad, 1);
    gfx->Present();
  }
  flash.reset();
}
BENCHMARK(BM_BlownUpFlash)->ArgName("smooth")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
