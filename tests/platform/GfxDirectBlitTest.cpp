#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <functional>

#include "platform/Gfx.h"
#include "platform/Window.h"

namespace {

constexpr int kSide = 96;

std::unique_ptr<platform::Window> OpenWindow(int width, int height) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  auto window = platform::Window::Open("test", 0, 0, width, height, false, error);
  EXPECT_TRUE(window) << error;
  return window;
}

// Texels covering every alpha, opaque and clear runs included, and varied colour.
std::unique_ptr<platform::Texture> MixedTexture(platform::Gfx& gfx, int w, int h) {
  std::vector<std::uint32_t> texels;
  for (int i = 0; i < w * h; ++i) {
    const auto u = static_cast<std::uint32_t>(i);
    const std::uint32_t alpha = (i / 8) % 3 == 0 ? 0u : (i / 8) % 3 == 1 ? 255u : (u * 37) & 0xFFu;
    texels.push_back(alpha << 24 | ((u * 13) & 0xFFu) << 16 | ((u * 7) & 0xFFu) << 8 | (u & 0xFFu));
  }
  std::string error;
  return gfx.CreateTexture(w, h, texels.data(), w, error);
}

void Quad(platform::Gfx& gfx, const platform::Texture* texture, float x0, float y0, float x1,
          float y1, std::uint32_t argb, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
  const platform::GfxVertex v[4] = {{x0, y0, argb, u0, v0},
                                    {x1, y0, argb, u1, v0},
                                    {x1, y1, argb, u1, v1},
                                    {x0, y1, argb, u0, v1}};
  gfx.DrawQuads(texture, v, 1);
}

}  // namespace

// Each scene is drawn by SDL alone and again with direct blits; the frames,
// alpha included, must be the same to the bit.
TEST(GfxDirectBlitTest, DirectBlitsGiveSdlsPixelsExactly) {
  auto window = OpenWindow(kSide, kSide);
  ASSERT_TRUE(window);
  std::string error;
  auto gfx = platform::Gfx::Create(*window, kSide, kSide, error);
  ASSERT_TRUE(gfx) << error;
  ASSERT_TRUE(gfx->DirectBlits()) << "the software device should blend plain quads itself";
  auto sprite = MixedTexture(*gfx, 32, 32);
  auto sheet = MixedTexture(*gfx, 64, 16);
  using Scene = std::function<void(platform::Gfx&)>;
  const struct {
    const char* name;
    Scene draw;
  } scenes[] = {
      {"overlapping plain quads over a translucent fill",
       [&](platform::Gfx& g) {
         Quad(g, nullptr, -0.5f, -0.5f, 95.5f, 95.5f, 0x80336699u);
         for (int i = 0; i < 6; ++i) {
           const float x = 9.5f * static_cast<float>(i) - 0.5f;
           Quad(g, sprite.get(), x, x, x + 32, x + 32, 0xFFFFFFFFu);
         }
       }},
      {"modulating colours, opaque and translucent",
       [&](platform::Gfx& g) {
         const std::uint32_t colors[] = {0xFFFFFF00u, 0x80FF2010u, 0xFF000000u, 0x7FFFFFFFu};
         for (int i = 0; i < 4; ++i) {
           const float x = 20.0f * static_cast<float>(i) - 0.5f;
           Quad(g, sprite.get(), x, x / 2, x + 32, x / 2 + 32, colors[i]);
         }
       }},
      {"tiles cut from a sheet, off the edges and clipped",
       [&](platform::Gfx& g) {
         Quad(g, sheet.get(), -8.5f, 10.5f, 7.5f, 26.5f, 0xFFFFFFFFu, 0.25f, 0, 0.5f, 1);
         Quad(g, sheet.get(), 80.5f, 88.5f, 144.5f, 104.5f, 0xFFFFFFFFu);
         g.SetClip(10, 12, 30, 7);
         Quad(g, sprite.get(), 4.5f, 4.5f, 36.5f, 36.5f, 0xFFC08040u);
         g.SetClip(50, 50, 0, 10);
         Quad(g, sprite.get(), 40.5f, 40.5f, 72.5f, 72.5f, 0xFFFFFFFFu);
         g.ClearClip();
       }},
      {"mirrored, scaled and turned quads SDL draws, in order with direct ones",
       [&](platform::Gfx& g) {
         const platform::GfxVertex v[12] = {
             {10.5f, 10.5f, 0xFFFFFFFFu, 1, 0}, {42.5f, 10.5f, 0xFFFFFFFFu, 0, 0},
             {42.5f, 42.5f, 0xFFFFFFFFu, 0, 1}, {10.5f, 42.5f, 0xFFFFFFFFu, 1, 1},
             {20.5f, 20.5f, 0xFFFFFFFFu, 0, 0}, {52.5f, 20.5f, 0xFFFFFFFFu, 1, 0},
             {52.5f, 52.5f, 0xFFFFFFFFu, 1, 1}, {20.5f, 52.5f, 0xFFFFFFFFu, 0, 1},
             {30.5f, 30.5f, 0xFFFFFFFFu, 0, 0}, {90.5f, 35.5f, 0xFFFFFFFFu, 1, 0},
             {80.5f, 80.5f, 0xFFFFFFFFu, 1, 1}, {30.5f, 70.5f, 0xFFFFFFFFu, 0, 1}};
         g.DrawQuads(sprite.get(), v, 3);
         Quad(g, sprite.get(), 40.5f, 0.5f, 90.5f, 50.5f, 0xFFFFFFFFu);
         Quad(g, sprite.get(), 60.5f, 20.5f, 92.5f, 52.5f, 0xFFFFFFFFu);
       }},
  };
  for (const auto& scene : scenes) {
    std::vector<std::uint32_t> frames[2];
    for (int direct = 0; direct < 2; ++direct) {
      gfx->SetDirectBlits(direct == 1);
      gfx->BeginFrame(0xFF102030u);
      scene.draw(*gfx);
      ASSERT_TRUE(gfx->ReadPixels(frames[direct]));
      gfx->Present();
    }
    std::size_t differing = 0;
    for (std::size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0u) << scene.name;
  }
}

// A frame of another aspect is scaled to fit the window, centred, with black bars.
TEST(GfxDirectBlitTest, PresentLetterBoxesTheFrame) {
  auto window = OpenWindow(128, 48);
  ASSERT_TRUE(window);
  std::string error;
  auto gfx = platform::Gfx::Create(*window, 32, 32, error);
  ASSERT_TRUE(gfx) << error;
  for (std::uint32_t background : {0xFFFFFFFFu, 0xFF00FF00u}) {
    gfx->BeginFrame(background);
    gfx->Present();
    SDL_Surface* screen =
        SDL_GetWindowSurface(static_cast<SDL_Window*>(window->NativeHandle()));
    ASSERT_NE(screen, nullptr);
    const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
    const Uint32 fill = SDL_MapRGB(screen->format, (background >> 16) & 0xFF,
                                   (background >> 8) & 0xFF, background & 0xFF);
    for (int x : {0, 39, 40, 87, 88, 127}) {
      for (int y : {0, 47}) {
        const Uint32 pixel = static_cast<const Uint32*>(
            screen->pixels)[y * screen->pitch / 4 + x];
        EXPECT_EQ(pixel, x >= 40 && x < 88 ? fill : black) << x << "," << y;
      }
    }
  }
}
