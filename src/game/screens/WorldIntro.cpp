// The intro (state 1): the school's letters drift and turn beside the seal, the
// three team logos appear one after another, then the copyright line. A fixed
// timeline on the frame counter that reads no input and cannot be skipped;
// each block sees the counter as the blocks before it in the same frame left it.
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/screens/FrontEndSprites.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

constexpr const char* kScreen = "intro";
// The letters' turns take pi as 3.14, as the menus do.
constexpr float kPi = frontend::kMenuPi;
constexpr float kDrift = 30.0f / 60.0f;
constexpr float kSlow = 50.0f / 60.0f;
constexpr float kFast = 100.0f / 60.0f;
// The letters are removed at 571; later frames no longer look for them.
constexpr int kLettersGone = 571;
constexpr int kEnd = 667;

// Our three studio logos appear at 182, 352 and 522.
using frontend::kTeamLogos;

struct Letters {
  Sprite* i = nullptr;
  Sprite* d1 = nullptr;
  Sprite* d2 = nullptr;
};

// I is the first "HalvornI"; D1 and D2 are the first and the last "HalvornD".
Letters FindLetters() {
  Letters letters;
  letters.i = frontend::RequireAtLeast("HalvornI", 1, kScreen).front();
  const std::vector<Sprite*> ds = frontend::RequireAtLeast("HalvornD", 2, kScreen);
  letters.d1 = ds.front();
  letters.d2 = ds.back();
  return letters;
}

// A missing logo would otherwise be found only halfway through the intro.
void RequireTeamLogos() {
  for (const char* name : kTeamLogos) {
    if (!World::FindPrototype(name)) {
      DataFileError(frontend::CurrentLevelFile(),
                    "the intro needs the prototype \"" + std::string(name) +
                        "\" in the level's prototypes or SpriteList.vtsl");
    }
  }
}

void AddTeamLogo(int index, const Vector2& at) {
  Sprite* prototype = World::FindPrototype(kTeamLogos[index]);
  VT_ASSERT(prototype);  // checked at the start of the intro
  Sprite* logo = prototype->Clone();
  logo->MoveTo(at);
  World::GetObjects()->Add(logo);
}

void Stop(Sprite* sprite) {
  sprite->SetVelocity(0.0f, 0.0f);
}

void TurnBy(Sprite* sprite, float step) {
  sprite->SetOrbitAngle(sprite->GetOrbitAngle() + step);
}

}  // namespace

int World::IntroScreens(int* frameCounter) {
  int& counter = *frameCounter;
  SpriteCollection* objects = GetObjects();
  VT_ASSERT(objects);
  const Letters l = counter <= kLettersGone ? FindLetters() : Letters{};

  if (counter == 0) {
    SoundEngine().StopMusic();
    RequireTeamLogos();
    frontend::RequireAtLeast("Copyright", 1, kScreen);
    for (Sprite* seal : objects->FindAll("HNOfficialSeal")) {
      seal->SetScaleX(0.5f);
      seal->SetScaleY(0.5f);
    }
  }
  if (counter >= 0 && counter <= 120) ++counter;
  if (counter == 121) {
    l.d1->SetVelocity(0.0f, kDrift);
    l.i->SetVelocity(0.0f, kDrift);
    l.d2->SetOrbitCentreX(l.i->GetPosition().X());
    l.d2->SetOrbitCentreY(l.i->GetPosition().Y());
  }
  if (counter >= 121 && counter <= 181) {
    ++counter;
    if (counter < 181) TurnBy(l.d2, -kPi / 120.0f);
  }
  if (counter == 182) {
    Stop(l.d1);
    Stop(l.i);
    l.d2->SetOrbitAngle(-kPi / 2.0f);
    AddTeamLogo(0, Vector2(l.i->GetPosition().X(), l.i->GetPosition().Y() - 85.0f));
  }
  if (counter >= 182 && counter <= 229) ++counter;
  if (counter == 230) {
    l.d1->SetVelocity(kSlow, 0.0f);
    l.i->SetVelocity(kSlow, 0.0f);
    l.d2->SetVelocity(0.0f, kSlow);
    SoundEngine().PlayMusic();
  }
  if (counter >= 230 && counter <= 290) ++counter;
  if (counter == 291) {
    Stop(l.d2);
    l.d1->SetVelocity(0.0f, -kDrift);
    l.i->SetVelocity(0.0f, -kDrift);
    const Vector2 i = l.i->GetPosition();
    const Vector2 d1 = l.d1->GetPosition();
    l.d1->SetOrbitCentreX(i.X());
    l.d2->SetOrbitCentreX(i.X());
    l.d2->MoveTo(Vector2(2.0f * i.X() - d1.X(), 2.0f * i.Y() - d1.Y() - 30.0f));
  }
  if (counter >= 291 && counter <= 351) {
    ++counter;
    if (counter < 351) {
      l.d1->SetOrbitCentreY(l.d1->GetPosition().Y());
      TurnBy(l.d1, -kPi / 60.0f);
      TurnBy(l.d2, kPi / 120.0f);
    }
  }
  if (counter == 352) {
    Stop(l.d1);
    Stop(l.i);
    l.d2->SetOrbitAngle(0.0f);
    l.d1->SetOrbitAngle(0.0f);
    l.d1->MoveTo(Vector2(l.d2->GetPosition().X(), l.d1->GetPosition().Y()));
    l.d1->SetFacingLeft(false);
    AddTeamLogo(1, l.d2->GetPosition());
  }
  if (counter >= 352 && counter <= 399) ++counter;
  if (counter == 400) {
    for (Sprite* letter : {l.d1, l.i, l.d2}) letter->SetVelocity(kFast, 0.0f);
  }
  if (counter >= 400 && counter <= 460) ++counter;
  if (counter == 461) {
    Stop(l.d1);
    Stop(l.d2);
    l.i->SetVelocity(0.0f, -kDrift);
    for (Sprite* d : {l.d1, l.d2}) {
      d->SetOrbitCentreX(d->GetPosition().X() - 32.0f);
      d->SetOrbitCentreY(d->GetPosition().Y() - 32.0f);
    }
  }
  if (counter >= 461 && counter <= 521) {
    ++counter;
    TurnBy(l.d1, -kPi / 120.0f);
    TurnBy(l.d2, -kPi / 120.0f);
  }
  if (counter == 522) {
    Stop(l.i);
    for (Sprite* letter : {l.d1, l.i, l.d2}) letter->SetFrame(1);
    AddTeamLogo(2, Vector2(l.d2->GetPosition().X() + 5.0f, l.d2->GetPosition().Y() - 65.0f));
  }
  if (counter >= 522 && counter <= 570) ++counter;
  if (counter == kLettersGone) {
    for (Sprite* letter : {l.d1, l.i, l.d2}) letter->SetDead(true);
    frontend::RequireAtLeast("Copyright", 1, kScreen).front()->AdvanceFrame();
  }
  if (counter >= kLettersGone && counter <= kEnd - 1) ++counter;
  if (counter == kEnd) {
    // The World loads the level listed for the next state.
    SetCurrentEntry(GetCurrentEntry() + 1);
    objects->Clear();
    return STATE_INTRO_DONE;
  }

  objects->Update(false);
  return STATE_INTRO;
}
