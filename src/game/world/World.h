// The world room holds the World with its services, start-up loading and the loading
// screen, the levels list, the camera and its focus queue, fades, scripted events,
// turns, and the constants and state numbers the game shares.
//
// The game's one shared state. Every member is static; a World object is only a
// handle: the first handle sets the World up, the last one releases everything it
// made. Code that needs the World makes a temporary handle or calls the statics.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/level/LevelEntry.h"
#include "game/level/StateLevelList.h"
#include "game/world/CameraFocus.h"
#include "game/world/GameState.h"
#include "game/world/TextEntry.h"
#include "geometry/Vector2.h"

namespace platform {
class Window;
enum class SaveStatus;
}
class AnimationCollection;
class GameObject;
class HUD;
class Input;
class Level;
class PlayerObject;
class SceneryCollection;
class SoundEngine;
class Sprite;
class SpriteCollection;
class Tutorial;

class World {
 public:
  // The hero's object name, in every list and file.
  static constexpr const char* kPlayerName = "ZodirazO";

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

  // Screen fade: `frames` frames from `from` to `to`; the end colour stays drawn
  // (a transparent one draws nothing).
  static void StartFade(int frames, D3DCOLOR from, D3DCOLOR to);
  // The colour a fade shows after `count` of `length` frames.
  static D3DCOLOR FadeColor(D3DCOLOR from, D3DCOLOR to, int count, int length);
  // The colour the current fade ends on (and then keeps drawing).
  static D3DCOLOR GetFadeTarget() { return m_fadeTo; }
  static void SetEarthquake(bool on);
  static bool IsEarthquake() { return m_earthquake; }
  static void QueueText(TextEntry entry);
  // The texts queued for the end of this frame.
  static const std::vector<TextEntry>& GetQueuedTexts() { return m_textQueue; }
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

  // Player records: one saved copy of the player per player slot (null when
  // the slot holds none).
  using PlayerRecords = std::vector<std::unique_ptr<PlayerObject>>;
  static PlayerRecords& GetPlayerRecords() { return m_playerRecords; }
  // The current slot's record, or null.
  static PlayerObject* GetCurrentRecord();
  // The live player into the current record; nothing without a live player.
  static void SavePlayerState();
  static int GetCurrentPlayer() { return m_currentPlayer; }
  static void SetCurrentPlayer(int player) { m_currentPlayer = player; }
  // Deletes every record and empties its slot; the number of slots stays.
  static void ClearPlayerRecords();
  // The HUD's score, pending points included, into the current record; the
  // live player gets the HUD's score.
  static void AddScoreToRecord();
  // A record that has played every gameplay level.
  static bool HasFinishedGame(const PlayerObject& record);
  // In a game of several players: the record after the current one (wrapping)
  // that has time left and levels to play, each slot looked at once; -1 when
  // none has.
  static int FindNextTurn();
  static bool HasTimeLeft(const PlayerObject& record);

  // The high-score tables of "Scores.vths". A result enters the blocks of the
  // game's kind (one record: single-player); its time is the HUD's when
  // `finished`, else none.
  static bool IsHighScore(PlayerObject* player, bool finished);
  // Puts the result into the tables under `name` (cleaned to what the name
  // screen can type) and rewrites the file, in one try that never waits: Busy
  // while another game's save holds the file's folder, to be tried again on a
  // later frame; with `lastTry` that too is given up. A result that is not
  // saved is said on stderr and on the high-score screen.
  static platform::SaveStatus SaveScore(PlayerObject* player, bool finished, std::string name,
                                        bool lastTry = true);

  // Front-end screens: the handlers of states 3, 4 and 9.
  static int MainMenu(int* frameCounter);
  static int OptionsMenu(int* frameCounter);
  static int PauseMenu(int* frameCounter);
  // The volumes the options screen sets, 0..100; they last for the run only.
  static int GetMusicVolume() { return m_musicVolume; }
  static int GetSfxVolume() { return m_sfxVolume; }
  // What the options screen's controls choice opens; tests put a stand-in here
  // for the modal controls screen. Null restores the real one.
  using ControlsDialog = void (*)();
  static void SetControlsDialog(ControlsDialog dialog) { m_controlsDialog = dialog; }
  // The pause menu's objects (null before the first pause).
  static SpriteCollection* GetPauseMenuObjects() { return m_pauseMenu.get(); }

  static platform::Window* GetWindow() { return m_window; }
  static float GetLoadingPercent() { return m_loadingPercent; }
  static int GetReferenceCount() { return m_refCount; }

  // Game data lists. The game list "Gold.vt": level entries and each state's
  // level names; returns the start state. Reading it again appends again.
  static int LoadGame(const std::string& file);
  static bool AddLevelEntry(std::string name, std::string file);
  // The sound list "Sounds.vtse"; false when it does not open.
  static bool LoadSoundEffects(const std::string& file);
  // The prototype list "SpriteList.vtsl", behind the loading screen from the
  // loading percent up by 70; false when it does not open.
  static bool LoadSprites(const std::string& file);
  // The prototype of that name as the loaded level sees it (global pool first);
  // null while no level is loaded.
  static Sprite* FindPrototype(const std::string& name);
  // A new copy of the named prototype, the caller's until it joins a list.
  static Sprite* CloneSprite(const std::string& name);
  // Fades the level's ambient track in while a rat is on screen, out when none is.
  static void UpdateAmbientSound();

  // Makes the named level current, read afresh from its file; false (and nothing
  // changed) when no entry has that name.
  static bool LoadLevel(std::string name, bool carryPlayer);
  // The current player record into the live player, reloading the level first
  // when asked.
  static void RestorePlayer(bool reload);

  // The start-up loading screen: an energy bar filling to the percentage done,
  // with "Loading..." and the step's caption; each draw presents one frame.
  // False, naming the file on stderr, when its art does not load.
  static bool CreateLoadingScreen();
  static void DrawLoadingScreen(float complete, std::string caption);
  // Told after each loading frame is presented (for tests and tools).
  using LoadingFrameObserver = void (*)(float complete, const std::string& caption);
  static void SetLoadingFrameObserver(LoadingFrameObserver observer) {
    m_loadingObserver = observer;
  }

  static SoundEngine* GetSoundEngine() { return m_cseMusic.get(); }
  static AnimationCollection* GetAnimationPool() { return m_cacPool.get(); }
  static SpriteCollection* GetPrototypePool() { return m_cscPool.get(); }
  // The object lists: main, layer B and layer D, each active and dormant, and the
  // two scenery layers.
  static SpriteCollection* GetObjects() { return m_cscObjects.get(); }
  static SpriteCollection* GetDormantObjects() { return m_cscDormantObjects.get(); }
  static SpriteCollection* GetLayerB() { return m_cscLayerB.get(); }
  static SpriteCollection* GetDormantLayerB() { return m_cscDormantLayerB.get(); }
  static SpriteCollection* GetLayerD() { return m_cscLayerD.get(); }
  static SpriteCollection* GetDormantLayerD() { return m_cscDormantLayerD.get(); }
  static SceneryCollection* GetSceneryA() { return m_cscSceneryA.get(); }
  static SceneryCollection* GetSceneryC() { return m_cscSceneryC.get(); }
  // The main active list's draw offset: the camera position.
  static const Vector2& GetCameraOffset();
  // The current level's bounds as floats; -1 (open) without a level.
  static Vector2 GetLevelLowerBounds();
  static Vector2 GetLevelUpperBounds();
  static std::vector<LevelEntry>& GetLevelEntries() { return m_levelEntries; }
  // The level of the current entry, or null.
  static Level* GetCurrentLevel();
  static int GetRecordLevelIndex() { return m_recordLevelIndex; }
  // The live hero: the PlayerObject named "ZodirazO" in the main list, or null.
  // Another object of that name is never taken for it.
  static PlayerObject* GetPlayer();
  // Set by the gameplay state on the frames the hero may be controlled.
  static bool IsPlayFrame() { return m_playFrame; }
  static void SetPlayFrame(bool playFrame) { m_playFrame = playFrame; }
  // The boss the camera frames, held by handle: a deleted boss reads as none.
  static void SetBoss(GameObject* boss);
  static GameObject* GetBoss();
  static bool IsAmbientOn() { return m_ambientOn; }
  // The tutorial the current level shows; empty in games of several players.
  static Tutorial* GetTutorial() { return m_tutorial.get(); }

  // Camera. Lock bits: the camera leads left, right, up or down.
  static constexpr int kLockLeft = 1;
  static constexpr int kLockRight = 2;
  static constexpr int kLockUp = 4;
  static constexpr int kLockDown = 8;
  // Once per gameplay frame: runs the main list's behaviours and physics, then
  // moves the camera toward its target for the frame.
  static void UpdateCamera();
  // Wake the dormant objects near the view and park the active ones far from it
  // (main lists; layers B and D). Nothing happens for a zero step.
  static void ActivateNearbyObjects(Vector2 step);
  static void ActivateNearbyLayerObjects(Vector2 step);
  static void SetCameraLock(int bits) { m_cameraLock = bits; }
  static int GetCameraLock() { return m_cameraLock; }
  // Lock bit 2: the camera leads to the right.
  static bool IsCameraLeadingRight() { return (m_cameraLock & kLockRight) != 0; }
  // Served front first; the front request decides whether the hero may move.
  static std::vector<CameraFocus>& GetFocusQueue() { return m_focusQueue; }

  // The gameplay state (8): one frame of play.
  static int PlayLevel(int* frameCounter);
  // The turn banner in the HUD's objects, or null.
  static GameObject* GetPlayerNumberSprite();

  // The end of a game: level complete (10), game over (11), name entry (12)
  // and the high-score screen (7).
  static int LevelComplete(int* frameCounter);
  static int GameOver(int* frameCounter);
  static int NameEntry(int* frameCounter);
  static int HighScores(int* frameCounter);

  // The intro (1), the story (5) and the credits (6).
  static int IntroScreens(int* frameCounter);
  static int Story(int* frameCounter);
  static int Credits(int* frameCounter);

  // Scripted level events: the junkyard and factory boss triggers, the
  // junkyard's end scene (a camera-focus callback) and its flying debris.
  static void GrindlenautTrigger(GameObject* trigger);
  static void TigerATrigger(GameObject* trigger);
  static bool JunkyardEnd();
  static void ExplodeBehavior(GameObject* piece);

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
  // The state-0 handler: the game list "Gold.vt".
  static int LoadGameState(int* frameCounter);
  // The Init steps' work, in step order.
  static bool CreateSoundEngine();
  static bool LoadSoundList();
  static bool CreateInput();
  static bool CreateHUD();
  static bool LoadPhysics();
  static bool CreateObjectLists();
  static bool CreateTutorial();
  static void DeleteObjectLists();
  static void DeleteLevels();
  // Replaces the turn banner with the current player's, at the screen centre.
  static void ShowPlayerNumber();
  // Names the current level's file when a new game finds no hero in it.
  static void ReportLevelWithoutHero();
  // A player's properties, energy, orbs, abilities and score.
  static void CopyRecord(const PlayerObject& from, PlayerObject& to);

  static const InitStep kInitSteps[7];
  static StateHandler m_stateHandlers[STATE_COUNT];

  inline static int m_refCount = 0;
  inline static platform::Window* m_window = nullptr;
  inline static float m_loadingPercent = 0.0f;
  inline static LoadingFrameObserver m_loadingObserver = nullptr;

  // Owned; defined beside ReleaseAll, where their types are complete.
  static std::unique_ptr<SoundEngine> m_cseMusic;
  static std::unique_ptr<Input> m_input;
  static std::unique_ptr<AnimationCollection> m_cacPool;
  static std::unique_ptr<SpriteCollection> m_cscPool;
  static std::unique_ptr<SpriteCollection> m_cscObjects;
  static std::unique_ptr<SpriteCollection> m_cscDormantObjects;
  static std::unique_ptr<SpriteCollection> m_cscLayerB;
  static std::unique_ptr<SpriteCollection> m_cscDormantLayerB;
  static std::unique_ptr<SpriteCollection> m_cscLayerD;
  static std::unique_ptr<SpriteCollection> m_cscDormantLayerD;
  static std::unique_ptr<SceneryCollection> m_cscSceneryA;
  static std::unique_ptr<SceneryCollection> m_cscSceneryC;
  inline static std::vector<LevelEntry> m_levelEntries;
  inline static int m_recordLevelIndex = 0;
  inline static ObjectHandle m_boss = NO_OBJECT;
  inline static bool m_ambientOn = false;
  inline static bool m_playFrame = true;
  static std::unique_ptr<HUD> m_hud;
  static std::unique_ptr<Tutorial> m_tutorial;

  inline static int m_state = STATE_LOAD_GAME;
  inline static int m_requestedState = STATE_LOAD_GAME;
  inline static int m_frameCounter = 0;
  inline static int m_currentPlayer = 0;
  inline static int m_gameMode = 0;
  // Position s - 1 belongs to state s; the last is never filled.
  inline static StateLevelList m_levelLists[STATE_COUNT];
  inline static int m_currentEntry = -1;
  // Defined with PlayerObject's full type (WorldServices.cpp).
  static PlayerRecords m_playerRecords;
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

  // The pause menu's objects; the collection lasts for the run.
  static std::unique_ptr<SpriteCollection> m_pauseMenu;
  // Set when play resumes from the pause menu: the gameplay set-up then keeps
  // the game clock where it stood.
  inline static bool m_resumingPlay = false;
  inline static int m_musicVolume = 100;
  inline static int m_sfxVolume = 100;
  inline static ControlsDialog m_controlsDialog = nullptr;

  inline static double m_clockSeconds = 0.0;
  inline static std::int64_t m_clockBase = 0;
  inline static std::int64_t m_clockFrequency = 0;
  inline static bool m_clockRunning = true;

  // Camera state: the lock bits, the focus queue, and the two travel
  // accumulators, half a period apart, that time the wake-and-park passes.
  inline static int m_cameraLock = 0;
  inline static std::vector<CameraFocus> m_focusQueue;
  inline static Vector2 m_travelObjects{0.0f, 0.0f};
  inline static Vector2 m_travelLayers{128.0f, 128.0f};
  inline static ObjectHandle m_playerNumber = NO_OBJECT;
};
