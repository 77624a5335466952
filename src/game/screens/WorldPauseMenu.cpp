// The pause menu (state 9): play stands still behind a window that grows in,
// offers resume and abort, and shrinks away before the choice takes effect.
#include <array>
#include <memory>

#include "animationlib/AnimationCollection.h"
#include "animationlib/SceneryCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/objects/GameObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"

std::unique_ptr<SpriteCollection> World::m_pauseMenu;

namespace {

constexpr const char* kWindow = "MainMenuWindow";
constexpr const char* kAbort = "MainMenuAbortLevel";
constexpr const char* kResume = "MainMenuResumePlay";
constexpr const char* kSelected = "Selected";
constexpr float kGrowStep = 1.0f / 60.0f;
constexpr int kWaiting = 62;
constexpr int kDecision = 140;

void StartPulse(Sprite* item) {
  item->StartPulse(5, 0.05f, 5, true);
}

void ScaleBy(SpriteCollection& menu, float change) {
  for (Sprite* sprite : menu.GetSprites()) {
    sprite->SetScaleX(sprite->GetScaleX() + change);
    sprite->SetScaleY(sprite->GetScaleY() + change);
  }
}

void ScaleTo(SpriteCollection& menu, float scale) {
  for (Sprite* sprite : menu.GetSprites()) {
    sprite->SetScaleX(scale);
    sprite->SetScaleY(scale);
  }
}

// The window's objects: a missing animation is a fault of the prototype list.
GameObject* MakeMenuObject(const char* name) {
  Animation* animation = World::GetAnimationPool()->Find(name);
  if (!animation) {
    DataFileError("SpriteList.vtsl", std::string("the pause menu needs the animation \"") + name +
                                         "\" from a global prototype");
  }
  auto* object = new GameObject(name, animation, Vector2(400.0f, 300.0f), ObjectCallbacks{}, 0.0f);
  object->SetScaleX(0.0f);
  object->SetScaleY(0.0f);
  return object;
}

}  // namespace

int World::PauseMenu(int* frameCounter) {
  int& counter = *frameCounter;
  if (!m_pauseMenu) m_pauseMenu = std::make_unique<SpriteCollection>(PASS_ALL);
  SpriteCollection& menu = *m_pauseMenu;
  SpriteCollection* const stopped[] = {m_cscSceneryA.get(), m_cscObjects.get(), m_cscSceneryC.get()};
  int next = STATE_PAUSE;

  if (counter == 0) {
    SoundEngine sound;
    sound.ToggleQuiet();
    sound.Play("menu_load");
    PauseGameClock();
    // Only drawn while the menu shows; layers B and D keep running.
    for (SpriteCollection* list : stopped) {
      if (list) list->SetMask(PASS_DRAW);
    }
    HUD::SetMask(PASS_DRAW);
    menu.Clear();
    GameObject* window = MakeMenuObject(kWindow);
    window->AddFlag(kSelected, 0.0f);
    menu.Add(window);
    menu.Add(MakeMenuObject(kAbort));
    menu.Add(MakeMenuObject(kResume));
  }
  auto* window = static_cast<GameObject*>(menu.Find(kWindow));
  Sprite* abort = menu.Find(kAbort);
  Sprite* resume = menu.Find(kResume);
  VT_ASSERT(window && abort && resume);

  if (counter >= 0 && counter <= 60) {
    ++counter;
    ScaleBy(menu, kGrowStep);
  }
  if (counter == 61) {
    ++counter;
    ScaleTo(menu, 1.0f);
    StartPulse(resume);
  }
  if (counter == kWaiting) {
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    const bool down = input->IsPressed(DOWN_OPTIONS_SELECTION) != 0;
    const bool up = input->IsPressed(UP_OPTIONS_SELECTION) != 0;
    if (down && !up) {
      if (window->GetFlag(kSelected) == 0.0f) {
        window->SetFlag(kSelected, 1.0f);
        resume->SetPulsing(false);
        StartPulse(abort);
      }
    } else if (up && !down) {
      if (window->GetFlag(kSelected) == 1.0f) {
        window->SetFlag(kSelected, 0.0f);
        abort->SetPulsing(false);
        StartPulse(resume);
      }
    } else if (input->IsPressed(ENTER_MENU_SELECTION) || input->IsPressed(JUMP)) {
      resume->SetPulsing(false);
      abort->SetPulsing(false);
      counter = 63;
    } else if (input->IsPressed(DISPLAY_MENU)) {
      window->SetFlag(kSelected, 0.0f);
      resume->SetPulsing(false);
      abort->SetPulsing(false);
      counter = 63;
    }
  }
  if (counter >= 63 && counter <= 78) ++counter;
  if (counter == 79) SoundEngine().Play("menu_load");
  if (counter >= 79 && counter <= 139) {
    ++counter;
    ScaleBy(menu, -kGrowStep);
  }
  if (counter == kDecision) {
    ScaleTo(menu, 0.0f);
    ResumeGameClock();
    if (window->GetFlag(kSelected) == 1.0f) {
      SetCurrentEntry(GetCurrentEntry() + 1);
      next = STATE_INTRO_DONE;
      SetEarthquake(false);
      SetBoss(nullptr);
      GetLevelList(STATE_GAMEPLAY)->index = 0;
      ClearPlayerRecords();
    } else {
      next = STATE_GAMEPLAY;
      m_resumingPlay = true;
    }
  }

  SpriteCollection* const lists[] = {m_cscSceneryA.get(), m_cscLayerB.get(), m_cscObjects.get(),
                                     m_cscLayerD.get(), m_cscSceneryC.get()};
  for (SpriteCollection* list : lists) {
    if (list) list->Update(false);
  }
  if (HUD* hud = HUD::GetInstance()) hud->Update();
  menu.Update(false);

  if (next != m_state) {
    SoundEngine().ToggleQuiet();
    for (SpriteCollection* list : stopped) {
      if (list) list->SetMask(PASS_ALL);
    }
    HUD::SetMask(PASS_ALL);
    menu.Clear();
  }
  return next;
}
