// assetgen --assets DIR --out DIR [--contact FILE]: generates the game's working folder.
#include <cstdio>
#include <exception>
#include <string>

#include "Generator.h"

int main(int argc, char** argv) {
  assetgen::GenerateOptions options;
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
    } else {
      std::fprintf(stderr, "assetgen: unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  if (options.assets.empty() || options.out.empty()) {
    std::fprintf(stderr, "usage: assetgen --assets DIR --out DIR [--contact FILE]\n");
    return 2;
  }
  try {
    auto summary = assetgen::Generate(options);
    std::printf("assetgen: %d text files, %d animations, %d sounds\n", summary.textFiles,
                summary.animations, summary.sounds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
