#include "game/objects/BehaviorRegistry.h"

BehaviorRegistry& BehaviorRegistry::Instance() {
  static BehaviorRegistry registry;
  return registry;
}
