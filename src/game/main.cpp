// Program entry: opens the window and the graphics device, holds one World handle
// for the run, and drives everything from the 60 Hz frame loop.
//
// Environment settings serve tests and tools: VANTREL_MAX_FRAMES=n ends the
// run after n frames; VANTREL_CAPTURE_DIR=folder with VANTREL_CAPTURE_FRAMES=a,b,..
// saves those frames (counted from 1) as frame-NNNNN.png; VANTREL_RECORD=file records
// the first level played (LevelRecorder, run by the host after every frame). Numbers
// must be whole numbers from 1 up: anything else stops the run, naming the setting.
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <utility>
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
#include "platform/Settings.h"
#include "platform/Window.h"

namespace {

constexpr int kWindowX = 40;
constexpr int kWindowY = 40;

// What the environment asks of a run besides playing. Read before anything opens, so
// a setting that is not a whole number stops the program at once, naming it.
struct RunSettings {
  long long maxFrames = 0;  // 0: no limit
  std::string captureDir;
  std::set<long long> captureFrames;

  static RunSettings FromEnvironment() {
    constexpr long long kMost = std::numeric_limits<long long>::max();
    RunSettings settings;
    settings.maxFrames = platform::WholeNumberSetting("VANTREL_MAX_FRAMES", 1, kMost).value_or(0);
    if (const char* dir = std::getenv("VANTREL_CAPTURE_DIR")) settings.captureDir = dir;
    for (const long long frame :
         platform::WholeNumberListSetting("VANTREL_CAPTURE_FRAMES", 1, kMost)) {
      settings.captureFrames.insert(frame);
    }
    platform::RequireSettingWith("VANTREL_CAPTURE_FRAMES", "VANTREL_CAPTURE_DIR");
    return settings;
  }
};

// The game's host plus the frame limit and frame capture asked for by the environment.
class EntryHost : public WindowLoopHost {
 public:
  EntryHost(platform::Window& window, RunSettings settings)
      : WindowLoopHost(window),
        m_maxFrames(settings.maxFrames),
        m_captureDir(std::move(settings.captureDir)),
        m_captureFrames(std::move(settings.captureFrames)) {}

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
  RunSettings settings = RunSettings::FromEnvironment();

  std::string error;
  std::unique_ptr<platform::Window> window = platform::Window::Open(
      "Vantrel", kWindowX, kWindowY, kScreenWidth, kScreenHeight, true, error);
  if (!window) {
    std::fprintf(stderr, "vantrel: cannot open the game window: %s\n", error.c_str());
    return 1;
  }

  EntryHost host(*window, std::move(settings));
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
