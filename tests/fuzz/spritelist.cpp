// The prototype list "SpriteList.vtsl", its animations found in the working folder. The
// reader builds animations for their frame counts only: no window or device, each
// animation file and image size is read once, and one World serves every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/World.h"

namespace {
std::unique_ptr<World> gWorld;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartEngineWithoutDevice();
  fuzz::ServeImagesFromMemory();
  fuzz::ServeAnimationFilesFromMemory();
  fuzz::EnterWorkingFolder();
  gWorld = std::make_unique<World>();
  // The World must go before its own statics do at exit.
  std::atexit([] { gWorld.reset(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  AnimationCollection animations;
  SpriteCollection prototypes(0);
  std::istringstream list(std::string(reinterpret_cast<const char*>(data), size));
  TokenReader in(list, "SpriteList.vtsl");
  fuzz::UnlessDataStops([&] { ReadPrototypeList(in, &animations, &prototypes); });
  return 0;
}
