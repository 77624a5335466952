// assetgen --assets DIR --out DIR [--contact FILE] [--part PART [--stamp FILE] [--depfile FILE]]
// generates the game's working folder, whole or one group of it at a time:
//   text                 the text data, the font map and the collision types
//   animations:FILE.anim the sheets of one animation source file
//   contact              the contact sheet from the sheets already written
//   sound:FILE           the one sound or track written to FILE
//   recipes:DIR          each sound recipe's content, for telling which sounds changed
// --stamp is touched when the part succeeds; --depfile lists the sources it read for it.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "Generator.h"

namespace {

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

void WriteDepfile(const std::string& depfile, const std::string& stamp,
                  const std::vector<std::filesystem::path>& sources) {
  if (depfile.empty()) return;
  std::ofstream out(depfile, std::ios::binary | std::ios::trunc);
  out << stamp << ":";
  for (const auto& source : sources) out << " " << source.string();
  out << "\n";
  if (!out) throw std::runtime_error(depfile + ": cannot write");
}

void RunPart(const assetgen::GenerateOptions& options, const std::string& part,
             const std::string& stamp, const std::string& depfile) {
  if (part == "text") {
    assetgen::GenerateText(options);
  } else if (StartsWith(part, "animations:")) {
    WriteDepfile(depfile, stamp,
                 assetgen::GenerateAnimationFile(options, part.substr(part.find(':') + 1)));
  } else if (part == "contact") {
    assetgen::GenerateContactSheet(options);
  } else if (StartsWith(part, "sound:")) {
    assetgen::GenerateSound(options, part.substr(part.find(':') + 1));
  } else if (StartsWith(part, "recipes:")) {
    assetgen::SplitSoundRecipes(options, part.substr(part.find(':') + 1));
  } else {
    throw std::runtime_error("unknown part '" + part + "'");
  }
  if (!stamp.empty() && !std::ofstream(stamp, std::ios::trunc))
    throw std::runtime_error(stamp + ": cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  assetgen::GenerateOptions options;
  std::string part, stamp, depfile;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "assetgen: %s needs a value\n", arg.c_str());
      return 2;
    }
    if (arg == "--assets") {
      options.assets = argv[++i];
    } else if (arg == "--out") {
      options.out = argv[++i];
    } else if (arg == "--contact") {
      options.contactSheet = argv[++i];
    } else if (arg == "--part") {
      part = argv[++i];
    } else if (arg == "--stamp") {
      stamp = argv[++i];
    } else if (arg == "--depfile") {
      depfile = argv[++i];
    } else {
      std::fprintf(stderr, "assetgen: unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  if (options.assets.empty() || options.out.empty()) {
    std::fprintf(stderr,
                 "usage: assetgen --assets DIR --out DIR [--contact FILE] [--part PART "
                 "[--stamp FILE] [--depfile FILE]]\n");
    return 2;
  }
  try {
    if (!part.empty()) {
      RunPart(options, part, stamp, depfile);
      return 0;
    }
    auto summary = assetgen::Generate(options);
    std::printf("assetgen: %d text files, %d animations, %d sounds\n", summary.textFiles,
                summary.animations, summary.sounds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
