// The behaviour test world with the bosses' box-shaped art: a Grindlenaut body
// whose mount polygon carries the drill (vertex 0) and arm (vertex 1), with its
// worn looks, its parts, seven scrap looks, a Rummager, and TigerA with its bomb.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "game/objects/ObjectHandle.h"
#include "game/objects/ResponseFixtures.h"

namespace behaviortest {

class BossWorldTest : public BehaviorWorldTest {
 protected:
  void SetUp() override {
    BehaviorWorldTest::SetUp();
    const std::vector<CollisionPolygon> digging = BodyShape(false);
    const std::vector<CollisionPolygon> walking = BodyShape(true);
    WriteArt("GNTburied", 1, {100, 60}, 200, 60, digging);
    WriteArt("GNTbody", 1, {100, 60}, 200, 60, walking);
    WriteArt("GNTdive", 1, {100, 60}, 200, 60, digging);
    for (const char* wear : {"_dented", "_wrecked"}) {
      WriteArt(std::string("GNTbody") + wear, 1, {100, 60}, 200, 60, walking);
      WriteArt(std::string("GNTdive") + wear, 1, {100, 60}, 200, 60, digging);
    }
    WriteArt("GNTdeath", 1, {100, 60}, 200, 60, {});
    WriteArt("GNTdrill", 1, {0, 16}, 64, 32, {Box(ENEMY_BODY, 0, -16, 64, 16)});
    WriteArt("GNTarm", 1, {0, 8}, 96, 16, {Box(MARKER, 0, -8, 96, 8), Polygon(MARKER, {Vector2(90, 0), Vector2(96, 0), Vector2(96, 4)})});
    WriteArt("GNTburrow", 1, {64, 24}, 128, 24, {});
    WriteArt("scrap", 1, {8, 8}, 16, 16, {Box(ENEMY_PROJECTILE, -8, -8, 8, 8)});
    WriteArt("tiger", 1, {56, 64}, 112, 64, {Box(WALKER, -56, -64, 56, 0), Box(ENEMY_BODY, -56, -64, 56, 0)});
    WriteArt("tigerdead", 1, {56, 64}, 112, 64, {Box(WALKER, -56, -64, 56, 0)});
    WriteArt("ledge", 1, {0, 0}, 128, 16, {Box(GROUND, 0, 0, 128, 16)});
    WriteArt("bomb", 1, {8, 8}, 16, 16, {Box(SMALL_SOLID, -8, -8, 8, 8), Box(ENEMY_BODY, -8, -8, 8, 8)});
    std::string scrap = "Scrap 7";
    for (int key = 0; key < 7; ++key) scrap += " " + std::to_string(key) + " animations/scrap.acd";
    worldtest::WriteText(Root() / "SpriteList.vtsl",
                         "14\n"
                         "ZodirazO 1 1 animations/hero.acd\n"
                         "Floor 1 1 animations/floor.acd\n"
                         "Ledge 1 1 animations/ledge.acd\n"
                         "Flash 1 1 animations/flash.acd\n"
                         "Spark 1 1 animations/spark.acd\n"
                         "Powerup 1 1 animations/powerup.acd\n"
                         "Rummager 1 1 animations/walker.acd\n"
                         "Grindlenaut 8 1 animations/GNTburied.acd 2 animations/GNTbody.acd"
                         " 3 animations/GNTdive.acd 20 animations/GNTdeath.acd"
                         " 12 animations/GNTbody_dented.acd 13 animations/GNTdive_dented.acd"
                         " 22 animations/GNTbody_wrecked.acd 23 animations/GNTdive_wrecked.acd\n"
                         "GrindlenautDrill 2 1 animations/GNTdrill.acd 20 animations/GNTdrill.acd\n"
                         "GrindlenautArm 2 1 animations/GNTarm.acd 20 animations/GNTarm.acd\n"
                         "GrindlenautBurrow 1 1 animations/GNTburrow.acd\n" +
                             scrap + "\n" +
                             "TigerA 6 1 animations/tiger.acd 2 animations/tiger.acd 16 animations/tiger.acd"
                             " 17 animations/tiger.acd 19 animations/tiger.acd 22 animations/tigerdead.acd\n"
                             "TigerABomb 2 1 animations/bomb.acd 3 animations/bomb.acd\n");
  }

  // Floor tiles with their tops at `top` from x `left` to `right`, and a wall
  // two tiles high at each end.
  static std::vector<std::string> Arena(int left, int right, int top) {
    std::vector<std::string> tiles;
    const std::string y = std::to_string(top);
    for (int x = left; x < right; x += 128) tiles.push_back("Floor " + std::to_string(x) + " " + y + " 0 0 0");
    for (int up : {128, 256}) {
      const std::string wallY = std::to_string(top - up);
      tiles.push_back("Floor " + std::to_string(left - 128) + " " + wallY + " 0 0 0");
      tiles.push_back("Floor " + std::to_string(right) + " " + wallY + " 0 0 0");
    }
    return tiles;
  }

  // A hit by a hero attack that has not hurt the boss yet, or by the last one.
  void Hit(EnemyObject* boss, PlayerObject* hero, float damage, bool newAttack = true) {
    if (newAttack) hero->NextAttackId();
    boss->SetFlag("DamageReceived", damage);
    boss->SetLastContact(responsetest::Overlap(boss, hero, 1, 2));
  }

  // Every distinct object of that name seen by `seen` so far (by handle).
  static void Note(const std::string& name, std::vector<ObjectHandle>& seen) {
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      GameObject* object = sprite->AsGameObject();
      if (!object || sprite->GetName() != name) continue;
      if (std::find(seen.begin(), seen.end(), object->GetHandle()) == seen.end()) seen.push_back(object->GetHandle());
    }
  }

  // The body's polygons: its feet, its hit box and its mounts.
  static std::vector<CollisionPolygon> BodyShape(bool walking) {
    return {Box(walking ? WALKER : MARKER, -100, -60, 100, 0), Box(ENEMY_BODY, -100, -60, 100, 0),
            Polygon(MARKER, {Vector2(100, -30), Vector2(-60, -60), Vector2(0, -60)})};
  }

  // `frames` frames of `ticks` each (0: held), looping.
  void WriteArt(const std::string& name, int frames, const Vector2& origin, int width, int height,
                const std::vector<CollisionPolygon>& polygons, int ticks = 0) {
    Animation animation(name, Vector2(static_cast<float>(width), static_cast<float>(height)),
                        Vector2(static_cast<float>(width * frames), static_cast<float>(height)));
    for (int i = 0; i < frames; ++i) {
      animation.GetFrames().emplace_back((i + 1) % frames, ticks, origin, CollisionShape(polygons));
    }
    const std::string file = (Root() / "animations" / name).string();
    ASSERT_TRUE(animation.Save(file + ".acd"));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * frames * height), worldtest::kPaint);
    std::string error;
    ASSERT_TRUE(platform::SavePng(file + ".png", width * frames, height, pixels.data(), error)) << error;
  }
};

}  // namespace behaviortest
