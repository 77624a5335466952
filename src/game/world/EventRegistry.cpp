#include "game/world/EventRegistry.h"

EventRegistry& EventRegistry::Instance() {
  static EventRegistry registry;
  return registry;
}
