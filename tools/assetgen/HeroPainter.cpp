// The hero: a small white-and-red robot with a cyan visor, a sword and a gun.
// Poses are joint angles in degrees measured from straight down, positive towards the way the
// hero faces (+x): 90 points forward, 180 up, -90 backward. The origin is between the feet.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kThigh = 12, kShin = 12, kUpperArm = 10, kForearm = 10;
constexpr double kBlade = 30;

struct Pose {
  double bob = 0, lean = 0;
  double thighF = 4, shinF = -2, thighB = -6, shinB = -8;
  double upperF = 15, foreF = 70, upperB = -10, foreB = 10;
  double sword = 135;        // absolute blade angle, NaN = not drawn in a hand
  bool swordInBack = false;  // the sword is held by the back arm
  bool gun = false;          // the gun is in the front hand
  double trailFrom = kNone;  // swing trail from this blade angle to the current one
  bool twoHanded = false;    // the back hand joins the front one on the hilt
  bool impact = false;       // the blade strikes the floor: a shock ring at its tip
  bool dead = false;
};

P2 Along(P2 from, double angleDeg, double length) {
  double a = Radians(angleDeg);
  return {from.x + length * std::sin(a), from.y + length * std::cos(a)};
}

const Color kArmor = Color::Hex(0xE9EDF2);
const Color kAccent = Color::Hex(0xD8343C);
const Color kJoint = Color::Hex(0x3C434D);
const Color kVisor = Color::Hex(0x0E1822);
const Color kEye = Color::Hex(0x44F0FF);

// The three swings of a combo take the sword level 0, 1 and 2 when the orbs share a colour, so
// each level is its own motion over the same sweep (the weapon polygons stay the same):
// 0 a one-handed chop, 1 a lunging cut, 2 a leaping two-handed smash into the floor.
struct SwingKey {
  double upperF, foreF, sword, trailFrom, lean, bob;
  double thighF, shinF, thighB, shinB, upperB, foreB;
};
constexpr SwingKey kSwings[3][5] = {
    {{160, 200, 210, kNone, -5, 0, 22, 6, -22, -26, -10, 10},
     {150, 140, 150, 210, 0, 0, 22, 6, -22, -26, -10, 10},
     {95, 90, 95, 150, 8, 0, 22, 6, -22, -26, -10, 10},
     {55, 45, 40, 95, 12, 0, 22, 6, -22, -26, -10, 10},
     {40, 80, 120, kNone, 4, 0, 22, 6, -22, -26, -10, 10}},
    {{200, 220, 240, kNone, -8, 0, 10, 0, -10, -14, 30, 60},
     {170, 150, 160, 240, 4, 2.5, 35, 10, -25, -30, -30, -10},
     {100, 92, 95, 160, 18, 6, 60, 0, -40, -60, -70, -50},
     {70, 55, 45, 95, 24, 6, 60, 0, -40, -60, -80, -60},
     {50, 85, 115, kNone, 12, 4, 45, 0, -30, -45, -40, -20}},
    {{-30, -60, -120, kNone, 10, 6, 60, -10, -20, -60, 0, 0},
     {140, 160, 210, 245, -4, 0, 80, -20, 30, -50, 0, 0},
     {120, 110, 110, 210, 14, 0, 30, 10, -10, -20, 0, 0},
     {60, 45, 30, 110, 26, 7, 60, -10, -30, -70, 0, 0},
     {55, 70, 60, kNone, 16, 4, 45, 0, -25, -45, 0, 0}},
};

void SwingPose(int frame, int level, Pose* pose) {
  const SwingKey& k = kSwings[std::clamp(level, 0, 2)][std::clamp(frame, 0, 4)];
  pose->upperF = k.upperF, pose->foreF = k.foreF, pose->sword = k.sword;
  pose->trailFrom = k.trailFrom, pose->lean = k.lean, pose->bob = k.bob;
  pose->thighF = k.thighF, pose->shinF = k.shinF, pose->thighB = k.thighB, pose->shinB = k.shinB;
  pose->upperB = k.upperB, pose->foreB = k.foreB;
  pose->twoHanded = level >= 2;
  pose->impact = level >= 2 && frame == 3;
}

Pose PoseFor(const FramePaint& p) {
  std::string name = p.Text("pose", "idle");
  int i = static_cast<int>(p.Num("i", 0));
  int n = static_cast<int>(p.Num("n", 1));
  double phase = 2 * kPi * i / std::max(1, n);
  Pose pose;
  if (name == "idle") {
    pose.bob = std::round(std::sin(phase) * 1.0);
    pose.upperF = 15 + 3 * std::sin(phase);
    pose.foreF = 70;
    pose.sword = 135;
  } else if (name == "run") {
    auto leg = [](double ph, double* thigh, double* shin) {
      *thigh = 34 * std::sin(ph);
      *shin = *thigh - (12 + 55 * std::max(0.0, std::cos(ph)));
    };
    leg(phase, &pose.thighF, &pose.shinF);
    leg(phase + kPi, &pose.thighB, &pose.shinB);
    pose.lean = 10;
    pose.bob = -1.5 * std::fabs(std::sin(phase));
    pose.upperF = 20 - 28 * std::sin(phase);
    pose.foreF = pose.upperF + 60;
    pose.sword = pose.foreF + 45;
    pose.upperB = 26 * std::sin(phase);
    pose.foreB = pose.upperB + 50;
  } else if (name == "swing") {
    SwingPose(i, static_cast<int>(p.Num("level", 0)), &pose);
  } else if (name == "gun") {
    pose.gun = true;
    pose.upperF = i == 0 ? 60 : 85;
    pose.foreF = i == 0 ? 75 : 90;
    pose.swordInBack = true;
    pose.upperB = -20, pose.foreB = 20, pose.sword = -140;
    pose.thighF = 14, pose.shinF = 4, pose.thighB = -14, pose.shinB = -16;
    pose.lean = i == 0 ? 0 : -4;  // the recoil leans back
  } else if (name == "stride") {
    bool dash = p.Num("dash", 0) != 0;
    pose.lean = dash ? 32 : 22;
    if (!dash) {
      pose.bob = 4;
      pose.thighF = 50, pose.shinF = -10, pose.thighB = -10, pose.shinB = -60;
      pose.upperF = -40, pose.foreF = -10, pose.sword = -60;
    } else {
      double ph = phase;
      pose.thighF = 40 * std::sin(ph), pose.shinF = pose.thighF - 40;
      pose.thighB = -40 * std::sin(ph), pose.shinB = pose.thighB - 40;
      pose.upperF = 60, pose.foreF = 74, pose.sword = 74;  // the tip stays inside the frame
    }
    pose.upperB = -50, pose.foreB = -30;
  } else if (name == "cyclone") {
    pose.bob = -4;
    pose.thighF = 70, pose.shinF = -10, pose.thighB = 40, pose.shinB = -30;
    pose.upperF = 90, pose.foreF = 90;
    pose.sword = 90 + 360.0 * i / std::max(1, n);
    pose.upperB = -90, pose.foreB = -90;
  } else if (name == "superjump") {
    pose.upperF = 150, pose.foreF = 162, pose.sword = 166;
    pose.upperB = 190, pose.foreB = 185;
    pose.thighF = 3, pose.shinF = 0, pose.thighB = -3, pose.shinB = 0;
  } else if (name == "air") {
    // Rising: knee driven up, sword arm thrust high; at the top a tuck; falling: legs
    // reaching down for the floor, arms spread for balance.
    const std::string phase = p.Text("phase", "rise");
    if (phase == "rise") {
      pose.bob = -4, pose.lean = 4;
      pose.thighF = 70 + 10 * i, pose.shinF = -10 * i, pose.thighB = -15 + 25 * i,
      pose.shinB = -25 - 5 * i;
      pose.upperF = 150 - 5 * i, pose.foreF = 160 - 5 * i, pose.sword = 145 - 5 * i;
      pose.upperB = -40, pose.foreB = -20;
    } else if (phase == "apex") {
      pose.bob = -6, pose.lean = 10;
      pose.thighF = 90, pose.shinF = -20, pose.thighB = 60, pose.shinB = -20;
      pose.upperF = 110, pose.foreF = 140, pose.sword = 150;
      pose.upperB = -60, pose.foreB = -30;
    } else {
      pose.bob = -1, pose.lean = -4;
      pose.thighF = 25 + 5 * i, pose.shinF = 10 + 6 * i, pose.thighB = -20 + 4 * i,
      pose.shinB = -10 + 4 * i;
      pose.upperF = 130 - 6 * i, pose.foreF = 110 - 8 * i, pose.sword = 120 - 6 * i;
      pose.upperB = -130 + 8 * i, pose.foreB = -150 + 10 * i;
    }
  } else if (name == "walljump") {
    pose.thighF = 60, pose.shinF = 20, pose.thighB = -10, pose.shinB = -5;
    pose.upperF = 40, pose.foreF = 100, pose.sword = kNone;
    pose.swordInBack = true, pose.upperB = -30, pose.foreB = -10, pose.sword = -30;
    pose.lean = 6;
  } else if (name == "dead") {
    pose.dead = true;
  }
  return pose;
}

void DrawSword(cairo_t* cr, P2 hand, double angle, const Color& glow, double level, bool back) {
  P2 tip = Along(hand, angle, kBlade + 2);
  P2 base = Along(hand, angle, 3);
  double a = Radians(angle);
  double nx = std::cos(a), ny = -std::sin(a);  // across the blade
  if (level > 0 || !back) {
    cairo_move_to(cr, base.x, base.y);
    cairo_line_to(cr, tip.x, tip.y);
    SetColor(cr, glow.WithAlpha(back ? 0.25 : 0.35 + 0.15 * level));
    cairo_set_line_width(cr, 5 + 2 * level);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
  }
  // Blade: wide at the guard, pointed at the tip.
  cairo_move_to(cr, base.x + nx * 1.8, base.y + ny * 1.8);
  cairo_line_to(cr, tip.x, tip.y);
  cairo_line_to(cr, base.x - nx * 1.8, base.y - ny * 1.8);
  cairo_close_path(cr);
  Color steel = Color::Hex(0xCFE3F2);
  SetColor(cr, back ? steel.Darker(0.3) : steel);
  cairo_fill_preserve(cr);
  SetColor(cr, Color::Hex(0x28323C));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, base.x, base.y);
  cairo_line_to(cr, Along(hand, angle, kBlade - 3).x, Along(hand, angle, kBlade - 3).y);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  // Guard and pommel.
  P2 g = Along(hand, angle, 2.5);
  Limb(cr, g.x + nx * 4, g.y + ny * 4, g.x - nx * 4, g.y - ny * 4, 2.2, Color::Hex(0xE0A530));
  P2 pommel = Along(hand, angle, -4);
  Sphere(cr, pommel.x, pommel.y, 1.8, Color::Hex(0xE0A530));
}

void DrawGun(cairo_t* cr, P2 hand, double angle, bool firing) {
  cairo_save(cr);
  cairo_translate(cr, hand.x, hand.y);
  cairo_rotate(cr, Radians(90 - angle));  // x axis along the forearm
  RoundedRectPath(cr, -3, -3.5, 14, 6.5, 2);
  FillShadedOutlined(cr, Color::Hex(0x4A525E), -3.5, 3, 1);
  cairo_rectangle(cr, 11, -2, 4, 3);
  FillShadedOutlined(cr, Color::Hex(0x2A2F36), -2, 1, 0.8);
  cairo_rectangle(cr, 0, -3.5, 9, 1.6);
  SetColor(cr, kAccent);
  cairo_fill(cr);
  RoundedRectPath(cr, -1, 1, 4, 6, 1);
  FillShadedOutlined(cr, Color::Hex(0x30353D), 1, 7, 0.8);
  if (firing) {
    Glow(cr, 17, -0.5, 8, Color::Hex(0xFFF0A0, 0.95));
    Glow(cr, 17, -0.5, 4, Color{1, 1, 1, 1});
  }
  cairo_restore(cr);
}

void DrawHolster(cairo_t* cr, P2 at) {
  RoundedRectPath(cr, at.x - 6, at.y - 2, 9, 8, 2);
  FillShadedOutlined(cr, Color::Hex(0x4A525E), at.y - 2, at.y + 6, 1);
}

void DrawLeg(cairo_t* cr, P2 hip, double thigh, double shin, const Color& armor) {
  P2 knee = Along(hip, thigh, kThigh);
  P2 ankle = Along(knee, shin, kShin);
  Limb(cr, hip.x, hip.y, knee.x, knee.y, 6.5, armor);
  Limb(cr, knee.x, knee.y, ankle.x, ankle.y, 6, armor);
  Sphere(cr, knee.x, knee.y, 2.6, kJoint);
  // Boot: a rounded wedge pointing forward, flat sole.
  RoundedRectPath(cr, ankle.x - 4, ankle.y - 3, 11, 5.5, 2);
  FillShadedOutlined(cr, armor.a < 1 ? kAccent : Color::Mix(kAccent, armor, 0.0), ankle.y - 3,
                     ankle.y + 2.5, 1);
}

void DrawArm(cairo_t* cr, P2 shoulder, double upper, double fore, const Color& armor, P2* hand) {
  P2 elbow = Along(shoulder, upper, kUpperArm);
  *hand = Along(elbow, fore, kForearm);
  Limb(cr, shoulder.x, shoulder.y, elbow.x, elbow.y, 5.5, armor);
  Limb(cr, elbow.x, elbow.y, hand->x, hand->y, 5, armor);
  Sphere(cr, elbow.x, elbow.y, 2.2, kJoint);
  Sphere(cr, hand->x, hand->y, 2.8, kJoint.Lighter(0.2));
}

void DrawTorso(cairo_t* cr, P2 pelvis, double lean) {
  cairo_save(cr);
  cairo_translate(cr, pelvis.x, pelvis.y);
  cairo_rotate(cr, Radians(lean));
  // Thruster pack on the back.
  RoundedRectPath(cr, -12, -19, 6, 14, 2);
  FillShadedOutlined(cr, Color::Hex(0x59616C), -19, -5, 1);
  // Hips and chest.
  RoundedRectPath(cr, -7, -4, 14, 7, 3);
  FillShadedOutlined(cr, kJoint, -4, 3, 1);
  cairo_move_to(cr, -9, -22);
  cairo_line_to(cr, 10, -22);
  cairo_line_to(cr, 8, -3);
  cairo_line_to(cr, -7, -3);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kArmor, -22, -3, 1.5);
  // Red chest band and the core light.
  cairo_rectangle(cr, -8, -9, 17, 3);
  SetColor(cr, kAccent);
  cairo_fill(cr);
  Glow(cr, 3, -15, 5, kEye.WithAlpha(0.8));
  Sphere(cr, 3, -15, 2.4, kEye);
  cairo_restore(cr);
}

void DrawHead(cairo_t* cr, P2 head, bool dead) {
  // Antenna behind the helmet.
  cairo_move_to(cr, head.x - 3, head.y - 7);
  cairo_line_to(cr, head.x - 7, head.y - 14);
  SetColor(cr, Color::Hex(0x8A939E));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Sphere(cr, head.x - 7, head.y - 14, 2.2, kAccent);
  // Helmet with a red crest.
  cairo_move_to(cr, head.x - 6, head.y - 7);
  cairo_curve_to(cr, head.x - 2, head.y - 12, head.x + 4, head.y - 11, head.x + 6, head.y - 7);
  cairo_set_line_width(cr, 3);
  SetColor(cr, kAccent);
  cairo_stroke(cr);
  cairo_arc(cr, head.x, head.y, 8, 0, 2 * kPi);
  FillShadedOutlined(cr, kArmor, head.y - 8, head.y + 8, 1.5);
  // Visor on the face side.
  RoundedRectPath(cr, head.x - 1, head.y - 3.5, 10, 7, 3);
  FillShadedOutlined(cr, kVisor, head.y - 3.5, head.y + 3.5, 1);
  if (dead) {
    for (double s : {-1.0, 1.0}) {
      cairo_move_to(cr, head.x + 2, head.y - 2 * s);
      cairo_line_to(cr, head.x + 6, head.y + 2 * s);
    }
    cairo_set_source_rgb(cr, 0.9, 0.2, 0.2);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  } else {
    Glow(cr, head.x + 5, head.y, 5, kEye.WithAlpha(0.7));
    cairo_rectangle(cr, head.x + 2, head.y - 1, 6, 2);
    SetColor(cr, kEye.Lighter(0.5));
    cairo_fill(cr);
  }
}

void DrawTrail(cairo_t* cr, P2 shoulder, double from, double to, double radius, const Color& c,
               double level) {
  // The arc swept by the blade between the previous frame and this one.
  int steps = 16;
  double inner = radius - 22;
  cairo_new_path(cr);
  for (int k = 0; k <= steps; ++k) {
    P2 q = Along(shoulder, from + (to - from) * k / steps, radius);
    k == 0 ? cairo_move_to(cr, q.x, q.y) : cairo_line_to(cr, q.x, q.y);
  }
  for (int k = steps; k >= 0; --k) {
    P2 q = Along(shoulder, from + (to - from) * k / steps, inner + 10 * (1 - double(k) / steps));
    cairo_line_to(cr, q.x, q.y);
  }
  cairo_close_path(cr);
  P2 a = Along(shoulder, from, radius), b = Along(shoulder, to, radius);
  cairo_pattern_t* g = cairo_pattern_create_linear(a.x, a.y, b.x, b.y);
  cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0.45 + 0.2 * level);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // The bright cutting edge.
  for (int k = 0; k <= steps; ++k) {
    P2 q = Along(shoulder, from + (to - from) * (0.3 + 0.7 * k / steps), radius);
    k == 0 ? cairo_move_to(cr, q.x, q.y) : cairo_line_to(cr, q.x, q.y);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_set_line_width(cr, 1.2 + 0.6 * level);
  cairo_stroke(cr);
}

void DrawJets(cairo_t* cr, int i) {
  double len = 9 + 3 * (i % 2) + 1.5 * (i % 3);  // the flames stay inside the frame
  for (double x : {-4.0, 4.0}) {
    cairo_move_to(cr, x - 3.5, 0);
    cairo_line_to(cr, x, len);
    cairo_line_to(cr, x + 3.5, 0);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, len);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.8, 1);
    cairo_pattern_add_color_stop_rgba(g, 0.4, 1, 0.6, 0.1, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.2, 0.0, 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
}

void DrawSpeedLines(cairo_t* cr, int i) {
  SpeedLines(cr, {31u + i, 7, -52, 8, 2, -18, 10, Color{1, 0.75, 0.3, 0.8}, 1.5});
}

// Wind streaks that tell rising from falling: under the feet going up, over the head coming
// down.
void DrawAirStreaks(cairo_t* cr, bool rising, int i) {
  Lcg rng(43u + i + (rising ? 0 : 7));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int k = 0; k < 5; ++k) {
    const double x = -12 + k * 6 + rng.Range(-2, 2);
    const double y0 = rising ? rng.Range(1, 3) : rng.Range(-72, -66);
    const double len = rng.Range(6, 10);
    cairo_move_to(cr, x, y0);
    cairo_line_to(cr, x, rising ? y0 + len : y0 - len);
  }
  cairo_set_source_rgba(cr, 0.85, 0.95, 1, 0.7);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

// The smash's blow on the floor: a flat shock ring with chips flying from it.
void DrawImpact(cairo_t* cr, P2 at, const Color& glow) {
  Glow(cr, at.x, at.y, 16, glow.Lighter(0.5).WithAlpha(0.9));
  cairo_save(cr);
  cairo_translate(cr, at.x, at.y);
  cairo_scale(cr, 22, 5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  Lcg rng(5u);
  for (int k = 0; k < 6; ++k) {
    const double a = Radians(rng.Range(200, 340)), r = rng.Range(8, 18);
    cairo_move_to(cr, at.x + std::cos(a) * 4, at.y + std::sin(a) * 3);
    cairo_line_to(cr, at.x + std::cos(a) * r, at.y + std::sin(a) * r);
  }
  cairo_set_source_rgba(cr, 1, 0.9, 0.6, 0.9);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

// The angle of the bone from a to b, in the pose convention (0 down, 90 forward).
double BoneAngle(P2 a, P2 b) {
  return std::atan2(b.x - a.x, b.y - a.y) * 180.0 / kPi;
}

void DrawChargeWedge(cairo_t* cr) {
  // The Stride's cutting field ahead of the hero (its weapon polygon).
  cairo_move_to(cr, 4, -58);
  cairo_curve_to(cr, 26, -54, 40, -40, 38, -30);
  cairo_curve_to(cr, 40, -18, 26, -4, 4, -2);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(14, -30, 4, 14, -30, 30);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.7, 0.2, 0.05);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.6, 0.1, 0.55);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

}  // namespace

void PaintHero(const FramePaint& p) {
  cairo_t* cr = p.cr;
  Pose pose = PoseFor(p);
  std::string pname = p.Text("pose", "idle");
  int i = static_cast<int>(p.Num("i", 0));
  Color glow = OrbColor(ColorIndex(p.Text("color", "plain")));
  if (ColorIndex(p.Text("color", "plain")) == 0) glow = Color::Hex(0x9FF4FF);
  double level = p.Num("level", 0);

  if (pose.dead) {
    // Fallen on its back: the standing figure laid along the floor.
    cairo_save(cr);
    cairo_translate(cr, 26, -6);
    cairo_rotate(cr, Radians(-88));
    P2 pelvis{0, -24};
    DrawLeg(cr, {pelvis.x - 2, pelvis.y}, -4, -8, kArmor.Darker(0.25));
    P2 hand;
    DrawArm(cr, {pelvis.x - 2, pelvis.y - 19}, -20, 0, kArmor.Darker(0.25), &hand);
    DrawTorso(cr, pelvis, 0);
    DrawLeg(cr, {pelvis.x + 2, pelvis.y}, 6, 2, kArmor);
    DrawHead(cr, {pelvis.x + 1, pelvis.y - 29}, true);
    DrawArm(cr, {pelvis.x + 1, pelvis.y - 19}, 30, 50, kArmor, &hand);
    cairo_restore(cr);
    DrawSword(cr, {-8, -3}, 100, glow, 0, true);
    return;
  }

  P2 pelvis{0, -24 + pose.bob};
  // Lean turns the torso forward about the pelvis: rotate (dx, dy) clockwise on screen.
  auto leanPoint = [&](double dx, double dy) {
    double a = Radians(pose.lean);
    return P2{pelvis.x + dx * std::cos(a) - dy * std::sin(a),
              pelvis.y + dx * std::sin(a) + dy * std::cos(a)};
  };
  P2 shoulderF = leanPoint(1, -19), shoulderB = leanPoint(-3, -19);
  P2 head = leanPoint(1, -29);
  Color back = kArmor.Darker(0.28);

  if (pname == "cyclone") {
    // A spinning blur disc behind the body.
    cairo_arc(cr, 0, -30, 44, 0, 2 * kPi);
    cairo_pattern_t* g = cairo_pattern_create_radial(0, -30, 20, 0, -30, 44);
    cairo_pattern_add_color_stop_rgba(g, 0, glow.r, glow.g, glow.b, 0.0);
    cairo_pattern_add_color_stop_rgba(g, 0.85, glow.r, glow.g, glow.b, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, glow.r, glow.g, glow.b, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  if (pname == "stride" && p.Num("dash", 0) != 0) {
    DrawSpeedLines(cr, i);
    DrawChargeWedge(cr);
  }
  if (pname == "superjump") DrawJets(cr, i);
  if (pname == "air" && p.Text("phase", "rise") != "apex")
    DrawAirStreaks(cr, p.Text("phase", "rise") == "rise", i);

  // A spinning blade passes behind the body for half of its turn.
  double turn = std::fmod(pose.sword, 360.0);
  bool swordBehind = pname == "cyclone" && turn > 180.0;
  if (swordBehind) {
    P2 hand = Along(Along(shoulderF, pose.upperF, kUpperArm), pose.foreF, kForearm);
    DrawSword(cr, hand, pose.sword, glow, level, true);
  }
  // Back side: arm, item in the back hand, leg. A two-handed grip puts the back hand just
  // below the front one on the hilt.
  if (pose.twoHanded) {
    const P2 handF = Along(Along(shoulderF, pose.upperF, kUpperArm), pose.foreF, kForearm);
    const P2 grip = Along(handF, pose.sword, -4);
    const P2 elbow = TwoBoneJoint(shoulderB, grip, kUpperArm, kForearm, false);
    pose.upperB = BoneAngle(shoulderB, elbow);
    pose.foreB = BoneAngle(elbow, grip);
  }
  P2 handB;
  DrawArm(cr, shoulderB, pose.upperB, pose.foreB, back, &handB);
  if (pose.swordInBack && !std::isnan(pose.sword)) DrawSword(cr, handB, pose.sword, glow, 0, true);
  DrawLeg(cr, {pelvis.x - 2, pelvis.y}, pose.thighB, pose.shinB, back);
  DrawTorso(cr, pelvis, pose.lean);
  if (!pose.gun) DrawHolster(cr, leanPoint(-8, -1));
  DrawLeg(cr, {pelvis.x + 2, pelvis.y}, pose.thighF, pose.shinF, kArmor);
  DrawHead(cr, head, false);

  // Front side: swing trail, arm and the item in the front hand.
  double tipRadius = 0;
  {
    P2 elbow = Along(shoulderF, pose.upperF, kUpperArm);
    P2 hand = Along(elbow, pose.foreF, kForearm);
    P2 tip = Along(hand, pose.sword, kBlade);
    tipRadius = std::hypot(tip.x - shoulderF.x, tip.y - shoulderF.y);
  }
  if (!std::isnan(pose.trailFrom))
    DrawTrail(cr, shoulderF, pose.trailFrom, pose.sword, tipRadius, glow, level);
  P2 handF;
  DrawArm(cr, shoulderF, pose.upperF, pose.foreF, kArmor, &handF);
  if (pose.impact) DrawImpact(cr, {Along(handF, pose.sword, kBlade).x, -1}, glow);
  if (pose.gun) {
    DrawGun(cr, handF, pose.foreF, i == 1);
  } else if (!pose.swordInBack && !std::isnan(pose.sword)) {
    if (!swordBehind) DrawSword(cr, handF, pose.sword, glow, level, false);
  }
  if (pname == "walljump") {
    // Sparks where the boot scrapes down the wall.
    Lcg rng(17u + i);
    for (int k = 0; k < 5; ++k) {
      // Size, then height, then place across: the order the sparks were first drawn in.
      const double size = rng.Range(1.5, 3);
      const double y = -6 + rng.Range(-3, 8);
      const double x = 15 + rng.Range(-1, 2);
      Glow(cr, x, y, size, Color::Hex(0xFFD060, 0.9));
    }
  }
}

}  // namespace assetgen
