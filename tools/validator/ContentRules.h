// What the game's code expects of the content it looks up by name: the state
// animations, frame meanings and polygon indices of each prototype it knows, and the
// animations the HUD and the level loader open by fixed path.
#pragma once

#include <map>
#include <string>

#include "AnimationStore.h"
#include "ListFiles.h"
#include "Problems.h"

class GameObject;

namespace validator {

// A prototype as the game's prototype reader built it.
struct PrototypeView {
  std::string name;
  std::string list;  // the file that lists it
  const Animation* initial = nullptr;
  std::map<int, const Animation*> states;  // every state the object can be set to

  static PrototypeView Of(const GameObject& prototype, const std::string& list);
  const Animation* State(int state) const;
};

// The rules for the prototype's name, if the game gives that name a meaning.
void CheckPrototype(const PrototypeView& prototype, Problems& problems);
// Every sword swing must outlast the combo window, or a combo can never start.
void CheckSwingsOutlastComboWindow(const PrototypeView& hero, float windowEnd,
                                   const std::string& tuningFile, Problems& problems);
// The HUD's animations and the bound wall, which the game opens by fixed path.
void CheckFixedAnimations(AnimationStore& store, Problems& problems);

// Names the code finds in the global prototype pool only.
bool MustBeGlobal(const std::string& name);

// The level's tutorial script "data/tut" + its file: the game's reader must not stop
// on it, and its messages must be able to show; a "Tutorial" trigger needs a script
// and a script its trigger. False when the game's reader would stop on the script
// (the level reader reads it too).
bool CheckTutorialScript(const std::string& levelFile, const LevelData& level,
                         Problems& problems);

}  // namespace validator
