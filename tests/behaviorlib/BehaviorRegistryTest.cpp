// The registries from type and event names to functions, and the optional
// per-object "Flags.ini" reader.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "animationlib/Animation.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/LoadFlags.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/objects/GameObject.h"
#include "game/world/EventRegistry.h"
#include "game/world/World.h"
#include "support/TempDir.h"

namespace {

TEST(BehaviorRegistryTest, HoldsTheThirtyFourTypesUnderTheirExactNames) {
  const auto& rows = BehaviorRegistry::GetRegistry().GetRows();
  EXPECT_EQ(rows.size(), 34u);
  for (const char* name : {"Rat", "TigerCShot", "GrindlenautDrill", "AirshipClaw",
                           "GrindlenautTrigger", "TriggerCheckPoint"}) {
    EXPECT_EQ(rows.count(name), 1u) << name;
  }
  EXPECT_EQ(BehaviorRegistry::GetBehavior("rat"), nullptr);
  EXPECT_EQ(BehaviorRegistry::GetBehavior("ZodirazO"), nullptr);
  EXPECT_EQ(BehaviorRegistry::GetBehavior("Rat"), rows.at("Rat"));
  // Shared rows give one and the same function.
  for (const char* name : {"BreakRedOrb", "BreakGreenOrb", "BreakBlueOrb"}) {
    EXPECT_EQ(BehaviorRegistry::GetBehavior(name), BehaviorRegistry::GetBehavior("BreakWhiteOrb"));
  }
  EXPECT_EQ(BehaviorRegistry::GetBehavior("CoreGlow"), BehaviorRegistry::GetBehavior("CorePiece"));
  // Filled rows hold their kind's function.
  const std::map<std::string, BehaviorFn> filled = {
      {"TigerCShot", TigerCShotInit},   {"Shot", ShotBehavior},
      {"Tire", TireInit},               {"Flash", FlashBehavior},
      {"Powerup", PowerupBehavior},     {"BreakWhiteOrb", BreakOrbBehavior},
      {"BreakRedOrb", BreakOrbBehavior}, {"BreakGreenOrb", BreakOrbBehavior},
      {"BreakBlueOrb", BreakOrbBehavior}, {"GreyOrb", GreyOrbBehavior},
      {"OrbRotation", OrbRotationInit}, {"CorePiece", CorePieceInit},
      {"CoreGlow", CorePieceInit},      {"Spark", SparkBehavior},
      {"DeadFall", DeadFallBehavior},
      {"Rat", RatInit},                 {"Rummager", RummagerInit},
      {"TigerE", TigerEInit},   {"FactoryPlatform", FactoryPlatformInit},
      {"TigerABomb", TigerABombInit},   {"TriggerCheckPoint", TriggerCheckPointInit},
      {"AirshipCrate", AirshipCrateInit}, {"AirshipClaw", AirshipClawInit},
      {"KajeTrigger", KajeTriggerInit},
      {"TigerC", TigerCInit},           {"Shredder", ShredderInit},
      {"Constructor", ConstructorInit},
      {"TigerA", TigerAInit},           {"Grindlenaut", GrindlenautInit},
      {"GrindlenautArm", GrindlenautArmInit}, {"GrindlenautDrill", GrindlenautDrillInit},
      {"Scrap", ScrapBehavior},
  };
  for (const auto& [name, behavior] : filled) {
    EXPECT_EQ(BehaviorRegistry::GetBehavior(name), behavior) << name;
  }

  const auto& events = EventRegistry::GetRegistry().GetRows();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events.count("JunkyardEnd"), 1u);
  EXPECT_EQ(EventRegistry::GetEvent("junkyardEnd"), nullptr);
  EXPECT_EQ(EventRegistry::GetEvent("JunkyardEnd"), &World::JunkyardEnd);
  EXPECT_EQ(BehaviorRegistry::GetBehavior("GrindlenautTrigger"), &World::GrindlenautTrigger);
  EXPECT_EQ(BehaviorRegistry::GetBehavior("TigerATrigger"), &World::TigerATrigger);
}

TEST(BehaviorRegistryTest, RegisteringAgainOrARepeatedNameKeepsTheFirstRows) {
  const auto rows = BehaviorRegistry::GetRegistry().GetRows();
  RegisterBehaviors();
  const BehaviorRegistry::Row repeated[] = {{"Rat", TigerEInit}};
  BehaviorRegistry::Fill(repeated);
  EXPECT_EQ(BehaviorRegistry::GetRegistry().GetRows(), rows);
  EXPECT_EQ(EventRegistry::GetRegistry().GetRows().size(), 1u);
}

TEST(LoadFlagsTest, DeclaresTheFilesValuesKeepingExistingOnesAndStopsAtBadLines) {
  testsupport::TempDir dir;
  testsupport::ScopedCurrentDir cwd(dir.Path());
  std::filesystem::create_directories(dir / "data");
  std::ofstream(dir / "data" / "RatFlags.ini")
      << "Speed 2.5 walking\r\nHealth 40\nSpin x\nLate 1\n";
  Animation animation("rat");
  animation.GetFrames().emplace_back(0, 0, Vector2());
  GameObject rat("Rat", &animation, Vector2(), NO_CALLBACKS, 0.0f);
  rat.AddFlag("Health", 15.0f);
  LoadFlags(&rat);
  EXPECT_EQ(rat.GetFlags(), (std::map<std::string, float>{{"Speed", 2.5f}, {"Health", 15.0f}}));

  GameObject tire("Tire", &animation, Vector2(), NO_CALLBACKS, 0.0f);
  LoadFlags(&tire);  // no file: nothing added
  EXPECT_TRUE(tire.GetFlags().empty());
}

}  // namespace
