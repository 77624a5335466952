// Readers for the tests of the generated working folder: animation files, PNG sizes and
// whitespace tokens. They check bounds as they go, so a damaged file fails a test instead
// of crashing it.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace generated {

struct Polygon {
  int type = 0;
  struct Vertex {
    float x, y, radius;
  };
  std::vector<Vertex> vertices;
};

struct Frame {
  float offsetX = 0, offsetY = 0;
  int next = 0, ticks = 0;
  std::vector<Polygon> polygons;
  std::string sound;
};

struct Acd {
  std::string name;
  float width = 0, height = 0;
  std::vector<Frame> frames;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot open");
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

class Cursor {
 public:
  explicit Cursor(const std::string& bytes) : m_bytes(bytes) {}
  template <typename T>
  T Get() {
    if (m_at + sizeof(T) > m_bytes.size()) throw std::runtime_error("file ends early");
    T value;
    std::memcpy(&value, m_bytes.data() + m_at, sizeof(T));
    m_at += sizeof(T);
    return value;
  }
  std::string String() {
    auto end = m_bytes.find('\0', m_at);
    if (end == std::string::npos) throw std::runtime_error("unterminated string");
    std::string s = m_bytes.substr(m_at, end - m_at);
    m_at = end + 1;
    return s;
  }
  std::uint32_t Count(std::uint32_t limit) {
    auto n = Get<std::uint32_t>();
    if (n > limit) throw std::runtime_error("implausible count");
    return n;
  }
  bool AtEnd() const { return m_at == m_bytes.size(); }

 private:
  const std::string& m_bytes;
  size_t m_at = 0;
};

inline Acd ReadAcd(const std::filesystem::path& path) {
  std::string bytes = ReadBytes(path);
  Cursor c(bytes);
  Acd acd;
  acd.name = c.String();
  acd.width = c.Get<float>();
  acd.height = c.Get<float>();
  std::uint32_t frames = c.Count(4096);
  for (std::uint32_t f = 0; f < frames; ++f) {
    Frame frame;
    frame.offsetX = c.Get<float>();
    frame.offsetY = c.Get<float>();
    frame.next = c.Get<std::int32_t>();
    frame.ticks = c.Get<std::int32_t>();
    std::uint32_t polygons = c.Count(4096);
    for (std::uint32_t p = 0; p < polygons; ++p) {
      Polygon polygon;
      polygon.type = c.Get<std::int32_t>();
      std::uint32_t vertices = c.Count(4096);
      for (std::uint32_t v = 0; v < vertices; ++v) {
        float x = c.Get<float>(), y = c.Get<float>(), r = c.Get<float>();
        polygon.vertices.push_back({x, y, r});
      }
      frame.polygons.push_back(polygon);
    }
    frame.sound = c.String();
    acd.frames.push_back(frame);
  }
  if (!c.AtEnd()) throw std::runtime_error(path.string() + ": bytes after the last frame");
  return acd;
}

// Width and height from a PNG's header.
inline std::pair<int, int> PngSize(const std::filesystem::path& path) {
  std::string bytes = ReadBytes(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    throw std::runtime_error(path.string() + ": not a PNG");
  auto be32 = [&](size_t at) {
    return (std::uint8_t(bytes[at]) << 24) | (std::uint8_t(bytes[at + 1]) << 16) |
           (std::uint8_t(bytes[at + 2]) << 8) | std::uint8_t(bytes[at + 3]);
  };
  return {static_cast<int>(be32(16)), static_cast<int>(be32(20))};
}

// Whitespace tokens, read one at a time, failing the read when the file runs out.
class Tokens {
 public:
  explicit Tokens(const std::filesystem::path& path) : m_in(path), m_path(path) {
    if (!m_in) throw std::runtime_error(path.string() + ": cannot open");
  }
  std::string Word() {
    std::string w;
    if (!(m_in >> w)) throw std::runtime_error(m_path.string() + ": ends early");
    return w;
  }
  long Int() {
    std::string w = Word();
    size_t used = 0;
    long v = std::stol(w, &used);
    if (used != w.size()) throw std::runtime_error(m_path.string() + ": '" + w + "' is no integer");
    return v;
  }
  double Float() {
    std::string w = Word();
    size_t used = 0;
    double v = std::stod(w, &used);
    if (used != w.size()) throw std::runtime_error(m_path.string() + ": '" + w + "' is no number");
    return v;
  }
  bool AtEnd() {
    std::string w;
    return !(m_in >> w);
  }

 private:
  std::ifstream m_in;
  std::filesystem::path m_path;
};

}  // namespace generated
