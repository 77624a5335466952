#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/TokenReader.h"
#include "platform/Window.h"

namespace fuzz {

std::filesystem::path WorkingFolder() {
  return std::filesystem::path(VANTREL_BINARY_DIR) / "game";
}

void EnterWorkingFolder() {
  std::filesystem::current_path(WorkingFolder());
}

namespace {
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};
}  // namespace

const std::filesystem::path& Scratch() {
  static ScratchFolder folder;
  return folder.path;
}

std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path path = Scratch() / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path.string();
}

platform::Window* StartHeadlessEngine() {
  static std::unique_ptr<platform::Window> window;
  if (window) return window.get();
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::string error;
  window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  if (!window) std::abort();
  D3DInterface::Create(window.get(), 800, 600, true);
  return window.get();
}

void InstallDataStopHook() {
  SetDataFileStopHook([](const std::string&, const std::string&) { throw DataStop{}; });
}

}  // namespace fuzz
