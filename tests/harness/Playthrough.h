// A new game started at one level of the shipped game list, for recorded
// playthroughs and their replays:
//
//   testharness::Playthrough run(*testharness::FindPlaythroughLevel("factory"));
//   run.Begin("build/playthroughs/factory.rec");   // playback from the first play frame
//   run.Game().RunFrames(1);
//
// It plays on a private copy of the generated working folder whose list starts in
// play at the level's index, with private settings, a fixed seed and the virtual
// clock, and gives the hero the abilities the earlier levels' memory cores grant,
// so a re-recorded level never breaks the next one.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "harness/GameHarness.h"
#include "support/TempDir.h"

namespace testharness {

struct PlaythroughLevel {
  std::string name;  // the level's name in the game list, also its recording's name
  int index = 0;     // its place in the gameplay list
  int abilities = 0;  // ABILITY_* bits the earlier levels' cores grant
};

// The playable levels in the order the game plays them.
const std::vector<PlaythroughLevel>& PlaythroughLevels();
// Null when no playable level has that name.
const PlaythroughLevel* FindPlaythroughLevel(std::string_view name);

class Playthrough {
 public:
  explicit Playthrough(PlaythroughLevel level);
  ~Playthrough();
  Playthrough(const Playthrough&) = delete;
  Playthrough& operator=(const Playthrough&) = delete;

  // Starts the game, runs its first frame (the list starts in play, so the level is
  // loaded and the hero made by its end) and gives the hero its abilities. With a
  // `playback` file the recording plays from that first frame, which is where the
  // game's VANTREL_RECORD setting starts recording (playback runs a frame behind).
  // Returns false, with `error` set, when the level did not start.
  bool Begin(const std::string& playback, std::string& error);

  GameHarness& Game() { return *m_game; }
  const PlaythroughLevel& Level() const { return m_level; }
  const std::filesystem::path& Folder() const { return m_folder; }
  // Ends the game now: quitting also ends a recording.
  void End();

 private:
  PlaythroughLevel m_level;
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::filesystem::path m_folder;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
  std::unique_ptr<GameHarness> m_game;
};

}  // namespace testharness
