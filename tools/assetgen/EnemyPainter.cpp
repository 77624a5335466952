// Walking enemies: the scrap rat, the Rummager and the robot tiger. Each has its own outline
// and palette so that it reads next to the white-and-red hero; all stand on the origin.
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

void Ellipse(cairo_t* cr, double x, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

void Polyline(cairo_t* cr, std::initializer_list<double> xy) {
  const double* v = xy.begin();
  cairo_move_to(cr, v[0], v[1]);
  for (size_t k = 2; k + 1 < xy.size(); k += 2) cairo_line_to(cr, v[k], v[k + 1]);
  cairo_close_path(cr);
}

// A run cycle's swing for leg `leg` at frame i of n: -1..1.
double Swing(int i, int n, double phase) {
  return std::sin(2 * kPi * (i / double(n) + phase));
}

const Color kRatPlate = Color::Hex(0xB7CCD2);
const Color kRatDark = Color::Hex(0x3E4A55);
const Color kRatTail = Color::Hex(0xE48AA0);
const Color kRatRim = Color::Hex(0xFFF3D6);
const Color kRummagerBody = Color::Hex(0xD9A227);
const Color kRust = Color::Hex(0x8E4A22);
const Color kTiger = Color::Hex(0xF07A1A);

}  // namespace

// Knee-high scrap rat in pale steel with a light rim, so it stands out on rust and on
// steel floors alike. pose=run (4 frames) or jump (frame 0 tucked, 1 stretched).
void PaintRat(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const bool jump = p.Text("pose", "run") == "jump";
  const int i = static_cast<int>(p.Num("i", p.index));
  const bool tuck = jump && i == 0, stretch = jump && i == 1;
  const double bob = jump ? 0 : (i % 2) * -2.0;
  const double len = stretch ? 23 : tuck ? 19 : 22, high = tuck ? 12 : 10.5;
  const double cy = -16.5 + bob + (tuck ? 2 : 0);
  const double hx = len - 5, hy = cy - 4;  // the head's root

  WithRim(cr, kRatRim, 2.0, [&] {
    // Segmented tail curling up behind, thinning to the tip.
    const double tailLift = stretch ? -6 : tuck ? 6 : 3 * Swing(i, 4, 0);
    for (int k = 0; k < 8; ++k) {
      const double t = k / 7.0;
      const double tx = -len + 3 - t * 11, ty = cy + 1 - t * t * (14 + tailLift) + tailLift * t;
      Sphere(cr, tx, ty, 4.0 - 2.4 * t, k % 2 == 0 ? kRatTail : kRatTail.Darker(0.3));
    }
    // Legs: far pair darker, behind the body.
    for (int leg = 0; leg < 4; ++leg) {
      const bool far = leg % 2 == 1;
      const double hip = leg < 2 ? len * 0.55 : -len * 0.55;
      const double s = jump ? 0 : Swing(i, 4, leg * 0.25 + (far ? 0.5 : 0)) * 6;
      double footX = hip + s, footY = -std::max(0.0, -s) * 0.5;
      if (tuck) footX = hip * 0.5, footY = -4;
      if (stretch) footX = hip + (leg < 2 ? 11 : -11), footY = -7;
      Limb(cr, hip, cy + 4, footX, footY - 1, 4.5, far ? kRatDark : kRatDark.Lighter(0.35));
    }
    // Body: overlapping plates, back to front.
    Ellipse(cr, -1, cy, len, high);
    FillShadedOutlined(cr, kRatPlate, cy - high, cy + high, 2);
    for (int k = 0; k < 3; ++k) {
      const double px = -len * 0.6 + k * len * 0.5;
      cairo_new_path(cr);
      cairo_arc(cr, px, cy + high * 0.6, high * 1.1, Radians(235), Radians(305));
      SetColor(cr, kRatDark.WithAlpha(0.9));
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
      Sphere(cr, px, cy - high * 0.55, 1.6, Color::Hex(0xF4F0E6));
    }
    // Head: a pointed snout.
    Polyline(cr, {hx - 5, hy - 8, hx + 5, hy - 6, hx + 17, hy + 3, hx + 14, hy + 6, hx + 4, hy + 8,
                  hx - 5, hy + 7});
    FillShadedOutlined(cr, kRatPlate.Lighter(0.12), hy - 9, hy + 9, 2);
    Sphere(cr, hx + 16, hy + 4, 2.3, Color::Hex(0x2A2420));
    // Pink ear disc.
    Sphere(cr, hx - 2, hy - 7, 4.2, Color::Hex(0xFF9CB8));
  });
  // A rust patch and the red eye glow sit inside the rim.
  Glow(cr, -len * 0.3, cy + 4, 6, kRust.WithAlpha(0.5));
  Glow(cr, hx + 7, hy - 1, 6, Color{1, 0.1, 0.05, 0.75});
  Sphere(cr, hx + 7, hy - 1, 2.5, Color::Hex(0xFF2418));
}

// Hunched rust-and-yellow scavenger with a bin body, one scoop claw and a beacon.
// pose=walk (4 frames), windup (2 frames, beacon flashing), attack (0 raised, 1 slammed).
void PaintRummager(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string pose = p.Text("pose", "walk");
  const int i = static_cast<int>(p.Num("i", p.index));
  const double bob = pose == "walk" ? (i % 2) * -2.0 : 0;
  const double lean = pose == "attack" && i == 1 ? 6 : pose == "windup" ? -3 : 0;

  // Tracked base: two wheels in a belt.
  RoundedRectPath(cr, -26, -16, 50, 16, 8);
  FillShadedOutlined(cr, Color::Hex(0x3B3B3E), -16, 0, 1.5);
  for (int k = 0; k < 3; ++k) {
    const double wx = -18 + k * 17;
    Sphere(cr, wx, -8, 5.5, Color::Hex(0x6C6C70));
    const double a = (pose == "walk" ? i : 0) * kPi / 4 + k;
    cairo_move_to(cr, wx, -8);
    cairo_line_to(cr, wx + 4 * std::cos(a), -8 + 4 * std::sin(a));
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.17);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, 0, bob);
  // Dented bin body, tilted forward like a hunched back.
  cairo_save(cr);
  cairo_translate(cr, -2, -16);
  cairo_rotate(cr, Radians(8 + lean));
  Polyline(cr, {-22, 0, -24, -30, -18, -48, 4, -52, 20, -44, 22, -20, 18, 0});
  FillShadedOutlined(cr, kRummagerBody, -52, 0, 2);
  // Hazard band and a dent.
  cairo_rectangle(cr, -23, -22, 44, 7);
  cairo_set_source_rgb(cr, 0.12, 0.1, 0.08);
  cairo_fill(cr);
  for (double sx = -20; sx < 20; sx += 9) {
    Polyline(cr, {sx, -15, sx + 4, -15, sx + 8, -22, sx + 4, -22});
    cairo_set_source_rgb(cr, 0.98, 0.8, 0.15);
    cairo_fill(cr);
  }
  Glow(cr, -10, -36, 9, kRust.WithAlpha(0.75));
  Glow(cr, 10, -8, 7, kRust.WithAlpha(0.7));
  cairo_arc(cr, 6, -34, 6, Radians(200), Radians(340));
  cairo_set_source_rgba(cr, 0.35, 0.2, 0.05, 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Visor slit with a glowing eye.
  RoundedRectPath(cr, 6, -44, 15, 7, 3);
  cairo_set_source_rgb(cr, 0.1, 0.08, 0.06);
  cairo_fill(cr);
  Glow(cr, 16, -40.5, 5, Color{1, 0.6, 0.1, 0.9});
  // Beacon on top: flashing red in the wind-up, dim amber otherwise.
  const bool lit = pose == "windup" ? i % 2 == 0 : pose == "attack";
  cairo_rectangle(cr, -9, -58, 8, 10);
  cairo_set_source_rgb(cr, 0.25, 0.25, 0.28);
  cairo_fill(cr);
  if (lit) Glow(cr, -5, -60, 16, Color{1, 0.15, 0.05, 0.8});
  Sphere(cr, -5, -59, 5, lit ? Color::Hex(0xFF3A20) : Color::Hex(0xB06A20));
  cairo_restore(cr);

  // The scoop claw on a two-part arm from the shoulder.
  const double sx = 12, sy = -52;
  double ex, ey, cx, cy, ca;  // elbow, claw, claw angle
  // Every claw position keeps the scoop and its teeth inside the frame.
  if (pose == "attack" && i == 0) {
    ex = 20, ey = -66, cx = 30, cy = -70, ca = -60;
  } else if (pose == "attack") {
    ex = 32, ey = -40, cx = 36, cy = -26, ca = 80;
  } else if (pose == "windup") {
    ex = -4, ey = -62, cx = -16, cy = -70, ca = -150;
  } else {
    ex = 26, ey = -40 + (i % 2) * 2, cx = 33, cy = -22 + (i % 2) * 2, ca = 60;
  }
  Limb(cr, sx, sy, ex, ey, 6, Color::Hex(0x8A8A90));
  Limb(cr, ex, ey, cx, cy, 5, Color::Hex(0x9A9AA2));
  Sphere(cr, ex, ey, 4, Color::Hex(0x5A5A60));
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, Radians(ca));
  // The scoop: a heavy toothed bucket.
  Polyline(cr, {-4, -9, 14, -12, 18, -4, 16, 9, -4, 9});
  FillShadedOutlined(cr, kRust.Lighter(0.25), -12, 9, 1.8);
  for (int t = 0; t < 3; ++t) {
    Polyline(cr, {16, -8 + t * 6.0, 22, -6 + t * 6.0, 16, -3 + t * 6.0});
    cairo_set_source_rgb(cr, 0.82, 0.82, 0.85);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  if (pose == "attack" && i == 1) {
    // Dust where the claw hits the floor.
    Glow(cr, 40, -14, 12, Color{0.75, 0.65, 0.5, 0.6});
  }
  cairo_restore(cr);
}

// Lean orange robot tiger with black stripe plates and green eyes.
// pose=prowl or run (4 frames), leap (frame 0 crouched, 1 stretched).
void PaintTigerE(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const std::string pose = p.Text("pose", "prowl");
  const int i = static_cast<int>(p.Num("i", p.index));
  const bool crouch = pose == "leap" && i == 0, stretch = pose == "leap" && i == 1;
  const double stride = pose == "run" ? 11 : pose == "prowl" ? 6 : 0;
  const double bob = pose == "run" ? (i % 2) * -2.5 : 0;
  const double backY = crouch ? -24 : stretch ? -40 : -36 + bob;
  const double half = stretch ? 38 : crouch ? 28 : 32;

  // Tail: a curved chain of plates.
  for (int k = 0; k < 8; ++k) {
    const double t = k / 7.0;
    const double lift = stretch ? 2 : crouch ? -10 : -14 + 3 * std::sin(i * kPi / 2);
    Sphere(cr, -half - 2 - t * 18, backY + 4 + lift * t * t, 3.4 - 1.2 * t,
           k % 2 == 0 ? kTiger : Color::Hex(0x1C1A1A));
  }
  // Legs: hind and fore pairs, far ones darker.
  for (int leg = 0; leg < 4; ++leg) {
    const bool far = leg % 2 == 1, fore = leg < 2;
    const double hipX = fore ? half * 0.62 : -half * 0.62, hipY = backY + 12;
    double kneeX, kneeY, footX, footY = 0;
    if (crouch) {
      kneeX = hipX + (fore ? 8 : -10), kneeY = -6, footX = hipX + (fore ? 4 : -2);
    } else if (stretch) {
      footX = hipX + (fore ? 22 : -22), footY = backY + 18;
      kneeX = (hipX + footX) / 2, kneeY = (hipY + footY) / 2 + 2;
    } else {
      const double s = Swing(i, 4, (fore ? 0 : 0.5) + (far ? 0.25 : 0)) * stride;
      footX = hipX + s, footY = -std::max(0.0, s) * 0.35;
      kneeX = hipX + s * 0.4 + (fore ? -2 : 3), kneeY = (hipY + footY) / 2;
    }
    const Color c = far ? kTiger.Darker(0.35) : kTiger;
    Limb(cr, hipX, hipY, kneeX, kneeY, 5, c);
    Limb(cr, kneeX, kneeY, footX, footY - 1.5, 4, c.Darker(0.1));
    Polyline(cr, {footX - 3, footY - 3, footX + 5, footY - 3, footX + 6, footY, footX - 3, footY});
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_fill(cr);
  }
  // Torso: a long tapered hull.
  const double belly = backY + 16;
  Polyline(cr, {-half, backY + 2, -half + 8, backY - 3, half - 6, backY - 4, half + 2, backY + 3,
                half - 4, belly, -half + 6, belly - 2});
  FillShadedOutlined(cr, kTiger, backY - 4, belly, 1.8);
  // Black stripe plates across the back.
  for (int k = 0; k < 5; ++k) {
    const double x = -half + 10 + k * (2 * half - 18) / 4.0;
    Polyline(cr, {x - 3, backY - 3, x + 3, backY - 3, x + 1, backY + 9, x - 4, backY + 6});
    cairo_set_source_rgb(cr, 0.08, 0.07, 0.07);
    cairo_fill(cr);
  }
  // Head: wedge with ears and a jaw.
  const double hx = half + 4, hy = backY - 4 + (crouch ? 4 : 0);
  Polyline(cr, {hx - 8, hy - 5, hx + 4, hy - 10, hx + 16, hy - 3, hx + 18, hy + 4, hx + 6, hy + 9,
                hx - 6, hy + 7});
  FillShadedOutlined(cr, kTiger.Lighter(0.1), hy - 10, hy + 9, 1.6);
  Polyline(cr, {hx - 4, hy - 7, hx - 2, hy - 15, hx + 3, hy - 9});
  FillShadedOutlined(cr, kTiger.Darker(0.2), hy - 15, hy - 7, 1.2);
  const double jaw = stretch || crouch ? 4 : 0;
  Polyline(cr, {hx + 2, hy + 6, hx + 16, hy + 4 + jaw, hx + 14, hy + 8 + jaw, hx + 2, hy + 9});
  cairo_set_source_rgb(cr, 0.15, 0.12, 0.1);
  cairo_fill(cr);
  cairo_move_to(cr, hx - 6, hy);
  cairo_line_to(cr, hx + 2, hy + 2);
  cairo_set_source_rgb(cr, 0.08, 0.07, 0.07);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Glow(cr, hx + 8, hy - 3, 7, Color{0.3, 1, 0.35, 0.8});
  Sphere(cr, hx + 8, hy - 3, 2.3, Color::Hex(0x40FF60));
}

}  // namespace assetgen
