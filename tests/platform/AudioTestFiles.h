// Small sound files written by tests into their own temporary folders.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace audiotest {

// A 16-bit mono tone of `milliseconds` at 22050 Hz.
inline void WriteToneWav(const std::filesystem::path& path, int milliseconds) {
  constexpr std::uint32_t kRate = 22050;
  const std::uint32_t frames = kRate * static_cast<std::uint32_t>(milliseconds) / 1000;
  const std::uint32_t dataBytes = frames * 2;
  std::vector<unsigned char> bytes;
  bytes.reserve(44 + dataBytes);
  auto text = [&bytes](const char* word) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(word[i]));
  };
  auto u32 = [&bytes](std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
  };
  auto u16 = [&bytes](std::uint32_t value) {
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
  };
  text("RIFF");
  u32(36 + dataBytes);
  text("WAVE");
  text("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  text("data");
  u32(dataBytes);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double wave = std::sin(2.0 * 3.14159265358979 * 440.0 * i / kRate);
    u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(wave * 8000.0)));
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The smallest four-channel module: one pattern playing one short looped sample.
inline void WriteTinyModule(const std::filesystem::path& path) {
  std::vector<unsigned char> bytes(20, 0);  // title
  for (int i = 0; i < 31; ++i) {
    unsigned char header[30] = {};
    if (i == 0) {
      header[23] = 16;  // length in words
      header[25] = 64;  // volume
      header[29] = 1;   // loop length in words
    }
    bytes.insert(bytes.end(), header, header + 30);
  }
  bytes.push_back(1);    // song length
  bytes.push_back(127);  // restart
  bytes.insert(bytes.end(), 128, 0);
  for (char c : {'M', '.', 'K', '.'}) bytes.push_back(static_cast<unsigned char>(c));
  std::vector<unsigned char> pattern(1024, 0);
  pattern[0] = 0x10;  // sample 1 ...
  pattern[1] = 0xD6;  // ... at period 214
  bytes.insert(bytes.end(), pattern.begin(), pattern.end());
  for (int i = 0; i < 32; ++i) bytes.push_back(i % 2 ? 100 : 156);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace audiotest
