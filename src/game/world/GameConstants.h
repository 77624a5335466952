// Numbers the game, its behaviours and the data tools must agree on. Data files
// carry them bare, so a change here is a change to the data format.
#pragma once

// The screen all positions, camera offsets and on-screen tests are measured on.
inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

// Object states: the game object's state number and the key of its
// state-to-animation table ("SpriteList.vtsl" pairs a key with each animation).
enum ObjectState : int {
  OBJECT_STAND = 1,
  OBJECT_RUN = 2,
  OBJECT_FIRST_ATTACK = 3,  // 3 to 14 are sword swings
  OBJECT_GUN = 15,
  OBJECT_STRIDE = 16,
  OBJECT_CYCLONE = 17,  // the last attacking state
  OBJECT_SUPER_JUMP = 18,
  OBJECT_AIR = 19,
  OBJECT_WALL_JUMP = 20,
  OBJECT_DEAD = 22,
};

// Which polygon of a frame's collision shape does what.
enum ShapePolygon : int {
  POLYGON_WALKER = 0,  // the body that stands, walks and lands
  POLYGON_BODY = 1,    // the body that takes hits
  POLYGON_WEAPON = 2,  // a weapon, muzzle or launch point
};
