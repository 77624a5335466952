// The game's collision types: their names in animation sources and the type table file.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace assetgen {

constexpr int kCollisionTypeCount = 12;

enum CollisionType {
  kMarker = 0,           // ignores everything: muzzles, mounts, launch points
  kWalker = 1,           // enemies' feet: handled as ground by their collision response
  kGround = 2,           // tiles, walls, lifts
  kHeroSolid = 3,        // the hero's polygon 0
  kSmallSolid = 4,       // power-ups, sparks, bombs: rest and bounce on ground
  kHeroBody = 5,         // the hero's polygon 1, hurt box and pickup area
  kHeroWeapon = 6,       // the hero's polygon 2 while attacking
  kEnemyBody = 7,        // what receives the hero's hits and deals contact damage
  kEnemyProjectile = 8,  // hurts the hero's body
  kHeroShot = 9,         // the gun's shots
  kPickup = 10,          // collected by the hero's body
  kCrate = 11,           // the airship's falling crates
};

using TypeTable = std::array<std::array<int, kCollisionTypeCount>, kCollisionTypeCount>;

// 1 none, 2 overlap, 3 solid; symmetric, because the lookup order follows list order.
TypeTable BuildTypeTable();

// Name ("HERO_BODY") or decimal number to type; nothing when unknown or out of range.
std::optional<int> CollisionTypeFromName(const std::string& text);
const char* CollisionTypeName(int type);

// Writes "clsntypes.ctt" through the game's own table writer. Throws on failure.
void WriteCollisionTypeFile(const std::filesystem::path& path);

}  // namespace assetgen
