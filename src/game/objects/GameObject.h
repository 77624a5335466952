// The objects room holds GameObject and its kinds (EnemyObject, Powerup), the handles
// that link objects, the prototype reader, the collision responses and the behaviour
// registry.
//
// The object of play: a sprite with movement parameters, health, a state number,
// the named float properties (m_Flags) through which behaviours keep all their
// state, the last collision contact, and a table of which animation each state
// shows. Enemies, pickups, triggers, effects, HUD parts and the hero are all
// GameObjects or derive from it.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

#include "PhysicsLib/Contact.h"
#include "animationlib/Animation.h"
#include "animationlib/Sprite.h"
#include "game/objects/ObjectHandle.h"
#include "game/world/GameConstants.h"

// The seven movement parameters, kept together in this order: the property file
// and the copies treat them as one block.
struct MovementParameters {
  float groundMaxSpeed = 6.0f;
  float groundAcceleration = 2.0f;
  float groundBraking = -1.0f;  // negative: its magnitude comes off the speed
  float airMaxSpeed = 3.0f;
  float airAcceleration = 1.0f;
  float airBraking = -1.0f;
  float jumpVelocity = -11.5f;  // y grows downward, so up is negative
};

// One row of the state-to-animation table.
struct StateAnimation {
  Animation* animation;
  int state;
};

class GameObject : public Sprite {
 public:
  static constexpr int kDeadState = OBJECT_DEAD;
  static constexpr int kFirstAttackState = OBJECT_FIRST_ATTACK;
  static constexpr int kLastAttackState = OBJECT_CYCLONE;

  // Registers `animation` for state 1.
  GameObject(const std::string& name, Animation* animation, const Vector2& position,
             ObjectCallbacks callbacks, float depth);
  // A copy has a handle of its own and an empty last contact.
  GameObject(const GameObject& other);
  // Assigns everything, the last contact included; the handle stays this object's.
  GameObject& operator=(const GameObject& other);
  ~GameObject() override;

  GameObject* Clone() const override;
  GameObject* AsGameObject() override { return this; }
  // Reads the seven movement parameters, one per line; the rest of each line is
  // a comment. A value that is not a number fails the stream, and it and every
  // later value keep their defaults.
  virtual void LoadParameters(std::istream& in);
  // Dead state, out of the way at (2000, 2000).
  virtual void Kill();
  virtual void SetAirborne(bool airborne);
  virtual void OnLanded();
  virtual void TakeDamage(int amount);
  virtual bool IsEnemy() const { return false; }
  virtual bool IsPowerup() const { return false; }

  // Declares a property; an existing one keeps its value. Points at the entry.
  float* AddFlag(const std::string& name, float value);
  // Reading or writing an undeclared property is a programming error.
  float& GetFlag(const std::string& name);
  void SetFlag(const std::string& name, float value);
  const std::map<std::string, float>& GetFlags() const { return m_Flags; }
  void CopyFlags(const GameObject& other);

  // Replaces the first entry for `state`, or appends one.
  void AddStateAnimation(Animation* animation, int state);
  void CopyStateAnimations(const GameObject& other);
  const std::vector<StateAnimation>& GetStateAnimations() const { return m_vStateAnimations; }
  // Stores the state and restarts the animation of its first entry that has one;
  // without such an entry the current animation plays on.
  void SetState(int state);
  int GetState() const { return m_nState; }
  bool IsAttacking() const { return m_nState >= kFirstAttackState && m_nState <= kLastAttackState; }
  // True on the last tick of a frame that does not lead forward.
  bool IsAnimationFinished() const;

  void SetLastContact(const Contact& contact) { m_lastContact = contact; }
  // The stored contact, which is then reset: each contact is taken once.
  Contact TakeLastContact();

  int GetHealth() const { return m_nHealth; }
  bool IsAirborne() const { return m_bAirborne; }
  const MovementParameters& GetMovement() const { return m_movement; }
  ObjectHandle GetHandle() const { return m_handle; }

 protected:
  MovementParameters m_movement;
  int m_nHealth = 3;
  bool m_bAirborne = true;
  int m_nState = 1;
  std::map<std::string, float> m_Flags;
  Contact m_lastContact;
  std::vector<StateAnimation> m_vStateAnimations;

 private:
  ObjectHandle m_handle;
};

// The frame-change callback the loaders give the objects they build: stores the
// frame being left in "FrameChange" (declaring it when no behaviour has) and
// never holds it.
bool FrameChangeCallback(GameObject* object);
