// A working folder for the behaviour tests: box-shaped test animations (a
// walker, a floor tile, 30- and 60-degree slopes, the hero with body and weapon
// polygons, "Flash", "Spark" and "Powerup"), the game's collision-type table,
// and a level written by the test, loaded into a started World whose main list
// the test steps frame by frame. The generator is seeded, so rand()-based
// values can be recomputed in the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PhysicsLib/Collision.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/objects/EnemyObject.h"
#include "game/player/PlayerObject.h"
#include "platform/Random.h"

namespace behaviortest {

// The collision types of the game's table.
enum Type : int {
  MARKER, WALKER, GROUND, HERO_SOLID, SMALL_SOLID, HERO_BODY, HERO_WEAPON, ENEMY_BODY,
  ENEMY_PROJECTILE, HERO_SHOT, PICKUP, CRATE, kTypeCount
};

inline std::vector<std::vector<int>> GameTable() {
  std::vector<std::vector<int>> rows(kTypeCount, std::vector<int>(kTypeCount, kCollisionNone));
  auto set = [&](int i, int j, int entry) { rows[i][j] = rows[j][i] = entry; };
  set(WALKER, GROUND, kCollisionSolid);
  set(GROUND, HERO_SOLID, kCollisionSolid);
  set(GROUND, SMALL_SOLID, kCollisionSolid);
  for (int hurt : {ENEMY_BODY, ENEMY_PROJECTILE, PICKUP}) {
    for (int by : {HERO_BODY, HERO_WEAPON, HERO_SHOT}) set(hurt, by, kCollisionOverlap);
  }
  set(CRATE, ENEMY_BODY, kCollisionOverlap);
  return rows;
}

inline CollisionPolygon Polygon(int type, const std::vector<Vector2>& points) {
  std::vector<CollisionVertex> vertices;
  for (const Vector2& p : points) vertices.emplace_back(p);
  return CollisionPolygon(type, vertices);
}

inline CollisionPolygon Box(int type, float left, float top, float right, float bottom) {
  return Polygon(type, {Vector2(left, top), Vector2(right, top), Vector2(right, bottom),
                        Vector2(left, bottom)});
}

constexpr float kTan30 = 0.57735027f;
constexpr float kTan60 = 1.7320508f;

// One number of an enemy kind's table: what it is, the value the kind must
// show, and how to read it from a fresh enemy.
struct EnemyNumber {
  const char* what;
  float expected;
  std::function<float(EnemyObject*)> read;
};

class BehaviorWorldTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    CollisionTypeTable::Rows() = GameTable();
    ASSERT_TRUE(SaveCollisionTypes((Root() / "clsntypes.ctt").string()));
    CollisionTypeTable::Rows().clear();
    // Walker: feet at the origin.
    Write("walker", 1, 32, 32, {16, 32}, {Box(WALKER, -16, -32, 16, 0), Box(ENEMY_BODY, -16, -32, 16, 0)});
    // Tiles: origin at the top-left corner.
    Write("floor", 1, 128, 128, {0, 0}, {Box(GROUND, 0, 0, 128, 128)});
    Write("slope30", 1, 128, 128, {0, 0},
          {Polygon(GROUND, {Vector2(0, 128), Vector2(128, 128 - 128 * kTan30), Vector2(128, 128)})});
    Write("slope60", 1, 128, 128, {0, 0},
          {Polygon(GROUND, {Vector2(0, 128), Vector2(64, 128 - 64 * kTan60), Vector2(64, 128)})});
    Write("hero", 1, 64, 64, {32, 64},
          {Box(HERO_SOLID, -14, -60, 14, 0), Box(HERO_BODY, -14, -60, 14, 0),
           Box(HERO_WEAPON, 14, -50, 60, -20)});
    Write("flash", 4, 32, 32, {16, 16}, {});
    Write("spark", 10, 8, 8, {4, 4}, {Box(SMALL_SOLID, -2, -2, 2, 2)});
    Write("powerup", 5, 24, 24, {12, 12}, {Box(SMALL_SOLID, -8, -8, 8, 8), Box(PICKUP, -10, -10, 10, 10)});
    worldtest::WriteText(Root() / "SpriteList.vtsl",
                         "8\n"
                         "ZodirazO 1 1 animations/hero.acd\n"
                         "Walker 1 1 animations/walker.acd\n"
                         "Floor 1 1 animations/floor.acd\n"
                         "Slope30 1 1 animations/slope30.acd\n"
                         "Slope60 1 1 animations/slope60.acd\n"
                         "Flash 1 1 animations/flash.acd\n"
                         "Spark 1 1 animations/spark.acd\n"
                         "Powerup 1 1 animations/powerup.acd\n");
    platform::SeedRandom(1234);
  }

  // Starts the World on a level whose main list holds `objects` ("name x y
  // frame facing depth" each) and section 9 holds `enemies` ("name x y
  // facing" each), within `bounds` ("-1 -1 -1 -1" for an open level).
  void StartLevel(const std::vector<std::string>& objects,
                  const std::vector<std::string>& enemies = {},
                  const std::string& bounds = "0 0 4000 1000") {
    std::string text = "0\n0 0\n0\n0\n0\n0\n" + bounds + " " + std::to_string(objects.size());
    for (const std::string& object : objects) text += " " + object;
    text += "\n0\n" + std::to_string(enemies.size());
    for (const std::string& enemy : enemies) text += " " + enemy;
    text += "\n0\n";
    worldtest::WriteText(Root() / "one.lvl", text);
    WriteGameList("one one.lvl", 1);
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("one", true));
    World::GetObjects()->SetOffset(Vector2());
  }

  static GameObject* Live(const std::string& name) {
    return dynamic_cast<GameObject*>(World::GetObjects()->Find(name));
  }
  static EnemyObject* Enemy(const std::string& name) {
    return dynamic_cast<EnemyObject*>(World::GetObjects()->Find(name));
  }
  static int Count(const std::string& name) {
    int count = 0;
    for (const Sprite* sprite : World::GetObjects()->GetSprites()) {
      count += sprite->GetName() == name && !sprite->IsDead();
    }
    return count;
  }
  static std::vector<GameObject*> All(const std::string& name) {
    std::vector<GameObject*> found;
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      if (sprite->GetName() == name) found.push_back(dynamic_cast<GameObject*>(sprite));
    }
    return found;
  }

  // The hero, added to the main list (the level's own hero is not a PlayerObject).
  PlayerObject* AddHero(const Vector2& at) {
    auto* hero = new PlayerObject(World::kPlayerName, World::FindPrototype("ZodirazO")->GetAnimation(),
                                  at, NO_CALLBACKS, 0.0f);
    World::GetObjects()->Add(hero);
    return hero;
  }

  static void Step(int frames = 1) {
    for (int i = 0; i < frames; ++i) World::GetObjects()->Update(false);
  }

  // Reads each number from its own fresh enemy, made by `start`.
  template <typename StartFn>
  static void ExpectNumbers(const char* kind, const std::vector<EnemyNumber>& numbers,
                            StartFn start) {
    for (const EnemyNumber& number : numbers) {
      EnemyObject* enemy = start();
      ASSERT_NE(enemy, nullptr) << kind;
      EXPECT_NEAR(number.read(enemy), number.expected, 1e-4f) << kind << ": " << number.what;
    }
  }
  // A patrol's numbers for an enemy placed at `placedX`: how far ahead its first
  // target lies, its acceleration, the speed it tops out at, and how far ahead
  // it sets its next target when it turns.
  static std::vector<EnemyNumber> PatrolNumbers(BehaviorFn patrol, float placedX, float ahead,
                                                float acceleration, float topSpeed, float turn) {
    return {
        {"first patrol target ahead", ahead,
         [placedX](EnemyObject* enemy) { return enemy->GetFlag("TargetX") - placedX; }},
        {"patrol acceleration", acceleration,
         [patrol](EnemyObject* enemy) { return SpeedAfter(enemy, patrol, 1); }},
        {"patrol top speed", topSpeed,
         [patrol](EnemyObject* enemy) { return SpeedAfter(enemy, patrol, 60); }},
        {"patrol turn distance", turn,
         [patrol](EnemyObject* enemy) { return TurnDistance(enemy, patrol); }},
    };
  }
  // The x velocity after `calls` runs of `state` (the physics step does not run).
  static float SpeedAfter(GameObject* enemy, BehaviorFn state, int calls) {
    enemy->SetBehavior(state);
    for (int call = 0; call < calls; ++call) state(enemy);
    return enemy->GetVelocity().X();
  }
  // The y velocity after one frame of falling from rest.
  static float Fall(GameObject* enemy, BehaviorFn fall) {
    enemy->SetFlag("OnGround", 0.0f);
    enemy->SetBehavior(fall);
    fall(enemy);
    return enemy->GetVelocity().Y();
  }
  // How far ahead a patrol sets its next target when it turns at one behind it.
  static float TurnDistance(GameObject* enemy, BehaviorFn patrol) {
    const float x = enemy->GetPosition().X();
    enemy->SetFlag("DirectionX", 1.0f);
    enemy->SetFlag("TargetX", x - 1.0f);
    patrol(enemy);
    return x - enemy->GetFlag("TargetX");
  }

 protected:
  // A box-art animation of `frames` frames that all share `polygons`; the
  // frames hold (ticks 0), so a level object keeps the frame it is placed with.
  void Write(const std::string& name, int frames, int width, int height, const Vector2& origin,
             const std::vector<CollisionPolygon>& polygons) {
    Animation animation(name, Vector2(static_cast<float>(width), static_cast<float>(height)),
                        Vector2(static_cast<float>(width * frames), static_cast<float>(height)));
    for (int i = 0; i < frames; ++i) {
      animation.GetFrames().emplace_back((i + 1) % frames, 0, origin, CollisionShape(polygons));
    }
    const std::string file = (Root() / "animations" / name).string();
    ASSERT_TRUE(animation.Save(file + ".acd"));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * frames * height),
                                      worldtest::kPaint);
    std::string error;
    ASSERT_TRUE(platform::SavePng(file + ".png", width * frames, height, pixels.data(), error)) << error;
  }
};

}  // namespace behaviortest
