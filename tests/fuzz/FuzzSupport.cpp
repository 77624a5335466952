#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string_view>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/D3DAnimation.h"
#include "game/data/TokenReader.h"
#include "platform/Assert.h"
#include "platform/Image.h"
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
    // Inputs are rewritten thousands of times a second: in memory when the system has
    // a memory file system, as a disk's file system flushes each rewritten file.
    std::error_code ignored;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(memory, ignored) && access(memory.c_str(), W_OK | X_OK) == 0
            ? memory
            : std::filesystem::temp_directory_path();
    std::string pattern = (base / "vantrel-fuzz-XXXXXX").string();
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

platform::Window* StartHeadlessEngine(int windowWidth, int windowHeight) {
  static std::unique_ptr<platform::Window> window;
  if (window) return window.get();
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::string error;
  // Full screen would show the frame at the dummy display's whole size.
  const bool fullScreen = windowWidth == 800 && windowHeight == 600;
  window = platform::Window::Open("Vantrel", 40, 40, windowWidth, windowHeight, fullScreen, error);
  if (!window) std::abort();
  D3DInterface::Create(window.get(), 800, 600, true);
  return window.get();
}

void StartEngineWithoutDevice() {
  if (!D3DInterface::Exists()) D3DInterface::Create(nullptr, 800, 600, true);
}

namespace {
// Bounds the decoded pixels kept for a device; past it the cache starts again.
constexpr std::size_t kMaxCachedPixels = std::size_t{6} << 20;

// Names the fuzzer makes up mostly lead nowhere; those are quick to try again and are
// not kept, so the cache holds at most the working folder's files.
bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

struct ReadImage {
  std::shared_ptr<const platform::Image> image;  // null when it did not read
  std::string error;
};

std::shared_ptr<const platform::Image> CachedImage(const std::string& path, std::string& error) {
  static std::map<std::string, ReadImage> cache;
  static std::size_t cachedPixels = 0;
  if (auto found = cache.find(path); found != cache.end()) {
    error = found->second.error;
    return found->second.image;
  }
  auto image = std::make_shared<platform::Image>();
  ReadImage read;
  if (platform::LoadPng(path, *image, read.error)) read.image = image;
  error = read.error;
  if (!Exists(path)) return read.image;
  if (D3DInterface::GetEngine()->GetDevice() == nullptr) image->pixels = {};
  cachedPixels += image->pixels.size();
  if (cachedPixels > kMaxCachedPixels) {
    cache.clear();
    cachedPixels = image->pixels.size();
  }
  cache.emplace(path, read);
  return read.image;
}

struct ReadAnimation {
  bool read = false;
  Animation animation;
};

bool CachedAnimation(const std::string& path, Animation& animation) {
  static std::map<std::string, ReadAnimation> cache;
  auto found = cache.find(path);
  if (found == cache.end()) {
    ReadAnimation entry;
    Animation::SetFileSource(nullptr);
    entry.read = entry.animation.Load(path);
    Animation::SetFileSource(&CachedAnimation);
    if (!Exists(path)) {
      animation = entry.animation;
      return entry.read;
    }
    found = cache.emplace(path, std::move(entry)).first;
  }
  animation = found->second.animation;
  return found->second.read;
}
}  // namespace

void ServeImagesFromMemory() {
  D3DAnimation::SetImageSource(&CachedImage);
}

void ServeAnimationFilesFromMemory() {
  Animation::SetFileSource(&CachedAnimation);
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
