// Builds the game's working folder from assets/: text data, collision types, animations with
// their sheets, sounds and music.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

struct GenerateOptions {
  std::filesystem::path assets;        // the assets/ folder
  std::filesystem::path out;           // the working folder to fill
  std::filesystem::path contactSheet;  // overview PNG of every animation; empty for none
};

struct GenerateSummary {
  int textFiles = 0;
  int animations = 0;
  int sounds = 0;
};

// Everything is checked before the first file is written. Throws SourceError (data faults,
// with file and line) or std::runtime_error (output faults).
GenerateSummary Generate(const GenerateOptions& options);

// The same folder in groups, so a build redoes only what a changed source feeds. Each group
// still reads and checks every source first.
// The text data, the font map and the collision types.
GenerateSummary GenerateText(const GenerateOptions& options);
// The sheets of the animations one .anim file (a name in assets/animations) defines; returns
// the .anim files they were made from (their own and those they copy from).
std::vector<std::filesystem::path> GenerateAnimationFile(const GenerateOptions& options,
                                                         const std::string& animFile);
// The contact sheet, drawn from the sheets already in the working folder; drops the sheets
// of animations that no longer exist.
void GenerateContactSheet(const GenerateOptions& options);
// The one sound or track written to `file` (a path in the working folder).
void GenerateSound(const GenerateOptions& options, const std::string& file);
// Writes each sound recipe's content to `folder`/<file with '/' as '_'>.recipe, only where it
// changed, so a rebuild can tell which sounds an edit touched; drops sounds no recipe makes.
void SplitSoundRecipes(const GenerateOptions& options, const std::filesystem::path& folder);

}  // namespace assetgen
