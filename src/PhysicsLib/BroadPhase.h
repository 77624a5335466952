// Which objects of a list have overlapping boxes, without testing every pair: the boxes are
// kept sorted by their left edges, so only neighbours along x are compared. The step and the
// list probes get exactly the pairs and the order an all-pairs loop would give them.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "PhysicsLib/Bounds.h"
#include "PhysicsLib/PhysicsStep.h"

// On by default. Off, the step and the list probes test every pair: the reference the broad
// phase must agree with, for tests and benchmarks.
void SetBroadPhaseEnabled(bool enabled);
bool IsBroadPhaseEnabled();

// The boxes of places 0..n-1 (an object's place is its position in its list), sorted along
// one axis: x for a crowd spread along a level, y for one stacked up.
class SweepIndex {
 public:
  using Pair = std::pair<std::uint32_t, std::uint32_t>;

  void Clear(bool vertical = false);
  void Add(std::uint32_t place, const Bounds& box);
  // Moves a place filed with box `from` to box `to`.
  void Move(std::uint32_t place, const Bounds& from, const Bounds& to);

  // The places whose boxes overlap `box` (Bounds::Overlaps), in no particular order.
  void Query(const Bounds& box, std::vector<std::uint32_t>& places) const;
  // Every overlapping pair of places (first < second), in ascending order.
  void Pairs(std::vector<Pair>& pairs);

 private:
  // A box with its extent along the axis.
  struct Entry {
    float lo;
    float hi;
    Bounds box;
    std::uint32_t place;
  };
  Entry MakeEntry(std::uint32_t place, const Bounds& box) const;
  // Very long boxes and boxes with a NaN side (which Bounds::Overlaps treats as absent) are
  // compared with everything: one long platform would make every query reach that far.
  static bool IsWide(const Entry& e);
  template <class Key>
  void CountingSort(std::vector<Pair>& pairs, std::uint32_t places, Key key);

  bool m_vertical = false;
  // The other boxes by their near edge; the longest of them bounds how far before a query
  // an overlapping box can start.
  std::vector<Entry> m_sorted;
  float m_maxWidth = 0.0f;
  std::vector<Entry> m_wide;
  // Scratch for putting pairs in order.
  std::vector<std::uint32_t> m_rowStarts;
  std::vector<Pair> m_byRow;
};

// Whether the boxes of the objects `take` accepts (all when null) spread further down than
// across, so an index of them sweeps along y.
bool SweepAlongY(PhysicsObjectList objects, bool (*take)(const PhysicsObject*));

// The pairs (first < second) of objects that `take` accepts whose boxes overlap, in the
// order an all-pairs loop over the list meets them.
void FindOverlappingPairs(PhysicsObjectList objects, bool (*take)(const PhysicsObject*),
                          std::vector<SweepIndex::Pair>& pairs);

// Collision probes against one list while a pass runs over it. Behaviours move objects, add
// and remove them between probes; the index keeps the list's objects and their boxes, and
// refiles only the objects whose shapes changed since the last probe. The owner calls
// Invalidate whenever the list's members or their order change (Append for an object added
// at the end). The answers are CheckCollision's against the whole list.
class ProbeIndex {
 public:
  ProbeIndex() = default;
  ~ProbeIndex();
  ProbeIndex(const ProbeIndex&) = delete;
  ProbeIndex& operator=(const ProbeIndex&) = delete;

  // Watches shape changes until Stop. A pass nested in this one (another list's) makes this
  // index rebuild when it resumes, since the inner one took the changes.
  void Start();
  void Stop();
  bool IsActive() const { return m_active; }

  void Invalidate() { m_valid = false; }
  void Append(PhysicsObject* object);

  template <class Range>
  Contact Probe(PhysicsObject* object, const Range& list) {
    if (!m_valid || NeedsRebuild()) {
      m_objects.clear();
      for (auto&& member : list) m_objects.push_back(member);
      Rebuild();
    }
    return ProbeFiled(object);
  }

 private:
  bool NeedsRebuild() const;
  void Rebuild();
  // Tells the object at `place` its place and files its box (the places before are filed).
  void File(std::size_t place);
  Contact ProbeFiled(PhysicsObject* object);

  bool m_active = false;
  bool m_valid = false;
  std::vector<int>* m_pOuterChanges = nullptr;
  std::vector<PhysicsObject*> m_objects;
  std::vector<Bounds> m_filed;
  SweepIndex m_index;
  std::vector<int> m_changes;
  std::vector<std::uint32_t> m_found;
  std::vector<char> m_marks;
  std::vector<PhysicsObject*> m_candidates;
};
