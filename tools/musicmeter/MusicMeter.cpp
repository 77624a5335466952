// Spectra by a plain radix-2 FFT of Hann-windowed frames; loudness from the data build's own
// measure, so the meter and the synthesiser agree on it.
#include "MusicMeter.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <stdexcept>

#include "Loudness.h"

namespace musicmeter {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kFrame = 2048;

void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2 * kPi / static_cast<double>(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> t = 1;
      for (size_t k = 0; k < len / 2; ++k, t *= w) {
        const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * t;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

// Power per FFT bin of the Hann-windowed frame of `signal` starting at `first`.
std::vector<double> PowerSpectrum(const std::vector<double>& signal, size_t first) {
  std::vector<std::complex<double>> a(kFrame);
  for (size_t i = 0; i < kFrame; ++i) {
    const double w = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / kFrame);
    a[i] = first + i < signal.size() ? w * signal[first + i] : 0.0;
  }
  Fft(a);
  std::vector<double> power(kFrame / 2);
  for (size_t k = 0; k < power.size(); ++k) power[k] = std::norm(a[k]);
  return power;
}

std::vector<double> Channel(const Track& t, int c) {
  std::vector<double> out(t.samples.size() / static_cast<size_t>(t.channels));
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = t.samples[i * static_cast<size_t>(t.channels) + static_cast<size_t>(c)];
  return out;
}

double Pearson(const std::vector<double>& a, const std::vector<double>& b) {
  double ma = 0, mb = 0;
  for (size_t i = 0; i < a.size(); ++i) ma += a[i], mb += b[i];
  ma /= static_cast<double>(a.size()), mb /= static_cast<double>(b.size());
  double ab = 0, aa = 0, bb = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 1.0;
}

// Each bar as sixteen slices of log band energies (24 bands from 60 Hz to 16 kHz).
std::vector<std::vector<double>> BarPrints(const std::vector<double>& mono, int rate,
                                           double barSeconds) {
  constexpr int kSlices = 16, kBands = 24;
  std::vector<size_t> edges;
  for (int b = 0; b <= kBands; ++b) {
    const double hz = 60 * std::pow(16000.0 / 60, double(b) / kBands);
    edges.push_back(std::min(kFrame / 2, static_cast<size_t>(hz * kFrame / rate)));
  }
  std::vector<std::vector<double>> prints;
  const double barFrames = barSeconds * rate;
  for (size_t bar = 0; (bar + 1) * barFrames <= static_cast<double>(mono.size()); ++bar) {
    std::vector<double> print;
    for (int s = 0; s < kSlices; ++s) {
      // The slice's whole length, a frame every half frame, so a noisy hit is averaged.
      const auto first =
          static_cast<size_t>((static_cast<double>(bar) + double(s) / kSlices) * barFrames);
      const auto last =
          static_cast<size_t>((static_cast<double>(bar) + double(s + 1) / kSlices) * barFrames);
      std::vector<double> bands(kBands, 0.0);
      for (size_t at = first; at < std::max(first + 1, last); at += kFrame / 2) {
        const std::vector<double> power = PowerSpectrum(mono, at);
        for (int b = 0; b < kBands; ++b)
          for (size_t k = edges[b]; k < std::max(edges[b] + 1, edges[b + 1]); ++k)
            bands[b] += power[k];
      }
      for (double e : bands) print.push_back(e);
    }
    // Decibels, with what lies 50 dB under the bar's strongest band counted as silence, so
    // faint tails don't decide whether two bars sound alike.
    const double top = *std::max_element(print.begin(), print.end());
    for (double& e : print) e = 10 * std::log10(std::max(e, top * 1e-5) + 1e-30);
    prints.push_back(std::move(print));
  }
  return prints;
}

}  // namespace

Track DecodeOgg(const std::filesystem::path& path) {
  OggVorbis_File file;
  if (ov_fopen(path.string().c_str(), &file) != 0)
    throw std::runtime_error(path.string() + ": not an Ogg Vorbis file");
  Track t;
  const vorbis_info* info = ov_info(&file, -1);
  t.rate = static_cast<int>(info->rate);
  t.channels = info->channels;
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long got = ov_read_float(&file, &pcm, 4096, &section);
    if (got < 0) {
      ov_clear(&file);
      throw std::runtime_error(path.string() + ": damaged stream");
    }
    if (got == 0) break;
    for (long i = 0; i < got; ++i)
      for (int c = 0; c < t.channels; ++c) t.samples.push_back(pcm[c][i]);
  }
  ov_clear(&file);
  return t;
}

Measures Measure(const Track& t, double barSeconds) {
  Measures m;
  const size_t frames = t.samples.size() / static_cast<size_t>(t.channels);
  m.seconds = static_cast<double>(frames) / t.rate;
  for (float s : t.samples) m.peak = std::max(m.peak, static_cast<double>(std::fabs(s)));
  const std::vector<double> left = Channel(t, 0), right = Channel(t, t.channels > 1 ? 1 : 0);
  double lr = 0, ll = 0, rr = 0;
  for (size_t i = 0; i < frames; ++i)
    lr += left[i] * right[i], ll += left[i] * left[i], rr += right[i] * right[i];
  m.correlation = ll > 0 && rr > 0 ? lr / std::sqrt(ll * rr) : 1.0;

  const size_t cut = static_cast<size_t>(2000.0 * kFrame / t.rate);
  double high = 0, all = 0;
  for (const auto* channel : {&left, &right})
    for (size_t first = 0; first < frames; first += kFrame / 2) {
      const std::vector<double> power = PowerSpectrum(*channel, first);
      for (size_t k = 1; k < power.size(); ++k) (k >= cut ? high : all) += power[k];
    }
  m.brightShare = high + all > 0 ? high / (high + all) : 0;

  std::vector<double> mono(frames);
  for (size_t i = 0; i < frames; ++i) mono[i] = 0.5 * (left[i] + right[i]);
  const auto prints = BarPrints(mono, t.rate, barSeconds);
  m.bars = static_cast<int>(prints.size());
  int copies = 0;
  for (size_t b = 1; b < prints.size(); ++b)
    for (size_t a = 0; a < b; ++a)
      if (Pearson(prints[a], prints[b]) >= kCopyLikeness) {
        ++copies;
        m.copies.push_back(static_cast<int>(b));
        m.copies.push_back(static_cast<int>(a));
        break;
      }
  m.copiedBars = prints.empty() ? 0 : double(copies) / static_cast<double>(prints.size());
  m.loudness = assetgen::IntegratedLoudness(t.samples, t.rate, t.channels);
  m.loudnessRange = assetgen::LoudnessRange(t.samples, t.rate, t.channels);
  return m;
}

std::vector<std::string> Faults(const Measures& m) {
  std::vector<std::string> faults;
  auto fault = [&faults](bool bad, const std::string& what) {
    if (bad) faults.push_back(what);
  };
  fault(m.seconds < 60, "shorter than 60 s");
  fault(m.correlation < 0.6 || m.correlation > 0.85, "left-right correlation outside 0.6-0.85");
  fault(m.brightShare < 0.05, "under 5 % of its energy above 2 kHz");
  fault(m.copiedBars > 0.25, "more than a quarter of its bars copy earlier ones");
  fault(m.peak >= 1.0, "reaches full scale");
  return faults;
}

}  // namespace musicmeter
