#include "game/screens/FrontEndSprites.h"

#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace frontend {

std::string CurrentLevelFile() {
  const int entry = World::GetCurrentEntry();
  const auto& entries = World::GetLevelEntries();
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return "no level";
  return entries[static_cast<std::size_t>(entry)].file;
}

std::vector<Sprite*> RequireCount(const std::string& name, std::size_t count,
                                  const std::string& screen) {
  SpriteCollection* objects = World::GetObjects();
  VT_ASSERT(objects);
  std::vector<Sprite*> found = objects->FindAll(name);
  if (found.size() != count) {
    DataFileError(CurrentLevelFile(), "the " + screen + " needs " + std::to_string(count) +
                                          " \"" + name + "\" in the level's objects, found " +
                                          std::to_string(found.size()));
  }
  return found;
}

std::vector<Sprite*> RequireAtLeast(const std::string& name, std::size_t count,
                                    const std::string& screen) {
  SpriteCollection* objects = World::GetObjects();
  VT_ASSERT(objects);
  std::vector<Sprite*> found = objects->FindAll(name);
  if (found.size() < count) {
    DataFileError(CurrentLevelFile(), "the " + screen + " needs at least " + std::to_string(count) +
                                          " \"" + name + "\" in the level's objects, found " +
                                          std::to_string(found.size()));
  }
  return found;
}

Sprite* RequireOne(const std::string& name, const std::string& screen) {
  return RequireCount(name, 1, screen).front();
}

std::vector<Sprite*> RequireOptionsSprites(const std::string& screen) {
  std::vector<Sprite*> sprites;
  sprites.push_back(RequireOne("OptionGunTop", screen));
  sprites.push_back(RequireOne("OptionGunBottom", screen));
  sprites.push_back(RequireOne("OptionsItems", screen));
  for (Sprite* card : RequireCount("OptionsOption", 3, screen)) sprites.push_back(card);
  sprites.push_back(RequireOne("OptionGunMiddle", screen));
  sprites.push_back(RequireOne("SoundBar", screen));
  return sprites;
}

}  // namespace frontend
