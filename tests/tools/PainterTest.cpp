// The painters' shared drawing helpers, the characters' sheets and the contact sheet: limbs
// that keep their lengths, rims that ring a figure, art that is neither clipped by its cell
// nor missing where the game can hit it, and every collision polygon outlined for review.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AnimationSource.h"
#include "CollisionTable.h"
#include "PaintKit.h"
#include "SheetRenderer.h"
#include "support/TempDir.h"

namespace assetgen {
namespace {

double Distance(P2 a, P2 b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

// Alpha of pixel (x, y) of an ARGB32 surface.
int AlphaAt(cairo_surface_t* s, int x, int y) {
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  std::uint32_t pixel;
  std::memcpy(&pixel, data + y * stride + x * 4, 4);
  return static_cast<int>(pixel >> 24);
}

std::uint32_t PixelAt(cairo_surface_t* s, int x, int y) {
  const unsigned char* data = cairo_image_surface_get_data(s);
  std::uint32_t pixel;
  std::memcpy(&pixel, data + y * cairo_image_surface_get_stride(s) + x * 4, 4);
  return pixel;
}

struct JointCase {
  const char* name;
  P2 root, end;
  double a, b;
  bool forward;
};

TEST(TwoBoneJoint, KeepsBothBoneLengthsAndBendsToTheAskedSide) {
  const JointCase cases[] = {
      {"leg straight down", {0, 0}, {0, 30}, 20, 20, true},
      {"leg straight down, back", {0, 0}, {0, 30}, 20, 20, false},
      {"reach down and forward", {0, 0}, {15, 25}, 18, 22, true},
      {"reach down and back", {5, -10}, {-12, 20}, 25, 15, false},
      {"unequal bones", {0, 0}, {4, 40}, 30, 18, true},
  };
  for (const JointCase& c : cases) {
    SCOPED_TRACE(c.name);
    const P2 joint = TwoBoneJoint(c.root, c.end, c.a, c.b, c.forward);
    EXPECT_NEAR(Distance(c.root, joint), c.a, 1e-6);
    EXPECT_NEAR(Distance(joint, c.end), c.b, 1e-6);
    // The joint lies on the asked side of the root-to-end line.
    const double mid =
        c.root.x + (c.end.x - c.root.x) * (joint.y - c.root.y) / (c.end.y - c.root.y);
    if (c.forward) {
      EXPECT_GT(joint.x, mid);
    } else {
      EXPECT_LT(joint.x, mid);
    }
  }
}

TEST(TwoBoneJoint, StraightensTowardsATargetOutOfReachAndSurvivesNoReach) {
  const P2 far = TwoBoneJoint({0, 0}, {0, 100}, 20, 20, true);
  EXPECT_NEAR(far.x, 0, 1e-2);
  EXPECT_NEAR(far.y, 20, 1e-2);
  const P2 folded = TwoBoneJoint({3, 4}, {3, 4}, 10, 10, false);
  EXPECT_TRUE(std::isfinite(folded.x) && std::isfinite(folded.y));
  EXPECT_NEAR(Distance({3, 4}, folded), 10, 1e-6);
}

TEST(WithRim, RingsTheFigureAndLeavesItAndTheFarBackgroundAlone) {
  Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40));
  cairo_t* cr = cairo_create(s.get());
  WithRim(cr, Color{0, 1, 0, 1}, 3, [&] {
    cairo_rectangle(cr, 15, 15, 10, 10);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_fill(cr);
  });
  cairo_destroy(cr);
  cairo_surface_flush(s.get());
  EXPECT_EQ(PixelAt(s.get(), 20, 20), 0xFFFF0000u) << "the figure itself";
  EXPECT_EQ(PixelAt(s.get(), 13, 20), 0xFF00FF00u) << "two pixels left of it";
  EXPECT_EQ(PixelAt(s.get(), 20, 26), 0xFF00FF00u) << "one pixel below it";
  EXPECT_EQ(AlphaAt(s.get(), 5, 5), 0) << "far away";
  EXPECT_EQ(AlphaAt(s.get(), 20, 34), 0) << "beyond the rim";
}

class CharacterSheets : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_animations = new std::vector<AnimationDesc>(
        LoadAnimationFolder(testsupport::SourceDir() / "assets" / "animations"));
  }
  static void TearDownTestSuite() {
    delete s_animations;
    s_animations = nullptr;
  }
  static const AnimationDesc* Find(const std::string& name) {
    for (const AnimationDesc& a : *s_animations)
      if (a.name == name) return &a;
    return nullptr;
  }
  static std::vector<AnimationDesc>* s_animations;
};

std::vector<AnimationDesc>* CharacterSheets::s_animations = nullptr;

// Opaque pixels on each edge of frame i's cell: top, bottom, left, right.
struct EdgeCounts {
  int top = 0, bottom = 0, left = 0, right = 0;
};
EdgeCounts CountEdges(cairo_surface_t* sheet, const AnimationDesc& anim, int i) {
  int x0 = 0, y0 = 0;
  FrameCell(anim, i, &x0, &y0);
  const int w = anim.frameWidth, h = anim.frameHeight;
  EdgeCounts e;
  for (int x = 0; x < w; ++x) {
    e.top += AlphaAt(sheet, x0 + x, y0) > 16;
    e.bottom += AlphaAt(sheet, x0 + x, y0 + h - 1) > 16;
  }
  for (int y = 0; y < h; ++y) {
    e.left += AlphaAt(sheet, x0, y0 + y) > 16;
    e.right += AlphaAt(sheet, x0 + w - 1, y0 + y) > 16;
  }
  return e;
}

// Art that touches an edge of its cell is cut off there in the game. Only tiles, panels and
// strips that fill their cells may touch every edge, and only figures that stand on the
// cell's floor may touch the bottom one.
TEST_F(CharacterSheets, ArtStaysInsideEveryEdgeOfEveryCell) {
  // Painters whose art fills its cell by design: ground, sky and backdrop tiles, screens,
  // HUD panels and bars, the menu's badges and letter tiles, the moving floor, tire stacks,
  // the scaffold's lattice.
  const std::set<std::string> fillsCell = {
      "ground",          "groundramp",    "backdrop",       "backdroplayer", "bound",
      "menubackdrop",    "introbackdrop", "endscreen",      "hudwindow",     "energybar",
      "energymeter",     "corestart",     "soundbar",       "playerbadge",   "halvornletter",
      "factoryplatform", "tire",          "airshipscaffold"};
  // Figures whose feet or base stand on the cell's floor, their origin on its last rows.
  const std::set<std::string> standsOnFloor = {"rat_run",      "tigere_prowl",   "tigere_run",
                                               "tigere_leap",  "tigerc_stand",   "tigerc_walk",
                                               "tigerc_shoot", "checkpoint_gate"};
  // Things hanging on a cable that runs on out of view above: only the cable, a few pixels
  // wide, may touch the top edge.
  const std::set<std::string> hangsFromTop = {"airship_claw"};
  constexpr int kCableWidth = 6;
  for (const AnimationDesc& anim : *s_animations) {
    if (fillsCell.count(anim.painter)) continue;
    SCOPED_TRACE(anim.name);
    Surface sheet = RenderSheet(anim);
    const bool floorAllowed = standsOnFloor.count(anim.name) > 0;
    const bool hangs = hangsFromTop.count(anim.name) > 0;
    for (int i = 0; i < static_cast<int>(anim.frames.size()); ++i) {
      const EdgeCounts e = CountEdges(sheet.get(), anim, i);
      if (hangs) {
        EXPECT_GT(e.top, 0) << "frame " << i << ": the cable stops short of the top edge";
        EXPECT_LE(e.top, kCableWidth) << "frame " << i << ": more than the cable at the top edge";
      }
      EXPECT_EQ((hangs ? 0 : e.top) + e.left + e.right + (floorAllowed ? 0 : e.bottom), 0)
          << "frame " << i << ": top " << e.top << ", bottom " << e.bottom << ", left " << e.left
          << ", right " << e.right;
    }
  }
}

// Where an enemy can be hit and hurts on touch (its ENEMY_BODY box), the player must see it:
// most of the box is covered by art in every frame that has one.
TEST_F(CharacterSheets, EnemyArtFillsItsHitBox) {
  struct Case {
    const char* name;
    double minCover;
  };
  const Case cases[] = {{"rat_run", 0.5},        {"rat_jump", 0.5},    {"tigera_stand", 0.5},
                        {"tigera_run", 0.5},     {"tigera_dash", 0.4}, {"tigera_jump", 0.4},
                        {"tigera_jumpoff", 0.4}, {"kaje_stand", 0.4},  {"kaje_walk", 0.4},
                        {"kaje_fire", 0.4},      {"GNTbody", 0.8},     {"GNTdive", 0.8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AnimationDesc* anim = Find(c.name);
    ASSERT_NE(anim, nullptr);
    Surface sheet = RenderSheet(*anim);
    for (int i = 0; i < static_cast<int>(anim->frames.size()); ++i) {
      int x0 = 0, y0 = 0;
      FrameCell(*anim, i, &x0, &y0);
      const FrameDesc& f = anim->frames[i];
      for (const Polygon& polygon : anim->Shape(i)) {
        if (polygon.type != kEnemyBody || polygon.vertices.size() != 4) continue;
        double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
        for (const Vertex& v : polygon.vertices) {
          left = std::min<double>(left, v.x), right = std::max<double>(right, v.x);
          top = std::min<double>(top, v.y), bottom = std::max<double>(bottom, v.y);
        }
        int inside = 0, covered = 0;
        for (int y = static_cast<int>(top); y < bottom; ++y) {
          for (int x = static_cast<int>(left); x < right; ++x) {
            const int px = x0 + static_cast<int>(f.offsetX) + x;
            const int py = y0 + static_cast<int>(f.offsetY) + y;
            if (px < x0 || py < y0 || px >= x0 + anim->frameWidth || py >= y0 + anim->frameHeight)
              continue;
            ++inside;
            covered += AlphaAt(sheet.get(), px, py) > 128;
          }
        }
        ASSERT_GT(inside, 0);
        EXPECT_GE(covered / double(inside), c.minCover) << "frame " << i;
      }
    }
  }
}

// Share of the pixels, opaque in either frame, whose colour differs between frames a and b.
double ChangedShare(cairo_surface_t* sheet, const AnimationDesc& anim, int a, int b) {
  int ax = 0, ay = 0, bx = 0, by = 0;
  FrameCell(anim, a, &ax, &ay);
  FrameCell(anim, b, &bx, &by);
  int opaque = 0, changed = 0;
  for (int y = 0; y < anim.frameHeight; ++y) {
    for (int x = 0; x < anim.frameWidth; ++x) {
      const std::uint32_t p = PixelAt(sheet, ax + x, ay + y), q = PixelAt(sheet, bx + x, by + y);
      if ((p >> 24) <= 16 && (q >> 24) <= 16) continue;
      ++opaque;
      int most = 0;
      for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(int((p >> shift) & 255) - int((q >> shift) & 255)));
      changed += most > 24;
    }
  }
  return opaque > 0 ? changed / double(opaque) : 0.0;
}

// A looping animation whose frames are near copies reads as a still picture in play: the
// treads, the drill, the walk and the attacks must visibly move from frame to frame.
TEST_F(CharacterSheets, MovingAnimationsChangeFromFrameToFrame) {
  struct Case {
    const char* name;
    double minShare;
  };
  const Case cases[] = {{"GNTbody", 0.1},    {"GNTdive", 0.1},    {"GNTdeath", 0.1},
                        {"GNTdrill", 0.1},   {"kaje_walk", 0.1},  {"kaje_swipe", 0.1},
                        {"kaje_fire", 0.05}, {"kaje_stand", 0.05}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AnimationDesc* anim = Find(c.name);
    ASSERT_NE(anim, nullptr);
    Surface sheet = RenderSheet(*anim);
    for (int i = 0; i + 1 < static_cast<int>(anim->frames.size()); ++i)
      EXPECT_GE(ChangedShare(sheet.get(), *anim, i, i + 1), c.minShare)
          << "frames " << i << "-" << i + 1;
  }
}

// Everything of frame i the game reads: timing, sound, origin and polygons.
std::string FrameSignature(const AnimationDesc& anim, size_t i) {
  const FrameDesc& f = anim.frames[i];
  std::ostringstream out;
  out << f.ticks << ' ' << f.next << ' ' << f.sound << ' ' << f.offsetX << ',' << f.offsetY;
  for (const Polygon& polygon : anim.Shape(i)) {
    out << " |" << polygon.type;
    for (const Vertex& v : polygon.vertices) out << ' ' << v.x << ',' << v.y << ',' << v.radius;
  }
  return out.str();
}

// The boss swaps its worn looks in by health mid-animation: each must keep the frames, timing
// and shapes of the look it replaces, or the swap would change the fight, and must differ
// from it in every frame, or the player would see no wear.
TEST_F(CharacterSheets, WornBossLooksKeepTheirFramesAndShapesAndShowTheWear) {
  const char* const pairs[][2] = {{"GNTbody_dented", "GNTbody"}, {"GNTbody_wrecked", "GNTbody_dented"},
                                  {"GNTdive_dented", "GNTdive"}, {"GNTdive_wrecked", "GNTdive_dented"}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[0]);
    const AnimationDesc* worn = Find(pair[0]);
    const AnimationDesc* base = Find(pair[1]);
    ASSERT_TRUE(worn && base);
    ASSERT_EQ(worn->frames.size(), base->frames.size());
    ASSERT_TRUE(worn->frameWidth == base->frameWidth && worn->frameHeight == base->frameHeight);
    Surface wornSheet = RenderSheet(*worn), baseSheet = RenderSheet(*base);
    for (size_t i = 0; i < worn->frames.size(); ++i) {
      EXPECT_EQ(FrameSignature(*worn, i), FrameSignature(*base, i));
      int x0 = 0, y0 = 0, changed = 0;
      FrameCell(*worn, static_cast<int>(i), &x0, &y0);
      for (int y = y0; y < y0 + worn->frameHeight; ++y)
        for (int x = x0; x < x0 + worn->frameWidth; ++x)
          changed += PixelAt(wornSheet.get(), x, y) != PixelAt(baseSheet.get(), x, y);
      EXPECT_GE(changed, worn->frameWidth * worn->frameHeight / 20) << "frame " << i;
    }
  }
}

// The burrow is placed at the body's centre as it dives; its mound must rest on the floor the
// body's tracks stood on, not float above it.
TEST_F(CharacterSheets, BurrowRestsOnTheFloorUnderTheDivingBody) {
  const AnimationDesc* body = Find("GNTbody");
  const AnimationDesc* burrow = Find("GNTburrow");
  ASSERT_NE(body, nullptr);
  ASSERT_NE(burrow, nullptr);
  double floor = -1e9;  // the lowest point of the body's walking polygon
  const std::vector<Polygon> shape = body->Shape(0);
  for (const Vertex& v : shape[0].vertices) floor = std::max<double>(floor, v.y);
  Surface sheet = RenderSheet(*burrow);
  int x0 = 0, y0 = 0;
  FrameCell(*burrow, 0, &x0, &y0);
  int lowest = -1;
  for (int y = 0; y < burrow->frameHeight; ++y)
    for (int x = 0; x < burrow->frameWidth; ++x)
      if (AlphaAt(sheet.get(), x0 + x, y0 + y) > 128) lowest = y;
  ASSERT_GE(lowest, 0);
  EXPECT_NEAR(lowest - burrow->frames[0].offsetY, floor, 4.0);
}

// Counts the pixels of one exact colour.
int CountColor(const std::filesystem::path& png, std::uint32_t argb) {
  Surface s(cairo_image_surface_create_from_png(png.string().c_str()));
  EXPECT_EQ(cairo_surface_status(s.get()), CAIRO_STATUS_SUCCESS) << png;
  int n = 0;
  for (int y = 0; y < cairo_image_surface_get_height(s.get()); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(s.get()); ++x)
      n += PixelAt(s.get(), x, y) == argb;
  return n;
}

TEST(ContactSheet, OutlinesEveryKindOfPolygonInItsTypeColour) {
  struct Case {
    const char* name;
    const char* shape;
    std::uint32_t color;  // the type's line colour on the sheet
  };
  const Case cases[] = {
      {"box", "box HERO_WEAPON -10 -20 10 -2", 0xFFFF00FF},
      {"concave polygon", "poly ENEMY_BODY -12,-2 0,-20 12,-2 0,-8", 0xFFFF2020},
      {"segment", "poly GROUND -14,-4 14,-16", 0xFFD2A060},
      {"circle", "circle PICKUP 0 -10 8", 0xFFC0FF80},
  };
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string head = "animation a\npainter clear\nsize 48 32\noffset 24 28\n";
    auto bare = ParseAnimations(head + "frames 2\n", "t.anim");
    auto shaped = ParseAnimations(head + std::string(c.shape) + "\nframes 2\n", "t.anim");
    Surface bareSheet = RenderSheet(bare[0]), shapedSheet = RenderSheet(shaped[0]);
    WriteContactSheet(bare, {bareSheet.get()}, dir / "bare.png");
    WriteContactSheet(shaped, {shapedSheet.get()}, dir / "shaped.png");
    // The legend shows the colour on both; only the polygons add to it, on both frames.
    EXPECT_GT(CountColor(dir / "shaped.png", c.color), CountColor(dir / "bare.png", c.color) + 20);
  }
}

}  // namespace
}  // namespace assetgen
