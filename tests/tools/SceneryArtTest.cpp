// The scenery as a player judges it: ground that does not read as one stamp repeated, an
// airship sky and hull without flat fills, a flash that stays soft when blown up, a gunner
// that stands out from the levels it fights in, and an intro that shows a place.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "AnimationSource.h"
#include "SheetRenderer.h"
#include "ShippedData.h"
#include "platform/Gfx.h"
#include "platform/Window.h"

namespace {

// One animation's painted sheet, read as straight (not premultiplied) RGBA.
class Sheet {
 public:
  explicit Sheet(const std::string& name) : Sheet(testsupport::SourceAnimation(name)) {}
  explicit Sheet(assetgen::AnimationDesc anim)
      : m_anim(std::move(anim)), m_surface(assetgen::RenderSheet(m_anim)) {
    cairo_surface_flush(m_surface.get());
  }
  int Width() const { return m_anim.frameWidth; }
  int Height() const { return m_anim.frameHeight; }
  int Frames() const { return static_cast<int>(m_anim.frames.size()); }
  // Premultiplied (r, g, b, a) of pixel (x, y) of frame i.
  std::array<int, 4> At(int i, int x, int y) const {
    int cx = 0, cy = 0;
    assetgen::FrameCell(m_anim, i, &cx, &cy);
    const unsigned char* p = cairo_image_surface_get_data(m_surface.get()) +
                             (cy + y) * cairo_image_surface_get_stride(m_surface.get()) +
                             (cx + x) * 4;
    return {p[2], p[1], p[0], p[3]};
  }

 private:
  assetgen::AnimationDesc m_anim;
  assetgen::Surface m_surface;
};

bool Same(const std::array<int, 4>& a, const std::array<int, 4>& b) {
  for (int c = 0; c < 4; ++c)
    if (std::abs(a[c] - b[c]) > 3) return false;
  return true;
}

// ---- Ground: the looks of one kind of tile. ----

struct Repeat {
  const char* name;
  const char* animation;
  std::vector<int> looks;  // the frames of the plain fill
  int dx, dy;              // compare each pixel with the one this far away, inside the tile
  bool acrossLooks;        // or with the same pixel of every other look
  double most;             // the largest share of inside pixels that may be the same
};

void PrintTo(const Repeat& r, std::ostream* os) {
  *os << r.name;
}

class GroundRepeat : public ::testing::TestWithParam<Repeat> {};

// Inside the ring every look leaves bare, a tile must not show what it shows half a tile away
// (the junkyard's texture repeats every 128 down), nor what another look shows in that place.
TEST_P(GroundRepeat, TilesDoNotShowTheSamePixelsAgain) {
  const Repeat& r = GetParam();
  const Sheet sheet(r.animation);
  constexpr int kRing = 14;
  for (std::size_t a = 0; a < r.looks.size(); ++a) {
    for (std::size_t b = r.acrossLooks ? a + 1 : a; b < (r.acrossLooks ? r.looks.size() : a + 1);
         ++b) {
      int same = 0, all = 0;
      for (int y = kRing; y + r.dy < sheet.Height() - kRing; ++y) {
        for (int x = kRing; x + r.dx < sheet.Width() - kRing; ++x) {
          same += Same(sheet.At(r.looks[a], x, y), sheet.At(r.looks[b], x + r.dx, y + r.dy));
          ++all;
        }
      }
      EXPECT_LE(static_cast<double>(same) / all, r.most)
          << "frames " << r.looks[a] << " and " << r.looks[b];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, GroundRepeat,
    ::testing::Values(
        Repeat{"junkyard_halves", "junkyard_ground", {1, 3, 7, 15}, 0, 128, false, 0.3},
        Repeat{"junkyard_looks", "junkyard_ground", {1, 3, 7, 15}, 0, 0, true, 0.45},
        Repeat{"factory_looks", "tiles_metal", {1, 3, 7, 15}, 0, 0, true, 0.6}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The factory's walls: the plating as it runs on along a floor, tile beside tile. ----

// Pearson's correlation, gathered a pair at a time.
class Correlation {
 public:
  void Add(double a, double b) {
    m_a += a, m_b += b, m_aa += a * a, m_bb += b * b, m_ab += a * b, ++m_n;
  }
  double Value() const {
    if (m_n == 0) return 0;
    const double cov = m_ab / m_n - m_a / m_n * m_b / m_n;
    const double va = m_aa / m_n - m_a / m_n * m_a / m_n, vb = m_bb / m_n - m_b / m_n * m_b / m_n;
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 1.0;
  }

 private:
  double m_a = 0, m_b = 0, m_aa = 0, m_bb = 0, m_ab = 0;
  long m_n = 0;
};

// Brightness less its mean over the 17 x 17 pixels around (within the frame): what is left is
// the detail a player picks out (joints, rivets, fittings), not the shading of whole bands.
std::vector<double> Detail(const Sheet& sheet, int frame) {
  const int w = sheet.Width(), h = sheet.Height();
  std::vector<double> sum((w + 1) * (h + 1), 0.0), out(w * h);
  auto at = [&](int x, int y) -> double& { return sum[y * (w + 1) + x]; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const auto p = sheet.At(frame, x, y);
      at(x + 1, y + 1) = p[0] + p[1] + p[2] + at(x, y + 1) + at(x + 1, y) - at(x, y);
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int x0 = std::max(0, x - 8), x1 = std::min(w, x + 9);
      const int y0 = std::max(0, y - 8), y1 = std::min(h, y + 9);
      const double mean =
          (at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0)) / ((x1 - x0) * (y1 - y0));
      out[y * w + x] = at(x + 1, y + 1) - at(x, y + 1) - at(x + 1, y) + at(x, y) - mean;
    }
    // A line along the row (a joint between courses, the walkway's edge) looks the same
    // however far along: only what changes across a row can repeat tile by tile.
    double row = 0;
    for (int x = 0; x < w; ++x) row += out[y * w + x];
    for (int x = 0; x < w; ++x) out[y * w + x] -= row / w;
  }
  return out;
}

// How alike the ground looks a given distance along: over every pair of tiles that far apart
// on one row of the level, the share of pixels that are the same and the correlation of their
// detail.
struct Likeness {
  double same = 0, detail = 0;
};

Likeness GroundLikeness(const char* level, const char* tile, const char* animation, int apart) {
  const Sheet sheet(animation);
  std::map<int, std::vector<double>> detail;
  std::map<std::pair<int, int>, int> frameAt;
  for (const auto& o : testsupport::ShippedLevel(level).main) {
    if (o.name != tile) continue;
    frameAt[{static_cast<int>(o.x), static_cast<int>(o.y)}] = o.frame;
    if (!detail.count(o.frame)) detail[o.frame] = Detail(sheet, o.frame);
  }
  long same = 0, n = 0;
  Correlation alike;
  for (const auto& [at, frame] : frameAt) {
    const auto other = frameAt.find({at.first + apart, at.second});
    if (other == frameAt.end()) continue;
    const auto &da = detail[frame], &db = detail[other->second];
    for (int y = 0; y < sheet.Height(); ++y) {
      for (int x = 0; x < sheet.Width(); ++x) {
        same += Same(sheet.At(frame, x, y), sheet.At(other->second, x, y));
        alike.Add(da[y * sheet.Width() + x], db[y * sheet.Width() + x]);
        ++n;
      }
    }
  }
  return {n ? static_cast<double>(same) / n : 0, alike.Value()};
}

// A look stamped on tile after tile reads as a grid across the whole hall: one and two tiles
// along, the factory's ground must look unlike itself.
TEST(FactoryWalls, DoNotShowTheSamePictureATileOrTwoAlong) {
  for (int apart : {128, 256}) {
    const Likeness l = GroundLikeness("factory.lvl", "MetalTiles", "tiles_metal", apart);
    std::printf("factory ground %d px along: %.1f %% of pixels the same, detail correlation %.3f\n",
                apart, 100 * l.same, l.detail);
    EXPECT_LE(l.same, 0.45) << apart << " px along";
    EXPECT_LE(l.detail, 0.45) << apart << " px along";
  }
}

// ---- The airship's backdrop. ----

// The share of 8 x 8 blocks of opaque pixels of frame `f` that are one colour, give or take a
// level.
double FlatShare(const Sheet& s, int f = 0) {
  constexpr int kBlock = 8;
  int flat = 0, blocks = 0;
  for (int by = 0; by + kBlock <= s.Height(); by += kBlock) {
    for (int bx = 0; bx + kBlock <= s.Width(); bx += kBlock) {
      std::array<int, 4> lo{255, 255, 255, 255}, hi{0, 0, 0, 0};
      for (int y = by; y < by + kBlock; ++y) {
        for (int x = bx; x < bx + kBlock; ++x) {
          const auto p = s.At(f, x, y);
          for (int c = 0; c < 4; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
        }
      }
      if (lo[3] < 255) continue;  // what shows through is another layer's
      ++blocks;
      bool one = true;
      for (int c = 0; c < 3; ++c) one = one && hi[c] - lo[c] <= 1;
      flat += one;
    }
  }
  return blocks ? static_cast<double>(flat) / blocks : 0.0;
}

TEST(AirshipBackdrop, NoLayerShowsAFlatFill) {
  for (const char* layer :
       {"backdrop_airship_sky", "backdrop_airship_far", "backdrop_airship_clouds"}) {
    EXPECT_LE(FlatShare(Sheet(layer)), 0.04) << layer;
  }
}

// The hull fills a sixth of the airship's screen: every look of its plating, the deck over it
// and its ends, its faces at gaps and its underside show texture and shading, not a fill
// between joints.
TEST(AirshipHull, NoLookShowsAFlatFill) {
  const std::pair<const char*, std::vector<int>> looks[] = {
      {"airship_deck", {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15}},
      {"airship_deck_b", {0}},  {"airship_deck_c", {0}},  {"airship_deck_l", {0}},
      {"airship_deck_r", {0}},  {"airship_deck_lr", {0}},
  };
  for (const auto& [animation, frames] : looks) {
    const Sheet sheet(animation);
    for (int f : frames) EXPECT_LE(FlatShare(sheet, f), 0.04) << animation << " frame " << f;
  }
}

// ---- The flash, drawn up to eleven times its size texel by texel. ----

TEST(Flash, NeighbouringTexelsDifferLittle) {
  const Sheet flash("flash");
  for (int f = 0; f < flash.Frames(); ++f) {
    int step = 0;
    for (int y = 0; y + 1 < flash.Height(); ++y) {
      for (int x = 0; x + 1 < flash.Width(); ++x) {
        const auto p = flash.At(f, x, y), right = flash.At(f, x + 1, y),
                   down = flash.At(f, x, y + 1);
        for (int c = 0; c < 4; ++c)
          step = std::max({step, std::abs(p[c] - right[c]), std::abs(p[c] - down[c])});
      }
    }
    // A hard edge (a stroked ring, a disc) jumps by 100 and more: a staircase when blown up.
    EXPECT_LE(step, 32) << "frame " << f;
  }
}

// Drawn eleven times its size, as the crate and the claw flash end, over black and over a
// bright sky, no screen pixel differs from its neighbour by more than a few steps.
TEST(Flash, BlownUpElevenTimesOnScreenItShowsNoSteps) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  auto window = platform::Window::Open("flash", 0, 0, 800, 600, false, error);
  auto gfx = window ? platform::Gfx::Create(*window, 800, 600, error) : nullptr;
  ASSERT_TRUE(gfx) << error;
  const Sheet flash("flash");
  const int w = flash.Width(), h = flash.Height();
  for (int f = 0; f < flash.Frames(); ++f) {
    std::vector<std::uint32_t> texels;  // straight alpha, as the game loads them
    for (int i = 0; i < w * h; ++i) {
      const auto p = flash.At(f, i % w, i / w);
      std::uint32_t texel = static_cast<std::uint32_t>(p[3]) << 24;
      for (int c = 0; c < 3 && p[3] > 0; ++c)
        texel |= static_cast<std::uint32_t>((p[c] * 255 + p[3] / 2) / p[3]) << (16 - 8 * c);
      texels.push_back(texel);
    }
    auto texture = gfx->CreateTexture(w, h, texels.data(), w, error);
    ASSERT_TRUE(texture) << error;
    texture->SetSmoothScaling(true);
    for (std::uint32_t sky : {0xFF000000u, 0xFF9CC8F0u}) {
      gfx->BeginFrame(sky);
      const float x0 = 400.0f - 5.5f * w, y0 = 300.0f - 5.5f * h, x1 = x0 + 11 * w,
                  y1 = y0 + 11 * h;
      const platform::GfxVertex quad[4] = {{x0, y0, 0xFFFFFFFFu, 0, 0},
                                           {x1, y0, 0xFFFFFFFFu, 1, 0},
                                           {x1, y1, 0xFFFFFFFFu, 1, 1},
                                           {x0, y1, 0xFFFFFFFFu, 0, 1}};
      gfx->DrawQuads(texture.get(), quad, 1);
      std::vector<std::uint32_t> frame;
      ASSERT_TRUE(gfx->ReadPixels(frame));
      int step = 0;
      for (std::size_t i = 0; i + 801 < frame.size(); ++i) {
        for (int shift : {0, 8, 16}) {
          const auto at = [&](std::size_t j) {
            return static_cast<int>(frame[j] >> shift & 0xFFu);
          };
          if (i % 800 != 799) step = std::max(step, std::abs(at(i) - at(i + 1)));
          step = std::max(step, std::abs(at(i) - at(i + 800)));
        }
      }
      EXPECT_LE(step, 4) << "frame " << f << " over " << std::hex << sky;
    }
  }
}

// ---- Contrast: the gunner against the levels it fights in, beside the hero. ----

struct Lab {
  double l, a, b;
};

Lab ToLab(double r, double g, double b) {
  auto lin = [](double c) {
    c /= 255.0;
    return c > 0.04045 ? std::pow((c + 0.055) / 1.055, 2.4) : c / 12.92;
  };
  const double R = lin(r), G = lin(g), B = lin(b);
  const double xyz[3] = {(0.4124 * R + 0.3576 * G + 0.1805 * B) / 0.95047,
                         0.2126 * R + 0.7152 * G + 0.0722 * B,
                         (0.0193 * R + 0.1192 * G + 0.9505 * B) / 1.08883};
  double f[3];
  for (int k = 0; k < 3; ++k)
    f[k] = xyz[k] > 0.008856 ? std::cbrt(xyz[k]) : 7.787 * xyz[k] + 16.0 / 116.0;
  return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

// The mean colour (in Lab) of the opaque pixels of some animations' frames, from the rows
// of their scenes between `from` and `to` (a backdrop frame starts `top` rows down its scene).
Lab MeanOf(const std::vector<std::string>& animations, double from = 0, double to = 1e9) {
  double l = 0, a = 0, b = 0;
  long n = 0;
  for (const std::string& name : animations) {
    const Sheet s(name);
    const auto& desc = testsupport::SourceAnimation(name);
    const double top = assetgen::ParamNumber(desc, desc.frames.front(), "top", 0);
    for (int f = 0; f < s.Frames(); ++f) {
      for (int y = 0; y < s.Height(); y += 2) {
        if (y + top < from || y + top >= to) continue;
        for (int x = 0; x < s.Width(); x += 2) {
          const auto p = s.At(f, x, y);
          if (p[3] < 250) continue;
          const Lab c = ToLab(p[0], p[1], p[2]);
          l += c.l, a += c.a, b += c.b, ++n;
        }
      }
    }
  }
  return n ? Lab{l / n, a / n, b / n} : Lab{};
}

double Difference(const Lab& x, const Lab& y) {
  return std::hypot(x.l - y.l, x.a - y.a, x.b - y.b);
}

struct Behind {
  const char* level;
  std::vector<std::string> layers;  // the backdrop a gunner stands against
};

void PrintTo(const Behind& b, std::ostream* os) {
  *os << b.level;
}

class GunnerContrast : public ::testing::TestWithParam<Behind> {};

// The gunner walks the floors with its body some 30 to 60 pixels up, and the camera keeps the
// floor it is on near the screen's middle: the backdrop's rows from 180 to 420 stand behind it.
TEST_P(GunnerContrast, TigerCStandsOutAsMuchAsTheHero) {
  const Lab behind = MeanOf(GetParam().layers, 180, 420);
  const double tiger = Difference(MeanOf({"tigerc_stand", "tigerc_walk"}), behind);
  const double hero = Difference(MeanOf({"hero_idle", "hero_run"}), behind);
  EXPECT_GE(tiger, hero * 0.95) << "TigerC " << tiger << ", the hero " << hero;
}

INSTANTIATE_TEST_SUITE_P(
    Levels, GunnerContrast,
    ::testing::Values(
        Behind{"factory",
               {"backdrop_factory_wall", "backdrop_factory_girders", "backdrop_factory_machines"}},
        Behind{"airship",
               {"backdrop_airship_sky", "backdrop_airship_far", "backdrop_airship_clouds"}}),
    [](const auto& info) { return std::string(info.param.level); });

// ---- The intro. ----

// A bare gradient changes by a level or two within a small block; a scene has edges in many.
TEST(IntroBackdrop, ShowsAScene) {
  const Sheet intro("IntroBackdrop");
  constexpr int kBlock = 8;
  int edged = 0, blocks = 0;
  for (int by = 0; by + kBlock <= intro.Height(); by += kBlock) {
    for (int bx = 0; bx + kBlock <= intro.Width(); bx += kBlock, ++blocks) {
      int lo = 255 * 3, hi = 0;
      for (int y = by; y < by + kBlock; ++y) {
        for (int x = bx; x < bx + kBlock; ++x) {
          const auto p = intro.At(0, x, y);
          lo = std::min(lo, p[0] + p[1] + p[2]), hi = std::max(hi, p[0] + p[1] + p[2]);
        }
      }
      edged += hi - lo >= 12;
    }
  }
  EXPECT_GE(static_cast<double>(edged) / blocks, 0.2);
}

}  // namespace
