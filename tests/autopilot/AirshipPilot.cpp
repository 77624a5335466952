// The airship pilot. On the climb from the stern to the foredeck it runs right, jumps what
// stops it and the gaps to the sky, strides through the tires, wall-jumps up the mast,
// rides the lift, SuperJumps the rigging's wall and fights what stands in its way. At the
// foredeck: run to the trigger; wait out Kaje's entrance; turn the dialogue's pages; break
// the three claws from beside the shield, with a Cyclone whenever the energy allows and
// meanwhile with sword cuts from the top of a jump while no rocket is near; then the sword
// against the tigers and Kaje, and Strides through Kaje as it walks by. A guard over every
// phase parries what would hit the hero with a Stride or a Cyclone. VANTREL_PILOT_TRACE=1
// prints each change of what the pilot is doing and, on the climb, the hero every 30 frames.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

bool OnGround(const PlayerObject& hero) {
  return !hero.IsAirborne();
}

// The hero's solid box reaches this far either side of his x.
constexpr float kHalfWidth = 14.0f;
// A held jump rises about 206 px: anything taller than this needs more.
constexpr float kJumpable = 180.0f;
// The foredeck starts right of its wall at x 0..128.
constexpr float kForedeck = 128.0f;
// On the way, a combo's next cut comes late, after the enemy's blink from the last one,
// which would drop it.
constexpr int kComboAt = 20;

// What the hero stands on or runs into: the deck, its ramps, the lift and resting tires.
std::vector<Box> Ground() {
  std::vector<Box> boxes;
  for (const char* name :
       {"AirshipDeck", "AirshipDeckB", "AirshipDeckC", "AirshipDeckL", "AirshipDeckR",
        "AirshipDeckLR", "AirshipRamps", "FactoryPlatform"}) {
    for (const GameObject* object : Live(name)) {
      const Box box = BoxOf(*object, 0);
      if (!box.Empty()) boxes.push_back(box);
    }
  }
  for (const GameObject* tire : Live("Tire")) {
    if (tire->GetFrame() == 0) boxes.push_back(BoxOf(*tire, 0));
  }
  return boxes;
}

// Whether a projectile or enemy (a box of half size hw x hh about `centre`, moving by
// `velocity` a frame) meets the hero's body within `frames` frames.
bool Meets(const PlayerObject& hero, Vector2 centre, Vector2 velocity, float hw, float hh,
           int frames) {
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
    m_frame = frame;
    if (!kaje && hero->GetPosition().X() < kForedeck) {
      keys = Journey(*hero);
    } else if (!kaje) {
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
    if (Tracing() && m_traced != m_phase) {
      m_traced = m_phase;
      std::fprintf(stderr, "%6d %8.1f %7.1f  [%s]  energy %.0f health %d", frame,
                   hero->GetPosition().X(), hero->GetPosition().Y(), m_phase, hero->GetEnergy(),
                   hero->GetHealth());
      if (const GameObject* claw = First("AirshipClaw"))
        std::fprintf(stderr, " claw %.0f", FlagOr(*claw, "Health", -1));
      if (kaje) std::fprintf(stderr, " kaje t %.0f", FlagOr(*kaje, "StateTime", -1));
      for (const char* name :
           {"TigerE", "TigerC", "Shredder", "TigerCShot", "KajeRocket", "Powerup"}) {
        for (const GameObject* enemy : Live(name)) {
          std::fprintf(stderr, " | %s %.0f,%.0f", name, enemy->GetPosition().X(),
                       enemy->GetPosition().Y());
        }
      }
      std::fprintf(stderr, "\n");
    }
    m_last = keys;
    return keys;
  }
  std::string Phase() const override { return m_phase; }

 private:
  // ---- the climb to the foredeck ------------------------------------------------------

  // What the pilot does now; the trace prints each change.
  void Detail(const char* what) { m_phase = what; }

  bool Solid(float l, float t, float r, float b) const {
    return std::any_of(m_ground.begin(), m_ground.end(),
                       [&](const Box& g) { return g.Overlaps(l, t, r, b); });
  }

  // The top of the ground standing in the column at x, from the height y upward without a
  // break; y itself when nothing stands there.
  float ColumnTop(float x, float y) const {
    float top = y;
    for (bool grew = true; grew;) {
      grew = false;
      for (const Box& g : m_ground) {
        if (g.left < x && g.right > x && g.top < top && g.bottom >= top - 1.0f) {
          top = g.top;
          grew = true;
        }
      }
    }
    return top;
  }

  // A jump or a swing acts on a fresh press: let go for a frame first.
  ActionBits Press(ActionBits key) const { return (m_last & key) ? 0 : key; }

  ActionBits Journey(const PlayerObject& hero) {
    m_ground = Ground();
    if (Tracing() && m_frame % 30 == 0) {
      std::fprintf(stderr, "%6d %8.1f %7.1f    state %d v %.1f,%.1f", m_frame,
                   hero.GetPosition().X(), hero.GetPosition().Y(), hero.GetState(),
                   hero.GetVelocity().X(), hero.GetVelocity().Y());
      if (const GameObject* enemy = EnemyAhead(hero)) {
        std::fprintf(stderr, " | %s %.0f,%.0f hp %.0f st %d", enemy->GetName().c_str(),
                     enemy->GetPosition().X(), enemy->GetPosition().Y(),
                     FlagOr(*enemy, "Health", -1), enemy->GetState());
      }
      std::fprintf(stderr, "\n");
    }
    const float x = hero.GetPosition().X();
    const float y = hero.GetPosition().Y();
    const float vy = hero.GetVelocity().Y();
    const bool ground = OnGround(hero);
    const bool stalled = ground && (m_last & MOVE_RIGHT) && std::fabs(x - m_lastX) < 0.5f;
    m_lastX = x;

    if (hero.GetState() == PLAYER_WALL_JUMP) {
      // Kick off the wall toward the other side of the shaft.
      Detail("wall jump");
      const ActionBits away = hero.IsFacingLeft() ? MOVE_RIGHT : MOVE_LEFT;
      return Press(JUMP) | away;
    }
    if (m_shaftTop != 0.0f) return Shaft(hero);
    if (m_superJump != 0) return SuperJump(hero);

    if (GameObject* enemy = EnemyAhead(hero)) return Engage(hero, *enemy);
    if (GameObject* lift = LiftAhead(x)) return Lift(hero, *lift);
    if (!ground) {
      Detail("air");
      return MOVE_RIGHT | (vy < 0.0f && (m_last & JUMP) ? JUMP : 0);
    }
    if (hero.GetState() == PLAYER_STRIDE) {
      if (m_strideFrames++ < 24 || TireAhead(x, 60.0f)) return STRIDE | MOVE_RIGHT;
      return 0;
    }
    m_strideFrames = 0;
    if (TireAhead(x, 110.0f)) {
      if (hero.GetEnergy() > 0.25f * hero.GetMaxEnergy() + 10.0f) {
        Detail("stride the tires");
        return STRIDE | MOVE_RIGHT;
      }
      Detail("wait for energy");
      return 0;
    }
    // The floor ends just ahead over nothing: jump the gap.
    const float ahead = x + kHalfWidth + 10.0f;
    if (!Solid(ahead - 1.0f, y + 0.5f, ahead + 1.0f, y + 6.0f) &&
        !Solid(ahead + 30.0f, y, ahead + 40.0f, y + 1000.0f)) {
      Detail("jump a gap");
      return Press(JUMP) | MOVE_RIGHT;
    }
    if (stalled) {
      const float top = ColumnTop(x + kHalfWidth + 4.0f, y - 20.0f);
      if (y - top <= kJumpable) {
        Detail("jump a step");
        return Press(JUMP) | MOVE_RIGHT;
      }
      if (Solid(x - kHalfWidth - 120.0f, y - 400.0f, x - kHalfWidth - 1.0f, y - 300.0f)) {
        // A wall behind too, above the way in: the shaft up the mast.
        m_shaftTop = top;
        Detail("shaft");
        return Press(JUMP) | MOVE_RIGHT;
      }
      m_superJump = 1;
      m_superTop = top;
      return SuperJump(hero);
    }
    Detail("run");
    return MOVE_RIGHT;
  }

  // Up a shaft one tile wide: kick from wall to wall (on the Wall-jump state above), hold
  // the jump while rising, and once the feet are above the exit, out to the right.
  ActionBits Shaft(const PlayerObject& hero) {
    const float y = hero.GetPosition().Y();
    const float vy = hero.GetVelocity().Y();
    if (OnGround(hero) && y <= m_shaftTop + 2.0f) {
      m_shaftTop = 0.0f;
      Detail("out of the shaft");
      return MOVE_RIGHT;
    }
    if (OnGround(hero)) return Press(JUMP) | MOVE_RIGHT;
    const ActionBits rise = vy < 0.0f ? JUMP : 0;
    if (y < m_shaftTop - 2.0f) return rise | MOVE_RIGHT;
    return rise | (hero.IsFacingLeft() ? MOVE_LEFT : MOVE_RIGHT);
  }

  // A wall taller than a jump: step back, jump straight up, and at the top of the jump
  // jump again for a SuperJump, then over to the right.
  ActionBits SuperJump(const PlayerObject& hero) {
    const float vy = hero.GetVelocity().Y();
    const float y = hero.GetPosition().Y();
    switch (m_superJump) {
      case 1:
        Detail("back off for a SuperJump");
        if (ColumnTop(hero.GetPosition().X() + kHalfWidth + 40.0f, y - 20.0f) > y - kJumpable) {
          m_superJump = 2;
          return 0;
        }
        return MOVE_LEFT;
      case 2:
        if (std::fabs(hero.GetVelocity().X()) > 0.0f) return 0;
        if (hero.GetEnergy() < 130.0f) {
          Detail("wait for energy");
          return 0;
        }
        Detail("SuperJump");
        m_superJump = 3;
        return Press(JUMP);
      case 3:
        if (OnGround(hero) || vy < -1.5f) return JUMP;
        m_superJump = 4;
        return 0;
      case 4:
        m_superJump = 5;
        return JUMP;
      default:
        if (OnGround(hero) && y <= m_superTop + 2.0f) {
          m_superJump = 0;
          return MOVE_RIGHT;
        }
        if (OnGround(hero)) {
          // Fell short: try again.
          m_superJump = 1;
          return 0;
        }
        return (vy < 0.0f ? JUMP : 0) | (y < m_superTop + 40.0f ? MOVE_RIGHT : 0);
    }
  }

  GameObject* EnemyAhead(const PlayerObject& hero) const {
    const Vector2 at = hero.GetPosition();
    GameObject* best = nullptr;
    for (const char* name : {"TigerE", "TigerC", "Shredder"}) {
      for (GameObject* enemy : Live(name)) {
        const float dx = enemy->GetPosition().X() - at.X();
        // Also one that backed off behind, so that none follows the hero to the foredeck.
        if (enemy->IsDead() || dx < -600.0f || dx > 300.0f) continue;
        if (std::fabs(enemy->GetPosition().Y() - at.Y()) > 150.0f) continue;
        if (!best || std::fabs(dx) < std::fabs(best->GetPosition().X() - at.X())) best = enemy;
      }
    }
    return best;
  }

  // Strides through an enemy (a Stride can't be hurt, and each one hits once) while the
  // energy lasts and the way beyond holds a floor; else the sword, from just out of reach.
  ActionBits Engage(const PlayerObject& hero, const GameObject& enemy) {
    const float x = hero.GetPosition().X();
    const float dx = enemy.GetPosition().X() - x;
    if (hero.GetState() == PLAYER_STRIDE && m_strideDir != 0.0f) {
      Detail("stride through");
      if (++m_strideFrames < 30 && dx * m_strideDir > -50.0f) return STRIDE | Toward(m_strideDir);
      m_strideDir = 0.0f;
      return 0;
    }
    m_strideDir = 0.0f;
    m_strideFrames = 0;
    const float dir = dx > 0.0f ? 1.0f : -1.0f;
    const bool ready = FlagOr(enemy, "DamagedTime", 0.0f) == 0.0f && hero.GetEnergy() > 70.0f;
    if (OnGround(hero) && ready && std::fabs(dx) < 150.0f &&
        FloorAlong(hero, dir, std::fabs(dx) + 160.0f)) {
      Detail("stride at");
      m_strideDir = dir;
      return STRIDE | Toward(dir);
    }
    Detail("fight");
    return Fight(hero, enemy, 70.0f, 84.0f, kComboAt);
  }

  static ActionBits Toward(float dir) { return dir > 0.0f ? MOVE_RIGHT : MOVE_LEFT; }

  // Whether a floor runs under the hero's path for `range` pixels that way.
  bool FloorAlong(const PlayerObject& hero, float dir, float range) const {
    const float x = hero.GetPosition().X();
    const float y = hero.GetPosition().Y();
    for (float d = 0.0f; d <= range; d += 16.0f) {
      const float px = x + dir * d;
      if (!Solid(px - 1.0f, y - 130.0f, px + 1.0f, y + 300.0f)) return false;
    }
    return true;
  }

  bool TireAhead(float x, float range) const {
    for (const GameObject* tire : Live("Tire")) {
      const float dx = tire->GetPosition().X() - x;
      if (tire->GetFrame() == 0 && dx > 0.0f && dx < range) return true;
    }
    return false;
  }

  static GameObject* LiftAhead(float x) {
    for (GameObject* lift : Live("FactoryPlatform")) {
      const float dx = lift->GetPosition().X() - x;
      if (dx > -128.0f && dx < 300.0f) return lift;
    }
    return nullptr;
  }

  // Waits at the ledge for the lift near the bottom of its travel and hops on, rides it in
  // its middle, and near the top jumps off onto the rigging's foot.
  ActionBits Lift(const PlayerObject& hero, const GameObject& lift) {
    const float x = hero.GetPosition().X();
    const float y = hero.GetPosition().Y();
    const float top = lift.GetPosition().Y();
    const float left = lift.GetPosition().X() - 128.0f;
    const bool rising = lift.GetVelocity().Y() < 0.0f;
    const float exit = ColumnTop(lift.GetPosition().X() + 150.0f, top + 600.0f);
    if (!OnGround(hero)) {
      Detail("lift hop");
      return MOVE_RIGHT | (hero.GetVelocity().Y() < 0.0f && (m_last & JUMP) ? JUMP : 0);
    }
    if (x > left && std::fabs(y - top) < 6.0f) {
      // In the middle: pressed against the rigging's face, the hero would hold the lift.
      Detail("ride the lift");
      if (top < exit + 100.0f && rising) return Press(JUMP) | MOVE_RIGHT;
      return x < lift.GetPosition().X() - 10.0f ? MOVE_RIGHT : 0;
    }
    Detail("wait for the lift");
    // Well clear of the gap: the lift coming down would push a foot over it into the ledge.
    if (x < left - 44.0f) return MOVE_RIGHT;
    // On its way up from the bottom, or coming down to it: the hop lands on it either way.
    if ((rising && top > y - 15.0f && top < y + 10.0f) ||
        (!rising && top > y - 60.0f && top < y - 20.0f)) {
      return Press(JUMP) | MOVE_RIGHT;
    }
    return 0;
  }

  // From Kaje's arrival at the first crate until its last shield has faded.
  static bool IsShieldStage(const GameObject& kaje) {
    const BehaviorFn b = kaje.GetBehavior();
    return b == KajeShieldWait || b == KajeRocketWait || b == KajeFireRockets ||
           b == KajeCrateCheck || b == KajeShieldFadeOut || (b == nullptr && First("AirshipClaw"));
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
    if (!OnGround(hero) && m_swordJump) {
      // Below the claw, the sword's forward cut reaches it from the top of a held jump: a
      // combo of cuts there costs no energy.
      m_phase = "claw cut";
      const ActionBits keys = hero.GetVelocity().Y() < 0.0f ? JUMP : 0;
      if (hero.GetStateHandler() == &PlayerObject::StateSword) {
        const int since = hero.GetLocalVars().m_nFramesSinceSwing;
        return keys | (since == 8 && hero.GetLocalVars().m_iCurOrb < 3 ? SWING_SWORD : 0);
      }
      return keys | (height > 100.0f && hero.GetVelocity().Y() < 0.0f ? Press(SWING_SWORD) : 0);
    }
    if (!OnGround(hero)) {
      m_phase = "claw jump";
      ActionBits keys = hero.GetVelocity().Y() < 0.0f ? JUMP : 0;
      if (height > 120.0f || hero.GetState() == PLAYER_CYCLONE) keys |= STRIDE;
      return keys;
    }
    m_swordJump = false;
    if (!settled) {
      m_phase = "claw wait";
      return 0;
    }
    // Within 8 of the spot both the Cyclone and the cuts reach the claw. Near it the hero
    // lets the braking stop him before he steps again: stepping back at once overshoots,
    // and he would sway about the spot for good.
    const float off = std::fabs(hero.GetPosition().X() - spot);
    if (off > 16.0f || (off > 8.0f && hero.GetVelocity().X() == 0.0f)) {
      m_phase = "claw approach";
      return MoveToward(hero, spot);
    }
    m_phase = "claw ready";
    if (hero.GetVelocity().X() != 0.0f || (m_last & JUMP)) return 0;
    // Enough for a Cyclone and, after it, for the guard's Strides.
    if (hero.GetEnergy() >= 145.0f) return JUMP;
    // Meanwhile cuts, facing the claw, while no rocket flies or comes soon: a hero cutting
    // in the air has no guard.
    bool quiet =
        b == KajeShieldWait || (b == KajeRocketWait && FlagOr(kaje, "StateTime", 0.0f) > 40.0f);
    for (const GameObject* rocket : Live("KajeRocket")) {
      // A rocket flies 5 px a frame: from this far it can't reach the hero during a cut.
      const Vector2 d = rocket->GetPosition() - hero.GetPosition();
      quiet &= std::fabs(d.X()) > 260.0f || std::fabs(d.Y()) > 330.0f;
    }
    if (!quiet) return 0;
    if (hero.IsFacingLeft() != (side > 0.0f))
      return (m_last & (MOVE_LEFT | MOVE_RIGHT)) ? 0 : side > 0.0f ? MOVE_LEFT : MOVE_RIGHT;
    m_swordJump = true;
    return JUMP;
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
      if (!target ||
          std::fabs(tiger->GetPosition().X() - x) < std::fabs(target->GetPosition().X() - x)) {
        target = tiger;
      }
    }
    if (target) {
      m_phase = "tiger";
      lo = 70.0f;
      hi = 84.0f;
    } else if (b == KajePhaseOneMove || b == KajePhaseTwoLand || b == KajePhaseTwoWait ||
               b == KajePhaseTwoJump) {
      // Kaje on the move: follow at a distance, out of its way, and Stride through it when
      // it comes by (a Stride can't be hurt, and each one hits once).
      const float gap = std::fabs(kaje.GetPosition().X() - x);
      if (hero.GetState() == PLAYER_STRIDE && m_strideDir != 0.0f) {
        m_phase = "stride through kaje";
        const float dx = kaje.GetPosition().X() - x;
        if (++m_strideFrames < 30 && dx * m_strideDir > -60.0f) return STRIDE | Toward(m_strideDir);
        m_strideDir = 0.0f;
        return 0;
      }
      m_strideDir = 0.0f;
      if (OnGround(hero) && gap < 110.0f && hero.GetEnergy() > 100.0f &&
          FlagOr(kaje, "DamagedTime", 0.0f) == 0.0f) {
        m_phase = "stride at kaje";
        m_strideDir = kaje.GetPosition().X() > x ? 1.0f : -1.0f;
        m_strideFrames = 0;
        return STRIDE | Toward(m_strideDir);
      }
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
  ActionBits Fight(const PlayerObject& hero, const GameObject& target, float lo, float hi,
                   int comboAt = 8) {
    const float dx = hero.GetPosition().X() - target.GetPosition().X();
    const float side = dx < 0.0f ? -1.0f : 1.0f;
    const ActionBits toward = side < 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    const ActionBits away = side < 0.0f ? MOVE_LEFT : MOVE_RIGHT;
    if (hero.GetStateHandler() == &PlayerObject::StateSword) {
      const int since = hero.GetLocalVars().m_nFramesSinceSwing;
      if (since == comboAt && hero.GetLocalVars().m_iCurOrb < 3 && std::fabs(dx) < hi + 10.0f)
        return SWING_SWORD;
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
    for (const GameObject* shot : Live("TigerCShot")) check(shot, 12.0f, -4.0f, 4.0f);
    for (const GameObject* tiger : Live("TigerE")) check(tiger, 44.0f, -46.0f, 0.0f);
    for (const GameObject* tiger : Live("TigerC")) check(tiger, 44.0f, -56.0f, 0.0f);
    for (const GameObject* shredder : Live("Shredder")) check(shredder, 52.0f, -68.0f, 0.0f);
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
  std::string m_traced;
  int m_frame = 0;
  std::vector<Box> m_ground;
  float m_lastX = 0.0f;
  int m_strideFrames = 0;
  float m_strideDir = 0.0f;
  bool m_swordJump = false;
  float m_shaftTop = 0.0f;
  int m_superJump = 0;
  float m_superTop = 0.0f;
  ActionBits m_last = 0;
  bool m_parry = false;
  ActionBits m_parryDirection = MOVE_LEFT;
};

}  // namespace

std::unique_ptr<Pilot> MakeAirshipPilot() {
  return std::make_unique<AirshipPilot>();
}

}  // namespace autopilot
