// The factory pilot: plays the three floors in turn, then fights TigerA from the edge
// of sword reach, takes the SuperJump core with a held jump and runs out past the exit.
//
// On the floors it runs one way, jumps the steps it reads from the tiles ahead, climbs
// out of pits, Strides through tire stacks and through the enemies it meets (a Stride
// can't be hurt), rides the lift and climbs the WallJump shaft. The route is a list of
// legs, each ending on where the hero stands.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
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
// The lift: its well, its lowest and highest stops, and the top of the wall beside it.
constexpr float kLiftX = 3328.0f;
constexpr float kLiftWait = 3180.0f;
constexpr float kFloorEdge = 1216.0f;
constexpr float kWallTop = 832.0f;
// The WallJump shaft: its two faces and the top of the column on its right.
constexpr float kShaftLeft = 5120.0f;
constexpr float kShaftRight = 5248.0f;
constexpr float kColumnTop = 960.0f;
// Low passages where a jump only bumps the head: under the hanging walls.
struct Span {
  float left, right, floor;
};
constexpr Span kLowPassages[] = {{4736.0f, 5120.0f, kFloorA}, {1152.0f, 1536.0f, kFloorB}};

constexpr float kArenaEntry = 5900.0f;
constexpr float kRewardX = 6656.0f;
constexpr float kExitX = 8300.0f;
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

enum class Leg {
  FloorT,
  ToLift,
  BoardLift,
  RideLift,
  ToShaft,
  Climb,
  ToHole,
  FloorB,
  FloorC,
  Fight,
  Collect,
  Exit
};

const char* Name(Leg leg) {
  switch (leg) {
    case Leg::FloorT:
      return "the top floor";
    case Leg::ToLift:
      return "floor A to the lift";
    case Leg::BoardLift:
      return "board the lift";
    case Leg::RideLift:
      return "ride the lift";
    case Leg::ToShaft:
      return "floor A to the shaft";
    case Leg::Climb:
      return "climb the shaft";
    case Leg::ToHole:
      return "over the column to the hole";
    case Leg::FloorB:
      return "floor B";
    case Leg::FloorC:
      return "floor C";
    case Leg::Fight:
      return "fight TigerA";
    case Leg::Collect:
      return "take the SuperJump core";
    case Leg::Exit:
      return "run out";
  }
  return "?";
}

struct Box {
  float left = std::numeric_limits<float>::max();
  float top = std::numeric_limits<float>::max();
  float right = std::numeric_limits<float>::lowest();
  float bottom = std::numeric_limits<float>::lowest();
  bool Empty() const { return left > right; }
};

// The world box of one polygon of an object's shape.
Box BoxOf(const GameObject& object, int polygon) {
  Box box;
  const CollisionShape& shape = object.GetCollisionShape();
  if (polygon >= shape.GetPolygonCount()) return box;
  for (const CollisionVertex& v :
       shape.GetPolygon(static_cast<std::size_t>(polygon)).GetVertices()) {
    const Vector2& p = v.GetPosition();
    box.left = std::min(box.left, p.X());
    box.right = std::max(box.right, p.X());
    box.top = std::min(box.top, p.Y());
    box.bottom = std::max(box.bottom, p.Y());
  }
  return box;
}

bool Tracing() {
  static const bool on = std::getenv("VANTREL_PILOT_TRACE") != nullptr;
  return on;
}

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
    switch (m_leg) {
      case Leg::FloorT:
        keys = FloorT();
        break;
      case Leg::ToLift:
        keys = ToLift();
        break;
      case Leg::BoardLift:
        keys = BoardLift();
        break;
      case Leg::RideLift:
        keys = RideLift();
        break;
      case Leg::ToShaft:
        keys = ToShaft();
        break;
      case Leg::Climb:
        keys = Climb();
        break;
      case Leg::ToHole:
        keys = ToHole();
        break;
      case Leg::FloorB:
        keys = FloorB();
        break;
      case Leg::FloorC:
        keys = FloorC();
        break;
      case Leg::Fight:
        keys = FightLeg();
        break;
      case Leg::Collect:
        keys = Collect();
        break;
      case Leg::Exit:
        keys = Run(MOVE_RIGHT, kExitX + 200.0f);
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

  std::string Phase() const override { return std::string(Name(m_leg)) + " (" + m_detail + ")"; }

 private:
  void Enter(Leg leg) {
    m_leg = leg;
    if (Tracing()) {
      std::fprintf(stderr, "%6d %8.1f %7.1f -> %s  energy %.0f health %d\n", m_frame, m_x, m_y,
                   Name(leg), m_hero->GetEnergy(), m_hero->GetHealth());
    }
  }
  void Detail(const char* detail) {
    if (m_detail == detail) return;
    m_detail = detail;
    if (Tracing()) {
      std::fprintf(stderr, "%6d %8.1f %7.1f  %s  energy %.0f health %d\n", m_frame, m_x, m_y,
                   detail, m_hero->GetEnergy(), m_hero->GetHealth());
    }
  }

  // A key that acts only on a fresh press.
  ActionBits Press(ActionBits key) {
    m_pressOnly |= key;
    return key;
  }
  bool OnGround() const { return !m_hero->IsAirborne(); }
  // A special move starts only above a quarter of the maximum energy.
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

  // The nearest live object ahead (dir) among these names on the hero's level.
  GameObject* NearestAhead(std::initializer_list<const char*> names, float dir, float range,
                           float behind = 20.0f) const {
    GameObject* best = nullptr;
    float bestDx = range;
    for (const char* name : names) {
      for (GameObject* object : Live(name)) {
        const float dx = (object->GetPosition().X() - m_x) * dir;
        if (dx > -behind && dx < bestDx && std::fabs(object->GetPosition().Y() - m_y) < 100.0f) {
          best = object;
          bestDx = dx;
        }
      }
    }
    return best;
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
  ActionBits Run(ActionBits move, float targetX) {
    const float dir = move == MOVE_RIGHT ? 1.0f : -1.0f;
    if ((targetX - m_x) * dir < 4.0f) return 0;
    // A Stride under way carries on through whatever it was started for.
    if (m_hero->GetState() == PLAYER_STRIDE) {
      const bool close = NearestAhead({"Rat", "TigerC", "Shredder", "TigerE"}, dir, kStillAhead) ||
                         RestingTireAhead(dir, kStillAhead);
      if (m_strideFrames++ < kStrideFrames || close) {
        Detail("stride");
        return move | STRIDE;
      }
    }
    m_strideFrames = 0;
    if (OnGround()) {
      if (RestingTireAhead(dir, 120.0f)) {
        if (!EnergyOk()) {
          Detail("wait for energy at the tires");
          return 0;
        }
        Detail("stride through the tires");
        return move | STRIDE;
      }
      const GameObject* enemy = NearestAhead({"Rat", "TigerE"}, dir, 170.0f);
      const GameObject* gunner = NearestAhead({"TigerC", "Shredder"}, dir, 330.0f);
      if ((enemy || gunner) && EnergyOk()) {
        Detail("stride through an enemy");
        return move | STRIDE;
      }
      if (enemy && std::fabs(enemy->GetPosition().X() - m_x) < 70.0f) {
        Detail("swing at an enemy");
        return (m_hero->IsFacingLeft() == (dir < 0.0f) ? 0 : move) | Press(SWING_SWORD);
      }
      if (!InLowPassage() && (StepAhead(dir, 40.0f) || std::fabs(m_x - m_lastX) < 0.5f)) {
        Detail("jump");
        return move | Press(JUMP);
      }
      Detail("run");
      return move;
    }
    // In the air: hold the jump while rising, for the full height.
    return m_vy < 0.0f ? move | JUMP : move;
  }

  // ---- the top floor and floor A ----------------------------------------------------

  ActionBits FloorT() {
    if (m_y > kFloorT + 300.0f) {
      Enter(Leg::ToLift);
      return ToLift();
    }
    return Run(MOVE_LEFT, 0.0f);
  }

  ActionBits ToLift() {
    if (m_x >= kLiftWait - 6.0f && OnGround()) {
      Enter(Leg::BoardLift);
      return BoardLift();
    }
    return Run(MOVE_RIGHT, kLiftWait);
  }

  const GameObject* Lift() const {
    const auto lifts = Live("FactoryPlatform");
    return lifts.empty() ? nullptr : lifts.front();
  }

  // Drops onto the lift while it is down in its well, below the floor.
  ActionBits BoardLift() {
    const GameObject* lift = Lift();
    if (!lift) return Steer(kLiftWait);
    const float top = lift->GetPosition().Y();
    if (m_x > kLiftX - 100.0f && OnGround() && std::fabs(m_y - top) < 4.0f) {
      Enter(Leg::RideLift);
      return RideLift();
    }
    const bool down =
        top > kFloorEdge + 20.0f && (lift->GetVelocity().Y() > 0.0f || top > kFloorEdge + 70.0f);
    if (m_x > kLiftWait + 20.0f || down) {
      Detail("drop onto the lift");
      return Steer(kLiftX);
    }
    Detail("wait for the lift");
    return Steer(kLiftWait);
  }

  ActionBits RideLift() {
    const GameObject* lift = Lift();
    if (lift && lift->GetPosition().Y() < kWallTop - 8.0f) {
      Enter(Leg::ToShaft);
      return ToShaft();
    }
    Detail("ride");
    return Steer(kLiftX);
  }

  ActionBits ToShaft() {
    if (m_x >= kShaftRight - kHeroHalfWidth - 8.0f && OnGround()) {
      Enter(Leg::Climb);
      m_wallJumps = 0;
      return Climb();
    }
    return Run(MOVE_RIGHT, kShaftRight);
  }

  // Up the shaft from wall to wall: cling, jump off, hold toward the other face.
  ActionBits Climb() {
    if (m_y < kColumnTop - 10.0f && m_x > kShaftLeft + 40.0f) {
      Enter(Leg::ToHole);
      return ToHole();
    }
    if (OnGround()) {
      Detail("jump into the shaft");
      m_climbDir = 1.0f;
      return MOVE_RIGHT | Press(JUMP);
    }
    if (m_hero->GetState() == PLAYER_WALL_JUMP) {
      Detail("cling and jump off");
      ++m_wallJumps;
      m_climbDir = m_hero->IsFacingLeft() ? 1.0f : -1.0f;
      return Press(JUMP);
    }
    // Above the column's top, the kick to the right carries over it.
    Detail("fly to the other face");
    const ActionBits toward = m_climbDir > 0.0f ? MOVE_RIGHT : MOVE_LEFT;
    return toward | (m_vy < 0.0f ? JUMP : 0);
  }

  ActionBits ToHole() {
    if (m_y > kFloorA + 100.0f) {
      Enter(Leg::FloorB);
      return FloorB();
    }
    Detail("to the hole");
    return MOVE_RIGHT;
  }

  // ---- floors B and C ----------------------------------------------------------------

  ActionBits FloorB() {
    if (m_y > kFloorB + 200.0f) {
      Enter(Leg::FloorC);
      return FloorC();
    }
    return Run(MOVE_LEFT, 0.0f);
  }

  ActionBits FloorC() {
    if (World::GetBoss()) {
      Enter(Leg::Fight);
      return FightLeg();
    }
    return Run(MOVE_RIGHT, m_x < kArenaEntry ? kArenaEntry + 200.0f : m_x + 100.0f);
  }

  // ---- TigerA ------------------------------------------------------------------------

  ActionBits FightLeg() {
    const GameObject* tiger = World::GetBoss();
    if (!tiger) {
      if (!Live("CorePiece").empty()) {
        Enter(Leg::Collect);
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
      Enter(Leg::Exit);
      return Run(MOVE_RIGHT, kExitX + 200.0f);
    }
    if (std::fabs(m_x - kRewardX) > 10.0f) return Toward(m_x, kRewardX, 10.0f);
    if (OnGround()) return Press(JUMP);
    return JUMP;
  }

  void TraceFight(ActionBits keys) const {
    static const bool on = std::getenv("FACTORY_PILOT_TRACE") != nullptr;
    if (!on || m_leg != Leg::Fight) return;
    const GameObject* tiger = World::GetBoss();
    std::fprintf(stderr, "%5d hero %.0f,%.0f hp %d e %.0f st %d keys %02x", m_frame, m_x, m_y,
                 m_hero->GetHealth(), m_hero->GetEnergy(), m_hero->GetState(), keys);
    if (tiger) {
      std::fprintf(stderr, " | tiger %.0f,%.0f st %d hp %.0f", tiger->GetPosition().X(),
                   tiger->GetPosition().Y(), tiger->GetState(), FlagOr(*tiger, "Health", -1.0f));
    }
    std::fprintf(stderr, "\n");
  }

  Leg m_leg = Leg::FloorT;
  std::string m_detail = "start";
  const PlayerObject* m_hero = nullptr;
  int m_frame = 0;
  float m_x = 0.0f, m_y = 0.0f, m_vx = 0.0f, m_vy = 0.0f;
  float m_lastX = 0.0f;
  int m_strideFrames = 0;
  int m_wallJumps = 0;
  float m_climbDir = 1.0f;
  ActionBits m_pressOnly = 0;
  ActionBits m_held = 0;
};

}  // namespace

std::unique_ptr<Pilot> MakeFactoryPilot() {
  return std::make_unique<FactoryPilot>();
}

}  // namespace autopilot
