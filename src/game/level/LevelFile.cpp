// The level file: ten sections of tokens in a fixed order, read into the level's
// templates.
#include <cstddef>
#include <fstream>
#include <memory>
#include <utility>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/D3DAnimation.h"
#include "animationlib/ScenerySprite.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/level/Level.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

const char kBoundAnimation[] = "animations/VerticalBound.acd";
const char kTutorialTrigger[] = "Tutorial";
const char kTutorialTriggerPrototype[] = "TutorialTrigger";
const char kCheckPoint[] = "TriggerCheckPoint";

Vector2 ScreenSize() {
  const D3DInterface* engine = D3DInterface::GetEngine();
  return Vector2(engine->GetScreenWidth(), engine->GetScreenHeight());
}

// A frame token must name a frame of the animation it selects.
void CheckFrame(TokenReader& in, const Sprite& object, int frame) {
  const int frames = object.GetAnimation()->GetFrameCount();
  if (frames > 0 && (frame < 0 || frame >= frames)) {
    in.Fail("\"" + object.GetName() + "\" has no frame " + std::to_string(frame) +
            " (its animation \"" + object.GetAnimation()->GetName() + "\" has " +
            std::to_string(frames) + ")");
  }
}

}  // namespace

bool Level::Load(std::string file, SpriteCollection* globalPool) {
  std::ifstream stream(file);
  // The caller, which knows the game list's entry, reports it.
  if (!stream.is_open()) return false;
  TokenReader in(stream, file);
  ReadPrototypes(in);
  ReadMusic(in);
  // The scenery and object sections rebuild all four layers.
  DeleteLayers();
  m_cacScenery = std::make_unique<AnimationCollection>();
  ReadScenery(in, m_vSceneryA, false);
  ReadObjects(in, globalPool, m_vLayerB);
  ReadScenery(in, m_vSceneryC, true);
  ReadObjects(in, globalPool, m_vLayerD);
  ReadBounds(in, globalPool);
  ReadPlayer(in, globalPool);
  ReadEnemies(in, globalPool);
  ReadTriggers(in, globalPool);
  // The script's name follows the level file character for character; a level
  // may have none.
  const std::string scriptName = "data/tut" + file;
  std::ifstream script(scriptName);
  if (script.is_open()) {
    m_tutorial.reset();
    m_tutorial = std::make_unique<Tutorial>(script, scriptName);
  }
  return true;
}

GameObject* Level::Prototype(TokenReader& in, const std::string& name,
                             SpriteCollection* globalPool) const {
  Sprite* prototype = FindPrototype(name, globalPool);
  if (!prototype) in.Fail("\"" + name + "\" is in no prototype pool");
  // Both pools hold only the GameObjects the prototype reader builds.
  return static_cast<GameObject*>(prototype);
}

void Level::ReadPrototypes(TokenReader& in) {
  m_cscLevelPool.reset();
  m_cacLevelPool = std::make_unique<AnimationCollection>();
  m_cscLevelPool = std::make_unique<SpriteCollection>(PASS_ALL);
  ReadPrototypeList(in, m_cacLevelPool.get(), m_cscLevelPool.get());
}

void Level::ReadMusic(TokenReader& in) {
  m_vTrackFiles.clear();
  m_vTrackModes.clear();
  m_sAmbientTrack = in.Word("the ambient track");
  m_nTrackCount = in.IntAtLeast("the music track count", 0);
  VT_ASSERT(m_nTrackCount >= 0);
  // Grown as the pairs are read, so a huge count in a short file allocates nothing.
  for (int i = 0; i < m_nTrackCount; ++i) {
    m_vTrackFiles.push_back(in.Word("a music track file"));
    m_vTrackModes.push_back(in.Word("a music track mode"));
  }
}

void Level::ReadScenery(TokenReader& in, std::vector<std::unique_ptr<ScenerySprite>>& layer,
                        bool tilesAreBools) {
  const int count = in.IntAtLeast("the scenery count", 0);
  VT_ASSERT(count >= 0);
  for (int i = 0; i < count; ++i) {
    const std::string file = in.Word("a scenery animation file");
    const float x = in.Float("a scenery x");
    const float y = in.Float("a scenery y");
    const bool tileX =
        tilesAreBools ? in.Bool("a scenery tile x") : in.Int("a scenery tile x") != 0;
    const bool tileY =
        tilesAreBools ? in.Bool("a scenery tile y") : in.Int("a scenery tile y") != 0;
    const float velocityX = in.Float("a scenery velocity x");
    const float velocityY = in.Float("a scenery velocity y");
    const float parallaxX = in.Float("a scenery parallax x");
    const float parallaxY = in.Float("a scenery parallax y");

    // A file named twice is loaded twice; the sprite takes the first of its name.
    auto* animation = new D3DAnimation(file);
    m_cacScenery->Add(animation);
    auto scenery =
        std::make_unique<ScenerySprite>(animation->GetName(), m_cacScenery->Find(animation->GetName()),
                                        Vector2(1.0f, 1.0f), static_cast<float>(i));
    scenery->MoveTo(Vector2(x, y));
    scenery->SetTileX(tileX);
    scenery->SetTileY(tileY);
    if (tileX || tileY) scenery->ComputeRepeat(ScreenSize());
    scenery->SetParallaxFactor(Vector2(parallaxX, parallaxY));
    scenery->SetVelocity(velocityX, velocityY);
    layer.push_back(std::move(scenery));
  }
}

void Level::ReadObjects(TokenReader& in, SpriteCollection* globalPool,
                        std::vector<std::unique_ptr<GameObject>>& into) {
  const int objectCount = in.IntAtLeast("the object count", 0);
  VT_ASSERT(objectCount >= 0);
  for (int i = 0; i < objectCount; ++i) {
    const std::string name = in.Word("an object name");
    const float x = in.Float("the x of \"" + name + "\"");
    const float y = in.Float("the y of \"" + name + "\"");
    const int frame = in.Int("the frame of \"" + name + "\"");
    const bool facingLeft = in.Int("the facing of \"" + name + "\"") != 0;
    const float depth = in.Float("the depth of \"" + name + "\"");

    // A plain object in the prototype's current look, not a copy of the prototype.
    const GameObject* prototype = Prototype(in, name, globalPool);
    const ObjectCallbacks callbacks{nullptr, prototype->GetBehavior(), nullptr};
    GameObject* object = into
                             .emplace_back(std::make_unique<GameObject>(
                                 name, prototype->GetAnimation(), Vector2(x, y), callbacks, depth))
                             .get();
    CheckFrame(in, *object, frame);
    object->SetName(name);
    object->SetFrame(frame);
    object->SetFacingLeft(facingLeft);
  }
}

void Level::ReadBounds(TokenReader& in, SpriteCollection* globalPool) {
  DeleteMainObjects();
  m_nXLower = in.Int("the lower x bound");
  m_nYLower = in.Int("the lower y bound");
  m_nXUpper = in.Int("the upper x bound");
  m_nYUpper = in.Int("the upper y bound");
  // -1 leaves a side open; two closed sides must not cross.
  const auto reportCrossing = [&in](const char* axis, int lower, int upper) {
    if (lower < upper || lower == -1 || upper == -1) return;
    in.Report(std::string("the ") + axis + " bounds cross: the lower, " + std::to_string(lower) +
              ", is not below the upper, " + std::to_string(upper));
  };
  reportCrossing("x", m_nXLower, m_nXUpper);
  VT_ASSERT(m_nXLower < m_nXUpper || m_nXLower == -1 || m_nXUpper == -1);
  reportCrossing("y", m_nYLower, m_nYUpper);
  VT_ASSERT(m_nYLower < m_nYUpper || m_nYLower == -1 || m_nYUpper == -1);
  AddBoundWalls();
  ReadObjects(in, globalPool, m_vMainObjects);
}

void Level::AddBoundWalls() {
  const Vector2 screen = ScreenSize();
  auto addWall = [this](Animation* animation, float x, float y) {
    m_vMainObjects.push_back(std::make_unique<GameObject>(animation->GetName(), animation,
                                                          Vector2(x, y), NO_CALLBACKS, kWallDepth));
  };

  // Bounds may lie at the ends of int: the wall positions are worked out wider.
  auto outside = [](int bound, int inset) {
    return static_cast<float>(static_cast<long long>(bound) + inset);
  };
  auto* vertical = new D3DAnimation(kBoundAnimation);
  m_cacScenery->Add(vertical);
  if (m_nXLower != -1) {
    for (float y = 0.0f; y < screen.Y(); y += kWallSpacing) {
      addWall(vertical, outside(m_nXLower, -kWallInset), y);
    }
  }
  if (m_nXUpper != -1) {
    for (float y = 0.0f; y < screen.Y(); y += kWallSpacing) {
      addWall(vertical, outside(m_nXUpper, kWallInset), y);
    }
  }

  // The walls of the y bounds use a second copy of the animation.
  auto* horizontal = new D3DAnimation(kBoundAnimation);
  m_cacScenery->Add(horizontal);
  if (m_nYLower != -1) {
    for (float x = 0.0f; x < screen.X(); x += kWallSpacing) {
      addWall(horizontal, x, outside(m_nYLower, -kWallInset));
    }
  }
  if (m_nYUpper != -1) {
    // The bottom walls stand on the bound itself.
    for (float x = 0.0f; x < screen.X(); x += kWallSpacing) {
      addWall(horizontal, x, static_cast<float>(m_nYUpper));
    }
  }
}

void Level::ReadPlayer(TokenReader& in, SpriteCollection* globalPool) {
  VT_ASSERT(m_cpoPlayer == NULL);
  const std::string name = in.Word("the player name (or 0)");
  if (name == "0") return;
  const float x = in.Float("the player x");
  const float y = in.Float("the player y");
  const bool facingLeft = in.Bool("the player facing");

  // Only the global pool is searched for the player.
  Sprite* found = globalPool ? globalPool->Find(name) : nullptr;
  if (!found) in.Fail("the player \"" + name + "\" is not in the global prototype list");
  const auto* prototype = static_cast<GameObject*>(found);
  const ObjectCallbacks callbacks{PlayerQueryThunk, PlayerInputThunk, CollidePlayer};
  m_cpoPlayer = std::make_unique<PlayerObject>(World::kPlayerName, prototype->GetAnimation(),
                                               Vector2(x, y), callbacks, 0.0f);
  m_cpoPlayer->CopyStateAnimations(*prototype);
  m_cpoPlayer->SetFacingLeft(facingLeft);
  // The hero's tuning file must ship with the game; a missing one is reported
  // and leaves the defaults.
  m_cpoPlayer->LoadTuningFile(std::string("data/") + World::kPlayerName + ".ini");
}

void Level::ReadEnemies(TokenReader& in, SpriteCollection* globalPool) {
  const int enemyCount = in.IntAtLeast("the enemy count", 0);
  VT_ASSERT(enemyCount >= 0);
  for (int i = 0; i < enemyCount; ++i) {
    const std::string name = in.Word("an enemy name");
    const float x = in.Float("the x of \"" + name + "\"");
    const float y = in.Float("the y of \"" + name + "\"");
    const bool facingLeft = in.Int("the facing of \"" + name + "\"") != 0;

    const GameObject* prototype = Prototype(in, name, globalPool);
    const ObjectCallbacks callbacks{FrameChangeCallback, prototype->GetBehavior(), CollideDamage};
    auto* enemy = static_cast<EnemyObject*>(
        m_vMainObjects
            .emplace_back(std::make_unique<EnemyObject>(name, prototype->GetAnimation(),
                                                        Vector2(x, y), callbacks, 0.0f))
            .get());
    enemy->SetName(name);
    enemy->SetFacingLeft(facingLeft);
    enemy->CopyStateAnimations(*prototype);
    std::ifstream parameters("data/" + name + ".ini");
    if (parameters.is_open()) enemy->LoadParameters(parameters);
  }
}

void Level::ReadTriggers(TokenReader& in, SpriteCollection* globalPool) {
  const int triggerCount = in.IntAtLeast("the trigger count", 0);
  VT_ASSERT(triggerCount >= 0);
  int checkPoints = 0;
  for (int i = 0; i < triggerCount; ++i) {
    const std::string name = in.Word("a trigger name");
    const float x = in.Float("the x of \"" + name + "\"");
    const float y = in.Float("the y of \"" + name + "\"");
    const int frame = in.IntAtLeast("the frame of \"" + name + "\"", 0);
    VT_ASSERT(frame >= 0);
    const bool facingLeft = in.Int("the facing of \"" + name + "\"") != 0;
    const float depth = in.Float("the depth of \"" + name + "\"");

    if (name == kTutorialTrigger) {
      // Its frame, facing and depth are not used.
      Sprite* look = globalPool ? globalPool->Find(kTutorialTriggerPrototype) : nullptr;
      if (!look) in.Fail("a \"Tutorial\" trigger needs the global prototype \"TutorialTrigger\"");
      const ObjectCallbacks callbacks{nullptr, &Level::OnTutorialTrigger, nullptr};
      GameObject* trigger = m_vMainObjects
                                .emplace_back(std::make_unique<GameObject>(
                                    kTutorialTrigger, look->GetAnimation(), Vector2(x, y),
                                    callbacks, 0.0f))
                                .get();
      trigger->SetVisible(false);
      trigger->SetDeactivateOffscreen(false);
      continue;
    }

    const GameObject* prototype = Prototype(in, name, globalPool);
    const ObjectCallbacks callbacks{nullptr, prototype->GetBehavior(), nullptr};
    GameObject* trigger =
        m_vMainObjects
            .emplace_back(std::make_unique<GameObject>(name, prototype->GetAnimation(),
                                                       Vector2(x, y), callbacks, 0.0f))
            .get();
    if (name == kCheckPoint) {
      // Numbered in file order, whatever stands between them.
      ++checkPoints;
      trigger->AddFlag("CheckPointCount", static_cast<float>(checkPoints));
      trigger->SetDeactivateOffscreen(false);
    }
    trigger->SetVisible(false);
    trigger->CopyStateAnimations(*prototype);
    trigger->SetFacingLeft(facingLeft);
    CheckFrame(in, *trigger, frame);
    trigger->SetFrame(frame);
    trigger->SetDepth(depth);
  }
}
