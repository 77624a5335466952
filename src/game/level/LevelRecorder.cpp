#include "game/level/LevelRecorder.h"

#include <cstdio>
#include <cstdlib>

#include "game/input/Input.h"
#include "game/world/GameState.h"
#include "game/world/World.h"

LevelRecorder::LevelRecorder() {
  if (const char* file = std::getenv("VANTREL_RECORD")) m_file = file;
}

LevelRecorder::~LevelRecorder() {
  Stop();
}

void LevelRecorder::AfterFrame() {
  if (m_file.empty() || m_phase == Phase::Done) return;
  Input* input = Input::GetInstance();
  const int state = World::GetState();
  if (m_phase == Phase::Waiting) {
    if (state != STATE_GAMEPLAY || !input) return;
    // The replay starts playback at the same point, so both see the same frames.
    std::string error;
    if (input->StartRecording(m_file, &error)) {
      m_phase = Phase::Recording;
    } else {
      std::fprintf(stderr, "vantrel: cannot record the input to \"%s\": %s\n", m_file.c_str(),
                   error.c_str());
      m_phase = Phase::Done;
    }
    return;
  }
  // Pause belongs to the level; it ends in level complete, game over or the menu.
  if (state == STATE_LEVEL_COMPLETE || state == STATE_GAME_OVER || state == STATE_MAIN_MENU) Stop();
}

void LevelRecorder::Stop() {
  if (m_phase == Phase::Recording) {
    // The reader may already be gone at quit; it closed the file itself then.
    if (Input* input = Input::GetInstance()) input->StopRecording();
  }
  m_phase = Phase::Done;
}
