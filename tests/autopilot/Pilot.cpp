#include "autopilot/Pilot.h"

#include <algorithm>
#include <cstdlib>

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

PlayerObject* Hero() {
  return World::GetPlayer();
}

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

Box BoxOf(const GameObject& object, int polygon) {
  Box box;
  const CollisionShape& shape = object.GetCollisionShape();
  for (int i = 0; i < shape.GetPolygonCount(); ++i) {
    if (polygon >= 0 && i != polygon) continue;
    for (const CollisionVertex& v : shape.GetPolygon(static_cast<std::size_t>(i)).GetVertices()) {
      const Vector2& p = v.GetPosition();
      box.left = std::min(box.left, p.X());
      box.right = std::max(box.right, p.X());
      box.top = std::min(box.top, p.Y());
      box.bottom = std::max(box.bottom, p.Y());
    }
  }
  return box;
}

bool Tracing() {
  static const bool on = std::getenv("VANTREL_PILOT_TRACE") != nullptr;
  return on;
}

}  // namespace autopilot
