// Records the input of one played level for regression replays: with
// VANTREL_RECORD=file set, recording starts on the first frame that ends in play and
// stops when that level ends (level complete, game over, back to the menu) or the game quits.
#pragma once

#include <string>
#include <utility>

class LevelRecorder {
 public:
  // Reads VANTREL_RECORD; an empty or missing setting records nothing.
  LevelRecorder();
  explicit LevelRecorder(std::string file) : m_file(std::move(file)) {}
  ~LevelRecorder();
  LevelRecorder(const LevelRecorder&) = delete;
  LevelRecorder& operator=(const LevelRecorder&) = delete;

  // After every frame: starts or stops the recording by the World's state.
  void AfterFrame();
  bool IsRecording() const { return m_phase == Phase::Recording; }
  bool IsDone() const { return m_phase == Phase::Done; }

 private:
  enum class Phase { Waiting, Recording, Done };

  void Stop();

  std::string m_file;
  Phase m_phase = Phase::Waiting;
};
