#include "platform/Image.h"

#include <png.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <iterator>

namespace platform {

namespace {

static_assert(std::endian::native == std::endian::little,
              "BGRA bytes read as one little-endian word are ARGB");

// No PNG the game ships comes near this; it keeps a bad path from reading a disk image.
constexpr std::streamoff kMaxFileBytes = 256 * 1024 * 1024;

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    error = path + ": cannot open the file";
    return false;
  }
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxFileBytes) {
    error = path + ": the file is too large to be an image";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  file.seekg(0);
  if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
    error = path + ": cannot read the file";
    return false;
  }
  return true;
}

// Deflate never expands data by more than this (258-byte matches in 2-bit codes).
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// Bytes of filtered image data the header promises: a filter byte per row plus the
// row's samples at the file's own bit depth. Interlaced images need a little more.
std::uint64_t PromisedDataBytes(const unsigned char* png) {
  auto word = [png](int at) {
    return std::uint64_t{png[at]} << 24 | std::uint64_t{png[at + 1]} << 16 |
           std::uint64_t{png[at + 2]} << 8 | std::uint64_t{png[at + 3]};
  };
  // The signature and the IHDR chunk lead every file libpng accepted.
  const std::uint64_t width = word(16);
  const std::uint64_t height = word(20);
  const std::uint64_t bitDepth = png[24];
  std::uint64_t channels = 1;  // grey or palette
  switch (png[25]) {
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: break;
  }
  return height * (1 + (width * channels * bitDepth + 7) / 8);
}

}  // namespace

void ApplyColorKey(Image& image) {
  std::replace(image.pixels.begin(), image.pixels.end(), kColorKey, 0u);
}

bool DecodePng(const void* data, std::size_t size, const std::string& name, Image& image,
               std::string& error, ColorKey key) {
  image = Image{};
  if (data == nullptr || size == 0) {
    error = name + ": empty file, not a PNG image";
    return false;
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&png, data, size) == 0) {
    error = name + ": not a readable PNG image (" + png.message + ")";
    png_image_free(&png);
    return false;
  }
  if (png.width == 0 || png.height == 0 || png.width > static_cast<png_uint_32>(kMaxImageSide) ||
      png.height > static_cast<png_uint_32>(kMaxImageSide)) {
    error = name + ": image size " + std::to_string(png.width) + " x " +
            std::to_string(png.height) + " is out of range";
    png_image_free(&png);
    return false;
  }
  // A tiny file can claim a huge image; don't allocate for pixels it can't hold.
  const std::uint64_t promised = PromisedDataBytes(static_cast<const unsigned char*>(data));
  if (promised / kMaxDeflateRatio > size) {
    error = name + ": image size " + std::to_string(png.width) + " x " +
            std::to_string(png.height) + " needs more data than the file's " +
            std::to_string(size) + " bytes can hold";
    png_image_free(&png);
    return false;
  }
  png.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(png.width) * png.height);
  if (png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr) == 0) {
    error = name + ": corrupt PNG image (" + png.message + ")";
    png_image_free(&png);
    return false;
  }
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels = std::move(pixels);
  if (key == ColorKey::Magenta) ApplyColorKey(image);
  return true;
}

bool LoadPng(const std::string& path, Image& image, std::string& error, ColorKey key) {
  image = Image{};
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  return DecodePng(bytes.data(), bytes.size(), path, image, error, key);
}

bool SavePng(const std::string& path, int width, int height, const std::uint32_t* argb,
             std::string& error) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      argb == nullptr) {
    error = path + ": nothing to save (bad size or pixels)";
    return false;
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = PNG_FORMAT_BGRA;
  if (png_image_write_to_file(&png, path.c_str(), 0, argb, 0, nullptr) == 0) {
    error = path + ": cannot write the PNG image (" + png.message + ")";
    png_image_free(&png);
    return false;
  }
  return true;
}

}  // namespace platform
