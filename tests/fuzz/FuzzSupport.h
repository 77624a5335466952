// Shared pieces of the fuzz targets: a scratch folder for inputs that must be files,
// the generated working folder the seeds come from, the headless graphics engine, and
// the catch for a data-file stop (the game's answer to a damaged text file, which
// counts as handled).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace platform {
class Window;
}

namespace fuzz {

// The build's generated working folder ("game" beside the executable's tree).
std::filesystem::path WorkingFolder();
// Makes the working folder current, for readers that follow relative paths in it.
void EnterWorkingFolder();
// A folder of this process's own, made on first use and removed at exit.
const std::filesystem::path& Scratch();
// Writes the input to `name` inside the scratch folder and returns the full path.
std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size);

// Opens a headless window and starts the graphics engine on it, once; the window.
// Every frame is drawn whole into the engine's 800 x 600 target; the window only
// receives a copy scaled to its size, so a target that renders every input opens a
// tiny one and the copy costs next to nothing.
platform::Window* StartHeadlessEngine(int windowWidth = 800, int windowHeight = 600);
// Starts the graphics engine with no window and so no device, once: readers that
// only build animations need their frame sizes, not textures.
void StartEngineWithoutDevice();
// Animations read their images from memory: each file is decoded once, on first
// use. Without a graphics device nothing reads the pixels, so only the size is kept.
void ServeImagesFromMemory();
// Animations read their ".acd" files from memory, each parsed once, on first use: for
// targets whose animations are the working folder's, which never change.
void ServeAnimationFilesFromMemory();

// Runs `body`; a data-file stop inside it returns false instead of ending the process.
// Anything else (an assertion, a sanitizer report) still ends it as a crash.
template <typename Body>
bool UnlessDataStops(Body&& body);

struct DataStop {};
void InstallDataStopHook();

template <typename Body>
bool UnlessDataStops(Body&& body) {
  InstallDataStopHook();
  try {
    body();
    return true;
  } catch (const DataStop&) {
    return false;
  }
}

}  // namespace fuzz
