// The airship pilot. (Placeholder: runs right and jumps when it stops.)
#include "autopilot/Pilot.h"
#include "game/PlayerObject.h"

namespace autopilot {
namespace {

class AirshipPilot : public Pilot {
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

std::unique_ptr<Pilot> MakeAirshipPilot() { return std::make_unique<AirshipPilot>(); }

}  // namespace autopilot
