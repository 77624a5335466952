// Whitespace tokens of a text data file, read with the same rules as the game's token
// reader but without stopping the program: the first token that is missing or malformed
// is remembered as the file's problem and every later read fails, so a parse unwinds.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace validator {

class TokenScan {
 public:
  // Reads the whole file; one that does not open leaves Error() set.
  explicit TokenScan(const std::filesystem::path& path);

  // `what` names the value for the message ("the sprite count").
  bool Word(std::string_view what, std::string& out);
  bool Int(std::string_view what, int& out);
  // Finite decimal numbers only.
  bool Float(std::string_view what, float& out);
  // Exactly 0 or 1.
  bool Bool(std::string_view what, bool& out);
  // Records a problem found by the caller; later reads fail as after a bad token.
  void Fail(const std::string& message);

  bool Failed() const { return !m_error.empty(); }
  const std::string& Error() const { return m_error; }
  std::size_t Remaining() const { return m_tokens.size() - m_next; }

 private:
  template <typename T, typename Parse>
  bool Token(std::string_view what, std::string_view kind, Parse parse, T& out);

  std::vector<std::string> m_tokens;
  std::size_t m_next = 0;
  std::string m_error;
};

}  // namespace validator
