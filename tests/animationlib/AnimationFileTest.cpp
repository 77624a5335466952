// The ".acd" file: round trips and layout, damaged files, the frame-grid checks,
// and the owning animation list.
#include <gtest/gtest.h>

#include <climits>
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

TEST(AnimationFile, WrittenFilesReadBackAsTheSameAnimation) {
  testsupport::TempDir dir;
  const std::string path = (dir / "file.acd").string();
  Animation bare("", Vector2(0, 0));  // no name, a frame with neither shape nor sound
  bare.GetFrames().emplace_back(0, 7, Vector2(1, 2));
  // name + 1, sizes 8, count 4; per frame offset 8, next 4, ticks 4, shape 4, sound + 1
  for (auto [animation, size] :
       {std::pair{bare, 13u + 21u}, {Animation("none", {32, 32}), 17u}, {HeroAnimation(), 0u}}) {
    ASSERT_TRUE(animation.Save(path));
    Animation loaded("stale", Vector2(3, 3));
    loaded.GetFrames().resize(4);
    ASSERT_TRUE(loaded.Load(path)) << loaded.GetLoadError();
    EXPECT_EQ(Bytes(loaded), Bytes(animation));
    if (size != 0) {
      EXPECT_EQ(Bytes(loaded).size(), size);
    }
  }
  Animation hero;  // the last file written
  ASSERT_TRUE(hero.Load(path));
  const AnimationFrame& first = hero.GetFrames()[0];
  EXPECT_EQ(first.GetOffset(), Vector2(10.5f, 20));
  EXPECT_EQ(first.GetSoundName(), "Step");
  EXPECT_EQ(first.GetShape().GetPolygon(0).GetVertex(3).GetRadius(), 2.5f);
  EXPECT_EQ(first.GetShape().GetPolygon(0).GetTriangles().size(), 2u);  // triangulated on reading
}

TEST(AnimationFile, DamagedFilesAreErrorsThatNameTheFileAndLeaveNoFrames) {
  const std::string whole = Bytes(HeroAnimation());
  auto fails = [](const std::string& bytes) {
    Animation animation;
    std::istringstream in(bytes);
    EXPECT_FALSE(animation.ReadBody(in));
    EXPECT_EQ(animation.GetFrameCount(), 0);
    EXPECT_EQ(animation.GetFrameSize(), Vector2(0, 0));
    return animation.GetLoadError();
  };
  for (std::size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    fails(whole.substr(0, length));
  }
  std::string polygons = whole;  // the first polygon count, beyond any shape
  polygons.replace(5 + 12 + 16, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  Animation broken("broken", Vector2(16, 16));
  broken.GetFrames().emplace_back(2, 1, Vector2());
  Animation frozen("frozen", Vector2(16, 16));
  frozen.GetFrames().emplace_back(0, INT_MIN, Vector2());
  Animation endless("endless", Vector2(16, 16));
  endless.GetFrames().emplace_back(0, AnimationFrame::kMaxTicks + 1, Vector2());
  const std::pair<std::string, std::string> cases[] = {
      {whole.substr(0, whole.size() - 3), "ends inside frame 1 of 2"},
      // four billion frames with nothing behind them end at the data
      {whole.substr(0, 5 + 8) + std::string(4, '\xFF'), "frame 0 of 4294967295"},
      {polygons, "impossible counts"},
      {Bytes(broken), "frame 0 leads to frame 2"},
      {Bytes(frozen), "frame 0 shows for -2147483648 ticks, outside 0 to 216000"},
      {Bytes(endless), "frame 0 shows for 216001 ticks"},
      {Bytes(Animation("sized", Vector2(16, -4))), "not a usable size"},
      {Bytes(Animation("sized", Vector2(std::nanf(""), 16))), "not a usable size"},
      {Bytes(Animation("sized", Vector2(16, INFINITY))), "not a usable size"}};
  for (const auto& [bytes, error] : cases) {
    EXPECT_NE(fails(bytes).find(error), std::string::npos) << error;
  }

  testsupport::TempDir dir;
  std::ofstream(dir / "short.acd", std::ios::binary) << "hero";
  for (const char* name : {"short.acd", "nothing.acd"}) {
    Animation animation;
    EXPECT_FALSE(animation.Load((dir / name).string()));
    EXPECT_NE(animation.GetLoadError().find((dir / name).string()), std::string::npos);
  }
}

TEST(FrameGridDeathTest, FrameThatIsNotPositiveOrExceedsTheImageAsserts) {
  EXPECT_DEATH(Animation("big", Vector2(64, 131), Vector2(200, 130)),
               "Assertion failed: m_framesize.X\\(\\) <= m_imagesize.X\\(\\) && "
               "m_framesize.Y\\(\\) <= m_imagesize.Y\\(\\), file animationlib/Animation.cpp");
  Animation later("later", Vector2(-64, 64));
  EXPECT_DEATH(later.SetImageSize(Vector2(200, 130)),
               "Assertion failed: m_framesize.X\\(\\) > 0 && m_framesize.Y\\(\\) > 0");
}

TEST(AnimationCollection, FindsTheFirstByNameAndDeletesOnlyWhatItHolds) {
  Animation outsider("outsider");
  AnimationCollection pool;
  auto* first = new Animation("orbs");
  auto* twin = new Animation("orbs");
  for (Animation* animation : {first, twin, new Animation("hud")}) pool.Add(animation);
  EXPECT_EQ(pool.Find("orbs"), first);
  EXPECT_EQ(pool.Find("Orbs"), nullptr);
  EXPECT_FALSE(pool.Remove(&outsider));  // deleting it would be a wild free
  EXPECT_TRUE(pool.Remove(first));
  EXPECT_EQ(pool.Find("orbs"), twin);  // the rest are freed with the list (leak-checked)
}

}  // namespace
