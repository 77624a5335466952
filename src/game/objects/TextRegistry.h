// From an object's type name to a function that renders, ahead of play, the
// glyphs of the texts objects of that type show where no data file lists them.
// The behaviour library fills it once at start-up (RegisterBehaviors); loading a
// level calls the function of every type among the level's objects, so that the
// frame a text first shows does not pay for opening its font.
#pragma once

#include <string>

#include "game/objects/NameRegistry.h"

using TextPreparer = void (*)();

class TextRegistry : public NameRegistry<TextRegistry, TextPreparer> {
 public:
  // Null for a name without a row.
  static TextPreparer GetPreparer(const std::string& name) { return Find(name); }
};
