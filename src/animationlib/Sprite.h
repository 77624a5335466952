// A physics object that plays an animation: the current frame and its timer with
// frame sounds and a veto callback, the behaviour function, a depth for draw
// order, visibility, and drawing extras (draw angle, orbit rotation, scale pulse).
#pragma once

#include <cstdint>
#include <string>

#include "PhysicsLib/Contact.h"
#include "PhysicsLib/PhysicsObject.h"
#include "animationlib/Animation.h"
#include "geometry/Vector2.h"

class GameObject;

// Asked before a sprite leaves a frame whose time ran out; false holds the frame.
using FrameChangeFn = bool (*)(GameObject*);
// One state of an object's behaviour.
using BehaviorFn = void (*)(GameObject*);

// The callbacks every sprite and game object is built with.
struct ObjectCallbacks {
  FrameChangeFn frameChange = nullptr;
  BehaviorFn behavior = nullptr;
  CollisionCallback collision = nullptr;
};

// Plays a frame's sound by its name. The game installs one; without it sprites
// are silent, so this library needs no sound engine of its own.
using FrameSoundFn = void (*)(const std::string& sound);

// For loaders that build objects without callbacks.
inline constexpr ObjectCallbacks NO_CALLBACKS{};

// The passes of an object list, as bits of its pass mask.
enum PassFlags : int {
  PASS_DRAW = 1,
  PASS_ANIMATE = 2,   // frame timers and scale pulses
  PASS_BEHAVIOR = 4,  // behaviours and physics
  PASS_ALL = 7,
};

class Sprite : public PhysicsObject {
 public:
  // `animation` must not be null; frame 0 becomes current.
  Sprite(const std::string& name, Animation* animation, const Vector2& position,
         ObjectCallbacks callbacks, float depth);
  // A copy does not take over a running scale pulse.
  Sprite(const Sprite& other);
  // Assignment copies everything, the pulse included.
  Sprite& operator=(const Sprite& other);
  ~Sprite() override = default;

  // Queues the current frame at its position minus `offset`; `flags` is the
  // list's pass mask (the scale pulse steps only in animated lists).
  virtual void Draw(const Vector2& offset, int flags);
  virtual Sprite* Clone() const;

  // Who plays frame sounds; null for silence.
  static void SetFrameSoundPlayer(FrameSoundFn player) { s_frameSound = player; }
  static FrameSoundFn GetFrameSoundPlayer() { return s_frameSound; }

  // The object callbacks are handed: the game object this sprite is, or null
  // for a plain sprite, which therefore must not be given callbacks.
  virtual GameObject* AsGameObject() { return nullptr; }

  // The frame timer, when the sprite is neither dead nor inactive.
  void Tick();
  void AdvanceFrameTimer();
  // Asks the frame-change callback, then moves to the current frame's successor.
  void AdvanceFrame();
  // Makes frame i current: its shape and its ticks.
  void SetFrame(int i);
  void RunBehavior();
  // Plays `animation` from frame 0.
  void SetAnimation(Animation* animation);
  // Shows `animation` in place of the current one from the same frame, its timer running
  // on: for another look of the same frames, ticks and shapes. The collision shape is left
  // as it is, so the change cannot move anything; a look of another frame count is refused.
  bool SwapLook(Animation* animation);

  // (period in frames, step per period, steps per half cycle, pulsing). Ignored
  // while a pulse runs and `pulsing` is true.
  void StartPulse(int period, float step, int count, bool pulsing);
  // Clearing it lets a running pulse wind back.
  void SetPulsing(bool pulsing) { m_bPulsing = pulsing; }
  bool IsPulsing() const { return m_bPulsing; }

  const std::string& GetName() const { return m_sName.text; }
  void SetName(const std::string& name) { m_sName = Name(name); }
  // Counts every change of any sprite's name, assignment included: a lookup by name may keep
  // its answer while this and its list stay the same.
  static std::uint64_t NameChangeCount() { return s_nameChanges; }
  Animation* GetAnimation() const { return m_animation; }
  int GetFrame() const { return m_nFrame; }
  int GetTicksLeft() const { return m_nTicksLeft; }
  void SetTicksLeft(int ticks) { m_nTicksLeft = ticks; }
  int ReloadFrameTicks();
  int GetNextFrameIndex() const;
  float GetDepth() const { return m_fDepth; }
  void SetDepth(float depth) { m_fDepth = depth; }
  bool IsVisible() const { return m_bVisible; }
  Sprite* SetVisible(bool visible) {
    m_bVisible = visible;
    return this;
  }
  bool GetDeactivateOffscreen() const { return m_bDeactivateOffscreen; }
  Sprite* SetDeactivateOffscreen(bool deactivate) {
    m_bDeactivateOffscreen = deactivate;
    return this;
  }
  BehaviorFn GetBehavior() const { return m_behavior; }
  Sprite* SetBehavior(BehaviorFn behavior) {
    m_behavior = behavior;
    return this;
  }
  FrameChangeFn GetFrameChangeCallback() const { return m_frameChange; }
  Sprite* SetFrameChangeCallback(FrameChangeFn callback) {
    m_frameChange = callback;
    return this;
  }
  float GetDrawAngle() const { return m_fDrawAngle; }
  void SetDrawAngle(float angle) { m_fDrawAngle = angle; }
  float GetOrbitAngle() const { return m_fOrbitAngle; }
  void SetOrbitAngle(float angle) { m_fOrbitAngle = angle; }
  float GetOrbitCentreX() const { return m_fOrbitCentreX; }
  float GetOrbitCentreY() const { return m_fOrbitCentreY; }
  void SetOrbitCentreX(float x) { m_fOrbitCentreX = x; }
  void SetOrbitCentreY(float y) { m_fOrbitCentreY = y; }

 protected:
  // Steps the scale pulse by one animated frame.
  void StepPulse();

  Animation* m_animation;

 private:
  // The callbacks' object; asserts for a plain sprite.
  GameObject* CallbackTarget();

  inline static FrameSoundFn s_frameSound = nullptr;
  struct Name {
    std::string text;
    explicit Name(const std::string& name) : text(name) {}
    Name(const Name&) = default;
    Name& operator=(const Name& other) {
      text = other.text;
      ++s_nameChanges;
      return *this;
    }
  };
  static inline std::uint64_t s_nameChanges = 0;

  Name m_sName;
  int m_nFrame = 0;
  int m_nTicksLeft = 0;
  float m_fDepth;
  FrameChangeFn m_frameChange;
  BehaviorFn m_behavior;
  float m_fDrawAngle = 0.0f;
  float m_fOrbitAngle = 0.0f;
  float m_fOrbitCentreX = 0.0f;
  float m_fOrbitCentreY = 0.0f;
  bool m_bDeactivateOffscreen = true;
  bool m_bPulsing = false;
  int m_nPulsePeriod = 0;
  float m_fPulseStep = 0.0f;
  int m_nPulseCount = 0;
  int m_nPulseCounter = 0;
  bool m_bVisible = true;
};
