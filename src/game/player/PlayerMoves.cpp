// The hero's per-frame input handling, state handlers and movement.
#include <cmath>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "game/input/Input.h"
#include "game/objects/CollisionResponses.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {
// Falling speed stops growing from here on.
constexpr float kFallLimit = 20.0f;
// Frames in a row pushing away from a wall before the hero lets go.
constexpr int kWallLetGoFrames = 8;
// How far the ground probe reaches: still, and while moving vertically.
constexpr float kGroundProbe = 2.0f;
constexpr float kMovingGroundProbe = 8.0f;
// The hero rests this far above a surface.
constexpr float kRestGap = 0.1f;
constexpr float kWallProbe = 2.0f;

bool Held(const Input* input, ActionBits bits) {
  return input && input->IsHeld(bits) != 0;
}
bool Pressed(const Input* input, ActionBits bits) {
  return input && input->IsPressed(bits) != 0;
}
}  // namespace

Contact PlayerObject::Probe(float probeX, float probeY) {
  const CachedVector velocity = GetVelocity();
  SetParkedVelocity(velocity);
  SetVelocity(probeX, probeY);
  Contact contact;
  if (SpriteCollection* objects = World::GetObjects()) {
    contact = objects->Probe(this);
  }
  SetVelocity(velocity);
  SetParkedVelocity(0.0f, 0.0f);
  return contact;
}

void PlayerObject::HandleInput() {
  if (!IsControlEnabled()) {
    // Held by the camera: frozen, with no timers or gravity.
    SetVelocity(0.0f, 0.0f);
    return;
  }
  if (m_nComboCountdown > 0) --m_nComboCountdown;
  const Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);

  const float vy = GetVelocity().Y();
  const bool moveHeld = Held(pInput, MOVE_LEFT) || Held(pInput, MOVE_RIGHT);
  if (m_stateHandler == &PlayerObject::StateGround) {
    if (Pressed(pInput, JUMP) && !IsAirborne()) {
      ChangeState(PLAYER_AIR);
    } else if (Pressed(pInput, SWING_SWORD)) {
      ChangeState(PLAYER_SWORD);
    } else if (Pressed(pInput, FIRE_GUN)) {
      ChangeState(PLAYER_GUN);
    } else if (Held(pInput, STRIDE) && moveHeld && IsEnergyOk()) {
      ChangeState(PLAYER_STRIDE);
    }
  } else if (m_stateHandler == &PlayerObject::StateAir) {
    if (m_bLandedThisFrame) {
      ChangeState(PLAYER_RUN);
    } else if (m_bWallContactThisFrame && vy >= 0.0f) {
      ChangeState(PLAYER_WALL_JUMP);
    } else if (Pressed(pInput, JUMP) && vy < m_fSuperJumpTrigger && IsEnergyOk()) {
      ChangeState(PLAYER_SUPER_JUMP);
    } else if (Pressed(pInput, SWING_SWORD)) {
      ChangeState(PLAYER_SWORD);
    } else if (Pressed(pInput, FIRE_GUN)) {
      ChangeState(PLAYER_GUN);
    } else if (Held(pInput, STRIDE) && IsEnergyOk()) {
      ChangeState(PLAYER_CYCLONE);
    }
  } else if (m_stateHandler == &PlayerObject::StateSuperJump) {
    if (m_bLandedThisFrame) {
      ChangeState(PLAYER_RUN);
    } else if (vy >= 0.0f || m_fEnergy <= 0.0f) {
      ChangeState(PLAYER_AIR);
    } else if (Held(pInput, STRIDE) && IsEnergyOk()) {
      ChangeState(PLAYER_CYCLONE);
    }
  } else if (m_stateHandler == &PlayerObject::StateStride) {
    if (!Held(pInput, STRIDE) || m_fEnergy == 0.0f || !moveHeld) EndSpecialMove();
  } else if (m_stateHandler == &PlayerObject::StateCyclone) {
    if (m_bLandedThisFrame) ChangeState(PLAYER_RUN);
  } else if (m_stateHandler == &PlayerObject::StateWallJump) {
    if (Pressed(pInput, JUMP)) {
      ChangeState(PLAYER_AIR);
      m_nWallPushFrames = 0;
    } else if (m_bLandedThisFrame) {
      ChangeState(PLAYER_IDLE);
      m_nWallPushFrames = 0;
    } else {
      const bool awayHeld = IsFacingLeft() ? Held(pInput, MOVE_RIGHT) : Held(pInput, MOVE_LEFT);
      m_nWallPushFrames = awayHeld ? m_nWallPushFrames + 1 : 0;
      if (m_nWallPushFrames > kWallLetGoFrames) {
        ChangeState(PLAYER_AIR);
        m_nWallPushFrames = 0;
      }
    }
  }

  if (m_stateHandler) (this->*m_stateHandler)();
  SlideOntoSteepFace();

  if (m_nHitBlinkTimer != 0) {
    --m_nHitBlinkTimer;
    if (m_nHitBlinkTimer == 0) {
      SetVisible(true);
      m_bInvulnerable = false;
    } else {
      SetVisible(m_nHitBlinkTimer % 14 >= 4);
    }
  }
  m_bLandedThisFrame = false;
  m_bWallContactThisFrame = false;
}

void PlayerObject::StateGround() {
  RefillEnergy(m_fGroundRefill);
  MoveHorizontal(m_movement.groundMaxSpeed, m_movement.groundAcceleration,
                 m_movement.groundBraking);
  const float vx = GetVelocity().X();
  if (vx == 0.0f && GetState() != PLAYER_IDLE) {
    GameObject::SetState(PLAYER_IDLE);
  } else if (vx != 0.0f && GetState() == PLAYER_IDLE) {
    GameObject::SetState(PLAYER_RUN);
  }
  ProbeGround(true);
  if (!IsAirborne()) FollowSlope();
}

void PlayerObject::StateAir() {
  MoveHorizontal(m_movement.airMaxSpeed, m_movement.airAcceleration, m_movement.airBraking);
  ApplyGravity(kGravity);
}

void PlayerObject::StateSuperJump() {
  MoveHorizontal(m_movement.airMaxSpeed, m_movement.airAcceleration, m_movement.airBraking);
  DrainEnergy(m_fSuperJumpDrain);
  ApplyGravity(kGravity);
}

void PlayerObject::StateStride() {
  const Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);
  const bool facingLeft = IsFacingLeft();
  if (IsAirborne()) {
    if (m_bLandedThisFrame) {
      SetAirborne(false);
    } else {
      ApplyGravity(kGravity);
    }
  }
  // The first frame of the animation is the wind-up: no movement, no drain.
  if ((Held(pInput, MOVE_LEFT) || Held(pInput, MOVE_RIGHT)) && GetFrame() != 0) {
    MoveHorizontal(m_fStrideMaxSpeed, m_fStrideAcceleration, m_fStrideBraking);
    DrainEnergy(m_fStrideDrain);
  }
  // A Stride that turns is a new attack.
  if (IsFacingLeft() != facingLeft) NextAttackId();
  if (!IsAirborne()) {
    ProbeGround(false);
    if (!IsAirborne()) FollowSlope();
  }
}

void PlayerObject::StateCyclone() {
  const Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);
  ApplyGravity(kGravity);
  // Every turn of the spin is a new attack.
  if (IsAnimationFinished()) NextAttackId();
  if (Held(pInput, MOVE_LEFT) || Held(pInput, MOVE_RIGHT)) {
    MoveHorizontal(m_fCycloneMaxSpeed, m_fCycloneAcceleration, m_fCycloneBraking);
  }
  DrainEnergy(m_fCycloneDrain);
}

void PlayerObject::StateWallJump() {
  // The hero slides down the wall slowly.
  ApplyGravity(kGravity * 0.25f);
  const Contact wall = Probe(IsFacingLeft() ? -kWallProbe : kWallProbe, 0.0f);
  if (!wall.IsHit()) ChangeState(PLAYER_AIR);
}

void PlayerObject::MoveHorizontal(float maxSpeed, float acceleration, float braking) {
  const Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);
  const float vx = GetVelocity().X();
  const float speed = std::fabs(vx);
  const bool left = Held(pInput, MOVE_LEFT);
  const bool right = Held(pInput, MOVE_RIGHT);
  // Reversing brakes to 0 before accelerating the other way.
  if (left == right || (left && vx > 0.0f) || (right && vx < 0.0f)) {
    ApplyFriction(braking);
    return;
  }
  if (speed > maxSpeed) {
    ApplyFriction(braking);
    const float braked = GetVelocity().X();
    if (std::fabs(braked) < maxSpeed) {
      SetVelocity(braked > 0.0f ? maxSpeed : -maxSpeed, GetVelocity().Y());
    }
    return;
  }
  if (speed == maxSpeed) return;

  const float d = right ? 1.0f : -1.0f;
  Contact contact = Probe(kWallProbe * d, 0.0f);
  if (!contact.IsHit() || !IsAirborne()) {
    SetVelocity(GetVelocity().X() + acceleration * d, GetVelocity().Y());
  } else if (GetVelocity().Y() >= 0.0f) {
    CollideGround(&contact);
    if (m_bWallContactThisFrame) ChangeState(PLAYER_WALL_JUMP);
  }
  SetFacingLeft(d < 0.0f);
}

void PlayerObject::ApplyFriction(float braking) {
  auto brake = [braking](float v) {
    if (v > 0.0f) return std::max(0.0f, v + braking);
    if (v < 0.0f) return std::min(0.0f, v - braking);
    return v;
  };
  const float vx = brake(GetVelocity().X());
  const float vy = IsAirborne() ? GetVelocity().Y() : brake(GetVelocity().Y());
  SetVelocity(vx, vy);
}

void PlayerObject::ApplyGravity(float gravity) {
  const float vy = GetVelocity().Y();
  if (!IsAirborne() || !(vy < kFallLimit)) return;
  if (Held(Input::GetInstance(), JUMP) && vy < m_fRiseThreshold) {
    if (m_stateHandler == &PlayerObject::StateAir ||
        m_stateHandler == &PlayerObject::StateCyclone) {
      gravity *= m_fHoldJumpGravityFactor;
    } else if (m_stateHandler == &PlayerObject::StateSuperJump) {
      gravity *= m_fSuperJumpGravityFactor;
    }
  }
  SetVelocity(GetVelocity().X(), vy + gravity);
}

void PlayerObject::ProbeGround(bool enterAirState) {
  if (IsAirborne()) return;
  const float rememberedX = GetVelocity().X();
  const float d = GetVelocity().Y() != 0.0f ? kMovingGroundProbe : kGroundProbe;
  Contact contact = Probe(0.0f, d);
  SetVelocity(rememberedX, 0.0f);
  if (!contact.IsHit()) {
    if (enterAirState) {
      ChangeState(PLAYER_AIR);
    } else {
      SetAirborne(true);
    }
    return;
  }
  PhysicsObject* ground = contact.b;
  if (ground->GetVelocity().Y() != 0.0f) {
    // A lift: look again with the lift held still.
    const CachedVector mine = GetVelocity();
    const CachedVector theirs = ground->GetVelocity();
    SetParkedVelocity(mine);
    ground->SetParkedVelocity(theirs);
    SetVelocity(0.0f, d);
    ground->SetVelocity(0.0f, 0.0f);
    Contact still;
    if (SpriteCollection* objects = World::GetObjects()) {
      still = objects->Probe(this);
    }
    SetVelocity(mine);
    ground->SetVelocity(theirs);
    SetParkedVelocity(0.0f, 0.0f);
    ground->SetParkedVelocity(0.0f, 0.0f);
    // A lift rising toward the hero may be out of reach once held still; the
    // first contact is the one that holds then.
    if (still.IsHit()) contact = still;
  }
  CollideSlideKeepSpeed(&contact);
  const float newX = GetVelocity().X();
  if (newX != 0.0f && rememberedX != 0.0f) {
    const float factor = rememberedX / newX;
    SetVelocity(GetVelocity().X() * factor, GetVelocity().Y() * factor);
  }
  MoveTo(Vector2(GetPosition().X(), GetPosition().Y() + d * contact.t - kRestGap));
  const CachedVector& carried = contact.b->GetVelocity();
  SetVelocity(GetVelocity().X() + carried.X(), GetVelocity().Y() + carried.Y());
  if (GetVelocity().Y() < 0.0f) SetVelocity(GetVelocity().X(), GetVelocity().Y() - kRestGap);
}

void PlayerObject::FollowSlope() {
  Contact contact = Probe(GetVelocity().X(), 0.0f);
  if (!contact.IsHit()) return;
  const PhysicsObject* other = contact.b;
  CachedVector edge = ShapeEdge(*other, contact.polygonB, contact.featureB);
  const float dx = GetVelocity().X() - other->GetVelocity().X();
  const float dy = GetVelocity().Y() - other->GetVelocity().Y();
  if ((dx < 0.0f && edge.X() > 0.0f) || (dx > 0.0f && edge.X() < 0.0f)) edge = -edge;
  // Steeper than 45 degrees is a wall.
  if (std::fabs(edge.Y()) > std::fabs(edge.X())) return;
  // The sign of sin(angle of the edge - angle of the motion).
  const float turn = dx * edge.Y() - dy * edge.X();
  const bool climb = dx > 0.0f ? turn <= 0.0f : dx < 0.0f ? turn >= 0.0f : dy > 0.0f;
  if (!climb) return;
  const float vx = GetVelocity().X();
  const float step = vx > 0.0f ? vx * contact.t - kRestGap : vx * contact.t + kRestGap;
  MoveTo(Vector2(GetPosition().X() + step, GetPosition().Y()));
  CollideSlideKeepSpeed(&contact);
  if (GetVelocity().Y() < 0.0f) SetVelocity(GetVelocity().X(), GetVelocity().Y() - kRestGap);
}

void PlayerObject::SlideOntoSteepFace() {
  const CachedVector velocity = GetVelocity();
  if (!IsAirborne() || velocity.IsZero()) return;
  // The look-ahead sweeps the box; the physics step must see it as it was.
  const Bounds box = static_cast<const PhysicsObject&>(*this).GetCollisionShape().GetBounds();
  Contact contact = Probe(velocity.X(), velocity.Y());
  GetCollisionShape().GetBounds() = box;
  if (!contact.IsHit() || contact.kindB != kFeatureEdge || !contact.b->GetVelocity().IsZero()) {
    return;
  }
  const CachedVector face = ShapeEdge(*contact.b, contact.polygonB, contact.featureB);
  // Walkable slopes land the hero; upright walls are for the wall jump.
  if (face.X() == 0.0f || std::fabs(face.Y()) <= std::fabs(face.X())) return;
  // Left to the physics step, gravity would press the hero into the face every
  // frame: the step stops it just short and slides it only after its move, so it
  // would hang there. Stopping where the step would and sliding there lets the
  // step carry it down the face.
  const float stop = contact.t - kRestGap / velocity.GetLength();
  MoveTo(GetPosition() + stop * velocity);
  CollideGround(&contact);
}
