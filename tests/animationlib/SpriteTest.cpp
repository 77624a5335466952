// Sprites: the frame timer with its sounds and veto, the scale pulse, how they
// ask their animation to draw, copies, and scenery tiling and parallax.
#include <gtest/gtest.h>

#include "AnimationTestKit.h"
#include "animationlib/ScenerySprite.h"
#include "game/SoundEngine.h"
#include "gameio/AudioFake.h"

namespace {

using animtest::AsSprite;
using animtest::RecordingAnimation;

class SpriteTimer : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAudioDevice(&fake);
    sound = std::make_unique<SoundEngine>();
    ASSERT_TRUE(sound->Init(AudioFake::AnyWindow()));
    fake.AddFile("step.wav");
    ASSERT_TRUE(sound->Load("step.wav", "Step"));
    // Frame 0 shows 3 ticks and steps; frame 1 shows 2 ticks and loops back.
    CollisionPolygon dot(0, {CollisionVertex(Vector2(0, 0), 4.0f)});
    animation.GetFrames().emplace_back(1, 3, Vector2(), CollisionShape({dot}), "Step");
    animation.GetFrames().emplace_back(0, 2, Vector2());
  }
  void TearDown() override {
    sound.reset();
    platform::SetAudioDevice(nullptr);
  }

  AudioFake fake;
  std::unique_ptr<SoundEngine> sound;
  Animation animation{"walk", Vector2(8, 8)};
};

TEST_F(SpriteTimer, FrameShowsItsTicksThenPlaysItsSoundAndMovesOn) {
  Sprite sprite("walker", &animation, Vector2(5, 5), NO_CALLBACKS, 0);
  EXPECT_EQ(sprite.GetSourceShape(), &animation.GetFrames()[0].GetShape());
  sprite.Tick();
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 0);
  EXPECT_TRUE(fake.soundsPlayed.empty());
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 1);
  EXPECT_EQ(sprite.GetTicksLeft(), 2);
  EXPECT_EQ(fake.soundsPlayed, std::vector<std::string>{"step.wav"});
  EXPECT_EQ(sprite.GetSourceShape(), &animation.GetFrames()[1].GetShape());
  sprite.Tick();
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 0);
  EXPECT_EQ(fake.soundsPlayed.size(), 1u);  // frame 1 has no sound

  sprite.SetInactive(true);  // inactive sprites keep their time
  sprite.Tick();
  EXPECT_EQ(sprite.GetTicksLeft(), 3);

  // A frame of 0 ticks is held until code moves it.
  animation.GetFrames()[1] = AnimationFrame(0, 0, Vector2());
  sprite.SetInactive(false);
  sprite.SetFrame(1);
  for (int i = 0; i < 10; ++i) sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 1);
  sprite.AdvanceFrame();
  EXPECT_EQ(sprite.GetFrame(), 0);
}

TEST_F(SpriteTimer, VetoHoldsTheFrameForGood) {
  static int calls;
  static int seenFrame;
  static Sprite* seen;
  calls = 0;
  ObjectCallbacks callbacks;
  callbacks.frameChange = [](GameObject* object) {
    ++calls;
    seen = AsSprite(object);
    seenFrame = seen->GetFrame();
    return false;
  };
  Sprite sprite("walker", &animation, Vector2(), callbacks, 0);
  for (int i = 0; i < 3; ++i) sprite.Tick();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, &sprite);
  EXPECT_EQ(seenFrame, 0);
  EXPECT_EQ(fake.soundsPlayed.size(), 1u);  // the ending frame's sound still plays
  for (int i = 0; i < 5; ++i) sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 0);
  EXPECT_EQ(sprite.GetTicksLeft(), 0);
  EXPECT_EQ(calls, 1);
}

class SpriteDrawing : public ::testing::Test {
 protected:
  SpriteDrawing() { animation.GetFrames().emplace_back(0, 0, Vector2()); }

  // One draw in an animated list; returns the scale it was drawn at.
  float AnimatedScale(Sprite& sprite) {
    animation.calls.clear();
    sprite.Draw(Vector2(), PASS_DRAW | PASS_ANIMATE);
    return animation.calls.empty() ? -1.0f : animation.calls[0].scale.X();
  }

  RecordingAnimation animation{"picture", Vector2(32, 32)};
};

TEST_F(SpriteDrawing, PulseGrowsThenShrinksInStepsAndRepeats) {
  Sprite sprite("s", &animation, Vector2(), NO_CALLBACKS, 0);
  sprite.StartPulse(2, 0.1f, 2, true);
  for (float scale : {1.1f, 1.1f, 1.2f, 1.2f, 1.1f, 1.1f, 1.0f, 1.0f, 1.1f}) {
    EXPECT_NEAR(AnimatedScale(sprite), scale, 1e-5);
    EXPECT_EQ(sprite.GetScaleX(), sprite.GetScaleY());
  }
  sprite.Draw(Vector2(), PASS_DRAW);  // a list that only draws leaves the pulse be
  // A second start while running is ignored (a restart would jump to 1.6).
  sprite.StartPulse(1, 0.5f, 1, true);
  EXPECT_NEAR(AnimatedScale(sprite), 1.1f, 1e-5);
}

TEST_F(SpriteDrawing, StoppedPulseWindsBack) {
  // Stopped in the first half: back to one step above the start, then still.
  Sprite early("s", &animation, Vector2(), NO_CALLBACKS, 0);
  early.StartPulse(2, 0.1f, 2, true);
  for (int i = 0; i < 3; ++i) AnimatedScale(early);
  early.SetPulsing(false);
  for (float scale : {1.2f, 1.1f, 1.1f, 1.1f}) EXPECT_NEAR(AnimatedScale(early), scale, 1e-5);

  // Stopped in the second half: runs the cycle out and lands exactly on 1.
  Sprite late("s", &animation, Vector2(), NO_CALLBACKS, 0);
  late.StartPulse(2, 0.1f, 2, true);
  for (int i = 0; i < 5; ++i) AnimatedScale(late);
  late.SetPulsing(false);
  for (int i = 0; i < 4; ++i) AnimatedScale(late);
  EXPECT_EQ(late.GetScaleX(), 1.0f);
  EXPECT_EQ(late.GetScaleY(), 1.0f);
}

TEST_F(SpriteDrawing, DrawPassesPlacementMirrorRotationAndOrbit) {
  Sprite sprite("s", &animation, Vector2(300, 200), NO_CALLBACKS, 0);
  sprite.SetDrawAngle(0.3f);
  sprite.SetOrbitAngle(0.7f);
  sprite.SetOrbitCentreX(50);
  sprite.SetOrbitCentreY(60);
  sprite.SetFacingLeft(true);
  sprite.Draw(Vector2(100, 10), PASS_DRAW);
  const animtest::DrawCall& call = animation.calls.at(0);
  EXPECT_EQ(call.position, Vector2(200, 190));
  EXPECT_EQ(call.repeat, Vector2(1, 1));
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

TEST_F(SpriteDrawing, CopiesLeaveARunningPulseBehindAssignmentTakesIt) {
  Sprite sprite("hero", &animation, Vector2(7, 8), NO_CALLBACKS, 3);
  sprite.SetVisible(false)->SetDeactivateOffscreen(false);
  sprite.StartPulse(2, 0.1f, 2, true);
  sprite.SetDead(true);
  std::unique_ptr<Sprite> clone(sprite.Clone());
  EXPECT_EQ(clone->GetName(), "hero");
  EXPECT_EQ(clone->GetPosition(), Vector2(7, 8));
  EXPECT_EQ(clone->GetDepth(), 3);
  EXPECT_FALSE(clone->IsVisible());
  EXPECT_FALSE(clone->GetDeactivateOffscreen());
  EXPECT_FALSE(clone->IsPulsing());
  EXPECT_FALSE(clone->IsDead());

  Sprite assigned("other", &animation, Vector2(), NO_CALLBACKS, 0);
  assigned = sprite;
  EXPECT_TRUE(assigned.IsPulsing());
}

TEST(SpriteDeathTest, NullAnimationOrMissingFrameAsserts) {
  EXPECT_DEATH(Sprite("nothing", nullptr, Vector2(), NO_CALLBACKS, 0),
               "Assertion failed: m_animation, file animationlib/Sprite.cpp");
  RecordingAnimation two("two");
  two.GetFrames().resize(2);
  Sprite sprite("s", &two, Vector2(), NO_CALLBACKS, 0);
  EXPECT_DEATH(sprite.SetFrame(2), "Assertion failed: i >= 0 && i < frameCount");
}

TEST(SpriteOnEmptyAnimation, HasNoShapeAndNoTime) {
  RecordingAnimation unreadable("unreadable");  // what a damaged file leaves
  Sprite sprite("s", &unreadable, Vector2(), NO_CALLBACKS, 0);
  EXPECT_EQ(sprite.GetSourceShape(), nullptr);
  sprite.SetTicksLeft(1);
  sprite.Tick();
  EXPECT_EQ(sprite.GetFrame(), 0);
}

TEST(ScenerySpriteTest, TiledPositionWrapsIntoOneFrameBeforeDrawing) {
  RecordingAnimation sky("sky", Vector2(256, 600));
  sky.GetFrames().emplace_back(0, 0, Vector2());
  ScenerySprite scenery("sky", &sky, Vector2(5, 2), 0);
  scenery.MoveTo(Vector2(530, -1300));
  scenery.Draw(Vector2(10, 20), PASS_ALL);
  EXPECT_EQ(scenery.GetPosition(), Vector2(-238, -100));
  const animtest::DrawCall& call = sky.calls.at(0);
  EXPECT_EQ(call.position, Vector2(-248, -120));
  EXPECT_EQ(call.repeat, Vector2(5, 2));
  EXPECT_EQ(call.scale, Vector2(1, 1));

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

  scenery.SetTileY(true);
  scenery.ComputeRepeat(Vector2(800, 600));
  EXPECT_EQ(scenery.GetRepeat(), Vector2(4.125f, 2.0f));
  scenery.SetTileX(false);
  scenery.ComputeRepeat(Vector2(800, 600));
  EXPECT_EQ(scenery.GetRepeat(), Vector2(1.0f, 2.0f));
}

TEST(ScenerySpriteTest, FollowCameraMovesByTheParallaxShare) {
  RecordingAnimation sky("sky", Vector2(256, 600));
  ScenerySprite scenery("sky", &sky, Vector2(1, 1), 0);
  scenery.FollowCamera(Vector2(10, 4));
  EXPECT_EQ(scenery.GetPosition(), Vector2(-10, -4));  // (-1, -1): fixed in the world
  scenery.SetParallaxFactor(Vector2(-0.5f, 0));
  scenery.FollowCamera(Vector2(10, 4));
  EXPECT_EQ(scenery.GetPosition(), Vector2(-15, -4));
  std::unique_ptr<Sprite> copy(scenery.Clone());
  auto* clone = dynamic_cast<ScenerySprite*>(copy.get());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetParallaxFactor(), Vector2(-0.5f, 0));
}

}  // namespace
