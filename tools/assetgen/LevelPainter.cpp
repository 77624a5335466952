// The playable levels' own art: the junkyard's ground of packed scrap, the debris its wall
// blows into, and the three parallax backdrops (junkyard dusk, factory hall, sky over clouds).
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

const Color kScrapDark = Color::Hex(0x3A3530);
const Color kScrapRust = Color::Hex(0x7A4A2A);
const Color kScrapSteel = Color::Hex(0x6E7880);

// Packed scrap: overlapping plates and bars in rust and steel, seeded per frame.
void ScrapPile(cairo_t* cr, Lcg& rng, double x, double y, double w, double h, int count) {
  for (int k = 0; k < count; ++k) {
    double pw = rng.Range(24, 90), ph = rng.Range(12, 50);
    double px = rng.Range(x - 10, x + w - pw + 10), py = rng.Range(y + 8, y + h - ph);
    cairo_save(cr);
    cairo_translate(cr, px + pw / 2, py + ph / 2);
    cairo_rotate(cr, rng.Range(-0.5, 0.5));
    cairo_rectangle(cr, -pw / 2, -ph / 2, pw, ph);
    Color c = Color::Mix(kScrapRust, kScrapSteel, rng.Uniform()).Darker(rng.Range(0, 0.4));
    FillShadedOutlined(cr, c, -ph / 2, ph / 2, 1.5);
    cairo_restore(cr);
  }
}

void Crust(cairo_t* cr, double x, double y, double w) {
  // The walkable top: a flattened strip of crushed metal.
  cairo_rectangle(cr, x, y, w, 16);
  FillShadedOutlined(cr, Color::Hex(0x9A8C78), y, y + 16, 1.5);
  cairo_move_to(cr, x, y + 1.5);
  cairo_line_to(cr, x + w, y + 1.5);
  cairo_set_source_rgba(cr, 1, 0.95, 0.8, 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void Tire(cairo_t* cr, double x, double y, double r) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  SetColor(cr, Color::Hex(0x1A1A1C));
  cairo_fill(cr);
  cairo_arc(cr, x, y, r * 0.45, 0, 2 * M_PI);
  SetColor(cr, Color::Hex(0x55585C));
  cairo_fill(cr);
}

}  // namespace

// Frames carry kind=top|fill|wall_left|wall_right|ledge_left|ledge_right|broken|open.
void PaintJunkyardGround(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string kind = p.Text("kind", "fill");
  const double x = p.Left(), y = p.Top(), w = p.Width(), h = p.Height();
  Lcg rng(9100u + static_cast<std::uint32_t>(p.index) * 77u);
  if (kind == "open") {
    // Blown open: only scattered rubble on the floor line.
    ScrapPile(cr, rng, x, y + h - 40, w, 40, 6);
    return;
  }
  cairo_rectangle(cr, x, y, w, h);
  FillShadedOutlined(cr, kScrapDark, y, y + h, 2);
  ScrapPile(cr, rng, x, y, w, h, 22);
  if (p.index % 3 == 0) Tire(cr, x + rng.Range(50, w - 50), y + rng.Range(70, h - 50), 26);
  const bool top = kind == "top" || kind.rfind("ledge", 0) == 0 || kind == "broken";
  if (top) Crust(cr, x, y, w);
  if (kind == "broken") {
    // Torn edge where the wall above stood.
    for (int k = 0; k < 7; ++k) {
      double bx = x + rng.Range(0, w - 20);
      cairo_move_to(cr, bx, y + 16);
      cairo_line_to(cr, bx + 10, y + rng.Range(24, 44));
      cairo_line_to(cr, bx + 20, y + 16);
      SetColor(cr, kScrapDark);
      cairo_fill(cr);
    }
  }
  if (kind.rfind("ledge", 0) == 0 || kind.rfind("wall", 0) == 0) {
    const bool right = kind == "ledge_right" || kind == "wall_right";
    double ex = right ? x + w - 12 : x;
    cairo_rectangle(cr, ex, y, 12, h);
    FillShadedOutlined(cr, kScrapSteel, y, y + h, 1.5);
    for (double sy = y; sy < y + h; sy += 24) {
      cairo_rectangle(cr, ex, sy, 12, 12);
      SetColor(cr, Color::Hex(0xE0B020));
      cairo_fill(cr);
    }
  }
}

// One fragment of the blown wall per frame: a twisted plate, a bar or a tyre.
void PaintJunkyardDebris(const FramePaint& p) {
  cairo_t* cr = p.cr;
  Lcg rng(4400u + static_cast<std::uint32_t>(p.index) * 31u);
  const double r = p.Width() / 2 - 3;
  if (p.index % 4 == 3) {
    Tire(cr, 0, 0, r);
    return;
  }
  cairo_move_to(cr, -r, rng.Range(-r, 0));
  for (int k = 1; k < 6; ++k) {
    double a = k * 2 * M_PI / 6;
    double rr = rng.Range(r * 0.5, r);
    cairo_line_to(cr, std::cos(a) * rr, std::sin(a) * rr);
  }
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Mix(kScrapRust, kScrapSteel, rng.Uniform()), -r, r, 1.2);
}

// kind=junkyard|factory|airship; screen-sized, drawn fixed or with slow parallax.
void PaintLevelBackdrop(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());
  const double w = p.Width(), h = p.Height();
  const std::string kind = p.Text("kind", "junkyard");
  Lcg rng(kind == "junkyard" ? 11u : kind == "factory" ? 22u : 33u);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
  if (kind == "junkyard") {
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.16, 0.10, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 0.7, 0.62, 0.32, 0.20);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.85, 0.55, 0.30);
  } else if (kind == "factory") {
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.08, 0.09, 0.11);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.22, 0.24, 0.28);
  } else {
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.20, 0.40, 0.75);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.70, 0.85, 0.95);
  }
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  if (kind == "junkyard") {
    // Hills of scrap against the dusk, with a crane.
    for (int layer = 0; layer < 2; ++layer) {
      double base = h * (layer == 0 ? 0.72 : 0.85);
      cairo_move_to(cr, 0, h);
      for (double x = 0; x <= w + 40; x += 40) cairo_line_to(cr, x, base - rng.Range(0, 60));
      cairo_line_to(cr, w, h);
      cairo_close_path(cr);
      SetColor(cr, layer == 0 ? Color{0.30, 0.20, 0.22, 1} : Color{0.14, 0.10, 0.12, 1});
      cairo_fill(cr);
    }
    cairo_set_line_width(cr, 6);
    SetColor(cr, Color{0.10, 0.08, 0.10, 1});
    cairo_move_to(cr, w * 0.7, h * 0.85);
    cairo_line_to(cr, w * 0.7, h * 0.25);
    cairo_line_to(cr, w * 0.45, h * 0.30);
    cairo_stroke(cr);
  } else if (kind == "factory") {
    // Girders, pipes and lit windows of a hall.
    for (double x = 30; x < w; x += 160) {
      cairo_rectangle(cr, x, 0, 18, h);
      SetColor(cr, Color{0.14, 0.15, 0.18, 1});
      cairo_fill(cr);
    }
    for (double y = 90; y < h; y += 170) {
      cairo_rectangle(cr, 0, y, w, 10);
      SetColor(cr, Color{0.30, 0.26, 0.20, 1});
      cairo_fill(cr);
    }
    for (int k = 0; k < 30; ++k) {
      cairo_rectangle(cr, rng.Range(0, w), rng.Range(0, h), 14, 9);
      cairo_set_source_rgba(cr, 1, 0.75, 0.35, rng.Range(0.2, 0.6));
      cairo_fill(cr);
    }
  } else {
    // Banks of cloud below the ship.
    for (int k = 0; k < 26; ++k) {
      double cx = rng.Range(0, w), cy = rng.Range(h * 0.55, h);
      Glow(cr, cx, cy, rng.Range(40, 110), Color{1, 1, 1, 0.6});
    }
  }
}

}  // namespace assetgen
