// The whole generation run.
#include "Generator.h"

#include <algorithm>
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

// The .anim file an animation was read from ("hero.anim:12" names hero.anim).
std::string AnimFileOf(const AnimationDesc& anim) {
  return anim.source.substr(0, anim.source.find(':'));
}

void WriteSheet(const fs::path& animFolder, const AnimationDesc& anim) {
  Surface sheet = RenderSheet(anim);
  fs::create_directories(animFolder);
  WritePng(sheet.get(), animFolder / (anim.name + ".png"));
  WriteAcd(animFolder / (anim.name + ".acd"), anim);
}

// Sounds may change format (a track moved from WAV to Ogg): drop what no recipe writes.
void RemoveStaleSounds(const fs::path& out, const std::vector<SoundRecipe>& sounds) {
  std::set<fs::path> soundFolders, soundFiles;
  for (const auto& recipe : sounds) {
    soundFolders.insert((out / recipe.file).parent_path());
    soundFiles.insert(out / recipe.file);
  }
  for (const auto& folder : soundFolders)
    if (folder != out) RemoveStale(folder, soundFiles);
}

void RemoveStaleSheets(const fs::path& animFolder, const std::vector<AnimationDesc>& animations) {
  std::set<fs::path> written;
  for (const auto& anim : animations) {
    written.insert(animFolder / (anim.name + ".png"));
    written.insert(animFolder / (anim.name + ".acd"));
  }
  RemoveStale(animFolder, written);
}

}  // namespace

GenerateSummary GenerateText(const GenerateOptions& options) {
  GenerateSummary summary;
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
  return summary;
}

std::vector<fs::path> GenerateAnimationFile(const GenerateOptions& options,
                                            const std::string& animFile) {
  const fs::path folder = options.assets / "animations";
  std::vector<AnimationDesc> animations = LoadAnimationFolder(folder);
  std::set<std::string> sources{animFile};
  // A 'copy' line makes this file's sheets depend on the file the copied animation came from.
  std::istringstream lines(ReadFile(folder / animFile));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string directive, name;
    if (!(words >> directive >> name) || directive != "copy") continue;
    for (const auto& anim : animations)
      if (anim.name == name) sources.insert(AnimFileOf(anim));
  }
  bool any = false;
  for (const auto& anim : animations) {
    if (AnimFileOf(anim) != animFile) continue;
    WriteSheet(options.out / "animations", anim);
    any = true;
  }
  if (!any) throw SourceError(animFile + ": no animations in the folder's files come from it");
  std::vector<fs::path> used;
  for (const auto& name : sources) used.push_back(folder / name);
  return used;
}

void GenerateContactSheet(const GenerateOptions& options) {
  std::vector<AnimationDesc> animations = LoadAnimationFolder(options.assets / "animations");
  const fs::path animFolder = options.out / "animations";
  RemoveStaleSheets(animFolder, animations);
  if (options.contactSheet.empty()) return;
  std::vector<Surface> sheets;
  std::vector<cairo_surface_t*> raw;
  for (const auto& anim : animations) {
    const fs::path png = animFolder / (anim.name + ".png");
    sheets.emplace_back(cairo_image_surface_create_from_png(png.string().c_str()));
    if (cairo_surface_status(sheets.back().get()) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error(png.string() + ": cannot read the sheet");
    raw.push_back(sheets.back().get());
  }
  WriteContactSheet(animations, raw, options.contactSheet);
}

void GenerateSound(const GenerateOptions& options, const std::string& file) {
  for (const auto& recipe : LoadSoundFolder(options.assets / "sounds")) {
    if (recipe.file != file) continue;
    WriteIfChanged(options.out / recipe.file, EncodeFor(recipe, Synthesize(recipe)));
    return;
  }
  throw SourceError(file + ": no sound recipe writes this file");
}

void SplitSoundRecipes(const GenerateOptions& options, const fs::path& folder) {
  std::vector<SoundRecipe> sounds = LoadSoundFolder(options.assets / "sounds");
  fs::create_directories(folder);
  for (const auto& recipe : sounds) {
    std::string key = recipe.file;
    std::replace(key.begin(), key.end(), '/', '_');
    WriteIfChanged(folder / (key + ".recipe"), RecipeText(recipe));
  }
  RemoveStaleSounds(options.out, sounds);
}

GenerateSummary Generate(const GenerateOptions& options) {
  // Read and check every source first: a fault leaves the working folder untouched.
  std::vector<AnimationDesc> animations = LoadAnimationFolder(options.assets / "animations");
  std::vector<SoundRecipe> sounds = LoadSoundFolder(options.assets / "sounds");
  std::vector<Surface> sheets;
  for (const auto& anim : animations) sheets.push_back(RenderSheet(anim));

  GenerateSummary summary = GenerateText(options);
  const fs::path animFolder = options.out / "animations";
  fs::create_directories(animFolder);
  for (size_t i = 0; i < animations.size(); ++i) {
    WritePng(sheets[i].get(), animFolder / (animations[i].name + ".png"));
    WriteAcd(animFolder / (animations[i].name + ".acd"), animations[i]);
  }
  RemoveStaleSheets(animFolder, animations);
  summary.animations = static_cast<int>(animations.size());

  for (const auto& recipe : sounds) {
    WriteIfChanged(options.out / recipe.file, EncodeFor(recipe, Synthesize(recipe)));
    ++summary.sounds;
  }
  RemoveStaleSounds(options.out, sounds);

  if (!options.contactSheet.empty()) {
    std::vector<cairo_surface_t*> raw;
    for (const auto& s : sheets) raw.push_back(s.get());
    WriteContactSheet(animations, raw, options.contactSheet);
  }
  return summary;
}

}  // namespace assetgen
