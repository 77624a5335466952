#include "game/Powerup.h"

namespace {
// The hero's gravity, pixels per frame per frame.
constexpr float kGravity = 0.7f;
}  // namespace

Powerup::Powerup(const std::string& name, Animation* animation, const Vector2& position,
                 ObjectCallbacks callbacks, float depth)
    : GameObject(name, animation, position, callbacks, depth) {}

Powerup* Powerup::Clone() const {
  return new Powerup(*this);
}

void Powerup::OnPickup() {
  // HOOK(player object): the hero's AddOrb(m_nColor) once PlayerObject exists.
  SetDead(true);
  SetVisible(false);
}

void Powerup::Fall() {
  if (!IsAirborne()) return;
  const CachedVector& velocity = GetVelocity();
  SetVelocity(velocity.X(), velocity.Y() + kGravity);
}
