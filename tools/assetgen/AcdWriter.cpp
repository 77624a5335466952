// Stand-in writer of the ".acd" animation file, byte for byte the layout the game reads; the
// shape blocks already come from the game's own collision-shape writer.
// REPLACE with the engine's own writer (Animation::Save) once animationlib provides it:
// build an Animation from the description and save it here.
#include "AcdWriter.h"

#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "PhysicsLib/CollisionShape.h"
#include "PhysicsLib/ShapeStream.h"

namespace assetgen {
namespace {

void PutU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutI32(std::string& out, std::int32_t value) { PutU32(out, static_cast<std::uint32_t>(value)); }
void PutFloat(std::string& out, float value) { PutU32(out, std::bit_cast<std::uint32_t>(value)); }
void PutString(std::string& out, const std::string& text) {
  out += text;
  out.push_back('\0');
}

// The frame's shape block, written by the physics library. Polygons are built without
// triangulating, which could turn their vertex order round: the file keeps the source order.
std::string EncodeShape(const std::vector<Polygon>& polygons) {
  CollisionShape shape;
  for (const Polygon& source : polygons) {
    CollisionPolygon polygon;
    polygon.SetType(source.type);
    for (const Vertex& v : source.vertices)
      polygon.AddVertex(CollisionVertex(Vector2(v.x, v.y), v.radius));
    shape.AddPolygon(polygon);
  }
  std::ostringstream block(std::ios::binary);
  WriteCollisionShape(block, shape);
  if (!block) throw std::runtime_error("cannot encode a collision shape");
  return block.str();
}

}  // namespace

std::string EncodeAcd(const AnimationDesc& anim) {
  std::string out;
  PutString(out, anim.name);
  PutFloat(out, static_cast<float>(anim.frameWidth));
  PutFloat(out, static_cast<float>(anim.frameHeight));
  PutU32(out, static_cast<std::uint32_t>(anim.frames.size()));
  for (size_t i = 0; i < anim.frames.size(); ++i) {
    const FrameDesc& frame = anim.frames[i];
    PutFloat(out, frame.offsetX);
    PutFloat(out, frame.offsetY);
    PutI32(out, frame.next);
    PutI32(out, frame.ticks);
    out += EncodeShape(anim.Shape(i));
    PutString(out, frame.sound);
  }
  return out;
}

void WriteAcd(const std::filesystem::path& path, const AnimationDesc& anim) {
  std::string bytes = EncodeAcd(anim);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error(path.string() + ": cannot write the animation file");
}

}  // namespace assetgen
