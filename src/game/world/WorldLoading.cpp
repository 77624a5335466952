// The game data lists: the game list "Gold.vt", the sound list "Sounds.vtse",
// the prototypes of "SpriteList.vtsl", finding and cloning prototypes, and the
// ambient track that follows rats on screen.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/level/Level.h"
#include "game/objects/PrototypeReader.h"
#include "game/sound/SoundEngine.h"
#include "game/world/GameConstants.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {
// The prototypes fill the loading bar's last 70 percent.
constexpr float kPrototypesShare = 70.0f;

// A data error at `line` of the list, naming the file.
[[noreturn]] void FailOnLine(const TokenReader& in, int line, const std::string& message) {
  in.Fail("line " + std::to_string(line) + ": " + message);
}

// A count of list entries: a whole number from 0.
int CountOnLine(TokenReader& in, const std::string& what) {
  const int count = in.Int(what);
  if (count < 0) {
    FailOnLine(in, in.Line(), MalformedTokenMessage(what, "0 or more", std::to_string(count)));
  }
  return count;
}

bool IsAmbientCreature(const std::string& name) {
  return name == "Rat" || name == "Rummager";
}
}  // namespace

int World::LoadGame(const std::string& fileName) {
  std::ifstream file(fileName);
  if (!file.is_open()) ReportDataFileProblem(fileName, "the game list cannot be opened");
  VT_ASSERT(file.is_open());
  TokenReader in(file, fileName);

  const int nextState = in.Int("the start state");
  const int stateLine = in.Line();
  m_recordLevelIndex = in.Int("the start level index");
  // Starting in state 0 (or past the last state, which leads back to 0) would read
  // this file again every frame, growing the lists without end.
  if (nextState <= STATE_LOAD_GAME || nextState >= STATE_COUNT) {
    FailOnLine(in, stateLine,
               "the start state " + std::to_string(nextState) + " is not a state 1 to 12");
  }

  for (int s = 1; s < STATE_COUNT; ++s) {
    const int levelCount = CountOnLine(in, "the level count of state " + std::to_string(s));
    StateLevelList& list = *GetLevelList(s);
    for (int k = 0; k < levelCount; ++k) {
      std::string name = in.Word("a level name of state " + std::to_string(s));
      std::string levelFile = in.Word("the file of level \"" + name + "\"");
      AddLevelEntry(name, std::move(levelFile));
      list.names.push_back(std::move(name));
    }
    if (s == nextState) {
      // The start level is read from this list on the first frame.
      if (levelCount > 0 && (m_recordLevelIndex < 0 || m_recordLevelIndex >= levelCount)) {
        FailOnLine(in, stateLine,
                   "the start level index " + std::to_string(m_recordLevelIndex) +
                       " is not one of the " + std::to_string(levelCount) +
                       " levels of state " + std::to_string(s));
      }
      list.index = m_recordLevelIndex;
    }
  }
  m_currentEntry = 0;
  return nextState;
}

bool World::AddLevelEntry(std::string name, std::string file) {
  m_levelEntries.push_back(LevelEntry{std::move(name), std::move(file), nullptr});
  return true;
}

bool World::LoadSoundEffects(const std::string& fileName) {
  VT_ASSERT(m_cseMusic);
  std::ifstream file(fileName);
  if (!file.is_open()) return false;
  TokenReader in(file, fileName);

  const int nEffectsCount = CountOnLine(in, "the sound count");
  // Music files in this list become modules, not playlist streams.
  m_cseMusic->SetLoadingPlaylist(false);
  for (int i = 0; i < nEffectsCount; ++i) {
    const std::string name = in.Word("a sound name");
    const int line = in.Line();
    const std::string soundFile = in.Word("the file of sound \"" + name + "\"");
    int kind = 0;
    int index = 0;
    const bool listedTwice = m_cseMusic->Find(name, kind, index);
    // A sound that does not load is absent: the game plays on without it. Without
    // sound output nothing loads, which the engine has said once already.
    if (!m_cseMusic->Load(soundFile, name) && m_cseMusic->IsHeard()) {
      const std::string where = "the sound \"" + name + "\" on line " + std::to_string(line) +
                                " of \"" + fileName + "\"";
      if (listedTwice) {
        in.Report("line " + std::to_string(line) + ": the sound \"" + name +
                  "\" is listed again; its first file stays");
      } else {
        std::error_code error;
        ReportDataFileProblem(soundFile, (std::filesystem::exists(soundFile, error)
                                              ? "is not a whole sound the game can play"
                                              : "cannot be opened") +
                                             std::string("; ") + where +
                                             " is left out and the game plays on without it");
      }
    }
  }
  return true;
}

bool World::LoadSprites(const std::string& fileName) {
  VT_ASSERT(m_cacPool);
  VT_ASSERT(m_cscPool);
  std::ifstream file(fileName);
  if (!file.is_open()) {
    ReportDataFileProblem(fileName, "the prototype list cannot be opened");
    return false;
  }
  TokenReader in(file, fileName);

  ReadPrototypeList(in, m_cacPool.get(), m_cscPool.get(), [](int i, int count, const std::string& name) {
    DrawLoadingScreen(
        m_loadingPercent + kPrototypesShare * static_cast<float>(i) / static_cast<float>(count),
        name + " Sprite Assets");
  });
  m_loadingPercent += kPrototypesShare;
  return true;
}

Sprite* World::FindPrototype(const std::string& name) {
  for (const LevelEntry& entry : m_levelEntries) {
    if (!entry.level) continue;
    if (Sprite* prototype = entry.level->FindPrototype(name, m_cscPool.get())) return prototype;
  }
  return nullptr;
}

Sprite* World::CloneSprite(const std::string& name) {
  VT_ASSERT(m_cscPool);
  Sprite* original = FindPrototype(name);
  VT_ASSERT(original);
  Sprite* newsprite = original->Clone();
  VT_ASSERT(newsprite);
  return newsprite;
}

void World::UpdateAmbientSound() {
  SoundEngine engine;
  if (engine.GetAmbientName().empty() || GetBoss()) return;
  if (!m_cscObjects) return;

  const Vector2& offset = m_cscObjects->GetOffset();
  bool onScreen = false;
  for (const Sprite* sprite : m_cscObjects->GetSprites()) {
    if (!IsAmbientCreature(sprite->GetName())) continue;
    const float x = sprite->GetPosition().X() - offset.X();
    const float y = sprite->GetPosition().Y() - offset.Y();
    // The ambient track plays while one of these is strictly inside the screen.
    if (x > 0.0f && x < static_cast<float>(kScreenWidth) && y > 0.0f &&
        y < static_cast<float>(kScreenHeight)) {
      onScreen = true;
      break;
    }
  }
  if (onScreen && !m_ambientOn) {
    m_ambientOn = true;
    engine.FadeInAmbient();
  } else if (!onScreen && m_ambientOn) {
    m_ambientOn = false;
    engine.FadeOutAmbient();
  }
}
