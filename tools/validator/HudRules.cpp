// The animations the HUD, the loading screen and the level loader open by fixed path,
// and the frame meanings the HUD gives them.
#include <set>
#include <string>
#include <vector>

#include "ContentRules.h"

namespace validator {

namespace {

const char kBound[] = "animations/VerticalBound.acd";

class Fixed {
 public:
  Fixed(AnimationStore& store, Problems& problems) : m_store(store), m_out(problems) {}

  // The file by its stored name; the HUD finds each again by that name.
  const Animation* Get(const std::string& name) {
    const std::string path = "animations/" + name + ".acd";
    if (!m_store.Exists(path)) {
      m_out.Add(path, "missing: the game opens it by this path");
      return nullptr;
    }
    const Animation* a = m_store.Get(path);
    if (!a) return nullptr;
    if (a->GetName() != name) {
      m_out.Add(path, "stores the name " + Quoted(a->GetName()) + "; the game looks it up as " +
                          Quoted(name));
    }
    for (int f = 0; f < a->GetFrameCount(); ++f) {
      if (a->GetFrames()[static_cast<std::size_t>(f)].GetShape().GetPolygonCount() > 0) {
        m_out.Add(path,
                  "frame " + std::to_string(f) +
                      " carries polygons, but the HUD list runs physics and must not collide");
        break;
      }
    }
    return a;
  }

  void Say(const std::string& name, const std::string& problem) {
    m_out.Add("animations/" + name + ".acd", problem);
  }

  bool NeedFrames(const std::string& name, const Animation& a, int count) {
    if (a.GetFrameCount() >= count) return true;
    Say(name, std::to_string(a.GetFrameCount()) + " frames; the HUD uses " + std::to_string(count));
    return false;
  }

  void NeedHeld(const std::string& name, const Animation& a, int first, int last) {
    for (int f = first; f <= last; ++f) {
      if (!IsHeld(a, f)) {
        Say(name, "frame " + std::to_string(f) +
                      " must be held (0 ticks): the HUD sets it to show one state");
        return;
      }
    }
  }

 private:
  AnimationStore& m_store;
  Problems& m_out;
};

// The hidden clock from frame 1 on must pass frames 5 and 8 again and again.
void CheckClock(Fixed& fixed, const Animation& clock) {
  std::set<int> cycle;
  int f = 1;
  const int count = clock.GetFrameCount();
  for (int step = 0; step < 2 * count; ++step) {
    const AnimationFrame& frame = clock.GetFrames()[static_cast<std::size_t>(f)];
    if (frame.GetTicks() <= 0) {
      fixed.Say("CoreStart", "frame " + std::to_string(f) + " is held, so the HUD's clock stops");
      return;
    }
    if (step >= count) cycle.insert(f);  // the first pass may lead into the loop
    f = frame.GetNextFrame();
  }
  if (!cycle.count(5) || !cycle.count(8)) {
    fixed.Say("CoreStart", "its loop must pass frames 5 and 8, where the HUD acts");
  }
}

// Resting frames 0 and 8 are held and lead into a timed flash that returns to them; frame
// 16 is the static label.
void CheckLabel(Fixed& fixed, const Animation& label) {
  const auto& frames = label.GetFrames();
  for (int rest : {0, 8}) {
    bool flash = frames[static_cast<std::size_t>(rest)].GetTicks() == 0 &&
                 frames[static_cast<std::size_t>(rest)].GetNextFrame() == rest + 1 &&
                 frames[static_cast<std::size_t>(rest + 7)].GetNextFrame() == rest;
    for (int f = rest + 1; f <= rest + 7; ++f)
      flash = flash && frames[static_cast<std::size_t>(f)].GetTicks() > 0;
    if (!flash) {
      fixed.Say("HUDLabel", "frame " + std::to_string(rest) +
                                " must be held and lead to a timed flash through frame " +
                                std::to_string(rest + 7) + " that returns to it");
    }
  }
  if (!IsHeld(label, 16) || frames[16].GetNextFrame() != 16) {
    fixed.Say("HUDLabel", "frame 16 (the static label) must be held and lead to itself");
  }
}

}  // namespace

void CheckFixedAnimations(AnimationStore& store, Problems& problems) {
  Fixed fixed(store, problems);
  if (const Animation* orbs = fixed.Get("orbs")) {
    if (orbs->GetFrameWidth() != 32) {
      fixed.Say("orbs", "frame width " + Number(orbs->GetFrameWidth()) +
                            "; the HUD places its orb slots 32 pixels apart");
    }
    if (fixed.NeedFrames("orbs", *orbs, 5)) fixed.NeedHeld("orbs", *orbs, 0, 4);
  }
  if (const Animation* crack = fixed.Get("CrackedOrb")) {
    if (fixed.NeedFrames("CrackedOrb", *crack, 2)) fixed.NeedHeld("CrackedOrb", *crack, 0, 1);
  }
  for (const char* shards : {"BreakWhiteOrb", "BreakRedOrb", "BreakGreenOrb", "BreakBlueOrb"}) {
    if (const Animation* a = fixed.Get(shards)) {
      if (fixed.NeedFrames(shards, *a, 13)) fixed.NeedHeld(shards, *a, 0, 12);
    }
  }
  for (const char* chip :
       {"CoreDefault", "CoreStride", "CoreWallJump", "CoreCyclone", "CoreSuperJump"}) {
    if (const Animation* a = fixed.Get(chip)) {
      if (fixed.NeedFrames(chip, *a, 2)) fixed.NeedHeld(chip, *a, 0, 1);
    }
  }
  if (const Animation* clock = fixed.Get("CoreStart")) {
    if (fixed.NeedFrames("CoreStart", *clock, 9)) CheckClock(fixed, *clock);
  }
  if (const Animation* label = fixed.Get("HUDLabel")) {
    if (fixed.NeedFrames("HUDLabel", *label, 17)) CheckLabel(fixed, *label);
  }
  if (const Animation* bar = fixed.Get("EnergyBar")) {
    // The bar is scaled about its origin by the energy left.
    for (const AnimationFrame& frame : bar->GetFrames()) {
      if (frame.GetOffset().X() != 0.0f) {
        fixed.Say("EnergyBar", "its origin must be the bar's left end (offset x 0)");
        break;
      }
    }
  }
  fixed.Get("EnergyMeter");
  fixed.Get("HUDWindow");

  if (!store.Exists(kBound)) {
    problems.Add(kBound, "missing: every level with bounds builds its walls from it");
  } else if (const Animation* bound = store.Get(kBound)) {
    for (const AnimationFrame& frame : bound->GetFrames()) {
      const auto& polygons = frame.GetShape().GetPolygons();
      bool solid = false;
      for (const CollisionPolygon& p : polygons) solid = solid || TypeIsSolid(p.GetType());
      if (!solid) {
        problems.Add(kBound, "a bound wall needs a polygon that is solid against something");
        break;
      }
    }
  }
}

}  // namespace validator
