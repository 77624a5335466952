// Every ".acd" file the validator meets, read once with the game's animation reader and
// checked on its own: its image and frame grid, frame times, polygons and their types.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "Problems.h"
#include "animationlib/Animation.h"

namespace validator {

class AnimationStore {
 public:
  explicit AnimationStore(Problems& problems) : m_problems(problems) {}

  // The animation of a file relative to the working folder; null when the game could not
  // use it (it does not load, or its frames do not fit its image, which the game asserts).
  // Problems are reported the first time a file is asked for.
  const Animation* Get(const std::string& path);
  bool Exists(const std::string& path) const;

  // Every file read so far that the game can use, by path.
  const std::map<std::string, std::unique_ptr<Animation>>& Loaded() const { return m_loaded; }

 private:
  void CheckImage(const std::string& path, const Animation& animation, bool& usable);
  void CheckFrames(const std::string& path, const Animation& animation);

  Problems& m_problems;
  std::map<std::string, std::unique_ptr<Animation>> m_loaded;
  std::map<std::string, bool> m_seen;
};

// Frame i exists and is held (0 ticks: it shows until the code moves on).
bool IsHeld(const Animation& animation, int frame);
// The sum of every frame's ticks.
int TotalTicks(const Animation& animation);

// The polygon types as the loaded collision table treats them.
bool TypeInTable(int type);
bool TypeIsSolid(int type);  // collides as a solid with some type
bool TypeReacts(int type);   // overlaps or collides with some type

}  // namespace validator
