// vantrel_autopilot: plays one level with its test-only pilot and leaves the input
// recording that the replay test plays back.
//
//   vantrel_autopilot junkyard [--out file] [--frames n] [--capture folder] [--sheet file.png]
//                              [--every n] [--keep-failed]
//
// The game's own VANTREL_RECORD setting records the keys the pilot holds, from the
// level's first play frame to its end. When the level completes without a game over
// and the recording alone gives the same run on a fresh game, the recording is written
// in its text form to --out (by default the level's file in
// tests/integration/playthroughs); a failed run writes nothing unless --keep-failed.
// --capture saves every 60th frame (or every n-th) as a PNG of its own; --sheet puts every
// 120th (or every n-th) on one contact sheet, a quarter size and ten to a row.
#include <SDL_scancode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "RecordingText.h"
#include "autopilot/Pilot.h"
#include "game/player/PlayerObject.h"
#include "game/world/GameState.h"
#include "game/world/World.h"
#include "harness/ContactSheet.h"
#include "harness/Playthrough.h"
#include "support/TempDir.h"

namespace {

struct Options {
  std::string level;
  std::string out;
  int frames = 30000;
  std::string capture;
  std::string sheet;
  int every = 0;  // 0: each output's own default
  bool keepFailed = false;
};

// The keyboard keys of the default button map, one per action a pilot holds.
struct KeyOf {
  ActionBits action;
  SDL_Scancode key;
};
constexpr KeyOf kKeys[] = {
    {MOVE_LEFT, SDL_SCANCODE_LEFT}, {MOVE_RIGHT, SDL_SCANCODE_RIGHT},
    {FIRE_GUN, SDL_SCANCODE_D},     {SWING_SWORD, SDL_SCANCODE_S},
    {JUMP, SDL_SCANCODE_SPACE},     {STRIDE, SDL_SCANCODE_A},
    {AIM_UP, SDL_SCANCODE_Q},       {AIM_DOWN, SDL_SCANCODE_Z},
    {ENTER_MENU_SELECTION, SDL_SCANCODE_RETURN},
};

// Holds what the pilot asks by pressing and releasing keys: each key event flips its
// action, so only changes are sent.
class KeyPad {
 public:
  explicit KeyPad(testharness::GameHarness& game) : m_game(game) {}
  void Hold(ActionBits wanted) {
    for (const KeyOf& key : kKeys) {
      const bool want = (wanted & key.action) != 0;
      if (want == ((m_down & key.action) != 0)) continue;
      if (want) {
        m_game.KeyDown(key.key);
      } else {
        m_game.KeyUp(key.key);
      }
      m_down ^= key.action;
    }
  }

 private:
  testharness::GameHarness& m_game;
  ActionBits m_down = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  if (argc < 2) return false;
  options.level = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--out" && hasValue) {
      options.out = argv[++i];
    } else if (arg == "--frames" && hasValue) {
      options.frames = std::atoi(argv[++i]);
    } else if (arg == "--capture" && hasValue) {
      options.capture = argv[++i];
    } else if (arg == "--sheet" && hasValue) {
      options.sheet = argv[++i];
    } else if (arg == "--every" && hasValue) {
      options.every = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--keep-failed") {
      options.keepFailed = true;
    } else {
      return false;
    }
  }
  // The run plays in a copy of the game's folder as its current directory, so a relative
  // path is taken from where the command was started before the run moves away.
  for (std::string* path : {&options.out, &options.capture, &options.sheet}) {
    if (!path->empty()) *path = std::filesystem::absolute(*path).string();
  }
  return options.frames > 0;
}

// Where a run stood when it ended.
struct Outcome {
  int frame = 0;
  int state = 0;
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const Outcome&) const = default;
};

Outcome Now(int frame) {
  const PlayerObject* hero = World::GetPlayer();
  return {frame, World::GetState(), hero ? hero->GetPosition().X() : 0.0f,
          hero ? hero->GetPosition().Y() : 0.0f};
}

std::string Describe(const Outcome& outcome) {
  char line[128];
  std::snprintf(line, sizeof line, "frame %d, state %d, hero at (%.2f, %.2f)", outcome.frame,
                outcome.state, outcome.x, outcome.y);
  return line;
}

// Plays the recording back on a fresh game for as many frames as the pilot played.
Outcome Replay(const testharness::PlaythroughLevel& level, const std::string& file, int frames) {
  testharness::Playthrough run(level);
  std::string error;
  if (!run.Begin(file, error)) {
    std::fprintf(stderr, "vantrel_autopilot: replay: %s\n", error.c_str());
    return {};
  }
  int frame = 0;
  while (frame < frames) {
    ++frame;
    run.Game().RunFrames(1);
    const int state = World::GetState();
    if (state != STATE_GAMEPLAY && state != STATE_PAUSE) break;
  }
  return Now(frame);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: vantrel_autopilot <level> [--out file] [--frames n] "
                 "[--capture folder] [--sheet file.png] [--every n] [--keep-failed]\n");
    return 2;
  }
  const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(options.level);
  std::unique_ptr<autopilot::Pilot> pilot = autopilot::MakePilot(options.level);
  if (!level || !pilot) {
    std::fprintf(stderr, "vantrel_autopilot: no playable level \"%s\"\n", options.level.c_str());
    return 2;
  }
  if (options.out.empty()) {
    options.out =
        (testsupport::SourceDir() / "tests/integration/playthroughs" / (level->name + ".txt")).string();
  }
  if (!options.capture.empty()) std::filesystem::create_directories(options.capture);
  const int captureEvery = options.every > 0 ? options.every : 60;
  const int sheetEvery = options.every > 0 ? options.every : testharness::kSheetEvery;
  testharness::ContactSheet sheet;

  testsupport::TempDir scratch;
  const std::string binary = (scratch.Path() / (level->name + ".rec")).string();
  setenv("VANTREL_RECORD", binary.c_str(), 1);

  bool completed = false;
  int frame = 0;
  Outcome played;
  std::string phase;
  {
    testharness::Playthrough run(*level);
    std::string error;
    if (!run.Begin("", error)) {
      std::fprintf(stderr, "vantrel_autopilot: %s\n", error.c_str());
      return 1;
    }
    unsetenv("VANTREL_RECORD");
    testharness::GameHarness& game = run.Game();
    KeyPad keys(game);
    while (frame < options.frames) {
      ++frame;
      keys.Hold(pilot->Next(frame));
      game.RunFrames(1);
      if (!options.capture.empty() && frame % captureEvery == 0) {
        char name[64];
        std::snprintf(name, sizeof name, "/%s-%06d.png", level->name.c_str(), frame);
        game.SaveFrame(options.capture + name);
      }
      if (!options.sheet.empty() && frame % sheetEvery == 0) sheet.Add(game.ReadFrame());
      const int state = World::GetState();
      if (state == STATE_GAMEPLAY || state == STATE_PAUSE) continue;
      completed = state != STATE_GAME_OVER && state != STATE_NAME_ENTRY;
      break;
    }
    played = Now(frame);
    phase = pilot->Phase();
    // Quitting ends the recording with the keys still held.
    run.End();
  }

  std::printf("%s %s: %s; pilot: %s\n", level->name.c_str(), completed ? "completed" : "FAILED",
              Describe(played).c_str(), phase.c_str());
  // Written whatever the outcome: a failed run is where a sheet helps most.
  if (!options.sheet.empty()) {
    std::string error;
    if (sheet.Save(options.sheet, error)) {
      std::printf("sheet of %d frames written to %s\n", sheet.Tiles(), options.sheet.c_str());
    } else {
      std::fprintf(stderr, "vantrel_autopilot: %s\n", error.c_str());
    }
  }
  if (!completed && !options.keepFailed) return 1;

  // The recording alone must give the same run.
  const Outcome replayed = Replay(*level, binary, frame);
  const bool same = replayed == played;
  std::printf("replay %s: %s\n", same ? "agrees" : "DIFFERS", Describe(replayed).c_str());
  if (!same) completed = false;
  if (!completed && !options.keepFailed) return 1;
  std::string error;
  if (!recording::ConvertFile(binary, options.out, false, error)) {
    std::fprintf(stderr, "vantrel_autopilot: %s\n", error.c_str());
    return 1;
  }
  std::printf("recording written to %s\n", options.out.c_str());
  return completed ? 0 : 1;
}
