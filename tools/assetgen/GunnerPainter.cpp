// The gunner, the chaser and the spawner: the pale, navy-striped TigerC with its brass
// shoulder cannon, the saw-fronted Shredder on treads and the Constructor's assembly pod.
// Walkers stand on the origin; the pod's origin is 70 pixels above its base.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

void Poly(cairo_t* cr, std::initializer_list<double> xy) {
  const double* v = xy.begin();
  cairo_move_to(cr, v[0], v[1]);
  for (size_t k = 2; k + 1 < xy.size(); k += 2) cairo_line_to(cr, v[k], v[k + 1]);
  cairo_close_path(cr);
}

void Fill(cairo_t* cr, const Color& c) {
  SetColor(cr, c);
  cairo_fill(cr);
}

void Line(cairo_t* cr, double ax, double ay, double bx, double by, double width, const Color& c) {
  StrokeSegment(cr, ax, ay, bx, by, width, c, CAIRO_LINE_CAP_ROUND);
}

// A burst of short bright streaks around (x, y).
void Sparks(cairo_t* cr, double x, double y, double reach, int count, std::uint32_t seed) {
  Lcg rng(seed);
  for (int k = 0; k < count; ++k) {
    const double a = rng.Range(0, 2 * kPi), r0 = rng.Range(2, reach * 0.4),
                 r1 = rng.Range(reach * 0.5, reach);
    Line(cr, x + r0 * std::cos(a), y + r0 * std::sin(a), x + r1 * std::cos(a), y + r1 * std::sin(a),
         1.6, Color::Hex(k % 2 ? 0xFFF3A0 : 0xFFB030));
  }
}

// Pale bone armour with navy stripes under a light rim: the gunner fights in front of the
// factory's dark walls and the airship's blue sky, so it is lifted clear of both in lightness
// and kept off blue in hue.
const Color kSteel = Color::Hex(0xE0C8A8);
const Color kTigerCRim = Color::Hex(0xE8F4FF, 0.9);
const Color kStripe = Color::Hex(0x34548A);
const Color kGunmetal = Color::Hex(0x55595F);
// The gunner's cannon is brass: a warm mark that no blue sky or steel wall shares.
const Color kCannon = Color::Hex(0xD0903E);
const Color kSaw = Color::Hex(0xC8242A);
const Color kPod = Color::Hex(0x7E8C74);
const Color kHazard = Color::Hex(0xF2C21B);

}  // namespace

void PaintTigerC(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string pose = p.Text("pose", "stand");
  const int i = static_cast<int>(p.Num("i", p.index));
  const double stride = pose == "walk" ? 9 : 0;
  const double backY = -40 + (pose == "walk" ? (i % 2) * -2 : 0);
  const double half = 30;

  WithRim(cr, kTigerCRim, 1.5, [&] {
    // Tail.
    for (int k = 0; k < 7; ++k) {
      const double t = k / 6.0;
      Sphere(cr, -half - 2 - t * 16, backY + 4 - 12 * t * t, 3.2 - t, k % 2 ? kStripe : kSteel);
    }
    // Legs, far ones darker.
    for (int leg = 0; leg < 4; ++leg) {
      const bool far = leg % 2 == 1, fore = leg < 2;
      const double hipX = fore ? half * 0.6 : -half * 0.6, hipY = backY + 14;
      const double s = stride * std::sin(2 * kPi * (i / 4.0 + (fore ? 0 : 0.5) + (far ? 0.25 : 0)));
      const double footX = hipX + s, footY = -std::max(0.0, s) * 0.3;
      const Color c = far ? kSteel.Darker(0.2) : kSteel;
      Limb(cr, hipX, hipY, hipX + s * 0.4 + 2, (hipY + footY) / 2, 6, c);
      Limb(cr, hipX + s * 0.4 + 2, (hipY + footY) / 2, footX, footY - 2, 5, c.Darker(0.1));
      Poly(cr, {footX - 4, footY - 4, footX + 6, footY - 4, footX + 7, footY, footX - 4, footY});
      Fill(cr, Color::Hex(0x1A2030));
    }
    // Torso with white stripes.
    const double belly = backY + 18;
    Poly(cr, {-half, backY + 2, -half + 8, backY - 4, half - 6, backY - 5, half + 2, backY + 3,
              half - 4, belly, -half + 6, belly - 2});
    FillShadedOutlined(cr, kSteel, backY - 5, belly, 1.8);
    for (int k = 0; k < 4; ++k) {
      const double x = -half + 12 + k * 13;
      Poly(cr, {x - 3, backY - 4, x + 2, backY - 4, x, backY + 10, x - 4, backY + 7});
      Fill(cr, kStripe);
    }
    // Head with a visor.
    const double hx = half + 4, hy = backY - 4;
    Poly(cr, {hx - 8, hy - 5, hx + 4, hy - 11, hx + 17, hy - 3, hx + 18, hy + 5, hx + 4, hy + 10,
              hx - 6, hy + 8});
    FillShadedOutlined(cr, kSteel.Lighter(0.15), hy - 11, hy + 10, 1.6);
    Poly(cr, {hx - 4, hy - 8, hx - 1, hy - 16, hx + 3, hy - 9});
    FillShadedOutlined(cr, kStripe, hy - 16, hy - 8, 1.2);
    Glow(cr, hx + 9, hy - 2, 6, Color{1, 0.4, 0.2, 0.8});
    Sphere(cr, hx + 9, hy - 2, 2.2, Color::Hex(0xFF6030));

    // Shoulder cannon: bobbing while standing, raised to fire.
    double angle = 0, recoil = 0;
    if (pose == "stand") angle = i == 0 ? 0 : Radians(-4);
    if (pose == "shoot") angle = Radians(i == 0 ? -10 : -4), recoil = i == 1 ? -5 : 0;
    cairo_save(cr);
    cairo_translate(cr, 2, backY - 8 + (pose == "stand" ? i : 0));
    cairo_rotate(cr, angle);
    RoundedRectPath(cr, -12 + recoil, -7, 26, 12, 4);
    FillShadedOutlined(cr, kCannon, -7, 5, 1.5);
    RoundedRectPath(cr, 12 + recoil, -4, 24, 6, 2);
    FillShadedOutlined(cr, kCannon.Darker(0.15), -4, 2, 1.2);
    if (pose == "shoot" && i == 1) {
      Glow(cr, 42, -1, 14, Color{1, 0.85, 0.3, 0.9});
      Sparks(cr, 42, -1, 14, 6, 7);
    }
    cairo_restore(cr);
    Sphere(cr, 2, backY - 8, 4, kCannon.Lighter(0.2));
  });
}

void PaintShredder(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const int i = static_cast<int>(p.Num("i", p.index));
  // Treads.
  RoundedRectPath(cr, -40, -20, 66, 20, 10);
  FillShadedOutlined(cr, Color::Hex(0x2B2D31), -20, 0, 1.6);
  for (int k = 0; k < 4; ++k) Sphere(cr, -30 + k * 15, -10, 6, kGunmetal.Darker(0.2));
  for (int k = 0; k < 11; ++k) {
    const double x = -38 + std::fmod(k * 6.0 + i * 1.5, 64.0);
    Line(cr, x, -1, x + 2, -1, 2, Color::Hex(0x8A8E95));
  }
  // Squat hull and cab.
  Poly(cr, {-42, -20, -36, -50, 10, -56, 26, -44, 28, -20});
  FillShadedOutlined(cr, kGunmetal, -56, -20, 1.8);
  RoundedRectPath(cr, -30, -68, 26, 16, 4);
  FillShadedOutlined(cr, kGunmetal.Lighter(0.15), -68, -52, 1.4);
  RoundedRectPath(cr, -24, -64, 14, 6, 2);
  Fill(cr, Color::Hex(0xFFB03A));
  for (int k = 0; k < 3; ++k) Sphere(cr, -34 + k * 24, -30, 2, kGunmetal.Lighter(0.4));
  // Saw arm and the spinning blade.
  Limb(cr, 10, -38, 24, -40, 7, kGunmetal.Darker(0.1));
  const double cx = 28, cy = -40, r = 24;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, i * kPi / 8);
  cairo_new_path(cr);
  for (int t = 0; t < 16; ++t) {
    const double a0 = t * 2 * kPi / 16, a1 = a0 + 2 * kPi / 32;
    cairo_line_to(cr, (r - 4) * std::cos(a0), (r - 4) * std::sin(a0));
    cairo_line_to(cr, r * std::cos(a1), r * std::sin(a1));
  }
  cairo_close_path(cr);
  FillShadedOutlined(cr, kSaw, -r, r, 1.4);
  cairo_arc(cr, 0, 0, 9, 0, 2 * kPi);
  Fill(cr, kSaw.Darker(0.35));
  Line(cr, -r + 8, 0, r - 8, 0, 1.2, kSaw.Lighter(0.4));
  cairo_restore(cr);
  Sphere(cr, cx, cy, 4, kGunmetal.Lighter(0.3));
  Sparks(cr, cx + 12, cy + 16, 12, 5, 31u + static_cast<std::uint32_t>(i));
}

void PaintConstructor(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string pose = p.Text("pose", "idle");
  const int i = static_cast<int>(p.Num("i", p.index));
  const double base = 70, top = -82, half = 58;
  // Doors open by this fraction.
  const double open = pose == "open" ? std::min(1.0, i / 3.0) : pose == "spawn" ? 1.0 : 0.0;

  // Foot plate and the pod.
  RoundedRectPath(cr, -half - 10, base - 10, 2 * half + 20, 10, 3);
  FillShadedOutlined(cr, kPod.Darker(0.4), base - 10, base, 1.5);
  RoundedRectPath(cr, -half, top, 2 * half, base - 10 - top, 12);
  FillShadedOutlined(cr, kPod, top, base - 10, 2.0);
  // The bay behind the doors.
  const double bayTop = top + 34, bayBottom = base - 16;
  cairo_rectangle(cr, -40, bayTop, 80, bayBottom - bayTop);
  Fill(cr, Color::Hex(0x1B1E1A));
  if (pose == "spawn") {
    Glow(cr, 0, bayBottom - 30, 26 + 4 * (i % 2), Color{0.6, 0.8, 1.0, 0.7});
    Sparks(cr, (i % 2 ? 10 : -10), bayBottom - 34 + 6 * (i % 3), 18, 8,
           101u + static_cast<std::uint32_t>(i));
  }
  // Hazard-striped doors sliding apart into the pod's walls.
  for (int side = -1; side <= 1; side += 2) {
    const double w = std::max(4.0, 40 * (1 - open));
    const double l = side < 0 ? -40 : 40 - w;
    cairo_save(cr);
    cairo_rectangle(cr, l, bayTop, w, bayBottom - bayTop);
    cairo_clip(cr);
    cairo_rectangle(cr, l, bayTop, w, bayBottom - bayTop);
    Fill(cr, kHazard);
    for (int k = -6; k < 12; ++k) {
      const double y = bayTop + k * 14;
      Poly(cr, {l - 20, y, l - 10, y, l + w + 10, y + 60, l + w, y + 60});
      Fill(cr, Color::Hex(0x202020));
    }
    cairo_restore(cr);
    cairo_rectangle(cr, l, bayTop, w, bayBottom - bayTop);
    SetColor(cr, Color::Hex(0x202020));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  // Crane arm over the roof.
  Limb(cr, -half + 12, top + 4, -half + 12, top - 8, 6, kPod.Darker(0.2));
  Limb(cr, -half + 12, top - 8, 10, top - 10, 5, kHazard.Darker(0.2));
  Line(cr, 10, top - 10, 10, top + 2, 1.5, Color::Hex(0x303030));
  // Blinking lamp.
  const bool lit = pose == "idle" ? i == 0 : true;
  if (lit) Glow(cr, half - 14, top + 14, 12, Color{1, 0.3, 0.2, 0.8});
  Sphere(cr, half - 14, top + 14, 5, lit ? Color::Hex(0xFF4A30) : Color::Hex(0x6A2A22));
}

}  // namespace assetgen
