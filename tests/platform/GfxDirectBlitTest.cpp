#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

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

// Texels covering every alpha, opaque and clear runs included, and varied colour;
// with a `margin`, cut from a sheet that much wider, so that the texture's rows
// are not its source's.
std::unique_ptr<platform::Texture> MixedTexture(platform::Gfx& gfx, int w, int h, int margin = 0) {
  std::vector<std::uint32_t> texels;
  for (int i = 0; i < (w + margin) * h; ++i) {
    const auto u = static_cast<std::uint32_t>(i);
    const std::uint32_t alpha = (i / 8) % 3 == 0 ? 0u : (i / 8) % 3 == 1 ? 255u : (u * 37) & 0xFFu;
    texels.push_back(alpha << 24 | ((u * 13) & 0xFFu) << 16 | ((u * 7) & 0xFFu) << 8 | (u & 0xFFu));
  }
  std::string error;
  return gfx.CreateTexture(w, h, texels.data() + margin / 2, w + margin, error);
}

void Quad(platform::Gfx& gfx, const platform::Texture* texture, float x0, float y0, float x1,
          float y1, std::uint32_t argb, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
  const platform::GfxVertex v[4] = {{x0, y0, argb, u0, v0},
                                    {x1, y0, argb, u1, v0},
                                    {x1, y1, argb, u1, v1},
                                    {x0, y1, argb, u0, v1}};
  gfx.DrawQuads(texture, v, 1);
}

// Sets VANTREL_FAST_DRAW for the devices opened while it lives.
class ScopedFastDraw {
 public:
  explicit ScopedFastDraw(const char* value) {
    if (const char* old = std::getenv("VANTREL_FAST_DRAW")) m_old = old;
    setenv("VANTREL_FAST_DRAW", value, 1);
  }
  ~ScopedFastDraw() {
    if (m_old.empty()) {
      unsetenv("VANTREL_FAST_DRAW");
    } else {
      setenv("VANTREL_FAST_DRAW", m_old.c_str(), 1);
    }
  }

 private:
  std::string m_old;
};

struct QuadCase {
  const char* name;
  bool textured;
  float x0, y0, x1, y1;  // Direct3D positions of the top-left and bottom-right corners
  bool mirrorX, mirrorY;
  std::uint32_t argb;
  bool clipped;        // drawn inside a clip rectangle
  float angle = 0.0f;  // radians, about the rectangle's centre
};

void DrawCase(platform::Gfx& gfx, const platform::Texture* texture, const QuadCase& c) {
  const float u0 = c.mirrorX ? 1.0f : 0.0f, v0 = c.mirrorY ? 1.0f : 0.0f;
  platform::GfxVertex v[4] = {{c.x0, c.y0, c.argb, u0, v0},
                              {c.x1, c.y0, c.argb, 1 - u0, v0},
                              {c.x1, c.y1, c.argb, 1 - u0, 1 - v0},
                              {c.x0, c.y1, c.argb, u0, 1 - v0}};
  const float cx = (c.x0 + c.x1) / 2, cy = (c.y0 + c.y1) / 2;
  for (platform::GfxVertex& corner : v) {
    const float dx = corner.x - cx, dy = corner.y - cy;
    corner.x = cx + dx * std::cos(c.angle) - dy * std::sin(c.angle);
    corner.y = cy + dx * std::sin(c.angle) + dy * std::cos(c.angle);
  }
  if (c.clipped) gfx.SetClip(20, 15, 50, 40);
  gfx.DrawQuads(c.textured ? texture : nullptr, v, 1);
  gfx.ClearClip();
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

TEST(GfxFastPathTest, SettingNamesThePathsTaken) {
  using Paths = platform::Gfx::FastPaths;
  const struct {
    const char* setting;
    std::optional<Paths> expected;  // nothing: the setting is refused
  } cases[] = {
      {nullptr, Paths{}},
      {"", Paths{}},
      {"all", Paths{}},
      {"none", Paths{false, false, false, false, false, false}},
      {"blit", Paths{true, false, false, false, false, false}},
      {"fill,present", Paths{false, false, true, true, false, false}},
      {"transform,shared", Paths{false, true, false, false, true, false}},
      {"turn", Paths{false, false, false, false, false, true}},
      {"transform,shared,unknown", std::nullopt},
      {"Blit", std::nullopt},
      {"blit,", std::nullopt},
      {",blit", std::nullopt},
      {"blit,,fill", std::nullopt},
      {"all,none", std::nullopt},
      {"none,blit", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<Paths> parsed = platform::Gfx::ParseFastPaths(c.setting);
    const std::string name = c.setting ? c.setting : "(unset)";
    ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << name;
    if (!parsed) continue;
    const Paths& got = *parsed;
    EXPECT_EQ(got.blit, c.expected->blit) << name;
    EXPECT_EQ(got.transform, c.expected->transform) << name;
    EXPECT_EQ(got.fill, c.expected->fill) << name;
    EXPECT_EQ(got.present, c.expected->present) << name;
    EXPECT_EQ(got.shared, c.expected->shared) << name;
    EXPECT_EQ(got.turn, c.expected->turn) << name;
  }
}

// Each case is drawn over the same frame by SDL alone and by our own paths, both
// with one shared copy of the texture and with a copy of ours; the frames, alpha
// included, must be the same to the bit.
TEST(GfxFastPathTest, MirroredScaledTurnedAndFilledQuadsGiveSdlsPixelsExactly) {
  const QuadCase cases[] = {
      {"mirrored across", true, 10.5f, 12.5f, 27.5f, 21.5f, true, false, 0xFFFFFFFFu, false},
      {"mirrored down", true, 10.5f, 12.5f, 27.5f, 21.5f, false, true, 0xFFFFFFFFu, false},
      {"mirrored both ways", true, 10.5f, 12.5f, 27.5f, 21.5f, true, true, 0xFFFFFFFFu, false},
      {"scaled up", true, 10.5f, 12.5f, 71.5f, 50.5f, false, false, 0xFFFFFFFFu, false},
      {"scaled down", true, 30.5f, 12.5f, 37.5f, 18.5f, false, false, 0xFFFFFFFFu, false},
      {"scaled up and mirrored", true, 4.5f, 6.5f, 79.5f, 33.5f, true, false, 0xFFFFFFFFu, false},
      {"scaled at a fraction", true, 10.25f, 12.75f, 44.9f, 70.1f, false, true, 0xFFFFFFFFu, false},
      {"off the left edge", true, -12.5f, 20.5f, 25.5f, 60.5f, false, false, 0xFFFFFFFFu, false},
      {"off the top edge", true, 20.5f, -7.5f, 37.5f, 1.5f, true, false, 0xFFFFFFFFu, false},
      {"off the right edge", true, 80.5f, 20.5f, 120.5f, 40.5f, true, false, 0xFFFFFFFFu, false},
      {"off the bottom edge", true, 20.5f, 90.5f, 37.5f, 99.5f, false, true, 0xFFFFFFFFu, false},
      {"over the whole frame", true, -30.5f, -30.5f, 130.5f, 130.5f, true, true, 0xFFFFFFFFu,
       false},
      {"mirrored in a clip rectangle", true, 10.5f, 12.5f, 27.5f, 21.5f, true, false, 0xFFFFFFFFu,
       true},
      {"mirrored and modulated", true, 10.5f, 12.5f, 27.5f, 21.5f, true, false, 0x80FF2010u, false},
      {"scaled and modulated", true, 10.5f, 12.5f, 60.5f, 30.5f, false, false, 0xFF8040C0u, false},
      {"turned inside out", true, 27.5f, 12.5f, 10.5f, 21.5f, false, false, 0xFFFFFFFFu, false},
      {"translucent fill", false, 5.5f, 6.5f, 70.5f, 80.5f, false, false, 0x80336699u, false},
      {"faint fill", false, 5.5f, 6.5f, 70.5f, 80.5f, false, false, 0x01FFFFFFu, false},
      {"invisible fill", false, 5.5f, 6.5f, 70.5f, 80.5f, false, false, 0x00FFFFFFu, false},
      {"opaque fill", false, 5.5f, 6.5f, 70.5f, 80.5f, false, false, 0xFF102030u, false},
      {"fade over the screen", false, -0.5f, -0.5f, kSide + 0.5f, kSide + 0.5f, false, false,
       0xC0FF8000u, false},
      {"fill off the bottom right", false, 60.5f, 70.5f, 200.5f, 200.5f, false, false, 0x7F00FF00u,
       false},
      {"fill in a clip rectangle", false, 5.5f, 6.5f, 70.5f, 80.5f, false, false, 0x80336699u,
       true},
      {"turned a little", true, 30.5f, 30.5f, 47.5f, 39.5f, false, false, 0xFFFFFFFFu, false, 0.2f},
      {"turned and mirrored", true, 30.5f, 30.5f, 47.5f, 39.5f, true, false, 0xFFFFFFFFu, false,
       2.4f},
      {"turned and scaled up", true, 10.5f, 20.5f, 80.5f, 60.5f, false, true, 0xFFFFFFFFu, false,
       -0.9f},
      {"turned and scaled down", true, 40.5f, 40.5f, 46.5f, 44.5f, false, false, 0xFFFFFFFFu, false,
       1.0f},
      {"turned off the left edge", true, -20.5f, 30.5f, 15.5f, 50.5f, false, false, 0xFFFFFFFFu,
       false, 0.6f},
      {"turned off the top edge", true, 30.5f, -20.5f, 50.5f, 15.5f, true, false, 0xFFFFFFFFu,
       false, -0.6f},
      {"turned off the right edge", true, 80.5f, 30.5f, 115.5f, 50.5f, false, false, 0xFFFFFFFFu,
       false, 1.4f},
      {"turned off the bottom edge", true, 30.5f, 80.5f, 50.5f, 115.5f, false, true, 0xFFFFFFFFu,
       false, -1.4f},
      {"turned half round", true, 30.5f, 30.5f, 47.5f, 39.5f, false, false, 0xFFFFFFFFu, false,
       3.14159265f},
      {"turned in a clip rectangle", true, 10.5f, 12.5f, 57.5f, 41.5f, true, false, 0xFFFFFFFFu,
       true, 0.5f},
      {"turned and modulated", true, 10.5f, 12.5f, 57.5f, 41.5f, false, false, 0x80FF2010u, false,
       0.5f},
  };
  for (const char* sharing : {"all", "blit,transform,fill,present,turn"}) {
    ScopedFastDraw setting(sharing);
    auto window = OpenWindow(kSide, kSide);
    ASSERT_TRUE(window);
    std::string error;
    auto gfx = platform::Gfx::Create(*window, kSide, kSide, error);
    ASSERT_TRUE(gfx) << error;
    ASSERT_TRUE(gfx->ActivePaths().blit) << "plain quads should be ours";
    ASSERT_TRUE(gfx->ActivePaths().transform) << "mirrored and scaled quads should be ours";
    ASSERT_TRUE(gfx->ActivePaths().fill) << "fills should be ours";
    ASSERT_TRUE(gfx->ActivePaths().turn) << "turned quads should be ours";
    auto texture = MixedTexture(*gfx, 17, 9, 9);
    ASSERT_TRUE(texture);
    for (const QuadCase& c : cases) {
      std::vector<std::uint32_t> frames[2];
      for (int direct = 0; direct < 2; ++direct) {
        gfx->SetDirectBlits(direct == 1);
        gfx->BeginFrame(0xFF102030u);
        // A varied background, alpha included, for the blends to show.
        for (int i = 0; i < 4; ++i) {
          const float x = 24.0f * static_cast<float>(i) - 0.5f;
          const platform::GfxVertex v[4] = {{x, -0.5f, 0x60C08040u + i * 0x20000000u, 0, 0},
                                            {x + 24, -0.5f, 0x60C08040u, 0, 0},
                                            {x + 24, kSide - 0.5f, 0x6020A0F0u, 0, 0},
                                            {x, kSide - 0.5f, 0x6020A0F0u, 0, 0}};
          gfx->DrawQuads(nullptr, v, 1);
        }
        DrawCase(*gfx, texture.get(), c);
        ASSERT_TRUE(gfx->ReadPixels(frames[direct]));
      }
      std::size_t differing = 0;
      for (std::size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
      EXPECT_EQ(differing, 0u) << c.name << " (" << sharing << ")";
    }
  }
}

// The window gets the same pixels from the straight copy as from the scaler.
TEST(GfxFastPathTest, StraightPresentGivesTheWindowTheScalersPixels) {
  std::vector<std::uint32_t> shown[2];
  for (int straight = 0; straight < 2; ++straight) {
    ScopedFastDraw setting(straight == 1 ? "all" : "blit");
    auto window = OpenWindow(70, 50);
    ASSERT_TRUE(window);
    std::string error;
    auto gfx = platform::Gfx::Create(*window, 70, 50, error);
    ASSERT_TRUE(gfx) << error;
    EXPECT_EQ(gfx->ActivePaths().present, straight == 1);
    gfx->BeginFrame(0x80FF8040u);
    const platform::GfxVertex v[4] = {{9.5f, 4.5f, 0xFF00FF00u, 0, 0},
                                      {60.5f, 4.5f, 0x4000FF00u, 0, 0},
                                      {60.5f, 40.5f, 0x40FF00FFu, 0, 0},
                                      {9.5f, 40.5f, 0xFFFF00FFu, 0, 0}};
    gfx->DrawQuads(nullptr, v, 1);
    std::vector<std::uint32_t> frame;
    ASSERT_TRUE(gfx->ReadPixels(frame));
    gfx->Present();
    SDL_Surface* screen = SDL_GetWindowSurface(static_cast<SDL_Window*>(window->NativeHandle()));
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->w, 70);
    for (int y = 0; y < 50; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(
          static_cast<const std::uint8_t*>(screen->pixels) + y * screen->pitch);
      shown[straight].insert(shown[straight].end(), row, row + 70);
    }
    // The window shows the frame's colours wherever it keeps them.
    for (std::size_t i = 0; i < frame.size(); ++i) {
      ASSERT_EQ(shown[straight][i] & 0x00FFFFFFu, frame[i] & 0x00FFFFFFu) << i;
    }
  }
  EXPECT_EQ(shown[0], shown[1]);
}

// Scaled, a smooth texture mixes the texels around each pixel's centre by where it
// falls between theirs, holds the edge texels past the edges, and mixes colour
// premultiplied, so a clear texel's colour never shows. Over black every channel is
// then the texels' premultiplied grey interpolated at the pixel's centre.
TEST(GfxSmoothScalingTest, EachPixelMixesTheTexelsAroundItsCentre) {
  const std::vector<std::uint32_t> ramp = {0xFF000000u, 0xFF282828u, 0xFF505050u, 0xFF787878u,
                                           0xFFF0F0F0u};
  const std::vector<std::uint32_t> fade = {0x00FF0000u, 0x80FFFFFFu, 0xFFFFFFFFu};
  const struct {
    const char* name;
    std::vector<std::uint32_t> texels;  // one row, or one column when `down`
    bool down, mirrored;
    int from, to;  // the frame pixels the texels stretch over
  } cases[] = {
      {"across", ramp, false, false, 10, 66},
      {"mirrored", ramp, false, true, 10, 66},
      {"down", ramp, true, false, 3, 90},
      {"off the left edge", ramp, false, false, -30, 70},
      {"fading out of a clear red texel", fade, false, false, 20, 80},
  };
  auto window = OpenWindow(kSide, kSide);
  ASSERT_TRUE(window);
  std::string error;
  auto gfx = platform::Gfx::Create(*window, kSide, kSide, error);
  ASSERT_TRUE(gfx) << error;
  for (const auto& c : cases) {
    const int n = static_cast<int>(c.texels.size());
    auto texture =
        gfx->CreateTexture(c.down ? 1 : n, c.down ? n : 1, c.texels.data(), c.down ? 1 : n, error);
    ASSERT_TRUE(texture) << error;
    texture->SetSmoothScaling(true);
    gfx->BeginFrame(0xFF000000u);
    const float from = static_cast<float>(c.from) - 0.5f, to = static_cast<float>(c.to) - 0.5f;
    const float u0 = c.mirrored ? 1.0f : 0.0f;
    if (c.down) {
      Quad(*gfx, texture.get(), 19.5f, from, 27.5f, to, 0xFFFFFFFFu);
    } else {
      Quad(*gfx, texture.get(), from, 19.5f, to, 27.5f, 0xFFFFFFFFu, u0, 0, 1 - u0, 1);
    }
    std::vector<std::uint32_t> frame;
    ASSERT_TRUE(gfx->ReadPixels(frame));
    int worst = 0;
    for (int p = std::max(c.from, 0); p < std::min(c.to, kSide); ++p) {
      const int d = c.mirrored ? c.to - 1 - p : p - c.from;
      const double at = std::clamp((d + 0.5) * n / (c.to - c.from) - 0.5, 0.0, n - 1.0);
      const int k = std::min(static_cast<int>(at), n - 2);
      const auto grey = [&](int i) {
        const std::uint32_t t = c.texels[static_cast<std::size_t>(i)];
        return static_cast<double>((t >> 24) * (t & 0xFFu)) / 255.0;
      };
      const double expected = grey(k) + (grey(k + 1) - grey(k)) * (at - k);
      for (int q = 20; q < 28; ++q) {
        const std::uint32_t pixel = c.down ? frame[p * kSide + q] : frame[q * kSide + p];
        for (int shift : {0, 8, 16}) {
          const auto channel = static_cast<double>((pixel >> shift) & 0xFFu);
          worst = std::max(worst, static_cast<int>(std::lround(std::fabs(channel - expected))));
        }
      }
    }
    EXPECT_LE(worst, 1) << c.name;
  }
}
