// Drawable animations: frames cut from the PNG into tiles, the quads they queue
// (placement, mirroring, repeats, scale), bad data, and real pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "animationlib/D3DAnimation.h"
#include "platform/Image.h"
#include "support/HeadlessEngine.h"
#include "support/TempDir.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;

class D3DAnimationTest : public testsupport::HeadlessEngine {
 protected:
  // Writes "<name>.acd" with `frames` held frames of one size and origin, and
  // "<name>.png" painted by `paint`; returns the ".acd" path.
  template <class Paint>
  std::string Write(const std::string& name, Vector2 framesize, int frames, Vector2 offset,
                    int imageW, int imageH, Paint paint) {
    Animation description(name, framesize);
    for (int i = 0; i < frames; ++i) description.GetFrames().emplace_back(i, 0, offset);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < imageH; ++y) {
      for (int x = 0; x < imageW; ++x) pixels.push_back(paint(x, y));
    }
    std::string error;
    EXPECT_TRUE(
        platform::SavePng((dir / (name + ".png")).string(), imageW, imageH, pixels.data(), error));
    const std::string path = (dir / (name + ".acd")).string();
    EXPECT_TRUE(description.Save(path));
    return path;
  }
  std::string Solid(const std::string& name, int w, int h, Vector2 offset = {}) {
    return Write(name, Vector2(w, h), 1, offset, w, h, [](int, int) { return kRed; });
  }
  static void Draw(const Animation& animation, Vector2 at, int frame = 0, bool mirror = false,
                   Vector2 repeat = Vector2(1, 1), CachedVector scale = {1, 1}) {
    animation.Draw(at, repeat, frame, mirror, 0.0f, Vector2(), 0.0f, scale);
  }

  testsupport::TempDir dir;
};

TEST_F(D3DAnimationTest, WideFrameIsCutAndDrawnInTilesOfTheTextureCap) {
  D3DAnimation animation(Solid("wide", 300, 100));
  ASSERT_EQ(animation.GetTextures().size(), 2u);
  EXPECT_EQ(animation.GetTextures()[1]->Width(), 44);
  EXPECT_EQ(animation.GetTextures()[1]->Height(), 100);
  Draw(animation, Vector2(100, 50));
  ASSERT_EQ(Quads().size(), 2u);
  const ScreenQuad& left = Quads()[0];
  const ScreenQuad& right = Quads()[1];
  EXPECT_EQ(right.texture, animation.GetTextures()[1].get());
  EXPECT_EQ(std::pair(left.vertices[0].x, left.vertices[1].x), std::pair(100.5f, 356.5f));
  EXPECT_EQ(std::pair(right.vertices[0].x, right.vertices[2].x), std::pair(356.5f, 400.5f));
  EXPECT_EQ(std::pair(left.vertices[0].y, left.vertices[2].y), std::pair(50.5f, 150.5f));
}

TEST_F(D3DAnimationTest, PlacementMirrorRepeatAndScale) {
  D3DAnimation animation(Solid("mirror", 40, 20, Vector2(10, 0)));
  // The origin sits `offset` inside the frame; mirrored, the frame flips about it
  // and lands 2 pixels right, with the texture reversed.
  Draw(animation, Vector2(100, 0));
  Draw(animation, Vector2(100, 0), 0, true);
  ASSERT_EQ(Quads().size(), 2u);
  EXPECT_EQ(Quads()[0].vertices[0].x, 90.5f);
  const ScreenVertex* mirrored = Quads()[1].vertices;
  EXPECT_EQ(std::pair(mirrored[0].x, mirrored[1].x), std::pair(112.0f - 40.0f + 0.5f, 112.5f));
  EXPECT_EQ(std::pair(mirrored[0].u, mirrored[1].u), std::pair(1.0f, 0.0f));

  // Repeat counts round up; copies follow at frame-size steps. Counts that are
  // no count draw nothing rather than loop for ever.
  D3DInterface::ClearQuads();
  Draw(animation, Vector2(10, 0), 0, false, Vector2(2.5f, 2));
  ASSERT_EQ(Quads().size(), 6u);
  EXPECT_EQ(std::pair(Quads()[5].vertices[0].x, Quads()[5].vertices[0].y), std::pair(80.5f, 20.5f));
  D3DInterface::ClearQuads();
  Draw(animation, Vector2(), 0, false, Vector2(0, 0));
  Draw(animation, Vector2(), 0, false, Vector2(INFINITY, std::nanf("")));
  EXPECT_TRUE(Quads().empty());

  // Scale stretches the corners away from the screen position.
  Draw(animation, Vector2(100, 100), 0, false, Vector2(1, 1), CachedVector(2, 3));
  const ScreenVertex& corner = Quads()[0].vertices[2];
  EXPECT_EQ(std::pair(corner.x, corner.y), std::pair(100 + 30 * 2 + 0.5f, 100 + 20 * 3 + 0.5f));
}

TEST_F(D3DAnimationTest, FramesComeFromImageRowsOfWholeFrames) {
  // A 200-wide image holds three 64-wide frames per row, each cell its own colour.
  // The file promises ten frames; the image holds six and half a row more.
  const std::uint32_t cells[3][3] = {
      {kRed, kGreen, kBlue}, {0xFFFFFF00u, 0xFF00FFFFu, kBlack}, {kWhite, 0, 0}};
  D3DAnimation animation(Write("grid", Vector2(64, 32), 10, Vector2(), 200, 80, [&](int x, int y) {
    return x >= 192 ? kRed : cells[y / 32][x / 64];
  }));
  EXPECT_EQ(animation.GetTextures().size(), 9u);  // frame 9 lies wholly below the image
  for (int f = 0; f < 5; ++f) Draw(animation, Vector2(100.0f * f, 300), f);
  Draw(animation, Vector2(200, 400), 6);
  Draw(animation, Vector2(300, 400), 9);
  EXPECT_EQ(Quads().size(), 6u);
  RenderAndRead();
  for (int f = 0; f < 5; ++f) EXPECT_EQ(Pixel(100 * f + 32, 316), cells[f / 3][f % 3]) << f;
  EXPECT_EQ(Pixel(200 + 32, 408), kWhite);  // frame 6, inside the image
  EXPECT_EQ(Pixel(200 + 32, 424), kBlack);  // below the image: transparent
}

TEST_F(D3DAnimationTest, ImageIsFoundByTheStoredNameAndMissingOrDamagedDataDrawsNothing) {
  // "renamed.acd" names itself "stored": its image is "stored.png" beside it,
  // here in the working folder.
  Solid("stored", 16, 16);
  std::filesystem::rename(dir / "stored.acd", dir / "renamed.acd");
  Solid("lonely", 16, 16);
  std::filesystem::remove(dir / "lonely.png");
  std::ofstream(dir / "garbage.acd", std::ios::binary) << std::string("garbage\0\x01\x02", 10);
  testsupport::ScopedCurrentDir here(dir.Path());
  testing::internal::CaptureStderr();
  D3DAnimation renamed("renamed.acd");
  D3DAnimation noImage((dir / "lonely.acd").string());
  D3DAnimation noFile((dir / "absent.acd").string());
  D3DAnimation garbage((dir / "garbage.acd").string());
  const std::string messages = testing::internal::GetCapturedStderr();
  for (const char* name : {"lonely.png", "absent.acd", "garbage.acd"}) {
    EXPECT_NE(messages.find(name), std::string::npos) << messages;
  }
  for (const D3DAnimation* animation : {&renamed, &noImage, &noFile, &garbage}) {
    Draw(*animation, Vector2(10, 10));
    Draw(*animation, Vector2(10, 10), 3);
  }
  EXPECT_EQ(Quads().size(), 1u);  // frame 0 of "renamed" only
}

TEST_F(D3DAnimationTest, MirroredRotatedFrameLandsOnItsPixelsWithMagentaKeyedOut) {
  // 64 x 32: left half red, right half blue, a magenta stripe at the far right.
  D3DAnimation animation(Write("flag", Vector2(64, 32), 1, Vector2(), 64, 32, [](int x, int) {
    return x >= 60 ? platform::kColorKey : x < 32 ? kRed : kBlue;
  }));
  // Mirrored at S = (200, 200) it spans x 138..202 with blue on the left; a quarter
  // turn clockwise about S stands it at x 169..200 (pixel centres), blue on top.
  animation.Draw(Vector2(200, 200), Vector2(1, 1), 0, true, kQuarterTurn, Vector2(), 0.0f,
                 CachedVector(1, 1));
  RenderAndRead();
  const std::pair<int, int> blue[] = {{184, 150}, {169, 160}, {200, 160}};
  for (auto [x, y] : blue) EXPECT_EQ(Pixel(x, y), kBlue) << x << "," << y;
  EXPECT_EQ(Pixel(184, 190), kRed);
  // The keyed stripe (now at the top) and everything around stay black.
  for (auto [x, y] : {std::pair{184, 139}, {184, 130}, {205, 160}, {168, 160}}) {
    EXPECT_EQ(Pixel(x, y), kBlack) << x << "," << y;
  }

  // The pivot rotation turns the picture about a second centre.
  D3DInterface::ClearQuads();
  animation.Draw(Vector2(100, 100), Vector2(1, 1), 0, false, 0.0f, Vector2(0, 100),
                 2 * kQuarterTurn, CachedVector(1, 1));
  EXPECT_NEAR(Quads()[0].vertices[0].x, -99.5f, 1e-3);
  EXPECT_NEAR(Quads()[0].vertices[0].y, 100.5f, 1e-3);
}

}  // namespace
