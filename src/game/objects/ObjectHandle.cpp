// The handle registry: a map from live handles to their objects.
#include "game/objects/ObjectHandle.h"

#include <cmath>
#include <unordered_map>

#include "game/objects/GameObject.h"
#include "platform/Assert.h"

namespace {

struct Registry {
  std::unordered_map<ObjectHandle, GameObject*> objects;
  ObjectHandle next = 1;
};

// Built on first use and never destroyed, so objects that outlive static
// destruction (or are built during static initialisation) still find it.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

ObjectHandle ObjectRegistry::Register(GameObject* object) {
  Registry& registry = TheRegistry();
  // Every number taken would mean 16 million live objects.
  VT_ASSERT(registry.objects.size() < kMaxHandle);
  while (registry.objects.count(registry.next) != 0) {
    registry.next = registry.next == kMaxHandle ? 1 : registry.next + 1;
  }
  const ObjectHandle handle = registry.next;
  registry.next = handle == kMaxHandle ? 1 : handle + 1;
  registry.objects.emplace(handle, object);
  return handle;
}

void ObjectRegistry::Release(ObjectHandle handle) {
  TheRegistry().objects.erase(handle);
}

GameObject* ObjectRegistry::Resolve(ObjectHandle handle) {
  if (handle == NO_OBJECT) return nullptr;
  const Registry& registry = TheRegistry();
  auto found = registry.objects.find(handle);
  return found == registry.objects.end() ? nullptr : found->second;
}

int ObjectRegistry::LiveCount() {
  return static_cast<int>(TheRegistry().objects.size());
}

void ObjectRegistry::SetNextHandleForTesting(ObjectHandle next) {
  VT_ASSERT(next >= 1 && next <= kMaxHandle);
  TheRegistry().next = next;
}

float LinkTo(const GameObject* object) {
  return object ? static_cast<float>(object->GetHandle()) : 0.0f;
}

GameObject* LinkedObject(float link) {
  // Written as a positive test so NaN fails it too.
  if (!(link >= 1.0f && link <= static_cast<float>(ObjectRegistry::kMaxHandle))) return nullptr;
  if (std::trunc(link) != link) return nullptr;
  return ObjectRegistry::Resolve(static_cast<ObjectHandle>(link));
}
