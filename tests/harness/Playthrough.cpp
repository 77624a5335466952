#include "harness/Playthrough.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/level/StateLevelList.h"
#include "game/player/PlayerObject.h"
#include "game/world/GameState.h"
#include "game/world/World.h"
#include "support/PlayCopy.h"

namespace testharness {

const std::vector<PlaythroughLevel>& PlaythroughLevels() {
  // The junkyard's cores grant Stride and WallJump, the factory's Cyclone and SuperJump.
  static const std::vector<PlaythroughLevel> levels = {
      {"junkyard", 0, 0},
      {"factory", 1, ABILITY_STRIDE | ABILITY_WALL_JUMP},
      {"airship", 2, ABILITY_STRIDE | ABILITY_WALL_JUMP | ABILITY_CYCLONE | ABILITY_SUPER_JUMP},
  };
  return levels;
}

const PlaythroughLevel* FindPlaythroughLevel(std::string_view name) {
  for (const PlaythroughLevel& level : PlaythroughLevels()) {
    if (level.name == name) return &level;
  }
  return nullptr;
}

Playthrough::Playthrough(PlaythroughLevel level) : m_level(std::move(level)) {
  m_folder = m_data.Path() / "game";
  testsupport::CopyShipped(m_folder);
  // The shipped list with its start moved to play at this level: level complete then
  // hands over to the next level as in a whole game.
  std::ifstream in(m_folder / "Gold.vt");
  std::string header;
  std::getline(in, header);
  std::stringstream rest;
  rest << in.rdbuf();
  in.close();
  std::ofstream(m_folder / "Gold.vt") << STATE_GAMEPLAY << ' ' << m_level.index << '\n'
                                      << rest.str();
  setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
  m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(m_folder);
}

Playthrough::~Playthrough() {
  End();
  m_cwd.reset();
  unsetenv("XDG_CONFIG_HOME");
}

void Playthrough::End() { m_game.reset(); }

bool Playthrough::Begin(const std::string& playback, std::string& error) {
  m_game = std::make_unique<GameHarness>();
  if (!m_game->InitResult()) {
    error = "the World did not start";
    return false;
  }
  if (!playback.empty() && !Input::GetInstance()->StartPlayback(playback)) {
    error = "cannot open the recording \"" + playback + "\"";
    return false;
  }
  m_game->RunFrames(1);
  PlayerObject* hero = World::GetPlayer();
  const StateLevelList* list = World::GetLevelList(STATE_GAMEPLAY);
  if (World::GetState() != STATE_GAMEPLAY || !hero || !list || list->index != m_level.index) {
    error = "the level \"" + m_level.name + "\" did not start in play on the first frame";
    return false;
  }
  // Through the HUD, which toggles the hero's bits as its icons change.
  if (HUD* hud = HUD::GetInstance()) hud->SetAbilities(m_level.abilities);
  if (hero->GetAbilities() != m_level.abilities) {
    error = "the hero did not take the abilities of the earlier levels";
    return false;
  }
  return true;
}

}  // namespace testharness
