// The airship's backdrop: a high sky with cirrus, far peaks with a fleet and birds, and in
// front the rigging of the ships alongside over banks of cloud that run on far below the hull.
// Every area is built of shaded shapes: a player looking down past the hull sees cloud tops
// lit from above and shadowed beneath, never a flat fill.
#include <cmath>

#include "PaintKit.h"
#include "SceneKit.h"

namespace assetgen::scene {

namespace {

// A puff of cloud lit from above: bright on top, shaded below, its rim fading out so that
// puffs laid over each other melt into one billow. Wider than high, as clouds seen from afar.
void Puff(cairo_t* cr, double x, double y, double r, const Color& lit, const Color& shade) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1.35, 1);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, -r, 0, r);
  cairo_pattern_add_color_stop_rgba(body, 0, lit.r, lit.g, lit.b, 1);
  cairo_pattern_add_color_stop_rgba(body, 0.45, Color::Mix(lit, shade, 0.35).r,
                                    Color::Mix(lit, shade, 0.35).g, Color::Mix(lit, shade, 0.35).b,
                                    1);
  cairo_pattern_add_color_stop_rgba(body, 1, shade.r, shade.g, shade.b, 1);
  cairo_pattern_t* rim = cairo_pattern_create_radial(0, 0, 0, 0, 0, r);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0, 0, lit.a);
  cairo_pattern_add_color_stop_rgba(rim, 0.8, 0, 0, 0, lit.a);
  cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0);
  // Clipped to the puff: a mask alone would be composited over the whole layer.
  cairo_arc(cr, 0, 0, r, 0, kTwoPi);
  cairo_clip(cr);
  cairo_set_source(cr, body);
  cairo_mask(cr, rim);
  cairo_pattern_destroy(rim);
  cairo_pattern_destroy(body);
  cairo_restore(cr);
}

// A bank of cloud across [0, w): rows of billows from `top` down to `bottom`, each row a
// little darker than the one above (deeper in the bank, further from the sun). A billow is a
// clump of puffs, highest and largest in its middle; the rows overlap so that nothing of what
// lies behind shows between them.
struct Bank {
  double top, bottom;
  double size;  // puff radius at the top row
  Color lit, shade;
  double darken;  // how much darker the bottom row is than the top
  std::uint32_t seed;
};

void CloudBank(cairo_t* cr, double w, const Bank& b) {
  // The body of the bank behind the billows, so their soft rims never open onto the sky.
  cairo_rectangle(cr, 0, b.top + b.size * 0.6, w, b.bottom - b.top);
  Gradient(cr, b.top, b.bottom,
           {{0, Color::Mix(b.lit, b.shade, 0.6)}, {1, b.shade.Darker(b.darken)}});
  cairo_fill(cr);
  AcrossSeam(w, [&](double dx) {
    Lcg rng(b.seed);
    const double rows = std::max(1.0, std::floor((b.bottom - b.top) / (b.size * 0.7)));
    for (int row = 0; row <= static_cast<int>(rows); ++row) {
      const double t = row / rows;
      const double y = b.top + (b.bottom - b.top) * t;
      const double r = b.size * (1 + 0.6 * t);
      const Color lit = b.lit.Darker(b.darken * t), shade = b.shade.Darker(b.darken * t);
      double x = rng.Range(-2 * r, 0);
      while (x < w + r) {
        const double span = r * rng.Range(1.4, 2.6);
        const int puffs = 3 + static_cast<int>(rng.Range(0, 4));
        for (int q = 0; q < puffs; ++q) {
          const double u = (q + 0.5) / puffs;
          const double bell = std::sin(kPi * u);
          const double px = x + (u - 0.5) * span * 1.6 + rng.Range(-r * 0.2, r * 0.2);
          const double py = y - bell * r * 0.45 + rng.Range(-r * 0.15, r * 0.15);
          const double pr = r * (0.45 + 0.55 * bell) * rng.Range(0.8, 1.15);
          Puff(cr, dx + px, py, pr, lit, shade);
        }
        x += span;
      }
    }
  });
}

// Thin high streaks of ice cloud over the whole sky.
void Cirrus(cairo_t* cr, double w, double h, std::uint32_t seed, int count, double alpha) {
  AcrossSeam(w, [&](double dx) {
    Lcg rng(seed);
    for (int k = 0; k < count; ++k) {
      const double cx = dx + rng.Range(0, w);
      const double cy = rng.Range(0, h);
      const double len = rng.Range(60, 240);
      const double thick = rng.Range(2, 9);
      const double turn = rng.Range(-0.12, 0.12);
      const double a = rng.Range(0.4, 1.0) * alpha;
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, turn);
      cairo_scale(cr, len, thick);
      cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
      cairo_pattern_add_color_stop_rgba(g, 0, 0.92, 0.95, 1, a);
      cairo_pattern_add_color_stop_rgba(g, 1, 0.92, 0.95, 1, 0);
      cairo_set_source(cr, g);
      cairo_arc(cr, 0, 0, 1, 0, kTwoPi);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      cairo_restore(cr);
    }
  });
}

// A flock: small dark wings in a loose V.
void Birds(cairo_t* cr, double x, double y, int count, double span, std::uint32_t seed,
           const Color& c) {
  Lcg rng(seed);
  SetColor(cr, c);
  cairo_set_line_width(cr, 1.3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < count; ++k) {
    const double side = k % 2 == 0 ? 1 : -1;
    const double bx = x - (k / 2) * span * 1.4 + rng.Range(-3, 3);
    const double by = y + side * (k / 2 + k % 2) * span * 0.6 + rng.Range(-2, 2);
    const double s = span * rng.Range(0.7, 1.1);
    cairo_move_to(cr, bx - s, by - s * 0.3);
    cairo_curve_to(cr, bx - s * 0.5, by - s * 0.6, bx - s * 0.2, by - s * 0.2, bx, by);
    cairo_curve_to(cr, bx + s * 0.2, by - s * 0.2, bx + s * 0.5, by - s * 0.6, bx + s,
                   by - s * 0.3);
    cairo_stroke(cr);
  }
}

// A distant airship: a shaded envelope with ribs, fins, a gondola and a wisp of engine smoke.
void FarShip(cairo_t* cr, double x, double y, double len, const Color& c) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, len / 2, len / 7);
  cairo_arc(cr, 0, 0, 1, 0, kTwoPi);
  cairo_restore(cr);
  Gradient(cr, y - len / 7, y + len / 7, {{0, c.Lighter(0.25)}, {1, c.Darker(0.25)}});
  cairo_fill(cr);
  cairo_set_line_width(cr, std::max(0.8, len / 90));
  cairo_set_source_rgba(cr, c.r * 0.6, c.g * 0.6, c.b * 0.6, c.a * 0.7);
  for (double t = -0.3; t <= 0.31; t += 0.2) {
    cairo_save(cr);
    cairo_translate(cr, x + t * len, y);
    cairo_scale(cr, len * 0.05, len / 7 * std::sqrt(1 - 4 * t * t));
    cairo_arc(cr, 0, 0, 1, -kPi / 2, kPi / 2);
    cairo_restore(cr);
    cairo_stroke(cr);
  }
  SetColor(cr, c.Darker(0.15));
  cairo_move_to(cr, x - len * 0.42, y);
  cairo_line_to(cr, x - len * 0.58, y - len * 0.16);
  cairo_line_to(cr, x - len * 0.5, y);
  cairo_line_to(cr, x - len * 0.58, y + len * 0.16);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_rectangle(cr, x - len * 0.12, y + len / 7, len * 0.24, len * 0.06);
  cairo_fill(cr);
  for (int k = 0; k < 4; ++k) {
    cairo_rectangle(cr, x - len * 0.1 + k * len * 0.055, y + len / 7 + len * 0.015, len * 0.025,
                    len * 0.02);
    cairo_set_source_rgba(cr, 1, 0.85, 0.5, 0.7 * c.a);
    cairo_fill(cr);
  }
  for (int k = 0; k < 4; ++k)
    Glow(cr, x - len * (0.62 + 0.12 * k), y + len * 0.05 - k * len * 0.02, len * (0.05 + 0.02 * k),
         Color{0.85, 0.88, 0.95, 0.35 * c.a});
}

// A mast of a ship sailing alongside: a tapering spar with yards, furled sails and a pennant.
void Mast(cairo_t* cr, double x, double foot, double height, const Color& c, std::uint32_t seed) {
  Lcg rng(seed);
  cairo_move_to(cr, x - 6, foot);
  cairo_line_to(cr, x - 2.5, foot - height);
  cairo_line_to(cr, x + 2.5, foot - height);
  cairo_line_to(cr, x + 6, foot);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x - 6, 0, x + 6, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, c.r * 1.3, c.g * 1.3, c.b * 1.3, c.a);
  cairo_pattern_add_color_stop_rgba(g, 1, c.r * 0.7, c.g * 0.7, c.b * 0.7, c.a);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int k = 0; k < 3; ++k) {
    const double y = foot - height * (0.35 + 0.22 * k);
    const double span = height * (0.34 - 0.07 * k);
    StrokeSegment(cr, x - span, y, x + span, y, 3.5 - k * 0.8, c);
    // The furled sail under the yard.
    cairo_move_to(cr, x - span * 0.95, y + 2);
    cairo_curve_to(cr, x - span * 0.5, y + 9, x + span * 0.5, y + 9, x + span * 0.95, y + 2);
    cairo_line_to(cr, x + span * 0.95, y + 4);
    cairo_curve_to(cr, x + span * 0.5, y + 13, x - span * 0.5, y + 13, x - span * 0.95, y + 4);
    cairo_close_path(cr);
    Gradient(cr, y, y + 13, {{0, Color{0.86, 0.84, 0.78, c.a}}, {1, Color{0.55, 0.56, 0.6, c.a}}});
    cairo_fill(cr);
  }
  // The pennant at the top, streaming with the wind.
  const double py = foot - height;
  const double flap = rng.Range(-4, 4);
  cairo_move_to(cr, x, py);
  cairo_curve_to(cr, x + 14, py + 2 + flap, x + 26, py - 2 - flap, x + 38, py + 3);
  cairo_line_to(cr, x, py + 8);
  cairo_close_path(cr);
  SetColor(cr, Color{0.75, 0.2, 0.2, c.a});
  cairo_fill(cr);
}

// Ropes between two points, sagging.
void Rope(cairo_t* cr, double x0, double y0, double x1, double y1, double sag, const Color& c) {
  cairo_move_to(cr, x0, y0);
  cairo_curve_to(cr, x0 + (x1 - x0) * 0.33, y0 + (y1 - y0) * 0.33 + sag, x0 + (x1 - x0) * 0.66,
                 y0 + (y1 - y0) * 0.66 + sag, x1, y1);
  SetColor(cr, c);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

}  // namespace

void AirshipSky(cairo_t* cr, double w, double h) {
  Gradient(cr, 0, h,
           {{0, Color::Hex(0x17306A)},
            {0.45, Color::Hex(0x36649E)},
            {0.8, Color::Hex(0x6E94C2)},
            {1, Color::Hex(0x9AB4D2)}});
  cairo_paint(cr);
  AcrossSeam(w, [&](double dx) {
    Glow(cr, dx + w * 0.2, h * 0.1, 160, Color{1, 0.95, 0.85, 0.3});
  });
  // Two decks of cirrus, the higher one fainter, covering the whole sky.
  Cirrus(cr, w, h * 0.55, 4242u, 70, 0.22);
  Cirrus(cr, w, h, 4141u, 60, 0.16);
  // High fair-weather clouds drifting far off.
  AcrossSeam(w, [&](double dx) {
    Lcg rng(4545u);
    for (int k = 0; k < 7; ++k) {
      const double cx = dx + rng.Range(0, w);
      const double cy = rng.Range(h * 0.25, h * 0.6);
      const double s = rng.Range(14, 30);
      for (int q = 0; q < 5; ++q) {
        const double px = cx + (q - 2) * s * 0.8;
        const double py = cy + rng.Range(-s * 0.3, s * 0.2);
        Puff(cr, px, py, s * rng.Range(0.6, 1.0), Color{0.95, 0.96, 1, 0.55},
             Color{0.55, 0.65, 0.82, 0.4});
      }
    }
  });
  Birds(cr, w * 0.62, h * 0.3, 7, 5, 77u, Color{0.12, 0.16, 0.26, 0.7});
  Birds(cr, w * 0.18, h * 0.46, 5, 4, 78u, Color{0.16, 0.2, 0.32, 0.6});
}

void AirshipFar(cairo_t* cr, double w, double h) {
  const Skyline peaks(w, 400, 40, 34, 41u), ridge(w, 430, 26, 20, 42u);
  peaks.Path(cr, h);
  Gradient(cr, 300, h,
           {{0, Color::Hex(0x4A5C80)}, {0.4, Color::Hex(0x5E7094)}, {1, Color::Hex(0x8498B4)}});
  cairo_fill(cr);
  cairo_save(cr);
  peaks.Path(cr, h);
  cairo_clip(cr);
  // Snow on the highest peaks, and the rock's strata and gullies in shade.
  cairo_rectangle(cr, 0, 0, w, 372);
  cairo_set_source_rgba(cr, 0.78, 0.84, 0.94, 0.7);
  cairo_fill(cr);
  AcrossSeam(w, [&](double dx) {
    Lcg rng(4646u);
    for (int k = 0; k < 110; ++k) {
      const double x = dx + rng.Range(0, w);
      const double y = rng.Range(300, 480);
      const double len = rng.Range(20, 60);
      const double lean = rng.Range(-0.9, 0.9);
      StrokeSegment(cr, x, y, x + lean * len, y + len, rng.Range(1.5, 4),
                    Color{0.25, 0.3, 0.45, 0.35});
    }
  });
  cairo_restore(cr);
  ridge.Path(cr, h);
  Gradient(cr, 380, h, {{0, Color::Hex(0x56698E)}, {1, Color::Hex(0x7C90B0)}});
  cairo_fill(cr);
  // The fleet, far off, and birds.
  FarShip(cr, w * 0.3, 170, 90, Color{0.3, 0.38, 0.52, 0.85});
  FarShip(cr, w * 0.78, 250, 54, Color{0.36, 0.44, 0.58, 0.75});
  FarShip(cr, w * 0.56, 300, 34, Color{0.42, 0.5, 0.64, 0.7});
  Birds(cr, w * 0.45, 230, 6, 3.5, 81u, Color{0.18, 0.22, 0.32, 0.7});
  Birds(cr, w * 0.9, 190, 4, 3, 82u, Color{0.18, 0.22, 0.32, 0.6});
  // The far cloud sea at the mountains' feet, running on down to the frame's foot.
  CloudBank(cr, w,
            {440, h + 20, 20, Color{0.84, 0.88, 0.96, 1}, Color{0.5, 0.58, 0.74, 1}, 0.15, 4343u});
}

void AirshipClouds(cairo_t* cr, double w, double h) {
  // The rigging of the ships sailing alongside, hazy with distance, rising out of the bank.
  const Color spar{0.3, 0.34, 0.44, 0.85};
  const double masts[][2] = {{0.12, 300}, {0.24, 250}, {0.58, 320}, {0.71, 270}, {0.9, 230}};
  AcrossSeam(w, [&](double dx) {
    for (int k = 0; k < 5; ++k) {
      const double x = dx + w * masts[k][0], top = 460 - masts[k][1];
      Mast(cr, x, 470, masts[k][1], spar, 90u + static_cast<std::uint32_t>(k));
      if (k % 2 == 0 && k + 1 < 5) {
        // Stays from this mast's top to the next one's foot, and a line of pennants.
        const double nx = dx + w * masts[k + 1][0];
        Rope(cr, x, top, nx, 440, 10, spar);
        Rope(cr, x, top + 30, nx, 420, 14, spar);
      }
      Rope(cr, x, top + 4, x - 70, 470, 6, spar.WithAlpha(0.6));
      Rope(cr, x, top + 4, x + 70, 470, 6, spar.WithAlpha(0.6));
    }
  });
  AcrossSeam(w, [&](double dx) {
    Lcg rng(4444u);
    // A few loose clouds drifting at the ship's height.
    for (int k = 0; k < 4; ++k)
      RandomCloud(cr, rng, dx, w, {150, 280}, {36, 56}, Color{0.9, 0.93, 0.98, 0.7},
                  Color{0.55, 0.62, 0.76, 0.6});
  });
  // The bank below the ship: lit tops, then ever deeper, darker rows far below the hull.
  CloudBank(cr, w,
            {400, h + 40, 30, Color{0.97, 0.98, 1, 1}, Color{0.5, 0.56, 0.72, 1}, 0.45, 4747u});
}

}  // namespace assetgen::scene
