#include "behaviorlib/EventRegistry.h"

namespace {
// Built by static initialisation, before the program entry runs.
const EventRegistry& gRegistry = EventRegistry::GetRegistry();
}  // namespace

EventRegistry::EventRegistry() {
  // HOOK(scripted events): World::JunkyardEnd takes the place of null once it is written.
  m_rows.insert({"JunkyardEnd", nullptr});
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
