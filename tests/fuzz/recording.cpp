// Input recordings played back through the input layer.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "game/input/Input.h"

namespace {
std::unique_ptr<Input> gInput;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gInput = std::make_unique<Input>(fuzz::StartHeadlessEngine());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!gInput->StartPlayback(fuzz::WriteInput("fuzz.rec", data, size))) return 0;
  // A record may wait up to 2^32 frames; a few frames per record reach every one
  // that follows short waits, and the reader stays bounded.
  const std::size_t frames = size / 2 + 16 < 4096 ? size / 2 + 16 : 4096;
  for (std::size_t i = 0; i < frames && gInput->IsPlayingBack(); ++i) gInput->Update();
  gInput->StopPlayback();
  return 0;
}
