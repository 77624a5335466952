// The gameplay state: one frame of play. Sets a level up on entry, shows whose
// turn it is in a game of several players, keeps the HUD's clock, reads the
// pause, menu and controls keys, moves the camera, runs the object lists and
// decides whether play goes on, pauses, ends or completes the level.
#include <cstdio>
#include <memory>

#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/level/Level.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

// Frame-counter values of the state.
constexpr int kNormalPlay = -2;
constexpr int kIntroFirst = 1;
constexpr int kIntroGrown = 32;
constexpr int kIntroDone = 63;

// The turn banner grows at the screen centre, then flies to the HUD corner
// while it shrinks.
const Vector2 kScreenCentre(400.0f, 300.0f);
const Vector2 kHudCorner(720.0f, 85.0f);
constexpr float kBannerShrink = 0.6f;
constexpr float kIntroFrames = 30.0f;

constexpr float kCountdownSeconds = 601.0f;
// How far below the bottom bound the hero may fall before the game is over.
constexpr float kFallMargin = 100.0f;

}  // namespace

GameObject* World::GetPlayerNumberSprite() {
  return ObjectRegistry::Resolve(m_playerNumber);
}

int World::PlayLevel(int* frameCounter) {
  Input* pInput = Input::GetInstance();
  VT_ASSERT(pInput);
  int result = m_state;
  SetPlayFrame(*frameCounter == kNormalPlay);

  if (*frameCounter == 0 || *frameCounter == -1) {
    m_cameraLock = 0;
    m_focusQueue.clear();
    // Play resumed from the pause menu goes on with the clock where it stood.
    if (!m_resumingPlay) {
      AccumulateGameClock();
      ResetGameClock();
    }
    m_resumingPlay = false;
    m_gameMode = m_playerRecords.size() > 1 ? 1 : 0;
    if (m_newGame) {
      m_newGame = false;
      PlayerObject* player = GetPlayer();
      if (!player) ReportLevelWithoutHero();
      VT_ASSERT(player);
      const StateLevelList* list = GetLevelList(STATE_GAMEPLAY);
      *player->AddFlag("Level", 0.0f) = static_cast<float>(list->index);
      if (m_gameMode == 0) {
        *player->AddFlag("TimeElapsed", 0.0f) = 0.0f;
      } else {
        *player->AddFlag("TimeRemaining", kCountdownSeconds) = kCountdownSeconds;
      }
      // Every record starts as a copy of this fresh player.
      for (int i = 0; i < static_cast<int>(m_playerRecords.size()); ++i) {
        m_currentPlayer = i;
        SavePlayerState();
        RestorePlayer(false);
      }
      m_currentPlayer = 0;
    }
    *frameCounter = m_gameMode == 0 ? kNormalPlay : kIntroFirst;
  }

  // The turn banner; each step sees the counter as the step before left it.
  if (*frameCounter == kIntroFirst) ShowPlayerNumber();
  GameObject* banner = GetPlayerNumberSprite();
  if (*frameCounter >= kIntroFirst && *frameCounter < kIntroGrown) {
    ++*frameCounter;
    if (banner) {
      banner->SetScaleX(banner->GetScaleX() + 1.0f / kIntroFrames);
      banner->SetScaleY(banner->GetScaleY() + 1.0f / kIntroFrames);
    }
  }
  if (*frameCounter == kIntroGrown && banner) {
    banner->SetVelocity((kHudCorner.X() - kScreenCentre.X()) / kIntroFrames,
                        (kHudCorner.Y() - kScreenCentre.Y()) / kIntroFrames);
  }
  if (*frameCounter >= kIntroGrown && *frameCounter < kIntroDone) {
    ++*frameCounter;
    if (banner) {
      banner->SetScaleX(banner->GetScaleX() - kBannerShrink / kIntroFrames);
      banner->SetScaleY(banner->GetScaleY() - kBannerShrink / kIntroFrames);
    }
  }
  if (*frameCounter == kIntroDone) {
    if (banner) banner->SetVelocity(0.0f, 0.0f);
    *frameCounter = kNormalPlay;
  }

  if (*frameCounter == kNormalPlay) {
    // A gameplay level without a hero has no clock to keep.
    if (PlayerObject* player = GetPlayer()) {
      if (m_gameMode == 0) {
        const float elapsed = *player->AddFlag("TimeElapsed", 0.0f);
        HUD::SetTime(static_cast<int>(GetGameTime()) + static_cast<int>(elapsed));
      } else {
        const float remaining = *player->AddFlag("TimeRemaining", kCountdownSeconds);
        int time = static_cast<int>(remaining - GetGameTime());
        if (time < 0) {
          time = 0;
          result = STATE_GAME_OVER;
        }
        HUD::SetTime(time);
      }
    }
    if (pInput->IsPressed(DISPLAY_MENU)) {
      result = STATE_PAUSE;
    } else if (pInput->IsPressed(PAUSE_GAME)) {
      result = STATE_PAUSE;
    } else if (pInput->IsPressed(CONTROLS_INFORMATION)) {
      pInput->ConfigureDevices();
    }
  }

  m_requestedState = result;
  UpdateCamera();
  if (m_state == STATE_LEVEL_COMPLETE) {
    // NextLevel ran during the camera's pass; the bookkeeping sees 8 -> 10.
    result = STATE_LEVEL_COMPLETE;
    m_requestedState = STATE_LEVEL_COMPLETE;
    m_state = STATE_GAMEPLAY;
  }

  SpriteCollection* const lists[] = {GetSceneryA(), GetLayerB(), GetObjects(), GetLayerD(),
                                     GetSceneryC()};
  for (SpriteCollection* list : lists) {
    if (list) list->Update(m_earthquake);
  }
  if (HUD* hud = HUD::GetInstance()) hud->Update();

  result = m_requestedState;
  if (const PlayerObject* player = GetPlayer()) {
    const Level* level = GetCurrentLevel();
    if (player->IsFrontOrbCracked()) {
      result = STATE_GAME_OVER;
    } else if (level && level->GetYUpper() != -1 &&
               player->GetPosition().Y() > static_cast<float>(level->GetYUpper()) + kFallMargin) {
      // An open bottom (-1) has nothing to fall below.
      result = STATE_GAME_OVER;
    }
  }
  if (m_requestedState == STATE_LEVEL_COMPLETE) result = STATE_LEVEL_COMPLETE;

  if (result == STATE_INTRO_DONE || result == STATE_MAIN_MENU) {
    for (SpriteCollection* list : lists) {
      if (list) list->Clear();
    }
  }
  return result;
}

void World::ReportLevelWithoutHero() {
  if (m_currentEntry < 0 || m_currentEntry >= static_cast<int>(m_levelEntries.size())) return;
  const LevelEntry& entry = m_levelEntries[m_currentEntry];
  ReportDataFileProblem(entry.file,
                        "a game starts on the level \"" + entry.name + "\", which has no player");
}

void World::ShowPlayerNumber() {
  SpriteCollection* hudObjects = HUD::GetObjects();
  if (GameObject* old = GetPlayerNumberSprite(); old && hudObjects) hudObjects->Remove(old);
  m_playerNumber = NO_OBJECT;
  if (!FindPrototype("PlayerNumber")) {
    std::fprintf(stderr, "SpriteList.vtsl: no prototype \"PlayerNumber\"; no turn banner shown\n");
    return;
  }
  std::unique_ptr<Sprite> clone(CloneSprite("PlayerNumber"));
  auto* banner = dynamic_cast<GameObject*>(clone.get());
  if (!banner) return;
  // Its animation shows the current player's number.
  banner->SetState(m_currentPlayer);
  banner->MoveTo(kScreenCentre);
  banner->SetScaleX(0.0f);
  banner->SetScaleY(0.0f);
  m_playerNumber = banner->GetHandle();
  HUD::AddSprite(clone.release());
}
