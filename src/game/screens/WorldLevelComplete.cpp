// The level complete state (10): the sign over the level, the hero walking off
// to the right without input, the finished level booked into the record, and
// then the next level, the next player's turn or, after the last level, the
// credits.
#include <cstdio>

#include "animationlib/AnimationCollection.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "game/world/World.h"

namespace {

constexpr int kWalkStart = 100;
constexpr int kFadeOut = 170;
constexpr int kDecision = 200;
constexpr float kWalkSpeed = 5.0f;
constexpr float kViewMargin = 70.0f;
constexpr int kFadeFrames = 30;

// The sign lives here for the whole run; it is emptied whenever the state ends.
SpriteCollection& Sign() {
  static SpriteCollection sign(PASS_ALL);
  return sign;
}

bool NearView(const Vector2& p, const Vector2& offset) {
  const float width = static_cast<float>(D3DInterface::GetEngine()->GetScreenWidth());
  const float height = static_cast<float>(D3DInterface::GetEngine()->GetScreenHeight());
  return p.X() >= offset.X() - kViewMargin && p.X() <= offset.X() + width + kViewMargin &&
         p.Y() >= offset.Y() - kViewMargin && p.Y() <= offset.Y() + height + kViewMargin;
}

}  // namespace

namespace endscreens {
SpriteCollection* LevelCompleteSprites() { return &Sign(); }
}  // namespace endscreens

int World::LevelComplete(int* frameCounter) {
  SpriteCollection& sign = Sign();
  PlayerObject* player = GetPlayer();
  int next = STATE_LEVEL_COMPLETE;

  if (*frameCounter == 0) {
    m_cscObjects->SetMask(PASS_ALL);
    sign.Clear();
    if (Animation* art = m_cacPool ? m_cacPool->Find("LevelComplete") : nullptr) {
      sign.Add(new GameObject("LevelComplete", art, Vector2(400.0f, 300.0f), NO_CALLBACKS, 0.0f));
    } else {
      std::fprintf(stderr, "SpriteList.vtsl: no animation \"LevelComplete\"; no sign shown\n");
    }
    if (player) {
      // Null while that behaviour is not in the game: the hero just stands.
      player->SetBehavior(BehaviorRegistry::GetBehavior("DeadFall"));
      *player->AddFlag("Level", 0.0f) += 1.0f;
      if (m_gameMode == 1) {
        *player->AddFlag("TimeRemaining", 0.0f) -= static_cast<float>(GetGameTime());
      }
      player->RestoreOrbs();
    }
    AddScoreToRecord();
    SavePlayerState();
  }

  if (*frameCounter >= 0 && *frameCounter <= kDecision) {
    if (*frameCounter == kWalkStart) {
      m_cscObjects->SetMask(PASS_DRAW | PASS_ANIMATE);
      if (player) player->SetState(2);
    }
    if (*frameCounter >= kWalkStart && player &&
        NearView(player->GetPosition(), m_cscObjects->GetOffset())) {
      const Vector2 p = player->GetPosition();
      player->MoveTo(Vector2(p.X() + kWalkSpeed, p.Y()));
    }
    ++*frameCounter;
    if (player) player->SetFacingLeft(false);
  }

  // The record was saved on the first frame, so it speaks for a missing hero.
  const PlayerObject* record = GetCurrentRecord();
  const bool finished = player ? HasFinishedGame(*player) : record && HasFinishedGame(*record);

  if (*frameCounter == kFadeOut && !finished) StartFade(kFadeFrames, 0, 0xFF000000);

  if (*frameCounter == kDecision) {
    if (player) player->SetBehavior(&PlayerInputThunk);
    // The points still rolling in under the sign are this level's: into the
    // record, which the next level and the name entry take the score from.
    if (HUD* hud = HUD::GetInstance()) hud->RollInEverything();
    AddScoreToRecord();
    if (m_playerRecords.size() == 1) {
      ++m_currentEntry;
      if (finished) {
        m_gameCompleted = true;
        next = STATE_CREDITS;
      } else {
        ++GetLevelList(STATE_GAMEPLAY)->index;
        m_state = STATE_GAMEPLAY;
        next = STATE_GAMEPLAY;
        RestorePlayer(true);
      }
    } else {
      // The game ends with the current player's last level, or when nobody
      // has both time and levels left.
      const int turn = record && HasFinishedGame(*record) ? -1 : FindNextTurn();
      if (turn < 0) {
        ++m_currentEntry;
        m_gameCompleted = true;
        next = STATE_CREDITS;
      } else {
        m_currentPlayer = turn;
        m_state = STATE_GAMEPLAY;
        next = STATE_GAMEPLAY;
        RestorePlayer(true);
      }
    }
  }

  SpriteCollection* const lists[] = {GetSceneryA(), GetLayerB(), GetObjects(), GetLayerD(),
                                     GetSceneryC()};
  for (SpriteCollection* list : lists) {
    if (list) list->Update(false);
  }
  HUD* hud = HUD::GetInstance();
  if (hud) hud->Update();
  sign.Update(false);

  if (next != m_state || next == STATE_GAMEPLAY) {
    sign.Clear();
    if (hud) hud->Clear();
    SetEarthquake(false);
    SetBoss(nullptr);
    m_cameraLock = 0;
    if (PlayerObject* live = GetPlayer()) live->RestoreOrbs();
    StartFade(kFadeFrames, 0xFF000000, 0);
    if (next == STATE_CREDITS) {
      for (SpriteCollection* list : lists) {
        if (list) list->Clear();
      }
    }
  }
  return next;
}
