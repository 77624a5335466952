// A contact sheet of a run for a person to look through: frames shrunk to a quarter of
// their size, ten to a row in the order they were added, saved as one PNG.
//
//   testharness::ContactSheet sheet;
//   if (frame % testharness::kSheetEvery == 0) sheet.Add(game.ReadFrame());
//   sheet.Save("junkyard.png", error);
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testharness {

// Every this many frames a run puts one on its sheet, unless told otherwise.
constexpr int kSheetEvery = 120;

class ContactSheet {
 public:
  static constexpr int kShrink = 4;  // each side of a frame shrinks by this
  static constexpr int kPerRow = 10;

  // Frames of the screen's size unless told otherwise; each side a multiple of kShrink.
  ContactSheet();
  ContactSheet(int frameWidth, int frameHeight);

  // Adds a frame of frameWidth x frameHeight ARGB pixels, row by row, after the others;
  // each tile pixel is the mean of the kShrink x kShrink pixels it stands for. A frame of
  // another size (an empty one when no device opened) is left out, and false returned.
  bool Add(const std::vector<std::uint32_t>& argb);

  int Tiles() const { return static_cast<int>(m_tiles.size()); }
  int TileWidth() const { return m_frameWidth / kShrink; }
  int TileHeight() const { return m_frameHeight / kShrink; }
  // The top-left corner of tile i on the sheet.
  std::pair<int, int> TileAt(int i) const;
  // As wide as its longest row and as tall as its rows; 0 x 0 when empty.
  int Width() const;
  int Height() const;
  // The sheet as ARGB pixels, row by row; places after the last tile are opaque black.
  std::vector<std::uint32_t> Pixels() const;
  // Writes the sheet; false with `error` set when it is empty or cannot be written.
  bool Save(const std::string& path, std::string& error) const;

 private:
  int m_frameWidth;
  int m_frameHeight;
  std::vector<std::vector<std::uint32_t>> m_tiles;
};

}  // namespace testharness
