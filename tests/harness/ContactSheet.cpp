#include "harness/ContactSheet.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>

#include "harness/GameHarness.h"
#include "platform/Image.h"

namespace testharness {

ContactSheet::ContactSheet()
    : ContactSheet(GameHarness::kScreenWidth, GameHarness::kScreenHeight) {}

ContactSheet::ContactSheet(int frameWidth, int frameHeight)
    : m_frameWidth(frameWidth), m_frameHeight(frameHeight) {}

bool ContactSheet::Add(const std::vector<std::uint32_t>& argb) {
  if (argb.size() != static_cast<std::size_t>(m_frameWidth) * m_frameHeight) return false;
  const int width = TileWidth();
  const int height = TileHeight();
  std::vector<std::uint32_t> tile(static_cast<std::size_t>(width) * height);
  // A mean rather than every fourth pixel, so thin lines and small sprites stay visible.
  for (int ty = 0; ty < height; ++ty) {
    for (int tx = 0; tx < width; ++tx) {
      std::uint32_t sum[4] = {};
      for (int y = ty * kShrink; y < (ty + 1) * kShrink; ++y) {
        for (int x = tx * kShrink; x < (tx + 1) * kShrink; ++x) {
          const std::uint32_t pixel = argb[static_cast<std::size_t>(y) * m_frameWidth + x];
          for (int c = 0; c < 4; ++c) sum[c] += (pixel >> (8 * c)) & 0xFFu;
        }
      }
      std::uint32_t mean = 0;
      for (int c = 0; c < 4; ++c) mean |= (sum[c] / (kShrink * kShrink)) << (8 * c);
      tile[static_cast<std::size_t>(ty) * width + tx] = mean;
    }
  }
  m_tiles.push_back(std::move(tile));
  return true;
}

std::pair<int, int> ContactSheet::TileAt(int i) const {
  return {(i % kPerRow) * TileWidth(), (i / kPerRow) * TileHeight()};
}

int ContactSheet::Width() const {
  return std::min(Tiles(), kPerRow) * TileWidth();
}

int ContactSheet::Height() const {
  return (Tiles() + kPerRow - 1) / kPerRow * TileHeight();
}

std::vector<std::uint32_t> ContactSheet::Pixels() const {
  const int sheetWidth = Width();
  std::vector<std::uint32_t> sheet(static_cast<std::size_t>(sheetWidth) * Height(), 0xFF000000u);
  const int width = TileWidth();
  for (int i = 0; i < Tiles(); ++i) {
    const auto [left, top] = TileAt(i);
    for (int y = 0; y < TileHeight(); ++y) {
      const auto row = m_tiles[i].begin() + static_cast<std::ptrdiff_t>(y) * width;
      std::copy(row, row + width,
                sheet.begin() + static_cast<std::ptrdiff_t>(top + y) * sheetWidth + left);
    }
  }
  return sheet;
}

bool ContactSheet::Save(const std::string& path, std::string& error) const {
  if (m_tiles.empty()) {
    error = path + ": no frames to put on the sheet";
    return false;
  }
  // A sheet is asked for by name, often under a build folder not yet made.
  std::error_code made;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, made);
  const std::vector<std::uint32_t> pixels = Pixels();
  return platform::SavePng(path, Width(), Height(), pixels.data(), error);
}

}  // namespace testharness
