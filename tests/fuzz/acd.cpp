// ".acd" bodies: the reader, then a sprite run through the frames it read.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "animationlib/Animation.h"
#include "animationlib/Sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Animation animation;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  if (!animation.ReadBody(in) || animation.GetFrameCount() == 0) return 0;
  // A sprite ticks from its first frame as the loading screen's do.
  Sprite sprite("Fuzz", &animation, Vector2(0.0f, 0.0f), NO_CALLBACKS, 0.0f);
  for (int i = 0; i < 256; ++i) sprite.Tick();
  return 0;
}
