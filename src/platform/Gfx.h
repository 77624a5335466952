// The graphics device: an SDL renderer drawing into a fixed-size frame that is
// copied, letter-boxed, to the window on Present. Positions given to it follow
// Direct3D 9's convention (pixel centres on whole coordinates).
//
// On a GPU the frame is a target texture. Without one the frame is a surface we
// own, drawn by SDL's software renderer, and the common case of an unrotated,
// unscaled textured quad is blended straight into it by our own loops, which
// give SDL's pixels bit for bit (checked against SDL when the device opens) at
// a fraction of its per-pixel cost; so are mirrored, scaled and turned quads and
// untextured fills, each path checked the same way. The device then keeps one
// copy of each texture's pixels, SDL's, presents by a straight row copy where
// the window is the frame's size, and headless skips the copy to a full-screen
// window that nobody sees. A texture set to scale smoothly is the exception to
// SDL's pixels: scaled upright, our loop samples it bilinearly in integer steps
// of its own (what SDL still draws of it, SDL scales its own way).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
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

  // The software device's own paths, each of which can be turned off to compare
  // with SDL doing the work: plain quads ("blit"), mirrored and scaled quads
  // ("transform"), untextured fills ("fill"), the straight copy to the window and
  // none headless ("present"), one copy of each texture's pixels ("shared") and
  // turned quads ("turn").
  struct FastPaths {
    bool blit = true;
    bool transform = true;
    bool fill = true;
    bool present = true;
    bool shared = true;
    bool turn = true;
  };
  // A comma-separated list of the names above, "all" or "none"; null or empty
  // means all; nothing when a name is none of these. The device reads
  // VANTREL_FAST_DRAW once, when it opens, and a misspelt name stops the program
  // rather than quietly timing another set of paths.
  static std::optional<FastPaths> ParseFastPaths(const char* setting);
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
  // and nearest sampling (smooth where Texture::SetSmoothScaling asks).
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
  // Whether quads are drawn by our own loops where they can be (software device
  // only, and only on the paths that match SDL's pixels); tests and benchmarks
  // can turn them off to compare with SDL drawing everything.
  bool DirectBlits() const { return m_directBlits; }
  // The fast paths this device takes: asked for, on the software device, and (for
  // the drawing ones) matching SDL's pixels here.
  FastPaths ActivePaths() const {
    const bool software = m_frame != nullptr;
    return FastPaths{m_blitPath,
                     m_transformPath,
                     m_fillPath,
                     software && m_fast.present,
                     software && m_fast.shared,
                     m_turnPath};
  }
  void SetDirectBlits(bool on) {
    m_directBlits = on && (m_blitPath || m_transformPath || m_fillPath || m_turnPath);
  }

 private:
  friend class Texture;
  Gfx() = default;
  void Forget(Texture* texture);
  // Copies the software frame to the window.
  void PresentFrame();
  // Lets go of every SDL object; the device then draws nothing.
  void ReleaseAll();
  // Whether a clip rectangle other than the whole target is set.
  bool Clipped() const {
    return m_clip.x != 0 || m_clip.y != 0 || m_clip.w != m_width || m_clip.h != m_height;
  }
  // Where a Direct3D 9 position lands in SDL's convention.
  float MapCoordinate(float value) const;
  // A texture's pixels as the direct paths read them: SDL's own, or a copy.
  struct Texels {
    const std::uint32_t* pixels = nullptr;
    int pitch = 0;  // in pixels
    std::vector<std::uint32_t> copy;
  };
  // Blends one quad straight into the frame when it is a plain copy of texels;
  // false when SDL has to draw it. `xy` holds the corners already mapped.
  bool BlitDirect(const Texels& texels, const Texture& texture, const float* xy,
                  const GfxVertex* quad);
  // The same for a whole texture mirrored and/or scaled onto an upright rectangle.
  bool BlitTransformed(const Texels& texels, const Texture& texture, const float* xy,
                       const GfxVertex* quad);
  // The same for a quad that is no upright rectangle (turned), as two triangles.
  bool BlitTurned(const Texels& texels, const Texture& texture, const float* xy,
                  const GfxVertex* quad);
  // The same for an untextured upright rectangle of one colour.
  bool FillDirect(const float* xy, const GfxVertex* quad);

  Window* m_window = nullptr;
  void* m_renderer = nullptr;  // SDL_Renderer
  void* m_target = nullptr;    // SDL_Texture, on a GPU
  void* m_frame = nullptr;     // SDL_Surface, without one
  int m_width = 0;
  int m_height = 0;
  bool m_software = false;
  int m_maxTextureWidth = 0;
  int m_maxTextureHeight = 0;
  int m_drawCalls = 0;
  FastPaths m_fast;
  // The direct paths that are on and give SDL's pixels on this machine.
  bool m_blitPath = false;
  bool m_transformPath = false;
  bool m_fillPath = false;
  bool m_turnPath = false;
  bool m_directBlits = false;
  bool m_unseenFullScreen = false;  // headless: a full-screen present copies nothing
  // The clip rectangle SDL was given, which direct blits honour too.
  struct Rect {
    int x, y, w, h;
  };
  Rect m_clip{0, 0, 0, 0};
  // Every live texture, with its pixels on the software device.
  std::unordered_map<Texture*, Texels> m_textures;
  // Per-call vertex data in SDL's layout, reused between calls.
  struct Rgba {
    std::uint8_t r, g, b, a;
  };
  std::vector<float> m_xy;
  std::vector<Rgba> m_colors;
  std::vector<float> m_uv;
  std::vector<int> m_indices;
  std::vector<int> m_scaleColumns;  // the frame column of each window column
  std::vector<std::uint32_t> m_row;  // texels gathered for a transformed row
};

}  // namespace platform
