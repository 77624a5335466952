// Level files, read against the working folder's global prototypes. The reader builds
// animations for their frame counts only: no window or device, and each animation file
// and image size is read once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/hud/HUD.h"
#include "game/level/Level.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/World.h"

namespace {
std::unique_ptr<World> gWorld;
std::unique_ptr<AnimationCollection> gAnimations;
std::unique_ptr<SpriteCollection> gPrototypes;
std::unique_ptr<HUD> gHud;  // the hero is built on it
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartEngineWithoutDevice();
  fuzz::ServeImagesFromMemory();
  fuzz::ServeAnimationFilesFromMemory();
  fuzz::EnterWorkingFolder();
  gWorld = std::make_unique<World>();
  std::string error;
  gHud = HUD::Create(error);
  if (!gHud) std::abort();
  gAnimations = std::make_unique<AnimationCollection>();
  gPrototypes = std::make_unique<SpriteCollection>(0);
  std::ifstream list("SpriteList.vtsl");
  TokenReader in(list, "SpriteList.vtsl");
  ReadPrototypeList(in, gAnimations.get(), gPrototypes.get());
  // The World must go before its own statics do at exit.
  std::atexit([] {
    gHud.reset();
    gPrototypes.reset();
    gAnimations.reset();
    gWorld.reset();
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteInput("fuzz.lvl", data, size);
  Level level;
  fuzz::UnlessDataStops([&] { level.Load(path, gPrototypes.get()); });
  return 0;
}
