// A started World with a hero built on box-shaped animations, solid ground
// pieces to stand on and keys to hold, for the hero's rule tests.
#pragma once

#include <SDL_scancode.h>

#include <algorithm>
#include <initializer_list>
#include <list>
#include <memory>
#include <vector>

#include "PhysicsLib/CollisionTypes.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/hud/HUD.h"
#include "game/player/PlayerObject.h"

namespace herotest {

inline CollisionPolygon Polygon(const std::vector<Vector2>& points) {
  std::vector<CollisionVertex> vertices;
  for (const Vector2& p : points) vertices.emplace_back(p);
  return CollisionPolygon(0, vertices);
}

class HeroTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    BeforeInit();
    InitWorld();
    AfterInit();
    ASSERT_NE(HUD::GetInstance(), nullptr);
    Input::GetInstance()->Update();  // the devices are acquired on the first read
    m_savedTable = CollisionTypeTable::Rows();
    CollisionTypeTable::Rows() = {{kCollisionSolid}};
    // A 20 x 40 body; the Stride animation has a wind-up frame 0.
    m_body = Shaped("body", {Polygon({{0, 0}, {20, 0}, {20, 40}, {0, 40}})}, 1);
    m_stride = Shaped("stride", {Polygon({{0, 0}, {20, 0}, {20, 40}, {0, 40}})}, 2);
    auto hero = std::make_unique<PlayerObject>(
        World::kPlayerName, m_body, Vector2(100, 100),
        ObjectCallbacks{PlayerQueryThunk, PlayerInputThunk, nullptr}, 0.0f);
    hero->AddStateAnimation(m_stride, PLAYER_STRIDE);
    this->hero = hero.get();
    World::GetObjects()->Add(hero.release());
  }
  void TearDown() override {
    World::GetObjects()->Clear();
    CollisionTypeTable::Rows() = m_savedTable;
    World::SetPlayFrame(true);
    WorldDataTest::TearDown();
  }

  // Fixtures that need more data (prototypes, a level) add it around the World's start.
  virtual void BeforeInit() {}
  virtual void AfterInit() {}

  // An animation of `frames` held frames, each with the given polygons.
  Animation* Shaped(const std::string& name, const std::vector<CollisionPolygon>& polygons,
                    int frames) {
    auto& animation = m_animations.emplace_back(name, Vector2(64, 64), Vector2(64.0f * frames, 64));
    for (int i = 0; i < frames; ++i) {
      animation.GetFrames().emplace_back((i + 1) % frames, 0, Vector2(), CollisionShape(polygons));
    }
    return &animation;
  }
  // A still solid piece of the given outline at (x, y).
  GameObject* Solid(float x, float y, const std::vector<Vector2>& outline) {
    Animation* art = Shaped("solid", {Polygon(outline)}, 1);
    auto* piece = new GameObject("Solid", art, Vector2(x, y), NO_CALLBACKS, 0.0f);
    World::GetObjects()->Add(piece);
    return piece;
  }
  GameObject* Floor(float y) { return Solid(0, y, {{0, 0}, {2000, 0}, {2000, 32}, {0, 32}}); }

  // The keys down this frame, after the last frame's (a key down in both is held, not pressed).
  void Keys(std::initializer_list<SDL_Scancode> keys) {
    const std::vector<SDL_Scancode> next(keys.begin(), keys.end());
    auto has = [](const std::vector<SDL_Scancode>& set, SDL_Scancode key) {
      return std::find(set.begin(), set.end(), key) != set.end();
    };
    for (SDL_Scancode key : m_down) {
      if (!has(next, key)) game->KeyUp(key);
    }
    for (SDL_Scancode key : next) {
      if (!has(m_down, key)) game->KeyDown(key);
    }
    m_down = next;
    Input::GetInstance()->Update();
  }
  void Hold(std::initializer_list<SDL_Scancode> keys) {
    Keys(keys);
    Input::GetInstance()->Update();  // a second read: held, no longer pressed
  }
  // Standing still on the ground state, at rest.
  void Ground() {
    hero->SetVelocity(0.0f, 0.0f);
    hero->ChangeState(PLAYER_IDLE);
  }
  // In the air state, moving at (vx, vy).
  void Air(float vx, float vy) {
    hero->ChangeState(PLAYER_AIR);
    hero->SetVelocity(vx, vy);
  }

  PlayerObject* hero = nullptr;
  Animation* m_body = nullptr;
  Animation* m_stride = nullptr;

 private:
  std::list<Animation> m_animations;
  std::vector<SDL_Scancode> m_down;
  std::vector<std::vector<int>> m_savedTable;
};

}  // namespace herotest
