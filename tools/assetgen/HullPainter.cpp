// The airship's ground: a plank deck over the hull. The hull is strakes of riveted plates,
// each plate its own tone, lit along its top and shaded down to its lower seam, with a brushed
// grain over all of it; the bare plating repeats every tile (128 pixels) across and down. Each
// look weathers it differently inside the tile's edges (rust run down from the rivets, grime,
// scratches) and puts its fitting (a patch plate, a porthole, a vent, a hatch or a brass plate)
// in a place of its own, so rows of hull don't read as one stamp.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "GroundKit.h"
#include "PaintKit.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 2 * kPi;
constexpr int kPeriod = 128;
constexpr double kStrake = 32;
// Where each strake's two plates butt together, across the period: staggered so that no
// joint runs down two strakes in line.
constexpr double kButts[4][2] = {{8, 86}, {46, 112}, {26, 70}, {60, 122}};
// Each plate's tone, lighter (+) or darker (-), in strake order; the warmer ones are plates
// replaced since the ship was built.
constexpr double kPlateTone[8] = {0.06, -0.05, 0.0, 0.09, -0.08, 0.03, -0.02, 0.05};
constexpr bool kPlateWarm[8] = {false, false, true, false, false, false, false, true};
const Color kPlate = Color::Hex(0x2F3750);
const Color kRivet = Color::Hex(0x8690A0);
const Color kRust = Color{0.50, 0.27, 0.13, 1};

// Keeps what a look adds clear of the tile's edges, where every look shows the bare plating.
constexpr double kMargin = 14;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Brushed grain one period square: a faint streak per row with fine speckle over it, as
// premultiplied white or black of low alpha. Integer arithmetic only, so every compiler
// paints the same pixels.
cairo_surface_t* NewGrain() {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPeriod, kPeriod);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < kPeriod; ++y) {
    const int row = static_cast<int>(Hash(0, static_cast<std::uint32_t>(y), 17u) % 9u) - 4;
    for (int x = 0; x < kPeriod; ++x) {
      // The streak drifts along the row every 16 pixels, so it reads as brushing, not lines.
      const int drift =
          static_cast<int>(Hash(static_cast<std::uint32_t>(x / 16), static_cast<std::uint32_t>(y),
                                29u) % 5u) - 2;
      const int speck =
          static_cast<int>(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 41u) %
                           9u) - 4;
      const int v = row + drift + speck;  // -10 .. 10
      const std::uint32_t a = static_cast<std::uint32_t>(v < 0 ? -v : v) * 3u / 2u;
      const std::uint32_t c = v > 0 ? a : 0u;
      auto* px = reinterpret_cast<std::uint32_t*>(data + y * stride) + x;
      *px = (a << 24) | (c << 16) | (c << 8) | c;
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

void Grain(cairo_t* cr) {
  cairo_surface_t* grain = NewGrain();
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(grain);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_set_source(cr, pattern);
  cairo_paint(cr);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(grain);
}

// One plate from x0 to x1 of the strake whose top is y: its tone shaded from the light above
// down to its lower seam, its lit top edge and its butt joint, and its rivets.
void Plate(cairo_t* cr, double x0, double x1, double y, int index) {
  Color tone = kPlateTone[index] >= 0 ? kPlate.Lighter(kPlateTone[index])
                                      : kPlate.Darker(-kPlateTone[index]);
  if (kPlateWarm[index]) tone = Color::Mix(tone, Color::Hex(0x54483E), 0.3);
  cairo_rectangle(cr, x0, y, x1 - x0, kStrake);
  VerticalGradient(cr, y, y + kStrake, tone.Lighter(0.12), tone.Darker(0.2));
  cairo_fill(cr);
  // Each plate bulges a little between its frames: it darkens again towards its lower seam.
  cairo_rectangle(cr, x0, y + kStrake - 6, x1 - x0, 6);
  VerticalGradient(cr, y + kStrake - 6, y + kStrake, Color{0, 0, 0, 0}, Color{0, 0, 0, 0.3});
  cairo_fill(cr);
  StrokeSegment(cr, x0, y + 0.75, x1, y + 0.75, 1.5, Color{0.07, 0.08, 0.11, 0.95});
  StrokeSegment(cr, x0, y + 2.25, x1, y + 2.25, 1, Color{0.88, 0.91, 0.96, 0.24});
  // The butt joint at the plate's left, lit on its far side.
  StrokeSegment(cr, x0 + 0.75, y, x0 + 0.75, y + kStrake, 1.5, Color{0.07, 0.08, 0.11, 0.85});
  StrokeSegment(cr, x0 + 2, y + 2, x0 + 2, y + kStrake, 1, Color{0.85, 0.88, 0.94, 0.14});
  for (double rx = x0 + 7; rx < x1 - 3; rx += 10) Sphere(cr, rx, y + 8, 1.4, kRivet);
  for (double ry : {y + 17, y + 26}) Sphere(cr, x0 + 6, ry, 1.4, kRivet);
}

void HullBase(cairo_t* cr, double w, double h) {
  SetColor(cr, kPlate);
  cairo_paint(cr);
  Tiled(kPeriod, kPeriod, w, h, [&](double dx, double dy) {
    for (int strake = 0; strake < 4; ++strake) {
      const double y = dy + kStrake * strake;
      const double a = dx + kButts[strake][0], b = dx + kButts[strake][1];
      Plate(cr, a, b, y, 2 * strake);
      // The second runs on past the period's edge: the copy to the left brings its start.
      Plate(cr, b, a + kPeriod, y, 2 * strake + 1);
    }
  });
  Grain(cr);
}

void DeckPlanks(cairo_t* cr, double length) {
  Band(
      cr, length, [](double) { return 18.0; }, Color::Hex(0xB0804C), Color::Hex(0x6E4A28));
  for (double x = 0; x < length; x += 32) {
    cairo_move_to(cr, x + 16.5, 2);
    cairo_line_to(cr, x + 16.5, 17);
    cairo_set_source_rgba(cr, 0.25, 0.15, 0.08, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (double nx : {x + 12.0, x + 21.0}) {
      cairo_rectangle(cr, nx, 8, 1.5, 1.5);
      cairo_set_source_rgba(cr, 0.2, 0.12, 0.05, 0.9);
      cairo_fill(cr);
    }
  }
  // The steel rim under the planks and its shadow on the hull.
  cairo_rectangle(cr, 0, 18, length, 4);
  SetColor(cr, Color::Hex(0x9AA2AE));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 22, length, 6);
  VerticalGradient(cr, 22, 28, Color{0, 0, 0, 0.4}, Color{0, 0, 0, 0});
  cairo_fill(cr);
}

// Where the hull ends at a gap, its plating turns round a rounded frame: lit where it faces
// the open side, riveted, with the strake seams running round it and a shadow cast inboard.
void HullFace(cairo_t* cr, double length) {
  constexpr double kWidth = 14;
  PlatedFace(cr, length, kWidth, Color{0.72, 0.76, 0.82}, Color{0.30, 0.34, 0.41}, 16,
             Color::Hex(0xC8CED6));
  StrokeSegment(cr, 1.25, 0, 1.25, length, 1.5, Color{0.95, 0.97, 1, 0.55});
  for (double y = 0; y < length; y += kStrake)
    StrokeSegment(cr, 0, y + 0.75, kWidth, y + 0.75, 1.5, Color{0.07, 0.08, 0.11, 0.8});
  StrokeSegment(cr, kWidth + 0.75, 0, kWidth + 0.75, length, 1.5, Color{0.04, 0.05, 0.07, 0.9});
  cairo_rectangle(cr, kWidth + 1.5, 0, 8, length);
  cairo_pattern_t* g = cairo_pattern_create_linear(kWidth + 1.5, 0, kWidth + 9.5, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, 0.4);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0, 0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// A streak run down the plates from a rivet or a joint: rust, or soot and oil.
void Streak(cairo_t* cr, double x, double y, double width, double length, const Color& c) {
  cairo_rectangle(cr, x - width / 2, y, width, length);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + length);
  cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, c.a);
  cairo_pattern_add_color_stop_rgba(g, 0.3, c.r, c.g, c.b, c.a * 0.7);
  cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// The rivet rows' heights inside a tile, where streaks start.
double RivetRow(Lcg& rng, double top) {
  for (;;) {
    const double y = 8 + kStrake * static_cast<int>(rng.Range(0, 4));
    if (y >= top) return y;
  }
}

// Weathering every look carries, each from its own numbers: streaks, grime, rust blooms and
// scratches, all inside the margin.
void Weathering(cairo_t* cr, int v, double w, double h, double top) {
  Lcg rng(7300u + static_cast<std::uint32_t>(v) * 811u);
  const double bottom = h - kMargin;
  for (int k = 0; k < 5; ++k) {
    const double r = rng.Range(10, 24);
    const double x = rng.Range(kMargin + r, w - kMargin - r);
    const double y = rng.Range(top + r, bottom - r);
    const bool rust = k % 2 == 0;
    Glow(cr, x, y, r, rust ? Color{0.48, 0.25, 0.12, 0.24} : Color{0.03, 0.04, 0.06, 0.35});
  }
  for (int k = 0; k < 6; ++k) {
    const double x = rng.Range(kMargin + 3, w - kMargin - 3);
    const double y = RivetRow(rng, top);
    const double length = rng.Range(18, 64);
    const double width = rng.Range(1.5, 4);
    const bool rust = k % 3 != 2;
    if (y + 8 >= bottom) continue;
    Streak(cr, x, y, width, std::min(length, bottom - y),
           rust ? kRust.WithAlpha(0.45) : Color{0.05, 0.05, 0.06, 0.5});
  }
  for (int k = 0; k < 5; ++k) {
    const double x = rng.Range(kMargin + 10, w - kMargin - 10);
    const double y = rng.Range(top + 10, bottom - 10);
    const double a = rng.Range(-0.5, 0.5);
    const double len = rng.Range(4, 10);
    StrokeSegment(cr, x - std::cos(a) * len, y - std::sin(a) * len, x + std::cos(a) * len,
                  y + std::sin(a) * len, 1, Color{0.85, 0.9, 0.95, 0.3});
  }
}

void Porthole(cairo_t* cr, double cx, double cy, double r) {
  cairo_arc(cr, cx, cy + 2, r + 2, 0, kTwoPi);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r, 0, kTwoPi);
  FillShadedOutlined(cr, Color::Hex(0xA88A4A), cy - r, cy + r, 1.2);
  cairo_arc(cr, cx, cy, r * 0.7, 0, kTwoPi);
  VerticalGradient(cr, cy - r, cy + r, Color::Hex(0xFFE8A8), Color::Hex(0xC08838));
  cairo_fill(cr);
  Glow(cr, cx - r * 0.25, cy - r * 0.25, r * 0.5, Color{1, 1, 1, 0.7});
  for (int k = 0; k < 8; ++k) {
    const double a = k * kTwoPi / 8;
    Sphere(cr, cx + std::cos(a) * r * 0.85, cy + std::sin(a) * r * 0.85, 1.3,
           Color::Hex(0x6A5428));
  }
  Streak(cr, cx, cy + r, 3, 30, kRust.WithAlpha(0.5));
}

void Vent(cairo_t* cr, double cx, double cy) {
  RoundedRectPath(cr, cx - 24, cy - 14, 48, 28, 3);
  SetColor(cr, Color::Hex(0x14171D));
  cairo_fill(cr);
  for (double y = cy - 11; y < cy + 12; y += 6) {
    cairo_rectangle(cr, cx - 22, y, 44, 4);
    VerticalGradient(cr, y, y + 4, Color::Hex(0x95A0AE), Color::Hex(0x262A33));
    cairo_fill(cr);
  }
  // Soot blown up over the plates above it.
  Glow(cr, cx, cy - 16, 14, Color{0.03, 0.03, 0.04, 0.4});
}

void Hatch(cairo_t* cr, double cx, double cy) {
  RoundedRectPath(cr, cx - 22, cy - 18, 44, 36, 5);
  FillShadedOutlined(cr, Color::Hex(0x4E5666), cy - 18, cy + 18, 1.5);
  for (double rx : {cx - 16, cx + 16})
    for (double ry : {cy - 12, cy + 12}) Sphere(cr, rx, ry, 1.8, Color::Hex(0xA0A8B4));
  cairo_rectangle(cr, cx - 9, cy - 2.5, 18, 5);
  SetColor(cr, Color::Hex(0xC8A040));
  cairo_fill(cr);
}

// A riveted doubler plate over a repair, its own tone, welded round.
void Patch(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  FillShadedOutlined(cr, Color::Hex(0x4C4A48), y, y + h, 1.2);
  for (double rx = x + 4; rx <= x + w - 3; rx += 8) {
    Sphere(cr, rx, y + 4, 1.3, kRivet);
    Sphere(cr, rx, y + h - 4, 1.3, kRivet);
  }
  Glow(cr, x + w * 0.7, y + h * 0.6, h * 0.5, Color{0.5, 0.26, 0.12, 0.35});
}

void NamePlate(cairo_t* cr, double cx, double cy) {
  RoundedRectPath(cr, cx - 22, cy - 8, 44, 16, 3);
  FillShadedOutlined(cr, Color::Hex(0xB8944A), cy - 8, cy + 8, 1.2);
  for (double x = cx - 14; x <= cx + 14; x += 7)
    StrokeSegment(cr, x, cy - 3, x + 4, cy - 3, 1.5, Color{0.3, 0.22, 0.1, 0.8});
  StrokeSegment(cr, cx - 14, cy + 2, cx + 14, cy + 2, 1, Color{0.3, 0.22, 0.1, 0.6});
  for (double x : {cx - 18, cx + 18}) Sphere(cr, x, cy, 1.4, Color::Hex(0x6A5428));
  Streak(cr, cx - 6, cy + 8, 2.5, 26, Color{0.2, 0.4, 0.3, 0.45});
}

void HullDetail(cairo_t* cr, int v, double w, double h, bool surface) {
  const double top = surface ? 28 : kMargin;
  Weathering(cr, v, w, h, top);
  // Each look puts its fittings somewhere else, so the same fitting never stands in a grid.
  switch (v % 6) {
    case 0:  // a doubler plate over a repair, low on the left
      Patch(cr, 20, std::max(top + 6, 66.0), 44, 30);
      break;
    case 1:  // a porthole right of the middle, and a small patch
      Porthole(cr, 84, std::max(top + 18, 46.0), 15);
      Patch(cr, 22, 86, 26, 18);
      break;
    case 2:  // an engine-room vent high on the left, soot over it
      Vent(cr, 44, std::max(top + 20, 50.0));
      break;
    case 3:  // a bolted hatch low on the right, and a porthole up on the left
      Hatch(cr, 80, 88);
      Porthole(cr, 36, std::max(top + 16, 40.0), 12);
      break;
    case 4:  // a brass builder's plate, and a patch low on the right
      NamePlate(cr, 64, std::max(top + 14, 44.0));
      Patch(cr, 70, 84, 32, 22);
      break;
    default:  // weathering alone, for tiles stacked in a column
      break;
  }
}

const GroundStyle kDeck{22, 14, HullBase, DeckPlanks, HullFace, HullDetail};

// The ship's underside, seen from the side: the plating turns under towards the keel, its
// lower strakes lapped and ever darker, then the keel beam; the sky shows below it. Everything
// repeats every tile across.
constexpr double kBilgeBottom = 72, kKeelTop = 70, kKeelBottom = 92;

// The lower edge of the plating at x: straight, or swept up towards an open side.
double PlatingEdge(double x, double w, int open) {
  const double fromOpen = open < 0 ? x : open > 0 ? w - x : w;
  if (fromOpen >= 64) return kBilgeBottom;
  const double t = 1 - fromOpen / 64;
  return kBilgeBottom - 52 * t * t;
}

}  // namespace

const GroundStyle& DeckStyle() { return kDeck; }

void HullUnderside(cairo_t* cr, int v, int open, double w, double h) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, w, 0);
  for (double x = w; x >= 0; x -= 2) cairo_line_to(cr, x, PlatingEdge(x, w, open));
  cairo_close_path(cr);
  cairo_clip(cr);
  HullBase(cr, w, h);
  // Lapped strakes, each lower one stepped in: a lit lip over a shadow.
  for (double y : {40.0, 56.0}) {
    cairo_rectangle(cr, 0, y, w, 3);
    VerticalGradient(cr, y, y + 3, Color{0, 0, 0, 0.55}, Color{0, 0, 0, 0});
    cairo_fill(cr);
    StrokeSegment(cr, 0, y - 0.75, w, y - 0.75, 1.5, Color{0.8, 0.84, 0.9, 0.35});
    for (double rx = 8; rx < w; rx += 16) Sphere(cr, rx, y + 7, 1.5, Color::Hex(0x6A7282));
  }
  // The plating falls into its own shadow as it turns away from the light.
  cairo_rectangle(cr, 0, 12, w, kBilgeBottom - 12);
  VerticalGradient(cr, 12, kBilgeBottom, Color{0.02, 0.03, 0.06, 0}, Color{0.02, 0.03, 0.06, 0.7});
  cairo_fill(cr);
  if (v % 2 == 1) {
    // A bilge outlet with the rust it weeps down the plates.
    const double cx = w / 2 + 20;
    cairo_rectangle(cr, cx - 3, 30, 6, kBilgeBottom - 30);
    VerticalGradient(cr, 30, kBilgeBottom, Color{0.55, 0.3, 0.14, 0.55}, Color{0.55, 0.3, 0.14, 0});
    cairo_fill(cr);
    cairo_arc(cr, cx, 28, 7, 0, kTwoPi);
    SetColor(cr, Color::Hex(0x8A94A2));
    cairo_fill(cr);
    cairo_arc(cr, cx, 28, 4, 0, kTwoPi);
    SetColor(cr, Color::Hex(0x12151B));
    cairo_fill(cr);
  }
  // The rim along the plating's lower edge.
  cairo_reset_clip(cr);
  for (double x = 0; x <= w; x += 2) cairo_line_to(cr, x, PlatingEdge(x, w, open) - 1);
  cairo_set_source_rgba(cr, 0.04, 0.05, 0.08, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_restore(cr);

  // The keel beam, bevelled off where the hull ends.
  const double x0 = open < 0 ? 40 : 0, x1 = open > 0 ? w - 40 : w;
  cairo_new_path(cr);
  cairo_move_to(cr, open < 0 ? x0 + 14 : x0, kKeelTop);
  cairo_line_to(cr, open > 0 ? x1 - 14 : x1, kKeelTop);
  cairo_line_to(cr, x1, kKeelBottom);
  cairo_line_to(cr, x0, kKeelBottom);
  cairo_close_path(cr);
  VerticalGradient(cr, kKeelTop, kKeelBottom, Color::Hex(0x5A6272), Color::Hex(0x171A22));
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.03, 0.03, 0.05, 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  StrokeSegment(cr, x0 + (open < 0 ? 14 : 0), kKeelTop + 1.5, x1 - (open > 0 ? 14 : 0),
                kKeelTop + 1.5, 1.5, Color{0.85, 0.88, 0.94, 0.5});
  // Its wearing shoe and the rivets that hold the beam to the plating.
  cairo_rectangle(cr, x0, kKeelBottom - 4, x1 - x0, 3);
  SetColor(cr, Color::Hex(0x6E4A30));
  cairo_fill(cr);
  for (double rx = 8; rx < w; rx += 16)
    if (rx > x0 + 16 && rx < x1 - 16) Sphere(cr, rx, kKeelTop + 9, 1.8, Color::Hex(0x9AA2AE));
  // Frame joints of the beam, one every 64 pixels.
  for (double jx = 32; jx < w; jx += 64)
    if (jx > x0 + 16 && jx < x1 - 16)
      StrokeSegment(cr, jx, kKeelTop + 3, jx, kKeelBottom - 4, 1.2, Color{0.05, 0.05, 0.08, 0.8});
}

}  // namespace assetgen
