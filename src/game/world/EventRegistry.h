// From a scripted event's name to the camera-focus callback that ends it. Filled
// once at start-up by the behaviour library (RegisterBehaviors) and never changed.
#pragma once

#include <string>

#include "game/objects/NameRegistry.h"
#include "game/world/CameraFocus.h"

class EventRegistry : public NameRegistry<EventRegistry, FocusCallback> {
 public:
  // Null for a name without a row.
  static FocusCallback GetEvent(std::string name) { return Find(name); }
};
