// Shared helpers of the animation tests: a headless graphics engine, an
// animation that records its draws, and the way callbacks get their sprite.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/Animation.h"
#include "animationlib/Sprite.h"
#include "platform/Gfx.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace animtest {

// One recorded call of Animation::Draw.
struct DrawCall {
  Vector2 position;
  Vector2 repeat;
  int frame;
  bool mirror;
  float rotation;
  Vector2 pivot;
  float pivotRotation;
  Vector2 scale;
};

// An animation without a picture that remembers how it was asked to draw.
class RecordingAnimation : public Animation {
 public:
  using Animation::Animation;
  void Draw(const Vector2& position, const Vector2& repeat, int frame, bool mirror, float rotation,
            Vector2 pivot, float pivotRotation, CachedVector scale) const override {
    calls.push_back({position, repeat, frame, mirror, rotation, pivot, pivotRotation,
                     Vector2(scale.X(), scale.Y())});
  }
  mutable std::vector<DrawCall> calls;
};

// Callbacks receive the game's objects; these tests hand them plain sprites and
// convert back the way the sprite converted them.
inline Sprite* AsSprite(GameObject* object) {
  return reinterpret_cast<Sprite*>(object);
}

// A headless window with the graphics engine on it, for tests that queue quads
// with real textures or read frames back.
class HeadlessEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    std::string error;
    window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
    ASSERT_TRUE(window) << error;
    D3DInterface::Create(window.get(), 800, 600, true);
    ASSERT_NE(D3DInterface::GetEngine()->GetDevice(), nullptr);
  }
  void TearDown() override {
    if (D3DInterface::Exists()) D3DInterface::Destroy();
  }

  static const std::vector<ScreenQuad>& Quads() {
    return D3DInterface::GetEngine()->GetQuadQueue();
  }
  void RenderAndRead() {
    D3DInterface::Render(window.get());
    ASSERT_TRUE(D3DInterface::GetEngine()->GetDevice()->ReadPixels(frame));
  }
  std::uint32_t Pixel(int x, int y) const {
    return frame[static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x)];
  }

  testsupport::TempDir dir;
  std::unique_ptr<platform::Window> window;
  std::vector<std::uint32_t> frame;
};

}  // namespace animtest
