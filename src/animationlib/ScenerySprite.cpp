// Scenery: parallax scrolling and tiling.
#include "animationlib/ScenerySprite.h"

#include <cmath>

#include "platform/Assert.h"

namespace {

// Steps `position` by whole frames into (-frame, 0] on one axis, moving the sprite
// each step. Far positions are first brought near with one remainder, since
// stepping would take too long or, once a frame is below the float spacing, forever.
void WrapAxis(Sprite& sprite, int axis, float frame) {
  if (!(frame > 0.0f) || !std::isfinite(frame)) return;  // nothing to tile by
  auto coordinate = [&] { return sprite.GetPosition()[axis]; };
  auto moveBy = [&](float amount) {
    Vector2 target = sprite.GetPosition();
    target[axis] += amount;
    sprite.MoveTo(target);
  };
  if (!std::isfinite(coordinate())) return;
  constexpr float kManyFrames = 4096.0f;
  if (std::fabs(coordinate()) > kManyFrames * frame) {
    moveBy(std::fmod(coordinate(), frame) - coordinate());
  }
  while (coordinate() > 0.0f) moveBy(-frame);
  while (coordinate() <= -frame) moveBy(frame);
}

}  // namespace

ScenerySprite::ScenerySprite(const std::string& name, Animation* animation, const Vector2& repeat,
                             float depth)
    : Sprite(name, animation, Vector2(0.0f, 0.0f), NO_CALLBACKS, depth),
      m_vParallaxFactor(-1.0f, -1.0f),
      m_vRepeat(repeat) {}

Sprite* ScenerySprite::Clone() const {
  return new ScenerySprite(*this);
}

void ScenerySprite::ComputeRepeat(const Vector2& extent) {
  const Animation* animation = GetAnimation();
  m_vRepeat.SetX(m_bTileX ? extent.X() / animation->GetFrameWidth() + 1.0f : 1.0f);
  m_vRepeat.SetY(m_bTileY ? extent.Y() / animation->GetFrameHeight() + 1.0f : 1.0f);
}

void ScenerySprite::FollowCamera(const Vector2& camera) {
  const Vector2& position = GetPosition();
  MoveTo(Vector2(position.X() + m_vParallaxFactor.X() * camera.X(),
                 position.Y() + m_vParallaxFactor.Y() * camera.Y()));
}

void ScenerySprite::Draw(const Vector2& offset, int /*flags*/) {
  VT_ASSERT(m_animation);
  if (m_bTileX) WrapAxis(*this, 0, m_animation->GetFrameWidth());
  if (m_bTileY) WrapAxis(*this, 1, m_animation->GetFrameHeight());
  const Vector2 screen(GetPosition().X() - offset.X(), GetPosition().Y() - offset.Y());
  m_animation->Draw(screen, m_vRepeat, GetFrame(), IsFacingLeft(), 0.0f, Vector2(0.0f, 0.0f), 0.0f,
                    CachedVector(1.0f, 1.0f));
}
