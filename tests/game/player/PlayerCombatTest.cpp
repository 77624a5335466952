// The hero's orbs and attacks: hits and the blink, pickups, attack ids, the
// sword combo by orb colour and the gun's shots from the muzzle.
#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <vector>

#include "game/HeroTestKit.h"
#include "game/objects/Powerup.h"

namespace {

using herotest::HeroTest;

constexpr SDL_Scancode kSword = SDL_SCANCODE_S;
constexpr SDL_Scancode kGun = SDL_SCANCODE_D;

TEST_F(HeroTest, HitsCrackFromTheBackAndInvulnerabilityCostsNothing) {
  hero->SetOrbs(ORB_RED, ORB_GREEN, ORB_BLUE);
  const int crackedIndex[] = {2, 1, 0};
  for (int hit = 0; hit < 3; ++hit) {
    hero->TakeDamage(5);  // always one orb, whatever the amount
    EXPECT_EQ(hero->GetHealth(), 2 - hit);
    EXPECT_EQ(hero->GetOrbQueue()[crackedIndex[hit]], ORB_CRACKED);
    EXPECT_TRUE(hero->GetCrackQueue()[crackedIndex[hit]]);
    const std::string overlay = "CrackedOrb" + std::to_string(crackedIndex[hit] + 1);
    EXPECT_EQ(HUD::FindObject(overlay)->GetFrame(), 1) << overlay;
    // Hit again while blinking: nothing.
    hero->TakeDamage(1);
    EXPECT_EQ(hero->GetHealth(), 2 - hit);
    for (int f = 0; f < 180; ++f) hero->HandleInput();
    EXPECT_FALSE(hero->IsInvulnerable());
  }
  EXPECT_TRUE(hero->IsFrontOrbCracked());
  hero->TakeDamage(1);  // out of orbs: final
  EXPECT_EQ(hero->GetHealth(), 0);

  for (int move : {PLAYER_STRIDE, PLAYER_CYCLONE}) {
    hero->SetOrbs(ORB_PLAIN, ORB_PLAIN, ORB_PLAIN);
    hero->SetEnergy(hero->GetMaxEnergy());
    hero->ToggleAbility(move == PLAYER_STRIDE ? ABILITY_STRIDE : ABILITY_CYCLONE);
    hero->ChangeState(move);
    ASSERT_TRUE(hero->IsInvulnerable()) << move;
    hero->TakeDamage(1);
    EXPECT_EQ(hero->GetHealth(), 3) << move;
    EXPECT_EQ(hero->GetCrackQueue(), (std::deque<bool>{false, false, false})) << move;
  }
}

TEST_F(HeroTest, HitBlinksHiddenFourFramesInFourteenThenEnds) {
  Floor(140.1f);
  Ground();
  hero->TakeDamage(1);
  ASSERT_EQ(hero->GetHitBlinkTimer(), 180);
  while (hero->GetHitBlinkTimer() > 0) {
    hero->HandleInput();
    const int timer = hero->GetHitBlinkTimer();
    if (timer == 0) break;
    ASSERT_EQ(hero->IsVisible(), timer % 14 >= 4) << timer;
    ASSERT_TRUE(hero->IsInvulnerable()) << timer;
  }
  EXPECT_TRUE(hero->IsVisible());
  EXPECT_FALSE(hero->IsInvulnerable());
  hero->TakeDamage(1);
  EXPECT_EQ(hero->GetHealth(), 1);
}

TEST_F(HeroTest, PickupsPutTheNewOrbFirstAndDropTheBackOne) {
  // One cracked orb at the back: it goes and health is whole again.
  hero->SetOrbs(ORB_RED, ORB_GREEN, ORB_BLUE);
  hero->TakeDamage(1);
  hero->AddOrb(ORB_BLUE);
  EXPECT_EQ(hero->GetOrbQueue(), (std::deque<int>{ORB_BLUE, ORB_RED, ORB_GREEN}));
  EXPECT_EQ(hero->GetCrackQueue(), (std::deque<bool>{false, false, false}));
  EXPECT_EQ(hero->GetHealth(), 3);
  ASSERT_EQ(HUD::GetInstance()->GetMessages().size(), 1u);
  EXPECT_EQ(HUD::GetInstance()->GetMessages().back().labelText.GetText(), "Powerup");
  EXPECT_EQ(HUD::GetInstance()->GetMessages().back().points, 100);

  // All whole: the back colour is lost.
  hero->AddOrb(ORB_RED);
  EXPECT_EQ(hero->GetOrbQueue(), (std::deque<int>{ORB_RED, ORB_BLUE, ORB_RED}));
  EXPECT_EQ(hero->GetHealth(), 3);

  // Plain orbs show no message; colours that are no orb are taken as plain,
  // so a pickup can never put a cracked orb in front and end the game.
  const std::size_t messages = HUD::GetInstance()->GetMessages().size();
  for (int color : {ORB_PLAIN, ORB_CRACKED, 5, -1}) {
    hero->AddOrb(color);
    EXPECT_EQ(hero->GetOrbQueue().front(), ORB_PLAIN) << color;
    EXPECT_FALSE(hero->IsFrontOrbCracked()) << color;
    EXPECT_EQ(HUD::FindObject("HUDorb1")->GetFrame(), ORB_PLAIN) << color;
  }
  EXPECT_EQ(HUD::GetInstance()->GetMessages().size(), messages);

  auto* pickup = new Powerup("Powerup", m_body, Vector2(300, 100), NO_CALLBACKS, 0.0f);
  World::GetObjects()->Add(pickup);
  pickup->SetColor(ORB_GREEN);
  pickup->OnPickup();
  EXPECT_EQ(hero->GetOrbQueue().front(), ORB_GREEN);
  EXPECT_TRUE(pickup->IsDead());
  EXPECT_FALSE(pickup->IsVisible());
}

TEST_F(HeroTest, AttackIdsWrapAfterOneHundredThousand) {
  while (hero->GetAttackId() < 100000) hero->NextAttackId();
  hero->NextAttackId();
  EXPECT_EQ(hero->GetAttackId(), 100001);
  hero->NextAttackId();
  EXPECT_EQ(hero->GetAttackId(), 2);
}

TEST_F(HeroTest, TheRecordGetsTheShownScoreAndTheQueuedPointsWithoutTheirCounts) {
  World::GetPlayerRecords().clear();
  World::GetPlayerRecords().emplace_back(hero->Clone());
  HUD* hud = HUD::GetInstance();
  hud->SetScore(300);
  hud->AddMessage(100, 1, 255, 255, 0, 0);
  hud->UpdateCombo(40, 0, 255, 255, 255, 255);
  hud->UpdateCombo(40, 0, 255, 255, 255, 255);
  World::AddScoreToRecord();
  ASSERT_NE(World::GetCurrentRecord(), nullptr);
  EXPECT_EQ(World::GetCurrentRecord()->GetScore(), 300 + 100 + 80);
  EXPECT_EQ(hero->GetScore(), 300);
  World::GetPlayerRecords().clear();
}

TEST_F(HeroTest, NegativeOrNonFiniteDamageValuesAreRefused) {
  for (int line = 29; line <= 42; ++line) {
    EXPECT_TRUE(HeroTuningProblem(line, -1.0f).has_value()) << line;
    EXPECT_TRUE(HeroTuningProblem(line, INFINITY).has_value()) << line;
    EXPECT_FALSE(HeroTuningProblem(line, 0.0f).has_value()) << line;
  }
}

struct SwordCase {
  const char* name;
  int orbs[3];
  std::vector<int> states;  // one per swing that happens
  std::vector<float> damages;
};

const SwordCase kSwordCases[] = {
    {"Plain", {ORB_PLAIN, ORB_PLAIN, ORB_PLAIN}, {3, 3, 3}, {2, 3, 4}},
    {"ThreeRed", {ORB_RED, ORB_RED, ORB_RED}, {4, 5, 6}, {4, 8, 11}},
    {"ThreeGreen", {ORB_GREEN, ORB_GREEN, ORB_GREEN}, {8, 9, 10}, {4, 7, 10}},
    {"ThreeBlue", {ORB_BLUE, ORB_BLUE, ORB_BLUE}, {12, 13, 14}, {4, 6, 9}},
    {"RedGreenBlue", {ORB_RED, ORB_GREEN, ORB_BLUE}, {4, 8, 12}, {4, 5, 6}},
    {"CrackedBackOrbGivesTwoSwings", {ORB_RED, ORB_RED, ORB_CRACKED}, {4, 5}, {4, 8}},
};

class SwordCombo : public HeroTest, public ::testing::WithParamInterface<SwordCase> {
 protected:
  // Waits until the swing press lands `frames` frames after the last swing.
  void PressAfter(int frames) {
    for (int f = 1; f < frames; ++f) {
      Keys({});
      hero->HandleInput();
    }
    Keys({kSword});
    hero->HandleInput();
  }
};

TEST_P(SwordCombo, StatesAndDamagesFollowTheOrbs) {
  const SwordCase& c = GetParam();
  Floor(140.1f);
  Ground();
  hero->SetOrbs(c.orbs[0], c.orbs[1], c.orbs[2]);
  int id = hero->GetAttackId();
  for (std::size_t swing = 0; swing < 3; ++swing) {
    PressAfter(swing == 0 ? 1 : 10);
    ASSERT_EQ(hero->GetStateHandler(), &PlayerObject::StateSword);
    if (swing >= c.states.size()) {
      EXPECT_EQ(hero->GetState(), c.states.back()) << "no swing with a cracked orb";
      EXPECT_EQ(hero->GetAttackId(), id);
      continue;
    }
    EXPECT_EQ(hero->GetState(), c.states[swing]) << swing;
    EXPECT_FLOAT_EQ(hero->GetAttackDamage(), c.damages[swing]) << swing;
    EXPECT_EQ(hero->GetAttackId(), ++id) << swing;
  }
}

INSTANTIATE_TEST_SUITE_P(Hero, SwordCombo, ::testing::ValuesIn(kSwordCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SwordCombo, WindowEdgesAreInclusive) {
  Floor(140.1f);
  // The default window runs from 6 to 24 frames after a swing.
  const struct {
    int frames;
    bool swings;
  } cases[] = {{5, false}, {6, true}, {24, true}, {25, false}};
  for (const auto& c : cases) {
    Ground();
    hero->SetOrbs(ORB_RED, ORB_RED, ORB_RED);
    PressAfter(1);
    ASSERT_EQ(hero->GetState(), 4);
    PressAfter(c.frames);
    EXPECT_EQ(hero->GetState(), c.swings ? 5 : 4) << c.frames;
    Keys({});
  }
}

TEST_F(SwordCombo, OnlyTheFirstSwingInTheAir) {
  Air(0.0f, 1.0f);
  hero->SetOrbs(ORB_RED, ORB_RED, ORB_RED);
  PressAfter(1);
  ASSERT_EQ(hero->GetStateHandler(), &PlayerObject::StateSword);
  EXPECT_EQ(hero->GetState(), 4);
  PressAfter(10);
  EXPECT_EQ(hero->GetState(), 4);
  EXPECT_EQ(hero->GetLocalVars().m_iCurOrb, 1);
}

// A world with a loaded level (so that "Shot" can be cloned) and a gun
// animation of two frames whose last one marks the muzzle with polygon 2.
class GunTest : public HeroTest {
 protected:
  void BeforeInit() override {
    WriteAnimation("shot");
    worldtest::WriteText(Root() / "SpriteList.vtsl",
                         "6\n"
                         "ZodirazO 2 1 animations/hero_idle.acd 2 animations/hero_run.acd\n"
                         "Tile 1 0 animations/tiles.acd\n"
                         "Rat 1 1 animations/rat_walk.acd\n"
                         "Gate 1 1 animations/gate.acd\n"
                         "TutorialTrigger 1 1 animations/tutorial.acd\n"
                         "Shot 1 3 animations/shot.acd\n");
    worldtest::WriteText(Root() / "one.lvl", "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1 0\n0\n0\n0\n");
    WriteGameList("one one.lvl", 1);
  }
  void AfterInit() override {
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("one", true));
    World::GetObjects()->SetOffset(Vector2());
  }
  void SetUp() override {
    HeroTest::SetUp();
    const CollisionShape shape({herotest::Polygon({{0, 0}, {20, 0}, {20, 40}, {0, 40}}),
                                herotest::Polygon({{20, 10}, {30, 10}, {30, 14}}),
                                herotest::Polygon({{34, 12}, {36, 12}, {36, 14}})});
    Animation& gun = m_gun.emplace_back("gun", Vector2(64, 64), Vector2(128, 64));
    gun.GetFrames().emplace_back(1, 2, Vector2(), shape);
    gun.GetFrames().emplace_back(0, 3, Vector2(), shape);
    hero->AddStateAnimation(&gun, PLAYER_GUN);
    Floor(140.1f);
    Ground();
  }

  // One frame as the lists run it: behaviour, then the animation clock.
  void Frame(bool press) {
    Keys(press ? std::initializer_list<SDL_Scancode>{kGun} : std::initializer_list<SDL_Scancode>{});
    hero->HandleInput();
    hero->Tick();
  }
  // Starts the gun and presses again on every last frame; the shots fired.
  std::vector<GameObject*> FireAll() {
    Frame(true);
    bool pressed = true;
    for (int f = 0; f < 100 && hero->GetStateHandler() == &PlayerObject::StateGun; ++f) {
      const bool press = !pressed && hero->GetFrame() == 1;
      Frame(press);
      pressed = press;
    }
    std::vector<GameObject*> shots;
    for (Sprite* sprite : World::GetObjects()->GetSprites()) {
      if (sprite->GetName() == "Shot") shots.push_back(static_cast<GameObject*>(sprite));
    }
    return shots;
  }

  std::list<Animation> m_gun;
};

struct GunCase {
  const char* name;
  int orbs[3];
  int hits;  // orbs cracked before firing
  std::vector<int> states;
  std::vector<float> damages;
};

const GunCase kGunCases[] = {
    {"RedGreenBlue", {ORB_RED, ORB_GREEN, ORB_BLUE}, 0, {4, 8, 12}, {2, 2, 2}},
    {"ThreeRed", {ORB_RED, ORB_RED, ORB_RED}, 0, {4, 5, 6}, {2, 3, 4}},
    {"Plain", {ORB_PLAIN, ORB_PLAIN, ORB_PLAIN}, 0, {3, 3, 3}, {1, 1, 1}},
    {"TwoWholeOrbsFireTwice", {ORB_BLUE, ORB_GREEN, ORB_RED}, 1, {12, 8}, {2, 2}},
};

class GunShots : public GunTest, public ::testing::WithParamInterface<GunCase> {};

TEST_P(GunShots, OneShotPerWholeOrbWithTheColoursLook) {
  const GunCase& c = GetParam();
  hero->SetOrbs(c.orbs[0], c.orbs[1], c.orbs[2]);
  for (int i = 0; i < c.hits; ++i) hero->TakeDamage(1);
  const int id = hero->GetAttackId();
  const std::vector<GameObject*> shots = FireAll();
  EXPECT_NE(hero->GetStateHandler(), &PlayerObject::StateGun) << "the gun state ends by itself";
  ASSERT_EQ(shots.size(), c.states.size());
  // The list sorts by depth; all shots share one, so they keep their order.
  for (std::size_t i = 0; i < shots.size(); ++i) {
    EXPECT_EQ(shots[i]->GetState(), c.states[i]) << i;
    EXPECT_FLOAT_EQ(shots[i]->GetFlag("Damage"), c.damages[i]) << i;
  }
  EXPECT_EQ(hero->GetAttackId(), id) << "shots take no new attack id";
}

INSTANTIATE_TEST_SUITE_P(Hero, GunShots, ::testing::ValuesIn(kGunCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GunTest, ShotLeavesTheMuzzleFacingAsTheHero) {
  for (bool left : {false, true}) {
    Ground();
    hero->SetFacingLeft(left);
    Frame(true);
    while (hero->GetFrame() != 1) Frame(false);
    Frame(false);
    GameObject* shot = static_cast<GameObject*>(World::GetObjects()->Find("Shot"));
    ASSERT_NE(shot, nullptr) << left;
    EXPECT_EQ(shot->GetPosition(), hero->GetCollisionShape().GetPolygon(2).GetVertex(0).GetPosition());
    EXPECT_FLOAT_EQ(shot->GetVelocity().X(), left ? -10.0f : 10.0f);
    EXPECT_FLOAT_EQ(shot->GetVelocity().Y(), 0.0f);
    EXPECT_EQ(shot->IsFacingLeft(), left);
    EXPECT_FLOAT_EQ(shot->GetDepth(), 4.0f);
    shot->SetName("Spent");  // the next round finds its own shot
  }
}

TEST_F(GunTest, AMuzzleWithoutAVertexStopsOnItsAssertion) {
  const CollisionShape broken({herotest::Polygon({{0, 0}, {20, 0}, {20, 40}, {0, 40}}),
                               herotest::Polygon({{20, 10}, {30, 10}, {30, 14}}),
                               CollisionPolygon()});
  m_gun.front().GetFrames()[1] = AnimationFrame(0, 3, Vector2(), broken);
  EXPECT_DEATH(
      {
        Frame(true);
        for (int f = 0; f < 10; ++f) Frame(false);
      },
      "GetVertexCount");
}

}  // namespace
