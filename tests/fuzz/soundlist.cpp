// The sound list "Sounds.vtse", read into a started World on a stand-in sound device
// (names are new on every input, so real samples would pile up).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "game/sound/AudioFake.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"

namespace {
AudioFake gAudio;
std::unique_ptr<testharness::GameHarness> gGame;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkingFolder();
  platform::SetAudioDevice(&gAudio);
  gGame = std::make_unique<testharness::GameHarness>();
  // The World must go before its own statics do at exit.
  std::atexit([] { gGame.reset(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteInput("Sounds.vtse", data, size);
  fuzz::UnlessDataStops([&] { World::LoadSoundEffects(path); });
  return 0;
}
