// The data room holds the token reader of the text data files with its data-error
// rule, and the high-score file.
//
// Reads the whitespace-separated tokens of the game's text data files (game
// list, sound list, prototype list, level files). A token that is missing or is
// not what the format asks for stops the game with a message naming the file,
// what was expected and what was found: the data is unusable and reading on
// would only build a broken game.
//
// How the game treats bad data, everywhere:
// - A token that is missing, malformed or names something that does not exist
//   stops the game at once: Fail / DataFileError, "Data file "<file>": ..."
//   with what was expected and the token found (bytes that would not print,
//   such as NUL, shown escaped).
// - A file the game cannot start without that does not open ("Gold.vt",
//   "Sounds.vtse", "SpriteList.vtsl") is reported with ReportDataFileProblem,
//   naming it; then Init fails, or the game's own check on it stops the game.
//   A count or bound that the level and prototype readers check with an
//   assertion is reported the same way (IntAtLeast, Report), naming the file
//   and the value, before the assertion stops the game.
// - A file the game can play on without is reported naming it and skipped: an
//   animation file that does not read is left empty, a level file that does
//   not open leaves an empty level (named with its "Gold.vt" entry; a game
//   started on a level without a hero then stops naming the file), a missing or
//   damaged "clsntypes.ctt" leaves nothing colliding, a sound effect that does
//   not load is left out (named with its line in "Sounds.vtse").
// - A count in the game list or the sound list that is below 0, or a start state
//   that is none, stops the game like a malformed token, naming the line.
// - Optional files are not reported at all: a prototype's "data/<name>.ini"
//   and a level's tutorial script.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

// Prints "Data file "<file>": <message>" on stderr and stops the program.
[[noreturn]] void DataFileError(const std::string& file, const std::string& message);
// Test seam for programs that feed damaged files by the thousand (the fuzz targets):
// the hook runs after the message and may throw instead of letting the program stop.
// The game never sets one.
using DataFileStopHook = void (*)(const std::string& file, const std::string& message);
void SetDataFileStopHook(DataFileStopHook hook);
// Prints the same line and goes on.
void ReportDataFileProblem(const std::string& file, const std::string& message);
// The text with every byte that would not print (NUL, control bytes) as \xNN,
// so a message shows all of a damaged token.
std::string EscapeUnprintable(std::string_view text);

// The token rules, shared with the data validator so both read the same data.
// A number may carry one leading '+'; decimals must be finite; flags are 0 or 1.
std::optional<int> ParseWholeNumber(const std::string& token);
std::optional<float> ParseDecimalNumber(const std::string& token);
std::optional<bool> ParseFlag(const std::string& token);
// The messages for a missing and for a malformed token.
std::string MissingTokenMessage(std::string_view what);
std::string MalformedTokenMessage(std::string_view what, std::string_view kind,
                                  const std::string& token);

class TokenReader {
 public:
  TokenReader(std::istream& in, std::string fileName);

  // `what` names the value for the message ("the sprite count").
  std::string Word(std::string_view what);
  int Int(std::string_view what);
  // Finite decimal numbers only.
  float Float(std::string_view what);
  // Exactly 0 or 1.
  bool Bool(std::string_view what);
  // A whole number that must be at least `minimum`. A smaller one is reported,
  // naming the file, and returned: the reader's own assertion on it stops the game.
  int IntAtLeast(std::string_view what, int minimum);

  const std::string& FileName() const { return m_fileName; }
  // The line (from 1) of the last token read, for messages that point into a list.
  int Line() const { return m_tokenLine; }
  [[noreturn]] void Fail(const std::string& message) const;
  // Reports a problem, naming the file, and goes on.
  void Report(const std::string& message) const;

 private:
  std::istream& m_in;
  std::string m_fileName;
  int m_line = 1;
  int m_tokenLine = 0;
};
