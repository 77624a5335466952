// The airship boss Kaje: a tall commander in gunmetal armour with crimson plates and gold
// trim, a one-slit visor, a heavy arm cannon with a blade under its barrel and a crimson
// cape. One skeleton (hips, torso, head, two two-joint legs, two arms) is posed per frame
// and the cape follows the motion, so every state reads as the same figure. Origin at the
// feet, art facing right; the cannon's muzzle sits on the frame's launch point.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

const Color kArmour = Color::Hex(0x343848);
const Color kCrimson = Color::Hex(0xD01A34);
const Color kGold = Color::Hex(0xF0B848);
const Color kVisor = Color::Hex(0xC070FF);
const Color kRimLight = Color::Hex(0xFFE2B0);
const Color kCapeLining = Color::Hex(0x5A0A1A);

constexpr double kThigh = 40, kShin = 40, kUpperArm = 30, kForearm = 30, kBarrel = 26;
// The cell reaches 80 px behind the origin: a trailing cape stays a few px inside.
constexpr double kBackLimit = -74;

enum class Cape { kHang, kFlow, kStream, kBillow };

struct KajePose {
  P2 hip{0, -86};
  double lean = 0;  // degrees of the torso forward
  double headTilt = 0;
  P2 nearFoot{8, 0}, farFoot{-8, 0};
  double nearToe = 0, farToe = 0;  // degrees the foot tips down at the toe (in the air)
  P2 muzzle{48, -70};
  double aim = 20;  // degrees of the barrel below the horizontal
  P2 freeHand{-14, -84};
  double handGlow = 0;
  Cape cape = Cape::kHang;
  double capeAngle = 12;  // degrees the cape trails back from hanging straight down
  double capePhase = 0;
  double capeLength = 112;
  double slash = -1;  // the blade's energy arc: its end angle, or below 0 for none
  double flash = 0;   // muzzle flash
  bool dashing = false;
};

P2 Rotate(P2 v, double degrees) {
  const double a = Radians(degrees);
  return {v.x * std::cos(a) - v.y * std::sin(a), v.x * std::sin(a) + v.y * std::cos(a)};
}

// A point of the torso (x forward, y up from the hip) in frame coordinates.
P2 TorsoPoint(const KajePose& k, double x, double y) {
  const P2 r = Rotate({x, y}, k.lean);
  return {k.hip.x + r.x, k.hip.y + r.y};
}

KajePose PoseFor(const std::string& pose, int i) {
  KajePose k;
  if (pose == "stand") {
    // Frame 0 stands guard; frame 1 breathes out and gathers violet power in the free hand,
    // the gesture that calls the tigers in.
    const bool gather = i % 2 == 1;
    k.hip = {0, gather ? -85.0 : -86.0};
    k.freeHand = gather ? P2{18, -142} : P2{-16, -84};
    k.handGlow = gather ? 1 : 0;
    k.headTilt = gather ? -4 : 2;
    k.capeAngle = gather ? 8 : 12;
    k.capePhase = gather ? 1.2 : 0;
  } else if (pose == "walk") {
    const double ph = 2 * kPi * i / 6.0;
    auto foot = [&](double offset) {
      const double a = ph + offset;
      return P2{22 * std::cos(a), -std::max(0.0, std::sin(a)) * 14};
    };
    k.nearFoot = foot(0), k.farFoot = foot(kPi);
    k.nearToe = k.nearFoot.y < -2 ? 12 : 0, k.farToe = k.farFoot.y < -2 ? 12 : 0;
    k.hip = {2, -85 - 3 * std::fabs(std::cos(ph))};
    k.lean = 5;
    k.muzzle = {48, -70};
    k.aim = 18 + 4 * std::sin(ph);
    k.freeHand = {-10 - 14 * std::cos(ph), -82};
    k.cape = Cape::kFlow;
    k.capeAngle = 28;
    k.capePhase = ph;
  } else if (pose == "swipe") {
    // Wind-up over the shoulder, the slash with its arc, the follow-through.
    k.cape = Cape::kFlow;
    if (i == 0) {
      k.lean = -6, k.hip = {-4, -84};
      k.muzzle = {-18, -160}, k.aim = -120;
      k.nearFoot = {16, 0}, k.farFoot = {-20, 0};
      k.freeHand = {24, -100};
      k.capeAngle = 18, k.capePhase = 0.6;
    } else if (i == 1) {
      k.lean = 14, k.hip = {6, -80};
      k.muzzle = {70, -112}, k.aim = 8;
      k.nearFoot = {30, 0}, k.farFoot = {-26, 0};
      k.freeHand = {-32, -96};
      k.slash = 1;
      k.capeAngle = 40, k.capePhase = 2.2;
    } else {
      k.lean = 18, k.hip = {8, -78};
      k.muzzle = {58, -46}, k.aim = 60;
      k.nearFoot = {30, 0}, k.farFoot = {-26, 0};
      k.freeHand = {-34, -90};
      k.capeAngle = 34, k.capePhase = 3.4;
    }
  } else if (pose == "fire") {
    // Raise, aim, fire: the barrel follows the launch point of each frame.
    k.nearFoot = {18, 0}, k.farFoot = {-18, 0};
    k.capeAngle = 16;
    if (i == 0) {
      k.muzzle = {42, -138}, k.aim = -50, k.lean = -4, k.headTilt = -10;
      k.freeHand = {-18, -90};
    } else {
      k.muzzle = {72, -98}, k.aim = 0, k.lean = i == 2 ? -6 : 2;
      k.hip = {i == 2 ? -2.0 : 0.0, -86};
      k.freeHand = {30, -104};  // steadying the cannon
      k.flash = i == 2 ? 1 : 0;
      k.capeAngle = i == 2 ? 24 : 16, k.capePhase = i * 0.9;
    }
  } else if (pose == "dash") {
    k.hip = {6, -70}, k.lean = 24, k.headTilt = -18;
    k.nearFoot = {36, 0}, k.farFoot = {-40, -8}, k.farToe = 30;
    k.muzzle = {48, -70}, k.aim = 10;
    k.freeHand = {-40, -86};
    k.cape = Cape::kStream, k.capeAngle = 74, k.capePhase = 0.5, k.capeLength = 92;
    k.dashing = true;
  } else if (pose == "leap") {
    k.hip = {0, -88}, k.lean = 10, k.headTilt = -8;
    k.nearFoot = {22, -30}, k.farFoot = {-20, -20}, k.nearToe = 30, k.farToe = 40;
    k.muzzle = {48, -70}, k.aim = 24;
    k.freeHand = {-34, -136};
    k.cape = Cape::kBillow, k.capeAngle = 46, k.capePhase = 1.4, k.capeLength = 96;
  }
  return k;
}

// Light from behind on a plate: a bright crescent on its upper back edge, inside the plate.
void RimLit(cairo_t* cr, const std::function<void()>& path, const Color& base, double top,
            double bottom) {
  path();
  FillShadedOutlined(cr, base, top, bottom, 2.0);
  cairo_save(cr);
  path();
  cairo_clip(cr);
  cairo_push_group(cr);
  path();
  SetColor(cr, kRimLight.WithAlpha(0.85));
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_translate(cr, 2.5, 2.5);
  path();
  cairo_fill(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  cairo_restore(cr);
}

// The cape hangs from the shoulders' back; its hem waves with the phase. A cape that would
// leave the cell behind is drawn shorter along the back.
void DrawCape(cairo_t* cr, const KajePose& k) {
  const P2 top = TorsoPoint(k, -12, -50);
  const double sweep = Radians(k.capeAngle);
  const P2 down{-std::sin(sweep), std::cos(sweep)};
  const P2 across{down.y, -down.x};  // towards the back's far side, away from the body
  const double wave = k.cape == Cape::kHang ? 2 : k.cape == Cape::kFlow ? 6 : 9;
  const double flare = k.cape == Cape::kBillow ? 34 : k.cape == Cape::kStream ? 18 : 24;
  std::vector<P2> back, front;
  constexpr int kSteps = 8;
  for (int s = 0; s <= kSteps; ++s) {
    const double t = s / double(kSteps);
    const double bend = wave * std::sin(k.capePhase + t * kPi * 1.4) * t;
    // Billowing and streaming capes belly out behind the body.
    const double belly = (k.cape == Cape::kBillow   ? -18
                          : k.cape == Cape::kStream ? 8
                                                    : 0) *
                         std::sin(t * kPi);
    const P2 c{top.x + down.x * k.capeLength * t + across.x * (bend + belly),
               top.y + down.y * k.capeLength * t + across.y * (bend + belly)};
    const double w = 8 + flare * t;
    back.push_back({c.x - across.x * w, c.y - across.y * w});
    front.push_back({c.x + across.x * w * 0.6, c.y + across.y * w * 0.6});
  }
  double minX = top.x, maxY = -1e9;
  for (const P2& v : back) minX = std::min(minX, v.x), maxY = std::max(maxY, v.y);
  for (const P2& v : front) minX = std::min(minX, v.x), maxY = std::max(maxY, v.y);
  const double squeeze = minX < kBackLimit ? (kBackLimit - top.x) / (minX - top.x) : 1.0;
  const double lift = maxY > -2 ? maxY + 2 : 0;  // the hem never drags on the floor
  auto fit = [&](P2 v) {
    return P2{top.x + (v.x - top.x) * squeeze, v.y - lift * (v.y - top.y) / (maxY - top.y)};
  };
  auto path = [&] {
    P2 v = fit(back[0]);
    cairo_move_to(cr, v.x, v.y);
    for (const P2& b : back) v = fit(b), cairo_line_to(cr, v.x, v.y);
    // The hem, in three scallops from the back corner to the front one.
    const P2 a = fit(back.back()), b = fit(front.back());
    for (int h = 1; h <= 3; ++h) {
      const double t0 = (h - 1) / 3.0, t1 = h / 3.0;
      const double mx = a.x + (b.x - a.x) * (t0 + t1) / 2, my = a.y + (b.y - a.y) * (t0 + t1) / 2;
      cairo_curve_to(cr, mx + down.x * 6, my + down.y * 6, mx + down.x * 6, my + down.y * 6,
                     a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1);
    }
    for (int s = kSteps; s >= 0; --s) v = fit(front[s]), cairo_line_to(cr, v.x, v.y);
    cairo_close_path(cr);
  };
  // The dark lining shows where the cape turns, then the crimson outside with its folds.
  cairo_save(cr);
  cairo_translate(cr, 3, 2);
  path();
  SetColor(cr, kCapeLining);
  cairo_fill(cr);
  cairo_restore(cr);
  RimLit(cr, path, kCrimson.Darker(0.1), top.y, top.y + k.capeLength);
  cairo_save(cr);
  path();
  cairo_clip(cr);
  cairo_set_line_width(cr, 2.5);
  for (int f = 1; f <= 3; ++f) {
    const double t = f / 4.0;
    const P2 a = fit({top.x - across.x * 4 * t, top.y - across.y * 4 * t});
    const P2 b = fit({back.back().x + (front.back().x - back.back().x) * t,
                      back.back().y + (front.back().y - back.back().y) * t});
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
  }
  SetColor(cr, kCrimson.Darker(0.5).WithAlpha(0.7));
  cairo_stroke(cr);
  cairo_restore(cr);
}

void DrawLeg(cairo_t* cr, const KajePose& k, bool nearSide) {
  const P2 root = TorsoPoint(k, nearSide ? 6 : -6, 0);
  const P2 foot = nearSide ? k.nearFoot : k.farFoot;
  const double toe = nearSide ? k.nearToe : k.farToe;
  const Color plate = nearSide ? kArmour : kArmour.Darker(0.35);
  const P2 ankle{foot.x - 2, foot.y - 8};
  const P2 knee = TwoBoneJoint(root, ankle, kThigh, kShin, true);
  Limb(cr, root.x, root.y, knee.x, knee.y, 18, plate.Lighter(0.05));
  Limb(cr, knee.x, knee.y, ankle.x, ankle.y, 15, plate);
  // Greave plate down the shin and a crimson knee guard.
  const P2 mid{(knee.x + ankle.x) / 2, (knee.y + ankle.y) / 2};
  Limb(cr, knee.x, knee.y, mid.x, mid.y, 9, nearSide ? kCrimson : kCrimson.Darker(0.4));
  Sphere(cr, knee.x, knee.y, 7, nearSide ? kGold : kGold.Darker(0.4));
  // The boot, tipped at the toe when in the air.
  cairo_save(cr);
  cairo_translate(cr, ankle.x, ankle.y);
  cairo_rotate(cr, Radians(toe));
  auto boot = [&] {
    cairo_move_to(cr, -9, -5);
    cairo_line_to(cr, 6, -5);
    cairo_line_to(cr, 18, 3);
    cairo_line_to(cr, 18, 7);
    cairo_line_to(cr, -9, 7);
    cairo_close_path(cr);
  };
  RimLit(cr, boot, plate.Lighter(0.1), -5, 7);
  cairo_restore(cr);
}

// The free arm, with an open gauntlet; it glows violet while it gathers power.
void DrawFreeArm(cairo_t* cr, const KajePose& k, bool nearSide) {
  const P2 shoulder = TorsoPoint(k, -6, -46);
  const P2 elbow = TwoBoneJoint(shoulder, k.freeHand, kUpperArm, kForearm, !nearSide);
  const Color plate = nearSide ? kArmour.Lighter(0.05) : kArmour.Darker(0.3);
  Limb(cr, shoulder.x, shoulder.y, elbow.x, elbow.y, 14, plate);
  Limb(cr, elbow.x, elbow.y, k.freeHand.x, k.freeHand.y, 13, plate);
  Sphere(cr, k.freeHand.x, k.freeHand.y, 7, kCrimson.Darker(0.2));
}

// Violet power gathered over the raised hand, in front of everything.
void DrawHandGlow(cairo_t* cr, const KajePose& k) {
  if (k.handGlow <= 0) return;
  Glow(cr, k.freeHand.x, k.freeHand.y - 6, 16 * k.handGlow, kVisor.WithAlpha(0.85));
  Glow(cr, k.freeHand.x, k.freeHand.y - 6, 6, Color::Hex(0xF8ECFF));
}

void DrawTorso(cairo_t* cr, const KajePose& k) {
  cairo_save(cr);
  cairo_translate(cr, k.hip.x, k.hip.y);
  cairo_rotate(cr, Radians(k.lean));
  // Hips and tassets, the chest flaring to broad shoulders, the crimson breastplate.
  auto chest = [&] {
    cairo_move_to(cr, -14, 4);
    cairo_line_to(cr, 14, 4);
    cairo_line_to(cr, 18, -26);
    cairo_curve_to(cr, 24, -36, 24, -46, 16, -54);
    cairo_line_to(cr, -18, -54);
    cairo_curve_to(cr, -24, -44, -22, -34, -18, -26);
    cairo_close_path(cr);
  };
  RimLit(cr, chest, kArmour.Lighter(0.08), -54, 4);
  auto plate = [&] {
    cairo_move_to(cr, -8, -50);
    cairo_line_to(cr, 18, -50);
    cairo_curve_to(cr, 22, -40, 18, -30, 10, -24);
    cairo_line_to(cr, -2, -24);
    cairo_curve_to(cr, -8, -32, -10, -42, -8, -50);
    cairo_close_path(cr);
  };
  RimLit(cr, plate, kCrimson, -50, -24);
  // The emblem: a gold chevron on the breastplate.
  cairo_move_to(cr, 0, -44);
  cairo_line_to(cr, 6, -36);
  cairo_line_to(cr, 12, -44);
  SetColor(cr, kGold);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // The belt with a glowing buckle, and the tassets below it.
  RoundedRectPath(cr, -16, -8, 33, 9, 2);
  FillShadedOutlined(cr, kGold.Darker(0.35), -8, 1, 1.5);
  Glow(cr, 4, -3.5, 7, kVisor.WithAlpha(0.9));
  for (const double x : {-14.0, 2.0}) {
    auto tasset = [&] {
      cairo_move_to(cr, x, 1);
      cairo_line_to(cr, x + 14, 1);
      cairo_line_to(cr, x + 12, 16);
      cairo_line_to(cr, x + 2, 14);
      cairo_close_path(cr);
    };
    RimLit(cr, tasset, kArmour.Lighter(0.15), 1, 16);
  }
  cairo_restore(cr);
}

void DrawHead(cairo_t* cr, const KajePose& k) {
  const P2 neck = TorsoPoint(k, 0, -54);
  cairo_save(cr);
  cairo_translate(cr, neck.x, neck.y);
  cairo_rotate(cr, Radians(k.lean * 0.5 + k.headTilt));
  // The crest sweeps back from the brow, then the helmet, its jaw guard and the visor.
  auto crest = [&] {
    cairo_move_to(cr, 6, -22);
    cairo_curve_to(cr, -2, -28, -14, -27, -24, -19);
    cairo_line_to(cr, -8, -16);
    cairo_close_path(cr);
  };
  RimLit(cr, crest, kCrimson, -30, -16);
  auto helmet = [&] {
    cairo_move_to(cr, -10, -2);
    cairo_curve_to(cr, -14, -14, -8, -25, 4, -25);
    cairo_curve_to(cr, 14, -25, 18, -16, 16, -8);
    cairo_line_to(cr, 14, 0);
    cairo_line_to(cr, 2, 2);
    cairo_close_path(cr);
  };
  RimLit(cr, helmet, kArmour.Lighter(0.18), -25, 2);
  cairo_move_to(cr, 2, -13);
  cairo_line_to(cr, 17, -12);
  cairo_line_to(cr, 16, -8);
  cairo_line_to(cr, 2, -9);
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0x0C0812));
  cairo_fill(cr);
  Glow(cr, 11, -10.5, 11, kVisor.WithAlpha(0.85));
  StrokeSegment(cr, 4, -10.8, 16, -10.2, 2, Color::Hex(0xF0DCFF));
  // A gold brow band.
  StrokeSegment(cr, -6, -17, 14, -15, 2.5, kGold, CAIRO_LINE_CAP_ROUND);
  cairo_restore(cr);
}

// The cannon arm: the forearm carries the barrel; the muzzle sits on the launch point.
void DrawCannonArm(cairo_t* cr, const KajePose& k) {
  const P2 shoulder = TorsoPoint(k, 8, -46);
  const P2 dir{std::cos(Radians(k.aim)), std::sin(Radians(k.aim))};
  const P2 wrist{k.muzzle.x - dir.x * kBarrel, k.muzzle.y - dir.y * kBarrel};
  const P2 elbow = TwoBoneJoint(shoulder, wrist, kUpperArm, kForearm, false);
  Limb(cr, shoulder.x, shoulder.y, elbow.x, elbow.y, 16, kArmour.Lighter(0.1));
  Sphere(cr, elbow.x, elbow.y, 6, kGold);
  cairo_save(cr);
  cairo_translate(cr, elbow.x, elbow.y);
  cairo_rotate(cr, std::atan2(k.muzzle.y - elbow.y, k.muzzle.x - elbow.x));
  const double len = std::hypot(k.muzzle.x - elbow.x, k.muzzle.y - elbow.y);
  // The blade under the barrel, lit while it swings.
  cairo_move_to(cr, len * 0.45, 8);
  cairo_line_to(cr, len + 2, 7);
  cairo_line_to(cr, len * 0.5, 14);
  cairo_close_path(cr);
  FillShadedOutlined(cr, k.slash >= 0 ? Color::Hex(0xFFD0E0) : Color::Hex(0xB8C0CC), 7, 14, 1.2);
  auto housing = [&] { RoundedRectPath(cr, -4, -11, len * 0.62, 22, 6); };
  RimLit(cr, housing, kArmour.Lighter(0.2), -11, 11);
  auto barrel = [&] { RoundedRectPath(cr, len * 0.5, -6, len * 0.5, 12, 3); };
  RimLit(cr, barrel, Color::Hex(0x8A90A0), -6, 6);
  cairo_rectangle(cr, len * 0.3, -11, 6, 22);
  SetColor(cr, kCrimson);
  cairo_fill(cr);
  Glow(cr, len * 0.15, 0, 6, kVisor.WithAlpha(0.9));  // the power cell
  cairo_restore(cr);
  // The pauldron over the shoulder: crimson with a gold rim.
  cairo_save(cr);
  cairo_translate(cr, shoulder.x, shoulder.y);
  cairo_rotate(cr, Radians(k.lean));
  auto pauldron = [&] {
    cairo_move_to(cr, -14, 6);
    cairo_curve_to(cr, -16, -10, -4, -16, 8, -14);
    cairo_curve_to(cr, 16, -12, 18, -2, 14, 8);
    cairo_close_path(cr);
  };
  RimLit(cr, pauldron, kCrimson, -16, 8);
  cairo_move_to(cr, -14, 6);
  cairo_line_to(cr, 14, 8);
  SetColor(cr, kGold);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_restore(cr);
  if (k.flash > 0) {
    Glow(cr, k.muzzle.x - 1, k.muzzle.y, 5, Color::Hex(0xFFFFFF));
    Glow(cr, k.muzzle.x - 6, k.muzzle.y, 14, Color::Hex(0xE0A0FF, 0.8));
  }
}

// The energy arc of the slash, from over the head round to the front.
void DrawSlash(cairo_t* cr, const KajePose& k) {
  if (k.slash < 0) return;
  const P2 c = TorsoPoint(k, 4, -34);
  for (int band = 0; band < 3; ++band) {
    cairo_new_path(cr);
    cairo_arc(cr, c.x, c.y, 46 - band * 6, Radians(-110), Radians(10));
    SetColor(cr, Color::Hex(band == 2 ? 0xFFF4F8 : 0xFF6088, 0.35 + band * 0.25));
    cairo_set_line_width(cr, 9 - band * 3);
    cairo_stroke(cr);
  }
}

}  // namespace

// pose=stand (0 guard, 1 gathering power), walk (6-frame stride), swipe (wind-up, slash,
// follow-through), fire (raise, aim, fire), dash, leap.
void PaintKaje(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const KajePose k = PoseFor(p.Text("pose", "stand"), p.index);
  if (k.dashing) {
    SpeedLines(cr, {97u, 7, -150, 18, 3, -40, 20, Color::Hex(0xD8B0FF, 0.7), 2.5});
    Glow(cr, -44, -70, 26, kVisor.WithAlpha(0.45));
  }
  DrawFreeArm(cr, k, false);
  DrawCape(cr, k);
  DrawLeg(cr, k, false);
  DrawLeg(cr, k, true);
  DrawTorso(cr, k);
  DrawHead(cr, k);
  DrawSlash(cr, k);
  DrawCannonArm(cr, k);
  DrawHandGlow(cr, k);
}

// The shield: an energy bubble round the whole body, centred where its hit circle is. Hex
// cells grow brighter towards the rim, arcs of current cross it, the centre stays clear.
void PaintKajeShield(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const double cy = -88;
  const double r = std::min(p.Width() / 2, -p.Top() + cy) - 6;
  cairo_pattern_t* fill = cairo_pattern_create_radial(0, cy, r * 0.2, 0, cy, r);
  cairo_pattern_add_color_stop_rgba(fill, 0, 0.55, 0.85, 1, 0.06);
  cairo_pattern_add_color_stop_rgba(fill, 0.7, 0.55, 0.6, 1, 0.18);
  cairo_pattern_add_color_stop_rgba(fill, 0.93, 0.75, 0.6, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(fill, 1, 0.95, 0.9, 1, 0.9);
  cairo_arc(cr, 0, cy, r, 0, 2 * kPi);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  cairo_save(cr);
  cairo_clip(cr);
  const double h = 16;
  for (int row = -9; row <= 9; ++row) {
    for (int col = -9; col <= 9; ++col) {
      const double cx = col * h * 1.5;
      const double hy = cy + row * h * std::sqrt(3.0) + (col % 2 ? h * std::sqrt(3.0) / 2 : 0);
      const double edge = std::min(1.0, std::hypot(cx, hy - cy) / r);
      for (int v = 0; v <= 6; ++v) {
        const double a = v * kPi / 3;
        if (v == 0)
          cairo_move_to(cr, cx + h * std::cos(a), hy + h * std::sin(a));
        else
          cairo_line_to(cr, cx + h * std::cos(a), hy + h * std::sin(a));
      }
      SetColor(cr, Color::Hex(0xC8F0FF, 0.1 + 0.55 * edge * edge));
      cairo_set_line_width(cr, 1.2 + edge);
      cairo_stroke(cr);
    }
  }
  // Arcs of current, jagged, from rim to rim.
  Lcg rng(211u);
  cairo_set_line_width(cr, 2);
  for (int a = 0; a < 4; ++a) {
    double ang = rng.Range(0, 2 * kPi);
    double x = r * std::cos(ang), y = cy + r * std::sin(ang);
    cairo_move_to(cr, x, y);
    for (int s = 0; s < 6; ++s) {
      const double dx = rng.Range(-20, 20);
      const double dy = rng.Range(-20, 20);
      x = x * 0.8 + dx, y = cy + (y - cy) * 0.8 + dy;
      cairo_line_to(cr, x, y);
    }
    SetColor(cr, Color::Hex(0xF4ECFF, 0.8));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  cairo_arc(cr, 0, cy, r - 1, 0, 2 * kPi);
  SetColor(cr, Color::Hex(0xFFFFFF, 0.95));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  cairo_arc(cr, 0, cy, r - 4, Radians(200), Radians(300));
  SetColor(cr, Color::Hex(0xFFFFFF, 0.6));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

}  // namespace assetgen
