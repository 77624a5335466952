#include "TextFileChecks.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "game/player/PlayerObject.h"

namespace validator {

namespace {

constexpr int kBlocks = 4;
constexpr int kRows = 10;
constexpr std::size_t kMaxNameLength = 9;
constexpr std::size_t kHeroValues = kHeroTuningValues;

// The lines of a text file, a CR before each line end dropped.
bool ReadLines(const std::string& file, std::vector<std::string>& lines) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return true;
}

bool NameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '\'' || c == ' ';
}

}  // namespace

void CheckScores(const std::string& file, Problems& problems) {
  static const char* const kBlockNames[kBlocks] = {"single-player scores", "single-player times",
                                                   "multi-player scores", "multi-player times"};
  std::vector<std::string> lines;
  if (!ReadLines(file, lines)) {
    problems.Add(file, "missing: the high-score screens need it and the game never creates it");
    return;
  }
  const std::size_t expected = kBlocks * (kRows + 1);
  if (lines.size() != expected) {
    problems.Add(file, std::to_string(lines.size()) + " lines; it holds " +
                           std::to_string(kBlocks) + " blocks of " + std::to_string(kRows) +
                           " entries, each followed by an empty line (" + std::to_string(expected) +
                           " lines)");
    return;  // the rows no longer line up with their blocks
  }
  for (int block = 0; block < kBlocks; ++block) {
    const bool scores = block % 2 == 0;
    long previous = 0;
    for (int row = 0; row <= kRows; ++row) {
      const std::size_t index = static_cast<std::size_t>(block * (kRows + 1) + row);
      const std::string& line = lines[index];
      const std::string at = "line " + std::to_string(index + 1) + ": ";
      if (row == kRows) {
        if (!line.empty()) problems.Add(file, at + "expected the empty line after a block");
        continue;
      }
      const std::size_t tab = line.find('\t');
      long value = 0;
      const char* last = line.data() + (tab == std::string::npos ? 0 : tab);
      const auto [end, error] = std::from_chars(line.data(), last, value);
      if (tab == std::string::npos || tab == 0 || error != std::errc() || end != last) {
        problems.Add(file, at + "expected \"value<TAB>name\", found " + Quoted(line));
        continue;
      }
      const std::string name = line.substr(tab + 1);
      if (name.size() > kMaxNameLength) {
        problems.Add(file, at + "the name " + Quoted(name) + " is longer than " +
                               std::to_string(kMaxNameLength) + " characters");
      } else {
        for (char c : name) {
          if (!NameCharacter(c)) {
            problems.Add(file, at + "the name " + Quoted(name) +
                                   " has characters the name entry cannot type");
            break;
          }
        }
      }
      // A result enters at the first row it beats, so each block must be in order.
      if (row > 0 && (scores ? value > previous : value < previous)) {
        problems.Add(file, at + "the " + kBlockNames[block] + " are not sorted " +
                               (scores ? "highest" : "lowest") + " first (" +
                               std::to_string(value) + " after " + std::to_string(previous) + ")");
      }
      previous = value;
    }
  }
}

std::vector<float> ReadProperties(const std::string& file, std::size_t wanted, Problems& problems) {
  std::vector<float> values;
  std::vector<std::string> lines;
  if (!ReadLines(file, lines)) return values;
  for (std::size_t i = 0; i < lines.size() && i < wanted; ++i) {
    std::istringstream line(lines[i]);
    float value = 0.0f;
    if (!(line >> value)) {
      problems.Add(file, "line " + std::to_string(i + 1) +
                             " does not start with a number; it and every later value keep "
                             "their defaults");
      return values;
    }
    values.push_back(value);
  }
  if (values.size() < wanted) {
    problems.Add(
        file, std::to_string(values.size()) + " values; the game reads " + std::to_string(wanted));
  }
  return values;
}

std::vector<float> CheckHeroTuning(const std::string& file, Problems& problems) {
  if (!std::ifstream(file).is_open()) {
    problems.Add(
        file, "missing: the player reads its " + std::to_string(kHeroValues) + " values from it");
    return {};
  }
  std::vector<float> v = ReadProperties(file, kHeroValues, problems);
  // The rules the game itself holds each value to; a breaking value keeps its default there.
  for (std::size_t i = 0; i < v.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (auto problem = HeroTuningProblem(line, v[i])) {
      problems.Add(file, "line " + std::to_string(line) + " (" + Number(v[i]) + ") " + *problem +
                             "; the game keeps its default");
    }
  }
  // Lines 20 to 24: combo window start and end, message window, max and start energy.
  if (v.size() >= 21 && !(v[19] < v[20])) {
    problems.Add(file, "the combo window (lines 20 and 21) closes at " + Number(v[20]) +
                           ", not after it opens at " + Number(v[19]));
  }
  if (v.size() >= 22 && !(v[21] > 0.0f)) {
    problems.Add(file, "line 22 (the combo message window) must be above 0");
  }
  if (v.size() >= 24 && v[23] > v[22]) {
    problems.Add(file, "line 24 (starting energy) is above line 23 (the maximum)");
  }
  return v;
}

}  // namespace validator
