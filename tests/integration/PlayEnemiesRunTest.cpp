// Enemies, checkpoints, tires and pickups in real play, each on a small flat
// arena written by the test so that nothing else on the training ground gets
// in the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/GameObject.h"

namespace {

constexpr float kFloorTop = 1280.0f;  // top of the floor tiles at y 1344
constexpr int kFloorTiles = 24;

// A flat floor between two walls; `objects`, `enemies` and `triggers` are the
// level's lines for the main list, section 9 and section 10.
std::string ArenaLevel(float heroX, const std::vector<std::string>& objects,
                       const std::vector<std::string>& enemies,
                       const std::vector<std::string>& triggers) {
  std::vector<std::string> main;
  const int right = 64 + 128 * (kFloorTiles - 1);
  for (int y = 832; y <= 1216; y += 128) {
    main.push_back("MetalTiles 64 " + std::to_string(y) + " 17 0 -0.5");
    main.push_back("MetalTiles " + std::to_string(right) + " " + std::to_string(y) + " 16 0 -0.5");
  }
  for (int i = 0; i < kFloorTiles; ++i) {
    main.push_back("MetalTiles " + std::to_string(64 + 128 * i) + " 1344 0 0 -0.5");
  }
  main.insert(main.end(), objects.begin(), objects.end());

  std::string text =
      "1\nMetalTiles 1 0 animations/tiles_metal.acd\n0 2 music/explore.wav order music/calm.wav order\n"
      "1\nanimations/sky_dusk.acd 0 0 0 0 0 0 0 0\n0\n0\n0\n";
  text += "0 0 " + std::to_string(128 * kFloorTiles) + " 1700\n";
  const auto section = [&text](const std::vector<std::string>& lines) {
    text += std::to_string(lines.size()) + "\n";
    for (const std::string& line : lines) text += line + "\n";
  };
  section(main);
  text += "ZodirazO " + std::to_string(heroX) + " 1270 0\n";
  section(enemies);
  section(triggers);
  return text;
}

std::vector<GameObject*> Named(const std::string& name) {
  std::vector<GameObject*> found;
  for (Sprite* sprite : World::GetObjects()->GetSprites()) {
    if (sprite->GetName() == name) found.push_back(static_cast<GameObject*>(sprite));
  }
  return found;
}

class PlayEnemiesRunTest : public playtest::PlayFixture {
 protected:
  bool StartsInSetUp() const override { return false; }
  // Plays the arena from a fresh start, the hero standing on the floor.
  void Play(const std::string& level) {
    std::ofstream(Folder() / "arena.lvl") << level;
    StartOn("arena.lvl");
    StartGame();
    ASSERT_LE(FramesToLand(240), 240);
  }
};

TEST_F(PlayEnemiesRunTest, RatsNearAStandingHeroChaseJumpAndCrackAnOrb) {
  Play(ArenaLevel(800.0f, {}, {"Rat 650 1279.9 0", "Rat 960 1279.9 1"}, {}));
  const std::vector<GameObject*> rats = Named("Rat");
  ASSERT_EQ(rats.size(), 2u);
  const int healthBefore = Hero()->GetHealth();
  std::vector<bool> jumped(rats.size(), false);
  std::vector<float> closest(rats.size(), 1e9f);
  // Frames a rat spends in the air without moving: a rat must never hang there.
  std::vector<int> hanging(rats.size(), 0), longestHang(rats.size(), 0);
  std::vector<Vector2> last(rats.size());
  for (std::size_t i = 0; i < rats.size(); ++i) last[i] = rats[i]->GetPosition();
  for (int frame = 0; frame < 300; ++frame) {
    game->RunFrames(1);
    for (std::size_t i = 0; i < rats.size(); ++i) {
      const Vector2 at = rats[i]->GetPosition();
      jumped[i] = jumped[i] || rats[i]->GetState() == 3;
      closest[i] = std::min(closest[i], std::fabs(at.X() - Hero()->GetPosition().X()));
      const bool still = at == last[i] && at.Y() < kFloorTop - 5.0f;
      hanging[i] = still ? hanging[i] + 1 : 0;
      longestHang[i] = std::max(longestHang[i], hanging[i]);
      last[i] = at;
    }
  }
  for (std::size_t i = 0; i < rats.size(); ++i) {
    EXPECT_TRUE(jumped[i]) << "rat " << i;
    EXPECT_LT(closest[i], 100.0f) << "rat " << i << " chased the hero";
    EXPECT_LT(longestHang[i], 3) << "rat " << i << " hung in the air";
  }
  EXPECT_LT(Hero()->GetHealth(), healthBefore);
}

TEST_F(PlayEnemiesRunTest, WalkingThroughACheckpointClosesItsGateAndSavesTheRestartPointThere) {
  Play(ArenaLevel(448.0f, {}, {}, {"TriggerCheckPoint 900 1279.9 0 0 1.0"}));
  const auto gateFrames = [] {
    std::vector<int> frames;
    for (SpriteCollection* list : {static_cast<SpriteCollection*>(World::GetSceneryA()),
                                   static_cast<SpriteCollection*>(World::GetSceneryC())}) {
      for (Sprite* sprite : list->GetSprites()) {
        if (sprite->GetName() == "CheckPointClose") frames.push_back(sprite->GetFrame());
      }
    }
    return frames;
  };
  ASSERT_EQ(gateFrames(), (std::vector<int>{0, 0})) << "a back and a front gate, open";
  game->KeyDown(SDL_SCANCODE_RIGHT);
  for (int frame = 0; frame < 300 && Hero()->GetPosition().X() < 1000.0f; ++frame) game->RunFrames(1);
  Release(SDL_SCANCODE_RIGHT, MOVE_RIGHT);
  ASSERT_GE(Hero()->GetPosition().X(), 1000.0f);
  for (const int frame : gateFrames()) EXPECT_GT(frame, 0);
  const PlayerObject* record = World::GetCurrentRecord();
  ASSERT_NE(record, nullptr);
  EXPECT_LT(std::fabs(record->GetPosition().X() - 900.0f), 20.0f);
}

TEST_F(PlayEnemiesRunTest, AStridingHeroLaunchesTheWholeTireStackOutOfTheView) {
  Play(ArenaLevel(448.0f, {"Tire 1100 1260 0 0 0", "Tire 1100 1220 0 0 0", "Tire 1100 1180 0 0 0"}, {},
                  {}));
  ASSERT_EQ(Named("Tire").size(), 3u);
  HUD::GetInstance()->ShowStride(true);
  ASSERT_TRUE(Hero()->GetAbilities() & ABILITY_STRIDE);
  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->KeyDown(SDL_SCANCODE_A);
  bool strode = false, allLoose = false;
  for (int frame = 0; frame < 120 && !allLoose; ++frame) {
    game->RunFrames(1);
    strode |= Hero()->GetState() == PLAYER_STRIDE;
    const std::vector<GameObject*> tires = Named("Tire");
    allLoose = tires.size() == 3u;
    for (const GameObject* tire : tires) allLoose &= tire->GetFrame() == 1;
  }
  Release(SDL_SCANCODE_A, STRIDE);
  Release(SDL_SCANCODE_RIGHT, MOVE_RIGHT);
  EXPECT_TRUE(strode);
  ASSERT_TRUE(allLoose) << "every tire of the stack shows its loose frame";
  for (int frame = 0; frame < 300 && !Named("Tire").empty(); ++frame) game->RunFrames(1);
  EXPECT_TRUE(Named("Tire").empty()) << "the loose tires die outside the view";
  EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
}

TEST_F(PlayEnemiesRunTest, SwordSwingsKillARatWhosePowerupBecomesTheFrontOrb) {
  Play(ArenaLevel(600.0f, {}, {"Rat 700 1279.9 1"}, {}));
  ASSERT_EQ(Named("Rat").size(), 1u);
  Hero()->SetOrbs(ORB_PLAIN, ORB_PLAIN, ORB_PLAIN);
  // Swing every 10 frames, facing the rat, until it dies.
  for (int frame = 0; frame < 400 && !Named("Rat").empty(); ++frame) {
    const GameObject* rat = Named("Rat").front();
    if (frame % 10 == 0) {
      const bool left = rat->GetPosition().X() < Hero()->GetPosition().X();
      if (Hero()->IsFacingLeft() != left) Hero()->SetFacingLeft(left);
      game->KeyDown(SDL_SCANCODE_S);
    }
    game->RunFrames(1);
    if (frame % 10 == 0) game->KeyUp(SDL_SCANCODE_S);
  }
  ASSERT_TRUE(Named("Rat").empty()) << "the rat survived the swings";
  ASSERT_EQ(Named("Powerup").size(), 1u);
  GameObject* powerup = Named("Powerup").front();
  const int colour = powerup->GetFrame();
  ASSERT_GE(colour, ORB_RED);
  ASSERT_LE(colour, ORB_BLUE);

  // Let it land, then walk onto it.
  game->RunFrames(60);
  ASSERT_EQ(Named("Powerup").size(), 1u);
  const float x = Named("Powerup").front()->GetPosition().X();
  const SDL_Scancode toward = x < Hero()->GetPosition().X() ? SDL_SCANCODE_LEFT : SDL_SCANCODE_RIGHT;
  game->KeyDown(toward);
  for (int frame = 0; frame < 200 && !Named("Powerup").empty(); ++frame) game->RunFrames(1);
  game->KeyUp(toward);
  EXPECT_TRUE(Named("Powerup").empty());
  ASSERT_FALSE(Hero()->GetOrbQueue().empty());
  EXPECT_EQ(Hero()->GetOrbQueue().front(), colour);
}

// Each enemy is drawn where it stands: hiding it changes at least a quarter of
// the pixels of its collision box on screen. The checkpoint's gate, drawn over
// whatever stands in it, waits just right of the view.
TEST_F(PlayEnemiesRunTest, ReadBackOfTheArenaShowsEachEnemyInItsBox) {
  Play(ArenaLevel(400.0f,
                  {"Tire 530 1260 0 0 0", "Tire 530 1220 0 0 0", "OrbRotation 330 1150 2 0 0",
                   "CorePiece 200 1200 0 0 1.01", "CoreGlow 200 1200 0 0 1.0"},
                  {"Rat 610 1279.9 1", "Rummager 690 1279.9 1", "TigerE 760 1279.9 1"},
                  {"TriggerCheckPoint 1000 1279.9 0 0 1.0"}));
  game->RunFrames(10);
  const char* const kinds[] = {"Rat", "Rummager", "TigerE"};
  std::vector<Bounds> boxes;
  for (const char* kind : kinds) {
    ASSERT_EQ(Named(kind).size(), 1u) << kind;
    boxes.push_back(Named(kind).front()->GetCollisionShape().GetBounds());
  }
  const Vector2 camera = World::GetCameraOffset();
  const std::vector<std::uint32_t> shown = game->ReadFrame();
  ASSERT_FALSE(shown.empty());
  game->SaveFrame((testsupport::BinaryDir() / "play_enemies.png").string());

  for (const char* kind : kinds) Named(kind).front()->SetVisible(false);
  game->RunFrames(1);
  ASSERT_EQ(World::GetCameraOffset(), camera) << "the view moved";
  const std::vector<std::uint32_t> hidden = game->ReadFrame();
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const int left = std::max(0, static_cast<int>(boxes[i].left - camera.X()));
    const int right = std::min(testharness::GameHarness::kScreenWidth,
                               static_cast<int>(boxes[i].right - camera.X()));
    const int top = std::max(0, static_cast<int>(boxes[i].top - camera.Y()));
    const int bottom = std::min(testharness::GameHarness::kScreenHeight,
                                static_cast<int>(boxes[i].bottom - camera.Y()));
    ASSERT_LT(left, right) << kinds[i] << " is off screen";
    ASSERT_LT(top, bottom) << kinds[i] << " is off screen";
    int changed = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        changed += testharness::GameHarness::PixelAt(shown, x, y) !=
                   testharness::GameHarness::PixelAt(hidden, x, y);
      }
    }
    EXPECT_GE(4 * changed, (right - left) * (bottom - top))
        << kinds[i] << ": " << changed << " pixels of " << (right - left) * (bottom - top);
  }
}

}  // namespace
