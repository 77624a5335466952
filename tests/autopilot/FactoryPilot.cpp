// The factory pilot: plays the four floors in turn, then fights TigerA from the edge
// of sword reach, takes the SuperJump core with a held jump and runs out past the exit.
//
// On the floors it runs one way, jumps the steps it reads from the tiles ahead, climbs
// out of pits, Strides through tire stacks and through the enemies it meets (a Stride
// can't be hurt), waits for the energy a Stride needs (under a gunner's perch, out of
// its line of fire), hops over bolts, rides the lifts and climbs the WallJump shafts.
// The route is a list of legs, each ending on where the hero stands.
//
// VANTREL_PILOT_TRACE=1 reports each leg and each change of what the pilot does;
// FACTORY_PILOT_TRACE=1 traces the TigerA fight frame by frame.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "autopilot/Pilot.h"
#include "behaviorlib/Includes/TigerA.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace autopilot {
namespace {

// The floors' surfaces; the hero stands just above them.
constexpr float kFloorT = 448.0f;
constexpr float kFloorA = 1216.0f;
constexpr float kFloorB = 1984.0f;
constexpr float kFloorC = 2752.0f;
// A lift beside a wall: where the hero waits by its well, where he rides it, the floor
// he waits on and the top of the wall he steps off onto.
struct LiftSpot {
  float waitX, liftX, floor, wallTop;
};
constexpr LiftSpot kLiftA{3170.0f, 3328.0f, kFloorA, 832.0f};
constexpr LiftSpot kLiftC{1250.0f, 1408.0f, kFloorC, 2368.0f};
constexpr LiftSpot kLiftD{3670.0f, 3840.0f, kFloorC, 2368.0f};
// The WallJump shaft: its two faces and the top of the column on its right.
constexpr float kShaftLeft = 5120.0f;
constexpr float kShaftRight = 5248.0f;
constexpr float kColumnTop = 960.0f;
// The shaft hanging from floor B's ceiling, its faces, and the orb at its top.
constexpr float kOrbShaftX = 1344.0f;
constexpr float kOrbShaftLeft = 1280.0f;
constexpr float kOrbShaftRight = 1408.0f;
constexpr float kOrbShaftTop = 1560.0f;
// Low passages where a jump only bumps the head: under the hanging walls.
struct Span {
  float left, right, floor;
};
constexpr Span kLowPassages[] = {{4736.0f, 5120.0f, kFloorA}, {1152.0f, 1536.0f, kFloorB}};

constexpr float kArenaEntry = 5900.0f;
constexpr float kRewardX = 6656.0f;
// The wall between the arena and the exit, four tiles high: only a SuperJump clears it.
constexpr float kExitWall = 7936.0f;
constexpr float kExitWallTop = 2240.0f;
// The sword reaches TigerA's body from this far; its body reaches the hero's closer in.
// The hero's body is 12 wide each side of him; his first swing reaches 28 ahead.
constexpr float kBodyGap = 15.0f;
constexpr float kFirstSwingReach = 25.0f;
constexpr float kBombGravity = 0.7f;
// Where the hero waits: out of reach of TigerA's charge to the centre, and farther
// left while a bomb comes down there.
constexpr float kNearPost = 6490.0f;
constexpr float kFarPost = 6170.0f;
constexpr float kHeroHalfWidth = 14.0f;
// A Stride lasts at least this long and goes on while something is close ahead.
constexpr int kStrideFrames = 24;
constexpr float kStillAhead = 60.0f;
constexpr int kLongestStride = 40;
// The energy the hero gathers below a gunner's perch: enough for a long Stride.
constexpr float kGunnerEnergy = 160.0f;
// Everything on the floors that hurts on touch.
constexpr const char* kEnemies[] = {"Rat", "TigerC", "Shredder", "TigerE", "Constructor"};

// The route, leg by leg: each runs one way until the hero gets somewhere, or rides a
// lift, or climbs the shaft.
enum class Kind { RunTo, RunUntilBelow, Lift, Climb, OrbShaft, Arena };
struct Leg {
  const char* name;
  Kind kind;
  ActionBits move;
  float until;  // the x to reach, or the y to fall below
  const LiftSpot* lift;
};
const Leg kRoute[] = {
    {"the top floor", Kind::RunUntilBelow, MOVE_LEFT, kFloorT + 300.0f, nullptr},
    {"floor A to the lift", Kind::RunTo, MOVE_RIGHT, kLiftA.waitX, nullptr},
    {"lift A", Kind::Lift, 0, 0.0f, &kLiftA},
    {"floor A to the shaft", Kind::RunTo, MOVE_RIGHT, kShaftRight - kHeroHalfWidth - 8.0f, nullptr},
    {"climb the shaft", Kind::Climb, 0, 0.0f, nullptr},
    {"over the column to the hole", Kind::RunUntilBelow, MOVE_RIGHT, kFloorA + 100.0f, nullptr},
    {"floor B to the hanging shaft", Kind::RunTo, MOVE_LEFT, kOrbShaftX, nullptr},
    {"up the hanging shaft to its orb", Kind::OrbShaft, 0, 0.0f, nullptr},
    {"floor B to the hole", Kind::RunUntilBelow, MOVE_LEFT, kFloorB + 200.0f, nullptr},
    {"floor C to the lift", Kind::RunTo, MOVE_RIGHT, kLiftC.waitX, nullptr},
    {"lift C", Kind::Lift, 0, 0.0f, &kLiftC},
    {"floor C to the second lift", Kind::RunTo, MOVE_RIGHT, kLiftD.waitX, nullptr},
    {"lift D", Kind::Lift, 0, 0.0f, &kLiftD},
    {"floor C to the arena", Kind::Arena, MOVE_RIGHT, 0.0f, nullptr},
};

enum class Stage { Route, Fight, Collect, Exit };

class FactoryPilot : public Pilot {
 public:
  ActionBits Next(int frame) override {
    const PlayerObject* hero = Hero();
    if (!hero) return 0;
    m_frame = frame;
    m_hero = hero;
    m_x = hero->GetPosition().X();
    m_y = hero->GetPosition().Y();
    m_vx = hero->GetVelocity().X();
    m_vy = hero->GetVelocity().Y();

    ActionBits keys = 0;
    switch (m_stage) {
      case Stage::Route:
        keys = Route();
        break;
      case Stage::Fight:
        keys = FightStage();
        break;
      case Stage::Collect:
        keys = Collect();
        break;
      case Stage::Exit:
        keys = Exit();
        break;
    }
    // A jump or a swing needs a fresh press: let go for a frame first.
    for (ActionBits press : {JUMP, SWING_SWORD}) {
      if ((keys & press) && (m_pressOnly & press) && (m_held & press)) keys &= ~press;
    }
    m_pressOnly = 0;
    m_held = keys;
    m_lastX = m_x;
    TraceFight(keys);
    return keys;
  }

  std::string Phase() const override { return std::string(StageName()) + " (" + m_detail + ")"; }

 private:
  const char* StageName() const {
    switch (m_stage) {
      case Stage::Route:
        return kRoute[m_leg].name;
      case Stage::Fight:
        return "fight TigerA";
      case Stage::Collect:
        return "take the SuperJump core";
      case Stage::Exit:
        return "run out";
    }
    return "?";
  }
  void Report(const char* what) const {
    if (!Tracing()) return;
    std::fprintf(stderr, "%6d %8.1f %7.1f  %s  energy %.0f health %d\n", m_frame, m_x, m_y, what,
                 m_hero->GetEnergy(), m_hero->GetHealth());
  }
  void Enter(Stage stage) {
    m_stage = stage;
    Report(StageName());
  }
  void NextLeg() {
    ++m_leg;
    m_liftPhase = 0;
    Report(kRoute[m_leg].name);
  }
  void Detail(const char* detail) {
    if (m_detail == detail) return;
    m_detail = detail;
    Report(detail);
  }

  // A key that acts only on a fresh press.
  ActionBits Press(ActionBits key) {
    m_pressOnly |= key;
    return key;
  }
  bool OnGround() const { return !m_hero->IsAirborne(); }
  // A Stride, a Cyclone or a SuperJump starts only above a quarter of the full energy.
  bool EnergyOk() const { return m_hero->GetEnergy() > 0.25f * m_hero->GetMaxEnergy(); }

  // Runs toward x and stops near it, allowing for the slide.
  ActionBits Steer(float x, float tolerance = 4.0f) const {
    const float dx = x - m_x;
    const float slide = m_vx * std::fabs(m_vx) * 0.5f;
    if (dx - slide > tolerance) return MOVE_RIGHT;
    if (dx - slide < -tolerance) return MOVE_LEFT;
    return 0;
  }

  bool InLowPassage() const {
    for (const Span& span : kLowPassages) {
      if (m_x > span.left - 60.0f && m_x < span.right + 60.0f &&
          std::fabs(m_y - span.floor) < 40.0f)
        return true;
    }
    return false;
  }

  // Whether a tile face steeper than a ramp blocks the hero's body within `ahead` pixels.
  bool StepAhead(float dir, float ahead) const {
    for (GameObject* tile : Live("MetalTiles")) {
      const Box box = BoxOf(*tile, 0);
      if (box.Empty() || box.top > m_y - 4.0f || box.bottom < m_y - 60.0f) continue;
      const float gap =
          dir > 0.0f ? box.left - (m_x + kHeroHalfWidth) : (m_x - kHeroHalfWidth) - box.right;
      if (gap >= -1.0f && gap < ahead && m_y - box.top > gap + 20.0f) return true;
    }
    return false;
  }

  // An orb a held jump reaches from here (orbs call themselves "Powerup" once awake).
  bool OrbOverhead(float dir) const {
    for (const GameObject* orb : Live("Powerup")) {
      const float dx = (orb->GetPosition().X() - m_x) * dir;
      const float rise = m_y - orb->GetPosition().Y();
      if (dx > 0.0f && dx < 45.0f && rise > 60.0f && rise < 200.0f) return true;
    }
    return false;
  }

  bool RestingTireAhead(float dir, float range) const {
    for (GameObject* tire : Live("Tire")) {
      if (tire->GetFrame() != 0) continue;
      const float dx = (tire->GetPosition().X() - m_x) * dir;
      if (dx > -30.0f && dx < range && std::fabs(tire->GetPosition().Y() - m_y) < 260.0f)
        return true;
    }
    return false;
  }

  // Runs `move` toward x: Strides through tires and enemies ahead, jumps steps and out of
  // pits, swings at a rat too close for a Stride.
  // How near an enemy ahead may come before the hero Strides at it: a gunner keeps its
  // distance and shoots, a shredder closes fast; the others run at him.
  static float EngageRange(const std::string& name) {
    if (name == "TigerC") return 330.0f;
    if (name == "Shredder") return 250.0f;
    return 170.0f;
  }

  // The nearest enemy on the hero's level within `range` ahead (dir), or behind and
  // closing in within `behind`.
  GameObject* EnemyNear(float dir, float range, float behind) const {
    GameObject* best = nullptr;
    float bestDistance = 1e9f;
    for (const char* name : kEnemies) {
      for (GameObject* enemy : Live(name)) {
        const float dx = (enemy->GetPosition().X() - m_x) * dir;
        if (std::fabs(enemy->GetPosition().Y() - m_y) > 100.0f) continue;
        const bool closing = enemy->GetVelocity().X() * dir < 0.0f;
        if ((dx > -20.0f && dx < range) || (dx < 0.0f && dx > -behind && closing)) {
          if (std::fabs(dx) < bestDistance) {
            best = enemy;
            bestDistance = std::fabs(dx);
          }
        }
      }
    }
    return best;
  }

  // A walker on the step just ahead, out of reach of a Stride from below: it comes
  // down after the hero.
  bool WalkerOnStepAhead(float dir) const {
    for (const char* name : {"Rat", "TigerE", "Shredder"}) {
      for (const GameObject* walker : Live(name)) {
        const float dx = (walker->GetPosition().X() - m_x) * dir;
        const float rise = m_y - walker->GetPosition().Y();
        if (dx > -20.0f && dx < 250.0f && rise > 60.0f && rise < 160.0f) return true;
      }
    }
    return false;
  }

  // A gunner on a perch ahead, above the hero's head.
  bool GunnerAbove(float dir) const {
    for (const GameObject* gunner : Live("TigerC")) {
      const float dx = (gunner->GetPosition().X() - m_x) * dir;
      const float rise = m_y - gunner->GetPosition().Y();
      if (dx > 0.0f && dx < 600.0f && rise > 60.0f && rise < 300.0f) return true;
    }
    return false;
  }

  // A gunner's bolt flying at the hero, low enough to hit him.
  bool BoltComing() const {
    for (const GameObject* bolt : Live("TigerCShot")) {
      const float dx = bolt->GetPosition().X() - m_x;
      const bool toward = dx * bolt->GetVelocity().X() < 0.0f;
      if (toward && std::fabs(dx) < 90.0f &&
          std::fabs(bolt->GetPosition().Y() - (m_y - 30.0f)) < 40.0f)
        return true;
    }
    return false;
  }

  // Runs `move` toward x: Strides through tires and enemies ahead, waits out of reach for
  // the energy a Stride needs, hops over bolts, jumps steps and out of pits.
  ActionBits Run(ActionBits move, float targetX) {
    const float dir = move == MOVE_RIGHT ? 1.0f : -1.0f;
    const ActionBits back = move == MOVE_RIGHT ? MOVE_LEFT : MOVE_RIGHT;
    if ((targetX - m_x) * dir < 4.0f) return 0;
    // A Stride under way carries on through whatever it was started for.
    if (m_hero->GetState() == PLAYER_STRIDE) {
      const float strideDir = m_strideMove == MOVE_RIGHT ? 1.0f : -1.0f;
      const bool close =
          EnemyNear(strideDir, kStillAhead, 0.0f) || RestingTireAhead(strideDir, kStillAhead);
      if (m_strideFrames++ < kStrideFrames || (close && m_strideFrames < kLongestStride)) {
        Detail("stride");
        return m_strideMove | STRIDE;
      }
    }
    m_strideFrames = 0;
    if (!OnGround()) {
      // In the air: hold the jump while rising, for the full height; a hop over a bolt
      // comes down where it left; a Cyclone spins on to the ground.
      const ActionBits carry = m_hopping ? 0 : move;
      const ActionBits spin = m_spinning ? STRIDE : 0;
      return (m_vy < 0.0f ? carry | JUMP : carry) | spin;
    }
    m_hopping = false;
    m_spinning = false;
    if (BoltComing()) {
      Detail("hop over a bolt");
      m_hopping = true;
      return Press(JUMP);
    }
    if (RestingTireAhead(dir, 120.0f)) {
      if (!EnergyOk()) {
        Detail("wait for energy at the tires");
        return 0;
      }
      Detail("stride through the tires");
      return Stride(move);
    }
    // A gunner up on a perch ahead: gather the energy for a Stride through it down here,
    // under its line of fire, before climbing up to it.
    if (GunnerAbove(dir) && m_hero->GetEnergy() < kGunnerEnergy) {
      Detail("wait under a gunner's perch");
      return 0;
    }
    if (WalkerOnStepAhead(dir)) {
      Detail("wait for a walker to come down");
      return 0;
    }
    if (const GameObject* enemy = EnemyNear(dir, 450.0f, 90.0f)) {
      const float dx = (enemy->GetPosition().X() - m_x) * dir;
      const ActionBits at = dx >= 0.0f ? move : back;
      const std::string& name = enemy->GetName();
      // A gunner or a shredder takes more than one Stride: meet it with more in hand.
      const bool strong = name == "TigerC" || name == "Shredder";
      const bool ready =
          EnergyOk() && (!strong || m_hero->GetEnergy() > 0.35f * m_hero->GetMaxEnergy());
      if (std::fabs(dx) < 80.0f) {
        if (EnergyOk()) {
          Detail("stride at a close enemy");
          return Stride(at);
        }
        // Too little energy: cut at it, turning to face it first.
        const bool facing = (at == MOVE_LEFT) == m_hero->IsFacingLeft();
        Detail("swing at an enemy");
        return facing ? Press(SWING_SWORD) : at;
      }
      if (dx > 0.0f && !ready) {
        Detail("stand for energy");
        return 0;
      }
      // Once the Cyclone is his, a gunner or a tiger on the hero's level is spun through:
      // jump, then hold A in the air.
      const bool spinnable = name == "TigerC" || name == "TigerE";
      if (spinnable && (m_hero->GetAbilities() & ABILITY_CYCLONE) && ready && dx > 0.0f &&
          dx < 300.0f) {
        Detail("Cyclone through an enemy");
        m_spinning = true;
        return move | Press(JUMP);
      }
      if (dx > 0.0f && dx < EngageRange(name)) {
        Detail("stride through an enemy");
        return Stride(move);
      }
    }
    if (!InLowPassage() && OrbOverhead(dir)) {
      Detail("jump for an orb");
      return move | Press(JUMP);
    }
    const bool stuck = (m_held & move) && std::fabs(m_x - m_lastX) < 0.5f;
    if (!InLowPassage() && (StepAhead(dir, 40.0f) || stuck)) {
      Detail("jump");
      return move | Press(JUMP);
    }
    Detail("run");
    return move;
  }

  ActionBits Stride(ActionBits move) {
    m_strideMove = move;
    return move | STRIDE;
  }

  // ---- the route ---------------------------------------------------------------------

  ActionBits Route() {
    const Leg& leg = kRoute[m_leg];
    const float dir = leg.move == MOVE_RIGHT ? 1.0f : -1.0f;
    switch (leg.kind) {
      case Kind::RunTo:
        if ((m_x - leg.until) * dir >= -6.0f && OnGround()) {
          NextLeg();
          return Route();
        }
        return Run(leg.move, leg.until);
      case Kind::RunUntilBelow:
        if (m_y > leg.until) {
          NextLeg();
          return Route();
        }
        return Run(leg.move, dir * 100000.0f);
      case Kind::Lift:
        return RideLift(*leg.lift);
      case Kind::Climb:
        return Climb();
      case Kind::OrbShaft:
        return OrbShaft();
      case Kind::Arena:
        if (World::GetBoss()) {
          Enter(Stage::Fight);
          return FightStage();
        }
        return Run(MOVE_RIGHT, m_x < kArenaEntry ? kArenaEntry + 200.0f : m_x + 100.0f);
    }
    return 0;
  }

  // The nearest lift to a spot.
  static const GameObject* LiftAt(const LiftSpot& spot) {
    const GameObject* best = nullptr;
    for (const GameObject* lift : Live("FactoryPlatform")) {
      if (!best || std::fabs(lift->GetPosition().X() - spot.liftX) <
                       std::fabs(best->GetPosition().X() - spot.liftX)) {
        best = lift;
      }
    }
    return best;
  }

  // Waits beside the well, drops onto the lift while it is down below the floor, rides
  // it up and steps off onto the wall's top.
  ActionBits RideLift(const LiftSpot& spot) {
    const GameObject* lift = LiftAt(spot);
    if (!lift) return Steer(spot.waitX);
    const float top = lift->GetPosition().Y();
    const float toward = spot.liftX > spot.waitX ? 1.0f : -1.0f;
    if (m_liftPhase == 0) {
      if ((m_x - spot.waitX) * toward > 30.0f && OnGround() && std::fabs(m_y - top) < 4.0f) {
        m_liftPhase = 1;
        Report("on the lift");
      } else {
        const bool down = top > spot.floor + 20.0f &&
                          (lift->GetVelocity().Y() > 0.0f || top > spot.floor + 70.0f);
        if (down) {
          Detail("drop onto the lift");
          return Steer(spot.liftX);
        }
        // Something come to bother the hero while he waits: cut at it.
        if (const GameObject* enemy = EnemyNear(1.0f, 90.0f, 90.0f)) {
          const ActionBits at = enemy->GetPosition().X() > m_x ? MOVE_RIGHT : MOVE_LEFT;
          const bool facing = (at == MOVE_LEFT) == m_hero->IsFacingLeft();
          Detail("swing at an enemy by the lift");
          return facing ? Press(SWING_SWORD) : at;
        }
        Detail("wait for the lift");
        return Steer(spot.waitX);
      }
    }
    if (top < spot.wallTop - 8.0f) {
      NextLeg();
      return Route();
    }
    Detail("ride");
    return Steer(spot.liftX);
  }

  // The orb at the top of the hanging shaft, if it is still there.
  static bool OrbInShaft() {
    for (const GameObject* orb : Live("Powerup")) {
      const Vector2& p = orb->GetPosition();
      if (p.X() > kOrbShaftLeft && p.X() < kOrbShaftRight &&
          std::fabs(p.Y() - kOrbShaftTop) < 60.0f)
        return true;
    }
    return false;
  }

  // Up the hanging shaft from wall to wall to its orb, then down again.
  ActionBits OrbShaft() {
    if (OnGround()) {
      if (!OrbInShaft() || m_shaftTries >= 2) {
        NextLeg();
        return Route();
      }
      if (std::fabs(m_x - kOrbShaftX) > 4.0f || std::fabs(m_vx) > 0.5f) {
        Detail("under the hanging shaft");
        return Steer(kOrbShaftX, 2.0f);
      }
      ++m_shaftTries;
      Detail("jump into the hanging shaft");
      m_climbDir = -1.0f;
      return MOVE_LEFT | Press(JUMP);
    }
    if (!OrbInShaft()) {
      Detail("drop from the hanging shaft");
      return 0;
    }
    return KickBetweenFaces();
  }

  // Up the shaft from wall to wall: cling, jump off, hold toward the other face.
  ActionBits Climb() {
    if (m_y < kColumnTop - 10.0f && m_x > kShaftLeft + 40.0f) {
      NextLeg();
      return Route();
    }
    if (OnGround()) {
      Detail("jump into the shaft");
      m_climbDir = 1.0f;
      return MOVE_RIGHT | Press(JUMP);
    }
    // Above the column's top, the kick to the right carries over it.
    return KickBetweenFaces();
  }

  // In a shaft: jumps off the face it clings to, then holds toward the other one.
  ActionBits KickBetweenFaces() {
    if (m_hero->GetState() == PLAYER_WALL_JUMP) {
      Detail("cling and jump off");
      m_climbDir = m_hero->IsFacingLeft() ? 1.0f : -1.0f;
      return Press(JUMP);
    }
    Detail("fly to the other face");
    const ActionBits toward = m_climbDir > 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    return toward | (m_vy < 0.0f ? JUMP : 0);
  }

  // ---- TigerA ------------------------------------------------------------------------

  ActionBits FightStage() {
    const GameObject* tiger = World::GetBoss();
    if (!tiger) {
      if (!Live("CorePiece").empty()) {
        Enter(Stage::Collect);
        return Collect();
      }
      return 0;
    }
    return Fight(*tiger);
  }

  // The fight, from the left half of the centre zone: TigerA then always leaves the
  // centre to the right, comes back down on the right and charges to the centre, where
  // it stands for a while just out of its body's reach of the hero's post.
  ActionBits Fight(const GameObject& tiger) {
    const float tx = tiger.GetPosition().X();
    const float d = tx - m_x;
    const auto behavior = tiger.GetBehavior();
    const bool standing =
        behavior == TigerAAtCentre || behavior == TigerAAtSide || behavior == TigerAAtUpper;
    const bool tigerOnFloor = tiger.GetPosition().Y() > 2700.0f;

    // A bomb: wait at whichever post is farther from where it comes down, until it
    // has gone off.
    float bombX = 0.0f;
    if (LandingOfNearestBomb(m_x, bombX)) {
      return Toward(
          m_x, std::fabs(bombX - kFarPost) > std::fabs(bombX - kNearPost) ? kFarPost : kNearPost,
          6.0f);
    }
    // Standing, or running off slowly, on the floor: keep at the edge of the first
    // swing's reach behind its body and swing. Each hit stops it where it is.
    const bool running = behavior == TigerARun && FlagOr(tiger, "DoFalling", 1.0f) == 0.0f;
    if ((standing || running) && tigerOnFloor && std::fabs(d) < 220.0f) {
      const float dist = std::fabs(d);
      const ActionBits toward = d > 0.0f ? MOVE_RIGHT : MOVE_LEFT;
      const ActionBits away = d > 0.0f ? MOVE_LEFT : MOVE_RIGHT;
      // How far its body reaches back toward the hero.
      const bool facesHero = (d > 0.0f) == tiger.IsFacingLeft();
      const float back = facesHero ? 100.0f : 90.0f;
      if (m_hero->GetState() >= PLAYER_SWORD && m_hero->GetState() < PLAYER_GUN)
        return Press(SWING_SWORD);
      // Where the hero comes to rest on the ground braking 1 a frame.
      const float v = m_vx * (d > 0.0f ? 1.0f : -1.0f);
      auto slide = [](float speed) { return speed > 0.0f ? speed * (speed + 1.0f) / 2.0f : 0.0f; };
      const float rest = dist - slide(v);
      if (rest < back + kBodyGap) return away;
      const bool facingIt = (d < 0.0f) == m_hero->IsFacingLeft();
      if (rest > back + kFirstSwingReach || !facingIt) {
        return dist - slide(v + 2.0f) >= back + kBodyGap ? toward : 0;
      }
      return Press(SWING_SWORD);
    }
    // Otherwise wait at the post, out of its way.
    return Toward(m_x, kNearPost, 3.0f);
  }

  // Where the bomb nearest the hero comes down (or lies); false with no bomb.
  static bool LandingOfNearestBomb(float heroX, float& landing) {
    bool found = false;
    for (const GameObject* bomb : Live("TigerABomb")) {
      float bx = bomb->GetPosition().X();
      const float by = bomb->GetPosition().Y();
      const float vx = bomb->GetVelocity().X();
      const float vy = bomb->GetVelocity().Y();
      const float drop = kFloorC - by;
      if (drop > 20.0f) {
        const float t =
            (-vy + std::sqrt(std::max(0.0f, vy * vy + 2.0f * kBombGravity * drop))) / kBombGravity;
        bx += vx * t;
      }
      if (!found || std::fabs(bx - heroX) < std::fabs(landing - heroX)) landing = bx;
      found = true;
    }
    return found;
  }

  static ActionBits Toward(float x, float target, float slack) {
    if (x < target - slack) return MOVE_RIGHT;
    if (x > target + slack) return MOVE_LEFT;
    return 0;
  }

  ActionBits Collect() {
    if (Live("CorePiece").empty()) {
      Enter(Stage::Exit);
      return Exit();
    }
    if (std::fabs(m_x - kRewardX) > 10.0f) return Toward(m_x, kRewardX, 10.0f);
    if (OnGround()) return Press(JUMP);
    return JUMP;
  }

  // Out over the exit's wall with the new SuperJump: jump, then press Space again at the
  // top of the jump.
  ActionBits Exit() {
    if (OnGround()) {
      if (m_x > kExitWall - kHeroHalfWidth - 60.0f && m_y > kExitWallTop) {
        Detail("jump at the exit's wall");
        return MOVE_RIGHT | Press(JUMP);
      }
      Detail("run out");
      return MOVE_RIGHT;
    }
    // Pressed near the top of the jump, the SuperJump adds its rise to the jump's.
    if (m_hero->GetState() == PLAYER_AIR && m_vy > -2.0f && m_vy < 2.0f && m_y > kExitWallTop &&
        m_x > kExitWall - 200.0f) {
      Detail("SuperJump");
      return MOVE_RIGHT | Press(JUMP);
    }
    return MOVE_RIGHT | (m_vy < 0.0f ? JUMP : 0);
  }

  void TraceFight(ActionBits keys) const {
    static const bool on = std::getenv("FACTORY_PILOT_TRACE") != nullptr;
    if (!on || m_stage != Stage::Fight) return;
    const GameObject* tiger = World::GetBoss();
    std::fprintf(stderr, "%5d hero %.0f,%.0f hp %d e %.0f st %d keys %02x", m_frame, m_x, m_y,
                 m_hero->GetHealth(), m_hero->GetEnergy(), m_hero->GetState(), keys);
    if (tiger) {
      std::fprintf(stderr, " | tiger %.0f,%.0f st %d hp %.0f", tiger->GetPosition().X(),
                   tiger->GetPosition().Y(), tiger->GetState(), FlagOr(*tiger, "Health", -1.0f));
    }
    std::fprintf(stderr, "\n");
  }

  Stage m_stage = Stage::Route;
  int m_leg = 0;
  int m_liftPhase = 0;
  int m_shaftTries = 0;
  std::string m_detail = "start";
  const PlayerObject* m_hero = nullptr;
  int m_frame = 0;
  float m_x = 0.0f, m_y = 0.0f, m_vx = 0.0f, m_vy = 0.0f;
  float m_lastX = 0.0f;
  int m_strideFrames = 0;
  ActionBits m_strideMove = 0;
  bool m_hopping = false;
  bool m_spinning = false;
  float m_climbDir = 1.0f;
  ActionBits m_pressOnly = 0;
  ActionBits m_held = 0;
};

}  // namespace

std::unique_ptr<Pilot> MakeFactoryPilot() {
  return std::make_unique<FactoryPilot>();
}

}  // namespace autopilot
