// The game's one shared state. Every member is static; a World object is only a
// handle: the first handle sets the World up, the last one releases everything it
// made. Code that needs the World makes a temporary handle or calls the statics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/GameState.h"
#include "game/StateLevelList.h"
#include "game/TextEntry.h"

namespace platform {
class Window;
}
class PlayerObject;

class World {
 public:
  World();
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Loads everything the game is made of, behind the loading screen.
  static bool Init(platform::Window* window);
  // One frame: earthquake, input and the state's handler (or only drawing while
  // inactive), state bookkeeping, fade, queued texts.
  static void Update();
  static void OnKillFocus();
  static void OnSetFocus();

  // Screen fade: `frames` frames from `from` to `to`; the end colour stays drawn.
  static void StartFade(int frames, D3DCOLOR from, D3DCOLOR to);
  // The colour a fade shows after `count` of `length` frames.
  static D3DCOLOR FadeColor(D3DCOLOR from, D3DCOLOR to, int count, int length);
  static void SetEarthquake(bool on);
  static bool IsEarthquake() { return m_earthquake; }
  static void QueueText(TextEntry entry);
  // Asks for level complete at once, with the next level entry.
  static void NextLevel();
  static void ClearLevelJustLoaded() { m_levelJustLoaded = false; }
  static bool IsLevelJustLoaded() { return m_levelJustLoaded; }

  // The game-time stopwatch on the performance counter.
  static double GetGameTime();
  static void ResetGameClock();
  static void AccumulateGameClock();
  static void PauseGameClock();
  static void ResumeGameClock();

  // "h:mm:ss" from an hour on, else "m:ss".
  static std::string FormatTime(int seconds);
  // Decimal text, zero-padded in front (sign included) to at least `width`.
  static std::string IntToString(int value, int width);

  // State machine.
  static int GetState() { return m_state; }
  static void SetState(int state) { m_state = state; }
  static int GetRequestedState() { return m_requestedState; }
  static void SetRequestedState(int state) { m_requestedState = state; }
  static int GetFrameCounter() { return m_frameCounter; }
  static void SetFrameCounter(int counter) { m_frameCounter = counter; }
  static int GetCurrentEntry() { return m_currentEntry; }
  static void SetCurrentEntry(int entry) { m_currentEntry = entry; }
  static bool IsNewGame() { return m_newGame; }
  static void SetNewGame(bool newGame) { m_newGame = newGame; }
  static bool IsGameCompleted() { return m_gameCompleted; }
  static void SetGameCompleted(bool completed) { m_gameCompleted = completed; }
  static int GetGameMode() { return m_gameMode; }
  static void SetGameMode(int mode) { m_gameMode = mode; }
  static bool IsInactive() { return m_inactive; }
  // The level list of a state 1 to 12; null for any other state.
  static StateLevelList* GetLevelList(int state);
  // The handler a state runs; null until that state's screen exists.
  static StateHandler GetStateHandler(int state);
  static void SetStateHandler(int state, StateHandler handler);

  // Player records: one saved copy of the player per player slot.
  static std::vector<PlayerObject*>& GetPlayerRecords() { return m_playerRecords; }
  static int GetCurrentPlayer() { return m_currentPlayer; }
  static void SetCurrentPlayer(int player) { m_currentPlayer = player; }
  // Deletes every record and empties its slot; the number of slots stays.
  static void ClearPlayerRecords();

  static platform::Window* GetWindow() { return m_window; }
  static float GetLoadingPercent() { return m_loadingPercent; }
  static int GetReferenceCount() { return m_refCount; }

 private:
  // One step of the start-up loading: its caption on the loading screen and its work.
  struct InitStep {
    const char* caption;
    bool (*work)();
  };

  static int RunState(int state);
  static void ApplyStateChange(int oldState, int oldEntry);
  static int FirstCounterValue(int oldState, int newState);
  static void UpdateEarthquake();
  static void DrawInactive();
  static void DrawFade();
  static void DrawQueuedTexts();
  static void ReleaseAll();

  static const InitStep kInitSteps[7];
  static StateHandler m_stateHandlers[STATE_COUNT];

  inline static int m_refCount = 0;
  inline static platform::Window* m_window = nullptr;
  inline static float m_loadingPercent = 0.0f;

  inline static int m_state = STATE_LOAD_GAME;
  inline static int m_requestedState = STATE_LOAD_GAME;
  inline static int m_frameCounter = 0;
  inline static int m_currentPlayer = 0;
  inline static int m_gameMode = 0;
  // Position s - 1 belongs to state s; the last is never filled.
  inline static StateLevelList m_levelLists[STATE_COUNT];
  inline static int m_currentEntry = -1;
  inline static std::vector<PlayerObject*> m_playerRecords;
  inline static std::vector<TextEntry> m_textQueue;

  inline static int m_fadeLength = 0;
  inline static int m_fadeCount = 0;
  inline static D3DCOLOR m_fadeFrom = 0xFF000000;
  inline static D3DCOLOR m_fadeTo = 0xFF000000;

  inline static bool m_earthquake = false;
  inline static int m_earthquakeCounter = 0;
  inline static bool m_inactive = false;
  inline static bool m_newGame = true;
  inline static bool m_levelJustLoaded = false;
  inline static bool m_gameCompleted = false;

  inline static double m_clockSeconds = 0.0;
  inline static std::int64_t m_clockBase = 0;
  inline static std::int64_t m_clockFrequency = 0;
  inline static bool m_clockRunning = true;
};
