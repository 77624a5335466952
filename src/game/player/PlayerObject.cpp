// The hero: construction, copies, tuning, the state machine, energy and orbs.
#include "game/player/PlayerObject.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {
// Everything after a value on its line is skipped, up to this many characters.
constexpr std::streamsize kMaxLineRest = 1024;

// The hero cannot exist or change its gauges without the HUD.
HUD* RequireHud(int line) {
  HUD* hud = HUD::GetInstance();
  if (!hud) platform::AssertionFailed("HUD", __FILE__, line);
  return hud;
}

void Report(const std::string& source, const std::string& message) {
  std::fprintf(stderr, "Data file \"%s\": %s\n", source.c_str(), message.c_str());
}
}  // namespace

std::optional<std::string> HeroTuningProblem(int line, float value) {
  if (!std::isfinite(value)) return "is not a finite number";
  switch (line) {
    case 3: case 6: case 15: case 18:
      // Zero would never slow the hero, and a positive value speeds it up for ever.
      if (!(value < 0.0f)) return "is a braking value and must be below 0";
      break;
    case 1: case 4: case 13: case 16:
      if (!(value > 0.0f)) return "is a maximum speed and must be above 0";
      break;
    case 23:
      // The energy bar divides by it.
      if (!(value > 0.0f)) return "is the maximum energy and must be above 0";
      break;
    case 25: case 26: case 27: case 28:
      if (value < 0.0f) return "is a refill or drain and must not be negative";
      break;
    case 29: case 30: case 31: case 32: case 33: case 34: case 35: case 36: case 37:
    case 38: case 39: case 40: case 41: case 42:
      // A negative damage would heal, and would take points off the score.
      if (value < 0.0f) return "is a damage value and must not be negative";
      break;
    case 20: case 21: case 22:
      // They are kept as integers, which a larger count would overflow; no window lasts
      // minutes.
      if (value < 0.0f || value != std::floor(value) || value > kMaxHeroTuningFrames) {
        return "is a frame count and must be a whole number from 0 to " +
               std::to_string(kMaxHeroTuningFrames);
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

PlayerObject::PlayerObject(const std::string& name, Animation* animation, const Vector2& position,
                           ObjectCallbacks callbacks, float depth)
    : GameObject(name, animation, position, callbacks, depth) {
  for (int i = 0; i < MAX_PLAYER_HEALTH; ++i) {
    m_tripleOrbQueue.push_back(ORB_PLAIN);
    m_tripleCrackQueue.push_back(false);
  }
  m_nHealth = MAX_PLAYER_HEALTH;
  VT_ASSERT(m_tripleOrbQueue.size() == MAX_PLAYER_HEALTH);
  SetVelocity(0.0f, 0.0f);
  HUD* hud = RequireHud(__LINE__);
  hud->SetEnergy(0.0f);
  hud->ResetOrbs();
  ChangeState(PLAYER_AIR);
}

PlayerObject::PlayerObject(const PlayerObject& other)
    : GameObject(other),
      m_tripleOrbQueue(other.m_tripleOrbQueue),
      m_tripleCrackQueue(other.m_tripleCrackQueue),
      m_nAttackId(1),
      m_nScore(other.m_nScore),
      m_fSuperJumpVelocity(other.m_fSuperJumpVelocity),
      m_fHoldJumpGravityFactor(other.m_fHoldJumpGravityFactor),
      m_fSuperJumpGravityFactor(other.m_fSuperJumpGravityFactor),
      m_fRiseThreshold(other.m_fRiseThreshold),
      m_fSuperJumpTrigger(other.m_fSuperJumpTrigger),
      m_nHitBlinkTimer(other.m_nHitBlinkTimer),
      m_bInvulnerable(other.m_bInvulnerable),
      m_fStrideMaxSpeed(other.m_fStrideMaxSpeed),
      m_fStrideAcceleration(other.m_fStrideAcceleration),
      m_fStrideBraking(other.m_fStrideBraking),
      m_fCycloneMaxSpeed(other.m_fCycloneMaxSpeed),
      m_fCycloneAcceleration(other.m_fCycloneAcceleration),
      m_fCycloneBraking(other.m_fCycloneBraking),
      m_fWallJumpKick(other.m_fWallJumpKick),
      m_LocalVars(other.m_LocalVars),
      m_nWallPushFrames(other.m_nWallPushFrames),
      m_fEnergy(other.m_fEnergy),
      m_fMaxEnergy(other.m_fMaxEnergy),
      m_fStrideDrain(other.m_fStrideDrain),
      m_fCycloneDrain(other.m_fCycloneDrain),
      m_fSuperJumpDrain(other.m_fSuperJumpDrain),
      m_fGroundRefill(other.m_fGroundRefill),
      m_fStrideDamage(other.m_fStrideDamage),
      m_fCycloneDamage(other.m_fCycloneDamage),
      m_bLandedThisFrame(other.m_bLandedThisFrame),
      m_bWallContactThisFrame(other.m_bWallContactThisFrame),
      m_fAttackDamage(other.m_fAttackDamage),
      m_nComboMessageWindow(other.m_nComboMessageWindow),
      m_nComboCountdown(other.m_nComboCountdown),
      m_nAbilities(other.m_nAbilities),
      m_stateHandler(other.m_stateHandler) {
  for (int i = 0; i < 3; ++i) {
    m_afBaseDamage[i] = other.m_afBaseDamage[i];
    for (int j = 0; j < 3; ++j) m_afColorDamage[i][j] = other.m_afColorDamage[i][j];
  }
}

PlayerObject::~PlayerObject() = default;

PlayerObject* PlayerObject::Clone() const {
  return new PlayerObject(*this);
}

void PlayerObject::CopyOrbs(const PlayerObject& other) {
  m_tripleOrbQueue = other.m_tripleOrbQueue;
  m_tripleCrackQueue = other.m_tripleCrackQueue;
  m_nHealth = other.m_nHealth;
}

void PlayerObject::CopyAbilities(const PlayerObject& other) {
  m_nAbilities = other.m_nAbilities;
}

void PlayerObject::LoadParameters(std::istream& in) {
  LoadParameters(in, kTuningFile);
}

void PlayerObject::LoadParameters(std::istream& in, const std::string& source) {
  // One slot per line of the file, in file order.
  struct Slot {
    float* f = nullptr;
    unsigned* u = nullptr;
    int* i = nullptr;
  };
  const Slot slots[kHeroTuningValues] = {
      {&m_movement.groundMaxSpeed}, {&m_movement.groundAcceleration}, {&m_movement.groundBraking},
      {&m_movement.airMaxSpeed},    {&m_movement.airAcceleration},    {&m_movement.airBraking},
      {&m_movement.jumpVelocity},   {&m_fSuperJumpVelocity},          {&m_fHoldJumpGravityFactor},
      {&m_fSuperJumpGravityFactor}, {&m_fRiseThreshold},              {&m_fSuperJumpTrigger},
      {&m_fStrideMaxSpeed},         {&m_fStrideAcceleration},         {&m_fStrideBraking},
      {&m_fCycloneMaxSpeed},        {&m_fCycloneAcceleration},        {&m_fCycloneBraking},
      {&m_fWallJumpKick},
      {nullptr, &m_LocalVars.m_uComboWindowStart},
      {nullptr, &m_LocalVars.m_uComboWindowEnd},
      {nullptr, nullptr, &m_nComboMessageWindow},
      {&m_fMaxEnergy},              {&m_fEnergy},                     {&m_fGroundRefill},
      {&m_fStrideDrain},            {&m_fCycloneDrain},               {&m_fSuperJumpDrain},
      {&m_afBaseDamage[0]},         {&m_afBaseDamage[1]},             {&m_afBaseDamage[2]},
      {&m_afColorDamage[0][0]},     {&m_afColorDamage[0][1]},         {&m_afColorDamage[0][2]},
      {&m_afColorDamage[1][0]},     {&m_afColorDamage[1][1]},         {&m_afColorDamage[1][2]},
      {&m_afColorDamage[2][0]},     {&m_afColorDamage[2][1]},         {&m_afColorDamage[2][2]},
      {&m_fStrideDamage},           {&m_fCycloneDamage},
  };
  int line = 1;
  for (int k = 0; k < kHeroTuningValues; ++k) {
    // Blank lines are skipped, but counted so that reports name the real line.
    while (in && std::isspace(in.peek())) {
      if (in.get() == '\n') ++line;
    }
    if (in.peek() == std::char_traits<char>::eof()) {
      Report(source, "only " + std::to_string(k) + " of " + std::to_string(kHeroTuningValues) +
                         " values read; the rest keep their defaults");
      return;
    }
    float value = 0.0f;
    if (!(in >> value)) {
      Report(source, "line " + std::to_string(line) +
                         " is not a number; it and every later value keep their defaults");
      return;
    }
    in.ignore(kMaxLineRest, '\n');
    const int valueLine = k + 1;
    if (auto problem = HeroTuningProblem(valueLine, value)) {
      Report(source, "line " + std::to_string(line) + " (" + std::to_string(value) + ") " +
                         *problem + "; the default is kept");
    } else if (slots[k].f) {
      *slots[k].f = value;
    } else if (slots[k].u) {
      *slots[k].u = static_cast<unsigned>(value);
    } else {
      *slots[k].i = static_cast<int>(value);
    }
    ++line;
  }
}

void PlayerObject::LoadTuningFile(const std::string& path) {
  std::ifstream in(path);
  if (!in.is_open()) {
    Report(path, "cannot be opened; the hero keeps its default tuning");
    return;
  }
  LoadParameters(in, path);
}

void PlayerObject::ChangeState(int state) {
  if (m_nHitBlinkTimer == 0) m_bInvulnerable = false;
  // The combo lives within one move; the window is tuning and stays.
  const unsigned windowStart = m_LocalVars.m_uComboWindowStart;
  const unsigned windowEnd = m_LocalVars.m_uComboWindowEnd;
  m_LocalVars = LocalVars();
  m_LocalVars.m_uComboWindowStart = windowStart;
  m_LocalVars.m_uComboWindowEnd = windowEnd;
  m_fAttackDamage = 0.0f;

  const Input* pInput = Input::GetInstance();
  switch (state) {
    case PLAYER_IDLE:
    case PLAYER_RUN:
      SetAirborne(false);
      if (GetVelocity().X() != 0.0f) {
        GameObject::SetState(PLAYER_RUN);
        if (pInput && pInput->IsHeld(MOVE_LEFT)) {
          SetFacingLeft(true);
        } else if (pInput && pInput->IsHeld(MOVE_RIGHT)) {
          SetFacingLeft(false);
        }
      } else {
        GameObject::SetState(PLAYER_IDLE);
      }
      m_stateHandler = &PlayerObject::StateGround;
      break;
    case PLAYER_SWORD:
      // The animation changes with the first swing.
      m_stateHandler = &PlayerObject::StateSword;
      break;
    case PLAYER_GUN:
      GameObject::SetState(PLAYER_GUN);
      m_stateHandler = &PlayerObject::StateGun;
      break;
    case PLAYER_STRIDE:
      if (!(m_nAbilities & ABILITY_STRIDE)) break;
      m_bInvulnerable = true;
      m_stateHandler = &PlayerObject::StateStride;
      GameObject::SetState(PLAYER_STRIDE);
      m_fAttackDamage = m_fStrideDamage;
      NextAttackId();
      break;
    case PLAYER_CYCLONE:
      if (!(m_nAbilities & ABILITY_CYCLONE)) break;
      m_bInvulnerable = true;
      m_stateHandler = &PlayerObject::StateCyclone;
      GameObject::SetState(PLAYER_CYCLONE);
      m_fAttackDamage = m_fCycloneDamage;
      NextAttackId();
      break;
    case PLAYER_SUPER_JUMP:
      if (!(m_nAbilities & ABILITY_SUPER_JUMP)) break;
      SetVelocity(GetVelocity().X(), m_fSuperJumpVelocity);
      m_stateHandler = &PlayerObject::StateSuperJump;
      GameObject::SetState(PLAYER_SUPER_JUMP);
      break;
    case PLAYER_AIR:
      if (pInput && pInput->IsPressed(JUMP)) {
        if (m_stateHandler == &PlayerObject::StateGround) {
          SetVelocity(GetVelocity().X(), m_movement.jumpVelocity);
        } else if (m_stateHandler == &PlayerObject::StateWallJump) {
          const float kick = IsFacingLeft() ? m_fWallJumpKick : -m_fWallJumpKick;
          SetVelocity(kick, m_movement.jumpVelocity);
          if (kick < 0.0f) SetFacingLeft(true);
          if (kick > 0.0f) SetFacingLeft(false);
        }
      }
      SetAirborne(true);
      GameObject::SetState(PLAYER_AIR);
      m_stateHandler = &PlayerObject::StateAir;
      break;
    case PLAYER_WALL_JUMP:
      if (!(m_nAbilities & ABILITY_WALL_JUMP)) break;
      SetVelocity(0.0f, 0.0f);
      m_stateHandler = &PlayerObject::StateWallJump;
      GameObject::SetState(PLAYER_WALL_JUMP);
      break;
    default:
      break;
  }
}

void PlayerObject::SetAirborne(bool airborne) {
  m_bAirborne = airborne;
}

void PlayerObject::OnLanded() {
  m_bLandedThisFrame = true;
}

void PlayerObject::SetWallContact() {
  m_bWallContactThisFrame = true;
}

void PlayerObject::Kill() {
  GameObject::SetState(kDeadState);
}

void PlayerObject::SetEnergy(float energy) {
  m_fEnergy = energy;
}

void PlayerObject::ShowEnergy() const {
  RequireHud(__LINE__)->SetEnergy(m_fEnergy / m_fMaxEnergy);
}

void PlayerObject::DrainEnergy(float amount) {
  if (!(m_fEnergy > 0.0f)) return;
  m_fEnergy = std::max(0.0f, m_fEnergy - amount);
  ShowEnergy();
}

void PlayerObject::RefillEnergy(float amount) {
  if (!(m_fEnergy < m_fMaxEnergy)) return;
  m_fEnergy = std::min(m_fMaxEnergy, m_fEnergy + amount);
  ShowEnergy();
}

void PlayerObject::ToggleAbility(int mask) {
  m_nAbilities ^= mask;
}

bool PlayerObject::IsControlEnabled() {
  // While the camera serves a request, the request decides.
  const std::vector<CameraFocus>& queue = World::GetFocusQueue();
  if (!queue.empty()) return queue.front().m_bPlayerControl;
  return World::IsPlayFrame();
}

void PlayerObject::EndSpecialMove() {
  ChangeState(IsAirborne() ? PLAYER_AIR : PLAYER_RUN);
}

bool PlayerObject::OnAnimationEnd() {
  if (GetNextFrameIndex() <= GetFrame() && m_stateHandler == &PlayerObject::StateSword) {
    EndSpecialMove();
  }
  return true;
}

void PlayerObject::SetOrbs(int front, int middle, int back) {
  m_tripleOrbQueue = {front, middle, back};
  m_tripleCrackQueue.clear();
  for (int color : m_tripleOrbQueue) m_tripleCrackQueue.push_back(color == ORB_CRACKED);
  m_nHealth = MAX_PLAYER_HEALTH;
}

void PlayerObject::RestoreOrbs() {
  int colors[MAX_PLAYER_HEALTH];
  for (int i = 0; i < MAX_PLAYER_HEALTH; ++i) {
    colors[i] = m_tripleOrbQueue[i] == ORB_CRACKED ? ORB_PLAIN : m_tripleOrbQueue[i];
  }
  SetOrbs(colors[0], colors[1], colors[2]);
}

bool PlayerObject::IsFrontOrbCracked() const {
  return m_tripleOrbQueue.front() == ORB_CRACKED;
}

void PlayerObject::UpdateHUD() {
  HUD* hud = RequireHud(__LINE__);
  hud->SetEnergy(m_fEnergy / m_fMaxEnergy);
  hud->SetOrbs(m_tripleOrbQueue, m_tripleCrackQueue);
  // The icons toggle the hero's bits as they change; the hero's own bits stand.
  const int abilities = m_nAbilities;
  hud->SetAbilities(abilities);
  m_nAbilities = abilities;
  hud->SetScore(m_nScore);
}

bool PlayerQueryThunk(GameObject* object) {
  return static_cast<PlayerObject*>(object)->OnAnimationEnd();
}

void PlayerInputThunk(GameObject* object) {
  static_cast<PlayerObject*>(object)->HandleInput();
}

namespace {

// The last search's answer, good while no list and no sprite's name has changed since.
struct PlayerLookup {
  const SpriteCollection* list = nullptr;
  std::uint64_t listChanges = 0;
  std::uint64_t nameChanges = 0;
  PlayerObject* player = nullptr;
};
PlayerLookup g_playerLookup;

}  // namespace

PlayerObject* World::GetPlayer() {
  if (!m_cscObjects) return nullptr;
  PlayerLookup& last = g_playerLookup;
  if (last.list == m_cscObjects.get() && last.listChanges == SpriteCollection::ChangeCount() &&
      last.nameChanges == Sprite::NameChangeCount()) {
    return last.player;
  }
  PlayerObject* found = nullptr;
  // Another object may carry the hero's name; only the PlayerObject is the hero.
  for (Sprite* sprite : m_cscObjects->GetSprites()) {
    if (sprite->GetName() != kPlayerName) continue;
    if (auto* player = dynamic_cast<PlayerObject*>(sprite)) {
      found = player;
      break;
    }
  }
  last = {m_cscObjects.get(), SpriteCollection::ChangeCount(), Sprite::NameChangeCount(), found};
  return found;
}
