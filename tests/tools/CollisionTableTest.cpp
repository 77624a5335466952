// The collision-type table: the pairs the game's behaviours rely on, and its file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CollisionTable.h"
#include "PhysicsLib/CollisionTypes.h"
#include "support/TempDir.h"

namespace assetgen {
namespace {

TEST(CollisionTypeTable, IsSymmetricAndHoldsOnlyValidEntries) {
  TypeTable t = BuildTypeTable();
  for (int i = 0; i < kCollisionTypeCount; ++i)
    for (int j = 0; j < kCollisionTypeCount; ++j) {
      EXPECT_EQ(t[i][j], t[j][i]) << i << "," << j;
      EXPECT_TRUE(t[i][j] >= 1 && t[i][j] <= 3);
    }
}

TEST(CollisionTypeTable, BehavioursGetTheContactsTheyNeed) {
  TypeTable t = BuildTypeTable();
  // Solid ground for walkers, the hero's feet and small bouncing things.
  EXPECT_EQ(t[kWalker][kGround], 3);
  EXPECT_EQ(t[kHeroSolid][kGround], 3);
  EXPECT_EQ(t[kSmallSolid][kGround], 3);
  // The hero and enemies pass through each other; hits are overlaps.
  EXPECT_EQ(t[kHeroSolid][kWalker], 1);
  EXPECT_EQ(t[kHeroBody][kEnemyBody], 2);
  EXPECT_EQ(t[kHeroWeapon][kEnemyBody], 2);
  EXPECT_EQ(t[kHeroShot][kEnemyBody], 2);
  EXPECT_EQ(t[kHeroBody][kEnemyProjectile], 2);
  EXPECT_EQ(t[kHeroShot][kEnemyProjectile], 2);
  EXPECT_EQ(t[kHeroBody][kPickup], 2);
  EXPECT_EQ(t[kCrate][kEnemyBody], 2);
  // Enemy projectiles must not meet their own side, or they burst at launch.
  EXPECT_EQ(t[kEnemyProjectile][kEnemyBody], 1);
  EXPECT_EQ(t[kEnemyProjectile][kWalker], 1);
  // Markers ignore everything.
  for (int j = 0; j < kCollisionTypeCount; ++j) EXPECT_EQ(t[kMarker][j], 1);
}

TEST(CollisionTypeFile, HoldsTheDocumentedBytesAndLoadsBackIntoTheGame) {
  testsupport::TempDir dir;
  WriteCollisionTypeFile(dir / "clsntypes.ctt");
  std::ifstream in(dir / "clsntypes.ctt", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const unsigned char expected[12][3] = {
      {0x55, 0x55, 0x55}, {0x75, 0x55, 0x55}, {0xDD, 0x57, 0x55}, {0x75, 0x55, 0x55},
      {0x75, 0x55, 0x55}, {0x55, 0x95, 0x66}, {0x55, 0x95, 0x66}, {0x55, 0x69, 0x99},
      {0x55, 0x69, 0x59}, {0x55, 0x95, 0x66}, {0x55, 0x69, 0x59}, {0x55, 0x95, 0x55}};
  ASSERT_EQ(bytes.size(), 48u);
  for (int r = 0; r < 12; ++r) {
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(static_cast<unsigned char>(bytes[r * 4 + k]), expected[r][k]) << "row " << r;
    EXPECT_EQ(bytes[r * 4 + 3], '\0');
  }
  CollisionTypeTable::Rows().clear();
  ASSERT_TRUE(LoadCollisionTypes((dir / "clsntypes.ctt").string()));
  TypeTable t = BuildTypeTable();
  ASSERT_EQ(CollisionTypeTable::Count(), kCollisionTypeCount);
  for (int i = 0; i < kCollisionTypeCount; ++i)
    for (int j = 0; j < kCollisionTypeCount; ++j) EXPECT_EQ(CollisionTypeTable::Get(i, j), t[i][j]);
}

}  // namespace
}  // namespace assetgen
