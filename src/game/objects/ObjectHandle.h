// Links between game objects without addresses. Every GameObject gets a 32-bit
// handle when it is built; a property that links to another object (a name
// ending in "Ptr") holds that handle as an exact float value, 0 for no link.
// Resolving the handle of a deleted object gives null, so a stale link can
// never reach freed memory. Small integers kept in a float's bits go through
// the bit-cast helpers below and are never compared as floats.
#pragma once

#include <bit>
#include <cstdint>

class GameObject;

using ObjectHandle = std::uint32_t;

// The handle no object has: the value of an empty link.
inline constexpr ObjectHandle NO_OBJECT = 0;

class ObjectRegistry {
 public:
  // Handles stay below 2^24, where every integer is an exact float.
  static constexpr ObjectHandle kMaxHandle = (1u << 24) - 1;

  // A fresh handle for a new object; numbers are not reused until they run out,
  // and then only numbers no live object holds.
  static ObjectHandle Register(GameObject* object);
  static void Release(ObjectHandle handle);
  // The live object holding the handle, or null.
  static GameObject* Resolve(ObjectHandle handle);
  static int LiveCount();

  // Test hook: where the next search for a free number starts.
  static void SetNextHandleForTesting(ObjectHandle next);
};

// The property value that links to `object` (0 for null).
float LinkTo(const GameObject* object);
// The object a link property names, or null for 0, a deleted object, or a value
// that no handle has (negative, fractional, too large, NaN).
GameObject* LinkedObject(float link);

// A small integer stored unchanged in a float's 32 bits, and read back.
inline float IntToFlagBits(std::int32_t value) {
  return std::bit_cast<float>(value);
}
inline std::int32_t FlagBitsToInt(float bits) {
  return std::bit_cast<std::int32_t>(bits);
}
