// The last stage of the sound output. Everything playing is summed at full
// precision first; the limiter then turns the sum into 16-bit samples without
// ever reaching full scale. When a frame would pass the ceiling the gain drops at
// once to fit it, then climbs back with a time constant of a tenth of a second,
// so a loud moment gets quieter instead of clipping. Below the ceiling, with the
// gain back at one, samples pass unchanged: a single sound keeps its exact level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

class MixLimiter {
 public:
  // 0.95 of full scale: above the loudest single sound (the game's sounds are made
  // to peak at 0.9, at most 30,617 once resampled for output), so only
  // overlapping sounds are ever limited.
  static constexpr int kCeiling = 31128;

  // `channels` interleaved channels at `rate` frames per second.
  MixLimiter(int rate, int channels);

  // Limits `mix` into `out` (the same length, whole frames).
  void Process(std::span<const std::int32_t> mix, std::span<std::int16_t> out);
  double Gain() const { return m_gain; }

 private:
  std::size_t m_channels;
  double m_release;  // share of the way back to unit gain covered per frame
  double m_gain = 1.0;
};

}  // namespace platform
