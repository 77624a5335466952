// The hero's orbs and attacks: hits, pickups, the sword combo, the gun and the
// attack ids that let one attack hurt each enemy once.
#include <algorithm>

#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {
// Ids wrap long before an int could overflow.
constexpr int kMaxAttackId = 100000;
// Frames the hero blinks, hidden and unhittable, after a hit.
constexpr int kHitBlinkFrames = 180;
constexpr float kShotSpeed = 10.0f;
constexpr float kShotDepth = 4.0f;
constexpr float kPlainShotDamage = 1.0f;
// The gun animation's last frame marks the muzzle with its third polygon.
constexpr int kMuzzlePolygon = 2;
constexpr int kPickupPoints = 100;
constexpr int kPowerupMessage = 1;

// The first animation state of a colour's swing or shot; the colour's level adds to it.
int AttackState(int color) {
  switch (color) {
    case ORB_RED: return 4;
    case ORB_GREEN: return 8;
    case ORB_BLUE: return 12;
    default: return 3;
  }
}

bool IsCharged(int color) { return color == ORB_RED || color == ORB_GREEN || color == ORB_BLUE; }

bool Pressed(const Input* input, ActionBits bits) { return input && input->IsPressed(bits) != 0; }

HUD* RequireHud(const char* message, int line) {
  HUD* hud = HUD::GetInstance();
  if (!hud) platform::AssertionFailed(message, __FILE__, line);
  return hud;
}
}  // namespace

int OrbColorOfPickup(int color) {
  // A cracked colour in front would end the game on a pickup, and colours past
  // blue have no orb frame: anything else is taken as a plain orb.
  return color == ORB_RED || color == ORB_GREEN || color == ORB_BLUE ? color : ORB_PLAIN;
}

void PlayerObject::TakeDamage(int) {
  if (m_bInvulnerable || m_nHealth < 1) return;
  m_bInvulnerable = true;
  --m_nHealth;
  // Cracks accumulate from the back: crack the orb just before the first cracked one.
  const auto firstCracked = std::find(m_tripleCrackQueue.begin(), m_tripleCrackQueue.end(), true);
  const int i = static_cast<int>(firstCracked - m_tripleCrackQueue.begin());
  HUD* hud = RequireHud("hud", __LINE__);
  if (i > 0) {
    m_tripleCrackQueue[i - 1] = true;
    m_tripleOrbQueue[i - 1] = ORB_CRACKED;
    hud->CrackOrb(i - 1);
  }
  VT_ASSERT(m_tripleCrackQueue.size() == MAX_PLAYER_HEALTH);
  m_nHitBlinkTimer = kHitBlinkFrames;
  EndSpecialMove();
}

void PlayerObject::AddOrb(int color) {
  color = OrbColorOfPickup(color);
  HUD* hud = RequireHud("HUD", __LINE__);
  if (IsCharged(color)) {
    hud->AddMessage(kPickupPoints, kPowerupMessage, 255, color == ORB_RED ? 255 : 0,
                    color == ORB_GREEN ? 255 : 0, color == ORB_BLUE ? 255 : 0);
  }
  // The back orb goes (the first cracked one, if any); the new one leads the attacks.
  m_tripleOrbQueue.pop_back();
  m_tripleCrackQueue.pop_back();
  m_tripleOrbQueue.push_front(color);
  m_tripleCrackQueue.push_front(false);
  m_nHealth = std::min(m_nHealth + 1, MAX_PLAYER_HEALTH);
  VT_ASSERT(m_tripleOrbQueue.size() == MAX_PLAYER_HEALTH);
  hud->AddOrb(color);
}

void PlayerObject::NextAttackId() {
  if (m_nAttackId > kMaxAttackId) m_nAttackId = 1;
  ++m_nAttackId;
}

float PlayerObject::GetOrbDamage(float bonus) const {
  VT_ASSERT(m_LocalVars.m_iCurOrb < MAX_PLAYER_HEALTH && m_LocalVars.m_iCurOrb >= 0);
  return m_afBaseDamage[m_LocalVars.m_iCurOrb] + bonus;
}

void PlayerObject::RestartComboTimer() {
  m_nComboCountdown = m_nComboMessageWindow;
}

int* PlayerObject::ColorLevel(int color) {
  switch (color) {
    case ORB_RED: return &m_LocalVars.m_nRedCount;
    case ORB_GREEN: return &m_LocalVars.m_nGreenCount;
    case ORB_BLUE: return &m_LocalVars.m_nBlueCount;
    default: return nullptr;
  }
}

bool PlayerObject::BrakeAndProbe() {
  const StateHandlerFn handler = m_stateHandler;
  ApplyFriction(IsAirborne() ? m_movement.airBraking : m_movement.groundBraking);
  ApplyGravity(kGravity);
  ProbeGround(true);
  // Walking off an edge has put the hero in the air state.
  return m_stateHandler == handler;
}

void PlayerObject::StateSword() {
  const Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);
  if (!BrakeAndProbe()) return;
  ++m_LocalVars.m_nFramesSinceSwing;

  const int frames = m_LocalVars.m_nFramesSinceSwing;
  const bool inWindow = static_cast<int>(m_LocalVars.m_uComboWindowStart) <= frames &&
                        frames <= static_cast<int>(m_LocalVars.m_uComboWindowEnd);
  // In the air only the first swing of a combo is possible.
  if (!Pressed(pInput, SWING_SWORD) || m_LocalVars.m_iCurOrb >= MAX_PLAYER_HEALTH ||
      (IsAttacking() && !inWindow) || (IsAirborne() && m_LocalVars.m_iCurOrb != 0)) {
    return;
  }
  m_LocalVars.m_nFramesSinceSwing = 0;
  const int color = m_tripleOrbQueue[m_LocalVars.m_iCurOrb];
  if (color == ORB_CRACKED) return;
  int state = AttackState(color);
  float bonus = 0.0f;
  if (int* level = ColorLevel(color)) {
    state += *level;
    bonus = m_afColorDamage[color - ORB_RED][*level];
    ++*level;
  }
  GameObject::SetState(state);
  m_fAttackDamage = GetOrbDamage(bonus);
  NextAttackId();
  ++m_LocalVars.m_iCurOrb;
}

Vector2 PlayerObject::MuzzlePoint() const {
  // The validator requires the muzzle; a gun frame without it is broken data.
  const CollisionPolygon& muzzle = GetCollisionShape().GetPolygon(kMuzzlePolygon);
  VT_ASSERT(muzzle.GetVertexCount() > 0);
  return muzzle.GetVertex(0).GetPosition();
}

void PlayerObject::FireShot(int color) {
  float damage = kPlainShotDamage;
  int state = AttackState(color);
  if (int* level = ColorLevel(color)) {
    state += *level;
    damage = m_afBaseDamage[*level];
    ++*level;
  }
  const Vector2 muzzle = MuzzlePoint();
  Sprite* clone = World::CloneSprite("Shot");
  GameObject* shot = clone ? clone->AsGameObject() : nullptr;
  if (!shot) {
    delete clone;  // no "Shot" prototype: the gun stays silent
    return;
  }
  shot->SetInactive(false);
  shot->SetState(state);
  shot->AddFlag("Damage", damage);
  shot->MoveTo(muzzle);
  shot->SetFacingLeft(IsFacingLeft());
  shot->SetVelocity(IsFacingLeft() ? -kShotSpeed : kShotSpeed, 0.0f);
  shot->SetDepth(kShotDepth);
  World::GetObjects()->Add(shot);
}

void PlayerObject::StateGun() {
  const Input* pInput = Input::GetInstance();
  if (!pInput) return;
  if (!BrakeAndProbe()) return;

  auto onLastFrame = [this] { return GetNextFrameIndex() <= GetFrame(); };
  if (!onLastFrame()) return;
  const int frame = GetFrame();
  const bool known = frame >= 0 && frame < GetAnimation()->GetFrameCount();
  const bool firstTick = known && GetTicksLeft() == GetAnimation()->GetFrames()[frame].GetTicks();
  if (firstTick && m_LocalVars.m_iCurOrb < MAX_PLAYER_HEALTH) {
    const int color = m_tripleOrbQueue[m_LocalVars.m_iCurOrb];
    if (color != ORB_CRACKED) {
      FireShot(color);
      ++m_LocalVars.m_iCurOrb;
    }
  }
  // One shot per whole orb.
  if (Pressed(pInput, FIRE_GUN) && m_LocalVars.m_iCurOrb < m_nHealth) {
    AdvanceFrame();
  } else if (IsAnimationFinished()) {
    EndSpecialMove();
  }
}
