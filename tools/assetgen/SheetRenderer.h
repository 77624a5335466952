// Lays an animation's frames out in its image sheet and writes sheets as PNG.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "AnimationSource.h"

namespace assetgen {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Paints every frame into a transparent ARGB sheet: frames left to right, then top to bottom,
// SheetColumns() to a row, the way the game cuts them. Throws on an unknown painter.
Surface RenderSheet(const AnimationDesc& anim);

// Top-left corner of frame i in the sheet.
void FrameCell(const AnimationDesc& anim, int i, int* x, int* y);

void WritePng(cairo_surface_t* surface, const std::filesystem::path& path);

// One overview picture of every animation: a labelled strip of its frames on a checkerboard,
// with each frame's origin and collision polygons drawn over it.
void WriteContactSheet(const std::vector<AnimationDesc>& animations,
                       const std::vector<cairo_surface_t*>& sheets,
                       const std::filesystem::path& path);

}  // namespace assetgen
