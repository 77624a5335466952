// What the ground tile sets share: a set's style (its texture, surface and face bands and
// looks) and the bands they are drawn with. The painters of the sets live in GroundPainter.cpp
// and HullPainter.cpp.
#pragma once

#include <cairo.h>

#include "PaintKit.h"

namespace assetgen {

struct GroundStyle {
  double crust;      // depth of the surface band
  double faceWidth;  // width of a wall-face band
  // Fills the whole clip with the set's repeating texture; (w, h) is the cell.
  void (*base)(cairo_t* cr, double w, double h);
  // The surface band below the line y = 0, from x = 0 to `length`.
  void (*surface)(cairo_t* cr, double length);
  // The face band right of the line x = 0 (the open side is at negative x), y 0 to `length`.
  void (*face)(cairo_t* cr, double length);
  // What sets variant `v` apart; `surface` says whether the band covers the top.
  void (*detail)(cairo_t* cr, int v, double w, double h, bool surface);
};

void VerticalGradient(cairo_t* cr, double y0, double y1, const Color& a, const Color& b);

// A band below y = 0 whose lower edge is `edge(x)`, filled top-light to bottom-dark, with a
// highlight along the top and a dark line along the lower edge. No line crosses the band, so
// bands of neighbouring tiles run on into each other.
template <class Edge>
void Band(cairo_t* cr, double length, Edge edge, const Color& light, const Color& dark) {
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, length, 0);
  for (double x = length; x >= 0; x -= 2) cairo_line_to(cr, x, edge(x));
  cairo_close_path(cr);
  VerticalGradient(cr, 0, edge(0) + 4, light, dark);
  cairo_fill(cr);
  for (double x = 0; x <= length; x += 2) cairo_line_to(cr, x, edge(x));
  cairo_set_source_rgba(cr, 0.05, 0.04, 0.04, 0.75);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  StrokeSegment(cr, 0, 1.2, length, 1.2, 1.6, Color{1, 0.97, 0.88, 0.75});
}

// A face band `width` wide, lit on its open side, with rivets every `pitch` down its middle.
void PlatedFace(cairo_t* cr, double length, double width, const Color& open, const Color& inner,
                double pitch, const Color& rivet);

// The airship's plank deck over its riveted hull.
const GroundStyle& DeckStyle();

// The hull's underside over the keel beam in look `v`; `open` is the side where the hull ends
// at a gap (-1 left, +1 right, 0 none).
void HullUnderside(cairo_t* cr, int v, int open, double w, double h);

}  // namespace assetgen
