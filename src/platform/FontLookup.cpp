#include "platform/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The game's configuration: the system one plus fonts.conf, built once per run.
struct FontConfiguration {
  FontConfiguration() = default;
  FontConfiguration(FontConfiguration&& other) noexcept
      : config(std::exchange(other.config, nullptr)),
        path(std::move(other.path)),
        files(std::move(other.files)) {}
  ~FontConfiguration() {
    if (config != nullptr) FcConfigDestroy(config);
  }

  FcConfig* config = nullptr;
  std::string path;
  std::map<std::string, std::string> files;      // face -> file, for faces found
  std::map<std::string, std::string> fallbacks;  // face -> what stands in, when not its own
};

std::string LocateGameConfig() {
  std::vector<std::string> candidates;
  if (const char* override = std::getenv("VANTREL_FONTS_CONF")) candidates.push_back(override);
  candidates.push_back("fonts.conf");  // beside the game's data in its working folder
#ifdef VANTREL_ASSETS_DIR
  candidates.push_back(std::string(VANTREL_ASSETS_DIR) + "/fonts.conf");
#endif
  std::error_code ignored;
  for (const std::string& candidate : candidates) {
    if (std::filesystem::is_regular_file(candidate, ignored)) {
      return std::filesystem::absolute(candidate, ignored).string();
    }
  }
  return {};
}

FontConfiguration& Configuration() {
  static FontConfiguration configuration = [] {
    FontConfiguration result;
    result.config = FcInitLoadConfig();
    result.path = LocateGameConfig();
    if (result.config != nullptr && !result.path.empty() &&
        FcConfigParseAndLoad(result.config, reinterpret_cast<const FcChar8*>(result.path.c_str()),
                             FcTrue) == FcFalse) {
      std::fprintf(stderr, "%s: cannot load the font configuration; using the system fonts\n",
                   result.path.c_str());
      result.path.clear();
    } else if (result.path.empty()) {
      std::fprintf(stderr, "fonts.conf not found; text uses the system's font choices\n");
    }
    if (result.config != nullptr) FcConfigBuildFonts(result.config);
    return result;
  }();
  return configuration;
}

// Which family the face asks for once the game's configuration has mapped it, and,
// when the file found belongs to another family, a line saying so.
std::string FallbackNote(const std::string& face, FcPattern* pattern, FcPattern* match) {
  FcChar8* wanted = nullptr;
  if (FcPatternGetString(pattern, FC_FAMILY, 0, &wanted) != FcResultMatch) return {};
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(family, wanted) == 0) return {};
  }
  const std::string asked = reinterpret_cast<const char*>(wanted);
  std::string found = "another face";
  if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
    found = "\"" + std::string(reinterpret_cast<const char*>(family)) + "\"";
  }
  std::string note = "the font face \"" + face + "\"";
  if (asked != face) note += " asks for \"" + asked + "\", which";
  return note + " is not installed; " + found + " stands in, so text looks and measures otherwise";
}

}  // namespace

std::string FontConfigPath() {
  return Configuration().path;
}

bool FindFontFile(const std::string& face, std::string& path, std::string& error) {
  FontConfiguration& configuration = Configuration();
  if (configuration.config == nullptr) {
    error = "fontconfig could not be initialised";
    return false;
  }
  if (auto found = configuration.files.find(face); found != configuration.files.end()) {
    path = found->second;
    return true;
  }
  // The face is a family name as given, never parsed: GDI took it the same way.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(configuration.config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(configuration.config, pattern, &result);
  FcChar8* file = nullptr;
  if (match == nullptr || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    error = "no font file found for the face \"" + face + "\"";
    return false;
  }
  path = reinterpret_cast<const char*>(file);
  const std::string note = FallbackNote(face, pattern, match);
  FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  configuration.files.emplace(face, path);
  if (!note.empty()) {
    // Told once per face: the lookup is remembered.
    std::fprintf(stderr, "%s\n", note.c_str());
    configuration.fallbacks.emplace(face, note);
  }
  return true;
}

std::string FontFallback(const std::string& face) {
  std::string path, error;
  if (!FindFontFile(face, path, error)) return error;
  const auto found = Configuration().fallbacks.find(face);
  return found == Configuration().fallbacks.end() ? std::string() : found->second;
}

}  // namespace platform
