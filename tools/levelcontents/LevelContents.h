// What a level file holds for the player, counted from the file alone: its enemies by
// kind, its bosses, checkpoints, lifts and ledges, orbs, power-ups, tires and memory cores.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ListFiles.h"

namespace levelcontents {

struct Core {
  float x = 0.0f;
  float y = 0.0f;
  float depth = 0.0f;
  std::string ability;  // what collecting it grants, chosen by its depth
};

// Only the objects the hero can meet count: the main list, the enemies and the triggers.
// Scenery layers hold pictures, not play.
struct LevelContents {
  std::map<std::string, int> enemies;  // the enemies section by name; claws go to the boss
  std::map<std::string, int> bosses;   // each boss by name, once per trigger that spawns it
  int claws = 0;                       // "AirshipClaw": Kaje's shield anchors
  int crates = 0;                      // "AirshipCrate": what breaks them
  int checkpoints = 0;                 // "TriggerCheckPoint"
  int lifts = 0;                       // "FactoryPlatform"
  int ledges = 0;                      // "ArenaLedge"
  int orbs = 0;                        // "OrbRotation"
  int powerups = 0;                    // "Powerup"
  int tires = 0;                       // "Tire"
  std::vector<Core> cores;             // "CorePiece", in file order

  int EnemyCount(const std::string& kind) const;
};

// The ability a core placed at `depth` grants: "Stride", "WallJump", "Cyclone" or "SuperJump".
std::string AbilityOfCoreDepth(float depth);

LevelContents Count(const validator::LevelData& level);

// Reads and counts one level file. On a file that cannot be opened or read, returns
// false with `error` naming the file and what is wrong.
bool CountFile(const std::filesystem::path& file, LevelContents& out, std::string& error);

// The listing of one level, a few indented lines, each ending in a newline.
std::string Describe(const LevelContents& contents);

}  // namespace levelcontents
