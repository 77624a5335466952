// The factory's steel plating, look by look. The plates run in courses 32 high, each course
// shifted by half a 64-wide plate; a plate that lies wholly inside the tile meets the next
// tile at a joint, so a look may tone it afresh without leaving a seam. Everything else a
// look adds keeps clear of the tile's edges, except the fittings that run over several tiles:
// those cross a side at the same place and in the same way on every piece.
#include "SteelLooks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "GroundKit.h"
#include "PaintKit.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 2 * kPi;
// What a look adds stays this far from the tile's edges.
constexpr double kMargin = 14;
constexpr double kPlateW = 64, kCourse = 32;

// One plate from x0 to x1 of the course from y down, as the bare plating draws its own: the
// joints along its top and left lit from above, a rivet near either end.
void Plate(cairo_t* cr, double x0, double x1, double y) {
  cairo_rectangle(cr, x0 + 2, y + 2, x1 - x0 - 4, kCourse - 4);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.035);
  cairo_fill(cr);
  cairo_move_to(cr, x0, y + 0.75);
  cairo_line_to(cr, x1, y + 0.75);
  cairo_move_to(cr, x0 + 0.75, y);
  cairo_line_to(cr, x0 + 0.75, y + kCourse);
  cairo_set_source_rgba(cr, 0.08, 0.1, 0.13, 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_move_to(cr, x0 + 2, y + 2.25);
  cairo_line_to(cr, x1, y + 2.25);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.14);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (double rx : {x0 + 6, x1 - 6}) Sphere(cr, rx, y + kCourse / 2, 1.8, Color::Hex(0x8C9AAA));
}

// Plates replaced over the years: in the courses whose plates lie wholly inside the tile the
// joint between them stands where this look has it (or is gone, one long plate), in the
// others the middle plate may be cut in two; and the plates are repainted, some darker, some
// lighter, some in red primer or bare galvanised steel, a few left as they were. The joints
// at the tile's edges stay, so every look still meets the next at a joint.
void Plates(cairo_t* cr, int v, double w, double h) {
  Lcg rng(7300u + static_cast<std::uint32_t>(v) * 131u);
  for (int course = 0; course * kCourse < h; ++course) {
    const double y = course * kCourse;
    const double cutPick = rng.Uniform();
    const double cut = std::round(rng.Range(36, 92));
    std::vector<std::pair<double, double>> plates;
    if (course % 2 == 0) {
      cairo_rectangle(cr, 0, y, w, kCourse);
      SetColor(cr, Color::Hex(0x4A5868));
      cairo_fill(cr);
      if (cutPick < 0.2) {
        plates = {{0, w}};
      } else {
        plates = {{0, cut}, {cut, w}};
      }
      for (const auto& [x0, x1] : plates) Plate(cr, x0, x1, y);
    } else if (cutPick < 0.7) {
      const double mid = std::round(48 + (cut - 36) * 32 / 56);
      StrokeSegment(cr, mid + 0.75, y + 1.5, mid + 0.75, y + kCourse, 1.5,
                    Color{0.08, 0.1, 0.13, 0.9});
      for (double rx : {mid - 6, mid + 6})
        Sphere(cr, rx, y + kCourse / 2, 1.8, Color::Hex(0x8C9AAA));
      plates = {{kPlateW / 2, mid}, {mid, w - kPlateW / 2}};
    } else {
      plates = {{kPlateW / 2, w - kPlateW / 2}};
    }
    for (const auto& [x0, x1] : plates) {
      const double pick = rng.Uniform();
      const double amount = rng.Range(0.04, 0.12);
      if (pick < 0.22) continue;
      Color tone{0, 0, 0, amount + 0.05};
      if (pick >= 0.55 && pick < 0.78) tone = Color{1, 1, 1, amount * 0.8};
      if (pick >= 0.78 && pick < 0.9) tone = Color{0.55, 0.26, 0.16, amount + 0.1};
      if (pick >= 0.9) tone = Color{0.62, 0.72, 0.8, amount + 0.06};
      cairo_rectangle(cr, x0 + 1.5, y + 1.5, x1 - x0 - 1.5, kCourse - 1.5);
      SetColor(cr, tone);
      cairo_fill(cr);
    }
  }
}

// Wear that differs from look to look: grime pooled under the joints, streaks run down from
// rivets, scratches and a patch plate, all clear of the tile's edges.
void Wear(cairo_t* cr, int v, double w, double h, double top) {
  Lcg rng(6100u + static_cast<std::uint32_t>(v) * 613u);
  for (int k = 0; k < 6; ++k) {
    const double r = rng.Range(10, 26);
    const double x = rng.Range(kMargin + r, w - kMargin - r);
    const double y = rng.Range(top + r, h - kMargin - r);
    const bool rust = k % 3 == 0;
    Glow(cr, x, y, r, rust ? Color{0.45, 0.26, 0.14, 0.35} : Color{0.05, 0.06, 0.08, 0.3});
  }
  for (int k = 0; k < 4; ++k) {
    // A streak run down from a joint.
    const double x = rng.Range(kMargin + 4, w - kMargin - 4);
    const double y = rng.Range(top, h * 0.5);
    const double len = rng.Range(16, std::max(17.0, h - kMargin - y));
    cairo_rectangle(cr, x - 2, y, 4, len);
    VerticalGradient(cr, y, y + len, Color{0.08, 0.07, 0.06, 0.4}, Color{0.08, 0.07, 0.06, 0});
    cairo_fill(cr);
  }
  for (int k = 0; k < 5; ++k) {
    const double x = rng.Range(kMargin + 10, w - kMargin - 10);
    const double y = rng.Range(top + 10, h - kMargin - 10);
    const double a = rng.Range(0, kPi);
    const double len = rng.Range(4, 10);
    StrokeSegment(cr, x - std::cos(a) * len, y - std::sin(a) * len, x + std::cos(a) * len,
                  y + std::sin(a) * len, 1, Color{0.85, 0.9, 0.95, 0.35});
  }
  if (v % 2 == 0) {
    // A patch welded over a hole.
    const double pw = rng.Range(18, 30), ph = rng.Range(14, 22);
    const double x = rng.Range(kMargin, w - kMargin - pw);
    const double y = rng.Range(top, h - kMargin - ph);
    cairo_rectangle(cr, x, y, pw, ph);
    FillShadedOutlined(cr, Color::Hex(0x56626E), y, y + ph, 1.2);
    for (double rx : {x + 3, x + pw - 3})
      for (double ry : {y + 3, y + ph - 3}) Sphere(cr, rx, ry, 1.3, Color::Hex(0x9AA6B4));
  }
}

// ---- Fittings, each centred on (cx, cy). ----

void Vent(cairo_t* cr, double cx, double cy, double vw, double vh) {
  RoundedRectPath(cr, cx - vw / 2, cy - vh / 2, vw, vh, 4);
  SetColor(cr, Color::Hex(0x161A20));
  cairo_fill(cr);
  for (double y = cy - vh / 2 + 5; y < cy + vh / 2 - 3; y += 7) {
    cairo_rectangle(cr, cx - vw / 2 + 3, y, vw - 6, 3);
    SetColor(cr, Color::Hex(0x6A7888));
    cairo_fill(cr);
  }
}

void Valve(cairo_t* cr, double cx, double cy) {
  Limb(cr, cx - 40, cy + 8, cx + 40, cy + 8, 12, Color::Hex(0x7C8C70));
  for (double x : {cx - 36, cx + 36}) {
    cairo_rectangle(cr, x - 3, cy - 2, 6, 20);
    SetColor(cr, Color::Hex(0x5A6654));
    cairo_fill(cr);
  }
  cairo_arc(cr, cx, cy - 8, 12, 0, kTwoPi);
  cairo_set_source_rgb(cr, 0.75, 0.2, 0.15);
  cairo_set_line_width(cr, 3.5);
  cairo_stroke(cr);
  Limb(cr, cx, cy - 8, cx, cy + 8, 4, Color::Hex(0x9A2A20));
}

void Lamp(cairo_t* cr, double cx, double cy, bool lit) {
  if (lit) Glow(cr, cx, cy, 34, Color{1, 0.8, 0.35, 0.45});
  Sphere(cr, cx, cy, 8, lit ? Color::Hex(0xFFE6A0) : Color::Hex(0x5A5448));
  cairo_arc(cr, cx, cy, 11, 0, kTwoPi);
  cairo_set_source_rgba(cr, 0.15, 0.15, 0.18, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (double a : {0.4, 1.2, 2.0}) {
    StrokeSegment(cr, cx + std::cos(a) * 11, cy - std::sin(a) * 11, cx + std::cos(a) * 11,
                  cy + std::sin(a) * 11, 1.5, Color{0.15, 0.15, 0.18, 0.9});
  }
}

void Rust(cairo_t* cr, double cx, double cy, std::uint32_t seed) {
  Lcg rng(seed);
  for (int k = 0; k < 7; ++k) {
    const double x = cx + rng.Range(-30, 30);
    const double y = cy + rng.Range(-20, 20);
    const double r = rng.Range(8, 16);
    Glow(cr, x, y, r, Color{0.55, 0.28, 0.12, 0.6});
  }
}

// A pressure gauge on a conduit box, its needle in the red.
void Gauge(cairo_t* cr, double cx, double cy) {
  cairo_rectangle(cr, cx - 3, cy + 10, 6, 26);
  SetColor(cr, Color::Hex(0x3A424C));
  cairo_fill(cr);
  RoundedRectPath(cr, cx - 14, cy + 30, 28, 16, 3);
  FillShadedOutlined(cr, Color::Hex(0x5E6A52), cy + 30, cy + 46, 1.2);
  Sphere(cr, cx, cy, 14, Color::Hex(0x8A949E));
  cairo_arc(cr, cx, cy, 10, 0, kTwoPi);
  SetColor(cr, Color::Hex(0xE8E2D0));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 8, -0.3, 0.5);
  cairo_set_source_rgb(cr, 0.8, 0.15, 0.1);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  StrokeSegment(cr, cx, cy, cx + 7, cy + 2, 1.5, Color{0.1, 0.1, 0.1, 1});
}

// A stencilled plate: a bay number, a hazard stripe along its foot.
void NumberPlate(cairo_t* cr, double cx, double cy, const char* text) {
  RoundedRectPath(cr, cx - 26, cy - 16, 52, 32, 3);
  FillShadedOutlined(cr, Color::Hex(0xC8B27A), cy - 16, cy + 16, 1.2);
  cairo_save(cr);
  cairo_rectangle(cr, cx - 24, cy + 8, 48, 6);
  cairo_clip(cr);
  for (double x = cx - 30; x < cx + 26; x += 8) {
    cairo_move_to(cr, x, cy + 14);
    cairo_line_to(cr, x + 4, cy + 14);
    cairo_line_to(cr, x + 10, cy + 8);
    cairo_line_to(cr, x + 6, cy + 8);
    cairo_close_path(cr);
  }
  SetColor(cr, Color::Hex(0x1A1A1A));
  cairo_fill(cr);
  cairo_restore(cr);
  TextPath(cr, text, cx, cy + 5, 16, 1);
  cairo_set_source_rgba(cr, 0.12, 0.1, 0.08, 0.9);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

// A crack in a plate, dark with a lit lip, branching once.
void Crack(cairo_t* cr, double cx, double cy, std::uint32_t seed) {
  Lcg rng(seed);
  double x = cx - 30, y = cy - 6;
  cairo_move_to(cr, x, y);
  double bx = x, by = y;
  for (int k = 0; k < 8; ++k) {
    x += 7.5;
    const double step = rng.Range(-5, 5);
    y = std::clamp(y + step, cy - 18, cy + 18);
    cairo_line_to(cr, x, y);
    if (k == 3) bx = x, by = y;
  }
  cairo_move_to(cr, bx, by);
  cairo_line_to(cr, bx + 6, by + 12);
  cairo_line_to(cr, bx + 4, by + 22);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(cr, 0.9, 0.92, 0.95, 0.3);
  cairo_set_line_width(cr, 3.5);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgba(cr, 0.03, 0.03, 0.04, 0.95);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

// A junction box with its cable looping down and away.
void JunctionBox(cairo_t* cr, double cx, double cy) {
  cairo_move_to(cr, cx, cy + 12);
  cairo_curve_to(cr, cx, cy + 34, cx - 30, cy + 20, cx - 34, cy + 40);
  cairo_set_source_rgba(cr, 0.08, 0.08, 0.09, 1);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  RoundedRectPath(cr, cx - 14, cy - 14, 28, 26, 3);
  FillShadedOutlined(cr, Color::Hex(0x8A7A3A), cy - 14, cy + 12, 1.2);
  cairo_move_to(cr, cx + 2, cy - 9);
  cairo_line_to(cr, cx - 4, cy);
  cairo_line_to(cr, cx + 2, cy);
  cairo_line_to(cr, cx - 3, cy + 8);
  cairo_set_source_rgb(cr, 0.12, 0.1, 0.05);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

enum class Fitting { None, Vent, SmallVent, Valve, Lamp, DeadLamp, Rust, Gauge, Plate, Crack, Box };

// Where each look's fitting sits: x across the tile, y as a share of the rows below the top.
struct Look {
  Fitting fitting;
  double x, y;
  const char* text;
};

const Look kLooks[] = {
    {Fitting::None, 0, 0, nullptr},         {Fitting::Vent, 50, 0.55, nullptr},
    {Fitting::Valve, 64, 0.45, nullptr},    {Fitting::Lamp, 78, 0.35, nullptr},
    {Fitting::Rust, 54, 0.4, nullptr},      {Fitting::None, 0, 0, nullptr},
    {Fitting::SmallVent, 84, 0.7, nullptr}, {Fitting::Gauge, 40, 0.3, nullptr},
    {Fitting::None, 0, 0, nullptr},         {Fitting::Plate, 70, 0.55, "B7"},
    {Fitting::Crack, 60, 0.5, nullptr},     {Fitting::Box, 90, 0.35, nullptr},
    {Fitting::None, 0, 0, nullptr},         {Fitting::DeadLamp, 38, 0.62, nullptr},
};

}  // namespace

void SteelLook(cairo_t* cr, int v, double w, double h, bool surface) {
  const double top = surface ? 22 : 10;
  Plates(cr, v, w, h);
  Wear(cr, v, w, h, top + 4);
  constexpr int kCount = static_cast<int>(sizeof(kLooks) / sizeof(kLooks[0]));
  if (v < 0 || v >= kCount) return;
  const Look& look = kLooks[v];
  const double cx = look.x, cy = top + 6 + look.y * (h - kMargin - top - 12);
  switch (look.fitting) {
    case Fitting::None:
      break;
    case Fitting::Vent:
      Vent(cr, cx, cy, 60, 40);
      break;
    case Fitting::SmallVent:
      Vent(cr, cx, cy, 36, 26);
      break;
    case Fitting::Valve:
      Valve(cr, cx, cy);
      break;
    case Fitting::Lamp:
      Lamp(cr, cx, cy, true);
      break;
    case Fitting::DeadLamp:
      Lamp(cr, cx, cy, false);
      break;
    case Fitting::Rust:
      Rust(cr, cx, cy, 5150u + static_cast<std::uint32_t>(v));
      break;
    case Fitting::Gauge:
      Gauge(cr, cx, std::min(cy, h - kMargin - 48));
      break;
    case Fitting::Plate:
      NumberPlate(cr, cx, cy, look.text);
      break;
    case Fitting::Crack:
      Crack(cr, cx, cy, 4400u + static_cast<std::uint32_t>(v));
      break;
    case Fitting::Box:
      JunctionBox(cr, cx, cy);
      break;
  }
}

void SteelSpan(cairo_t* cr, const std::string& span, const std::string& part,
               const std::string& text, double w, double h, bool surface) {
  const double top = surface ? 22 : 10;
  const bool first = part == "first", last = part == "last";
  // The run's ends lie inside its first and last pieces; elsewhere it crosses the sides.
  const double from = first ? 40 : -8, to = last ? w - 40 : w + 8;
  if (span == "pipe") {
    // A steam main on stand-off brackets, with a flange where it enters the wall.
    // Drawn whole in every piece and cut to the piece's stretch, so that each piece's pixels
    // along a side it crosses come out the same.
    const double y = top + 38, a = -8, b = w + 8;
    cairo_save(cr);
    cairo_rectangle(cr, from, 0, to - from, h);
    cairo_clip(cr);
    cairo_rectangle(cr, a, y + 8, b - a, 10);
    VerticalGradient(cr, y + 8, y + 18, Color{0, 0, 0, 0.35}, Color{0, 0, 0, 0});
    cairo_fill(cr);
    cairo_rectangle(cr, a, y - 8, b - a, 16);
    VerticalGradient(cr, y - 8, y + 8, Color::Hex(0x9AA68C), Color::Hex(0x3E4A36));
    cairo_fill(cr);
    // Whole rows only: a row partly covered is shaded a level apart where the cut differs.
    StrokeSegment(cr, a, y - 7.5, b, y - 7.5, 1, Color{0.08, 0.1, 0.08, 0.9});
    StrokeSegment(cr, a, y + 7.5, b, y + 7.5, 1, Color{0.08, 0.1, 0.08, 0.9});
    StrokeSegment(cr, a, y - 4.5, b, y - 4.5, 1, Color{0.9, 0.95, 0.85, 0.35});
    cairo_restore(cr);
    for (double x : {first ? from : -100.0, last ? to : -100.0}) {
      if (x < 0) continue;
      cairo_rectangle(cr, x - 4, y - 13, 8, 26);
      FillShadedOutlined(cr, Color::Hex(0x6E7A62), y - 13, y + 13, 1.2);
    }
    if (part == "mid" || first || last) {
      // A bracket holding it off the wall.
      const double bx = first ? 96 : last ? 32 : 64;
      cairo_rectangle(cr, bx - 5, y + 6, 10, 18);
      FillShadedOutlined(cr, Color::Hex(0x4A5560), y + 6, y + 24, 1.2);
      cairo_rectangle(cr, bx - 7, y - 10, 14, 20);
      FillShadedOutlined(cr, Color::Hex(0x5A6572), y - 10, y + 10, 1.2);
    }
    if (part == "valve") {
      cairo_rectangle(cr, 56, y - 22, 16, 14);
      FillShadedOutlined(cr, Color::Hex(0x6E7A62), y - 22, y - 8, 1.2);
      cairo_arc(cr, 64, y - 26, 13, 0, kTwoPi);
      cairo_set_source_rgb(cr, 0.75, 0.2, 0.15);
      cairo_set_line_width(cr, 3.5);
      cairo_stroke(cr);
      StrokeSegment(cr, 51, y - 26, 77, y - 26, 2.5, Color{0.6, 0.15, 0.1, 1});
    }
  } else if (span == "stain") {
    // Soot blown out along a course joint, dripping down the plates below it.
    const double y = top + 20, depth = 40;
    cairo_save(cr);
    cairo_rectangle(cr, from, y, to - from, depth);
    cairo_pattern_t* across = cairo_pattern_create_linear(from, 0, to, 0);
    const double fade = 36 / (to - from);
    cairo_pattern_add_color_stop_rgba(across, 0, 0, 0, 0, first ? 0 : 1);
    cairo_pattern_add_color_stop_rgba(across, fade, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(across, 1 - fade, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(across, 1, 0, 0, 0, last ? 0 : 1);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_rectangle(cr, from, y, to - from, depth);
    VerticalGradient(cr, y, y + depth, Color{0.06, 0.05, 0.05, 0.55}, Color{0.06, 0.05, 0.05, 0});
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_mask(cr, across);
    cairo_pattern_destroy(across);
    cairo_restore(cr);
    Lcg rng(first ? 61u : last ? 67u : 71u);
    for (int k = 0; k < 5; ++k) {
      const double x = rng.Range(std::max(from, 0.0) + 16, std::min(to, w) - 16);
      const double len = rng.Range(18, h - kMargin - y - 8);
      cairo_rectangle(cr, x - 1.5, y + 8, 3, len);
      VerticalGradient(cr, y + 8, y + 8 + len, Color{0.07, 0.05, 0.04, 0.6},
                       Color{0.07, 0.05, 0.04, 0});
      cairo_fill(cr);
    }
  } else if (span == "sign") {
    // A painted board over two tiles: the hall's name between hazard stripes.
    const double y = top + 16, bh = 44;
    const double shift = first ? 0 : -w;  // the board in the coordinates of its first tile
    cairo_save(cr);
    cairo_translate(cr, shift, 0);
    RoundedRectPath(cr, 36, y, 2 * w - 72, bh, 4);
    FillShadedOutlined(cr, Color::Hex(0x2E3A46), y, y + bh, 1.5);
    cairo_save(cr);
    cairo_rectangle(cr, 40, y + bh - 10, 2 * w - 80, 6);
    cairo_clip(cr);
    for (double x = 30; x < 2 * w - 30; x += 12) {
      cairo_move_to(cr, x, y + bh - 4);
      cairo_line_to(cr, x + 6, y + bh - 4);
      cairo_line_to(cr, x + 12, y + bh - 10);
      cairo_line_to(cr, x + 6, y + bh - 10);
      cairo_close_path(cr);
    }
    SetColor(cr, Color::Hex(0xE0B020));
    cairo_fill(cr);
    cairo_restore(cr);
    TextPath(cr, text, w, y + 26, 16, 1);
    cairo_set_source_rgba(cr, 0.92, 0.9, 0.82, 0.92);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    for (double rx : {42.0, 2 * w - 42})
      for (double ry : {y + 6, y + bh - 16}) Sphere(cr, rx, ry, 1.8, Color::Hex(0xA0A8B4));
    cairo_restore(cr);
  }
}

}  // namespace assetgen
