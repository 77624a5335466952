// The collision types and the table that says how each pair meets.
#include "CollisionTable.h"

#include <charconv>
#include <stdexcept>

#include "PhysicsLib/CollisionTypes.h"

namespace assetgen {
namespace {

constexpr int kNone = 1, kOverlap = 2, kSolid = 3;

constexpr const char* kNames[kCollisionTypeCount] = {
    "MARKER",      "WALKER",     "GROUND",           "HERO_SOLID", "SMALL_SOLID", "HERO_BODY",
    "HERO_WEAPON", "ENEMY_BODY", "ENEMY_PROJECTILE", "HERO_SHOT",  "PICKUP",      "CRATE"};

}  // namespace

TypeTable BuildTypeTable() {
  TypeTable table;
  for (auto& row : table) row.fill(kNone);
  auto set = [&](int a, int b, int entry) { table[a][b] = table[b][a] = entry; };
  // Walkers and everything that rests or bounces stop at ground; the hero's feet too.
  set(kWalker, kGround, kSolid);
  set(kGround, kHeroSolid, kSolid);
  set(kGround, kSmallSolid, kSolid);
  // Hits: the hero's body, weapon and shots against enemies, projectiles and pickups.
  for (int hero : {kHeroBody, kHeroWeapon, kHeroShot}) {
    set(hero, kEnemyBody, kOverlap);
    set(hero, kEnemyProjectile, kOverlap);
    set(hero, kPickup, kOverlap);
  }
  set(kCrate, kEnemyBody, kOverlap);
  return table;
}

std::optional<int> CollisionTypeFromName(const std::string& text) {
  for (int i = 0; i < kCollisionTypeCount; ++i)
    if (text == kNames[i]) return i;
  int value = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc() && end == text.data() + text.size() && value >= 0 &&
      value < kCollisionTypeCount)
    return value;
  return std::nullopt;
}

const char* CollisionTypeName(int type) {
  return type >= 0 && type < kCollisionTypeCount ? kNames[type] : "?";
}

void WriteCollisionTypeFile(const std::filesystem::path& path) {
  // The game's own writer saves the table it holds, so hand it ours first.
  TypeTable table = BuildTypeTable();
  auto& rows = CollisionTypeTable::Rows();
  rows.clear();
  for (const auto& row : table) rows.emplace_back(row.begin(), row.end());
  if (!SaveCollisionTypes(path.string()))
    throw std::runtime_error(path.string() + ": cannot write the collision-type table");
}

}  // namespace assetgen
