// The game over state (11): the screen cracks in stages over the frozen level,
// then a single player chooses continue or quit on a small menu, while in a
// game of several players the screen fades and the next player with time left
// takes a turn.
#include <cstdio>
#include <string>

#include "animationlib/AnimationCollection.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

struct CrackPlace {
  int counter;
  float x, y;
  float scaleX, scaleY;
  float angle;
  bool setAngle;
  bool mirrored;
};

constexpr CrackPlace kCracks[] = {
    {0, 100, 200, 1.5f, 1.2f, -0.6f, true, false},  {0, 500, 500, 2.0f, 1.2f, 0.8f, true, true},
    {0, 600, 300, 2.0f, 1.2f, -3.8f, true, false},  {15, 700, 500, 1.5f, 1.2f, 1.2f, true, true},
    {31, 300, 200, 2.0f, 1.3f, 1.6f, true, false},  {31, 0, 500, 1.6f, 1.2f, -0.3f, true, false},
    {31, 600, 400, 2.0f, 1.2f, -1.2f, true, false}, {46, 0, 0, 1.5f, 1.2f, 0.76f, true, false},
    {62, 650, 100, 1.3f, 1.3f, 1.6f, true, false},  {62, 700, 200, 1.7f, 1.2f, 0.3f, true, true},
    {62, 350, 250, 2.0f, 1.2f, 0.0f, false, true},
};

constexpr const char* kMenuItems[] = {"GameOverWindow", "GameOverContinue", "GameOverQuit"};
constexpr float kMenuStep = 1.0f / 60.0f;
constexpr int kFadeFrames = 30;

struct GameOverScreen {
  SpriteCollection cracks{PASS_ALL};
  int selection = 0;
  bool allOut = false;
};

GameOverScreen& Screen() {
  static GameOverScreen screen;
  return screen;
}

// A copy of a World-pool animation at a place; nothing when the art is missing.
GameObject* AddArt(SpriteCollection& list, const char* name, float x, float y) {
  AnimationCollection* pool = World::GetAnimationPool();
  Animation* art = pool ? pool->Find(name) : nullptr;
  if (!art) {
    std::fprintf(stderr, "SpriteList.vtsl: no animation \"%s\"; not shown\n", name);
    return nullptr;
  }
  auto* object = new GameObject(name, art, Vector2(x, y), NO_CALLBACKS, 0.0f);
  list.Add(object);
  return object;
}

void AddCracks(SpriteCollection& list, int counter) {
  for (const CrackPlace& c : kCracks) {
    if (c.counter != counter) continue;
    GameObject* crack = AddArt(list, "Crack", c.x, c.y);
    if (!crack) continue;
    crack->SetScaleX(c.scaleX);
    crack->SetScaleY(c.scaleY);
    if (c.setAngle) crack->SetDrawAngle(c.angle);
    if (c.mirrored) crack->SetFacingLeft(true);
  }
}

GameObject* Item(SpriteCollection& list, const char* name) {
  Sprite* sprite = list.Find(name);
  return dynamic_cast<GameObject*>(sprite);
}

void GrowMenu(SpriteCollection& list, float step) {
  for (const char* name : kMenuItems) {
    if (GameObject* item = Item(list, name)) {
      item->SetScaleX(item->GetScaleX() + step);
      item->SetScaleY(item->GetScaleY() + step);
    }
  }
}

void SetMenuScale(SpriteCollection& list, float scale) {
  for (const char* name : kMenuItems) {
    if (GameObject* item = Item(list, name)) {
      item->SetScaleX(scale);
      item->SetScaleY(scale);
    }
  }
}

void Pulse(SpriteCollection& list, const char* name, bool on) {
  GameObject* item = Item(list, name);
  if (!item) return;
  if (on) {
    item->StartPulse(5, 0.05f, 5, true);
  } else {
    item->SetPulsing(false);
  }
}

}  // namespace

namespace endscreens {
SpriteCollection* GameOverSprites() { return &Screen().cracks; }
int GameOverSelection() { return Screen().selection; }
}  // namespace endscreens

int World::GameOver(int* frameCounter) {
  GameOverScreen& screen = Screen();
  SpriteCollection& cracks = screen.cracks;
  int next = STATE_GAME_OVER;
  bool decided = false;

  if (*frameCounter == 0) {
    SoundEngine sound;
    sound.StopMusic();
    sound.FadeOutAmbient();
    sound.Play("menu_load");
    for (SpriteCollection* list : {static_cast<SpriteCollection*>(GetSceneryA()), GetObjects(),
                                   static_cast<SpriteCollection*>(GetSceneryC())}) {
      if (list) list->SetMask(PASS_DRAW);
    }
    cracks.Clear();
    AddCracks(cracks, 0);
    screen.selection = 0;
  }

  int& c = *frameCounter;
  if (c == 15) AddCracks(cracks, 15);
  if (c >= 0 && c <= 30) ++c;
  if (c == 31) AddCracks(cracks, 31);
  if (c == 46) AddCracks(cracks, 46);
  if (c >= 31 && c <= 61) ++c;
  if (c == 62) AddCracks(cracks, 62);
  if (c >= 62 && c <= 92) ++c;
  if (c == 93) {
    if (m_playerRecords.size() == 1) {
      for (const char* name : kMenuItems) {
        if (GameObject* item = AddArt(cracks, name, 400.0f, 300.0f)) {
          item->SetScaleX(0.0f);
          item->SetScaleY(0.0f);
        }
      }
    } else {
      c = 234;  // no menu in a game of several players
    }
  }
  if (c >= 93 && c <= 153) {
    ++c;
    GrowMenu(cracks, kMenuStep);
  }
  if (c == 154) {
    ++c;
    SetMenuScale(cracks, 1.0f);
    Pulse(cracks, "GameOverContinue", true);
  }
  if (c == 155) {
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    const bool down = input->IsPressed(DOWN_OPTIONS_SELECTION) != 0;
    const bool up = input->IsPressed(UP_OPTIONS_SELECTION) != 0;
    if (down && !up) {
      if (screen.selection == 0) {
        screen.selection = 1;
        Pulse(cracks, "GameOverContinue", false);
        Pulse(cracks, "GameOverQuit", true);
      }
    } else if (up && !down) {
      if (screen.selection == 1) {
        screen.selection = 0;
        Pulse(cracks, "GameOverQuit", false);
        Pulse(cracks, "GameOverContinue", true);
      }
    } else if (input->IsPressed(ENTER_MENU_SELECTION | JUMP)) {
      Pulse(cracks, "GameOverContinue", false);
      Pulse(cracks, "GameOverQuit", false);
      c = 156;
    }
  }
  if (c >= 156 && c <= 171) ++c;
  // One request is enough: two at once only sound louder.
  if (c == 172) SoundEngine().Play("menu_load");
  if (c >= 172 && c <= 232) {
    ++c;
    GrowMenu(cracks, -kMenuStep);
  }
  if (c == 233) {
    SetMenuScale(cracks, 0.0f);
    ++m_currentEntry;
    if (screen.selection == 0) {
      PlayerObject* record = GetCurrentRecord();
      PlayerObject* live = GetPlayer();
      if (record) {
        const float elapsed = live ? *live->AddFlag("TimeElapsed", 0.0f) : 0.0f;
        *record->AddFlag("TimeElapsed", 0.0f) = elapsed + static_cast<float>(GetGameTime());
      }
      next = STATE_GAMEPLAY;
    } else {
      next = STATE_NAME_ENTRY;
    }
  }
  if (c == 234) {
    screen.allOut = false;
    if (m_gameMode == 1) {
      const PlayerObject* record = GetCurrentRecord();
      screen.allOut = (record && HasFinishedGame(*record)) || FindNextTurn() < 0;
    }
    StartFade(kFadeFrames, 0, 0xFF000000);
  }
  if (c >= 234 && c <= 264) ++c;
  if (c == 265) {
    decided = true;
    StartFade(kFadeFrames, 0xFF000000, 0);
    if (screen.allOut) {
      next = STATE_NAME_ENTRY;
    } else {
      if (m_gameMode == 1) {
        PlayerObject* record = GetCurrentRecord();
        PlayerObject* live = GetPlayer();
        if (record && live) {
          *record->AddFlag("TimeRemaining", 0.0f) =
              *live->AddFlag("TimeRemaining", 0.0f) - static_cast<float>(GetGameTime());
        }
      }
      // Nobody left with time and levels: the game ends as when all are out.
      const int turn = FindNextTurn();
      if (turn < 0) {
        next = STATE_NAME_ENTRY;
      } else {
        m_currentPlayer = turn;
        m_state = STATE_GAMEPLAY;
        next = STATE_GAMEPLAY;
        RestorePlayer(true);
      }
    }
  }

  if (!decided) {
    for (SpriteCollection* list : {static_cast<SpriteCollection*>(GetSceneryA()), GetLayerB(),
                                   GetObjects(), GetLayerD(),
                                   static_cast<SpriteCollection*>(GetSceneryC())}) {
      if (list) list->Update(false);
    }
    if (HUD* hud = HUD::GetInstance()) hud->Update();
    cracks.Update(false);
  }

  if (next != m_state || decided) {
    for (SpriteCollection* list : {static_cast<SpriteCollection*>(GetSceneryA()), GetObjects(),
                                   static_cast<SpriteCollection*>(GetSceneryC())}) {
      if (list) list->SetMask(PASS_ALL);
    }
    HUD::SetMask(PASS_ALL);
    cracks.Clear();
    SetEarthquake(false);
    SetBoss(nullptr);
    screen.selection = 0;
    m_cameraLock = 0;
  }
  return next;
}
