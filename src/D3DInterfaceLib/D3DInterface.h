// The game's only graphics device owner: deferred queues of screen quads and
// texts, a font cache, and the once-per-frame render and present.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "geometry/Vector2.h"
#include "platform/Assert.h"

namespace platform {
class Window;
class Gfx;
struct GfxVertex;
class Texture;
class Font;
}  // namespace platform

// 32-bit ARGB colour.
using D3DCOLOR = std::uint32_t;

// One pre-transformed vertex, laid out exactly as the vertex buffer holds it.
struct ScreenVertex {
  float x;  // screen pixels
  float y;
  float z;
  float rhw;
  D3DCOLOR color;
  float u;
  float v;
};
static_assert(sizeof(ScreenVertex) == 28, "the vertex buffer stride is 28 bytes");

// One queued quad: corners in triangle-fan order and the texture bound while it
// is drawn (null for an untextured quad). Queued quads never own their textures.
struct ScreenQuad {
  ScreenVertex vertices[4];
  platform::Texture* texture = nullptr;
};

// left, top, right, bottom in screen pixels.
struct TextRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// One text waiting for the end of the frame; the font belongs to the font cache.
struct QueuedText {
  platform::Font* font = nullptr;
  std::string text;
  TextRect rect;
  D3DCOLOR color = 0;
};

// A cached font: created once per (face, point size) and kept for the run.
struct FontEntry {
  FontEntry(std::string face, int size, std::unique_ptr<platform::Font> font);
  FontEntry(FontEntry&&) noexcept;
  FontEntry& operator=(FontEntry&&) noexcept;
  ~FontEntry();

  std::string face;
  int size = 0;
  std::unique_ptr<platform::Font> font;
};

class D3DInterface {
 public:
  // The screen's logical pixels per inch used for font heights.
  static constexpr int kLogPixelsY = 96;
  static constexpr std::size_t kQuadsPerRun = 300;
  static constexpr std::uint32_t kTextureCap = 256;

  static D3DInterface* GetEngine() {
    VT_ASSERT(spEngine);
    return spEngine;
  }

  // Opens the device for `window`. A window that cannot take a renderer still gets
  // an engine; it queues and measures but draws nothing.
  static void Create(platform::Window* window, int width, int height, bool fullScreen) {
    VT_ASSERT(!spEngine);
    spEngine = new D3DInterface(window, width, height, fullScreen);
  }

  static void Destroy() {
    VT_ASSERT(spEngine);
    delete spEngine;
    spEngine = nullptr;
  }

  static bool Exists() { return spEngine != nullptr; }

  // Empties the quad queue; its capacity stays.
  static void ClearQuads();
  // Draws every queued quad in queue order, then every queued text on top,
  // empties both queues and presents.
  static void Render(platform::Window* window);

  float GetScreenWidth() const { return m_fScreenWidth; }
  float GetScreenHeight() const { return m_fScreenHeight; }
  bool IsWindowed() const { return m_bWindowed; }
  void ShowCursor(bool show);

  // The platform graphics device; null when none could be opened.
  platform::Gfx* GetDevice() const { return m_pDevice.get(); }
  std::uint32_t GetMaxTextureWidth() const { return m_nMaxTextureWidth; }
  std::uint32_t GetMaxTextureHeight() const { return m_nMaxTextureHeight; }

  void AddQuad(const ScreenQuad& quad) { m_quadQueue.push_back(quad); }
  void ClearQuadList() { m_quadQueue.clear(); }
  // Queues one untextured quad over the whole screen, shifted by `offset`.
  void FillScreen(Vector2 offset, D3DCOLOR color);

  // Queues `text` with its top-left at (x, y); false when the font cannot be made.
  bool DrawText(std::string face, int size, float x, float y, std::string text, D3DCOLOR color);
  // Opens the font and renders the glyphs of `text` ahead of drawing it, so that
  // loading rather than a play frame pays for them; false when the font cannot
  // be made.
  bool PrepareText(const std::string& face, int size, const std::string& text);
  // Measures `text`; leaves the outputs alone when the font cannot be made.
  void GetTextExtent(std::string face, int size, std::string text, int* width, int* height);

  // Inspection, for tests and tools.
  const std::vector<ScreenQuad>& GetQuadQueue() const { return m_quadQueue; }
  static const std::vector<QueuedText>& GetTextQueue();
  const std::vector<FontEntry>& GetFontCache() const { return m_fontCache; }
  // Runs of up to kQuadsPerRun quads copied into the vertex buffer by the last Render.
  int GetLastRunCount() const { return m_nLastRunCount; }
  // The vertex buffer as the last run left it.
  const std::vector<ScreenVertex>& GetVertexBuffer() const { return m_vertexBuffer; }

 private:
  D3DInterface(platform::Window* window, int width, int height, bool fullScreen);
  ~D3DInterface();
  D3DInterface(const D3DInterface&) = delete;
  D3DInterface& operator=(const D3DInterface&) = delete;

  // The cached font for (face, size), created on a miss; null when it can't be made.
  platform::Font* LookUpFont(const std::string& face, int size);
  void RenderFrame();

  inline static D3DInterface* spEngine = nullptr;

  // The window itself lives on in the device, which draws and presents to it.
  bool m_bWindowed = false;
  std::vector<FontEntry> m_fontCache;
  float m_fScreenHeight = 0.0f;
  float m_fScreenWidth = 0.0f;
  std::unique_ptr<platform::Gfx> m_pDevice;
  std::uint32_t m_nMaxTextureWidth = kTextureCap;
  std::uint32_t m_nMaxTextureHeight = kTextureCap;
  std::vector<ScreenQuad> m_quadQueue;
  std::vector<ScreenVertex> m_vertexBuffer;
  // One run's corners in the device's layout, kept so a frame allocates nothing.
  std::vector<platform::GfxVertex> m_deviceCorners;
  int m_nLastRunCount = 0;
};
