// Front-end art: the menu backdrop, the sword and item cards of the main menu, the options
// screen's cards, panels, volume bar and gun decorations, and the pause window.
#include <cmath>
#include <string>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {
namespace {

const char* const kMenuItems[] = {"START GAME", "OPTIONS", "HIGH SCORES", "QUIT", "CREDITS", "STORY"};
const char* const kOptionNames[] = {"PLAYERS", "CONTROLS", "MUSIC", "EFFECTS", "BACK"};

const Color kSteel = Color::Hex(0x5A6B80);
const Color kGold = Color::Hex(0xF2C14E);
const Color kIce = Color::Hex(0xBFE8FF);

// A bevelled metal plate filling the frame, with a bright rim when lit.
void PlateCard(const FramePaint& p, const Color& base, bool lit) {
  cairo_t* cr = p.cr;
  double x = p.Left() + 3, y = p.Top() + 3, w = p.Width() - 6, h = p.Height() - 6;
  RoundedRectPath(cr, x, y, w, h, 9);
  FillShadedOutlined(cr, base, y, y + h, 2);
  RoundedRectPath(cr, x + 4, y + 4, w - 8, h - 8, 6);
  cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.55 : 0.15);
  cairo_set_line_width(cr, lit ? 2.0 : 1.2);
  cairo_stroke(cr);
}

void Cannon(cairo_t* cr, double x0, double y0, double length, double bore, const Color& c) {
  // Breech block, barrel and muzzle ring, pointing right.
  RoundedRectPath(cr, x0, y0 - bore, bore * 2.2, bore * 2, 5);
  FillShadedOutlined(cr, c.Darker(0.2), y0 - bore, y0 + bore, 1.5);
  // The barrel's round cap ends inside the muzzle ring.
  Limb(cr, x0 + bore * 2, y0, x0 + length - bore * 0.6, y0, bore * 1.1, c);
  cairo_rectangle(cr, x0 + length - 12, y0 - bore * 0.75, 12, bore * 1.5);
  FillShadedOutlined(cr, c.Lighter(0.25), y0 - bore * 0.75, y0 + bore * 0.75, 1.5);
  Sphere(cr, x0 + bore * 1.1, y0, bore * 0.45, kGold);
}

}  // namespace

void PaintMenuBackdrop(const FramePaint& p) {
  cairo_t* cr = p.cr;
  cairo_translate(cr, p.Left(), p.Top());
  double w = p.Width(), h = p.Height();
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.03, 0.04, 0.10);
  cairo_pattern_add_color_stop_rgb(sky, 0.6, 0.10, 0.12, 0.26);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.22, 0.14, 0.22);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  // Gear silhouettes in the dark behind the wheel of cards.
  Lcg rng(20261u);
  for (int k = 0; k < 5; ++k) {
    double cx = rng.Range(0, w), cy = rng.Range(h * 0.3, h), r = rng.Range(50, 120);
    int teeth = 10 + static_cast<int>(r / 10);
    for (int t = 0; t < teeth; ++t) {
      double a = 2 * kPi * t / teeth;
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, a);
      cairo_rectangle(cr, r - 4, -6, 16, 12);
      cairo_restore(cr);
    }
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, r * 0.45, 2 * kPi, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgba(cr, 0.35, 0.40, 0.60, 0.16);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  }
  Glow(cr, w * 0.5, 80, 260, Color{0.9, 0.6, 0.2, 0.18});
  DrawLabel(cr, "VANTREL", w / 2, 112, 64, 1, kGold, 3.0);
}

void PaintMenuSword(const FramePaint& p) {
  cairo_t* cr = p.cr;
  bool charged = p.Num("charged", p.index) != 0;
  double half = p.Width() / 2;
  if (charged) {  // a flat halo along the blade, inside the frame
    cairo_save(cr);
    cairo_scale(cr, 1, (p.Height() / 2 - 2) / (half * 0.85));
    Glow(cr, half * 0.1, 0, half * 0.85, kIce.WithAlpha(0.45));
    cairo_restore(cr);
  }
  // Blade from the guard to the point, along +x.
  double guard = -half + 78, tip = half - 6;
  cairo_move_to(cr, guard, -9);
  cairo_line_to(cr, tip - 30, -9);
  cairo_line_to(cr, tip, 0);
  cairo_line_to(cr, tip - 30, 9);
  cairo_line_to(cr, guard, 9);
  cairo_close_path(cr);
  FillShadedOutlined(cr, charged ? kIce : Color::Hex(0xC8D2DC), -9, 9, 1.5);
  cairo_move_to(cr, guard + 4, 0);
  cairo_line_to(cr, tip - 12, 0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Guard, grip and pommel.
  RoundedRectPath(cr, guard - 10, -24, 12, 48, 4);
  FillShadedOutlined(cr, kGold, -24, 24, 1.5);
  Limb(cr, -half + 22, 0, guard - 10, 0, 12, Color::Hex(0x6B3E26));
  Sphere(cr, -half + 16, 0, 10, kGold);
}

void PaintMenuCard(const FramePaint& p) {
  int item = static_cast<int>(p.Num("item", p.index));
  PlateCard(p, kSteel, true);
  DrawLabel(p.cr, kMenuItems[item % 6], 0, 10, 22, 1, Color::Hex(0xFFFFFF), 1.0);
}

void PaintOptionCard(const FramePaint& p) {
  int option = p.index / 2;
  bool selected = p.index % 2 == 0;
  PlateCard(p, selected ? Color::Hex(0x3F7FBF) : kSteel.Darker(0.35), selected);
  DrawLabel(p.cr, kOptionNames[option % 5], 0, 10, 22, 1,
            selected ? Color::Hex(0xFFF4C0) : Color::Hex(0xA8B0BC), 1.0);
}

// Frame 0 the volume panel with a trough for the bar, 1 controls, 2..5 one to four
// players, 6 back.
void PaintOptionPanel(const FramePaint& p) {
  cairo_t* cr = p.cr;
  PlateCard(p, Color::Hex(0x2C3444), true);
  const Color text = Color::Hex(0xFFFFFF);
  const Color hint = Color::Hex(0xB8C8D8);
  int frame = p.index;
  if (frame == 0) {
    DrawLabel(cr, "VOLUME", 0, -18, 22, 1, text, 1.0);
    DrawLabel(cr, "< LEFT  RIGHT >", 0, 4, 12, 1, hint);
    RoundedRectPath(cr, -94, 10, 188, 24, 5);
    cairo_set_source_rgba(cr, 0.02, 0.03, 0.05, 0.9);
    cairo_fill(cr);
  } else if (frame == 1) {
    DrawLabel(cr, "CONTROLS", 0, -8, 22, 1, text, 1.0);
    DrawLabel(cr, "JUMP TO SET KEYS", 0, 22, 14, 1, hint);
  } else if (frame >= 2 && frame <= 5) {
    int players = frame - 1;
    DrawLabel(cr, std::to_string(players) + (players == 1 ? " PLAYER" : " PLAYERS"), 0, -8, 24, 1,
              text, 1.0);
    for (int k = 0; k < players; ++k) Sphere(cr, -45 + 30 * k, 24, 9, OrbColor(k == 0 ? 0 : k + 1));
  } else {
    DrawLabel(cr, "BACK", 0, -8, 24, 1, text, 1.0);
    DrawLabel(cr, "TO THE MAIN MENU", 0, 22, 14, 1, hint);
  }
}

// The volume bar: its origin at the left end, so scaling shortens it from the right.
void PaintSoundBar(const FramePaint& p) {
  cairo_t* cr = p.cr;
  double w = p.Width(), h = p.Height();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.2, 0.8, 0.3);
  cairo_pattern_add_color_stop_rgb(g, 0.7, 0.95, 0.85, 0.2);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.95, 0.3, 0.15);
  RoundedRectPath(cr, 0, -h / 2, w, h, 4);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// kind=top and kind=bottom: cannons; kind=middle: the housing the panel slides out of.
void PaintOptionGun(const FramePaint& p) {
  cairo_t* cr = p.cr;
  std::string kind = p.Text("kind", "top");
  if (kind == "middle") {
    double x = p.Left() + 4, y = p.Top() + 4, w = p.Width() - 8, h = p.Height() - 8;
    RoundedRectPath(cr, x, y, w, h, 12);
    FillShadedOutlined(cr, Color::Hex(0x3B4656), y, y + h, 2);
    for (double gy = y + 18; gy < y + h - 10; gy += 16) {
      cairo_rectangle(cr, x + 20, gy, w - 40, 6);
      cairo_set_source_rgba(cr, 0.05, 0.06, 0.08, 0.8);
      cairo_fill(cr);
    }
    for (double rx : {x + 10, x + w - 10})
      for (double ry : {y + 10, y + h - 10}) Sphere(cr, rx, ry, 3, Color::Hex(0xA8B4C2));
    return;
  }
  Cannon(cr, p.Left() + 4, 0, p.Width() - 8, p.Height() / 2 - 6,
         kind == "top" ? Color::Hex(0x7A8899) : Color::Hex(0x8A7A66));
}

void PaintPauseWindow(const FramePaint& p) {
  cairo_t* cr = p.cr;
  double x = p.Left() + 4, y = p.Top() + 4, w = p.Width() - 8, h = p.Height() - 8;
  RoundedRectPath(cr, x, y, w, h, 16);
  cairo_set_source_rgba(cr, 0.06, 0.08, 0.14, 0.92);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.75, 0.85, 1.0, 0.9);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  DrawLabel(cr, "PAUSED", 0, y + 48, 28, 1, kGold, 2.0);
}

// One item; its frame offset places it in its row of the window.
void PaintPauseItem(const FramePaint& p) {
  std::string text = p.Text("text", "RESUME");
  for (char& c : text) c = c == '_' ? ' ' : c;  // parameters cannot hold blanks
  double cx = p.Left() + p.Width() / 2, cy = p.Top() + p.Height() / 2;
  cairo_t* cr = p.cr;
  RoundedRectPath(cr, p.Left() + 3, p.Top() + 3, p.Width() - 6, p.Height() - 6, 8);
  FillShadedOutlined(cr, kSteel, p.Top(), p.Top() + p.Height(), 1.5);
  DrawLabel(cr, text, cx, cy + 10, 22, 1, Color::Hex(0xFFFFFF), 1.0);
}

}  // namespace assetgen
