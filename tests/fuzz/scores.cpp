// The high-score file: whatever it holds, a save writes a whole table of four
// blocks of ten, with names no longer than the game keeps, and what it wrote
// reads back as the table it meant to write.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "game/data/ScoreFile.h"

// A save syncs its file and folder to the disk, which costs far more than the
// rest of it; in a memory file system the fuzzer spends its time on inputs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path =
      fuzz::WriteInput(std::string("scores/") + scorefile::kFileName, data, size);
  // The input's first bytes also pick the result to save.
  std::uint32_t pick[2] = {0, scorefile::kNoTime};
  std::memcpy(pick, data, std::min(size, sizeof pick));
  const scorefile::Result result{
      (pick[0] & 1) != 0, static_cast<int>(pick[0] >> 1), static_cast<int>(pick[1]),
      std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 12))};

  scorefile::ScoreTable expected = scorefile::Load(path).table;
  const scorefile::Slots slots =
      scorefile::Rank(expected, result.multiPlayer, result.score, result.time);
  const std::string name = scorefile::CleanName(result.name);
  scorefile::Insert(expected, slots.score, result.score, name);
  scorefile::Insert(expected, slots.time, result.time, name);
  for (const std::string& kept : expected.names) {
    if (kept.size() > scorefile::kMaxNameLength) __builtin_trap();
  }

  std::string error;
  if (!scorefile::Save(path, result, error)) __builtin_trap();
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto lines = std::count(text.begin(), text.end(), '\n');
  if (lines != scorefile::kBlocks * (scorefile::kBlockRows + 1) ||
      text != scorefile::Format(expected)) {
    __builtin_trap();
  }
  const scorefile::Loaded back = scorefile::Load(path);
  if (!back.problem.empty() || back.table.values != expected.values ||
      back.table.names != expected.names) {
    __builtin_trap();
  }
  return 0;
}
