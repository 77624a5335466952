#include "LevelContents.h"

#include <cstdio>
#include <sstream>
#include <string_view>
#include <utility>

#include "TokenScan.h"
#include "behaviorlib/SmallObjects.h"

namespace levelcontents {

namespace {

// Bosses are placed as the triggers that spawn them.
constexpr std::pair<std::string_view, std::string_view> kBossOfTrigger[] = {
    {"GrindlenautTrigger", "Grindlenaut"},
    {"TigerATrigger", "TigerA"},
    {"KajeTrigger", "Kaje"},
};

void CountObject(const validator::PlacedObject& object, LevelContents& out) {
  const std::string& name = object.name;
  for (const auto& [trigger, boss] : kBossOfTrigger) {
    if (name == trigger) ++out.bosses[std::string(boss)];
  }
  if (name == "AirshipClaw") ++out.claws;
  if (name == "AirshipCrate") ++out.crates;
  if (name == "TriggerCheckPoint") ++out.checkpoints;
  if (name == "FactoryPlatform") ++out.lifts;
  if (name == "ArenaLedge") ++out.ledges;
  if (name == "OrbRotation") ++out.orbs;
  if (name == "Powerup") ++out.powerups;
  if (name == "Tire") ++out.tires;
  if (name == "CorePiece") {
    out.cores.push_back({object.x, object.y, object.depth, AbilityOfCoreDepth(object.depth)});
  }
}

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

}  // namespace

int LevelContents::EnemyCount(const std::string& kind) const {
  const auto found = enemies.find(kind);
  return found == enemies.end() ? 0 : found->second;
}

std::string AbilityOfCoreDepth(float depth) {
  switch (CoreAbilityOfDepth(depth)) {
    case CoreAbility::Stride:
      return "Stride";
    case CoreAbility::WallJump:
      return "WallJump";
    case CoreAbility::Cyclone:
      return "Cyclone";
    case CoreAbility::SuperJump:
      return "SuperJump";
  }
  return "SuperJump";
}

LevelContents Count(const validator::LevelData& level) {
  LevelContents out;
  for (const validator::PlacedObject& enemy : level.enemies) {
    if (enemy.name != "AirshipClaw") ++out.enemies[enemy.name];
  }
  for (const auto* section : {&level.main, &level.enemies, &level.triggers}) {
    for (const validator::PlacedObject& object : *section) CountObject(object, out);
  }
  return out;
}

bool CountFile(const std::filesystem::path& file, LevelContents& out, std::string& error) {
  validator::TokenScan scan(file);
  validator::LevelData level;
  if (!validator::ParseLevel(scan, level)) {
    error = file.string() + ": " + scan.Error();
    return false;
  }
  out = Count(level);
  return true;
}

std::string Describe(const LevelContents& contents) {
  std::ostringstream out;
  out << "  enemies:";
  if (contents.enemies.empty()) out << " none";
  const char* separator = " ";
  for (const auto& [kind, count] : contents.enemies) {
    out << separator << kind << " " << count;
    separator = ", ";
  }
  out << "\n  bosses:";
  if (contents.bosses.empty()) out << " none";
  separator = " ";
  for (const auto& [boss, count] : contents.bosses) {
    out << separator << boss << " " << count;
    separator = ", ";
  }
  if (contents.claws > 0 || contents.crates > 0) {
    out << " (claws " << contents.claws << ", crates " << contents.crates << ")";
  }
  out << "\n  checkpoints " << contents.checkpoints << ", lifts " << contents.lifts << ", ledges "
      << contents.ledges << "\n  orbs " << contents.orbs << ", power-ups " << contents.powerups
      << ", tires " << contents.tires << "\n  cores:";
  if (contents.cores.empty()) out << " none";
  separator = " ";
  for (const Core& core : contents.cores) {
    out << separator << core.ability << " at (" << Number(core.x) << ", " << Number(core.y) << ")";
    separator = ", ";
  }
  out << "\n";
  return out.str();
}

}  // namespace levelcontents
