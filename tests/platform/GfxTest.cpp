#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/Gfx.h"
#include "platform/Window.h"

namespace {

constexpr int kWidth = 64;
constexpr std::uint32_t kBlack = 0xFF000000u;

class GfxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    std::string error;
    window = platform::Window::Open("test", 0, 0, kWidth, kWidth, false, error);
    ASSERT_TRUE(window) << error;
    gfx = platform::Gfx::Create(*window, kWidth, kWidth, error);
    ASSERT_TRUE(gfx) << error;
    gfx->BeginFrame(kBlack);
  }

  // Reads the frame back on first use after drawing.
  std::uint32_t Pixel(int x, int y) {
    if (frame.empty()) {
      EXPECT_TRUE(gfx->ReadPixels(frame));
    }
    return frame[static_cast<std::size_t>(y) * kWidth + x];
  }

  // The bounding box and count of pixels that are not the background.
  std::array<int, 5> Covered() {
    std::array<int, 5> box{kWidth, kWidth, -1, -1, 0};  // left, top, right, bottom, count
    for (int y = 0; y < kWidth; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (Pixel(x, y) == kBlack) continue;
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y),
               box[4] + 1};
      }
    }
    return box;
  }

  // Every texel distinct: red = column + 1, green = row + 1.
  std::unique_ptr<platform::Texture> NumberedTexture(int w, int h) {
    std::vector<std::uint32_t> texels;
    for (int i = 0; i < w * h; ++i) {
      texels.push_back(kBlack | static_cast<std::uint32_t>(i % w + 1) << 16 |
                       static_cast<std::uint32_t>(i / w + 1) << 8);
    }
    std::string error;
    return gfx->CreateTexture(w, h, texels.data(), w, error);
  }

  void DrawQuad(const platform::Texture* texture, float x0, float y0, float x1, float y1,
                std::uint32_t argb = 0xFFFFFFFFu) {
    const platform::GfxVertex v[4] = {{x0, y0, argb, 0.0f, 0.0f},
                                      {x1, y0, argb, 1.0f, 0.0f},
                                      {x1, y1, argb, 1.0f, 1.0f},
                                      {x0, y1, argb, 0.0f, 1.0f}};
    gfx->DrawQuads(texture, v, 1);
  }

  std::unique_ptr<platform::Window> window;
  std::unique_ptr<platform::Gfx> gfx;
  std::vector<std::uint32_t> frame;
};

}  // namespace

TEST_F(GfxTest, QuadsCoverThePixelsWhoseCentresLieInsideAsUnderDirect3D) {
  // Corners at 10.5 .. 14.5 cover the pixels whose centres 11 .. 14 lie inside,
  // one texel per pixel.
  auto texture = NumberedTexture(4, 4);
  DrawQuad(texture.get(), 10.5f, 20.5f, 14.5f, 24.5f);
  EXPECT_EQ(Covered(), (std::array<int, 5>{11, 21, 14, 24, 16}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Pixel(11 + i, 21) >> 16 & 0xFF, i + 1u);
    EXPECT_EQ(Pixel(11, 21 + i) >> 8 & 0xFF, i + 1u);
  }
  gfx->BeginFrame(kBlack);
  frame.clear();
  DrawQuad(nullptr, 10.75f, 20.2f, 18.75f, 23.0f);  // centres 11..18 across, 21..22 down
  EXPECT_EQ(Covered(), (std::array<int, 5>{11, 21, 18, 22, 16}));
}

TEST_F(GfxTest, BadTextureSizesAndQuadsOffTargetOrNotFiniteAreRefused) {
  std::vector<std::uint32_t> image(16, 0xFFFFFFFFu);
  std::string error;
  EXPECT_FALSE(gfx->CreateTexture(0, 1, image.data(), 1, error));
  EXPECT_FALSE(gfx->CreateTexture(5, 1, image.data(), 4, error));  // rows shorter than the width
  DrawQuad(nullptr, -1e9f, 0.5f, -1e9f + 10.0f, 10.5f);
  DrawQuad(nullptr, 0.5f, 1e12f, 10.5f, 2e12f);
  DrawQuad(nullptr, 0.5f, 0.5f, NAN, 10.5f);
  EXPECT_EQ(gfx->DrawCallCount(), 0);
  EXPECT_EQ(Covered()[4], 0);
}

TEST_F(GfxTest, TexturesOutliveTheDeviceAndTheWindow) {
  auto early = NumberedTexture(2, 2);
  window.reset();  // the device lets go first and goes inert
  EXPECT_EQ(early->Device(), nullptr);
  std::vector<std::uint32_t> pixels;
  EXPECT_FALSE(gfx->ReadPixels(pixels));
  gfx->BeginFrame(kBlack);
  DrawQuad(nullptr, 0.5f, 0.5f, 2.5f, 2.5f);
  gfx->Present();
  gfx.reset();
  early.reset();
}
