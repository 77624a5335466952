// The World's small services: queued texts, the earthquake, the game
// clock, number and time formatting, and the player-record slots.
#include <algorithm>
#include <utility>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/hud/HUD.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Clock.h"

World::PlayerRecords World::m_playerRecords;

namespace {
// The earthquake rumble repeats every three seconds.
constexpr int kEarthquakeSoundPeriod = 180;
}  // namespace

void World::SetEarthquake(bool on) {
  m_earthquake = on;
}

void World::UpdateEarthquake() {
  if (!m_earthquake) {
    m_earthquakeCounter = 0;
    return;
  }
  if (m_earthquakeCounter == 0) SoundEngine().Play("earthquake");
  if (++m_earthquakeCounter == kEarthquakeSoundPeriod) m_earthquakeCounter = 0;
}

void World::QueueText(TextEntry entry) {
  m_textQueue.push_back(std::move(entry));
}

void World::DrawQueuedTexts() {
  if (m_textQueue.empty()) return;
  D3DInterface* engine = D3DInterface::GetEngine();
  for (const TextEntry& entry : m_textQueue) {
    engine->DrawText(entry.face, entry.size, entry.x, entry.y, entry.text, entry.color);
  }
  m_textQueue.clear();
}

void World::ResetGameClock() {
  if (m_clockRunning) m_clockSeconds = 0.0;
  m_clockBase = platform::QueryCounter();
}

void World::AccumulateGameClock() {
  const std::int64_t now = platform::QueryCounter();
  m_clockSeconds += static_cast<double>(now - m_clockBase) / static_cast<double>(m_clockFrequency);
  m_clockBase = now;
}

void World::PauseGameClock() {
  m_clockRunning = false;
  AccumulateGameClock();
}

void World::ResumeGameClock() {
  ResetGameClock();
  m_clockRunning = true;
}

double World::GetGameTime() {
  if (m_clockRunning) {
    PauseGameClock();
    ResumeGameClock();
  }
  return m_clockSeconds;
}

std::string World::IntToString(int value, int width) {
  // Work on the magnitude as unsigned so the most negative int has one too.
  unsigned int magnitude =
      value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
  std::string text;
  do {
    text.push_back(static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) text.push_back('-');
  std::reverse(text.begin(), text.end());
  // Padding goes in front of everything, the sign included.
  if (static_cast<int>(text.size()) < width) {
    text = std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
  }
  return text;
}

std::string World::FormatTime(int seconds) {
  const int hours = seconds / 3600;
  const int minutes = (seconds % 3600) / 60;
  const int secs = seconds % 60;
  if (hours > 0) {
    return IntToString(hours, 1) + ":" + IntToString(minutes, 2) + ":" + IntToString(secs, 2);
  }
  return IntToString(minutes, 1) + ":" + IntToString(secs, 2);
}

void World::ClearPlayerRecords() {
  for (std::unique_ptr<PlayerObject>& record : m_playerRecords) record.reset();
}

void World::AddScoreToRecord() {
  const HUD* hud = HUD::GetInstance();
  const int score = HUD::GetScore();
  const int pending = hud ? hud->GetPendingScore() : 0;
  if (PlayerObject* record = GetCurrentRecord()) record->SetScore(score + pending);
  if (PlayerObject* live = GetPlayer()) live->SetScore(score);
}
