// Sheet layout, PNG output and the contact sheet.
#include "SheetRenderer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "CollisionTable.h"
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
constexpr double kCaptionHeight = 11;  // the frame's caption under its picture
constexpr double kLegendHeight = 24;

Color TypeColor(int type) {
  static const std::uint32_t colors[] = {0xFFFFFF, 0xFF9900, 0xD2A060, 0x00FFFF,
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
  double LineHeight(const AnimationDesc& a) const {
    return a.frameHeight * scale + kCaptionHeight + 4;
  }
  double Height(const AnimationDesc& a) const { return lines * LineHeight(a); }
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

// A polygon edge that reads on any art: a dark casing under a bright line of the type's colour.
void CasedStroke(cairo_t* cr, const Color& color) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  SetColor(cr, color);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

// Frame i's origin and collision polygons over its picture drawn at (x, y) at `scale`. The
// points are mapped by hand so that the lines stay the same width at every scale; each
// polygon is numbered at its first vertex, as the game indexes them.
void Overlay(cairo_t* cr, const AnimationDesc& anim, int i, double x, double y, double scale) {
  const FrameDesc& f = anim.frames[i];
  auto at = [&](const Vertex& v) {
    return std::pair<double, double>{x + (f.offsetX + v.x) * scale, y + (f.offsetY + v.y) * scale};
  };
  const std::vector<Polygon> shape = anim.Shape(i);
  for (const Polygon& polygon : shape) {
    const Color color = TypeColor(polygon.type);
    const auto& v = polygon.vertices;
    for (size_t k = 0; k < v.size(); ++k) {
      auto [px, py] = at(v[k]);
      if (k == 0)
        cairo_move_to(cr, px, py);
      else
        cairo_line_to(cr, px, py);
    }
    if (v.size() > 2) cairo_close_path(cr);
    if (v.size() == 1 && v[0].radius <= 0) {
      auto [px, py] = at(v[0]);
      cairo_new_path(cr);
      cairo_rectangle(cr, px - 2, py - 2, 4, 4);
    }
    if (v.size() != 1 || v[0].radius <= 0) CasedStroke(cr, color);
    for (const Vertex& vertex : v) {
      if (vertex.radius <= 0) continue;
      auto [px, py] = at(vertex);
      cairo_new_sub_path(cr);
      cairo_arc(cr, px, py, std::max(1.5, vertex.radius * scale), 0, 2 * kPi);
      CasedStroke(cr, color);
    }
  }
  for (size_t n = 0; n < shape.size(); ++n) {
    if (shape[n].vertices.empty()) continue;
    auto [px, py] = at(shape[n].vertices[0]);
    DrawLabel(cr, std::to_string(n), px + 2, py - 2, 7, 0, TypeColor(shape[n].type));
  }
  // The origin.
  auto [ox, oy] = at(Vertex{});
  cairo_set_source_rgb(cr, 1, 0.2, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, ox - 4, oy);
  cairo_line_to(cr, ox + 4, oy);
  cairo_move_to(cr, ox, oy - 4);
  cairo_line_to(cr, ox, oy + 4);
  cairo_stroke(cr);
}

// Frame i's index, then its ticks and where it goes next ("HOLD" for a frame that never
// advances by itself), under its picture.
std::string FrameCaption(const AnimationDesc& anim, int i) {
  const FrameDesc& f = anim.frames[i];
  std::string caption = std::to_string(i) + " ";
  caption += f.ticks == 0 ? std::string("HOLD") : "T" + std::to_string(f.ticks);
  if (f.next != i + 1) caption += " :" + std::to_string(f.next);
  return caption;
}

// The colour of every collision type, named.
double DrawLegend(cairo_t* cr, double y) {
  DrawLabel(cr, "COLLISION TYPES", kMargin, y + 14, 11, 0, Color::Hex(0xF0F0F0));
  double x = kLabelWidth;
  for (int type = 0; type < kCollisionTypeCount; ++type) {
    cairo_rectangle(cr, x, y + 3, 24, 12);
    CasedStroke(cr, TypeColor(type));
    const std::string name = CollisionTypeName(type);
    DrawLabel(cr, name, x + 30, y + 14, 9, 0, TypeColor(type));
    x += 40 + TextWidth(name, 9);
  }
  return y + 24;
}

}  // namespace

void WriteContactSheet(const std::vector<AnimationDesc>& animations,
                       const std::vector<cairo_surface_t*>& sheets,
                       const std::filesystem::path& path) {
  double total = kMargin + kLegendHeight + kMargin;
  for (const auto& anim : animations)
    total += std::max(24.0, LayoutFor(anim).Height(anim)) + kMargin;
  Surface canvas(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kContactWidth,
                                            static_cast<int>(std::ceil(total))));
  cairo_t* cr = cairo_create(canvas.get());
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.14);
  cairo_paint(cr);
  double y = DrawLegend(cr, kMargin) + kMargin;
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
      double fy = y + line * l.LineHeight(anim);
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
      Overlay(cr, anim, i, fx, fy, l.scale);
      DrawLabel(cr, FrameCaption(anim, i), fx + 1, fy + h + kCaptionHeight - 2, 7, 0,
                Color::Hex(0xC8C8D4));
    }
    y += std::max(24.0, l.Height(anim)) + kMargin;
  }
  cairo_destroy(cr);
  WritePng(canvas.get(), path);
}

}  // namespace assetgen
