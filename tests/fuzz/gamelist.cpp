// The game list "Gold.vt", each input read by a fresh World.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "game/world/World.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteInput("Gold.vt", data, size);
  World world;
  fuzz::UnlessDataStops([&] { World::LoadGame(path); });
  return 0;
}
