// Level art: the bound walls and the sky backdrop.
#include <cmath>
#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

void PaintBound(const FramePaint& p) {
  cairo_t* cr = p.cr;
  double left = p.Left(), top = p.Top(), w = p.Width(), h = p.Height();
  cairo_pattern_t* g = cairo_pattern_create_linear(left, 0, left + w, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.3, 0.9, 1, 0);
  cairo_pattern_add_color_stop_rgba(g, 0.5, 0.6, 1, 1, 0.45);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.3, 0.9, 1, 0);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, left, top, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void PaintBackdrop(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());
  double w = p.Width(), h = p.Height();
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.05, 0.07, 0.18);
  cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.20, 0.20, 0.38);
  cairo_pattern_add_color_stop_rgb(sky, 0.8, 0.78, 0.42, 0.30);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.95, 0.65, 0.35);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  Lcg rng(424242u);
  for (int k = 0; k < 90; ++k) {
    double sx = rng.Range(0, w), sy = rng.Range(0, h * 0.5), a = rng.Range(0.3, 0.9);
    cairo_rectangle(cr, sx, sy, 1.5, 1.5);
    cairo_set_source_rgba(cr, 1, 1, 0.95, a * (1 - sy / (h * 0.5)));
    cairo_fill(cr);
  }
  Glow(cr, w * 0.72, h * 0.78, 120, Color{1, 0.75, 0.45, 0.45});
  // Two rows of far factory silhouettes, the nearer one darker.
  for (int layer = 0; layer < 2; ++layer) {
    double base = h * (layer == 0 ? 0.80 : 0.88);
    Color c = layer == 0 ? Color{0.22, 0.18, 0.30, 1} : Color{0.10, 0.09, 0.15, 1};
    cairo_move_to(cr, 0, h);
    double x = 0;
    while (x < w) {
      double bw = rng.Range(40, 110), bh = rng.Range(30, layer == 0 ? 140 : 90);
      cairo_line_to(cr, x, base - bh);
      if (rng.Uniform() < 0.4) {
        // A chimney.
        double cx = x + bw * 0.3;
        cairo_line_to(cr, cx, base - bh);
        cairo_line_to(cr, cx, base - bh - 50);
        cairo_line_to(cr, cx + 10, base - bh - 50);
        cairo_line_to(cr, cx + 10, base - bh);
      }
      cairo_line_to(cr, x + bw, base - bh);
      x += bw;
    }
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    SetColor(cr, c);
    cairo_fill(cr);
    if (layer == 1) {
      for (int k = 0; k < 40; ++k) {
        const double y = rng.Range(base - 25, h - 10);  // drawn before the x, as the art was made
        cairo_rectangle(cr, rng.Range(0, w), y, 3, 4);
        cairo_set_source_rgba(cr, 1, 0.8, 0.4, rng.Range(0.4, 0.9));
        cairo_fill(cr);
      }
    }
  }
}

}  // namespace assetgen
