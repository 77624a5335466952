// The debris the junkyard's wall blows into.
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

const Color kScrapRust = Color::Hex(0x7A4A2A);
const Color kScrapSteel = Color::Hex(0x6E7880);

void Tire(cairo_t* cr, double x, double y, double r) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  SetColor(cr, Color::Hex(0x1A1A1C));
  cairo_fill(cr);
  cairo_arc(cr, x, y, r * 0.45, 0, 2 * M_PI);
  SetColor(cr, Color::Hex(0x55585C));
  cairo_fill(cr);
}

}  // namespace

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

}  // namespace assetgen
