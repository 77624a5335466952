// Making a level current: the level read afresh from its file, the World's lists
// filled with clones of its templates, its music, and the player carried over.
#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/objects/TextRegistry.h"
#include "game/player/PlayerObject.h"
#include "game/tutorial/Tutorial.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

// Runs the text preparer of each object type the level places, once a type.
void PrepareObjectTexts(const Level& level) {
  std::set<std::string> types;
  for (const auto* objects : {&level.GetMainObjects(), &level.GetLayerB(), &level.GetLayerD()}) {
    for (const auto& object : *objects) {
      if (object && types.insert(object->GetName()).second) {
        if (TextPreparer prepare = TextRegistry::GetPreparer(object->GetName())) prepare();
      }
    }
  }
}

}  // namespace

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
  if (level->Load(found->file, m_cscPool.get())) {
    level->SetName(found->name);
  } else {
    ReportDataFileProblem(found->file, "cannot be opened; \"Gold.vt\" lists it as the level \"" +
                                           found->name + "\", which is left empty");
  }
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
  PrepareObjectTexts(*level);

  if (carryPlayer) {
    if (const PlayerObject* record = GetCurrentRecord()) {
      if (PlayerObject* live = GetPlayer()) {
        CopyRecord(*record, *live);
        SavePlayerState();
      } else {
        carryPlayer = false;
      }
    }
    if (carryPlayer) RestorePlayer(false);
  }
  // Games of several players show no tutorial.
  if (m_tutorial) {
    if (const Tutorial* script = level->GetTutorial(); script && m_playerRecords.size() == 1) {
      *m_tutorial = *script;
    } else {
      m_tutorial = std::make_unique<Tutorial>();
    }
    m_tutorial->PrepareTexts();
  }
  if (carryPlayer) {
    // The dormant lists are empty after a load: this parks what lies far away.
    ActivateNearbyObjects(Vector2(5.0f, 0.0f));
    ActivateNearbyLayerObjects(Vector2(5.0f, 0.0f));
  }
  return true;
}

void World::RestorePlayer(bool reload) {
  PlayerObject* live = GetPlayer();
  if (live) live->SetDeactivateOffscreen(false);
  PlayerObject* record = GetCurrentRecord();
  if (!live || !record) {
    if (live) live->UpdateHUD();
    return;
  }

  const auto& recordFlags = record->GetFlags();
  if (const auto level = recordFlags.find("Level"); level != recordFlags.end()) {
    m_recordLevelIndex = static_cast<int>(level->second);
  }
  if (reload) {
    const StateLevelList* list = GetLevelList(m_state);
    // A record naming no level of this state leaves the current level standing.
    if (list && m_recordLevelIndex >= 0 &&
        m_recordLevelIndex < static_cast<int>(list->names.size())) {
      LoadLevel(list->names[m_recordLevelIndex], false);
    }
    live = GetPlayer();
    if (!live) return;
  }

  if (record->GetPosition() == live->GetPosition()) {
    // Saved where the level starts: the live player takes the record's state.
    live->SetDeactivateOffscreen(false);
    CopyRecord(*record, *live);
    m_playerRecords[m_currentPlayer] = std::make_unique<PlayerObject>(*live);
  } else {
    // Saved at a checkpoint: the record's copy, whole again, takes the live
    // player's place, and the view moves with it.
    const Vector2 before = live->GetPosition();
    GetObjects()->Remove(live);
    auto restored = std::make_unique<PlayerObject>(*record);
    CopyRecord(*record, *restored);
    restored->RestoreOrbs();
    restored->SetDeactivateOffscreen(false);
    live = restored.get();
    GetObjects()->AddUnsorted(restored.release());
    const Vector2 shift(live->GetPosition().X() - before.X(),
                        live->GetPosition().Y() - before.Y());
    for (SpriteCollection* list : {GetObjects(), GetLayerB(), GetLayerD()}) {
      const Vector2& offset = list->GetOffset();
      list->SetOffset(Vector2(offset.X() + shift.X(), offset.Y() + shift.Y()));
    }
    GetSceneryA()->UpdateParallax(shift);
    GetSceneryC()->UpdateParallax(shift);
  }

  live->UpdateHUD();
  ActivateNearbyObjects(Vector2(5.0f, 0.0f));
  ActivateNearbyLayerObjects(Vector2(5.0f, 0.0f));
}

PlayerObject* World::GetCurrentRecord() {
  if (m_currentPlayer < 0 || m_currentPlayer >= static_cast<int>(m_playerRecords.size())) {
    return nullptr;
  }
  return m_playerRecords[m_currentPlayer].get();
}

void World::SavePlayerState() {
  const PlayerObject* live = GetPlayer();
  if (!live) return;
  VT_ASSERT(m_currentPlayer >= 0 && m_currentPlayer < static_cast<int>(m_playerRecords.size()));
  auto record = std::make_unique<PlayerObject>(*live);
  CopyRecord(*live, *record);
  m_playerRecords[m_currentPlayer] = std::move(record);
}

void World::CopyRecord(const PlayerObject& from, PlayerObject& to) {
  to.CopyFlags(from);
  to.SetEnergy(from.GetEnergy());
  to.CopyOrbs(from);
  to.CopyAbilities(from);
  to.SetScore(from.GetScore());
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
