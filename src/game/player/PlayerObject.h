// The player room holds the hero, its movement and special moves, and its combat and
// orbs.
//
// The hero "ZodirazO": its state machine, input handling, movement, special
// moves (Stride, Cyclone, WallJump, SuperJump), energy, ability bits, orb
// queues and score, and the tuning file that sets it all up.
#pragma once

#include <deque>
#include <istream>
#include <optional>
#include <string>

#include "game/objects/GameObject.h"

inline constexpr int MAX_PLAYER_HEALTH = 3;

// The ability bits, as the HUD's icons grant them.
inline constexpr int ABILITY_STRIDE = 1;
inline constexpr int ABILITY_WALL_JUMP = 2;
inline constexpr int ABILITY_CYCLONE = 4;
inline constexpr int ABILITY_SUPER_JUMP = 8;

// Orb colours.
inline constexpr int ORB_PLAIN = 0;
inline constexpr int ORB_CRACKED = 1;
inline constexpr int ORB_RED = 2;
inline constexpr int ORB_GREEN = 3;
inline constexpr int ORB_BLUE = 4;

// Values in the hero's tuning file, one per line.
inline constexpr int kHeroTuningValues = 42;
// The longest combo or message window the tuning file may give, in frames.
inline constexpr int kMaxHeroTuningFrames = 10000;
// What is wrong with `value` on tuning line `line` (1-based), or nothing: every
// value finite, braking below 0, maximum speeds and energy above 0, refill and
// drains and damage values not negative, frame counts whole, from 0 to
// kMaxHeroTuningFrames.
std::optional<std::string> HeroTuningProblem(int line, float value);

// The orb a pickup of `color` gives: red, green and blue stay, anything else is plain.
int OrbColorOfPickup(int color);

// Player state numbers (also the animation states where a move sets one).
enum PlayerState : int {
  PLAYER_IDLE = 1,
  PLAYER_RUN = 2,
  PLAYER_SWORD = 3,
  PLAYER_GUN = 15,
  PLAYER_STRIDE = 16,
  PLAYER_CYCLONE = 17,
  PLAYER_SUPER_JUMP = 18,
  PLAYER_AIR = 19,
  PLAYER_WALL_JUMP = 20,
};

// One program-wide gravity per frame; the wall slide takes a quarter of it.
inline constexpr float kGravity = 0.7f;

class PlayerObject : public GameObject {
 public:
  using StateHandlerFn = void (PlayerObject::*)();

  // Locals of the running move; every ChangeState clears all but the window.
  struct LocalVars {
    int m_iCurOrb = 0;
    int m_nRedCount = 0;
    int m_nGreenCount = 0;
    int m_nBlueCount = 0;
    unsigned m_uComboWindowStart = 6;
    unsigned m_uComboWindowEnd = 24;
    int m_nFramesSinceSwing = 0;
  };

  // The tuning file every level's hero reads.
  static constexpr const char* kTuningFile = "data/ZodirazO.ini";

  // Needs the HUD: shows an empty energy bar and plain orbs; starts in the air.
  PlayerObject(const std::string& name, Animation* animation, const Vector2& position,
               ObjectCallbacks callbacks, float depth);
  // The copy starts again at attack id 1.
  PlayerObject(const PlayerObject& other);
  PlayerObject& operator=(const PlayerObject&) = delete;
  ~PlayerObject() override;

  PlayerObject* Clone() const override;
  void CopyOrbs(const PlayerObject& other);
  void CopyAbilities(const PlayerObject& other);

  // The seven movement values, then values 8 to 42 of the tuning file. Values
  // that are missing, not numbers or outside their rules keep their defaults,
  // each fault reported on stderr naming kTuningFile.
  void LoadParameters(std::istream& in) override;
  // The same, naming `source` in the reports.
  void LoadParameters(std::istream& in, const std::string& source);
  // Opens and reads the tuning file; a missing file is reported and leaves the defaults.
  void LoadTuningFile(const std::string& path = kTuningFile);

  // The player state machine's only entry. Refused special moves leave the
  // handler and animation as they were.
  void ChangeState(int state);
  void SetAirborne(bool airborne) override;
  void OnLanded() override;
  void SetWallContact();
  void Kill() override;
  // An orb hit.
  void TakeDamage(int amount) override;

  float GetEnergy() const { return m_fEnergy; }
  void SetEnergy(float energy);
  float GetMaxEnergy() const { return m_fMaxEnergy; }
  void DrainEnergy(float amount);
  void RefillEnergy(float amount);
  void ToggleAbility(int mask);
  int GetAbilities() const { return m_nAbilities; }
  // False while the camera shows something else and holds the hero.
  static bool IsControlEnabled();
  void EndSpecialMove();
  // The frame-change callback: the sword state ends on its last frame.
  bool OnAnimationEnd();

  // Once per behaviour pass.
  void HandleInput();
  void StateGround();
  void StateAir();
  void StateSuperJump();
  void StateStride();
  void StateCyclone();
  void StateWallJump();
  void StateSword();
  void StateGun();
  StateHandlerFn GetStateHandler() const { return m_stateHandler; }

  void MoveHorizontal(float maxSpeed, float acceleration, float braking);
  void ApplyFriction(float braking);
  void ApplyGravity(float gravity);
  void ProbeGround(bool enterAirState);
  void FollowSlope();
  // In the air, goes up to a still ground face steeper than 45 degrees (not an
  // upright wall) that this frame's motion meets, and slides along it from there.
  void SlideOntoSteepFace();

  // Orbs, attacks and score.
  void SetOrbs(int front, int middle, int back);
  void RestoreOrbs();
  bool IsFrontOrbCracked() const;
  void AddOrb(int color);
  void UpdateHUD();
  int GetScore() const { return m_nScore; }
  void SetScore(int score) { m_nScore = score; }
  void NextAttackId();
  int GetAttackId() const { return m_nAttackId; }
  float GetAttackDamage() const { return m_fAttackDamage; }
  float GetOrbDamage(float bonus) const;
  void RestartComboTimer();
  bool IsComboTimerRunning() const { return m_nComboCountdown != 0; }

  const std::deque<int>& GetOrbQueue() const { return m_tripleOrbQueue; }
  const std::deque<bool>& GetCrackQueue() const { return m_tripleCrackQueue; }
  const LocalVars& GetLocalVars() const { return m_LocalVars; }
  bool IsInvulnerable() const { return m_bInvulnerable; }
  int GetHitBlinkTimer() const { return m_nHitBlinkTimer; }
  int GetWallPushFrames() const { return m_nWallPushFrames; }
  int GetComboMessageWindow() const { return m_nComboMessageWindow; }
  bool HasLandedThisFrame() const { return m_bLandedThisFrame; }
  bool HasWallContactThisFrame() const { return m_bWallContactThisFrame; }
  float GetStrideMaxSpeed() const { return m_fStrideMaxSpeed; }
  float GetCycloneBraking() const { return m_fCycloneBraking; }
  float GetGroundRefill() const { return m_fGroundRefill; }

 private:
  // Energy above a quarter of the maximum starts a special move.
  bool IsEnergyOk() const { return m_fEnergy > 0.25f * m_fMaxEnergy; }
  // Shows the energy fraction on the HUD bar.
  void ShowEnergy() const;
  // Runs CheckCollision against the World's objects with the velocity set to
  // `probe`; the velocity is restored and the parked vector cleared.
  Contact Probe(float probeX, float probeY);
  // The combo counter of a charged colour (its level), or null for the others.
  int* ColorLevel(int color);
  // The sword's and gun's braking, gravity and ground probe; false when the
  // ground was lost and the air state took over.
  bool BrakeAndProbe();
  // Vertex 0 of polygon 2 of the world shape.
  Vector2 MuzzlePoint() const;
  void FireShot(int color);

  std::deque<int> m_tripleOrbQueue;
  std::deque<bool> m_tripleCrackQueue;
  int m_nAttackId = 1;
  int m_nScore = 0;
  float m_fSuperJumpVelocity = -11.5f;
  float m_fHoldJumpGravityFactor = 0.4f;
  float m_fSuperJumpGravityFactor = 0.2f;
  float m_fRiseThreshold = -5.0f;
  float m_fSuperJumpTrigger = 4.0f;
  int m_nHitBlinkTimer = 0;
  bool m_bInvulnerable = false;
  float m_fStrideMaxSpeed = 12.0f;
  float m_fStrideAcceleration = 2.0f;
  float m_fStrideBraking = -1.0f;
  float m_fCycloneMaxSpeed = 8.0f;
  float m_fCycloneAcceleration = 1.0f;
  float m_fCycloneBraking = -0.4f;
  float m_fWallJumpKick = 10.0f;
  LocalVars m_LocalVars;
  int m_nWallPushFrames = 0;
  float m_fEnergy = 0.0f;
  float m_fMaxEnergy = 200.0f;
  float m_fStrideDrain = 2.0f;
  float m_fCycloneDrain = 2.0f;
  float m_fSuperJumpDrain = 2.0f;
  float m_fGroundRefill = 0.2f;
  float m_afBaseDamage[3] = {2.0f, 3.0f, 4.0f};
  float m_afColorDamage[3][3] = {{2.0f, 5.0f, 7.0f}, {2.0f, 4.0f, 6.0f}, {2.0f, 3.0f, 5.0f}};
  float m_fStrideDamage = 10.0f;
  float m_fCycloneDamage = 10.0f;
  bool m_bLandedThisFrame = false;
  bool m_bWallContactThisFrame = false;
  float m_fAttackDamage = 0.0f;
  // The shipped file's value; the tuning file sets it.
  int m_nComboMessageWindow = 90;
  int m_nComboCountdown = 0;
  int m_nAbilities = 0;
  StateHandlerFn m_stateHandler = nullptr;
};

// The hero's callbacks, as the level loader installs them.
bool PlayerQueryThunk(GameObject* object);
void PlayerInputThunk(GameObject* object);
