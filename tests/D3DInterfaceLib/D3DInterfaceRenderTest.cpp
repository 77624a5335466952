// Whole frames on the headless device, read back pixel by pixel.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/Font.h"
#include "support/HeadlessEngine.h"

namespace {

// Every allocation through operator new in this program, to catch per-frame ones.
std::atomic<long> g_allocations{0};

}  // namespace

// GCC takes the free below, once inlined, for a mismatch with the new it pairs with.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

class RenderedFrame : public testsupport::HeadlessEngine {
 protected:
  int Channel(int x, int y, int shift) { return static_cast<int>((Pixel(x, y) >> shift) & 0xFF); }

  std::unique_ptr<platform::Texture> SolidTexture(int w, int h, std::uint32_t argb) {
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(w) * h, argb);
    std::string error;
    return Engine()->GetDevice()->CreateTexture(w, h, texels.data(), w, error);
  }

  // A sprite's quad as the animations queue it: corners already shifted by +0.5,
  // diffuse red on every vertex.
  void AddSprite(float left, float top, float w, float h, platform::Texture* texture) {
    ScreenQuad quad;
    const float x0 = left + 0.5f, y0 = top + 0.5f, x1 = x0 + w, y1 = y0 + h;
    quad.vertices[0] = {x0, y0, 0.1f, 1.0f, 0xFFFF0000u, 0.0f, 0.0f};
    quad.vertices[1] = {x1, y0, 0.1f, 1.0f, 0xFFFF0000u, 1.0f, 0.0f};
    quad.vertices[2] = {x1, y1, 0.1f, 1.0f, 0xFFFF0000u, 1.0f, 1.0f};
    quad.vertices[3] = {x0, y1, 0.1f, 1.0f, 0xFFFF0000u, 0.0f, 1.0f};
    quad.texture = texture;
    Engine()->AddQuad(quad);
  }
};

}  // namespace

TEST_F(RenderedFrame, SpriteFadeAndTextLandOnTheirPixels) {
  // A green text queued first, then a blue 64 x 64 sprite at (100, 50), then a
  // half-transparent white fade over everything.
  auto blue = SolidTexture(64, 64, 0xFF0000FFu);
  ASSERT_TRUE(Engine()->DrawText("Teletype", 30, 300.0f, 200.0f, "MM", 0xFF00FF00u));
  AddSprite(100.0f, 50.0f, 64.0f, 64.0f, blue.get());
  Engine()->FillScreen(Vector2(0.0f, 0.0f), 0x80FFFFFFu);
  RenderAndRead();

  // The sprite covers pixels 101..164 by 51..114, blue lightened by the fade; its
  // vertices' red never shows. Around it only the fade shows, on black.
  for (auto [x, y] : {std::pair{101, 51}, {164, 114}, {130, 80}}) {
    EXPECT_NEAR(Channel(x, y, 0), 255, 1) << x << "," << y;
    EXPECT_NEAR(Channel(x, y, 16), 128, 2) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{100, 60}, {165, 60}, {120, 50}, {120, 115}, {0, 0}, {799, 599}}) {
    EXPECT_NEAR(Channel(x, y, 0), 128, 2) << x << "," << y;
    EXPECT_NEAR(Channel(x, y, 16), 128, 2) << x << "," << y;
  }
  // The text is drawn over the fade, inside its measured rectangle only.
  int w = 0, h = 0;
  Engine()->GetTextExtent("Teletype", 30, "MM", &w, &h);
  int pureGreen = 0, outside = 0;
  for (int y = 190; y < 210 + h; ++y) {
    for (int x = 290; x < 310 + w; ++x) {
      const bool inside = x >= 300 && x < 300 + w && y >= 200 && y < 200 + h;
      if (Pixel(x, y) == 0xFF00FF00u) ++pureGreen;
      if (!inside && Channel(x, y, 8) > 130) ++outside;
    }
  }
  EXPECT_GT(pureGreen, 50);
  EXPECT_EQ(outside, 0);
}

TEST_F(RenderedFrame, QuadsKeepQueueOrderAndNeighboursWithOneTextureShareADrawCall) {
  auto red = SolidTexture(10, 10, 0xFFFF0000u);
  auto green = SolidTexture(10, 10, 0xFF00FF00u);
  for (auto [left, texture] : {std::pair{10.0f, red.get()},
                               {30.0f, red.get()},
                               {15.0f, green.get()},
                               {20.0f, red.get()}}) {
    AddSprite(left, 10.0f, 10.0f, 10.0f, texture);
  }
  RenderAndRead();
  EXPECT_EQ(Engine()->GetDevice()->DrawCallCount(), 3);
  EXPECT_EQ(Pixel(12, 12), 0xFFFF0000u);
  EXPECT_EQ(Pixel(17, 12), 0xFF00FF00u);
  EXPECT_EQ(Pixel(22, 12), 0xFFFF0000u);  // the later red covers the green
}

TEST_F(RenderedFrame, SteadyFrameOfThreeHundredQuadsAndATextAllocatesNothing) {
  auto red = SolidTexture(64, 64, 0xFFFF0000u);
  auto green = SolidTexture(64, 64, 0xFF00FF00u);
  for (int frameNumber = 0; frameNumber < 2; ++frameNumber) {
    for (int n = 0; n < 300; ++n) {
      AddSprite(static_cast<float>(n * 2), 100.0f, 64.0f, 64.0f,
                n / 3 % 2 ? red.get() : green.get());
    }
    Engine()->FillScreen(Vector2(0.0f, 0.0f), 0x40000000u);
    ASSERT_TRUE(Engine()->DrawText("Teletype", 20, 10.0f, 10.0f, "Score 42", 0xFFFFFF00u));
    // The first frame may make the glyphs; the second only draws.
    const long before = g_allocations;
    D3DInterface::Render(window.get());
    if (frameNumber == 1) {
      EXPECT_EQ(g_allocations - before, 0);
    }
  }
}

// Glyphs rendered ahead of a text leave its pixels as they were and leave the
// frame that draws it only the characters nobody prepared.
TEST_F(RenderedFrame, PreparedTextDrawsTheSamePixelsAndRendersOnlyWhatWasNotPrepared) {
  const struct {
    const char* prepared;
    const char* drawn;
    int renderedByDraw;
  } cases[] = {
      {"Score 42", "Score 42", 0},
      {"0123456789:", "12:05", 0},  // a character set, as the HUD prepares
      {"two\nlines", "two\nlines", 0},
      {"caf\xE9 \x80", "caf\xE9 \x80", 0},  // Windows-1252 bytes
      {"AB", "ABC", 1},
      {"", "Hi", 2},
  };
  const auto fontCount = [] { return Engine()->GetFontCache().size(); };
  const auto rendered = [] {
    int sum = 0;
    for (const FontEntry& entry : Engine()->GetFontCache()) sum += entry.font->RenderedGlyphCount();
    return sum;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drawn);
    // A fresh engine each time: its font cache starts empty.
    D3DInterface::Destroy();
    D3DInterface::Create(window.get(), 800, 600, true);
    ASSERT_TRUE(Engine()->DrawText("Corsiva", 25, 20.0f, 30.0f, c.drawn, 0xFF20C040u));
    RenderAndRead();
    const std::vector<std::uint32_t> unprepared = frame;

    D3DInterface::Destroy();
    D3DInterface::Create(window.get(), 800, 600, true);
    ASSERT_TRUE(Engine()->PrepareText("Corsiva", 25, c.prepared));
    ASSERT_EQ(fontCount(), 1u);
    const int before = rendered();
    ASSERT_TRUE(Engine()->DrawText("Corsiva", 25, 20.0f, 30.0f, c.drawn, 0xFF20C040u));
    RenderAndRead();
    EXPECT_EQ(fontCount(), 1u) << "the prepared font was opened again";
    EXPECT_EQ(rendered() - before, c.renderedByDraw);
    EXPECT_TRUE(frame == unprepared) << "preparing changed the text's pixels";
  }
}
