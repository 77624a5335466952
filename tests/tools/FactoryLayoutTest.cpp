// The factory's layout keeps clear of what the game does to a careless one: a lift that
// comes down on the hero presses him into the ground beneath it, a lift that rises too
// near the ceiling presses him into that, and one Stride launches every tire stack awake;
// and its way out asks for the move its boss gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ListFiles.h"
#include "TokenScan.h"
#include "ShippedData.h"
#include "support/TempDir.h"

namespace {

// The lift's travel either side of where it is placed, its width and thickness (its
// top is its origin), and the tiles' size (origin at the centre).
constexpr float kLiftTravel = 256.0f;
constexpr float kLiftHalfWidth = 128.0f;
constexpr float kLiftThickness = 24.0f;
constexpr float kTileHalf = 64.0f;
constexpr float kHeroHeight = 60.0f;
// A stack wakes when it comes within the screen's width and the wake margin of the view.
constexpr float kStackSpacing = 1800.0f;

const validator::LevelData& Factory() { return testsupport::ShippedLevel("factory.lvl"); }

std::vector<validator::PlacedObject> Named(const validator::LevelData& level,
                                           const std::string& name) {
  std::vector<validator::PlacedObject> found;
  for (const auto& o : level.main)
    if (o.name == name) found.push_back(o);
  return found;
}

// Whether a tile overlaps the box, edges touching not counted.
bool TileIn(const validator::LevelData& level, float left, float top, float right, float bottom) {
  for (const auto& tile : Named(level, "MetalTiles")) {
    if (tile.x + kTileHalf > left && tile.x - kTileHalf < right && tile.y + kTileHalf > top &&
        tile.y - kTileHalf < bottom)
      return true;
  }
  return false;
}

TEST(FactoryLayout, LiftsRideOpenShaftsWithHeadRoomAtTheTop) {
  const validator::LevelData level = Factory();
  const auto lifts = Named(level, "FactoryPlatform");
  ASSERT_GE(lifts.size(), 1u);
  for (const auto& lift : lifts) {
    SCOPED_TRACE("lift at x " + std::to_string(static_cast<int>(lift.x)));
    const float left = lift.x - kLiftHalfWidth, right = lift.x + kLiftHalfWidth;
    const float highest = lift.y - kLiftTravel, lowest = lift.y + kLiftTravel;
    // Nothing to stand on below its lowest stop: a hero there would be pressed in.
    EXPECT_FALSE(TileIn(level, left, lowest, right, lowest + kLiftThickness + kHeroHeight));
    // Nothing in its way, and room for a rider's head at the top.
    EXPECT_FALSE(TileIn(level, left, highest - kHeroHeight - 4.0f, right, lowest));
  }
}

TEST(FactoryLayout, EveryLiftRisesJustAboveAWallBesideIt) {
  const validator::LevelData level = Factory();
  for (const auto& lift : Named(level, "FactoryPlatform")) {
    SCOPED_TRACE("lift at x " + std::to_string(static_cast<int>(lift.x)));
    const float highest = lift.y - kLiftTravel;
    bool wall = false;
    for (const auto& tile : Named(level, "MetalTiles")) {
      const bool beside =
          std::fabs(std::fabs(tile.x - lift.x) - (kLiftHalfWidth + kTileHalf)) < 1.0f;
      const float top = tile.y - kTileHalf;
      // The rider steps off the top stop onto the wall's top, a short drop down.
      if (beside && top > highest && top - highest <= 32.0f) wall = true;
    }
    EXPECT_TRUE(wall);
  }
}

TEST(FactoryLayout, TireStacksStandFarApart) {
  const validator::LevelData level = Factory();
  std::map<int, int> stacks;  // x -> tires
  for (const auto& tire : Named(level, "Tire")) ++stacks[static_cast<int>(tire.x)];
  ASSERT_GE(stacks.size(), 2u);
  for (auto a = stacks.begin(); a != stacks.end(); ++a) {
    EXPECT_GE(a->second, 6) << "a stack under a held jump's height at x " << a->first;
    for (auto b = std::next(a); b != stacks.end(); ++b) {
      EXPECT_GE(std::abs(b->first - a->first), kStackSpacing) << a->first << " and " << b->first;
    }
  }
}

// The SuperJump won from TigerA is the way out: the wall between the arena and the exit
// stands beyond the arena's floor, higher than a held jump and lower than a SuperJump.
TEST(FactoryLayout, TheWayOutNeedsTheSuperJump) {
  const validator::LevelData level = Factory();
  constexpr float kArenaRight = 7620.0f, kExitLine = 8192.0f, kFloor = 2752.0f;
  constexpr float kHeldJump = 206.0f, kSuperJump = 600.0f;
  float top = kFloor, left = kExitLine;
  for (const auto& tile : Named(level, "MetalTiles")) {
    // The arena floor's own hall: the top floor's ground far above it aside.
    const bool inHall = tile.y < kFloor && tile.y > kFloor - 2.0f * kSuperJump;
    if (tile.x + kTileHalf <= kArenaRight || tile.x - kTileHalf >= kExitLine || !inHall) continue;
    top = std::min(top, tile.y - kTileHalf);
    left = std::min(left, tile.x - kTileHalf);
  }
  EXPECT_GE(left, kArenaRight);
  EXPECT_GT(kFloor - top, kHeldJump + 100.0f);
  EXPECT_LT(kFloor - top, kSuperJump - 60.0f);
}

// The ground hides what passes into it, as in the other levels: the hero and the enemies
// (drawn at 0), the tires a Stride throws, and the power-ups a kill drops (3.0); only shots,
// flashes and debris (4.0 and up) stay in front.
TEST(FactoryLayout, TheGroundIsDrawnInFrontOfWhatPassesIntoIt) {
  constexpr float kDroppedPowerupDepth = 3.0f;
  const validator::LevelData level = Factory();
  const validator::PlacedObject* lowestGround = nullptr;
  std::string frontmost = "a dropped power-up";
  float front = kDroppedPowerupDepth;
  for (const auto& o : level.main) {
    const bool ground = o.name == "MetalTiles" || o.name == "MetalRamps" || o.name == "ArenaLedge";
    if (ground && (!lowestGround || o.depth < lowestGround->depth)) lowestGround = &o;
    if (!ground && o.depth > front) front = o.depth, frontmost = o.name;
  }
  ASSERT_NE(lowestGround, nullptr);
  EXPECT_GT(lowestGround->depth, front)
      << lowestGround->name << " at (" << lowestGround->x << ", " << lowestGround->y
      << ") is drawn behind " << frontmost;
}

}  // namespace
