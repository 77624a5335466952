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
#include "support/HeadlessEngine.h"
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

// The headless engine plus a folder for the images and files a test writes.
class HeadlessEngine : public testsupport::HeadlessEngine {
 protected:
  testsupport::TempDir dir;
};

}  // namespace animtest
