// Drawing helpers shared by the painters: colours, shaded shapes, glows and a stroke font.
// Everything is plain Cairo vector drawing, so the sheets come out the same on every run.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>

#include "AnimationSource.h"

namespace assetgen {

struct Color {
  double r = 0, g = 0, b = 0, a = 1;

  static Color Hex(std::uint32_t rgb, double alpha = 1.0);
  Color Lighter(double amount) const;  // towards white, 0..1
  Color Darker(double amount) const;   // towards black, 0..1
  Color WithAlpha(double alpha) const;
  static Color Mix(const Color& a, const Color& b, double t);
};

void SetColor(cairo_t* cr, const Color& c);

// Orb and effect colours by the game's colour index: 0 plain, 1 grey, 2 red, 3 green, 4 blue.
Color OrbColor(int index);
// Colour index from a painter parameter: "plain", "grey", "red", "green", "blue" or a number.
int ColorIndex(const std::string& text);

struct P2 {
  double x, y;
};

// The middle joint of a two-bone limb of lengths `a` (from root) and `b` reaching from `root`
// to `end`: an elbow or knee. It bends to the forward side (+x) or the backward side. A
// target out of reach straightens the limb towards it.
P2 TwoBoneJoint(P2 root, P2 end, double a, double b, bool bendForward);

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);

// Fills the current path with a top-to-bottom gradient from `base` lightened to `base`
// darkened, then strokes it with a dark outline of `outline` width. Clears the path.
void FillShadedOutlined(cairo_t* cr, const Color& base, double top, double bottom,
                        double outline = 1.5);

// Paints what `draw` paints, ringed by a rim of `rim` colour `width` pixels wide around its
// silhouette: keeps a figure legible on a background of its own tones.
void WithRim(cairo_t* cr, const Color& rim, double width, const std::function<void()>& draw);

// Horizontal streaks trailing behind a dashing figure: `count` lines `spacing` apart from
// `top` down, each starting up to `spread` left of `left` and 14 to 30 pixels long.
struct SpeedLineSet {
  std::uint32_t seed;
  int count;
  double top, spacing, jitter, left, spread;
  Color color;
  double width;
};
void SpeedLines(cairo_t* cr, const SpeedLineSet& lines);

// A soft radial glow, opaque at the centre and transparent at `radius`.
void Glow(cairo_t* cr, double x, double y, double radius, const Color& color);

// A limb: a round-capped thick segment with an outline and a highlight along it.
void Limb(cairo_t* cr, double ax, double ay, double bx, double by, double width,
          const Color& color);

// A straight stroke from (x0, y0) to (x1, y1), butt-capped unless told. Clears the path.
void StrokeSegment(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
                   const Color& color, cairo_line_cap_t cap = CAIRO_LINE_CAP_BUTT);

// A glassy sphere: radial shading, rim outline and a specular highlight.
void Sphere(cairo_t* cr, double x, double y, double radius, const Color& color);

// Stroke font of capital letters, digits and a few signs, `height` pixels tall.
// align: 0 left, 1 centred, 2 right of x; y is the baseline.
double TextWidth(const std::string& text, double height);
void TextPath(cairo_t* cr, const std::string& text, double x, double y, double height, int align);
// Text with a dark outline under a coloured stroke, legible on any background.
void DrawLabel(cairo_t* cr, const std::string& text, double x, double y, double height, int align,
               const Color& color, double weight = 0.0);

// Small deterministic generator for irregular shapes (shards, rust, sparkles).
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
  }
  double Uniform() { return (Next() & 0xFFFFFF) / double(0x1000000); }  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  std::uint32_t m_state;
};

// Calls draw(dx, dy) for every copy of a pattern of period (pw, ph) that can reach the area
// (0, 0)-(w, h): whatever crosses one edge comes back at the opposite one, so cells cut from
// the area on that period join without a seam.
template <class Draw>
void Tiled(double pw, double ph, double w, double h, Draw draw) {
  for (double dy = -ph; dy <= h; dy += ph)
    for (double dx = -pw; dx <= w; dx += pw) draw(dx, dy);
}

constexpr double kPi = 3.14159265358979323846;
inline double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

}  // namespace assetgen
