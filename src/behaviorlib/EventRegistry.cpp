#include "behaviorlib/EventRegistry.h"

#include "game/World.h"

namespace {
// Built by static initialisation, before the program entry runs.
const EventRegistry& gRegistry = EventRegistry::GetRegistry();
}  // namespace

EventRegistry::EventRegistry() {
  m_rows.insert({"JunkyardEnd", World::JunkyardEnd});
}

const EventRegistry& EventRegistry::GetRegistry() {
  static const EventRegistry registry;
  return registry;
}

FocusCallback EventRegistry::GetEvent(std::string name) {
  const auto& rows = GetRegistry().m_rows;
  auto found = rows.find(name);
  return found == rows.end() ? nullptr : found->second;
}
