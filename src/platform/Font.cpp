#include "platform/Font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <vector>

#include "platform/FontLookup.h"
#include "platform/Gfx.h"

namespace platform {

namespace {

TTF_Font* AsFont(void* handle) {
  return static_cast<TTF_Font*>(handle);
}

// Windows-1252's 0x80..0x9F; the rest of the bytes are their own code points.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Characters that take no room and draw nothing.
bool IsInvisible(unsigned char c) {
  return c == '\r' || c == '\n' || c == 0;
}

}  // namespace

std::uint32_t CodePointOf(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighControls[c - 0x80];
  return c;
}

std::unique_ptr<Font> Font::Open(const std::string& face, int pixelHeight, std::string& error) {
  if (pixelHeight <= 0 || pixelHeight > kMaxPixelHeight) {
    error = "font height " + std::to_string(pixelHeight) + " is out of range";
    return nullptr;
  }
  std::string file;
  if (!FindFontFile(face, file, error)) return nullptr;
  if (TTF_Init() != 0) {
    error = std::string("cannot start the font renderer (") + TTF_GetError() + ")";
    return nullptr;
  }
  // At 72 dots per inch a point is a pixel, so the em is exactly pixelHeight.
  TTF_Font* handle = TTF_OpenFontDPI(file.c_str(), pixelHeight, 72, 72);
  if (handle == nullptr) {
    error = file + ": cannot open the font (" + TTF_GetError() + ")";
    TTF_Quit();
    return nullptr;
  }
  TTF_SetFontKerning(handle, 0);
  std::unique_ptr<Font> font(new Font());
  font->m_font = handle;
  font->m_file = file;
  font->m_pixelHeight = pixelHeight;
  font->m_height = TTF_FontHeight(handle);
  font->m_ascent = TTF_FontAscent(handle);
  return font;
}

Font::~Font() {
  for (Glyph& glyph : m_glyphs) glyph.texture.reset();
  if (m_font != nullptr) {
    TTF_CloseFont(AsFont(m_font));
    TTF_Quit();
  }
}

Font::Glyph& Font::Measured(unsigned char c) {
  Glyph& glyph = m_glyphs[c];
  if (!glyph.measured) {
    glyph.measured = true;
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (!IsInvisible(c) && TTF_GlyphMetrics32(AsFont(m_font), CodePointOf(c), &minX, &maxX, &minY,
                                              &maxY, &advance) == 0) {
      glyph.advance = advance;
      // A glyph reaching left of its pen position is rendered shifted right by as much.
      glyph.left = std::max(0, -minX);
    }
  }
  return glyph;
}

int Font::Advance(unsigned char c) {
  return Measured(c).advance;
}

void Font::Measure(const std::string& text, int& width, int& height) {
  int lines = 1;
  int lineWidth = 0;
  width = 0;
  for (unsigned char c : text) {
    if (c == '\n') {
      ++lines;
      lineWidth = 0;
      continue;
    }
    lineWidth += Advance(c);
    width = std::max(width, lineWidth);
  }
  height = lines * m_height;
}

void Font::Render(Gfx& gfx, unsigned char c, Glyph& glyph) {
  glyph.rendered = true;
  ++m_renderedGlyphs;
  glyph.texture.reset();
  if (IsInvisible(c)) return;
  SDL_Surface* surface =
      TTF_RenderGlyph32_Blended(AsFont(m_font), CodePointOf(c), SDL_Color{255, 255, 255, 255});
  if (surface == nullptr) return;
  SDL_Surface* argb = surface;
  if (surface->format->format != SDL_PIXELFORMAT_ARGB8888) {
    argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (argb == nullptr) return;
  }
  if (argb->w > 0 && argb->h > 0 && argb->pitch % 4 == 0) {
    std::string ignored;
    glyph.texture =
        gfx.CreateTexture(argb->w, argb->h, static_cast<const std::uint32_t*>(argb->pixels),
                          argb->pitch / 4, ignored);
  }
  SDL_FreeSurface(argb);
}

void Font::UseDevice(const Gfx& gfx) {
  if (m_glyphDevice == &gfx) return;
  // Glyphs drawn on another device are useless here.
  for (Glyph& glyph : m_glyphs) {
    glyph.texture.reset();
    glyph.rendered = false;
  }
  m_glyphDevice = &gfx;
}

Font::Glyph& Font::Ready(Gfx& gfx, unsigned char c) {
  Glyph& glyph = Measured(c);
  if (!glyph.rendered || (glyph.texture && glyph.texture->Device() != &gfx)) {
    Render(gfx, c, glyph);
  }
  return glyph;
}

void Font::Prepare(Gfx& gfx, const std::string& text) {
  UseDevice(gfx);
  for (unsigned char c : text) {
    if (c != '\n') Ready(gfx, c);
  }
}

void Font::Draw(Gfx& gfx, int x, int y, const std::string& text, std::uint32_t argb) {
  UseDevice(gfx);
  int penX = x;
  int top = y;
  for (unsigned char c : text) {
    if (c == '\n') {
      penX = x;
      top += m_height;
      continue;
    }
    Glyph& glyph = Ready(gfx, c);
    if (glyph.texture) {
      const float left = static_cast<float>(penX - glyph.left);
      const float right = left + static_cast<float>(glyph.texture->Width());
      const float upper = static_cast<float>(top);
      const float lower = upper + static_cast<float>(glyph.texture->Height());
      // The device takes Direct3D positions, whose pixel edges lie at -0.5.
      const GfxVertex corners[4] = {{left - 0.5f, upper - 0.5f, argb, 0.0f, 0.0f},
                                    {right - 0.5f, upper - 0.5f, argb, 1.0f, 0.0f},
                                    {right - 0.5f, lower - 0.5f, argb, 1.0f, 1.0f},
                                    {left - 0.5f, lower - 0.5f, argb, 0.0f, 1.0f}};
      gfx.DrawQuads(glyph.texture.get(), corners, 1);
    }
    penX += glyph.advance;
  }
}

}  // namespace platform
