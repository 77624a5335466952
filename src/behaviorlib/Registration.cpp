// The rows of the game's registries: every kind's first behaviour function by type
// name, the scripted events by name, and the kinds whose texts loading prepares.
// Game owns the tables; the program entry fills them through RegisterBehaviors
// before anything looks a name up.
#include "game/objects/BehaviorRegistry.h"

#include "behaviorlib/Behaviors.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "game/objects/TextRegistry.h"
#include "game/world/EventRegistry.h"
#include "game/world/World.h"

namespace {

// In insertion order; a name listed twice keeps its first row.
const BehaviorRegistry::Row kBehaviorRows[] = {
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

const EventRegistry::Row kEventRows[] = {
    {"JunkyardEnd", World::JunkyardEnd},
};

const TextRegistry::Row kTextRows[] = {
    {"KajeTrigger", PrepareKajeDialogue},
};

}  // namespace

void RegisterBehaviors() {
  BehaviorRegistry::Fill(kBehaviorRows);
  EventRegistry::Fill(kEventRows);
  TextRegistry::Fill(kTextRows);
}
