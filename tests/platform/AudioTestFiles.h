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

namespace audiotest {

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline void PutLittle(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
}

// A 16-bit mono 440 Hz tone of `milliseconds` at 22050 Hz.
inline void WriteToneWav(const std::filesystem::path& path, int milliseconds) {
  constexpr std::uint32_t kRate = 22050;
  const std::uint32_t frames = kRate * static_cast<std::uint32_t>(milliseconds) / 1000;
  std::string bytes = "RIFF";
  PutLittle(bytes, 36 + frames * 2, 4);
  bytes += "WAVEfmt ";
  const std::pair<std::uint32_t, int> format[] = {{16, 4},        {1, 2}, {1, 2}, {kRate, 4},
                                                  {kRate * 2, 4}, {2, 2}, {16, 2}};  // PCM mono
  for (auto [value, size] : format) PutLittle(bytes, value, size);
  bytes += "data";
  PutLittle(bytes, frames * 2, 4);
  for (std::uint32_t i = 0; i < frames; ++i)
    PutLittle(bytes, static_cast<std::uint16_t>(std::lround(8000 * std::sin(0.1254 * i))), 2);
  WriteBytes(path, bytes);
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
