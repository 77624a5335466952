// The animation source reader: defaults, shape ownership, copies and the faults it reports.
#include <gtest/gtest.h>

#include "AnimationSource.h"
#include "CollisionTable.h"

namespace assetgen {
namespace {

std::vector<AnimationDesc> Parse(const std::string& text) {
  return ParseAnimations(text, "t.anim");
}

// The message of the SourceError that parsing `text` (then checking it) throws.
std::string Fault(const std::string& text) {
  try {
    CheckAnimations(Parse(text));
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

TEST(AnimationSourceFrames, NextRunsForwardAndTheLastLoopsToTheLoopFrame) {
  auto anims = Parse(
      "animation a\npainter hero\nsize 8 8\nticks 5\nframes 3\n"
      "animation b\npainter hero\nsize 8 8\nframes 4 ticks=2\nloop 1\n"
      "animation c\npainter hero\nsize 8 8\nframes 2\nloop self\n");
  ASSERT_EQ(anims.size(), 3u);
  EXPECT_EQ(anims[0].frames[0].next, 1);
  EXPECT_EQ(anims[0].frames[2].next, 0);
  EXPECT_EQ(anims[0].frames[2].ticks, 5);
  EXPECT_EQ(anims[1].frames[3].next, 1);
  EXPECT_EQ(anims[1].frames[3].ticks, 2);
  EXPECT_EQ(anims[2].frames[1].next, 1);
}

TEST(AnimationSourceFrames, FrameKeysSetLinksSoundsOffsetsAndPainterParameters) {
  auto anims = Parse(
      "animation a\npainter hero pose=idle\nsize 16 16\noffset 8 15\n"
      "frame next=self ticks=0 sound=step pose=run\n"
      "frames 2 from=4 n=9 offset=1.5,2\n");
  const auto& f = anims[0].frames;
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].next, 0);
  EXPECT_EQ(f[0].sound, "step");
  EXPECT_FLOAT_EQ(f[0].offsetX, 8);
  EXPECT_FLOAT_EQ(f[0].offsetY, 15);
  EXPECT_EQ(ParamText(anims[0], f[0], "pose", ""), "run");
  EXPECT_EQ(ParamText(anims[0], f[1], "pose", ""), "idle");
  EXPECT_EQ(ParamNumber(anims[0], f[2], "i", -1), 5);
  EXPECT_EQ(ParamNumber(anims[0], f[2], "n", -1), 9);
  EXPECT_FLOAT_EQ(f[2].offsetX, 1.5f);
  EXPECT_TRUE(f[1].params.count("from") == 0);
}

TEST(AnimationSourceShapes, SharedPolygonsComeFirstInEveryFrame) {
  auto anims = Parse(
      "animation a\npainter hero\nsize 16 16\n"
      "box HERO_SOLID -2 -4 2 0\ncircle PICKUP 0 0 3\n"
      "frame\nframes 2\npoly HERO_WEAPON 0,0 4,0,1.5 4,4\n");
  const AnimationDesc& a = anims[0];
  auto first = a.Shape(0), last = a.Shape(2);
  ASSERT_EQ(first.size(), 2u);
  ASSERT_EQ(last.size(), 3u);
  EXPECT_EQ(last[0].type, kHeroSolid);
  EXPECT_EQ(last[1].type, kPickup);
  EXPECT_FLOAT_EQ(last[1].vertices[0].radius, 3);
  EXPECT_EQ(last[2].type, kHeroWeapon);
  EXPECT_FLOAT_EQ(last[2].vertices[1].radius, 1.5f);
  EXPECT_EQ(a.Shape(1).size(), 3u);
  // Box corners go round the rectangle from its top-left.
  EXPECT_FLOAT_EQ(first[0].vertices[2].x, 2);
  EXPECT_FLOAT_EQ(first[0].vertices[2].y, 0);
}

TEST(AnimationSourceShapes, CopyKeepsFramesAndShapesAndMergesPainterParameters) {
  auto anims = Parse(
      "animation a\npainter shot color=plain level=0\nsize 8 8\nbox HERO_SHOT -1 -1 1 1\n"
      "frames 2 ticks=3\n"
      "animation b\ncopy a\npainter shot color=red\n");
  const AnimationDesc& b = anims[1];
  EXPECT_EQ(b.name, "b");
  EXPECT_EQ(b.frames.size(), 2u);
  EXPECT_EQ(b.Shape(1).size(), 1u);
  EXPECT_EQ(b.painterParams.at("color"), "red");
  EXPECT_EQ(b.painterParams.at("level"), "0");
  EXPECT_EQ(anims[0].painterParams.at("color"), "plain");
}

TEST(AnimationSourceSheet, ColumnsFitTheSheetWidthAndRowsHoldTheRest) {
  auto anims = Parse(
      "animation a\npainter hero\nsize 300 10\nframes 8\n"
      "animation b\npainter hero\nsize 10 10\ncolumns 3\nframes 7\n");
  EXPECT_EQ(anims[0].SheetColumns(), 6);  // 6 * 300 <= 2048
  EXPECT_EQ(anims[0].SheetRows(), 2);
  EXPECT_EQ(anims[1].SheetColumns(), 3);
  EXPECT_EQ(anims[1].SheetRows(), 3);
}

TEST(AnimationSourceFaults, ReportTheFileLineAndWhatIsWrong) {
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 8 8\nbogus 1\n"),
            "t.anim:4: unknown directive 'bogus'");
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 8 8\nbox LAVA 0 0 1 1\nframe\n"),
            "t.anim:4: unknown collision type 'LAVA'");
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 8 8\nframe\npoly GROUND 1;2\n"),
            "t.anim:5: vertex '1;2' is not x,y or x,y,r");
  EXPECT_EQ(Fault("size 8 8\n"), "t.anim:1: directive before any 'animation' line");
  EXPECT_EQ(Fault("animation a\npainter hero\nframe\n"), "t.anim:3: animation 'a' has no size");
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 0 8\n"), "t.anim:3: '0' is outside 1..4096");
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 8 8\nframe\nanimation b\ncopy a\n"
                  "box GROUND 0 0 1 1\n"),
            "t.anim:7: shapes after 'copy' need a frame line first");
  EXPECT_EQ(Fault("animation a\npainter hero\nsize 8 8\nframe ticks=-1\n"),
            "t.anim:4: '-1' is outside 0..1000000");
}

TEST(AnimationSourceFaults, SetLevelChecksCatchWhatTheGameWouldTripOver) {
  EXPECT_NE(Fault("animation a\npainter hero\nsize 8 8\nframe next=3\n")
                .find("frame 0: next frame 3 does not exist"),
            std::string::npos);
  EXPECT_NE(Fault("animation a\npainter hero\nsize 8 8\nframe\nanimation a\npainter hero\n"
                  "size 8 8\nframe\n")
                .find("the name is used twice"),
            std::string::npos);
  EXPECT_NE(Fault("animation a\npainter hero\nsize 8 8\nframe\npoly MARKER 1,1\n")
                .find("a one-vertex polygon needs a radius"),
            std::string::npos);
  EXPECT_NE(Fault("animation a/b\npainter hero\nsize 8 8\nframe\n").find("the name must be"),
            std::string::npos);
}

TEST(CollisionTypeNames, NamesAndNumbersResolveAndOutOfRangeDoesNot) {
  EXPECT_EQ(CollisionTypeFromName("ENEMY_BODY"), kEnemyBody);
  EXPECT_EQ(CollisionTypeFromName("11"), kCrate);
  EXPECT_FALSE(CollisionTypeFromName("12").has_value());
  EXPECT_FALSE(CollisionTypeFromName("-1").has_value());
  EXPECT_FALSE(CollisionTypeFromName("ground").has_value());
  EXPECT_STREQ(CollisionTypeName(kHeroShot), "HERO_SHOT");
}

}  // namespace
}  // namespace assetgen
