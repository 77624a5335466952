// PNG images, with and without the colour key.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::Image image;
  std::string error;
  if (platform::DecodePng(data, size, "fuzz.png", image, error)) {
    if (image.pixels.size() !=
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
      __builtin_trap();
    }
  }
  platform::Image plain;
  platform::DecodePng(data, size, "fuzz.png", plain, error, platform::ColorKey::None);
  return 0;
}
