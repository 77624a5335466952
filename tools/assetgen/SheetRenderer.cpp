// Sheet layout, PNG output and the contact sheet.
#include "SheetRenderer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

void FrameCell(const AnimationDesc& anim, int i, int* x, int* y) {
  int cols = anim.SheetColumns();
  *x = (i % cols) * anim.frameWidth;
  *y = (i / cols) * anim.frameHeight;
}

Surface RenderSheet(const AnimationDesc& anim) {
  PainterFn painter = FindPainter(anim.painter);
  if (!painter)
    throw SourceError(anim.source + ": animation '" + anim.name + "': unknown painter '" +
                      anim.painter + "'");
  int width = anim.SheetColumns() * anim.frameWidth;
  int height = anim.SheetRows() * anim.frameHeight;
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(sheet.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot create a " + std::to_string(width) + " x " +
                             std::to_string(height) + " sheet for " + anim.name);
  cairo_t* cr = cairo_create(sheet.get());
  for (int i = 0; i < static_cast<int>(anim.frames.size()); ++i) {
    int x = 0, y = 0;
    FrameCell(anim, i, &x, &y);
    const FrameDesc& frame = anim.frames[i];
    cairo_save(cr);
    cairo_rectangle(cr, x, y, anim.frameWidth, anim.frameHeight);
    cairo_clip(cr);
    cairo_translate(cr, x + frame.offsetX, y + frame.offsetY);
    painter(FramePaint{cr, anim, frame, i});
    cairo_restore(cr);
  }
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("painting " + anim.name +
                             " failed: " + cairo_status_to_string(status));
  cairo_surface_flush(sheet.get());
  return sheet;
}

void WritePng(cairo_surface_t* surface, const std::filesystem::path& path) {
  cairo_status_t status = cairo_surface_write_to_png(surface, path.string().c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(path.string() +
                             ": cannot write PNG: " + cairo_status_to_string(status));
}

namespace {

constexpr int kContactWidth = 2048;
constexpr int kLabelWidth = 220;
constexpr int kMargin = 8;
constexpr double kRowHeight = 112;

Color TypeColor(int type) {
  static const std::uint32_t colors[] = {0xFFFFFF, 0xFF9900, 0x8B5A2B, 0x00FFFF,
                                         0xFFFF00, 0x00FF00, 0xFF00FF, 0xFF2020,
                                         0xFF8080, 0x80C0FF, 0xC0FF80, 0xA0A0A0};
  return Color::Hex(colors[std::clamp(type, 0, 11)]);
}

double ContactScale(const AnimationDesc& anim) {
  double s = kRowHeight / anim.frameHeight;
  s = std::min(s, 600.0 / anim.frameWidth);
  if (s >= 1) return std::min(3.0, std::floor(s));
  return s;
}

struct Layout {
  int framesPerLine;
  int lines;
  double scale;
  double Height(const AnimationDesc& a) const { return lines * (a.frameHeight * scale + 4); }
};

Layout LayoutFor(const AnimationDesc& anim) {
  Layout l;
  l.scale = ContactScale(anim);
  double cell = anim.frameWidth * l.scale + 4;
  l.framesPerLine = std::max(1, static_cast<int>((kContactWidth - kLabelWidth - kMargin) / cell));
  int n = static_cast<int>(anim.frames.size());
  l.lines = (n + l.framesPerLine - 1) / l.framesPerLine;
  return l;
}

void Checkerboard(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.30, 0.32, 0.36);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.40, 0.42, 0.46);
  for (int cy = 0; cy * 8 < h; ++cy)
    for (int cx = (cy & 1); cx * 8 < w; cx += 2) cairo_rectangle(cr, x + cx * 8, y + cy * 8, 8, 8);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Overlay(cairo_t* cr, const AnimationDesc& anim, int i, double scale) {
  const FrameDesc& f = anim.frames[i];
  cairo_save(cr);
  cairo_scale(cr, scale, scale);
  cairo_translate(cr, f.offsetX, f.offsetY);
  double px = 1.0 / scale;
  cairo_set_line_width(cr, px);
  for (const Polygon& polygon : anim.Shape(i)) {
    SetColor(cr, TypeColor(polygon.type).WithAlpha(0.9));
    const auto& v = polygon.vertices;
    for (size_t k = 0; k < v.size(); ++k) {
      if (k == 0)
        cairo_move_to(cr, v[k].x, v[k].y);
      else
        cairo_line_to(cr, v[k].x, v[k].y);
    }
    if (v.size() > 2) cairo_close_path(cr);
    if (v.size() == 1) cairo_rectangle(cr, v[0].x - px, v[0].y - px, 2 * px, 2 * px);
    cairo_stroke(cr);
    for (const Vertex& vertex : v) {
      if (vertex.radius <= 0) continue;
      cairo_new_sub_path(cr);
      cairo_arc(cr, vertex.x, vertex.y, vertex.radius, 0, 2 * kPi);
      cairo_stroke(cr);
    }
  }
  // The origin.
  cairo_set_source_rgb(cr, 1, 0.2, 0.9);
  cairo_move_to(cr, -3 * px, 0);
  cairo_line_to(cr, 3 * px, 0);
  cairo_move_to(cr, 0, -3 * px);
  cairo_line_to(cr, 0, 3 * px);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void WriteContactSheet(const std::vector<AnimationDesc>& animations,
                       const std::vector<cairo_surface_t*>& sheets,
                       const std::filesystem::path& path) {
  double total = kMargin;
  for (const auto& anim : animations)
    total += std::max(24.0, LayoutFor(anim).Height(anim)) + kMargin;
  Surface canvas(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kContactWidth,
                                            static_cast<int>(std::ceil(total))));
  cairo_t* cr = cairo_create(canvas.get());
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.14);
  cairo_paint(cr);
  double y = kMargin;
  for (size_t a = 0; a < animations.size(); ++a) {
    const AnimationDesc& anim = animations[a];
    Layout l = LayoutFor(anim);
    std::string label = anim.name + " " + std::to_string(anim.frames.size());
    DrawLabel(cr, label, kMargin, y + 16, 12, 0, Color::Hex(0xF0F0F0));
    DrawLabel(cr,
              std::to_string(anim.frameWidth) + "X" + std::to_string(anim.frameHeight) + " " +
                  anim.painter,
              kMargin, y + 34, 9, 0, Color::Hex(0xA0A0B0));
    for (int i = 0; i < static_cast<int>(anim.frames.size()); ++i) {
      int line = i / l.framesPerLine, col = i % l.framesPerLine;
      double fx = kLabelWidth + col * (anim.frameWidth * l.scale + 4);
      double fy = y + line * (anim.frameHeight * l.scale + 4);
      double w = anim.frameWidth * l.scale, h = anim.frameHeight * l.scale;
      Checkerboard(cr, fx, fy, w, h);
      int sx = 0, sy = 0;
      FrameCell(anim, i, &sx, &sy);
      cairo_save(cr);
      cairo_rectangle(cr, fx, fy, w, h);
      cairo_clip(cr);
      cairo_translate(cr, fx, fy);
      cairo_scale(cr, l.scale, l.scale);
      cairo_set_source_surface(cr, sheets[a], -sx, -sy);
      cairo_pattern_set_filter(cairo_get_source(cr),
                               l.scale >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_save(cr);
      cairo_translate(cr, fx, fy);
      Overlay(cr, anim, i, l.scale);
      cairo_restore(cr);
    }
    y += std::max(24.0, l.Height(anim)) + kMargin;
  }
  cairo_destroy(cr);
  WritePng(canvas.get(), path);
}

}  // namespace assetgen
