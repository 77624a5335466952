// Tutorial scripts: a layout scan for what would stop the game's reader, then the
// game's reader itself and the checks of what it built.
#include <algorithm>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ContentRules.h"
#include "TextRules.h"
#include "game/tutorial/Tutorial.h"

namespace validator {

namespace {

const char kTrigger[] = "Tutorial";

// What the scan finds: the record count the script promises, the records it holds and
// the IDs the game would stop on (record number, ID).
struct ScriptLayout {
  int promised = 0;
  int held = 0;
  std::vector<std::pair<int, int>> negativeIds;
  int pointSize = 0;
  bool pointSizeStops = false;
  std::vector<int> recordLines;  // the line each record starts on
};

// Follows the game's reader token for token, but reads past a negative ID.
ScriptLayout ScanScript(const std::string& text) {
  std::istringstream in(text);
  ScriptLayout layout;
  int whole = 0;
  float real = 0.0f;
  unsigned int colour = 0;
  in >> whole >> whole >> real >> real >> real >> real >> layout.pointSize;
  layout.pointSizeStops = Tutorial::PointSizeStops(static_cast<bool>(in), layout.pointSize);
  in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  in >> colour >> colour >> colour >> colour >> layout.promised;
  for (int record = 1; record <= layout.promised && in.good(); ++record) {
    in >> std::ws;
    const auto start = static_cast<std::ptrdiff_t>(in.tellg());
    layout.recordLines.push_back(
        1 + static_cast<int>(
                std::count(text.begin(), text.begin() + std::max<std::ptrdiff_t>(0, start), '\n')));
    int id = 0;
    int focus = 0;
    in >> id >> real >> real >> real >> real >> focus;
    if (focus != 0) in >> real >> real;
    in >> whole >> whole >> whole;
    if (in.fail()) break;
    if (id < 0) layout.negativeIds.emplace_back(record, id);
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    ++layout.held;
  }
  return layout;
}

bool Outside(float value, int lower, int upper) {
  return (lower != -1 && value < static_cast<float>(lower)) ||
         (upper != -1 && value > static_cast<float>(upper));
}

void CheckMessages(const std::string& script, const Tutorial& tutorial, const LevelData& level,
                   Problems& problems) {
  if (tutorial.GetPointSize() <= 0) {
    problems.Add(script, "point size " + std::to_string(tutorial.GetPointSize()) +
                             " is not above 0: the messages cannot be read");
  }
  if (tutorial.GetFadeInFrames() < 0 || tutorial.GetFadeOutFrames() < 0) {
    problems.Add(script, "negative fade frames (" + std::to_string(tutorial.GetFadeInFrames()) +
                             ", " + std::to_string(tutorial.GetFadeOutFrames()) + ")");
  }
  std::set<int> ids;
  for (const auto& event : tutorial.GetPending()) ids.insert(event->GetID());
  int number = 0;
  for (const auto& event : tutorial.GetPending()) {
    ++number;
    const std::string which =
        "message " + std::to_string(number) + " (ID " + std::to_string(event->GetID()) + ")";
    if (event->GetNextID() != -1 && ids.count(event->GetNextID()) == 0) {
      problems.Add(script, which + " unlocks ID " + std::to_string(event->GetNextID()) +
                               ", which no message has");
    }
    if (event->GetWidth() <= 0.0f || event->GetHeight() <= 0.0f) {
      problems.Add(script, which + " has half sizes " + Number(event->GetWidth()) + " x " +
                               Number(event->GetHeight()) + ": its box can never hold the player");
    }
    if (event->GetDisplayFrames() < 0) {
      problems.Add(script, which + " has negative display frames (" +
                               std::to_string(event->GetDisplayFrames()) + ")");
    }
    if (event->HasFocus() &&
        (Outside(event->GetFocusX(), level.bounds[0], level.bounds[2]) ||
         Outside(event->GetFocusY(), level.bounds[1], level.bounds[3]))) {
      problems.Add(script, which + " has its focus point (" + Number(event->GetFocusX()) + ", " +
                               Number(event->GetFocusY()) + ") outside the level's bounds");
    }
  }
}

}  // namespace

bool CheckTutorialScript(const std::string& levelFile, const LevelData& level,
                         Problems& problems) {
  const std::string script = "data/tut" + levelFile;
  bool hasTrigger = false;
  for (const PlacedObject& trigger : level.triggers) hasTrigger |= trigger.name == kTrigger;
  std::ifstream file(script, std::ios::binary);
  if (!file.is_open()) {
    if (hasTrigger) {
      problems.Add(levelFile, "has a " + Quoted(kTrigger) + " trigger but no script " +
                                  Quoted(script) + ": it shows nothing");
    }
    return true;
  }
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  if (!hasTrigger) {
    problems.Add(script, "its level " + Quoted(levelFile) + " has no " + Quoted(kTrigger) +
                             " trigger, so no message ever shows");
  }

  const ScriptLayout layout = ScanScript(text);
  if (layout.held < layout.promised) {
    problems.Add(script, "the count promises " + std::to_string(layout.promised) +
                             " messages but the file holds " + std::to_string(layout.held));
  }
  // The game's reader stops the program on these, so it is not given the file.
  if (layout.pointSizeStops) {
    problems.Add(script, "point size " + std::to_string(layout.pointSize) + " is outside " +
                             std::to_string(Tutorial::kMinPointSize) + " to " +
                             std::to_string(Tutorial::kMaxPointSize) + " (the game stops on it)");
  }
  for (const auto& [record, id] : layout.negativeIds) {
    problems.Add(script, "message " + std::to_string(record) + " has ID " + std::to_string(id) +
                             ": IDs must be at least 0 (the game stops on it)");
  }
  if (layout.pointSizeStops || !layout.negativeIds.empty()) return false;

  std::istringstream in(text);
  const Tutorial tutorial(in, script);
  CheckMessages(script, tutorial, level, problems);
  CheckTutorialText(script, tutorial, layout.recordLines, problems);
  return true;
}

}  // namespace validator
