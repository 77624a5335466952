// Loudness of a piece as a listener hears it: K-weighted, gated, in LUFS (the broadcast
// loudness measure), and how far it ranges over the piece, in LU.
#pragma once

#include <vector>

namespace assetgen {

// Samples in -1..1, channels interleaved. A silent piece is -70 LUFS.
double IntegratedLoudness(const std::vector<float>& samples, int rate, int channels);
// The spread between the quiet 10 % and the loud 5 % of the piece's 3 s stretches.
double LoudnessRange(const std::vector<float>& samples, int rate, int channels);

}  // namespace assetgen
