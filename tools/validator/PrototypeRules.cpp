// The rules for prototypes whose names the game's code gives a meaning.
#include <algorithm>
#include <initializer_list>
#include <set>
#include <vector>

#include "ContentRules.h"
#include "PhysicsLib/CollisionTypes.h"
#include "game/objects/GameObject.h"
#include "game/world/GameConstants.h"

namespace validator {

namespace {

// What a polygon at some index of every frame must be.
enum class Role {
  Present,      // there, with vertices
  Reacts,       // touches some type
  Solid,        // collides as a solid with some type
  Walker,       // type 1, which the enemies' collision response lands on
  NotReactive,  // absent, or touching nothing
  NotSolid,     // absent, or solid against nothing
  MountPair,    // there, with at least two vertices
  AnyReacts,    // some polygon of the frame touches some type (index unused)
  AnySolid,     // some polygon of the frame is solid against some type (index unused)
  NoneReacts,   // no polygon of the frame touches anything (index unused)
  NoneOverlaps, // no polygon of the frame overlaps anything: it neither hurts nor is hit
};

// Kinds whose collision response lands a type-1 contact but that never declare "OnGround".
const std::set<std::string> kNoWalkerPolygon = {"Constructor",
                                                "GrindlenautArm",
                                                "GrindlenautDrill",
                                                "GrindlenautBurrow",
                                                "KajeShield",
                                                "AirshipClaw",
                                                "Tire"};

// Kinds that run in a physics list but must not collide: triggers, effects, scenery-like
// pieces, the turn banner and the front-end and pause-screen pictures.
const std::set<std::string> kNoPolygons = {"Flash",
                                           "CoreGlow",
                                           "TutorialTrigger",
                                           "GrindlenautTrigger",
                                           "TigerATrigger",
                                           "KajeTrigger",
                                           "TriggerCheckPoint",
                                           "CheckPointClose",
                                           "JunkyardTile0",
                                           "PlayerNumber",
                                           "LevelComplete",
                                           "Crack",
                                           "GameOverWindow",
                                           "GameOverContinue",
                                           "GameOverQuit",
                                           "MainMenuWindow",
                                           "MainMenuAbortLevel",
                                           "MainMenuResumePlay",
                                           "HalvornI",
                                           "HalvornD",
                                           "HNOfficialSeal",
                                           "Copyright",
                                           "MenuSword",
                                           "MenuOptions",
                                           "OptionGunTop",
                                           "OptionGunMiddle",
                                           "OptionGunBottom",
                                           "OptionsItems",
                                           "OptionsOption",
                                           "SoundBar"};

// A beaten boss stays in the list, hidden, in its death state: that pose must neither
// hurt the hero nor take his hits.
const std::map<std::string, int> kDeathStates = {{"Grindlenaut", 20}, {"TigerA", 22}};

// Enemies that walk: polygon 0 lands on ground, polygon 1 takes the hero's hits.
const std::set<std::string> kWalkers = {"Rat",      "Rummager", "TigerE", "TigerC",
                                        "Shredder", "TigerA",   "Kaje"};

// Frames whose index the code sets or reads: they must hold until the code moves on.
struct HeldFrames {
  int minFrames;
  int first;
  int last;  // -1: every frame of every animation of the prototype
};
const std::map<std::string, HeldFrames> kHeld = {{"Flash", {5, 0, 4}},
                                                 {"Powerup", {5, 0, 4}},
                                                 {"OrbRotation", {5, 2, 4}},
                                                 {"Spark", {10, 0, 9}},
                                                 {"JunkyardGround", {19, 0, -1}},
                                                 {"JunkyardTile0", {1, 0, -1}},
                                                 {"AirshipClaw", {2, 0, -1}},
                                                 {"GrindlenautBurrow", {1, 0, -1}},
                                                 {"AirshipCrate", {2, 0, 1}},
                                                 {"Tire", {2, 0, 1}},
                                                 {"MenuSword", {2, 0, 1}},
                                                 {"MenuOptions", {6, 0, 5}},
                                                 {"OptionsItems", {7, 0, 6}},
                                                 {"OptionsOption", {10, 0, 9}},
                                                 {"HalvornI", {2, 0, 1}},
                                                 {"HalvornD", {2, 0, 1}},
                                                 {"Copyright", {2, 0, 1}}};

// States the code sets and whose look or frames matter.
const std::map<std::string, std::vector<int>> kStates = {
    {"ZodirazO", {1, 2, 3, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
    {"Shot", {3, 4, 5, 6, 8, 9, 10, 12, 13, 14}},
    {"Kaje", {1, 2, 3, 15, 16, 17}},
    {"Grindlenaut", {1, 2, 3}},
    {"Rummager", {3}},
    {"Scrap", {1, 2, 3, 4, 5, 6}},
    {"PlayerNumber", {1, 2, 3}},
    {"TigerC", {1, 2, 15}},
    {"Shredder", {1, 2}},
    {"Constructor", {1, 3, 4}}};

// Rules about the prototype's first animation, whatever state keys it has.
constexpr int kInitial = -1;

const std::vector<int> kSwingStates = {3, 4, 5, 6, 8, 9, 10, 12, 13, 14};

const std::vector<CollisionPolygon>& Polygons(const AnimationFrame& frame) {
  return frame.GetShape().GetPolygons();
}

bool TypeOverlaps(int type) {
  if (!TypeInTable(type)) return false;
  const auto& row = CollisionTypeTable::Rows()[static_cast<std::size_t>(type)];
  return std::find(row.begin(), row.end(), kCollisionOverlap) != row.end();
}

std::string TypeText(int type) {
  return "has type " + std::to_string(type);
}

// Empty when frame `frame` meets the role, else what is wrong.
std::string RoleProblem(const AnimationFrame& frame, int index, Role role) {
  const auto& polygons = Polygons(frame);
  const bool has = index >= 0 && static_cast<std::size_t>(index) < polygons.size();
  const int type = has ? polygons[static_cast<std::size_t>(index)].GetType() : 0;
  const int vertices = has ? polygons[static_cast<std::size_t>(index)].GetVertexCount() : 0;
  auto any = [&](bool (*test)(int)) {
    return std::any_of(polygons.begin(), polygons.end(),
                       [&](const CollisionPolygon& p) { return test(p.GetType()); });
  };
  switch (role) {
    case Role::Present:
      return has && vertices > 0 ? "" : "is missing";
    case Role::MountPair:
      if (!has) return "is missing";
      return vertices >= 2 ? "" : "has " + std::to_string(vertices) + " vertices, not 2";
    case Role::Reacts:
      if (!has) return "is missing";
      return TypeReacts(type) ? "" : TypeText(type) + ", which touches nothing";
    case Role::Solid:
      if (!has) return "is missing";
      return TypeIsSolid(type) ? "" : TypeText(type) + ", which is solid against nothing";
    case Role::Walker:
      if (!has) return "is missing";
      return type == 1 ? "" : TypeText(type) + ", not the walking type 1";
    case Role::NotReactive:
      return has && TypeReacts(type) ? TypeText(type) + ", which touches other types" : "";
    case Role::NotSolid:
      return has && TypeIsSolid(type) ? TypeText(type) + ", which is solid against others" : "";
    case Role::AnyReacts:
      return any(&TypeReacts) ? "" : "no polygon touches anything";
    case Role::AnySolid:
      return any(&TypeIsSolid) ? "" : "no polygon is solid against anything";
    case Role::NoneReacts:
      return any(&TypeReacts) ? "a polygon touches other types" : "";
    case Role::NoneOverlaps:
      return any(&TypeOverlaps) ? "a polygon overlaps other types" : "";
  }
  return "";
}

bool IsFrameWide(Role role) {
  return role == Role::AnyReacts || role == Role::AnySolid || role == Role::NoneReacts ||
         role == Role::NoneOverlaps;
}

class Rules {
 public:
  Rules(const PrototypeView& prototype, Problems& problems) : m_p(prototype), m_out(problems) {}

  const Animation* State(int state) const { return m_p.State(state); }
  const Animation* Initial() const { return m_p.initial; }

  void Say(const std::string& problem) { m_out.Add(m_p.list, Quoted(m_p.name) + " " + problem); }
  void Say(int state, const Animation& a, const std::string& problem) {
    const std::string which = state == kInitial ? "first animation " + Quoted(a.GetName())
                                                : "state " + std::to_string(state) +
                                                      " (animation " + Quoted(a.GetName()) + ")";
    Say(which + ": " + problem);
  }

  void NeedStates(const std::vector<int>& states) {
    std::string missing;
    for (int state : states) {
      if (!m_p.State(state)) missing += (missing.empty() ? "" : ", ") + std::to_string(state);
    }
    if (!missing.empty()) Say("has no animation for state " + missing + ", which the code sets");
  }

  // Each distinct animation once, with the lowest state that shows it.
  std::vector<std::pair<int, const Animation*>> Animations() const {
    std::vector<std::pair<int, const Animation*>> all;
    for (const auto& entry : m_p.states) {
      const bool seen = std::any_of(all.begin(), all.end(),
                                    [&](const auto& kept) { return kept.second == entry.second; });
      if (!seen) all.emplace_back(entry.first, entry.second);
    }
    return all;
  }

  bool NeedFrames(int state, const Animation& a, int count, const std::string& why) {
    if (a.GetFrameCount() >= count) return true;
    Say(state, a,
        std::to_string(a.GetFrameCount()) + " frames; " + why + " needs " + std::to_string(count));
    return false;
  }

  void NeedHeld(int state, const Animation& a, int first, int last) {
    std::vector<int> timed;
    for (int f = first; f <= last && f < a.GetFrameCount(); ++f) {
      if (!IsHeld(a, f)) timed.push_back(f);
    }
    if (!timed.empty()) {
      Say(state, a, FrameList(timed) + " must be held (0 ticks): the code sets them by index");
    }
  }

  // The role of polygon `index` in frames first..last (every frame by default).
  void Polygon(int state, const Animation& a, int index, Role role, const std::string& what,
               int first = 0, int last = -1) {
    if (last < 0 || last >= a.GetFrameCount()) last = a.GetFrameCount() - 1;
    std::vector<int> failing;
    std::string problem;
    for (int f = first; f <= last; ++f) {
      std::string p = RoleProblem(a.GetFrames()[static_cast<std::size_t>(f)], index, role);
      if (p.empty()) continue;
      if (failing.empty()) problem = p;
      failing.push_back(f);
    }
    if (failing.empty()) return;
    const std::string fault =
        IsFrameWide(role) ? problem + " (" + what + ")"
                          : "polygon " + std::to_string(index) + " (" + what + ") " + problem;
    Say(state, a, FrameList(failing) + ": " + fault);
  }

  // The role in every frame of every animation, death states aside when asked.
  void PolygonEverywhere(int index, Role role, const std::string& what,
                         std::initializer_list<int> except = {}) {
    for (const auto& [state, animation] : Animations()) {
      if (std::find(except.begin(), except.end(), state) != except.end()) continue;
      Polygon(state, *animation, index, role, what);
    }
  }

  void NoPolygons() {
    for (const auto& [state, animation] : Animations()) {
      std::vector<int> with;
      for (int f = 0; f < animation->GetFrameCount(); ++f) {
        if (!Polygons(animation->GetFrames()[static_cast<std::size_t>(f)]).empty())
          with.push_back(f);
      }
      if (!with.empty()) {
        Say(state, *animation,
            FrameList(with) + (with.size() == 1 ? " carries" : " carry") +
                " polygons, but this kind must not collide with anything");
      }
    }
  }

  void NoWalkerPolygon() {
    for (const auto& [state, animation] : Animations()) {
      std::vector<int> with;
      for (int f = 0; f < animation->GetFrameCount(); ++f) {
        const auto& polygons = Polygons(animation->GetFrames()[static_cast<std::size_t>(f)]);
        if (std::any_of(polygons.begin(), polygons.end(),
                        [](const CollisionPolygon& p) { return p.GetType() == 1; }))
          with.push_back(f);
      }
      if (!with.empty()) {
        Say(state, *animation,
            FrameList(with) + (with.size() == 1 ? " carries" : " carry") +
                " a type-1 polygon, but this kind never declares "
                "\"OnGround\", so landing would stop the game");
      }
    }
  }

  // The last frame passes its time and leads back: the code sees the animation finish.
  void Ends(int state, const Animation& a, int minTicks, const std::string& why) {
    const int last = a.GetFrameCount() - 1;
    const AnimationFrame& end = a.GetFrames()[static_cast<std::size_t>(last)];
    if (end.GetNextFrame() > last || end.GetTicks() < minTicks) {
      Say(state, a,
          "the last frame (next " + std::to_string(end.GetNextFrame()) + ", " +
              std::to_string(end.GetTicks()) + " ticks) must lead back with at least " +
              std::to_string(minTicks) + " tick(s): " + why);
    }
  }

  static std::string FrameList(const std::vector<int>& frames) {
    std::string text = frames.size() == 1 ? "frame " : "frames ";
    for (std::size_t i = 0; i < frames.size() && i < 4; ++i) {
      text += (i ? ", " : "") + std::to_string(frames[i]);
    }
    if (frames.size() > 4) text += " and " + std::to_string(frames.size() - 4) + " more";
    return text;
  }

 private:
  const PrototypeView& m_p;
  Problems& m_out;
};

float RightmostX(const CollisionPolygon& polygon) {
  float x = -1e30f;
  for (const CollisionVertex& v : polygon.GetVertices())
    x = std::max(x, v.GetPosition().X() + v.GetRadius());
  return x;
}

bool SameVertices(const CollisionPolygon& a, const CollisionPolygon& b) {
  if (a.GetVertexCount() != b.GetVertexCount()) return false;
  for (int v = 0; v < a.GetVertexCount(); ++v) {
    const CollisionVertex& p = a.GetVertices()[static_cast<std::size_t>(v)];
    const CollisionVertex& q = b.GetVertices()[static_cast<std::size_t>(v)];
    if (!(p.GetPosition() == q.GetPosition()) || p.GetRadius() != q.GetRadius()) return false;
  }
  return true;
}

// Both extreme x values are shared by two corners: the sides are exactly vertical.
bool HasVerticalSides(const CollisionPolygon& polygon) {
  const auto& v = polygon.GetVertices();
  if (v.size() < 3) return false;
  auto byX = [](const CollisionVertex& a, const CollisionVertex& b) {
    return a.GetPosition().X() < b.GetPosition().X();
  };
  const float left = std::min_element(v.begin(), v.end(), byX)->GetPosition().X();
  const float right = std::max_element(v.begin(), v.end(), byX)->GetPosition().X();
  auto count = [&](float x) {
    return std::count_if(v.begin(), v.end(),
                         [x](const CollisionVertex& c) { return c.GetPosition().X() == x; });
  };
  return count(left) >= 2 && count(right) >= 2;
}

void CheckHero(Rules& r) {
  // Polygon 0 is swapped without a collision check on every frame change, so it must
  // never change; polygon 1 is the body the contact and pickup logic looks at.
  const CollisionPolygon* body = nullptr;
  for (const auto& [state, animation] : r.Animations()) {
    r.Polygon(state, *animation, POLYGON_WALKER, Role::Solid, "the solid body");
    r.Polygon(state, *animation, POLYGON_BODY, Role::Reacts, "the hurt box");
    r.Polygon(state, *animation, POLYGON_WEAPON, Role::NotSolid, "the weapon");
    std::vector<int> changed;
    for (int f = 0; f < animation->GetFrameCount(); ++f) {
      const auto& polygons = Polygons(animation->GetFrames()[static_cast<std::size_t>(f)]);
      if (polygons.empty()) continue;
      if (!body) {
        body = &polygons[0];
        if (!HasVerticalSides(*body)) {
          r.Say(state, *animation,
                "polygon 0 (the solid body) needs exactly vertical sides for wall jumps");
        }
      } else if (!SameVertices(polygons[0], *body)) {
        changed.push_back(f);
      }
    }
    if (!changed.empty()) {
      r.Say(state, *animation,
            Rules::FrameList(changed) +
                ": polygon 0 (the solid body) differs from the first "
                "frame's; it must keep one shape in every frame");
    }
  }
  const float bodyRight = body ? RightmostX(*body) : 0.0f;

  for (int state : kSwingStates) {
    const Animation* swing = r.State(state);
    if (!swing) continue;
    const int last = swing->GetFrameCount() - 1;
    for (int f = 0; f < last; ++f) {
      if (swing->GetFrames()[static_cast<std::size_t>(f)].GetNextFrame() <= f) {
        r.Say(state, *swing, "frame " + std::to_string(f) + " leads back; a swing runs forward");
        break;
      }
    }
    r.Ends(state, *swing, 1, "the swing ends only when that frame's time runs out");
    bool hits = false;
    for (const AnimationFrame& frame : swing->GetFrames())
      hits = hits || RoleProblem(frame, 2, Role::Reacts).empty();
    if (!hits) r.Say(state, *swing, "no frame has a polygon 2 (the sword) that can hit");
  }

  if (const Animation* gun = r.State(15)) {
    r.Ends(15, *gun, 1, "a shot fires on its first tick and ends the state");
    r.Polygon(15, *gun, 2, Role::Present, "the muzzle", gun->GetFrameCount() - 1);
  }
  if (const Animation* stride = r.State(16)) {
    if (IsHeld(*stride, 0))
      r.Say(16, *stride, "frame 0 (the wind-up) is held, so Stride never starts");
    for (int f = 1; f < stride->GetFrameCount(); ++f) {
      if (stride->GetFrames()[static_cast<std::size_t>(f)].GetNextFrame() == 0) {
        r.Say(16, *stride, "frame " + std::to_string(f) + " leads back to the wind-up frame 0");
      }
    }
  }
  if (const Animation* cyclone = r.State(17)) {
    r.Ends(17, *cyclone, 1, "each pass through it is a new attack");
  }
  // The dash and the spin hit resting tires only if the weapon reaches past the body,
  // which stops short of solid things.
  for (int state : {16, 17}) {
    const Animation* attack = r.State(state);
    if (!attack) continue;
    const int first = state == 16 ? 1 : 0;
    r.Polygon(state, *attack, 2, Role::Reacts, "the weapon", first);
    std::vector<int> shortFrames;
    for (int f = first; f < attack->GetFrameCount(); ++f) {
      const auto& polygons = Polygons(attack->GetFrames()[static_cast<std::size_t>(f)]);
      if (polygons.size() > 2 && body && !(RightmostX(polygons[2]) > bodyRight))
        shortFrames.push_back(f);
    }
    if (!shortFrames.empty()) {
      r.Say(state, *attack,
            Rules::FrameList(shortFrames) +
                ": polygon 2 (the weapon) does not reach past "
                "polygon 0 (the solid body)");
    }
  }
}

void CheckGrindlenaut(Rules& r) {
  for (int state : {1, 2, 3}) {
    const Animation* a = r.State(state);
    if (!a) continue;
    r.Polygon(state, *a, 2, Role::MountPair, "the drill and arm mounts");
    r.Polygon(state, *a, 1, Role::Reacts, "the hit box");
    if (state == 2) {
      r.Polygon(state, *a, 0, Role::Walker, "the walking body");
      if (a->GetName() != "GNTbody") {
        r.Say(state, *a, "the body animation must be named \"GNTbody\"; the code checks the name");
      }
    } else {
      // It rises through the floor and dives through it.
      r.Polygon(state, *a, 0, Role::NotSolid, "the body while underground");
      if (a->GetName() == "GNTbody") {
        r.Say(state, *a, "must not be named \"GNTbody\": the dive would loop in its first step");
      }
    }
  }
}

void CheckKaje(Rules& r) {
  if (const Animation* fire = r.State(15)) {
    if (fire->GetFrameCount() == 1) {
      if (fire->GetFrames()[0].GetTicks() != 1) {
        r.Say(15, *fire, "a single frame fires only with exactly 1 tick; use 2 or more frames");
      }
    } else {
      r.Ends(15, *fire, 1, "the projectile launches on its first tick");
    }
    r.Polygon(15, *fire, 2, Role::Present, "the launch point");
  }
  if (const Animation* swipe = r.State(3)) r.Ends(3, *swipe, 1, "else Kaje freezes");
}

void CheckRummager(Rules& r) {
  const Animation* charge = r.State(3);
  if (!charge || !r.NeedFrames(3, *charge, 2, "the charge that ends on frame 1")) return;
  const auto& frames = charge->GetFrames();
  if (frames[0].GetNextFrame() != 1 || frames[1].GetTicks() <= 0) {
    r.Say(3, *charge,
          "frame 0 must lead to frame 1 and frame 1 must pass its time: the charge "
          "ends when frame 1 ends");
  }
}

// The gate opens held on frame 0, closes through timed frames and stays on a held last one.
void CheckGate(Rules& r) {
  const Animation* gate = r.Initial();
  if (!r.NeedFrames(kInitial, *gate, 2, "an open and a closed gate")) return;
  const auto& frames = gate->GetFrames();
  if (frames[0].GetTicks() != 0 || frames[0].GetNextFrame() == 0) {
    r.Say(kInitial, *gate, "frame 0 (open) must be held and lead to the first closing frame");
    return;
  }
  int f = frames[0].GetNextFrame();
  for (int step = 0; step < gate->GetFrameCount(); ++step) {
    if (frames[static_cast<std::size_t>(f)].GetTicks() == 0) return;
    f = frames[static_cast<std::size_t>(f)].GetNextFrame();
    if (f == 0) break;
  }
  r.Say(kInitial, *gate, "the closing frames never reach a held closed frame");
}

}  // namespace

PrototypeView PrototypeView::Of(const GameObject& prototype, const std::string& list) {
  PrototypeView view;
  view.name = prototype.GetName();
  view.list = list;
  view.initial = prototype.GetAnimation();
  for (const StateAnimation& entry : prototype.GetStateAnimations()) {
    if (entry.animation) view.states[entry.state] = entry.animation;
  }
  return view;
}

const Animation* PrototypeView::State(int state) const {
  const auto found = states.find(state);
  return found == states.end() ? nullptr : found->second;
}

bool MustBeGlobal(const std::string& name) {
  static const std::set<std::string> kGlobal = {
      "ZodirazO",           "TutorialTrigger",   "LevelComplete", "Crack",
      "GameOverWindow",     "GameOverContinue",  "GameOverQuit",  "MainMenuWindow",
      "MainMenuAbortLevel", "MainMenuResumePlay"};
  return kGlobal.count(name) != 0;
}

void CheckPrototype(const PrototypeView& prototype, Problems& problems) {
  if (!prototype.initial || prototype.initial->GetFrameCount() == 0) return;
  Rules r(prototype, problems);
  const std::string& name = prototype.name;

  if (auto states = kStates.find(name); states != kStates.end()) r.NeedStates(states->second);
  if (kNoPolygons.count(name)) r.NoPolygons();
  if (kNoWalkerPolygon.count(name)) r.NoWalkerPolygon();
  if (auto held = kHeld.find(name); held != kHeld.end()) {
    const HeldFrames& h = held->second;
    if (h.last < 0) {
      for (const auto& [state, animation] : r.Animations())
        if (r.NeedFrames(state, *animation, h.minFrames, "the code's frame choice"))
          r.NeedHeld(state, *animation, 0, animation->GetFrameCount() - 1);
    } else if (r.NeedFrames(kInitial, *prototype.initial, h.minFrames, "the code's frame choice")) {
      r.NeedHeld(kInitial, *prototype.initial, h.first, h.last);
    }
  }
  if (kWalkers.count(name)) {
    r.PolygonEverywhere(POLYGON_WALKER, Role::Walker, "the walking body",
                        {OBJECT_WALL_JUMP, OBJECT_DEAD});
    r.PolygonEverywhere(POLYGON_BODY, Role::Reacts, "the body that takes hits",
                        {OBJECT_WALL_JUMP, OBJECT_DEAD});
  }
  if (auto death = kDeathStates.find(name); death != kDeathStates.end()) {
    if (const Animation* dying = r.State(death->second)) {
      r.Polygon(death->second, *dying, 0, Role::NoneOverlaps,
                "a beaten boss stays in the list hidden, so its death pose must not hurt the "
                "hero or take hits");
    }
  }

  if (name == "ZodirazO") {
    CheckHero(r);
  } else if (name == "Grindlenaut") {
    CheckGrindlenaut(r);
  } else if (name == "Kaje") {
    CheckKaje(r);
  } else if (name == "Rummager") {
    CheckRummager(r);
  } else if (name == "CheckPointClose") {
    CheckGate(r);
  } else if (name == "AirshipClaw" || name == "Constructor" || name == "KajeShield") {
    r.PolygonEverywhere(POLYGON_BODY, Role::Reacts, "the body that takes hits");
  } else if (name == "Shot" || name == "Scrap" || name == "CorePiece") {
    r.PolygonEverywhere(0, Role::Reacts, "what hits");
  } else if (name == "TigerCShot" || name == "KajeRocket" || name == "KajeEnergyShot") {
    r.PolygonEverywhere(0, Role::AnyReacts, "what hits");
  } else if (name == "Powerup") {
    r.Polygon(kInitial, *prototype.initial, 0, Role::Solid, "resting on floors");
    r.Polygon(kInitial, *prototype.initial, 1, Role::Reacts, "the pickup area");
  } else if (name == "Spark") {
    r.Polygon(kInitial, *prototype.initial, 0, Role::Solid, "bouncing on floors");
  } else if (name == "OrbRotation") {
    // The hero collects it only through a contact on its polygon 1.
    r.Polygon(kInitial, *prototype.initial, 0, Role::Present, "a placeholder");
    r.Polygon(kInitial, *prototype.initial, 0, Role::NotReactive, "a placeholder");
    r.Polygon(kInitial, *prototype.initial, 1, Role::Reacts, "the pickup area");
  } else if (name == "TigerABomb") {
    if (const Animation* fuse = prototype.State(1)) {
      r.Polygon(1, *fuse, 0, Role::Solid, "bouncing on floors");
      r.Polygon(1, *fuse, 1, Role::Reacts, "what a hit destroys");
    }
    if (const Animation* blast = prototype.State(3)) {
      r.Polygon(3, *blast, 1, Role::Reacts, "the blast area");
    }
  } else if (name == "AirshipCrate") {
    r.Polygon(kInitial, *prototype.initial, 0, Role::AnyReacts, "what hits Kaje", 1, 1);
  } else if (name == "Tire") {
    r.Polygon(kInitial, *prototype.initial, 0, Role::Solid, "the blocking stack", 0, 0);
    r.Polygon(kInitial, *prototype.initial, 1, Role::Reacts, "the hit area", 0, 0);
    r.Polygon(kInitial, *prototype.initial, 0, Role::NoneReacts, "the loose tire", 1, 1);
  } else if (name == "FactoryPlatform") {
    r.PolygonEverywhere(0, Role::AnySolid, "what the hero rides");
  } else if (name == "GrindlenautArm" || name == "GrindlenautDrill") {
    // Nothing may react at index 1: a contact there writes properties they lack.
    r.PolygonEverywhere(1, Role::NotReactive, "nothing reactive");
    if (name == "GrindlenautArm") {
      if (const Animation* carry = prototype.State(1))
        r.Polygon(1, *carry, 1, Role::Present, "where the scrap is carried");
    }
  } else if (name == "GrindlenautBurrow") {
    r.PolygonEverywhere(0, Role::NoneReacts, "a mound that touches nothing");
  } else if (name == "Copyright") {
    const AnimationFrame& first = prototype.initial->GetFrames()[0];
    if (first.GetNextFrame() != 1)
      r.Say(kInitial, *prototype.initial, "frame 0 must lead to frame 1");
  }
}

void CheckSwingsOutlastComboWindow(const PrototypeView& hero, float windowEnd,
                                   const std::string& tuningFile, Problems& problems) {
  std::string swings;
  for (int state : kSwingStates) {
    const Animation* swing = hero.State(state);
    if (!swing || windowEnd < static_cast<float>(TotalTicks(*swing))) continue;
    swings += (swings.empty() ? "" : ", ") + std::string("state ") + std::to_string(state) + " (" +
              std::to_string(TotalTicks(*swing)) + " frames)";
  }
  if (!swings.empty()) {
    problems.Add(tuningFile, "the combo window (line 21) ends at frame " + Number(windowEnd) +
                                 ", but these hero swings end by then: " + swings);
  }
}

}  // namespace validator
