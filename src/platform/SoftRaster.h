// The software device's own drawing loops: row blends, one-colour fills,
// mirrored/scaled copies and turned quads, each giving SDL's software renderer's
// pixels bit for bit. Gfx checks every one against SDL's result when it opens
// and draws with SDL instead where a check fails, so a change here must keep
// those checks passing. Smooth scaling, last, is ours alone.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// The colour that leaves a texture's texels as they are.
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// A 32-bit frame as the loops write it.
struct Frame32 {
  std::uint32_t* pixels;
  int pitch;  // in pixels
  int width;
  int height;
  std::uint32_t* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * pitch; }
};

// Blends `count` texels over a row of pixels, each with its own alpha.
void BlendPlainRow(const std::uint32_t* src, std::uint32_t* dst, int count);
// The same with the texels modulated by `argb`, as SDL blends a coloured vertex.
void BlendModulatedRow(const std::uint32_t* src, std::uint32_t* dst, int count, std::uint32_t argb);
// Either of the above, by whether `argb` is white.
void BlendRow(const std::uint32_t* src, std::uint32_t* dst, int count, std::uint32_t argb);

// Blends one colour over [left, right) x [top, bottom), already within the frame.
void FillRectBlended(const Frame32& frame, int left, int top, int right, int bottom,
                     std::uint32_t argb);

// A whole texture mirrored and/or scaled onto the upright rectangle
// [x0, x1) x [y0, y1), clipped to the frame. `row` is scratch space.
void BlitTransformedRect(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                         int textureWidth, int textureHeight, int x0, int y0, int x1, int y1,
                         bool flipX, bool flipY, std::vector<std::uint32_t>& row);

// The same with the texture sampled smoothly: each pixel mixes the four texels
// whose centres surround its own (the edge texels repeating past the edges), and
// blends premultiplied, so soft art blown up far past its size shows no texel
// steps. Integer throughout, so every build gives the same pixels. `scratch`
// holds the mixed rows and each column's texels and weight.
void BlitSmoothRect(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                    int textureWidth, int textureHeight, int x0, int y0, int x1, int y1, bool flipX,
                    bool flipY, std::vector<std::uint32_t>& scratch);

// A textured quad that is no upright rectangle, corners `xy` in the frame and
// `uv` in the texture. False, drawing nothing, where SDL has to draw it.
bool BlitTurnedQuad(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                    int textureWidth, int textureHeight, const float* xy, const float* uv,
                    std::vector<std::uint32_t>& row);

}  // namespace platform
