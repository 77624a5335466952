// The hero: construction, copies, tuning, the state machine, energy and orbs.
#include "game/PlayerObject.h"

#include "animationlib/SpriteCollection.h"
#include "game/World.h"

PlayerObject::PlayerObject(const std::string& name, Animation* animation, const Vector2& position,
                           ObjectCallbacks callbacks, float depth)
    : GameObject(name, animation, position, callbacks, depth),
      m_tripleOrbQueue(MAX_PLAYER_HEALTH, ORB_PLAIN),
      m_tripleCrackQueue(MAX_PLAYER_HEALTH, false) {}

PlayerObject::PlayerObject(const PlayerObject& other) : GameObject(other) {}
PlayerObject::~PlayerObject() = default;
PlayerObject* PlayerObject::Clone() const { return new PlayerObject(*this); }
void PlayerObject::CopyOrbs(const PlayerObject&) {}
void PlayerObject::CopyAbilities(const PlayerObject&) {}
void PlayerObject::LoadParameters(std::istream& in) { LoadParameters(in, kTuningFile); }
void PlayerObject::LoadParameters(std::istream& in, const std::string&) { GameObject::LoadParameters(in); }
void PlayerObject::LoadTuningFile(const std::string&) {}
void PlayerObject::ChangeState(int) {}
void PlayerObject::SetAirborne(bool airborne) { m_bAirborne = airborne; }
void PlayerObject::OnLanded() { m_bLandedThisFrame = true; }
void PlayerObject::SetWallContact() { m_bWallContactThisFrame = true; }
void PlayerObject::Kill() { GameObject::SetState(kDeadState); }
void PlayerObject::TakeDamage(int) {}
void PlayerObject::SetEnergy(float energy) { m_fEnergy = energy; }
void PlayerObject::DrainEnergy(float) {}
void PlayerObject::RefillEnergy(float) {}
void PlayerObject::ToggleAbility(int mask) { m_nAbilities ^= mask; }
bool PlayerObject::IsControlEnabled() { return World::IsPlayFrame(); }
void PlayerObject::EndSpecialMove() {}
bool PlayerObject::OnAnimationEnd() { return true; }
void PlayerObject::SetOrbs(int, int, int) {}
void PlayerObject::RestoreOrbs() {}
bool PlayerObject::IsFrontOrbCracked() const { return m_tripleOrbQueue.front() == ORB_CRACKED; }
void PlayerObject::AddOrb(int) {}
void PlayerObject::UpdateHUD() {}
void PlayerObject::NextAttackId() {}
float PlayerObject::GetOrbDamage(float bonus) const { return bonus; }
void PlayerObject::RestartComboTimer() {}
void PlayerObject::ShowEnergy() const {}

bool PlayerQueryThunk(GameObject* object) {
  return static_cast<PlayerObject*>(object)->OnAnimationEnd();
}
void PlayerInputThunk(GameObject* object) {
  static_cast<PlayerObject*>(object)->HandleInput();
}

PlayerObject* World::GetPlayer() {
  if (!m_cscObjects) return nullptr;
  for (Sprite* sprite : m_cscObjects->GetSprites()) {
    if (sprite->GetName() != kPlayerName) continue;
    if (auto* player = dynamic_cast<PlayerObject*>(sprite)) return player;
  }
  return nullptr;
}
