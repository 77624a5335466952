// The camera: following with dead zones and look-ahead locks, focus requests
// (fixed, followed, released by callbacks), the level's bounds, boss framing,
// arrival at awkward float targets, and waking and parking objects by distance.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/level/Level.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/Powerup.h"
#include "game/player/PlayerObject.h"
#include "game/world/CameraFocus.h"

namespace {

using worldtest::WriteText;

// The hero's behaviour in these tests: a fixed move per frame, nothing else.
Vector2 gHeroMove;
void MoveHero(GameObject* hero) {
  hero->MoveTo(Vector2(hero->GetPosition().X() + gHeroMove.X(),
                       hero->GetPosition().Y() + gHeroMove.Y()));
}

int gCallbackCalls = 0;
int gReleaseOnCall = 0;
bool CountingCallback() {
  return ++gCallbackCalls >= gReleaseOnCall;
}

bool gNextLevelAsked = false;
void AskForNextLevel(GameObject*) {
  if (!gNextLevelAsked) World::NextLevel();
  gNextLevelAsked = true;
}

// A level whose hero stands at (1000, 700) with the camera centred on it.
class CameraTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    gHeroMove = Vector2();
    gCallbackCalls = 0;
    gReleaseOnCall = 1;
  }

  void Play(const std::string& bounds = "-1 -1 -1 -1", const std::string& hero = "1000 700") {
    WriteGameList("one one.lvl", 1);
    WriteText(Root() / "one.lvl", "0\n0 0\n0\n0\n0\n0\n" + bounds + " 0\nZodirazO " + hero +
                                      " 0\n0\n0\n");
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("one", true));
    World::SetState(STATE_GAMEPLAY);
    hero_ = World::GetPlayer();
    ASSERT_NE(hero_, nullptr);
    hero_->SetBehavior(&MoveHero);
  }

  static Vector2 Camera() { return World::GetCameraOffset(); }
  static Vector2 Centre() { return Vector2(Camera().X() + 400.0f, Camera().Y() + 300.0f); }
  // Puts the hero at `at` with the screen centred on it.
  void PlaceHero(const Vector2& at) {
    hero_->MoveTo(at);
    World::GetObjects()->SetOffset(Vector2(at.X() - 400.0f, at.Y() - 300.0f));
  }
  static void PushFocus(const Vector2& target, FocusCallback callback = nullptr,
                        bool control = false) {
    CameraFocus focus;
    focus.m_vPosition = target;
    focus.m_callback = callback;
    focus.m_bPlayerControl = control;
    PushCameraFocus(focus);
  }
  // Frames until the queue empties, or `limit` + 1 when it never does.
  static int FramesToArrive(int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      World::UpdateCamera();
      if (World::GetFocusQueue().empty()) return frame;
    }
    return limit + 1;
  }
  GameObject* AddObject(SpriteCollection* list, const std::string& kind, const Vector2& at) {
    Animation* animation = World::FindPrototype("Rat")->GetAnimation();
    GameObject* object;
    if (kind == "enemy") {
      object = new EnemyObject("Rat", animation, at, NO_CALLBACKS, 0.0f);
    } else if (kind == "powerup") {
      object = new Powerup("Orb", animation, at, NO_CALLBACKS, 0.0f);
    } else {
      object = new GameObject("Gate", animation, at, NO_CALLBACKS, 0.0f);
    }
    list->Add(object);
    return object;
  }

  PlayerObject* hero_ = nullptr;
};

TEST_F(CameraTest, FollowingKeepsDeadZonesAndLeadsAtMostTheHerosMovePlusSlack) {
  const struct {
    const char* name;
    Vector2 move;
    int frames;
    int lock;
    float screenX;  // where the hero ends on screen
    float screenY;
  } cases[] = {
      {"StandingStill", {0, 0}, 30, 0, 400, 300},
      {"DriftInsideDeadZone", {1, 0}, 44, 0, 444, 300},
      {"RunRightHeldAt3Tenths", {5, 0}, 120, World::kLockRight, 240, 300},
      {"RunLeftHeldAt7Tenths", {-5, 0}, 120, World::kLockLeft, 560, 300},
      {"SmallRiseInsideDeadZone", {0, -1}, 55, 0, 400, 245},
      {"FallFollowedDown", {0, 10}, 60, World::kLockDown, 400, 300},
  };
  Play();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World::SetCameraLock(0);
    PlaceHero(Vector2(1000, 700));
    gHeroMove = c.move;
    for (int i = 0; i < c.frames; ++i) {
      const Vector2 before = Camera();
      World::UpdateCamera();
      ASSERT_LE(std::fabs(Camera().X() - before.X()), std::fabs(c.move.X()) + 8.0f + 1e-3f);
      ASSERT_LE(std::fabs(Camera().Y() - before.Y()), std::fabs(c.move.Y()) + 2.0f + 1e-3f);
    }
    EXPECT_EQ(World::GetCameraLock(), c.lock);
    EXPECT_NEAR(hero_->GetPosition().X() - Camera().X(), c.screenX, 1e-3f);
    EXPECT_NEAR(hero_->GetPosition().Y() - Camera().Y(), c.screenY, 1e-3f);
  }
}

// One pixel short of an edge the camera stays put; on it (or one pixel past
// it, where the edge falls between pixels) it locks and leads at once by the
// hero's move plus the slack: 1 + 8 across, 1 + 2 up and down.
TEST_F(CameraTest, EachDeadZoneEdgeLocksOnlyOnceTheHeroCrossesIt) {
  const int left = World::kLockLeft;
  const int right = World::kLockRight;
  const struct {
    const char* name;
    int lockBefore;
    Vector2 screen;  // where the hero stands on screen after this frame's move
    Vector2 move;
    int lock;
    Vector2 step;  // the camera's move this frame
  } cases[] = {
      {"InsideRightFiveNinths", 0, {444, 300}, {1, 0}, 0, {0, 0}},
      {"PastRightFiveNinths", 0, {445, 300}, {1, 0}, right, {9, 0}},
      {"InsideLeftFourNinths", 0, {356, 300}, {-1, 0}, 0, {0, 0}},
      {"PastLeftFourNinths", 0, {355, 300}, {-1, 0}, left, {-9, 0}},
      {"LeadingLeftShortOfTheRightFifth", left, {639, 300}, {1, 0}, left, {0, 0}},
      {"LeadingLeftTurnsOnTheRightFifth", left, {640, 300}, {1, 0}, right, {9, 0}},
      {"LeadingRightShortOfTheLeftFifth", right, {161, 300}, {-1, 0}, right, {0, 0}},
      {"LeadingRightTurnsOnTheLeftFifth", right, {160, 300}, {-1, 0}, left, {-9, 0}},
      {"AboveTheLowerEdge", 0, {400, 359}, {0, 1}, 0, {0, 0}},
      {"OnTheLowerEdge", 0, {400, 360}, {0, 1}, World::kLockDown, {0, 3}},
      {"BelowTheUpperEdge", 0, {400, 241}, {0, -1}, 0, {0, 0}},
      {"OnTheUpperEdge", 0, {400, 240}, {0, -1}, World::kLockUp, {0, -3}},
  };
  Play();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Vector2 camera(600, 400);
    hero_->MoveTo(
        Vector2(camera.X() + c.screen.X() - c.move.X(), camera.Y() + c.screen.Y() - c.move.Y()));
    World::GetObjects()->SetOffset(camera);
    World::SetCameraLock(c.lockBefore);
    gHeroMove = c.move;
    World::UpdateCamera();
    EXPECT_EQ(World::GetCameraLock(), c.lock);
    EXPECT_EQ(Camera(), Vector2(camera.X() + c.step.X(), camera.Y() + c.step.Y()));
  }
}

TEST_F(CameraTest, FocusRequestTravelsStraightAt8ThenCallsBackUntilReleased) {
  Play();
  const Vector2 start = Centre();
  const Vector2 target(start.X() + 160.0f, start.Y() - 120.0f);  // 200 px away
  gReleaseOnCall = 3;
  PushFocus(target, &CountingCallback);
  for (int frame = 1; frame <= 25; ++frame) {
    World::UpdateCamera();
    const float along = (frame * 8.0f) / 200.0f;
    EXPECT_NEAR(Centre().X(), start.X() + 160.0f * along, 1e-2f) << frame;
    EXPECT_NEAR(Centre().Y(), start.Y() - 120.0f * along, 1e-2f) << frame;
    EXPECT_EQ(hero_->GetTicksLeft(), 0) << "the request holds the hero";
  }
  EXPECT_EQ(Centre(), target);
  EXPECT_EQ(gCallbackCalls, 0);
  for (int call = 1; call <= 3; ++call) {
    ASSERT_EQ(World::GetFocusQueue().size(), 1u);
    World::UpdateCamera();
    EXPECT_EQ(gCallbackCalls, call);
  }
  EXPECT_TRUE(World::GetFocusQueue().empty());
}

TEST_F(CameraTest, TargetsOutsideTheBoundsSettleOnTheClampedPoint) {
  const struct {
    const char* name;
    std::string bounds;
    Vector2 target, settled;
  } cases[] = {
      {"BeyondRightAndBottom", "0 0 2000 1000", {1900, 950}, {1600, 700}},
      {"BeyondLeftAndTop", "0 0 2000 1000", {100, 50}, {400, 300}},
      {"NarrowerThanTheScreen", "0 0 600 500", {900, 100}, {200, 200}},
      {"OpenSidesDoNotClamp", "-1 -1 -1 -1", {3000, -400}, {3000, -400}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Play(c.bounds, "300 300");
    PushFocus(c.target);
    EXPECT_LE(FramesToArrive(1000), 1000);
    EXPECT_EQ(Centre(), c.settled);
  }
}

TEST_F(CameraTest, FollowedObjectArrivesOnlyAtRestAndItsLastPointOutlivesIt) {
  Play();
  GameObject* gate = AddObject(World::GetObjects(), "other", Vector2(1100, 700));
  CameraFocus focus;
  focus.Follow(gate);
  PushCameraFocus(focus);
  // The gate moves 3 px a frame for 40 frames: the camera catches it but cannot arrive.
  for (int frame = 0; frame < 40; ++frame) {
    gate->MoveTo(Vector2(gate->GetPosition().X() + 3.0f, 700.0f));
    World::UpdateCamera();
    ASSERT_EQ(World::GetFocusQueue().size(), 1u) << frame;
  }
  EXPECT_EQ(Centre(), gate->GetPosition());
  // Deleted while queued: the camera goes on to where it was last seen.
  gate->MoveTo(Vector2(1500.0f, 800.0f));
  World::UpdateCamera();
  const Vector2 lastSeen = gate->GetPosition();
  World::GetObjects()->Remove(gate);
  EXPECT_LE(FramesToArrive(100), 100);
  EXPECT_EQ(Centre(), lastSeen);
}

TEST_F(CameraTest, EveryFractionalTargetIsReachedInItsShareOfSteps) {
  Play();
  int tours = 0;
  const auto tour = [&](const Vector2& from, const Vector2& to) {
    PlaceHero(from);
    PushFocus(to);
    const float dx = to.X() - Centre().X();
    const float dy = to.Y() - Centre().Y();
    const int budget = static_cast<int>(std::ceil(std::sqrt(dx * dx + dy * dy) / 8.0f)) + 2;
    ++tours;
    return FramesToArrive(budget) <= budget;
  };
  int failures = 0;
  for (int k = 0; k < 64; ++k) {
    const float fraction = 0.1f + 0.37f * static_cast<float>(k);
    // Out to a point of interest and back to the hero, across 1024.
    const Vector2 hero(1510.0f, 1024.0f + fraction * 4.0f);
    failures += !tour(hero, Vector2(1800.0f, 1000.0f));
    PushFocus(hero);
    failures += FramesToArrive(100) > 100;
    for (const float x : {2048.0f, 4096.0f, 8192.0f, 16384.0f}) {
      failures += !tour(Vector2(x - 150.0f, 2000.0f), Vector2(x + fraction, 2048.0f - fraction));
    }
  }
  EXPECT_EQ(failures, 0) << "of " << tours << " tours";
}

TEST_F(CameraTest, LevelCompleteDuringTheMainPassLeavesTheListDrawingOnly) {
  Play();
  AddObject(World::GetObjects(), "other", Vector2(1000, 700))->SetBehavior(&AskForNextLevel);
  gNextLevelAsked = false;
  World::GetObjects()->SetMask(PASS_ALL);
  const Vector2 camera = Camera();
  PushFocus(Vector2(0, 0));
  World::UpdateCamera();
  EXPECT_EQ(World::GetState(), STATE_LEVEL_COMPLETE);
  EXPECT_EQ(World::GetObjects()->GetMask(), PASS_DRAW | PASS_ANIMATE);
  EXPECT_EQ(Camera(), camera);
}

TEST_F(CameraTest, BossIsFramedWithTheHeroAndForgottenOnceDeleted) {
  Play();
  GameObject* boss = AddObject(World::GetObjects(), "enemy", Vector2(1200, 700));
  World::SetBoss(boss);
  for (int i = 0; i < 40; ++i) World::UpdateCamera();
  EXPECT_EQ(Centre(), Vector2(1100, 700));
  World::GetObjects()->Remove(boss);
  EXPECT_EQ(World::GetBoss(), nullptr);
  // Following the hero again, reading no freed boss: the hero is left of the
  // dead zone, so the camera leads left by the 8 px of slack.
  World::UpdateCamera();
  EXPECT_EQ(Centre(), Vector2(1092, 700));
}

TEST_F(CameraTest, WakeAndParkPassesComeEvery256PxHalfAPeriodApart) {
  Play();
  // Everything sleeps; each list holds one object just inside its wake margin
  // of the view that a rightward tour of 8 px a frame will bring.
  World::GetObjects()->SetOffset(Vector2(0, 0));
  AddObject(World::GetDormantObjects(), "other", Vector2(800 + 16 + 1128 + 100, 300));
  AddObject(World::GetDormantLayerB(), "other", Vector2(800 + 16 + 256 + 100, 300));
  PlaceHero(Vector2(400, 300));
  PushFocus(Vector2(400 + 8 * 64, 300));
  int mainWoke = 0;
  int layerWoke = 0;
  for (int frame = 1; frame <= 64; ++frame) {
    World::UpdateCamera();
    if (!mainWoke && World::GetDormantObjects()->Count() == 0) mainWoke = frame;
    if (!layerWoke && World::GetDormantLayerB()->Count() == 0) layerWoke = frame;
  }
  EXPECT_EQ(layerWoke, 16);  // its accumulator starts at 128
  EXPECT_EQ(mainWoke, 32);
}

TEST_F(CameraTest, WakeAndParkMarginsDependOnListAndKind) {
  enum ListId { kMain, kLayerB, kLayerD };
  const struct {
    const char* name;
    ListId list;
    const char* kind;
    float margin;  // beyond the view's right edge plus the frame width
    bool wakes;    // true: the wake margin; false: the park margin
  } cases[] = {
      {"MainEnemyWake", kMain, "enemy", 628, true},
      {"MainPowerupWake", kMain, "powerup", 628, true},
      {"MainOtherWake", kMain, "other", 1128, true},
      {"MainEnemyPark", kMain, "enemy", 1128, false},
      {"MainPowerupPark", kMain, "powerup", 1128, false},
      {"MainOtherPark", kMain, "other", 1628, false},
      {"LayerBEnemyWake", kLayerB, "enemy", 256, true},
      {"LayerBOtherWake", kLayerB, "other", 256, true},
      {"LayerBPowerupPark", kLayerB, "powerup", 1128, false},
      {"LayerBOtherPark", kLayerB, "other", 1628, false},
      {"LayerDPowerupWake", kLayerD, "powerup", 628, true},
      {"LayerDOtherWake", kLayerD, "other", 1128, true},
      {"LayerDEnemyPark", kLayerD, "enemy", 1128, false},
      {"LayerDPowerupPark", kLayerD, "powerup", 1628, false},
  };
  Play();
  for (const auto& c : cases) {
    for (const float beyond : {-1.0f, 0.0f}) {
      SCOPED_TRACE(std::string(c.name) + (beyond < 0 ? " inside" : " at the margin"));
      SpriteCollection* active[] = {World::GetObjects(), World::GetLayerB(), World::GetLayerD()};
      SpriteCollection* dormant[] = {World::GetDormantObjects(), World::GetDormantLayerB(),
                                     World::GetDormantLayerD()};
      for (SpriteCollection* list : {active[c.list], dormant[c.list]}) {
        if (list != World::GetObjects()) list->Clear();
      }
      World::GetObjects()->SetOffset(Vector2(0, 0));
      SpriteCollection* from = c.wakes ? dormant[c.list] : active[c.list];
      GameObject* object = AddObject(from, c.kind, Vector2(800 + 16 + c.margin + beyond, 300));
      if (c.list == kMain) {
        World::ActivateNearbyObjects(Vector2(5, 0));
      } else {
        World::ActivateNearbyLayerObjects(Vector2(5, 0));
      }
      const bool inActive = active[c.list]->Find(object->GetName()) == object;
      // Inside the margin an object is near: it wakes, or it stays awake.
      EXPECT_EQ(inActive, beyond < 0);
      if (inActive) active[c.list]->Remove(object);
    }
  }
}

TEST_F(CameraTest, ParkingSparesFlaggedObjectsAndLooksOnlyAtTheOldLength) {
  Play();
  World::GetObjects()->SetOffset(Vector2(0, 0));
  World::GetObjects()->Remove(hero_);
  GameObject* exempt = AddObject(World::GetObjects(), "other", Vector2(9000, 300));
  exempt->SetDeactivateOffscreen(false);
  GameObject* far = AddObject(World::GetObjects(), "other", Vector2(9000, 300));
  // A sleeper that wakes and sorts in front pushes `far` past the old length.
  GameObject* sleeper = AddObject(World::GetDormantObjects(), "enemy", Vector2(500, 300));
  sleeper->SetDepth(-1.0f);
  World::ActivateNearbyObjects(Vector2(0, 0));
  EXPECT_EQ(World::GetDormantObjects()->Count(), 1) << "a zero step does nothing";
  World::ActivateNearbyObjects(Vector2(5, 0));
  EXPECT_EQ(World::GetObjects()->Count(), 3);
  EXPECT_EQ(World::GetObjects()->At(0), sleeper);
  World::ActivateNearbyObjects(Vector2(5, 0));
  EXPECT_EQ(World::GetObjects()->Count(), 2);
  EXPECT_EQ(World::GetDormantObjects()->At(0), far);
}

}  // namespace
