// Reading and writing the packed collision-type table.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "PhysicsLib/CollisionTypes.h"
#include "support/TempDir.h"

namespace {

class CollisionTypesFile : public ::testing::Test {
 protected:
  ~CollisionTypesFile() override { CollisionTypeTable::Rows().clear(); }

  std::string Write(const std::string& bytes, const char* name = "clsntypes.ctt") {
    const std::string path = (m_dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  testsupport::TempDir m_dir;
};

TEST_F(CollisionTypesFile, SquareTablesLoadAndRowsOfTheWrongLengthEmptyTheTable) {
  // Entries 3, 1, 2 pack as 0b10'01'11; the last row's padding zero may be missing.
  const std::string good = Write(std::string("\x27\0\x27\0\x27\0", 6), "good.ctt");
  for (const std::string& path : {good, Write(std::string("\x27\0\x27\0\x27", 5))}) {
    ASSERT_TRUE(LoadCollisionTypes(path));
    EXPECT_EQ(CollisionTypeTable::Rows(), std::vector<std::vector<int>>(3, {3, 1, 2}));
  }
  // A row of two entries then two of three; one row of three; nothing.
  for (const std::string& bad :
       {std::string("\x07\0\x27\0\x27\0", 6), std::string("\x1B\0", 2), std::string()}) {
    ASSERT_TRUE(LoadCollisionTypes(good));
    EXPECT_FALSE(LoadCollisionTypes(Write(bad)));
    EXPECT_EQ(CollisionTypeTable::Count(), 0);
  }
  EXPECT_FALSE(LoadCollisionTypes((m_dir / "missing.ctt").string()));
}

TEST_F(CollisionTypesFile, RecommendedTableSavesToItsKnownBytesAndLoadsBackButBadOnesAreRefused) {
  const std::string expected(
      "\x55\x55\x55\0\x75\x55\x55\0\xDD\x57\x55\0\x75\x55\x55\0\x75\x55\x55\0\x55\x95\x66\0"
      "\x55\x95\x66\0\x55\x69\x99\0\x55\x69\x59\0\x55\x95\x66\0\x55\x69\x59\0\x55\x95\x55\0",
      48);
  // Solid pairs, then overlap pairs; everything else collides with nothing.
  const int pairs[][3] = {{1, 2, 3},  {2, 3, 3},  {2, 4, 3}, {5, 7, 2}, {6, 7, 2},
                          {9, 7, 2},  {11, 7, 2}, {5, 8, 2}, {6, 8, 2}, {9, 8, 2},
                          {5, 10, 2}, {6, 10, 2}, {9, 10, 2}};
  std::vector<std::vector<int>> rows(12, std::vector<int>(12, 1));
  for (const auto& [i, j, entry] : pairs) rows[i][j] = rows[j][i] = entry;
  CollisionTypeTable::Rows() = rows;
  const std::string path = (m_dir / "saved.ctt").string();
  ASSERT_TRUE(SaveCollisionTypes(path));
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), expected);

  CollisionTypeTable::Rows().clear();
  ASSERT_TRUE(LoadCollisionTypes(path));
  EXPECT_EQ(CollisionTypeTable::Rows(), rows);

  // Tables that would not load back as themselves, and unwritable places, are refused.
  for (const auto& bad : {std::vector<std::vector<int>>{{1, 2}, {3}}, {{1, 0}, {1, 1}}, {}}) {
    CollisionTypeTable::Rows() = bad;
    EXPECT_FALSE(SaveCollisionTypes(path));
  }
  CollisionTypeTable::Rows() = rows;
  EXPECT_FALSE(SaveCollisionTypes((m_dir / "no-such-folder" / "x.ctt").string()));
}

}  // namespace
