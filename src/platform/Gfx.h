// The graphics device: an SDL renderer drawing into a fixed-size target texture
// that is copied, letter-boxed, to the window on Present. Positions given to it
// follow Direct3D 9's convention (pixel centres on whole coordinates).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/Texture.h"

namespace platform {

class Window;

struct GfxVertex {
  float x;
  float y;
  std::uint32_t argb;  // modulates the texture, or is the colour when untextured
  float u;
  float v;
};

class Gfx {
 public:
  // Opens an accelerated renderer for `window`, or the software one where there is
  // none (and always when headless). Null with a reason in `error` on failure.
  static std::unique_ptr<Gfx> Create(Window& window, int width, int height, std::string& error);
  ~Gfx();
  Gfx(const Gfx&) = delete;
  Gfx& operator=(const Gfx&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool IsSoftware() const { return m_software; }
  // The renderer's texture size limits; 0 means no stated limit.
  int MaxTextureWidth() const { return m_maxTextureWidth; }
  int MaxTextureHeight() const { return m_maxTextureHeight; }

  // A width x height texture from ARGB pixels, rows `pitchPixels` apart, so a tile
  // can be cut straight out of a larger image. Drawn with straight alpha blending
  // and nearest sampling.
  std::unique_ptr<Texture> CreateTexture(int width, int height, const std::uint32_t* argb,
                                         int pitchPixels, std::string& error);

  // Starts a frame: the target is bound and filled with `argb`.
  void BeginFrame(std::uint32_t argb);
  // Draws `quadCount` quads, four corners each in triangle-fan order, with one
  // texture (null: untextured). Quads wholly off the target are skipped.
  void DrawQuads(const Texture* texture, const GfxVertex* corners, int quadCount);
  // Limits drawing to a rectangle of the target until ClearClip.
  void SetClip(int x, int y, int width, int height);
  void ClearClip();
  // Copies the target to the window and shows it.
  void Present();
  // The target's pixels as ARGB, row by row; false without a device.
  bool ReadPixels(std::vector<std::uint32_t>& argb);
  void ShowCursor(bool show);

  // Draw calls issued since BeginFrame, for tests and benchmarks.
  int DrawCallCount() const { return m_drawCalls; }

 private:
  friend class Texture;
  Gfx() = default;
  void Forget(Texture* texture);
  // Lets go of every SDL object; the device then draws nothing.
  void ReleaseAll();
  // Where a Direct3D 9 position lands in SDL's convention.
  float MapCoordinate(float value) const;

  Window* m_window = nullptr;
  void* m_renderer = nullptr;  // SDL_Renderer
  void* m_target = nullptr;    // SDL_Texture
  int m_width = 0;
  int m_height = 0;
  bool m_software = false;
  int m_maxTextureWidth = 0;
  int m_maxTextureHeight = 0;
  int m_drawCalls = 0;
  std::unordered_set<Texture*> m_textures;
  // Per-call vertex data in SDL's layout, reused between calls.
  struct Rgba {
    std::uint8_t r, g, b, a;
  };
  std::vector<float> m_xy;
  std::vector<Rgba> m_colors;
  std::vector<float> m_uv;
  std::vector<int> m_indices;
};

}  // namespace platform
