#include "DataValidator.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "AnimationStore.h"
#include "ContentRules.h"
#include "D3DInterfaceLib/D3DInterface.h"
#include "IntroRules.h"
#include "ListFiles.h"
#include "PhysicsLib/CollisionTypes.h"
#include "Problems.h"
#include "TextFileChecks.h"
#include "TextRules.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/hud/HUD.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/objects/PrototypeReader.h"
#include "game/world/GameConstants.h"
#include "game/world/World.h"

namespace validator {

namespace fs = std::filesystem;

namespace {

const char kGameList[] = "Gold.vt";
const char kSoundList[] = "Sounds.vtse";
const char kSpriteList[] = "SpriteList.vtsl";
const char kTypeTable[] = "clsntypes.ctt";
const char kScores[] = "Scores.vths";
const char kHeroTuning[] = "data/ZodirazO.ini";
const char kBound[] = "animations/VerticalBound.acd";
constexpr std::size_t kMovementValues = 7;
constexpr int kMainMenuState = STATE_MAIN_MENU;
constexpr int kGameplayState = STATE_GAMEPLAY;
constexpr int kLevelCompleteState = STATE_LEVEL_COMPLETE;

// Prototypes the hero's gun, the effects and the turn banner clone in every level.
const char* const kClonedInPlay[] = {"Shot", "Flash", "Spark", "Powerup", "PlayerNumber"};
// Prototypes cloned in play only by what a level places: placed name, cloned name.
const std::pair<const char*, const char*> kClonedByPlaced[] = {
    {"TriggerCheckPoint", "CheckPointClose"}, {"Constructor", "TigerE"}, {"TigerC", "TigerCShot"}};
// Bosses a level may place or list among its own prototypes for a trigger to spawn:
// boss or part, the prototype it builds during the fight.
const std::pair<const char*, const char*> kClonedByBoss[] = {
    {"Grindlenaut", "Rummager"}, {"GrindlenautArm", "Scrap"}, {"TigerA", "TigerABomb"}};
// The player section is the only place the hero comes from.
constexpr const char* kPlayerSection = "section 8";
// Sounds the code plays by name.
const char* const kCodeSounds[] = {"earthquake",     "HUD_complete", "powerup",   "core_collection",
                                   "core_explosion", "explosion",    "menu_load", "ZODIRAZO_SHOOT"};
const std::set<std::string> kSoundExtensions = {"wav", "mp2", "mp3", "ogg", "raw", "mod", "s3m",
                                                "xm",  "it",  "mid", "rmi", "sgt", "fsb"};

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// The game's readers work in the current folder and on shared state: the graphics
// engine their animations need and the collision table. One validation borrows them.
class Session {
 public:
  explicit Session(const fs::path& folder)
      : m_previousDir(fs::current_path()), m_previousTable(CollisionTypeTable::Rows()) {
    fs::current_path(folder);
    if (!D3DInterface::Exists()) {
      // Without a window the engine reads images but makes no textures.
      D3DInterface::Create(nullptr, kScreenWidth, kScreenHeight, true);
      m_ownEngine = true;
    }
  }
  ~Session() {
    if (m_ownEngine) D3DInterface::Destroy();
    CollisionTypeTable::Rows() = m_previousTable;
    std::error_code ignored;
    fs::current_path(m_previousDir, ignored);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

 private:
  fs::path m_previousDir;
  std::vector<std::vector<int>> m_previousTable;
  bool m_ownEngine = false;
};

// A prototype list as the game's reader built it.
struct Pool {
  AnimationCollection animations;
  SpriteCollection sprites{0};
};

class Validator {
 public:
  explicit Validator(Problems& problems) : m_problems(problems), m_store(problems) {}

  void Run() {
    CheckCollisionTable();
    LoadAnimationFolder();
    CheckFixedAnimations(m_store, m_problems);
    CheckSoundList();
    CheckSpriteList();
    CheckGameList();
    CheckTuning();
    CheckScores(kScores, m_problems);
    CheckSoundNames();
    CheckStoredNames();
    CheckScreenTexts(m_problems);
  }

 private:
  void Say(const std::string& file, const std::string& problem) { m_problems.Add(file, problem); }

  void CheckCollisionTable();
  void LoadAnimationFolder();
  void CheckSoundList();
  void CheckSpriteList();
  void CheckGameList();
  void CheckLevel(const std::string& file, bool gameplay);
  // The menu level's sprites, the pause window and the states that must list no level.
  void CheckFrontEnd(const GameList& list);
  // The intro level's letters, seal and copyright line, and the team logos it clones.
  void CheckIntro(const GameList& list);
  // A level's music and scenery, its object lines, and its bounds and player. Each
  // returns false when the game's level reader must not be given the file.
  bool CheckLevelMedia(const std::string& file, const LevelData& level);
  bool CheckLevelObjects(const std::string& file, const LevelData& level);
  bool CheckLevelLayout(const std::string& file, const LevelData& level, bool gameplay);
  // What the placed objects need of each other and of the prototype lists.
  void CheckLevelContent(const std::string& file, const LevelData& level);
  void CheckAirship(const std::string& file, const LevelData& level);
  void CheckBossTriggers(const std::string& file, const LevelData& level);
  void CheckTuning();
  void CheckSoundNames();
  void CheckStoredNames();

  // Checks a prototype list's names, keys and files; false when one of its animations
  // is one the game's reader must not be given.
  bool CheckPrototypeEntries(const std::string& file, const std::vector<PrototypeEntry>& list);
  // The checks of the prototypes the game's reader built.
  void CheckPool(const SpriteCollection& pool, const std::string& file);
  // The same checks when the game's reader could not be run: the prototypes as it would
  // have built them from the animations that load.
  void CheckEntries(const std::vector<PrototypeEntry>& list, const std::string& file);
  // The entry the game finds for a name: the global list first, then the level's.
  const PrototypeEntry* FindEntry(const std::string& name,
                                  const std::vector<PrototypeEntry>& level) const;
  // Object lines that share a fault, reported once per prototype name.
  struct Misplaced {
    int count = 0;
    std::string first;     // where the first one stands
    std::set<int> frames;  // frames asked for that the animation lacks
    const Animation* look = nullptr;
  };
  using MisplacedByName = std::map<std::string, Misplaced>;
  // An object line: its prototype exists and has the frame asked for. False when the
  // game's level reader would stop on it; the fault is added to `unknown` or `badFrame`.
  bool CheckPlaced(const std::string& section, const PlacedObject& o,
                   const std::vector<PrototypeEntry>& level, bool checkFrame,
                   MisplacedByName& unknown, MisplacedByName& badFrame);
  void CheckTileFrames(const std::string& file, const LevelData& level);

  Problems& m_problems;
  AnimationStore m_store;
  std::optional<std::set<std::string>> m_sounds;
  std::vector<PrototypeEntry> m_globalEntries;
  std::unique_ptr<Pool> m_global;  // null when the game's reader could not be run
  std::unique_ptr<HUD> m_hud;      // made for the first level with a player
  std::optional<PrototypeView> m_hero;
  std::set<std::string> m_prototypeNames;
};

void Validator::CheckCollisionTable() {
  if (!FileExists(kTypeTable)) {
    Say(kTypeTable, "missing: without the collision table nothing collides");
    return;
  }
  if (!LoadCollisionTypes(kTypeTable)) {
    Say(kTypeTable, "is not a square table: every row needs as many entries as there are rows");
    return;
  }
  const auto& rows = CollisionTypeTable::Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
      // Appended rather than "[" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the
      // inlined insert at the front.
      std::string at = "[";
      at += std::to_string(i) + "][" + std::to_string(j) + "]";
      if (rows[i][j] < kCollisionNone || rows[i][j] > kCollisionSolid) {
        Say(kTypeTable, "entry " + at + " is " + std::to_string(rows[i][j]) +
                            "; entries are 1 (none), 2 (overlap) or 3 (solid)");
      } else if (j > i && rows[i][j] != rows[j][i]) {
        Say(kTypeTable, "entry " + at + " is " + std::to_string(rows[i][j]) + " but [" +
                            std::to_string(j) + "][" + std::to_string(i) + "] is " +
                            std::to_string(rows[j][i]) +
                            ": which object comes first changes with list order, so the "
                            "table must be symmetric");
      }
    }
  }
}

void Validator::LoadAnimationFolder() {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator("animations", error)) {
    if (entry.is_regular_file() && entry.path().extension() == ".acd")
      files.push_back(entry.path().generic_string());
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) m_store.Get(file);
}

void Validator::CheckSoundList() {
  if (!FileExists(kSoundList)) {
    Say(kSoundList, "missing: the game loads its sound effects from it");
    return;
  }
  TokenScan in(kSoundList);
  std::vector<SoundEntry> list;
  if (!ParseSoundList(in, list)) {
    Say(kSoundList, in.Error());
    return;
  }
  if (in.Remaining() > 0) {
    Say(kSoundList, std::to_string(in.Remaining()) +
                        " tokens after the last sound, which the game never reads");
  }
  m_sounds.emplace();
  for (const SoundEntry& sound : list) {
    const std::string about = "sound " + Quoted(sound.name) + ": ";
    if (!m_sounds->insert(sound.name).second) {
      Say(kSoundList, about + "listed twice; the game keeps the first");
      continue;
    }
    const std::size_t dot = sound.file.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : Lower(sound.file.substr(dot + 1));
    if (!FileExists(sound.file)) {
      Say(kSoundList, about + "its file " + Quoted(sound.file) + " does not exist");
    } else if (!kSoundExtensions.count(extension)) {
      Say(kSoundList, about + "the game loads no sound of type " + Quoted(extension));
    } else if (extension == "wav") {
      char header[12] = {};
      std::ifstream(sound.file, std::ios::binary).read(header, sizeof header);
      if (std::string(header, 4) != "RIFF" || std::string(header + 8, 4) != "WAVE")
        Say(kSoundList, about + Quoted(sound.file) + " is not a WAVE file");
    }
  }
}

bool Validator::CheckPrototypeEntries(const std::string& file,
                                      const std::vector<PrototypeEntry>& list) {
  bool usable = true;
  std::set<std::string> names;
  for (const PrototypeEntry& p : list) {
    const std::string about = "prototype " + Quoted(p.name) + ": ";
    m_prototypeNames.insert(p.name);
    if (!names.insert(p.name).second) Say(file, about + "listed twice; the game finds the first");
    std::set<int> keys;
    for (std::size_t k = 0; k < p.animations.size(); ++k) {
      const int key = p.animations[k].first;
      if (key < 0) {
        Say(file, about + "state key " + std::to_string(key) + " is no object state");
      } else if (key == 0 && k > 0) {
        Say(file, about + "state key 0 after the first pair registers nothing");
      } else if (key != 0 && !keys.insert(key).second) {
        Say(file, about + "state key " + std::to_string(key) +
                      " is given twice; the later animation replaces the earlier");
      }
      if (!m_store.Get(p.animations[k].second)) usable = false;
    }
  }
  return usable;
}

void Validator::CheckPool(const SpriteCollection& pool, const std::string& file) {
  for (const Sprite* sprite : pool.GetSprites()) {
    // The prototype reader puts only GameObjects in its pools.
    const PrototypeView view = PrototypeView::Of(*static_cast<const GameObject*>(sprite), file);
    CheckPrototype(view, m_problems);
    if (file == kSpriteList && view.name == World::kPlayerName && !m_hero) m_hero = view;
  }
}

void Validator::CheckEntries(const std::vector<PrototypeEntry>& list, const std::string& file) {
  for (const PrototypeEntry& entry : list) {
    PrototypeView view;
    view.name = entry.name;
    view.list = file;
    view.initial = m_store.Get(entry.animations.front().second);
    if (!view.initial) continue;
    // The first animation shows in state 1 unless a pair names state 1; key 0 adds nothing.
    view.states[1] = view.initial;
    for (const auto& [key, animation] : entry.animations) {
      const Animation* loaded = m_store.Get(animation);
      if (key != 0 && loaded) view.states[key] = loaded;
    }
    CheckPrototype(view, m_problems);
    if (file == kSpriteList && view.name == World::kPlayerName && !m_hero) m_hero = view;
  }
}

void Validator::CheckSpriteList() {
  if (!FileExists(kSpriteList)) {
    Say(kSpriteList, "missing: the game loads its prototypes from it");
    return;
  }
  TokenScan in(kSpriteList);
  if (!ParsePrototypeList(in, m_globalEntries)) {
    Say(kSpriteList, in.Error());
    m_globalEntries.clear();
    return;
  }
  if (in.Remaining() > 0) {
    Say(kSpriteList, std::to_string(in.Remaining()) +
                         " tokens after the last prototype, which the game never reads");
  }
  if (!FindEntry(World::kPlayerName, {})) {
    Say(kSpriteList, "the player's prototype " + Quoted(World::kPlayerName) + " is missing");
  }
  if (!CheckPrototypeEntries(kSpriteList, m_globalEntries)) {
    CheckEntries(m_globalEntries, kSpriteList);
    return;
  }

  m_global = std::make_unique<Pool>();
  std::ifstream stream(kSpriteList);
  TokenReader reader(stream, kSpriteList);
  ReadPrototypeList(reader, &m_global->animations, &m_global->sprites);
  CheckPool(m_global->sprites, kSpriteList);
}

void Validator::CheckGameList() {
  if (!FileExists(kGameList)) {
    Say(kGameList, "missing: the game starts by reading it");
    return;
  }
  TokenScan in(kGameList);
  GameList list;
  if (!ParseGameList(in, list)) {
    Say(kGameList, in.Error());
    return;
  }
  if (in.Remaining() > 0) {
    Say(kGameList,
        std::to_string(in.Remaining()) + " tokens after state 12, which the game never reads");
  }
  if (list.states[kGameplayState].empty()) Say(kGameList, "state 8 (gameplay) lists no level");
  CheckFrontEnd(list);
  if (!list.states[kLevelCompleteState].empty()) {
    Say(kGameList,
        "state 10 (level complete) must list no level: entering it would replace "
        "the level just completed");
  }

  // The game's own reader gives the entries; the parse above made sure it will not stop.
  std::vector<std::pair<std::string, std::string>> entries;
  std::set<std::string> gameplay;
  if (World::GetReferenceCount() == 0) {
    World world;
    World::LoadGame(kGameList);
    for (const LevelEntry& entry : World::GetLevelEntries())
      entries.emplace_back(entry.name, entry.file);
    for (const std::string& name : World::GetLevelList(kGameplayState)->names)
      gameplay.insert(name);
  } else {
    Say(kGameList, "not read with the game's reader: a game is running in this program");
    return;
  }

  std::map<std::string, std::string> fileOf;  // the first entry of each name wins
  std::vector<std::string> order;
  for (const auto& [name, file] : entries) {
    const auto [first, fresh] = fileOf.emplace(name, file);
    if (fresh) {
      order.push_back(name);
    } else if (first->second != file) {
      Say(kGameList, "level " + Quoted(name) + " is listed with the files " +
                         Quoted(first->second) + " and " + Quoted(file) +
                         "; the game always loads the first");
    }
  }
  for (const std::string& name : order) {
    const std::string& file = fileOf[name];
    if (file.find_first_of("/\\") != std::string::npos) {
      Say(kGameList, "level file " + Quoted(file) +
                         " is in a sub-folder; its tutorial script "
                         "would be looked for as \"data/tut" +
                         file + "\"");
    }
    if (!FileExists(file)) {
      Say(kGameList, "the file " + Quoted(file) + " of level " + Quoted(name) + " does not exist");
      continue;
    }
    CheckLevel(file, gameplay.count(name) != 0);
  }
}

const PrototypeEntry* Validator::FindEntry(const std::string& name,
                                           const std::vector<PrototypeEntry>& level) const {
  for (const auto* list : {&m_globalEntries, &level}) {
    for (const PrototypeEntry& entry : *list)
      if (entry.name == name) return &entry;
  }
  return nullptr;
}

bool Validator::CheckPlaced(const std::string& section, const PlacedObject& o,
                            const std::vector<PrototypeEntry>& level, bool checkFrame,
                            MisplacedByName& unknown, MisplacedByName& badFrame) {
  auto note = [&](MisplacedByName& faults) -> Misplaced& {
    Misplaced& fault = faults[o.name];
    if (fault.count++ == 0) {
      fault.first = section + " at (" + Number(o.x) + ", " + Number(o.y) + ")";
    }
    return fault;
  };
  const PrototypeEntry* entry = FindEntry(o.name, level);
  if (!entry) {
    note(unknown);
    return false;
  }
  const Animation* look = m_store.Get(entry->animations.front().second);
  if (!look) return false;
  if (checkFrame && (o.frame < 0 || o.frame >= look->GetFrameCount())) {
    Misplaced& fault = note(badFrame);
    fault.frames.insert(o.frame);
    fault.look = look;
    return false;
  }
  return true;
}

// Objects of one kind placed at several frames are a tile set: each frame placed must hold,
// since plain level objects get no frame-change handling and would play on.
void Validator::CheckTileFrames(const std::string& file, const LevelData& level) {
  std::map<std::string, std::set<int>> frames;
  for (const auto* layer : {&level.layerB, &level.main, &level.layerD}) {
    for (const PlacedObject& o : *layer) frames[o.name].insert(o.frame);
  }
  for (const auto& [name, used] : frames) {
    const PrototypeEntry* entry = FindEntry(name, level.prototypes);
    const Animation* look = entry ? m_store.Get(entry->animations.front().second) : nullptr;
    if (!look || used.size() < 2) continue;
    for (int frame : used) {
      if (frame < look->GetFrameCount() && !IsHeld(*look, frame)) {
        Say(file, Quoted(name) + " is placed at several frames, but frame " +
                      std::to_string(frame) + " of " + Quoted(look->GetName()) +
                      " is not held: it would play on to other frames");
        break;
      }
    }
  }
}

void Validator::CheckLevel(const std::string& file, bool gameplay) {
  TokenScan in(file);
  LevelData level;
  if (!ParseLevel(in, level)) {
    Say(file, in.Error());
    return;
  }
  if (in.Remaining() > 0) {
    Say(file, std::to_string(in.Remaining()) +
                  " tokens after the ten sections, which the game never reads");
  }
  bool usable = CheckPrototypeEntries(file, level.prototypes);
  for (const PrototypeEntry& p : level.prototypes) {
    if (MustBeGlobal(p.name)) {
      Say(file, "prototype " + Quoted(p.name) + " must be in " + kSpriteList +
                    ": the code looks for it there only");
    } else if (FindEntry(p.name, {}) != nullptr) {
      Say(file, "prototype " + Quoted(p.name) + " is also in " + kSpriteList +
                    "; the game always finds that one, so this one is never used");
    }
  }
  usable &= CheckLevelMedia(file, level);
  usable &= CheckLevelObjects(file, level);
  usable &= CheckLevelLayout(file, level, gameplay);
  CheckLevelContent(file, level);
  usable &= CheckTutorialScript(file, level, m_problems);

  // Only a file the checks above found readable goes to the game's reader, which stops
  // the program on what they report.
  if (!usable || !m_global) {
    CheckEntries(level.prototypes, file);
    return;
  }
  // The game's hero is built on the HUD, so a level with a player needs one.
  if (level.hasPlayer && !HUD::GetInstance()) {
    std::string error;
    m_hud = HUD::Create(error);
    if (!m_hud) {
      Say(file, "not read with the game's reader: its player needs the HUD, and " + error);
      return;
    }
  }
  Level loaded;
  loaded.Load(file, &m_global->sprites);
  CheckPool(*loaded.GetPrototypePool(), file);
}

bool Validator::CheckLevelMedia(const std::string& file, const LevelData& level) {
  if (level.ambient != "0" && !FileExists(level.ambient)) {
    Say(file, "the ambient track " + Quoted(level.ambient) + " does not exist");
  }
  for (const auto& [track, mode] : level.tracks) {
    if (!FileExists(track)) Say(file, "the music track " + Quoted(track) + " does not exist");
  }
  bool usable = true;
  for (const auto* scenery : {&level.sceneryA, &level.sceneryC}) {
    for (const std::string& picture : *scenery) {
      const Animation* a = m_store.Get(picture);
      if (!a) {
        usable = false;
        continue;
      }
      for (const AnimationFrame& frame : a->GetFrames()) {
        if (frame.GetShape().GetPolygonCount() > 0) {
          Say(file, "scenery " + Quoted(picture) + " carries polygons; scenery must not collide");
          break;
        }
      }
    }
  }
  return usable;
}

bool Validator::CheckLevelObjects(const std::string& file, const LevelData& level) {
  bool usable = true;
  MisplacedByName unknown, badFrame;
  auto placed = [&](const std::vector<PlacedObject>& section, const char* what, bool frames) {
    for (const PlacedObject& o : section) {
      if (o.name == World::kPlayerName) {
        // The game takes only the player section's object for the hero.
        Say(file, Quoted(World::kPlayerName) + " placed as " + what +
                      "; only the player section may place the hero");
      }
      if (o.name == "Powerup" && (o.frame < 2 || o.frame > 4)) {
        // A pickup's frame is the orb colour it gives the hero.
        Say(file, "\"Powerup\" placed as " + std::string(what) + " at frame " +
                      std::to_string(o.frame) +
                      ": its frame is the orb colour it gives and must be 2 (red), 3 (green) "
                      "or 4 (blue); the hero would get a plain orb");
      }
      if (o.name == "Tutorial" && &section == &level.triggers) {
        if (!FindEntry("TutorialTrigger", {})) {
          Say(file, "a \"Tutorial\" trigger needs the prototype \"TutorialTrigger\" in " +
                        std::string(kSpriteList));
          usable = false;
        }
      } else if (!CheckPlaced(what, o, level.prototypes, frames, unknown, badFrame)) {
        usable = false;
      }
    }
  };
  placed(level.layerB, "layer object", true);
  placed(level.layerD, "layer object", true);
  placed(level.main, "object", true);
  placed(level.enemies, "enemy", false);
  placed(level.triggers, "trigger", true);
  for (const auto& [prototype, fault] : unknown) {
    Say(file, Quoted(prototype) + ": no prototype has this name (neither " + kSpriteList +
                  " nor the level's first section lists it); placed " +
                  std::to_string(fault.count) + " time(s), first as " + fault.first);
  }
  for (const auto& [prototype, fault] : badFrame) {
    std::string frames;
    for (int f : fault.frames) frames += (frames.empty() ? "" : ", ") + std::to_string(f);
    Say(file, Quoted(prototype) + " is placed at frame(s) " + frames + ", but its animation " +
                  Quoted(fault.look->GetName()) + " has " +
                  std::to_string(fault.look->GetFrameCount()) + "; " + std::to_string(fault.count) +
                  " object(s), first as " + fault.first);
  }
  CheckTileFrames(file, level);
  return usable;
}

bool Validator::CheckLevelLayout(const std::string& file, const LevelData& level, bool gameplay) {
  bool usable = true;
  const auto& b = level.bounds;
  const bool bounded = std::any_of(b.begin(), b.end(), [](int v) { return v != -1; });
  // The level reader opens the bound wall for every level, bounded or not.
  if (!m_store.Get(kBound)) usable = false;
  const PlacedObject& player = level.player;
  if (level.hasPlayer) {
    if (player.name != World::kPlayerName) {
      Say(file,
          "the player is " + Quoted(player.name) + "; it must be " + Quoted(World::kPlayerName));
    }
    if (!FindEntry(player.name, {})) {
      Say(file, "the player " + Quoted(player.name) + " is not in " + kSpriteList);
      usable = false;
    }
  }
  if (!gameplay) {
    if (bounded) Say(file, "a front-end level needs bounds -1 -1 -1 -1, or bound walls show");
    if (level.hasPlayer) Say(file, "a front-end level has no player (\"0\")");
    return usable;
  }

  for (const char* cloned : kClonedInPlay) {
    if (!FindEntry(cloned, level.prototypes)) {
      Say(file, "no prototype " + Quoted(cloned) + " in " + kSpriteList +
                    " or this level, but the code clones it during play");
    }
  }
  if (!level.hasPlayer) Say(file, "a gameplay level needs the player (section 8)");
  if (b[3] == -1) {
    Say(file,
        "a gameplay level needs a bottom bound: with -1 every enemy dies at once and the "
        "player counts as fallen");
    return usable;
  }
  const float bottom = static_cast<float>(b[3]);
  if (level.hasPlayer && !(player.y < bottom)) {
    Say(file, "the player starts at y " + Number(player.y) + ", below the bottom bound");
  }
  if (level.hasPlayer && ((b[0] != -1 && player.x < static_cast<float>(b[0])) ||
                          (b[2] != -1 && player.x > static_cast<float>(b[2])))) {
    Say(file, "the player starts at x " + Number(player.x) + ", outside the x bounds");
  }
  for (const PlacedObject& e : level.enemies) {
    if (e.y > bottom) {
      Say(file, "enemy " + Quoted(e.name) + " at y " + Number(e.y) +
                    " is below the bottom bound and dies at once");
    }
  }
  return usable;
}

void Validator::CheckLevelContent(const std::string& file, const LevelData& level) {
  const std::pair<const std::vector<PlacedObject>*, const char*> sections[] = {
      {&level.layerB, "section 4"},
      {&level.layerD, "section 6"},
      {&level.main, "section 7"},
      {&level.enemies, "section 9"},
      {&level.triggers, "section 10"}};
  std::set<std::string> placed, inMainList;
  for (const auto& [objects, section] : sections) {
    const bool main = objects == &level.main || objects == &level.enemies ||
                      objects == &level.triggers;
    for (const PlacedObject& o : *objects) {
      placed.insert(o.name);
      if (main) inMainList.insert(o.name);
      // Only the player section builds the hero; another object of that name would be
      // taken for it by anything that looks the hero up by name.
      if (o.name == World::kPlayerName) {
        Say(file, Quoted(o.name) + " is placed in " + section + " at (" + Number(o.x) + ", " +
                      Number(o.y) + "); the hero comes only from " + kPlayerSection);
      }
    }
  }
  for (const auto& [name, cloned] : kClonedByPlaced) {
    if (placed.count(name) && !FindEntry(cloned, level.prototypes)) {
      Say(file, "places " + Quoted(name) + " but finds no prototype " + Quoted(cloned) + " in " +
                    kSpriteList + " or this level, which it clones during play");
    }
  }
  for (const auto& [name, cloned] : kClonedByBoss) {
    const std::string boss = name;
    const bool listed = std::any_of(level.prototypes.begin(), level.prototypes.end(),
                                    [&](const PrototypeEntry& p) { return p.name == boss; });
    if ((placed.count(name) || listed) && !FindEntry(cloned, level.prototypes)) {
      Say(file, "has " + Quoted(name) + " but finds no prototype " + Quoted(cloned) + " in " +
                    kSpriteList + " or this level, which it builds during the fight");
    }
  }
  // Collecting a core piece moves the glow beside it; it must be in the main list.
  if (inMainList.count("CorePiece") && !inMainList.count("CoreGlow")) {
    Say(file, "places a \"CorePiece\" but no \"CoreGlow\" among the objects, enemies and "
              "triggers; collecting the piece moves its glow");
  }
  CheckAirship(file, level);
  CheckBossTriggers(file, level);
}

// The airship fight breaks one shield per crate its claw drops, and builds or
// clones the boss's parts by name.
void Validator::CheckAirship(const std::string& file, const LevelData& level) {
  const auto count = [](const std::vector<PlacedObject>& objects, const char* name) {
    return std::count_if(objects.begin(), objects.end(),
                         [name](const PlacedObject& o) { return o.name == name; });
  };
  if (count(level.triggers, "KajeTrigger") + count(level.main, "KajeTrigger") +
          count(level.enemies, "KajeTrigger") == 0) {
    return;
  }
  if (count(level.main, "AirshipCrate") < 3) {
    Say(file, "places a \"KajeTrigger\" but fewer than 3 \"AirshipCrate\" in section 7; "
              "the shield stage needs one crate per shield");
  }
  if (count(level.enemies, "AirshipClaw") < 3) {
    Say(file, "places a \"KajeTrigger\" but fewer than 3 \"AirshipClaw\" in section 9; "
              "each crate hangs from one");
  }
  for (const char* name : {"Kaje", "KajeShield", "KajeRocket", "KajeEnergyShot", "TigerE"}) {
    if (!FindEntry(name, level.prototypes)) {
      Say(file, "places a \"KajeTrigger\" but finds no prototype " + Quoted(name) + " in " +
                    kSpriteList + " or this level, which the fight builds");
    }
  }
}

// The junkyard and factory triggers spawn their boss, its parts and the reward by name;
// the junkyard's explosion changes four ground tiles found by their exact place.
void Validator::CheckBossTriggers(const std::string& file, const LevelData& level) {
  const auto placed = [](const std::vector<PlacedObject>& objects, const char* name) {
    return std::any_of(objects.begin(), objects.end(),
                       [name](const PlacedObject& o) { return o.name == name; });
  };
  const struct {
    const char* trigger;
    std::vector<const char*> spawns;
  } kTriggers[] = {
      {"GrindlenautTrigger",
       {"Grindlenaut", "GrindlenautArm", "GrindlenautDrill", "GrindlenautBurrow", "Scrap",
        "Rummager", "JunkyardGround", "JunkyardTile0", "CoreGlow", "CorePiece"}},
      {"TigerATrigger", {"TigerA", "TigerABomb", "CoreGlow", "CorePiece"}},
  };
  for (const auto& t : kTriggers) {
    if (!placed(level.triggers, t.trigger)) continue;
    if (level.bounds[3] == -1) {
      Say(file, "places a " + Quoted(t.trigger) + " but leaves the bottom bound open; "
                "every enemy below it dies at once");
    }
    for (const char* name : t.spawns) {
      if (!FindEntry(name, level.prototypes)) {
        Say(file, "places a " + Quoted(t.trigger) + " but finds no prototype " + Quoted(name) +
                      " in " + kSpriteList + " or this level, which the fight builds");
      }
    }
  }
  if (!placed(level.triggers, "GrindlenautTrigger")) return;
  for (const auto& spot : {std::pair{16128, 768}, {16128, 1024}, {16384, 768}, {16384, 1024}}) {
    const int x = spot.first;
    const int y = spot.second;
    const bool there = std::any_of(level.main.begin(), level.main.end(), [&](const PlacedObject& o) {
      return o.name == "JunkyardGround" && o.x == static_cast<float>(x) && o.y == static_cast<float>(y);
    });
    if (!there) {
      Say(file, "places a \"GrindlenautTrigger\" but no \"JunkyardGround\" in section 7 at exactly (" +
                    std::to_string(x) + ", " + std::to_string(y) + "), which the explosion opens");
    }
  }
}

namespace {

// What the menu screens move, with how many of each and the held frames each needs.
struct MenuSprite {
  const char* name;
  std::size_t count;
  int frames;
};
const MenuSprite kMenuSprites[] = {
    {"MenuSword", 1, 2},       {"MenuOptions", 3, 6},     {"OptionsOption", 3, 10},
    {"OptionsItems", 1, 7},    {"SoundBar", 1, 1},        {"OptionGunTop", 1, 1},
    {"OptionGunMiddle", 1, 1}, {"OptionGunBottom", 1, 1},
};
// Screens that draw global-pool animations no level places: the screen, the animation.
const std::pair<const char*, const char*> kScreenAnimations[] = {
    {"the pause menu", "MainMenuWindow"}, {"the pause menu", "MainMenuAbortLevel"},
    {"the pause menu", "MainMenuResumePlay"}, {"level complete", "LevelComplete"},
    {"game over", "Crack"}, {"game over", "GameOverWindow"},
    {"game over", "GameOverContinue"}, {"game over", "GameOverQuit"}};
// States whose screens are text or pool animations only: a level there would replace the
// one in play.
const int kStatesWithoutLevels[] = {4, 5, 7, 9, 10, 11, 12};

}  // namespace

void Validator::CheckFrontEnd(const GameList& list) {
  for (int state : kStatesWithoutLevels) {
    if (!list.states[static_cast<std::size_t>(state)].empty()) {
      Say(kGameList, "state " + std::to_string(state) + " must list no level");
    }
  }
  auto noPolygons = [&](const std::string& file, const Animation& a) {
    for (const AnimationFrame& frame : a.GetFrames()) {
      if (frame.GetShape().GetPolygonCount() > 0) {
        Say(file, Quoted(a.GetName()) + " carries polygons; front-end sprites must not collide");
        return;
      }
    }
  };
  for (const auto& [screen, name] : kScreenAnimations) {
    const PrototypeEntry* entry = FindEntry(name, {});
    const Animation* a = entry ? m_store.Get(entry->animations.front().second) : nullptr;
    if (!a || a->GetName() != name) {
      Say(kSpriteList, std::string(screen) + " needs the animation " + Quoted(name) +
                           " in the global pool (a prototype of " + kSpriteList + ")");
    } else {
      noPolygons(entry->animations.front().second, *a);
    }
  }
  CheckIntro(list);
  const auto& menu = list.states[kMainMenuState];
  if (menu.empty()) return;  // a data set without the menu screens
  const std::string& file = menu.front().second;
  if (!FileExists(file)) return;  // reported with the level entries
  TokenScan in(file);
  LevelData level;
  if (!ParseLevel(in, level)) return;  // reported with the level entries
  for (const MenuSprite& sprite : kMenuSprites) {
    const std::size_t placed = static_cast<std::size_t>(
        std::count_if(level.main.begin(), level.main.end(),
                      [&](const PlacedObject& o) { return o.name == sprite.name; }));
    if (placed != sprite.count) {
      Say(file, "the menu screens need " + std::to_string(sprite.count) + " " +
                    Quoted(sprite.name) + " in section 7, found " + std::to_string(placed));
    }
    const PrototypeEntry* entry = FindEntry(sprite.name, level.prototypes);
    const Animation* a = entry ? m_store.Get(entry->animations.front().second) : nullptr;
    if (!a) continue;
    noPolygons(entry->animations.front().second, *a);
    bool held = a->GetFrameCount() >= sprite.frames;
    for (int f = 0; held && f < sprite.frames; ++f) held = IsHeld(*a, f);
    if (!held) {
      Say(file, Quoted(sprite.name) + " needs " + std::to_string(sprite.frames) +
                    " held frames in " + Quoted(a->GetName()));
    }
  }
}

void Validator::CheckIntro(const GameList& list) {
  const auto& intro = list.states[STATE_INTRO];
  if (intro.empty()) return;  // a data set that opens elsewhere
  const std::string& file = intro.front().second;
  if (!FileExists(file)) return;  // reported with the level entries
  TokenScan in(file);
  LevelData level;
  if (!ParseLevel(in, level)) return;  // reported with the level entries
  CheckIntroLevel(
      file, level, [&](const std::string& name) { return FindEntry(name, level.prototypes) != nullptr; },
      [&](const std::string& name) -> const Animation* {
        const PrototypeEntry* entry = FindEntry(name, level.prototypes);
        return entry ? m_store.Get(entry->animations.front().second) : nullptr;
      },
      m_problems);
}

void Validator::CheckTuning() {
  const std::vector<float> values = CheckHeroTuning(kHeroTuning, m_problems);
  if (m_hero && values.size() >= 21) {
    CheckSwingsOutlastComboWindow(*m_hero, values[20], kHeroTuning, m_problems);
  }
  // Every other prototype reads its movement block from its own file when there is one.
  for (const std::string& name : m_prototypeNames) {
    const std::string file = "data/" + name + ".ini";
    if (name != World::kPlayerName && FileExists(file))
      ReadProperties(file, kMovementValues, m_problems);
  }
}

void Validator::CheckSoundNames() {
  if (!m_sounds) return;
  for (const char* name : kCodeSounds) {
    if (!m_sounds->count(name)) {
      Say(kSoundList, "sound " + Quoted(name) + " is missing; the game plays it by name");
    }
  }
  for (const auto& [path, animation] : m_store.Loaded()) {
    std::set<std::string> reported;
    for (int f = 0; f < animation->GetFrameCount(); ++f) {
      const std::string& sound = animation->GetFrames()[static_cast<std::size_t>(f)].GetSoundName();
      if (!sound.empty() && !m_sounds->count(sound) && reported.insert(sound).second) {
        Say(path, "frame " + std::to_string(f) + " plays " + Quoted(sound) + ", which " +
                      kSoundList + " does not list");
      }
    }
  }
}

// Pools find animations by the name stored in the file, and the image is named after it.
void Validator::CheckStoredNames() {
  std::map<std::string, std::string> fileOf;
  for (const auto& [path, animation] : m_store.Loaded()) {
    const auto [first, fresh] = fileOf.emplace(animation->GetName(), path);
    if (!fresh) {
      Say(path, "stores the name " + Quoted(animation->GetName()) + " as " + first->second +
                    " does: pools find only the first loaded, and both use one image");
    }
  }
}

}  // namespace

std::vector<std::string> ValidateGameData(const fs::path& folder) {
  Problems problems;
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    problems.Add(folder.string(), "is not a folder");
    return problems.Take();
  }
  Session session(folder);
  Validator(problems).Run();
  return problems.Take();
}

}  // namespace validator
