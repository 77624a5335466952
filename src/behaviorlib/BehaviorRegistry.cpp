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
    {"TigerC", TigerCInit},
    {"TigerCShot", TigerCShotInit},
    {"TigerA", TigerAInit},
    {"Shredder", ShredderInit},
    {"Grindlenaut", GrindlenautInit},
    {"GrindlenautArm", GrindlenautArmInit},
    {"GrindlenautDrill", GrindlenautDrillInit},
    {"Shot", ShotBehavior},
    {"Scrap", ScrapBehavior},
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
    {"AirshipCrate", AirshipCrateInit},
    {"AirshipClaw", AirshipClawInit},
    {"Constructor", ConstructorInit},
    {"GrindlenautTrigger", World::GrindlenautTrigger},
    {"TigerATrigger", World::TigerATrigger},
    {"KajeTrigger", KajeTriggerInit},
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
