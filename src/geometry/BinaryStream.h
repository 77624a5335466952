// Little-endian raw values on binary streams. A read that cannot complete leaves the
// stream failed and the target untouched, so callers never see half-read garbage.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <istream>
#include <ostream>
#include <type_traits>

#include "geometry/Vector2.h"

// Plain numbers only; a byte read as bool could hold a value that is neither.
template <typename T>
concept RawValue = std::is_arithmetic_v<T> && !std::is_same_v<T, bool>;

template <RawValue T>
std::istream& ReadRaw(std::istream& in, T& value) {
  std::array<char, sizeof(T)> bytes;
  if (!in.read(bytes.data(), sizeof(T))) return in;
  if constexpr (std::endian::native == std::endian::big) std::reverse(bytes.begin(), bytes.end());
  value = std::bit_cast<T>(bytes);
  return in;
}

template <RawValue T>
std::ostream& WriteRaw(std::ostream& out, T value) {
  auto bytes = std::bit_cast<std::array<char, sizeof(T)>>(value);
  if constexpr (std::endian::native == std::endian::big) std::reverse(bytes.begin(), bytes.end());
  return out.write(bytes.data(), sizeof(T));
}

// A point is x then y, 8 bytes.
inline std::istream& ReadBinary(std::istream& in, Vector2& point) {
  float x = 0.0f;
  float y = 0.0f;
  if (ReadRaw(in, x) && ReadRaw(in, y)) point = Vector2(x, y);
  return in;
}

inline std::ostream& WriteBinary(std::ostream& out, const Vector2& point) {
  WriteRaw(out, point.X());
  return WriteRaw(out, point.Y());
}
