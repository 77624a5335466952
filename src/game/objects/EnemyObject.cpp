#include "game/objects/EnemyObject.h"

EnemyObject::EnemyObject(const std::string& name, Animation* animation, const Vector2& position,
                         ObjectCallbacks callbacks, float depth)
    : GameObject(name, animation, position, callbacks, depth) {}

EnemyObject::EnemyObject(const EnemyObject& other)
    : GameObject(other),
      m_nLastHitAttackId(0),
      m_bSummoned(other.m_bSummoned),
      m_bNoContactDamage(other.m_bNoContactDamage) {}

EnemyObject* EnemyObject::Clone() const {
  return new EnemyObject(*this);
}
