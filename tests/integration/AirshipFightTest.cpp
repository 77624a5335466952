// The airship fight through the real frame loop, on a small arena written into
// a copy of the generated game folder: Kaje walks in and talks, three crates
// break its shield, its stage one with the summoned tigers, the colour
// transition, stage two and the ending that moves on to the next level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "game/GameObject.h"
#include "game/PlayerObject.h"
#include "game/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/AirshipArena.h"
#include "support/TempDir.h"

namespace {

using testsupport::kArenaClawY;
using testsupport::kArenaCrateXs;
using testsupport::kArenaDeckY;
using testsupport::kArenaTriggerX;

std::vector<GameObject*> AllNamed(const char* name) {
  std::vector<GameObject*> found;
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (!sprite->IsDead() && sprite->GetName() == name) found.push_back(sprite->AsGameObject());
  }
  return found;
}

class AirshipFightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    const std::filesystem::path folder = m_data.Path() / "game";
    testsupport::CopyForPlay(folder, "airship", "arena.lvl");
    std::ofstream(folder / "arena.lvl") << testsupport::AirshipArenaLevel();
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
    ASSERT_NE(World::GetPlayer(), nullptr);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

  // One frame, checking what must hold on every frame of the fight.
  void Step() {
    PlayerObject* hero = World::GetPlayer();
    const Vector2 before = hero->GetPosition();
    const auto& queue = World::GetFocusQueue();
    const bool frozen = !queue.empty() && !queue.front().m_bPlayerControl;
    game->RunFrames(1);
    ++m_frames;
    if (World::GetState() != STATE_GAMEPLAY) return;
    if (frozen) {
      EXPECT_EQ(World::GetPlayer()->GetPosition(), before) << "frozen hero moved, frame " << m_frames;
    }
    const Vector2 view = World::GetCameraOffset();
    for (const GameObject* shot : AllNamed("KajeEnergyShot")) {
      const Vector2& at = shot->GetPosition();
      EXPECT_TRUE(at.X() > view.X() - 600.0f && at.X() < view.X() + 1400.0f && at.Y() > view.Y() - 600.0f &&
                  at.Y() < view.Y() + 1200.0f)
          << "energy shot far outside the view, frame " << m_frames;
    }
  }
  // Steps until `done` holds, at most `limit` frames; false when it never did.
  template <typename Done>
  bool StepUntil(Done done, int limit) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      Step();
    }
    return done();
  }
  static GameObject* Kaje() { return FindAirshipObject("Kaje"); }
  static bool KajeRuns(BehaviorFn behavior) { return Kaje() && Kaje()->GetBehavior() == behavior; }

  // The hero spins into `target` in mid-air, as after a super jump, with the
  // Cyclone: a real attack through the keys.
  void SpinInto(const GameObject* target, float bodyY) {
    PlayerObject* hero = World::GetPlayer();
    if (!(hero->GetAbilities() & ABILITY_CYCLONE)) hero->ToggleAbility(ABILITY_CYCLONE);
    hero->SetEnergy(hero->GetMaxEnergy());
    hero->MoveTo(Vector2(target->GetPosition().X(), bodyY + 30.0f));
    hero->SetVelocity(0.0f, 0.0f);
    hero->SetAirborne(true);
    hero->ChangeState(PLAYER_AIR);
    game->KeyDown(SDL_SCANCODE_A);
    Step();
    Step();
    game->KeyUp(SDL_SCANCODE_A);
  }
  void Capture(const char* name) {
    if (const char* dir = std::getenv("VANTREL_CAPTURE_DIR")) game->SaveFrame(std::string(dir) + "/" + name);
  }

  std::unique_ptr<testharness::GameHarness> game;
  int m_frames = 0;

 private:
  testsupport::TempDir m_config;
  testsupport::TempDir m_data;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(AirshipFightTest, WholeFightFromTheApproachToTheNextLevel) {
  // The hero walks to the trigger; Kaje walks in from the left to the first crate.
  game->KeyDown(SDL_SCANCODE_RIGHT);
  ASSERT_TRUE(StepUntil([] { return Kaje() != nullptr; }, 400)) << "the trigger never fired";
  game->KeyUp(SDL_SCANCODE_RIGHT);
  EXPECT_LE(std::fabs(World::GetPlayer()->GetPosition().X() - kArenaTriggerX), 100.0f);
  EXPECT_LT(Kaje()->GetPosition().X(), 320.0f);
  ASSERT_NE(FindAirshipObject("AirshipScaffold"), nullptr);
  ASSERT_TRUE(StepUntil([] { return Kaje()->GetPosition().X() > 1500.0f; }, 300))
      << "Kaje stopped at x " << Kaje()->GetPosition().X();
  Capture("kaje-approach.png");
  ASSERT_TRUE(StepUntil([] { return Kaje()->GetBehavior() == nullptr; }, 500)) << "Kaje never arrived";
  EXPECT_NEAR(Kaje()->GetPosition().X(), kArenaCrateXs[0], 10.0f);
  EXPECT_NEAR(Kaje()->GetPosition().Y(), kArenaDeckY, 2.0f);
  EXPECT_EQ(FindAirshipObject("AirshipScaffold"), nullptr);
  EXPECT_TRUE(World::GetPlayer()->IsFacingLeft());

  // Holding Jump turns both pages; the fight starts with the shield. The keys
  // count again from the frame after the arrival.
  Step();
  game->KeyDown(SDL_SCANCODE_SPACE);
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajeShieldWait); }, 300)) << "the dialogue never ended";
  game->KeyUp(SDL_SCANCODE_SPACE);
  EXPECT_EQ(World::GetBoss(), Kaje());
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajeRocketWait); }, 200));
  ASSERT_TRUE(StepUntil([] { return !AllNamed("KajeRocket").empty(); }, 200)) << "no rocket fired";
  Capture("kaje-shield.png");

  // Each claw in turn: weakened, then struck; its crate falls on Kaje.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(StepUntil(
        [] {
          return PlayerObject::IsControlEnabled() &&
                 (KajeRuns(KajeShieldWait) || KajeRuns(KajeRocketWait) || KajeRuns(KajeFireRockets));
        },
        900));
    GameObject* claw = FindAirshipObject("AirshipClaw");
    ASSERT_NE(claw, nullptr);
    EXPECT_NEAR(claw->GetPosition().X(), kArenaCrateXs[i], 1.0f);
    claw->SetFlag("Health", 1.0f);
    SpinInto(claw, kArenaClawY + 58.0f);
    ASSERT_TRUE(StepUntil([claw] { return claw->GetFrame() == 1; }, 30)) << "the spin never broke the claw";
    // The crate breaks on Kaje.
    const std::size_t left = 2 - static_cast<std::size_t>(i);
    ASSERT_TRUE(StepUntil([left] { return AllNamed("AirshipCrate").size() == left; }, 200))
        << "the crate missed Kaje";
    EXPECT_TRUE(AllNamed("KajeRocket").empty());
  }
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajePhaseOneMove); }, 200));
  EXPECT_EQ(Kaje()->GetFlag("Health"), 80.0f);
  EXPECT_TRUE(AllNamed("AirshipCrate").empty());

  // Stage one: two tigers appear; with them gone, one last hit ends the stage.
  ASSERT_TRUE(StepUntil([] { return AllNamed("TigerE").size() == 2; }, 900)) << "no tigers";
  Capture("kaje-stage-one.png");
  for (GameObject* tiger : AllNamed("TigerE")) RemoveByRenaming(tiger);
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajePhaseOneWait) || KajeRuns(KajePhaseOneMove); }, 100));
  Kaje()->SetFlag("Health", 1.0f);
  SpinInto(Kaje(), Kaje()->GetPosition().Y() - 60.0f);
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajePhaseTwoStart); }, 30)) << "the hit never landed";
  ASSERT_TRUE(StepUntil([] { return KajeRuns(KajePhaseTwoMove); }, 700)) << "the transition never ended";
  EXPECT_EQ(Kaje()->GetFlag("Health"), 100.0f);

  // Stage two: with the hero a little way off Kaje shoots; then a final hit,
  // caught where Kaje takes hits.
  const float away = Kaje()->GetPosition().X() > 3000.0f ? -250.0f : 250.0f;
  World::GetPlayer()->MoveTo(Vector2(Kaje()->GetPosition().X() + away, kArenaDeckY - 20.0f));
  ASSERT_TRUE(StepUntil([] { return !AllNamed("KajeEnergyShot").empty(); }, 900)) << "no energy shot";
  Capture("kaje-stage-two.png");
  GameObject* trigger = FindAirshipObject("KajeTrigger");
  ASSERT_NE(trigger, nullptr);
  for (int tries = 0; tries < 20 && trigger->GetBehavior() != KajeTriggerEndLevel; ++tries) {
    ASSERT_TRUE(StepUntil([] { return KajeRuns(KajePhaseTwoMove) || KajeRuns(KajePhaseTwoIdle); }, 300));
    Kaje()->SetFlag("Health", 1.0f);
    SpinInto(Kaje(), Kaje()->GetPosition().Y() - 60.0f);
  }
  ASSERT_EQ(trigger->GetBehavior(), KajeTriggerEndLevel) << "Kaje never died";
  EXPECT_EQ(Kaje()->GetBehavior(), nullptr);
  for (int frame = 0; frame < 358; ++frame) {
    Step();
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY) << frame;
  }
  StepUntil([] { return World::GetState() != STATE_GAMEPLAY; }, 4);
  EXPECT_EQ(World::GetState(), STATE_LEVEL_COMPLETE);
}

}  // namespace
