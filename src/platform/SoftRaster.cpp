#include "platform/SoftRaster.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

// SDL's blend of a texel with its own alpha a and no modulation: each channel,
// alpha too, as (s * a >> 8) + (d * (255 - a) >> 8), alpha's source factor being
// 255; a transparent texel leaves the pixel and an opaque one replaces it.
std::uint32_t BlendPlain(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t factor = shift == 24 ? 255u : a;
    const std::uint32_t value =
        ((((s >> shift) & 0xFFu) * factor) >> 8) + ((((d >> shift) & 0xFFu) * (255u - a)) >> 8);
    out |= std::min(value, 255u) << shift;
  }
  return out;
}

// x / 255 rounded down, exact for 0 <= x <= 255 * 255, in each 16-bit lane.
__m128i Divide255(__m128i x) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)),
                        8);
}

}  // namespace

// BlendPlain for a row, four texels at a time; runs wholly transparent or wholly
// opaque cost next to nothing, as sprite art is mostly both.
void BlendPlainRow(const std::uint32_t* src, std::uint32_t* dst, int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaLanes = _mm_set_epi16(0xFF, 0, 0, 0, 0xFF, 0, 0, 0);
  const __m128i lowBytes = _mm_set1_epi16(0xFF);
  const __m128i opaque = _mm_set1_epi32(0xFF);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i alpha = _mm_srli_epi32(s, 24);
    const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
    const __m128i solid = _mm_cmpeq_epi32(alpha, opaque);
    const int clearMask = _mm_movemask_epi8(clear);
    if (clearMask == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(dst + i);
    const int solidMask = _mm_movemask_epi8(solid);
    if (solidMask == 0xFFFF) {
      _mm_storeu_si128(out, s);
      continue;
    }
    const __m128i d = _mm_loadu_si128(out);
    // An edge of hard-edged art: each texel either keeps the pixel or replaces it.
    if ((clearMask | solidMask) == 0xFFFF) {
      _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(solid, s), _mm_andnot_si128(solid, d)));
      continue;
    }
    __m128i halves[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i s16 = h == 0 ? _mm_unpacklo_epi8(s, zero) : _mm_unpackhi_epi8(s, zero);
      const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
      const __m128i a16 = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
      const __m128i srcFactor = _mm_or_si128(a16, alphaLanes);
      const __m128i dstFactor = _mm_xor_si128(a16, lowBytes);
      halves[h] = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s16, srcFactor), 8),
                                _mm_srli_epi16(_mm_mullo_epi16(d16, dstFactor), 8));
    }
    __m128i blended = _mm_packus_epi16(halves[0], halves[1]);
    blended = _mm_or_si128(_mm_andnot_si128(_mm_or_si128(clear, solid), blended),
                           _mm_or_si128(_mm_and_si128(clear, d), _mm_and_si128(solid, s)));
    _mm_storeu_si128(out, blended);
  }
  for (; i < count; ++i) dst[i] = BlendPlain(src[i], dst[i]);
}

// SDL's blend of a texel modulated by a colour other than white: modulate, then
// premultiply by the resulting alpha, then "over", all rounding down by /255.
// A texel whose alpha ends at 0 leaves the pixel alone, which the sums give too.
void BlendModulatedRow(const std::uint32_t* src, std::uint32_t* dst, int count,
                       std::uint32_t argb) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lowBytes = _mm_set1_epi16(0xFF);
  const __m128i alphaLanes = _mm_set_epi16(0xFF, 0, 0, 0, 0xFF, 0, 0, 0);
  const __m128i modulation =
      _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(argb)), zero);  // two pixels' worth
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(s, 24), zero)) == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(dst + i);
    const __m128i d = _mm_loadu_si128(out);
    __m128i halves[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i s16 = h == 0 ? _mm_unpacklo_epi8(s, zero) : _mm_unpackhi_epi8(s, zero);
      const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
      const __m128i modulated = Divide255(_mm_mullo_epi16(s16, modulation));
      const __m128i a16 = _mm_shufflehi_epi16(_mm_shufflelo_epi16(modulated, 0xFF), 0xFF);
      const __m128i premultiplied =
          Divide255(_mm_mullo_epi16(modulated, _mm_or_si128(a16, alphaLanes)));
      halves[h] = _mm_add_epi16(premultiplied,
                                Divide255(_mm_mullo_epi16(d16, _mm_xor_si128(a16, lowBytes))));
    }
    _mm_storeu_si128(out, _mm_packus_epi16(halves[0], halves[1]));
  }
  const std::uint32_t mA = argb >> 24, mR = (argb >> 16) & 0xFFu, mG = (argb >> 8) & 0xFFu,
                      mB = argb & 0xFFu;
  for (; i < count; ++i) {
    const std::uint32_t s = src[i];
    const std::uint32_t sA = (s >> 24) * mA / 255;
    if (sA == 0) continue;
    std::uint32_t sR = ((s >> 16) & 0xFFu) * mR / 255;
    std::uint32_t sG = ((s >> 8) & 0xFFu) * mG / 255;
    std::uint32_t sB = (s & 0xFFu) * mB / 255;
    if (sA < 255) {
      sR = sR * sA / 255;
      sG = sG * sA / 255;
      sB = sB * sA / 255;
    }
    const std::uint32_t d = dst[i];
    const std::uint32_t keep = 255 - sA;
    dst[i] = (sA + keep * (d >> 24) / 255) << 24 | (sR + keep * ((d >> 16) & 0xFFu) / 255) << 16 |
             (sG + keep * ((d >> 8) & 0xFFu) / 255) << 8 | (sB + keep * (d & 0xFFu) / 255);
  }
}

void BlendRow(const std::uint32_t* src, std::uint32_t* dst, int count, std::uint32_t argb) {
  if (argb == kWhite) {
    BlendPlainRow(src, dst, count);
  } else {
    BlendModulatedRow(src, dst, count, argb);
  }
}

// SDL's blend of one colour over a rectangle (already within the frame): the
// colour premultiplied by its alpha, then "over", each step rounding down by /255.
void FillRectBlended(const Frame32& frame, int left, int top, int right, int bottom,
                     std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  if (a == 0 || left >= right || top >= bottom) return;
  const auto premultiplied = [a](std::uint32_t c) { return c * a / 255; };
  const std::uint32_t k = a << 24 | premultiplied((argb >> 16) & 0xFFu) << 16 |
                          premultiplied((argb >> 8) & 0xFFu) << 8 | premultiplied(argb & 0xFFu);
  const std::uint32_t keep = 255 - a;
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep16 = _mm_set1_epi16(static_cast<short>(keep));
  const __m128i k8 = _mm_set1_epi32(static_cast<int>(k));
  const auto over = [&](__m128i d) {
    __m128i halves[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
      halves[h] = Divide255(_mm_mullo_epi16(d16, keep16));
    }
    return _mm_add_epi8(_mm_packus_epi16(halves[0], halves[1]), k8);
  };
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = frame.Row(y);
    int x = left;
    if (a == 255) {
      std::fill(row + left, row + right, k);
      continue;
    }
    for (; x + 4 <= right; x += 4) {
      auto* out = reinterpret_cast<__m128i*>(row + x);
      _mm_storeu_si128(out, over(_mm_loadu_si128(out)));
    }
    for (; x < right; ++x) {
      const std::uint32_t d = row[x];
      std::uint32_t out = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        out |= (((k >> shift) & 0xFFu) + keep * ((d >> shift) & 0xFFu) / 255) << shift;
      }
      row[x] = out;
    }
  }
}

// A whole texture drawn mirrored and/or scaled onto the upright rectangle
// [x0, x1) x [y0, y1), clipped to the frame, the way SDL's software renderer
// draws it with white vertices: texel (incx / 2 + incx * d) >> 16 for the d-th
// pixel from the rectangle's near edge (its far edge when mirrored), incx being
// the texture size over the rectangle's in 16.16. A scaled, unmirrored rectangle
// wholly on the frame blends like a modulated texel; everything else blends plain.
void BlitTransformedRect(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                         int textureWidth, int textureHeight, int x0, int y0, int x1, int y1,
                         bool flipX, bool flipY, std::vector<std::uint32_t>& row) {
  const int width = x1 - x0, height = y1 - y0;
  const int left = std::max(x0, 0), right = std::min(x1, frame.width);
  const int top = std::max(y0, 0), bottom = std::min(y1, frame.height);
  if (left >= right || top >= bottom) return;
  const bool scaled = width != textureWidth || height != textureHeight;
  const bool inside = left == x0 && right == x1 && top == y0 && bottom == y1;
  const bool plain = !scaled || flipX || flipY || !inside;
  const std::uint64_t incX = (static_cast<std::uint64_t>(textureWidth) << 16) / width;
  const std::uint64_t incY = (static_cast<std::uint64_t>(textureHeight) << 16) / height;
  const auto sample = [](std::uint64_t inc, int d) {
    return static_cast<int>((inc / 2 + inc * static_cast<std::uint64_t>(d)) >> 16);
  };
  row.resize(static_cast<std::size_t>(right - left));
  int gathered = -1;
  for (int y = top; y < bottom; ++y) {
    const int sourceRow = sample(incY, flipY ? y1 - 1 - y : y - y0);
    if (sourceRow != gathered) {
      const std::uint32_t* src = texels + static_cast<std::ptrdiff_t>(sourceRow) * texelPitch;
      for (int x = left; x < right; ++x)
        row[x - left] = src[sample(incX, flipX ? x1 - 1 - x : x - x0)];
      gathered = sourceRow;
    }
    std::uint32_t* dst = frame.Row(y) + left;
    if (plain) {
      BlendPlainRow(row.data(), dst, right - left);
    } else {
      BlendModulatedRow(row.data(), dst, right - left, kWhite);
    }
  }
}

namespace {

// Where a pixel samples a texture smoothly along one axis: the texel whose centre
// lies at or before the nearest sampler's position less half a texel, and the
// weight, out of 256, of the texel after it; held at the first and last texels.
struct SmoothTap {
  int first;
  std::uint32_t weight;
};

SmoothTap SmoothTapAt(std::uint64_t inc, int d, int size) {
  const std::int64_t at =
      static_cast<std::int64_t>(inc / 2 + inc * static_cast<std::uint64_t>(d)) - 0x8000;
  if (at <= 0) return {0, 0};
  const int first = static_cast<int>(at >> 16);
  if (first >= size - 1) return {size - 1, 0};
  return {first, static_cast<std::uint32_t>(at >> 8) & 0xFFu};
}

// A straight-alpha texel premultiplied by its alpha, rounded.
std::uint32_t Premultiplied(std::uint32_t t) {
  const std::uint32_t a = t >> 24;
  if (a == 255) return t;
  const auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | scale((t >> 16) & 0xFFu) << 16 | scale((t >> 8) & 0xFFu) << 8 | scale(t & 0xFFu);
}

// (256 - w) * p + w * q over 256, rounded, two channels at a time. Premultiplied
// texels stay premultiplied: no channel ends above the alpha.
std::uint32_t Mix(std::uint32_t p, std::uint32_t q, std::uint32_t w) {
  const std::uint32_t v = 256 - w;
  const std::uint32_t rb = ((p & 0xFF00FFu) * v + (q & 0xFF00FFu) * w + 0x800080u) >> 8;
  const std::uint32_t ag = ((p >> 8) & 0xFF00FFu) * v + ((q >> 8) & 0xFF00FFu) * w + 0x800080u;
  return (rb & 0xFF00FFu) | (ag & 0xFF00FF00u);
}

// A premultiplied texel over a pixel: each channel, alpha too, as
// s + d * (255 - a) / 255 rounded down (x / 255 exactly as (x + 1 + (x >> 8)) >> 8),
// two channels at a time; never above 255, as no channel of s exceeds a.
std::uint32_t OverPremultiplied(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  const std::uint32_t keep = 255 - a;
  const std::uint32_t rb = (d & 0xFF00FFu) * keep;
  const std::uint32_t ag = ((d >> 8) & 0xFF00FFu) * keep;
  const std::uint32_t rbKept = ((rb + 0x10001u + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  const std::uint32_t agKept = (ag + 0x10001u + ((ag >> 8) & 0xFF00FFu)) & 0xFF00FF00u;
  return s + (rbKept | agKept);
}

// Mixes two rows by `weight` (of the second, out of 256) and lays the result over
// `dst`: Mix then OverPremultiplied, four pixels at a time in the same sums (16-bit
// lanes hold every one), so each pixel is what the one-pixel step gives.
void MixRowsOver(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight,
                 std::uint32_t* dst, int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
  const __m128i v = _mm_set1_epi16(static_cast<short>(256 - weight));
  const __m128i half = _mm_set1_epi16(128), lowBytes = _mm_set1_epi16(0xFF);
  int x = 0;
  for (; x + 4 <= count; x += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + x));
    const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + x));
    // Wholly clear texels leave the pixels as they are.
    const __m128i clear = _mm_cmpeq_epi32(_mm_srli_epi32(_mm_or_si128(p, q), 24), zero);
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    auto* out = reinterpret_cast<__m128i*>(dst + x);
    const __m128i d = _mm_loadu_si128(out);
    __m128i halves[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i p16 = h == 0 ? _mm_unpacklo_epi8(p, zero) : _mm_unpackhi_epi8(p, zero);
      const __m128i q16 = h == 0 ? _mm_unpacklo_epi8(q, zero) : _mm_unpackhi_epi8(q, zero);
      const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
      const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(p16, v), _mm_mullo_epi16(q16, w));
      const __m128i s16 = _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
      const __m128i a16 = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
      halves[h] = _mm_add_epi16(s16, Divide255(_mm_mullo_epi16(d16, _mm_xor_si128(a16, lowBytes))));
    }
    _mm_storeu_si128(out, _mm_packus_epi16(halves[0], halves[1]));
  }
  for (; x < count; ++x) dst[x] = OverPremultiplied(Mix(upper[x], lower[x], weight), dst[x]);
}

}  // namespace

void BlitSmoothRect(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                    int textureWidth, int textureHeight, int x0, int y0, int x1, int y1, bool flipX,
                    bool flipY, std::vector<std::uint32_t>& scratch) {
  const int width = x1 - x0, height = y1 - y0;
  const int left = std::max(x0, 0), right = std::min(x1, frame.width);
  const int top = std::max(y0, 0), bottom = std::min(y1, frame.height);
  if (left >= right || top >= bottom) return;
  const std::uint64_t incX = (static_cast<std::uint64_t>(textureWidth) << 16) / width;
  const std::uint64_t incY = (static_cast<std::uint64_t>(textureHeight) << 16) / height;
  // Each column's first texel and weight; one texel row premultiplied; the two
  // texel rows a pixel row lies between, each mixed across for every column.
  const auto columns = static_cast<std::size_t>(right - left);
  scratch.resize(3 * columns + static_cast<std::size_t>(textureWidth));
  std::uint32_t* const column = scratch.data();
  std::uint32_t* const upper = column + columns;
  std::uint32_t* const lower = upper + columns;
  std::uint32_t* const source = lower + columns;
  for (int x = left; x < right; ++x) {
    const SmoothTap tap = SmoothTapAt(incX, flipX ? x1 - 1 - x : x - x0, textureWidth);
    column[x - left] = static_cast<std::uint32_t>(tap.first) << 8 | tap.weight;
  }
  const auto mixAcross = [&](int sourceRow, std::uint32_t* out) {
    const std::uint32_t* src = texels + static_cast<std::ptrdiff_t>(sourceRow) * texelPitch;
    for (int k = 0; k < textureWidth; ++k) source[k] = Premultiplied(src[k]);
    for (std::size_t i = 0; i < columns; ++i) {
      const std::uint32_t first = column[i] >> 8, weight = column[i] & 0xFFu;
      out[i] = weight == 0 ? source[first] : Mix(source[first], source[first + 1], weight);
    }
  };
  int loaded = -1;
  for (int y = top; y < bottom; ++y) {
    const SmoothTap tap = SmoothTapAt(incY, flipY ? y1 - 1 - y : y - y0, textureHeight);
    if (tap.first != loaded) {
      mixAcross(tap.first, upper);
      // The last row has none below it, and a weight of 0 for it.
      if (tap.first + 1 < textureHeight) mixAcross(tap.first + 1, lower);
      loaded = tap.first;
    }
    MixRowsOver(upper, tap.weight == 0 ? upper : lower, tap.weight, frame.Row(y) + left,
                right - left);
  }
}

namespace {

// A corner of a triangle as SDL's software renderer keeps it: destination
// positions in half pixels, texture positions in whole texels.
struct TrianglePoint {
  int x;
  int y;
};

std::int64_t Cross(const TrianglePoint& a, const TrianglePoint& b, std::int64_t cx,
                   std::int64_t cy) {
  return static_cast<std::int64_t>(b.x - a.x) * (cy - a.y) -
         static_cast<std::int64_t>(b.y - a.y) * (cx - a.x);
}

// Whether edge a-b is a top or left edge, whose pixels the triangle keeps.
bool IsTopLeft(const TrianglePoint& a, const TrianglePoint& b, bool clockwise) {
  if (clockwise) return (a.y == b.y && a.x < b.x) || b.y < a.y;
  return (a.y == b.y && b.x < a.x) || a.y < b.y;
}

std::int64_t FloorDivide(std::int64_t n, std::int64_t d) {
  const std::int64_t q = n / d;
  return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

// n / d rounded down while n moves by a fixed step: one division to start, then
// additions only.
struct SteppedQuotient {
  SteppedQuotient(std::int64_t n, std::int64_t step, std::int64_t d)
      : q(FloorDivide(n, d)), r(n - q * d), dq(FloorDivide(step, d)), dr(step - dq * d), d(d) {}
  void Next() {
    q += dq;
    r += dr;
    if (r >= d) {
      r -= d;
      ++q;
    }
  }
  std::int64_t q, r, dq, dr, d;
};

// One white textured triangle as SDL's software renderer draws it: the pixels
// whose centres the edge functions (top-left rule) keep, within the triangle's
// bounding box less its last column and row; each texel found from the
// barycentric weights rounded down, the texture's far edge pulled in by one;
// blended like a modulated texel. The caller keeps SDL's integer sums in range.
void BlitTriangle(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                  int textureWidth, int textureHeight, TrianglePoint d0, TrianglePoint d1,
                  TrianglePoint d2, TrianglePoint s0, TrianglePoint s1, TrianglePoint s2,
                  std::vector<std::uint32_t>& row) {
  std::int64_t area = Cross(d0, d1, d2.x, d2.y);
  if (area == 0) return;
  const int minX = std::min({d0.x, d1.x, d2.x}), maxX = std::max({d0.x, d1.x, d2.x});
  const int minY = std::min({d0.y, d1.y, d2.y}), maxY = std::max({d0.y, d1.y, d2.y});
  // The texcoords reach their largest value at the far corners: one less.
  const int maxU = std::max({s0.x, s1.x, s2.x}), maxV = std::max({s0.y, s1.y, s2.y});
  const int minU = std::min({s0.x, s1.x, s2.x}), minV = std::min({s0.y, s1.y, s2.y});
  for (TrianglePoint* s : {&s0, &s1, &s2}) {
    if (maxU > minU && s->x == maxU) --s->x;
    if (maxV > minV && s->y == maxV) --s->y;
  }
  // The bounding box in whole pixels, clipped to the frame.
  const int boxLeft = minX >> 1, boxTop = minY >> 1;
  const int left = std::max(boxLeft, 0), top = std::max(boxTop, 0);
  const int right = std::min(boxLeft + ((maxX - minX) >> 1), frame.width);
  const int bottom = std::min(boxTop + ((maxY - minY) >> 1), frame.height);
  if (left >= right || top >= bottom) return;
  const bool clockwise = area > 0;
  const std::int64_t sign = clockwise ? 1 : -1;
  area = std::abs(area);
  // Steps of the edge functions per pixel across and down, in half pixels.
  const std::int64_t step0x = sign * (d1.y - d2.y) * 2, step1x = sign * (d2.y - d0.y) * 2,
                     step2x = sign * (d0.y - d1.y) * 2;
  const std::int64_t step0y = sign * (d2.x - d1.x) * 2, step1y = sign * (d0.x - d2.x) * 2,
                     step2y = sign * (d1.x - d0.x) * 2;
  const std::int64_t cx = 2 * static_cast<std::int64_t>(left) + 1;
  const std::int64_t cy = 2 * static_cast<std::int64_t>(top) + 1;
  std::int64_t row0 = sign * Cross(d1, d2, cx, cy), row1 = sign * Cross(d2, d0, cx, cy),
               row2 = sign * Cross(d0, d1, cx, cy);
  const std::int64_t bias0 = IsTopLeft(d1, d2, clockwise) ? 0 : -1;
  const std::int64_t bias1 = IsTopLeft(d2, d0, clockwise) ? 0 : -1;
  const std::int64_t bias2 = IsTopLeft(d0, d1, clockwise) ? 0 : -1;
  const std::int64_t s20x = s0.x - s2.x, s21x = s1.x - s2.x, s20y = s0.y - s2.y, s21y = s1.y - s2.y;
  const std::int64_t s2AreaX = s2.x * area, s2AreaY = s2.y * area;
  const std::int64_t stepU = step0x * s20x + step1x * s21x;
  const std::int64_t stepV = step0x * s20y + step1x * s21y;
  row.resize(static_cast<std::size_t>(right - left));
  for (int y = top; y < bottom; ++y) {
    std::int64_t w0 = row0, w1 = row1, w2 = row2;
    int first = -1, last = -1;
    for (int x = left; x < right; ++x) {
      if (w0 + bias0 >= 0 && w1 + bias1 >= 0 && w2 + bias2 >= 0) {
        if (first < 0) first = x;
        last = x;
      } else if (first >= 0) {
        break;  // the pixels kept in a row are one run
      }
      w0 += step0x;
      w1 += step1x;
      w2 += step2x;
    }
    if (first >= 0) {
      const std::int64_t a0 = row0 + step0x * (first - left), a1 = row1 + step1x * (first - left);
      SteppedQuotient u(a0 * s20x + a1 * s21x + s2AreaX, stepU, area);
      SteppedQuotient v(a0 * s20y + a1 * s21y + s2AreaY, stepV, area);
      for (int x = first; x <= last; ++x) {
        const auto tu = static_cast<int>(std::clamp<std::int64_t>(u.q, 0, textureWidth - 1));
        const auto tv = static_cast<int>(std::clamp<std::int64_t>(v.q, 0, textureHeight - 1));
        row[x - first] = texels[static_cast<std::ptrdiff_t>(tv) * texelPitch + tu];
        u.Next();
        v.Next();
      }
      BlendModulatedRow(row.data(), frame.Row(y) + first, last - first + 1, kWhite);
    }
    row0 += step0y;
    row1 += step1y;
    row2 += step2y;
  }
}

}  // namespace

// A quad that is no upright rectangle, as SDL draws it: two triangles, corners
// 0-1-2 then 0-2-3, positions truncated to whole pixels and texture positions
// to whole texels. False when SDL has to draw it.
bool BlitTurnedQuad(const Frame32& frame, const std::uint32_t* texels, int texelPitch,
                    int textureWidth, int textureHeight, const float* xy, const float* uv,
                    std::vector<std::uint32_t>& row) {
  TrianglePoint d[4], s[4];
  for (int i = 0; i < 4; ++i) {
    if (!(std::fabs(xy[2 * i]) <= 4096.0f && std::fabs(xy[2 * i + 1]) <= 4096.0f)) return false;
    if (!(uv[2 * i] >= 0.0f && uv[2 * i] <= 1.0f && uv[2 * i + 1] >= 0.0f &&
          uv[2 * i + 1] <= 1.0f)) {
      return false;
    }
    d[i] = TrianglePoint{static_cast<int>(xy[2 * i]) * 2, static_cast<int>(xy[2 * i + 1]) * 2};
    s[i] = TrianglePoint{static_cast<int>(uv[2 * i] * static_cast<float>(textureWidth)),
                         static_cast<int>(uv[2 * i + 1] * static_cast<float>(textureHeight))};
  }
  // Corners on two columns and two rows make a rectangle, which SDL copies instead.
  const auto distinct = [&](auto coordinate) {
    int values[4], count = 0;
    for (const TrianglePoint& p : d) {
      const int value = coordinate(p);
      if (std::find(values, values + count, value) == values + count) values[count++] = value;
    }
    return count;
  };
  if (distinct([](const TrianglePoint& p) { return p.x; }) <= 2 &&
      distinct([](const TrianglePoint& p) { return p.y; }) <= 2) {
    return false;
  }
  // SDL keeps a texture position times the area in an int; both triangles are
  // checked before either is drawn.
  const auto fits = [&](int a, int b, int c) {
    const std::int64_t area = std::abs(Cross(d[a], d[b], d[c].x, d[c].y));
    const int maxU = std::max({s[a].x, s[b].x, s[c].x}), maxV = std::max({s[a].y, s[b].y, s[c].y});
    return area * std::max(maxU, maxV) < 0x7FFFFFFF;
  };
  if (!fits(0, 1, 2) || !fits(0, 2, 3)) return false;
  BlitTriangle(frame, texels, texelPitch, textureWidth, textureHeight, d[0], d[1], d[2], s[0], s[1],
               s[2], row);
  BlitTriangle(frame, texels, texelPitch, textureWidth, textureHeight, d[0], d[2], d[3], s[0], s[2],
               s[3], row);
  return true;
}

}  // namespace platform
