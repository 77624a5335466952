// From a scripted event's name to the camera-focus callback that ends it.
// Filled once before the program starts and never changed.
#pragma once

#include <map>
#include <string>

#include "game/CameraFocus.h"

class EventRegistry {
 public:
  // Null for a name without a row.
  static FocusCallback GetEvent(std::string name);
  static const EventRegistry& GetRegistry();

  const std::map<std::string, FocusCallback>& GetRows() const { return m_rows; }

 private:
  EventRegistry();

  std::map<std::string, FocusCallback> m_rows;
};
