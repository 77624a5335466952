// The gunner, the chaser and the spawner in play on a written level, through the
// real frame loop: the TigerC's bolt reaches the hero, the Shredder backs off
// after a hit and comes again, and a Constructor never keeps more than two TigerE.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/GunnerEnemies.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "integration/PlayFolder.h"

namespace {

using playfolder::kFloorTop;

class GunnersRun : public ::testing::Test {
 protected:
  void Start(const playfolder::LevelText& level) {
    folder.WriteLevel("gunners.lvl", level);
    folder.WriteGameList(STATE_GAMEPLAY, {{STATE_GAMEPLAY, {"gunners.lvl"}}});
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(1);  // the game list and the level; the enemies start next frame
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
  }
  void TearDown() override { game.reset(); }

  static GameObject* Find(const char* name) {
    return dynamic_cast<GameObject*>(World::GetObjects()->Find(name));
  }
  static int CountLive(const char* name) {
    const std::vector<Sprite*> found = World::GetObjects()->FindAll(name);
    return static_cast<int>(std::count_if(found.begin(), found.end(), [](const Sprite* s) { return !s->IsDead(); }));
  }
  static std::string Placed(const char* name, float x, float y, int facing = 1) {
    return std::string(name) + " " + std::to_string(static_cast<int>(x)) + " " +
           std::to_string(static_cast<int>(y)) + " " + std::to_string(facing);
  }

  playfolder::Folder folder;
  std::unique_ptr<testharness::GameHarness> game;
};

TEST_F(GunnersRun, TigerCFiresOnItsFirstAimFrameAndTheBoltReachesTheHero) {
  // One long ledge, its ends marked, with the hero 300 pixels left of the gunner.
  playfolder::LevelText level;
  level.Floor(0, 20, {{0, 13}, {20, 12}});
  level.player = "ZodirazO 1000 " + std::to_string(static_cast<int>(kFloorTop)) + " 0";
  level.enemies.push_back(Placed("TigerC", 1300.0f, kFloorTop));
  level.width = 21 * 128;
  Start(level);

  GameObject* tiger = Find("TigerC");
  ASSERT_NE(tiger, nullptr);
  int aimFrame = -1;
  int fireFrame = -1;
  int shotFrame = -1;
  for (int frame = 1; frame <= 200 && shotFrame < 0; ++frame) {
    game->RunFrames(1);
    if (aimFrame < 0 && tiger->GetBehavior() == TigerCAim) aimFrame = frame;
    if (fireFrame < 0 && tiger->GetBehavior() == TigerCShoot) fireFrame = frame;
    if (CountLive("TigerCShot") > 0) shotFrame = frame;
  }
  ASSERT_GT(aimFrame, 0) << "the TigerC never noticed the hero";
  EXPECT_EQ(fireFrame, aimFrame + 1) << "it fires on its first aim frame";
  EXPECT_EQ(shotFrame, fireFrame + 40);

  // The bolt flies left at the hero's body height and cracks an orb.
  GameObject* shot = Find("TigerCShot");
  ASSERT_NE(shot, nullptr);
  EXPECT_LT(shot->GetVelocity().X(), 0.0f);
  const PlayerObject* hero = World::GetPlayer();
  auto cracks = [hero] {
    const std::deque<bool>& queue = hero->GetCrackQueue();
    return std::count(queue.begin(), queue.end(), true);
  };
  ASSERT_EQ(cracks(), 0);
  bool crossed = false;
  for (int frame = 0; frame < 60 && !crossed; ++frame) {
    game->RunFrames(1);
    if (shot->IsDead()) break;
    if (std::fabs(shot->GetPosition().X() - hero->GetPosition().X()) <= 12.0f) {
      crossed = true;
      const float above = hero->GetPosition().Y() - shot->GetPosition().Y();
      EXPECT_GT(above, 2.0f) << "below the hero's body";
      EXPECT_LT(above, 56.0f) << "over the hero's head";
    }
  }
  EXPECT_TRUE(crossed) << "the bolt never reached the hero";
  EXPECT_EQ(cracks(), 1);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
}

TEST_F(GunnersRun, ShredderChasesBacksOffAfterAHitAndComesAgain) {
  playfolder::LevelText level;
  level.Floor(0, 24, {{0, 17}, {24, 16}});
  level.player = "ZodirazO 900 " + std::to_string(static_cast<int>(kFloorTop)) + " 0";
  level.enemies.push_back(Placed("Shredder", 1300.0f, kFloorTop));
  level.width = 25 * 128;
  Start(level);
  GameObject* shredder = Find("Shredder");
  ASSERT_NE(shredder, nullptr);
  const PlayerObject* hero = World::GetPlayer();

  // It closes in on the hero.
  auto distance = [&] { return std::fabs(shredder->GetPosition().X() - hero->GetPosition().X()); };
  const float start = 400.0f;
  for (int frame = 0; frame < 300 && distance() > 200.0f; ++frame) game->RunFrames(1);
  ASSERT_EQ(shredder->GetBehavior(), ShredderChase);
  ASSERT_LT(distance(), 200.0f);
  ASSERT_LT(shredder->GetVelocity().X(), 0.0f) << "toward the hero on its left";
  EXPECT_LT(distance(), start);

  // A shot of the hero's kind flies into its saw.
  auto* shot = dynamic_cast<GameObject*>(World::CloneSprite("Shot"));
  ASSERT_NE(shot, nullptr);
  shot->AddFlag("Damage", 5.0f);
  shot->SetInactive(false);
  shot->SetState(3);
  shot->MoveTo(shredder->GetPosition() + CachedVector(-70.0f, -40.0f));
  shot->SetVelocity(12.0f, 0.0f);
  World::GetObjects()->Add(shot);
  const float health = shredder->GetFlag("Health");
  bool stunned = false;
  for (int frame = 0; frame < 20 && !stunned; ++frame) {
    game->RunFrames(1);
    stunned = shredder->GetBehavior() == ShredderStunned;
  }
  ASSERT_TRUE(stunned) << "the shot did not hurt it";
  EXPECT_EQ(shredder->GetFlag("Health"), health - 5.0f);

  // After the stun it backs off to a point on its own side, away from the hero.
  for (int frame = 0; frame < 200 && shredder->GetFlag("Backoff") == 0.0f; ++frame) game->RunFrames(1);
  ASSERT_EQ(shredder->GetFlag("Backoff"), 1.0f);
  const float hitX = shredder->GetPosition().X();
  const float target = shredder->GetFlag("TargetX");
  EXPECT_GE(target, hitX) << "the hero is on its left";
  EXPECT_LT(target, hitX + 192.0f);
  int frames = 0;
  for (; frames < 400 && shredder->GetFlag("Backoff") != 0.0f; ++frames) game->RunFrames(1);
  ASSERT_LT(frames, 400) << "the retreat never ended";
  EXPECT_NEAR(shredder->GetPosition().X(), target, 10.0f + 6.0f);

  // Then the chase resumes: back toward the hero.
  const float retreated = distance();
  for (int frame = 0; frame < 200 && distance() > retreated - 50.0f; ++frame) game->RunFrames(1);
  EXPECT_EQ(shredder->GetBehavior(), ShredderChase);
  EXPECT_LT(shredder->GetVelocity().X(), 0.0f);
  EXPECT_LE(distance(), retreated - 50.0f);
}

TEST_F(GunnersRun, ConstructorReleasesAtFrameThreeHundredAndNeverKeepsMoreThanTwo) {
  // A wall from the floor to the top keeps the TigerE from the hero.
  playfolder::LevelText level;
  level.Floor(0, 15);
  for (int row = 0; row < 10; ++row) level.Tile(5, row, 8);
  level.player = "ZodirazO 500 " + std::to_string(static_cast<int>(kFloorTop)) + " 0";
  // Its origin is 70 pixels above its base.
  level.enemies.push_back(Placed("Constructor", 1000.0f, kFloorTop - 70.0f));
  level.width = 16 * 128;
  Start(level);
  GameObject* constructor = Find("Constructor");
  ASSERT_NE(constructor, nullptr);
  const Vector2 placed = constructor->GetPosition();

  int initFrame = -1;
  int firstRelease = -1;
  int most = 0;
  for (int frame = 1; frame <= 2000; ++frame) {
    game->RunFrames(1);
    if (initFrame < 0 && constructor->GetFlags().count("Cindex")) initFrame = frame;
    const int live = CountLive("TigerE");
    if (firstRelease < 0 && live > 0) firstRelease = frame;
    most = std::max(most, live);
  }
  ASSERT_GT(initFrame, 0) << "the Constructor never ran";
  ASSERT_GT(firstRelease, 0) << "no TigerE came out";
  EXPECT_EQ(firstRelease - initFrame, 300);
  EXPECT_EQ(most, 2);
  EXPECT_EQ(constructor->GetPosition(), placed) << "it never moves";
  for (Sprite* tiger : World::GetObjects()->FindAll("TigerE")) {
    EXPECT_LT(tiger->GetPosition().X(), 1300.0f);
    EXPECT_GT(tiger->GetPosition().X(), 5 * 128.0f + 64.0f) << "got past the wall";
  }
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
}

}  // namespace
