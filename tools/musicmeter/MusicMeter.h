// Measures what a listener hears in a stereo track: how wide, how bright, how much of it
// repeats, how loud and how far its loudness ranges.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace musicmeter {

struct Track {
  std::vector<float> samples;  // interleaved, -1..1
  int rate = 0, channels = 0;
};

// Throws std::runtime_error naming the file when it is not an Ogg Vorbis stream.
Track DecodeOgg(const std::filesystem::path& path);

struct Measures {
  double seconds = 0;
  double correlation = 0;    // left against right over the whole track, 1 for mono
  double brightShare = 0;    // share of the energy above 2 kHz
  double copiedBars = 0;     // share of bars that sound like an earlier bar
  int bars = 0;
  std::vector<int> copies;   // each copying bar (from 0) and the bar it copies, in pairs
  double loudness = 0;       // integrated, LUFS
  double loudnessRange = 0;  // LU
  double peak = 0;           // largest sample, 1 = full scale
};

// A bar is `barSeconds` long; it counts as a copy when its spectrum over time matches an
// earlier bar's (a correlation of at least kCopyLikeness).
constexpr double kCopyLikeness = 0.95;
Measures Measure(const Track& track, double barSeconds);

// What a finished track must reach; each fault as a sentence, empty when all hold.
std::vector<std::string> Faults(const Measures& m);

}  // namespace musicmeter
