// The airship's props: Kaje's rockets and plasma (Kaje and its shield have their own
// file); the hanging crates and claws; the deck tiles and scaffolding.
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

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

// A grey missile pointing left: red nose on the left, flame on the right.
void PaintKajeRocket(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double half = p.Width() / 2 - 2;
  const bool flicker = p.index % 2 == 1;
  // The exhaust glow and flame fade out before the cell's edges, so they are never cut off.
  Glow(cr, half - 9, 0, flicker ? 9.5 : 8, Color::Hex(0xA0C8FF, 0.9));
  cairo_move_to(cr, half - 12, -4);
  cairo_line_to(cr, half + (flicker ? -1 : -4), 0);
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
  // The ring sits low on the lid, clear of the cell's top even while the crate tilts.
  cairo_arc(cr, 0, -h - 1, 6, 0, 2 * kPi);
  cairo_set_line_width(cr, 3);
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

// A yellow gripper hanging on a cable, with a red hydraulic hub; the origin is at the
// cable's top as it used to hang. Frame 1 is destroyed: jaws open and sparks.
void PaintAirshipClaw(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const bool broken = p.index == 1;
  // The cable runs out through the cell's top: it hangs from somewhere out of view.
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, 0, p.Top());
  cairo_line_to(cr, 0, 44);
  SetColor(cr, Color::Hex(0x303030));
  cairo_stroke(cr);
  // A steel clamp where the cable meets the claw's housing.
  cairo_rectangle(cr, -5, 35, 10, 9);
  FillShadedOutlined(cr, kSteel, 35, 44, 1.0);
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
