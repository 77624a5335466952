// The collision-type table "clsntypes.ctt".
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "PhysicsLib/CollisionTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteInput("clsntypes.ctt", data, size);
  if (LoadCollisionTypes(path)) {
    const int count = CollisionTypeTable::Count();
    for (int i = -1; i <= count; ++i) {
      for (int j = -1; j <= count; ++j) CollisionTypeTable::Get(i, j);
    }
  }
  CollisionTypeTable::Rows().clear();
  return 0;
}
