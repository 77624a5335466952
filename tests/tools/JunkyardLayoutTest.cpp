// The junkyard's layout as a player meets it, read from the shipped level file and the
// ground's own collision shapes: walkers and tire stacks stand on flat ground rather than
// float or sink, checkpoints come in the order they are passed with the last one guarding
// the arena, the Stride core comes before anything only a Stride passes, and every lift
// runs in a clear shaft between a floor it sinks below and a ledge it climbs within a jump
// of.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "AnimationSource.h"
#include "ListFiles.h"
#include "TokenScan.h"
#include "ShippedData.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct Point {
  float x, y;
};
using Outline = std::vector<Point>;

const assetgen::AnimationDesc& Source(const std::string& name) {
  return testsupport::SourceAnimation(name);
}

const validator::LevelData& Junkyard() { return testsupport::ShippedLevel("junkyard.lvl"); }

// The solid outline of every ground tile and ramp piece, in world coordinates.
const std::vector<Outline>& Ground() {
  static const std::vector<Outline> ground = [] {
    std::vector<Outline> out;
    for (const auto& o : Junkyard().main) {
      const char* animation = o.name == "JunkyardGround"  ? "junkyard_ground"
                              : o.name == "JunkyardRamps" ? "junkyard_ramps"
                                                          : nullptr;
      if (!animation) continue;
      for (const auto& polygon : Source(animation).Shape(static_cast<std::size_t>(o.frame))) {
        Outline outline;
        for (const auto& v : polygon.vertices) outline.push_back({o.x + v.x, o.y + v.y});
        out.push_back(outline);
      }
    }
    return out;
  }();
  return ground;
}

// The first ground surface at x from `above` down (the smallest y at or below it where a
// vertical line meets an outline), or +infinity over a pit.
float TopAt(float x, float above = -std::numeric_limits<float>::infinity()) {
  float top = std::numeric_limits<float>::infinity();
  for (const Outline& outline : Ground()) {
    for (std::size_t i = 0; i < outline.size(); ++i) {
      const Point& a = outline[i];
      const Point& b = outline[(i + 1) % outline.size()];
      if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) continue;
      const float y = a.x == b.x ? std::min(a.y, b.y) : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
      if (y >= above) top = std::min(top, y);
    }
  }
  return top;
}

// Whether any ground outline's box meets the open box (left, top)-(right, bottom).
bool GroundWithin(float left, float top, float right, float bottom) {
  for (const Outline& outline : Ground()) {
    float l = outline[0].x, r = l, t = outline[0].y, b = t;
    for (const Point& p : outline) {
      l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
    }
    if (l < right && r > left && t < bottom && b > top) return true;
  }
  return false;
}

std::vector<validator::PlacedObject> Named(const std::vector<validator::PlacedObject>& in,
                                           const std::string& name) {
  std::vector<validator::PlacedObject> out;
  std::copy_if(in.begin(), in.end(), std::back_inserter(out),
               [&](const validator::PlacedObject& o) { return o.name == name; });
  return out;
}

// A walker placed off its floor falls, or sticks in the ground, before the player sees it;
// on a slope its patrol starts sliding. So it stands on a flat top, feet at the surface.
TEST(JunkyardLayout, EveryWalkerStandsOnFlatGround) {
  const auto& enemies = Junkyard().enemies;
  ASSERT_FALSE(enemies.empty());
  for (const auto& e : enemies) {
    SCOPED_TRACE(e.name + " at x " + std::to_string(e.x));
    for (float dx : {-16.0f, 0.0f, 16.0f})
      EXPECT_NEAR(TopAt(e.x + dx, e.y - 40.0f), e.y + 1.0f, 1.0f);
  }
}

// Each tire rests on the ground or on the tire below it: a stack in the air or in the
// ground shows at once, and one only a Stride passes must stand on the hero's way.
TEST(JunkyardLayout, TireStacksRestOnTheGround) {
  const auto tires = Named(Junkyard().main, "Tire");
  ASSERT_GE(tires.size(), 2u);
  constexpr float kHalfHeight = 20.0f;
  for (const auto& tire : tires) {
    SCOPED_TRACE("tire at (" + std::to_string(tire.x) + ", " + std::to_string(tire.y) + ")");
    const float bottom = tire.y + kHalfHeight;
    const bool onTire = std::any_of(tires.begin(), tires.end(), [&](const auto& below) {
      return below.x == tire.x && std::fabs(below.y - kHalfHeight - bottom) < 0.5f;
    });
    if (!onTire) {
      EXPECT_NEAR(TopAt(tire.x, tire.y), bottom, 0.5f);
    }
  }
}

// A checkpoint fires only within 20 px of its x and numbers itself in file order, and the
// gates it closes follow that order: so they run left to right at one depth. The last one
// restarts the hero just before the boss, on ground he stands on.
TEST(JunkyardLayout, CheckpointsRunLeftToRightAndTheLastGuardsTheArena) {
  const auto& triggers = Junkyard().triggers;
  const auto checkpoints = Named(triggers, "TriggerCheckPoint");
  const auto boss = Named(triggers, "GrindlenautTrigger");
  ASSERT_GE(checkpoints.size(), 2u);
  ASSERT_EQ(boss.size(), 1u);
  for (std::size_t i = 0; i < checkpoints.size(); ++i) {
    SCOPED_TRACE("checkpoint " + std::to_string(i + 1));
    EXPECT_EQ(checkpoints[i].depth, checkpoints[0].depth);
    EXPECT_NEAR(TopAt(checkpoints[i].x, checkpoints[i].y - 40.0f), checkpoints[i].y + 1.0f, 1.0f);
    if (i > 0) {
      EXPECT_GT(checkpoints[i].x, checkpoints[i - 1].x);
    }
  }
  EXPECT_LT(checkpoints.back().x, boss[0].x);
  EXPECT_GT(checkpoints.back().x, boss[0].x - 600.0f);
}

// Tire stacks are knocked loose only by a Stride: its core must lie on the way before the
// first of them, or the level cannot be finished.
TEST(JunkyardLayout, TheStrideCoreLiesBeforeTheFirstTireStack) {
  const auto& main = Junkyard().main;
  const auto pieces = Named(main, "CorePiece");
  const auto stride =
      std::find_if(pieces.begin(), pieces.end(), [](const auto& p) { return p.depth == 1.01f; });
  ASSERT_NE(stride, pieces.end());
  for (const auto& tire : Named(main, "Tire")) EXPECT_LT(stride->x, tire.x);
}

// A lift ("FactoryPlatform", 256 wide, its top at its y) shuttles between 256 above and
// 256 below where it is placed. Ground in its way would carry it into a wall or bury it;
// the floor at the shaft's left must stand above its lowest top so the hero can step on,
// and the ledge at the right within a held jump of its highest top so he can step off.
TEST(JunkyardLayout, LiftsRunInClearShaftsBetweenFloorAndLedge) {
  const auto lifts = Named(Junkyard().main, "FactoryPlatform");
  ASSERT_FALSE(lifts.empty());
  constexpr float kHalfWidth = 128.0f, kTravel = 256.0f, kThickness = 24.0f;
  constexpr float kHeldJump = 200.0f;
  for (const auto& lift : lifts) {
    SCOPED_TRACE("lift at x " + std::to_string(lift.x));
    const float left = lift.x - kHalfWidth, right = lift.x + kHalfWidth;
    EXPECT_FALSE(GroundWithin(left, lift.y - kTravel, right, lift.y + kTravel + kThickness));
    const float floor = TopAt(left - 1.0f), ledge = TopAt(right + 1.0f);
    EXPECT_LT(floor, lift.y + kTravel);
    EXPECT_LT(ledge, floor);
    EXPECT_LT(lift.y - kTravel, ledge + kHeldJump);
  }
}

}  // namespace

namespace {

struct Box {
  float left, top, right, bottom;
  bool Meets(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

// Where a frame of `name` is drawn with its origin at (x, y), facing left or right.
Box Drawn(const std::string& name, float x, float y, bool left) {
  const auto& a = Source(name);
  const auto& f = a.frames.at(0);
  const float l = left ? x + f.offsetX - a.frameWidth : x - f.offsetX;
  return {l, y - f.offsetY, l + a.frameWidth, y - f.offsetY + a.frameHeight};
}

// The walk shape's box (polygon 0) of the boss's body, facing right.
Box Walker() {
  Box box{1e9f, 1e9f, -1e9f, -1e9f};
  const auto shape = Source("GNTbody").Shape(0);
  for (const auto& v : shape.at(0).vertices) {
    box = {std::min(box.left, v.x), std::min(box.top, v.y), std::max(box.right, v.x),
           std::max(box.bottom, v.y)};
  }
  return box;
}

}  // namespace

// The Grindlenaut charges along its floor until its walk shape meets a wall, where its body
// and the drill at its front stand past its feet. The faces that end its arena must be drawn
// behind the risen boss there, or it drives into the wall and vanishes; the floor under
// it must stay in front of the buried boss, which hides in the ground.
TEST(JunkyardLayout, TheArenaWallsNeverHideTheGrindlenautAtEitherEnd) {
  constexpr float kRisenDepth = 1.0f, kBuriedDepth = -0.97f;
  const auto trigger = Named(Junkyard().triggers, "GrindlenautTrigger").at(0);
  const float floor = TopAt(trigger.x, trigger.y);
  const Box walker = Walker();
  const auto mount = Source("GNTbody").Shape(0).at(2).vertices.at(0);
  // The walls: where the ground first stands above the floor either side of the trigger.
  float leftWall = trigger.x, rightWall = trigger.x;
  while (TopAt(leftWall - 1.0f, floor - 512.0f) >= floor) leftWall -= 1.0f;
  while (TopAt(rightWall + 1.0f, floor - 512.0f) >= floor) rightWall += 1.0f;
  ASSERT_GT(rightWall - leftWall, walker.right - walker.left);
  const float bodyY = floor - walker.bottom;
  for (const bool left : {true, false}) {
    SCOPED_TRACE(left ? "at the left wall" : "at the right wall");
    // Facing the wall, its walk shape's front edge against it.
    const float x = left ? leftWall + walker.right : rightWall - walker.right;
    const float drillX = left ? x - mount.x : x + mount.x;
    const Box reach[] = {Drawn("GNTbody", x, bodyY, left),
                         Drawn("GNTdrill", drillX, bodyY + mount.y, left)};
    for (const auto& o : Named(Junkyard().main, "JunkyardGround")) {
      const Box box = Drawn("junkyard_ground", o.x, o.y, false);
      for (const Box& part : reach) {
        if (!part.Meets(box)) continue;
        SCOPED_TRACE("tile at (" + std::to_string(o.x) + ", " + std::to_string(o.y) + ")");
        if (box.top < floor) {
          EXPECT_LT(o.depth, kRisenDepth);
        } else {
          EXPECT_GT(o.depth, kBuriedDepth);
        }
      }
    }
  }
}

// The burrow mound is placed at the body's origin where it dives, and must rest on the
// floor the body stands on there rather than hang in the air over it.
TEST(JunkyardLayout, TheBurrowMoundRestsOnTheFloorUnderTheDivingBoss) {
  const Box mound = Drawn("GNTburrow", 0.0f, 0.0f, false);
  constexpr float kSunk = 8.0f;  // how far its foot may sink into the floor
  EXPECT_GE(mound.bottom, Walker().bottom);
  EXPECT_LE(mound.bottom, Walker().bottom + kSunk);
}
