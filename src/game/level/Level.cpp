// Levels: lifetime, prototype lookup, filling the World's lists and the music.
#include "game/level/Level.h"

#include "animationlib/AnimationCollection.h"
#include "animationlib/ScenerySprite.h"
#include "animationlib/SpriteCollection.h"
#include "game/sound/SoundEngine.h"
#include "game/world/GameConstants.h"
#include "game/world/World.h"

namespace {
// The camera offset centres the player on the 800 x 600 screen.
const Vector2 kHalfScreen(kScreenWidth / 2.0f, kScreenHeight / 2.0f);

}  // namespace

Level::Level() = default;

Level::~Level() {
  m_cscLevelPool.reset();
  m_cacLevelPool.reset();
  DeleteLayers();
  m_cpoPlayer.reset();
  DeleteMainObjects();
  m_tutorial.reset();
}

void Level::DeleteLayers() {
  m_vSceneryA.clear();
  m_vLayerB.clear();
  m_vSceneryC.clear();
  m_vLayerD.clear();
  m_cacScenery.reset();
}

void Level::DeleteMainObjects() {
  m_vMainObjects.clear();
}

Sprite* Level::FindPrototype(const std::string& name, SpriteCollection* globalPool) const {
  if (globalPool) {
    if (Sprite* prototype = globalPool->Find(name)) return prototype;
  }
  return m_cscLevelPool ? m_cscLevelPool->Find(name) : nullptr;
}

Vector2 Level::CameraStart() const {
  if (!m_cpoPlayer) return Vector2(0.0f, 0.0f);
  const Vector2& player = m_cpoPlayer->GetPosition();
  return Vector2(player.X() - kHalfScreen.X(), player.Y() - kHalfScreen.Y());
}

void Level::FillObjects(const std::vector<std::unique_ptr<GameObject>>& templates, const GameObject* last,
                        SpriteCollection* list) const {
  list->Clear();
  // One sort at the end: sorting after every clone would cost a sort per tile.
  for (const auto& object : templates) list->AddUnsorted(object->Clone());
  if (last) list->AddUnsorted(last->Clone());
  list->Sort();
  list->SetOffset(CameraStart());
}

void Level::FillScenery(const std::vector<std::unique_ptr<ScenerySprite>>& templates,
                        SpriteCollection* list) const {
  list->Clear();
  for (const auto& scenery : templates) list->AddUnsorted(scenery->Clone());
  list->Sort();
  list->SetOffset(Vector2(0.0f, 0.0f));
  if (m_cpoPlayer) list->UpdateParallax(CameraStart());
}

void Level::FillSceneryListA(SpriteCollection* list) const {
  FillScenery(m_vSceneryA, list);
}

void Level::FillObjectListB(SpriteCollection* list) const {
  FillObjects(m_vLayerB, nullptr, list);
}

void Level::FillObjectList(SpriteCollection* list) const {
  FillObjects(m_vMainObjects, m_cpoPlayer.get(), list);
}

void Level::FillSceneryListC(SpriteCollection* list) const {
  FillScenery(m_vSceneryC, list);
}

void Level::FillObjectListD(SpriteCollection* list) const {
  FillObjects(m_vLayerD, nullptr, list);
}

void Level::StartMusic() const {
  SoundEngine engine;
  if (m_sAmbientTrack != "0") engine.PlayAmbient(m_sAmbientTrack);
  engine.SetLoadingPlaylist(true);
  engine.ClearPlaylist();
  for (int i = 0; i < m_nTrackCount; ++i) engine.Load(m_vTrackFiles[i], m_vTrackModes[i]);
  if (m_nTrackCount > 0) engine.PlayMusic();
}

void Level::StopMusic() const {
  SoundEngine engine;
  engine.StopMusic();
  engine.ClearPlaylist();
}

void Level::OnTutorialTrigger(GameObject* object) {
  SpriteCollection* objects = World::GetObjects();
  if (!objects) return;
  if (const Sprite* player = objects->Find(World::kPlayerName))
    object->MoveTo(player->GetPosition());
  if (Tutorial* tutorial = Tutorial::GetCurrent()) tutorial->Update();
}
