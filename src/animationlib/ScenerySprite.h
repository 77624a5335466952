// A background sprite: it scrolls by a parallax factor of the camera's movement
// and repeats across and down the screen, wrapping its position to stay in view.
#pragma once

#include <string>

#include "animationlib/Sprite.h"

class ScenerySprite : public Sprite {
 public:
  // At (0, 0) with no callbacks, parallax (-1, -1) (fixed in the world), tiling
  // both ways.
  ScenerySprite(const std::string& name, Animation* animation, const Vector2& repeat, float depth);
  ScenerySprite(const ScenerySprite& other) = default;
  ~ScenerySprite() override = default;

  // Wraps the position into one frame of the origin on the tiled axes, then
  // queues the repeated frame. The flags are not used.
  void Draw(const Vector2& offset, int flags) override;
  Sprite* Clone() const override;

  void SetParallaxFactor(const Vector2& factor) { m_vParallaxFactor = factor; }
  const Vector2& GetParallaxFactor() const { return m_vParallaxFactor; }
  void SetTileX(bool tile) { m_bTileX = tile; }
  void SetTileY(bool tile) { m_bTileY = tile; }
  bool GetTileX() const { return m_bTileX; }
  bool GetTileY() const { return m_bTileY; }
  const Vector2& GetRepeat() const { return m_vRepeat; }

  // Copies needed to cover `extent` on each tiled axis (extent / frame + 1), else 1.
  void ComputeRepeat(const Vector2& extent);
  // Moves by the parallax factor times the camera's movement.
  void FollowCamera(const Vector2& camera);

 private:
  Vector2 m_vParallaxFactor;
  Vector2 m_vRepeat;
  bool m_bTileX = true;
  bool m_bTileY = true;
};
