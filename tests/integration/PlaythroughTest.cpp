// Each playable level is beaten by its recorded playthrough (tests/integration/playthroughs,
// turned into build/playthroughs/<level>.rec by the build), replayed headless as a new game
// started at that level. A change to physics, tuning, behaviours or a level that breaks a
// recording fails here: play the level again with tests/autopilot and commit the new text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RecordingText.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Includes/AirshipKaje.h"
#include "game/hud/HUD.h"
#include "game/level/StateLevelList.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/tutorial/Tutorial.h"
#include "game/world/GameState.h"
#include "game/world/World.h"
#include "harness/ContactSheet.h"
#include "harness/Playthrough.h"
#include "harness/ReplayScan.h"
#include "support/TempDir.h"

namespace {

// Frames the replay may run past the recording: level complete comes on the frame
// the recording ends, so only a changed run needs more.
constexpr int kMargin = 120;
// Level complete walks the hero off and fades before the next level or the credits.
constexpr int kHandOverFrames = 600;
// A frame of the boss fight is saved this long after the spawn.
constexpr int kBossFrameDelay = 150;
// Every this many frames the screen is read for unpainted bands (a band lasts while the
// camera stands there, so a sample finds it; reading every frame would double the run).
constexpr int kBandScanEvery = 5;

std::vector<GameObject*> Named(const std::string& name) {
  std::vector<GameObject*> found;
  for (SpriteCollection* list : {World::GetObjects(), World::GetDormantObjects()}) {
    if (!list) continue;
    for (Sprite* sprite : list->FindAll(name)) {
      if (GameObject* object = sprite->AsGameObject()) found.push_back(object);
    }
  }
  return found;
}

bool CoreAt(float x, float y) {
  for (GameObject* piece : Named("CorePiece")) {
    const Vector2 p = piece->GetPosition();
    if (std::fabs(p.X() - x) < 1.0f && std::fabs(p.Y() - y) < 1.0f) return true;
  }
  return false;
}

bool KajeEnded() {
  for (GameObject* trigger : Named("KajeTrigger")) {
    if (trigger->GetBehavior() == &KajeTriggerEndLevel) return true;
  }
  return false;
}

struct ReplayCase {
  const char* level;
  const char* bossEnd;  // what beating the boss leaves, for messages
  bool (*bossBeaten)();
  // Play frames the recording does not count: frames with the input switched off, and
  // the frames after its last change until level complete.
  int uncounted = 0;
};

const ReplayCase kCases[] = {
    {"junkyard", "the WallJump core at (16256, 896)", [] { return CoreAt(16256.0f, 896.0f); }},
    {"factory", "the SuperJump core at (6656, 2560)", [] { return CoreAt(6656.0f, 2560.0f); }},
    // Kaje walks in with the input off (about 500 frames), and its death fades for 360
    // frames before level complete.
    {"airship", "KajeTrigger turned to its level end", &KajeEnded, 1000},
};

void PrintTo(const ReplayCase& replay, std::ostream* out) { *out << replay.level; }

// Where a replay got to: the frame on which the hero first passed each trigger of the
// level (its trigger objects and the boxes of its active tutorial messages, by x), and
// the frames of the boss events, so that a failed run names the first thing it missed.
class Milestones {
 public:
  explicit Milestones(const char* bossEnd)
      : m_boss{{"boss spawned"}, {"boss beaten: " + std::string(bossEnd)}, {"level complete"}} {
    for (SpriteCollection* list : {World::GetObjects(), World::GetDormantObjects()}) {
      if (!list) continue;
      for (Sprite* sprite : list->GetSprites()) {
        const std::string& name = sprite->GetName();
        if (name.find("Trigger") != std::string::npos || name == "Tutorial") {
          m_triggers.push_back({name, sprite->GetPosition().X()});
        }
      }
    }
    if (const Tutorial* tutorial = Tutorial::GetCurrent()) {
      for (const auto& message : tutorial->GetPending()) {
        if (!message->IsActive()) continue;
        m_triggers.push_back({"tutorial message " + std::to_string(message->GetID()),
                              message->GetX() - message->GetWidth()});
      }
    }
    std::stable_sort(m_triggers.begin(), m_triggers.end(),
                     [](const Event& a, const Event& b) { return a.x < b.x; });
    for (Event& trigger : m_triggers) {
      trigger.name += " at x " + std::to_string(static_cast<int>(trigger.x));
    }
  }

  void Update(int frame, const PlayerObject* hero, bool spawned, bool beaten, bool complete) {
    for (Event& trigger : m_triggers) {
      if (trigger.frame < 0 && hero && hero->GetPosition().X() >= trigger.x) trigger.frame = frame;
    }
    const bool reached[] = {spawned, beaten, complete};
    for (std::size_t i = 0; i < m_boss.size(); ++i) {
      if (m_boss[i].frame < 0 && reached[i]) m_boss[i].frame = frame;
    }
  }

  std::string Report() const {
    std::vector<const Event*> passed;
    const Event* missed = nullptr;
    for (const std::vector<Event>* events : {&m_triggers, &m_boss}) {
      for (const Event& event : *events) {
        if (event.frame >= 0) {
          passed.push_back(&event);
        } else if (!missed) {
          missed = &event;
        }
      }
    }
    std::stable_sort(passed.begin(), passed.end(),
                     [](const Event* a, const Event* b) { return a->frame < b->frame; });
    std::ostringstream out;
    out << "passed:";
    for (const Event* event : passed) {
      out << "\n  frame " << event->frame << ": " << event->name;
    }
    out << "\nfirst missed: " << (missed ? missed->name : "none");
    return out.str();
  }

 private:
  struct Event {
    std::string name;
    float x = 0.0f;
    int frame = -1;
  };
  std::vector<Event> m_boss;
  std::vector<Event> m_triggers;
};

// The score the HUD shows once everything on its way has rolled in: the pending
// points and every queued message, worth its points times its count.
int ScoreWithPending() {
  int score = HUD::GetScore() + HUD::GetPending();
  if (const HUD* hud = HUD::GetInstance()) {
    for (const ComboText& message : hud->GetMessages()) score += message.points * message.count;
  }
  return score;
}

std::string Where(int frame, const Milestones& milestones) {
  std::ostringstream out;
  out << "frame " << frame << ", state " << World::GetState();
  if (const PlayerObject* hero = World::GetPlayer()) {
    const Vector2 p = hero->GetPosition();
    out << ", hero at (" << p.X() << ", " << p.Y() << ")";
  }
  out << "\n" << milestones.Report();
  return out.str();
}

class PlaythroughTest : public ::testing::TestWithParam<ReplayCase> {};

TEST_P(PlaythroughTest, RecordingBeatsTheLevelAndHandsOver) {
  const ReplayCase& replay = GetParam();
  const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(replay.level);
  ASSERT_NE(level, nullptr);
  const std::filesystem::path file =
      testsupport::BinaryDir() / "playthroughs" / (level->name + ".rec");
  std::vector<recording::Record> records;
  {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no recording " << file;
    std::string error;
    ASSERT_TRUE(recording::ReadBinary(in, file.string(), records, error)) << error;
  }
  const int limit = static_cast<int>(recording::TotalFrames(records)) + replay.uncounted + kMargin;

  // Set, the replay leaves a contact sheet of itself in that folder to look through; unset,
  // it reads no frames at all. Made whole before the run moves into its copy of the game.
  const char* sheetSetting = std::getenv("VANTREL_REPLAY_SHEET");
  const std::filesystem::path sheetFolder = sheetSetting && *sheetSetting
                                                ? std::filesystem::absolute(sheetSetting)
                                                : std::filesystem::path();
  testharness::ContactSheet sheet;
  testharness::ReplayScan scan;

  testharness::Playthrough run(*level);
  std::string error;
  ASSERT_TRUE(run.Begin(file.string(), error)) << error;

  Milestones milestones(replay.bossEnd);
  bool spawned = false;
  bool beaten = false;
  int spawnFrame = -1;
  int frame = 0;
  while (frame < limit) {
    ++frame;
    run.Game().RunFrames(1);
    if (!spawned && World::GetBoss()) {
      spawned = true;
      spawnFrame = frame;
    }
    beaten = beaten || replay.bossBeaten();
    milestones.Update(frame, World::GetPlayer(), spawned, beaten,
                      World::GetState() == STATE_LEVEL_COMPLETE);
    if (frame == spawnFrame + kBossFrameDelay) {
      const std::filesystem::path out = testsupport::BinaryDir() / "level_frames";
      std::filesystem::create_directories(out);
      EXPECT_TRUE(run.Game().SaveFrame((out / (level->name + "_boss.png")).string()));
    }
    const int state = World::GetState();
    if (state != STATE_GAMEPLAY && state != STATE_PAUSE) break;
    const bool scanPixels = frame % kBandScanEvery == 0;
    const bool sheetFrame = !sheetFolder.empty() && frame % testharness::kSheetEvery == 0;
    const std::vector<std::uint32_t> pixels =
        scanPixels || sheetFrame ? run.Game().ReadFrame() : std::vector<std::uint32_t>();
    scan.Frame(frame, scanPixels ? pixels : std::vector<std::uint32_t>());
    if (sheetFrame) sheet.Add(pixels);
  }
  if (!sheetFolder.empty()) {
    std::filesystem::create_directories(sheetFolder);
    std::string sheetError;
    EXPECT_TRUE(sheet.Save((sheetFolder / (level->name + ".png")).string(), sheetError))
        << sheetError;
  }
  ASSERT_EQ(World::GetState(), STATE_LEVEL_COMPLETE)
      << "the level did not complete within " << limit << " frames: " << Where(frame, milestones);
  EXPECT_TRUE(spawned) << "the boss was never spawned: " << Where(frame, milestones);
  EXPECT_TRUE(beaten) << "the boss was not beaten: no " << replay.bossEnd << ": "
                      << Where(frame, milestones);
  std::printf("[ scan     ] %s: %d frames with a flat band (tallest %s), %d under the panel, "
              "%d lingering (longest %d: %s)%s\n",
              replay.level, scan.Bands().frames * kBandScanEvery, scan.Bands().what.c_str(),
              scan.UnderPanel().frames, scan.LingeringFrames(), scan.UnderPanel().longest,
              scan.UnderPanel().what.c_str(), scan.Lingered().c_str());
  EXPECT_EQ(scan.Bands().frames, 0)
      << "rows of one flat colour across the screen: the ground or backdrop stops short of "
         "where the camera stands, first at frame " << scan.Bands().first << ", tallest "
      << scan.Bands().what;
  EXPECT_EQ(scan.LingeringFrames(), 0) << "play stays under the HUD panel:" << scan.Lingered();

  // The points still rolling in here (the junkyard's WallJump core) are the level's.
  const int score = ScoreWithPending();

  // Level complete hands over to the next level, or to the credits after the last.
  const bool last = level->index + 1 == static_cast<int>(testharness::PlaythroughLevels().size());
  int wait = 0;
  while (wait < kHandOverFrames) {
    ++wait;
    run.Game().RunFrames(1);
    const int state = World::GetState();
    ASSERT_NE(state, STATE_GAME_OVER) << Where(frame + wait, milestones);
    if (state == STATE_CREDITS || state == STATE_GAMEPLAY) break;
  }
  if (last) {
    EXPECT_EQ(World::GetState(), STATE_CREDITS) << Where(frame + wait, milestones);
  } else {
    ASSERT_EQ(World::GetState(), STATE_GAMEPLAY) << Where(frame + wait, milestones);
    EXPECT_EQ(World::GetLevelList(STATE_GAMEPLAY)->index, level->index + 1);
    EXPECT_EQ(HUD::GetScore(), score) << "the next level's score";
  }
  EXPECT_EQ(World::GetCurrentRecord()->GetScore(), score) << "the record's score";
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, PlaythroughTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.level); });

}  // namespace
