// The airship pilot. Phases: run to the trigger; wait out Kaje's entrance; turn the
// dialogue's pages; break the three claws with Cyclones from beside the shield, one
// claw after each wait for energy; then the sword against the tigers and Kaje. A guard
// over every phase parries what would hit the hero with a Stride or a Cyclone.
#include <cmath>
#include <string>

#include "autopilot/Pilot.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace autopilot {
namespace {

GameObject* First(const char* name) {
  const std::vector<GameObject*> all = Live(name);
  return all.empty() ? nullptr : all.front();
}

// Where the hero stands on the deck.
constexpr float kDeckY = 3999.9f;

bool OnGround(const PlayerObject& hero) { return !hero.IsAirborne(); }

// Whether a projectile or enemy (a box of half size hw x hh about `centre`, moving by
// `velocity` a frame) meets the hero's body within `frames` frames.
bool Meets(const PlayerObject& hero, Vector2 centre, Vector2 velocity, float hw, float hh, int frames) {
  const Vector2 at = hero.GetPosition();
  const Vector2 v = hero.GetVelocity();
  for (int k = 0; k <= frames; ++k) {
    const float t = static_cast<float>(k + 1);
    const float dx = centre.X() + velocity.X() * t - (at.X() + v.X() * t);
    const float dy = centre.Y() + velocity.Y() * t - (at.Y() - 29.0f + v.Y() * t);
    if (std::fabs(dx) < hw + 12.0f + 8.0f && std::fabs(dy) < hh + 27.0f + 8.0f) return true;
  }
  return false;
}

class AirshipPilot : public Pilot {
 public:
  ActionBits Next(int frame) override {
    const PlayerObject* hero = Hero();
    if (!hero) return 0;
    const GameObject* kaje = First("Kaje");
    const GameObject* trigger = First("KajeTrigger");
    ActionBits keys = 0;
    if (!kaje) {
      m_phase = "run";
      keys = MOVE_RIGHT;
    } else if (trigger && trigger->GetBehavior() == KajeTriggerDialogue) {
      // Jump turns the pages; each shows for a moment first.
      m_phase = "dialogue";
      const int state = static_cast<int>(FlagOr(*trigger, "State", 0));
      if ((state == 1 || state == 3) && frame % 30 == 0) keys = JUMP;
    } else if (trigger && trigger->GetBehavior() == KajeTriggerEndLevel) {
      // Nothing held: the replay lets go of every key where the recording ends.
      m_phase = "ending";
      return 0;
    } else if (kaje->GetBehavior() == KajeStart) {
      m_phase = "entrance";
    } else if (IsShieldStage(*kaje)) {
      keys = Claws(*hero, *kaje);
    } else if (kaje->GetBehavior() == KajePhaseTwoStart) {
      m_phase = "transition";
    } else {
      keys = Melee(*hero, *kaje);
    }
    keys = Guard(*hero, kaje, keys);
    m_last = keys;
    return keys;
  }
  std::string Phase() const override { return m_phase; }

 private:
  // From Kaje's arrival at the first crate until its last shield has faded.
  static bool IsShieldStage(const GameObject& kaje) {
    const BehaviorFn b = kaje.GetBehavior();
    return b == KajeShieldWait || b == KajeRocketWait || b == KajeFireRockets || b == KajeCrateCheck ||
           b == KajeShieldFadeOut || (b == nullptr && First("AirshipClaw"));
  }

  // Walks toward x; lets go early enough for the braking to stop there.
  ActionBits MoveToward(const PlayerObject& hero, float x) {
    const float dx = x - hero.GetPosition().X();
    const float v = hero.GetVelocity().X();
    const float brake = v * v / 2.0f + std::fabs(v) / 2.0f;
    if (dx > 3.0f && !(v > 0.0f && brake >= dx)) return MOVE_RIGHT;
    if (dx < -3.0f && !(v < 0.0f && brake >= -dx)) return MOVE_LEFT;
    return 0;
  }

  // One claw at a time, the first in the list, which holds the active crate: from the
  // side of Kaje it hangs on, just outside the pulsing shield, a held jump turns into
  // a Cyclone at the claw's height. The Cyclone's turns hit the claw, and the hero is
  // unhurt meanwhile, also while the camera holds it in the air for the crate's fall.
  ActionBits Claws(const PlayerObject& hero, const GameObject& kaje) {
    const GameObject* claw = First("AirshipClaw");
    const GameObject* crate = First("AirshipCrate");
    if (!claw || !crate) {
      m_phase = "claws done";
      return 0;
    }
    const BehaviorFn b = kaje.GetBehavior();
    const bool settled = b == KajeShieldWait || b == KajeRocketWait || b == KajeFireRockets;
    const float side = claw->GetPosition().X() < crate->GetPosition().X() ? -1.0f : 1.0f;
    const float spot = kaje.GetPosition().X() + side * 147.0f;
    const float height = kDeckY - hero.GetPosition().Y();
    if (!OnGround(hero)) {
      m_phase = "claw jump";
      ActionBits keys = hero.GetVelocity().Y() < 0.0f ? JUMP : 0;
      if (height > 120.0f || hero.GetState() == PLAYER_CYCLONE) keys |= STRIDE;
      return keys;
    }
    if (!settled) {
      m_phase = "claw wait";
      return 0;
    }
    if (std::fabs(hero.GetPosition().X() - spot) > 3.0f) {
      m_phase = "claw approach";
      return MoveToward(hero, spot);
    }
    m_phase = "claw ready";
    // Enough for a Cyclone and, after it, for the guard's Strides.
    if (hero.GetEnergy() >= 145.0f && hero.GetVelocity().X() == 0.0f && !(m_last & JUMP)) return JUMP;
    return 0;
  }

  // The fighting stages: tigers first (Kaje stands still while they live), then Kaje
  // whenever it stands. The hero keeps just beyond a body's reach and swings sword
  // combos: Kaje's swipe does no harm, and near it Kaje fires nothing.
  ActionBits Melee(const PlayerObject& hero, const GameObject& kaje) {
    const float x = hero.GetPosition().X();
    const BehaviorFn b = kaje.GetBehavior();
    const float toKaje = kaje.GetPosition().X() - x;
    if (b == KajeDropTiger && Live("TigerE").empty()) {
      // The tigers appear 200 and 300 px before Kaje: keep out of their way.
      m_phase = "tigers coming";
      const float ahead = (kaje.IsFacingLeft() ? 1.0f : -1.0f) * toKaje;
      if (ahead > 120.0f && ahead < 380.0f) {
        const bool nearer = ahead < 250.0f;
        return (toKaje > 0.0f) == nearer ? MOVE_RIGHT : MOVE_LEFT;
      }
      if (ahead >= 380.0f) return 0;
    }
    const GameObject* target = nullptr;
    float lo = 64.0f, hi = 76.0f;
    for (const GameObject* tiger : Live("TigerE")) {
      if (!target || std::fabs(tiger->GetPosition().X() - x) < std::fabs(target->GetPosition().X() - x)) {
        target = tiger;
      }
    }
    if (target) {
      m_phase = "tiger";
      lo = 70.0f;
      hi = 84.0f;
    } else if (b == KajePhaseOneMove || b == KajePhaseTwoLand || b == KajePhaseTwoWait ||
               b == KajePhaseTwoJump) {
      // Kaje on the move: follow at a distance, out of its way.
      m_phase = "follow";
      target = &kaje;
      lo = 150.0f;
      hi = 250.0f;
    } else {
      m_phase = "kaje";
      target = &kaje;
    }
    return Fight(hero, *target, lo, hi);
  }

  // Keeps a gap of lo..hi from the target and, standing still and facing it, swings a
  // three-blow combo.
  ActionBits Fight(const PlayerObject& hero, const GameObject& target, float lo, float hi) {
    const float dx = hero.GetPosition().X() - target.GetPosition().X();
    const float side = dx < 0.0f ? -1.0f : 1.0f;
    const ActionBits toward = side < 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    const ActionBits away = side < 0.0f ? MOVE_LEFT : MOVE_RIGHT;
    if (hero.GetStateHandler() == &PlayerObject::StateSword) {
      const int since = hero.GetLocalVars().m_nFramesSinceSwing;
      if (since == 8 && hero.GetLocalVars().m_iCurOrb < 3 && std::fabs(dx) < hi + 10.0f) return SWING_SWORD;
      return 0;
    }
    if (!OnGround(hero)) return 0;
    const float gap = std::fabs(dx);
    const float vx = hero.GetVelocity().X();
    if (gap > hi) return vx * -side > 0.0f && vx * vx / 2.0f > gap - (lo + hi) / 2.0f ? 0 : toward;
    if (gap < lo) return away;
    if (std::fabs(vx) > 0.5f || std::string(m_phase) == "follow") return 0;
    // Face the target before the first swing.
    if (hero.IsFacingLeft() != (side > 0.0f)) return toward;
    if (!(m_last & SWING_SWORD)) return SWING_SWORD;
    return 0;
  }

  // What may hurt the hero within the next few frames, and from which side.
  bool Threatened(const PlayerObject& hero, const GameObject* kaje, int frames, float& from) {
    bool threat = false;
    auto check = [&](const GameObject* thing, float hw, float top, float bottom) {
      const Vector2 at = thing->GetPosition();
      const Vector2 centre(at.X(), at.Y() + (top + bottom) / 2.0f);
      if (Meets(hero, centre, thing->GetVelocity(), hw, (bottom - top) / 2.0f, frames)) {
        threat = true;
        from = at.X();
      }
    };
    for (const char* name : {"KajeRocket", "KajeEnergyShot"}) {
      for (const GameObject* shot : Live(name)) check(shot, 26.0f, -26.0f, 26.0f);
    }
    for (const GameObject* tiger : Live("TigerE")) check(tiger, 44.0f, -46.0f, 0.0f);
    if (kaje && kaje->IsEnemy() && !kaje->IsDead()) check(kaje, 34.0f, -168.0f, 0.0f);
    return threat;
  }

  // Keeps the hero out of harm: a Stride (it protects from its first frame; let go
  // during its wind-up it neither moves the hero nor costs energy, held on it carries
  // the hero through the danger), or a Cyclone in the air.
  ActionBits Guard(const PlayerObject& hero, const GameObject* kaje, ActionBits keys) {
    float from = hero.GetPosition().X();
    const bool threat = Threatened(hero, kaje, 3, from);
    if (m_parry) {
      if (hero.GetState() != PLAYER_STRIDE) {
        m_parry = false;
        return 0;
      }
      float later = from;
      const bool windUp = hero.GetFrame() == 0 && hero.GetTicksLeft() > 1;
      if (windUp || (Threatened(hero, kaje, 6, later) && hero.GetEnergy() > 30.0f)) {
        return STRIDE | m_parryDirection;
      }
      return 0;
    }
    if (!threat || hero.GetHitBlinkTimer() > 0 || hero.GetEnergy() <= 50.0f) return keys;
    if (hero.IsAirborne()) return keys | STRIDE;
    if (hero.GetStateHandler() == &PlayerObject::StateGround) {
      m_parry = true;
      // Away from the shield, which stays; else through the danger rather than
      // along with it.
      if (kaje && IsShieldStage(*kaje)) from = kaje->GetPosition().X();
      const bool left = kaje && IsShieldStage(*kaje) ? from > hero.GetPosition().X()
                                                       : from < hero.GetPosition().X();
      m_parryDirection = left ? MOVE_LEFT : MOVE_RIGHT;
      return STRIDE | m_parryDirection;
    }
    return keys;
  }

  const char* m_phase = "start";
  ActionBits m_last = 0;
  bool m_parry = false;
  ActionBits m_parryDirection = MOVE_LEFT;
};

}  // namespace

std::unique_ptr<Pilot> MakeAirshipPilot() { return std::make_unique<AirshipPilot>(); }

}  // namespace autopilot
