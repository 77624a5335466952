#include "AnimationStore.h"

#include <filesystem>

#include "PhysicsLib/CollisionTypes.h"
#include "animationlib/D3DAnimation.h"
#include "platform/Image.h"

namespace validator {

namespace {

bool AnyEntry(int type, int entry) {
  if (!TypeInTable(type)) return false;
  for (int value : CollisionTypeTable::Rows()[static_cast<std::size_t>(type)]) {
    if (value == entry) return true;
  }
  return false;
}

std::string Size(const Vector2& size) {
  return Number(size.X()) + " x " + Number(size.Y());
}

}  // namespace

bool IsHeld(const Animation& animation, int frame) {
  return frame >= 0 && frame < animation.GetFrameCount() &&
         animation.GetFrames()[static_cast<std::size_t>(frame)].GetTicks() == 0;
}

int TotalTicks(const Animation& animation) {
  int total = 0;
  for (const AnimationFrame& frame : animation.GetFrames()) total += frame.GetTicks();
  return total;
}

bool TypeInTable(int type) {
  return type >= 0 && type < CollisionTypeTable::Count();
}

bool TypeIsSolid(int type) {
  return AnyEntry(type, kCollisionSolid);
}

bool TypeReacts(int type) {
  return AnyEntry(type, kCollisionSolid) || AnyEntry(type, kCollisionOverlap);
}

bool AnimationStore::Exists(const std::string& path) const {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

const Animation* AnimationStore::Get(const std::string& path) {
  if (auto seen = m_seen.find(path); seen != m_seen.end()) {
    return seen->second ? m_loaded.at(path).get() : nullptr;
  }
  m_seen[path] = false;
  if (!Exists(path)) {
    m_problems.Add(path, "the animation file does not exist");
    return nullptr;
  }
  auto animation = std::make_unique<Animation>();
  if (!animation->Load(path)) {
    // The reader's message names the file its own way; keep one form for every message.
    const std::string prefix = "Animation file \"" + path + "\": ";
    std::string error = animation->GetLoadError();
    if (error.rfind(prefix, 0) == 0) error.erase(0, prefix.size());
    m_problems.Add(path, error);
    return nullptr;
  }
  bool usable = true;
  CheckImage(path, *animation, usable);
  CheckFrames(path, *animation);
  if (!usable) return nullptr;
  m_seen[path] = true;
  return (m_loaded[path] = std::move(animation)).get();
}

void AnimationStore::CheckImage(const std::string& path, const Animation& animation, bool& usable) {
  if (animation.GetFrameCount() == 0) {
    m_problems.Add(path, "the animation has no frames");
    usable = false;
    return;
  }
  // The game cuts the frames from the image named after the name stored in the file.
  const std::string image = D3DAnimation::FolderOf(path) + animation.GetName() + ".png";
  platform::Image picture;
  std::string error;
  if (!platform::LoadPng(image, picture, error)) {
    m_problems.Add(path, "its image cannot be used (" + error + ")");
    return;
  }
  const Vector2 imageSize(static_cast<float>(picture.width), static_cast<float>(picture.height));
  Vector2 frameSize = animation.GetFrameSize();
  if (!Animation::FrameGridFits(frameSize, imageSize)) {
    m_problems.Add(path, "frame size " + Size(frameSize) + " does not fit its image " +
                             Quoted(image) + " (" + Size(imageSize) + ")");
    usable = false;
    return;
  }
  if ((frameSize.X() == 0) != (frameSize.Y() == 0)) {
    m_problems.Add(path, "frame size " + Size(frameSize) +
                             ": either both sides are 0 (the whole image) or neither is");
    return;
  }
  if (frameSize.X() == 0) frameSize = imageSize;
  const Animation grid(animation.GetName(), frameSize, imageSize);
  if (animation.GetFrameCount() > grid.GetGridFrameCount()) {
    m_problems.Add(path, std::to_string(animation.GetFrameCount()) + " frames, but its image " +
                             Quoted(image) + " holds only " +
                             std::to_string(grid.GetGridFrameCount()) + " of " + Size(frameSize) +
                             ": the rest would show nothing");
  }
}

void AnimationStore::CheckFrames(const std::string& path, const Animation& animation) {
  const bool haveTable = CollisionTypeTable::Count() > 0;
  for (int f = 0; f < animation.GetFrameCount(); ++f) {
    const AnimationFrame& frame = animation.GetFrames()[static_cast<std::size_t>(f)];
    const std::string where = "frame " + std::to_string(f);
    if (frame.GetTicks() < 0) {
      m_problems.Add(path, where + " has " + std::to_string(frame.GetTicks()) + " ticks");
    }
    const auto& polygons = frame.GetShape().GetPolygons();
    for (std::size_t p = 0; p < polygons.size(); ++p) {
      const CollisionPolygon& polygon = polygons[p];
      const std::string which = where + " polygon " + std::to_string(p);
      if (haveTable && !TypeInTable(polygon.GetType())) {
        m_problems.Add(path, which + " has type " + std::to_string(polygon.GetType()) +
                                 ", outside the collision table's " +
                                 std::to_string(CollisionTypeTable::Count()) + " types");
      }
      if (polygon.GetVertexCount() == 0) {
        m_problems.Add(path, which + " has no vertices");
      } else if (polygon.GetVertexCount() == 1 && !(polygon.GetVertex(0).GetRadius() > 0.0f)) {
        m_problems.Add(path, which + " is a single point without a radius: it touches nothing");
      }
    }
  }
}

}  // namespace validator
