// From a scripted event's name to the camera-focus callback that ends it. Filled
// once at start-up by the behaviour library (RegisterBehaviors) and never changed.
#pragma once

#include <span>
#include <string>

#include "game/objects/NameRegistry.h"
#include "game/world/CameraFocus.h"

class EventRegistry : public NameRegistry<FocusCallback> {
 public:
  // Null for a name without a row.
  static FocusCallback GetEvent(std::string name) { return Instance().Find(name); }
  static const EventRegistry& GetRegistry() { return Instance(); }

  // Inserts the rows in order; a name already present keeps its first row.
  static void Fill(std::span<const Row> rows) { Instance().Insert(rows); }

 private:
  EventRegistry() = default;
  static EventRegistry& Instance();
};
