// Program entry: opens the window and the graphics device, holds one World handle
// for the run, and drives everything from the 60 Hz frame loop.
//
// Environment settings serve tests and tools: VANTREL_MAX_FRAMES=n ends the
// run after n frames; VANTREL_CAPTURE_DIR=folder with VANTREL_CAPTURE_FRAMES=a,b,..
// saves those frames (counted from 1) as frame-NNNNN.png; VANTREL_RECORD=file records
// the first level played (LevelRecorder, run by the host after every frame).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/FrameLoop.h"
#include "game/WindowLoopHost.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/world/GameConstants.h"
#include "game/world/World.h"
#include "platform/Gfx.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "platform/Window.h"

namespace {

constexpr int kWindowX = 40;
constexpr int kWindowY = 40;

// The game's host plus the frame limit and frame capture asked for by the environment.
class EntryHost : public WindowLoopHost {
 public:
  explicit EntryHost(platform::Window& window) : WindowLoopHost(window) {
    if (const char* limit = std::getenv("VANTREL_MAX_FRAMES")) {
      m_maxFrames = std::strtoll(limit, nullptr, 10);
    }
    if (const char* dir = std::getenv("VANTREL_CAPTURE_DIR")) m_captureDir = dir;
    if (const char* frames = std::getenv("VANTREL_CAPTURE_FRAMES")) {
      std::stringstream list(frames);
      std::string item;
      while (std::getline(list, item, ','))
        m_captureFrames.insert(std::strtoll(item.c_str(), nullptr, 10));
    }
  }

  void RunFrame() override {
    WindowLoopHost::RunFrame();
    ++m_frames;
    if (!m_captureDir.empty() && m_captureFrames.count(m_frames)) Capture();
    if (m_maxFrames > 0 && m_frames == m_maxFrames) m_window.PostQuit();
  }

 private:
  void Capture() {
    std::vector<std::uint32_t> pixels;
    platform::Gfx* device = D3DInterface::GetEngine()->GetDevice();
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05lld.png", m_frames);
    const std::string path = m_captureDir + "/" + name;
    std::string error;
    if (!device || !device->ReadPixels(pixels) ||
        !platform::SavePng(path, device->Width(), device->Height(), pixels.data(), error)) {
      std::fprintf(stderr, "vantrel: cannot capture %s: %s\n", path.c_str(),
                   error.empty() ? "no frame to read" : error.c_str());
    }
  }

  long long m_maxFrames = 0;
  long long m_frames = 0;
  std::string m_captureDir;
  std::set<long long> m_captureFrames;
};

}  // namespace

int main() {
  RegisterBehaviors();
  platform::SeedRandomFromClock();

  std::string error;
  std::unique_ptr<platform::Window> window = platform::Window::Open(
      "Vantrel", kWindowX, kWindowY, kScreenWidth, kScreenHeight, true, error);
  if (!window) {
    std::fprintf(stderr, "vantrel: cannot open the game window: %s\n", error.c_str());
    return 1;
  }

  EntryHost host(*window);
  FrameLoop loop(host);  // reads the counter frequency
  D3DInterface::Create(window.get(), kScreenWidth, kScreenHeight, true);
  HideCursorInFullScreen(*window);
  bool started = false;
  {
    World world;
    // A game that did not load cannot be played; the failed parts name themselves.
    started = World::Init(window.get());
    if (started) {
      loop.Start();
      loop.Run();
    } else {
      std::fprintf(stderr, "vantrel: the game could not start: its data did not load\n");
    }
    D3DInterface::Destroy();
  }  // the last World handle releases everything the World made
  return started ? 0 : 1;
}
