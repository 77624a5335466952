// The collision-type table: for each ordered pair of polygon types, whether they ignore
// each other, overlap, or collide as solids. Loaded once from "clsntypes.ctt".
#pragma once

#include <string>
#include <vector>

constexpr int kCollisionNone = 1;
constexpr int kCollisionOverlap = 2;
constexpr int kCollisionSolid = 3;

class CollisionTypeTable {
 public:
  // Entry [i][j]; a pair outside the table ignores each other, so damaged data cannot
  // reach outside it.
  static int Get(int i, int j) {
    const auto& rows = Rows();
    if (i < 0 || j < 0 || static_cast<std::size_t>(i) >= rows.size()) return kCollisionNone;
    const auto& row = rows[static_cast<std::size_t>(i)];
    if (static_cast<std::size_t>(j) >= row.size()) return kCollisionNone;
    return row[static_cast<std::size_t>(j)];
  }
  static int Count() { return static_cast<int>(Rows().size()); }

  // The table itself: a vector of rows. Inline, as Get is asked for every polygon pair.
  static std::vector<std::vector<int>>& Rows() {
    static std::vector<std::vector<int>> rows;
    return rows;
  }
};

// False, with the table left empty, when the file cannot be opened or is not square.
bool LoadCollisionTypes(const std::string& fileName);
// False when the table could not be read back (empty, not square, an entry outside
// 1..3) or the file cannot be written.
bool SaveCollisionTypes(const std::string& fileName);
