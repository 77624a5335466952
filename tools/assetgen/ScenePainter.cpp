// The levels' backdrops, one layer per animation: a sky at the back and scenery that scrolls
// ever faster towards the front. Every layer repeats across its own width, so the level tiles
// it sideways; what lies below its skyline is filled to the bottom of the frame, so the
// ground always hides its lower edge. Kept darker and softer than the playfield, so that
// what moves in front of it, and the text over it, stays easy to read.
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "PaintKit.h"
#include "Painter.h"
#include "SceneKit.h"
#include "SheetRenderer.h"

namespace assetgen {

namespace scene {

// A soft cloud: overlapping puffs, lit from above, shaded below.
void Cloud(cairo_t* cr, Lcg& rng, double x, double y, double size, const Color& lit,
           const Color& shade) {
  const int puffs = 5 + static_cast<int>(size / 20);
  std::vector<std::array<double, 3>> circles;
  for (int k = 0; k < puffs; ++k) {
    const double t = (k + 0.5) / puffs;
    const double r = size * (0.25 + 0.35 * std::sin(kPi * t)) * rng.Range(0.8, 1.15);
    circles.push_back({x + (t - 0.5) * size * 2.2, y - r * 0.4 + rng.Range(-4, 4), r});
  }
  for (const auto& c : circles) cairo_arc(cr, c[0], c[1] + c[2] * 0.18, c[2], 0, kTwoPi);
  SetColor(cr, shade);
  cairo_fill(cr);
  for (const auto& c : circles) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c[0], c[1], c[2] * 0.92, 0, kTwoPi);
  }
  Gradient(cr, y - size * 0.8, y + size * 0.3, {{0, lit}, {1, lit.WithAlpha(lit.a * 0.35)}});
  cairo_fill(cr);
}

// A cloud of random size, height and place across [dx, dx + w). The numbers are drawn one by
// one, in the order the art was first made with: in one call's arguments the order would be
// the compiler's choice, and the two builds would paint different skies.
void RandomCloud(cairo_t* cr, Lcg& rng, double dx, double w, std::pair<double, double> y,
                 std::pair<double, double> size, const Color& lit, const Color& shade) {
  const double s = rng.Range(size.first, size.second);
  const double cy = rng.Range(y.first, y.second);
  const double cx = dx + rng.Range(0, w);
  Cloud(cr, rng, cx, cy, s, lit, shade);
}

}  // namespace scene

namespace {

using namespace scene;

// ---- The junkyard at dusk. ----

void JunkyardSky(cairo_t* cr, double w, double h) {
  Gradient(cr, 0, h,
           {{0, Color::Hex(0x1E1428)},
            {0.45, Color::Hex(0x5A3040)},
            {0.75, Color::Hex(0xB0603C)},
            {1, Color::Hex(0xD89050)}});
  cairo_paint(cr);
  AcrossSeam(w, [&](double dx) {
    Glow(cr, dx + w * 0.68, h * 0.62, 150, Color{1, 0.72, 0.4, 0.35});
    Sphere(cr, dx + w * 0.68, h * 0.62, 26, Color::Hex(0xF0B060));
    Lcg rng(1717u);
    for (int k = 0; k < 60; ++k) {
      const double sx = dx + rng.Range(0, w), sy = rng.Range(0, h * 0.35);
      cairo_rectangle(cr, sx, sy, 1.5, 1.5);
      cairo_set_source_rgba(cr, 1, 0.95, 0.9, rng.Range(0.2, 0.6) * (1 - sy / (h * 0.35)));
      cairo_fill(cr);
    }
    for (int k = 0; k < 9; ++k) {
      // Long evening streaks, their undersides lit by the low sun.
      const double cx = dx + rng.Range(0, w), cy = rng.Range(h * 0.12, h * 0.5);
      const double len = rng.Range(90, 220);
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_scale(cr, len, rng.Range(7, 16));
      cairo_arc(cr, 0, 0, 1, 0, kTwoPi);
      cairo_restore(cr);
      Gradient(cr, cy - 12, cy + 12,
               {{0, Color{0.35, 0.2, 0.3, 0.55}}, {1, Color{0.95, 0.55, 0.35, 0.6}}});
      cairo_fill(cr);
    }
  });
}

// A crane's silhouette: tower, jib and hanging hook.
void Crane(cairo_t* cr, double x, double foot, double height, double jib, const Color& c) {
  SetColor(cr, c);
  cairo_set_line_width(cr, 5);
  cairo_move_to(cr, x, foot);
  cairo_line_to(cr, x, foot - height);
  cairo_line_to(cr, x + jib, foot - height + 12);
  cairo_move_to(cr, x - jib * 0.25, foot - height + 6);
  cairo_line_to(cr, x, foot - height);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.5);
  for (double y = foot; y > foot - height + 12; y -= 18) {
    cairo_move_to(cr, x - 6, y);
    cairo_line_to(cr, x + 6, y - 18);
  }
  cairo_move_to(cr, x + jib * 0.8, foot - height + 10);
  cairo_line_to(cr, x + jib * 0.8, foot - height + 90);
  cairo_stroke(cr);
  cairo_rectangle(cr, x + jib * 0.8 - 12, foot - height + 90, 24, 10);
  cairo_fill(cr);
}

void JunkyardHills(cairo_t* cr, double w, double h) {
  const Skyline far(w, 300, 30, 8, 21u), mid(w, 360, 22, 14, 22u);
  far.Path(cr, h);
  Gradient(cr, 220, h,
           {{0, Color::Hex(0x5A3446)}, {0.5, Color::Hex(0x3A2634)}, {1, Color::Hex(0x2A1C28)}});
  cairo_fill(cr);
  AcrossSeam(w, [&](double dx) {
    Crane(cr, dx + w * 0.2, far.At(w * 0.2) + 6, 130, 120, Color::Hex(0x3E2636));
    Crane(cr, dx + w * 0.71, far.At(w * 0.71) + 6, 100, -100, Color::Hex(0x3E2636));
  });
  mid.Path(cr, h);
  Gradient(cr, 300, h, {{0, Color::Hex(0x42283A)}, {1, Color::Hex(0x20141C)}});
  cairo_fill(cr);
  // Haze where the hills meet the sky.
  cairo_rectangle(cr, 0, 240, w, 160);
  Gradient(cr, 240, 400,
           {{0, Color{0.9, 0.5, 0.35, 0}},
            {0.6, Color{0.9, 0.5, 0.35, 0.12}},
            {1, Color{0.9, 0.5, 0.35, 0}}});
  cairo_fill(cr);
}

void JunkyardHeaps(cairo_t* cr, double w, double h) {
  const Skyline heap(w, 380, 18, 22, 31u);
  // The fence first: posts and wire mesh, with the heaps piled in front of it.
  for (double x = 0; x < w; x += 128) {
    cairo_rectangle(cr, x + 2, 250, 5, h - 250);
    SetColor(cr, Color::Hex(0x2A2026));
    cairo_fill(cr);
  }
  cairo_save(cr);
  cairo_rectangle(cr, 0, 262, w, h - 262);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0.55, 0.42, 0.42, 0.35);
  for (double x = -h; x < w + h; x += 16) {
    cairo_move_to(cr, x, 262);
    cairo_line_to(cr, x + h, 262 + h);
    cairo_move_to(cr, x, 262);
    cairo_line_to(cr, x - h, 262 + h);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  StrokeSegment(cr, 0, 262, w, 262, 3, Color{0.2, 0.15, 0.18, 1});
  // Heaps: mounds of junk with car shells and tyres poking out, rimmed by the sunset.
  AcrossSeam(w, [&](double dx) {
    Lcg rng(3131u);
    for (int k = 0; k < 7; ++k) {
      const double cx = dx + rng.Range(0, w), top = rng.Range(250, 320), half = rng.Range(90, 170);
      cairo_move_to(cr, cx - half * 1.4, h);
      cairo_curve_to(cr, cx - half * 0.9, top + 30, cx - half * 0.3, top, cx, top);
      cairo_curve_to(cr, cx + half * 0.3, top, cx + half * 0.9, top + 30, cx + half * 1.4, h);
      cairo_close_path(cr);
      Gradient(cr, top, h,
               {{0, Color::Hex(0x3A2428)}, {0.4, Color::Hex(0x24181C)}, {1, Color::Hex(0x170F12)}});
      cairo_fill(cr);
      cairo_move_to(cr, cx - half * 0.7, top + 24);
      cairo_curve_to(cr, cx - half * 0.3, top + 1, cx + half * 0.1, top + 1, cx + half * 0.4,
                     top + 10);
      cairo_set_source_rgba(cr, 0.95, 0.55, 0.3, 0.55);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      // Junk sticking out of the heap.
      const double jx = cx + rng.Range(-half * 0.5, half * 0.5), jy = top + rng.Range(20, 50);
      if (k % 2 == 0) {
        cairo_arc(cr, jx, jy, rng.Range(12, 18), 0, kTwoPi);
        SetColor(cr, Color::Hex(0x120C0E));
        cairo_fill(cr);
      } else {
        // A car shell, half sunk, its window catching the sunset.
        cairo_save(cr);
        cairo_translate(cr, jx, jy);
        cairo_rotate(cr, rng.Range(-0.4, 0.4));
        cairo_move_to(cr, -44, 10);
        cairo_line_to(cr, -44, -6);
        cairo_line_to(cr, -22, -8);
        cairo_line_to(cr, -12, -24);
        cairo_line_to(cr, 16, -24);
        cairo_line_to(cr, 28, -8);
        cairo_line_to(cr, 44, -5);
        cairo_line_to(cr, 44, 10);
        cairo_close_path(cr);
        SetColor(cr, Color::Hex(0x1C1216));
        cairo_fill(cr);
        cairo_move_to(cr, -8, -20);
        cairo_line_to(cr, 13, -20);
        cairo_line_to(cr, 21, -9);
        cairo_line_to(cr, -15, -9);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0.85, 0.5, 0.35, 0.4);
        cairo_fill(cr);
        cairo_restore(cr);
      }
    }
  });
  heap.Path(cr, h);
  Gradient(cr, 340, h, {{0, Color::Hex(0x1E1418)}, {1, Color::Hex(0x120C0E)}});
  cairo_fill(cr);
}

// ---- The factory hall. ----

// What sets each of the hall's five windows apart, so that the wall does not repeat every
// window: broken panes, boards nailed over the lower panes, a painted hall number, soot
// streaks down the brick.
void WindowWear(cairo_t* cr, int k, double x, double ww, double top, double bottom, double h) {
  if (k == 1 || k == 4) {
    // Broken panes: the dark hall behind them, with a jagged edge of glass left.
    const double panes[][2] = {{0, 1}, {2, 3}, {1, 4}};
    for (const auto& pane : panes) {
      if (k == 4 && pane[0] == 0) continue;
      const double px = x + 3 + pane[0] * 30, py = top + 72 + pane[1] * 40;
      if (py + 36 > bottom) continue;
      cairo_move_to(cr, px, py);
      cairo_line_to(cr, px + 24, py);
      cairo_line_to(cr, px + 24, py + 12);
      cairo_line_to(cr, px + 14, py + 22);
      cairo_line_to(cr, px + 18, py + 36);
      cairo_line_to(cr, px, py + 36);
      cairo_close_path(cr);
      SetColor(cr, Color::Hex(0x0C0C12));
      cairo_fill(cr);
    }
  }
  if (k == 3) {
    // Boards over the lower panes.
    for (int b = 0; b < 3; ++b) {
      const double y = bottom - 70 + b * 22;
      cairo_save(cr);
      cairo_translate(cr, x + ww / 2, y);
      cairo_rotate(cr, b == 1 ? 0.08 : -0.05);
      cairo_rectangle(cr, -ww / 2 - 6, -8, ww + 12, 16);
      FillShadedOutlined(cr, Color::Hex(0x5A4030), -8, 8, 1.2);
      cairo_restore(cr);
    }
  }
  if (k == 2) {
    DrawLabel(cr, "HALL 3", x + ww / 2, bottom + 40, 18, 1, Color{0.75, 0.68, 0.5, 0.55});
  }
  if (k == 0 || k == 3) {
    // Soot run down the brick from the sill.
    for (int s = 0; s < 3; ++s) {
      const double sx = x + 20 + s * 36;
      cairo_rectangle(cr, sx, bottom, 10, h * 0.3);
      Gradient(cr, bottom, bottom + h * 0.3, {{0, Color{0, 0, 0, 0.35}}, {1, Color{0, 0, 0, 0}}});
      cairo_fill(cr);
    }
  }
}

void FactoryWall(cairo_t* cr, double w, double h) {
  Gradient(cr, 0, h, {{0, Color::Hex(0x16181E)}, {1, Color::Hex(0x262A32)}});
  cairo_paint(cr);
  // Brick courses, faint.
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
  for (double y = 0; y < h; y += 16) {
    cairo_move_to(cr, 0, y + 0.5);
    cairo_line_to(cr, w, y + 0.5);
    for (double x = (static_cast<int>(y / 16) % 2) * 20; x < w; x += 40) {
      cairo_move_to(cr, x + 0.5, y);
      cairo_line_to(cr, x + 0.5, y + 16);
    }
  }
  cairo_stroke(cr);
  // Tall arched windows showing the evening outside, and the light they let in.
  // Started one window early, so that the light of the last one comes back at the left edge.
  for (double x = 40 - 200; x < w; x += 200) {
    const double ww = 120, top = 60, bottom = 330;
    cairo_move_to(cr, x, bottom);
    cairo_line_to(cr, x, top + ww / 2);
    cairo_arc(cr, x + ww / 2, top + ww / 2, ww / 2, kPi, 2 * kPi);
    cairo_line_to(cr, x + ww, bottom);
    cairo_close_path(cr);
    Gradient(cr, top, bottom,
             {{0, Color::Hex(0x2A3660)}, {0.7, Color::Hex(0x6E4C50)}, {1, Color::Hex(0x9A6A4A)}});
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.05, 0.05, 0.07, 1);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 3);
    for (double mx = x + 30; mx < x + ww; mx += 30) {
      cairo_move_to(cr, mx, top + 8);
      cairo_line_to(cr, mx, bottom);
    }
    for (double my = top + 70; my < bottom; my += 40) {
      cairo_move_to(cr, x, my);
      cairo_line_to(cr, x + ww, my);
    }
    cairo_stroke(cr);
    WindowWear(cr, (static_cast<int>((x - 40) / 200) + 5) % 5, x, ww, top, bottom, h);
    // A shaft of light falling from the window.
    cairo_move_to(cr, x, bottom);
    cairo_line_to(cr, x + ww, bottom);
    cairo_line_to(cr, x + ww + 70, h);
    cairo_line_to(cr, x + 50, h);
    cairo_close_path(cr);
    Gradient(cr, bottom, h, {{0, Color{1, 0.75, 0.5, 0.12}}, {1, Color{1, 0.75, 0.5, 0}}});
    cairo_fill(cr);
  }
}

void FactoryGirders(cairo_t* cr, double w, double h) {
  const Color beam = Color::Hex(0x2C323C), lit = Color::Hex(0x4A5462);
  // A gantry beam high up with its trusses, and columns down to the floor.
  for (double x = 0; x < w; x += 256) {
    StrokeSegment(cr, x + 20, 0, x + 20, h, 22, beam);
    StrokeSegment(cr, x + 12, 0, x + 12, h, 3, lit);
    for (double y = 150; y < h; y += 120) {
      StrokeSegment(cr, x + 20, y, x + 148, y + 120, 6, beam);
      StrokeSegment(cr, x + 148, y, x + 20, y + 120, 6, beam);
    }
  }
  cairo_rectangle(cr, 0, 120, w, 30);
  SetColor(cr, beam);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 120, w, 3);
  SetColor(cr, lit);
  cairo_fill(cr);
  for (double x = 0; x < w; x += 32) StrokeSegment(cr, x, 150, x + 32, 120, 3, beam);
  // A chain with a hook hanging from the gantry, one per repeat.
  for (double x : {w * 0.72}) {
    StrokeSegment(cr, x, 150, x, 300, 3, Color::Hex(0x3A3E46));
    cairo_arc(cr, x, 312, 10, 0, kPi * 1.3);
    cairo_set_line_width(cr, 4);
    SetColor(cr, Color::Hex(0x3A3E46));
    cairo_stroke(cr);
  }
  // Two pipes along the wall, with flanges every 128.
  for (const auto& [y, c] :
       {std::pair{380.0, Color::Hex(0x3A4A3C)}, {412.0, Color::Hex(0x4A3A30)}}) {
    StrokeSegment(cr, 0, y, w, y, 16, c.Darker(0.2));
    StrokeSegment(cr, 0, y - 4, w, y - 4, 3, c.Lighter(0.25));
    for (double x = 60; x < w; x += 128) {
      cairo_rectangle(cr, x, y - 11, 8, 22);
      SetColor(cr, c.Darker(0.35));
      cairo_fill(cr);
    }
  }
}

void FactoryMachines(cairo_t* cr, double w, double h) {
  const Color body = Color::Hex(0x1C2028), rim = Color::Hex(0x5A6472);
  AcrossSeam(w, [&](double dx) {
    Lcg rng(5353u);
    for (int k = 0; k < 4; ++k) {
      // A storage tank with a ladder and a pipe into the floor.
      const double cx = dx + 128 + k * 256 + rng.Range(-30, 30);
      const double tw = rng.Range(90, 130), top = rng.Range(300, 370);
      RoundedRectPath(cr, cx - tw / 2, top, tw, h - top + 20, tw * 0.3);
      SetColor(cr, body);
      cairo_fill(cr);
      cairo_move_to(cr, cx - tw / 2 + 6, top + tw * 0.3);
      cairo_curve_to(cr, cx - tw / 2 + 6, top + 6, cx - tw / 4, top + 2, cx, top + 2);
      cairo_set_source_rgba(cr, rim.r, rim.g, rim.b, 0.8);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      for (double y = top + 30; y < h; y += 14) {
        cairo_move_to(cr, cx + tw / 2 - 18, y);
        cairo_line_to(cr, cx + tw / 2 - 6, y);
      }
      cairo_set_source_rgba(cr, 0.3, 0.34, 0.4, 0.8);
      cairo_stroke(cr);
      // A warning light on top.
      Glow(cr, cx, top - 4, 14, Color{1, 0.3, 0.15, 0.5});
      Sphere(cr, cx, top - 4, 4, Color::Hex(0xFF5A30));
      // A conveyor between this tank and the next.
      const double cy = rng.Range(430, 470);
      cairo_rectangle(cr, cx + tw / 2, cy, 256 - tw, 12);
      SetColor(cr, Color::Hex(0x242A32));
      cairo_fill(cr);
      for (double x = cx + tw / 2 + 8; x < cx + 256 - tw / 2; x += 24) {
        cairo_arc(cr, x, cy + 6, 5, 0, kTwoPi);
        SetColor(cr, Color::Hex(0x3A424E));
        cairo_fill(cr);
      }
    }
  });
  // The hall's floor in front of their feet, closing the layer below.
  cairo_rectangle(cr, 0, h - 48, w, 48);
  Gradient(cr, h - 48, h, {{0, Color::Hex(0x20242C)}, {1, Color::Hex(0x121418)}});
  cairo_fill(cr);
  StrokeSegment(cr, 0, h - 47, w, h - 47, 2, rim.Darker(0.3));
}

struct Scene {
  const char* name;
  void (*paint)(cairo_t*, double, double);
  // Paints its own rows below the screen's height rather than running its last row on.
  bool deep = false;
};

const Scene kScenes[] = {
    {"junkyard_sky", JunkyardSky},
    {"junkyard_hills", JunkyardHills},
    {"junkyard_heaps", JunkyardHeaps},
    {"factory_wall", FactoryWall},
    {"factory_girders", FactoryGirders},
    {"factory_machines", FactoryMachines},
    {"airship_sky", AirshipSky},
    {"airship_far", AirshipFar, true},
    {"airship_clouds", AirshipClouds, true},
};

}  // namespace

namespace scene {

bool PaintScene(cairo_t* cr, const std::string& name, double w, double h) {
  for (const Scene& s : kScenes) {
    if (name == s.name) {
      s.paint(cr, w, h);
      return true;
    }
  }
  return false;
}

}  // namespace scene

// Every scene is painted screen-high; a layer's frame may hold only a band of it.
constexpr double kSceneHeight = 600;

// scene=<one of the names above>; the frame is the layer's repeat across, its origin the
// top-left. top=<row> starts the frame that far down the scene: rows that are clear, or that
// the layer in front always covers, cost memory and drawing time and show nothing, so the
// frame keeps only the band between, and the level places it that much lower. A frame that
// reaches below the scene runs its bottom row on to the frame's bottom: the layer in front
// rises on the screen as the camera goes down, and in a pit or a gap nothing else covers the
// screen under it.
void PaintBackdropLayer(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top() - p.Num("top", 0));
  const std::string scene = p.Text("scene", "");
  const Scene* found = nullptr;
  for (const Scene& s : kScenes) {
    if (scene == s.name) found = &s;
  }
  if (!found) throw SourceError(p.anim.source + ": no backdrop scene named \"" + scene + "\"");
  if (p.Num("top", 0) + p.Height() <= kSceneHeight) {
    found->paint(cr, p.Width(), kSceneHeight);
    return;
  }
  if (found->deep) {
    found->paint(cr, p.Width(), p.Num("top", 0) + p.Height());
    return;
  }
  // Painted apart, then laid in with its edge pixels padded outward: below the scene, every
  // column keeps the colour of its last row.
  const Surface whole(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(p.Width()),
                                                 static_cast<int>(kSceneHeight)));
  cairo_t* apart = cairo_create(whole.get());
  found->paint(apart, p.Width(), kSceneHeight);
  cairo_destroy(apart);
  cairo_pattern_t* laid = cairo_pattern_create_for_surface(whole.get());
  cairo_pattern_set_extend(laid, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(laid, CAIRO_FILTER_NEAREST);
  cairo_set_source(cr, laid);
  cairo_pattern_destroy(laid);  // the context keeps its own reference
  cairo_paint(cr);
}

}  // namespace assetgen
