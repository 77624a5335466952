// Saved button maps in the game's action format.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "game/input/Input.h"
#include "platform/ActionMapStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const platform::ActionFormat format = Input::MakeActionFormat();
  const std::string path = fuzz::WriteInput("Vantrel button maps", data, size);
  platform::SavedMaps maps;
  std::string error;
  if (platform::LoadSavedMaps(path, format, maps, error)) {
    // What loads must save and load back the same.
    const std::string again = (fuzz::Scratch() / "again" / "maps").string();
    platform::SavedMaps back;
    if (!platform::SaveSavedMaps(again, format, maps, error) ||
        !platform::LoadSavedMaps(again, format, back, error) || back.size() != maps.size()) {
      __builtin_trap();
    }
  }
  return 0;
}
