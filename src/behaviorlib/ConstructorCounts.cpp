#include "behaviorlib/ConstructorCounts.h"

#include <cstdint>
#include <vector>

namespace constructorcounts {
namespace {

std::vector<std::int32_t>& Counts() {
  static std::vector<std::int32_t> counts;
  return counts;
}

bool Valid(int index) { return index >= 0 && index < static_cast<int>(Counts().size()); }

}  // namespace

int Append() {
  Counts().push_back(0);
  return static_cast<int>(Counts().size()) - 1;
}

int Get(int index) { return Valid(index) ? Counts()[static_cast<std::size_t>(index)] : 0; }

void Add(int index, int delta) {
  if (Valid(index)) Counts()[static_cast<std::size_t>(index)] += delta;
}

int Size() { return static_cast<int>(Counts().size()); }

void ResetForTests() { Counts().clear(); }

}  // namespace constructorcounts
