// The hero's tuning file "data/ZodirazO.ini", loaded into a copy of one hero (so every
// input starts from the defaults), as a level load does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "animationlib/Animation.h"
#include "game/hud/HUD.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {
std::unique_ptr<HUD> gHud;
std::unique_ptr<PlayerObject> gHero;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The hero cannot be built without the HUD, whose art is in the working folder.
  fuzz::EnterWorkingFolder();
  fuzz::StartHeadlessEngine();
  std::string error;
  gHud = HUD::Create(error);
  if (!gHud) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::abort();
  }
  static Animation animation("fuzz");
  gHero = std::make_unique<PlayerObject>(World::kPlayerName, &animation, Vector2(0.0f, 0.0f),
                                         NO_CALLBACKS, 0.0f);
  std::atexit([] {
    gHero.reset();
    gHud.reset();
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PlayerObject hero(*gHero);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  hero.LoadParameters(in);
  return 0;
}
