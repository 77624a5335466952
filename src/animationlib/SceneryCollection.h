// The sprite list of a scenery layer: every pass on, scrolled by the camera
// through the parallax pass. Its members are ScenerySprites.
#pragma once

#include "animationlib/SpriteCollection.h"

class SceneryCollection : public SpriteCollection {
 public:
  SceneryCollection() : SpriteCollection(PASS_ALL) {}
  ~SceneryCollection() override = default;
};
