// Effects and pickups: the gun's shots, flashes, sparks and orb power-ups.
#include <algorithm>
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

void PaintShot(const FramePaint& p) {
  int colour = ColorIndex(p.Text("color", "plain"));
  double level = p.Num("level", 0);
  bool flicker = static_cast<int>(p.Num("i", 0)) % 2 == 1;
  Color c = colour == 0 ? Color::Hex(0x7FE8FF) : OrbColor(colour);
  cairo_t* cr = p.cr;
  double len = 10 + 4 * level, thick = 3 + 1.5 * level;
  // Trail behind the bolt (the art faces right).
  cairo_pattern_t* trail = cairo_pattern_create_linear(-len * 1.8, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(trail, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(trail, 1, c.r, c.g, c.b, 0.7);
  cairo_set_source(cr, trail);
  cairo_move_to(cr, -len * 1.8, 0);
  cairo_line_to(cr, 0, -thick);
  cairo_line_to(cr, 0, thick);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_pattern_destroy(trail);
  Glow(cr, len * 0.2, 0, thick * 2.6 + (flicker ? 1.5 : 0), c.WithAlpha(0.75));
  // The bolt: an elongated bright core.
  cairo_save(cr);
  cairo_translate(cr, len * 0.2, 0);
  cairo_scale(cr, len * 0.7, thick * 0.8);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  SetColor(cr, c.Lighter(0.7));
  cairo_fill(cr);
  for (int k = 0; k < static_cast<int>(level); ++k) {
    // Higher levels carry orbiting sparks.
    double a = (flicker ? 0.8 : 0) + k * 2.1;
    Glow(cr, len * 0.2 + std::cos(a) * (len * 0.6), std::sin(a) * thick * 1.6, 2.5,
         Color{1, 1, 1, 0.9});
  }
}

namespace {

// One radial ramp from a white-hot centre through the flash's colour and a soft bright ring
// to nothing at the edge. The flash is drawn up to eleven times its size, texel by texel, so
// every step between neighbouring texels is kept small: no hard edge, only smooth stops.
void FlashBurst(cairo_t* cr, double r, const Color& c) {
  cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, r);
  const Color ring = c.Lighter(0.5);
  constexpr int kStops = 24;
  for (int k = 0; k <= kStops; ++k) {
    const double t = static_cast<double>(k) / kStops;
    // Core: white fading into the colour by half the radius.
    const double core = std::exp(-(t * t) / 0.16);
    // Ring: a soft bump around 0.62 of the radius.
    const double bump = std::exp(-((t - 0.62) * (t - 0.62)) / 0.04);
    // Halo: the colour thinning out smoothly to zero at the edge.
    const double halo = 0.55 * (1 - t) * (1 - t) * (1 + 2 * t);
    const double a = std::min(1.0, 0.75 * core + 0.3 * bump + halo);
    Color mix = Color::Mix(c, ring, std::min(1.0, bump));
    mix = Color::Mix(mix, Color{1, 1, 1, 1}, 0.8 * core);
    cairo_pattern_add_color_stop_rgba(g, t, mix.r, mix.g, mix.b, k == kStops ? 0.0 : a);
  }
  cairo_set_source(cr, g);
  cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

}  // namespace

void PaintFlash(const FramePaint& p) {
  int colour = static_cast<int>(p.Num("color", p.index));
  cairo_t* cr = p.cr;
  double r = p.Width() / 2 - 1;
  if (colour == 0) {
    // Smoke: a grey puff of overlapping soft balls.
    const double balls[][3] = {{-7, 3, 15}, {8, 4, 14}, {0, -6, 16}, {-2, 8, 12}, {10, -7, 10}};
    for (const auto& b : balls) Glow(cr, b[0], b[1], b[2] * r / 24, Color{0.72, 0.72, 0.75, 0.7});
    Glow(cr, 0, 0, r * 0.5, Color{0.9, 0.9, 0.92, 0.5});
    return;
  }
  FlashBurst(cr, r, colour == 1 ? Color::Hex(0xFFF2B0) : OrbColor(colour));
}

void PaintSpark(const FramePaint& p) {
  // Frames 0-2 red levels 0-2, 3-5 green, 6-8 blue, 9 plain.
  int f = p.index;
  int colour = f >= 9 ? 0 : 2 + f / 3;
  double level = f >= 9 ? 0 : f % 3;
  Color c = colour == 0 ? Color::Hex(0xFFF0A0) : OrbColor(colour);
  cairo_t* cr = p.cr;
  double r = 3.5 + 1.5 * level;
  // The glow grows less than the star, so the biggest spark's still fades inside its cell.
  Glow(cr, 0, 0, r + 2 - 0.5 * level, c.WithAlpha(0.7));
  // Four-pointed star.
  for (int k = 0; k < 8; ++k) {
    double a = k * kPi / 4;
    double d = k % 2 == 0 ? r : r * 0.35;
    if (k == 0)
      cairo_move_to(cr, d * std::cos(a), d * std::sin(a));
    else
      cairo_line_to(cr, d * std::cos(a), d * std::sin(a));
  }
  cairo_close_path(cr);
  SetColor(cr, c.Lighter(0.65));
  cairo_fill(cr);
  Glow(cr, 0, 0, r * 0.5, Color{1, 1, 1, 1});
}

void PaintPowerup(const FramePaint& p) {
  int colour = static_cast<int>(p.Num("color", p.index));
  // Orbs placed in a level are drawn a little brighter than dropped ones.
  const double bright = p.Num("bright", 0);
  Color c = OrbColor(colour).Lighter(bright);
  cairo_t* cr = p.cr;
  double r = p.Num("radius", 9);
  Glow(cr, 0, 0, r + 3, c.WithAlpha(colour >= 2 ? 0.65 + bright : 0.4));
  Sphere(cr, 0, 0, r, c);
  // A white ring around the orb tells a pickup from an enemy shot.
  // It hugs the orb closely enough to stay inside the cell.
  cairo_arc(cr, 0, 0, r + 1.3, -kPi * 0.15, kPi * 0.65);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // Sparkle.
  double sx = r * 0.55, sy = -r * 0.75;
  cairo_move_to(cr, sx - 3, sy);
  cairo_line_to(cr, sx + 3, sy);
  cairo_move_to(cr, sx, sy - 3);
  cairo_line_to(cr, sx, sy + 3);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace assetgen
