// The airship's boss and its props: Kaje, the black-and-crimson commander with
// a swept cape, a one-slit visor and a heavy arm cannon; its shield, rockets
// and plasma; the hanging crates and claws; the deck tiles and scaffolding.
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

const Color kArmour = Color::Hex(0x1A1A22);
const Color kCrimson = Color::Hex(0xB0122A);
const Color kViolet = Color::Hex(0xA050FF);
const Color kSteel = Color::Hex(0x8A9099);

void Quad(cairo_t* cr, double ax, double ay, double bx, double by, double cx, double cy, double dx,
          double dy) {
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx, by);
  cairo_line_to(cr, cx, cy);
  cairo_line_to(cr, dx, dy);
  cairo_close_path(cr);
}

}  // namespace

// Kaje, origin at the feet, facing right. Poses: stand, walk, swipe, fire,
// dash, leap; `i` steps the walk and the attack frames.
void PaintKaje(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string pose = p.Text("pose", "stand");
  const int i = static_cast<int>(p.Num("i", 0));
  const double bob = pose == "stand" ? (i % 2) * 2.0 : 0.0;
  const double stride = pose == "walk" ? std::sin(i * kPi / 3.0) * 22.0 : pose == "dash" ? 30.0 : 0.0;
  const double lean = pose == "dash" ? 14.0 : pose == "leap" ? 6.0 : 0.0;
  const double hip = -78.0 + bob;
  const double neck = -142.0 + bob;

  // The cape sweeps behind, longer in motion.
  const double sweep = pose == "stand" ? 18.0 : 46.0;
  cairo_move_to(cr, -8 + lean, neck + 4);
  cairo_curve_to(cr, -40 - sweep, -110, -50 - sweep, -40, -36 - sweep, -6);
  cairo_line_to(cr, -14, -30);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kCrimson.Darker(0.25), neck, 0, 2.0);

  // Legs.
  const double kneeL = pose == "leap" ? -50.0 : -40.0;
  Limb(cr, -6 + lean * 0.4, hip, -10 - stride * 0.6, kneeL, 20, kArmour.Lighter(0.08));
  Limb(cr, -10 - stride * 0.6, kneeL, -14 - stride, pose == "leap" ? -22 : -4, 18, kArmour);
  Limb(cr, 6 + lean * 0.4, hip, 10 + stride * 0.6, kneeL, 20, kArmour.Lighter(0.15));
  Limb(cr, 10 + stride * 0.6, kneeL, 14 + stride, pose == "leap" ? -18 : -4, 18, kArmour.Lighter(0.1));

  // Armoured torso with a crimson chest plate and belt.
  Quad(cr, -26 + lean, neck, 28 + lean, neck, 20 + lean * 0.5, hip, -20 + lean * 0.5, hip);
  FillShadedOutlined(cr, kArmour.Lighter(0.12), neck, hip, 2.0);
  Quad(cr, -14 + lean, neck + 8, 18 + lean, neck + 8, 10 + lean * 0.7, neck + 40, -8 + lean * 0.7, neck + 40);
  FillShadedOutlined(cr, kCrimson, neck + 8, neck + 40, 1.5);
  cairo_rectangle(cr, -22 + lean * 0.5, hip - 8, 44, 8);
  FillShadedOutlined(cr, kCrimson.Darker(0.3), hip - 8, hip, 1.0);

  // Helmet with one violet slit.
  const double hx = 2 + lean;
  const double hy = neck - 18;
  cairo_arc(cr, hx, hy, 17, 0, 2 * kPi);
  FillShadedOutlined(cr, kArmour.Lighter(0.2), hy - 17, hy + 17, 2.0);
  Quad(cr, hx - 4, hy - 34, hx + 4, hy - 34, hx + 8, hy - 14, hx - 8, hy - 14);  // crest
  FillShadedOutlined(cr, kCrimson, hy - 34, hy - 14, 1.0);
  Glow(cr, hx + 8, hy - 2, 12, kViolet.WithAlpha(0.8));
  cairo_rectangle(cr, hx - 2, hy - 4, 18, 4);
  SetColor(cr, Color::Hex(0xE6C8FF));
  cairo_fill(cr);

  // Shoulder pauldron and the arm cannon; the muzzle sits at (70, -100) when aimed.
  const double sx = 14 + lean;
  const double sy = neck + 10;
  double mx = 46 + lean, my = -70;
  if (pose == "fire") {
    mx = i == 0 ? 40 : 70;
    my = i == 0 ? -140 : -100;
  } else if (pose == "swipe") {
    mx = i == 0 ? 20 : i == 1 ? 74 : 60;
    my = i == 0 ? -160 : i == 1 ? -110 : -60;
  }
  const double ang = std::atan2(my - sy, mx - sx);
  const double len = std::hypot(mx - sx, my - sy);
  cairo_save(cr);
  cairo_translate(cr, sx, sy);
  cairo_rotate(cr, ang);
  RoundedRectPath(cr, 0, -11, len, 22, 6);
  FillShadedOutlined(cr, kArmour.Lighter(0.25), -11, 11, 2.0);
  cairo_rectangle(cr, len * 0.35, -12, 8, 24);
  SetColor(cr, kCrimson);
  cairo_fill(cr);
  cairo_rectangle(cr, len - 6, -8, 8, 16);
  SetColor(cr, kSteel);
  cairo_fill(cr);
  cairo_restore(cr);
  if (pose == "fire" && i == 2) Glow(cr, mx, my, 26, Color::Hex(0xFFD0FF, 0.95));
  if (pose == "swipe" && i == 1) {
    cairo_set_line_width(cr, 5);
    cairo_arc(cr, 20, -110, 62, -1.4, 0.6);
    SetColor(cr, Color::Hex(0xFF6080, 0.8));
    cairo_stroke(cr);
  }
  cairo_arc(cr, sx, sy, 16, 0, 2 * kPi);
  FillShadedOutlined(cr, kCrimson.Darker(0.1), sy - 16, sy + 16, 2.0);
  if (pose == "dash" || pose == "leap") Glow(cr, -40, -60, 30, kViolet.WithAlpha(0.5));
}

// Translucent violet bubble with a hexagon pattern, centred.
void PaintKajeShield(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = p.Width() / 2 - 4;
  cairo_pattern_t* fill = cairo_pattern_create_radial(-r * 0.3, -r * 0.3, r * 0.1, 0, 0, r);
  cairo_pattern_add_color_stop_rgba(fill, 0, 0.85, 0.7, 1, 0.15);
  cairo_pattern_add_color_stop_rgba(fill, 0.8, 0.6, 0.3, 1, 0.3);
  cairo_pattern_add_color_stop_rgba(fill, 1, 0.75, 0.5, 1, 0.75);
  cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  cairo_save(cr);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1.5);
  SetColor(cr, Color::Hex(0xD8B0FF, 0.45));
  const double h = 18;
  for (int row = -8; row <= 8; ++row) {
    for (int col = -8; col <= 8; ++col) {
      const double cx = col * h * 1.5;
      const double cy = row * h * std::sqrt(3.0) + (col % 2 ? h * std::sqrt(3.0) / 2 : 0);
      for (int k = 0; k <= 6; ++k) {
        const double a = k * kPi / 3;
        if (k == 0) cairo_move_to(cr, cx + h * std::cos(a), cy + h * std::sin(a));
        else cairo_line_to(cr, cx + h * std::cos(a), cy + h * std::sin(a));
      }
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
  cairo_set_line_width(cr, 3);
  cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
  SetColor(cr, Color::Hex(0xE0C0FF, 0.9));
  cairo_stroke(cr);
}

// A grey missile pointing left: red nose on the left, flame on the right.
void PaintKajeRocket(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double half = p.Width() / 2 - 2;
  const bool flicker = p.index % 2 == 1;
  Glow(cr, half - 6, 0, flicker ? 12 : 9, Color::Hex(0xA0C8FF, 0.9));
  cairo_move_to(cr, half - 12, -4);
  cairo_line_to(cr, half + (flicker ? 2 : -2), 0);
  cairo_line_to(cr, half - 12, 4);
  SetColor(cr, Color::Hex(0xF0F8FF));
  cairo_fill(cr);
  RoundedRectPath(cr, -half + 10, -5, 2 * half - 22, 10, 3);
  FillShadedOutlined(cr, kSteel, -5, 5, 1.0);
  cairo_move_to(cr, -half, 0);
  cairo_line_to(cr, -half + 12, -5);
  cairo_line_to(cr, -half + 12, 5);
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Hex(0xD02020), -5, 5, 1.0);
  Quad(cr, half - 20, -5, half - 12, -5, half - 10, -9, half - 16, -9);
  Quad(cr, half - 20, 5, half - 12, 5, half - 10, 9, half - 16, 9);
  SetColor(cr, kSteel.Darker(0.3));
  cairo_fill(cr);
}

// A crackling violet plasma ball.
void PaintKajeEnergy(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = p.Width() / 2 - 3;
  Glow(cr, 0, 0, r, kViolet.WithAlpha(0.9));
  Glow(cr, 0, 0, r * 0.5, Color::Hex(0xF4E8FF));
  Lcg rng(31u + static_cast<std::uint32_t>(p.index) * 7u);
  cairo_set_line_width(cr, 1.6);
  SetColor(cr, Color::Hex(0xF0D8FF, 0.9));
  for (int arc = 0; arc < 5; ++arc) {
    double a = rng.Range(0, 2 * kPi);
    cairo_move_to(cr, 0, 0);
    for (int s = 1; s <= 3; ++s) {
      a += rng.Range(-0.5, 0.5);
      cairo_line_to(cr, std::cos(a) * r * s / 3.2, std::sin(a) * r * s / 3.2);
    }
    cairo_stroke(cr);
  }
}

// A banded wooden cargo crate with a steel lifting ring, centred; frame 1 tilts as it falls.
void PaintAirshipCrate(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double h = p.Width() / 2 - 10;
  if (p.index == 1) cairo_rotate(cr, 0.06);
  cairo_arc(cr, 0, -h - 2, 8, 0, 2 * kPi);
  cairo_set_line_width(cr, 4);
  SetColor(cr, kSteel);
  cairo_stroke(cr);
  cairo_rectangle(cr, -h, -h + 4, 2 * h, 2 * h - 4);
  FillShadedOutlined(cr, Color::Hex(0x9A6A36), -h, h, 2.5);
  cairo_set_line_width(cr, 1.2);
  SetColor(cr, Color::Hex(0x5E3C1A, 0.8));
  for (int plank = 1; plank < 5; ++plank) {
    const double y = -h + 4 + plank * (2 * h - 4) / 5;
    cairo_move_to(cr, -h, y);
    cairo_line_to(cr, h, y);
  }
  cairo_stroke(cr);
  for (double y : {-h + 14, h - 14}) {
    cairo_rectangle(cr, -h, y - 5, 2 * h, 10);
    FillShadedOutlined(cr, kSteel.Darker(0.2), y - 5, y + 5, 1.0);
  }
  cairo_set_line_width(cr, 6);
  cairo_move_to(cr, -h + 6, -h + 10);
  cairo_line_to(cr, h - 6, h - 6);
  SetColor(cr, Color::Hex(0x7A4E22));
  cairo_stroke(cr);
}

// A yellow gripper on a cable with a red hydraulic hub, origin at the cable's top.
// Frame 1 is destroyed: jaws open and sparks.
void PaintAirshipClaw(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const bool broken = p.index == 1;
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 0, 44);
  SetColor(cr, Color::Hex(0x303030));
  cairo_stroke(cr);
  const Color yellow = Color::Hex(0xF2C318);
  const double open = broken ? 0.7 : 0.15;
  for (int side : {-1, 1}) {
    cairo_save(cr);
    cairo_translate(cr, side * 12, 66);
    cairo_rotate(cr, side * open);
    Quad(cr, -6, 0, 6, 0, side * 14.0 + 4, 52, side * 14.0 - 6, 48);
    FillShadedOutlined(cr, broken ? yellow.Darker(0.35) : yellow, 0, 52, 2.0);
    cairo_restore(cr);
  }
  RoundedRectPath(cr, -26, 44, 52, 26, 6);
  FillShadedOutlined(cr, broken ? yellow.Darker(0.3) : yellow, 44, 70, 2.0);
  cairo_arc(cr, 0, 60, 12, 0, 2 * kPi);
  FillShadedOutlined(cr, broken ? Color::Hex(0x501010) : Color::Hex(0xD42A1E), 48, 72, 1.5);
  if (broken) {
    Lcg rng(77);
    for (int s = 0; s < 8; ++s) {
      // Size, then height, then place across: the order the sparks were first drawn in.
      const double size = rng.Range(3, 7);
      const double y = rng.Range(50, 110);
      const double x = rng.Range(-30, 30);
      Glow(cr, x, y, size, Color::Hex(0xFFE080));
    }
  }
}

// Deck tiles, origin at the top-left: plain planks, the turn marker with
// chevrons, and a bulkhead wall.
// Timber and pipe scaffolding, origin at its foot.
void PaintAirshipScaffold(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double h = p.Height() - 4;
  const double w = p.Width() / 2 - 6;
  for (double x : {-w, w}) {
    cairo_rectangle(cr, x - 5, -h, 10, h);
    FillShadedOutlined(cr, Color::Hex(0x8C6239), -h, 0, 1.5);
  }
  cairo_set_line_width(cr, 5);
  SetColor(cr, kSteel);
  for (double y = -h + 20; y < 0; y += 60) {
    cairo_move_to(cr, -w, y);
    cairo_line_to(cr, w, y);
    cairo_move_to(cr, -w, y);
    cairo_line_to(cr, w, std::fmin(y + 60, 0));
  }
  cairo_stroke(cr);
}

}  // namespace assetgen
