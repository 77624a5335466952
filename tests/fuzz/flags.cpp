// An object's property file "data/<name>Flags.ini".
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "animationlib/Animation.h"
#include "behaviorlib/LoadFlags.h"
#include "game/objects/GameObject.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::filesystem::current_path(fuzz::Scratch());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Animation animation("fuzz");
  fuzz::WriteInput("data/FuzzFlags.ini", data, size);
  GameObject object("Fuzz", &animation, Vector2(0.0f, 0.0f), NO_CALLBACKS, 0.0f);
  LoadFlags(&object);
  return 0;
}
