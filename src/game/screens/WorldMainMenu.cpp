// The main menu (state 3): a sword and three item cards that turn like a wheel.
// Written as chained blocks on the frame counter: each block sees the counter as
// the blocks before it in the same frame left it.
#include <array>
#include <cmath>

#include "animationlib/SpriteCollection.h"
#include "game/input/Input.h"
#include "game/objects/GameObject.h"
#include "game/screens/FrontEndSprites.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Window.h"

namespace {

using frontend::kMenuPi;

constexpr const char* kScreen = "main menu";
constexpr float kCardSpeed = 110.0f / 40.0f;
constexpr float kExitSpeed = 1600.0f / 60.0f;
constexpr float kRowUpper = 405.0f, kRowSelected = 460.0f, kRowLower = 515.0f;
constexpr float kDepthUpper = 1.0f, kDepthSelected = 4.0f, kDepthLower = 2.0f;
constexpr int kItems = 6;
constexpr int kIdle = 71;
constexpr int kChoice = 113;

enum Item { kStartGame, kOptions, kHighScores, kQuit, kCredits, kStory };
enum ExitKind { kSwing, kSpin, kSlide };

// What the menu keeps between frames. The cards are linked by handle, so a
// reloaded level can never leave a dangling role behind.
struct MenuState {
  ObjectHandle upper = NO_OBJECT;
  ObjectHandle selected = NO_OBJECT;
  ObjectHandle lower = NO_OBJECT;
  bool down = false;
  int exitKind = kSwing;
  int fadeLength = 0;
};
MenuState g_menu;

// Everything in the World's lists is a GameObject.
ObjectHandle HandleOf(Sprite* sprite) {
  return static_cast<GameObject*>(sprite)->GetHandle();
}

struct Cards {
  Sprite* upper;
  Sprite* selected;
  Sprite* lower;
};

// The roles as last stored; cards that no longer exist take their roles from
// list order, as the return from the options screen assigns them.
Cards StoredRoles(const std::vector<Sprite*>& cards) {
  GameObject* upper = ObjectRegistry::Resolve(g_menu.upper);
  GameObject* selected = ObjectRegistry::Resolve(g_menu.selected);
  GameObject* lower = ObjectRegistry::Resolve(g_menu.lower);
  if (!upper || !selected || !lower) return {cards[2], cards[1], cards[0]};
  return {upper, selected, lower};
}

void StoreRoles(const Cards& roles) {
  g_menu.upper = HandleOf(roles.upper);
  g_menu.selected = HandleOf(roles.selected);
  g_menu.lower = HandleOf(roles.lower);
}

// Roles by exact depth. A level whose cards lost their depths (never in play)
// falls back on list order rather than a missing role.
Cards RolesByDepth(const std::vector<Sprite*>& cards) {
  Cards roles{nullptr, nullptr, nullptr};
  for (Sprite* card : cards) {
    if (card->GetDepth() == kDepthUpper) roles.upper = card;
    if (card->GetDepth() == kDepthSelected) roles.selected = card;
    if (card->GetDepth() == kDepthLower) roles.lower = card;
  }
  if (!roles.upper || !roles.selected || !roles.lower) roles = {cards[2], cards[1], cards[0]};
  StoreRoles(roles);
  return roles;
}

int Wrap(int item) {
  return (item % kItems + kItems) % kItems;
}

void Stop(Sprite* sprite) {
  sprite->SetVelocity(0.0f, 0.0f);
}

void TurnBy(Sprite* sprite, float step) {
  sprite->SetOrbitAngle(sprite->GetOrbitAngle() + step);
}

void SnapToRow(Sprite* card) {
  const float y = card->GetPosition().Y();
  float row = y;
  if (y >= 400.0f && y < 410.0f) row = kRowUpper;
  if (y >= 455.0f && y < 465.0f) row = kRowSelected;
  if (y >= 510.0f && y < 520.0f) row = kRowLower;
  card->MoveTo(Vector2(card->GetPosition().X(), row));
}

int ExitKindOf(int item) {
  if (item == kStartGame || item == kQuit) return kSwing;
  if (item == kOptions || item == kCredits) return kSpin;
  return kSlide;
}

// Exactly one of the two direction keys: both at once count as neither.
bool OneDirectionPressed(const Input& input) {
  return (input.IsPressed(DOWN_OPTIONS_SELECTION) != 0) != (input.IsPressed(UP_OPTIONS_SELECTION) != 0);
}

// One frame of a selection move, at counter values 72..111.
void MoveStep(int counter, const Cards& c) {
  const float v = kCardSpeed;
  if (g_menu.down) {
    // The upper card comes to the middle; the item before the old one is selected.
    if (counter == 72) {
      c.upper->SetVelocity(0.0f, -v);
      c.selected->SetVelocity(0.0f, v);
      c.lower->SetVelocity(0.0f, -v);
      c.lower->SetDepth(kDepthUpper);
    } else if (counter == 82) {
      c.upper->SetVelocity(0.0f, v);
      c.upper->SetDepth(kDepthSelected);
    } else if (counter == 92) {
      c.lower->SetFrame(Wrap(c.upper->GetFrame() - 1));
    } else if (counter == 102) {
      c.selected->SetVelocity(0.0f, -v);
      c.selected->SetDepth(kDepthLower);
    }
  } else {
    if (counter == 72) {
      c.upper->SetVelocity(0.0f, v);
      c.upper->SetDepth(kDepthLower);
      c.selected->SetVelocity(0.0f, -v);
      c.lower->SetVelocity(0.0f, v);
    } else if (counter == 82) {
      c.lower->SetVelocity(0.0f, -v);
      c.lower->SetDepth(kDepthSelected);
    } else if (counter == 92) {
      c.upper->SetFrame(Wrap(c.lower->GetFrame() + 1));
    } else if (counter == 102) {
      c.selected->SetVelocity(0.0f, v);
      c.selected->SetDepth(kDepthUpper);
    }
  }
}

// The chosen item takes effect; returns the next state.
int Leave(int item) {
  SpriteCollection* objects = World::GetObjects();
  const auto fadeIn = [] { World::StartFade(30, 0xFF000000, 0x00000000); };
  switch (item) {
    case kStartGame:
      fadeIn();
      objects->Clear();
      World::GetLevelList(STATE_GAMEPLAY)->index = 0;
      // A new entry makes the World load the first level for the new state.
      World::SetCurrentEntry(World::GetCurrentEntry() + 1);
      return STATE_GAMEPLAY;
    case kOptions:
      return STATE_OPTIONS;
    case kHighScores:
      fadeIn();
      return STATE_HIGH_SCORES;
    case kQuit:
      // Asked again every frame until the loop ends on it.
      if (platform::Window* window = World::GetWindow()) window->PostQuit();
      return STATE_MAIN_MENU;
    case kCredits:
      fadeIn();
      return STATE_CREDITS;
    default:
      fadeIn();
      return STATE_STORY;
  }
}

}  // namespace

int World::MainMenu(int* frameCounter) {
  int& counter = *frameCounter;
  SpriteCollection* objects = GetObjects();
  Sprite* sword = frontend::RequireOne("MenuSword", kScreen);
  const std::vector<Sprite*> cards = frontend::RequireCount("MenuOptions", 3, kScreen);
  int next = STATE_MAIN_MENU;

  // Back from the options screen: the selection starts again at item 0.
  if (counter == -1) {
    sword->SetVelocity(0.0f, -250.0f / 30.0f);
    for (Sprite* card : cards) {
      card->SetOrbitAngle(0.0f);
      Stop(card);
      card->SetDepth(kDepthUpper);
    }
    const Cards roles{cards[2], cards[1], cards[0]};
    StoreRoles(roles);
    roles.upper->SetFrame(kItems - 1);
    roles.selected->SetFrame(kStartGame);
    roles.lower->SetFrame(kOptions);
  }
  if (counter > -31 && counter < 0) --counter;
  // Back from the story or the credits: the cards shuffle from one spot.
  if (counter == -31) {
    const Cards roles = StoredRoles(cards);
    StoreRoles(roles);
    Stop(sword);
    for (Sprite* card : cards) {
      card->SetDepth(kDepthUpper);
      card->SetOrbitAngle(0.0f);
      Stop(card);
      card->MoveTo(Vector2(540.0f, kRowSelected));
    }
    roles.lower->SetVelocity(0.0f, -kCardSpeed);
    objects->Sort();
  }
  if (counter >= -130 && counter <= -31) {
    --counter;
    const Cards roles = StoredRoles(cards);
    if (counter == -61) {
      roles.lower->SetVelocity(0.0f, kCardSpeed);
      roles.lower->SetDepth(kDepthSelected);
    } else if (counter == -71) {
      roles.selected->SetVelocity(0.0f, -kCardSpeed);
    } else if (counter == -101) {
      roles.selected->SetVelocity(0.0f, kCardSpeed);
      roles.selected->SetDepth(kDepthSelected);
    } else if (counter == -111) {
      roles.upper->SetVelocity(0.0f, -kCardSpeed);
    } else if (counter == -121) {
      roles.lower->SetVelocity(0.0f, -kCardSpeed);
      roles.lower->SetDepth(kDepthLower);
    }
    objects->Sort();
  }
  if (counter == -131) {
    counter = kIdle;
    for (Sprite* card : cards) Stop(card);
  }

  // The first showing, after the intro or a game.
  const float turnedAway = -2.0f * kMenuPi / 3.0f;
  if (counter == 0) {
    ClearPlayerRecords();
    std::array<Sprite*, 4> wheel = {sword, cards[0], cards[1], cards[2]};
    const float depths[] = {3.0f, 1.0f, 2.0f, 4.0f};
    for (std::size_t i = 0; i < wheel.size(); ++i) {
      wheel[i]->SetOrbitAngle(turnedAway);
      wheel[i]->SetOrbitCentreX(100.0f);
      wheel[i]->SetOrbitCentreY(450.0f);
      wheel[i]->SetDepth(depths[i]);
    }
    cards[0]->SetFrame(kItems - 1);
    cards[1]->SetFrame(kOptions);
    StoreRoles({cards[0], cards[2], cards[1]});

    // The options screen's sprites wait turned out of view.
    const std::vector<Sprite*> options = frontend::RequireOptionsSprites(kScreen);
    const float optionDepths[] = {5.0f, 3.0f, 4.5f, 1.0f, 2.0f, 6.0f, -1.0f, 4.0f};
    for (std::size_t i = 0; i < options.size(); ++i) {
      options[i]->SetOrbitAngle(turnedAway);
      options[i]->SetOrbitCentreX(-70.0f);
      options[i]->SetOrbitCentreY(470.0f);
      if (optionDepths[i] >= 0.0f) options[i]->SetDepth(optionDepths[i]);
    }
    options[3]->SetFrame(5);
    options[4]->SetFrame(3);
    objects->Sort();
  }
  if (counter >= 0 && counter < 30) {
    ++counter;
    TurnBy(sword, 2.0f * kMenuPi / 90.0f);
    for (Sprite* card : cards) TurnBy(card, 2.0f * kMenuPi / 90.0f);
  }
  if (counter == 30) {
    sword->SetOrbitAngle(0.0f);
    for (Sprite* card : cards) card->SetOrbitAngle(0.0f);
  }
  if (counter >= 30 && counter < 50) {
    ++counter;
    cards[1]->SetVelocity(0.0f, 55.0f / 20.0f);
  }
  if (counter >= 50 && counter < 70) {
    ++counter;
    cards[0]->SetVelocity(0.0f, -55.0f / 20.0f);
    Stop(cards[1]);
  }
  if (counter == 70) {
    counter = kIdle;
    Stop(cards[0]);
  }

  // Idle: the only point where keys count.
  if (counter == kIdle) {
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    if (OneDirectionPressed(*input)) {
      counter = 72;
    } else if (input->IsPressed(JUMP) || input->IsPressed(ENTER_MENU_SELECTION)) {
      counter = kChoice;
    }
  }
  if (counter == 72) {
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    g_menu.down = input->IsPressed(DOWN_OPTIONS_SELECTION) != 0;
    RolesByDepth(cards);
  }
  if (counter >= 72 && counter < 112) {
    MoveStep(counter, StoredRoles(cards));
    objects->Sort();
    ++counter;
  }
  if (counter == 112) {
    // The motion alone misses the rows by a little; the snap puts the cards on them.
    for (Sprite* card : cards) {
      Stop(card);
      SnapToRow(card);
    }
    counter = kIdle;
  }

  // The choice and its exit motion.
  if (counter == kChoice) {
    const Cards roles = RolesByDepth(cards);
    g_menu.exitKind = ExitKindOf(roles.selected->GetFrame());
    if (g_menu.exitKind == kSlide) {
      sword->SetVelocity(-kExitSpeed, 0.0f);
      roles.upper->SetVelocity(-kExitSpeed, 0.0f);
      roles.lower->SetVelocity(-kExitSpeed, 0.0f);
    }
  }
  if (counter >= kChoice && counter < 173) {
    ++counter;
    const Cards roles = StoredRoles(cards);
    const int kind = g_menu.exitKind;
    const float step = kind == kSwing ? -kMenuPi / 60.0f : kind == kSpin ? 2.0f * kMenuPi / 60.0f : 0.0f;
    if (counter == 143) {
      if (kind == kSwing) {
        roles.upper->SetVelocity(0.0f, -kExitSpeed);
        roles.lower->SetVelocity(0.0f, -kExitSpeed);
      } else if (kind == kSlide) {
        sword->SetVelocity(kExitSpeed, 0.0f);
        Stop(roles.upper);
        Stop(roles.lower);
        roles.selected->SetDepth(kDepthUpper);
      }
    }
    if (kind != kSlide) {
      if (counter > 143) {
        // The swing turns the sword back; the spin carries it on round.
        TurnBy(sword, kind == kSwing ? -step : step);
        roles.selected->SetDepth(kDepthUpper);
      } else {
        TurnBy(sword, step);
        TurnBy(roles.upper, step);
        TurnBy(roles.lower, step);
      }
    }
    if (counter == 172 && kind == kSlide) Stop(sword);
    objects->Sort();
  }
  if (counter == 173) {
    sword->SetOrbitAngle(0.0f);
    sword->SetFrame(1);
    for (Sprite* card : cards) Stop(card);
  }
  if (counter >= 173 && counter < 243) ++counter;
  const int item = StoredRoles(cards).selected->GetFrame();
  if (counter == 243) {
    const bool fades = item != kOptions && item != kQuit;
    if (fades) StartFade(30, 0x00000000, 0xFF000000);
    g_menu.fadeLength = fades ? 30 : 0;
  }
  if (counter >= 243 && counter <= 243 + g_menu.fadeLength) ++counter;
  if (counter == 244 + g_menu.fadeLength) next = Leave(item);

  objects->Update(false);
  return next;
}
