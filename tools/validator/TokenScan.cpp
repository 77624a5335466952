#include "TokenScan.h"

#include <fstream>
#include <optional>

#include "game/data/TokenReader.h"

namespace validator {

TokenScan::TokenScan(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in.is_open()) {
    m_error = "cannot be opened";
    return;
  }
  for (std::string token; in >> token;) m_tokens.push_back(std::move(token));
}

void TokenScan::Fail(const std::string& message) {
  if (m_error.empty()) m_error = message;
}

bool TokenScan::Word(std::string_view what, std::string& out) {
  if (Failed()) return false;
  if (m_next >= m_tokens.size()) {
    Fail(MissingTokenMessage(what));
    return false;
  }
  out = m_tokens[m_next++];
  return true;
}

// Reads one token with the game's rule for its kind.
template <typename T, typename Parse>
bool TokenScan::Token(std::string_view what, std::string_view kind, Parse parse, T& out) {
  std::string token;
  if (!Word(what, token)) return false;
  if (const std::optional<T> value = parse(token)) {
    out = *value;
    return true;
  }
  Fail(MalformedTokenMessage(what, kind, token));
  return false;
}

bool TokenScan::Int(std::string_view what, int& out) {
  return Token(what, "a whole number", ParseWholeNumber, out);
}

bool TokenScan::Float(std::string_view what, float& out) {
  return Token(what, "a decimal number", ParseDecimalNumber, out);
}

bool TokenScan::Bool(std::string_view what, bool& out) {
  return Token(what, "0 or 1", ParseFlag, out);
}

}  // namespace validator
