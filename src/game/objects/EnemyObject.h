// Enemies and boss parts: a game object that remembers which hero attack last
// hurt it (each attack hurts it once), whether a spawner summoned it, and whether
// touching it leaves the hero unharmed.
#pragma once

#include "game/objects/GameObject.h"

class EnemyObject : public GameObject {
 public:
  EnemyObject(const std::string& name, Animation* animation, const Vector2& position,
              ObjectCallbacks callbacks, float depth);
  // The copy can be hurt again by the attack that last hurt the original.
  EnemyObject(const EnemyObject& other);
  EnemyObject& operator=(const EnemyObject& other) = default;
  ~EnemyObject() override = default;

  EnemyObject* Clone() const override;
  // Enemies die through their behaviours, never by Kill.
  void Kill() override {}
  // Enemy behaviours follow "OnGround"; the airborne flag keeps its first value.
  void SetAirborne(bool) override {}
  bool IsEnemy() const override { return true; }

  bool IsSummoned() const { return m_bSummoned; }
  void SetSummoned(bool summoned) { m_bSummoned = summoned; }
  bool HasNoContactDamage() const { return m_bNoContactDamage; }
  void SetNoContactDamage(bool noContactDamage) { m_bNoContactDamage = noContactDamage; }
  int GetLastHitAttackId() const { return m_nLastHitAttackId; }
  void SetLastHitAttackId(int id) { m_nLastHitAttackId = id; }

 private:
  int m_nLastHitAttackId = 0;
  bool m_bSummoned = false;
  bool m_bNoContactDamage = false;
};
