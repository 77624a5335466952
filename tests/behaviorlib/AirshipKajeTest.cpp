// The airship boss fight: the trigger's camera protocol, Kaje's approach and
// stages, the crates and claws that break its shield, its rockets and energy
// shots, and the dialogue.
#include "behaviorlib/Includes/AirshipKaje.h"

#include <gtest/gtest.h>

#include <SDL_scancode.h>

#include <cmath>
#include <string>
#include <vector>

#include "behaviorlib/BehaviorWorld.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/Includes/AirshipObjects.h"
#include "behaviorlib/WalkingEnemies.h"
#include "game/input/Input.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/ResponseFixtures.h"

namespace {

using namespace behaviortest;

constexpr float kDeckY = 4000.0f;
constexpr float kStandY = kDeckY - 0.1f;

class AirshipKajeTest : public BehaviorWorldTest {
 protected:
  void SetUp() override {
    BehaviorWorldTest::SetUp();
    const CollisionPolygon walker = Box(WALKER, -30, -170, 30, 0);
    const CollisionPolygon body = Box(ENEMY_BODY, -30, -170, 30, 0);
    const CollisionPolygon muzzle = Box(MARKER, 60, -100, 64, -96);
    WriteAnim("kaje", 1, {walker, body, muzzle}, 0);
    WriteAnim("kajefire", 3, {walker, body, muzzle}, 2);
    WriteAnim("shield", 1, {Box(MARKER, -1, -1, 1, 1), Box(ENEMY_BODY, -100, -100, 100, 100)}, 0);
    WriteAnim("rocket", 1, {Box(ENEMY_PROJECTILE, -20, -8, 20, 8)}, 0);
    WriteAnim("crate", 2, {Box(CRATE, -60, -60, 60, 60)}, 0);
    WriteAnim("claw", 2, {Box(MARKER, -1, -1, 1, 1), Box(ENEMY_BODY, -30, 40, 30, 100)}, 0);
    WriteAnim("deck", 2, {Box(GROUND, 0, 0, 128, 128)}, 0);
    WriteAnim("marker", 1, {}, 0);
    worldtest::WriteText(Root() / "SpriteList.vtsl",
                         "15\n"
                         "ZodirazO 1 1 animations/hero.acd\n"
                         "Floor 1 1 animations/deck.acd\n"
                         "Flash 1 1 animations/flash.acd\n"
                         "Spark 1 1 animations/spark.acd\n"
                         "Powerup 1 1 animations/powerup.acd\n"
                         "Kaje 6 1 animations/kaje.acd 2 animations/kaje.acd 3 animations/kajefire.acd "
                         "15 animations/kajefire.acd 16 animations/kaje.acd 17 animations/kaje.acd\n"
                         "KajeShield 1 1 animations/shield.acd\n"
                         "KajeRocket 1 1 animations/rocket.acd\n"
                         "KajeEnergyShot 1 1 animations/rocket.acd\n"
                         "TigerE 1 1 animations/walker.acd\n"
                         "AirshipCrate 1 1 animations/crate.acd\n"
                         "AirshipClaw 1 1 animations/claw.acd\n"
                         "KajeTrigger 1 1 animations/marker.acd\n"
                         "AirshipScaffold 1 1 animations/marker.acd\n"
                         "Shot 1 1 animations/rocket.acd\n");
  }

  // A deck from x 0 to 5120 at y 4000 with marker tiles at both ends of the
  // stage-one walk, the trigger at `triggerX`, and the given extra objects.
  void StartArena(float triggerX, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> objects;
    for (int tile = 0; tile < 40; ++tile) {
      const bool marker = tile == 19 || tile == 36;
      objects.push_back("Floor " + std::to_string(tile * 128) + " 4000 " + (marker ? "1" : "0") + " 0 0");
    }
    objects.push_back("KajeTrigger " + std::to_string(triggerX) + " 3900 0 0 0");
    objects.insert(objects.end(), extra.begin(), extra.end());
    StartLevel(objects, {}, "0 0 6000 5000");
    // The whole arena in play, whatever the load parked.
    SpriteCollection* dormant = World::GetDormantObjects();
    while (!dormant->GetSprites().empty()) World::GetObjects()->Add(dormant->RemoveAt(0));
    World::GetObjects()->SetOffset(Vector2(triggerX - 400.0f, 3500.0f));
    hero = AddHero(Vector2(triggerX + 500.0f, kStandY));
    hero->SetBehavior(nullptr);
    Step();  // the Inits run
  }

  static GameObject* Trigger() { return Live("KajeTrigger"); }
  static float Flag(const char* object, const char* name) { return Live(object)->GetFlag(name); }

  // Spawns Kaje and the shield at once through the trigger.
  GameObject* SpawnBoss() {
    hero->MoveTo(Vector2(Trigger()->GetPosition().X(), kStandY));
    KajeTriggerSpawnBoss(Trigger());
    return Live("Kaje");
  }

  // Kaje standing at x, in `state` with its stage's properties.
  GameObject* KajeAt(float x, BehaviorFn state, float health) {
    GameObject* kaje = SpawnBoss();
    kaje->MoveTo(Vector2(x, kStandY));
    kaje->SetFlag("OnGround", 1.0f);
    kaje->SetFlag("Health", health);
    kaje->SetBehavior(state);
    kaje->SetState(1);
    World::GetFocusQueue().clear();
    return kaje;
  }

  void HoldJump() {
    Input::GetInstance()->Enable();
    Input::GetInstance()->Update();  // reacquires the devices
    game->KeyDown(SDL_SCANCODE_SPACE);
    Input::GetInstance()->Update();
    Input::GetInstance()->Update();
  }

  // A sword hit of `damage` by a new attack, as the damage response stores it.
  void SwordHit(GameObject* target, float damage) {
    hero->NextAttackId();
    target->SetFlag("DamageReceived", damage);
    target->SetLastContact(responsetest::Overlap(target, hero, 1, 2));
  }

  PlayerObject* hero = nullptr;

 private:
  void WriteAnim(const std::string& name, int frames, const std::vector<CollisionPolygon>& polygons,
                 int ticks) {
    Animation animation(name, Vector2(64, 64), Vector2(64.0f * frames, 64));
    for (int i = 0; i < frames; ++i) {
      animation.GetFrames().emplace_back(ticks ? (i + 1) % frames : i, ticks, Vector2(32, 32),
                                         CollisionShape(polygons));
    }
    const std::string file = (Root() / "animations" / name).string();
    ASSERT_TRUE(animation.Save(file + ".acd"));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(64 * frames * 64), worldtest::kPaint);
    std::string error;
    ASSERT_TRUE(platform::SavePng(file + ".png", 64 * frames, 64, pixels.data(), error)) << error;
  }
};

TEST_F(AirshipKajeTest, HoldFocusReleasesOnceAndHoldsTheNextFocus) {
  StartArena(2000.0f);
  struct Case {
    float before;
    bool released;
    float after;
  };
  for (const Case& c : {Case{0.0f, true, -1.0f}, Case{-1.0f, false, 1.0f}, Case{1.0f, false, 1.0f}}) {
    Trigger()->SetFlag("HoldFocus", c.before);
    EXPECT_EQ(KajeTriggerHold(), c.released) << c.before;
    EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), c.after) << c.before;
  }
  // No trigger: the camera is let go rather than held forever.
  Trigger()->SetName("Elsewhere");
  EXPECT_TRUE(KajeTriggerHold());
}

TEST_F(AirshipKajeTest, TheHeroWithinAHundredPixelsSpawnsKajeAndItsShield) {
  StartArena(2000.0f);
  hero->MoveTo(Vector2(2101.0f, kStandY));
  Step();
  EXPECT_EQ(Live("Kaje"), nullptr);
  hero->MoveTo(Vector2(2100.0f, kStandY));
  Input::GetInstance()->Enable();
  KajeTriggerSpawnBoss(Trigger());

  EnemyObject* kaje = Enemy("Kaje");
  ASSERT_NE(kaje, nullptr);
  EXPECT_EQ(kaje->GetState(), 2);
  EXPECT_EQ(kaje->GetCollisionCallback(), &CollideDamage);
  EXPECT_EQ(kaje->GetBehavior(), &KajeStart);
  EXPECT_FALSE(kaje->GetDeactivateOffscreen());
  EXPECT_EQ(kaje->GetPosition(), Vector2(300.0f, 4000.0f));
  EXPECT_EQ(kaje->GetFlag("Health"), 3.0f);

  EnemyObject* shield = Enemy("KajeShield");
  ASSERT_NE(shield, nullptr);
  EXPECT_EQ(shield->GetScaleX(), 0.0f);
  EXPECT_TRUE(shield->IsInactive());
  EXPECT_FLOAT_EQ(shield->GetDepth(), 3.0f);
  EXPECT_FALSE(shield->IsPulsing());
  EXPECT_EQ(shield->GetBehavior(), &KajeShieldFollow);

  EXPECT_FALSE(Input::GetInstance()->IsEnabled());
  ASSERT_EQ(World::GetFocusQueue().size(), 1u);
  EXPECT_EQ(World::GetFocusQueue().front().GetFollowed(), kaje->GetHandle());
  EXPECT_TRUE(World::GetFocusQueue().front().m_bPlayerControl);
  EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 1.0f);
  EXPECT_EQ(Trigger()->GetBehavior(), nullptr);

  kaje->MoveTo(Vector2(2500.0f, kStandY));
  shield->SetInactive(false);
  Step();
  EXPECT_EQ(shield->GetPosition(), kaje->GetPosition());
}

TEST_F(AirshipKajeTest, KajeWalksToTheFirstCrateAndOpensTheDialogue) {
  StartArena(2000.0f, {"AirshipCrate 2600 3600 0 0 0", "AirshipScaffold 2400 3900 0 0 0"});
  World::GetDormantObjects()->Add(new GameObject("AirshipScaffold", Live("Floor")->GetAnimation(),
                                                 Vector2(), NO_CALLBACKS, 0.0f));
  GameObject* kaje = KajeAt(2400.0f, KajeStart, 3.0f);
  Step();
  EXPECT_FLOAT_EQ(kaje->GetVelocity().X(), 6.0f);
  int frames = 0;
  while (kaje->GetBehavior() == &KajeStart && frames < 100) {
    Step();
    ++frames;
  }
  EXPECT_LE(std::fabs(kaje->GetPosition().X() - 2600.0f), 10.0f);
  EXPECT_EQ(kaje->GetState(), 1);
  EXPECT_EQ(Trigger()->GetBehavior(), &KajeTriggerDialogue);
  EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 0.0f);
  EXPECT_TRUE(hero->IsFacingLeft());
  EXPECT_EQ(hero->GetBehavior(), nullptr);
  EXPECT_TRUE(Input::GetInstance()->IsEnabled());
  EXPECT_EQ(World::GetFocusQueue().back().GetFollowed(), hero->GetHandle());
  EXPECT_EQ(Count("AirshipScaffold"), 0);
  EXPECT_EQ(World::GetDormantObjects()->Find("AirshipScaffold"), nullptr);
}

TEST_F(AirshipKajeTest, KajeFallsOnlyOnceItIsNearTheView) {
  StartArena(2000.0f, {"AirshipCrate 5000 3600 0 0 0"});
  for (const auto& [x, falls] : {std::pair{1000.0f, false}, std::pair{1200.0f, true}}) {
    GameObject* kaje = KajeAt(x, KajeStart, 3.0f);
    kaje->MoveTo(Vector2(x, 3000.0f));  // nothing below
    World::GetObjects()->SetOffset(Vector2(1300.0f, 3000.0f));
    KajeStart(kaje);
    EXPECT_EQ(kaje->GetVelocity().Y() > 0.0f, falls) << x;
    RemoveByRenaming(kaje);
    RemoveByRenaming(Live("KajeShield"));
    Step();
  }
}

TEST_F(AirshipKajeTest, WithoutACrateKajeArrivesWhereItStands) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2400.0f, KajeStart, 3.0f);
  Step();
  EXPECT_EQ(kaje->GetBehavior(), nullptr);
  EXPECT_FLOAT_EQ(kaje->GetPosition().X(), 2400.0f);
  // The same in the shield stage: it settles under no crate at all.
  kaje->SetBehavior(KajeCrateCheck);
  Step();
  EXPECT_EQ(kaje->GetBehavior(), &KajeShieldWait);
}

TEST_F(AirshipKajeTest, AStateThatNeedsTheTriggerStopsWithoutOne) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2400.0f, KajeCrateCheck, 3.0f);
  Trigger()->SetName("Gone");
  EXPECT_DEATH(KajeCrateCheck(kaje), "trigger.*AirshipKaje");
}

TEST_F(AirshipKajeTest, AMissingBossPrototypeIsAnAssertionNotACrash) {
  StartArena(2000.0f);
  World::GetPrototypePool()->Find("Kaje")->SetName("Unknown");
  hero->MoveTo(Vector2(2000.0f, kStandY));
  EXPECT_DEATH(KajeTriggerSpawnBoss(Trigger()), "prototype");
}

TEST_F(AirshipKajeTest, HoldingJumpRunsBothDialoguePagesAndStartsTheFight) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2400.0f, nullptr, 3.0f);
  GameObject* trigger = Trigger();
  trigger->SetBehavior(KajeTriggerDialogue);
  trigger->SetFlag("HoldFocus", 1.0f);
  HoldJump();
  KajeTriggerDialogue(trigger);
  EXPECT_EQ(Flag("KajeTrigger", "State"), 0.0f);  // waits for the camera
  trigger->SetFlag("HoldFocus", -1.0f);
  KajeTriggerDialogue(trigger);
  const size_t before = World::GetQueuedTexts().size();
  KajeTriggerDialogue(trigger);
  const auto& texts = World::GetQueuedTexts();
  ASSERT_EQ(texts.size(), before + 3);
  EXPECT_EQ(texts[before].text, "ZODIRAZ O");
  EXPECT_EQ(texts[before].size, 30);
  EXPECT_EQ(texts[before + 1].face, "Times New Roman");
  EXPECT_EQ(texts[before + 1].x, 70.0f);
  EXPECT_EQ(texts[before + 2].y, 240.0f);
  EXPECT_EQ(texts[before + 2].color, 0xFFFFFFFFu);
  EXPECT_EQ(Flag("KajeTrigger", "State"), 2.0f);
  EXPECT_EQ(World::GetFocusQueue().back().GetFollowed(), kaje->GetHandle());

  trigger->SetFlag("HoldFocus", -1.0f);
  KajeTriggerDialogue(trigger);
  KajeTriggerDialogue(trigger);
  EXPECT_EQ(World::GetQueuedTexts().back().text,
            "has ended; you will not get out of this junkyard to stop me!");
  EXPECT_EQ(World::GetBoss(), kaje);
  EXPECT_EQ(Flag("KajeTrigger", "State"), 4.0f);
  for (int frame = 0; frame < 30; ++frame) KajeTriggerDialogue(trigger);
  EXPECT_EQ(hero->GetBehavior(), &PlayerInputThunk);
  EXPECT_EQ(kaje->GetBehavior(), &KajeShieldWait);
  EXPECT_EQ(trigger->GetBehavior(), nullptr);
}

TEST_F(AirshipKajeTest, TheShieldGrowsForAHundredAndEightyFramesThenRocketsFly) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2400.0f, KajeShieldWait, 3.0f);
  GameObject* shield = Live("KajeShield");
  int frames = 0;
  while (kaje->GetBehavior() == &KajeShieldWait && frames < 300) {
    KajeShieldWait(kaje);
    ++frames;
  }
  EXPECT_EQ(frames, 181);  // the setting frame and 180 more
  EXPECT_FALSE(shield->IsInactive());
  EXPECT_FLOAT_EQ(shield->GetScaleX(), 1.0f);
  EXPECT_TRUE(shield->IsPulsing());

  // The rocket wait: 60 frames, then Kaje turns by the hero and fires.
  struct Case {
    Vector2 heroOffset;
    bool facingLeft;
    bool expectLeft;
  };
  for (const Case& c : {Case{{-400, 0}, false, true}, Case{{400, 0}, true, false},
                        Case{{50, 30}, false, true}, Case{{50, 30}, true, false},
                        Case{{101, 30}, true, false}}) {
    hero->MoveTo(Vector2(kaje->GetPosition().X() + c.heroOffset.X(), kaje->GetPosition().Y() + c.heroOffset.Y()));
    kaje->SetFacingLeft(c.facingLeft);
    kaje->SetBehavior(KajeRocketWait);
    kaje->SetFlag("StateTime", 0.0f);
    for (int frame = 0; frame < 61; ++frame) KajeRocketWait(kaje);
    EXPECT_EQ(kaje->GetBehavior(), &KajeFireRockets);
    EXPECT_EQ(kaje->IsFacingLeft(), c.expectLeft) << c.heroOffset.X() << "," << c.heroOffset.Y();
    EXPECT_EQ(kaje->GetState(), 15);
  }
}

TEST_F(AirshipKajeTest, OneRocketLeavesOnTheFireFramesFirstTick) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2400.0f, KajeFireRockets, 3.0f);
  hero->MoveTo(Vector2(3000.0f, 3000.0f));
  kaje->SetFacingLeft(false);
  kaje->SetState(15);
  std::vector<GameObject*> rockets;
  for (int frame = 0; frame < 6 && rockets.empty(); ++frame) {
    Step();
    rockets = All("KajeRocket");
  }
  ASSERT_EQ(rockets.size(), 1u);
  GameObject* rocket = rockets.front();
  EXPECT_EQ(kaje->GetFrame(), 2);
  EXPECT_FLOAT_EQ(rocket->GetDepth(), 3.9f);
  // Launched at 5, then one frame of homing (0.15 on each axis).
  const Vector2 launched = rocket->GetVelocity();  // its flight starts next frame
  EXPECT_NEAR(std::hypot(launched.X(), launched.Y()), 5.0f, 1e-4);
  const double turn = std::atan2(launched.Y(), launched.X()) - std::atan2(-1.0, 5.0);
  EXPECT_GE(turn, -0.3 - 1e-4);
  EXPECT_LE(turn, 0.299 + 1e-4);
  Step(6);
  EXPECT_EQ(Count("KajeRocket"), 1);  // one per volley
  EXPECT_EQ(kaje->GetBehavior(), &KajeRocketWait);
}

TEST_F(AirshipKajeTest, RocketHomesSmokesAndExplodesAfterItsLifetime) {
  StartArena(2000.0f);
  hero->MoveTo(Vector2(2600.0f, 3000.0f));
  GameObject* rocket = World::CloneSprite("KajeRocket")->AsGameObject();
  rocket->MoveTo(Vector2(2400.0f, 3500.0f));
  rocket->SetVelocity(5.0f, 0.0f);
  rocket->SetBehavior(KajeRocketInit);
  World::GetObjects()->Add(rocket);
  rocket->RunBehavior();
  EXPECT_NEAR(rocket->GetRotation().GetRadians(), Angle::kPi, 1e-6);
  KajeRocketFly(rocket);
  EXPECT_FLOAT_EQ(rocket->GetVelocity().X(), 5.15f);
  EXPECT_FLOAT_EQ(rocket->GetVelocity().Y(), -0.15f);
  EXPECT_EQ(Count("Flash"), 1);
  for (int frame = 0; frame < 10; ++frame) KajeRocketFly(rocket);
  EXPECT_EQ(Count("Flash"), 2);
  rocket->SetVelocity(0.0f, 0.0f);
  hero->MoveTo(rocket->GetPosition());
  int frames = 11;
  while (!rocket->IsDead() && frames < 400) {
    KajeRocketFly(rocket);
    ++frames;
  }
  EXPECT_EQ(frames, 300);
  const GameObject* blast = All("Flash").back();
  EXPECT_FLOAT_EQ(blast->GetScaleX(), 0.5f);
  EXPECT_FLOAT_EQ(blast->GetDepth(), 4.0f);
}

TEST_F(AirshipKajeTest, OnlyASwordOrAShotCanKnockAPowerupOutOfARocket) {
  StartArena(2000.0f);
  GameObject* shot = World::CloneSprite("Shot")->AsGameObject();
  World::GetObjects()->Add(shot);
  struct Case {
    PhysicsObject* by;
    int polygon;
    bool mayDrop;
  };
  for (const Case& c : {Case{hero, 1, false}, Case{hero, 2, true}, Case{shot, 0, true}}) {
    int drops = 0;
    for (int i = 0; i < 50; ++i) {
      GameObject* rocket = World::CloneSprite("KajeRocket")->AsGameObject();
      World::GetObjects()->Add(rocket);
      KajeRocketInit(rocket);
      const int before = Count("Powerup");
      Contact contact = responsetest::Overlap(rocket, c.by, 0, c.polygon);
      CollideDropPowerup(&contact);
      EXPECT_TRUE(rocket->IsDead());
      EXPECT_EQ(rocket->GetCollisionCallback(), nullptr);
      drops += Count("Powerup") - before;
    }
    if (c.mayDrop) {
      EXPECT_GT(drops, 0);
      EXPECT_LT(drops, 25);
    } else {
      EXPECT_EQ(drops, 0);
    }
  }
}

TEST_F(AirshipKajeTest, OnlyTheFirstClawTakesHitsAndOnlyWhileKajeIsThere) {
  StartArena(2000.0f, {"AirshipCrate 2600 3600 0 0 0", "AirshipCrate 3000 3600 0 0 0"});
  EnemyObject* first = new EnemyObject("AirshipClaw", Live("Floor")->GetAnimation(), Vector2(2600, 3500), NO_CALLBACKS, 0.0f);
  EnemyObject* second = new EnemyObject("AirshipClaw", Live("Floor")->GetAnimation(), Vector2(3000, 3500), NO_CALLBACKS, 0.0f);
  for (EnemyObject* claw : {first, second}) {
    World::GetObjects()->AddUnsorted(claw);
    AirshipClawInit(claw);
  }
  SwordHit(first, 30.0f);
  AirshipClawUpdate(first);
  EXPECT_EQ(first->GetFlag("Health"), 40.0f);  // no Kaje yet
  EXPECT_TRUE(first->HasNoContactDamage());

  KajeAt(2600.0f, KajeRocketWait, 3.0f);
  SwordHit(second, 30.0f);
  AirshipClawUpdate(second);
  EXPECT_EQ(second->GetFlag("Health"), 40.0f);
  SwordHit(first, 40.0f);
  AirshipClawUpdate(first);
  EXPECT_EQ(first->GetFrame(), 1);
  EXPECT_EQ(first->GetBehavior(), nullptr);
  EXPECT_FALSE(first->IsDead());
}

TEST_F(AirshipKajeTest, ThreeFallingCratesBreakTheShieldAndStartStageOne) {
  StartArena(2000.0f, {"AirshipCrate 2600 3600 0 0 0", "AirshipCrate 3000 3600 0 0 0",
                       "AirshipCrate 3400 3600 0 0 0"});
  std::vector<EnemyObject*> claws;
  for (float x : {2600.0f, 3000.0f, 3400.0f}) {
    auto* claw = new EnemyObject("AirshipClaw", Live("Floor")->GetAnimation(), Vector2(x, 3400), NO_CALLBACKS, 0.0f);
    World::GetObjects()->AddUnsorted(claw);
    AirshipClawInit(claw);
    claws.push_back(claw);
  }
  GameObject* kaje = KajeAt(2600.0f, KajeShieldWait, 3.0f);
  for (int shield = 0; shield < 3; ++shield) {
    Step(200);
    World::GetFocusQueue().clear();
    GameObject* rocket = World::CloneSprite("KajeRocket")->AsGameObject();
    World::GetObjects()->Add(rocket);
    KajeRocketInit(rocket);

    claws[static_cast<size_t>(shield)]->SetFrame(1);
    Step();
    EXPECT_EQ(claws[static_cast<size_t>(shield)]->GetName(), "UsedAirshipClaw");
    EXPECT_EQ(kaje->GetBehavior(), nullptr);
    EXPECT_EQ(Count("KajeRocket"), 0);
    EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 1.0f);
    ASSERT_EQ(World::GetFocusQueue().size(), 1u);
    EXPECT_FALSE(World::GetFocusQueue().front().m_bPlayerControl);
    int frames = 0;
    while (kaje->GetBehavior() != &KajeShieldFadeOut && frames < 200) {
      Step();
      ++frames;
    }
    ASSERT_EQ(kaje->GetBehavior(), &KajeShieldFadeOut) << shield;
    EXPECT_EQ(Count("AirshipCrate"), 2 - shield);
    frames = 0;
    while (kaje->GetBehavior() == &KajeShieldFadeOut && frames < 100) {
      Step();
      ++frames;
    }
    EXPECT_GE(frames, 50);  // 0.02 a frame, and what the pulse takes winding back
    EXPECT_TRUE(Live("KajeShield")->IsInactive());
    if (shield < 2) {
      frames = 0;
      while (kaje->GetBehavior() != &KajeShieldWait && frames < 200) {
        Step();
        ++frames;
      }
      EXPECT_LE(std::fabs(kaje->GetPosition().X() - Live("AirshipCrate")->GetPosition().X()), 10.0f);
    }
  }
  EXPECT_EQ(kaje->GetFlag("Health"), 80.0f);
  EXPECT_EQ(kaje->GetFlag("DirectionX"), -1.0f);
  EXPECT_EQ(kaje->GetBehavior(), &KajePhaseOneMove);
}

TEST_F(AirshipKajeTest, ACrateLandingWhileTheShieldTintRisesStillClearsTheTint) {
  StartArena(2000.0f, {"AirshipCrate 2600 3600 0 0 0"});
  GameObject* kaje = KajeAt(2600.0f, KajeShieldWait, 3.0f);
  Step(10);  // the tint is rising; its fade back comes only at the wait's half-way mark
  ASSERT_EQ(kaje->GetBehavior(), &KajeShieldWait);
  EXPECT_EQ(World::GetFadeTarget(), 0x7FFF7FFFu);
  GameObject* crate = Live("AirshipCrate");
  crate->SetFlag("HitKaje", 1.0f);
  AirshipCrateFall(crate);
  EXPECT_EQ(kaje->GetBehavior(), &KajeShieldFadeOut);
  EXPECT_EQ(World::GetFadeTarget(), 0x00FF7FFFu);
}

TEST_F(AirshipKajeTest, StageOneWalksToAMarkerAndSummonsTwoTigers) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(3200.0f, KajePhaseOneMove, 80.0f);
  Trigger()->SetFlag("HoldFocus", 1.0f);
  kaje->SetFlag("DirectionX", -1.0f);
  kaje->SetFlag("StateTime", 0.0f);
  hero->MoveTo(Vector2(4000.0f, kStandY));
  int frames = 0;
  while (kaje->GetBehavior() == &KajePhaseOneMove && frames < 200) {
    Step();
    ++frames;
  }
  ASSERT_EQ(kaje->GetBehavior(), &KajeDropTiger);
  EXPECT_GT(frames, 60);
  EXPECT_LT(kaje->GetPosition().X(), 20 * 128.0f + 30.0f);  // on the marker tile
  EXPECT_EQ(kaje->GetFlag("DirectionX"), 1.0f);
  EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 0.0f);

  kaje->SetFacingLeft(true);
  Step();
  const auto flashes = All("Flash");
  ASSERT_EQ(flashes.size(), 2u);
  EXPECT_FLOAT_EQ(flashes[0]->GetPosition().X() + flashes[1]->GetPosition().X(),
                  2.0f * kaje->GetPosition().X() - 500.0f);
  Step(60);
  const auto tigers = All("TigerE");
  ASSERT_EQ(tigers.size(), 2u);
  for (GameObject* tiger : tigers) {
    EXPECT_EQ(tiger->GetFlag("DirectionX"), -1.0f);
    EXPECT_TRUE(dynamic_cast<EnemyObject*>(tiger)->IsSummoned());
  }
  Step(31);
  EXPECT_EQ(kaje->GetBehavior(), &KajePhaseOneWait);
  for (GameObject* tiger : All("TigerE")) tiger->SetDead(true);
  Step();
  EXPECT_EQ(kaje->GetBehavior(), &KajePhaseOneMove);  // walks on at once
}

TEST_F(AirshipKajeTest, TheFrameCheckCountsEachAttackOnceAndKillsIntoTheTransition) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2600.0f, KajePhaseOneIdle, 80.0f);
  GameObject* tiger = World::CloneSprite("TigerE")->AsGameObject();
  World::GetObjects()->Add(tiger);
  KajePhaseOneHit(kaje);
  EXPECT_EQ(kaje->GetFlag("DamagedTime"), 0.0f);  // nothing stored, no stun
  SwordHit(kaje, 30.0f);
  KajePhaseOneHit(kaje);
  EXPECT_EQ(kaje->GetFlag("Health"), 50.0f);
  EXPECT_EQ(kaje->GetFlag("DamagedTime"), 15.0f);
  // The same swing touching again does nothing.
  kaje->SetFlag("DamageReceived", 30.0f);
  kaje->SetLastContact(responsetest::Overlap(kaje, hero, 1, 2));
  KajePhaseOneHit(kaje);
  EXPECT_EQ(kaje->GetFlag("Health"), 50.0f);

  SwordHit(kaje, 50.0f);
  KajePhaseOneHit(kaje);
  EXPECT_EQ(kaje->GetBehavior(), &KajePhaseTwoStart);
  EXPECT_TRUE(dynamic_cast<EnemyObject*>(kaje)->HasNoContactDamage());
  EXPECT_TRUE(World::IsEarthquake());
  EXPECT_EQ(tiger->GetName(), "DELETED");
  EXPECT_TRUE(tiger->IsDead());
  EXPECT_FALSE(World::GetFocusQueue().back().m_bPlayerControl);
  World::SetEarthquake(false);

  int frames = 0;
  while (kaje->GetBehavior() == &KajePhaseTwoStart && frames < 600) {
    KajePhaseTwoStart(kaje);
    ++frames;
  }
  EXPECT_EQ(frames, 1 + 5 * 45 + 60);
  EXPECT_EQ(kaje->GetFlag("Health"), 100.0f);
  EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 0.0f);
  EXPECT_FALSE(dynamic_cast<EnemyObject*>(kaje)->HasNoContactDamage());
  EXPECT_EQ(kaje->GetBehavior(), &KajePhaseTwoMove);
}

TEST_F(AirshipKajeTest, StageTwoChoosesByDistanceAndTheDeckEndItFaces) {
  StartArena(2000.0f);
  struct Case {
    float kajeX;
    float heroDx;
    std::vector<BehaviorFn> allowed;
  };
  const std::vector<Case> cases = {
      {2500.0f, -600.0f, {KajeFireEnergyShot}},                   // too near the left end to run
      {4000.0f, -600.0f, {KajePhaseTwoJump, KajeFireEnergyShot}},  // by the rand() parity
      {4000.0f, -400.0f, {KajePhaseTwoWait, KajePhaseTwoLand}},    // dash or leap
      {4000.0f, -100.0f, {KajePhaseTwoIdle}},                      // swipe
      {4000.0f, -250.0f, {KajeFireEnergyShot}},
  };
  for (const Case& c : cases) {
    for (int round = 0; round < 6; ++round) {
      GameObject* kaje = KajeAt(c.kajeX, KajePhaseTwoMove, 100.0f);
      hero->MoveTo(Vector2(c.kajeX + c.heroDx, kStandY));
      kaje->SetFlag("StateTime", 1.0f);
      KajePhaseTwoMove(kaje);
      bool ok = false;
      for (BehaviorFn fn : c.allowed) ok = ok || kaje->GetBehavior() == fn;
      EXPECT_TRUE(ok) << c.kajeX << " " << c.heroDx;
      if (kaje->GetBehavior() == &KajePhaseTwoLand) {
        EXPECT_FLOAT_EQ(kaje->GetVelocity().X(), -7.0f);
        EXPECT_FLOAT_EQ(kaje->GetVelocity().Y(), -18.0f);
      }
      RemoveByRenaming(kaje);
      RemoveByRenaming(Live("KajeShield"));
      Step();
    }
  }
}

TEST_F(AirshipKajeTest, EnergyShotsStoreTheirContactAndLeaveWithTheView) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2600.0f, KajeFireEnergyShot, 100.0f);
  kaje->SetFacingLeft(true);
  kaje->SetState(15);
  Step(5);
  GameObject* shot = Live("KajeEnergyShot");
  ASSERT_NE(shot, nullptr);
  EXPECT_FLOAT_EQ(shot->GetVelocity().X(), -5.0f);
  Contact touch = responsetest::Overlap(shot, hero, 0, 1);
  CollideStoreContact(&touch);
  EXPECT_EQ(hero->TakeLastContact().b, shot);
  EXPECT_FALSE(shot->IsDead());

  World::GetObjects()->SetOffset(Vector2(shot->GetPosition().X() + 1400.0f, 3600.0f));
  Step();
  EXPECT_EQ(Live("KajeEnergyShot"), nullptr);
}

TEST_F(AirshipKajeTest, KajesDeathFadesToRedAndBlackAndEndsTheLevel) {
  StartArena(2000.0f);
  GameObject* kaje = KajeAt(2600.0f, KajePhaseTwoIdle, 10.0f);
  SwordHit(kaje, 10.0f);
  KajePhaseTwoHit(kaje);
  EXPECT_EQ(kaje->GetBehavior(), nullptr);
  GameObject* trigger = Trigger();
  EXPECT_EQ(trigger->GetBehavior(), &KajeTriggerEndLevel);
  EXPECT_EQ(Flag("KajeTrigger", "HoldFocus"), 1.0f);
  World::SetState(8);
  const int entry = World::GetCurrentEntry();
  int frames = 0;
  while (World::GetState() == 8 && frames < 500) {
    KajeTriggerEndLevel(trigger);
    ++frames;
  }
  EXPECT_EQ(frames, 361);
  EXPECT_EQ(World::GetCurrentEntry(), entry + 1);
}

}  // namespace
