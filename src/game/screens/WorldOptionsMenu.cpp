// The options screen (state 4): a wheel of three option cards with a panel for
// the selected option. It sets the number of players (the player slots), the two
// volumes, opens the controls screen and plays a test sound. Chained blocks on
// the frame counter, as in the main menu.
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/input/Input.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/screens/FrontEndSprites.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

using frontend::kMenuPi;

constexpr const char* kScreen = "options screen";
constexpr float kCardSpeed = 130.0f / 40.0f;
constexpr float kPanelSpeed = 260.0f / 10.0f;
constexpr float kDepthUpper = 1.0f, kDepthSelected = 6.0f, kDepthLower = 2.0f;
constexpr int kCardFrames = 10;
constexpr int kIdle = 131;
constexpr int kMinPlayers = 1, kMaxPlayers = 4;

// Selected-look frames of the five options; each unselected look is one more.
enum OptionFrame { kPlayers = 0, kControls = 2, kMusic = 4, kEffects = 6, kBack = 8 };
enum PanelFrame { kVolumePanel = 0, kControlsPanel = 1, kBackPanel = 6 };

// The screen's sprites for one frame; the eight of the options screen are in the
// order they turn in and out.
struct Screen {
  Sprite* sword;
  std::vector<Sprite*> menuCards;
  std::vector<Sprite*> turning;
  Sprite* panel;
  Sprite* bar;
  std::vector<Sprite*> cards;
};

Screen FindScreen() {
  Screen s;
  s.sword = frontend::RequireOne("MenuSword", kScreen);
  s.menuCards = frontend::RequireCount("MenuOptions", 3, kScreen);
  s.turning = frontend::RequireOptionsSprites(kScreen);
  s.panel = s.turning[2];
  s.bar = s.turning[7];
  s.cards = {s.turning[3], s.turning[4], s.turning[5]};
  return s;
}

struct Cards {
  GameObject* upper;
  GameObject* selected;
  GameObject* lower;
};

// What the screen keeps between frames; the cards linked by handle.
struct OptionsState {
  ObjectHandle upper = NO_OBJECT;
  ObjectHandle selected = NO_OBJECT;
  ObjectHandle lower = NO_OBJECT;
  bool down = false;
  bool leftPressed = false;
  bool barShown = false;
};
OptionsState g_options;

Cards RolesByDepth(const std::vector<Sprite*>& cards) {
  Cards roles{nullptr, nullptr, nullptr};
  for (Sprite* card : cards) {
    if (card->GetDepth() == kDepthUpper) roles.upper = static_cast<GameObject*>(card);
    if (card->GetDepth() == kDepthSelected) roles.selected = static_cast<GameObject*>(card);
    if (card->GetDepth() == kDepthLower) roles.lower = static_cast<GameObject*>(card);
  }
  if (!roles.upper || !roles.selected || !roles.lower) {
    roles = {static_cast<GameObject*>(cards[0]), static_cast<GameObject*>(cards[2]), static_cast<GameObject*>(cards[1])};
  }
  g_options.upper = roles.upper->GetHandle();
  g_options.selected = roles.selected->GetHandle();
  g_options.lower = roles.lower->GetHandle();
  return roles;
}

Cards StoredRoles(const std::vector<Sprite*>& cards) {
  Cards roles{ObjectRegistry::Resolve(g_options.upper), ObjectRegistry::Resolve(g_options.selected),
              ObjectRegistry::Resolve(g_options.lower)};
  if (!roles.upper || !roles.selected || !roles.lower) return RolesByDepth(cards);
  return roles;
}

int WrapFrame(int frame) {
  return (frame % kCardFrames + kCardFrames) % kCardFrames;
}

void Stop(Sprite* sprite) {
  sprite->SetVelocity(0.0f, 0.0f);
}

bool ExactlyOne(ActionBits a, ActionBits b) {
  return (a != 0) != (b != 0);
}

void SnapToRow(Sprite* card) {
  const float y = card->GetPosition().Y();
  float row = y;
  if (y >= 250.0f && y < 300.0f) row = 282.0f;
  if (y >= 300.0f && y < 380.0f) row = 347.0f;
  if (y >= 380.0f && y < 500.0f) row = 412.0f;
  card->MoveTo(Vector2(card->GetPosition().X(), row));
}

int PlayerCount() {
  return static_cast<int>(World::GetPlayerRecords().size());
}

// One frame of a selection move, at counter values 142..181.
void MoveStep(int counter, const Cards& c) {
  const float v = kCardSpeed;
  if (g_options.down) {
    if (counter == 142) {
      c.selected->SetFrame(c.selected->GetFrame() + 1);
      c.upper->SetFrame(WrapFrame(c.upper->GetFrame() - 1));
      c.upper->SetVelocity(0.0f, -v);
      c.selected->SetVelocity(0.0f, v);
      c.lower->SetVelocity(0.0f, -v);
      c.lower->SetDepth(kDepthUpper);
    } else if (counter == 152) {
      c.upper->SetVelocity(0.0f, v);
      c.upper->SetDepth(kDepthSelected);
    } else if (counter == 162) {
      c.lower->SetFrame(WrapFrame(c.upper->GetFrame() - 1));
    } else if (counter == 172) {
      c.selected->SetVelocity(0.0f, -v);
      c.selected->SetDepth(kDepthLower);
    }
  } else {
    if (counter == 142) {
      c.selected->SetFrame(c.selected->GetFrame() + 1);
      c.upper->SetVelocity(0.0f, v);
      c.selected->SetVelocity(0.0f, -v);
      c.lower->SetVelocity(0.0f, v);
      c.lower->SetFrame(WrapFrame(c.lower->GetFrame() - 1));
      c.upper->SetDepth(kDepthLower);
    } else if (counter == 152) {
      c.lower->SetVelocity(0.0f, -v);
      c.lower->SetDepth(kDepthSelected);
    } else if (counter == 162) {
      c.upper->SetFrame(WrapFrame(c.lower->GetFrame() + 3));
    } else if (counter == 172) {
      c.selected->SetVelocity(0.0f, v);
      c.selected->SetDepth(kDepthUpper);
    }
  }
}

// Left takes the last slot away, right adds an empty one; past either end the
// count wraps round. A slot that goes takes its record with it.
void FlipPlayerCount(bool left) {
  World::PlayerRecords& slots = World::GetPlayerRecords();
  if (left) {
    if (!slots.empty()) slots.pop_back();
  } else {
    slots.emplace_back();
  }
  if (PlayerCount() > kMaxPlayers) slots.resize(kMinPlayers);
  if (PlayerCount() < kMinPlayers) slots.resize(kMaxPlayers);
}

}  // namespace

int World::OptionsMenu(int* frameCounter) {
  int& counter = *frameCounter;
  const Screen s = FindScreen();
  SpriteCollection* objects = GetObjects();
  int next = STATE_OPTIONS;
  // "Display menu" leaves from any option, in the frame it is pressed only.
  bool leave = false;
  Input* input = Input::GetInstance();
  VT_ASSERT(input);

  // Entry: the main menu drops away and the options wheel turns in.
  if (counter == 0) {
    s.sword->SetVelocity(0.0f, 250.0f / 30.0f);
    for (Sprite* card : s.menuCards) card->SetVelocity(0.0f, 250.0f / 30.0f);
  }
  if (counter >= 0 && counter < 30) ++counter;
  if (counter == 30) {
    Stop(s.sword);
    for (Sprite* card : s.menuCards) Stop(card);
    const float depths[] = {5.0f, 3.0f, 4.0f, 1.0f, 2.0f, 6.0f, -1.0f, 4.5f};
    for (std::size_t i = 0; i < s.turning.size(); ++i) {
      Sprite* sprite = s.turning[i];
      sprite->SetOrbitAngle(-2.0f * kMenuPi / 3.0f);
      sprite->SetOrbitCentreX(-70.0f);
      sprite->SetOrbitCentreY(470.0f);
      if (depths[i] >= 0.0f) sprite->SetDepth(depths[i]);
    }
    // Option 4 above, option 1 below, option 0 selected.
    const int frames[] = {kBack + 1, kControls + 1, kPlayers};
    for (std::size_t i = 0; i < s.cards.size(); ++i) {
      s.cards[i]->MoveTo(Vector2(280.0f, 347.0f));
      s.cards[i]->SetFrame(frames[i]);
    }
    objects->Sort();
  }
  if (counter >= 30 && counter < 70) {
    ++counter;
    for (Sprite* sprite : s.turning) sprite->SetOrbitAngle(sprite->GetOrbitAngle() + 2.0f * kMenuPi / 120.0f);
  }
  if (counter == 70) {
    for (Sprite* sprite : s.turning) sprite->SetOrbitAngle(0.0f);
  }
  if (counter >= 70 && counter < 90) {
    ++counter;
    s.cards[1]->SetVelocity(0.0f, 60.0f / 20.0f);
  }
  if (counter >= 90 && counter < 110) {
    ++counter;
    s.cards[0]->SetVelocity(0.0f, -60.0f / 20.0f);
    Stop(s.cards[1]);
  }
  if (counter == 110) {
    counter = 121;
    Stop(s.cards[0]);
  }

  // The panel slides in with the selected option's content.
  if (counter == 121) {
    Stop(s.bar);
    g_options.barShown = false;
    s.panel->SetVelocity(kPanelSpeed, 0.0f);
    const Cards roles = RolesByDepth(s.cards);
    switch (roles.selected->GetFrame()) {
      case kPlayers:
        s.panel->SetFrame(PlayerCount() + 1);
        break;
      case kControls:
        s.panel->SetFrame(kControlsPanel);
        break;
      case kMusic:
      case kEffects:
        g_options.barShown = true;
        s.panel->SetFrame(kVolumePanel);
        s.bar->SetScaleX(static_cast<float>(roles.selected->GetFrame() == kMusic ? m_musicVolume
                                                                                  : m_sfxVolume) /
                         100.0f);
        break;
      case kBack:
        s.panel->SetFrame(kBackPanel);
        break;
      default:
        break;
    }
    if (g_options.barShown) s.bar->SetVelocity(kPanelSpeed, 0.0f);
  }
  if (counter >= 121 && counter < 131) ++counter;
  if (counter == kIdle) {
    Stop(s.panel);
    Stop(s.bar);
  }

  // Idle: keys count here only.
  if (counter == kIdle) {
    if (ExactlyOne(input->IsPressed(DOWN_OPTIONS_SELECTION), input->IsPressed(UP_OPTIONS_SELECTION))) {
      counter = 132;
    } else if (ExactlyOne(input->IsHeld(MOVE_LEFT), input->IsHeld(MOVE_RIGHT)) &&
               s.panel->GetFrame() == kVolumePanel) {
      counter = 258;
    } else if (ExactlyOne(input->IsPressed(MOVE_LEFT), input->IsPressed(MOVE_RIGHT))) {
      counter = 183;
    } else if (input->IsPressed(DISPLAY_MENU)) {
      leave = true;
      counter = 204;
    } else if (input->IsPressed(JUMP) || input->IsPressed(ENTER_MENU_SELECTION)) {
      counter = 204;
    }
  }

  // Moving the selection: the panel slides out, the wheel turns, the panel comes back.
  if (counter == 132) {
    g_options.down = input->IsPressed(DOWN_OPTIONS_SELECTION) != 0;
    RolesByDepth(s.cards);
    s.panel->SetVelocity(-kPanelSpeed, 0.0f);
    if (s.panel->GetFrame() == kVolumePanel) s.bar->SetVelocity(-kPanelSpeed, 0.0f);
  }
  if (counter >= 132 && counter < 142) ++counter;
  if (counter == 142) {
    Stop(s.panel);
    Stop(s.bar);
  }
  if (counter >= 142 && counter < 182) {
    MoveStep(counter, StoredRoles(s.cards));
    objects->Sort();
    ++counter;
  }
  if (counter == 182) {
    for (Sprite* card : s.cards) {
      Stop(card);
      SnapToRow(card);
    }
    counter = 121;
  }

  // The number of players: the panel narrows, shows the new count and widens.
  if (counter == 183) {
    const Cards roles = RolesByDepth(s.cards);
    g_options.leftPressed = input->IsPressed(MOVE_LEFT) != 0;
    const int frame = roles.selected->GetFrame();
    if (frame == kControls || frame == kBack) counter = kIdle;
    if (frame == kMusic || frame == kEffects) counter = 258;
  }
  if (counter == 183) FlipPlayerCount(g_options.leftPressed);
  if (counter >= 183 && counter < 193) {
    ++counter;
    s.panel->SetScaleX(s.panel->GetScaleX() - 0.1f);
  }
  if (counter == 193) s.panel->SetFrame(PlayerCount() + 1);
  if (counter >= 193 && counter < 203) {
    ++counter;
    s.panel->SetScaleX(s.panel->GetScaleX() + 0.1f);
  }
  if (counter == 203) {
    s.panel->SetScaleX(1.0f);
    counter = kIdle;
  }

  // Choosing.
  if (counter == 204) {
    const int frame = RolesByDepth(s.cards).selected->GetFrame();
    if (frame == kPlayers || frame == kMusic) counter = kIdle;
    if (frame == kControls) counter = 205;
    if (frame == kEffects) counter = 206;
    if (frame == kBack) counter = 207;
    if (leave) counter = 207;
  }
  if (counter == 205) {
    counter = kIdle;
    if (m_controlsDialog) {
      m_controlsDialog();
    } else {
      input->ConfigureDevices();
    }
  }
  if (counter == 206) {
    SoundEngine().Play("ZODIRAZO_SHOOT");  // a missing sound just stays silent
    counter = kIdle;
  }

  // Leaving: the panel slides out and the wheel turns away.
  if (counter == 207) {
    s.panel->SetVelocity(-kPanelSpeed, 0.0f);
    if (s.panel->GetFrame() == kVolumePanel) s.bar->SetVelocity(-kPanelSpeed, 0.0f);
  }
  if (counter >= 207 && counter < 217) ++counter;
  if (counter == 217) {
    Stop(s.panel);
    Stop(s.bar);
  }
  if (counter >= 217 && counter < 257) {
    ++counter;
    for (Sprite* sprite : s.turning) sprite->SetOrbitAngle(sprite->GetOrbitAngle() - 2.0f * kMenuPi / 120.0f);
  }
  if (counter == 257) {
    for (Sprite* sprite : s.turning) sprite->SetOrbitAngle(2.0f * kMenuPi / 3.0f);
    counter = -1;
    next = STATE_MAIN_MENU;
  }

  // One volume step per frame while left or right is held.
  if (counter == 258) {
    const bool music = RolesByDepth(s.cards).selected->GetFrame() == kMusic;
    int& volume = music ? m_musicVolume : m_sfxVolume;
    if (!input->IsHeld(MOVE_LEFT)) {
      if (volume < 100) ++volume;
    } else if (volume > 0) {
      --volume;
    }
    s.bar->SetOrbitAngle(0.0f);
    s.bar->SetScaleX(static_cast<float>(volume) / 100.0f);
    SoundEngine sound;
    sound.SetSfxVolume(m_sfxVolume);
    sound.SetMusicVolume(m_musicVolume);
    counter = kIdle;
  }

  objects->Update(false);
  return next;
}
