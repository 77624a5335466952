// Builds the game's working folder from assets/: text data, collision types, animations with
// their sheets, sounds and music.
#pragma once

#include <filesystem>

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

}  // namespace assetgen
