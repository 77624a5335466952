// Collision shape blocks as the animation files hold them.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "PhysicsLib/CollisionShape.h"
#include "PhysicsLib/ShapeStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CollisionShape shape;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ReadCollisionShape(in, shape);
  // What was read must write back.
  std::ostringstream out;
  WriteCollisionShape(out, shape);
  return 0;
}
