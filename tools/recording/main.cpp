// vantrel_rectext to-binary|to-text IN OUT: converts an input recording between the
// text form and the game's playback file. On a fault prints it and leaves OUT untouched.
#include <cstdio>
#include <string>

#include "RecordingText.h"

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "to-binary" && mode != "to-text") {
    std::fprintf(stderr, "usage: vantrel_rectext to-binary|to-text IN OUT\n");
    return 2;
  }
  std::string error;
  if (!recording::ConvertFile(argv[2], argv[3], mode == "to-binary", error)) {
    std::fprintf(stderr, "vantrel_rectext: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
