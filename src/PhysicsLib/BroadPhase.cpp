// Sort-and-sweep over object boxes, and the probe index built on it.
#include "PhysicsLib/BroadPhase.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Assert.h"

namespace {

bool g_broadPhase = true;

// Wider than any sprite's box: such a box (a long platform, say) would make every query
// look that far to the left, so it is compared with everything instead.
constexpr float kWideBox = 1024.0f;

// Pushed first into an index's changes when a nested pass took its notes: rebuild.
constexpr int kRebuildAll = -1;

bool HasNaN(const Bounds& box) {
  return std::isnan(box.left) || std::isnan(box.top) || std::isnan(box.right) ||
         std::isnan(box.bottom);
}

bool SameBox(const Bounds& a, const Bounds& b) {
  return std::memcmp(&a, &b, sizeof(Bounds)) == 0;
}

const Bounds& BoxOf(const PhysicsObject* object) {
  return object->GetCollisionShape().GetBounds();
}

}  // namespace

void SetBroadPhaseEnabled(bool enabled) {
  g_broadPhase = enabled;
}

bool IsBroadPhaseEnabled() {
  return g_broadPhase;
}

void SweepIndex::Clear(bool vertical) {
  m_vertical = vertical;
  m_sorted.clear();
  m_wide.clear();
  m_maxWidth = 0.0f;
}

bool SweepIndex::IsWide(const Entry& e) {
  return HasNaN(e.box) || !std::isfinite(e.lo) || !std::isfinite(e.hi) || e.hi - e.lo > kWideBox;
}

SweepIndex::Entry SweepIndex::MakeEntry(std::uint32_t place, const Bounds& box) const {
  return m_vertical ? Entry{box.top, box.bottom, box, place}
                    : Entry{box.left, box.right, box, place};
}

void SweepIndex::Add(std::uint32_t place, const Bounds& box) {
  const Entry entry = MakeEntry(place, box);
  if (IsWide(entry)) {
    m_wide.push_back(entry);
    return;
  }
  auto at = std::upper_bound(m_sorted.begin(), m_sorted.end(), entry.lo,
                             [](float lo, const Entry& e) { return lo < e.lo; });
  m_sorted.insert(at, entry);
  m_maxWidth = std::max(m_maxWidth, entry.hi - entry.lo);
}

void SweepIndex::Move(std::uint32_t place, const Bounds& from, const Bounds& to) {
  auto filed = [place](const Entry& e) { return e.place == place; };
  const Entry old = MakeEntry(place, from);
  if (IsWide(old)) {
    auto found = std::find_if(m_wide.begin(), m_wide.end(), filed);
    VT_ASSERT(found != m_wide.end());
    *found = m_wide.back();
    m_wide.pop_back();
    Add(place, to);
    return;
  }
  auto first = std::lower_bound(m_sorted.begin(), m_sorted.end(), old.lo,
                                [](const Entry& e, float lo) { return e.lo < lo; });
  auto found = std::find_if(first, m_sorted.end(), filed);
  VT_ASSERT(found != m_sorted.end());
  const Entry entry = MakeEntry(place, to);
  if (IsWide(entry)) {
    m_sorted.erase(found);
    Add(place, to);
    return;
  }
  // Objects move a little at a time: walk the entry to its new rank.
  *found = entry;
  while (found != m_sorted.begin() && (found - 1)->lo > entry.lo) {
    std::iter_swap(found, found - 1);
    --found;
  }
  while (found + 1 != m_sorted.end() && (found + 1)->lo < entry.lo) {
    std::iter_swap(found, found + 1);
    ++found;
  }
  m_maxWidth = std::max(m_maxWidth, entry.hi - entry.lo);
}

void SweepIndex::Query(const Bounds& box, std::vector<std::uint32_t>& places) const {
  places.clear();
  for (const Entry& e : m_wide) {
    if (Bounds::Overlaps(box, e.box)) places.push_back(e.place);
  }
  // A NaN side of the query is no limit at all. The reach back is padded beyond the widest
  // box by more than the rounding of the widths and of this subtraction.
  const Entry query = MakeEntry(0, box);
  const bool bounded = !HasNaN(box);
  auto first = m_sorted.begin();
  if (bounded) {
    const float reach = m_maxWidth + 1.0f + std::fabs(query.lo) * 1e-6f;
    first = std::lower_bound(m_sorted.begin(), m_sorted.end(), query.lo - reach,
                             [](const Entry& e, float lo) { return e.lo < lo; });
  }
  for (auto e = first; e != m_sorted.end(); ++e) {
    if (bounded && e->lo > query.hi) break;
    if (Bounds::Overlaps(box, e->box)) places.push_back(e->place);
  }
}

void SweepIndex::Pairs(std::vector<Pair>& pairs) {
  pairs.clear();
  auto add = [&pairs](std::uint32_t a, std::uint32_t b) {
    pairs.emplace_back(std::min(a, b), std::max(a, b));
  };
  // Each ordinary box meets the ones starting at or after it, up to its far edge.
  for (auto e = m_sorted.begin(); e != m_sorted.end(); ++e) {
    for (auto f = e + 1; f != m_sorted.end() && f->lo <= e->hi; ++f) {
      if (Bounds::Overlaps(e->box, f->box)) add(e->place, f->place);
    }
  }
  for (auto w = m_wide.begin(); w != m_wide.end(); ++w) {
    for (const Entry& e : m_sorted) {
      if (Bounds::Overlaps(w->box, e.box)) add(w->place, e.place);
    }
    for (auto v = w + 1; v != m_wide.end(); ++v) {
      if (Bounds::Overlaps(w->box, v->box)) add(w->place, v->place);
    }
  }
  // Into the order of an all-pairs loop: a stable counting sort by second place, then one
  // by first, in time linear in the pairs however many there are.
  std::uint32_t places = 0;
  for (const Pair& pair : pairs) places = std::max(places, pair.second + 1);
  CountingSort(pairs, places, [](const Pair& p) { return p.second; });
  CountingSort(pairs, places, [](const Pair& p) { return p.first; });
}

template <class Key>
void SweepIndex::CountingSort(std::vector<Pair>& pairs, std::uint32_t places, Key key) {
  std::vector<std::uint32_t>& starts = m_rowStarts;
  starts.assign(static_cast<std::size_t>(places) + 1, 0);
  for (const Pair& pair : pairs) ++starts[key(pair) + 1];
  for (std::size_t r = 1; r < starts.size(); ++r) starts[r] += starts[r - 1];
  m_byRow.resize(pairs.size());
  for (const Pair& pair : pairs) m_byRow[starts[key(pair)]++] = pair;
  pairs.swap(m_byRow);
}

bool SweepAlongY(PhysicsObjectList objects, bool (*take)(const PhysicsObject*)) {
  float left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
  for (const PhysicsObject* object : objects) {
    if (take != nullptr && !take(object)) continue;
    const Bounds& box = BoxOf(object);
    // Comparisons with NaN fail, so NaN sides are left out.
    left = std::min(left, box.left);
    right = std::max(right, box.right);
    top = std::min(top, box.top);
    bottom = std::max(bottom, box.bottom);
  }
  return bottom - top > right - left;
}

void FindOverlappingPairs(PhysicsObjectList objects, bool (*take)(const PhysicsObject*),
                          std::vector<SweepIndex::Pair>& pairs) {
  static SweepIndex index;
  index.Clear(SweepAlongY(objects, take));
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (take(objects[i])) index.Add(static_cast<std::uint32_t>(i), BoxOf(objects[i]));
  }
  index.Pairs(pairs);
}

ProbeIndex::~ProbeIndex() {
  if (m_active) Stop();
}

void ProbeIndex::Start() {
  VT_ASSERT(!m_active);
  m_active = true;
  // Objects moved between passes unwatched.
  m_valid = false;
  m_changes.clear();
  m_pOuterChanges = PhysicsObject::WatchShapeChanges(&m_changes);
}

void ProbeIndex::Stop() {
  VT_ASSERT(m_active);
  PhysicsObject::WatchShapeChanges(m_pOuterChanges);
  if (m_pOuterChanges != nullptr) {
    m_pOuterChanges->assign(1, kRebuildAll);
    m_pOuterChanges = nullptr;
  }
  m_active = false;
  m_valid = false;
  m_objects.clear();
  m_changes.clear();
}

void ProbeIndex::Append(PhysicsObject* object) {
  if (!m_valid) return;
  m_objects.push_back(object);
  File(m_objects.size() - 1);
}

void ProbeIndex::File(std::size_t place) {
  m_objects[place]->SetWatchedPlace(static_cast<int>(place));
  m_filed.push_back(BoxOf(m_objects[place]));
  m_index.Add(static_cast<std::uint32_t>(place), m_filed.back());
}

bool ProbeIndex::NeedsRebuild() const {
  return !m_changes.empty() && m_changes.front() == kRebuildAll;
}

void ProbeIndex::Rebuild() {
  m_index.Clear(SweepAlongY(m_objects, nullptr));
  m_filed.clear();
  m_changes.clear();
  for (std::size_t i = 0; i < m_objects.size(); ++i) File(i);
  m_valid = true;
}

Contact ProbeIndex::ProbeFiled(PhysicsObject* object) {
  // Refile what moved since the last probe. A place may be stale (an object that left the
  // list, or a note for another list): refiling it only reads the current box.
  for (int place : m_changes) {
    const auto p = static_cast<std::size_t>(place);
    if (p >= m_objects.size()) continue;
    const Bounds& now = BoxOf(m_objects[p]);
    if (SameBox(now, m_filed[p])) continue;
    m_index.Move(static_cast<std::uint32_t>(p), m_filed[p], now);
    m_filed[p] = now;
  }
  m_changes.clear();

  // The box CheckCollision sweeps, without sweeping the object's own (that widens it).
  Bounds box = BoxOf(object);
  box.Sweep(object->GetVelocity());
  m_index.Query(box, m_found);
  m_candidates.clear();
  if (m_found.size() < m_objects.size() / 16) {
    std::sort(m_found.begin(), m_found.end());
    for (std::uint32_t place : m_found) m_candidates.push_back(m_objects[place]);
  } else {
    // A crowd piled up: marking the places and walking the list beats sorting them.
    m_marks.assign(m_objects.size(), 0);
    for (std::uint32_t place : m_found) m_marks[place] = 1;
    for (std::size_t p = 0; p < m_objects.size(); ++p) {
      if (m_marks[p] != 0) m_candidates.push_back(m_objects[p]);
    }
  }
  return CheckCollision(object, PhysicsObjectList(m_candidates));
}
