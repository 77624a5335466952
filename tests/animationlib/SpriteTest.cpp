// Sprites: the frame timer with its sounds and veto, the scale pulse, how they
// ask their animation to draw, and scenery tiling and parallax.
#include <gtest/gtest.h>

#include <cmath>

#include "StandInObject.h"
#include "animationlib/ScenerySprite.h"

namespace {

// The frame sounds asked for, through the hook the game installs.
std::vector<std::string> gSoundsPlayed;
void RecordSound(const std::string& sound) {
  gSoundsPlayed.push_back(sound);
}

// One recorded call of Animation::Draw.
struct DrawCall {
  Vector2 position, repeat;
  bool mirror;
  float rotation;
  Vector2 pivot;
  float pivotRotation;
  Vector2 scale;
};

// An animation without a picture that remembers how it was asked to draw.
class RecordingAnimation : public Animation {
 public:
  using Animation::Animation;
  void Draw(const Vector2& position, const Vector2& repeat, int, bool mirror, float rotation,
            Vector2 pivot, float pivotRotation, CachedVector scale) const override {
    calls.push_back(
        {position, repeat, mirror, rotation, pivot, pivotRotation, Vector2(scale.X(), scale.Y())});
  }
  mutable std::vector<DrawCall> calls;
};

// Frame 0 shows 3 ticks and steps; frame 1 shows 2 ticks and loops back.
RecordingAnimation WalkAnimation() {
  RecordingAnimation animation("walk", Vector2(8, 8));
  CollisionPolygon dot(0, {CollisionVertex(Vector2(0, 0), 4.0f)});
  animation.GetFrames().emplace_back(1, 3, Vector2(), CollisionShape({dot}), "Step");
  animation.GetFrames().emplace_back(0, 2, Vector2());
  return animation;
}

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSoundsPlayed.clear();
    Sprite::SetFrameSoundPlayer(&RecordSound);
  }
  void TearDown() override { Sprite::SetFrameSoundPlayer(nullptr); }
  static void Tick(Sprite& sprite, int times) {
    for (int i = 0; i < times; ++i) sprite.Tick();
  }
  // The scales of `draws` draws in an animated list.
  std::vector<float> Scales(Sprite& sprite, int draws) {
    std::vector<float> scales;
    for (int i = 0; i < draws; ++i) {
      sprite.Draw(Vector2(), PASS_DRAW | PASS_ANIMATE);
      EXPECT_EQ(animation.calls.back().scale.X(), animation.calls.back().scale.Y());
      scales.push_back(std::round(animation.calls.back().scale.X() * 1000) / 1000);
    }
    return scales;
  }

  RecordingAnimation animation = WalkAnimation();
  Sprite sprite{"walker", &animation, Vector2(), NO_CALLBACKS, 0};
};

TEST_F(SpriteTest, FrameShowsItsTicksThenPlaysItsSoundAndMovesOn) {
  Tick(sprite, 2);
  EXPECT_EQ(sprite.GetFrame(), 0);
  EXPECT_TRUE(gSoundsPlayed.empty());
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 1);
  EXPECT_EQ(sprite.GetTicksLeft(), 2);
  EXPECT_EQ(gSoundsPlayed, std::vector<std::string>{"Step"});
  EXPECT_EQ(sprite.GetSourceShape(), &animation.GetFrames()[1].GetShape());
  Tick(sprite, 2);
  EXPECT_EQ(sprite.GetFrame(), 0);
  EXPECT_EQ(gSoundsPlayed.size(), 1u);  // frame 1 has no sound

  // A frame of 0 ticks is held until code moves it.
  animation.GetFrames()[1] = AnimationFrame(0, 0, Vector2());
  sprite.SetFrame(1);
  Tick(sprite, 10);
  EXPECT_EQ(sprite.GetFrame(), 1);
  sprite.AdvanceFrame();
  EXPECT_EQ(sprite.GetFrame(), 0);
}

TEST_F(SpriteTest, VetoHoldsTheFrameForGood) {
  static int calls;
  static GameObject* seen;
  calls = 0;
  ObjectCallbacks callbacks;
  callbacks.frameChange = [](GameObject* object) {
    seen = object;
    ++calls;
    return false;
  };
  GameObject vetoed("walker", &animation, Vector2(), callbacks, 0);
  Tick(vetoed, 8);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, &vetoed);
  EXPECT_EQ(gSoundsPlayed.size(), 1u);  // the ending frame's sound still plays
  EXPECT_EQ(vetoed.GetFrame(), 0);
  EXPECT_EQ(vetoed.GetTicksLeft(), 0);
}

TEST_F(SpriteTest, CallbacksOnASpriteThatIsNoGameObjectStopInsteadOfMisreadingIt) {
  ObjectCallbacks callbacks;
  callbacks.behavior = [](GameObject*) {};
  callbacks.frameChange = [](GameObject*) { return true; };
  ScenerySprite scenery("sky", &animation, Vector2(1, 1), 0);
  scenery.SetBehavior(callbacks.behavior);
  EXPECT_DEATH(scenery.RunBehavior(), "object != nullptr");
  Sprite plain("walker", &animation, Vector2(), callbacks, 0);
  EXPECT_DEATH(plain.AdvanceFrame(), "object != nullptr");
  // Without callbacks a plain sprite runs as before.
  sprite.RunBehavior();
  sprite.AdvanceFrame();
  EXPECT_EQ(sprite.GetFrame(), 1);
}

TEST_F(SpriteTest, FrameSoundsAreSilentUntilThePlayerIsInstalled) {
  Sprite::SetFrameSoundPlayer(nullptr);
  Tick(sprite, 3);
  EXPECT_EQ(sprite.GetFrame(), 1);
  EXPECT_TRUE(gSoundsPlayed.empty());
}

TEST_F(SpriteTest, PulseGrowsShrinksAndRepeatsAndWindsBackWhenStopped) {
  sprite.StartPulse(2, 0.1f, 2, true);
  EXPECT_EQ(Scales(sprite, 9),
            (std::vector<float>{1.1f, 1.1f, 1.2f, 1.2f, 1.1f, 1.1f, 1.0f, 1.0f, 1.1f}));
  sprite.Draw(Vector2(), PASS_DRAW);    // a list that only draws leaves the pulse be
  sprite.StartPulse(1, 0.5f, 1, true);  // ignored while running (a restart jumps to 1.6)
  EXPECT_EQ(Scales(sprite, 2), (std::vector<float>{1.1f, 1.2f}));
  EXPECT_FALSE(std::unique_ptr<Sprite>(sprite.Clone())->IsPulsing());  // copies leave it behind

  // Stopped in the first half: back to one step above the start, then still.
  sprite.SetPulsing(false);
  EXPECT_EQ(Scales(sprite, 4), (std::vector<float>{1.2f, 1.1f, 1.1f, 1.1f}));
  // Stopped in the second half: runs the cycle out and lands exactly on 1.
  Sprite late("s", &animation, Vector2(), NO_CALLBACKS, 0);
  late.StartPulse(2, 0.1f, 2, true);
  Scales(late, 5);
  late.SetPulsing(false);
  Scales(late, 4);
  EXPECT_EQ(std::pair(late.GetScaleX(), late.GetScaleY()), std::pair(1.0f, 1.0f));
}

TEST_F(SpriteTest, DrawPassesPlacementMirrorRotationAndOrbit) {
  sprite.MoveTo(Vector2(300, 200));
  sprite.SetDrawAngle(0.3f);
  sprite.SetOrbitAngle(0.7f);
  sprite.SetOrbitCentreX(50);
  sprite.SetOrbitCentreY(60);
  sprite.SetFacingLeft(true);
  sprite.Draw(Vector2(100, 10), PASS_DRAW);
  const DrawCall& call = animation.calls.at(0);
  EXPECT_EQ(call.position, Vector2(200, 190));
  EXPECT_TRUE(call.mirror);
  EXPECT_EQ(call.rotation, 0.3f);  // no physics rotation: the draw angle, as is
  EXPECT_EQ(call.pivot, Vector2(-50, 50));
  EXPECT_EQ(call.pivotRotation, 0.7f);

  sprite.SetRotation(Angle(0.5));
  sprite.Draw(Vector2(), PASS_DRAW);
  EXPECT_EQ(animation.calls.at(1).rotation, -0.5f);  // facing left turns it round
  sprite.SetScaleX(0);
  sprite.SetScaleY(0);
  sprite.Draw(Vector2(), PASS_DRAW);
  EXPECT_EQ(animation.calls.size(), 2u);  // nothing at scale (0, 0)
}

TEST(SpriteDeathTest, MissingFrameAssertsAndAnEmptyAnimationHasNoShapeNorTime) {
  Animation unreadable("unreadable");  // what a damaged file leaves
  Sprite sprite("s", &unreadable, Vector2(), NO_CALLBACKS, 0);
  EXPECT_EQ(sprite.GetSourceShape(), nullptr);
  sprite.SetTicksLeft(1);
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 0);
  unreadable.GetFrames().resize(2);
  EXPECT_DEATH(sprite.SetFrame(2), "Assertion failed: i >= 0 && i < frameCount");
}

TEST(ScenerySpriteTest, FollowsTheCameraWrapsTiledAxesIntoOneFrameAndRepeatsToCoverTheScreen) {
  RecordingAnimation sky("sky", Vector2(256, 600));
  sky.GetFrames().emplace_back(0, 0, Vector2());
  ScenerySprite scenery("sky", &sky, Vector2(5, 2), 0);
  scenery.FollowCamera(Vector2(10, 4));
  EXPECT_EQ(scenery.GetPosition(), Vector2(-10, -4));  // (-1, -1): fixed in the world
  scenery.SetParallaxFactor(Vector2(-0.5f, 0));
  scenery.FollowCamera(Vector2(10, 4));
  EXPECT_EQ(scenery.GetPosition(), Vector2(-15, -4));
  std::unique_ptr<Sprite> copy(scenery.Clone());
  ASSERT_NE(dynamic_cast<ScenerySprite*>(copy.get()), nullptr);
  EXPECT_EQ(dynamic_cast<ScenerySprite*>(copy.get())->GetParallaxFactor(), Vector2(-0.5f, 0));

  scenery.MoveTo(Vector2(530, -1300));
  scenery.Draw(Vector2(10, 20), PASS_ALL);
  EXPECT_EQ(scenery.GetPosition(), Vector2(-238, -100));
  EXPECT_EQ(sky.calls.at(0).position, Vector2(-248, -120));
  EXPECT_EQ(sky.calls.at(0).repeat, Vector2(5, 2));
  // Exactly one frame left stays; an untiled axis is left alone.
  scenery.MoveTo(Vector2(-256, 900));
  scenery.SetTileY(false);
  scenery.Draw(Vector2(), PASS_ALL);
  EXPECT_EQ(scenery.GetPosition(), Vector2(0, 900));
  // Very far away still ends, inside the frame.
  scenery.MoveTo(Vector2(1e12f, 0));
  scenery.Draw(Vector2(), PASS_ALL);
  EXPECT_GT(scenery.GetPosition().X(), -256.0f);
  EXPECT_LE(scenery.GetPosition().X(), 0.0f);

  // Repeat counts cover the screen on tiled axes.
  scenery.SetTileY(true);
  scenery.ComputeRepeat(Vector2(800, 600));
  EXPECT_EQ(scenery.GetRepeat(), Vector2(4.125f, 2.0f));
  scenery.SetTileX(false);
  scenery.ComputeRepeat(Vector2(800, 600));
  EXPECT_EQ(scenery.GetRepeat(), Vector2(1.0f, 2.0f));
}

}  // namespace
