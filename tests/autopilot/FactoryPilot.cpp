// The factory pilot: runs to the arena (jumping steps and the pit, striding through
// rats, taking the Cyclone core on the way), fights TigerA from the edge of sword
// reach, then takes the SuperJump core with a held jump and runs out past the exit.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "autopilot/Pilot.h"
#include "behaviorlib/Includes/TigerA.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace autopilot {
namespace {

constexpr float kArenaEntry = 5900.0f;
constexpr float kRewardX = 6656.0f;
constexpr float kExitX = 8300.0f;
constexpr float kFloorY = 2752.0f;
// The sword reaches TigerA's body from this far; its body reaches the hero's closer in.
// The hero's body is 12 wide each side of him; his first swing reaches 28 ahead.
constexpr float kBodyGap = 15.0f;
constexpr float kFirstSwingReach = 25.0f;
constexpr float kBombGravity = 0.7f;
// Where the hero waits: out of reach of TigerA's charge to the centre, and farther
// left while a bomb comes down there.
constexpr float kNearPost = 6490.0f;
constexpr float kFarPost = 6170.0f;

enum class Step { Walk, Fight, Collect, Exit };

const char* Name(Step phase) {
  switch (phase) {
    case Step::Walk: return "walk to the arena";
    case Step::Fight: return "fight TigerA";
    case Step::Collect: return "take the SuperJump core";
    case Step::Exit: return "run out";
  }
  return "?";
}

// A special move starts only above a quarter of the maximum energy.
bool EnergyOk(const PlayerObject& hero) { return hero.GetEnergy() > 0.25f * hero.GetMaxEnergy(); }

class FactoryPilot : public Pilot {
 public:
  ActionBits Next(int frame) override {
    const PlayerObject* hero = Hero();
    if (!hero) return 0;
    m_frame = frame;
    const float x = hero->GetPosition().X();
    const GameObject* tiger = World::GetBoss();

    switch (m_phase) {
      case Step::Walk:
        if (tiger) m_phase = Step::Fight;
        break;
      case Step::Fight:
        if (!tiger && !Live("CorePiece").empty()) m_phase = Step::Collect;
        break;
      case Step::Collect:
        if (Live("CorePiece").empty()) m_phase = Step::Exit;
        break;
      case Step::Exit:
        break;
    }

    ActionBits keys = 0;
    switch (m_phase) {
      case Step::Walk: keys = Walk(*hero, x < kArenaEntry ? kArenaEntry + 200.0f : x + 100.0f); break;
      case Step::Fight: keys = Fight(*hero, *tiger); break;
      case Step::Collect: keys = Collect(*hero); break;
      case Step::Exit: keys = Walk(*hero, kExitX + 200.0f); break;
    }
    Trace(*hero, tiger, keys);
    m_lastX = x;
    m_lastKeys = keys;
    return keys;
  }

  std::string Phase() const override { return Name(m_phase); }

 private:
  // A jump or swing needs a fresh press: every other frame, so the next one counts.
  ActionBits Press(ActionBits key) const { return (m_lastKeys & key) ? 0 : key; }

  // Runs toward `targetX`; jumps (held) over what stops it, strides through rats.
  ActionBits Walk(const PlayerObject& hero, float targetX) {
    const float x = hero.GetPosition().X();
    const float y = hero.GetPosition().Y();
    const ActionBits dir = targetX > x ? MOVE_RIGHT : MOVE_LEFT;
    if (std::fabs(targetX - x) < 4.0f) return 0;
    ActionBits keys = dir;
    const bool onGround = !hero.IsAirborne();

    if (m_jumpHold > 0) {
      --m_jumpHold;
      return keys | JUMP;
    }
    // Rats ahead: stride through them.
    if (m_strideHold > 0) {
      --m_strideHold;
      return keys | STRIDE;
    }
    for (const GameObject* rat : Live("Rat")) {
      const float dx = rat->GetPosition().X() - x;
      const float dy = std::fabs(rat->GetPosition().Y() - y);
      const bool ahead = dir == MOVE_RIGHT ? dx > 0.0f && dx < 160.0f : dx < 0.0f && dx > -160.0f;
      if (ahead && dy < 100.0f && onGround && EnergyOk(hero) && !(m_lastKeys & STRIDE)) {
        m_strideHold = 28;
        return keys | STRIDE;
      }
    }
    // Stopped by a step or the side of the pit: a held jump.
    if (onGround && std::fabs(x - m_lastX) < 0.5f && !(m_lastKeys & JUMP)) {
      m_jumpHold = 30;
      return keys | JUMP;
    }
    return keys;
  }

  // The fight, from the left half of the centre zone: TigerA then always leaves the
  // centre to the right, comes back down on the right and charges to the centre, where
  // it stands for a while just out of its body's reach of the hero's post.
  ActionBits Fight(const PlayerObject& hero, const GameObject& tiger) {
    const float x = hero.GetPosition().X();
    const float tx = tiger.GetPosition().X();
    const float d = tx - x;
    const auto behavior = tiger.GetBehavior();
    const bool standing = behavior == TigerAAtCentre || behavior == TigerAAtSide || behavior == TigerAAtUpper;
    const bool tigerOnFloor = tiger.GetPosition().Y() > 2700.0f;

    // A bomb: wait at whichever post is farther from where it comes down, until it
    // has gone off.
    float bombX = 0.0f;
    if (LandingOfNearestBomb(x, bombX)) {
      return Toward(x, std::fabs(bombX - kFarPost) > std::fabs(bombX - kNearPost) ? kFarPost : kNearPost, 6.0f);
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
      if (hero.GetState() >= PLAYER_SWORD && hero.GetState() < PLAYER_GUN) return Press(SWING_SWORD);
      // Where the hero comes to rest on the ground braking 1 a frame.
      const float v = hero.GetVelocity().X() * (d > 0.0f ? 1.0f : -1.0f);
      auto slide = [](float speed) { return speed > 0.0f ? speed * (speed + 1.0f) / 2.0f : 0.0f; };
      const float rest = dist - slide(v);
      if (rest < back + kBodyGap) return away;
      const bool facingIt = (d < 0.0f) == hero.IsFacingLeft();
      if (rest > back + kFirstSwingReach || !facingIt) {
        return dist - slide(v + 2.0f) >= back + kBodyGap ? toward : 0;
      }
      return Press(SWING_SWORD);
    }
    // Otherwise wait at the post, out of its way.
    return Toward(x, kNearPost, 3.0f);
  }

  // Where the bomb nearest the hero comes down (or lies); false with no bomb.
  static bool LandingOfNearestBomb(float heroX, float& landing) {
    bool found = false;
    for (const GameObject* bomb : Live("TigerABomb")) {
      float bx = bomb->GetPosition().X();
      const float by = bomb->GetPosition().Y();
      const float vx = bomb->GetVelocity().X();
      const float vy = bomb->GetVelocity().Y();
      const float drop = kFloorY - by;
      if (drop > 20.0f) {
        const float t = (-vy + std::sqrt(std::max(0.0f, vy * vy + 2.0f * kBombGravity * drop))) / kBombGravity;
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

  ActionBits Collect(const PlayerObject& hero) {
    const float x = hero.GetPosition().X();
    if (std::fabs(x - kRewardX) > 10.0f) return Toward(x, kRewardX, 10.0f);
    if (!hero.IsAirborne()) return Press(JUMP);
    return JUMP;
  }

  void Trace(const PlayerObject& hero, const GameObject* tiger, ActionBits keys) const {
    static const bool on = std::getenv("FACTORY_PILOT_TRACE") != nullptr;
    if (!on || m_phase == Step::Walk) return;
    std::fprintf(stderr, "%5d %-8s hero %.0f,%.0f hp %d ab %d e %.0f st %d keys %02x", m_frame,
                 Name(m_phase), hero.GetPosition().X(), hero.GetPosition().Y(), hero.GetHealth(), hero.GetAbilities(),
                 hero.GetEnergy(), hero.GetState(), keys);
    if (tiger) {
      std::fprintf(stderr, " | tiger %.0f,%.0f st %d hp %.0f", tiger->GetPosition().X(),
                   tiger->GetPosition().Y(), tiger->GetState(), FlagOr(*tiger, "Health", -1.0f));
    }
    std::fprintf(stderr, "\n");
  }

  Step m_phase = Step::Walk;
  int m_frame = 0;
  int m_jumpHold = 0;
  int m_strideHold = 0;
  float m_lastX = 0.0f;
  ActionBits m_lastKeys = 0;
};

}  // namespace

std::unique_ptr<Pilot> MakeFactoryPilot() { return std::make_unique<FactoryPilot>(); }

}  // namespace autopilot
