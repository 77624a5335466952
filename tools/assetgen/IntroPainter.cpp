// Intro art: the school's letters and seal, our three team logos, the copyright line and
// the intro backdrop. All our own designs.
#include <algorithm>
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"
#include "SceneKit.h"

namespace assetgen {
namespace {

const Color kBronze = Color::Hex(0xB87333);
const Color kGoldLeaf = Color::Hex(0xF4D27A);
const Color kInk = Color::Hex(0x1B2333);

// A chiselled block letter: a filled plate with the letter cut deep into it.
void LetterPlate(cairo_t* cr, double w, double h, const Color& face) {
  RoundedRectPath(cr, -w / 2, -h / 2, w, h, 10);
  FillShadedOutlined(cr, face, -h / 2, h / 2, 2.5);
}

}  // namespace

// letter=I or D; frame 1 is the lit, gold-leaf version the intro switches to.
void PaintHalvornLetter(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const bool lit = p.index == 1;
  const std::string letter = p.Text("letter", "I");
  const double w = p.Width() - 8, h = p.Height() - 8;
  const Color face = lit ? kGoldLeaf : kBronze;
  if (lit) Glow(cr, 0, 0, h * 0.7, kGoldLeaf.WithAlpha(0.35));
  LetterPlate(cr, w, h, face.Darker(0.45));
  DrawLabel(cr, letter, 0, h * 0.36, h * 0.72, 1, face, 6.0);
}

// Drawn at twice the size it is shown at: the intro halves it.
void PaintHalvornSeal(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = std::min(p.Width(), p.Height()) / 2 - 6;
  // Scalloped rim.
  const int bumps = 28;
  for (int k = 0; k <= bumps * 4; ++k) {
    const double a = 2 * kPi * k / (bumps * 4);
    const double rr = r * (0.94 + 0.06 * std::cos(a * bumps));
    if (k == 0) {
      cairo_move_to(cr, rr * std::cos(a), rr * std::sin(a));
    } else {
      cairo_line_to(cr, rr * std::cos(a), rr * std::sin(a));
    }
  }
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Hex(0x8C1C24), -r, r, 3);
  cairo_arc(cr, 0, 0, r * 0.78, 0, 2 * kPi);
  FillShadedOutlined(cr, Color::Hex(0xD9B45A), -r, r, 3);
  cairo_arc(cr, 0, 0, r * 0.62, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 0.35, 0.12, 0.10, 0.9);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  // A tower of three stacked blocks, the school's mark.
  for (int k = 0; k < 3; ++k) {
    const double bw = r * (0.55 - 0.12 * k), bh = r * 0.22;
    const double y = r * 0.28 - k * bh * 1.15;
    cairo_rectangle(cr, -bw / 2, y - bh / 2, bw, bh);
    FillShadedOutlined(cr, Color::Hex(0x6B2A1E), y - bh / 2, y + bh / 2, 2);
  }
  DrawLabel(cr, "HALVORN", 0, -r * 0.66, r * 0.14, 1, Color::Hex(0xFFF2D0), 2);
  DrawLabel(cr, "EST 1987", 0, r * 0.72, r * 0.11, 1, Color::Hex(0xFFF2D0), 2);
}

// kind=kiln, quarry or harbor: our three teams' marks, each a card with its name.
void PaintTeamLogo(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string kind = p.Text("kind", "kiln");
  const double w = p.Width() - 8, h = p.Height() - 8;
  Color base = Color::Hex(0x2B3A55);
  std::string name = "KILNWORKS";
  if (kind == "quarry") {
    base = Color::Hex(0x3D4A2C);
    name = "QUARRY LIGHT";
  } else if (kind == "harbor") {
    base = Color::Hex(0x22414A);
    name = "HARBOR NINE";
  }
  RoundedRectPath(cr, -w / 2, -h / 2, w, h, 16);
  FillShadedOutlined(cr, base, -h / 2, h / 2, 3);
  const double cy = -h * 0.12, s = h * 0.28;
  if (kind == "kiln") {
    // A brick arch with a flame inside.
    cairo_arc(cr, 0, cy + s * 0.4, s, kPi, 2 * kPi);
    cairo_line_to(cr, s, cy + s);
    cairo_line_to(cr, -s, cy + s);
    cairo_close_path(cr);
    FillShadedOutlined(cr, Color::Hex(0xA0522D), cy - s, cy + s, 2);
    Glow(cr, 0, cy + s * 0.4, s * 0.8, Color::Hex(0xFFB030, 0.9));
    cairo_move_to(cr, 0, cy - s * 0.3);
    cairo_curve_to(cr, s * 0.45, cy + s * 0.2, s * 0.3, cy + s * 0.8, 0, cy + s * 0.8);
    cairo_curve_to(cr, -s * 0.3, cy + s * 0.8, -s * 0.45, cy + s * 0.2, 0, cy - s * 0.3);
    FillShadedOutlined(cr, Color::Hex(0xFFD040), cy - s * 0.3, cy + s * 0.8, 1.5);
  } else if (kind == "quarry") {
    // Two peaks under a rising lamp.
    Glow(cr, 0, cy - s * 0.6, s * 0.7, Color::Hex(0xFFF4B0, 0.8));
    cairo_move_to(cr, -s * 1.4, cy + s);
    cairo_line_to(cr, -s * 0.4, cy - s * 0.5);
    cairo_line_to(cr, 0, cy + s * 0.1);
    cairo_line_to(cr, s * 0.5, cy - s * 0.8);
    cairo_line_to(cr, s * 1.4, cy + s);
    cairo_close_path(cr);
    FillShadedOutlined(cr, Color::Hex(0x9A9488), cy - s, cy + s, 2);
  } else {
    // A lighthouse over two waves.
    cairo_move_to(cr, -s * 0.3, cy + s * 0.7);
    cairo_line_to(cr, -s * 0.18, cy - s * 0.6);
    cairo_line_to(cr, s * 0.18, cy - s * 0.6);
    cairo_line_to(cr, s * 0.3, cy + s * 0.7);
    cairo_close_path(cr);
    FillShadedOutlined(cr, Color::Hex(0xE8E8E8), cy - s * 0.6, cy + s * 0.7, 2);
    Glow(cr, 0, cy - s * 0.75, s * 0.6, Color::Hex(0xFFE070, 0.9));
    for (int k = 0; k < 2; ++k) {
      const double y = cy + s * (0.8 + 0.25 * k);
      cairo_move_to(cr, -s * 1.3, y);
      for (int j = 0; j < 4; ++j) {
        const double x = -s * 1.3 + j * s * 0.65;
        cairo_curve_to(cr, x + s * 0.16, y - s * 0.15, x + s * 0.48, y + s * 0.15, x + s * 0.65, y);
      }
      cairo_set_source_rgba(cr, 0.6, 0.85, 1.0, 0.9);
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
    }
  }
  DrawLabel(cr, name, 0, h * 0.36, h * 0.12, 1, Color::Hex(0xFFFFFF), 2);
}

// Frame 0 shows nothing yet; frame 1 the copyright line.
void PaintCopyright(const FramePaint& p) {
  if (p.index == 0) return;
  // The first line's strokes keep clear of the cell's top row.
  DrawLabel(p.cr, "COPYRIGHT 2025 THE VANTREL TEAM", 0, 8, 16, 1, Color::Hex(0xE0E4F0), 1.0);
  DrawLabel(p.cr, "MADE AT HALVORN SCHOOL OF GAMES", 0, 30, 12, 1, Color::Hex(0xA0A8C0), 1.0);
}

// The junkyard city at dusk, where the story begins: the junkyard's sky, hills and heaps,
// the city's towers on the skyline with their first lights, and a dark veil over the middle
// where the letters and logos play, so they read as well as on a bare ground.
void PaintIntroBackdrop(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());
  const double w = p.Width(), h = p.Height();
  scene::PaintScene(cr, "junkyard_sky", w, h);
  // The city: towers in two ranks on the horizon, lit windows, a beacon on the tallest.
  Lcg rng(7101u);
  for (int rank = 0; rank < 2; ++rank) {
    const double base = h * (rank == 0 ? 0.56 : 0.6);
    const Color c = rank == 0 ? Color::Hex(0x3A2436) : Color::Hex(0x2A1A28);
    double x = rng.Range(-30, 0);
    while (x < w) {
      const double tw = rng.Range(26, 64);
      const double th = rng.Range(40, rank == 0 ? 170 : 110);
      cairo_rectangle(cr, x, base - th, tw, th + 4);
      SetColor(cr, c);
      cairo_fill(cr);
      if (th > 120) {
        StrokeSegment(cr, x + tw / 2, base - th, x + tw / 2, base - th - 30, 2, c);
        Glow(cr, x + tw / 2, base - th - 30, 7, Color{1, 0.3, 0.25, 0.8});
      }
      for (double wy = base - th + 8; wy < base - 6; wy += 9) {
        for (double wx = x + 4; wx < x + tw - 5; wx += 7) {
          const double lit = rng.Uniform();
          if (lit > 0.72) {
            cairo_rectangle(cr, wx, wy, 3, 4);
            cairo_set_source_rgba(cr, 1, 0.8, 0.45, 0.35 + lit * 0.5);
            cairo_fill(cr);
          }
        }
      }
      x += tw + rng.Range(2, 14);
    }
  }
  // The junkyard in front: hills with their cranes, then the heaps and the fence.
  cairo_save(cr);
  cairo_translate(cr, 0, 40);
  scene::PaintScene(cr, "junkyard_hills", w, h);
  cairo_translate(cr, 0, 60);
  scene::PaintScene(cr, "junkyard_heaps", w, h);
  cairo_restore(cr);
  // The veil: darker in the middle, where the letters play, open at the edges.
  cairo_pattern_t* veil =
      cairo_pattern_create_radial(w / 2, h * 0.45, 40, w / 2, h * 0.45, w * 0.62);
  cairo_pattern_add_color_stop_rgba(veil, 0, kInk.r * 0.5, kInk.g * 0.5, kInk.b * 0.5, 0.72);
  cairo_pattern_add_color_stop_rgba(veil, 0.6, kInk.r * 0.5, kInk.g * 0.5, kInk.b * 0.5, 0.45);
  cairo_pattern_add_color_stop_rgba(veil, 1, 0.01, 0.01, 0.03, 0.2);
  cairo_set_source(cr, veil);
  cairo_paint(cr);
  cairo_pattern_destroy(veil);
}

}  // namespace assetgen
