// Power-ups, circling orbs, the HUD's orb particles, flashes, memory cores and
// checkpoints.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "animationlib/D3DAnimation.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/ScenerySprite.h"
#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/hud/HUD.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/ResponseFixtures.h"

namespace {

using behaviortest::BehaviorWorldTest;
using responsetest::Overlap;

class PickupsTest : public BehaviorWorldTest {
 protected:
  // The five-frame "Powerup" art under another name, in the main list.
  GameObject* Make(const std::string& name, const Vector2& at, BehaviorFn behavior) {
    auto* object = dynamic_cast<GameObject*>(World::CloneSprite("Powerup"));
    object->SetName(name);
    object->MoveTo(at);
    object->SetBehavior(behavior);
    World::GetObjects()->Add(object);
    return object;
  }
  // Where the core's sparks go: the HUD's list when there is a HUD.
  static int Sparks() {
    SpriteCollection* list = HUD::GetObjects() ? HUD::GetObjects() : World::GetObjects();
    int count = 0;
    for (const Sprite* sprite : list->GetSprites()) count += sprite->GetName() == "Spark";
    return count;
  }
};

// --- Power-ups and orbs ------------------------------------------------------

TEST_F(PickupsTest, ADroppedPowerupLivesSixHundredFramesBlinkingThroughTheLastHundredTwenty) {
  StartLevel({});
  SpawnPowerup(Vector2(300, 300));
  GameObject* powerup = Live("Powerup");
  std::string shown;
  int frames = 0;
  while (!powerup->IsDead()) {
    PowerupBehavior(powerup);
    ++frames;
    if (frames > 475) shown += powerup->IsVisible() ? 'S' : 'H';
  }
  EXPECT_EQ(frames, 600);
  // Steady until 120 frames are left (frame 480), then hidden 2, shown 3, ...
  EXPECT_EQ(shown.substr(0, 15), "SSSSSHHSSSHHSSS");
}

TEST_F(PickupsTest, APowerupFallsOnlyNearTheViewAndIsCollectedOnTouch) {
  StartLevel({});
  World::GetObjects()->SetOffset(Vector2(1000, 0));
  struct Case {
    float x;
    bool falls;
  };
  for (const Case& test : {Case{1900, true}, Case{1950, false}, Case{899, false}, Case{900, true}}) {
    SpawnPowerup(Vector2(test.x, 300));
    GameObject* powerup = All("Powerup").back();
    PowerupBehavior(powerup);
    EXPECT_FLOAT_EQ(powerup->GetVelocity().Y(), test.falls ? -4.3f : -5.0f) << test.x;
  }
  PlayerObject* hero = AddHero(Vector2(1500, 300));
  GameObject* powerup = All("Powerup").front();
  Contact touch = Overlap(hero, powerup, 1, 1);
  CollidePlayer(&touch);  // the hero's response stores its record in the power-up
  PowerupBehavior(powerup);
  EXPECT_TRUE(powerup->IsDead());
}

// A level file places its objects without properties: the power-up must set
// itself up as a dropped one would, keeping the colour it was placed with.
TEST_F(PickupsTest, APowerupPlacedInALevelLivesFallsAndIsCollectedLikeADroppedOne) {
  for (int colour : {2, 3, 4}) {
    StartLevel({"Floor 0 500 0 0 0", "Powerup 64 300 " + std::to_string(colour) + " 0 2"});
    GameObject* powerup = Live("Powerup");
    ASSERT_NE(powerup, nullptr) << colour;
    ASSERT_EQ(powerup->GetFlags().count("Lifetime"), 0u) << colour;

    Step(1);
    EXPECT_EQ(powerup->GetFlag("Lifetime"), kPowerupLifetime - 1.0f) << colour;
    Step(79);
    EXPECT_EQ(powerup->GetFlag("Lifetime"), kPowerupLifetime - 80.0f) << colour;
    EXPECT_EQ(powerup->GetFrame(), colour);
    // Resting on the floor: its solid box (8 below its centre) stops just short.
    EXPECT_NEAR(powerup->GetPosition().Y(), 492.0f, 0.2f) << colour;
    EXPECT_NEAR(powerup->GetPosition().X(), 64.0f, 1e-4f) << colour;
    EXPECT_FALSE(powerup->IsDead()) << colour;

    PlayerObject* hero = AddHero(Vector2(64, 500));
    hero->SetCollisionCallback(CollidePlayer);
    int frames = 0;
    while (Count("Powerup") > 0 && frames < 5) {
      Step(1);
      ++frames;
    }
    EXPECT_EQ(Count("Powerup"), 0) << colour;
  }
}

class OrbTest : public PickupsTest {
 protected:
  GameObject* Orb() {
    StartLevel({});
    GameObject* orb = Make("OrbRotation", Vector2(400, 300), nullptr);
    platform::SeedRandom(8);
    expectedFrame = 2 + platform::Random() % 3;
    platform::SeedRandom(8);
    OrbRotationInit(orb);
    return orb;
  }
  int expectedFrame = 0;
};

TEST_F(OrbTest, CirclesTwentyPixelsAroundItsSpotChangingColourEveryHundredFiftyFrames) {
  GameObject* orb = Orb();
  EXPECT_EQ(orb->GetName(), "Powerup");
  EXPECT_EQ(orb->GetFrame(), expectedFrame);
  EXPECT_EQ(orb->GetCollisionCallback(), &CollideShot);
  EXPECT_EQ(orb->GetBehavior(), &OrbRotationUpdate);

  const int first = orb->GetFrame();
  for (int frame = 0; frame < 149; ++frame) {
    OrbRotationUpdate(orb);
    const float angle = 0.03141593f * static_cast<float>(frame);
    EXPECT_NEAR(orb->GetPosition().X(), 400.0f + 20.0f * std::cos(angle), 1e-3f);
    EXPECT_NEAR(orb->GetPosition().Y(), 300.0f + 20.0f * std::sin(angle), 1e-3f);
  }
  EXPECT_EQ(orb->GetFrame(), first);
  OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFrame(), first == 4 ? 2 : first + 1);
  // Past a full turn the angle starts again from 0.
  orb->SetFlag("Angle", 6.3f);
  OrbRotationUpdate(orb);
  EXPECT_NEAR(orb->GetPosition().X(), 420.0f, 1e-3f);
}

TEST_F(OrbTest, AWeaponHitLocksTheColourAndShedsSparksButOnlyTheBodyCollectsIt) {
  GameObject* orb = Orb();
  PlayerObject* hero = AddHero(Vector2(420, 350));
  OrbRotationUpdate(orb);
  const Vector2 stopped = orb->GetPosition();
  const int first = orb->GetFrame();
  auto next = [](int frame) { return frame == 4 ? 2 : frame + 1; };

  orb->SetLastContact(Overlap(orb, hero, 1, 2));  // the weapon
  OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFrame(), next(first));
  EXPECT_EQ(orb->GetFlag("LockTime"), 59.0f);
  EXPECT_EQ(orb->GetPosition(), stopped);
  EXPECT_EQ(Count("Spark"), 1);  // at 60, then every third frame

  // Hit again with 31 frames left: no change; with 29 left: re-locked.
  for (int i = 0; i < 28; ++i) OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFlag("LockTime"), 31.0f);
  orb->SetLastContact(Overlap(orb, hero, 1, 2));
  OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFrame(), next(first));
  OrbRotationUpdate(orb);
  orb->SetLastContact(Overlap(orb, hero, 1, 2));
  OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFrame(), next(next(first)));
  EXPECT_EQ(orb->GetFlag("LockTime"), 59.0f);
  for (GameObject* spark : All("Spark")) EXPECT_LE(spark->GetDepth(), orb->GetDepth() - 0.01f + 1e-6f);

  // Sixty frames later it circles again.
  for (int i = 0; i < 59; ++i) OrbRotationUpdate(orb);
  EXPECT_EQ(orb->GetFlag("LockTime"), 0.0f);
  EXPECT_EQ(orb->GetFlag("ChangeTime"), 150.0f);
  OrbRotationUpdate(orb);
  EXPECT_NE(orb->GetPosition(), stopped);

  Contact body = Overlap(hero, orb, 1, 1);  // the hero's body against its pickup circle
  CollidePlayer(&body);
  OrbRotationUpdate(orb);
  EXPECT_TRUE(orb->IsDead());
}

TEST_F(PickupsTest, HudOrbsLingerFortyTwoFramesAndBreakParticlesWaitFortyTwoAndFlyHundredThirtyEight) {
  StartLevel({});
  GameObject* grey = Make("GreyOrb", Vector2(100, 100), GreyOrbBehavior);
  grey->AddFlag("Visible", 1.0f);
  grey->AddFlag("Timer", 5.0f);
  grey->SetVisible(false);
  GreyOrbBehavior(grey);
  EXPECT_TRUE(grey->IsVisible());
  grey->SetFlag("Visible", 0.0f);
  int shown = 0;
  for (int i = 0; i < 100; ++i) {
    GreyOrbBehavior(grey);
    shown += grey->IsVisible();
  }
  EXPECT_EQ(shown, 42);
  EXPECT_EQ(grey->GetFrame(), 1);

  GameObject* particle = Make("BreakRedOrb", Vector2(100, 100), BreakOrbBehavior);
  particle->AddFlag("Visible", 1.0f);
  particle->AddFlag("Timer", 0.0f);
  particle->AddFlag("Angle", 0.0f);
  particle->SetVisible(false);
  platform::SeedRandom(31);
  const int vy = platform::Random() % 11 - 5;
  const int vx = platform::Random() % 11 - 5;
  const float spin = 3.14f / static_cast<float>(platform::Random() % 20 + 20);
  platform::SeedRandom(31);
  int waited = 0;
  while (!particle->IsVisible()) {
    particle->RunBehavior();
    ++waited;
  }
  EXPECT_EQ(waited, 43);  // 42 frames of waiting, then the start
  EXPECT_EQ(particle->GetVelocity(), CachedVector(static_cast<float>(vx), static_cast<float>(vy)));
  int flown = 0;
  while (particle->IsVisible()) {
    particle->RunBehavior();
    ++flown;
  }
  EXPECT_EQ(flown, 138);
  EXPECT_NEAR(particle->GetDrawAngle(), spin * 138.0f, 1e-3f);
  EXPECT_EQ(particle->GetFlag("Visible"), 0.0f);
  EXPECT_EQ(particle->GetBehavior(), &BreakOrbBehavior);
  EXPECT_TRUE(particle->GetVelocity().IsZero());
}

TEST_F(PickupsTest, FlashesGrowToTheirEndSizeAndOnesThatDoNotGrowEndAtOnce) {
  StartLevel({});
  GameObject* flash = SpawnFlash(Vector2(100, 100), 2, 0.0f, 0.05f, 1.5f, 4.0f);
  int frames = 0;
  while (!flash->IsDead() && frames < 100) {
    FlashBehavior(flash);
    ++frames;
  }
  EXPECT_GE(frames, 30);
  EXPECT_LE(frames, 31);
  EXPECT_GT(flash->GetScaleX(), 1.5f);

  for (float rate : {0.0f, -0.1f}) {
    GameObject* smoke = SpawnFlash(Vector2(100, 100), 0, 0.0f, rate, 0.0f, 4.0f);
    FlashBehavior(smoke);
    EXPECT_TRUE(smoke->IsDead()) << rate;
    EXPECT_EQ(smoke->GetScaleX(), 0.0f);
  }
}

// A flash ends blown up far past its art, so its frames are sampled smoothly; a spark,
// pixel art, keeps nearest texels.
TEST_F(PickupsTest, AFlashIsSampledSmoothlyWhileASparkStaysCrisp) {
  StartLevel({});
  for (GameObject* object :
       {SpawnFlash(Vector2(100, 100), 3, 5.0f, 0.1f, 11.0f, 4.0f),
        SpawnSpark(0, Vector2(100, 100), CachedVector(), 4.0f, nullptr, 0.0f)}) {
    const auto* art = dynamic_cast<const D3DAnimation*>(object->GetAnimation());
    ASSERT_TRUE(art && !art->GetTextures().empty()) << object->GetName();
    for (const auto& texture : art->GetTextures())
      EXPECT_EQ(texture->SmoothScaling(), object->GetName() == "Flash") << object->GetName();
  }
}

// --- Memory cores ----------------------------------------------------------

TEST_F(PickupsTest, TheCoresDepthFromTheLevelFileChoosesItsAbility) {
  struct Case {
    const char* depth;
    CoreAbility ability;
  };
  const Case cases[] = {{"1.01", CoreAbility::Stride}, {"1.02", CoreAbility::WallJump},
                        {"1.03", CoreAbility::Cyclone}, {"1.04", CoreAbility::SuperJump},
                        {"1.05", CoreAbility::SuperJump}, {"1.0100001", CoreAbility::SuperJump}};
  for (const Case& test : cases) {
    StartLevel({std::string("Floor 400 300 0 0 ") + test.depth});
    EXPECT_EQ(CoreAbilityOfDepth(Live("Floor")->GetDepth()), test.ability) << test.depth;
  }
}

TEST_F(PickupsTest, ACorePieceSpinsCountsDownAndBurstsOnArrivalWithOrWithoutItsGlow) {
  StartLevel({});
  GameObject* glow = Make("CoreGlow", Vector2(150, 80), CorePieceInit);
  glow->RunBehavior();
  EXPECT_EQ(glow->GetBehavior(), &CoreGlowPulse);
  glow->RunBehavior();
  EXPECT_TRUE(glow->IsPulsing());
  EXPECT_EQ(glow->GetBehavior(), nullptr);
  EXPECT_EQ(glow->GetCollisionCallback(), nullptr);

  GameObject* piece = Make("CorePiece", Vector2(150, 80), CorePieceInit);
  piece->RunBehavior();
  EXPECT_EQ(piece->GetFlag("Movement"), -1.0f);
  EXPECT_EQ(piece->GetBehavior(), &CorePieceUpdate);
  for (int i = 0; i < 121; ++i) piece->RunBehavior();
  EXPECT_EQ(piece->GetCollisionCallback(), &CollideCoreCollect);
  EXPECT_EQ(piece->GetFlag("Movement"), -1.0f);  // idle until collected
  // 120 steps of pi/60 end just past 2 pi, so the next starts again from 0.
  EXPECT_NEAR(piece->GetDrawAngle(), 0.05235988f, 1e-4f);

  // Collected: the copy counts down 30 frames, then bursts. No glow is in the
  // HUD here, which must not matter.
  piece->SetFlag("Movement", 30.0f);
  for (int i = 0; i < 30; ++i) piece->RunBehavior();
  EXPECT_FALSE(piece->IsDead());
  EXPECT_EQ(Sparks(), 0);
  piece->RunBehavior();
  EXPECT_TRUE(piece->IsDead());
  EXPECT_EQ(Sparks(), 50);
}

// --- Checkpoints -------------------------------------------------------------

class CheckPointTest : public PickupsTest {
 protected:
  // Two checkpoints in list order, the gate art under its name unless `withGates` is false.
  void SetUpPoints(bool withGates = true) {
    StartLevel({});
    points.clear();
    if (withGates) {
      auto* gate = new GameObject("CheckPointClose", World::FindPrototype("Flash")->GetAnimation(),
                                  Vector2(), NO_CALLBACKS, 0.0f);
      World::GetPrototypePool()->Add(gate);
    }
    World::GetObjects()->SetOffset(Vector2(100, 50));
    for (int i = 0; i < 2; ++i) {
      GameObject* point = Make("TriggerCheckPoint", Vector2(700.0f + 1000.0f * i, 400.0f), nullptr);
      point->SetDepth(2.0f);
      point->AddFlag("CheckPointCount", static_cast<float>(i + 1));
      TriggerCheckPointInit(point);
      points.push_back(point);
    }
  }
  static std::vector<ScenerySprite*> Gates(SpriteCollection* list) {
    std::vector<ScenerySprite*> gates;
    for (Sprite* sprite : list->GetSprites()) {
      if (sprite->GetName() == "CheckPointClose") gates.push_back(dynamic_cast<ScenerySprite*>(sprite));
    }
    return gates;
  }
  std::vector<GameObject*> points;
};

TEST_F(CheckPointTest, GateHalvesStandBehindAndBeforeTheTriggerScrollingWithIt) {
  SetUpPoints();
  const std::vector<ScenerySprite*> back = Gates(World::GetSceneryA());
  const std::vector<ScenerySprite*> front = Gates(World::GetSceneryC());
  ASSERT_EQ(back.size(), 2u);
  ASSERT_EQ(front.size(), 2u);
  // The first trigger is 200, 50 from the view's centre.
  EXPECT_NEAR(back[0]->GetPosition().X(), 400.0f + 180.0f, 1e-3f);
  EXPECT_NEAR(back[0]->GetPosition().Y(), 300.0f + 45.0f, 1e-3f);
  EXPECT_EQ(back[0]->GetDepth(), 100.0f);
  EXPECT_TRUE(back[0]->IsFacingLeft());
  EXPECT_EQ(back[0]->GetParallaxFactor(), Vector2(-0.9f, -0.9f));
  EXPECT_NEAR(front[0]->GetPosition().X(), 400.0f + 204.0f, 1e-3f);
  EXPECT_NEAR(front[0]->GetPosition().Y(), 300.0f + 51.0f, 1e-3f);
  EXPECT_EQ(front[0]->GetDepth(), -100.0f);
  EXPECT_FALSE(front[0]->IsFacingLeft());
  EXPECT_EQ(front[0]->GetParallaxFactor(), Vector2(-1.02f, -1.02f));
  for (const ScenerySprite* gate : {back[0], front[0]}) {
    EXPECT_FALSE(gate->GetTileX());
    EXPECT_FALSE(gate->GetTileY());
  }
  EXPECT_EQ(points[0]->GetBehavior(), &TriggerCheckPointUpdate);
}

TEST_F(CheckPointTest, FiresOnlyWithinTwentyAcrossAndFiveHundredUpOrDown) {
  struct Case {
    float dx, dy;
    bool fires;
  };
  const Case cases[] = {{19.5f, 0, true}, {-19.5f, 499, true}, {20, 0, false},
                        {-20, 0, false},  {0, 500, false},     {0, -500, false}};
  SetUpPoints();
  PlayerObject* hero = AddHero(Vector2());
  for (const Case& test : cases) {
    points[1]->SetBehavior(TriggerCheckPointUpdate);
    hero->MoveTo(Vector2(1700.0f + test.dx, 400.0f + test.dy));
    TriggerCheckPointUpdate(points[1]);
    EXPECT_EQ(points[1]->GetBehavior() == nullptr, test.fires) << test.dx << ", " << test.dy;
  }
}

TEST_F(CheckPointTest, FiringClosesItsOwnGatesKeepsTheScoreAndDisarmsOlderCheckpoints) {
  SetUpPoints();
  PlayerObject* hero = AddHero(Vector2(1700, 400));
  hero->SetScore(1234);
  TriggerCheckPointUpdate(points[1]);
  EXPECT_EQ(points[1]->GetBehavior(), nullptr);
  EXPECT_EQ(hero->GetScore(), 1234);
  for (SpriteCollection* list : {static_cast<SpriteCollection*>(World::GetSceneryA()),
                                 static_cast<SpriteCollection*>(World::GetSceneryC())}) {
    const std::vector<ScenerySprite*> gates = Gates(list);
    EXPECT_EQ(gates[0]->GetFrame(), 0);
    EXPECT_EQ(gates[1]->GetFrame(), 1);
  }
  // The first one never fired, but its own next update disarms it.
  hero->MoveTo(Vector2(700, 400));
  TriggerCheckPointUpdate(points[0]);
  EXPECT_EQ(points[0]->GetBehavior(), nullptr);
  for (const ScenerySprite* gate : Gates(World::GetSceneryC())) EXPECT_LE(gate->GetFrame(), 1);
}

TEST_F(CheckPointTest, FiringSavesTheHeroAtTheCheckpointAsTheRestartPoint) {
  SetUpPoints();
  PlayerObject* hero = AddHero(Vector2(1710, 380));
  hero->SetScore(1234);
  hero->SetEnergy(77.0f);
  hero->SetOrbs(ORB_RED, ORB_GREEN, ORB_BLUE);
  ASSERT_EQ(World::GetPlayer(), hero);
  World::GetPlayerRecords()[0].reset();
  TriggerCheckPointUpdate(points[1]);
  const PlayerObject* record = World::GetCurrentRecord();
  ASSERT_NE(record, nullptr) << "the checkpoint saves the hero into the current record";
  EXPECT_EQ(record->GetPosition(), Vector2(1710, 380));
  EXPECT_EQ(record->GetScore(), 1234);
  EXPECT_FLOAT_EQ(record->GetEnergy(), 77.0f);
  EXPECT_EQ(record->GetOrbQueue(), hero->GetOrbQueue());
  EXPECT_FALSE(record->IsFrontOrbCracked());
  // Moving on does not move the saved point; only the next checkpoint does.
  hero->MoveTo(Vector2(2500, 380));
  EXPECT_EQ(World::GetCurrentRecord()->GetPosition(), Vector2(1710, 380));
}

TEST_F(CheckPointTest, WithoutAHeroNothingHappensAndWithoutGateArtItStillFires) {
  SetUpPoints();
  points[1]->SetBehavior(nullptr);  // as if fired
  TriggerCheckPointUpdate(points[0]);
  EXPECT_EQ(points[0]->GetBehavior(), &TriggerCheckPointUpdate);

  SetUpPoints(false);
  EXPECT_TRUE(Gates(World::GetSceneryA()).empty());
  EXPECT_TRUE(Gates(World::GetSceneryC()).empty());
  AddHero(Vector2(700, 400));
  TriggerCheckPointUpdate(points[0]);
  EXPECT_EQ(points[0]->GetBehavior(), nullptr);
}

}  // namespace
