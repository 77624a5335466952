// One physics step over an object list: swept contacts in time order, each stopping both
// objects just short of the contact, then overlap contacts after all movement. Objects only
// meet objects of the same list.
#pragma once

#include <concepts>
#include <iterator>
#include <ranges>
#include <span>
#include <utility>
#include <vector>

#include "PhysicsLib/Contact.h"
#include "PhysicsLib/PhysicsObject.h"

// The objects of one list, in list order.
using PhysicsObjectList = std::span<PhysicsObject* const>;

// Moves the list's live objects by their velocities, resolving solid contacts and then
// reporting overlaps to both objects' callbacks.
void PhysicsStep(PhysicsObjectList objects);

// The earliest contact the object would make this step against the rest of the list, or an
// empty record. Moves nothing and calls no callback; never call it from a callback.
Contact CheckCollision(PhysicsObject* object, PhysicsObjectList objects);

// The parts of the step.
void ResolveCollisions(PhysicsObjectList objects);
void ProcessOverlaps(PhysicsObjectList objects);
// Appends a's earliest solid contact with b (a's types index the table's rows) to the
// contact list.
void SweepShapes(PhysicsObject* a, PhysicsObject* b);
// Reports each overlapping polygon pair of a and b to both callbacks.
void TestShapeOverlap(PhysicsObject* a, PhysicsObject* b);

// The contact list shared by the step and CheckCollision; empty between calls.
std::vector<Contact>& GetContactList();

// Any other list of object pointers (a list of sprites, say) is snapshotted first, so
// objects added by callbacks during the step wait for the next one.
template <class Range>
concept PhysicsObjectRange =
    std::ranges::input_range<const Range> &&
    std::convertible_to<std::ranges::range_reference_t<const Range>, PhysicsObject*> &&
    !std::convertible_to<const Range&, PhysicsObjectList>;

namespace physics_detail {
std::vector<PhysicsObject*> AcquireScratch();
void ReleaseScratch(std::vector<PhysicsObject*>&& scratch);

class ObjectSnapshot {
 public:
  template <class Range>
  explicit ObjectSnapshot(const Range& objects) : m_objects(AcquireScratch()) {
    for (auto&& object : objects) m_objects.push_back(object);
  }
  ~ObjectSnapshot() { ReleaseScratch(std::move(m_objects)); }
  ObjectSnapshot(const ObjectSnapshot&) = delete;
  ObjectSnapshot& operator=(const ObjectSnapshot&) = delete;

  PhysicsObjectList List() const { return m_objects; }

 private:
  std::vector<PhysicsObject*> m_objects;
};
}  // namespace physics_detail

template <PhysicsObjectRange Range>
void PhysicsStep(const Range& objects) {
  physics_detail::ObjectSnapshot snapshot(objects);
  PhysicsStep(snapshot.List());
}

template <PhysicsObjectRange Range>
Contact CheckCollision(PhysicsObject* object, const Range& objects) {
  physics_detail::ObjectSnapshot snapshot(objects);
  return CheckCollision(object, snapshot.List());
}
