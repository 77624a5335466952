// The shape block: round trips, appending, and damaged input of every kind.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "ShapeFixtures.h"
#include "support/TempDir.h"

namespace {
using physics_test::BoxPolygon;
using physics_test::MakePolygon;
using physics_test::ScopedTable;
using physics_test::SmallTable;

std::string Encode(const CollisionShape& shape) {
  std::ostringstream out(std::ios::binary);
  WriteCollisionShape(out, shape);
  return out.str();
}

bool Decode(const std::string& bytes, CollisionShape& shape) {
  std::istringstream in(bytes, std::ios::binary);
  return static_cast<bool>(ReadCollisionShape(in, shape));
}

CollisionShape SampleShape() {
  return CollisionShape({BoxPolygon(0, -5, -5, 5, 5), MakePolygon(1, {Vector2(0, 0)}, 3.5f),
                         MakePolygon(2, {Vector2(1, 2), Vector2(4, 2)})});
}

TEST(ShapeBlock, WritesTheDocumentedLayoutAndReadsBackEqual) {
  ScopedTable table(SmallTable());
  const CollisionShape shape = SampleShape();
  const std::string bytes = Encode(shape);
  ASSERT_EQ(bytes.size(), 4u + (8 + 48) + (8 + 12) + (8 + 24));
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(bytes.substr(4, 8), std::string("\0\0\0\0\x04\0\0\0", 8));

  CollisionShape back;
  ASSERT_TRUE(Decode(bytes, back));
  ASSERT_EQ(back.GetPolygonCount(), 3);
  EXPECT_EQ(Encode(back), bytes);
  EXPECT_EQ(back.GetPolygon(0).GetTriangles().size(), 2u);
  EXPECT_EQ(back.GetPolygon(1).GetVertex(0).GetRadius(), 3.5f);
  EXPECT_EQ(back.GetBounds().left, -6.0f);
  EXPECT_EQ(back.GetBounds().right, 6.0f);
  EXPECT_TRUE(back.IsSolid());
  EXPECT_TRUE(back.IsOverlap());
}

TEST(ShapeBlock, ReadingAppendsToTheShapeAndTurnsNegativeWindingRound) {
  ScopedTable table(SmallTable());
  // One polygon of type 0 stored with negative winding.
  std::ostringstream block(std::ios::binary);
  WriteRaw(block, std::uint32_t{1});
  WriteRaw(block, std::int32_t{0});
  WriteRaw(block, std::uint32_t{4});
  for (const Vector2& p : {Vector2(0, 10), Vector2(10, 10), Vector2(10, 0), Vector2(0, 0)}) {
    WriteBinary(block, CollisionVertex(p));
  }
  CollisionShape shape({BoxPolygon(2, 0, 0, 1, 1)});
  EXPECT_FALSE(shape.IsSolid());
  ASSERT_TRUE(Decode(block.str(), shape));
  ASSERT_EQ(shape.GetPolygonCount(), 2);
  EXPECT_EQ(shape.GetPolygon(1).GetVertex(0).GetPosition(), Vector2(0, 0));
  EXPECT_EQ(shape.GetPolygon(1).GetVertex(1).GetPosition(), Vector2(10, 0));
  EXPECT_TRUE(shape.GetPolygon(1).Contains(Vector2(5, 5)));
  EXPECT_TRUE(shape.IsSolid());
  EXPECT_EQ(shape.GetBounds().bottom, 11.0f);
}

TEST(ShapeBlock, EveryTruncationFailsAndLeavesTheShapeAlone) {
  ScopedTable table(SmallTable());
  const std::string bytes = Encode(SampleShape());
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    CollisionShape shape;
    EXPECT_FALSE(Decode(bytes.substr(0, length), shape)) << length;
    EXPECT_EQ(shape.GetPolygonCount(), 0) << length;
  }
}

TEST(ShapeBlock, HugeCountsFailAtOnce) {
  CollisionShape shape;
  EXPECT_FALSE(Decode(std::string("\xFF\xFF\xFF\xFF", 4), shape));
  EXPECT_FALSE(Decode(std::string("\x01\0\0\0\0\0\0\0\xFF\xFF\xFF\x7F", 12), shape));
  EXPECT_EQ(shape.GetPolygonCount(), 0);
}

TEST(DamagedInput, RandomAndCutBytesNeverCrashOrHang) {
  ScopedTable table(SmallTable());
  std::mt19937 random(20240611);
  const std::string good = Encode(SampleShape());
  testsupport::TempDir dir;
  const std::string tablePath = (dir / "fuzz.ctt").string();
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      // Valid data with a few bytes flipped and a random cut.
      bytes = good;
      for (int flips = random() % 4; flips >= 0; --flips) {
        bytes[random() % bytes.size()] = static_cast<char>(random());
      }
      bytes.resize(random() % (bytes.size() + 1));
    } else {
      bytes.resize(random() % 200);
      for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0 : random());
    }
    CollisionShape shape;
    if (Decode(bytes, shape)) {
      for (const CollisionPolygon& polygon : shape.GetPolygons()) {
        EXPECT_LE(polygon.GetVertexCount() * 12u, bytes.size());
      }
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
