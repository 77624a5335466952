// Level objects and the turn banner: tires, core pieces and their glow, checkpoint gates,
// the factory lift, the tigers' shot and bomb, and the player-number badge.
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

void Disc(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

void HazardBand(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.95, 0.75, 0.1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  for (double s = x - h; s < x + w; s += 14) {
    cairo_move_to(cr, s, y + h);
    cairo_line_to(cr, s + 7, y + h);
    cairo_line_to(cr, s + 7 + h, y);
    cairo_line_to(cr, s + h, y);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

// "P1" to "P4" on a bold plate: thick strokes and no fine detail, so it reads both full size
// and shrunk into the HUD corner. number=1..4.
void PaintPlayerBadge(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const int n = static_cast<int>(p.Num("number", p.index + 1));
  const Color colours[] = {Color::Hex(0xE8303A), Color::Hex(0x3A7BF2), Color::Hex(0x2FD05A),
                           Color::Hex(0xF2C230)};
  const Color c = colours[(n - 1) & 3];
  const double w = p.Width() - 12, h = p.Height() - 12;
  Glow(cr, 0, 0, w * 0.6, c.WithAlpha(0.35));
  RoundedRectPath(cr, -w / 2, -h / 2, w, h, h * 0.3);
  FillShadedOutlined(cr, Color::Hex(0x1E2634), -h / 2, h / 2, 3);
  RoundedRectPath(cr, -w / 2 + 5, -h / 2 + 5, w - 10, h - 10, h * 0.24);
  SetColor(cr, c);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  DrawLabel(cr, "PLAYER", 0, -h * 0.16, h * 0.2, 1, Color::Hex(0xDDE6F0), 2.5);
  DrawLabel(cr, std::to_string(n), 0, h * 0.36, h * 0.42, 1, c.Lighter(0.35), 6);
}

// A fat tyre lying flat, seen from the side. frame 0 resting, 1 loose (tipped, tumbling).
void PaintTire(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double w = p.Width() / 2 - 2, h = p.Height() / 2 - 1;
  cairo_save(cr);
  if (p.index == 1) cairo_rotate(cr, Radians(-14));
  // Tread wall with a rounded profile.
  RoundedRectPath(cr, -w, -h, 2 * w, 2 * h, h * 0.7);
  FillShadedOutlined(cr, Color::Hex(0x2A2A2E), -h, h, 2);
  for (double x = -w + 8; x < w - 4; x += 9) {
    cairo_move_to(cr, x, -h + 3);
    cairo_line_to(cr, x + 4, h - 3);
  }
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // The top face with the grey hub in its hole.
  cairo_save(cr);
  cairo_translate(cr, 0, -h * 0.35);
  cairo_scale(cr, w * 0.8, h * 0.42);
  Disc(cr, 0, 0, 1);
  cairo_restore(cr);
  SetColor(cr, Color::Hex(0x141416));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 0, -h * 0.35);
  cairo_scale(cr, w * 0.4, h * 0.22);
  Disc(cr, 0, 0, 1);
  cairo_restore(cr);
  FillShadedOutlined(cr, Color::Hex(0x9AA0A8), -h * 0.6, -h * 0.1, 1.2);
  cairo_move_to(cr, -w * 0.7, -h * 0.72);
  cairo_curve_to(cr, -w * 0.3, -h * 0.95, w * 0.3, -h * 0.95, w * 0.7, -h * 0.72);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A hexagonal memory-core chip with gold pins around a cyan core.
void PaintCorePiece(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = p.Width() / 2 - 6;
  Glow(cr, 0, 0, r + 6, Color{0.4, 1, 1, 0.5});
  for (int k = 0; k < 6; ++k) {
    const double a = k * kPi / 3 + kPi / 6;
    for (double d : {-0.22, 0.22}) {
      const double b = a + d;
      cairo_move_to(cr, r * 0.8 * std::cos(b), r * 0.8 * std::sin(b));
      cairo_line_to(cr, (r + 4) * std::cos(b), (r + 4) * std::sin(b));
    }
  }
  cairo_set_source_rgb(cr, 0.95, 0.75, 0.2);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int k = 0; k < 6; ++k) {
    const double a = k * kPi / 3;
    cairo_line_to(cr, r * std::cos(a), r * std::sin(a));
  }
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Hex(0x2C3340), -r, r, 2);
  for (int k = 0; k < 6; ++k) {
    const double a = k * kPi / 3;
    cairo_line_to(cr, r * 0.62 * std::cos(a), r * 0.62 * std::sin(a));
  }
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0xD8A830));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Glow(cr, 0, 0, r * 0.6, Color{0.4, 1, 1, 0.9});
  Sphere(cr, 0, 0, r * 0.34, Color::Hex(0x40E8FF));
}

// A soft cyan-white halo.
void PaintCoreGlow(const FramePaint& p) {
  const double r = p.Width() / 2 - 1;
  Glow(p.cr, 0, 0, r, Color{0.45, 0.95, 1, 0.7});
  Glow(p.cr, 0, 0, r * 0.45, Color{1, 1, 1, 0.7});
}

// The editor's marker of an invisible trigger: a small flag.
void PaintTriggerMarker(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = p.Width() / 2 - 2;
  cairo_move_to(cr, 0, -r);
  cairo_line_to(cr, r, 0);
  cairo_line_to(cr, 0, r);
  cairo_line_to(cr, -r, 0);
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Hex(0x40E070), -r, r, 1.2);
}

void PaintClear(const FramePaint& /*p*/) {}

// A gantry post whose green beam closes into a red grille: frame 0 open, the closing
// frames, the last frame shut. The origin is at the foot.
void PaintCheckpointGate(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const int last = static_cast<int>(p.anim.frames.size()) - 1;
  const double t = last > 0 ? p.index / double(last) : 1;  // 0 open .. 1 shut
  const double h = p.Height() - 4, w = p.Width();
  // Base and post on the left side of the frame.
  RoundedRectPath(cr, -w / 2 + 2, -14, w - 4, 14, 3);
  FillShadedOutlined(cr, Color::Hex(0x4A5464), -14, 0, 1.5);
  HazardBand(cr, -w / 2 + 6, -10, w - 12, 6);
  cairo_rectangle(cr, -w / 2 + 6, -h, 14, h - 14);
  FillShadedOutlined(cr, Color::Hex(0x66788C), -h, -14, 1.5);
  cairo_rectangle(cr, -w / 2 + 6, -h, w - 12, 12);
  FillShadedOutlined(cr, Color::Hex(0x66788C), -h, -h + 12, 1.5);
  // Beam emitters under the top bar.
  const Color beam = Color::Mix(Color::Hex(0x40FF70), Color::Hex(0xFF3030), t);
  Sphere(cr, -w / 2 + 13, -h + 20, 4, beam);
  // The grille slides down from the top bar as the gate closes.
  const double bottom = -14, top = -h + 12;
  const double reach = top + (bottom - top) * t;
  for (double x = -w / 2 + 24; x < w / 2 - 4; x += 8) {
    if (t > 0) {
      cairo_rectangle(cr, x, top, 3, reach - top);
      SetColor(cr, Color::Hex(0xB02020));
      cairo_fill(cr);
    }
  }
  if (t > 0) {
    cairo_rectangle(cr, -w / 2 + 20, reach - 4, w - 24, 4);
    SetColor(cr, Color::Hex(0xE04040));
    cairo_fill(cr);
  }
  // The beam: a vertical light curtain, fading as the grille comes down.
  cairo_pattern_t* g = cairo_pattern_create_linear(-w / 2 + 20, 0, w / 2 - 2, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, beam.r, beam.g, beam.b, 0.6);
  cairo_pattern_add_color_stop_rgba(g, 1, beam.r, beam.g, beam.b, 0.0);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, -w / 2 + 20, top, w - 22, bottom - top);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_move_to(cr, -w / 2 + 21, top);
  cairo_line_to(cr, -w / 2 + 21, bottom);
  SetColor(cr, beam.Lighter(0.4));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

// A riveted lift with hazard stripes; lamps at the ends blink between the frames.
void PaintFactoryPlatform(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double w = p.Width() / 2 - 2, h = p.Height() - 4;
  cairo_rectangle(cr, -w, 0, 2 * w, h - 10);
  FillShadedOutlined(cr, Color::Hex(0x5C6878), 0, h - 10, 2);
  HazardBand(cr, -w + 2, 2, 2 * w - 4, 7);
  for (double x = -w + 12; x < w; x += 24) Sphere(cr, x, 17, 2.2, Color::Hex(0xA8B4C2));
  // Under-slung motor housing.
  cairo_move_to(cr, -w * 0.4, h - 10);
  cairo_line_to(cr, w * 0.4, h - 10);
  cairo_line_to(cr, w * 0.3, h);
  cairo_line_to(cr, -w * 0.3, h);
  cairo_close_path(cr);
  FillShadedOutlined(cr, Color::Hex(0x3A4452), h - 10, h, 1.5);
  for (int side = -1; side <= 1; side += 2) {
    const bool lit = (p.index == 0) == (side < 0);
    const double x = side * (w - 8);
    if (lit) Glow(cr, x, h - 6, 14, Color{1, 0.7, 0.1, 0.8});
    Sphere(cr, x, h - 6, 4, lit ? Color::Hex(0xFFC030) : Color::Hex(0x6A5020));
  }
}

// The TigerC's orange plasma bolt with a white core, facing right.
void PaintTigerShot(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const bool flicker = p.index % 2 == 1;
  const double len = p.Width() / 2 - 2;
  cairo_pattern_t* trail = cairo_pattern_create_linear(-len, 0, len * 0.5, 0);
  cairo_pattern_add_color_stop_rgba(trail, 0, 1, 0.45, 0.05, 0);
  cairo_pattern_add_color_stop_rgba(trail, 1, 1, 0.5, 0.05, 0.85);
  cairo_set_source(cr, trail);
  cairo_move_to(cr, -len, 0);
  cairo_line_to(cr, len * 0.4, -6);
  cairo_line_to(cr, len * 0.4, 6);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_pattern_destroy(trail);
  Glow(cr, len * 0.45, 0, flicker ? 7 : 6, Color{1, 0.55, 0.1, 0.9});
  cairo_save(cr);
  cairo_translate(cr, len * 0.45, 0);
  cairo_scale(cr, 8, 3.2);
  Disc(cr, 0, 0, 1);
  cairo_restore(cr);
  SetColor(cr, Color{1, 1, 0.92, 1});
  cairo_fill(cr);
}

// A round black bomb with a tiger-stripe band; the fuse sparks differently each frame.
void PaintTigerBomb(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double r = p.Width() / 2 - 8;  // room above for the fuse's sparks
  // Fuse.
  cairo_move_to(cr, r * 0.4, -r * 0.85);
  cairo_curve_to(cr, r * 0.7, -r * 1.1, r * 0.9, -r * 0.95, r * 1.0, -r * 1.1);
  cairo_set_source_rgb(cr, 0.6, 0.5, 0.35);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Sphere(cr, 0, 2, r, Color::Hex(0x26262A));
  cairo_save(cr);
  Disc(cr, 0, 2, r);
  cairo_clip(cr);
  cairo_rectangle(cr, -r, -2, 2 * r, 7);
  SetColor(cr, Color::Hex(0xF07A1A));
  cairo_fill(cr);
  for (double x = -r; x < r; x += 7) {
    cairo_move_to(cr, x, -2);
    cairo_line_to(cr, x + 3, -2);
    cairo_line_to(cr, x + 5, 5);
    cairo_line_to(cr, x + 2, 5);
    cairo_close_path(cr);
  }
  cairo_set_source_rgb(cr, 0.06, 0.06, 0.06);
  cairo_fill(cr);
  cairo_restore(cr);
  const double sx = r * 1.0, sy = -r * 1.1;
  Glow(cr, sx, sy, 3.5 + 1.2 * (p.index % 3), Color{1, 0.8, 0.2, 0.95});
  Lcg rng(97u + static_cast<unsigned>(p.index));
  for (int k = 0; k < 5; ++k) {
    const double a = rng.Range(0, 2 * kPi), d = rng.Range(2, 4.5);
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, sx + d * std::cos(a), sy + d * std::sin(a));
  }
  cairo_set_source_rgb(cr, 1, 0.95, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// The bomb's blast: an orange fireball ring that opens out and thins over the frames.
void PaintTigerBlast(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const int n = static_cast<int>(p.anim.frames.size());
  const double t = n > 1 ? p.index / double(n - 1) : 0;
  const double r = p.Width() / 2 - 4;
  Glow(cr, 0, 0, r, Color{1, 0.5, 0.1, 0.75 - 0.35 * t});
  const double ring = r * (0.55 + 0.3 * t);
  Disc(cr, 0, 0, ring);
  cairo_set_source_rgba(cr, 1, 0.55, 0.1, 0.9 - 0.4 * t);
  cairo_set_line_width(cr, 12 - 6 * t);
  cairo_stroke(cr);
  Disc(cr, 0, 0, ring);
  cairo_set_source_rgba(cr, 1, 0.95, 0.6, 0.9 - 0.5 * t);
  cairo_set_line_width(cr, 4 - 2 * t);
  cairo_stroke(cr);
  Lcg rng(331u + static_cast<unsigned>(p.index));
  for (int k = 0; k < 10; ++k) {
    const double a = rng.Range(0, 2 * kPi), d = ring * rng.Range(0.6, 1.1);
    const double green = rng.Range(0.3, 0.7);  // drawn before the size, as the art was made
    Glow(cr, d * std::cos(a), d * std::sin(a), rng.Range(6, 12),
         Color{1, green, 0.05, 0.8 - 0.4 * t});
  }
  Glow(cr, 0, 0, r * 0.4 * (1 - t), Color{1, 1, 0.85, 0.9});
}

}  // namespace assetgen
