// Animations: named sequences of frames cut from one image, and their binary
// ".acd" files (name, frame size, then per frame its origin, successor, time,
// collision shape and sound).
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "PhysicsLib/CollisionShape.h"
#include "geometry/CachedVector.h"
#include "geometry/Vector2.h"

class AnimationFrame {
 public:
  // The longest a frame may show: an hour of game time. Anything outside 0 to
  // this is damage, and would overflow the frame timer.
  static constexpr int kMaxTicks = 60 * 60 * 60;

  AnimationFrame(int nextFrame = 0, int ticks = 0, const Vector2& offset = Vector2(),
                 const CollisionShape& shape = CollisionShape(),
                 const std::string& soundName = std::string());

  // Where the sprite's origin lies inside the frame, from its top-left corner.
  const Vector2& GetOffset() const { return m_offset; }
  int GetNextFrame() const { return m_nNextFrame; }
  // Frames of game time the frame shows; 0 holds it.
  int GetTicks() const { return m_nTicks; }
  const CollisionShape& GetShape() const { return m_shape; }
  // Played when the frame's time runs out; empty for none.
  const std::string& GetSoundName() const { return m_sSoundName; }

 private:
  friend std::istream& ReadAnimationFrame(std::istream& in, AnimationFrame& frame);

  Vector2 m_offset;
  int m_nNextFrame;
  int m_nTicks;
  CollisionShape m_shape;
  std::string m_sSoundName;
};

// One frame record. The shape block is appended to the frame's shape; a record
// that cannot be read whole leaves the stream failed.
std::istream& ReadAnimationFrame(std::istream& in, AnimationFrame& frame);
std::ostream& WriteAnimationFrame(std::ostream& out, const AnimationFrame& frame);

class Animation {
 public:
  // Runs the frame-grid validation on the given sizes.
  explicit Animation(const std::string& name = std::string(), const Vector2& framesize = Vector2(),
                     const Vector2& imagesize = Vector2());
  virtual ~Animation() = default;

  // Queues one frame for drawing; this base class has no picture and draws nothing.
  // The arguments are those of D3DAnimation::Draw.
  virtual void Draw(const Vector2& screenPosition, const Vector2& repeat, int frame, bool mirror,
                    float rotation, Vector2 pivot, float pivotRotation, CachedVector scale) const;
  // Has every frame sampled smoothly where it is drawn scaled (see
  // platform::Texture::SetSmoothScaling), for soft art blown up far past its size.
  virtual void SetSmoothScaling(bool smooth);

  // Reads an ".acd" file. False when it cannot be opened or does not hold a whole,
  // consistent animation; GetLoadError then says why, naming the file, and the
  // animation keeps at most its name (no frames, no frame size).
  bool Load(const std::string& path);
  // Test seam for programs that read thousands of data files naming the same few
  // animations (the fuzz targets): the source stands in for reading the file, filling
  // the animation as Load would, its load error included. Null restores the file
  // reader; the game never sets one.
  using FileSource = bool (*)(const std::string& path, Animation& animation);
  static void SetFileSource(FileSource source);
  // Writes the ".acd" file; false when it cannot be written.
  bool Save(const std::string& path) const;
  // The whole file body. ReadBody is Load without the file; its errors do not name one.
  bool ReadBody(std::istream& in);
  void WriteBody(std::ostream& out) const;
  const std::string& GetLoadError() const { return m_sLoadError; }

  // Assigning a size runs the frame-grid validation.
  void SetFrameSize(const Vector2& framesize);
  void SetImageSize(const Vector2& imagesize);

  const std::string& GetName() const { return m_sName; }
  const std::vector<AnimationFrame>& GetFrames() const { return m_vFrames; }
  std::vector<AnimationFrame>& GetFrames() { return m_vFrames; }
  int GetFrameCount() const { return static_cast<int>(m_vFrames.size()); }
  const Vector2& GetFrameSize() const { return m_framesize; }
  float GetFrameWidth() const { return m_framesize.X(); }
  float GetFrameHeight() const { return m_framesize.Y(); }
  const Vector2& GetImageSize() const { return m_imagesize; }
  // Whole frames across the image, and whole frames the image holds.
  int GetGridColumns() const { return m_nGridColumns; }
  int GetGridFrameCount() const { return m_nGridFrameCount; }

  // True when the validation would pass for these sizes: either one of them is
  // not known yet (0) or the frame is positive and fits the image.
  static bool FrameGridFits(const Vector2& framesize, const Vector2& imagesize);

 private:
  void ValidateFrameGrid();
  // Reads everything after the name; on failure returns the reason.
  bool ReadFrames(std::istream& in, std::string& error);

  std::string m_sName;
  std::vector<AnimationFrame> m_vFrames;
  Vector2 m_framesize;
  Vector2 m_imagesize;
  int m_nGridColumns = 0;
  int m_nGridFrameCount = 0;
  std::string m_sLoadError;
};
