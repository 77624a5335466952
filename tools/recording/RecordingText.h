// Input recordings in two forms: the binary playback file the game records and plays
// (8-byte records of little-endian frames and mask, closed by an all-ones end record),
// and a text form for people and diffs:
//
//   # a comment; blank lines are ignored
//   38 right+jump      frames since the previous change, then the keys held after it
//   12 -               nothing held
//   4 gun+0x1000000    bits without a name as a hex mask
//   end
//
// Key names: left right gun sword jump stride up down info pause menu menu_up
// menu_down menu_enter debug1 .. debug9 debug0.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace recording {

struct Record {
  std::uint32_t frames = 0;
  std::uint32_t mask = 0;
  bool operator==(const Record&) const = default;
};

// Reads the text form; on a fault returns false with `error` = "name:line: what was wrong".
bool ReadText(std::istream& in, const std::string& name, std::vector<Record>& records,
              std::string& error);
void WriteText(std::ostream& out, const std::vector<Record>& records);
// Reads the binary playback form (the end record is required and not returned).
bool ReadBinary(std::istream& in, const std::string& name, std::vector<Record>& records,
                std::string& error);
void WriteBinary(std::ostream& out, const std::vector<Record>& records);  // writes the end record too
std::string MaskText(std::uint32_t mask);  // "right+jump", "-" for none
std::uint64_t TotalFrames(const std::vector<Record>& records);  // sum of frames
// Converts a whole file; writes nothing (and leaves no partial output) on a fault.
bool ConvertFile(const std::string& from, const std::string& to, bool toBinary,
                 std::string& error);

}  // namespace recording
