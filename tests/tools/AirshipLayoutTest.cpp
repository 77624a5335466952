// The airship's shipped layout keeps what the Kaje fight needs, whatever the climb before
// it: a clear walk-in for Kaje, a flat deck marked only at its turns, walled stage-two
// ends, crates paired with claws near the trigger, and checkpoints the hero meets in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ListFiles.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "game/world/GameConstants.h"
#include "ShippedData.h"
#include "support/TempDir.h"

namespace {

constexpr float kTile = 128.0f;
constexpr float kDeckY = 4000.0f;
// Kaje's standing body reaches this high above its feet.
constexpr float kKajeHeight = 168.0f;

const validator::LevelData& Airship() { return testsupport::ShippedLevel("airship.lvl"); }

bool IsDeck(const std::string& name) {
  return name.rfind("AirshipDeck", 0) == 0;
}

const validator::PlacedObject* DeckAt(float x, float y) {
  for (const auto& o : Airship().main) {
    if (IsDeck(o.name) && o.x == x && o.y == y) return &o;
  }
  return nullptr;
}

std::vector<const validator::PlacedObject*> Named(const std::vector<validator::PlacedObject>& list,
                                                  const std::string& name) {
  std::vector<const validator::PlacedObject*> found;
  for (const auto& o : list) {
    if (o.name == name) found.push_back(&o);
  }
  return found;
}

struct Box {
  float left, top, right, bottom;
};

// Where a ground-like object stands solid; false for anything Kaje walks through.
bool SolidBox(const validator::PlacedObject& o, Box& box) {
  if (IsDeck(o.name) || o.name == "AirshipRamps") {
    box = {o.x, o.y, o.x + kTile, o.y + kTile};  // origin top-left
  } else if (o.name == "Tire") {
    box = {o.x - 48.0f, o.y - 20.0f, o.x + 48.0f, o.y + 20.0f};
  } else if (o.name == "FactoryPlatform") {
    box = {o.x - 128.0f, o.y - 256.0f, o.x + 128.0f, o.y + 256.0f + 24.0f};  // its whole travel
  } else if (o.name == "AirshipScaffold") {
    box = {o.x - 64.0f, o.y - 252.0f, o.x + 64.0f, o.y + 4.0f};
  } else {
    return false;
  }
  return true;
}

TEST(AirshipLayout, KajesWalkFromItsSpawnToTheFirstCrateMeetsNothingSolid) {
  const auto crates = Named(Airship().main, "AirshipCrate");
  ASSERT_FALSE(crates.empty());
  const Box walk{kKajeSpawnX - 40.0f, kDeckY - kKajeHeight, crates.front()->x + 40.0f,
                 kDeckY - 1.0f};
  for (const auto& o : Airship().main) {
    Box box{};
    if (!SolidBox(o, box)) continue;
    const bool overlaps = box.left < walk.right && box.right > walk.left && box.top < walk.bottom &&
                          box.bottom > walk.top;
    EXPECT_FALSE(overlaps) << o.name << " at (" << o.x << ", " << o.y << ") stands in Kaje's way";
  }
}

TEST(AirshipLayout, TheFightsDeckIsFlatAndMarkedOnlyWhereKajeTurns) {
  for (float x = 0.0f; x <= kKajeDeckRight; x += kTile) {
    const validator::PlacedObject* deck = DeckAt(x, kDeckY);
    ASSERT_NE(deck, nullptr) << "no deck tile at x " << x;
    const bool turn = x == 2432.0f || x == 4480.0f;
    EXPECT_EQ(deck->frame, turn ? 1 : 0) << "deck tile at x " << x;
    if (turn) {
      EXPECT_EQ(deck->name, "AirshipDeck");
    }
  }
}

TEST(AirshipLayout, WallsCloseTheDeckAtBothEnds) {
  for (const float x : {0.0f, kKajeDeckRight}) {
    for (float y = 3104.0f; y < kDeckY; y += kTile) {
      EXPECT_NE(DeckAt(x, y), nullptr) << "no wall tile at (" << x << ", " << y << ")";
    }
  }
}

// Kaje takes the first crate in list order, the first claw holds it, and one parked far from
// the trigger would not be found.
TEST(AirshipLayout, CratesAndClawsPairUpLeftToRightNearTheTrigger) {
  const auto crates = Named(Airship().main, "AirshipCrate");
  const auto claws = Named(Airship().enemies, "AirshipClaw");
  const auto triggers = Named(Airship().triggers, "KajeTrigger");
  ASSERT_EQ(crates.size(), 3u);
  ASSERT_EQ(claws.size(), 3u);
  ASSERT_EQ(triggers.size(), 1u);
  for (std::size_t i = 0; i < crates.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(crates[i - 1]->x, crates[i]->x);
    }
    EXPECT_LT(std::abs(claws[i]->x - crates[i]->x), kTile) << "claw " << i << " far from its crate";
    EXPECT_LT(std::abs(crates[i]->x - triggers.front()->x), 1100.0f) << "crate " << i;
  }
}

// The camera never stands lower than the level's lower bound less a screen, and the HUD
// panel covers the screen's top-left corner: whatever the camera centres on in the fight,
// the hanging crates and claws and the standing Kaje show below the panel.
TEST(AirshipLayout, TheFightShowsBelowTheHudPanelWhereverTheCameraStands) {
  const auto& panel = testsupport::SourceAnimation("HUDWindow");
  const float lowestViewTop = static_cast<float>(Airship().bounds[3] - kScreenHeight);
  const float clearBelow = lowestViewTop + static_cast<float>(panel.frameHeight);
  struct Shown {
    std::string what;
    float top;
  };
  const auto artTop = [](const char* animation, float y) {
    return y - testsupport::SourceAnimation(animation).frames.front().offsetY;
  };
  std::vector<Shown> shown{{"Kaje standing", artTop("kaje_stand", kKajeSpawnY)}};
  for (const auto* crate : Named(Airship().main, "AirshipCrate")) {
    shown.push_back({"crate at x " + std::to_string(static_cast<int>(crate->x)), artTop("airship_crate", crate->y)});
  }
  // A claw's origin is its top; only its cable runs on up, out of view.
  for (const auto* claw : Named(Airship().enemies, "AirshipClaw")) {
    shown.push_back({"claw at x " + std::to_string(static_cast<int>(claw->x)), claw->y});
  }
  for (const Shown& s : shown) {
    EXPECT_GE(s.top, clearBelow) << s.what << ": its art's top shows " << clearBelow - s.top
                                 << " px up under the panel when the camera stands lowest";
  }
}

// In the fight the camera keeps the hero at least two fifths of a screen below the view's
// top, so the highest view lies that far over his highest leap, a SuperJump's: each claw's
// cable must reach above it, or the claw would be seen hanging from nothing.
TEST(AirshipLayout, TheClawsCablesReachOutOfViewHoweverHighTheHeroLeaps) {
  constexpr float kSuperJump = 600.0f;
  const float highestViewTop = kDeckY - kSuperJump - 2.0f * kScreenHeight / 5.0f;
  const float cable = testsupport::SourceAnimation("airship_claw").frames.front().offsetY;
  for (const auto* claw : Named(Airship().enemies, "AirshipClaw")) {
    EXPECT_LE(claw->y - cable, highestViewTop) << "claw at x " << claw->x;
  }
}

// The camera stands no lower than the level's lower bound allows, so a floor near that bound
// puts the hero at the screen's foot over a sliver of ground. Every floor, a deck tile open
// above, lies high enough that a good stretch of the hull shows under the hero's feet.
TEST(AirshipLayout, EveryFloorShowsTheHullUnderTheHerosFeet) {
  constexpr float kGroundShown = 150.0f;
  const float lowestFloor = static_cast<float>(Airship().bounds[3]) - kGroundShown;
  const auto covered = [](float x, float y) {
    return std::any_of(Airship().main.begin(), Airship().main.end(), [&](const auto& o) {
      return (IsDeck(o.name) || o.name == "AirshipRamps") && o.x == x && o.y == y;
    });
  };
  for (const auto& o : Airship().main) {
    if (!IsDeck(o.name) || covered(o.x, o.y - kTile)) continue;
    EXPECT_LE(o.y, lowestFloor) << "floor at (" << o.x << ", " << o.y << ")";
  }
}

// The gates close in list order and the count follows file order: the hero must meet them in
// the same order, and the last one stands after every enemy of the climb, before the fight.
TEST(AirshipLayout, CheckpointsCountUpAlongTheClimbAndTheLastComesBeforeTheFight) {
  const auto checkpoints = Named(Airship().triggers, "TriggerCheckPoint");
  ASSERT_GE(checkpoints.size(), 2u);
  for (std::size_t i = 1; i < checkpoints.size(); ++i) {
    EXPECT_LT(checkpoints[i - 1]->x, checkpoints[i]->x);
    EXPECT_EQ(checkpoints[i - 1]->depth, checkpoints[i]->depth);
  }
  const float last = checkpoints.back()->x;
  EXPECT_LT(last, kTile) << "the last checkpoint stands on the foredeck";
  for (const auto& enemy : Airship().enemies) {
    if (enemy.name != "AirshipClaw") {
      EXPECT_LT(enemy.x, last) << enemy.name << " after the last checkpoint";
    }
  }
}

}  // namespace

namespace {

// A TigerC faces the hero, who comes from the left, and backs off to the right until its
// feet meet the bulkhead closing its stretch; its tail reaches past its feet into that face.
// Enemies stand at depth 0, so the face is drawn before them at that depth or lower.
TEST(AirshipLayout, TheBulkheadBehindEachGunnerIsDrawnBehindIt) {
  constexpr float kEnemyDepth = 0.0f;
  constexpr int kStretch = 12;  // tiles to look along for the bulkhead
  const auto gunners = Named(Airship().enemies, "TigerC");
  ASSERT_FALSE(gunners.empty());
  for (const auto* gunner : gunners) {
    SCOPED_TRACE("TigerC at x " + std::to_string(gunner->x));
    const float row = gunner->y + 1.0f - kTile;  // the tiles beside its body
    const float first = gunner->x - kTile / 2.0f + kTile;
    const validator::PlacedObject* face = nullptr;
    for (int k = 0; k < kStretch && !face; ++k) face = DeckAt(first + kTile * k, row);
    ASSERT_NE(face, nullptr);
    EXPECT_LE(face->depth, kEnemyDepth) << "face at (" << face->x << ", " << face->y << ")";
  }
}

}  // namespace

// The underside shows only on the row under the keel, its beam ending where the hull does
// (a beam running on over a gap, or plating over the deck, reads as a seam); below it nothing.
TEST(AirshipLayout, TheHullsUndersideLiesUnderTheKeelAndEndsAtGaps) {
  constexpr float kUnderKeel = kDeckY + 2 * kTile, kBelowKeel = kDeckY + 3 * kTile;
  const auto& bounds = Airship().bounds;
  auto hullAt = [&](float x) {
    return x < static_cast<float>(bounds[0]) || x >= static_cast<float>(bounds[2]) ||
           DeckAt(x, kUnderKeel) != nullptr;
  };
  int undersides = 0;
  for (const auto& o : Airship().main) {
    if (!IsDeck(o.name)) continue;
    const bool underside = o.frame >= 7 && o.frame <= 10;
    if (o.y == kBelowKeel) {
      EXPECT_EQ(o.frame, 11) << o.x;
    } else if (o.y == kUnderKeel) {
      const int expected = !hullAt(o.x - kTile) ? 9 : !hullAt(o.x + kTile) ? 10 : o.frame;
      EXPECT_TRUE(underside) << o.x;
      EXPECT_EQ(o.frame, expected) << o.x;
      undersides += underside ? 1 : 0;
    } else {
      EXPECT_FALSE(underside || o.frame == 11) << o.x << ", " << o.y;
    }
  }
  EXPECT_GT(undersides, 0);
}

// Where the hull meets a gap or a lower deck its plating turns round a frame (14 open on the
// left, 15 on the right); plain plating lies only between ground on both sides, and no plain
// look stands beside or above itself, or the hull reads as a grid of one tile.
TEST(AirshipLayout, TheHullShowsAFaceAtEveryGapAndNoLookBesideItself) {
  const auto& bounds = Airship().bounds;
  auto groundAt = [&](float x, float y) {
    if (x < static_cast<float>(bounds[0]) || x >= static_cast<float>(bounds[2])) return true;
    for (const auto& o : Airship().main) {
      if ((IsDeck(o.name) || o.name == "AirshipRamps") && x >= o.x && x < o.x + kTile &&
          y >= o.y && y < o.y + kTile)
        return true;
    }
    return false;
  };
  // As the writer looks: a side is open where either half of it meets no ground.
  auto open = [&](float x, float y) { return !groundAt(x, y + 32.0f) || !groundAt(x, y + 96.0f); };
  int faces = 0;
  for (const auto& o : Airship().main) {
    const bool plain = o.frame >= 3 && o.frame <= 6;
    if (o.name != "AirshipDeck" || (!plain && o.frame != 14 && o.frame != 15)) continue;
    const bool left = open(o.x - 1.0f, o.y), right = open(o.x + kTile, o.y);
    EXPECT_EQ(left, o.frame == 14) << "frame " << o.frame << " at (" << o.x << ", " << o.y << ")";
    EXPECT_EQ(right, o.frame == 15) << "frame " << o.frame << " at (" << o.x << ", " << o.y << ")";
    faces += left || right ? 1 : 0;
    if (!plain) continue;
    for (const auto* next : {DeckAt(o.x + kTile, o.y), DeckAt(o.x, o.y + kTile)}) {
      if (next && next->name == o.name) {
        EXPECT_NE(next->frame, o.frame) << "look " << o.frame << " at (" << o.x << ", " << o.y
                                        << ") and (" << next->x << ", " << next->y << ")";
      }
    }
  }
  EXPECT_GT(faces, 0);
}
