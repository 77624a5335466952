#include "support/PlayCopy.h"

#include <fstream>

#include "support/TempDir.h"

namespace testsupport {

std::filesystem::path ShippedGame() { return BinaryDir() / "game"; }

std::string PlayList(const std::string& name, const std::string& file) {
  std::string list = "8 0\n";
  for (int state = 1; state <= 12; ++state) list += state == 8 ? "1 " + name + " " + file + "\n" : "0\n";
  return list;
}

void CopyShipped(const std::filesystem::path& destination) {
  std::filesystem::copy(ShippedGame(), destination, std::filesystem::copy_options::recursive);
}

void CopyForPlay(const std::filesystem::path& destination, const std::string& name, const std::string& file) {
  CopyShipped(destination);
  std::ofstream(destination / "Gold.vt") << PlayList(name, file);
}

}  // namespace testsupport
