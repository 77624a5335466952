// vantrel_levelcontents LEVEL...: lists what each level file holds. A file that cannot be
// read is named with its fault; the others are still listed, and the exit status is 1.
#include <cstdio>
#include <string>

#include "LevelContents.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vantrel_levelcontents LEVEL...\n");
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    levelcontents::LevelContents contents;
    std::string error;
    if (!levelcontents::CountFile(argv[i], contents, error)) {
      std::fprintf(stderr, "vantrel_levelcontents: %s\n", error.c_str());
      status = 1;
      continue;
    }
    std::printf("%s\n%s", argv[i], levelcontents::Describe(contents).c_str());
  }
  return status;
}
