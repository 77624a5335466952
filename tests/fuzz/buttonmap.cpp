// The controls file, saved button maps in the game's action format: what reads is
// saved into a folder of its own and must read back as the same maps.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "game/input/Input.h"
#include "platform/ActionMapStore.h"

namespace {

bool Same(const platform::SavedMaps& a, const platform::SavedMaps& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].identity != b[i].identity || a[i].map != b[i].map) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const platform::ActionFormat format = Input::MakeActionFormat();
  const std::string path = fuzz::WriteInput("Vantrel button maps", data, size);
  platform::SavedMaps maps;
  std::string error;
  if (platform::LoadSavedMaps(path, format, maps, error)) {
    // A save keeps the devices a file already holds: each input starts on an empty folder.
    const std::filesystem::path folder = fuzz::Scratch() / "saved";
    std::filesystem::remove_all(folder);
    const std::filesystem::path again = folder / "Vantrel button maps";
    platform::SavedMaps back;
    if (!platform::SaveSavedMaps(again, format, maps, error) ||
        !platform::LoadSavedMaps(again, format, back, error) || !Same(back, maps)) {
      __builtin_trap();
    }
  }
  return 0;
}
