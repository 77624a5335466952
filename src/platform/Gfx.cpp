#include "platform/Gfx.h"

#include <SDL.h>

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Settings.h"
#include "platform/SoftRaster.h"
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

SDL_Surface* AsSurface(void* handle) {
  return static_cast<SDL_Surface*>(handle);
}

// Draws one quad with SDL's software renderer as DrawQuads hands it over.
void DrawWithSdl(SDL_Renderer* renderer, SDL_Texture* texture, const float* xy, const float* uv,
                 std::uint32_t argb) {
  const SDL_Color color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                        static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
  const SDL_Color colors[4] = {color, color, color, color};
  const int indices[6] = {0, 1, 2, 0, 2, 3};
  SDL_RenderGeometryRaw(renderer, texture, xy, 2 * sizeof(float), colors, sizeof(SDL_Color), uv,
                        2 * sizeof(float), 4, indices, 6, sizeof(int));
  SDL_RenderFlush(renderer);
}

// Whether the transformed blits, the fills and the turned quads give exactly
// SDL's pixels on this machine: a table of mirrored, scaled and clipped
// rectangles, of fills in several alphas and of quads turned through many
// angles, each drawn by SDL's software renderer and by our loops over the same
// varied pixels.
void DirectPathsMatchSdl(bool& transforms, bool& fills, bool& turns) {
  transforms = fills = turns = false;
  constexpr int kSide = 96, kTextureWidth = 31, kTextureHeight = 26;
  SDL_Surface* target =
      SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = target != nullptr ? SDL_CreateSoftwareRenderer(target) : nullptr;
  SDL_Texture* texture = renderer != nullptr ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                                 SDL_TEXTUREACCESS_STATIC,
                                                                 kTextureWidth, kTextureHeight)
                                             : nullptr;
  if (texture != nullptr) {
    SDL_SetSurfaceBlendMode(target, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    std::vector<std::uint32_t> texels(kTextureWidth * kTextureHeight), before(kSide * kSide);
    for (std::size_t i = 0; i < texels.size(); ++i) {
      const auto u = static_cast<std::uint32_t>(i);
      const std::uint32_t alpha = (i / 5) % 3 == 0   ? 0u
                                  : (i / 5) % 3 == 1 ? 255u
                                                     : (u * 37) & 0xFFu;
      texels[i] = alpha << 24 | ((u * 13) & 0xFFu) << 16 | ((u * 7) & 0xFFu) << 8 | (u & 0xFFu);
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
      const auto x = static_cast<std::uint32_t>(i % kSide),
                 y = static_cast<std::uint32_t>(i / kSide);
      const std::uint32_t alpha = (x + y) % 3 == 0 ? 255u : (x * 5 + y) & 0xFFu;
      before[i] = alpha << 24 | ((y * 11 + x) & 0xFFu) << 16 | (x ^ y) << 8 | (x * y & 0xFFu);
    }
    SDL_UpdateTexture(texture, nullptr, texels.data(), kTextureWidth * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    std::vector<std::uint32_t> ours, row;
    // Draws one case both ways; true when the frames agree to the bit.
    const auto same = [&](SDL_Texture* source, const int rect[4], bool flipX, bool flipY,
                          std::uint32_t argb) {
      std::memcpy(target->pixels, before.data(), before.size() * 4);
      ours = before;
      const Frame32 frame{ours.data(), kSide, kSide, kSide};
      const float x0 = static_cast<float>(rect[0]), y0 = static_cast<float>(rect[1]);
      const float x1 = static_cast<float>(rect[2]), y1 = static_cast<float>(rect[3]);
      const float xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
      const float u0 = flipX ? 1.0f : 0.0f, v0 = flipY ? 1.0f : 0.0f;
      const float uv[8] = {u0, v0, 1 - u0, v0, 1 - u0, 1 - v0, u0, 1 - v0};
      DrawWithSdl(renderer, source, xy, uv, argb);
      if (source != nullptr) {
        BlitTransformedRect(frame, texels.data(), kTextureWidth, kTextureWidth, kTextureHeight,
                            rect[0], rect[1], rect[2], rect[3], flipX, flipY, row);
      } else {
        FillRectBlended(frame, std::max(rect[0], 0), std::max(rect[1], 0), std::min(rect[2], kSide),
                        std::min(rect[3], kSide), argb);
      }
      return std::memcmp(target->pixels, ours.data(), ours.size() * 4) == 0;
    };
    // One to one, scaled up and down at odd ratios, thin; off each edge scaled,
    // then one to one; over the whole frame.
    const int rects[][4] = {{10, 12, 41, 38},    {10, 12, 73, 90},  {10, 12, 27, 20},
                            {20, 30, 23, 95},    {-9, 12, 40, 50},  {8, -13, 50, 40},
                            {70, 12, 120, 47},   {8, 70, 30, 130},  {-5, 20, 26, 46},
                            {30, -7, 61, 19},    {80, 30, 111, 56}, {30, 85, 61, 111},
                            {-20, -20, 120, 120}};
    transforms = true;
    for (const auto& rect : rects) {
      for (int flips = 0; flips < 4 && transforms; ++flips) {
        const bool flipX = (flips & 1) != 0, flipY = (flips & 2) != 0;
        // One to one and unmirrored is the plain blit's case.
        const bool plainCase =
            rect[2] - rect[0] == kTextureWidth && rect[3] - rect[1] == kTextureHeight && flips == 0;
        if (!plainCase) transforms = same(texture, rect, flipX, flipY, kWhite);
      }
    }
    fills = true;
    const std::uint32_t colors[] = {0x80336699u, 0xFF102030u, 0x01FFFFFFu,
                                    0x00FFFFFFu, 0xC0FF8000u, 0xFE7F8081u};
    for (std::uint32_t argb : colors) {
      for (const auto& rect : rects) fills = fills && same(nullptr, rect, false, false, argb);
    }
    // Quads turned about a point, some scaled, mirrored or reaching off the frame,
    // with their corners mapped to whole pixels as DrawQuads maps them.
    turns = true;
    const struct {
      float cx, cy, halfW, halfH, angle;
      bool mirror;
    } turned[] = {
        {48, 48, 15.5f, 13, 0.3f, false}, {48, 48, 15.5f, 13, 1.1f, true},
        {40, 50, 30, 9, 2.5f, false},     {50, 40, 8, 35, -0.7f, true},
        {48, 48, 60, 50, 0.785f, false},  {5, 48, 20, 20, 0.2f, false},
        {90, 48, 20, 20, -0.4f, true},    {48, 3, 25, 12, 1.9f, false},
        {48, 92, 25, 12, -2.2f, false},   {30, 60, 4, 3, 0.9f, false},
        {60, 30, 15.5f, 13, 3.0f, true},  {20, 20, 40, 6, -1.3f, false},
    };
    for (const auto& t : turned) {
      if (!turns) break;
      std::memcpy(target->pixels, before.data(), before.size() * 4);
      ours = before;
      const float c = std::cos(t.angle), sn = std::sin(t.angle);
      const float corners[4][2] = {
          {-t.halfW, -t.halfH}, {t.halfW, -t.halfH}, {t.halfW, t.halfH}, {-t.halfW, t.halfH}};
      float xy[8];
      for (int i = 0; i < 4; ++i) {
        xy[2 * i] = std::ceil(t.cx + corners[i][0] * c - corners[i][1] * sn + 0.5f);
        xy[2 * i + 1] = std::ceil(t.cy + corners[i][0] * sn + corners[i][1] * c + 0.5f);
      }
      const float u0 = t.mirror ? 1.0f : 0.0f;
      const float uv[8] = {u0, 0, 1 - u0, 0, 1 - u0, 1, u0, 1};
      DrawWithSdl(renderer, texture, xy, uv, kWhite);
      const bool drawn = BlitTurnedQuad(Frame32{ours.data(), kSide, kSide, kSide}, texels.data(),
                                        kTextureWidth, kTextureWidth, kTextureHeight, xy, uv, row);
      turns = drawn && std::memcmp(target->pixels, ours.data(), ours.size() * 4) == 0;
    }
  }
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  if (target != nullptr) SDL_FreeSurface(target);
}

// Whether our blends give exactly SDL's pixels on this machine (its blitters
// vary with the processor): every texel alpha and many channel values, blended
// by both over the same pixels, for white and for a few modulating colours.
bool DirectBlendsMatchSdl() {
  constexpr int kSide = 256;
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Surface* dst = SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_ARGB8888);
  bool match = src != nullptr && dst != nullptr;
  std::vector<std::uint32_t> texels(kSide * kSide), before(kSide * kSide), ours;
  for (int y = 0; y < kSide && match; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
      // Each row's alpha is its number, but every fourth row also mixes clear and
      // opaque texels, as the edges of sprite art do.
      const std::uint32_t alpha = y % 4 != 3 || x % 3 == 2 ? uy : x % 3 == 0 ? 0u : 255u;
      texels[y * kSide + x] =
          alpha << 24 | ux << 16 | (255 - ux) << 8 | ((ux * 7 + uy * 13) & 0xFFu);
      const std::uint32_t dA = (x + y) % 3 == 0 ? 255u : (ux * 5 + uy) & 0xFFu;
      before[y * kSide + x] = dA << 24 | ((uy * 11 + ux) & 0xFFu) << 16 | (ux ^ uy) << 8 | (ux * uy & 0xFFu);
    }
  }
  const std::uint32_t colors[] = {kWhite, 0xFFFFFF00u, 0x80FF2010u, 0xFF000000u, 0x7FFFFFFFu,
                                  0xFF8040C0u, 0x01FFFFFFu};
  for (std::uint32_t argb : colors) {
    if (!match) break;
    for (int y = 0; y < kSide; ++y) {
      std::memcpy(static_cast<std::uint8_t*>(src->pixels) + y * src->pitch, &texels[y * kSide],
                  kSide * 4);
      std::memcpy(static_cast<std::uint8_t*>(dst->pixels) + y * dst->pitch, &before[y * kSide],
                  kSide * 4);
    }
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceColorMod(src, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    SDL_SetSurfaceAlphaMod(src, argb >> 24);
    if (SDL_BlitSurface(src, nullptr, dst, nullptr) != 0) match = false;
    ours = before;
    for (int y = 0; y < kSide && match; ++y) {
      BlendRow(&texels[y * kSide], &ours[y * kSide], kSide, argb);
      match = std::memcmp(static_cast<std::uint8_t*>(dst->pixels) + y * dst->pitch,
                          &ours[y * kSide], kSide * 4) == 0;
    }
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
  return match;
}

}  // namespace

Texture::~Texture() {
  if (m_device != nullptr) {
    SDL_DestroyTexture(AsTexture(m_handle));
    m_device->Forget(this);
  }
}

void Texture::SetSmoothScaling(bool smooth) {
  m_smooth = smooth;
  // SDL samples the same way where it draws the texture: all of it on a GPU, and on
  // the software device whatever our own loops leave to it.
  if (m_device != nullptr) {
    SDL_SetTextureScaleMode(AsTexture(m_handle),
                            smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
}

std::unique_ptr<Gfx> Gfx::Create(Window& window, int width, int height, std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "the target size must be positive";
    return nullptr;
  }
  SDL_Window* sdlWindow = static_cast<SDL_Window*>(window.NativeHandle());
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* target = nullptr;
  SDL_Surface* frame = nullptr;
  bool software = IsHeadlessDriver();
  if (!software) {
    // Like the hardware device with the reference rasteriser behind it.
    renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (renderer != nullptr) {
      SDL_RendererInfo info;
      SDL_GetRendererInfo(renderer, &info);
      if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
      }
    }
  }
  if (renderer != nullptr) {
    target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width,
                               height);
    if (target == nullptr) {
      error = std::string("cannot create the frame target (") + SDL_GetError() + ")";
      SDL_DestroyRenderer(renderer);
      return nullptr;
    }
    SDL_SetTextureScaleMode(target, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
    // Full screen shows the frame letter-boxed at its own aspect.
    SDL_RenderSetLogicalSize(renderer, width, height);
  } else {
    // The software renderer draws into a surface of ours, which Present copies to
    // the window's own surface.
    software = true;
    frame = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (frame == nullptr) {
      error = std::string("cannot create the frame (") + SDL_GetError() + ")";
      return nullptr;
    }
    SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
    renderer = SDL_CreateSoftwareRenderer(frame);
    if (renderer == nullptr) {
      error = std::string("cannot create a renderer (") + SDL_GetError() + ")";
      SDL_FreeSurface(frame);
      return nullptr;
    }
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);

  std::unique_ptr<Gfx> gfx(new Gfx());
  gfx->m_window = &window;
  gfx->m_renderer = renderer;
  gfx->m_target = target;
  gfx->m_frame = frame;
  const char* const fastDraw = std::getenv("VANTREL_FAST_DRAW");
  const std::optional<FastPaths> fast = ParseFastPaths(fastDraw);
  if (!fast) {
    std::fprintf(stderr,
                 "vantrel: VANTREL_FAST_DRAW=\"%s\" is not a comma-separated list of blit, "
                 "transform, turn, fill, present and shared, nor all or none alone\n",
                 fastDraw);
    std::exit(EXIT_FAILURE);
  }
  gfx->m_fast = *fast;
  if (frame != nullptr) {
    gfx->m_blitPath = gfx->m_fast.blit && DirectBlendsMatchSdl();
    bool transforms = false, fills = false, turns = false;
    if (gfx->m_fast.transform || gfx->m_fast.fill || gfx->m_fast.turn) {
      DirectPathsMatchSdl(transforms, fills, turns);
    }
    gfx->m_transformPath = gfx->m_fast.transform && transforms;
    gfx->m_fillPath = gfx->m_fast.fill && fills;
    gfx->m_turnPath = gfx->m_fast.turn && turns;
  }
  gfx->SetDirectBlits(true);
  gfx->m_unseenFullScreen = frame != nullptr && gfx->m_fast.present && IsHeadlessDriver() &&
                            !SDL_GetHintBoolean("SDL_VIDEO_DUMMY_SAVE_FRAMES", SDL_FALSE) &&
                            !SDL_GetHintBoolean("SDL_VIDEO_OFFSCREEN_SAVE_FRAMES", SDL_FALSE);
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

std::optional<Gfx::FastPaths> Gfx::ParseFastPaths(const char* setting) {
  if (setting == nullptr || *setting == '\0') return FastPaths{};
  const std::vector<std::string_view> names = SettingListItems(setting);
  // "all" and "none" stand alone: beside a path name one of the two would be ignored.
  if (names.size() == 1 && names[0] == "all") return FastPaths{};
  FastPaths paths{false, false, false, false, false, false};
  if (names.size() == 1 && names[0] == "none") return paths;
  for (const std::string_view name : names) {
    if (name == "blit") {
      paths.blit = true;
    } else if (name == "transform") {
      paths.transform = true;
    } else if (name == "turn") {
      paths.turn = true;
    } else if (name == "fill") {
      paths.fill = true;
    } else if (name == "present") {
      paths.present = true;
    } else if (name == "shared") {
      paths.shared = true;
    } else {
      return std::nullopt;  // a misspelt name, or an empty one from a stray comma
    }
  }
  return paths;
}

Gfx::~Gfx() {
  if (m_window != nullptr) m_window->RemoveDestroyHook(this);
  ReleaseAll();
}

void Gfx::ReleaseAll() {
  for (auto& [texture, texels] : m_textures) {
    SDL_DestroyTexture(AsTexture(texture->m_handle));
    texture->m_device = nullptr;
    texture->m_handle = nullptr;
  }
  m_textures.clear();
  if (m_target != nullptr) SDL_DestroyTexture(AsTexture(m_target));
  if (m_renderer != nullptr) SDL_DestroyRenderer(AsRenderer(m_renderer));
  if (m_frame != nullptr) SDL_FreeSurface(AsSurface(m_frame));
  m_frame = nullptr;
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
  // The direct paths read the software device's textures in place: a streaming
  // texture's pixels are SDL's own surface there, which stays put while it lives.
  const bool shared = m_frame != nullptr && m_fast.shared;
  SDL_Texture* handle = SDL_CreateTexture(
      AsRenderer(m_renderer), SDL_PIXELFORMAT_ARGB8888,
      shared ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC, width, height);
  if (handle == nullptr) {
    error = std::string("cannot create a texture (") + SDL_GetError() + ")";
    return nullptr;
  }
  SDL_UpdateTexture(handle, nullptr, argb, pitchPixels * static_cast<int>(sizeof(std::uint32_t)));
  SDL_SetTextureBlendMode(handle, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(handle, SDL_ScaleModeNearest);
  std::unique_ptr<Texture> texture(new Texture(this, handle, width, height));
  Texels& texels = m_textures[texture.get()];
  if (m_frame == nullptr) return texture;
  void* pixels = nullptr;
  int pitch = 0;
  if (shared && SDL_LockTexture(handle, nullptr, &pixels, &pitch) == 0) {
    SDL_UnlockTexture(handle);
    texels.pixels = static_cast<const std::uint32_t*>(pixels);
    texels.pitch = pitch / static_cast<int>(sizeof(std::uint32_t));
  } else {
    texels.copy.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
      std::copy_n(argb + static_cast<std::ptrdiff_t>(y) * pitchPixels, width,
                  texels.copy.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    texels.pixels = texels.copy.data();
    texels.pitch = width;
  }
  return texture;
}

void Gfx::BeginFrame(std::uint32_t argb) {
  m_drawCalls = 0;
  if (m_renderer == nullptr) return;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  if (m_target != nullptr) SDL_SetRenderTarget(renderer, AsTexture(m_target));
  SDL_RenderSetClipRect(renderer, nullptr);
  m_clip = Rect{0, 0, m_width, m_height};
  if (m_frame != nullptr) {
    // Filled here rather than by SDL, whose streaming stores leave the frame out
    // of the cache just before every quad blends into it.
    SDL_RenderFlush(renderer);
    // One row is filled and copied down, which stays quick in instrumented builds too.
    SDL_Surface* frame = AsSurface(m_frame);
    auto* pixels = static_cast<std::uint8_t*>(frame->pixels);
    std::fill_n(reinterpret_cast<std::uint32_t*>(pixels), m_width, argb);
    const std::size_t rowBytes = static_cast<std::size_t>(m_width) * sizeof(std::uint32_t);
    for (int y = 1; y < m_height; ++y) {
      std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * frame->pitch, pixels, rowBytes);
    }
  } else {
    SDL_SetRenderDrawColor(renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    SDL_RenderClear(renderer);
  }
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

bool Gfx::BlitDirect(const Texels& texels, const Texture& texture, const float* xy,
                     const GfxVertex* quad) {
  // A plain copy: an upright rectangle, one colour, texels one to one, unmirrored.
  const float x0 = xy[0], y0 = xy[1], x1 = xy[2], y1 = xy[5];
  if (xy[6] != x0 || xy[4] != x1 || xy[3] != y0 || xy[7] != y1) return false;
  if (!(x1 > x0 && y1 > y0) || std::fabs(x0) > 1e6f || std::fabs(y0) > 1e6f) return false;
  const std::uint32_t argb = quad[0].argb;
  if (quad[1].argb != argb || quad[2].argb != argb || quad[3].argb != argb) return false;
  if (quad[3].u != quad[0].u || quad[2].u != quad[1].u || quad[1].v != quad[0].v ||
      quad[3].v != quad[2].v) {
    return false;
  }
  const float tw = static_cast<float>(texture.Width()), th = static_cast<float>(texture.Height());
  const float u0 = quad[0].u * tw, u1 = quad[1].u * tw, v0 = quad[0].v * th, v1 = quad[2].v * th;
  if (!(u0 >= 0.0f && v0 >= 0.0f && u1 <= tw && v1 <= th)) return false;
  if (u0 != std::floor(u0) || v0 != std::floor(v0) || u1 - u0 != x1 - x0 || v1 - v0 != y1 - y0) {
    return false;
  }
  // SDL's queued drawing lands first.
  SDL_RenderFlush(AsRenderer(m_renderer));
  const int left = std::max(static_cast<int>(x0), m_clip.x);
  const int top = std::max(static_cast<int>(y0), m_clip.y);
  const int right = std::min(static_cast<int>(x1), m_clip.x + m_clip.w);
  const int bottom = std::min(static_cast<int>(y1), m_clip.y + m_clip.h);
  if (left >= right || top >= bottom) return true;
  SDL_Surface* frame = AsSurface(m_frame);
  const int firstColumn = static_cast<int>(u0) + left - static_cast<int>(x0);
  const int firstRow = static_cast<int>(v0) + top - static_cast<int>(y0);
  for (int y = top; y < bottom; ++y) {
    const std::uint32_t* src = texels.pixels +
                               static_cast<std::ptrdiff_t>(firstRow + y - top) * texels.pitch +
                               firstColumn;
    std::uint32_t* dst = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(frame->pixels) +
                                                          static_cast<std::ptrdiff_t>(y) * frame->pitch) +
                         left;
    BlendRow(src, dst, right - left, argb);
  }
  return true;
}

namespace {

// Mapped corners that make an upright rectangle drawn in one colour, as whole
// pixels: left, top, right, bottom.
bool UprightRect(const float* xy, const GfxVertex* quad, int rect[4]) {
  const float x0 = xy[0], y0 = xy[1], x1 = xy[2], y1 = xy[5];
  if (xy[6] != x0 || xy[4] != x1 || xy[3] != y0 || xy[7] != y1) return false;
  if (!(x1 > x0 && y1 > y0) || !(x0 >= -1e6f && y0 >= -1e6f && x1 <= 1e6f && y1 <= 1e6f)) {
    return false;
  }
  const std::uint32_t argb = quad[0].argb;
  if (quad[1].argb != argb || quad[2].argb != argb || quad[3].argb != argb) return false;
  rect[0] = static_cast<int>(x0);
  rect[1] = static_cast<int>(y0);
  rect[2] = static_cast<int>(x1);
  rect[3] = static_cast<int>(y1);
  return static_cast<float>(rect[0]) == x0 && static_cast<float>(rect[1]) == y0 &&
         static_cast<float>(rect[2]) == x1 && static_cast<float>(rect[3]) == y1;
}

// Texture coordinates spanning 0 to 1 one way or the other.
bool WholeSpan(float from, float to) {
  return (from == 0.0f && to == 1.0f) || (from == 1.0f && to == 0.0f);
}

// Beyond this a scaled rectangle is left to SDL, whose stepping was only checked
// on sizes the game draws.
constexpr int kLargestScaledSide = 4096;

}  // namespace

bool Gfx::BlitTransformed(const Texels& texels, const Texture& texture, const float* xy,
                          const GfxVertex* quad) {
  int rect[4];
  if (!UprightRect(xy, quad, rect) || quad[0].argb != kWhite) return false;
  if (Clipped()) return false;
  const float u0 = quad[0].u, u1 = quad[1].u, v0 = quad[0].v, v1 = quad[2].v;
  if (quad[3].u != u0 || quad[2].u != u1 || quad[1].v != v0 || quad[3].v != v1) return false;
  if (!WholeSpan(u0, u1) || !WholeSpan(v0, v1)) return false;
  const int width = rect[2] - rect[0], height = rect[3] - rect[1];
  const bool flipX = u0 > u1, flipY = v0 > v1;
  if (width > kLargestScaledSide || height > kLargestScaledSide) return false;
  // An unmirrored one-to-one copy is the plain blit's, checked on its own.
  if (!flipX && !flipY && width == texture.Width() && height == texture.Height()) return false;
  SDL_RenderFlush(AsRenderer(m_renderer));
  SDL_Surface* frame = AsSurface(m_frame);
  const Frame32 target{static_cast<std::uint32_t*>(frame->pixels), frame->pitch / 4, m_width,
                       m_height};
  const auto blit = texture.SmoothScaling() ? BlitSmoothRect : BlitTransformedRect;
  blit(target, texels.pixels, texels.pitch, texture.Width(), texture.Height(), rect[0], rect[1],
       rect[2], rect[3], flipX, flipY, m_row);
  return true;
}

bool Gfx::BlitTurned(const Texels& texels, const Texture& texture, const float* xy,
                     const GfxVertex* quad) {
  const std::uint32_t argb = quad[0].argb;
  if (argb != kWhite || quad[1].argb != argb || quad[2].argb != argb || quad[3].argb != argb) {
    return false;
  }
  if (Clipped()) return false;
  const float uv[8] = {quad[0].u, quad[0].v, quad[1].u, quad[1].v,
                       quad[2].u, quad[2].v, quad[3].u, quad[3].v};
  SDL_Surface* frame = AsSurface(m_frame);
  const Frame32 target{static_cast<std::uint32_t*>(frame->pixels), frame->pitch / 4, m_width,
                       m_height};
  SDL_RenderFlush(AsRenderer(m_renderer));
  return BlitTurnedQuad(target, texels.pixels, texels.pitch, texture.Width(), texture.Height(), xy,
                        uv, m_row);
}

bool Gfx::FillDirect(const float* xy, const GfxVertex* quad) {
  int rect[4];
  if (!UprightRect(xy, quad, rect)) return false;
  if (Clipped()) return false;
  SDL_RenderFlush(AsRenderer(m_renderer));
  SDL_Surface* frame = AsSurface(m_frame);
  FillRectBlended(
      Frame32{static_cast<std::uint32_t*>(frame->pixels), frame->pitch / 4, m_width, m_height},
      std::max(rect[0], 0), std::max(rect[1], 0), std::min(rect[2], m_width),
      std::min(rect[3], m_height), quad[0].argb);
  return true;
}

void Gfx::DrawQuads(const Texture* texture, const GfxVertex* corners, int quadCount) {
  if (m_renderer == nullptr || quadCount <= 0) return;
  if (texture != nullptr && texture->m_device != this) return;
  m_xy.clear();
  m_colors.clear();
  m_uv.clear();
  const float width = static_cast<float>(m_width);
  const float height = static_cast<float>(m_height);
  const Texels* texels = nullptr;
  if (m_directBlits && texture != nullptr) {
    auto found = m_textures.find(const_cast<Texture*>(texture));
    if (found != m_textures.end() && found->second.pixels != nullptr) texels = &found->second;
  }
  // Which of our own paths this call's quads may take.
  const bool blits = texels != nullptr && m_blitPath;
  const bool transforms = texels != nullptr && m_transformPath;
  const bool turns = texels != nullptr && m_turnPath;
  const bool fills = m_directBlits && texture == nullptr && m_fillPath;
  int pending = 0;  // quads waiting for SDL
  bool drawn = false;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  SDL_Texture* handle = texture != nullptr ? AsTexture(texture->m_handle) : nullptr;
  const auto drawPending = [&] {
    if (pending == 0) return;
    while (static_cast<int>(m_indices.size()) < pending * 6) {
      const int base = static_cast<int>(m_indices.size() / 6) * 4;
      for (int i : {0, 1, 2, 0, 2, 3}) m_indices.push_back(base + i);
    }
    static_assert(sizeof(Rgba) == sizeof(SDL_Color));
    SDL_RenderGeometryRaw(renderer, handle, m_xy.data(), 2 * sizeof(float),
                          reinterpret_cast<const SDL_Color*>(m_colors.data()), sizeof(Rgba),
                          m_uv.data(), 2 * sizeof(float), pending * 4, m_indices.data(),
                          pending * 6, sizeof(int));
    m_xy.clear();
    m_colors.clear();
    m_uv.clear();
    pending = 0;
  };
  for (int q = 0; q < quadCount; ++q) {
    const GfxVertex* quad = corners + 4 * q;
    if (OffTarget(quad, width, height)) continue;
    drawn = true;
    float mapped[8];
    for (int i = 0; i < 4; ++i) {
      mapped[2 * i] = MapCoordinate(quad[i].x);
      mapped[2 * i + 1] = MapCoordinate(quad[i].y);
    }
    if (blits || transforms || turns || fills) {
      // Whatever SDL still has to draw goes first, to keep the quads' order.
      drawPending();
      if (blits && BlitDirect(*texels, *texture, mapped, quad)) continue;
      if (transforms && BlitTransformed(*texels, *texture, mapped, quad)) continue;
      if (turns && BlitTurned(*texels, *texture, mapped, quad)) continue;
      if (fills && FillDirect(mapped, quad)) continue;
    }
    m_xy.insert(m_xy.end(), mapped, mapped + 8);
    for (int i = 0; i < 4; ++i) {
      const GfxVertex& c = quad[i];
      m_colors.push_back(
          Rgba{static_cast<std::uint8_t>(c.argb >> 16), static_cast<std::uint8_t>(c.argb >> 8),
               static_cast<std::uint8_t>(c.argb), static_cast<std::uint8_t>(c.argb >> 24)});
      m_uv.push_back(c.u);
      m_uv.push_back(c.v);
    }
    ++pending;
  }
  drawPending();
  if (drawn) ++m_drawCalls;
}

void Gfx::SetClip(int x, int y, int width, int height) {
  if (m_renderer == nullptr) return;
  // SDL reads an empty clip rectangle as "no clipping"; keep one pixel off target.
  SDL_Rect rect{x, y, std::max(width, 0), std::max(height, 0)};
  if (rect.w == 0 || rect.h == 0) rect = SDL_Rect{-2, -2, 1, 1};
  SDL_RenderSetClipRect(AsRenderer(m_renderer), &rect);
  // Direct blits clip to the same rectangle within the frame.
  const int left = std::max(rect.x, 0), top = std::max(rect.y, 0);
  const int right = std::max(left, std::min(rect.x + rect.w, m_width));
  const int bottom = std::max(top, std::min(rect.y + rect.h, m_height));
  m_clip = Rect{left, top, right - left, bottom - top};
}

void Gfx::ClearClip() {
  if (m_renderer == nullptr) return;
  SDL_RenderSetClipRect(AsRenderer(m_renderer), nullptr);
  m_clip = Rect{0, 0, m_width, m_height};
}

void Gfx::Present() {
  if (m_renderer == nullptr) return;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  if (m_frame != nullptr) {
    SDL_RenderFlush(renderer);
    // Headless, nobody looks at a full-screen window's surface (the whole dummy
    // desktop) unless SDL saves it to files: the frame stays ours, where
    // ReadPixels and the captures read it, and the copy is skipped.
    if (!(m_unseenFullScreen && m_window->IsFullScreen())) PresentFrame();
    SDL_PumpEvents();
    return;
  }
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, AsTexture(m_target), nullptr, nullptr);
  SDL_RenderPresent(renderer);
  // Keeps the window manager from thinking a long loading screen hung.
  SDL_PumpEvents();
}

void Gfx::PresentFrame() {
  SDL_Window* window = static_cast<SDL_Window*>(m_window->NativeHandle());
  SDL_Surface* screen = SDL_GetWindowSurface(window);
  if (screen == nullptr) return;
  // The frame scaled to fit, centred, at its own aspect; only the bars are cleared.
  const float scaleX = static_cast<float>(screen->w) / static_cast<float>(m_width);
  const float scaleY = static_cast<float>(screen->h) / static_cast<float>(m_height);
  SDL_Rect view{0, 0, screen->w, screen->h};
  if (std::fabs(scaleX - scaleY) * static_cast<float>(m_height) >= 0.0001f * screen->h) {
    if (scaleX < scaleY) {
      view.h = static_cast<int>(std::floor(static_cast<float>(m_height) * scaleX));
      view.y = (screen->h - view.h) / 2;
    } else {
      view.w = static_cast<int>(std::floor(static_cast<float>(m_width) * scaleY));
      view.x = (screen->w - view.w) / 2;
    }
  }
  const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
  const SDL_Rect bars[4] = {{0, 0, screen->w, view.y},
                            {0, view.y + view.h, screen->w, screen->h - view.y - view.h},
                            {0, view.y, view.x, view.h},
                            {view.x + view.w, view.y, screen->w - view.x - view.w, view.h}};
  for (const SDL_Rect& bar : bars) {
    if (bar.w > 0 && bar.h > 0) SDL_FillRect(screen, &bar, black);
  }
  SDL_Surface* frame = AsSurface(m_frame);
  const SDL_PixelFormat* format = screen->format;
  const bool sameLayout = format->BytesPerPixel == 4 && format->Rmask == 0x00FF0000u &&
                          format->Gmask == 0x0000FF00u && format->Bmask == 0x000000FFu &&
                          (format->Amask == 0 || format->Amask == 0xFF000000u);
  if (view.w <= 0 || view.h <= 0) {
  } else if (!sameLayout || SDL_MUSTLOCK(screen)) {
    SDL_BlitScaled(frame, nullptr, screen, &view);
  } else if (m_fast.present && view.w == m_width && view.h == m_height) {
    // One to one: each row is copied straight, clearing alpha where the window
    // keeps none, as the scaler below would.
    const __m128i keep = _mm_set1_epi32(format->Amask == 0 ? 0x00FFFFFF : -1);
    for (int y = 0; y < m_height; ++y) {
      const auto* src =
          reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(frame->pixels) +
                                                 static_cast<std::ptrdiff_t>(y) * frame->pitch);
      auto* dst = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(screen->pixels) +
                                                   static_cast<std::ptrdiff_t>(view.y + y) *
                                                       screen->pitch) +
                  view.x;
      int x = 0;
      for (; x + 4 <= m_width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_and_si128(pixels, keep));
      }
      for (; x < m_width; ++x)
        dst[x] = src[x] & static_cast<std::uint32_t>(_mm_cvtsi128_si32(keep));
    }
  } else {
    // Nearest-pixel scaling, sampling where SDL's own scaler does; rows that
    // repeat the one above are copied whole.
    const std::uint32_t keep = format->Amask == 0 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    const std::uint64_t stepX = (static_cast<std::uint64_t>(m_width) << 16) / view.w;
    const std::uint64_t stepY = (static_cast<std::uint64_t>(m_height) << 16) / view.h;
    m_scaleColumns.resize(static_cast<std::size_t>(view.w));
    for (int x = 0; x < view.w; ++x) {
      m_scaleColumns[x] = static_cast<int>((stepX / 2 + stepX * static_cast<std::uint64_t>(x)) >> 16);
    }
    int previousRow = -1;
    std::uint32_t* previous = nullptr;
    for (int y = 0; y < view.h; ++y) {
      const int row = static_cast<int>((stepY / 2 + stepY * static_cast<std::uint64_t>(y)) >> 16);
      std::uint32_t* dst =
          reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(screen->pixels) +
                                           static_cast<std::ptrdiff_t>(view.y + y) * screen->pitch) +
          view.x;
      if (row == previousRow) {
        std::memcpy(dst, previous, static_cast<std::size_t>(view.w) * sizeof(std::uint32_t));
      } else {
        const std::uint32_t* src = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(frame->pixels) +
            static_cast<std::ptrdiff_t>(row) * frame->pitch);
        for (int x = 0; x < view.w; ++x) dst[x] = src[m_scaleColumns[x]] & keep;
      }
      previousRow = row;
      previous = dst;
    }
  }
  SDL_UpdateWindowSurface(window);
}

bool Gfx::ReadPixels(std::vector<std::uint32_t>& argb) {
  if (m_renderer == nullptr) return false;
  SDL_Renderer* renderer = AsRenderer(m_renderer);
  if (m_frame != nullptr) {
    SDL_RenderFlush(renderer);
    const SDL_Surface* frame = AsSurface(m_frame);
    argb.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
    for (int y = 0; y < m_height; ++y) {
      std::memcpy(argb.data() + static_cast<std::ptrdiff_t>(y) * m_width,
                  static_cast<const std::uint8_t*>(frame->pixels) +
                      static_cast<std::ptrdiff_t>(y) * frame->pitch,
                  static_cast<std::size_t>(m_width) * sizeof(std::uint32_t));
    }
    return true;
  }
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
