// Input recordings between the text form and the game's playback file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "RecordingText.h"
#include "game/input/Input.h"
#include "support/TempDir.h"

namespace recording {
namespace {

std::string Binary(const std::vector<Record>& records) {
  std::ostringstream out;
  WriteBinary(out, records);
  return out.str();
}

std::string Bytes(std::initializer_list<unsigned char> bytes) { return {bytes.begin(), bytes.end()}; }

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads `text`; the error, or "" when it reads.
std::string TextError(const std::string& text) {
  std::istringstream in(text);
  std::vector<Record> records;
  std::string error;
  return ReadText(in, "run.txt", records, error) ? "" : error;
}

std::string BinaryError(const std::string& bytes) {
  std::istringstream in(bytes);
  std::vector<Record> records;
  std::string error;
  return ReadBinary(in, "run.rec", records, error) ? "" : error;
}

TEST(RecordingText, KeyNamesAreTheGamesActionBits) {
  const std::pair<ActionBits, const char*> keys[] = {
      {MOVE_LEFT, "left"}, {MOVE_RIGHT, "right"}, {FIRE_GUN, "gun"}, {SWING_SWORD, "sword"},
      {JUMP, "jump"}, {STRIDE, "stride"}, {AIM_UP, "up"}, {AIM_DOWN, "down"},
      {CONTROLS_INFORMATION, "info"}, {PAUSE_GAME, "pause"}, {DISPLAY_MENU, "menu"},
      {UP_OPTIONS_SELECTION, "menu_up"}, {DOWN_OPTIONS_SELECTION, "menu_down"},
      {ENTER_MENU_SELECTION, "menu_enter"}, {DEBUG_1, "debug1"}, {DEBUG_2, "debug2"},
      {DEBUG_3, "debug3"}, {DEBUG_4, "debug4"}, {DEBUG_5, "debug5"}, {DEBUG_6, "debug6"},
      {DEBUG_7, "debug7"}, {DEBUG_8, "debug8"}, {DEBUG_9, "debug9"}, {DEBUG_0, "debug0"}};
  ActionBits all = 0;
  for (const auto& [bit, name] : keys) {
    EXPECT_EQ(MaskText(bit), name);
    std::istringstream in(std::string("7 ") + name + "\nend\n");
    std::vector<Record> records;
    std::string error;
    ASSERT_TRUE(ReadText(in, "keys.txt", records, error)) << error;
    EXPECT_EQ(records, (std::vector<Record>{{7, bit}})) << name;
    all |= bit;
  }
  // Every bit past the named ones shows as hex, so a new action needs a name here.
  EXPECT_EQ(MaskText(~all), "0xff000000");
  EXPECT_EQ(MaskText(0), "-");
  EXPECT_EQ(MaskText(JUMP | MOVE_RIGHT | 0x1000000), "right+jump+0x1000000");
}

TEST(RecordingText, TextAndBinaryRoundTripByteForByte) {
  const std::vector<Record> records = {
      {4, JUMP}, {10, 0}, {38, MOVE_RIGHT | JUMP}, {0, FIRE_GUN | 0x1000000},
      {0xFFFFFFFE, 0xFFFFFFFF}, {1, 0x80000000}};
  const std::string binary = Binary(records);
  EXPECT_EQ(binary.substr(0, 16), Bytes({4, 0, 0, 0, 0x10, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(binary.substr(binary.size() - 8), std::string(8, '\xFF'));

  std::vector<Record> fromBinary;
  std::string error;
  std::istringstream binaryIn(binary);
  ASSERT_TRUE(ReadBinary(binaryIn, "run.rec", fromBinary, error)) << error;
  EXPECT_EQ(fromBinary, records);

  std::ostringstream text;
  WriteText(text, fromBinary);
  std::istringstream textIn(text.str());
  std::vector<Record> fromText;
  ASSERT_TRUE(ReadText(textIn, "run.txt", fromText, error)) << error << "\n" << text.str();
  EXPECT_EQ(Binary(fromText), binary);
  EXPECT_EQ(TotalFrames(records), 4u + 10u + 38u + std::uint64_t{0xFFFFFFFE} + 1u);
}

TEST(RecordingText, HandWrittenTextReads) {
  std::istringstream in(
      "# junkyard, first screen\r\n"
      "\n"
      "  12\t-\n"
      "38 right+jump\r\n"
      "   # the hex bits ride along\n"
      "5 0x1000000+gun\n"
      "0 0xA0000000\n"
      "end\n"
      "# trailing comment\n\n");
  std::vector<Record> records;
  std::string error;
  ASSERT_TRUE(ReadText(in, "hand.txt", records, error)) << error;
  EXPECT_EQ(records, (std::vector<Record>{
                         {12, 0}, {38, MOVE_RIGHT | JUMP}, {5, FIRE_GUN | 0x1000000}, {0, 0xA0000000}}));
}

TEST(RecordingText, FaultyTextNamesFileLineAndFault) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"# c\n4 jmup\nend\n", "run.txt:2: unknown key \"jmup\" in \"jmup\""},
      {"4 right+Jump\nend\n", "run.txt:1: unknown key \"Jump\" in \"right+Jump\""},
      {"4 right+\nend\n", "run.txt:1: empty key name in \"right+\""},
      {"4 jump+jump\nend\n", "run.txt:1: key \"jump\" given twice in \"jump+jump\""},
      {"4 0x1g\nend\n", "run.txt:1: bad hex mask \"0x1g\" in \"0x1g\""},
      {"4 0x100000000\nend\n",
       "run.txt:1: hex mask \"0x100000000\" is wider than 32 bits in \"0x100000000\""},
      {"\n\nx4 jump\nend\n", "run.txt:3: frame count \"x4\" is not a whole number"},
      {"4.5 jump\nend\n", "run.txt:1: frame count \"4.5\" is not a whole number"},
      {"+4 jump\nend\n", "run.txt:1: frame count \"+4\" is not a whole number"},
      {"-4 jump\nend\n", "run.txt:1: negative frame count \"-4\""},
      {"4294967296 jump\nend\n", "run.txt:1: frame count \"4294967296\" is too large"},
      {"99999999999999999999999 jump\nend\n",
       "run.txt:1: frame count \"99999999999999999999999\" is too large"},
      {"4294967295 jump\nend\n",
       "run.txt:1: frame count \"4294967295\" is kept for the end record"},
      {"4\nend\n", "run.txt:1: missing keys after the frame count"},
      {"4 jump left\nend\n", "run.txt:1: unexpected \"left\" after the keys"},
      {"4 jump # held\nend\n", "run.txt:1: unexpected \"#\" after the keys"},
      {"4 jump\n", "run.txt:1: missing \"end\" as the last line"},
      {"4 jump\n# end\n\n", "run.txt:3: missing \"end\" as the last line"},
      {"", "run.txt:1: missing \"end\" as the last line"},
      {"4 jump\nend\n\n5 -\n", "run.txt:4: \"5\" after \"end\" on line 2"},
      {"end\nend\n", "run.txt:2: \"end\" after \"end\" on line 1"},
      {"4 jump\nend now\n", "run.txt:2: unexpected \"now\" after \"end\""},
      {"4 ju\x01mp\nend\n", "run.txt:1: unknown key \"ju\\x01mp\" in \"ju\\x01mp\""},
  };
  for (const auto& c : cases) EXPECT_EQ(TextError(c.text), c.error) << c.text;
}

TEST(RecordingText, FaultyBinaryNamesFileOffsetAndFault) {
  const std::string end(8, '\xFF');
  const std::string jump = Bytes({4, 0, 0, 0, 0x10, 0, 0, 0});
  const struct {
    std::string bytes;
    const char* error;
  } cases[] = {
      {"", "run.rec: the file ends without its end record"},
      {jump, "run.rec: the file ends without its end record"},
      {jump + Bytes({1, 0, 0}), "run.rec: byte 8: record cut short (3 of its 8 bytes)"},
      {jump + end.substr(0, 7), "run.rec: byte 8: record cut short (7 of its 8 bytes)"},
      {jump + end + "ab", "run.rec: byte 16: 2 bytes after the end record"},
      {jump + end + jump + end, "run.rec: byte 16: 16 bytes after the end record"},
      {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 0, 0}) + end,
       "run.rec: byte 0: frame count 0xFFFFFFFF without the end record's mask"},
  };
  for (const auto& c : cases) EXPECT_EQ(BinaryError(c.bytes), c.error) << c.bytes.size() << " bytes";
  EXPECT_EQ(BinaryError(end), "") << "an empty recording is only its end record";
}

TEST(RecordingText, ConvertFileConvertsBothWays) {
  testsupport::TempDir dir;
  std::ofstream(dir / "run.txt") << "# hand-made\n3 jump\n2 -\nend\n";
  std::string error;
  ASSERT_TRUE(ConvertFile((dir / "run.txt").string(), (dir / "run.rec").string(), true, error))
      << error;
  EXPECT_EQ(FileText(dir / "run.rec"), Binary({{3, JUMP}, {2, 0}}));
  ASSERT_TRUE(ConvertFile((dir / "run.rec").string(), (dir / "back.txt").string(), false, error))
      << error;
  std::ostringstream expected;
  WriteText(expected, {{3, JUMP}, {2, 0}});
  EXPECT_EQ(FileText(dir / "back.txt"), expected.str());
}

TEST(RecordingText, ConvertFileWritesNothingOnAFault) {
  testsupport::TempDir dir;
  std::ofstream(dir / "bad.txt") << "3 jump\n2 jmup\nend\n";
  std::ofstream(dir / "bad.rec", std::ios::binary) << Bytes({3, 0, 0, 0, 0x10});
  std::ofstream(dir / "kept.rec") << "earlier";
  const struct {
    std::string from, to;
    bool toBinary;
    std::string error;
  } cases[] = {
      {"bad.txt", "new.rec", true, ":2: unknown key \"jmup\" in \"jmup\""},
      {"bad.txt", "kept.rec", true, ":2: unknown key \"jmup\" in \"jmup\""},
      {"bad.rec", "new.txt", false, ": byte 0: record cut short (5 of its 8 bytes)"},
      {"missing.txt", "new.rec", true, ": cannot be opened"},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::string from = (dir / c.from).string();
    EXPECT_FALSE(ConvertFile(from, (dir / c.to).string(), c.toBinary, error));
    EXPECT_EQ(error, from + c.error);
  }
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"bad.rec", "bad.txt", "kept.rec"}));
  EXPECT_EQ(FileText(dir / "kept.rec"), "earlier");

  std::string error;
  std::ofstream(dir / "good.txt") << "end\n";
  EXPECT_FALSE(ConvertFile((dir / "good.txt").string(), (dir / "no/such/dir/x.rec").string(),
                           true, error));
  EXPECT_EQ(error, (dir / "no/such/dir/x.rec").string() + ": cannot be written");
}

}  // namespace
}  // namespace recording
