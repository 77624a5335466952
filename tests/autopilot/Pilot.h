// A level's pilot for the test-only autopilot: it reads the World after each frame
// and says which actions to hold during the next one.
//
// A pilot only reads. The recording it leaves is replayed without it, so anything it
// changes (an object, a flag, a random number drawn) would make the replay differ:
// read flags through GetFlags(), never GetFlag() or AddFlag(), and never call rand().
#pragma once

#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/input/Input.h"

class GameObject;
class PlayerObject;

namespace autopilot {

class Pilot {
 public:
  virtual ~Pilot() = default;
  // The actions to hold during the next frame; `frame` counts play frames from 1.
  virtual ActionBits Next(int frame) = 0;
  // Where the pilot stands (its phase and what it waits for), for reports.
  virtual std::string Phase() const = 0;
};

// Null for a level with no pilot.
std::unique_ptr<Pilot> MakePilot(std::string_view level);
std::unique_ptr<Pilot> MakeJunkyardPilot();
std::unique_ptr<Pilot> MakeFactoryPilot();
std::unique_ptr<Pilot> MakeAirshipPilot();

// Read-only looks at the World that every pilot needs.
PlayerObject* Hero();
// The live objects of the main list with that name (dormant ones are parked
// off screen and not listed).
std::vector<GameObject*> Live(const std::string& name);
// A flag's value, or `otherwise` when the object has no such flag.
float FlagOr(const GameObject& object, const std::string& name, float otherwise);

// A world box, empty until something is put in it.
struct Box {
  float left = std::numeric_limits<float>::max();
  float top = std::numeric_limits<float>::max();
  float right = std::numeric_limits<float>::lowest();
  float bottom = std::numeric_limits<float>::lowest();
  bool Empty() const { return left > right; }
  bool Overlaps(float l, float t, float r, float b) const {
    return l < right && r > left && t < bottom && b > top;
  }
};
// The world box of one polygon of an object's shape, or of the whole shape for -1; empty
// when it has no such polygon.
Box BoxOf(const GameObject& object, int polygon = -1);

// Whether VANTREL_PILOT_TRACE asks the pilots to say on stderr what they do.
bool Tracing();

}  // namespace autopilot
