#include "IntroRules.h"

#include <algorithm>
#include <vector>

#include "AnimationStore.h"
#include "animationlib/Animation.h"
#include "game/screens/FrontEndSprites.h"

namespace validator {

namespace {

struct IntroSprite {
  const char* name;
  std::size_t atLeast;
  int heldFrames;  // frames the intro sets or advances to, each held
};
const IntroSprite kIntroSprites[] = {
    {"HalvornI", 1, 2}, {"HalvornD", 2, 2}, {"HNOfficialSeal", 1, 0}, {"Copyright", 1, 2}};

}  // namespace

void CheckIntroLevel(const std::string& file, const LevelData& level,
                     const std::function<bool(const std::string&)>& prototypeExists,
                     const std::function<const Animation*(const std::string&)>& prototypeAnimation,
                     Problems& problems) {
  for (const IntroSprite& sprite : kIntroSprites) {
    std::vector<PlacedObject> placed;
    std::copy_if(level.main.begin(), level.main.end(), std::back_inserter(placed),
                 [&](const PlacedObject& o) { return o.name == sprite.name; });
    if (placed.size() < sprite.atLeast) {
      problems.Add(file, "the intro needs at least " + std::to_string(sprite.atLeast) + " " +
                             Quoted(sprite.name) + " in section 7, found " +
                             std::to_string(placed.size()));
      continue;
    }
    // The intro turns the first D round to face right, so it must start mirrored.
    if (std::string(sprite.name) == "HalvornD") {
      std::stable_sort(placed.begin(), placed.end(), [](const PlacedObject& a, const PlacedObject& b) {
        return a.depth < b.depth;
      });
      if (!placed.front().facingLeft) {
        problems.Add(file, "the first \"HalvornD\" in list order must be placed mirrored (facing 1)");
      }
    }
    const Animation* a = prototypeAnimation(sprite.name);
    if (!a) continue;  // reported with the prototypes
    bool held = a->GetFrameCount() >= sprite.heldFrames;
    for (int f = 0; held && f < sprite.heldFrames; ++f) held = IsHeld(*a, f);
    if (!held) {
      problems.Add(file, Quoted(sprite.name) + " needs " + std::to_string(sprite.heldFrames) +
                             " held frames in " + Quoted(a->GetName()));
    }
    if (std::string(sprite.name) == "Copyright" && held && a->GetFrames().front().GetNextFrame() != 1) {
      problems.Add(file, "\"Copyright\" frame 0 must lead to frame 1: the intro advances it once");
    }
  }
  for (const char* logo : frontend::kTeamLogos) {
    if (!prototypeExists(logo)) {
      problems.Add(file, "the intro clones the team logo " + Quoted(logo) +
                             ", which is neither in this level's prototypes nor the global list");
    }
  }
}

}  // namespace validator
