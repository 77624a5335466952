// The boss triggers of the junkyard and the factory, the junkyard's end scene
// and its debris, on a small scripted level with stand-in bosses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/EventRegistry.h"
#include "platform/Random.h"

namespace {

using worldtest::WriteText;

int gBossRuns = 0;
// Stands in for a boss's set-up: counts its runs and declares its health.
void StandInBoss(GameObject* boss) {
  ++gBossRuns;
  boss->AddFlag("Health", 100.0f);
}

constexpr float kPi = 3.1415927f;

class ScriptedEventsTest : public worldtest::WorldDataTest {
 protected:
  // A level with the junkyard's trigger at (14000, 896), its four barrier tiles
  // and one more, and three music runs; or the factory's trigger at (6000, 2752).
  void Start(bool factory = false, const std::string& extraPrototypes = "") {
    WriteAnimation("ground", 19, 32, 32);
    WriteAnimation("debris", 12, 8, 8);
    WriteAnimation("boss", 2, 32, 32);
    WriteText(Root() / "SpriteList.vtsl",
              std::string("13\n") +
                  "ZodirazO 2 1 animations/hero_idle.acd 2 animations/hero_run.acd\n"
                  "TutorialTrigger 1 1 animations/tutorial.acd\n"
                  "Grindlenaut 1 1 animations/boss.acd\n"
                  "GrindlenautArm 1 1 animations/boss.acd\n"
                  "GrindlenautDrill 1 1 animations/boss.acd\n"
                  "GrindlenautBurrow 1 1 animations/boss.acd\n"
                  "GrindlenautTrigger 1 1 animations/gate.acd\n"
                  "TigerA 1 1 animations/boss.acd\n"
                  "TigerATrigger 1 1 animations/gate.acd\n"
                  "CoreGlow 1 1 animations/gate.acd\n"
                  "CorePiece 1 1 animations/gate.acd\n"
                  "JunkyardGround 1 0 animations/ground.acd\n" +
                  (extraPrototypes.empty() ? "JunkyardTile0 1 0 animations/debris.acd\n"
                                           : extraPrototypes));
    WriteText(Root() / "Sounds.vtse", "1\nexplosion sounds/explosion.wav\n");
    audio.AddFile("sounds/explosion.wav");
    for (const char* track : {"explore.ogg", "boss.ogg", "after.ogg"}) audio.AddFile(track);
    WriteGameList("yard yard.lvl", 1);
    const std::string ground = "JunkyardGround 16128 768 0 0 -0.5 JunkyardGround 16128 1024 0 0 -0.5 "
                               "JunkyardGround 16384 768 0 0 -0.5 JunkyardGround 16384 1024 0 0 -0.5 "
                               "JunkyardGround 16640 1024 0 0 -0.5";
    const std::string trigger =
        factory ? "TigerATrigger 6000 2752 0 0 0" : "GrindlenautTrigger 14000 896 0 0 0";
    WriteText(Root() / "yard.lvl", "0\n0 3 explore.ogg order boss.ogg order after.ogg order\n"
                                   "0\n0\n0\n0\n-1 -1 -1 -1 5 " +
                                       ground + "\nZodirazO 100 896 0\n0\n1 " + trigger + "\n");
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("yard", false));
    for (const char* boss : {"Grindlenaut", "TigerA"}) {
      World::FindPrototype(boss)->SetBehavior(StandInBoss);
    }
    gBossRuns = 0;
    hero = World::GetPlayer();
    ASSERT_NE(hero, nullptr);
    hero->SetBehavior(nullptr);
    trigger_ = static_cast<GameObject*>(
        World::GetObjects()->Find(factory ? "TigerATrigger" : "GrindlenautTrigger")->AsGameObject());
    World::SetCameraLock(World::kLockRight);
    World::GetFocusQueue().clear();
    World::SetRequestedState(STATE_GAMEPLAY);
  }

  void RunTrigger(float x, float y) {
    hero->MoveTo(Vector2(x, y));
    trigger_->GetBehavior()(trigger_);
  }
  std::vector<Sprite*> All(const char* name) { return World::GetObjects()->FindAll(name); }
  std::string Music() {
    const auto playing = audio.PlayingStreams();
    return playing.size() == 1 ? playing[0] : std::to_string(playing.size()) + " tracks";
  }
  // The boss's death sequence has run out.
  static void Finish(GameObject* boss, bool visible = false, float health = 0.0f) {
    boss->SetVisible(visible);
    boss->SetFlag("Health", health);
  }

  PlayerObject* hero = nullptr;
  GameObject* trigger_ = nullptr;
};

TEST_F(ScriptedEventsTest, JunkyardBossSpawnsOnlyWithTheCameraLeadingRightAndTheHeroPastAndBelow) {
  const struct {
    const char* name;
    int lock;
    float x, y;
    bool spawns;
  } cases[] = {
      {"LeadingLeft", World::kLockLeft, 14500, 896, false},
      {"HeroShortOfTheTrigger", World::kLockRight, 13999, 896, false},
      {"HeroAboveTheTrigger", World::kLockRight, 14500, 895, false},
      {"HeroExactlyOnIt", World::kLockRight | World::kLockDown, 14000, 896, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    World::SetCameraLock(c.lock);
    RunTrigger(c.x, c.y);
    EXPECT_EQ(World::GetBoss() != nullptr, c.spawns);
    EXPECT_EQ(World::IsLevelJustLoaded(), !c.spawns);
  }

  // Passing with the camera not leading right, then turning it right.
  Start();
  World::SetCameraLock(0);
  RunTrigger(14500, 1000);
  EXPECT_TRUE(All("Grindlenaut").empty());
  World::SetCameraLock(World::kLockRight);
  RunTrigger(14500, 1000);
  GameObject* boss = World::GetBoss();
  ASSERT_NE(boss, nullptr);
  EXPECT_EQ(boss->GetName(), "Grindlenaut");
  for (const char* part : {"Grindlenaut", "GrindlenautArm", "GrindlenautDrill", "GrindlenautBurrow"}) {
    const auto found = All(part);
    ASSERT_EQ(found.size(), 1u) << part;
    EXPECT_EQ(found[0]->GetPosition(), Vector2(15000, 1280)) << part;
    EXPECT_FALSE(found[0]->GetDeactivateOffscreen()) << part;
    EXPECT_TRUE(found[0]->AsGameObject()->IsEnemy()) << part;
  }
  EXPECT_EQ(gBossRuns, 1);
  EXPECT_EQ(boss->GetFlag("PatrolTime"), 1.0f);
  EXPECT_FALSE(trigger_->GetDeactivateOffscreen());
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"boss.ogg"});

  // One boss per load, however long the hero stays past the trigger.
  for (int i = 0; i < 5; ++i) RunTrigger(14600, 1000);
  EXPECT_EQ(All("Grindlenaut").size(), 1u);
  EXPECT_EQ(gBossRuns, 1);
}

TEST_F(ScriptedEventsTest, JunkyardRewardWaitsForAHiddenBossWithNoHealthAndComesOnce) {
  Start();
  RunTrigger(14500, 896);
  GameObject* boss = World::GetBoss();
  ASSERT_NE(boss, nullptr);
  // A blink frame in the fight, or a visible dying boss, is not the end.
  for (const auto& [visible, health] : {std::pair{false, 50.0f}, std::pair{true, 0.0f}}) {
    Finish(boss, visible, health);
    RunTrigger(15200, 896);
    EXPECT_EQ(World::GetBoss(), boss);
    EXPECT_TRUE(World::GetFocusQueue().empty());
  }

  Finish(boss);
  World::SetCameraLock(World::kLockRight | World::kLockUp);
  RunTrigger(15300, 880);
  EXPECT_EQ(World::GetBoss(), nullptr);
  EXPECT_TRUE(boss->IsDead());
  EXPECT_EQ(World::GetCameraLock(), 0);
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"after.ogg"});
  ASSERT_EQ(World::GetFocusQueue().size(), 2u);
  const CameraFocus& explosion = World::GetFocusQueue()[0];
  EXPECT_EQ(explosion.m_vPosition, Vector2(16256, 896));
  EXPECT_FALSE(explosion.m_bPlayerControl);
  EXPECT_EQ(explosion.m_callback, EventRegistry::GetEvent("JunkyardEnd"));
  const CameraFocus& back = World::GetFocusQueue()[1];
  EXPECT_EQ(back.m_vPosition, Vector2(15300, 880));
  EXPECT_FALSE(back.m_bPlayerControl);
  EXPECT_EQ(back.m_callback, nullptr);

  RunTrigger(15300, 880);
  EXPECT_EQ(World::GetFocusQueue().size(), 2u);
}

TEST_F(ScriptedEventsTest, ABossDeletedUnderTheTriggerReadsAsNoBoss) {
  Start();
  RunTrigger(14500, 896);
  GameObject* boss = World::GetBoss();
  ASSERT_NE(boss, nullptr);
  Finish(boss);
  World::GetObjects()->Remove(boss);
  EXPECT_EQ(World::GetBoss(), nullptr);
  RunTrigger(15000, 896);
  EXPECT_TRUE(World::GetFocusQueue().empty());
}

TEST_F(ScriptedEventsTest, LevelEndsPastItsLineOnlyAfterTheBossAppeared) {
  const struct {
    bool factory;
    float line;
    float triggerY;
  } cases[] = {{false, 16768, 896}, {true, 8192, 2752}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.factory ? "Factory" : "Junkyard");
    Start(c.factory);
    World::SetCameraLock(0);  // past the line, but no boss yet
    RunTrigger(c.line + 50, c.triggerY);
    EXPECT_EQ(World::GetRequestedState(), STATE_GAMEPLAY);
    World::SetCameraLock(World::kLockRight);
    RunTrigger(c.line - 100, c.triggerY);
    ASSERT_NE(World::GetBoss(), nullptr);
    RunTrigger(c.line, c.triggerY);
    EXPECT_EQ(World::GetRequestedState(), STATE_GAMEPLAY);
    // The boss still lives: the line counts all the same.
    RunTrigger(c.line + 1, c.triggerY);
    EXPECT_EQ(World::GetRequestedState(), STATE_LEVEL_COMPLETE);
  }
}

TEST_F(ScriptedEventsTest, FactoryRewardLeavesTheSuperJumpPieceAndItsGlowAboveTheArena) {
  Start(true);
  RunTrigger(6100, 2752);
  GameObject* tiger = World::GetBoss();
  ASSERT_NE(tiger, nullptr);
  EXPECT_EQ(tiger->GetName(), "TigerA");
  EXPECT_EQ(tiger->GetPosition(), Vector2(6656, 2752));
  EXPECT_EQ(gBossRuns, 1);
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"boss.ogg"});
  EXPECT_TRUE(All("CorePiece").empty());

  Finish(tiger);
  RunTrigger(6300, 2752);
  EXPECT_EQ(World::GetBoss(), nullptr);
  EXPECT_TRUE(tiger->IsDead());
  EXPECT_EQ(audio.PlayingStreams(), std::vector<std::string>{"after.ogg"});
  const auto glows = All("CoreGlow");
  const auto pieces = All("CorePiece");
  ASSERT_EQ(glows.size(), 1u);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(glows[0]->GetDepth(), 1.0f);
  EXPECT_EQ(pieces[0]->GetDepth(), 1.04f);
  EXPECT_EQ(pieces[0]->GetPosition(), Vector2(6656, 2560));
  EXPECT_EQ(glows[0]->GetPosition(), Vector2(6656, 2560));
  EXPECT_EQ(pieces[0]->GetBehavior(), World::FindPrototype("CorePiece")->GetBehavior());
  EXPECT_TRUE(World::GetFocusQueue().empty());
}

TEST_F(ScriptedEventsTest, JunkyardEndSetsTheSceneOnceThenHoldsTheCameraFortyTwoFrames) {
  Start();
  const FocusCallback end = EventRegistry::GetEvent("JunkyardEnd");
  ASSERT_NE(end, nullptr);
  EXPECT_FALSE(end());

  Sprite* marker = World::GetObjects()->Find("TriggerEnd");
  ASSERT_NE(marker, nullptr);
  EXPECT_FALSE(marker->IsVisible());
  EXPECT_EQ(marker->AsGameObject()->GetFlag("Timer"), 0.0f);
  const auto pieces = All("CorePiece");
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0]->GetDepth(), 1.02f);
  EXPECT_EQ(pieces[0]->GetPosition(), Vector2(16256, 896));
  ASSERT_EQ(All("CoreGlow").size(), 1u);
  EXPECT_EQ(All("CoreGlow")[0]->GetDepth(), 1.0f);

  std::vector<int> frames;
  for (Sprite* tile : All("JunkyardGround")) frames.push_back(tile->GetFrame());
  EXPECT_EQ(frames, (std::vector<int>{18, 4, 18, 5, 0}));
  EXPECT_EQ(audio.soundsPlayed, std::vector<std::string>{"sounds/explosion.wav"});

  const auto debris = All("JunkyardTile0");
  ASSERT_EQ(debris.size(), 12u);
  for (Sprite* piece : debris) {
    EXPECT_EQ(piece->GetDepth(), 5.0f);
    EXPECT_EQ(piece->GetPosition(), Vector2(16256, 896));
    EXPECT_EQ(piece->GetBehavior(), &World::ExplodeBehavior);
  }

  // Later calls set nothing up again; the 42nd releases the camera, sorted.
  for (int call = 1; call <= 41; ++call) ASSERT_FALSE(end()) << call;
  EXPECT_EQ(All("JunkyardTile0").size(), 12u);
  EXPECT_EQ(All("TriggerEnd").size(), 1u);
  marker->SetDepth(9.0f);  // out of order until the release sorts the list
  EXPECT_TRUE(end());
  const auto& sprites = World::GetObjects()->GetSprites();
  EXPECT_TRUE(std::is_sorted(sprites.begin(), sprites.end(),
                             [](const Sprite* a, const Sprite* b) { return a->GetDepth() < b->GetDepth(); }));
}

TEST_F(ScriptedEventsTest, DebrisSpinsFallsUnderGravityAndDiesAfterAHundredFrames) {
  Start();
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    platform::SeedRandom(seed);
    GameObject piece("JunkyardTile0", World::FindPrototype("JunkyardTile0")->GetAnimation(),
                     Vector2(16256, 896), NO_CALLBACKS, 5.0f);
    for (const char* flag : {"xExplode", "yExplode", "Angle", "Timer"}) piece.AddFlag(flag, 0.0f);
    World::ExplodeBehavior(&piece);
    const float vx = piece.GetFlag("xExplode");
    const float vy = piece.GetFlag("yExplode");
    const float spin = piece.GetFlag("Angle");
    EXPECT_GE(vx, -10.0f);
    EXPECT_LE(vx, 9.0f);
    EXPECT_LE(vy, 0.0f);
    EXPECT_GE(vy, -19.0f);
    EXPECT_GE(spin, kPi / 39.0f);
    EXPECT_LE(spin, kPi / 20.0f);
    EXPECT_EQ(piece.GetDrawAngle(), 0.0f);
    EXPECT_EQ(piece.GetFlag("Timer"), 0.0f);

    World::ExplodeBehavior(&piece);
    EXPECT_EQ(piece.GetVelocity().X(), vx);
    EXPECT_EQ(piece.GetVelocity().Y(), vy);
    EXPECT_EQ(piece.GetFlag("yExplode"), vy + 1.5f);
    EXPECT_FLOAT_EQ(piece.GetDrawAngle(), spin);
    EXPECT_EQ(piece.GetFlag("Timer"), 1.0f);

    int frames = 2;
    while (!piece.IsDead() && frames < 200) {
      World::ExplodeBehavior(&piece);
      ++frames;
    }
    // Flying frames 1 to 101: dead once its count had reached 100.
    EXPECT_EQ(frames, 102);
  }
}

TEST_F(ScriptedEventsTest, MissingDebrisPrototypeStopsWithItsNameAndTheLevel) {
  Start(false, "Filler 1 0 animations/gate.acd\n");
  EXPECT_DEATH(World::JunkyardEnd(), "Level \"yard\": the prototype \"JunkyardTile0\"");
}

}  // namespace
