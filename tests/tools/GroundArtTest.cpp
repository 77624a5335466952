// The levels' ground and backdrops as the player sees them: ground tiles that join without a
// seam whichever of their looks stand side by side, level files whose tiles show a surface
// exactly where nothing lies on top of them, and backdrops of several layers that repeat
// sideways and scroll at their own depths.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AnimationSource.h"
#include "ListFiles.h"
#include "SheetRenderer.h"
#include "ShippedData.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const assetgen::AnimationDesc& Source(const std::string& name) {
  return testsupport::SourceAnimation(name);
}

// One frame of an animation as painted into its sheet; sheets are painted once per run.
struct Tile {
  std::string animation;
  int frame;
};

class Picture {
 public:
  explicit Picture(const std::string& name)
      : m_anim(Source(name)), m_sheet(assetgen::RenderSheet(m_anim)) {
    cairo_surface_flush(m_sheet.get());
  }
  static const Picture& Of(const std::string& name) {
    static std::map<std::string, std::unique_ptr<Picture>> cache;
    auto& slot = cache[name];
    if (!slot) slot = std::make_unique<Picture>(name);
    return *slot;
  }
  int Width() const { return m_anim.frameWidth; }
  int Height() const { return m_anim.frameHeight; }
  // Premultiplied (b, g, r, a) of pixel (x, y) of frame i.
  std::array<int, 4> At(int i, int x, int y) const {
    int cx = 0, cy = 0;
    assetgen::FrameCell(m_anim, i, &cx, &cy);
    const unsigned char* data = cairo_image_surface_get_data(m_sheet.get());
    const int stride = cairo_image_surface_get_stride(m_sheet.get());
    const unsigned char* p = data + (cy + y) * stride + (cx + x) * 4;
    return {p[0], p[1], p[2], p[3]};
  }

 private:
  const assetgen::AnimationDesc& m_anim;
  assetgen::Surface m_sheet;
};

struct TileSet {
  const char* name;
  const char* animation;       // the set's main animation, whose painter and size the set shares
  std::vector<Tile> surfaces;  // every look of the plain surface
  std::vector<Tile> fills;     // every look of the plain fill
  bool plated = false;         // looks may tone whole plates (see WithinAWholePlate)
};

// The factory's steel runs in courses 32 high of plates 64 wide, every other course shifted
// by half a plate. A plate wholly inside the tile meets the next tile at a joint, so a look
// may tone it afresh up to the tile's edge and still join any other look without a seam.
bool WithinAWholePlate(int x, int y, int w) {
  const int shift = (y / 32) % 2 ? 32 : 0;
  const int left = (x - shift + 64) / 64 * 64 + shift - 64;
  return left >= 0 && left + 64 <= w;
}

std::vector<Tile> Frames(const char* animation, int from, int to, int step) {
  std::vector<Tile> out;
  for (int f = from; f <= to; f += step) out.push_back({animation, f});
  return out;
}

std::vector<Tile> Joined(std::vector<Tile> a, const std::vector<Tile>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const TileSet kTileSets[] = {
    {"junkyard",
     "junkyard_ground",
     {{"junkyard_ground", 0},
      {"junkyard_ground", 2},
      {"junkyard_ground", 6},
      {"junkyard_ground", 14}},
     {{"junkyard_ground", 1},
      {"junkyard_ground", 3},
      {"junkyard_ground", 7},
      {"junkyard_ground", 15}}},
    {"factory",
     "tiles_metal",
     Joined({{"tiles_metal", 0},
             {"tiles_metal", 2},
             {"tiles_metal", 4},
             {"tiles_metal", 6},
             {"tiles_metal", 14}},
            Frames("tiles_metal", 18, 34, 2)),
     Joined({{"tiles_metal", 1},
             {"tiles_metal", 3},
             {"tiles_metal", 5},
             {"tiles_metal", 7},
             {"tiles_metal", 15}},
            Frames("tiles_metal", 19, 35, 2)),
     true},
    {"airship",
     "airship_deck",
     {{"airship_deck", 0}, {"airship_deck_b", 0}, {"airship_deck_c", 0}},
     {{"airship_deck", 3}, {"airship_deck", 4}, {"airship_deck", 5}, {"airship_deck", 6}}},
};

// The set's bare ground of one kind, with no look's detail, painted over two tiles across
// and two down: the texture as it runs on under a whole stretch of ground.
class Stretch {
 public:
  Stretch(const char* animation, const char* kind) : m_desc(Source(animation)) {
    m_w = m_desc.frameWidth;
    m_h = m_desc.frameHeight;
    m_desc.name += std::string("_bare_") + kind;
    m_desc.frameWidth *= 2;
    m_desc.frameHeight *= 2;
    m_desc.columns = 1;
    assetgen::FrameDesc frame = m_desc.frames.front();
    frame.params = {{"kind", kind}};
    m_desc.frames = {frame};
    m_sheet = assetgen::RenderSheet(m_desc);
    cairo_surface_flush(m_sheet.get());
  }
  int TileWidth() const { return m_w; }
  int TileHeight() const { return m_h; }
  std::array<int, 4> At(int x, int y) const {
    const unsigned char* p = cairo_image_surface_get_data(m_sheet.get()) +
                             y * cairo_image_surface_get_stride(m_sheet.get()) + x * 4;
    return {p[0], p[1], p[2], p[3]};
  }

 private:
  assetgen::AnimationDesc m_desc;
  assetgen::Surface m_sheet;
  int m_w = 0, m_h = 0;
};

// The same colour, give or take the rounding of shading computed at another place.
bool Differ(const std::array<int, 4>& a, const std::array<int, 4>& b) {
  for (int c = 0; c < 4; ++c)
    if (std::abs(a[c] - b[c]) > 4) return true;
  return false;
}

void PrintTo(const TileSet& set, std::ostream* os) {
  *os << set.name;
}

class GroundTiles : public ::testing::TestWithParam<TileSet> {};

// Whatever crosses a tile's edge comes back at the opposite edge: laid on the tile grid, the
// texture runs on from tile to tile.
TEST_P(GroundTiles, TheBareTextureRepeatsOnTheTileGrid) {
  for (const char* kind : {"fill", "top"}) {
    SCOPED_TRACE(kind);
    const Stretch s(GetParam().animation, kind);
    const int w = s.TileWidth(), h = s.TileHeight();
    int across = 0, down = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        across += Differ(s.At(x, y), s.At(x + w, y));
        if (std::string(kind) == "fill") down += Differ(s.At(x, y), s.At(x, y + h));
      }
    }
    // A seam is a line of differing pixels along the tile; a few scattered ones are the
    // rounding of turned shapes' edges.
    const int scattered = std::min(w, h) / 8;
    EXPECT_LT(across, scattered) << "pixels that differ one tile to the right";
    EXPECT_LT(down, scattered) << "pixels that differ one tile further down";
  }
}

// The level picks any look for any plain tile, so each must show the bare texture all along
// its edges (and so join any other as the texture joins itself), and differ only inside.
TEST_P(GroundTiles, LooksShowTheBareTextureAlongTheirEdges) {
  constexpr int kRing = 12;
  for (const auto& [group, kind] :
       {std::pair{&GetParam().surfaces, "top"}, {&GetParam().fills, "fill"}}) {
    const Stretch bare(GetParam().animation, kind);
    for (const Tile& look : *group) {
      SCOPED_TRACE(look.animation + " frame " + std::to_string(look.frame));
      const Picture& p = Picture::Of(look.animation);
      int onEdges = 0, inside = 0;
      for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < p.Width(); ++x) {
          const bool edge =
              x < kRing || y < kRing || x >= p.Width() - kRing || y >= p.Height() - kRing;
          if (!Differ(p.At(look.frame, x, y), bare.At(x, y))) continue;
          const bool toned = GetParam().plated && WithinAWholePlate(x, y, p.Width());
          (edge && !toned ? onEdges : inside) += 1;
        }
      }
      EXPECT_EQ(onEdges, 0) << "pixels along the edges that differ from the bare texture";
      EXPECT_GT(inside + (&look == &group->front() ? 1 : 0), 0)
          << "a look no different from bare ground";
    }
  }
}

// A surface tile sits on top of fill: below its band it is the fill texture.
TEST_P(GroundTiles, SurfacesRunIntoTheFillBelow) {
  const Stretch top(GetParam().animation, "top"), fill(GetParam().animation, "fill");
  const int h = top.TileHeight();
  int differing = 0;
  for (int y = h - 12; y < h; ++y)
    for (int x = 0; x < top.TileWidth(); ++x) differing += Differ(top.At(x, y), fill.At(x, y));
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, GroundTiles, ::testing::ValuesIn(kTileSets),
                         [](const auto& info) { return std::string(info.param.name); });

// The factory's fittings that run over several tiles: a pipe, a soot stain and signs. Each
// piece shows the bare plating where the run does not go on (above, below, before its first
// piece and after its last), and every piece crosses a side it shares with the next in the
// same way, so a first, any mids and a last join wherever the level lays them.
struct Run {
  const char* name;
  std::vector<int> firsts, mids, lasts;  // surface pieces; the fill piece is each one's next
};

void PrintTo(const Run& run, std::ostream* os) {
  *os << run.name;
}

class SteelRuns : public ::testing::TestWithParam<Run> {};

TEST_P(SteelRuns, PiecesShowBarePlatingWhereTheRunEndsAndJoinWhereItGoesOn) {
  constexpr int kRing = 12;
  const Picture& p = Picture::Of("tiles_metal");
  const int w = p.Width(), h = p.Height();
  for (int fill = 0; fill < 2; ++fill) {
    const Stretch bare("tiles_metal", fill ? "fill" : "top");
    std::vector<int> goRight, goLeft;  // pieces the run leaves on the right, enters on the left
    auto closedSides = [&](int frame, bool left, bool right) {
      SCOPED_TRACE("frame " + std::to_string(frame));
      int seams = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const bool edge =
              y < kRing || y >= h - kRing || (left && x < kRing) || (right && x >= w - kRing);
          seams += edge && !WithinAWholePlate(x, y, w) && Differ(p.At(frame, x, y), bare.At(x, y));
        }
      }
      EXPECT_EQ(seams, 0) << "pixels along a side the run does not cross";
    };
    for (int f : GetParam().firsts) closedSides(f + fill, true, false), goRight.push_back(f + fill);
    for (int f : GetParam().mids) {
      closedSides(f + fill, false, false);
      goRight.push_back(f + fill), goLeft.push_back(f + fill);
    }
    for (int f : GetParam().lasts) closedSides(f + fill, false, true), goLeft.push_back(f + fill);
    for (const auto& [pieces, x] : {std::pair{&goRight, w - 1}, {&goLeft, 0}}) {
      for (int f : *pieces) {
        int differing = 0, crossing = 0, row = -1;
        for (int y = 0; y < h; ++y) {
          if (WithinAWholePlate(x, y, w)) continue;  // toned in each piece its own way
          const bool differs = Differ(p.At(f, x, y), p.At(pieces->front(), x, y));
          differing += differs;
          if (differs && row < 0) row = y;
          crossing += Differ(p.At(f, x, y), bare.At(x, y));
        }
        EXPECT_EQ(differing, 0) << "frame " << f << " crosses column " << x << " otherwise than "
                                << pieces->front() << ", from row " << row;
        EXPECT_GT(crossing, 0) << "frame " << f << ": nothing of the run crosses column " << x;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Factory, SteelRuns,
                         ::testing::Values(Run{"pipe", {36}, {38, 40}, {42}},
                                           Run{"stain", {44}, {46}, {48}},
                                           Run{"hall_sign", {50}, {}, {52}},
                                           Run{"clear_sign", {54}, {}, {56}},
                                           Run{"bay_sign", {58}, {}, {60}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The level files. ----

struct SceneryLine {
  std::string file;
  float y = 0;
  float parallaxX = 0, parallaxY = 0;
  bool tileX = false;
};

// Section 3 of a level: the lines between the music and the first object section.
std::vector<SceneryLine> SceneryOf(const fs::path& level) {
  std::ifstream in(level);
  std::vector<SceneryLine> out;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    SceneryLine s;
    float x, vx, vy;
    int tileY;
    if (line.rfind("animations/backdrop_", 0) == 0 &&
        words >> s.file >> x >> s.y >> s.tileX >> tileY >> vx >> vy >> s.parallaxX >> s.parallaxY)
      out.push_back(s);
  }
  return out;
}

validator::LevelData LevelOf(const fs::path& path) {
  validator::TokenScan scan(path);
  validator::LevelData level;
  EXPECT_TRUE(validator::ParseLevel(scan, level)) << path;
  return level;
}

struct GroundOfLevel {
  const char* level;
  const char* tile;  // the prototype of its ground
  float size;
  bool originAtCentre;
  std::set<int> surfaced;            // frames drawn with a walkable surface on top
  std::set<int> buried;              // frames drawn with ground on top
  std::set<std::string> plainLooks;  // other prototypes that are plain deck
};

const GroundOfLevel kLevels[] = {
    {"junkyard.lvl",
     "JunkyardGround",
     256,
     true,
     {0, 2, 6, 14, 10, 12, 13, 19, 20},
     {1, 3, 7, 15, 8, 9, 11, 16, 17},
     {}},
    {"factory.lvl",
     "MetalTiles",
     128,
     true,
     {0, 2, 4, 6, 14, 10, 12, 13, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 42, 44, 46, 48,
      50, 52, 54, 56, 58, 60},
     {1, 3, 5, 7, 15, 8, 9, 11, 16, 17, 19, 21, 23, 25, 27, 29, 31, 33, 35, 37, 39, 41, 43, 45,
      47, 49, 51, 53, 55, 57, 59, 61},
     {}},
    // Plain deck (frame 0) also runs on under the bulkheads: Kaje reads any other frame there.
    {"airship.lvl", "AirshipDeck", 128, false, {1}, {3, 4, 5, 6, 7, 8, 9, 10, 11},
     {"AirshipDeckB", "AirshipDeckC", "AirshipDeckL", "AirshipDeckR", "AirshipDeckLR"}},
};

void PrintTo(const GroundOfLevel& g, std::ostream* os) {
  *os << g.level;
}

std::string LevelName(const ::testing::TestParamInfo<GroundOfLevel>& info) {
  const std::string file = info.param.level;
  return file.substr(0, file.find('.'));
}

// The picture a scenery line shows, by its animation's name.
const Picture& PictureOf(const SceneryLine& line) {
  return Picture::Of(fs::path(line.file).stem().string());
}

class LevelGround : public ::testing::TestWithParam<GroundOfLevel> {};

// A surface band drawn under other ground, or bare texture on an open top, shows as a stripe
// or a hole in the floor.
TEST_P(LevelGround, SurfacesShowExactlyWhereNothingLiesOnTop) {
  const GroundOfLevel& g = GetParam();
  const validator::LevelData level = LevelOf(testsupport::SourceDir() / "assets/game" / g.level);
  std::vector<const validator::PlacedObject*> ground;
  // A ramp piece lies on top of the tile under it as much as a tile does.
  for (const auto& o : level.main)
    if (o.name == g.tile || g.plainLooks.count(o.name) || o.name.find("Ramps") != std::string::npos)
      ground.push_back(&o);
  ASSERT_FALSE(ground.empty());
  const float half = g.size / 2, centre = g.originAtCentre ? 0 : half;
  auto solidAt = [&](float x, float y) {
    for (const auto* o : ground)
      if (std::abs(x - (o->x + centre)) < half && std::abs(y - (o->y + centre)) < half) return true;
    return y < static_cast<float>(level.bounds[1]);
  };
  for (const auto* o : ground) {
    if (o->name != g.tile) continue;
    const bool covered = solidAt(o->x + centre, o->y + centre - half - 1);
    if (g.surfaced.count(o->frame)) {
      EXPECT_FALSE(covered) << "frame " << o->frame << " at (" << o->x << ", " << o->y << ")";
    } else if (g.buried.count(o->frame)) {
      EXPECT_TRUE(covered) << "frame " << o->frame << " at (" << o->x << ", " << o->y << ")";
    }
  }
}

TEST_P(LevelGround, PlainGroundComesInAtLeastThreeLooks) {
  const GroundOfLevel& g = GetParam();
  const validator::LevelData level = LevelOf(testsupport::SourceDir() / "assets/game" / g.level);
  std::set<std::string> surfaceLooks, fillLooks;
  const std::set<int> plainSurfaces = {0, 2, 4, 6, 14}, plainFills = {1, 3, 5, 7, 15};
  for (const auto& o : level.main) {
    const std::string look = o.name + " " + std::to_string(o.frame);
    if (g.plainLooks.count(o.name)) surfaceLooks.insert(look);
    if (o.name != g.tile) continue;
    if (g.plainLooks.empty() ? plainSurfaces.count(o.frame) > 0 : o.frame == 0)
      surfaceLooks.insert(look);
    if (g.plainLooks.empty() ? plainFills.count(o.frame) > 0 : g.buried.count(o.frame) > 0)
      fillLooks.insert(look);
  }
  EXPECT_GE(surfaceLooks.size(), 3u);
  EXPECT_GE(fillLooks.size(), 3u);
}

TEST_P(LevelGround, BackdropLayersRepeatSidewaysAtTheirOwnDepths) {
  const GroundOfLevel& g = GetParam();
  const std::vector<SceneryLine> layers =
      SceneryOf(testsupport::SourceDir() / "assets/game" / g.level);
  ASSERT_GE(layers.size(), 2u);
  std::set<float> depths;
  for (std::size_t i = 0; i < layers.size(); ++i) {
    SCOPED_TRACE(layers[i].file);
    EXPECT_TRUE(layers[i].tileX);
    // Between fixed to the screen (0) and fixed to the world (-1), the nearer the faster.
    EXPECT_LE(layers[i].parallaxX, 0.0f);
    EXPECT_GT(layers[i].parallaxX, -1.0f);
    if (i > 0) {
      EXPECT_LT(layers[i].parallaxX, layers[i - 1].parallaxX) << "a layer in front scrolls slower";
    }
    depths.insert(layers[i].parallaxX);
  }
  EXPECT_EQ(depths.size(), layers.size());
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelGround, ::testing::ValuesIn(kLevels), LevelName);

// A layer with a skyline is opaque along its bottom, so that what lies behind never shows
// through under the skyline.
struct Layer {
  const char* name;
  bool closedBelow;
};

void PrintTo(const Layer& layer, std::ostream* os) {
  *os << layer.name;
}

class BackdropLayers : public ::testing::TestWithParam<Layer> {};

TEST_P(BackdropLayers, CloseAtTheBottom) {
  const Layer& layer = GetParam();
  const Picture& p = Picture::Of(layer.name);
  // The level tiles every layer sideways, so a short period is fine; each copy is one more quad.
  EXPECT_GE(p.Width(), 200) << "so narrow that the screen draws it more than five times";
  if (!layer.closedBelow) return;
  for (int x = 0; x < p.Width(); ++x) ASSERT_EQ(p.At(0, x, p.Height() - 1)[3], 255) << "x " << x;
}

INSTANTIATE_TEST_SUITE_P(
    EveryLayer, BackdropLayers,
    ::testing::Values(Layer{"backdrop_junkyard_sky", true}, Layer{"backdrop_junkyard_hills", true},
                      Layer{"backdrop_junkyard_heaps", true}, Layer{"backdrop_factory_wall", true},
                      Layer{"backdrop_factory_girders", false},
                      Layer{"backdrop_factory_machines", true}, Layer{"backdrop_airship_sky", true},
                      Layer{"backdrop_airship_far", true}, Layer{"backdrop_airship_clouds", true}),
    [](const auto& info) { return std::string(info.param.name).substr(9); });

// A layer's frame holds only the band of its scene that can show: rows above its first
// painted one are memory and drawing time for nothing, and a layer cut short must still reach
// below the top of the opaque ground of the layer in front, wherever the camera stands within
// the level's bounds, or the screen shows a gap between them; a sky fixed to the screen fills it.
class BackdropBands : public ::testing::TestWithParam<GroundOfLevel> {};

// The first row from which a picture is opaque all across, down to its bottom.
int OpaqueFrom(const Picture& p) {
  int from = p.Height();
  for (int y = p.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < p.Width(); ++x)
      if (p.At(0, x, y)[3] != 255) return from;
    from = y;
  }
  return from;
}

TEST_P(BackdropBands, StartAtTheirFirstPaintedRow) {
  for (const SceneryLine& line :
       SceneryOf(testsupport::SourceDir() / "assets/game" / GetParam().level)) {
    const Picture& p = PictureOf(line);
    int clear = 0;  // rows above the first painted one
    for (bool painted = false; !painted && clear < p.Height(); clear += painted ? 0 : 1)
      for (int x = 0; x < p.Width() && !painted; ++x) painted = p.At(0, x, clear)[3] != 0;
    // A soft edge's faintest row may come and go with floating-point rounding.
    EXPECT_LE(clear, 2) << line.file << ": " << clear << " clear rows at its top";
  }
}

TEST_P(BackdropBands, LeaveNoGapWhereverTheCameraStands) {
  const GroundOfLevel& g = GetParam();
  const fs::path file = testsupport::SourceDir() / "assets/game" / g.level;
  const std::vector<SceneryLine> layers = SceneryOf(file);
  const validator::LevelData level = LevelOf(file);
  // A layer's top stands at y + parallaxY * camera on the screen; the camera's top stays
  // within the bounds, and may shake a little past them.
  constexpr float kScreenHeight = 600, kShake = 16;
  const float cameras[] = {static_cast<float>(level.bounds[1]) - kShake,
                           static_cast<float>(level.bounds[3]) - kScreenHeight + kShake};
  for (const SceneryLine& layer : layers) {
    // A sky fixed to the screen shows below whatever ends above the screen's bottom.
    if (layer.parallaxY != 0) continue;
    const Picture& sky = PictureOf(layer);
    EXPECT_LE(layer.y, 0) << layer.file;
    EXPECT_GE(layer.y + sky.Height(), kScreenHeight)
        << layer.file << " ends above the screen's bottom";
  }
  for (std::size_t i = 0; i + 1 < layers.size(); ++i) {
    const SceneryLine &back = layers[i], &front = layers[i + 1];
    const Picture &behind = PictureOf(back), &before = PictureOf(front);
    const int opaque = OpaqueFrom(before);
    if (opaque == before.Height()) continue;  // nothing in front closes below: see BackdropLayers
    for (float camera : cameras) {
      const float backBottom = back.y + back.parallaxY * camera + behind.Height();
      const float frontOpaque = front.y + front.parallaxY * camera + opaque;
      // A gap wholly below the screen shows nothing.
      EXPECT_GE(std::min(backBottom, kScreenHeight), std::min(frontOpaque, kScreenHeight))
          << back.file << " ends above the opaque part of " << front.file << " with the camera at "
          << camera;
    }
  }
}

// In a pit or a gap nothing but the backdrop fills the screen's bottom: the layer in front
// must reach it, opaque all across, with the camera as low as the level's bounds let it stand,
// or the sky shows under it as a flat band with a hard edge.
TEST_P(BackdropBands, TheFrontLayerReachesTheScreensBottomWithTheCameraAtItsLowest) {
  const fs::path file = testsupport::SourceDir() / "assets/game" / GetParam().level;
  const std::vector<SceneryLine> layers = SceneryOf(file);
  ASSERT_FALSE(layers.empty());
  const SceneryLine& front = layers.back();
  const Picture& picture = PictureOf(front);
  EXPECT_LT(OpaqueFrom(picture), picture.Height()) << front.file << " is open at its bottom";
  // The camera's top stands at most a screen above the lower bound, and shakes a little past.
  constexpr float kScreenHeight = 600, kShake = 16;
  const float lowest = static_cast<float>(LevelOf(file).bounds[3]) - kScreenHeight + kShake;
  const float bottom = front.y + front.parallaxY * lowest + picture.Height();
  EXPECT_GE(bottom, kScreenHeight)
      << front.file << " ends " << kScreenHeight - bottom
      << " rows above the screen's bottom with the camera at " << lowest;
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, BackdropBands, ::testing::ValuesIn(kLevels), LevelName);

// The hull's underside: plating down to a keel beam with the sky below it, swept up where
// the hull ends at a gap; the row under it shows only sky. A hole in the plates, or plating
// left where the sky should show, reads as a slab or a tear in the ship.
TEST(HullUnderside, ShowsPlatingDownToTheKeelAndSkyBelow) {
  struct Probe {
    int frame, x, y;
    bool painted;
  };
  const Probe probes[] = {
      {7, 64, 4, true},     {8, 64, 4, true},     {7, 64, 84, true},    {8, 64, 84, true},
      {7, 64, 110, false},  {8, 64, 110, false},  {9, 2, 4, true},      {9, 2, 60, false},
      {9, 64, 84, true},    {9, 20, 84, false},   {10, 125, 60, false}, {10, 64, 84, true},
      {10, 110, 84, false}, {7, 2, 60, true},     {7, 125, 60, true},   {11, 64, 4, false},
      {11, 64, 120, false},
  };
  const Picture& deck = Picture::Of("airship_deck");
  for (const Probe& p : probes) {
    EXPECT_EQ(deck.At(p.frame, p.x, p.y)[3], p.painted ? 255 : 0)
        << "frame " << p.frame << " at (" << p.x << ", " << p.y << ")";
  }
}

// The level files are written by make_levels.py; what is committed must be what it writes.
TEST(LevelFiles, MakeLevelsWritesTheCommittedFilesByteForByte) {
  testsupport::TempDir dir;
  const std::string command = "python3 \"" +
                              (testsupport::SourceDir() / "tools/levels/make_levels.py").string() +
                              "\" \"" + dir.Path().string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  auto bytes = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  for (const char* level : {"junkyard.lvl", "factory.lvl", "airship.lvl"}) {
    EXPECT_EQ(bytes(dir.Path() / level), bytes(testsupport::SourceDir() / "assets/game" / level))
        << level << ": run tools/levels/make_levels.py assets/game";
  }
}

}  // namespace
