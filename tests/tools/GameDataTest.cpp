// The generated working folder: deterministic output, sheets that hold their frames, text
// files in the token order the game reads, and the frame and polygon meanings the game's
// code relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "CollisionTable.h"
#include "GeneratedData.h"
#include "Generator.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using generated::Acd;
using generated::Tokens;

class GameData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir;
    assetgen::Generate(
        {testsupport::SourceDir() / "assets", Game(), s_dir->Path() / "contact.png"});
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  static fs::path Game() { return s_dir->Path() / "game"; }

  static Acd Animation(const std::string& relative) {
    return generated::ReadAcd(Game() / relative);
  }

  // Every animation file of the working folder, by its path relative to the folder.
  static std::map<std::string, Acd> AllAnimations() {
    std::map<std::string, Acd> all;
    for (const auto& e : fs::directory_iterator(Game() / "animations"))
      if (e.path().extension() == ".acd")
        all["animations/" + e.path().filename().string()] = generated::ReadAcd(e.path());
    return all;
  }

  struct Prototype {
    std::string name;
    std::vector<std::pair<long, std::string>> animations;
  };
  static std::vector<Prototype> ReadPrototypes(Tokens& t) {
    std::vector<Prototype> list;
    long count = t.Int();
    EXPECT_GE(count, 0);
    for (long i = 0; i < count; ++i) {
      Prototype p;
      p.name = t.Word();
      long animations = t.Int();
      EXPECT_GE(animations, 1) << p.name;
      for (long k = 0; k < animations; ++k) {
        long key = t.Int();
        p.animations.push_back({key, t.Word()});
      }
      list.push_back(p);
    }
    return list;
  }

  static testsupport::TempDir* s_dir;
};

testsupport::TempDir* GameData::s_dir = nullptr;

std::map<std::string, std::string> FolderBytes(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      files[fs::relative(e.path(), root).string()] = generated::ReadBytes(e.path());
  return files;
}

bool Held(const generated::Frame& f, int index) {
  return f.ticks == 0 && f.next == index;
}

TEST_F(GameData, TwoRunsProduceTheSameBytes) {
  testsupport::TempDir second;
  assetgen::Generate(
      {testsupport::SourceDir() / "assets", second / "game", second / "contact.png"});
  auto a = FolderBytes(Game()), b = FolderBytes(second / "game");
  ASSERT_EQ(a.size(), b.size());
  for (const auto& [path, bytes] : a) {
    ASSERT_TRUE(b.count(path)) << path;
    EXPECT_TRUE(b[path] == bytes) << path << " differs between runs";
  }
  EXPECT_EQ(generated::ReadBytes(s_dir->Path() / "contact.png"),
            generated::ReadBytes(second / "contact.png"));
}

TEST_F(GameData, EverySheetHoldsItsFramesInTheGridTheGameCuts) {
  for (const auto& [path, acd] : AllAnimations()) {
    SCOPED_TRACE(path);
    EXPECT_EQ("animations/" + acd.name + ".acd", path);  // stored name = file stem
    auto [w, h] = generated::PngSize(Game() / "animations" / (acd.name + ".png"));
    ASSERT_GT(acd.width, 0);
    ASSERT_GT(acd.height, 0);
    ASSERT_LE(acd.width, w);
    ASSERT_LE(acd.height, h);
    int fw = static_cast<int>(acd.width), fh = static_cast<int>(acd.height);
    EXPECT_EQ(w % fw, 0);
    EXPECT_EQ(h % fh, 0);
    int columns = w / fw, rows = h / fh, frames = static_cast<int>(acd.frames.size());
    EXPECT_GE(columns * rows, frames);
    EXPECT_GT(frames, (rows - 1) * columns) << "an empty row of frames";
  }
}

TEST_F(GameData, EveryFrameLinkAndPolygonIsOneTheGameCanUse) {
  std::ifstream table(Game() / "clsntypes.ctt", std::ios::binary);
  ASSERT_TRUE(table);
  for (const auto& [path, acd] : AllAnimations()) {
    SCOPED_TRACE(path);
    const int count = static_cast<int>(acd.frames.size());
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
      const auto& f = acd.frames[i];
      EXPECT_TRUE(f.next >= 0 && f.next < count) << "frame " << i;
      EXPECT_GE(f.ticks, 0);
      for (const auto& p : f.polygons) {
        EXPECT_TRUE(p.type >= 0 && p.type < assetgen::kCollisionTypeCount);
        ASSERT_FALSE(p.vertices.empty());
        if (p.vertices.size() == 1) {
          EXPECT_GT(p.vertices[0].radius, 0);
        }
      }
    }
  }
}

TEST_F(GameData, GameListHasTwelveStateListsOfExistingLevels) {
  Tokens t(Game() / "Gold.vt");
  long start = t.Int(), index = t.Int();
  EXPECT_TRUE(start >= 1 && start <= 12);
  std::map<long, std::vector<std::string>> states;
  for (long s = 1; s <= 12; ++s) {
    long count = t.Int();
    ASSERT_GE(count, 0);
    for (long k = 0; k < count; ++k) {
      states[s].push_back(t.Word());
      std::string file = t.Word();
      EXPECT_EQ(file.find('/'), std::string::npos) << "levels stay in the working folder";
      EXPECT_TRUE(fs::exists(Game() / file)) << file;
    }
  }
  EXPECT_TRUE(t.AtEnd());
  EXPECT_TRUE(index >= 0 && index < static_cast<long>(states[start].size()));
  EXPECT_TRUE(states[10].empty()) << "level complete must not load a level";
  EXPECT_FALSE(states[8].empty());
}

TEST_F(GameData, SoundListNamesEverySoundTheCodeAndTheFramesPlay) {
  Tokens t(Game() / "Sounds.vtse");
  long count = t.Int();
  std::set<std::string> names;
  for (long i = 0; i < count; ++i) {
    std::string name = t.Word(), file = t.Word();
    EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
    std::string bytes = generated::ReadBytes(Game() / file);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF") << file;
    EXPECT_GT(bytes.size(), 44u) << file;
  }
  EXPECT_TRUE(t.AtEnd());
  for (const char* played : {"earthquake", "HUD_complete", "powerup", "core_collection",
                             "core_explosion", "explosion", "menu_load", "ZODIRAZO_SHOOT"})
    EXPECT_TRUE(names.count(played)) << played;
  for (const auto& [path, acd] : AllAnimations())
    for (const auto& f : acd.frames)
      if (!f.sound.empty()) {
        EXPECT_TRUE(names.count(f.sound)) << path << " plays " << f.sound;
      }
}

TEST_F(GameData, SpriteListPrototypesUseExistingUniquelyNamedAnimations) {
  Tokens t(Game() / "SpriteList.vtsl");
  auto prototypes = ReadPrototypes(t);
  EXPECT_TRUE(t.AtEnd());
  std::map<std::string, std::set<long>> keys;
  std::map<std::string, std::string> fileOfName;
  for (const auto& p : prototypes) {
    for (const auto& [key, file] : p.animations) {
      keys[p.name].insert(key);
      Acd acd = Animation(file);
      auto [it, fresh] = fileOfName.insert({acd.name, file});
      EXPECT_TRUE(fresh || it->second == file) << acd.name << " is stored in two files";
    }
  }
  EXPECT_EQ(keys["ZodirazO"],
            (std::set<long>{1, 2, 3, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22}));
  EXPECT_EQ(keys["Shot"], (std::set<long>{3, 4, 5, 6, 8, 9, 10, 12, 13, 14}));
  for (const char* name : {"Flash", "Spark", "Powerup"}) EXPECT_TRUE(keys.count(name)) << name;
}

TEST_F(GameData, HeroFramesKeepTheirBodyAndWeaponWhereTheCodeLooks) {
  Tokens t(Game() / "SpriteList.vtsl");
  auto prototypes = ReadPrototypes(t);
  auto hero = std::find_if(prototypes.begin(), prototypes.end(),
                           [](const Prototype& p) { return p.name == "ZodirazO"; });
  ASSERT_NE(hero, prototypes.end());
  std::unique_ptr<generated::Polygon> solid;
  std::map<long, Acd> byState;
  for (const auto& [key, file] : hero->animations) byState[key] = Animation(file);
  for (const auto& [state, acd] : byState) {
    SCOPED_TRACE(acd.name);
    for (const auto& f : acd.frames) {
      ASSERT_GE(f.polygons.size(), 2u);
      const auto& p0 = f.polygons[0];
      EXPECT_EQ(p0.type, assetgen::kHeroSolid);
      EXPECT_EQ(f.polygons[1].type, assetgen::kHeroBody);
      if (!solid) solid = std::make_unique<generated::Polygon>(p0);
      ASSERT_EQ(p0.vertices.size(), solid->vertices.size()) << "polygon 0 changes shape";
      for (size_t v = 0; v < p0.vertices.size(); ++v) {
        EXPECT_EQ(p0.vertices[v].x, solid->vertices[v].x);
        EXPECT_EQ(p0.vertices[v].y, solid->vertices[v].y);
      }
      if (f.polygons.size() > 2) {
        int weapon = f.polygons[2].type;
        EXPECT_TRUE(weapon == assetgen::kHeroWeapon || weapon == assetgen::kMarker);
      }
    }
  }
  // Solid sides exactly vertical, bottom flat at the origin (the feet).
  ASSERT_EQ(solid->vertices.size(), 4u);
  std::set<float> xs, bottoms;
  for (const auto& v : solid->vertices) xs.insert(v.x);
  EXPECT_EQ(xs.size(), 2u);
  EXPECT_EQ(std::max_element(solid->vertices.begin(), solid->vertices.end(),
                             [](auto& a, auto& b) { return a.y < b.y; })
                ->y,
            0.0f);

  // Swings run forward and end on a timed last frame, longer than the combo window.
  std::ifstream ini(Game() / "data" / "ZodirazO.ini");
  std::string line;
  std::vector<double> values;
  while (std::getline(ini, line)) values.push_back(std::stod(line));
  for (long state : {3, 4, 5, 6, 8, 9, 10, 12, 13, 14}) {
    const Acd& swing = byState.at(state);
    SCOPED_TRACE(swing.name);
    int last = static_cast<int>(swing.frames.size()) - 1, total = 0;
    for (int i = 0; i < last; ++i) EXPECT_GT(swing.frames[i].next, i);
    for (const auto& f : swing.frames) total += f.ticks;
    EXPECT_LE(swing.frames[last].next, last);
    EXPECT_GT(swing.frames[last].ticks, 0);
    EXPECT_LT(values.at(20), total) << "the combo window outlasts the swing";
  }
  // The gun fires from polygon 2's first vertex on its last frame, then may fire again.
  const Acd& gun = byState.at(15);
  const auto& fire = gun.frames.back();
  int lastGun = static_cast<int>(gun.frames.size()) - 1;
  ASSERT_GE(fire.polygons.size(), 3u);
  EXPECT_GE(fire.ticks, 1);
  EXPECT_LT(fire.next, lastGun);
  EXPECT_GT(fire.polygons[2].vertices[0].x, solid->vertices[1].x) << "muzzle ahead of the body";
  // Stride holds still on frame 0 and loops its dash from frame 1.
  const Acd& stride = byState.at(16);
  EXPECT_GT(stride.frames[0].ticks, 0);
  EXPECT_EQ(stride.frames.back().next, 1);
  // Stride and Cyclone weapons reach past the solid body, or tires would never be hit.
  float solidRight = std::max(solid->vertices[0].x, solid->vertices[1].x);
  for (long state : {16, 17}) {
    for (size_t i = state == 16 ? 1 : 0; i < byState.at(state).frames.size(); ++i) {
      const auto& f = byState.at(state).frames[i];
      ASSERT_GE(f.polygons.size(), 3u) << state;
      EXPECT_EQ(f.polygons[2].type, assetgen::kHeroWeapon);
      float reach = -1e9f;
      for (const auto& v : f.polygons[2].vertices) reach = std::max(reach, v.x + v.radius);
      EXPECT_GT(reach, solidRight + 10) << state;
    }
  }
}

TEST_F(GameData, HudAnimationsGiveTheirFramesTheMeaningsTheHudUses) {
  auto held = [](const Acd& a, int from, int to) {
    for (int i = from; i <= to; ++i)
      if (!Held(a.frames.at(i), i)) return false;
    return true;
  };
  for (const char* name :
       {"orbs", "CrackedOrb", "BreakWhiteOrb", "BreakRedOrb", "BreakGreenOrb", "BreakBlueOrb",
        "HUDWindow", "CoreStart", "CoreDefault", "CoreStride", "CoreWallJump", "CoreCyclone",
        "CoreSuperJump", "EnergyBar", "EnergyMeter", "HUDLabel"}) {
    Acd a = Animation(std::string("animations/") + name + ".acd");
    EXPECT_EQ(a.name, name);
    for (const auto& f : a.frames) EXPECT_TRUE(f.polygons.empty()) << name;
  }
  Acd orbs = Animation("animations/orbs.acd");
  EXPECT_EQ(orbs.width, 32);
  ASSERT_GE(orbs.frames.size(), 5u);
  EXPECT_TRUE(held(orbs, 0, 4));
  EXPECT_TRUE(held(Animation("animations/CrackedOrb.acd"), 0, 1));
  for (const char* colour : {"White", "Red", "Green", "Blue"}) {
    Acd shards = Animation(std::string("animations/Break") + colour + "Orb.acd");
    ASSERT_GE(shards.frames.size(), 13u);
    EXPECT_TRUE(held(shards, 0, 12)) << colour;
  }
  for (const char* chip :
       {"CoreDefault", "CoreStride", "CoreWallJump", "CoreCyclone", "CoreSuperJump"}) {
    Acd a = Animation(std::string("animations/") + chip + ".acd");
    ASSERT_GE(a.frames.size(), 2u);
    EXPECT_TRUE(held(a, 0, 1)) << chip;
  }
  // The hidden clock passes through frames 5 and 8 forever.
  Acd clock = Animation("animations/CoreStart.acd");
  ASSERT_GE(clock.frames.size(), 9u);
  std::set<int> seen;
  int frame = 1;
  for (int step = 0; step < 40; ++step) {
    ASSERT_GT(clock.frames.at(frame).ticks, 0) << "the clock stops at frame " << frame;
    seen.insert(frame);
    frame = clock.frames.at(frame).next;
  }
  EXPECT_TRUE(seen.count(5) && seen.count(8));
  // Labels: resting frames 0 and 8 are held and lead into a timed flash that returns to
  // them; frame 16 is the static label.
  Acd label = Animation("animations/HUDLabel.acd");
  ASSERT_GE(label.frames.size(), 17u);
  for (int rest : {0, 8}) {
    EXPECT_EQ(label.frames[rest].ticks, 0);
    EXPECT_EQ(label.frames[rest].next, rest + 1);
    for (int i = rest + 1; i <= rest + 7; ++i) EXPECT_GT(label.frames[i].ticks, 0) << i;
    EXPECT_EQ(label.frames[rest + 7].next, rest);
  }
  EXPECT_TRUE(Held(label.frames[16], 16));
  // The bar is scaled about its origin: the origin is its left end.
  EXPECT_EQ(Animation("animations/EnergyBar.acd").frames[0].offsetX, 0.0f);
  Acd bound = Animation("animations/VerticalBound.acd");
  ASSERT_EQ(bound.frames[0].polygons.size(), 1u);
  EXPECT_EQ(bound.frames[0].polygons[0].type, assetgen::kGround);
}

TEST_F(GameData, EffectsAndPickupsCarryTheFramesAndPolygonsTheirBehavioursUse) {
  Tokens t(Game() / "SpriteList.vtsl");
  std::map<std::string, Acd> first;
  for (const auto& p : ReadPrototypes(t)) first[p.name] = Animation(p.animations[0].second);
  const Acd& flash = first.at("Flash");
  ASSERT_GE(flash.frames.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(Held(flash.frames[i], i));
    EXPECT_TRUE(flash.frames[i].polygons.empty());
  }
  const Acd& spark = first.at("Spark");
  ASSERT_EQ(spark.frames.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(Held(spark.frames[i], i));
    ASSERT_FALSE(spark.frames[i].polygons.empty());
    EXPECT_EQ(spark.frames[i].polygons[0].type, assetgen::kSmallSolid);
  }
  const Acd& powerup = first.at("Powerup");
  ASSERT_GE(powerup.frames.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(Held(powerup.frames[i], i));
    ASSERT_GE(powerup.frames[i].polygons.size(), 2u);
    EXPECT_EQ(powerup.frames[i].polygons[0].type, assetgen::kSmallSolid);
    EXPECT_EQ(powerup.frames[i].polygons[1].type, assetgen::kPickup);
  }
  const Acd& shot = first.at("Shot");
  for (const auto& f : shot.frames) {
    ASSERT_FALSE(f.polygons.empty());
    EXPECT_EQ(f.polygons[0].type, assetgen::kHeroShot);
  }
}

TEST_F(GameData, TestLevelReadsSectionBySectionAndNamesKnownPrototypes) {
  Tokens list(Game() / "SpriteList.vtsl");
  std::set<std::string> known;
  for (const auto& p : ReadPrototypes(list)) known.insert(p.name);

  Tokens t(Game() / "test.lvl");
  for (const auto& p : ReadPrototypes(t)) {  // 1: the level's own prototypes
    known.insert(p.name);
    for (const auto& [key, file] : p.animations) EXPECT_NO_THROW(Animation(file)) << file;
  }
  std::string ambient = t.Word();  // 2: music
  if (ambient != "0") {
    EXPECT_TRUE(fs::exists(Game() / ambient));
  }
  long tracks = t.Int();
  EXPECT_GE(tracks, 1);
  for (long i = 0; i < tracks; ++i) {
    EXPECT_TRUE(fs::exists(Game() / t.Word()));
    t.Word();  // mode
  }
  auto scenery = [&] {  // 3 and 5
    long count = t.Int();
    for (long i = 0; i < count; ++i) {
      Acd acd = Animation(t.Word());
      for (const auto& f : acd.frames) EXPECT_TRUE(f.polygons.empty()) << acd.name;
      for (int k = 0; k < 8; ++k) t.Float();
    }
  };
  std::vector<double> ys;
  auto objects = [&](bool main) {  // 4, 6 and 7
    long count = t.Int();
    EXPECT_GE(count, 0);
    for (long i = 0; i < count; ++i) {
      std::string name = t.Word();
      EXPECT_TRUE(known.count(name)) << name << " is no prototype";
      t.Float();
      double y = t.Float();
      if (main) ys.push_back(y);
      EXPECT_GE(t.Int(), 0);  // frame
      t.Int();
      t.Float();
    }
  };
  scenery();
  objects(false);
  scenery();
  objects(false);
  long xLower = t.Int(), yLower = t.Int(), xUpper = t.Int(), yUpper = t.Int();
  EXPECT_TRUE(xLower < xUpper && yLower < yUpper);
  EXPECT_NE(yUpper, -1) << "a playable level needs a bottom bound";
  objects(true);
  EXPECT_EQ(t.Word(), "ZodirazO");  // 8: the player
  double px = t.Float(), py = t.Float();
  t.Int();
  EXPECT_TRUE(px > xLower && px < xUpper && py > yLower && py < yUpper);
  for (double y : ys) EXPECT_LT(y, yUpper) << "objects below the bottom bound";
  EXPECT_EQ(t.Int(), 0);  // 9: enemies
  EXPECT_EQ(t.Int(), 0);  // 10: triggers
  EXPECT_TRUE(t.AtEnd());
}

TEST_F(GameData, HeroTuningHoldsFortyTwoNumbersWithTheWindowsGiven) {
  std::ifstream in(Game() / "data" / "ZodirazO.ini");
  std::string line;
  std::vector<double> v;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    double value = 0;
    ASSERT_TRUE(s >> value) << "line " << v.size() + 1 << " does not start with a number";
    v.push_back(value);
  }
  ASSERT_EQ(v.size(), 42u);
  EXPECT_LT(v[19], v[20]) << "the combo window must open before it closes";
  EXPECT_GT(v[21], 0) << "combo message window";
  EXPECT_LT(v[23], v[22]) << "a full start leaves the HUD's bar empty until the first drain";
}

TEST_F(GameData, ScoresAreFourSortedBlocksOfTenEachFollowedByAnEmptyLine) {
  std::ifstream in(Game() / "Scores.vths", std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 44u);
  for (int block = 0; block < 4; ++block) {
    EXPECT_TRUE(lines[block * 11 + 10].empty());
    long previous = 0;
    for (int row = 0; row < 10; ++row) {
      const std::string& entry = lines[block * 11 + row];
      auto tab = entry.find('\t');
      ASSERT_NE(tab, std::string::npos) << entry;
      long value = std::stol(entry.substr(0, tab));
      std::string name = entry.substr(tab + 1);
      EXPECT_LE(name.size(), 9u) << name;
      EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-' "),
                std::string::npos)
          << name;
      bool scores = block % 2 == 0;
      if (row > 0) {
        EXPECT_TRUE(scores ? value <= previous : value >= previous) << entry;
      }
      previous = value;
    }
  }
}

}  // namespace
