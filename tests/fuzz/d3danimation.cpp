// Drawable animations: an ".acd" file cut from the working folder's images (the file's
// name picks the image), every frame queued and the frame rendered. The images are
// decoded once and the window is tiny: neither is the reader's work.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "FuzzSupport.h"
#include "animationlib/D3DAnimation.h"

namespace {
constexpr int kWindowSide = 8;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartHeadlessEngine(kWindowSide, kWindowSide);
  fuzz::ServeImagesFromMemory();
  // The images sit beside the fuzzed file, as they do in the working folder.
  const std::filesystem::path images = fuzz::Scratch() / "animations";
  std::filesystem::create_directories(images);
  for (const auto& entry :
       std::filesystem::directory_iterator(fuzz::WorkingFolder() / "animations")) {
    if (entry.path().extension() == ".png") {
      std::filesystem::create_symlink(entry.path(), images / entry.path().filename());
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::Window* window = fuzz::StartHeadlessEngine(kWindowSide, kWindowSide);
  const std::string path = fuzz::WriteInput("animations/fuzz.acd", data, size);
  // A frame that does not fit its image stops the game, after a message naming both.
  fuzz::UnlessDataStops([&] {
    const D3DAnimation animation(path);
    const int frames = animation.GetFrameCount() < 64 ? animation.GetFrameCount() : 64;
    for (int f = -1; f <= frames; ++f) {
      animation.Draw(Vector2(400.0f, 300.0f), Vector2(1.0f, 1.0f), f, (f & 1) != 0,
                     0.25f * static_cast<float>(f), Vector2(10.0f, 10.0f), 0.5f,
                     CachedVector(Vector2(1.0f, 1.0f)));
    }
    D3DInterface::Render(window);
  });
  D3DInterface::ClearQuads();
  return 0;
}
