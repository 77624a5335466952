// Writes the ".acd" animation file with the game's own animation writer, so the
// data always has exactly the layout the game reads.
#include "AcdWriter.h"

#include <sstream>
#include <stdexcept>

#include "animationlib/Animation.h"

namespace assetgen {
namespace {

// The description as the game's animation. Polygons keep their stored vertex order
// (the game triangulates, and may turn them round, when it reads them).
Animation ToAnimation(const AnimationDesc& anim) {
  Animation animation(anim.name, Vector2(static_cast<float>(anim.frameWidth),
                                         static_cast<float>(anim.frameHeight)));
  for (size_t i = 0; i < anim.frames.size(); ++i) {
    const FrameDesc& frame = anim.frames[i];
    CollisionShape shape;
    for (const Polygon& source : anim.Shape(i)) {
      CollisionPolygon polygon;
      polygon.SetType(source.type);
      for (const Vertex& v : source.vertices) {
        polygon.AddVertex(CollisionVertex(Vector2(v.x, v.y), v.radius));
      }
      shape.AddPolygon(polygon);
    }
    animation.GetFrames().emplace_back(frame.next, frame.ticks,
                                       Vector2(frame.offsetX, frame.offsetY), shape, frame.sound);
  }
  return animation;
}

}  // namespace

std::string EncodeAcd(const AnimationDesc& anim) {
  std::ostringstream out;
  ToAnimation(anim).WriteBody(out);
  return out.str();
}

void WriteAcd(const std::filesystem::path& path, const AnimationDesc& anim) {
  if (!ToAnimation(anim).Save(path.string())) {
    throw std::runtime_error(path.string() + ": cannot write the animation file");
  }
}

}  // namespace assetgen
