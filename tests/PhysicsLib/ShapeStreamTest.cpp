// The shape block: round trips, appending, and damaged input of every kind.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "ShapeFixtures.h"
#include "support/TempDir.h"

namespace {

std::string Encode(const CollisionShape& shape) {
  std::ostringstream out(std::ios::binary);
  WriteCollisionShape(out, shape);
  return out.str();
}

bool Decode(const std::string& bytes, CollisionShape& shape) {
  std::istringstream in(bytes, std::ios::binary);
  return static_cast<bool>(ReadCollisionShape(in, shape));
}

// A box, a circle and a segment.
CollisionShape SampleShape() {
  return CollisionShape({BoxPolygon(0, -5, -5, 5, 5), MakePolygon(1, {Vector2(0, 0)}, 3.5f),
                         MakePolygon(2, {Vector2(1, 2), Vector2(4, 2)})});
}

TEST(ShapeBlock, WritesTheDocumentedLayoutAndReadsBackByAppending) {
  ScopedTable table;
  const std::string bytes = Encode(SampleShape());
  ASSERT_EQ(bytes.size(), 4u + (8 + 48) + (8 + 12) + (8 + 24));
  // Counts, type and coordinates are little-endian; the first vertex is (-5, -5, 0).
  EXPECT_EQ(bytes.substr(0, 24),
            std::string("\x03\0\0\0\0\0\0\0\x04\0\0\0\0\0\xA0\xC0\0\0\xA0\xC0\0\0\0\0", 24));

  // Read into a shape that already holds a polygon, which collides with nothing.
  const CollisionPolygon first = BoxPolygon(2, 20, 20, 21, 21);
  CollisionShape back({first});
  ASSERT_TRUE(Decode(bytes, back));
  std::vector<CollisionPolygon> all = SampleShape().GetPolygons();
  all.insert(all.begin(), first);
  EXPECT_EQ(Encode(back), Encode(CollisionShape(all)));
  EXPECT_EQ(back.GetPolygon(1).GetTriangles().size(), 2u);
  EXPECT_EQ(back.GetBounds().left, -6.0f);
  EXPECT_TRUE(back.IsSolid() && back.IsOverlap());
}

TEST(DamagedInput, TruncatedBlocksAndHugeCountsFailAndLeaveTheShapeAlone) {
  const std::string bytes = Encode(SampleShape());
  std::vector<std::string> damaged = {std::string("\xFF\xFF\xFF\xFF", 4),
                                      std::string("\x01\0\0\0\0\0\0\0\xFF\xFF\xFF\x7F", 12)};
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    damaged.push_back(bytes.substr(0, length));
  }
  for (const std::string& block : damaged) {
    CollisionShape shape;
    EXPECT_FALSE(Decode(block, shape)) << block.size();
    EXPECT_EQ(shape.GetPolygonCount(), 0) << block.size();
  }
}

TEST(DamagedInput, RandomAndCutBytesNeverCrashOrHang) {
  ScopedTable table;
  std::mt19937 random(20240611);
  const std::string good = Encode(SampleShape());
  testsupport::TempDir dir;
  const std::string tablePath = (dir / "fuzz.ctt").string();
  for (int round = 0; round < 2000; ++round) {
    // Valid data with a few bytes flipped and a random cut, or plain noise.
    std::string bytes = good;
    for (int flips = random() % 4; flips >= 0; --flips) {
      bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    bytes.resize(random() % (bytes.size() + 1));
    if (round % 2 == 1) {
      bytes.resize(random() % 200);
      for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0 : random());
    }
    CollisionShape shape;
    if (Decode(bytes, shape)) {  // then the data held everything it claims
      std::size_t used = 4;
      for (const CollisionPolygon& p : shape.GetPolygons()) used += 8 + 12 * p.GetVertexCount();
      EXPECT_LE(used, bytes.size());
    }
    { std::ofstream(tablePath, std::ios::binary) << bytes; }
    if (LoadCollisionTypes(tablePath)) {
      for (const auto& row : CollisionTypeTable::Rows()) {
        EXPECT_EQ(row.size(), CollisionTypeTable::Rows().size());
      }
    } else {
      EXPECT_EQ(CollisionTypeTable::Count(), 0);
    }
  }
}

}  // namespace
