// vantrel_musicmeter --assets DIR --game DIR [--check] [--copies] [music/NAME.ogg ...]
// Prints, per track of the game's music (all of them unless named): length, left-right
// correlation, share of energy above 2 kHz, share of bars copying an earlier bar, loudness,
// loudness range and peak. With --check it exits 1 when a track misses what finished music
// must reach, or when the tracks' loudness differs by more than 2 LU. --copies lists which
// bars copy which.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "MusicMeter.h"
#include "SoundSynth.h"

int main(int argc, char** argv) {
  std::filesystem::path assets, game;
  std::vector<std::string> named;
  bool check = false, listCopies = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--check") {
      check = true;
    } else if (arg == "--copies") {
      listCopies = true;
    } else if ((arg == "--assets" || arg == "--game") && i + 1 < argc) {
      (arg == "--assets" ? assets : game) = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      std::fprintf(stderr, "vantrel_musicmeter: unknown option %s\n", arg.c_str());
      return 2;
    } else {
      named.push_back(arg);
    }
  }
  if (assets.empty() || game.empty()) {
    std::fprintf(stderr, "usage: vantrel_musicmeter --assets DIR --game DIR [--check] [--copies] [TRACK...]\n");
    return 2;
  }
  try {
    bool failed = false;
    double quietest = 1e9, loudest = -1e9;
    std::printf("%-24s %6s %6s %7s %7s %7s %5s %6s\n", "track", "s", "corr", ">2kHz", "copied",
                "LUFS", "LRA", "peak");
    for (const auto& recipe : assetgen::LoadSoundFolder(assets / "sounds")) {
      if (!recipe.music) continue;
      if (!named.empty() && std::find(named.begin(), named.end(), recipe.file) == named.end())
        continue;
      const auto m = musicmeter::Measure(musicmeter::DecodeOgg(game / recipe.file),
                                         4 * 60.0 / recipe.bpm);
      std::printf("%-24s %6.1f %6.3f %6.1f%% %6.1f%% %7.1f %5.1f %6.3f\n", recipe.file.c_str(),
                  m.seconds, m.correlation, 100 * m.brightShare, 100 * m.copiedBars, m.loudness,
                  m.loudnessRange, m.peak);
      if (listCopies && !m.copies.empty()) {
        std::printf("  copies (bar<-earlier bar):");
        for (size_t i = 0; i < m.copies.size(); i += 2)
          std::printf(" %d<-%d", m.copies[i], m.copies[i + 1]);
        std::printf("\n");
      }
      quietest = std::min(quietest, m.loudness);
      loudest = std::max(loudest, m.loudness);
      for (const auto& fault : musicmeter::Faults(m)) {
        std::printf("  %s: %s\n", recipe.file.c_str(), fault.c_str());
        failed = true;
      }
    }
    if (loudest - quietest > 2) {
      std::printf("  the tracks' loudness differs by %.1f LU, more than 2\n", loudest - quietest);
      failed = true;
    }
    return check && failed ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantrel_musicmeter: %s\n", e.what());
    return 1;
  }
}
