// The factory boss TigerA: a heavy robot tiger in orange armour with black stripe plates,
// a bomb mortar on its back and red eyes. One skeleton (torso, head with a hinged jaw, four
// two-joint legs, a segmented tail) is posed per frame, so every state reads as the same
// animal in motion. Origin at the feet, art facing right.
#include <algorithm>
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

const Color kHide = Color::Hex(0xF08A24);
const Color kStripe = Color::Hex(0x1E1816);
const Color kBelly = Color::Hex(0xF6DDB0);
const Color kSteel = Color::Hex(0x8C96A0);
const Color kEye = Color::Hex(0xFF3020);

// Where a leg sits on the torso (torso coordinates) and its segment lengths.
constexpr double kShoulderX = 44, kShoulderY = 10, kHipX = -46, kHipY = 6;
constexpr double kUpperFore = 34, kLowerFore = 32, kThigh = 30, kShin = 30;

struct TigerPose {
  double bodyY = -74;   // torso centre above the feet
  double pitch = 0;     // degrees, positive = nose down
  double headTilt = 0;  // degrees about the neck, positive = chin down
  double jaw = 0;       // 0 shut .. 1 wide open
  double tailLift = 0;  // degrees added to the tail's curl
  double tailWave = 0;  // degrees of the tail's S-bend
  double bodyStretch = 1;
  // Foot targets relative to the foot's resting spot under its hip (+x forward, +y down).
  P2 foreNear{0, 0}, foreFar{0, 0}, hindNear{0, 0}, hindFar{0, 0};
  double eyeGlow = 1;
  bool dead = false;
};

// A point of the torso frame in frame coordinates.
P2 BodyPoint(const TigerPose& pose, double x, double y) {
  const double a = Radians(pose.pitch);
  x *= pose.bodyStretch;
  return {x * std::cos(a) - y * std::sin(a), pose.bodyY + x * std::sin(a) + y * std::cos(a)};
}

TigerPose PoseFor(const FramePaint& p) {
  const std::string pose = p.Text("pose", "stand");
  const int i = p.index;
  TigerPose t;
  if (pose == "stand") {
    // Frame 0 roars (its sound plays as it ends): head up, jaw wide; frame 1 settles.
    const bool roar = i % 2 == 0;
    t.bodyY = roar ? -71 : -69;
    t.headTilt = roar ? -10 : 4;
    t.jaw = roar ? 1.0 : 0.1;
    t.tailLift = roar ? 14 : 0;
    t.tailWave = roar ? 10 : -6;
    t.foreNear = {4, 0}, t.foreFar = {-6, 0}, t.hindNear = {6, 0}, t.hindFar = {-4, 0};
  } else if (pose == "run") {
    // A rotary gallop: each foot sweeps back on the floor and swings forward lifted.
    const double phase = 2 * kPi * i / 6.0;
    auto foot = [&](double offset, double stride) {
      const double ph = phase + 2 * kPi * offset;
      return P2{stride * std::cos(ph), -std::max(0.0, -std::sin(ph)) * 22};
    };
    t.foreNear = foot(0.0, 26), t.foreFar = foot(0.12, 26);
    t.hindNear = foot(0.5, 24), t.hindFar = foot(0.62, 24);
    t.bodyY = -66 - 4 * std::fabs(std::sin(phase));
    t.pitch = 4 * std::sin(phase);
    t.headTilt = -3 * std::sin(phase);
    t.jaw = 0.25;
    t.tailLift = -10 + 6 * std::sin(phase);
    t.tailWave = 14 * std::cos(phase);
  } else if (pose == "dash") {
    // Low and long: frame 0 fully stretched, frame 1 gathered under the body.
    const bool reach = i % 2 == 0;
    t.bodyY = -62;
    t.bodyStretch = 1.1;
    t.pitch = reach ? -2 : 3;
    t.headTilt = 8;
    t.jaw = 0.55;
    t.tailLift = -10;
    t.tailWave = reach ? 6 : -6;
    if (reach) {
      t.foreNear = {44, -14}, t.foreFar = {36, -6}, t.hindNear = {-42, 0}, t.hindFar = {-34, -8};
    } else {
      t.foreNear = {-14, 0}, t.foreFar = {-6, -10}, t.hindNear = {26, -8}, t.hindFar = {18, 0};
    }
  } else if (pose == "jump") {
    // Leaping up to a platform: nose up, forepaws reaching, hind legs thrown back. Leaving a
    // platform it dives instead: nose down, forepaws reaching for the floor below.
    const bool down = p.anim.name.find("jumpoff") != std::string::npos;
    t.bodyY = -64;
    t.jaw = 0.9;
    if (down) {
      t.pitch = 9, t.headTilt = -6, t.tailLift = 0, t.tailWave = 12;
      t.foreNear = {22, 0}, t.foreFar = {14, -2}, t.hindNear = {16, -30}, t.hindFar = {8, -26};
    } else {
      t.pitch = -9, t.headTilt = 6, t.tailLift = -30, t.tailWave = -8;
      t.foreNear = {34, -34}, t.foreFar = {26, -28}, t.hindNear = {-40, -4}, t.hindFar = {-32, -10};
    }
  } else if (pose == "death") {
    // Slumped on its belly, legs splayed, head hanging; the eyes flicker out. The elbows
    // rest on the floor, so this cell reaches below the feet.
    t.dead = true;
    t.bodyY = -48;
    t.pitch = 4;
    t.headTilt = 26;
    t.jaw = 0.6;
    t.tailLift = -70;
    t.tailWave = 4 * (i - 1);
    t.foreNear = {46, 0}, t.foreFar = {40, 0}, t.hindNear = {6, 0}, t.hindFar = {12, 0};
    t.eyeGlow = i == 1 ? 0.35 : 0.0;
  }
  return t;
}

// A leg from its root on the torso to a foot on or above the floor. Fore legs bend at the
// elbow behind the line; hind legs bend at the knee in front, then back down a hock.
void DrawLeg(cairo_t* cr, const TigerPose& pose, bool fore, bool farSide, P2 target) {
  const P2 root = BodyPoint(pose, fore ? kShoulderX : kHipX, fore ? kShoulderY : kHipY);
  const double restX = fore ? kShoulderX * pose.bodyStretch : kHipX * pose.bodyStretch;
  const P2 paw{restX + (farSide ? -6 : 0) + target.x, -5 + target.y};
  const Color hide = farSide ? kHide.Darker(0.4) : kHide;
  const Color steel = farSide ? kSteel.Darker(0.4) : kSteel;
  if (fore) {
    const P2 wrist{paw.x - 3, paw.y - 4};
    const P2 elbow = TwoBoneJoint(root, wrist, kUpperFore, kLowerFore, false);
    Limb(cr, root.x, root.y, elbow.x, elbow.y, 16, hide);
    Limb(cr, elbow.x, elbow.y, wrist.x, wrist.y, 12, hide.Darker(0.08));
    Sphere(cr, elbow.x, elbow.y, 5.5, steel);
  } else {
    const P2 hock{paw.x - 9, paw.y - 22};
    const P2 knee = TwoBoneJoint(root, hock, kThigh, kShin, true);
    Limb(cr, root.x, root.y, knee.x, knee.y, 18, hide);
    Limb(cr, knee.x, knee.y, hock.x, hock.y, 12, hide.Darker(0.08));
    Limb(cr, hock.x, hock.y, paw.x - 3, paw.y - 3, 9, hide.Darker(0.15));
    Sphere(cr, knee.x, knee.y, 5.5, steel);
    Sphere(cr, hock.x, hock.y, 4, steel);
  }
  // Paw: a heavy armoured foot with three claws.
  RoundedRectPath(cr, paw.x - 9, paw.y - 6, 20, 9, 4);
  FillShadedOutlined(cr, farSide ? kStripe.Lighter(0.15) : kStripe.Lighter(0.3), paw.y - 6,
                     paw.y + 3, 1.5);
  for (int c = 0; c < 3; ++c) {
    const double cx = paw.x + 7 + c * 2.5, cy = paw.y - 4 + c * 2.5;
    cairo_move_to(cr, cx, cy - 1.5);
    cairo_line_to(cr, cx + 6, cy + 1);
    cairo_line_to(cr, cx, cy + 1.5);
    cairo_close_path(cr);
    SetColor(cr, Color::Hex(0xE8ECEF));
    cairo_fill(cr);
  }
}

void DrawTail(cairo_t* cr, const TigerPose& pose) {
  // Degrees on screen (180 = straight back, above 180 = upward): it hangs back from the
  // rump and curls up towards the tip.
  P2 at = BodyPoint(pose, -64, -10);
  const double angle = 165 + pose.tailLift;
  for (int k = 0; k < 8; ++k) {
    const double t = k / 7.0;
    const double bend = angle + pose.tailWave * std::sin(t * kPi * 1.5) + 100 * t;
    const double a = Radians(bend);
    const P2 next{at.x + 6 * std::cos(a), at.y + 6 * std::sin(a)};
    Limb(cr, at.x, at.y, next.x, next.y, 11 - 6 * t, k % 2 == 0 ? kHide : kStripe.Lighter(0.1));
    at = next;
  }
  // A steel barb at the tip.
  Sphere(cr, at.x, at.y, 4, kSteel.Lighter(0.2));
}

void TorsoPath(cairo_t* cr) {
  cairo_move_to(cr, -66, -14);
  cairo_curve_to(cr, -42, -38, 10, -40, 48, -28);  // the back, up to the shoulder hump
  cairo_curve_to(cr, 60, -25, 70, -14, 74, -2);    // neck and chest
  cairo_curve_to(cr, 76, 10, 70, 20, 56, 24);
  cairo_curve_to(cr, 20, 30, -20, 26, -44, 22);  // the belly
  cairo_curve_to(cr, -64, 20, -76, 8, -74, -4);  // the haunch
  cairo_close_path(cr);
}

// Torso frame: hull, belly plate, stripes, seams, haunch and shoulder armour, the mortar.
void DrawTorso(cairo_t* cr, const TigerPose& pose, int frame) {
  cairo_save(cr);
  cairo_translate(cr, 0, pose.bodyY);
  cairo_rotate(cr, Radians(pose.pitch));
  cairo_scale(cr, pose.bodyStretch, 1);

  // The bomb mortar rides behind the shoulders; drawn first so the hull covers its base.
  cairo_save(cr);
  cairo_translate(cr, -18, -27);
  cairo_rotate(cr, Radians(-35));
  RoundedRectPath(cr, -7, -18, 14, 20, 3);
  FillShadedOutlined(cr, kStripe.Lighter(0.3), -18, 2, 2);
  RoundedRectPath(cr, -9, -20, 18, 6, 2);
  FillShadedOutlined(cr, kSteel, -20, -14, 1.5);
  if (!pose.dead) Glow(cr, 0, -18, 8, Color::Hex(0xFF9A30, 0.7));
  cairo_restore(cr);

  TorsoPath(cr);
  FillShadedOutlined(cr, kHide, -38, 28, 0);
  cairo_save(cr);
  TorsoPath(cr);
  cairo_clip(cr);
  // Cream belly plate, shaded to the hull underneath.
  cairo_save(cr);
  cairo_translate(cr, 6, 26);
  cairo_scale(cr, 62, 14);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  FillShadedOutlined(cr, kBelly, 12, 30, 0);
  // Black stripe plates, wedges narrowing down the flank.
  for (int s = 0; s < 6; ++s) {
    const double x = -56 + s * 20.0;
    cairo_move_to(cr, x - 5, -42);
    cairo_line_to(cr, x + 6, -42);
    cairo_line_to(cr, x + 9, -6);
    cairo_line_to(cr, x + 3, 10);
    cairo_line_to(cr, x + 1, -8);
    cairo_close_path(cr);
    SetColor(cr, kStripe);
    cairo_fill(cr);
  }
  // Plate seams and a highlight along the spine.
  SetColor(cr, kHide.Darker(0.55).WithAlpha(0.8));
  cairo_set_line_width(cr, 1.5);
  for (double x : {-30.0, 12.0}) {
    cairo_move_to(cr, x, -40);
    cairo_curve_to(cr, x + 6, -10, x + 2, 10, x - 4, 30);
  }
  cairo_stroke(cr);
  cairo_move_to(cr, -60, -20);
  cairo_curve_to(cr, -30, -34, 10, -36, 46, -25);
  cairo_set_source_rgba(cr, 1, 0.92, 0.75, 0.55);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_restore(cr);
  TorsoPath(cr);
  SetColor(cr, kHide.Darker(0.78));
  cairo_set_line_width(cr, 3);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);

  // Haunch and shoulder armour plates over the leg roots, with rivets.
  for (const P2 c : {P2{kHipX, kHipY - 4}, P2{kShoulderX, kShoulderY - 6}}) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_scale(cr, 22, 19);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillShadedOutlined(cr, kHide.Lighter(0.08), c.y - 19, c.y + 19, 2.5);
    cairo_arc(cr, c.x, c.y, 12, Radians(200), Radians(340));
    SetColor(cr, kStripe);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    for (int r = 0; r < 3; ++r) Sphere(cr, c.x - 10 + r * 10, c.y + 10, 2.2, kSteel.Lighter(0.3));
  }
  // Rivets along the spine.
  for (int r = 0; r < 6; ++r) Sphere(cr, -48 + r * 17.0, -27 - (r > 0 && r < 5 ? 4 : 0), 2, kSteel);

  if (pose.dead) {
    // Split plates glowing from inside, with sparks; the pattern changes each frame.
    Lcg rng(41u + frame);
    cairo_set_line_width(cr, 3);
    for (int c = 0; c < 4; ++c) {
      double x = rng.Range(-60, 50), y = rng.Range(-24, 14);
      cairo_move_to(cr, x, y);
      for (int k = 0; k < 3; ++k) {
        x += rng.Range(-12, 12);
        y += rng.Range(-9, 9);
        cairo_line_to(cr, x, y);
      }
      SetColor(cr, Color::Hex(0x140C08));
      cairo_stroke(cr);
      Glow(cr, x, y, 12, Color::Hex(0xFFD060, 0.85));
    }
  }
  cairo_restore(cr);
}

void DrawHead(cairo_t* cr, const TigerPose& pose) {
  const P2 neck = BodyPoint(pose, 54, -12);
  cairo_save(cr);
  cairo_translate(cr, neck.x, neck.y);
  cairo_rotate(cr, Radians(pose.pitch + pose.headTilt));
  cairo_scale(cr, 1.08, 1.08);

  // Lower jaw, hinged under the ear: drawn first, the mouth's inside with it.
  const double open = Radians(28 * pose.jaw);
  cairo_save(cr);
  cairo_translate(cr, 10, 6);
  cairo_rotate(cr, open);
  if (pose.jaw > 0.15) {
    cairo_move_to(cr, 0, -6);
    cairo_line_to(cr, 34, -8);
    cairo_line_to(cr, 34, 2);
    cairo_line_to(cr, 0, 4);
    cairo_close_path(cr);
    SetColor(cr, Color::Hex(0x5A1010));
    cairo_fill(cr);
  }
  cairo_move_to(cr, -4, -2);
  cairo_line_to(cr, 32, -2);
  cairo_line_to(cr, 34, 4);
  cairo_line_to(cr, 24, 10);
  cairo_line_to(cr, 2, 10);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kHide.Darker(0.1), -2, 10, 2.5);
  for (double x : {26.0, 31.0}) {  // lower fangs
    cairo_move_to(cr, x - 2, -1);
    cairo_line_to(cr, x, -7);
    cairo_line_to(cr, x + 2, -1);
    cairo_close_path(cr);
    SetColor(cr, Color::Hex(0xF2F4F6));
    cairo_fill(cr);
  }
  Sphere(cr, 0, 0, 4.5, kSteel);  // the hinge bolt
  cairo_restore(cr);

  // Ears behind the skull.
  for (double ex : {2.0, 12.0}) {
    cairo_move_to(cr, ex - 6, -20);
    cairo_line_to(cr, ex - 2, -36);
    cairo_line_to(cr, ex + 7, -20);
    cairo_close_path(cr);
    FillShadedOutlined(cr, ex < 5 ? kHide.Darker(0.35) : kHide, -36, -20, 2);
  }
  // Skull: brow, muzzle and cheek in one plate.
  cairo_move_to(cr, -8, -16);
  cairo_curve_to(cr, 0, -26, 20, -28, 32, -20);
  cairo_line_to(cr, 46, -12);
  cairo_line_to(cr, 50, -2);
  cairo_line_to(cr, 46, 6);
  cairo_line_to(cr, 12, 8);
  cairo_curve_to(cr, 0, 12, -8, 6, -10, -2);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kHide.Lighter(0.05), -26, 10, 2.5);
  // Face stripes and the muzzle plate.
  for (const double sx : {6.0, 16.0}) {
    cairo_move_to(cr, sx, -24);
    cairo_line_to(cr, sx + 6, -23);
    cairo_line_to(cr, sx + 2, -12);
    cairo_close_path(cr);
    SetColor(cr, kStripe);
    cairo_fill(cr);
  }
  cairo_move_to(cr, 4, 0);
  cairo_line_to(cr, 14, -4);
  cairo_line_to(cr, 10, 4);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_move_to(cr, 30, -6);
  cairo_line_to(cr, 48, -4);
  cairo_line_to(cr, 46, 5);
  cairo_line_to(cr, 28, 6);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kBelly, -6, 6, 1.2);
  RoundedRectPath(cr, 43, -9, 8, 6, 2);  // nose
  SetColor(cr, kStripe);
  cairo_fill(cr);
  // Upper fangs.
  for (double x : {34.0, 41.0}) {
    cairo_move_to(cr, x - 2.2, 5);
    cairo_line_to(cr, x, 13);
    cairo_line_to(cr, x + 2.2, 5);
    cairo_close_path(cr);
    SetColor(cr, Color::Hex(0xF2F4F6));
    cairo_fill_preserve(cr);
    SetColor(cr, kStripe);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
  // The eye: a dark slit under a heavy brow, lit red while alive.
  cairo_move_to(cr, 20, -14);
  cairo_line_to(cr, 34, -12);
  cairo_line_to(cr, 30, -8);
  cairo_line_to(cr, 20, -9);
  cairo_close_path(cr);
  SetColor(cr, Color::Hex(0x120A08));
  cairo_fill(cr);
  if (pose.eyeGlow > 0) {
    Glow(cr, 27, -11, 11, kEye.WithAlpha(0.8 * pose.eyeGlow));
    cairo_move_to(cr, 22, -12.5);
    cairo_line_to(cr, 31, -11.5);
    SetColor(cr, Color::Hex(0xFFD0B0, pose.eyeGlow));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, 18, -16);
  cairo_line_to(cr, 36, -14);
  SetColor(cr, kStripe);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void DrawSmoke(cairo_t* cr, int frame) {
  Lcg rng(73u);
  for (int k = 0; k < 5; ++k) {
    const double x = rng.Range(-60, 50), rise = rng.Range(10, 30);
    const double y = -60 - rise * 0.6 - frame * 6, r = 8 + frame * 3 + rng.Range(0, 4);
    Glow(cr, x, y, r, Color{0.25, 0.24, 0.24, 0.55 - 0.1 * frame});
  }
}

}  // namespace

// pose=stand (0 roar, 1 settle), run (6-frame gallop), dash (0 stretched, 1 gathered),
// jump (one held leap; the jump-off animation dives), death (3 looping frames of sparks).
void PaintTigerA(const FramePaint& p) {
  cairo_t* cr = p.cr;
  const TigerPose pose = PoseFor(p);
  const std::string name = p.Text("pose", "stand");
  if (name == "dash")
    SpeedLines(cr, {59u + p.index, 8, -104, 12, 3, -84, 8, Color{1, 0.75, 0.35, 0.75}, 2.5});
  DrawLeg(cr, pose, false, true, pose.hindFar);
  DrawLeg(cr, pose, true, true, pose.foreFar);
  DrawTail(cr, pose);
  DrawTorso(cr, pose, p.index);
  DrawLeg(cr, pose, false, false, pose.hindNear);
  DrawLeg(cr, pose, true, false, pose.foreNear);
  DrawHead(cr, pose);
  if (pose.dead) DrawSmoke(cr, p.index);
}

}  // namespace assetgen
