// The hero's rules: running and braking, jumps and gravity, the special moves,
// energy, walls, slopes and lifts, refused moves and the control freeze.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <vector>

#include "PhysicsLib/PhysicsStep.h"
#include "game/HeroTestKit.h"
#include "game/objects/CollisionResponses.h"

namespace {

using herotest::HeroTest;

struct RunCase {
  const char* name;
  float start;
  std::vector<SDL_Scancode> keys;
  std::vector<float> speeds;  // horizontal velocity after each frame
};

const RunCase kRunCases[] = {
    {"FromRest", 0.0f, {SDL_SCANCODE_RIGHT}, {2, 4, 6, 6}},
    {"FromTenBrakesToTheMaximum", 10.0f, {SDL_SCANCODE_RIGHT}, {9, 8, 7, 6, 6}},
    {"NothingHeldBrakes", 3.0f, {}, {2, 1, 0, 0}},
    {"BothHeldBrake", 3.0f, {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT}, {2, 1, 0, 0}},
    {"ReversalBrakesToZeroFirst", 3.0f, {SDL_SCANCODE_LEFT}, {2, 1, 0, -2, -4, -6}},
};

class GroundRun : public HeroTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(GroundRun, SpeedsPerFrame) {
  const RunCase& c = GetParam();
  Ground();
  hero->SetVelocity(c.start, 0.0f);
  if (c.keys.size() == 1) Hold({c.keys[0]});
  if (c.keys.size() == 2) Hold({c.keys[0], c.keys[1]});
  for (float expected : c.speeds) {
    const auto& m = hero->GetMovement();
    hero->MoveHorizontal(m.groundMaxSpeed, m.groundAcceleration, m.groundBraking);
    EXPECT_FLOAT_EQ(hero->GetVelocity().X(), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Hero, GroundRun, ::testing::ValuesIn(kRunCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeroTest, JumpRisesWithLighterGravityWhileHeld) {
  Floor(140.1f);
  Ground();
  Keys({SDL_SCANCODE_SPACE});
  hero->HandleInput();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateAir);
  // The jump frame runs the air state: gravity 0.7 x 0.4 while rising faster than 5.
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), -11.5f + 0.28f);
  Hold({});
  hero->SetVelocity(0.0f, -11.5f);
  hero->ApplyGravity(kGravity);
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), -10.8f);
}

TEST_F(HeroTest, FallStopsGrowingAtTheFirstValueOfTwentyOrMore) {
  Air(0.0f, 0.0f);
  for (int i = 0; i < 60; ++i) hero->ApplyGravity(kGravity);
  EXPECT_NEAR(hero->GetVelocity().Y(), 20.3f, 1e-4f);
}

TEST_F(HeroTest, SuperJumpNeedsARiseBelowTheTrigger) {
  hero->ToggleAbility(ABILITY_SUPER_JUMP);
  hero->SetEnergy(200.0f);
  for (float vy : {4.0f, 3.9f}) {
    Air(0.0f, vy);
    Keys({SDL_SCANCODE_SPACE});
    hero->HandleInput();
    const bool started = hero->GetStateHandler() == &PlayerObject::StateSuperJump;
    EXPECT_EQ(started, vy < 4.0f) << vy;
    Keys({});
  }
}

TEST_F(HeroTest, RefusedSuperJumpLooksAtNoOtherButton) {
  hero->ToggleAbility(ABILITY_CYCLONE);  // Cyclone granted, SuperJump not
  hero->SetEnergy(200.0f);
  Air(0.0f, 0.0f);
  Keys({SDL_SCANCODE_SPACE, SDL_SCANCODE_A});
  hero->HandleInput();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateAir);
  // Without the jump press the Stride button starts the Cyclone.
  Hold({SDL_SCANCODE_A});
  hero->HandleInput();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateCyclone);
}

TEST_F(HeroTest, SpecialMovesNeedMoreThanAQuarterOfTheEnergy) {
  Floor(140.1f);
  hero->ToggleAbility(ABILITY_STRIDE);
  for (float energy : {50.0f, 50.01f}) {
    Ground();
    hero->SetEnergy(energy);
    Hold({SDL_SCANCODE_A, SDL_SCANCODE_RIGHT});
    hero->HandleInput();
    EXPECT_EQ(hero->GetStateHandler() == &PlayerObject::StateStride, energy > 50.0f) << energy;
  }
}

TEST_F(HeroTest, StrideWindsUpOnItsFirstFrameAndTurnsIntoANewAttack) {
  hero->ToggleAbility(ABILITY_STRIDE);
  hero->SetEnergy(100.0f);
  Ground();
  hero->ChangeState(PLAYER_STRIDE);
  hero->SetAirborne(true);  // nothing to stand on: no ground probe
  hero->SetVelocity(0.0f, 0.0f);
  Hold({SDL_SCANCODE_RIGHT});
  ASSERT_EQ(hero->GetFrame(), 0);
  hero->StateStride();
  EXPECT_FLOAT_EQ(hero->GetVelocity().X(), 0.0f);
  EXPECT_FLOAT_EQ(hero->GetEnergy(), 100.0f);

  hero->SetFrame(1);
  hero->StateStride();
  EXPECT_FLOAT_EQ(hero->GetVelocity().X(), 2.0f);
  EXPECT_FLOAT_EQ(hero->GetEnergy(), 98.0f);

  const int attack = hero->GetAttackId();
  hero->SetVelocity(0.0f, 0.0f);
  Hold({SDL_SCANCODE_LEFT});
  hero->StateStride();
  EXPECT_TRUE(hero->IsFacingLeft());
  EXPECT_NE(hero->GetAttackId(), attack);
}

TEST_F(HeroTest, EnergyRefillsOnlyOnTheGroundAndShowsOnTheBar) {
  Floor(140.1f);
  hero->SetEnergy(100.0f);
  Ground();
  hero->StateGround();
  EXPECT_FLOAT_EQ(hero->GetEnergy(), 100.2f);
  EXPECT_FLOAT_EQ(HUD::FindObject("EnergyBar")->GetScaleX(), 100.2f / 200.0f);
  Air(0.0f, 0.0f);
  hero->StateAir();
  EXPECT_FLOAT_EQ(hero->GetEnergy(), 100.2f);
}

TEST_F(HeroTest, WallJumpKicksAwayFromTheWall) {
  hero->ToggleAbility(ABILITY_WALL_JUMP);
  Air(0.0f, 1.0f);
  hero->SetFacingLeft(true);
  hero->ChangeState(PLAYER_WALL_JUMP);
  ASSERT_EQ(hero->GetStateHandler(), &PlayerObject::StateWallJump);
  Keys({SDL_SCANCODE_SPACE});
  hero->ChangeState(PLAYER_AIR);
  EXPECT_FLOAT_EQ(hero->GetVelocity().X(), 10.0f);
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), -11.5f);
  EXPECT_FALSE(hero->IsFacingLeft());
}

TEST_F(HeroTest, WallJumpLetsGoAfterNineAwayFramesAndSlidesSlowly) {
  // A wall just left of the hero, which faces it.
  Solid(60.0f, 0.0f, {{0, 0}, {39.9f, 0}, {39.9f, 400}, {0, 400}});
  hero->ToggleAbility(ABILITY_WALL_JUMP);
  Air(0.0f, 1.0f);
  hero->SetFacingLeft(true);
  hero->ChangeState(PLAYER_WALL_JUMP);
  hero->SetAirborne(true);
  Hold({SDL_SCANCODE_RIGHT});
  for (int i = 0; i < 5; ++i) hero->HandleInput();
  EXPECT_EQ(hero->GetWallPushFrames(), 5);
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), 5 * 0.175f);
  Hold({});
  hero->HandleInput();  // one frame off restarts the count
  EXPECT_EQ(hero->GetWallPushFrames(), 0);
  Hold({SDL_SCANCODE_RIGHT});
  for (int i = 0; i < 8; ++i) hero->HandleInput();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateWallJump);
  hero->HandleInput();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateAir);
  EXPECT_EQ(hero->GetWallPushFrames(), 0);
  EXPECT_LE(hero->GetVelocity().X(), 1.0f);  // dropped, not kicked
}

TEST_F(HeroTest, FallsLandsAndStandsThenRunsAndJumps) {
  Floor(300.0f);
  hero->SetCollisionCallback(CollidePlayer);
  auto frame = [&] {
    hero->HandleInput();
    PhysicsStep(World::GetObjects()->GetSprites());
  };
  for (int i = 0; i < 40; ++i) frame();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateGround);
  EXPECT_FALSE(hero->IsAirborne());
  const float standing = hero->GetPosition().Y();
  EXPECT_NEAR(standing, 260.0f, 0.5f);
  for (int i = 0; i < 10; ++i) frame();
  EXPECT_FLOAT_EQ(hero->GetPosition().Y(), standing);

  Hold({SDL_SCANCODE_RIGHT});
  for (int i = 0; i < 10; ++i) frame();
  EXPECT_FLOAT_EQ(hero->GetVelocity().X(), 6.0f);
  EXPECT_NEAR(hero->GetPosition().Y(), standing, 0.5f);
  EXPECT_GT(hero->GetPosition().X(), 140.0f);

  Keys({SDL_SCANCODE_SPACE});
  frame();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateAir);
  Hold({});
  for (int i = 0; i < 60; ++i) frame();
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateGround);
  EXPECT_NEAR(hero->GetPosition().Y(), standing, 0.5f);
}

TEST_F(HeroTest, RefusedMovesKeepTheHandlerAndAnimation) {
  Floor(140.1f);
  Ground();
  Animation* before = hero->GetAnimation();
  for (int state : {PLAYER_STRIDE, PLAYER_CYCLONE, PLAYER_SUPER_JUMP, PLAYER_WALL_JUMP}) {
    hero->ChangeState(state);
    EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateGround) << state;
    EXPECT_EQ(hero->GetAnimation(), before) << state;
  }
}

TEST_F(HeroTest, FrozenWhileControlIsOff) {
  Air(3.0f, 5.0f);
  Hold({SDL_SCANCODE_RIGHT});
  World::SetPlayFrame(false);
  hero->HandleInput();
  EXPECT_FLOAT_EQ(hero->GetVelocity().X(), 0.0f);
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), 0.0f);
  World::SetPlayFrame(true);
  hero->HandleInput();
  EXPECT_GT(hero->GetVelocity().Y(), 0.0f);
}

TEST_F(HeroTest, StandsOnTheFloorAndRidesALift) {
  GameObject* lift = Solid(0.0f, 141.0f, {{0, 0}, {400, 0}, {400, 32}, {0, 32}});
  Ground();
  hero->ProbeGround(true);
  EXPECT_FALSE(hero->IsAirborne());
  EXPECT_NEAR(hero->GetPosition().Y(), 100.0f + 2.0f * 0.5f - 0.1f, 0.01f);

  // A lift rising 3 a frame is carried into the hero's velocity.
  lift->SetVelocity(0.0f, -3.0f);
  hero->SetVelocity(0.0f, 0.0f);
  hero->ProbeGround(true);
  EXPECT_FALSE(hero->IsAirborne());
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), -3.0f - 0.1f);
}

TEST_F(HeroTest, LiftOutOfReachWhenHeldStillKeepsTheFirstContact) {
  // 5 below the hero's feet: reached only with the lift's own rise.
  GameObject* lift = Solid(0.0f, 145.0f, {{0, 0}, {400, 0}, {400, 32}, {0, 32}});
  lift->SetVelocity(0.0f, -4.0f);
  Ground();
  hero->ProbeGround(true);
  EXPECT_FALSE(hero->IsAirborne());
  EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), -4.0f - 0.1f);
  EXPECT_TRUE(std::isfinite(hero->GetPosition().Y()));
}

struct SlopeCase {
  const char* name;
  float rise;  // over 128 across
  bool climbs;
};

class Slopes : public HeroTest, public ::testing::WithParamInterface<SlopeCase> {};

TEST_P(Slopes, ClimbOrStop) {
  const SlopeCase& c = GetParam();
  Floor(140.1f);
  // A ramp rising to the right from the hero's feet, 4 ahead of its front.
  Solid(124.0f, 140.1f - c.rise, {{0, c.rise}, {128, 0}, {128, c.rise}});
  Ground();
  hero->SetVelocity(6.0f, 0.0f);
  Hold({SDL_SCANCODE_RIGHT});
  hero->FollowSlope();
  if (c.climbs) {
    EXPECT_LT(hero->GetVelocity().Y(), 0.0f);
    EXPECT_NEAR(hero->GetVelocity().Y() / hero->GetVelocity().X(), -c.rise / 128.0f, 0.05f);
  } else {
    EXPECT_FLOAT_EQ(hero->GetVelocity().Y(), 0.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(Hero, Slopes,
                         ::testing::Values(SlopeCase{"Shallow", 64.0f, true},
                                           SlopeCase{"Diagonal", 128.0f, true},
                                           SlopeCase{"Steep", 256.0f, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Steep ramp pieces as the tile sets cut them: the face rises a whole tile over
// half of it, and the other half is flat on top.
struct SteepFaceCase {
  const char* name;
  float tile;       // 128 for the metal ramps, 256 for the junkyard's
  bool risesRight;  // the face climbs to the right, so the hero falls on its left
  bool keyToward;   // the hero holds the key toward the face as it falls
};

class SteepFaces : public HeroTest, public ::testing::WithParamInterface<SteepFaceCase> {};

// Gravity presses a hero falling along such a face into it every frame; it must
// slide down to the floor, not hang on the face.
TEST_P(SteepFaces, AFallingHeroSlidesDownTheFaceToTheFloor) {
  const SteepFaceCase& c = GetParam();
  constexpr float kFloor = 1000.0f;
  constexpr float kLeft = 1200.0f;
  const float half = c.tile / 2.0f;
  Floor(kFloor);
  if (c.risesRight) {
    Solid(kLeft, kFloor - c.tile, {{0, c.tile}, {half, 0}, {c.tile, 0}, {c.tile, c.tile}});
  } else {
    Solid(kLeft, kFloor - c.tile, {{0, c.tile}, {0, 0}, {half, 0}, {c.tile, c.tile}});
  }
  // The 20-wide hero's front corner over the middle of the face, 10 above its top.
  const float x = c.risesRight ? kLeft + half / 2.0f - 20.0f : kLeft + c.tile - half / 2.0f;
  hero->MoveTo(Vector2(x, kFloor - c.tile - 50.0f));
  hero->SetCollisionCallback(CollidePlayer);
  Air(0.0f, 0.0f);
  if (c.keyToward) {
    Hold({c.risesRight ? SDL_SCANCODE_RIGHT : SDL_SCANCODE_LEFT});
  } else {
    Hold({});
  }

  int stillFrames = 0;
  int longestStill = 0;
  for (int frame = 0; frame < 120 && hero->GetStateHandler() != &PlayerObject::StateGround;
       ++frame) {
    const Vector2 before = hero->GetPosition();
    hero->HandleInput();
    PhysicsStep(World::GetObjects()->GetSprites());
    const Vector2 moved = hero->GetPosition() - before;
    stillFrames = std::fabs(moved.X()) + std::fabs(moved.Y()) < 0.25f ? stillFrames + 1 : 0;
    longestStill = std::max(longestStill, stillFrames);
  }
  EXPECT_EQ(hero->GetStateHandler(), &PlayerObject::StateGround);
  EXPECT_NEAR(hero->GetPosition().Y() + 40.0f, kFloor, 0.5f);
  // Landing takes two nearly still frames (the contact, then the ground state);
  // a hero caught on the face hangs for as long as the loop runs.
  EXPECT_LE(longestStill, 2);
  // At the foot of the face, not through the piece.
  if (c.risesRight) {
    EXPECT_LE(hero->GetPosition().X() + 20.0f, kLeft + 0.5f);
  } else {
    EXPECT_GE(hero->GetPosition().X(), kLeft + c.tile - 0.5f);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Hero, SteepFaces,
    ::testing::Values(SteepFaceCase{"Metal_RisingRight", 128.0f, true, false},
                      SteepFaceCase{"Metal_RisingRight_KeyHeld", 128.0f, true, true},
                      SteepFaceCase{"Metal_RisingLeft", 128.0f, false, false},
                      SteepFaceCase{"Metal_RisingLeft_KeyHeld", 128.0f, false, true},
                      SteepFaceCase{"Junkyard_RisingRight", 256.0f, true, false},
                      SteepFaceCase{"Junkyard_RisingRight_KeyHeld", 256.0f, true, true},
                      SteepFaceCase{"Junkyard_RisingLeft", 256.0f, false, false},
                      SteepFaceCase{"Junkyard_RisingLeft_KeyHeld", 256.0f, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A face of exactly 45 degrees is a ramp the hero lands on and walks, so the
// steep-face slide leaves him alone; only a steeper face takes him down it.
TEST_F(HeroTest, AFortyFiveDegreeFaceIsARampNotASteepFace) {
  constexpr float kFloor = 1000.0f;
  float left = 1200.0f;  // each face 1000 further right
  const struct {
    const char* name;
    float rise;  // over 128 across
    bool risesRight;
    bool slides;
  } faces[] = {
      {"45 degrees rising right", 128.0f, true, false},
      {"45 degrees rising left", 128.0f, false, false},
      {"just steeper", 132.0f, true, true},
  };
  for (const auto& face : faces) {
    SCOPED_TRACE(face.name);
    left += 1000.0f;
    if (face.risesRight) {
      Solid(left, kFloor - face.rise, {{0, face.rise}, {128, 0}, {128, face.rise}});
    } else {
      Solid(left, kFloor - face.rise, {{0, 0}, {128, face.rise}, {0, face.rise}});
    }
    // The hero's lower front corner 2 above the middle of the face, falling 5.
    const float x = face.risesRight ? left + 64.0f - 20.0f : left + 64.0f;
    hero->MoveTo(Vector2(x, kFloor - face.rise / 2.0f - 42.0f));
    Air(0.0f, 5.0f);
    const Vector2 before = hero->GetPosition();
    hero->SlideOntoSteepFace();
    EXPECT_EQ(hero->GetPosition() != before, face.slides);
  }
}

// The look-ahead sweeps the hero's box; the physics step and every later probe
// must see the box as it was, or the recorded runs would change.
TEST_F(HeroTest, TheSteepFaceLookAheadLeavesTheHerosBoxAsItWas) {
  Air(3.0f, 5.0f);
  const PhysicsObject& seen = *hero;
  const Bounds before = seen.GetCollisionShape().GetBounds();
  hero->SlideOntoSteepFace();
  const Bounds after = seen.GetCollisionShape().GetBounds();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_EQ(hero->GetVelocity(), CachedVector(3.0f, 5.0f));
}

TEST_F(HeroTest, TuningFaultsKeepDefaultsAndAreReported) {
  struct Case {
    std::string text;
    const char* message;
  };
  std::string full;
  for (int line = 1; line <= kHeroTuningValues; ++line) {
    full += (line == 3 ? "0.5" : line == 23 ? "-1" : line == 1 ? "7" : "1") + std::string(" c\n");
  }
  const Case cases[] = {
      {full, "line 3 (0.500000) is a braking value"},
      {"7\n2\n", "only 2 of 42 values read"},
      {"7\nfast\n", "line 2 is not a number"},
  };
  for (const Case& c : cases) {
    PlayerObject copy(*hero);
    std::istringstream in(c.text);
    testing::internal::CaptureStderr();
    copy.LoadParameters(in);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("data/ZodirazO.ini"), std::string::npos) << report;
    EXPECT_NE(report.find(c.message), std::string::npos) << report;
    EXPECT_FLOAT_EQ(copy.GetMovement().groundMaxSpeed, 7.0f);
    EXPECT_FLOAT_EQ(copy.GetMovement().groundBraking, -1.0f);
    EXPECT_FLOAT_EQ(copy.GetMaxEnergy(), 200.0f);
    EXPECT_EQ(copy.GetLocalVars().m_uComboWindowStart, c.text == full ? 1u : 6u);
    EXPECT_EQ(copy.GetComboMessageWindow(), c.text == full ? 1 : 90);
  }
  testing::internal::CaptureStderr();
  hero->LoadTuningFile("data/nothing.ini");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("\"data/nothing.ini\": cannot be opened"),
            std::string::npos);
}

TEST_F(HeroTest, FrameCountsBeyondTheLimitKeepTheirDefaultsAndAreReported) {
  struct Case {
    int line;
    const char* value;
    bool kept;
  };
  // Lines 20 to 22: combo window start and end, combo message window.
  const Case cases[] = {
      {20, "5e9", false},
      {22, "3e9", false},
      {21, "10001", false},
      {21, "10000", true},
  };
  for (const Case& c : cases) {
    // Every other line valid: its own number, negative for the four braking values.
    std::string text;
    for (int line = 1; line <= kHeroTuningValues; ++line) {
      const bool braking = line == 3 || line == 6 || line == 15 || line == 18;
      text += (line == c.line ? std::string(c.value) : std::to_string(braking ? -line : line));
      text += "\n";
    }
    PlayerObject copy(*hero);
    std::istringstream in(text);
    testing::internal::CaptureStderr();
    copy.LoadParameters(in);
    const std::string report = testing::internal::GetCapturedStderr();
    SCOPED_TRACE(std::string("line ") + std::to_string(c.line) + " = " + c.value);
    const unsigned windows[] = {copy.GetLocalVars().m_uComboWindowStart,
                                copy.GetLocalVars().m_uComboWindowEnd,
                                static_cast<unsigned>(copy.GetComboMessageWindow())};
    const unsigned defaults[] = {6, 24, 90};
    for (int line = 20; line <= 22; ++line) {
      const unsigned expected = line != c.line ? static_cast<unsigned>(line)
                                : c.kept       ? static_cast<unsigned>(std::stof(c.value))
                                               : defaults[line - 20];
      EXPECT_EQ(windows[line - 20], expected) << "line " << line;
    }
    const std::string where = "\"data/ZodirazO.ini\": line " + std::to_string(c.line) + " ";
    EXPECT_EQ(report.find(where) != std::string::npos, !c.kept) << report;
  }
}

TEST_F(HeroTest, OnlyThePlayerObjectIsTheHero) {
  // A plain object of the hero's name sorted in front of the real one.
  auto* impostor = new GameObject(World::kPlayerName, m_body, Vector2(), NO_CALLBACKS, -1.0f);
  World::GetObjects()->Add(impostor);
  ASSERT_EQ(World::GetObjects()->Find(World::kPlayerName), impostor);
  EXPECT_EQ(World::GetPlayer(), hero);
}

// The hero as a search of the main list finds it: the first PlayerObject of the hero's name.
PlayerObject* SearchForHero() {
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite->GetName() != World::kPlayerName) continue;
    if (auto* player = dynamic_cast<PlayerObject*>(sprite)) return player;
  }
  return nullptr;
}

// World::GetPlayer keeps its answer between calls; each change below must be seen at once.
TEST_F(HeroTest, GetPlayerFollowsEveryChangeOfTheListAndOfNames) {
  SpriteCollection* list = World::GetObjects();
  auto newHero = [this](float depth) {
    const ObjectCallbacks callbacks{PlayerQueryThunk, PlayerInputThunk, nullptr};
    auto* other = new PlayerObject(World::kPlayerName, m_body, Vector2(300, 100), callbacks, depth);
    World::GetObjects()->Add(other);
    return other;
  };
  Sprite* parked = nullptr;
  const struct {
    const char* change;
    std::function<void()> make;
  } steps[] = {
      {"a second hero sorted behind", [&] { newHero(1.0f); }},
      {"the first one leaves", [&] { list->Remove(hero); }},
      {"the second is renamed", [&] { SearchForHero()->SetName("Statue"); }},
      {"and named back", [&] { list->Find("Statue")->SetName(World::kPlayerName); }},
      {"a third sorted in front", [&] { newHero(-1.0f); }},
      {"the front one is unlinked", [&] { parked = list->RemoveAt(0); }},
      {"and put back at the end", [&] { list->AddUnsorted(parked); }},
      {"the list is sorted again", [&] { list->Sort(); }},
      {"one dies", [&] { SearchForHero()->SetDead(true); }},
      {"the dead are purged", [&] { list->PurgeRemoved(); }},
      {"every hero goes", [&] { delete list->RemoveByName(World::kPlayerName); }},
      {"the list is cleared", [&] { list->Clear(); }},
  };
  for (const auto& step : steps) {
    World::GetPlayer();  // the answer to keep
    step.make();
    EXPECT_EQ(World::GetPlayer(), SearchForHero()) << "after " << step.change;
  }
  EXPECT_EQ(World::GetPlayer(), nullptr);
}

TEST_F(HeroTest, OrbBookkeeping) {
  hero->SetOrbs(ORB_RED, ORB_CRACKED, ORB_CRACKED);
  EXPECT_EQ(hero->GetHealth(), 3);
  EXPECT_EQ(hero->GetCrackQueue(), (std::deque<bool>{false, true, true}));
  EXPECT_FALSE(hero->IsFrontOrbCracked());
  hero->RestoreOrbs();
  EXPECT_EQ(hero->GetOrbQueue(), (std::deque<int>{ORB_RED, ORB_PLAIN, ORB_PLAIN}));
  hero->SetOrbs(ORB_CRACKED, ORB_CRACKED, ORB_CRACKED);
  EXPECT_TRUE(hero->IsFrontOrbCracked());

  std::unique_ptr<PlayerObject> copy(hero->Clone());
  EXPECT_EQ(copy->GetAttackId(), 1);
  EXPECT_EQ(copy->GetOrbQueue(), hero->GetOrbQueue());
}

}  // namespace

namespace {

TEST(HeroWithoutHud, StopsOnTheHudAssertion) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ASSERT_EQ(HUD::GetInstance(), nullptr);
  Animation body = worldtest::MakeAnimation("body");
  EXPECT_DEATH(PlayerObject(World::kPlayerName, &body, Vector2(), NO_CALLBACKS, 0.0f),
               "Assertion failed: HUD, file game/player/PlayerObject.cpp");
}

}  // namespace
