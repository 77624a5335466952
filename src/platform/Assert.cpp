#include "platform/Assert.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
AssertionHook gHook = nullptr;
}  // namespace

void SetAssertionHook(AssertionHook hook) {
  gHook = hook;
}

void AssertionFailed(const char* expression, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, file, line);
  std::fflush(stderr);
  if (gHook) gHook(expression, file, line);
  std::abort();
}

}  // namespace platform
