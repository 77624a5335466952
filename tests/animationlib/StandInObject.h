// This library only names the game's object type, for its callbacks. Its tests
// link without the game, so they stand in for that type with a sprite that
// answers as one: callbacks then get the very object they were registered on.
#pragma once

#include "animationlib/Sprite.h"

class GameObject : public Sprite {
 public:
  using Sprite::Sprite;
  GameObject* AsGameObject() override { return this; }
};
