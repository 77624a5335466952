#include "game/TokenReader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

void DataFileError(const std::string& file, const std::string& message) {
  std::fprintf(stderr, "Data file \"%s\": %s\n", file.c_str(), message.c_str());
  std::fflush(stderr);
  std::abort();
}

namespace {
// The stream readers accept a leading '+', so the data may carry one.
void SkipPlusSign(const char*& first, const char* last) {
  if (last - first > 1 && first[0] == '+' && first[1] != '-') ++first;
}
}  // namespace

TokenReader::TokenReader(std::istream& in, std::string fileName)
    : m_in(in), m_fileName(std::move(fileName)) {}

void TokenReader::Fail(const std::string& message) const {
  DataFileError(m_fileName, message);
}

void TokenReader::Malformed(std::string_view what, std::string_view kind,
                            const std::string& token) const {
  Fail("expected " + std::string(what) + " (" + std::string(kind) + "), found \"" + token + "\"");
}

std::string TokenReader::Word(std::string_view what) {
  std::string token;
  if (!(m_in >> token)) Fail("the file ends where " + std::string(what) + " belongs");
  return token;
}

int TokenReader::Int(std::string_view what) {
  const std::string token = Word(what);
  const char* first = token.data();
  const char* last = first + token.size();
  SkipPlusSign(first, last);
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) Malformed(what, "a whole number", token);
  return value;
}

float TokenReader::Float(std::string_view what) {
  const std::string token = Word(what);
  const char* first = token.data();
  const char* last = first + token.size();
  SkipPlusSign(first, last);
  float value = 0.0f;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) {
    Malformed(what, "a decimal number", token);
  }
  return value;
}

bool TokenReader::Bool(std::string_view what) {
  const std::string token = Word(what);
  if (token != "0" && token != "1") Malformed(what, "0 or 1", token);
  return token == "1";
}
