// From an object's type name (its prototype's name, compared exactly) to the
// first function of its behaviour. The table lives here, below the behaviours, and
// the behaviour library fills it once at start-up (RegisterBehaviors); after that it
// never changes. A name without a row has no behaviour.
#pragma once

#include <string>

#include "animationlib/Sprite.h"
#include "game/objects/NameRegistry.h"

class BehaviorRegistry : public NameRegistry<BehaviorRegistry, BehaviorFn> {
 public:
  // Null for a name without a row.
  static BehaviorFn GetBehavior(std::string name) { return Find(name); }
};

// Fills BehaviorRegistry and EventRegistry with the game's rows. Defined by the
// behaviour library, which sits above game and holds the functions the rows name;
// the program entry (and every program that plays the game, tests included) calls
// it once before anything looks a name up.
void RegisterBehaviors();
