// K-weighting (a high shelf for the head's effect, a high pass for the ear's weak bass) and
// the two-stage gate of the broadcast loudness measure.
#include "Loudness.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAbsoluteGate = -70.0;

struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Step(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

// The weighting's two stages for any sample rate, from their analogue prototypes.
Biquad Shelf(int rate) {
  // A 4 dB shelf: vh = 10^(4/20), vb = vh^0.5, written out so that no compiler folds a
  // power of constants its own way and the two builds measure alike.
  const double q = 0.7071752369554196, fc = 1681.974450955533;
  const double vh = 1.5848647011308556, vb = 1.2587209302325617;
  const double k = std::tan(kPi * fc / rate);
  const double a0 = 1 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}
Biquad HighPass(int rate) {
  const double q = 0.5003270373238773, fc = 38.13547087602444;
  const double k = std::tan(kPi * fc / rate), a0 = 1 + k / q + k * k;
  return {1 / a0, -2 / a0, 1 / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}

// Mean square of the weighted signal summed over channels, per block of `window` seconds
// taken every `hop` seconds.
std::vector<double> BlockPowers(const std::vector<float>& samples, int rate, int channels,
                                double window, double hop) {
  const size_t frames = samples.size() / static_cast<size_t>(channels);
  std::vector<double> weighted(frames, 0.0);
  for (int c = 0; c < channels; ++c) {
    Biquad shelf = Shelf(rate), pass = HighPass(rate);
    for (size_t i = 0; i < frames; ++i) {
      const double y = pass.Step(shelf.Step(samples[i * static_cast<size_t>(channels) + c]));
      weighted[i] += y * y;
    }
  }
  // Running sums make every block one subtraction.
  std::vector<double> sum(frames + 1, 0.0);
  for (size_t i = 0; i < frames; ++i) sum[i + 1] = sum[i] + weighted[i];
  const size_t length = static_cast<size_t>(std::lround(window * rate));
  const size_t step = static_cast<size_t>(std::lround(hop * rate));
  std::vector<double> powers;
  for (size_t first = 0; first + length <= frames; first += step)
    powers.push_back((sum[first + length] - sum[first]) / static_cast<double>(length));
  return powers;
}

double ToLufs(double power) { return power > 0 ? -0.691 + 10 * std::log10(power) : -1e9; }

// The mean loudness of the blocks above the absolute gate and above `relative` LU under
// their own mean; returns the kept blocks' loudness in `kept`.
double Gated(const std::vector<double>& powers, double relative, std::vector<double>* kept) {
  double total = 0;
  size_t count = 0;
  for (double p : powers)
    if (ToLufs(p) > kAbsoluteGate) total += p, ++count;
  if (count == 0) return kAbsoluteGate;
  const double gate = ToLufs(total / static_cast<double>(count)) + relative;
  total = 0, count = 0;
  for (double p : powers) {
    if (ToLufs(p) <= kAbsoluteGate || ToLufs(p) <= gate) continue;
    total += p, ++count;
    if (kept) kept->push_back(ToLufs(p));
  }
  return count ? ToLufs(total / static_cast<double>(count)) : kAbsoluteGate;
}

}  // namespace

double IntegratedLoudness(const std::vector<float>& samples, int rate, int channels) {
  return Gated(BlockPowers(samples, rate, channels, 0.4, 0.1), -10, nullptr);
}

double LoudnessRange(const std::vector<float>& samples, int rate, int channels) {
  std::vector<double> kept;
  Gated(BlockPowers(samples, rate, channels, 3.0, 0.1), -20, &kept);
  if (kept.size() < 2) return 0;
  std::sort(kept.begin(), kept.end());
  auto at = [&kept](double share) {
    return kept[static_cast<size_t>(std::lround(share * static_cast<double>(kept.size() - 1)))];
  };
  return at(0.95) - at(0.10);
}

}  // namespace assetgen
