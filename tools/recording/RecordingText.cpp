#include "RecordingText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace recording {
namespace {

constexpr std::uint32_t kEndMark = 0xFFFFFFFF;
constexpr std::size_t kRecordSize = 8;

// The game's action bits (game/Input.h) in bit order; the tools tests hold the two
// together, so this library needs nothing of the game's to link.
constexpr std::string_view kKeyNames[] = {
    "left",   "right",  "gun",    "sword",      "jump",      "stride",     "up",     "down",
    "info",   "pause",  "menu",   "menu_up",    "menu_down", "menu_enter", "debug1", "debug2",
    "debug3", "debug4", "debug5", "debug6",     "debug7",    "debug8",     "debug9", "debug0"};
constexpr std::size_t kNamedBits = std::size(kKeyNames);
constexpr std::uint32_t kUnnamedBits = ~((std::uint32_t{1} << kNamedBits) - 1);

// A token as a message shows it: bytes that would not print as \xNN.
std::string Shown(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

std::string Hex(std::uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// The whitespace-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (i < line.size()) {
    while (i < line.size() && blank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !blank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Parses a frame count; an empty string on success, else what was wrong with it.
std::string ParseFrames(std::string_view word, std::uint32_t& frames) {
  if (word.front() == '-') return "negative frame count " + Shown(word);
  std::uint64_t value = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return "frame count " + Shown(word) + " is not a whole number";
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > kEndMark) break;
  }
  if (value > kEndMark) return "frame count " + Shown(word) + " is too large";
  if (value == kEndMark) return "frame count " + Shown(word) + " is kept for the end record";
  frames = static_cast<std::uint32_t>(value);
  return {};
}

// Parses one key: a name or a hex mask.
std::string ParseKey(std::string_view key, std::uint32_t& bits) {
  if (key.empty()) return "empty key name";
  for (std::size_t bit = 0; bit < kNamedBits; ++bit) {
    if (key == kKeyNames[bit]) {
      bits = std::uint32_t{1} << bit;
      return {};
    }
  }
  if (key.size() > 2 && key[0] == '0' && key[1] == 'x') {
    const std::string_view digits = key.substr(2);
    std::uint64_t value = 0;
    for (const char c : digits) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return "bad hex mask " + Shown(key);
      value = value * 16 + static_cast<unsigned>(digit);
      if (value > kEndMark) return "hex mask " + Shown(key) + " is wider than 32 bits";
    }
    bits = static_cast<std::uint32_t>(value);
    return {};
  }
  return "unknown key " + Shown(key);
}

std::string ParseMask(std::string_view keys, std::uint32_t& mask) {
  mask = 0;
  if (keys == "-") return {};
  std::size_t start = 0;
  while (true) {
    const std::size_t plus = keys.find('+', start);
    const std::string_view key = keys.substr(start, plus - start);
    std::uint32_t bits = 0;
    std::string problem = ParseKey(key, bits);
    if (!problem.empty()) return problem + " in " + Shown(keys);
    // A key twice is most likely a slip for another one.
    if (mask & bits) return "key " + Shown(key) + " given twice in " + Shown(keys);
    mask |= bits;
    if (plus == std::string_view::npos) return {};
    start = plus + 1;
  }
}

bool Fail(std::string& error, const std::string& where, const std::string& what) {
  error = where + ": " + what;
  return false;
}

std::uint32_t GetLittleEndian(const unsigned char* in) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return value;
}

void PutLittleEndian(std::ostream& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

}  // namespace

bool ReadText(std::istream& in, const std::string& name, std::vector<Record>& records,
              std::string& error) {
  records.clear();
  std::string line;
  int lineNumber = 0;
  int endLine = 0;
  const auto where = [&] { return name + ":" + std::to_string(lineNumber); };
  while (std::getline(in, line)) {
    ++lineNumber;
    const std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0].front() == '#') continue;
    if (endLine != 0)
      return Fail(error, where(),
                  Shown(words[0]) + " after \"end\" on line " + std::to_string(endLine));
    if (words[0] == "end") {
      if (words.size() > 1)
        return Fail(error, where(), "unexpected " + Shown(words[1]) + " after \"end\"");
      endLine = lineNumber;
      continue;
    }
    Record record;
    std::string problem = ParseFrames(words[0], record.frames);
    if (problem.empty() && words.size() < 2) problem = "missing keys after the frame count";
    if (problem.empty()) problem = ParseMask(words[1], record.mask);
    if (problem.empty() && words.size() > 2)
      problem = "unexpected " + Shown(words[2]) + " after the keys";
    if (!problem.empty()) return Fail(error, where(), problem);
    records.push_back(record);
  }
  if (in.bad()) return Fail(error, name, "reading failed");
  if (endLine == 0)
    return Fail(error, name + ":" + std::to_string(lineNumber == 0 ? 1 : lineNumber),
                "missing \"end\" as the last line");
  return true;
}

void WriteText(std::ostream& out, const std::vector<Record>& records) {
  out << "# Input recording: frames since the previous change, then the keys held after it.\n";
  for (const Record& record : records) out << record.frames << ' ' << MaskText(record.mask) << '\n';
  out << "end\n";
}

bool ReadBinary(std::istream& in, const std::string& name, std::vector<Record>& records,
                std::string& error) {
  records.clear();
  for (std::uint64_t offset = 0;; offset += kRecordSize) {
    unsigned char bytes[kRecordSize];
    in.read(reinterpret_cast<char*>(bytes), kRecordSize);
    const auto got = static_cast<std::size_t>(in.gcount());
    const std::string where = name + ": byte " + std::to_string(offset);
    if (in.bad()) return Fail(error, name, "reading failed");
    if (got == 0) return Fail(error, name, "the file ends without its end record");
    if (got < kRecordSize)
      return Fail(error, where,
                  "record cut short (" + std::to_string(got) + " of its 8 bytes)");
    const Record record{GetLittleEndian(bytes), GetLittleEndian(bytes + 4)};
    if (record.frames == kEndMark && record.mask == kEndMark) {
      std::uint64_t extra = 0;
      while (in.get() != std::istream::traits_type::eof()) ++extra;
      if (extra != 0)
        return Fail(error, name + ": byte " + std::to_string(offset + kRecordSize),
                    std::to_string(extra) + " bytes after the end record");
      return true;
    }
    // The game would wait ~2 years on it; the text form keeps the count for the end.
    if (record.frames == kEndMark)
      return Fail(error, where, "frame count " + Hex(kEndMark) + " without the end record's mask");
    records.push_back(record);
  }
}

void WriteBinary(std::ostream& out, const std::vector<Record>& records) {
  for (const Record& record : records) {
    PutLittleEndian(out, record.frames);
    PutLittleEndian(out, record.mask);
  }
  PutLittleEndian(out, kEndMark);
  PutLittleEndian(out, kEndMark);
}

std::string MaskText(std::uint32_t mask) {
  if (mask == 0) return "-";
  std::string text;
  for (std::size_t bit = 0; bit < kNamedBits; ++bit) {
    if (!(mask & (std::uint32_t{1} << bit))) continue;
    if (!text.empty()) text += '+';
    text += kKeyNames[bit];
  }
  if (mask & kUnnamedBits) {
    if (!text.empty()) text += '+';
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(mask & kUnnamedBits));
    text += hex;
  }
  return text;
}

std::uint64_t TotalFrames(const std::vector<Record>& records) {
  std::uint64_t total = 0;
  for (const Record& record : records) total += record.frames;
  return total;
}

bool ConvertFile(const std::string& from, const std::string& to, bool toBinary,
                 std::string& error) {
  std::ifstream in(from, std::ios::binary);
  if (!in) return Fail(error, from, "cannot be opened");
  std::vector<Record> records;
  if (!(toBinary ? ReadText(in, from, records, error) : ReadBinary(in, from, records, error)))
    return false;

  // Written beside the target and renamed into place, so a failed write never leaves
  // a half file that a later build step would take as done.
  const std::string temporary = to + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (toBinary)
      WriteBinary(out, records);
    else
      WriteText(out, records);
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return Fail(error, to, "cannot be written");
    }
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, to, renamed);
  if (renamed) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Fail(error, to, "cannot be written (" + renamed.message() + ")");
  }
  return true;
}

}  // namespace recording
