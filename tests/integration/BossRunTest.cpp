// The junkyard and factory bosses through the real frame loop, each on a small
// arena that places the boss directly (the fight's triggers are not involved).
// With VANTREL_CAPTURE_DIR set, a few frames of each fight are saved there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/ResponseFixtures.h"
#include "behaviorlib/Includes/Grindlenaut.h"
#include "behaviorlib/Includes/TigerA.h"
#include "game/GameObject.h"
#include "game/ObjectHandle.h"
#include "game/PlayerObject.h"
#include "game/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

constexpr float kYardFloor = 896.0f;
constexpr float kYardRightWall = 15872.0f;
constexpr float kFactoryFloor = 2752.0f;

std::string Tile(float x, float y, int frame) {
  return "MetalTiles " + std::to_string(static_cast<int>(x)) + " " +
         std::to_string(static_cast<int>(y)) + " " + std::to_string(frame) + " 0 -0.5\n";
}

// A level of metal tiles: a floor with its top at `floorTop` between `left` and
// `right` and a wall rising at each end, plus `extra` lines of section 7.
std::string Arena(int left, int right, float floorTop, const std::string& prototypes,
                  const std::string& bounds, const std::vector<std::string>& extra,
                  const std::string& player, const std::vector<std::string>& enemies) {
  std::string objects;
  int count = 0;
  const float row = floorTop + 64.0f;
  for (int x = left + 64; x < right; x += 128, ++count) objects += Tile(x, row, 0);
  for (int up = 0; up <= 5; ++up, count += 2) {
    objects += Tile(left - 64, row - 128.0f * up, 1);
    objects += Tile(right + 64, row - 128.0f * up, 1);
  }
  for (const std::string& line : extra) objects += line + "\n", ++count;
  std::string level = prototypes + "0 0\n0\n0\n0\n0\n" + bounds + "\n" + std::to_string(count) +
                      "\n" + objects + player + "\n" + std::to_string(enemies.size()) + "\n";
  for (const std::string& line : enemies) level += line + "\n";
  return level + "0\n";
}

class BossRunTest : public ::testing::Test {
 protected:
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

  // A copy of the game folder whose game list starts in play on `level`.
  void Play(const std::string& level) {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    const std::filesystem::path folder = m_data.Path() / "game";
    testsupport::CopyForPlay(folder, "arena", "arena.lvl");
    std::ofstream(folder / "arena.lvl") << level;
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
  }

  void PlayJunkyard() {
    Play(Arena(14592, 15872, kYardFloor, "1\nMetalTiles 1 0 animations/tiles_metal.acd\n",
               "14336 0 16128 1400", {}, "ZodirazO 14720 800 0",
               {"Grindlenaut 15000 1280 0", "GrindlenautDrill 15000 1280 0",
                "GrindlenautArm 15000 1280 0", "GrindlenautBurrow 15000 1280 0"}));
    // Kept going off screen, as the fight's trigger does.
    for (const char* name : {"Grindlenaut", "GrindlenautDrill", "GrindlenautArm", "GrindlenautBurrow"}) {
      GameObject* part = Find(name);
      ASSERT_NE(part, nullptr) << name;
      part->SetDeactivateOffscreen(false);
    }
    body = Find("Grindlenaut");
    for (int frame = 0; frame < 5 && body->GetBehavior() == GrindlenautInit; ++frame) game->RunFrames(1);
    ASSERT_EQ(body->GetBehavior(), GrindlenautWait);
    body->SetFlag("PatrolTime", 1.0f);  // out at once, as the trigger starts the fight
  }

  void PlayFactory(float heroX, float heroY) {
    const std::string ledge = "ArenaLedge 1 1 animations/factory_platform.acd\n";
    Play(Arena(5600, 7712, kFactoryFloor,
               "2\nMetalTiles 1 0 animations/tiles_metal.acd\n" + ledge, "5300 1800 8000 3200",
               {"ArenaLedge 6144 2595 0 0 0", "ArenaLedge 7168 2595 0 0 0"},
               "ZodirazO " + std::to_string(heroX) + " " + std::to_string(heroY) + " 0",
               {"TigerA 6656 2752 0"}));
    tiger = Find("TigerA");
    ASSERT_NE(tiger, nullptr);
    tiger->SetDeactivateOffscreen(false);
  }

  static GameObject* Find(const char* name) {
    Sprite* found = World::GetObjects()->Find(name);
    return found ? found->AsGameObject() : nullptr;
  }

  static GameObject* ByHandle(const ObjectHandle& handle) {
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      GameObject* object = sprite->AsGameObject();
      if (object && object->GetHandle() == handle) return object;
    }
    return nullptr;
  }

  // Every distinct object of that name seen so far (by handle).
  static void Note(const std::string& name, std::vector<ObjectHandle>& seen) {
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      GameObject* object = sprite->AsGameObject();
      if (!object || sprite->GetName() != name) continue;
      if (std::find(seen.begin(), seen.end(), object->GetHandle()) == seen.end())
        seen.push_back(object->GetHandle());
    }
  }

  void Capture(const std::string& name) const {
    if (const char* dir = std::getenv("VANTREL_CAPTURE_DIR"))
      game->SaveFrame((std::filesystem::path(dir) / (name + ".png")).string());
  }

  std::unique_ptr<testharness::GameHarness> game;
  GameObject* body = nullptr;
  GameObject* tiger = nullptr;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(BossRunTest, GrindlenautEmergesChargesThrowsScrapDivesAndSummons) {
  PlayJunkyard();
  bool landed = false, stopped = false, dived = false;
  float wallGap = -1.0f;
  std::vector<ObjectHandle> scrap, rummagers;
  bool rummagerCharged = false;
  for (int frame = 0; frame < 1500; ++frame) {
    const BehaviorFn before = body->GetBehavior();
    const float restBefore = body->GetFlag("PatrolTime");
    game->RunFrames(1);
    const BehaviorFn now = body->GetBehavior();
    if (before == GrindlenautEmerge && now == GrindlenautPatrol) {
      landed = true;
      // The hull's walking box reaches 86 below its centre.
      EXPECT_NEAR(body->GetPosition().Y() + 86.0f, kYardFloor, 1.0f);
      Capture("grindlenaut-landed");
    }
    if (now == GrindlenautPatrol && restBefore == 0.0f && body->GetFlag("PatrolTime") > 0.0f) {
      stopped = true;
      wallGap = kYardRightWall - (body->GetPosition().X() + 150.0f);
    }
    if (now == GrindlenautArmAttack) {
      Note("Scrap", scrap);
      if (body->GetFlag("PatrolTime") == 150.0f) Capture("grindlenaut-scrap");
    }
    if (before == GrindlenautDive && now == GrindlenautWait) dived = true;
    Note("Rummager", rummagers);
    if (GameObject* rummager = Find("Rummager"))
      rummagerCharged = rummagerCharged || rummager->GetState() == 4 || rummager->GetState() == 3;
  }
  EXPECT_TRUE(landed);
  EXPECT_TRUE(stopped);
  EXPECT_GE(wallGap, -0.5f);
  EXPECT_LE(wallGap, 2.0f);
  EXPECT_EQ(scrap.size(), 3u);
  EXPECT_TRUE(dived);
  EXPECT_EQ(rummagers.size(), 1u);
  EXPECT_TRUE(rummagerCharged);
  EXPECT_EQ(body->GetBehavior(), GrindlenautWait);
  EXPECT_GT(body->GetPosition().Y(), kYardFloor + 200.0f) << "underground again";
}

TEST_F(BossRunTest, GrindlenautStruckDownBreaksApartAndLosesItsParts) {
  PlayJunkyard();
  for (int frame = 0; frame < 400 && !(body->GetBehavior() == GrindlenautPatrol &&
                                       body->GetFlag("PatrolTime") > 0.0f);
       ++frame) {
    game->RunFrames(1);
  }
  ASSERT_EQ(body->GetBehavior(), GrindlenautPatrol);
  body->SetFlag("Health", 1.0f);
  PlayerObject* hero = World::GetPlayer();
  hero->MoveTo(Vector2(body->GetPosition().X() - 260.0f, hero->GetPosition().Y()));
  // Into the arm attack, with the first scrap up in the grabber.
  for (int frame = 0; frame < 400 && !(body->GetBehavior() == GrindlenautArmAttack &&
                                       body->GetFlag("PatrolTime") == 470.0f);
       ++frame) {
    game->RunFrames(1);
  }
  ASSERT_EQ(body->GetBehavior(), GrindlenautArmAttack);
  Capture("grindlenaut-arm");
  // A sword blow at the hull's rear, stored as the damage response stores it.
  hero->NextAttackId();
  body->SetFlag("DamageReceived", 10.0f);
  body->SetLastContact(responsetest::Overlap(body, hero, 1, 2));
  game->RunFrames(1);
  ASSERT_EQ(body->GetBehavior(), GrindlenautDeath);

  std::vector<ObjectHandle> before, flashes;
  Note("Flash", before);
  // The first death step sets the count of 300; the parts go when it runs out.
  for (int frame = 0; frame < 301; ++frame) {
    game->RunFrames(1);
    Note("Flash", flashes);
    if (frame == 120) Capture("grindlenaut-death");
  }
  const auto fresh = std::count_if(flashes.begin(), flashes.end(), [&](const ObjectHandle& h) {
    return std::find(before.begin(), before.end(), h) == before.end();
  });
  EXPECT_EQ(fresh, 271);
  EXPECT_EQ(body->GetFlag("PatrolTime"), -1.0f);
  EXPECT_FALSE(body->IsVisible());
  game->RunFrames(1);
  for (const char* part : {"GrindlenautDrill", "GrindlenautArm", "GrindlenautBurrow"})
    EXPECT_EQ(Find(part), nullptr) << part;
}

TEST_F(BossRunTest, TigerAJumpsToTheHerosPlatform) {
  PlayFactory(6144.0f, 2450.0f);
  int arrivedAt = -1;
  float arrivedX = 0.0f;
  for (int frame = 0; frame < 400 && arrivedAt < 0; ++frame) {
    const BehaviorFn before = tiger->GetBehavior();
    const float x = tiger->GetPosition().X();  // what the behaviour sees, before the frame's move
    game->RunFrames(1);
    if (frame == 30) {
      const Vector2& at = World::GetPlayer()->GetPosition();
      ASSERT_EQ(TigerAZoneOf(at.X(), at.Y()), 3) << "the hero stands on the left platform";
    }
    if (tiger->GetBehavior() == TigerAJump && frame % 8 == 0) Capture("tigera-jump");
    if (before == TigerAJump && tiger->GetBehavior() != TigerAJump) {
      arrivedAt = frame;
      arrivedX = x;
    }
  }
  ASSERT_GE(arrivedAt, 0) << "never arrived";
  // It counts as there within 5 pixels, even mid-hop, and brakes from its hop speed
  // (up to 12) by 2 a frame, so it comes to rest on the platform up to ~50 pixels on.
  EXPECT_LT(std::fabs(arrivedX - 6144.0f), 5.0f);
  EXPECT_EQ(tiger->GetBehavior(), TigerAAtUpper);
  game->RunFrames(30);
  const Vector2& rest = tiger->GetPosition();
  EXPECT_NE(tiger->GetFlag("OnGround"), 0.0f);
  EXPECT_NEAR(rest.Y(), 2595.0f, 1.0f);
  EXPECT_LT(std::fabs(rest.X() - 6144.0f), 50.0f);
  EXPECT_EQ(TigerAZoneOf(rest.X(), rest.Y()), 3);
}

TEST_F(BossRunTest, TigerABombsTheHeroOnTheFloorThenRunsAcross) {
  // Left of the left platform's corner: a throw at a hero nearer it (x 5800 and on)
  // grazes that corner and drops short.
  PlayFactory(5700.0f, 2700.0f);
  int thrownAt = -1;
  for (int frame = 1; frame <= 120 && thrownAt < 0; ++frame) {
    game->RunFrames(1);
    if (Find("TigerABomb")) thrownAt = frame;
  }
  ASSERT_GT(thrownAt, 0) << "no bomb";
  EXPECT_NEAR(thrownAt, 60, 2) << "the first decision comes 60 frames after the set-up";
  GameObject* bomb = Find("TigerABomb");
  const ObjectHandle handle = bomb->GetHandle();
  // Where it first comes down on the floor.
  float landedX = -1.0f;
  for (int frame = 1; frame <= 200; ++frame) {
    const float vy = bomb ? bomb->GetVelocity().Y() : 0.0f;
    game->RunFrames(1);
    bomb = ByHandle(handle);
    if (landedX < 0.0f && bomb && vy > 0.0f && bomb->GetVelocity().Y() <= 0.0f)
      landedX = bomb->GetPosition().X();
    if (frame == 60) {
      EXPECT_EQ(tiger->GetBehavior(), TigerARun);
      EXPECT_EQ(tiger->GetFlag("TargetX"), TigerAWaypoint(4).x);
    }
    if (frame == 130) Capture("tigera-blast");
    if (frame == 190) {
      ASSERT_NE(bomb, nullptr) << "still blasting just before 200 frames";
      EXPECT_EQ(bomb->GetState(), 3);
    }
  }
  EXPECT_NEAR(landedX, 5700.0f, 64.0f);
  EXPECT_EQ(bomb, nullptr) << "gone 200 frames after the throw";
}

}  // namespace
