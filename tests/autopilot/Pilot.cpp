#include "autopilot/Pilot.h"

#include "animationlib/SpriteCollection.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace autopilot {

std::unique_ptr<Pilot> MakePilot(std::string_view level) {
  if (level == "junkyard") return MakeJunkyardPilot();
  if (level == "factory") return MakeFactoryPilot();
  if (level == "airship") return MakeAirshipPilot();
  return nullptr;
}

PlayerObject* Hero() { return World::GetPlayer(); }

std::vector<GameObject*> Live(const std::string& name) {
  std::vector<GameObject*> found;
  if (SpriteCollection* objects = World::GetObjects()) {
    for (Sprite* sprite : objects->FindAll(name)) {
      if (GameObject* object = sprite->AsGameObject()) found.push_back(object);
    }
  }
  return found;
}

float FlagOr(const GameObject& object, const std::string& name, float otherwise) {
  const auto& flags = object.GetFlags();
  const auto it = flags.find(name);
  return it == flags.end() ? otherwise : it->second;
}

}  // namespace autopilot
