// The junkyard boss Grindlenaut: a rusted tracked digger with a spinning drill at its nose
// and a crane arm on its back, the burrow it leaves and the scrap it throws. The hull rides
// on a tread loop whose links, wheels and sprockets turn frame by frame; digging throws
// earth; the worn looks dent, scorch, tear and smoke it as the fight goes on, and the death
// frames break it down stage by stage (TigerA has its own file).
#include <algorithm>
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

const Color kRust = Color::Hex(0xB4481E);
const Color kSteel = Color::Hex(0x8C96A0);
const Color kDark = Color::Hex(0x2A2522);
const Color kFurnace = Color::Hex(0xFF8A1C);
const Color kGold = Color::Hex(0xE2A92A);
const Color kHazard = Color::Hex(0xF2C21A);
const Color kEarth = Color::Hex(0x5E4630);
const Color kRim = Color::Hex(0xFFD8A8);

// The tread loop: a stadium from x0 to x1 between y0 and y1.
constexpr double kTreadX0 = -142, kTreadX1 = 150, kTreadY0 = 44, kTreadY1 = 86;

// The point at distance s along the tread loop (clockwise from the top-left), with its
// outward normal.
void TreadPoint(double s, P2* at, P2* normal) {
  const double r = (kTreadY1 - kTreadY0) / 2, cy = kTreadY0 + r;
  const double flat = kTreadX1 - kTreadX0 - 2 * r, arc = kPi * r;
  const double total = 2 * flat + 2 * arc;
  s = std::fmod(std::fmod(s, total) + total, total);
  if (s < flat) {
    *at = {kTreadX0 + r + s, kTreadY0}, *normal = {0, -1};
  } else if (s < flat + arc) {
    const double a = -kPi / 2 + (s - flat) / r;
    *at = {kTreadX1 - r + r * std::cos(a), cy + r * std::sin(a)};
    *normal = {std::cos(a), std::sin(a)};
  } else if (s < 2 * flat + arc) {
    *at = {kTreadX1 - r - (s - flat - arc), kTreadY1}, *normal = {0, 1};
  } else {
    const double a = kPi / 2 + (s - 2 * flat - arc) / r;
    *at = {kTreadX0 + r + r * std::cos(a), cy + r * std::sin(a)};
    *normal = {std::cos(a), std::sin(a)};
  }
}

// A wheel with spokes turned by `turn` radians.
void Wheel(cairo_t* cr, double x, double y, double radius, double turn, bool teeth) {
  if (teeth) {
    for (int t = 0; t < 10; ++t) {
      const double a = turn + t * kPi / 5;
      StrokeSegment(cr, x + (radius - 2) * std::cos(a), y + (radius - 2) * std::sin(a),
                    x + (radius + 4) * std::cos(a), y + (radius + 4) * std::sin(a), 5,
                    kDark.Lighter(0.25));
    }
  }
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  FillShadedOutlined(cr, kSteel.Darker(0.25), y - radius, y + radius, 2);
  for (int k = 0; k < 3; ++k) {
    const double a = turn + k * 2 * kPi / 3;
    StrokeSegment(cr, x, y, x + radius * 0.8 * std::cos(a), y + radius * 0.8 * std::sin(a), 3,
                  kDark.Lighter(0.1));
  }
  Sphere(cr, x, y, radius * 0.3, kGold.Darker(0.2));
}

// Links travel along the loop by `travel` pixels; `blur` smears them when digging.
void Treads(cairo_t* cr, double travel, bool blur) {
  RoundedRectPath(cr, kTreadX0, kTreadY0, kTreadX1 - kTreadX0, kTreadY1 - kTreadY0, 21);
  FillShadedOutlined(cr, kDark.Lighter(0.1), kTreadY0, kTreadY1, 3);
  const double turn = travel / 13.0;
  Wheel(cr, kTreadX0 + 21, 65, 15, -turn, true);  // drive sprocket
  Wheel(cr, kTreadX1 - 21, 65, 15, -turn, true);  // idler
  for (int w = 0; w < 5; ++w) Wheel(cr, -88 + w * 44.0, 70, 11, -turn * 1.3, false);
  // Track plates with grousers.
  constexpr double kPitch = 12;
  for (int k = 0; k < 60; ++k) {
    P2 at, n;
    TreadPoint(k * kPitch + travel, &at, &n);
    const P2 t{-n.y, n.x};
    if (blur) {
      StrokeSegment(cr, at.x - t.x * 9, at.y - t.y * 9, at.x + t.x * 9, at.y + t.y * 9, 5,
                    kSteel.Darker(0.35).WithAlpha(0.6));
      continue;
    }
    cairo_move_to(cr, at.x - t.x * 5, at.y - t.y * 5);
    cairo_line_to(cr, at.x + t.x * 5, at.y + t.y * 5);
    cairo_line_to(cr, at.x + t.x * 4 + n.x * 4, at.y + t.y * 4 + n.y * 4);
    cairo_line_to(cr, at.x - t.x * 4 + n.x * 4, at.y - t.y * 4 + n.y * 4);
    cairo_close_path(cr);
    FillShadedOutlined(cr, kSteel.Darker(0.2), at.y - 4, at.y + 4, 1.2);
  }
}

void HullPath(cairo_t* cr) {
  cairo_move_to(cr, -152, 44);
  cairo_line_to(cr, -134, -46);
  cairo_line_to(cr, -40, -58);
  cairo_line_to(cr, 96, -62);
  cairo_line_to(cr, 150, -10);
  cairo_line_to(cr, 154, 44);
  cairo_close_path(cr);
}

struct HullLook {
  double glow = 1;    // furnace brightness
  double bob = 0;     // the hull's bounce on its suspension
  double damage = 0;  // 0 whole .. 1 breaking apart
  double earth = 0;   // caked with earth from below
  int wear = 0;       // 0 fresh, 1 dented and scorched, 2 torn open, smoking and sparking
  int frame = 0;
};

// A dent: a dark hollow with a lit lower lip.
void Dent(cairo_t* cr, double x, double y, double r) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, r, r * 0.6);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  SetColor(cr, kRust.Darker(0.55).WithAlpha(0.8));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, r, r * 0.6);
  cairo_arc(cr, 0, 0, 1, Radians(20), Radians(160));
  cairo_restore(cr);
  SetColor(cr, kRust.Lighter(0.45));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void Sparks(cairo_t* cr, Lcg& rng, double x, double y, int count, double reach) {
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int s = 0; s < count; ++s) {
    const double a = rng.Range(-kPi, 0);
    const double len = rng.Range(reach * 0.4, reach);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + len * std::cos(a), y + len * std::sin(a));
  }
  SetColor(cr, Color::Hex(0xFFE890));
  cairo_stroke(cr);
  Glow(cr, x, y, reach * 0.5, Color::Hex(0xFFC040, 0.8));
}

void Smoke(cairo_t* cr, Lcg& rng, double x, double y, int puffs, double size) {
  for (int k = 0; k < puffs; ++k) {
    const double dx = rng.Range(-size, size);
    const double dy = -k * size * 0.5;
    const double r = size * (0.7 + 0.15 * k);
    Glow(cr, x + dx, y + dy, r, Color{0.22, 0.2, 0.2, 0.75 - 0.1 * k});
  }
}

// Soot blown out from a hit: a dark smudge, darkest at its heart.
void Scorch(cairo_t* cr, double x, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.06, 0.04, 0.03, 0.9);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 0.1, 0.07, 0.05, 0.62);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.2, 0.1, 0.05, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

// A billow of smoke, lit from above: a soft-edged disc, pale at its crown.
void SmokePuff(cairo_t* cr, double x, double y, double r, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.4, r * 0.1, x, y, r);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.46, 0.44, 0.42, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.6, 0.2, 0.19, 0.18, alpha * 0.95);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.12, 0.11, 0.11, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// Smoke from a stack's mouth streaming back over the hull, the way the boss's puffs drift.
// Each frame moves the billows half their spacing down the stream.
void SmokeStream(cairo_t* cr, double x, double y, int billows, double size, double alpha,
                 int frame) {
  for (int k = billows - 1; k >= 0; --k) {
    const double t = k + 0.5 * (frame % 2);
    SmokePuff(cr, x - 14 * t, y + 5 * t, size * (0.7 + 0.25 * t), alpha * (1 - 0.09 * t));
  }
}

// Wear the fight leaves on the hull, over the paint and under the rivets' light.
void Wear(cairo_t* cr, const HullLook& look) {
  // Scorched where shots and blades landed, with bright scrapes through the rust.
  cairo_save(cr);
  HullPath(cr);
  cairo_clip(cr);
  Scorch(cr, -104, -18, 30, 19);
  Scorch(cr, -24, -30, 26, 16);
  Scorch(cr, 52, 8, 22, 12);
  Scorch(cr, 116, -26, 14, 12);
  for (const double x : {-128.0, -44.0, 30.0}) {
    StrokeSegment(cr, x, -30, x + 20, -40, 1.5, kSteel.Lighter(0.4).WithAlpha(0.8));
    StrokeSegment(cr, x + 4, -24, x + 22, -33, 1, kSteel.Lighter(0.3).WithAlpha(0.6));
  }
  cairo_restore(cr);
  Dent(cr, -62, -30, 8);
  Dent(cr, 34, 0, 7);
  Dent(cr, -120, 4, 6);
  Dent(cr, 128, -22, 5);
  // The skirt buckled at the rear: its stripes pushed in.
  cairo_move_to(cr, -150, 24);
  cairo_line_to(cr, -126, 30);
  cairo_line_to(cr, -112, 24);
  cairo_line_to(cr, -112, 44);
  cairo_line_to(cr, -152, 44);
  cairo_close_path(cr);
  SetColor(cr, kDark.WithAlpha(0.55));
  cairo_fill(cr);
  StrokeSegment(cr, -150, 24, -126, 30, 2, kRim.WithAlpha(0.6));
  StrokeSegment(cr, -126, 30, -112, 24, 2, kRim.WithAlpha(0.6));
  if (look.wear < 2) {
    SmokeStream(cr, -89, -84, 3, 8, 0.6, look.frame);  // a thin wisp from the rear stack
    return;
  }
  // A side plate torn open: the frame behind it, wiring glowing hot.
  cairo_move_to(cr, -92, -40);
  cairo_line_to(cr, -70, -48);
  cairo_line_to(cr, -60, -38);
  cairo_line_to(cr, -48, -44);
  cairo_line_to(cr, -38, -16);
  cairo_line_to(cr, -56, -8);
  cairo_line_to(cr, -66, -14);
  cairo_line_to(cr, -88, -6);
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0x140C08));
  cairo_fill_preserve(cr);
  SetColor(cr, kRust.Lighter(0.35));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  StrokeSegment(cr, -84, -34, -44, -22, 4, kSteel.Darker(0.45));  // a rib of the frame
  Glow(cr, -64, -24, 20, Color::Hex(0xFF6A18, 0.55 + 0.3 * (look.frame % 2)));
  // A severed cable hanging out of the hole, sparking where it ends.
  cairo_move_to(cr, -58, -20);
  cairo_curve_to(cr, -52, -6, -44, 2, -40, 8);
  SetColor(cr, Color::Hex(0x1A1A1A));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  Lcg rng(29u + static_cast<std::uint32_t>(look.frame) * 11u);
  Sparks(cr, rng, -40, 8, 7, 18);
  Sparks(cr, rng, look.frame % 2 == 0 ? -48 : -86, look.frame % 2 == 0 ? -44 : -38, 5, 14);
  Sparks(cr, rng, look.frame % 2 == 0 ? 130 : 112, look.frame % 2 == 0 ? -14 : -40, 4, 12);
  // The viewport cracked across.
  StrokeSegment(cr, 98, -44, 106, -36, 1.5, Color::Hex(0xFFE0D0, 0.9));
  StrokeSegment(cr, 106, -36, 102, -31, 1.5, Color::Hex(0xFFE0D0, 0.9));
  StrokeSegment(cr, 106, -36, 116, -34, 1.5, Color::Hex(0xFFE0D0, 0.9));
  // Thick smoke from both stacks and the hole.
  SmokeStream(cr, -47, -84, 4, 11, 0.9, look.frame);
  SmokeStream(cr, -89, -84, 4, 12, 0.95, look.frame);
  SmokePuff(cr, -70 - 4.0 * (look.frame % 2), -50, 12, 0.55);
}

// The hull about its centre: armour, skirt, cab, furnace, stacks, then the damage.
void Hull(cairo_t* cr, const HullLook& look) {
  cairo_save(cr);
  cairo_translate(cr, 0, look.bob);
  for (double x : {-98.0, -56.0}) {  // exhaust stacks, their mouths glowing
    RoundedRectPath(cr, x, -86, 18, 36, 3);
    FillShadedOutlined(cr, kDark.Lighter(0.3), -86, -50, 2);
    RoundedRectPath(cr, x - 2, -88, 22, 6, 2);
    FillShadedOutlined(cr, kSteel.Darker(0.2), -88, -82, 1.5);
    Glow(cr, x + 9, -86, 7, kFurnace.WithAlpha(0.5 + 0.3 * look.glow));
  }
  HullPath(cr);
  FillShadedOutlined(cr, kRust, -62, 44, 3.5);
  cairo_save(cr);
  HullPath(cr);
  cairo_clip(cr);
  // Light from behind along the top edge.
  cairo_move_to(cr, -134, -44);
  cairo_line_to(cr, -40, -56);
  cairo_line_to(cr, 96, -60);
  SetColor(cr, kRim.WithAlpha(0.7));
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  // Plate seams, a hazard-striped skirt and the rust streaks under the rivets.
  SetColor(cr, kRust.Darker(0.5));
  cairo_set_line_width(cr, 2);
  for (double x : {-70.0, 10.0, 84.0}) {
    cairo_move_to(cr, x, -62);
    cairo_line_to(cr, x - 6, 44);
  }
  cairo_stroke(cr);
  cairo_rectangle(cr, -160, 24, 320, 20);
  SetColor(cr, kHazard);
  cairo_fill(cr);
  for (int s = 0; s < 16; ++s) {
    const double x = -160 + s * 22.0;
    cairo_move_to(cr, x, 44);
    cairo_line_to(cr, x + 11, 44);
    cairo_line_to(cr, x + 23, 24);
    cairo_line_to(cr, x + 12, 24);
    cairo_close_path(cr);
  }
  SetColor(cr, kDark);
  cairo_fill(cr);
  for (int r = 0; r < 10; ++r) {
    const double x = -118 + r * 26.0;
    StrokeSegment(cr, x, -38, x + 1, -18, 3, Color::Hex(0x6A2A10, 0.5));
  }
  if (look.earth > 0) {  // earth caked up the lower hull
    cairo_move_to(cr, -160, 50);
    for (int k = 0; k <= 16; ++k) {
      cairo_line_to(cr, -160 + k * 20.0, 6 + 10 * std::sin(k * 1.9) * look.earth);
    }
    cairo_line_to(cr, 160, 50);
    cairo_close_path(cr);
    FillShadedOutlined(cr, kEarth, 0, 50, 0);
  }
  cairo_restore(cr);
  for (int r = 0; r < 9; ++r) Sphere(cr, -112 + r * 26.0, -42 + r * -0.6, 3, kSteel.Lighter(0.2));
  for (int r = 0; r < 10; ++r) Sphere(cr, -138 + r * 30.0, 16, 3, kSteel.Lighter(0.2));
  // The cab at the nose: a slit viewport lit red.
  cairo_move_to(cr, 70, -56);
  cairo_line_to(cr, 100, -58);
  cairo_line_to(cr, 136, -22);
  cairo_line_to(cr, 80, -20);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kRust.Darker(0.25), -58, -20, 2.5);
  cairo_move_to(cr, 88, -44);
  cairo_line_to(cr, 108, -45);
  cairo_line_to(cr, 120, -32);
  cairo_line_to(cr, 94, -31);
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0x180808));
  cairo_fill(cr);
  Glow(cr, 104, -38, 16, Color::Hex(0xFF3020, 0.85 * (1 - 0.6 * look.damage)));
  StrokeSegment(cr, 92, -38, 114, -38, 2, Color::Hex(0xFFC0A0, 1 - 0.6 * look.damage));
  // The furnace grille, pulsing.
  RoundedRectPath(cr, 10, -30, 66, 40, 6);
  FillShadedOutlined(cr, kDark, -30, 10, 2.5);
  Glow(cr, 43, -10, 40 * look.glow, kFurnace);
  for (int b = 0; b < 5; ++b) StrokeSegment(cr, 18 + b * 12.5, -26, 18 + b * 12.5, 6, 3, kDark);
  // Armour dents that every fight leaves.
  Dent(cr, -100, -16, 9);
  Dent(cr, -20, -34, 7);
  Dent(cr, 118, 0, 6);
  if (look.wear > 0) Wear(cr, look);

  if (look.damage > 0) {
    Lcg rng(7u + static_cast<std::uint32_t>(look.frame) * 13u);
    const int cracks = 2 + static_cast<int>(look.damage * 6);
    for (int c = 0; c < cracks; ++c) {
      double x = rng.Range(-120, 120);
      double y = rng.Range(-50, 20);
      cairo_move_to(cr, x, y);
      for (int s = 0; s < 4; ++s) {
        const double dx = rng.Range(-18, 18);
        const double dy = rng.Range(-14, 14);
        x += dx, y += dy;
        cairo_line_to(cr, x, y);
      }
      SetColor(cr, Color::Hex(0x120C08));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      Glow(cr, x, y, 10 + 12 * look.damage, Color::Hex(0xFFE070, 0.85));
    }
    for (int d = 0; d < static_cast<int>(look.damage * 5); ++d) {
      const double x = rng.Range(-120, 120);
      const double y = rng.Range(-40, 10);
      Dent(cr, x, y, rng.Range(6, 12));
    }
    if (look.damage >= 0.75) {  // a plate torn off, the frame showing through
      cairo_move_to(cr, -60, -52);
      cairo_line_to(cr, -10, -56);
      cairo_line_to(cr, -4, -20);
      cairo_line_to(cr, -54, -12);
      cairo_close_path(cr);
      FillShadedOutlined(cr, kDark.Lighter(0.05), -56, -12, 2);
      for (int g = 0; g < 3; ++g)
        StrokeSegment(cr, -52 + g * 16.0, -50, -48 + g * 16.0, -16, 3, kSteel.Darker(0.4));
      Glow(cr, -30, -32, 22, Color::Hex(0xFF7020, 0.8));
    }
    const int sparkSets = 1 + static_cast<int>(look.damage * 3);
    for (int s = 0; s < sparkSets; ++s) {
      const double x = rng.Range(-110, 110);
      const double y = rng.Range(-40, 0);
      Sparks(cr, rng, x, y, 6, 22);
    }
    // Smoke from the stacks and the seams, thicker as it breaks.
    Smoke(cr, rng, -89, -64, 1 + static_cast<int>(look.damage * 2), 9 + 4 * look.damage);
    Smoke(cr, rng, -47, -64, 1 + static_cast<int>(look.damage * 2), 9 + 4 * look.damage);
  }
  cairo_restore(cr);
}

// Earth thrown up where the body bites into the ground: clods and a dust bank.
void Spray(cairo_t* cr, int frame) {
  Lcg rng(91u + static_cast<std::uint32_t>(frame) * 17u);
  for (int c = 0; c < 14; ++c) {
    const double x = rng.Range(-150, 150);
    const double y = rng.Range(66, 78);
    Glow(cr, x, y, rng.Range(8, 14), kEarth.Lighter(0.2).WithAlpha(0.8));
  }
  for (int c = 0; c < 12; ++c) {
    const double x = rng.Range(100, 148);
    const double y = rng.Range(-80, 40);
    const double r = rng.Range(3, 7);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    FillShadedOutlined(cr, kEarth, y - r, y + r, 1);
  }
}

void PaintBody(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string name = p.anim.name;
  const bool dive = name.find("dive") != std::string::npos;
  const bool buried = name.find("buried") != std::string::npos;
  const double crack = p.Num("crack", 0.0);
  HullLook look;
  look.frame = p.index;
  look.glow = 0.75 + 0.25 * (p.index % 2);
  look.bob = dive ? (p.index % 2 == 0 ? -2 : 1) : (p.index % 2 == 0 ? 0 : 1.5);
  look.earth = buried ? 1 : dive ? 0.5 : 0;
  look.wear = static_cast<int>(p.Num("wear", 0.0));
  // A wrecked furnace burns unevenly.
  if (look.wear >= 2) look.glow = p.index % 2 == 0 ? 0.95 : 0.55;
  // The death frames break it down in stages: cracks and sparks, then smoke, then fire.
  if (crack > 0) {
    look.damage = std::min(1.0, crack * 0.5 * (1 + p.index));
    look.glow = 1 - 0.2 * p.index;
  }
  // Patrol links advance half a pitch a frame, digging ones blur.
  Treads(cr, buried ? 0 : 6.0 * p.index, dive);
  Hull(cr, look);
  if (dive) Spray(cr, p.index);
}

void PaintDrill(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double bent = p.Num("bent", 0.0);
  const double tipY = bent * 34;
  RoundedRectPath(cr, -4, -26, 20, 52, 5);  // rusty collar
  FillShadedOutlined(cr, kRust.Darker(0.2), -26, 26, 2.5);
  Sphere(cr, 6, -16, 3, kSteel.Lighter(0.2));
  Sphere(cr, 6, 16, 3, kSteel.Lighter(0.2));
  auto cone = [&] {
    cairo_move_to(cr, 14, -25);
    cairo_line_to(cr, 112, tipY);
    cairo_line_to(cr, 14, 25);
    cairo_close_path(cr);
  };
  cone();
  FillShadedOutlined(cr, kSteel, -25, 25, 2.5);
  // The flutes wind round the cone; each frame turns them a third of their spacing.
  cairo_save(cr);
  cone();
  cairo_clip(cr);
  constexpr double kSpacing = 18;
  const double turn = bent > 0 ? 0 : p.index * kSpacing / 3;
  for (int f = -1; f < 7; ++f) {
    const double x = 14 + f * kSpacing + turn;
    const double h0 = 25 * (1 - (x - 14) / 98);
    const double h1 = 25 * (1 - (x + 12 - 14) / 98);
    cairo_move_to(cr, x, -h0 + tipY * (x - 14) / 98);
    cairo_curve_to(cr, x + 8, -h0 * 0.3, x + 4, h1 * 0.3, x + 12, h1 + tipY * (x - 2) / 98);
    SetColor(cr, kDark);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    SetColor(cr, kSteel.Lighter(0.5));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  // A steady highlight band: the light stays put while the flutes turn under it.
  cairo_move_to(cr, 16, -14);
  cairo_line_to(cr, 106, tipY - 2);
  SetColor(cr, Color::Hex(0xFFFFFF, 0.35));
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_restore(cr);
  if (bent > 0) {  // broken off: cracks and a wisp of smoke
    StrokeSegment(cr, 40, -16, 56, 2, 3, Color::Hex(0x181010));
    StrokeSegment(cr, 56, 2, 48, 14, 3, Color::Hex(0x181010));
    Glow(cr, 10, -12, 14, Color{0.25, 0.23, 0.22, 0.6});
  } else {
    // Sparks where the tip grinds, on alternate sides frame by frame.
    Lcg rng(5u + static_cast<std::uint32_t>(p.index));
    cairo_set_line_width(cr, 1.5);
    for (int s = 0; s < 5; ++s) {
      const double a = rng.Range(-2.4, 2.4);
      const double len = rng.Range(4, 9);
      cairo_move_to(cr, 110, 0);
      cairo_line_to(cr, 110 + len * std::cos(a) * 0.5, len * std::sin(a) * 1.6);
    }
    SetColor(cr, Color::Hex(0xFFE890));
    cairo_stroke(cr);
  }
}

void PaintArm(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double droop = p.Num("droop", 0.0);
  const P2 elbow{70, -20 + droop * 40};
  const P2 wrist{124, 8 + droop * 22};
  // The hydraulic ram under the boom, then the boom, forearm and joints.
  StrokeSegment(cr, 14, 12, (elbow.x + wrist.x) / 2 - 10, (elbow.y + wrist.y) / 2 + 8, 7,
                kSteel.Lighter(0.3), CAIRO_LINE_CAP_ROUND);
  StrokeSegment(cr, 14, 12, 44, (12 + elbow.y) / 2 + 10, 10, kDark.Lighter(0.3),
                CAIRO_LINE_CAP_ROUND);
  Limb(cr, 0, 0, elbow.x, elbow.y, 22, kRust);
  Limb(cr, elbow.x, elbow.y, wrist.x, wrist.y, 16, kSteel);
  // Hazard bands on the boom.
  for (int b = 0; b < 3; ++b) {
    const double t = 0.3 + b * 0.18;
    const P2 c{elbow.x * t, elbow.y * t};
    StrokeSegment(cr, c.x - 3, c.y - 8, c.x + 1, c.y + 8, 5, b % 2 ? kDark : kHazard);
  }
  Sphere(cr, 0, 0, 14, kDark.Lighter(0.3));
  Sphere(cr, elbow.x, elbow.y, 11, kDark.Lighter(0.3));
  for (double a : {-40.0, 0.0, 40.0}) {  // three-fingered grabber round the held scrap
    const double r = Radians(a + droop * 25);
    const P2 knuckle{wrist.x + 12 * std::cos(r), wrist.y + 12 * std::sin(r)};
    Limb(cr, wrist.x, wrist.y, knuckle.x, knuckle.y, 6, kSteel.Lighter(0.2));
    Limb(cr, knuckle.x, knuckle.y, knuckle.x + 8 * std::cos(r + 0.9),
         knuckle.y + 8 * std::sin(r + 0.9), 4, kSteel.Lighter(0.2));
  }
  Sphere(cr, wrist.x, wrist.y, 7, kGold.Darker(0.2));
  if (droop > 0) {  // torn hoses and sparks at the broken elbow
    StrokeSegment(cr, elbow.x, elbow.y, elbow.x + 10, elbow.y + 22, 3, Color::Hex(0x202020),
                  CAIRO_LINE_CAP_ROUND);
    Lcg rng(17u);
    Sparks(cr, rng, elbow.x + 4, elbow.y + 4, 5, 16);
  }
}

// A mound of churned earth where the body broke through: upturned slabs of the ground's
// crust, scrap in the dirt and the dark mouth of the tunnel. Its ground line is y = 86, the
// floor under the body's centre.
void PaintBurrow(const FramePaint& p) {
  cairo_t* cr = p.cr;
  constexpr double kGround = 86;
  cairo_move_to(cr, -122, kGround);
  cairo_curve_to(cr, -96, kGround - 40, -60, kGround - 72, -6, kGround - 74);
  cairo_curve_to(cr, 50, kGround - 74, 92, kGround - 44, 122, kGround);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kEarth, kGround - 74, kGround, 3);
  // The tunnel's mouth, dark, with a rim of loose earth.
  cairo_save(cr);
  cairo_translate(cr, 0, kGround - 20);
  cairo_scale(cr, 46, 22);
  cairo_arc(cr, 0, 0, 1, kPi, 2 * kPi);
  cairo_restore(cr);
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0x140E0A));
  cairo_fill(cr);
  // Slabs of the ground's crust, tipped up round the hole.
  Lcg rng(3);
  for (int s = 0; s < 6; ++s) {
    const double side = s % 2 == 0 ? -1 : 1;
    const double x = side * rng.Range(44, 96);
    const double w = rng.Range(18, 30);
    const double tilt = side * rng.Range(20, 50);
    cairo_save(cr);
    cairo_translate(cr, x, kGround - rng.Range(4, 26));
    cairo_rotate(cr, Radians(tilt));
    RoundedRectPath(cr, -w / 2, -5, w, 10, 2);
    FillShadedOutlined(cr, Color::Hex(0x7C6A58), -5, 5, 1.5);
    StrokeSegment(cr, -w / 2, -4, w / 2, -4, 2, Color::Hex(0xB8A890));
    cairo_restore(cr);
  }
  for (int i = 0; i < 9; ++i) {
    const double rh = rng.Range(6, 11);
    const double rw = rng.Range(10, 20);
    const double y = rng.Range(kGround - 62, kGround - 26);
    const double x = rng.Range(-86, 70);
    RoundedRectPath(cr, x, y, rw, rh, 2);
    FillShadedOutlined(cr, (i % 3 == 0 ? kRust : kSteel).Darker(0.3), y, y + rh, 1.5);
  }
  // Clods and a haze of dust over the top.
  for (int c = 0; c < 10; ++c) {
    const double x = rng.Range(-100, 100);
    const double y = rng.Range(kGround - 70, kGround - 6);
    cairo_arc(cr, x, y, 3.5, 0, 2 * kPi);
    FillShadedOutlined(cr, kEarth.Lighter(0.1), y - 3, y + 3, 1);
  }
}

void PaintScrap(const FramePaint& p) {
  cairo_t* cr = p.cr;
  switch (static_cast<int>(p.Num("look", p.index))) {
    case 0:
      for (int t = 0; t < 8; ++t)
        Limb(cr, 0, 0, 13 * std::cos(t * 0.785), 13 * std::sin(t * 0.785), 6, kSteel);
      Sphere(cr, 0, 0, 10, kSteel);
      break;
    case 1:
      Limb(cr, -12, 10, 0, 10, 9, kRust);
      Limb(cr, 0, 10, 8, -12, 9, kRust);
      break;
    case 2:
      RoundedRectPath(cr, -10, -14, 20, 28, 3);
      FillShadedOutlined(cr, Color::Hex(0xB9C2C8), -14, 14, 2);
      break;
    case 3:
      SetColor(cr, kSteel.Lighter(0.3));
      cairo_set_line_width(cr, 4);
      for (int i = 0; i < 5; ++i) {
        cairo_move_to(cr, -12, -14 + i * 6);
        cairo_line_to(cr, 12, -10 + i * 6);
      }
      cairo_stroke(cr);
      break;
    case 4:
      cairo_move_to(cr, -16, -10);
      cairo_line_to(cr, 14, -14);
      cairo_line_to(cr, 16, 10);
      cairo_line_to(cr, -12, 14);
      cairo_close_path(cr);
      FillShadedOutlined(cr, kSteel.Darker(0.1), -14, 14, 2);
      break;
    case 5:
      cairo_new_path(cr);
      for (int i = 0; i < 6; ++i)
        cairo_line_to(cr, 15 * std::cos(i * 1.047), 15 * std::sin(i * 1.047));
      cairo_close_path(cr);
      FillShadedOutlined(cr, kGold.Darker(0.3), -15, 15, 2);
      Sphere(cr, 0, 0, 5, kDark);
      break;
    default:
      RoundedRectPath(cr, -16, -12, 32, 24, 2);
      FillShadedOutlined(cr, Color::Hex(0x2E8B3A), -12, 12, 2);
      Glow(cr, 4, 0, 6, kFurnace);
      break;
  }
}

}  // namespace

void PaintGrindlenaut(const FramePaint& p) {
  const std::string part = p.Text("part", "body");
  if (part == "body") {
    PaintBody(p);
  } else if (part == "drill") {
    PaintDrill(p);
  } else if (part == "arm") {
    PaintArm(p);
  } else if (part == "burrow") {
    PaintBurrow(p);
  } else {  // scrap, one look per animation
    PaintScrap(p);
  }
}

}  // namespace assetgen
