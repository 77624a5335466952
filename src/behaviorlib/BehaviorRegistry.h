// From an object's type name (its prototype's name, compared exactly) to the
// first function of its behaviour. Filled once before the program starts and
// never changed; a name without a row has no behaviour.
#pragma once

#include <map>
#include <string>

#include "animationlib/Sprite.h"

class BehaviorRegistry {
 public:
  // Null for a name without a row.
  static BehaviorFn GetBehavior(std::string name);
  static const BehaviorRegistry& GetRegistry();

  // Every row, by name.
  const std::map<std::string, BehaviorFn>& GetRows() const { return m_rows; }

 private:
  BehaviorRegistry();

  std::map<std::string, BehaviorFn> m_rows;
};
