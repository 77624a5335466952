// The three playable levels on the generated working folder: each starts with the hero
// landing on its floor and holding its boss trigger, and a frame of its start is saved beside
// the build (build/level_frames) for a person to look at. What flies or falls into a level's
// solid ground is drawn behind it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "behaviorlib/Includes/Grindlenaut.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "support/PlayCopy.h"
#include "support/TempDir.h"

namespace {

struct LevelCase {
  const char* file;
  const char* trigger;
};

// Play started on the level file `Case::file`.
template <typename Case>
class ShippedLevelTest : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    const std::filesystem::path shipped = testsupport::ShippedGame();
    ASSERT_TRUE(std::filesystem::exists(shipped / "SpriteList.vtsl")) << shipped;
    m_folder = m_data.Path() / "game";
    testsupport::CopyForPlay(m_folder, "level", this->GetParam().file);
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(m_folder);
    game = std::make_unique<testharness::GameHarness>();
    game->RunFrames(2);
  }
  void TearDown() override {
    game.reset();
    m_cwd.reset();
    unsetenv("XDG_CONFIG_HOME");
  }
  void Save(const std::string& what) {
    const std::filesystem::path out = testsupport::BinaryDir() / "level_frames";
    std::filesystem::create_directories(out);
    EXPECT_TRUE(game->SaveFrame(
        (out / (std::string(this->GetParam().file) + "_" + what + ".png")).string()));
  }

  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
  std::filesystem::path m_folder;
};

using LevelsRunTest = ShippedLevelTest<LevelCase>;

TEST_P(LevelsRunTest, HeroLandsAtTheStartAndTheLevelHoldsItsBossTrigger) {
  ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
  PlayerObject* hero = World::GetPlayer();
  ASSERT_NE(hero, nullptr);
  int frames = 0;
  while (hero->IsAirborne() && frames < 240) {
    game->RunFrames(1);
    ++frames;
  }
  EXPECT_LT(frames, 240) << "the hero never lands";
  game->RunFrames(30);
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
  Save("start");

  const bool found = World::GetObjects()->Find(GetParam().trigger) ||
                     World::GetDormantObjects()->Find(GetParam().trigger);
  EXPECT_TRUE(found) << GetParam().trigger;
}

INSTANTIATE_TEST_SUITE_P(
    ShippedLevels, LevelsRunTest,
    ::testing::Values(LevelCase{"junkyard.lvl", "GrindlenautTrigger"},
                      LevelCase{"factory.lvl", "TigerATrigger"},
                      LevelCase{"airship.lvl", "KajeTrigger"}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

// TigerA charges and runs along the floor from one side of the factory arena to the
// other, under both platforms: a platform hanging into its way would hold it for good.
class FactoryArenaTest : public LevelsRunTest {};

TEST_P(FactoryArenaTest, TigerAHasRoomToRunUnderThePlatforms) {
  ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
  std::unique_ptr<Sprite> tiger(World::CloneSprite("TigerA"));
  ASSERT_NE(tiger, nullptr);
  auto* walker = tiger->AsGameObject();
  ASSERT_NE(walker, nullptr);
  walker->SetState(1);
  // The arena lies far from the start, parked with the dormant objects.
  std::vector<Sprite*> arena(World::GetObjects()->GetSprites().begin(), World::GetObjects()->GetSprites().end());
  arena.insert(arena.end(), World::GetDormantObjects()->GetSprites().begin(),
               World::GetDormantObjects()->GetSprites().end());
  for (const float from : {5760.0f, 7552.0f}) {
    walker->MoveTo(Vector2(from, 2751.9f));
    walker->SetVelocity(from < 6656.0f ? 1792.0f : -1792.0f, 0.0f);
    const Contact contact = CheckCollision(walker, arena);
    EXPECT_FALSE(contact.IsHit()) << "from x " << from << " it runs into the object at ("
                                  << contact.b->GetPosition().X() << ", " << contact.b->GetPosition().Y() << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, FactoryArenaTest,
                         ::testing::Values(LevelCase{"factory.lvl", "TigerATrigger"}),
                         [](const auto&) { return std::string("factory"); });

GameObject* FindObject(const std::string& name) {
  for (SpriteCollection* list : {World::GetObjects(), World::GetDormantObjects()}) {
    if (Sprite* found = list->Find(name)) return found->AsGameObject();
  }
  return nullptr;
}

// A rocket fired the way Kaje fires them at the hero in the shield stage.
GameObject* FireKajeRocket() {
  GameObject* trigger = FindObject("KajeTrigger");
  if (!trigger) return nullptr;
  PlayerObject* hero = World::GetPlayer();
  hero->MoveTo(Vector2(trigger->GetPosition().X(), hero->GetPosition().Y()));
  trigger->RunBehavior();  // its Init
  KajeTriggerSpawnBoss(trigger);
  GameObject* kaje = FindObject("Kaje");
  if (!kaje) return nullptr;
  kaje->SetState(15);
  kaje->SetBehavior(KajeFireRockets);
  for (int tick = 0; tick < 120; ++tick) {
    kaje->RunBehavior();
    if (GameObject* rocket = FindObject("KajeRocket")) return rocket;
    kaje->Tick();
  }
  return nullptr;
}

// A scrap picked up by the Grindlenaut's arm once the boss is out of the ground.
GameObject* PickGrindlenautScrap() {
  GameObject* trigger = FindObject("GrindlenautTrigger");
  if (!trigger) return nullptr;
  World::GetPlayer()->MoveTo(trigger->GetPosition());
  World::SetCameraLock(World::kLockRight);
  World::GrindlenautTrigger(trigger);
  GameObject* body = FindObject("Grindlenaut");
  GameObject* arm = FindObject("GrindlenautArm");
  if (!body || !arm) return nullptr;
  body->SetFlag("PatrolTime", 0.0f);
  // It rises behind the ground and comes to the front at the top of its leap.
  for (int frame = 0; frame < 200 && body->GetDepth() < 0.0f; ++frame) GrindlenautEmerge(body);
  arm->SetFlag("ArmDir", 1.0f);
  arm->SetFlag("ArmAngle", 1.0f);
  GrindlenautArmSwing(arm);
  return FindObject("Scrap");
}

// The WallJump core the junkyard's end explosion leaves where the opened tiles meet.
GameObject* BlowTheJunkyardWallOpen() {
  World::JunkyardEnd();
  for (Sprite* piece : World::GetObjects()->FindAll("CorePiece")) {
    if (piece->GetPosition().X() == 16256.0f && piece->GetPosition().Y() == 896.0f)
      return piece->AsGameObject();
  }
  return nullptr;
}

struct GroundCase {
  const char* name;
  const char* file;
  const char* what;
  GameObject* (*make)();
  const char* ground;
  float reach;  // how far from the object a tile's centre may lie to count
  float below;  // only tiles centred below this line count
  bool hidden;  // drawn behind those tiles, else over them
};

void PrintTo(const GroundCase& ground, std::ostream* out) {
  *out << ground.what;
}

// Tiles of that name near `object`: drawn before it (under it) or after it (over it).
struct DrawOrder {
  int under = 0;
  int over = 0;
};

DrawOrder TilesNear(const Sprite* object, const GroundCase& ground) {
  DrawOrder order;
  bool drawn = false;
  const Vector2& at = object->GetPosition();
  for (const Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite == object) drawn = true;
    if (sprite->GetName() != ground.ground) continue;
    const Vector2& p = sprite->GetPosition();
    if (p.Y() <= ground.below) continue;
    if (std::fabs(p.X() - at.X()) > ground.reach || std::fabs(p.Y() - at.Y()) > ground.reach)
      continue;
    ++(drawn ? order.over : order.under);
  }
  return order;
}

using SolidGroundTest = ShippedLevelTest<GroundCase>;

// Kaje's rockets home in on the hero's feet and fly on through the deck, and the scrap falls
// through the floor until it leaves the view: the ground hides them. The WallJump core the
// boss leaves lies half in the floor, under the rubble of the opened wall: it must show.
TEST_P(SolidGroundTest, TheGroundHidesWhatSinksIntoItButNotTheCoreLeftOnIt) {
  const GroundCase& ground = GetParam();
  // The whole level in the active list, where it is drawn, whatever the load parked.
  while (Sprite* sprite = World::GetDormantObjects()->RemoveAt(0)) World::GetObjects()->Add(sprite);
  GameObject* object = ground.make();
  ASSERT_NE(object, nullptr) << ground.what;
  const DrawOrder order = TilesNear(object, ground);
  EXPECT_GT(ground.hidden ? order.over : order.under, 0);
  EXPECT_EQ(ground.hidden ? order.under : order.over, 0)
      << ground.ground << " tiles drawn " << (ground.hidden ? "behind " : "over ") << ground.what
      << " at depth " << object->GetDepth();
}

constexpr float kAnywhere = 1e9f;
// A screen around the object: the bulkheads up the airship's climb, which stand behind the
// gunners against them, are far from the foredeck the rockets fly through.
constexpr float kOnScreen = 400.0f;
// The junkyard arena's floor line: the faces above it stand behind the risen boss, whose
// scrap falls through the floor far from them.
constexpr float kArenaFloor = 896.0f;

INSTANTIATE_TEST_SUITE_P(
    ShippedLevels, SolidGroundTest,
    ::testing::Values(GroundCase{"rocket", "airship.lvl", "a rocket Kaje fires", FireKajeRocket,
                                 "AirshipDeck", kOnScreen, -kAnywhere, true},
                      GroundCase{"scrap", "junkyard.lvl", "a scrap the Grindlenaut throws",
                                 PickGrindlenautScrap, "JunkyardGround", kAnywhere, kArenaFloor, true},
                      GroundCase{"core", "junkyard.lvl", "the WallJump core",
                                 BlowTheJunkyardWallOpen, "JunkyardGround", 128.0f, -kAnywhere, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
