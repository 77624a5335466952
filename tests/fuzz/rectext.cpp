// Input recordings in text form, and the same bytes as a playback file: whatever
// reads must write back to the same records (and, for a playback file, the same bytes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "RecordingText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<recording::Record> records;
  std::string error;

  std::istringstream text(bytes);
  if (recording::ReadText(text, "fuzz.txt", records, error)) {
    std::ostringstream written;
    recording::WriteText(written, records);
    std::istringstream again(written.str());
    std::vector<recording::Record> reread;
    if (!recording::ReadText(again, "again.txt", reread, error) || reread != records) std::abort();
  } else if (error.rfind("fuzz.txt:", 0) != 0) {
    std::abort();  // every text fault names the file and line
  }

  std::istringstream binary(bytes);
  if (recording::ReadBinary(binary, "fuzz.rec", records, error)) {
    std::ostringstream written;
    recording::WriteBinary(written, records);
    if (written.str() != bytes) std::abort();
  }
  return 0;
}
