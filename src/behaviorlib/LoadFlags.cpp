#include "behaviorlib/LoadFlags.h"

#include <fstream>
#include <string>

#include "game/objects/GameObject.h"

namespace {
constexpr std::streamsize kMaxLineRest = 1024;
}  // namespace

void LoadFlags(GameObject* object) {
  std::ifstream file("data/" + object->GetName() + "Flags.ini");
  std::string name;
  float value = 0.0f;
  // Stops at the end of the file or at the first line that is not a name and a number.
  while (file >> name >> value) {
    object->AddFlag(name, value);
    file.ignore(kMaxLineRest, '\n');
  }
}
