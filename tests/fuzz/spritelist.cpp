// The prototype list "SpriteList.vtsl", its animations found in the working folder.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/World.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartHeadlessEngine();
  fuzz::EnterWorkingFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  World world;
  AnimationCollection animations;
  SpriteCollection prototypes(0);
  std::istringstream list(std::string(reinterpret_cast<const char*>(data), size));
  TokenReader in(list, "SpriteList.vtsl");
  fuzz::UnlessDataStops([&] { ReadPrototypeList(in, &animations, &prototypes); });
  return 0;
}
