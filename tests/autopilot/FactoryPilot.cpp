// The factory pilot. (Placeholder: runs right and jumps when it stops.)
#include "autopilot/Pilot.h"
#include "game/PlayerObject.h"

namespace autopilot {
namespace {

class FactoryPilot : public Pilot {
 public:
  ActionBits Next(int frame) override {
    const PlayerObject* hero = Hero();
    ActionBits keys = MOVE_RIGHT;
    if (hero && hero->GetVelocity().X() == 0.0f && frame % 2 == 0) keys |= JUMP;
    return keys;
  }
  std::string Phase() const override { return "run right"; }
};

}  // namespace

std::unique_ptr<Pilot> MakeFactoryPilot() { return std::make_unique<FactoryPilot>(); }

}  // namespace autopilot
