// Drawing helpers shared by the painters.
#include "PaintKit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace assetgen {

Color Color::Hex(std::uint32_t rgb, double alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Color Color::Lighter(double t) const {
  return {r + (1 - r) * t, g + (1 - g) * t, b + (1 - b) * t, a};
}
Color Color::Darker(double t) const {
  return {r * (1 - t), g * (1 - t), b * (1 - t), a};
}
Color Color::WithAlpha(double alpha) const {
  return {r, g, b, alpha};
}
Color Color::Mix(const Color& x, const Color& y, double t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
          x.a + (y.a - x.a) * t};
}

void SetColor(cairo_t* cr, const Color& c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

Color OrbColor(int index) {
  switch (index) {
    case 1:
      return Color::Hex(0x6E7178);
    case 2:
      return Color::Hex(0xE8303A);
    case 3:
      return Color::Hex(0x2FD05A);
    case 4:
      return Color::Hex(0x3A7BF2);
    default:
      return Color::Hex(0xE6EEF5);
  }
}

int ColorIndex(const std::string& text) {
  if (text == "grey") return 1;
  if (text == "red") return 2;
  if (text == "green") return 3;
  if (text == "blue") return 4;
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '4') return text[0] - '0';
  return 0;
}

P2 TwoBoneJoint(P2 root, P2 end, double a, double b, bool bendForward) {
  const double dx = end.x - root.x, dy = end.y - root.y;
  const double reach = std::hypot(dx, dy);
  if (reach < 1e-9) return {root.x + (bendForward ? a : -a), root.y};
  const double ux = dx / reach, uy = dy / reach;
  // Clamped so that the law of cosines has a solution: too far straightens, too near folds.
  const double d = std::clamp(reach, std::fabs(a - b) + 1e-6, a + b - 1e-6);
  const double along = (a * a + d * d - b * b) / (2 * d);
  const double side = std::sqrt(std::max(0.0, a * a - along * along));
  double ox = -uy * side, oy = ux * side;
  if ((ox > 0) != bendForward) ox = -ox, oy = -oy;
  return {root.x + ux * along + ox, root.y + uy * along + oy};
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void FillShadedOutlined(cairo_t* cr, const Color& base, double top, double bottom, double outline) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bottom);
  Color hi = base.Lighter(0.35), lo = base.Darker(0.35);
  cairo_pattern_add_color_stop_rgba(p, 0, hi.r, hi.g, hi.b, hi.a);
  cairo_pattern_add_color_stop_rgba(p, 0.55, base.r, base.g, base.b, base.a);
  cairo_pattern_add_color_stop_rgba(p, 1, lo.r, lo.g, lo.b, lo.a);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  if (outline > 0) {
    SetColor(cr, base.Darker(0.75).WithAlpha(base.a));
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  } else {
    cairo_new_path(cr);
  }
}

void WithRim(cairo_t* cr, const Color& rim, double width, const std::function<void()>& draw) {
  cairo_push_group(cr);
  draw();
  cairo_pattern_t* art = cairo_pop_group(cr);
  // The silhouette stamped around a circle of offsets, then the art itself on top.
  SetColor(cr, rim);
  constexpr int kSteps = 16;
  for (int k = 0; k < kSteps; ++k) {
    const double a = 2 * kPi * k / kSteps;
    cairo_save(cr);
    cairo_translate(cr, width * std::cos(a), width * std::sin(a));
    cairo_mask(cr, art);
    cairo_restore(cr);
  }
  cairo_set_source(cr, art);
  cairo_paint(cr);
  cairo_pattern_destroy(art);
}

void SpeedLines(cairo_t* cr, const SpeedLineSet& lines) {
  Lcg rng(lines.seed);
  for (int k = 0; k < lines.count; ++k) {
    const double y = lines.top + k * lines.spacing + rng.Range(-lines.jitter, lines.jitter);
    const double x = lines.left - rng.Range(0, lines.spread);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x - rng.Range(14, 30), y);
  }
  SetColor(cr, lines.color);
  cairo_set_line_width(cr, lines.width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

void Glow(cairo_t* cr, double x, double y, double radius, const Color& c) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, c.a);
  cairo_pattern_add_color_stop_rgba(p, 0.45, c.r, c.g, c.b, c.a * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Limb(cairo_t* cr, double ax, double ay, double bx, double by, double width,
          const Color& color) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx, by);
  SetColor(cr, color.Darker(0.75));
  cairo_set_line_width(cr, width + 2.0);
  cairo_stroke_preserve(cr);
  SetColor(cr, color);
  cairo_set_line_width(cr, width);
  cairo_stroke_preserve(cr);
  cairo_new_path(cr);
  // Highlight on the upper-left side of the limb.
  double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  double nx = len > 0 ? -dy / len : 0, ny = len > 0 ? dx / len : -1;
  if (ny > 0) nx = -nx, ny = -ny;
  double s = width * 0.22;
  cairo_move_to(cr, ax + nx * s, ay + ny * s);
  cairo_line_to(cr, bx + nx * s, by + ny * s);
  SetColor(cr, color.Lighter(0.45));
  cairo_set_line_width(cr, std::max(1.0, width * 0.3));
  cairo_stroke(cr);
}

void StrokeSegment(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
                   const Color& color, cairo_line_cap_t cap) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, cap);
  SetColor(cr, color);
  cairo_stroke(cr);
}

void Sphere(cairo_t* cr, double x, double y, double radius, const Color& c) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(x - radius * 0.35, y - radius * 0.4, radius * 0.1, x, y, radius);
  Color hi = c.Lighter(0.7), lo = c.Darker(0.55);
  cairo_pattern_add_color_stop_rgba(p, 0, hi.r, hi.g, hi.b, c.a);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, c.a);
  cairo_pattern_add_color_stop_rgba(p, 1, lo.r, lo.g, lo.b, c.a);
  cairo_set_source(cr, p);
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, c.Darker(0.8));
  cairo_set_line_width(cr, std::max(1.0, radius * 0.1));
  cairo_stroke(cr);
  // Specular spot.
  Glow(cr, x - radius * 0.35, y - radius * 0.4, radius * 0.45, Color{1, 1, 1, 0.85 * c.a});
}

namespace {

// Glyphs on a 4 x 6 grid (y down, 6 = baseline): strokes separated by blanks, each stroke a
// run of x,y digit pairs.
const std::map<char, const char*>& Glyphs() {
  static const std::map<char, const char*> glyphs = {
      {'A', "060110304146 0343"},
      {'B', "06003041423303 3344453606"},
      {'C', "4130100105163645"},
      {'D', "06002042442606"},
      {'E', "40000646 0333"},
      {'F', "400006 0333"},
      {'G', "41301001051636454323"},
      {'H', "0006 4046 0343"},
      {'I', "1030 2026 1636"},
      {'J', "1040 3035261605"},
      {'K', "0006 400346"},
      {'L', "000646"},
      {'M', "0600234046"},
      {'N', "06004640"},
      {'O', "103041453616050110"},
      {'P', "06003041423303"},
      {'Q', "103041453616050110 2446"},
      {'R', "06003041423303 2346"},
      {'S', "413010010213334445361605"},
      {'T', "0040 2026"},
      {'U', "000516364540"},
      {'V', "002640"},
      {'W', "0016233640"},
      {'X', "0046 4006"},
      {'Y', "002340 2326"},
      {'Z', "00400646"},
      {'0', "103041453616050110 4105"},
      {'1', "112026 1636"},
      {'2', "01103041420646"},
      {'3', "0110304142334445361605 1333"},
      {'4', "36300444"},
      {'5', "400003334445361605"},
      {'6', "30100105163645443303"},
      {'7', "004016"},
      {'8', "103041423313020110 1304051636454433"},
      {'9', "43130201103041453616"},
      {'-', "0343"},
      {'_', "0646"},
      {'.', "2526"},
      {':', "2122 2425"},
      {'!', "2024 2526"},
      {'/', "0640"},
      {'+', "0343 2125"},
  };
  return glyphs;
}

constexpr double kAdvance = 5.0;  // glyph width 4 plus a gap of 1, in grid units

}  // namespace

double TextWidth(const std::string& text, double height) {
  if (text.empty()) return 0;
  return (kAdvance * text.size() - 1.0) * height / 6.0;
}

void TextPath(cairo_t* cr, const std::string& text, double x, double y, double height, int align) {
  double unit = height / 6.0;
  double width = TextWidth(text, height);
  double left = align == 1 ? x - width / 2 : align == 2 ? x - width : x;
  double top = y - height;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    auto it = Glyphs().find(c);
    if (it == Glyphs().end()) continue;
    double gx = left + i * kAdvance * unit;
    const char* s = it->second;
    bool start = true;
    for (; *s; ++s) {
      if (*s == ' ') {
        start = true;
        continue;
      }
      double px = gx + (s[0] - '0') * unit, py = top + (s[1] - '0') * unit;
      if (start)
        cairo_move_to(cr, px, py);
      else
        cairo_line_to(cr, px, py);
      start = false;
      ++s;
    }
  }
}

void DrawLabel(cairo_t* cr, const std::string& text, double x, double y, double height, int align,
               const Color& color, double weight) {
  double w = weight > 0 ? weight : std::max(1.2, height / 7.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  TextPath(cr, text, x, y, height, align);
  SetColor(cr, Color{0.05, 0.05, 0.08, color.a * 0.9});
  cairo_set_line_width(cr, w + 2.0);
  cairo_stroke_preserve(cr);
  SetColor(cr, color);
  cairo_set_line_width(cr, w);
  cairo_stroke(cr);
}

}  // namespace assetgen
