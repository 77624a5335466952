// A pickup that carries an orb colour for the hero. The game's own pickups are
// plain GameObjects run by the "Powerup" behaviour; this class keeps the same
// rules for objects built as pickups directly.
#pragma once

#include "game/objects/GameObject.h"

class Powerup : public GameObject {
 public:
  Powerup(const std::string& name, Animation* animation, const Vector2& position,
          ObjectCallbacks callbacks, float depth);
  Powerup(const Powerup& other) = default;
  Powerup& operator=(const Powerup& other) = default;
  ~Powerup() override = default;

  Powerup* Clone() const override;
  bool IsPowerup() const override { return true; }

  // Gives the colour to the hero, then disappears.
  void OnPickup();
  // Gravity while airborne.
  void Fall();

  int GetColor() const { return m_nColor; }
  void SetColor(int color) { m_nColor = color; }

 private:
  int m_nColor = 0;
};
