// The junkyard pilot: runs the scrap heaps to the arena, beats the Grindlenaut from
// behind and walks out through the opened barrier.
//
// On the way it reads the ground ahead: it jumps half steps and short gaps from their
// edge, Strides across the gap too wide to jump and through the tire stacks, jumps for
// the orbs overhead, drops onto the pit's lift and jumps off it at the top. It cuts down
// each foe it meets with the sword, or Strides through it when down to its last orb (a
// Stride can't be hurt, and none of them outruns the hero).
//
// In the arena it follows the boss's body states: it stays behind the boss while it
// rises and charges, cuts at the hull's rear while it rests at a wall, keeps to the far
// wall while the arm throws scrap, crosses over the buried boss so as to be behind it
// again when it comes up, and cuts down the Rummager the dive calls up.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>

#include "autopilot/Pilot.h"
#include "behaviorlib/Includes/Grindlenaut.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace autopilot {
namespace {

// The arena between its walls, and the trigger that wakes the boss.
constexpr float kArenaLeft = 14720.0f;
constexpr float kArenaRight = 16000.0f;
constexpr float kTriggerX = 14900.0f;
// The hero's half width and the sword's reach beyond it.
constexpr float kHeroHalfWidth = 14.0f;
constexpr float kSwordReach = 50.0f;
// The boss turns when its rest time runs out; the last swing starts before this.
constexpr float kLastSwingTime = 75.0f;
// How far behind the boss the hero keeps while it rises and charges, and behind the
// point where it will come up; a Rummager nearer than kRummagerRange is fought first.
constexpr float kFollowDistance = 330.0f;
constexpr float kComeUpClearance = 300.0f;
constexpr float kRummagerRange = 400.0f;
// An enemy this close ahead is fought: cut with the sword from kCutRange, or, with fewer
// whole orbs than kSwordFromHealth, Strided through. A Stride lasts at least this many
// frames, and on while anything is still close ahead.
constexpr float kStrideRange = 170.0f;
constexpr float kCutRange = 75.0f;
constexpr int kSwordFromHealth = 2;
constexpr int kStrideFrames = 24;
constexpr float kStillAhead = 60.0f;
// A gap wider than this takes a Stride, started this far short of its edge so as to
// leave at full speed.
constexpr float kWideGap = 200.0f;
constexpr float kStrideLeapRunUp = 110.0f;
// An orb overhead is jumped for from this far short of it.
constexpr float kOrbJumpLead = 35.0f;
// A lift takes over this far short of its shaft; the hero jumps off it for the ledge once
// it is this near below.
constexpr float kLiftApproach = 150.0f;
constexpr float kLiftJumpOff = 120.0f;

class JunkyardPilot : public Pilot {
 public:
  ActionBits Next(int frame) override {
    m_frame = frame;
    const PlayerObject* hero = Hero();
    if (!hero) return 0;
    m_x = hero->GetPosition().X();
    m_y = hero->GetPosition().Y();
    m_vx = hero->GetVelocity().X();
    m_vy = hero->GetVelocity().Y();
    m_hero = hero;
    if (Tracing()) TraceCheckpoints();

    ActionBits keys = 0;
    switch (m_stage) {
      case Stage::kToArena:
        keys = ToArena();
        break;
      case Stage::kWakeBoss:
        keys = WakeBoss();
        break;
      case Stage::kFight:
        keys = Fight();
        break;
      case Stage::kExit:
        keys = Exit();
        break;
    }
    // A jump or a swing needs a fresh press: let go for a frame first.
    for (ActionBits press : {JUMP, SWING_SWORD}) {
      if ((keys & press) && (m_pressOnly & press) && (m_held & press)) keys &= ~press;
    }
    m_pressOnly = 0;
    m_held = keys;
    return keys;
  }

  std::string Phase() const override {
    static const char* const kNames[] = {"to the arena", "wake the boss", "fight", "exit"};
    return std::string(kNames[static_cast<int>(m_stage)]) + " (" + m_detail + ")";
  }

 private:
  enum class Stage { kToArena, kWakeBoss, kFight, kExit };

  void Enter(Stage stage) {
    m_stage = stage;
    if (Tracing())
      std::fprintf(stderr, "%6d %8.1f %7.1f -> %s\n", m_frame, m_x, m_y, Phase().c_str());
  }
  void Detail(const char* detail) {
    if (m_detail == detail) return;
    m_detail = detail;
    if (Tracing()) {
      std::fprintf(stderr, "%6d %8.1f %7.1f  %s  energy %.0f health %d\n", m_frame, m_x, m_y,
                   detail, m_hero->GetEnergy(), m_hero->GetHealth());
    }
  }

  // A checkpoint that has fired has no behaviour left.
  void TraceCheckpoints() {
    for (GameObject* checkpoint : Live("TriggerCheckPoint")) {
      if (checkpoint->GetBehavior() == nullptr && m_checkpointsFired.insert(checkpoint).second) {
        std::fprintf(stderr, "%6d %8.1f %7.1f  checkpoint %zu\n", m_frame, m_x, m_y,
                     m_checkpointsFired.size());
      }
    }
  }

  // ---- moving about ----------------------------------------------------------------

  // A key that acts only on a fresh press.
  ActionBits Press(ActionBits key) {
    m_pressOnly |= key;
    return key;
  }

  bool OnGround() const { return !m_hero->IsAirborne(); }
  // A Stride starts only above a quarter of the full energy.
  bool EnergyOk() const { return m_hero->GetEnergy() > 0.25f * m_hero->GetMaxEnergy(); }

  // Runs toward x and stops near it, allowing for the slide.
  ActionBits Steer(float x, float tolerance = 4.0f) {
    const float dx = x - m_x;
    const float slide = m_vx * std::fabs(m_vx) * 0.5f;
    if (dx - slide > tolerance) return MOVE_RIGHT;
    if (dx - slide < -tolerance) return MOVE_LEFT;
    return 0;
  }

  // Whether a ground tile blocks the hero's body within `ahead` pixels in direction `dir`.
  bool StepAhead(float dir, float ahead) const {
    for (GameObject* tile : Live("JunkyardGround")) {
      const Box box = BoxOf(*tile, 0);
      if (box.Empty() || box.top > m_y - 4.0f || box.bottom < m_y - 60.0f) continue;
      const float gap =
          dir > 0.0f ? box.left - (m_x + kHeroHalfWidth) : (m_x - kHeroHalfWidth) - box.right;
      if (gap >= -1.0f && gap < ahead) return true;
    }
    return false;
  }

  // Runs the way `move` says and jumps whatever step stands in the way.
  ActionBits RunJumping(ActionBits move) {
    ActionBits keys = move;
    const float dir = (move & MOVE_RIGHT) ? 1.0f : (move & MOVE_LEFT) ? -1.0f : 0.0f;
    if (OnGround()) {
      if (dir != 0.0f && StepAhead(dir, 40.0f)) keys |= Press(JUMP);
    } else if (m_vy < 0.0f) {
      keys |= JUMP;  // held: the full jump
    }
    return keys;
  }

  // The nearest live object ahead of the hero (to the right) among these names.
  GameObject* NearestAhead(std::initializer_list<const char*> names, float range) const {
    GameObject* best = nullptr;
    float bestDx = range;
    for (const char* name : names) {
      for (GameObject* object : Live(name)) {
        const float dx = object->GetPosition().X() - m_x;
        if (dx > -20.0f && dx < bestDx && std::fabs(object->GetPosition().Y() - m_y) < 150.0f) {
          best = object;
          bestDx = dx;
        }
      }
    }
    return best;
  }

  // ---- the way to the arena ------------------------------------------------------------

  bool HasStride() const { return (m_hero->GetAbilities() & ABILITY_STRIDE) != 0; }

  // Whether a tile or a ramp piece covers the point.
  static bool GroundAt(float x, float y) {
    for (const char* name : {"JunkyardGround", "JunkyardRamps"}) {
      for (GameObject* piece : Live(name)) {
        const Box box = BoxOf(*piece, 0);
        if (!box.Empty() && x >= box.left && x <= box.right && y >= box.top && y <= box.bottom)
          return true;
      }
    }
    return false;
  }

  // Running right toward a gap: the next step would leave the ground under the hero's middle.
  // Probing deep enough that the foot of a ramp down doesn't look like one.
  bool GapAhead() const { return !GroundAt(m_x + std::max(m_vx, 0.0f) + 2.0f, m_y + 60.0f); }

  ActionBits ToArena() {
    if (m_x > kArenaLeft - 120.0f) {
      Enter(Stage::kWakeBoss);
      return WakeBoss();
    }
    static const std::initializer_list<const char*> kFoes = {"Rat", "Rummager", "TigerE"};
    // A Stride under way carries on through whatever it was started for.
    if (m_hero->GetState() == PLAYER_STRIDE) {
      const bool close = NearestAhead(kFoes, kStillAhead) || RestingTireAhead(kStillAhead);
      // In the air it flies on until it lands.
      if (m_strideFrames++ < kStrideFrames || close || !OnGround()) {
        Detail("stride");
        return MOVE_RIGHT | STRIDE;
      }
    }
    m_strideFrames = 0;
    if (OnGround() && RestingTireAhead(120.0f)) {
      if (EnergyOk()) {
        Detail("stride the tires");
        return MOVE_RIGHT | STRIDE;
      }
      Detail("wait for energy");
      return 0;
    }
    if (GameObject* foe = NearestAhead(kFoes, kStrideRange)) {
      // Every foe is worth its points to the sword; a hero down to his last orb Strides
      // through instead, unharmed.
      if (m_hero->GetHealth() < kSwordFromHealth && HasStride() && EnergyOk() && OnGround()) {
        Detail("stride an enemy");
        return MOVE_RIGHT | STRIDE;
      }
      return FightAhead(*foe);
    }
    if (OnGround() && OrbOverhead()) {
      Detail("jump for an orb");
      return MOVE_RIGHT | Press(JUMP);
    }
    if (GameObject* lift = LiftInReach()) return RideLift(*lift);
    if (OnGround() && HasStride() && WideGapAhead()) {
      if (EnergyOk()) {
        Detail("stride across a gap");
        return MOVE_RIGHT | STRIDE;
      }
      Detail("wait for energy");
      return 0;
    }
    if (OnGround() && GapAhead()) {
      Detail("jump a gap");
      return MOVE_RIGHT | Press(JUMP);
    }
    Detail("run");
    return RunJumping(MOVE_RIGHT);
  }

  // The sword: face the foe and cut when it is close.
  ActionBits FightAhead(const GameObject& foe) {
    const float dx = foe.GetPosition().X() - m_x;
    const float dir = dx > 0.0f ? 1.0f : -1.0f;
    const bool facing = dir > 0.0f ? !m_hero->IsFacingLeft() : m_hero->IsFacingLeft();
    if (!facing && !m_hero->IsAttacking()) {
      Detail("face a foe");
      return dir > 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    }
    if (std::fabs(dx) < kCutRange || m_hero->IsAttacking()) {
      Detail("cut a foe");
      return (m_frame % 10 == 0) ? Press(SWING_SWORD) : 0;
    }
    Detail("close in on a foe");
    return Steer(foe.GetPosition().X() - dir * kCutRange * 0.6f, 8.0f);
  }

  // A circling orb the hero's jump would take from here: just ahead and within reach.
  bool OrbOverhead() const {
    for (GameObject* orb : Live("Powerup")) {
      const float x = FlagOr(*orb, "xValue", -1.0f);
      const float y = FlagOr(*orb, "yValue", -1.0f);
      if (x < 0.0f) continue;  // a dropped power-up lies in the way anyway
      const float dx = x - m_x;
      if (dx > kOrbJumpLead - 15.0f && dx < kOrbJumpLead + 15.0f && y < m_y - 50.0f &&
          y > m_y - 220.0f)
        return true;
    }
    return false;
  }

  // A gap too wide to jump starts within kStrideLeapRunUp ahead: the far side lies more
  // than kWideGap beyond its near edge (looked for well below, where it may land).
  bool WideGapAhead() const {
    float edge = -1.0f;
    for (float d = 0.0f; d <= kStrideLeapRunUp; d += 4.0f) {
      if (!GroundAt(m_x + d, m_y + 60.0f)) {
        edge = d;
        break;
      }
    }
    if (edge < 0.0f) return false;
    for (float d = edge; d <= edge + kWideGap; d += 8.0f) {
      if (GroundAt(m_x + d, m_y + 300.0f)) return false;
    }
    return true;
  }

  // The top of the ground just right of a lift's shaft: the ledge it climbs to.
  static float LedgeTop(const Box& shaft) {
    float top = std::numeric_limits<float>::max();
    const float x = shaft.right + 64.0f;
    for (GameObject* tile : Live("JunkyardGround")) {
      const Box box = BoxOf(*tile, 0);
      if (!box.Empty() && x >= box.left && x <= box.right) top = std::min(top, box.top);
    }
    return top;
  }

  // A lift whose shaft the hero stands beside, below its ledge, or rides.
  GameObject* LiftInReach() const {
    for (GameObject* lift : Live("FactoryPlatform")) {
      const Box box = BoxOf(*lift, 0);
      if (m_x > box.left - kLiftApproach && m_x < box.right + 20.0f && m_y > LedgeTop(box) + 30.0f)
        return lift;
    }
    return nullptr;
  }

  // Drops onto the lift while it stands below the floor at the shaft's left, rides it
  // up, and leaves it for the ledge at the right: walking off once the lift stands at or
  // above the ledge, or jumping once it is near and still rising.
  ActionBits RideLift(const GameObject& lift) {
    const Box box = BoxOf(lift, 0);
    const float ledge = LedgeTop(box);
    const bool onLift = OnGround() && m_x > box.left - 10.0f && m_x < box.right + 10.0f &&
                        std::fabs(m_y - box.top) < 8.0f;
    if (onLift) {
      m_leavingLift = false;
      if (box.top <= ledge) {
        Detail("walk off the lift");
        m_leavingLift = true;
        return MOVE_RIGHT;
      }
      if (box.top < ledge + kLiftJumpOff && lift.GetVelocity().Y() < 0.0f) {
        Detail("jump off the lift");
        m_leavingLift = true;
        return MOVE_RIGHT | Press(JUMP);
      }
      // Near its ledge end, so that the jump off clears the ledge's edge.
      Detail("ride the lift");
      return Steer(box.right - 40.0f, 6.0f);
    }
    if (!OnGround()) {
      Detail("in the air by the lift");
      if (m_leavingLift) return RunJumping(MOVE_RIGHT);
      return Steer(0.5f * (box.left + box.right), 10.0f);
    }
    m_leavingLift = false;
    // On the floor left of the shaft: step off its edge while the lift waits below it.
    if (box.top > m_y + 4.0f && box.top < m_y + 80.0f) {
      Detail("step onto the lift");
      return MOVE_RIGHT;
    }
    Detail("wait for the lift");
    return Steer(box.left - 24.0f, 4.0f);
  }

  bool RestingTireAhead(float range) const {
    for (GameObject* tire : Live("Tire")) {
      const float dx = tire->GetPosition().X() - m_x;
      if (tire->GetFrame() == 0 && dx > 0.0f && dx < range) return true;
    }
    return false;
  }

  // Drops into the arena past the trigger; the boss comes up ahead of the hero.
  ActionBits WakeBoss() {
    if (World::GetBoss()) {
      Enter(Stage::kFight);
      return Fight();
    }
    Detail("drop in");
    return RunJumping(Steer(kTriggerX + 30.0f));
  }

  // ---- the fight ------------------------------------------------------------------

  ActionBits Fight() {
    GameObject* boss = World::GetBoss();
    if (!boss) {
      Enter(Stage::kExit);
      return Exit();
    }
    // A Rummager the dive called up comes first.
    for (GameObject* rummager : Live("Rummager")) {
      if (std::fabs(rummager->GetPosition().X() - m_x) < kRummagerRange)
        return FightRummager(*rummager);
    }
    const auto state = boss->GetBehavior();
    const float bx = boss->GetPosition().X();
    const bool facingLeft = boss->IsFacingLeft();
    // Behind the boss is the side its hull's rear points to.
    const float behind = facingLeft ? 1.0f : -1.0f;
    const float time = FlagOr(*boss, "PatrolTime", 0.0f);
    // A swing can't be cut short: stop in time to clear the drill when it turns.
    if (state == GrindlenautPatrol && time > kLastSwingTime) return StrikeRear(*boss, behind);
    if (state == GrindlenautPatrol && time > 0.0f) {
      // About to turn round: back off toward the wall it will face.
      Detail("clear out before the turn");
      return Steer(behind > 0.0f ? kArenaRight - 40.0f : kArenaLeft + 40.0f);
    }
    if (state == GrindlenautPatrol || state == GrindlenautEmerge) {
      Detail("follow behind");
      return Steer(bx + behind * kFollowDistance, 20.0f);
    }
    if (state == GrindlenautArmAttack || state == GrindlenautDive) {
      // It faces the hero now. Its scrap falls well short of the far wall.
      Detail("keep to the far wall");
      return Steer(facingLeft ? kArenaLeft + 40.0f : kArenaRight - 40.0f, 10.0f);
    }
    if (state == GrindlenautWait) {
      // Buried: it will come up drifting the way it faces; be behind that point.
      Detail("cross over the buried boss");
      const float target =
          std::clamp(bx + behind * kComeUpClearance, kArenaLeft + 40.0f, kArenaRight - 40.0f);
      return Steer(target, 10.0f);
    }
    Detail("stand clear of the death");
    return 0;
  }

  // Cuts at the hull's rear: Sword combos from just out of its reach.
  ActionBits StrikeRear(const GameObject& boss, float behind) {
    const Box hull = BoxOf(boss, 1);
    const float rear = behind < 0.0f ? hull.left : hull.right;
    const float stand = rear + behind * (kHeroHalfWidth + kSwordReach * 0.6f);
    const bool facingBoss = behind < 0.0f ? !m_hero->IsFacingLeft() : m_hero->IsFacingLeft();
    if (std::fabs(m_x - stand) > 12.0f && !m_hero->IsAttacking()) {
      Detail("to the rear");
      return Steer(stand, 4.0f);
    }
    if (!facingBoss && !m_hero->IsAttacking()) {
      Detail("turn to the rear");
      return behind < 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    }
    Detail("cut the rear");
    return (m_frame % 10 == 0) ? Press(SWING_SWORD) : 0;
  }

  ActionBits FightRummager(const GameObject& rummager) {
    const float dx = rummager.GetPosition().X() - m_x;
    const float dir = dx > 0.0f ? 1.0f : -1.0f;
    const bool facing = dir > 0.0f ? !m_hero->IsFacingLeft() : m_hero->IsFacingLeft();
    if (!facing && !m_hero->IsAttacking()) {
      Detail("face the Rummager");
      return dir > 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    }
    if (std::fabs(dx) < 80.0f || m_hero->IsAttacking()) {
      Detail("cut the Rummager");
      return (m_frame % 10 == 0) ? Press(SWING_SWORD) : 0;
    }
    Detail("wait for the Rummager");
    return 0;
  }

  // ---- the way out ------------------------------------------------------------------

  ActionBits Exit() {
    Detail("walk out");
    return RunJumping(MOVE_RIGHT);
  }

  Stage m_stage = Stage::kToArena;
  std::string m_detail = "start";
  const PlayerObject* m_hero = nullptr;
  int m_frame = 0;
  float m_x = 0.0f;
  float m_y = 0.0f;
  float m_vx = 0.0f;
  float m_vy = 0.0f;
  int m_strideFrames = 0;
  bool m_leavingLift = false;
  std::set<const GameObject*> m_checkpointsFired;
  ActionBits m_held = 0;
  ActionBits m_pressOnly = 0;
};

}  // namespace

std::unique_ptr<Pilot> MakeJunkyardPilot() {
  return std::make_unique<JunkyardPilot>();
}

}  // namespace autopilot
