#include "D3DInterfaceLib/D3DInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <utility>

#include "platform/Font.h"
#include "platform/Gfx.h"
#include "platform/Window.h"

namespace {

// Texts wait here until the end of the frame, whoever queued them.
std::vector<QueuedText> sTextQueue;

// Fonts that failed once are reported once, not every frame they are asked for.
std::set<std::pair<std::string, int>> sReportedFontFailures;

constexpr D3DCOLOR kClearColor = 0xFF000000u;
constexpr D3DCOLOR kTextureColor = 0xFFFFFFFFu;
constexpr float kFillDepth = 0.1f;

// Truncates toward zero like a C cast, but stays defined for values no int holds.
std::int32_t TruncateToInt(float value) {
  if (std::isnan(value)) return 0;
  constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
  return static_cast<std::int32_t>(std::clamp(value, -kLimit, kLimit));
}

ScreenVertex FillVertex(float x, float y, D3DCOLOR color) {
  return ScreenVertex{x, y, kFillDepth, 1.0f, color, 0.0f, 0.0f};
}

}  // namespace

FontEntry::FontEntry(std::string face, int size, std::unique_ptr<platform::Font> font)
    : face(std::move(face)), size(size), font(std::move(font)) {}
FontEntry::FontEntry(FontEntry&&) noexcept = default;
FontEntry& FontEntry::operator=(FontEntry&&) noexcept = default;
FontEntry::~FontEntry() = default;

D3DInterface::D3DInterface(platform::Window* window, int width, int height, bool fullScreen)
    : m_bWindowed(!fullScreen),
      m_fScreenHeight(static_cast<float>(height)),
      m_fScreenWidth(static_cast<float>(width)) {
  if (window != nullptr) {
    std::string error;
    m_pDevice = platform::Gfx::Create(*window, width, height, error);
    if (!m_pDevice) std::fprintf(stderr, "Graphics device: %s\n", error.c_str());
  }
  if (m_pDevice) {
    // A renderer that states no limit still gets the game's tile size.
    const int capWidth = m_pDevice->MaxTextureWidth();
    const int capHeight = m_pDevice->MaxTextureHeight();
    if (capWidth > 0)
      m_nMaxTextureWidth = std::min(static_cast<std::uint32_t>(capWidth), kTextureCap);
    if (capHeight > 0) {
      m_nMaxTextureHeight = std::min(static_cast<std::uint32_t>(capHeight), kTextureCap);
    }
  }
  m_quadQueue.reserve(kQuadsPerRun);
  m_vertexBuffer.resize(kQuadsPerRun * 4);
  m_deviceCorners.reserve(kQuadsPerRun * 4);
}

D3DInterface::~D3DInterface() {
  // The device goes first, then the fonts in the order they were made.
  m_pDevice.reset();
  for (FontEntry& entry : m_fontCache) entry.font.reset();
  m_fontCache.clear();
  // Queued texts point into the cache just emptied.
  sTextQueue.clear();
  m_quadQueue.clear();
}

void D3DInterface::ClearQuads() {
  GetEngine()->m_quadQueue.clear();
}

void D3DInterface::Render(platform::Window* /*window*/) {
  // The device presents to the window it was made for, which is the one passed.
  GetEngine()->RenderFrame();
}

const std::vector<QueuedText>& D3DInterface::GetTextQueue() {
  return sTextQueue;
}

void D3DInterface::ShowCursor(bool show) {
  if (m_pDevice) m_pDevice->ShowCursor(show);
}

void D3DInterface::FillScreen(Vector2 offset, D3DCOLOR color) {
  const float x0 = offset.X() - 0.5f;
  const float y0 = offset.Y() - 0.5f;
  const float x1 = x0 + m_fScreenWidth + 1.0f;
  const float y1 = y0 + m_fScreenHeight + 1.0f;
  ScreenQuad quad;
  quad.vertices[0] = FillVertex(x0, y0, color);
  quad.vertices[1] = FillVertex(x1, y0, color);
  quad.vertices[2] = FillVertex(x1, y1, color);
  quad.vertices[3] = FillVertex(x0, y1, color);
  quad.texture = nullptr;
  AddQuad(quad);
}

platform::Font* D3DInterface::LookUpFont(const std::string& face, int size) {
  for (const FontEntry& entry : m_fontCache) {
    if (entry.size == size && entry.face == face) return entry.font.get();
  }
  // A negative height asks for the character (em) height rather than the cell.
  const int height = -(kLogPixelsY * size) / 72;
  std::string error;
  std::unique_ptr<platform::Font> font = platform::Font::Open(face, std::abs(height), error);
  if (!font) {
    if (sReportedFontFailures.emplace(face, size).second) {
      std::fprintf(stderr, "Font \"%s\" at %d points: %s\n", face.c_str(), size, error.c_str());
    }
    return nullptr;
  }
  m_fontCache.emplace_back(face, size, std::move(font));
  return m_fontCache.back().font.get();
}

bool D3DInterface::DrawText(std::string face, int size, float x, float y, std::string text,
                            D3DCOLOR color) {
  platform::Font* font = LookUpFont(face, size);
  if (font == nullptr) return false;
  QueuedText queued;
  queued.font = font;
  queued.rect.left = TruncateToInt(x);
  queued.rect.top = TruncateToInt(y);
  int width = 0;
  int height = 0;
  font->Measure(text, width, height);
  queued.rect.right = queued.rect.left + width;
  queued.rect.bottom = queued.rect.top + height;
  queued.text = std::move(text);
  queued.color = color;
  sTextQueue.push_back(std::move(queued));
  return true;
}

bool D3DInterface::PrepareText(const std::string& face, int size, const std::string& text) {
  platform::Font* font = LookUpFont(face, size);
  if (font == nullptr) return false;
  if (m_pDevice) font->Prepare(*m_pDevice, text);
  return true;
}

void D3DInterface::GetTextExtent(std::string face, int size, std::string text, int* width,
                                 int* height) {
  platform::Font* font = LookUpFont(face, size);
  if (font == nullptr) return;
  int measuredWidth = 0;
  int measuredHeight = 0;
  font->Measure(text, measuredWidth, measuredHeight);
  if (width != nullptr) *width = measuredWidth;
  if (height != nullptr) *height = measuredHeight;
}

void D3DInterface::RenderFrame() {
  platform::Gfx* device = m_pDevice.get();
  if (device != nullptr) device->BeginFrame(kClearColor);

  // Quads in runs of one vertex buffer's worth, each drawn in queue order; neighbours
  // sharing a texture go to the device together.
  std::vector<platform::GfxVertex>& corners = m_deviceCorners;
  m_nLastRunCount = 0;
  const std::size_t quadCount = m_quadQueue.size();
  for (std::size_t first = 0; first < quadCount; first += kQuadsPerRun) {
    const std::size_t runLength = std::min(kQuadsPerRun, quadCount - first);
    for (std::size_t k = 0; k < runLength; ++k) {
      std::copy(std::begin(m_quadQueue[first + k].vertices),
                std::end(m_quadQueue[first + k].vertices),
                m_vertexBuffer.begin() + static_cast<std::ptrdiff_t>(4 * k));
    }
    ++m_nLastRunCount;
    if (device == nullptr) continue;
    std::size_t k = 0;
    while (k < runLength) {
      platform::Texture* texture = m_quadQueue[first + k].texture;
      std::size_t end = k + 1;
      while (end < runLength && m_quadQueue[first + end].texture == texture) ++end;
      corners.clear();
      for (std::size_t i = 4 * k; i < 4 * end; ++i) {
        const ScreenVertex& v = m_vertexBuffer[i];
        // The texture stage selects the texture alone: a textured quad's diffuse
        // colour never shows.
        corners.push_back(
            platform::GfxVertex{v.x, v.y, texture != nullptr ? kTextureColor : v.color, v.u, v.v});
      }
      device->DrawQuads(texture, corners.data(), static_cast<int>(end - k));
      k = end;
    }
  }

  if (device != nullptr) {
    for (const QueuedText& text : sTextQueue) {
      // Text is clipped to its measured rectangle, as the text format asks.
      device->SetClip(text.rect.left, text.rect.top, text.rect.right - text.rect.left,
                      text.rect.bottom - text.rect.top);
      text.font->Draw(*device, text.rect.left, text.rect.top, text.text, text.color);
    }
    device->ClearClip();
  }

  m_quadQueue.clear();
  sTextQueue.clear();
  if (device != nullptr) device->Present();
}
