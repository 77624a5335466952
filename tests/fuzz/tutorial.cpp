// Tutorial scripts "data/tut<level file>", read and copied as a level load does.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "game/tutorial/Tutorial.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  fuzz::UnlessDataStops([&] {
    const Tutorial script(in, "data/tutfuzz.lvl");
    Tutorial copy;
    copy = script;
    copy.ActivateId(0);
  });
  return 0;
}
