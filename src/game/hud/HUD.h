// The hud room holds the HUD, its point messages and combo texts.
//
// The screen overlay of play: the hero's orbs with their cracks and break
// bursts, the energy bar, the ability icons (which are also the switches that
// grant abilities), the warning labels, the score and the play time. Its parts
// are GameObjects in a sprite collection of their own, in screen coordinates.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/ComboText.h"
#include "geometry/Vector2.h"

class AnimationCollection;
class GameObject;

class HUD {
 public:
  static constexpr int kAnimationCount = 16;
  // Loaded in this order; each is found again by its file's base name.
  static const char* const kAnimationFiles[kAnimationCount];
  // The orb slots along the panel and their pitch.
  static constexpr float kOrbSlotX[3] = {179.0f, 216.0f, 253.0f};
  static constexpr float kOrbY = 113.0f;
  static constexpr int kBreakParticles = 13;

  // Loads the 16 animation files from the working folder and builds the HUD,
  // which becomes the instance for its life. Null, with `error` naming the
  // file, when a file is missing or unreadable.
  static std::unique_ptr<HUD> Create(std::string& error);
  // Loads one piece of HUD or loading-screen art into `into`, found again by its
  // file's base name. False, with `error` naming the file, when it is missing,
  // unreadable or holds no frame: no part can be built on it.
  static bool LoadArt(AnimationCollection& into, const std::string& file, std::string& error);
  ~HUD();
  HUD(const HUD&) = delete;
  HUD& operator=(const HUD&) = delete;

  static HUD* GetInstance() { return spMe; }
  // The HUD's sprites; null while there is no HUD.
  static SpriteCollection* GetObjects();
  static void SetMask(int mask);
  // Takes ownership and re-sorts by depth; without a HUD the sprite is deleted.
  static void AddSprite(Sprite* sprite);

  AnimationCollection& GetAnimations() { return *m_animations; }
  // A HUD part by name, or null.
  static GameObject* FindObject(const std::string& name);

  void SetColor(D3DCOLOR color) { m_color = color; }
  D3DCOLOR GetColor() const { return m_color; }

  // Energy and abilities.
  void SetEnergy(float fraction);
  static float GetEnergy() { return s_energy; }
  static bool IsEnergyFull() { return s_energyFull; }
  void SetAbilities(int bits);
  void ShowStride(bool show);
  void ShowWallJump(bool show);
  void ShowCyclone(bool show);
  void ShowSuperJump(bool show);
  bool HasStride() const;
  bool HasWallJump() const;
  bool HasCyclone() const;
  bool HasSuperJump() const;

  // Score and time.
  void SetScore(int score);
  void AddToScore(int points);
  void RebuildScoreText();
  static int GetScore() { return s_score; }
  // Points waiting to roll into the displayed score.
  static void SetPending(int points) { s_pendingScore = points; }
  static int GetPending() { return s_pendingScore; }
  const std::string& GetScoreText() const { return m_sScore; }
  int GetPendingScore() const;
  // Everything still on its way rolls in at once: the pending score and every
  // queued message, worth its points times its count, as if each had expired.
  void RollInEverything();
  static void SetTime(int seconds) { s_time = seconds; }
  static int GetTime() { return s_time; }

  // Orbs.
  void SetOrbs(std::deque<int> orbs, std::deque<bool> cracks);
  void AddOrb(int color);
  void CrackOrb(int i);
  void ResetOrbs();
  void Clear();
  void StartBreakOrb(int color, const Vector2& point);
  void UpdateBreakOrb(int color, bool start);
  void UpdateCompletion();

  // Point messages and combos. Kinds 0 to 6; another kind is a programming error.
  static constexpr int kMessageKinds = 7;
  void AddMessage(int points, int kind, int a, int r, int g, int b);
  void UpdateCombo(int points, int kind, int a, int r, int g, int b);
  const std::deque<ComboText>& GetMessages() const { return m_messages; }
  // The decimal digits of the magnitude; "0" for 0.
  static std::string FormatNumber(int value);
  // The slide of a new orb has this many frames left; 0 when none runs.
  static int GetSlideCountdown() { return s_slideCountdown; }

  // One frame: the orb slide, the parts' pass, the score roll-in, the score and
  // time texts, then the point messages.
  void Update();
  // Opens the fonts of the score, the time and the point messages and renders
  // every glyph they can show, so that loading pays for them, not play.
  static void PrepareTexts();

  // The warning labels' behaviour and the "Holder" frame-change callback.
  static void LabelBehavior(GameObject* label);
  static bool HolderFrameChange(GameObject* holder);
  static bool IsOrbWarning() { return s_orbWarning; }
  static bool IsEnergyWarning() { return s_energyWarning; }
  static bool IsOrbsComplete() { return s_orbsComplete; }

 private:
  explicit HUD(std::unique_ptr<AnimationCollection> animations);
  void BuildObjects();
  // The icon's ability bit follows `show`, toggling the hero's bit on a change.
  void ShowAbility(const char* icon, int mask, bool show);
  bool HasAbility(const char* icon) const;
  // The break particles of a colour, in collection order.
  static const char* BreakName(int color);
  // The orb slide's growth, one frame; its last frame ends it.
  void StepSlide();
  // Every orb and crack at rest in its slot at full size, the pushed-out orb gone.
  void EndSlide();
  // One step of the pending score toward 0.
  void RollInScore();
  // The lift, expiry and drawing of the point messages.
  void UpdateMessages();
  // PrepareTexts' share for the point messages.
  static void PrepareMessageTexts(D3DInterface& engine);
  // Sets the label's text and stands it after the message's points text.
  static void PlaceLabel(ComboText& message);

  inline static HUD* spMe = nullptr;
  inline static std::unique_ptr<SpriteCollection> s_objects;
  inline static int s_score = 0;
  inline static int s_pendingScore = 0;
  inline static int s_time = 0;
  inline static float s_energy = 0.0f;
  inline static bool s_energyFull = false;
  inline static bool s_orbsComplete = false;
  inline static bool s_orbWarning = false;
  inline static bool s_energyWarning = false;
  inline static int s_orbWarningCounter = 0;
  inline static int s_energyWarningCounter = 0;
  inline static int s_slideCountdown = 0;
  inline static float s_slideSpeed = 37.0f / 37.0f;

  D3DCOLOR m_color = 0x00FFFFFF;
  std::deque<ComboText> m_messages;
  std::string m_asOrbNames[3];
  std::string m_asCrackNames[3];
  std::string m_sScore = "0";
  std::unique_ptr<AnimationCollection> m_animations;
};
