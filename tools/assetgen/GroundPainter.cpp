// The ground tile sets: the junkyard's packed scrap and the factory's steel plating here,
// the airship's deck over its hull in HullPainter.cpp. Each set's base texture and the bands
// along its surfaces and wall faces repeat on a period that divides the tile size, so tiles
// of any variant join without a seam; what tells the variants apart keeps clear of the edges.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GroundKit.h"
#include "PaintKit.h"
#include "Painter.h"
#include "SteelLooks.h"

namespace assetgen {

void VerticalGradient(cairo_t* cr, double y0, double y1, const Color& a, const Color& b) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(g, 0, a.r, a.g, a.b, a.a);
  cairo_pattern_add_color_stop_rgba(g, 1, b.r, b.g, b.b, b.a);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// A face band `width` wide, lit on its open side, with rivets every `pitch` down its middle.
void PlatedFace(cairo_t* cr, double length, double width, const Color& open, const Color& inner,
                double pitch, const Color& rivet) {
  cairo_rectangle(cr, 0, 0, width, length);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, width, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, open.r, open.g, open.b);
  cairo_pattern_add_color_stop_rgb(g, 1, inner.r, inner.g, inner.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (double y = pitch / 2; y < length; y += pitch) Sphere(cr, width / 2, y, 1.9, rivet);
}

namespace {

// Which sides of a tile lie open, from its kind. Open sides get a surface or a face band; an
// inner corner joins the surface of the tile beside it to the face of the tile above.
struct Sides {
  bool top = false, left = false, right = false;
  bool halfFace = false;  // a half step: only the upper half of the side is open
  int inner = 0;          // -1: the open corner is the top-left one, +1: the top-right one
};

Sides SidesOf(const std::string& kind) {
  Sides s;
  s.halfFace = kind == "step_left" || kind == "step_right";
  s.top = kind == "top" || kind == "ledge_left" || kind == "ledge_right" || kind == "block" ||
          kind == "broken" || kind == "marker" || s.halfFace;
  s.left = kind == "ledge_left" || kind == "wall_left" || kind == "block" || kind == "pillar" ||
           kind == "wall" || kind == "step_left";
  s.right = kind == "ledge_right" || kind == "wall_right" || kind == "block" || kind == "pillar" ||
            kind == "wall" || kind == "step_right";
  s.inner = kind == "inner_left" ? -1 : kind == "inner_right" ? 1 : 0;
  return s;
}

constexpr double kTwoPi = 2 * kPi;

// ---- The junkyard: crushed scrap, repeating every 256 pixels across (the tile) and 128 down
// (half a tile, so that the level's half steps meet the tiles beside them). ----

const Color kRust = Color::Hex(0x7A4A2A);
const Color kSteel = Color::Hex(0x6E7880);

void ScrapBase(cairo_t* cr, double w, double h) {
  SetColor(cr, Color::Hex(0x221E1B));
  cairo_paint(cr);
  Tiled(256, 128, w, h, [&](double dx, double dy) {
    Lcg rng(9100u);
    for (int k = 0; k < 34; ++k) {
      const double pw = rng.Range(16, 78), ph = rng.Range(8, 30);
      const double px = dx + rng.Range(0, 256), py = dy + rng.Range(0, 128);
      const double turn = rng.Range(-0.7, 0.7);
      const Color c = Color::Mix(kRust, kSteel, rng.Uniform()).Darker(rng.Range(0.4, 0.72));
      cairo_save(cr);
      cairo_translate(cr, px, py);
      cairo_rotate(cr, turn);
      if (k % 5 == 4) {
        // A bar or a pipe end rather than a plate.
        cairo_rectangle(cr, -pw / 2, -3, pw, 6);
        FillShadedOutlined(cr, c.Lighter(0.1), -3, 3, 1);
      } else {
        cairo_rectangle(cr, -pw / 2, -ph / 2, pw, ph);
        FillShadedOutlined(cr, c, -ph / 2, ph / 2, 1.2);
      }
      if (k % 3 == 0) {
        // A bolt hole or a rivet on the plate.
        cairo_arc(cr, pw / 4, 0, 2, 0, kTwoPi);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
        cairo_fill(cr);
      }
      cairo_restore(cr);
    }
  });
}

double ScrapEdge(double x) {
  return 15 + 2.5 * std::sin(kTwoPi * x / 128) + 1.5 * std::sin(kTwoPi * 3 * x / 256 + 1.3);
}

void ScrapCrust(cairo_t* cr, double length) {
  Band(cr, length, ScrapEdge, Color::Hex(0xA89478), Color::Hex(0x5E5244));
  // Dents and flattened bits, repeating with the base.
  for (double dx = -128; dx <= length; dx += 128) {
    Lcg rng(331u);
    for (int k = 0; k < 6; ++k) {
      const double x = dx + rng.Range(0, 128);
      const double len = rng.Range(6, 16);  // drawn before the height, as the art was made
      cairo_rectangle(cr, x, rng.Range(4, 9), len, 1.5);
      cairo_set_source_rgba(cr, 0.2, 0.15, 0.1, 0.6);
      cairo_fill(cr);
    }
  }
}

void ScrapFace(cairo_t* cr, double length) {
  cairo_save(cr);
  // Reuse the band along the side: turn the x axis down the face.
  cairo_rotate(cr, kPi / 2);
  cairo_scale(cr, 1, -1);
  Band(
      cr, length, [](double y) { return 11 + 2 * std::sin(kTwoPi * y / 128 + 0.7); },
      Color::Hex(0x8A7A64), Color::Hex(0x4A4036));
  cairo_restore(cr);
}

void Tyre(cairo_t* cr, double x, double y, double r) {
  cairo_arc(cr, x, y, r, 0, kTwoPi);
  SetColor(cr, Color::Hex(0x18181A));
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, 0.5);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int k = 0; k < 12; ++k) {
    const double a = k * kTwoPi / 12;
    cairo_move_to(cr, x + std::cos(a) * r * 0.8, y + std::sin(a) * r * 0.8);
    cairo_line_to(cr, x + std::cos(a) * r * 0.97, y + std::sin(a) * r * 0.97);
  }
  cairo_set_source_rgba(cr, 0.35, 0.35, 0.38, 0.8);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Sphere(cr, x, y, r * 0.42, Color::Hex(0x70767C));
}

// Keeps what a look adds clear of the tile's edges, where every look shows the bare texture.
constexpr double kLookMargin = 14;

// Scrap piled over the base inside the tile, different in each look and in each half of it:
// the base repeats every 128 pixels down, this breaks it up. Each piece lies wholly inside
// the margin, so no piece is cut off along a straight line.
void ScrapHeap(cairo_t* cr, int v, double w, double h, double top) {
  Lcg rng(9300u + static_cast<std::uint32_t>(v) * 977u + (top > kLookMargin ? 31u : 0u));
  for (int k = 0; k < 64; ++k) {
    const double pw = rng.Range(14, 60);
    const double ph = rng.Range(8, 26);
    const double reach = std::hypot(pw, ph) / 2;
    const double px = rng.Range(kLookMargin + reach, w - kLookMargin - reach);
    const double py = rng.Range(top + reach, h - kLookMargin - reach);
    const double turn = rng.Range(-1.2, 1.2);
    const double tone = rng.Uniform();
    const double dark = rng.Range(0.3, 0.68);
    const Color c = Color::Mix(kRust, kSteel, tone).Darker(dark);
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, turn);
    if (k % 7 == 3) {
      // A length of pipe, lit along its top.
      Limb(cr, -pw / 2, 0, pw / 2, 0, 7, c.Lighter(0.15));
    } else {
      cairo_rectangle(cr, -pw / 2, -ph / 2, pw, ph);
      FillShadedOutlined(cr, c, -ph / 2, ph / 2, 1.2);
      if (k % 4 == 1) {
        // Rust bleeding over the plate.
        Glow(cr, rng.Range(-pw / 4, pw / 4), 0, ph * 0.6, Color{0.5, 0.24, 0.1, 0.45});
      }
    }
    cairo_restore(cr);
  }
  // Dark hollows between the pieces: depth in the heap.
  for (int k = 0; k < 5; ++k) {
    const double r = rng.Range(10, 22);
    const double x = rng.Range(kLookMargin + r, w - kLookMargin - r);
    const double y = rng.Range(top + r, h - kLookMargin - r);
    Glow(cr, x, y, r, Color{0.02, 0.02, 0.02, 0.55});
  }
}

void ScrapDetail(cairo_t* cr, int v, double w, double h, bool surface) {
  const double cx = w / 2, cy = h / 2 + (surface ? 14 : 0);
  ScrapHeap(cr, v, w, h, surface ? 30 : kLookMargin);
  cairo_save(cr);
  switch (v % 4) {
    case 0:  // a half-buried tyre and a bar
      Tyre(cr, cx - 20, cy + 10, 34);
      Limb(cr, cx + 20, cy + 50, cx + 80, cy - 10, 7, kSteel.Darker(0.2));
      break;
    case 1: {  // a car door with its window
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, -0.18);
      RoundedRectPath(cr, -56, -36, 112, 72, 10);
      FillShadedOutlined(cr, Color::Hex(0x3E6A8A).Darker(0.25), -36, 36, 1.5);
      RoundedRectPath(cr, -44, -28, 70, 26, 6);
      FillShadedOutlined(cr, Color::Hex(0x1A2228), -28, -2, 1);
      cairo_rectangle(cr, 30, 4, 16, 4);
      SetColor(cr, Color::Hex(0xB0B4B8));
      cairo_fill(cr);
      break;
    }
    case 2: {  // an oil drum on its side
      cairo_translate(cr, cx + 10, cy + 4);
      cairo_rotate(cr, 0.25);
      cairo_rectangle(cr, -46, -26, 80, 52);
      FillShadedOutlined(cr, kRust.Darker(0.1), -26, 26, 1.5);
      for (double x : {-22.0, 10.0}) {
        cairo_rectangle(cr, x, -26, 4, 52);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
        cairo_fill(cr);
      }
      cairo_save(cr);
      cairo_translate(cr, 34, 0);
      cairo_scale(cr, 0.45, 1);
      cairo_arc(cr, 0, 0, 26, 0, kTwoPi);
      cairo_restore(cr);
      FillShadedOutlined(cr, kRust.Lighter(0.15), -26, 26, 1.5);
      break;
    }
    default: {  // a bent girder
      cairo_move_to(cr, cx - 90, cy + 40);
      cairo_line_to(cr, cx - 10, cy - 6);
      cairo_line_to(cr, cx + 80, cy - 20);
      cairo_set_line_width(cr, 16);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      SetColor(cr, Color::Hex(0x1E1A18));
      cairo_stroke_preserve(cr);
      cairo_set_line_width(cr, 11);
      SetColor(cr, kRust.Darker(0.15));
      cairo_stroke_preserve(cr);
      cairo_set_line_width(cr, 3);
      SetColor(cr, kRust.Lighter(0.2));
      cairo_stroke(cr);
      for (double t : {0.2, 0.5, 0.8}) Sphere(cr, cx - 90 + 170 * t, cy + 40 - 60 * t, 2.5, kSteel);
      break;
    }
  }
  cairo_restore(cr);
}

// ---- The factory: steel plating in courses 32 high, each course shifted by half a plate,
// repeating every 64 pixels. ----

void SteelBase(cairo_t* cr, double w, double h) {
  SetColor(cr, Color::Hex(0x4A5868));
  cairo_paint(cr);
  Tiled(64, 64, w, h, [&](double dx, double dy) {
    for (int course = 0; course < 2; ++course) {
      const double y = dy + 32 * course, shift = 32 * course;
      for (double x : {dx + shift, dx + shift - 64}) {
        cairo_rectangle(cr, x + 2, y + 2, 60, 28);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.035);
        cairo_fill(cr);
        // The joint at the plate's top and left, lit from above.
        cairo_move_to(cr, x, y + 0.75);
        cairo_line_to(cr, x + 64, y + 0.75);
        cairo_move_to(cr, x + 0.75, y);
        cairo_line_to(cr, x + 0.75, y + 32);
        cairo_set_source_rgba(cr, 0.08, 0.1, 0.13, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_move_to(cr, x + 2, y + 2.25);
        cairo_line_to(cr, x + 64, y + 2.25);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.14);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        for (double rx : {x + 6, x + 58}) Sphere(cr, rx, y + 16, 1.8, Color::Hex(0x8C9AAA));
      }
    }
  });
}

void SteelTop(cairo_t* cr, double length) {
  Band(
      cr, length, [](double) { return 14.0; }, Color::Hex(0xC4D0DC), Color::Hex(0x7E8A98));
  // Tread marks on the walkway, every 16 pixels.
  for (double x = 4; x < length; x += 16) {
    cairo_rectangle(cr, x, 5, 8, 2);
    cairo_set_source_rgba(cr, 0.25, 0.3, 0.36, 0.7);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, 15, length, 5);
  VerticalGradient(cr, 15, 20, Color{0, 0, 0, 0.35}, Color{0, 0, 0, 0});
  cairo_fill(cr);
}

void SteelFace(cairo_t* cr, double length) {
  PlatedFace(cr, length, 10, Color{0.80, 0.85, 0.90}, Color{0.50, 0.56, 0.63}, 32,
             Color::Hex(0xE0E6EC));
  StrokeSegment(cr, 10.5, 0, 10.5, length, 1.5, Color{0.06, 0.08, 0.1, 0.85});
}

const GroundStyle kScrap{18, 12, ScrapBase, ScrapCrust, ScrapFace, ScrapDetail};
const GroundStyle kSteelPlating{14, 11, SteelBase, SteelTop, SteelFace, SteelLook};

const GroundStyle& StyleOf(const std::string& set) {
  if (set == "junkyard") return kScrap;
  if (set == "deck") return DeckStyle();
  return kSteelPlating;
}

// Draws the face band down the left side (left) or mirrored down the right side of a w-wide
// cell, from `top` to `h`.
void FaceAt(cairo_t* cr, const GroundStyle& style, bool left, double w, double top, double h) {
  cairo_save(cr);
  if (!left) {
    cairo_translate(cr, w, 0);
    cairo_scale(cr, -1, 1);
  }
  cairo_translate(cr, 0, top);
  style.face(cr, h - top);
  cairo_restore(cr);
}

// Where a surface meets a face rising from it: a short wedge of surface band that runs into
// the corner, so the floor appears to turn up into the wall.
void InnerCorner(cairo_t* cr, const GroundStyle& style, bool left, double w) {
  cairo_save(cr);
  if (!left) {
    cairo_translate(cr, w, 0);
    cairo_scale(cr, -1, 1);
  }
  const double r = style.faceWidth + style.crust;
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, r, 0);
  cairo_curve_to(cr, style.faceWidth, style.crust * 0.4, style.faceWidth * 0.6, style.crust, 0, r);
  cairo_close_path(cr);
  cairo_clip(cr);
  style.surface(cr, r);
  cairo_restore(cr);
}

}  // namespace

// Frames carry set=junkyard|metal|deck, kind=top|fill|ledge_left|ledge_right|wall_left|
// wall_right|inner_left|inner_right|block|pillar|step_left|step_right (and broken|open|marker|
// wall) and, on plain tiles, v=variant; plain steel tiles may carry span=pipe|stain|sign with
// part=first|mid|valve|last (a sign's text=, '_' for a space).
void PaintGround(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const GroundStyle& style = StyleOf(p.Text("set", "metal"));
  const std::string kind = p.Text("kind", "fill");
  // Only plain tiles carry a variant's detail; edges and corners show the bare texture.
  const int variant = static_cast<int>(p.Num("v", -1));
  const double w = p.Width(), h = p.Height();
  cairo_translate(cr, p.Left(), p.Top());
  if (kind == "open") {
    // Blown open: only rubble left on the floor line.
    Lcg rng(4711u);
    for (int k = 0; k < 9; ++k) {
      const double pw = rng.Range(20, 60), ph = rng.Range(10, 28);
      cairo_save(cr);
      const double sunk = rng.Range(6, 24);  // drawn before the place across, as the art was made
      cairo_translate(cr, rng.Range(20, w - 20), h - sunk);
      cairo_rotate(cr, rng.Range(-0.6, 0.6));
      cairo_rectangle(cr, -pw / 2, -ph / 2, pw, ph);
      FillShadedOutlined(cr, Color::Mix(kRust, kSteel, rng.Uniform()).Darker(0.3), -ph / 2, ph / 2,
                         1.2);
      cairo_restore(cr);
    }
    return;
  }
  // Under the keel the sky shows: nothing to paint.
  if (kind == "below") return;
  if (kind == "keel" || kind == "keel_left" || kind == "keel_right") {
    HullUnderside(cr, std::max(variant, 0), kind == "keel_left" ? -1 : kind == "keel_right" ? 1 : 0,
                  w, h);
    return;
  }
  const Sides s = SidesOf(kind);
  // Outer corners are rounded off, the only place a tile leaves a pixel unpainted.
  const double r = style.crust * 0.7;
  cairo_new_path(cr);
  if (s.top && s.left) {
    cairo_arc(cr, r, r, r, kPi, 1.5 * kPi);
  } else {
    cairo_move_to(cr, 0, 0);
  }
  if (s.top && s.right) {
    cairo_arc(cr, w - r, r, r, 1.5 * kPi, 2 * kPi);
  } else {
    cairo_line_to(cr, w, 0);
  }
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  cairo_clip(cr);

  style.base(cr, w, h);
  if (variant >= 0) style.detail(cr, variant, w, h, s.top);
  // A piece of a fitting that runs over several tiles side by side (the factory's only).
  const std::string span = p.Text("span", "");
  if (!span.empty()) {
    std::string text = p.Text("text", "");
    std::replace(text.begin(), text.end(), '_', ' ');
    SteelSpan(cr, span, p.Text("part", "mid"), text, w, h, s.top);
  }
  const double faceTop = s.top ? style.crust * 0.5 : 0;
  const double faceBottom = s.halfFace ? h / 2 : h;
  if (s.left) FaceAt(cr, style, true, w, faceTop, faceBottom);
  if (s.right) FaceAt(cr, style, false, w, faceTop, faceBottom);
  if (s.top) style.surface(cr, w);
  if (s.inner != 0) InnerCorner(cr, style, s.inner < 0, w);
  if (kind == "marker") {
    // Chevrons on the walkway: where Kaje turns.
    SetColor(cr, Color::Hex(0xF2C318));
    for (int c = 0; c < 3; ++c) {
      const double x = 28 + c * 30;
      cairo_move_to(cr, x, 3);
      cairo_line_to(cr, x + 10, 9);
      cairo_line_to(cr, x, 15);
      cairo_line_to(cr, x - 6, 15);
      cairo_line_to(cr, x + 4, 9);
      cairo_line_to(cr, x - 6, 3);
      cairo_close_path(cr);
      cairo_fill(cr);
    }
  }
  if (kind == "broken") {
    // Torn crust where the wall above stood.
    Lcg rng(8800u + static_cast<std::uint32_t>(variant));
    for (int k = 0; k < 7; ++k) {
      const double bx = rng.Range(10, w - 30);
      cairo_move_to(cr, bx, 0);
      cairo_line_to(cr, bx + 10, rng.Range(14, 30));
      cairo_line_to(cr, bx + 20, 0);
      SetColor(cr, Color::Hex(0x2B2622));
      cairo_fill(cr);
    }
  }
}

// A ramp piece: its own solid polygon filled with the set's texture, with the surface band
// along every walkable edge (neither the floor line nor a vertical side).
void PaintGroundRamp(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const GroundStyle& style = StyleOf(p.Text("set", "metal"));
  const std::vector<Polygon> shape = p.anim.Shape(static_cast<size_t>(p.index));
  if (shape.empty() || shape[0].vertices.size() < 3) return;
  cairo_translate(cr, p.Left(), p.Top());
  std::vector<Vertex> v = shape[0].vertices;
  for (Vertex& q : v) {
    q.x -= static_cast<float>(p.Left());
    q.y -= static_cast<float>(p.Top());
  }
  const double h = p.Height();
  cairo_new_path(cr);
  for (const Vertex& q : v) cairo_line_to(cr, q.x, q.y);
  cairo_close_path(cr);
  cairo_clip(cr);
  style.base(cr, p.Width(), h);
  style.detail(cr, 0, p.Width(), h, false);
  for (size_t i = 0; i < v.size(); ++i) {
    Vertex a = v[i];
    Vertex b = v[(i + 1) % v.size()];
    const bool floorLine = a.y >= h - 0.5 && b.y >= h - 0.5;
    if (floorLine || a.x == b.x) continue;
    if (a.x > b.x) std::swap(a, b);
    cairo_save(cr);
    cairo_translate(cr, a.x, a.y);
    cairo_rotate(cr, std::atan2(b.y - a.y, b.x - a.x));
    style.surface(cr, std::hypot(b.x - a.x, b.y - a.y));
    cairo_restore(cr);
  }
}

}  // namespace assetgen
