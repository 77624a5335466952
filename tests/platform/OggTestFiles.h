// Ogg Vorbis files written by tests into their own temporary folders, with the
// asset tools' encoder.
#pragma once

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <vector>

#include "SoundSynth.h"
#include "platform/AudioTestFiles.h"

namespace audiotest {

// Ogg Vorbis of `seconds` with `channels` channels at `rate` Hz; `wave` gives
// each sample (-1..1) from its frame and channel.
inline void WriteOgg(const std::filesystem::path& path, double seconds, int channels, int rate,
                     const std::function<float(int frame, int channel)>& wave) {
  std::vector<float> samples;
  const int frames = static_cast<int>(seconds * rate);
  for (int frame = 0; frame < frames; ++frame)
    for (int channel = 0; channel < channels; ++channel) samples.push_back(wave(frame, channel));
  WriteBytes(path, assetgen::EncodeOgg(samples, rate, channels, 0.4f));
}

// A stereo tone at `level` of full scale, a fifth apart between the sides, so
// every frame differs from its neighbours and the sides differ from each other.
inline void WriteToneOgg(const std::filesystem::path& path, double seconds, float level = 0.5f,
                         int rate = 44100) {
  WriteOgg(path, seconds, 2, rate, [level, rate](int frame, int channel) {
    const double hz = channel == 0 ? 440.0 : 660.0;
    return static_cast<float>(level * std::sin(2 * std::numbers::pi * hz * frame / rate));
  });
}

}  // namespace audiotest
