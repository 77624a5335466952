// A font face at one pixel size (SDL_ttf, no kerning), with the glyphs it has
// drawn kept as textures. Text is ANSI (Windows-1252) bytes; a newline starts a
// new line.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Texture.h"

namespace platform {

class Gfx;

class Font {
 public:
  // The largest em height a font is opened at.
  static constexpr int kMaxPixelHeight = 2048;

  // Opens the file fontconfig picks for `face` with an em height of `pixelHeight`
  // pixels. Null with a reason in `error` when it can't.
  static std::unique_ptr<Font> Open(const std::string& face, int pixelHeight, std::string& error);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const std::string& File() const { return m_file; }
  int PixelHeight() const { return m_pixelHeight; }
  // One line's height: ascent plus descent.
  int Height() const { return m_height; }
  int Ascent() const { return m_ascent; }
  // The advance width of one character.
  int Advance(unsigned char c);

  // Width: the widest line's sum of advances; height: lines x Height().
  void Measure(const std::string& text, int& width, int& height);
  // Draws `text` with the top-left of its first line at (x, y), glyph coverage
  // as the alpha of `argb`'s colour. Clipping is the caller's.
  void Draw(Gfx& gfx, int x, int y, const std::string& text, std::uint32_t argb);
  // Renders the glyphs of `text` that `gfx` has not had yet, drawing nothing, so
  // that a later Draw of the same characters finds them ready.
  void Prepare(Gfx& gfx, const std::string& text);
  // Glyphs rendered since the font opened, for tests.
  int RenderedGlyphCount() const { return m_renderedGlyphs; }

 private:
  struct Glyph {
    bool measured = false;
    int advance = 0;
    int left = 0;  // where the pen position lies inside the rendered glyph
    std::unique_ptr<Texture> texture;
    bool rendered = false;  // tried on the current device
  };

  Font() = default;
  Glyph& Measured(unsigned char c);
  void Render(Gfx& gfx, unsigned char c, Glyph& glyph);
  // The glyph of `c` with its texture on `gfx`, rendered on first use.
  Glyph& Ready(Gfx& gfx, unsigned char c);
  // Forgets glyphs rendered on another device.
  void UseDevice(const Gfx& gfx);

  void* m_font = nullptr;  // TTF_Font
  std::string m_file;
  int m_pixelHeight = 0;
  int m_height = 0;
  int m_ascent = 0;
  const Gfx* m_glyphDevice = nullptr;  // the device the glyph textures belong to
  std::array<Glyph, 256> m_glyphs;
  int m_renderedGlyphs = 0;
};

// The Unicode character of a Windows-1252 byte.
std::uint32_t CodePointOf(unsigned char c);

}  // namespace platform
