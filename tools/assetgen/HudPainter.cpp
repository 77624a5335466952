// The HUD's art: orbs and their cracks and shards, the window, the ability chips, the energy
// bar and its frame, and the warning labels.
#include <algorithm>
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

void PaintOrb(const FramePaint& p) {
  int colour = static_cast<int>(p.Num("color", p.index));
  double r = p.Num("radius", 13);
  cairo_t* cr = p.cr;
  // A dark socket ring so the orb reads on any background.
  cairo_arc(cr, 0, 0, r + 1.5, 0, 2 * kPi);
  SetColor(cr, Color{0.05, 0.06, 0.08, 0.85});
  cairo_fill(cr);
  if (colour == 1) {
    // The lost orb: dull, hollow-looking glass.
    Sphere(cr, 0, 0, r, OrbColor(1).WithAlpha(0.9));
    cairo_arc(cr, 0, 0, r * 0.45, 0, 2 * kPi);
    SetColor(cr, Color{0.12, 0.12, 0.14, 0.7});
    cairo_fill(cr);
    return;
  }
  Color c = OrbColor(colour);
  if (colour >= 2) Glow(cr, 0, 0, r + 3, c.WithAlpha(0.55));
  Sphere(cr, 0, 0, r, c);
  // A bright core inside the glass.
  Glow(cr, 1, 2, r * 0.55, c.Lighter(0.6).WithAlpha(0.8));
}

void PaintCrackedOrb(const FramePaint& p) {
  if (p.Num("crack", p.index) == 0) return;  // frame 0: no crack, fully transparent
  cairo_t* cr = p.cr;
  const double pts[][2] = {{-11, -6}, {-5, -2}, {-2, -7}, {2, -1}, {7, -4}, {12, 2}};
  const double branch[][2] = {{2, -1}, {0, 5}, {4, 11}};
  const double branch2[][2] = {{-5, -2}, {-8, 5}};
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    auto run = [&](const double(*v)[2], int n) {
      cairo_move_to(cr, v[0][0], v[0][1]);
      for (int i = 1; i < n; ++i) cairo_line_to(cr, v[i][0], v[i][1]);
    };
    run(pts, 6);
    run(branch, 3);
    run(branch2, 2);
    if (pass == 0) {
      cairo_set_source_rgba(cr, 0.02, 0.02, 0.03, 0.95);
      cairo_set_line_width(cr, 2.6);
    } else {
      cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
      cairo_set_line_width(cr, 0.9);
    }
    cairo_stroke(cr);
  }
}

void PaintOrbShard(const FramePaint& p) {
  Color c = OrbColor(ColorIndex(p.Text("color", "plain")));
  Lcg rng(977u * (p.index + 1) + 31u * ColorIndex(p.Text("color", "plain")));
  cairo_t* cr = p.cr;
  int corners = 3 + static_cast<int>(rng.Next() % 3);
  double start = rng.Range(0, 2 * kPi);
  for (int k = 0; k < corners; ++k) {
    double a = start + k * 2 * kPi / corners + rng.Range(-0.35, 0.35);
    double r = rng.Range(3.0, 6.5);
    double x = r * std::cos(a), y = r * std::sin(a);
    if (k == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
  FillShadedOutlined(cr, c, -6, 6, 1.0);
  cairo_move_to(cr, -2, -2);
  cairo_line_to(cr, 1, -3);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void PaintHudWindow(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());  // paint in the cell's own (screen) coordinates
  const double w = p.Width() - 12, h = p.Height() - 4;
  // The panel: a dark steel plate with a chamfered corner.
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, w, 0);
  cairo_line_to(cr, w, h - 30);
  cairo_line_to(cr, w - 28, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.20, 0.25, 0.32, 0.80);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.08, 0.10, 0.14, 0.80);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_source_rgba(cr, 0.55, 0.70, 0.85, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Inner bevel line.
  cairo_move_to(cr, 3, h - 4);
  cairo_line_to(cr, w - 30, h - 4);
  cairo_line_to(cr, w - 4, h - 31);
  cairo_line_to(cr, w - 4, 3);
  cairo_set_source_rgba(cr, 0.02, 0.03, 0.05, 0.6);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Recesses: the ability column, the orb tray and the score plate.
  auto recess = [&](double x, double y, double rw, double rh, double r) {
    RoundedRectPath(cr, x, y, rw, rh, r);
    cairo_set_source_rgba(cr, 0.02, 0.03, 0.05, 0.65);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.45, 0.55, 0.68, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  };
  recess(3, 3, 29, 138, 6);
  recess(156, 93, 120, 40, 10);
  recess(110, 8, 130, 40, 6);
  for (double x : {179.0, 216.0, 253.0}) {
    cairo_arc(cr, x, 113, 17, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0.25, 0.32, 0.40, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  // Rivets.
  for (auto [x, y] : {std::pair{40.0, 8.0}, {w - 8, 8.0}, {40.0, h - 9}, {w - 8, h - 40}}) {
    Sphere(cr, x, y, 2.5, Color::Hex(0x9AA8B8));
  }
}

namespace {

// Ability glyphs inside the chips, drawn around (0, 0) in a 20-pixel box.
void Glyph(cairo_t* cr, const std::string& ability) {
  cairo_new_path(cr);
  if (ability == "default") {
    cairo_arc(cr, 0, 0, 6.5, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 2.5, 0, 2 * kPi);
  } else if (ability == "stride") {
    for (double x : {-5.0, 1.0}) {
      cairo_move_to(cr, x, -6);
      cairo_line_to(cr, x + 5, 0);
      cairo_line_to(cr, x, 6);
    }
  } else if (ability == "walljump") {
    cairo_move_to(cr, -6, -7);
    cairo_line_to(cr, -6, 7);
    cairo_move_to(cr, -3, 5);
    cairo_curve_to(cr, 0, -2, 3, -5, 6, -6);
    cairo_move_to(cr, 2, -7);
    cairo_line_to(cr, 6, -6);
    cairo_line_to(cr, 5, -2);
  } else if (ability == "cyclone") {
    for (int k = 0; k <= 40; ++k) {
      double a = k * 0.42, r = 0.5 + k * 0.17;
      double x = r * std::cos(a), y = r * std::sin(a);
      if (k == 0)
        cairo_move_to(cr, x, y);
      else
        cairo_line_to(cr, x, y);
    }
  } else {  // superjump
    for (double y : {-2.0, 4.0}) {
      cairo_move_to(cr, -6, y + 3);
      cairo_line_to(cr, 0, y - 3);
      cairo_line_to(cr, 6, y + 3);
    }
  }
}

Color AbilityColor(const std::string& ability) {
  if (ability == "stride") return Color::Hex(0xFF9A2E);
  if (ability == "walljump") return Color::Hex(0x46E07A);
  if (ability == "cyclone") return Color::Hex(0xC062FF);
  if (ability == "superjump") return Color::Hex(0xFFE040);
  return Color::Hex(0x40E0FF);
}

void Hexagon(cairo_t* cr, double r) {
  for (int k = 0; k < 6; ++k) {
    double a = kPi / 6 + k * kPi / 3;
    if (k == 0)
      cairo_move_to(cr, r * std::cos(a), r * std::sin(a));
    else
      cairo_line_to(cr, r * std::cos(a), r * std::sin(a));
  }
  cairo_close_path(cr);
}

}  // namespace

void PaintCoreChip(const FramePaint& p) {
  std::string ability = p.Text("ability", "default");
  bool owned = p.Num("owned", p.index) != 0;
  cairo_t* cr = p.cr;
  // The offset only places the chip on screen; the art sits in the middle of its cell.
  cairo_translate(cr, p.Left() + p.Width() / 2, p.Top() + p.Height() / 2);
  Color c = AbilityColor(ability);
  if (owned) Glow(cr, 0, 0, 16, c.WithAlpha(0.6));
  Hexagon(cr, 13);
  FillShadedOutlined(cr, owned ? c.Darker(0.45) : Color::Hex(0x2A3038), -13, 13, 1.5);
  Hexagon(cr, 10.5);
  cairo_set_source_rgba(cr, 0, 0, 0, owned ? 0.35 : 0.5);
  cairo_fill(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  Glyph(cr, ability);
  if (owned) {
    SetColor(cr, c.Lighter(0.2));
    cairo_set_line_width(cr, 3.2);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  } else {
    cairo_set_source_rgba(cr, 0.45, 0.48, 0.52, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
}

void PaintCoreStart(const FramePaint& p) {
  // The hidden timer of the HUD: a small pulsing dot.
  double t = p.Num("i", 0) / std::max(1.0, p.Num("n", 1));
  Glow(p.cr, 0, 0, 3 + 2 * std::sin(t * 2 * kPi), Color::Hex(0x40E0FF, 0.8));
}

void PaintEnergyBar(const FramePaint& p) {
  cairo_t* cr = p.cr;
  double w = p.Width() - p.frame.offsetX, h = p.Height();
  double top = -p.frame.offsetY;
  cairo_rectangle(cr, 0, top, w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.55, 0.10);
  cairo_pattern_add_color_stop_rgb(g, 0.3, 0.98, 0.90, 0.20);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.25, 0.95, 1.0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Gloss on the upper half, shade on the lower.
  cairo_rectangle(cr, 0, top, w, h * 0.45);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, top + h * 0.7, w, h * 0.3);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
  cairo_fill(cr);
  for (double x = 8; x < w; x += 8) {
    cairo_rectangle(cr, x, top, 1, h);
  }
  cairo_set_source_rgba(cr, 0, 0, 0, 0.18);
  cairo_fill(cr);
}

void PaintEnergyMeter(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());
  double w = p.Width(), h = p.Height();
  double inset = p.frame.offsetX;  // the bar starts at the origin, inside the frame
  double barTop = p.frame.offsetY - p.Num("bar", 12) / 2;
  double barW = p.Num("length", 128), barH = p.Num("bar", 12);
  // Frame ring with a see-through middle (even-odd fill).
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  RoundedRectPath(cr, 0.5, 0.5, w - 1, h - 1, 5);
  cairo_rectangle(cr, inset - 1, barTop - 1, barW + 2, barH + 2);
  FillShadedOutlined(cr, Color::Hex(0x8A98AA), 0, h, 1.2);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_rectangle(cr, inset - 1, barTop - 1, barW + 2, barH + 2);
  cairo_set_source_rgba(cr, 0.05, 0.06, 0.1, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Notch at a quarter: the least energy that starts a special move.
  double q = inset + barW * 0.25;
  cairo_move_to(cr, q, 1);
  cairo_line_to(cr, q - 2.5, barTop - 1.5);
  cairo_line_to(cr, q + 2.5, barTop - 1.5);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 0.95, 0.25, 0.2);
  cairo_fill(cr);
}

void PaintHudLabel(const FramePaint& p) {
  std::string text = p.Text("text", "");
  double flash = p.Num("flash", 0);
  // The text and its outline stay a pixel inside the strip.
  double height = std::min(p.Num("height", 10), p.Height() - 6);
  Color rest = Color::Hex(0xB8CCE0);
  Color c = rest;
  if (flash > 0) {
    // Alternate hot red and white through the warning frames.
    int step = static_cast<int>(p.Num("i", 0));
    c = step % 2 == 0 ? Color::Hex(0xFF3B30) : Color::Hex(0xFFF4E0);
    // A flat halo: round, it would be cut by the strip's top and bottom.
    cairo_save(p.cr);
    cairo_scale(p.cr, 1, (p.Height() / 2 - 1) / (TextWidth(text, height) * 0.6));
    Glow(p.cr, 0, 0, TextWidth(text, height) * 0.6, Color::Hex(0xFF3B30, 0.35));
    cairo_restore(p.cr);
  }
  DrawLabel(p.cr, text, 0, height / 2, height, 1, c, 1.8);
}

}  // namespace assetgen
