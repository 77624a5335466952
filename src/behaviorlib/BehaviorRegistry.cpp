#include "behaviorlib/BehaviorRegistry.h"

#include "behaviorlib/Behaviors.h"
#include "game/World.h"

namespace {

struct Row {
  const char* name;
  BehaviorFn behavior;
};

// In insertion order; a name listed twice keeps its first row. A null entry is
// a kind whose behaviour is not part of the game yet (HOOK: the function named
// beside it takes its place when it is written).
const Row kRows[] = {
    {"Rat", RatInit},
    {"Rummager", RummagerInit},
    {"TigerE", TigerEInit},
    {"TigerC", nullptr},              // TigerCInit
    {"TigerCShot", TigerCShotInit},
    {"TigerA", nullptr},              // TigerAInit
    {"Shredder", nullptr},            // ShredderInit
    {"Grindlenaut", nullptr},         // GrindlenautInit
    {"GrindlenautArm", nullptr},      // GrindlenautArmInit
    {"GrindlenautDrill", nullptr},    // GrindlenautDrillInit
    {"Shot", ShotBehavior},
    {"Scrap", nullptr},               // ScrapBehavior
    {"Tire", TireInit},
    {"Flash", FlashBehavior},
    {"Powerup", PowerupBehavior},
    {"BreakWhiteOrb", BreakOrbBehavior},
    {"BreakRedOrb", BreakOrbBehavior},
    {"BreakGreenOrb", BreakOrbBehavior},
    {"BreakBlueOrb", BreakOrbBehavior},
    {"GreyOrb", GreyOrbBehavior},
    {"OrbRotation", OrbRotationInit},
    {"CorePiece", CorePieceInit},
    {"CoreGlow", CorePieceInit},
    {"Spark", SparkBehavior},
    {"DeadFall", DeadFallBehavior},
    {"FactoryPlatform", FactoryPlatformInit},
    {"TigerABomb", TigerABombInit},
    {"AirshipCrate", nullptr},        // AirshipCrateInit
    {"AirshipClaw", nullptr},         // AirshipClawInit
    {"Constructor", nullptr},         // ConstructorInit
    {"GrindlenautTrigger", World::GrindlenautTrigger},
    {"TigerATrigger", World::TigerATrigger},
    {"KajeTrigger", nullptr},         // KajeTriggerInit
    {"TriggerCheckPoint", TriggerCheckPointInit},
};

// Built by static initialisation, before the program entry runs.
const BehaviorRegistry& gRegistry = BehaviorRegistry::GetRegistry();

}  // namespace

BehaviorRegistry::BehaviorRegistry() {
  for (const Row& row : kRows) m_rows.insert({row.name, row.behavior});
}

const BehaviorRegistry& BehaviorRegistry::GetRegistry() {
  static const BehaviorRegistry registry;
  return registry;
}

BehaviorFn BehaviorRegistry::GetBehavior(std::string name) {
  const auto& rows = GetRegistry().m_rows;
  auto found = rows.find(name);
  return found == rows.end() ? nullptr : found->second;
}
