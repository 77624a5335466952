#include "platform/MixLimiter.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Slower would leave a loud moment's dip too long; faster would make the gain
// follow single waves, which distorts.
constexpr double kReleaseSeconds = 0.1;
// Past this close to one no sample below the ceiling rounds differently, so the
// gain snaps to exactly one and quiet sound passes untouched again.
constexpr double kUnitGainSnap = 0.5 / 32768;

}  // namespace

MixLimiter::MixLimiter(int rate, int channels)
    : m_channels(static_cast<std::size_t>(std::max(channels, 1))),
      m_release(1.0 - std::exp(-1.0 / (kReleaseSeconds * std::max(rate, 1)))) {}

void MixLimiter::Process(std::span<const std::int32_t> mix, std::span<std::int16_t> out) {
  const std::size_t count = std::min(mix.size(), out.size());
  for (std::size_t frame = 0; frame < count; frame += m_channels) {
    const std::size_t end = std::min(frame + m_channels, count);
    if (m_gain < 1.0) {
      m_gain += (1.0 - m_gain) * m_release;
      if (1.0 - m_gain < kUnitGainSnap) m_gain = 1.0;
    }
    // One gain for all channels of a frame keeps the stereo image in place.
    std::int64_t peak = 0;
    for (std::size_t i = frame; i < end; ++i)
      peak = std::max(peak, std::abs(static_cast<std::int64_t>(mix[i])));
    if (static_cast<double>(peak) * m_gain > kCeiling) m_gain = double{kCeiling} / peak;
    for (std::size_t i = frame; i < end; ++i) {
      const long value = m_gain == 1.0 ? mix[i] : std::lround(mix[i] * m_gain);
      out[i] = static_cast<std::int16_t>(std::clamp<long>(value, -kCeiling, kCeiling));
    }
  }
}

}  // namespace platform
