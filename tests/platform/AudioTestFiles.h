// Small sound files written by tests into their own temporary folders, and a
// wait that polls for an outcome without asserting on how long it took.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace audiotest {

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline void PutLittle(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
}

// 16-bit PCM with `channels` interleaved channels at `rate` Hz.
inline void WritePcmWav(const std::filesystem::path& path, std::uint32_t rate,
                        std::uint32_t channels, const std::vector<std::int16_t>& samples) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string bytes = "RIFF";
  PutLittle(bytes, 36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  const std::pair<std::uint32_t, int> format[] = {
      {16, 4},           {1, 2}, {channels, 2}, {rate, 4}, {rate * channels * 2, 4},
      {channels * 2, 2}, {16, 2}};
  for (auto [value, size] : format) PutLittle(bytes, value, size);
  bytes += "data";
  PutLittle(bytes, dataBytes, 4);
  for (std::int16_t sample : samples) PutLittle(bytes, static_cast<std::uint16_t>(sample), 2);
  WriteBytes(path, bytes);
}

// A 16-bit mono 440 Hz tone of `milliseconds` at 22050 Hz.
inline void WriteToneWav(const std::filesystem::path& path, int milliseconds) {
  constexpr std::uint32_t kRate = 22050;
  const std::uint32_t frames = kRate * static_cast<std::uint32_t>(milliseconds) / 1000;
  std::vector<std::int16_t> samples;
  for (std::uint32_t i = 0; i < frames; ++i)
    samples.push_back(static_cast<std::int16_t>(std::lround(8000 * std::sin(0.1254 * i))));
  WritePcmWav(path, kRate, 1, samples);
}

// Runs `step` until `done` holds or a generous deadline passes.
template <typename Done, typename Step>
bool PollUntil(Done done, Step step) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

}  // namespace audiotest
