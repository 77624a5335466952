// The end-of-game art: the level complete sign, the screen crack and the game
// over menu (window, continue, quit). kind= picks the piece.
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

void Panel(cairo_t* cr, double x, double y, double w, double h) {
  RoundedRectPath(cr, x, y, w, h, 14);
  FillShadedOutlined(cr, Color{0.16, 0.18, 0.24, 0.92}, y, y + h, 3.0);
}

// Jagged branching lines out from the origin, light edges over a dark core,
// so they read at any scale, angle or mirroring.
void Crack(cairo_t* cr, double length) {
  Lcg rng(1234);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    Lcg walk = rng;
    for (int branch = 0; branch < 4; ++branch) {
      double x = 0, y = 0;
      double angle = walk.Range(-0.5, 0.5);
      const double reach = length * (branch == 0 ? 1.0 : walk.Range(0.3, 0.6));
      cairo_move_to(cr, x, y);
      while (x < reach) {
        angle += walk.Range(-0.6, 0.6);
        angle = std::fmax(-0.9, std::fmin(0.9, angle));
        x += walk.Range(8, 18) * std::cos(angle);
        y += walk.Range(8, 18) * std::sin(angle);
        cairo_line_to(cr, x, y);
      }
      SetColor(cr, pass == 0 ? Color{0.0, 0.0, 0.0, 0.85} : Color{0.92, 0.95, 1.0, 0.9});
      cairo_set_line_width(cr, pass == 0 ? 4.0 : 1.4);
      cairo_stroke(cr);
    }
  }
}

}  // namespace

void PaintEndScreen(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string kind = p.Text("kind", "sign");
  if (kind == "crack") {
    Crack(cr, p.Width() + p.Left() - 4);
  } else if (kind == "sign") {
    Panel(cr, p.Left() + 4, p.Top() + 4, p.Width() - 8, p.Height() - 8);
    DrawLabel(cr, "LEVEL COMPLETE", 0, 14, 30, 1, Color{1.0, 0.85, 0.2, 1.0}, 2.0);
  } else if (kind == "window") {
    Panel(cr, p.Left() + 4, p.Top() + 4, p.Width() - 8, p.Height() - 8);
    DrawLabel(cr, "GAME OVER", 0, p.Top() + 58, 30, 1, Color{0.95, 0.25, 0.2, 1.0}, 2.0);
  } else {
    // A menu item: its words centred in its cell.
    const std::string words = kind == "quit" ? "QUIT" : "CONTINUE";
    DrawLabel(cr, words, p.Left() + p.Width() / 2, p.Top() + p.Height() / 2 + 12, 26, 1,
              Color{0.9, 0.95, 1.0, 1.0}, 1.5);
  }
}

}  // namespace assetgen
