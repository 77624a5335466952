#include "platform/Gfx.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/Window.h"

namespace platform {

namespace {

SDL_Renderer* AsRenderer(void* handle) {
  return static_cast<SDL_Renderer*>(handle);
}
SDL_Texture* AsTexture(void* handle) {
  return static_cast<SDL_Texture*>(handle);
}

bool IsHeadlessDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr &&
         (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

// A quad all of whose corners lie beyond one edge of the target can't touch it.
bool OffTarget(const GfxVertex* corners, float width, float height) {
  bool left = true, right = true, above = true, below = true;
  for (int i = 0; i < 4; ++i) {
    const GfxVertex& c = corners[i];
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return true;
    left = left && c.x < -1.0f;
    right = right && c.x > width + 1.0f;
    above = above && c.y < -1.0f;
    below = below && c.y > height + 1.0f;
  }
  return left || right || above || below;
}

}  // namespace

Texture::~Texture() {
  if (m_device != nullptr) {
    SDL_DestroyTexture(AsTexture(m_handle));
    m_device->Forget(this);
  }
}

std::unique_ptr<Gfx> Gfx::Create(Window& window, int width, int height, std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "the target size must be positive";
    return nullptr;
  }
  SDL_Window* sdlWindow = static_cast<SDL_Window*>(window.NativeHandle());
  SDL_Renderer* renderer = nullptr;
  bool software = IsHeadlessDriver();
  if (!software) {
    // Like the hardware device with the reference rasteriser behind it.
    renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
  }
  if (renderer == nullptr) {
    renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    software = true;
  }
  if (renderer == nullptr) {
    error = std::string("cannot create a renderer (") + SDL_GetError() + ")";
    return nullptr;
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) software = true;

  SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_TARGET, width, height);
  if (target == nullptr) {
    error = std::string("cannot create the frame target (") + SDL_GetError() + ")";
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  SDL_SetTextureScaleMode(target, SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
  // Full screen shows the frame letter-boxed at its own aspect.
  SDL_RenderSetLogicalSize(renderer, width, height);

  std::unique_ptr<Gfx> gfx(new Gfx());
  gfx->m_window = &window;
  gfx->m_renderer = renderer;
  gfx->m_target = target;
  gfx->m_width = width;
  gfx->m_height = height;
  gfx->m_software = software;
  gfx->m_maxTextureWidth = info.max_texture_width;
  gfx->m_maxTextureHeight = info.max_texture_height;
  Gfx* raw = gfx.get();
  window.AddDestroyHook(raw, [raw] {
    raw->ReleaseAll();
    raw->m_window = nullptr;
  });
  raw->BeginFrame(0xFF000000u);
  return gfx;
}

Gfx::~Gfx() {
  if (m_window != nullptr) m_window->RemoveDestroyHook(this);
  ReleaseAll();
}

void Gfx::ReleaseAll() {
  for (Texture* texture : m_textures) {
    SDL_DestroyTexture(AsTexture(texture->m_handle));
    texture->m_device = nullptr;
    texture->m_handle = nullptr;
  }
  m_textures.clear();
  if (m_target != nullptr) SDL_DestroyTexture(AsTexture(m_target));
  if (m_renderer != nullptr) SDL_DestroyRenderer(AsRenderer(m_renderer));
  m_target = nullptr;
  m_renderer = nullptr;
}

void Gfx::Forget(Texture* texture) {
  m_textures.erase(texture);
}

std::unique_ptr<Texture> Gfx::CreateTexture(int width, int height, const std::uint32_t* argb,
                                            int pitchPixels, std::string& error) {
  if (m_renderer == nullptr) {
    error = "no graphics device";
    return nullptr;
  }
  if (width <= 0 || height <= 0 || argb == nullptr || pitchPixels < width) {
    error = "bad texture size or pixels";
    return nullptr;
  }
  if ((m_maxTextureWidth > 0 && width > m_maxTextureWidth) ||
      (m_maxTextureHeight > 0 && height > m_maxTextureHeight)) {
    error = "texture larger than the device allows";
    return nullptr;
  }
  SDL_Texture* handle = SDL_CreateTexture(AsRenderer(m_renderer), SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STATIC, width, height);
  if (handle == nullptr) {
    error = std::string("cannot create a texture (") + SDL_GetError() + ")";
    return nullptr;
  }
  SDL_UpdateTexture(handle, nullptr, argb, pitchPixels * static_cast<int>(sizeof(std::uint32_t)));
  SDL_SetTextureBlendMode(handle, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(handle, SDL_ScaleModeNearest);
  std::unique_ptr<Texture> texture(new Texture(this, handle, width, height));
  m_textures.insert(texture.get());
  return texture;
}

void Gfx::BeginFrame(std::uint32_t argb) {
  m_drawCalls = 0;
  if (m_renderer == nullptr) return;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  SDL_SetRenderTarget(renderer, AsTexture(m_target));
  SDL_RenderSetClipRect(renderer, nullptr);
  SDL_SetRenderDrawColor(renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                         argb >> 24);
  SDL_RenderClear(renderer);
  // Untextured geometry blends by its vertex alpha, as the fades need.
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
}

float Gfx::MapCoordinate(float value) const {
  // Direct3D 9 covers the pixels whose whole-number centres lie inside a shape;
  // SDL samples at half-pixel centres. The GPU path shifts by half a pixel. The
  // software rasteriser truncates positions to whole pixels, so hand it the
  // first covered pixel edge instead: both give Direct3D's pixels for the
  // axis-aligned quads the game draws.
  return m_software ? std::ceil(value) : value + 0.5f;
}

void Gfx::DrawQuads(const Texture* texture, const GfxVertex* corners, int quadCount) {
  if (m_renderer == nullptr || quadCount <= 0) return;
  if (texture != nullptr && texture->m_device != this) return;
  m_xy.clear();
  m_colors.clear();
  m_uv.clear();
  const float width = static_cast<float>(m_width);
  const float height = static_cast<float>(m_height);
  int kept = 0;
  for (int q = 0; q < quadCount; ++q) {
    const GfxVertex* quad = corners + 4 * q;
    if (OffTarget(quad, width, height)) continue;
    for (int i = 0; i < 4; ++i) {
      const GfxVertex& c = quad[i];
      m_xy.push_back(MapCoordinate(c.x));
      m_xy.push_back(MapCoordinate(c.y));
      m_colors.push_back(
          Rgba{static_cast<std::uint8_t>(c.argb >> 16), static_cast<std::uint8_t>(c.argb >> 8),
               static_cast<std::uint8_t>(c.argb), static_cast<std::uint8_t>(c.argb >> 24)});
      m_uv.push_back(c.u);
      m_uv.push_back(c.v);
    }
    ++kept;
  }
  if (kept == 0) return;
  while (static_cast<int>(m_indices.size()) < kept * 6) {
    const int base = static_cast<int>(m_indices.size() / 6) * 4;
    for (int i : {0, 1, 2, 0, 2, 3}) m_indices.push_back(base + i);
  }
  static_assert(sizeof(Rgba) == sizeof(SDL_Color));
  SDL_RenderGeometryRaw(AsRenderer(m_renderer),
                        texture != nullptr ? AsTexture(texture->m_handle) : nullptr, m_xy.data(),
                        2 * sizeof(float), reinterpret_cast<const SDL_Color*>(m_colors.data()),
                        sizeof(Rgba), m_uv.data(), 2 * sizeof(float), kept * 4, m_indices.data(),
                        kept * 6, sizeof(int));
  ++m_drawCalls;
}

void Gfx::SetClip(int x, int y, int width, int height) {
  if (m_renderer == nullptr) return;
  // SDL reads an empty clip rectangle as "no clipping"; keep one pixel off target.
  SDL_Rect rect{x, y, std::max(width, 0), std::max(height, 0)};
  if (rect.w == 0 || rect.h == 0) rect = SDL_Rect{-2, -2, 1, 1};
  SDL_RenderSetClipRect(AsRenderer(m_renderer), &rect);
}

void Gfx::ClearClip() {
  if (m_renderer == nullptr) return;
  SDL_RenderSetClipRect(AsRenderer(m_renderer), nullptr);
}

void Gfx::Present() {
  if (m_renderer == nullptr) return;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, AsTexture(m_target), nullptr, nullptr);
  SDL_RenderPresent(renderer);
  // Keeps the window manager from thinking a long loading screen hung.
  SDL_PumpEvents();
}

bool Gfx::ReadPixels(std::vector<std::uint32_t>& argb) {
  if (m_renderer == nullptr) return false;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  SDL_Texture* previous = SDL_GetRenderTarget(renderer);
  SDL_SetRenderTarget(renderer, AsTexture(m_target));
  argb.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0);
  const int result = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(),
                                          m_width * static_cast<int>(sizeof(std::uint32_t)));
  SDL_SetRenderTarget(renderer, previous);
  return result == 0;
}

void Gfx::ShowCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform
