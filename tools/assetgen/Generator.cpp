// The whole generation run.
#include "Generator.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "AcdWriter.h"
#include "AnimationSource.h"
#include "CollisionTable.h"
#include "SheetRenderer.h"
#include "SoundSynth.h"

namespace assetgen {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot open");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes only when the bytes differ, so unchanged files keep their time stamps.
void WriteIfChanged(const fs::path& path, const std::string& bytes) {
  std::error_code ec;
  if (fs::exists(path, ec) && fs::file_size(path, ec) == bytes.size() && ReadFile(path) == bytes)
    return;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error(path.string() + ": cannot write");
}

// Removes files of a generated folder that this run did not write (sources that went away).
void RemoveStale(const fs::path& folder, const std::set<fs::path>& written) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && !written.count(entry.path())) fs::remove(entry.path());
}

}  // namespace

GenerateSummary Generate(const GenerateOptions& options) {
  GenerateSummary summary;
  // Read and check every source first: a fault leaves the working folder untouched.
  std::vector<AnimationDesc> animations = LoadAnimationFolder(options.assets / "animations");
  std::vector<SoundRecipe> sounds = LoadSoundFolder(options.assets / "sounds");
  std::vector<Surface> sheets;
  for (const auto& anim : animations) sheets.push_back(RenderSheet(anim));

  fs::create_directories(options.out);
  const fs::path text = options.assets / "game";
  for (const auto& entry : fs::recursive_directory_iterator(text)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = options.out / fs::relative(entry.path(), text);
    ++summary.textFiles;
    // The game rewrites its score file; a rebuild must never put the shipped
    // tables back over the player's.
    std::error_code ec;
    if (entry.path().filename() == "Scores.vths" && fs::exists(target, ec)) continue;
    WriteIfChanged(target, ReadFile(entry.path()));
  }

  // The font map is looked for beside the game's data first.
  if (fs::exists(options.assets / "fonts.conf")) {
    WriteIfChanged(options.out / "fonts.conf", ReadFile(options.assets / "fonts.conf"));
    ++summary.textFiles;
  }

  WriteCollisionTypeFile(options.out / "clsntypes.ctt");

  const fs::path animFolder = options.out / "animations";
  fs::create_directories(animFolder);
  std::set<fs::path> written;
  for (size_t i = 0; i < animations.size(); ++i) {
    fs::path png = animFolder / (animations[i].name + ".png");
    fs::path acd = animFolder / (animations[i].name + ".acd");
    WritePng(sheets[i].get(), png);
    WriteAcd(acd, animations[i]);
    written.insert(png);
    written.insert(acd);
  }
  RemoveStale(animFolder, written);
  summary.animations = static_cast<int>(animations.size());

  // Sounds may change format (a track moved from WAV to Ogg): drop what no recipe wrote.
  std::set<fs::path> soundFolders, soundFiles;
  for (const auto& recipe : sounds) {
    const fs::path target = options.out / recipe.file;
    WriteIfChanged(target, EncodeFor(recipe, Synthesize(recipe)));
    soundFolders.insert(target.parent_path());
    soundFiles.insert(target);
    ++summary.sounds;
  }
  for (const auto& folder : soundFolders)
    if (folder != options.out) RemoveStale(folder, soundFiles);

  if (!options.contactSheet.empty()) {
    std::vector<cairo_surface_t*> raw;
    for (const auto& s : sheets) raw.push_back(s.get());
    WriteContactSheet(animations, raw, options.contactSheet);
  }
  return summary;
}

}  // namespace assetgen
