// PNG images as 32-bit ARGB pixels (0xAARRGGBB), rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The colour key of the game's art: opaque magenta marks transparent pixels.
constexpr std::uint32_t kColorKey = 0xFFFF00FFu;

// The largest side an image may have; larger headers are refused before any
// pixel memory is allocated.
constexpr int kMaxImageSide = 16384;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height ARGB values
};

enum class ColorKey { Magenta, None };

// Decodes a whole PNG file. With ColorKey::Magenta every 0xFFFF00FF pixel becomes
// transparent black (0x00000000). On failure returns false with a message that
// names the file and what is wrong, and leaves `image` empty.
bool LoadPng(const std::string& path, Image& image, std::string& error,
             ColorKey key = ColorKey::Magenta);
// The same from PNG bytes in memory; `name` is used in messages.
bool DecodePng(const void* data, std::size_t size, const std::string& name, Image& image,
               std::string& error, ColorKey key = ColorKey::Magenta);

// Turns every opaque magenta pixel into transparent black.
void ApplyColorKey(Image& image);

// Writes width x height ARGB pixels as an 8-bit RGBA PNG; the same pixels give
// the same bytes.
bool SavePng(const std::string& path, int width, int height, const std::uint32_t* argb,
             std::string& error);

}  // namespace platform
