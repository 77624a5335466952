// Text that must fit the screen, measured with the game's own font code.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Problems.h"
#include "game/world/TextEntry.h"

class Tutorial;

namespace validator {

// The texts of a screen with no file of its own, frame by frame; each fault is told once,
// at its worst, with the first frame it shows on. Texts still fading in or out are on their
// way in or out; only texts at full strength count as shown. A shown text must not cover a
// different one, and one at rest (where it was the frame before) must lie within the
// screen: sliding in from beyond an edge is an entrance. Needs the graphics engine.
class ShownTexts {
 public:
  // `still`: every frame given is a picture at rest.
  ShownTexts(std::string screen, bool still);
  void Frame(int frame, const std::vector<TextEntry>& texts);
  void Report(Problems& problems) const;

 private:
  struct Finding {
    std::string message;
    int size = -1;
    int frame = 0;
  };
  void Note(const std::string& what, const std::string& message, int size, int frame);

  std::string m_screen;
  bool m_still;
  std::vector<std::tuple<std::string, float, float>> m_previous;
  std::map<std::string, Finding> m_findings;
};

// Each message of a tutorial script drawn at the script's place and size: it must stay on
// the screen, and lines stacked one line step apart must not run into each other.
// `recordLines` holds the script line each message record starts on.
void CheckTutorialText(const std::string& script, const Tutorial& tutorial,
                       const std::vector<int>& recordLines, Problems& problems);

// The story's pages and every frame of the credits: each label on the screen, no two
// different labels shown together covering each other. Reported as "story" and "credits".
void CheckScreenTexts(Problems& problems);

}  // namespace validator
