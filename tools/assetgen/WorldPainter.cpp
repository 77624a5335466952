// Level art: the bound walls, ground tiles and the sky backdrop.
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

namespace {

void Rivet(cairo_t* cr, double x, double y) {
  Sphere(cr, x, y, 2.2, Color::Hex(0xA8B4C2));
}

void HazardStripes(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip_preserve(cr);
  cairo_set_source_rgb(cr, 0.95, 0.75, 0.1);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  for (double s = x - h; s < x + w; s += 16) {
    cairo_move_to(cr, s, y + h);
    cairo_line_to(cr, s + 8, y + h);
    cairo_line_to(cr, s + 8 + h, y);
    cairo_line_to(cr, s + h, y);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void Plate(cairo_t* cr, double x, double y, double w, double h, const Color& c) {
  cairo_rectangle(cr, x, y, w, h);
  FillShadedOutlined(cr, c, y, y + h, 2);
  cairo_rectangle(cr, x + 6, y + 6, w - 12, h - 12);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (double rx : {x + 10, x + w - 10})
    for (double ry : {y + 10, y + h - 10}) Rivet(cr, rx, ry);
}

void TopBand(cairo_t* cr, double x, double y, double w, bool stripes) {
  cairo_rectangle(cr, x, y, w, 14);
  FillShadedOutlined(cr, Color::Hex(0xB8C4D0), y, y + 14, 1.5);
  cairo_move_to(cr, x, y + 1.5);
  cairo_line_to(cr, x + w, y + 1.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  if (stripes) HazardStripes(cr, x, y + 14, w, 6);
}

void Rust(cairo_t* cr, Lcg& rng, double x, double y, double w, double h, int count) {
  for (int k = 0; k < count; ++k)
    Glow(cr, x + rng.Range(8, w - 8), y + rng.Range(16, h - 8), rng.Range(5, 14),
         Color{0.55, 0.28, 0.12, 0.55});
}

}  // namespace

void PaintTiles(const FramePaint& p) {
  cairo_t* cr = p.cr;
  std::string kind = p.Text("kind", "fill");
  double x = p.Left(), y = p.Top(), w = p.Width(), h = p.Height();
  Lcg rng(7919u * (p.index + 3));
  Color steel = Color::Hex(0x56677A), dark = Color::Hex(0x3A4656);
  bool top = kind.rfind("top", 0) == 0 || kind.rfind("ledge", 0) == 0 || kind == "block";
  Plate(cr, x, y, w, h, kind.find("dark") != std::string::npos ? dark : steel);
  if (kind.find("rust") != std::string::npos) Rust(cr, rng, x, y, w, h, 6);
  if (kind.find("pipes") != std::string::npos) {
    for (double py : {y + 50.0, y + 84.0}) {
      cairo_move_to(cr, x, py);
      cairo_line_to(cr, x + w, py);
      cairo_set_line_width(cr, 12);
      cairo_set_source_rgb(cr, 0.25, 0.3, 0.35);
      cairo_stroke(cr);
      Limb(cr, x, py, x + w, py, 9, Color::Hex(0x7C8C70));
    }
  }
  if (kind.find("vent") != std::string::npos) {
    RoundedRectPath(cr, x + 34, y + 44, w - 68, 48, 4);
    cairo_set_source_rgb(cr, 0.1, 0.12, 0.15);
    cairo_fill(cr);
    for (double vy = y + 50; vy < y + 90; vy += 8) {
      cairo_rectangle(cr, x + 36, vy, w - 72, 3);
      cairo_set_source_rgb(cr, 0.45, 0.52, 0.6);
      cairo_fill(cr);
    }
  }
  if (kind.find("cross") != std::string::npos) {
    cairo_move_to(cr, x + 12, y + 22);
    cairo_line_to(cr, x + w - 12, y + h - 12);
    cairo_move_to(cr, x + w - 12, y + 22);
    cairo_line_to(cr, x + 12, y + h - 12);
    cairo_set_line_width(cr, 8);
    cairo_set_source_rgba(cr, 0.2, 0.24, 0.3, 0.9);
    cairo_stroke(cr);
  }
  if (kind.find("lamp") != std::string::npos) {
    Glow(cr, x + w / 2, y + h / 2 + 8, 28, Color{1, 0.85, 0.4, 0.5});
    Sphere(cr, x + w / 2, y + h / 2 + 8, 7, Color::Hex(0xFFE9A0));
  }
  if (top) TopBand(cr, x, y, w, kind.find("stripes") != std::string::npos);
  if (kind == "top_grate" || kind.find("grate") != std::string::npos) {
    for (double gx = x + 8; gx < x + w - 4; gx += 10) {
      cairo_rectangle(cr, gx, y + 4, 5, 6);
    }
    cairo_set_source_rgba(cr, 0.1, 0.12, 0.15, 0.9);
    cairo_fill(cr);
  }
  if (kind == "ledge_right" || kind == "ledge_left") {
    // The end of a ledge: a bevelled edge with a caution band down the open side.
    double ex = kind == "ledge_right" ? x + w - 10 : x;
    HazardStripes(cr, ex, y + 14, 10, h - 14);
    cairo_rectangle(cr, ex, y + 14, 10, h - 14);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  if (kind == "wall_left" || kind == "wall_right") {
    // A wall face: a bright vertical band on the side the player meets.
    double ex = kind == "wall_left" ? x : x + w - 14;
    cairo_rectangle(cr, ex, y, 14, h);
    FillShadedOutlined(cr, Color::Hex(0xB8C4D0), y, y + h, 1.5);
    for (double ry = y + 16; ry < y + h; ry += 32) Rivet(cr, ex + 7, ry);
  }
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
        cairo_rectangle(cr, rng.Range(0, w), rng.Range(base - 25, h - 10), 3, 4);
        cairo_set_source_rgba(cr, 1, 0.8, 0.4, rng.Range(0.4, 0.9));
        cairo_fill(cr);
      }
    }
  }
}

}  // namespace assetgen

namespace assetgen {

// A ramp piece: the frame's own solid polygon filled as a steel plate, with the bright top
// band of the flat tiles running along its walkable edges so slopes read as floor.
void PaintRamps(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::vector<Polygon> shape = p.anim.Shape(static_cast<size_t>(p.index));
  if (shape.empty() || shape[0].vertices.size() < 3) return;
  const std::vector<Vertex>& v = shape[0].vertices;
  auto path = [&] {
    cairo_new_path(cr);
    for (const Vertex& q : v) cairo_line_to(cr, q.x, q.y);
    cairo_close_path(cr);
  };
  const double top = p.Top(), bottom = p.Top() + p.Height();
  cairo_save(cr);
  path();
  cairo_clip(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bottom);
  Color steel = Color::Hex(0x56677A);
  cairo_pattern_add_color_stop_rgb(g, 0, steel.Lighter(0.15).r, steel.Lighter(0.15).g,
                                   steel.Lighter(0.15).b);
  cairo_pattern_add_color_stop_rgb(g, 1, steel.Darker(0.3).r, steel.Darker(0.3).g,
                                   steel.Darker(0.3).b);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  // Diagonal bracing shows the piece is a frame, not a solid block.
  cairo_set_source_rgba(cr, 0.2, 0.24, 0.3, 0.7);
  cairo_set_line_width(cr, 6);
  for (double s = -256; s < 256; s += 48) {
    cairo_move_to(cr, s, bottom);
    cairo_line_to(cr, s + 128, top);
  }
  cairo_stroke(cr);
  // Walkable edges: neither the bottom nor a vertical side.
  for (size_t i = 0; i < v.size(); ++i) {
    const Vertex& a = v[i];
    const Vertex& b = v[(i + 1) % v.size()];
    const bool floorLine = a.y >= bottom - 0.5 && b.y >= bottom - 0.5;
    if (floorLine || a.x == b.x) continue;
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, 26);
    cairo_set_source_rgb(cr, 0.72, 0.77, 0.82);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 4);
    cairo_set_source_rgb(cr, 0.95, 0.97, 1.0);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  path();
  cairo_set_source_rgb(cr, 0.1, 0.12, 0.15);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // Rivets along the bottom corners that lie inside.
  for (double rx : {-54.0, 54.0}) {
    path();
    const bool inside = cairo_in_fill(cr, rx, 54);
    cairo_new_path(cr);
    if (inside) Sphere(cr, rx, 54, 2.2, Color::Hex(0xA8B4C2));
  }
}

}  // namespace assetgen
