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

  std::string Write(const std::string& bytes) {
    const std::string path = (m_dir / "clsntypes.ctt").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  testsupport::TempDir m_dir;
};

TEST_F(CollisionTypesFile, ThreeRowsReadAsASquareTableWithOrWithoutTheLastZero) {
  // Entries 3, 1, 2 pack as 0b10'01'11.
  for (const std::string& bytes :
       {std::string("\x27\0\x27\0\x27\0", 6), std::string("\x27\0\x27\0\x27", 5)}) {
    ASSERT_TRUE(LoadCollisionTypes(Write(bytes)));
    ASSERT_EQ(CollisionTypeTable::Count(), 3);
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(CollisionTypeTable::Get(row, 0), 3);
      EXPECT_EQ(CollisionTypeTable::Get(row, 1), 1);
      EXPECT_EQ(CollisionTypeTable::Get(row, 2), 2);
    }
  }
}

TEST_F(CollisionTypesFile, RowsOfTheWrongLengthAreRejectedAndTheTableEmptied) {
  ASSERT_TRUE(LoadCollisionTypes(Write(std::string("\x27\0\x27\0\x27\0", 6))));
  // A row of two entries, then two of three.
  EXPECT_FALSE(LoadCollisionTypes(Write(std::string("\x07\0\x27\0\x27\0", 6))));
  EXPECT_EQ(CollisionTypeTable::Count(), 0);
  // One row of the three entries 3, 2, 1.
  EXPECT_FALSE(LoadCollisionTypes(Write(std::string("\x1B\0", 2))));
  EXPECT_FALSE(LoadCollisionTypes(Write("")));
  EXPECT_FALSE(LoadCollisionTypes((m_dir / "missing.ctt").string()));
  EXPECT_EQ(CollisionTypeTable::Count(), 0);
}

TEST_F(CollisionTypesFile, RecommendedTableSavesToItsKnownBytesAndLoadsBack) {
  const std::string expected(
      "\x55\x55\x55\0\x75\x55\x55\0\xDD\x57\x55\0\x75\x55\x55\0\x75\x55\x55\0\x55\x95\x66\0"
      "\x55\x95\x66\0\x55\x69\x99\0\x55\x69\x59\0\x55\x95\x66\0\x55\x69\x59\0\x55\x95\x55\0",
      48);
  std::vector<std::vector<int>> rows(12, std::vector<int>(12, 1));
  auto both = [&](int i, int j, int entry) { rows[i][j] = rows[j][i] = entry; };
  both(1, 2, 3);
  both(2, 3, 3);
  both(2, 4, 3);
  for (auto [i, j] : {std::pair{5, 7},
                      {6, 7},
                      {9, 7},
                      {11, 7},
                      {5, 8},
                      {6, 8},
                      {9, 8},
                      {5, 10},
                      {6, 10},
                      {9, 10}}) {
    both(i, j, 2);
  }
  CollisionTypeTable::Rows() = rows;
  const std::string path = (m_dir / "saved.ctt").string();
  ASSERT_TRUE(SaveCollisionTypes(path));
  EXPECT_EQ(Read(path), expected);

  CollisionTypeTable::Rows().clear();
  ASSERT_TRUE(LoadCollisionTypes(path));
  EXPECT_EQ(CollisionTypeTable::Rows(), rows);
}

TEST_F(CollisionTypesFile, SaveRefusesTablesThatWouldNotLoadBack) {
  const std::string path = (m_dir / "bad.ctt").string();
  CollisionTypeTable::Rows() = {{1, 2}, {3}};
  EXPECT_FALSE(SaveCollisionTypes(path));
  CollisionTypeTable::Rows() = {{1, 0}, {1, 1}};
  EXPECT_FALSE(SaveCollisionTypes(path));
  CollisionTypeTable::Rows() = {{1}};
  EXPECT_FALSE(SaveCollisionTypes((m_dir / "no-such-folder" / "x.ctt").string()));
}

}  // namespace
