// The camera: follows the hero with dead zones and a look-ahead, frames the hero
// and the boss together, serves the focus requests of messages, events and
// bosses, stays inside the level's bounds, and wakes and parks the objects
// around the view as it travels.
#include <algorithm>
#include <cmath>
#include <vector>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/CameraFocus.h"
#include "game/world/World.h"

namespace {

constexpr float kScreenW = 800.0f;
constexpr float kScreenH = 600.0f;
const Vector2 kHalfScreen(kScreenW / 2.0f, kScreenH / 2.0f);
// Focus requests and boss framing move the camera at this many pixels a frame.
constexpr float kFocusSpeed = 8.0f;
// The travel that triggers a wake-and-park pass.
constexpr float kTravelPeriod = 256.0f;

// How near an object must be to the view to wake, and how far to be parked.
struct Margins {
  float wakeSpecial;  // enemies and power-ups
  float wakeOther;
  float parkEnemy;
  float parkPowerup;
  float parkOther;
};
constexpr Margins kMainMargins{628.0f, 1128.0f, 1128.0f, 1128.0f, 1628.0f};
// Layer B wakes everything within a short reach.
constexpr Margins kLayerBMargins{256.0f, 256.0f, 1128.0f, 1128.0f, 1628.0f};
// Layer D parks power-ups with the wide margin.
constexpr Margins kLayerDMargins{628.0f, 1128.0f, 1128.0f, 1628.0f, 1628.0f};

bool IsNear(const Sprite& sprite, float margin, const Vector2& topLeft) {
  const Vector2& p = sprite.GetPosition();
  const Animation* animation = sprite.GetAnimation();
  const float fw = animation ? animation->GetFrameWidth() : 0.0f;
  const float fh = animation ? animation->GetFrameHeight() : 0.0f;
  return p.X() + fw + margin > topLeft.X() && p.X() - fw - margin < topLeft.X() + kScreenW &&
         p.Y() + fh + margin > topLeft.Y() && p.Y() - fh - margin < topLeft.Y() + kScreenH;
}

float WakeMargin(const Sprite* sprite, const Margins& m) {
  const auto* object = dynamic_cast<const GameObject*>(sprite);
  return object && (object->IsEnemy() || object->IsPowerup()) ? m.wakeSpecial : m.wakeOther;
}

float ParkMargin(const Sprite* sprite, const Margins& m) {
  const auto* object = dynamic_cast<const GameObject*>(sprite);
  if (object && object->IsEnemy()) return m.parkEnemy;
  if (object && object->IsPowerup()) return m.parkPowerup;
  return m.parkOther;
}

// Wake: dormant objects near the view join the end of the active list, which is
// then sorted. Park: of the active list's first N members (N its length before
// the wake), those that may be parked and are far away join the dormant list.
void WakeAndPark(SpriteCollection* dormant, SpriteCollection* active, const Margins& margins,
                 const Vector2& topLeft) {
  if (!dormant || !active) return;
  const int parkWindow = active->Count();
  std::vector<Sprite*> woken = dormant->TakeIf(
      [&](Sprite* s) { return IsNear(*s, WakeMargin(s, margins), topLeft); }, dormant->Count());
  for (Sprite* sprite : woken) active->AddUnsorted(sprite);
  active->Sort();
  std::vector<Sprite*> parked = active->TakeIf(
      [&](Sprite* s) {
        return s->GetDeactivateOffscreen() && !IsNear(*s, ParkMargin(s, margins), topLeft);
      },
      parkWindow);
  for (Sprite* sprite : parked) dormant->AddUnsorted(sprite);
}

// Adds the step; a component that passes a whole period either way wraps back.
bool AccumulateTravel(Vector2& travel, const Vector2& step) {
  bool wrapped = false;
  for (int axis = 0; axis < 2; ++axis) {
    travel[axis] += step[axis];
    if (travel[axis] >= kTravelPeriod) {
      travel[axis] -= kTravelPeriod;
      wrapped = true;
    } else if (travel[axis] <= -kTravelPeriod) {
      travel[axis] += kTravelPeriod;
      wrapped = true;
    }
  }
  return wrapped;
}

Vector2 Clamp(Vector2 target, const Level& level) {
  const float halfW = kHalfScreen.X();
  const float halfH = kHalfScreen.Y();
  // Lower bounds first, so in a level narrower than the screen the upper one wins.
  if (level.GetXLower() != -1) target.SetX(std::max(target.X(), level.GetXLower() + halfW));
  if (level.GetXUpper() != -1) target.SetX(std::min(target.X(), level.GetXUpper() - halfW));
  if (level.GetYLower() != -1) target.SetY(std::max(target.Y(), level.GetYLower() + halfH));
  if (level.GetYUpper() != -1) target.SetY(std::min(target.Y(), level.GetYUpper() - halfH));
  return target;
}

// `value` held between lo and hi.
float Limit(float value, float lo, float hi) {
  return std::min(std::max(value, lo), hi);
}

}  // namespace

void World::SetBoss(GameObject* boss) {
  m_boss = boss ? boss->GetHandle() : NO_OBJECT;
}

GameObject* World::GetBoss() {
  return ObjectRegistry::Resolve(m_boss);
}

void World::UpdateCamera() {
  Level* level = GetCurrentLevel();
  PlayerObject* player = GetPlayer();
  if (m_currentEntry < 0 || !level || !player) return;

  const Vector2 cameraBefore = GetObjects()->GetOffset();
  const Vector2 playerBefore = player->GetPosition();
  const ObjectHandle playerHandle = player->GetHandle();

  // The hero's move of this frame must be known before the camera moves.
  GetObjects()->SetMask(PASS_BEHAVIOR);
  GetObjects()->Update(false);
  // The frame's later pass over the main list only draws and animates, also
  // when a level-complete request ends the camera's work here.
  GetObjects()->SetMask(PASS_DRAW | PASS_ANIMATE);
  if (m_state == STATE_LEVEL_COMPLETE) return;
  // A behaviour may have removed the hero or replaced the level.
  level = GetCurrentLevel();
  player = dynamic_cast<PlayerObject*>(ObjectRegistry::Resolve(playerHandle));
  if (!level || !player) return;

  const Vector2 p = player->GetPosition();
  const Vector2 moved(p.X() - playerBefore.X(), p.Y() - playerBefore.Y());
  const Vector2 centre(cameraBefore.X() + kHalfScreen.X(), cameraBefore.Y() + kHalfScreen.Y());
  Vector2 target;
  float speed = kFocusSpeed;
  const bool serving = !m_focusQueue.empty();
  GameObject* boss = GetBoss();

  if (serving) {
    CameraFocus& front = m_focusQueue.front();
    target = front.Target();
    if (!front.m_bPlayerControl) player->SetTicksLeft(0);
  } else if (boss) {
    const Vector2& b = boss->GetPosition();
    target = Vector2((b.X() + p.X()) / 2.0f, (b.Y() + p.Y()) / 2.0f);
    // The hero on a screen centred on the target stays inside its middle.
    const float rx = p.X() - target.X() + kHalfScreen.X();
    const float ry = p.Y() - target.Y() + kHalfScreen.Y();
    if (rx < kScreenW / 5.0f) target.SetX(target.X() - (kScreenW / 5.0f - rx));
    if (rx > 4.0f * kScreenW / 5.0f) target.SetX(target.X() + (rx - 4.0f * kScreenW / 5.0f));
    if (ry < 2.0f * kScreenH / 5.0f) target.SetY(target.Y() - (2.0f * kScreenH / 5.0f - ry));
    if (ry > 3.0f * kScreenH / 5.0f) target.SetY(target.Y() + (ry - 3.0f * kScreenH / 5.0f));
  } else {
    const float rx = p.X() - cameraBefore.X();
    const float ry = p.Y() - cameraBefore.Y();
    float aimX = kHalfScreen.X();
    if (m_cameraLock & kLockLeft) {
      aimX = 7.0f * kScreenW / 10.0f;
    } else if (m_cameraLock & kLockRight) {
      aimX = 3.0f * kScreenW / 10.0f;
    }
    const float dx = rx - aimX;
    const float dy = ry - kHalfScreen.Y();
    const float limitX = std::fabs(moved.X()) + 8.0f;
    const float limitY = std::fabs(moved.Y()) + 2.0f;
    const int horizontal = kLockLeft | kLockRight;
    const int vertical = kLockUp | kLockDown;
    // Leaving the dead zone starts a lead; reaching the screen's outer fifth turns it.
    if ((m_cameraLock & horizontal) == 0) {
      if (dx > 0.0f && rx >= 5.0f * kScreenW / 9.0f) {
        m_cameraLock = (m_cameraLock & ~horizontal) | kLockRight;
      } else if (dx < 0.0f && rx <= 4.0f * kScreenW / 9.0f) {
        m_cameraLock = (m_cameraLock & ~horizontal) | kLockLeft;
      }
    }
    if (dx > 0.0f && rx >= 4.0f * kScreenW / 5.0f) {
      m_cameraLock = (m_cameraLock & ~horizontal) | kLockRight;
    } else if (dx < 0.0f && rx <= kScreenW / 5.0f) {
      m_cameraLock = (m_cameraLock & ~horizontal) | kLockLeft;
    }
    float moveX = 0.0f;
    if (m_cameraLock & kLockLeft) {
      moveX = Limit(dx, -limitX, 0.0f);
    } else if (m_cameraLock & kLockRight) {
      moveX = Limit(dx, 0.0f, limitX);
    }
    if (dy > 0.0f && ry >= 3.0f * kScreenH / 5.0f) {
      m_cameraLock = (m_cameraLock & ~vertical) | kLockDown;
    } else if (dy < 0.0f && ry <= 2.0f * kScreenH / 5.0f) {
      m_cameraLock = (m_cameraLock & ~vertical) | kLockUp;
    }
    float moveY = 0.0f;
    if (m_cameraLock & kLockUp) {
      moveY = Limit(dy, -limitY, 0.0f);
    } else if (m_cameraLock & kLockDown) {
      moveY = Limit(dy, 0.0f, limitY);
    }
    target = Vector2(centre.X() + moveX, centre.Y() + moveY);
    speed = std::sqrt(moveX * moveX + moveY * moveY);
  }

  target = Clamp(target, *level);

  // The step toward the target at the speed, never past it on either axis.
  const Vector2 remaining(target.X() - centre.X(), target.Y() - centre.Y());
  const float distance = std::sqrt(remaining.X() * remaining.X() + remaining.Y() * remaining.Y());
  Vector2 cameraAfter;
  if (serving && distance <= speed) {
    // Land exactly on a request's target: stepping there in floats can leave
    // the centre one rounding step either side of it for ever.
    cameraAfter = Vector2(target.X() - kHalfScreen.X(), target.Y() - kHalfScreen.Y());
  } else {
    Vector2 step;
    if (distance != 0.0f) {
      step = Vector2(remaining.X() / distance * speed, remaining.Y() / distance * speed);
    }
    for (int axis = 0; axis < 2; ++axis) {
      const float reach = std::fabs(remaining[axis]);
      step[axis] = Limit(step[axis], -reach, reach);
    }
    cameraAfter = Vector2(cameraBefore.X() + step.X(), cameraBefore.Y() + step.Y());
  }
  const Vector2 step(cameraAfter.X() - cameraBefore.X(), cameraAfter.Y() - cameraBefore.Y());

  GetObjects()->SetOffset(cameraAfter);
  GetLayerB()->SetOffset(cameraAfter);
  GetLayerD()->SetOffset(cameraAfter);
  GetSceneryA()->UpdateParallax(step);
  GetSceneryC()->UpdateParallax(step);

  const bool wrappedObjects = AccumulateTravel(m_travelObjects, step);
  const bool wrappedLayers = AccumulateTravel(m_travelLayers, step);

  if (!m_focusQueue.empty() && step.X() == 0.0f && step.Y() == 0.0f) {
    const FocusCallback callback = m_focusQueue.front().m_callback;
    // A callback may change the queue; only a true answer releases the front.
    const bool release = callback ? callback() : true;
    if (release && !m_focusQueue.empty()) {
      m_focusQueue.erase(m_focusQueue.begin());
      if (m_focusQueue.empty()) {
        if (GameObject* hero = ObjectRegistry::Resolve(playerHandle)) hero->ReloadFrameTicks();
      }
    }
  }

  if (wrappedObjects) ActivateNearbyObjects(step);
  if (wrappedLayers) ActivateNearbyLayerObjects(step);
}

void World::ActivateNearbyObjects(Vector2 step) {
  if (step.X() == 0.0f && step.Y() == 0.0f) return;
  if (!GetObjects()) return;
  WakeAndPark(GetDormantObjects(), GetObjects(), kMainMargins, GetObjects()->GetOffset());
}

void World::ActivateNearbyLayerObjects(Vector2 step) {
  if (step.X() == 0.0f && step.Y() == 0.0f) return;
  if (!GetObjects()) return;
  const Vector2 topLeft = GetObjects()->GetOffset();
  WakeAndPark(GetDormantLayerB(), GetLayerB(), kLayerBMargins, topLeft);
  WakeAndPark(GetDormantLayerD(), GetLayerD(), kLayerDMargins, topLeft);
}
