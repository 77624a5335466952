// Whose turn comes next in a game of several players, and when a game is over.
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace {

float RecordFlag(const PlayerObject& record, const char* name) {
  const auto& flags = record.GetFlags();
  const auto found = flags.find(name);
  return found == flags.end() ? 0.0f : found->second;
}

}  // namespace

bool World::HasFinishedGame(const PlayerObject& record) {
  const StateLevelList* list = GetLevelList(STATE_GAMEPLAY);
  const int levels = list ? static_cast<int>(list->names.size()) : 0;
  return static_cast<int>(RecordFlag(record, "Level")) == levels;
}

bool World::HasTimeLeft(const PlayerObject& record) {
  // A player who ran out is stored below zero (the clock ran on past the end),
  // so only a positive countdown is time left.
  return RecordFlag(record, "TimeRemaining") > 0.0f;
}

int World::FindNextTurn() {
  const int slots = static_cast<int>(m_playerRecords.size());
  if (slots == 0) return -1;
  // Each slot once, the current one last: it keeps the turn when no other can.
  for (int step = 1; step <= slots; ++step) {
    const int i = ((m_currentPlayer + step) % slots + slots) % slots;
    const PlayerObject* record = m_playerRecords[static_cast<std::size_t>(i)].get();
    if (record && HasTimeLeft(*record) && !HasFinishedGame(*record)) return i;
  }
  return -1;
}
