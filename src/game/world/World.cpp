// World handles, start-up loading and the per-frame game-state machine.
#include "game/world/World.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "PhysicsLib/CollisionTypes.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/level/Level.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/tutorial/Tutorial.h"
#include "platform/Assert.h"
#include "platform/Clock.h"

std::unique_ptr<HUD> World::m_hud;
std::unique_ptr<Tutorial> World::m_tutorial;

namespace {
// The seven steps fill the loading bar's first 30 percent; the prototypes the rest.
constexpr float kStepsShare = 30.0f;
const char kSoundList[] = "Sounds.vtse";
const char kCollisionTable[] = "clsntypes.ctt";
const char kPrototypeList[] = "SpriteList.vtsl";

void PlayFrameSound(const std::string& sound) {
  SoundEngine().Play(sound);
}
}  // namespace

// Loading steps in their fixed order. Each draws one loading-screen frame before
// its work, at percent = loading percent + 30 * k / 7 for step k = 1..7.
const World::InitStep World::kInitSteps[7] = {
    {"Tutorial Template", &World::CreateTutorial},
    {"Sound Engine", &World::CreateSoundEngine},
    {"Sound Effects", &World::LoadSoundList},
    {"Input Handling", &World::CreateInput},
    {"HUD Art Assets", &World::CreateHUD},
    {"Physics Engine", &World::LoadPhysics},
    {"World Objects", &World::CreateObjectLists},
};

// The handler of each state; a null entry leaves the game in that state (it is
// still drawn). State 2 needs none: it always passes on to the main menu.
StateHandler World::m_stateHandlers[STATE_COUNT] = {
    &World::LoadGameState,  // 0, LoadGame("Gold.vt")
    &World::IntroScreens,   // 1
    nullptr,                // 2, intro done
    &World::MainMenu,       // 3
    &World::OptionsMenu,    // 4
    &World::Story,          // 5
    &World::Credits,        // 6
    &World::HighScores,     // 7
    &World::PlayLevel,      // 8
    &World::PauseMenu,      // 9
    &World::LevelComplete,  // 10
    &World::GameOver,       // 11
    &World::NameEntry,      // 12
};

World::World() {
  if (m_refCount++ == 0) {
    m_clockFrequency = platform::QueryFrequency();
    m_playerRecords.push_back(nullptr);
    // Sprites sit below the sound engine; the game lends them its voice.
    Sprite::SetFrameSoundPlayer(&PlayFrameSound);
  }
}

World::~World() {
  if (--m_refCount == 0) ReleaseAll();
}

std::unique_ptr<SoundEngine> World::m_cseMusic;
std::unique_ptr<Input> World::m_input;
std::unique_ptr<AnimationCollection> World::m_cacPool;
std::unique_ptr<SpriteCollection> World::m_cscPool;
std::unique_ptr<SpriteCollection> World::m_cscObjects;
std::unique_ptr<SpriteCollection> World::m_cscDormantObjects;
std::unique_ptr<SpriteCollection> World::m_cscLayerB;
std::unique_ptr<SpriteCollection> World::m_cscDormantLayerB;
std::unique_ptr<SpriteCollection> World::m_cscLayerD;
std::unique_ptr<SpriteCollection> World::m_cscDormantLayerD;
std::unique_ptr<SceneryCollection> World::m_cscSceneryA;
std::unique_ptr<SceneryCollection> World::m_cscSceneryC;

// The one place the World's objects are released, in this order.
void World::ReleaseAll() {
  m_cseMusic.reset();  // the last sound handle closes the output
  m_input.reset();
  m_hud.reset();
  m_pauseMenu.reset();  // its objects draw with the pool's animations
  m_cacPool.reset();
  m_cscPool.reset();
  DeleteObjectLists();
  m_cscObjects.reset();
  m_tutorial.reset();
  // Records go from the back.
  while (!m_playerRecords.empty()) m_playerRecords.pop_back();
  DeleteLevels();
  m_levelEntries.clear();

  // A later first handle starts from the same state as the first one did.
  for (StateLevelList& list : m_levelLists) list = StateLevelList{};
  m_state = STATE_LOAD_GAME;
  m_requestedState = STATE_LOAD_GAME;
  m_frameCounter = 0;
  m_currentPlayer = 0;
  m_gameMode = 0;
  m_newGame = true;
  m_levelJustLoaded = false;
  m_gameCompleted = false;
  m_earthquake = false;
  m_earthquakeCounter = 0;
  m_textQueue.clear();
  m_currentEntry = -1;
  m_loadingPercent = 0.0f;
  m_recordLevelIndex = 0;
  m_boss = NO_OBJECT;
  m_ambientOn = false;
  Sprite::SetFrameSoundPlayer(nullptr);
  m_cameraLock = 0;
  m_focusQueue.clear();
  m_travelObjects = Vector2(0.0f, 0.0f);
  m_travelLayers = Vector2(128.0f, 128.0f);
  m_playerNumber = NO_OBJECT;
  m_musicVolume = 100;
  m_sfxVolume = 100;
  m_resumingPlay = false;
}

void World::DeleteObjectLists() {
  m_cscDormantObjects.reset();
  m_cscLayerB.reset();
  m_cscDormantLayerB.reset();
  m_cscLayerD.reset();
  m_cscDormantLayerD.reset();
  m_cscSceneryA.reset();
  m_cscSceneryC.reset();
}

bool World::Init(platform::Window* window) {
  m_window = window;
  // A second Init starts afresh: the old objects go as the new ones arrive.
  m_cacPool = std::make_unique<AnimationCollection>();
  m_cscObjects = std::make_unique<SpriteCollection>(PASS_ALL);
  if (!CreateLoadingScreen()) return false;

  m_cseMusic.reset();
  m_input.reset();
  m_hud.reset();
  m_tutorial.reset();

  for (int k = 1; k <= 7; ++k) {
    const InitStep& step = kInitSteps[k - 1];
    DrawLoadingScreen(m_loadingPercent + kStepsShare * static_cast<float>(k) / 7.0f, step.caption);
    if (step.work && !step.work()) return false;
  }
  m_loadingPercent += kStepsShare;
  if (!LoadSprites(kPrototypeList)) return false;
  // The loading screen's sprites are done with.
  m_cscObjects->Clear();
  return true;
}

bool World::CreateTutorial() {
  m_tutorial = std::make_unique<Tutorial>();
  return true;
}

bool World::CreateSoundEngine() {
  m_cseMusic = std::make_unique<SoundEngine>();
  return m_cseMusic->Init(m_window);
}

bool World::LoadSoundList() {
  const bool bLoadSoundEffects = LoadSoundEffects(kSoundList);
  if (!bLoadSoundEffects) ReportDataFileProblem(kSoundList, "the sound list cannot be opened");
  VT_ASSERT(bLoadSoundEffects);
  return true;
}

bool World::CreateHUD() {
  std::string error;
  m_hud = HUD::Create(error);
  if (!m_hud) std::fprintf(stderr, "%s\n", error.c_str());
  if (m_hud) HUD::PrepareTexts();
  return m_hud != nullptr;
}

bool World::CreateInput() {
  m_input = std::make_unique<Input>(m_window);
  return true;
}

bool World::LoadPhysics() {
  // Without a table nothing collides, but play goes on.
  if (!LoadCollisionTypes(kCollisionTable)) {
    std::error_code error;
    ReportDataFileProblem(kCollisionTable,
                          std::filesystem::exists(kCollisionTable, error)
                              ? "holds no square table of collision types; nothing will collide"
                              : "cannot be opened; nothing will collide");
  }
  return true;
}

bool World::CreateObjectLists() {
  m_cscPool.reset();
  DeleteObjectLists();
  // The prototypes are never run or drawn.
  m_cscPool = std::make_unique<SpriteCollection>(0);
  m_cscDormantObjects = std::make_unique<SpriteCollection>(PASS_ALL);
  m_cscLayerB = std::make_unique<SpriteCollection>(PASS_ALL);
  m_cscDormantLayerB = std::make_unique<SpriteCollection>(PASS_ALL);
  m_cscLayerD = std::make_unique<SpriteCollection>(PASS_ALL);
  m_cscDormantLayerD = std::make_unique<SpriteCollection>(PASS_ALL);
  m_cscSceneryA = std::make_unique<SceneryCollection>();
  m_cscSceneryC = std::make_unique<SceneryCollection>();
  return true;
}

void World::Update() {
  UpdateEarthquake();

  if (m_inactive) {
    // No input and no handler while the window is in the background.
    DrawInactive();
  } else {
    const int oldState = m_state;
    const int oldEntry = m_currentEntry;
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    input->Update();
    m_state = RunState(m_state);
    ApplyStateChange(oldState, oldEntry);
  }

  DrawFade();
  DrawQueuedTexts();
  UpdateAmbientSound();
}

int World::RunState(int state) {
  if (state < 0 || state >= STATE_COUNT) {
    // Outside the table nothing runs: back to loading the game.
    return state > 0 ? STATE_LOAD_GAME : STATE_COUNT;
  }

  int next = state;
  if (state == STATE_INTRO_DONE) {
    next = STATE_MAIN_MENU;
  } else {
    if (state == STATE_MAIN_MENU && m_cscObjects) m_cscObjects->SetMask(PASS_ALL);
    if (const StateHandler handler = m_stateHandlers[state]) next = handler(&m_frameCounter);
    if (state == STATE_GAME_OVER && next == STATE_NAME_ENTRY) {
      // The game ends here: the score on show, and every point still on its way,
      // becomes the record's.
      if (m_hud) m_hud->RollInEverything();
      AddScoreToRecord();
      if (m_hud) m_hud->Clear();
    }
  }

  // A result past the table restarts at once; a negative one waits a frame in 13.
  if (next >= STATE_COUNT) return STATE_LOAD_GAME;
  if (next < 0) return STATE_COUNT;
  return next;
}

int World::FirstCounterValue(int oldState, int newState) {
  const bool severalPlayers = m_playerRecords.size() > 1;
  if (oldState == STATE_OPTIONS || oldState == STATE_INTRO ||
      (oldState == STATE_GAME_OVER && severalPlayers && newState != STATE_NAME_ENTRY)) {
    return -1;
  }
  if (oldState == STATE_STORY || (oldState == STATE_CREDITS && newState != STATE_NAME_ENTRY)) {
    return -31;
  }
  return 0;
}

void World::ApplyStateChange(int oldState, int oldEntry) {
  const bool entryChanged = m_currentEntry != oldEntry;
  StateLevelList* list = GetLevelList(m_state);

  if (m_state != oldState) {
    m_frameCounter = FirstCounterValue(oldState, m_state);
    if (oldState == STATE_MAIN_MENU && m_state == STATE_GAMEPLAY) m_newGame = true;
  } else if (entryChanged && list) {
    // Same state, new entry: the state moves on to its next level.
    list->Advance();
  }

  if (m_state == STATE_GAMEPLAY && oldState == STATE_GAME_OVER) {
    // Continue after game over.
    RestorePlayer(true);
  } else if (entryChanged && list && !list->names.empty() &&
             (m_state != STATE_GAMEPLAY || m_newGame || m_playerRecords.size() == 1)) {
    // Only gameplay waits: a turn of several players loads its own level through
    // RestorePlayer. Every other state needs its level whatever the slot count,
    // or the menu would come up without its sprites after a game of several.
    // The game list checks its start index, and Advance keeps it in range.
    VT_ASSERT(list->index >= 0 && list->index < static_cast<int>(list->names.size()));
    LoadLevel(list->names[list->index], true);
  }
}

StateLevelList* World::GetLevelList(int state) {
  // State 0 and the waiting state 13 have no list.
  if (state < 1 || state >= STATE_COUNT) return nullptr;
  return &m_levelLists[state - 1];
}

StateHandler World::GetStateHandler(int state) {
  VT_ASSERT(state >= 0 && state < STATE_COUNT);
  return m_stateHandlers[state];
}

void World::SetStateHandler(int state, StateHandler handler) {
  VT_ASSERT(state >= 0 && state < STATE_COUNT);
  m_stateHandlers[state] = handler;
}

void World::DrawInactive() {
  // Only the current lists are drawn, with pass mask 1 (draw only), then mask 7 again.
  if (m_state == STATE_MAIN_MENU || m_state == STATE_OPTIONS) {
    if (!m_cscObjects) return;
    m_cscObjects->SetMask(PASS_DRAW);
    m_cscObjects->Update(false);
    m_cscObjects->SetMask(PASS_ALL);
  } else if (m_state == STATE_GAMEPLAY) {
    SpriteCollection* const layers[] = {m_cscSceneryA.get(), m_cscLayerB.get(), m_cscObjects.get(),
                                        m_cscLayerD.get(), m_cscSceneryC.get()};
    for (SpriteCollection* list : layers) {
      if (list) list->SetMask(PASS_DRAW);
    }
    HUD::SetMask(PASS_DRAW);
    for (SpriteCollection* list : layers) {
      if (list) list->Update(false);
    }
    if (m_hud) m_hud->Update();
    HUD::SetMask(PASS_ALL);
    for (SpriteCollection* list : layers) {
      if (list) list->SetMask(PASS_ALL);
    }
  }
}

void World::OnKillFocus() {
  m_inactive = true;
  if (Input::GetInstance()) Input::GetInstance()->Disable();
  PauseGameClock();
}

void World::OnSetFocus() {
  m_inactive = false;
  if (Input::GetInstance()) Input::GetInstance()->Enable();
  ResumeGameClock();
}

void World::NextLevel() {
  ++m_currentEntry;
  m_state = STATE_LEVEL_COMPLETE;
}

int World::LoadGameState(int* /*frameCounter*/) {
  return LoadGame("Gold.vt");
}
