// The animation file writer: exact bytes, and shape blocks the game's reader takes back.
#include <gtest/gtest.h>

#include <sstream>

#include "AcdWriter.h"
#include "PhysicsLib/CollisionShape.h"
#include "PhysicsLib/ShapeStream.h"

namespace assetgen {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(AcdWriterLayout, NameSizesFramesShapeAndSoundInFileOrder) {
  AnimationDesc a;
  a.name = "ab";
  a.frameWidth = 2;
  a.frameHeight = 1;
  FrameDesc f;
  f.offsetX = 1.0f;
  f.offsetY = -2.0f;
  f.next = 0;
  f.ticks = 7;
  f.sound = "s";
  f.polygons.push_back(Polygon{5, {{0.5f, 0, 0}}});
  a.frames.push_back(f);
  f.sound.clear();
  f.polygons.clear();
  f.next = 1;
  f.ticks = 0;
  a.frames.push_back(f);

  std::string expected = Bytes({'a', 'b', 0, 0, 0, 0, 0x40, 0, 0, 0x80, 0x3F, 2, 0, 0, 0});
  // Frame 0: offset (1, -2), next 0, ticks 7, one polygon of type 5 with one vertex.
  expected += Bytes({0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0, 0, 7, 0, 0, 0});
  expected += Bytes({1, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0});
  expected += Bytes({'s', 0});
  // Frame 1: no polygons and a lone zero byte for no sound.
  expected += Bytes({0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(EncodeAcd(a), expected);
}

TEST(AcdWriterLayout, ShapeBlocksReadBackInSourceOrderThroughTheGamesReader) {
  AnimationDesc a;
  a.name = "x";
  a.frameWidth = a.frameHeight = 4;
  a.sharedPolygons.push_back(Polygon{3, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}});
  FrameDesc f;
  // Drawn clockwise in y-up terms: the game's triangulation would turn it round on reading,
  // the file must still hold the order written in the source.
  f.polygons.push_back(Polygon{6, {{0, 0, 0}, {0, 5, 0}, {5, 0, 2}}});
  a.frames.push_back(f);
  std::string bytes = EncodeAcd(a);
  // Skip the name (2 bytes), sizes and count (12), offset, next and ticks (16).
  std::istringstream in(bytes.substr(2 + 12 + 16), std::ios::binary);
  std::uint32_t count = 0;
  in.read(reinterpret_cast<char*>(&count), 4);
  ASSERT_EQ(count, 2u);
  std::int32_t type = 0;
  std::uint32_t vertices = 0;
  in.read(reinterpret_cast<char*>(&type), 4);
  in.read(reinterpret_cast<char*>(&vertices), 4);
  EXPECT_EQ(type, 3);
  EXPECT_EQ(vertices, 4u);
  in.seekg(4 * 12, std::ios::cur);
  float v[9];
  in.read(reinterpret_cast<char*>(&type), 4);
  in.read(reinterpret_cast<char*>(&vertices), 4);
  in.read(reinterpret_cast<char*>(v), sizeof v);
  EXPECT_EQ(type, 6);
  EXPECT_EQ(vertices, 3u);
  EXPECT_FLOAT_EQ(v[4], 5.0f);  // second vertex y
  EXPECT_FLOAT_EQ(v[8], 2.0f);  // third vertex radius

  std::istringstream again(bytes.substr(2 + 12 + 16), std::ios::binary);
  CollisionShape shape;
  ASSERT_TRUE(ReadCollisionShape(again, shape));
  ASSERT_EQ(shape.GetPolygonCount(), 2);
  EXPECT_EQ(shape.GetPolygon(1).GetType(), 6);
  char sound = 1;
  again.read(&sound, 1);
  EXPECT_EQ(sound, 0);
  EXPECT_EQ(again.peek(), std::char_traits<char>::eof());
}

}  // namespace
}  // namespace assetgen
