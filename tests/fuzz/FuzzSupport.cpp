#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string_view>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/data/TokenReader.h"
#include "platform/Assert.h"
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

namespace {
// The readers' checks of counts and sizes that stop the game on an assertion by design;
// any other assertion is a fault and ends the run as a crash.
constexpr std::string_view kDataAssertions[] = {
    "nextState >= 0",
    "levelCount >= 0",
    "nEffectsCount >= 0",
    "spriteCount >= 0",
    "animationCount >= 1",
    "m_nTrackCount >= 0",
    "count >= 0",
    "objectCount >= 0",
    "m_nXLower < m_nXUpper || m_nXLower == -1 || m_nXUpper == -1",
    "m_nYLower < m_nYUpper || m_nYLower == -1 || m_nYUpper == -1",
    "enemyCount >= 0",
    "triggerCount >= 0",
    "frame >= 0",
    "m_framesize.X() > 0 && m_framesize.Y() > 0",
    "m_framesize.X() <= m_imagesize.X() && m_framesize.Y() <= m_imagesize.Y()",
};
}  // namespace

void InstallDataStopHook() {
  SetDataFileStopHook([](const std::string&, const std::string&) { throw DataStop{}; });
  platform::SetAssertionHook([](const char* expression, const char*, int) {
    for (std::string_view known : kDataAssertions) {
      if (known == expression) throw DataStop{};
    }
  });
}

}  // namespace fuzz
