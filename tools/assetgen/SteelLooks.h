// The looks of the factory's plain steel tiles: plates toned afresh in each look, wear, and a
// fitting here and there; and the pieces of fittings that run over two or more tiles side by
// side (a pipe, a soot stain, a sign), which the level places as a run.
#pragma once

#include <cairo.h>

#include <string>

namespace assetgen {

// Look `v` of a plain tile w x h; `surface` says whether a walkway band covers its top.
void SteelLook(cairo_t* cr, int v, double w, double h, bool surface);

// Piece `part` ("first", "mid", "valve", "last") of a run of `span` ("pipe", "stain", "sign",
// whose board reads `text`). What crosses a piece's side is the same on every piece, so any
// first, mids and last join.
void SteelSpan(cairo_t* cr, const std::string& span, const std::string& part,
               const std::string& text, double w, double h, bool surface);

}  // namespace assetgen
