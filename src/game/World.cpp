// World handles, start-up loading and the per-frame game-state machine.
//
// Subsystems that are not part of the game yet join at the lines marked HOOK:
// each names what goes there and in which order.
#include "game/World.h"

#include "platform/Assert.h"
#include "platform/Clock.h"

// Loading steps in their fixed order. Each draws one loading-screen frame before
// its work, at percent = loading percent + 30 * k / 7 for step k = 1..7.
// HOOK(loading screen): World::DrawLoadingScreen(percent, caption) before each step.
const World::InitStep World::kInitSteps[7] = {
    // HOOK(tutorial): create an empty Tutorial as the World's tutorial.
    {"Tutorial Template", nullptr},
    // HOOK(sound engine): create the SoundEngine handle (m_cseMusic) and
    // SoundEngine::Init(window); false ends Init with false.
    {"Sound Engine", nullptr},
    // HOOK(sound list): VT_ASSERT(bLoadSoundEffects) on LoadSoundEffects("Sounds.vtse").
    {"Sound Effects", nullptr},
    // HOOK(input): create the Input reader for the window; a failed allocation
    // ends Init with false.
    {"Input Handling", nullptr},
    // HOOK(HUD): create the HUD; a failed allocation ends Init with false.
    {"HUD Art Assets", nullptr},
    // HOOK(collision types): LoadCollisionTypes("clsntypes.ctt"), result not consulted.
    {"Physics Engine", nullptr},
    // HOOK(object lists): delete and recreate the prototype pool (mask 0), the main
    // dormant list and the four layer lists (mask 7) and both scenery lists.
    {"World Objects", nullptr},
};

// The handler of each state; a null entry leaves the game in that state (it is
// still drawn). State 2 needs none: it always passes on to the main menu.
StateHandler World::m_stateHandlers[STATE_COUNT] = {
    nullptr,  // HOOK(game list): 0, LoadGame("Gold.vt")
    nullptr,  // HOOK(intro): 1, IntroScreens
    nullptr,  // 2, intro done
    nullptr,  // HOOK(main menu): 3, MainMenu
    nullptr,  // HOOK(options): 4, OptionsMenu
    nullptr,  // HOOK(story): 5, Story
    nullptr,  // HOOK(credits): 6, Credits
    nullptr,  // HOOK(high scores): 7, HighScores
    nullptr,  // HOOK(gameplay): 8, PlayLevel
    nullptr,  // HOOK(pause): 9, PauseMenu
    nullptr,  // HOOK(level complete): 10, LevelComplete
    nullptr,  // HOOK(game over): 11, GameOver
    nullptr,  // HOOK(name entry): 12, NameEntry
};

World::World() {
  if (m_refCount++ == 0) {
    m_clockFrequency = platform::QueryFrequency();
    m_playerRecords.push_back(nullptr);
  }
}

World::~World() {
  if (--m_refCount == 0) ReleaseAll();
}

void World::ReleaseAll() {
  // HOOK(subsystems): delete and null, each only if it exists: the sound engine,
  // input reader, HUD, animation pool, prototype pool, the eight object lists and
  // the tutorial.
  while (!m_playerRecords.empty()) {
    // HOOK(player object): delete the record once PlayerObject exists; until
    // then no slot can hold one.
    VT_ASSERT(m_playerRecords.back() == nullptr);
    m_playerRecords.pop_back();
  }
  // HOOK(levels): delete every LevelEntry's loaded Level and clear the entries.
}

bool World::Init(platform::Window* window) {
  m_window = window;
  // HOOK(animation pool, main list): delete and recreate the animation pool and
  // the main active list (mask 7); then World::CreateLoadingScreen.
  // HOOK(subsystems): delete and null the sound engine, input reader, HUD and tutorial.
  for (const InitStep& step : kInitSteps) {
    if (step.work && !step.work()) return false;
  }
  m_loadingPercent += 30.0f;
  // HOOK(prototypes): LoadSprites("SpriteList.vtsl"), which takes the bar from 30
  // to 100; false ends Init with false. Then clear the main active list.
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
    // HOOK(input): VT_ASSERT(input) on the reader, then Input::Update.
    m_state = RunState(m_state);
    ApplyStateChange(oldState, oldEntry);
  }

  DrawFade();
  DrawQueuedTexts();
  // HOOK(ambient sound): World::UpdateAmbientSound.
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
    // HOOK(main list): in state 3 the main active list gets pass mask 7 first.
    if (const StateHandler handler = m_stateHandlers[state]) next = handler(&m_frameCounter);
    // HOOK(records, HUD): when state 11 returns 12, AddScoreToRecord and HUD::Clear.
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
    // HOOK(player records): continue after game over, RestorePlayer(true).
  } else if (entryChanged && list && !list->names.empty() &&
             (m_newGame || m_playerRecords.size() == 1)) {
    // HOOK(levels): LoadLevel of list->names[list->index], carrying the player
    // over; an index past the list (bad start data) must not be read.
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
  // HOOK(object lists): states 3 and 4: the main active list, one
  // SpriteCollection::Update(false).
  // HOOK(object lists, HUD): state 8: scenery A, layer B active, main active,
  // layer D active, scenery C, then HUD::Update.
}

void World::OnKillFocus() {
  m_inactive = true;
  // HOOK(input): Input::Disable when the reader exists.
  PauseGameClock();
}

void World::OnSetFocus() {
  m_inactive = false;
  // HOOK(input): Input::Enable when the reader exists.
  ResumeGameClock();
}

void World::NextLevel() {
  ++m_currentEntry;
  m_state = STATE_LEVEL_COMPLETE;
}
