#include "game/data/TokenReader.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
DataFileStopHook gStopHook = nullptr;
}  // namespace

void SetDataFileStopHook(DataFileStopHook hook) {
  gStopHook = hook;
}

std::string EscapeUnprintable(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", byte);
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

void ReportDataFileProblem(const std::string& file, const std::string& message) {
  // Escaped here too, so no byte in a name or token can cut the line short.
  const std::string line =
      "Data file \"" + EscapeUnprintable(file) + "\": " + EscapeUnprintable(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void DataFileError(const std::string& file, const std::string& message) {
  ReportDataFileProblem(file, message);
  if (gStopHook) gStopHook(file, message);
  std::abort();
}

namespace {
// The stream readers accept a leading '+', so the data may carry one.
const char* SkipPlusSign(const char* first, const char* last) {
  if (last - first > 1 && first[0] == '+' && first[1] != '-') return first + 1;
  return first;
}
}  // namespace

std::optional<int> ParseWholeNumber(const std::string& token) {
  const char* last = token.data() + token.size();
  int value = 0;
  const auto [end, error] = std::from_chars(SkipPlusSign(token.data(), last), last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<float> ParseDecimalNumber(const std::string& token) {
  const char* last = token.data() + token.size();
  float value = 0.0f;
  const auto [end, error] =
      std::from_chars(SkipPlusSign(token.data(), last), last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<bool> ParseFlag(const std::string& token) {
  if (token != "0" && token != "1") return std::nullopt;
  return token == "1";
}

std::string MissingTokenMessage(std::string_view what) {
  return "the file ends where " + std::string(what) + " belongs";
}

std::string MalformedTokenMessage(std::string_view what, std::string_view kind,
                                  const std::string& token) {
  const std::string shown = EscapeUnprintable(token);
  std::string message =
      "expected " + std::string(what) + " (" + std::string(kind) + "), found \"" + shown + "\"";
  // An escaped token reads longer than it is; its length tells them apart.
  if (shown.size() != token.size()) message += " (" + std::to_string(token.size()) + " bytes)";
  return message;
}

TokenReader::TokenReader(std::istream& in, std::string fileName)
    : m_in(in), m_fileName(std::move(fileName)) {}

void TokenReader::Fail(const std::string& message) const {
  DataFileError(m_fileName, message);
}

void TokenReader::Report(const std::string& message) const {
  ReportDataFileProblem(m_fileName, message);
}

std::string TokenReader::Word(std::string_view what) {
  // The blanks before a token are skipped here, so the lines they end are counted.
  for (int c = m_in.peek(); c != std::char_traits<char>::eof() && std::isspace(c);
       c = m_in.peek()) {
    if (c == '\n') ++m_line;
    m_in.get();
  }
  std::string token;
  if (!(m_in >> token)) Fail(MissingTokenMessage(what));
  m_tokenLine = m_line;
  return token;
}

int TokenReader::Int(std::string_view what) {
  const std::string token = Word(what);
  const std::optional<int> value = ParseWholeNumber(token);
  if (!value) Fail(MalformedTokenMessage(what, "a whole number", token));
  return *value;
}

float TokenReader::Float(std::string_view what) {
  const std::string token = Word(what);
  const std::optional<float> value = ParseDecimalNumber(token);
  if (!value) Fail(MalformedTokenMessage(what, "a decimal number", token));
  return *value;
}

bool TokenReader::Bool(std::string_view what) {
  const std::string token = Word(what);
  const std::optional<bool> value = ParseFlag(token);
  if (!value) Fail(MalformedTokenMessage(what, "0 or 1", token));
  return *value;
}

int TokenReader::IntAtLeast(std::string_view what, int minimum) {
  const int value = Int(what);
  if (value < minimum) {
    Report(
        MalformedTokenMessage(what, std::to_string(minimum) + " or more", std::to_string(value)));
  }
  return value;
}
