// Animations and the ".acd" file: reading, writing and the frame-grid checks.
#include "animationlib/Animation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>

#include "PhysicsLib/ShapeStream.h"
#include "geometry/BinaryStream.h"
#include "platform/Assert.h"

namespace {

Animation::FileSource sFileSource = nullptr;

// Reads a zero-terminated string; false when the data ends before the zero.
bool ReadTerminated(std::istream& in, std::string& text) {
  text.clear();
  char c = 0;
  while (in.get(c)) {
    if (c == '\0') return true;
    text.push_back(c);
  }
  return false;
}

void WriteTerminated(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.put('\0');
}

// A quotient of sizes as a whole count, defined even for absurd sizes.
int WholeCount(float numerator, float denominator) {
  const double quotient = std::trunc(static_cast<double>(numerator) / denominator);
  constexpr double kMax = std::numeric_limits<int>::max();
  if (!(quotient >= 0.0)) return 0;
  return quotient >= kMax ? std::numeric_limits<int>::max() : static_cast<int>(quotient);
}

// A size a file may state: finite and not negative (0 means "not known yet").
bool IsUsableSize(float value) {
  return std::isfinite(value) && value >= 0.0f;
}

}  // namespace

AnimationFrame::AnimationFrame(int nextFrame, int ticks, const Vector2& offset,
                               const CollisionShape& shape, const std::string& soundName)
    : m_offset(offset),
      m_nNextFrame(nextFrame),
      m_nTicks(ticks),
      m_shape(shape),
      m_sSoundName(soundName) {}

std::istream& ReadAnimationFrame(std::istream& in, AnimationFrame& frame) {
  Vector2 offset;
  std::int32_t next = 0;
  std::int32_t ticks = 0;
  if (!ReadBinary(in, offset) || !ReadRaw(in, next) || !ReadRaw(in, ticks)) return in;
  if (!ReadCollisionShape(in, frame.m_shape)) return in;
  std::string sound;
  if (!ReadTerminated(in, sound)) return in;
  frame.m_offset = offset;
  frame.m_nNextFrame = next;
  frame.m_nTicks = ticks;
  frame.m_sSoundName = std::move(sound);
  return in;
}

std::ostream& WriteAnimationFrame(std::ostream& out, const AnimationFrame& frame) {
  WriteBinary(out, frame.GetOffset());
  WriteRaw(out, static_cast<std::int32_t>(frame.GetNextFrame()));
  WriteRaw(out, static_cast<std::int32_t>(frame.GetTicks()));
  WriteCollisionShape(out, frame.GetShape());
  WriteTerminated(out, frame.GetSoundName());
  return out;
}

Animation::Animation(const std::string& name, const Vector2& framesize, const Vector2& imagesize)
    : m_sName(name), m_framesize(framesize), m_imagesize(imagesize) {
  ValidateFrameGrid();
}

void Animation::Draw(const Vector2& /*screenPosition*/, const Vector2& /*repeat*/, int /*frame*/,
                     bool /*mirror*/, float /*rotation*/, Vector2 /*pivot*/,
                     float /*pivotRotation*/, CachedVector /*scale*/) const {}

void Animation::SetSmoothScaling(bool /*smooth*/) {}

void Animation::SetFileSource(FileSource source) {
  sFileSource = source;
}

bool Animation::Load(const std::string& path) {
  if (sFileSource != nullptr) return sFileSource(path, *this);
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    m_sLoadError = "Animation file \"" + path + "\": cannot open it";
    return false;
  }
  if (ReadBody(in)) return true;
  m_sLoadError = "Animation file \"" + path + "\": " + m_sLoadError;
  return false;
}

bool Animation::Save(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return false;
  WriteBody(out);
  out.flush();
  return static_cast<bool>(out);
}

bool Animation::ReadBody(std::istream& in) {
  m_sLoadError.clear();
  m_vFrames.clear();
  if (!ReadTerminated(in, m_sName)) {
    m_sLoadError = "the file ends inside the animation name";
    m_sName.clear();
  } else if (ReadFrames(in, m_sLoadError)) {
    return true;
  }
  // A damaged file leaves nothing that could be drawn or indexed wrongly.
  m_vFrames.clear();
  m_framesize = Vector2();
  ValidateFrameGrid();
  return false;
}

bool Animation::ReadFrames(std::istream& in, std::string& error) {
  Vector2 framesize;
  std::uint32_t count = 0;
  if (!ReadBinary(in, framesize)) {
    error = "the file ends before the frame size";
    return false;
  }
  if (!IsUsableSize(framesize.X()) || !IsUsableSize(framesize.Y())) {
    error = "the frame size is not a usable size";
    return false;
  }
  if (!ReadRaw(in, count)) {
    error = "the file ends before the frame count";
    return false;
  }
  m_framesize = framesize;
  // Frames are appended as they arrive, so a damaged count allocates nothing the
  // data does not hold and ends at the end of the data.
  for (std::uint32_t i = 0; i < count; ++i) {
    AnimationFrame frame;
    if (!ReadAnimationFrame(in, frame)) {
      const std::string where = "frame " + std::to_string(i) + " of " + std::to_string(count);
      error = in.eof() ? "the file ends inside " + where
                       : where + " has a collision shape with impossible counts";
      return false;
    }
    m_vFrames.push_back(std::move(frame));
  }
  for (std::size_t i = 0; i < m_vFrames.size(); ++i) {
    const int ticks = m_vFrames[i].GetTicks();
    if (ticks < 0 || ticks > AnimationFrame::kMaxTicks) {
      error = "frame " + std::to_string(i) + " shows for " + std::to_string(ticks) +
              " ticks, outside 0 to " + std::to_string(AnimationFrame::kMaxTicks);
      return false;
    }
    const int next = m_vFrames[i].GetNextFrame();
    if (next < 0 || next >= GetFrameCount()) {
      error = "frame " + std::to_string(i) + " leads to frame " + std::to_string(next) +
              ", but the animation has " + std::to_string(m_vFrames.size()) + " frames";
      return false;
    }
  }
  ValidateFrameGrid();
  return true;
}

void Animation::WriteBody(std::ostream& out) const {
  WriteTerminated(out, m_sName);
  WriteBinary(out, m_framesize);
  WriteRaw(out, static_cast<std::uint32_t>(m_vFrames.size()));
  for (const AnimationFrame& frame : m_vFrames) WriteAnimationFrame(out, frame);
}

void Animation::SetFrameSize(const Vector2& framesize) {
  m_framesize = framesize;
  ValidateFrameGrid();
}

void Animation::SetImageSize(const Vector2& imagesize) {
  m_imagesize = imagesize;
  ValidateFrameGrid();
}

bool Animation::FrameGridFits(const Vector2& framesize, const Vector2& imagesize) {
  if (framesize.X() == 0 || framesize.Y() == 0 || imagesize.X() == 0 || imagesize.Y() == 0)
    return true;
  return framesize.X() > 0 && framesize.Y() > 0 && framesize.X() <= imagesize.X() &&
         framesize.Y() <= imagesize.Y();
}

void Animation::ValidateFrameGrid() {
  if (m_framesize.X() == 0 || m_framesize.Y() == 0 || m_imagesize.X() == 0 ||
      m_imagesize.Y() == 0) {
    return;  // not both sizes known yet
  }
  VT_ASSERT(m_framesize.X() > 0 && m_framesize.Y() > 0);
  VT_ASSERT(m_framesize.X() <= m_imagesize.X() && m_framesize.Y() <= m_imagesize.Y());
  m_nGridColumns = WholeCount(m_imagesize.X(), m_framesize.X());
  const long long frames =
      static_cast<long long>(WholeCount(m_imagesize.Y(), m_framesize.Y())) * m_nGridColumns;
  m_nGridFrameCount =
      static_cast<int>(std::min<long long>(frames, std::numeric_limits<int>::max()));
}
