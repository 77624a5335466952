// The ".acd" file: round trips and layout, damaged files, the frame-grid checks,
// and the owning animation list.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "animationlib/AnimationCollection.h"
#include "support/TempDir.h"

namespace {

std::string Bytes(const Animation& animation) {
  std::ostringstream out;
  animation.WriteBody(out);
  return out.str();
}

bool ReadBytes(Animation& animation, const std::string& bytes) {
  std::istringstream in(bytes);
  return animation.ReadBody(in);
}

// One frame with an origin, a square shape with a circle corner and a sound, one bare.
Animation HeroAnimation() {
  CollisionPolygon square(
      2, {CollisionVertex(Vector2(0, 0)), CollisionVertex(Vector2(16, 0)),
          CollisionVertex(Vector2(16, 16)), CollisionVertex(Vector2(0, 16), 2.5f)});
  Animation animation("hero", Vector2(64, 48));
  animation.GetFrames().emplace_back(1, 3, Vector2(10.5f, 20), CollisionShape({square}), "Step");
  animation.GetFrames().emplace_back(0, 0, Vector2(0, 0));
  return animation;
}

TEST(AnimationFile, WrittenFileReadsBackAsTheSameAnimation) {
  testsupport::TempDir dir;
  const std::string path = (dir / "hero.acd").string();
  ASSERT_TRUE(HeroAnimation().Save(path));

  Animation loaded;
  ASSERT_TRUE(loaded.Load(path)) << loaded.GetLoadError();
  EXPECT_EQ(loaded.GetName(), "hero");
  EXPECT_EQ(loaded.GetFrameSize(), Vector2(64, 48));
  ASSERT_EQ(loaded.GetFrameCount(), 2);
  const AnimationFrame& first = loaded.GetFrames()[0];
  EXPECT_EQ(first.GetOffset(), Vector2(10.5f, 20));
  EXPECT_EQ(first.GetNextFrame(), 1);
  EXPECT_EQ(first.GetTicks(), 3);
  EXPECT_EQ(first.GetSoundName(), "Step");
  const CollisionPolygon& polygon = first.GetShape().GetPolygon(0);
  EXPECT_EQ(polygon.GetType(), 2);
  EXPECT_EQ(polygon.GetVertex(3).GetRadius(), 2.5f);
  EXPECT_EQ(polygon.GetTriangles().size(), 2u);  // triangulated on reading
  EXPECT_EQ(loaded.GetFrames()[1].GetSoundName(), "");
  EXPECT_EQ(Bytes(loaded), Bytes(HeroAnimation()));
}

TEST(AnimationFile, EmptyNameBareFrameAndNoFramesKeepTheirLayout) {
  Animation bare("", Vector2(0, 0));
  bare.GetFrames().emplace_back(0, 7, Vector2(1, 2));
  const std::string bytes = Bytes(bare);
  // name 1 + sizes 8 + count 4 + frame (offset 8, next 4, ticks 4, shape 4, sound 1)
  ASSERT_EQ(bytes.size(), 13u + 21u);
  EXPECT_EQ(bytes.front(), '\0');
  EXPECT_EQ(bytes.substr(bytes.size() - 5), std::string(5, '\0'));  // no polygons, no sound
  Animation back("stale", Vector2(3, 3));
  ASSERT_TRUE(ReadBytes(back, bytes)) << back.GetLoadError();
  EXPECT_EQ(Bytes(back), bytes);

  const std::string none = Bytes(Animation("none", Vector2(32, 32)));
  EXPECT_EQ(none.size(), 5u + 12u);
  ASSERT_TRUE(ReadBytes(back, none));
  EXPECT_EQ(back.GetFrameCount(), 0);
  EXPECT_EQ(back.GetName(), "none");
}

TEST(AnimationFile, DamagedFilesAreErrorsThatLeaveNoFrames) {
  const std::string whole = Bytes(HeroAnimation());
  for (std::size_t length = 0; length < whole.size(); ++length) {
    Animation animation;
    EXPECT_FALSE(ReadBytes(animation, whole.substr(0, length))) << length;
    EXPECT_EQ(animation.GetFrameCount(), 0) << length;
    EXPECT_EQ(animation.GetFrameSize(), Vector2(0, 0)) << length;
  }
  Animation animation;
  EXPECT_FALSE(ReadBytes(animation, whole.substr(0, whole.size() - 3)));
  EXPECT_EQ(animation.GetName(), "hero");  // a complete name survives
  EXPECT_NE(animation.GetLoadError().find("ends inside frame 1 of 2"), std::string::npos);

  // A frame count of four billion with nothing behind it ends at the data.
  const std::string huge = whole.substr(0, 5 + 8) + std::string(4, '\xFF');
  EXPECT_FALSE(ReadBytes(animation, huge));
  EXPECT_NE(animation.GetLoadError().find("frame 0 of 4294967295"), std::string::npos)
      << animation.GetLoadError();

  // A polygon count beyond any shape, with data behind it.
  std::string polygons = whole;
  polygons.replace(5 + 12 + 16, 4, std::string("\xFF\xFF\xFF\x7F", 4));  // first polygon count
  EXPECT_FALSE(ReadBytes(animation, polygons));
  EXPECT_NE(animation.GetLoadError().find("impossible counts"), std::string::npos);

  // A frame leading to a frame that is not there, and sizes that are no size.
  Animation broken("broken", Vector2(16, 16));
  broken.GetFrames().emplace_back(2, 1, Vector2());
  EXPECT_FALSE(ReadBytes(animation, Bytes(broken)));
  EXPECT_NE(animation.GetLoadError().find("frame 0 leads to frame 2"), std::string::npos);
  for (float bad : {-4.0f, std::nanf(""), INFINITY}) {
    EXPECT_FALSE(ReadBytes(animation, Bytes(Animation("sized", Vector2(16, bad))))) << bad;
  }
}

TEST(AnimationFile, LoadErrorsNameTheFile) {
  testsupport::TempDir dir;
  Animation animation;
  const std::string missing = (dir / "nothing.acd").string();
  EXPECT_FALSE(animation.Load(missing));
  EXPECT_NE(animation.GetLoadError().find(missing), std::string::npos);
  std::ofstream(dir / "short.acd", std::ios::binary) << "hero";
  EXPECT_FALSE(animation.Load((dir / "short.acd").string()));
  EXPECT_NE(animation.GetLoadError().find("short.acd"), std::string::npos);
}

TEST(FrameGrid, CountsWholeFramesOfTheImageOnceBothSizesAreKnown) {
  Animation animation("grid", Vector2(64, 64), Vector2(200, 130));
  EXPECT_EQ(animation.GetGridColumns(), 3);
  EXPECT_EQ(animation.GetGridFrameCount(), 6);
  Animation unknown("later", Vector2(500, 0), Vector2(200, 130));
  unknown.SetImageSize(Vector2(0, 0));
  unknown.SetFrameSize(Vector2(-3, 900));
}

TEST(FrameGridDeathTest, FrameThatIsNotPositiveOrExceedsTheImageAsserts) {
  EXPECT_DEATH(Animation("big", Vector2(64, 131), Vector2(200, 130)),
               "Assertion failed: m_framesize.X\\(\\) <= m_imagesize.X\\(\\) && "
               "m_framesize.Y\\(\\) <= m_imagesize.Y\\(\\), file animationlib/Animation.cpp");
  Animation later("later", Vector2(-64, 64));
  EXPECT_DEATH(later.SetImageSize(Vector2(200, 130)),
               "Assertion failed: m_framesize.X\\(\\) > 0 && m_framesize.Y\\(\\) > 0");
}

// Logs its deletion, to check what the list owns and in which order it lets go.
class LoggedAnimation : public Animation {
 public:
  LoggedAnimation(const std::string& name, std::string& log) : Animation(name), m_log(log) {}
  ~LoggedAnimation() override { m_log += GetName() + " "; }

 private:
  std::string& m_log;
};

TEST(AnimationCollection, FindsTheFirstByNameAndOwnsWhatItHolds) {
  std::string deleted;
  LoggedAnimation outsider("outsider", deleted);
  {
    AnimationCollection pool;
    auto* first = new LoggedAnimation("orbs", deleted);
    auto* twin = new LoggedAnimation("orbs", deleted);
    pool.Add(first);
    pool.Add(twin);
    pool.Add(new LoggedAnimation("hud", deleted));
    EXPECT_EQ(pool.Find("orbs"), first);
    EXPECT_EQ(pool.Find("Orbs"), nullptr);
    EXPECT_FALSE(pool.Remove(&outsider));
    EXPECT_TRUE(pool.Remove(first));
    EXPECT_EQ(pool.Find("orbs"), twin);
    pool.Add(new LoggedAnimation("last", deleted));
  }
  EXPECT_EQ(deleted, "orbs last hud orbs ");  // cleared from the last to the first
}

}  // namespace
