// An object's movement parameters "data/<name>.ini".
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "animationlib/Animation.h"
#include "game/objects/GameObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Animation animation("fuzz");
  GameObject object("Fuzz", &animation, Vector2(0.0f, 0.0f), NO_CALLBACKS, 0.0f);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  object.LoadParameters(in);
  return 0;
}
