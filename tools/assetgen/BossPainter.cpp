// The junkyard boss Grindlenaut: hull, drill, arm, burrow and the scrap it throws.
// Big, saturated shapes with dark outlines so it reads as a boss at 800x600
// (TigerA has its own file).
#include <cmath>

#include "PaintKit.h"
#include "Painter.h"

namespace assetgen {

namespace {

const Color kRust = Color::Hex(0xA8431F);
const Color kSteel = Color::Hex(0x8C96A0);
const Color kDark = Color::Hex(0x2A2522);
const Color kFurnace = Color::Hex(0xFF8A1C);
const Color kGold = Color::Hex(0xE2A92A);

void Rivets(cairo_t* cr, double x0, double x1, double y, int count) {
  for (int i = 0; i < count; ++i) {
    const double x = x0 + (x1 - x0) * (i + 0.5) / count;
    Sphere(cr, x, y, 3.0, kSteel.Lighter(0.2));
  }
}

// The hull about its centre: tracks below, armour, furnace grille and stacks.
void Hull(cairo_t* cr, double crack, double glow) {
  RoundedRectPath(cr, -140, 40, 280, 46, 22);
  FillShadedOutlined(cr, kDark.Lighter(0.15), 40, 86, 3);
  for (int i = 0; i < 7; ++i) Sphere(cr, -115 + i * 38.0, 63, 14, kSteel.Darker(0.3));
  cairo_move_to(cr, -150, 40);
  cairo_line_to(cr, -120, -50);
  cairo_line_to(cr, 110, -60);
  cairo_line_to(cr, 155, 0);
  cairo_line_to(cr, 150, 40);
  cairo_close_path(cr);
  FillShadedOutlined(cr, kRust, -60, 40, 3.5);
  Rivets(cr, -115, 140, -40, 9);
  Rivets(cr, -140, 145, 30, 10);
  for (double x : {-95.0, -45.0}) {  // exhaust stacks
    RoundedRectPath(cr, x, -92, 18, 40, 3);
    FillShadedOutlined(cr, kDark.Lighter(0.3), -92, -52, 2);
  }
  RoundedRectPath(cr, 20, -30, 70, 40, 6);  // furnace grille
  FillShadedOutlined(cr, kDark, -30, 10, 2.5);
  Glow(cr, 55, -10, 46 * glow, kFurnace);
  SetColor(cr, kDark);
  cairo_set_line_width(cr, 3);
  for (int i = 0; i < 5; ++i) {
    cairo_move_to(cr, 28 + i * 13.0, -26);
    cairo_line_to(cr, 28 + i * 13.0, 6);
  }
  cairo_stroke(cr);
  if (crack > 0) {
    SetColor(cr, Color::Hex(0x120C08));
    cairo_set_line_width(cr, 4);
    Lcg rng(7);
    for (int i = 0; i < static_cast<int>(crack * 6); ++i) {
      double x = rng.Range(-120, 120);
      double y = rng.Range(-50, 30);
      cairo_move_to(cr, x, y);
      for (int k = 0; k < 4; ++k) {
        x += rng.Range(-18, 18);
        y += rng.Range(-14, 14);
        cairo_line_to(cr, x, y);
      }
      cairo_stroke(cr);
      Glow(cr, x, y, 18 * crack, Color::Hex(0xFFE070));
    }
  }
}

}  // namespace

void PaintGrindlenaut(const FramePaint& p) {
  const std::string part = p.Text("part", "body");
  cairo_t* cr = p.cr;
  if (part == "body") {
    const double pulse = 0.8 + 0.2 * std::sin(p.index * 1.7);
    Hull(cr, p.Num("crack", 0.0) * (1 + p.index), pulse);
  } else if (part == "drill") {
    const double bent = p.Num("bent", 0.0);
    RoundedRectPath(cr, -6, -30, 22, 60, 5);  // rusty collar
    FillShadedOutlined(cr, kRust.Darker(0.2), -30, 30, 2.5);
    cairo_move_to(cr, 14, -28);
    cairo_line_to(cr, 110, bent * 30);
    cairo_line_to(cr, 14, 28);
    cairo_close_path(cr);
    FillShadedOutlined(cr, kSteel, -28, 28, 2.5);
    SetColor(cr, kDark);
    cairo_set_line_width(cr, 3);
    for (int i = 0; i < 6; ++i) {  // the spiral, turned by the frame
      const double x = 20 + ((i * 16 + p.index * 6) % 90);
      const double h = 28 * (1 - (x - 14) / 96);
      cairo_move_to(cr, x, -h);
      cairo_line_to(cr, x + 10, h + bent * 20 * (x - 14) / 96);
    }
    cairo_stroke(cr);
  } else if (part == "arm") {
    const double droop = p.Num("droop", 0.0);
    Limb(cr, 0, 0, 70, -20 + droop * 40, 22, kRust);
    Limb(cr, 70, -20 + droop * 40, 130, 10 + droop * 20, 16, kSteel);
    Sphere(cr, 0, 0, 14, kDark.Lighter(0.3));
    Sphere(cr, 70, -20 + droop * 40, 11, kDark.Lighter(0.3));
    for (double a : {-35.0, 0.0, 35.0}) {  // three-fingered grabber
      const double r = Radians(a);
      Limb(cr, 130, 10 + droop * 20, 130 + 20 * std::cos(r), 10 + droop * 20 + 20 * std::sin(r), 6,
           kSteel.Lighter(0.2));
    }
  } else if (part == "burrow") {
    cairo_move_to(cr, -128, 0);
    cairo_curve_to(cr, -80, -90, 80, -90, 128, 0);
    cairo_close_path(cr);
    FillShadedOutlined(cr, Color::Hex(0x6B4A2B), -70, 0, 3);
    Lcg rng(3);
    for (int i = 0; i < 9; ++i) {
      // Drawn last to first, the order the burrow's scrap was first laid out in.
      const double rh = rng.Range(8, 14);
      const double rw = rng.Range(10, 22);
      const double y = rng.Range(-55, -15);
      const double x = rng.Range(-90, 70);
      RoundedRectPath(cr, x, y, rw, rh, 2);
      FillShadedOutlined(cr, kSteel.Darker(0.4), -55, 0, 1.5);
    }
  } else {  // scrap, one look per animation
    switch (static_cast<int>(p.Num("look", p.index))) {
      case 0:
        for (int t = 0; t < 8; ++t) Limb(cr, 0, 0, 15 * std::cos(t * 0.785), 15 * std::sin(t * 0.785), 6, kSteel);
        Sphere(cr, 0, 0, 10, kSteel);
        break;
      case 1: Limb(cr, -14, 10, 0, 10, 9, kRust); Limb(cr, 0, 10, 10, -14, 9, kRust); break;
      case 2:
        RoundedRectPath(cr, -10, -14, 20, 28, 3);
        FillShadedOutlined(cr, Color::Hex(0xB9C2C8), -14, 14, 2);
        break;
      case 3:
        SetColor(cr, kSteel.Lighter(0.3));
        cairo_set_line_width(cr, 4);
        for (int i = 0; i < 5; ++i) {
          cairo_move_to(cr, -12, -14 + i * 7);
          cairo_line_to(cr, 12, -10 + i * 7);
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
        for (int i = 0; i < 6; ++i) cairo_line_to(cr, 15 * std::cos(i * 1.047), 15 * std::sin(i * 1.047));
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
}

}  // namespace assetgen
