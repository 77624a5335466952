#include "TokenScan.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace validator {

namespace {
// The game's reader accepts one leading '+'.
const char* SkipPlusSign(const char* first, const char* last) {
  if (last - first > 1 && first[0] == '+' && first[1] != '-') return first + 1;
  return first;
}
}  // namespace

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
    Fail("the file ends where " + std::string(what) + " belongs");
    return false;
  }
  out = m_tokens[m_next++];
  return true;
}

bool TokenScan::Int(std::string_view what, int& out) {
  std::string token;
  if (!Word(what, token)) return false;
  const char* last = token.data() + token.size();
  const char* first = SkipPlusSign(token.data(), last);
  const auto [end, error] = std::from_chars(first, last, out);
  if (error == std::errc() && end == last) return true;
  Fail("expected " + std::string(what) + " (a whole number), found \"" + token + "\"");
  return false;
}

bool TokenScan::Float(std::string_view what, float& out) {
  std::string token;
  if (!Word(what, token)) return false;
  const char* last = token.data() + token.size();
  const char* first = SkipPlusSign(token.data(), last);
  const auto [end, error] = std::from_chars(first, last, out, std::chars_format::general);
  if (error == std::errc() && end == last && std::isfinite(out)) return true;
  Fail("expected " + std::string(what) + " (a decimal number), found \"" + token + "\"");
  return false;
}

bool TokenScan::Bool(std::string_view what, bool& out) {
  std::string token;
  if (!Word(what, token)) return false;
  if (token == "0" || token == "1") {
    out = token == "1";
    return true;
  }
  Fail("expected " + std::string(what) + " (0 or 1), found \"" + token + "\"");
  return false;
}

}  // namespace validator
