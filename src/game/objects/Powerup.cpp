#include "game/objects/Powerup.h"

#include "game/player/PlayerObject.h"
#include "game/world/World.h"

Powerup::Powerup(const std::string& name, Animation* animation, const Vector2& position,
                 ObjectCallbacks callbacks, float depth)
    : GameObject(name, animation, position, callbacks, depth) {}

Powerup* Powerup::Clone() const {
  return new Powerup(*this);
}

void Powerup::OnPickup() {
  if (PlayerObject* player = World::GetPlayer()) player->AddOrb(m_nColor);
  SetDead(true);
  SetVisible(false);
}

void Powerup::Fall() {
  if (!IsAirborne()) return;
  const CachedVector& velocity = GetVelocity();
  SetVelocity(velocity.X(), velocity.Y() + kGravity);
}
