// Always-on assertions with the game's one report format.
#pragma once

namespace platform {
// Prints "Assertion failed: <expr>, file <file>, line <line>" on stderr and aborts.
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);
// Test seam for the fuzz targets, which count the data checks written as assertions as
// handled: the hook runs after the message and may throw. The game never sets one.
using AssertionHook = void (*)(const char* expression, const char* file, int line);
void SetAssertionHook(AssertionHook hook);
}  // namespace platform

// __FILE__ is mapped to the path below src/ by the build.
#define VT_ASSERT(expr) \
  ((expr) ? static_cast<void>(0) : ::platform::AssertionFailed(#expr, __FILE__, __LINE__))
