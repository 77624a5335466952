// The sound list "Sounds.vtse", read into a started World on a stand-in sound device
// (names are new on every input, so real samples would pile up).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "game/World.h"
#include "gameio/AudioFake.h"
#include "harness/GameHarness.h"

namespace {
AudioFake gAudio;
std::unique_ptr<testharness::GameHarness> gGame;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkingFolder();
  platform::SetAudioDevice(&gAudio);
  gGame = std::make_unique<testharness::GameHarness>();
  // The game goes before any static: the World's statics live in other files, whose
  // destruction order against this one's is not fixed.
  std::atexit([] { gGame.reset(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteInput("Sounds.vtse", data, size);
  fuzz::UnlessDataStops([&] { World::LoadSoundEffects(path); });
  return 0;
}
