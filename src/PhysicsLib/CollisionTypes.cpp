// Loading and saving the packed collision-type table.
#include "PhysicsLib/CollisionTypes.h"

#include <fstream>
#include <iterator>

bool LoadCollisionTypes(const std::string& fileName) {
  auto& rows = CollisionTypeTable::Rows();
  rows.clear();
  std::ifstream file(fileName, std::ios::binary);
  if (!file.is_open()) return false;
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
  if (file.bad()) return false;

  // Each row is a run of non-zero bytes, four 2-bit entries to a byte from the low bits,
  // ended by a zero byte; the last row's zero may be missing.
  rows.emplace_back();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned b = bytes[i];
    if (b == 0) {
      if (i + 1 < bytes.size()) rows.emplace_back();
      continue;
    }
    do {
      rows.back().push_back(static_cast<int>(b & 3u));
      b >>= 2;
    } while (b != 0);
  }

  for (const auto& row : rows) {
    if (row.size() != rows.size()) {
      rows.clear();
      return false;
    }
  }
  return true;
}

bool SaveCollisionTypes(const std::string& fileName) {
  const auto& rows = CollisionTypeTable::Rows();
  // Refuse to write a file that would not load back as the same table.
  if (rows.empty()) return false;
  for (const auto& row : rows) {
    if (row.size() != rows.size()) return false;
    for (int entry : row) {
      if (entry < kCollisionNone || entry > kCollisionSolid) return false;
    }
  }

  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file.is_open()) return false;
  for (const auto& row : rows) {
    for (std::size_t start = 0; start < row.size(); start += 4) {
      unsigned byte = 0;
      for (std::size_t k = 0; k < 4 && start + k < row.size(); ++k) {
        byte |= static_cast<unsigned>(row[start + k]) << (2 * k);
      }
      file.put(static_cast<char>(byte));
    }
    file.put('\0');
  }
  file.close();
  return !file.fail();
}
