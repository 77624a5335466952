// Making a level current: the level read afresh from its file, the World's lists
// filled with clones of its templates, its music, and the player carried over.
#include <algorithm>
#include <memory>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/GameObject.h"
#include "game/Level.h"
#include "game/World.h"
#include "platform/Assert.h"

bool World::LoadLevel(std::string name, bool carryPlayer) {
  // A name listed twice always means its first entry.
  const auto found = std::find_if(m_levelEntries.begin(), m_levelEntries.end(),
                                  [&name](const LevelEntry& entry) { return entry.name == name; });
  if (found == m_levelEntries.end()) return false;

  // Only one level is ever loaded, even when the same entry loads again.
  for (LevelEntry& entry : m_levelEntries) {
    if (!entry.level) continue;
    entry.level->StopMusic();
    entry.level.reset();
    D3DInterface::GetEngine()->ClearQuadList();
  }

  found->level = std::make_unique<Level>();
  Level* level = found->level.get();
  // A level file that does not open leaves an empty level, which plays on.
  if (level->Load(found->file, m_cscPool.get())) level->SetName(found->name);
  m_levelJustLoaded = true;
  m_currentEntry = static_cast<int>(found - m_levelEntries.begin());

  SpriteCollection* const lists[] = {
      m_cscObjects.get(),        m_cscLayerB.get(),        m_cscLayerD.get(),
      m_cscSceneryA.get(),       m_cscSceneryC.get(),      m_cscDormantObjects.get(),
      m_cscDormantLayerB.get(),  m_cscDormantLayerD.get()};
  for (SpriteCollection* list : lists) {
    VT_ASSERT(list);
    list->Clear();
  }
  // The dormant lists stay empty; the camera moves objects between the two.
  level->FillSceneryListA(m_cscSceneryA.get());
  level->FillObjectListB(m_cscLayerB.get());
  level->FillObjectList(m_cscObjects.get());
  level->FillSceneryListC(m_cscSceneryC.get());
  level->FillObjectListD(m_cscLayerD.get());
  level->StartMusic();

  if (carryPlayer) {
    const bool hasRecord = m_currentPlayer >= 0 &&
                           m_currentPlayer < static_cast<int>(m_playerRecords.size()) &&
                           m_playerRecords[m_currentPlayer] != nullptr;
    if (hasRecord) {
      // HOOK(player object): copy the record's properties, energy, orbs, abilities
      // and score into the live player and SavePlayerState; without a live player
      // carryPlayer becomes false. No record can exist before PlayerObject does.
    }
    if (carryPlayer) RestorePlayer(false);
  }
  // HOOK(tutorial): with a World tutorial, the level's tutorial and exactly one
  // player record, the World's tutorial becomes a copy of the level's; otherwise
  // a World tutorial is replaced by an empty one.
  // HOOK(camera): when carryPlayer, ActivateNearbyObjects and
  // ActivateNearbyLayerObjects with (5, 0).
  return true;
}

void World::RestorePlayer(bool /*reload*/) {
  GameObject* live = FindLivePlayer();
  if (live) live->SetDeactivateOffscreen(false);
  const bool hasRecord = m_currentPlayer >= 0 &&
                         m_currentPlayer < static_cast<int>(m_playerRecords.size()) &&
                         m_playerRecords[m_currentPlayer] != nullptr;
  if (!live || !hasRecord) {
    // HOOK(HUD): refresh the HUD from the live player (PlayerObject::UpdateHUD).
    return;
  }
  // HOOK(player object): the record's "Level" into the record level index, the
  // reload, and the record copied into the live player (or the live player
  // replaced by the record saved at a checkpoint). No record can exist yet.
}

GameObject* World::FindLivePlayer() {
  if (!m_cscObjects) return nullptr;
  // Everything in the World's lists is a GameObject.
  return static_cast<GameObject*>(m_cscObjects->Find(kPlayerName));
}

void World::DeleteLevels() {
  for (LevelEntry& entry : m_levelEntries) {
    entry.level.reset();
  }
}

Level* World::GetCurrentLevel() {
  if (m_currentEntry < 0 || m_currentEntry >= static_cast<int>(m_levelEntries.size())) {
    return nullptr;
  }
  return m_levelEntries[m_currentEntry].level.get();
}

const Vector2& World::GetCameraOffset() {
  VT_ASSERT(m_cscObjects);
  return m_cscObjects->GetOffset();
}

Vector2 World::GetLevelLowerBounds() {
  const Level* level = GetCurrentLevel();
  if (!level) return Vector2(-1.0f, -1.0f);
  return Vector2(static_cast<float>(level->GetXLower()), static_cast<float>(level->GetYLower()));
}

Vector2 World::GetLevelUpperBounds() {
  const Level* level = GetCurrentLevel();
  if (!level) return Vector2(-1.0f, -1.0f);
  return Vector2(static_cast<float>(level->GetXUpper()), static_cast<float>(level->GetYUpper()));
}
