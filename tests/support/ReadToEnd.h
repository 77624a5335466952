// Reads what a child process or a redirected stream left in a pipe.
#pragma once

#include <unistd.h>

#include <string>

namespace testsupport {

// Everything left to read from `fd` until its writers are gone (or, for a non-blocking
// pipe, until it is empty); then closes it.
inline std::string ReadToEnd(int fd) {
  std::string text;
  char buffer[512];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
  close(fd);
  return text;
}

}  // namespace testsupport
