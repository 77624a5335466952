// An owning, depth-ordered list of sprites that runs the frame's passes over its
// members: behaviours and physics, drawing (with an optional screen shake), frame
// timers, and the deletion of dead objects. The pass mask picks the passes.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "PhysicsLib/BroadPhase.h"
#include "animationlib/Sprite.h"
#include "geometry/Vector2.h"

class SpriteCollection {
 public:
  explicit SpriteCollection(int mask);
  virtual ~SpriteCollection();
  SpriteCollection(const SpriteCollection&) = delete;
  SpriteCollection& operator=(const SpriteCollection&) = delete;

  // Takes ownership and re-sorts the list by depth (equal depths keep list order).
  void Add(Sprite* sprite);
  void AddUnsorted(Sprite* sprite);
  void Sort();

  SpriteCollection* SetMask(int mask) {
    m_nMask = mask;
    return this;
  }
  int GetMask() const { return m_nMask; }
  void SetOffset(const Vector2& offset) { m_vOffset = offset; }
  const Vector2& GetOffset() const { return m_vOffset; }
  int Count() const { return static_cast<int>(m_sprites.size()); }
  const std::list<Sprite*>& GetSprites() const { return m_sprites; }
  // Counts every change of any list's members or their order (and every list made or
  // destroyed): a lookup in a list may keep its answer while this stays the same.
  static std::uint64_t ChangeCount() { return s_changes; }

  // The sprite at a position (0 first), or null past the end.
  Sprite* At(int position) const;
  // The first sprite with exactly this name, or null.
  Sprite* Find(const std::string& name) const;
  // Every sprite with exactly this name, in list order.
  std::vector<Sprite*> FindAll(const std::string& name) const;
  // Deletes the sprite and drops it; false when it is not in the list.
  bool Remove(Sprite* sprite);
  // Unlink and hand back (not deleted), or null when there is none.
  Sprite* RemoveByName(const std::string& name);
  Sprite* RemoveAt(int position);
  // Deletes every sprite, last first.
  void Clear();
  // Unlinks (without deleting) the sprites among the first `window` members that
  // `take` accepts, and hands them back in list order.
  template <class Pred>
  std::vector<Sprite*> TakeIf(Pred take, int window);

  // CheckCollision of the object against this list. During the behaviour pass it is answered
  // from an index of the list's boxes kept across the pass, instead of a fresh copy of the
  // list and a test of every member per probe.
  Contact Probe(PhysicsObject* object);

  // One frame's passes, in order: behaviours then physics (bit 4), drawing with the
  // offset, shaken by up to 5 pixels each way when `shake` (bit 1), frame timers
  // (bit 2), then the purge of dead sprites. Sprites added during a pass do not
  // disturb it: every sprite present when a pass starts is visited once.
  void Update(bool shake);
  // Deletes every dead sprite, keeping the others' order.
  void PurgeRemoved();
  // Scrolls every visible scenery member by its parallax share of `camera`.
  void UpdateParallax(const Vector2& camera);

 private:
  // The members at the start of a pass; entries are nulled when a sprite leaves
  // the list during the pass.
  void BeginPass();
  void EndPass();
  void ForgetDuringPass(Sprite* sprite);

  std::list<Sprite*> m_sprites;
  int m_nMask;
  Vector2 m_vOffset;
  std::vector<Sprite*> m_vPass;
  bool m_bInPass = false;
  ProbeIndex m_probes;
  static inline std::uint64_t s_changes = 0;
};

template <class Pred>
std::vector<Sprite*> SpriteCollection::TakeIf(Pred take, int window) {
  std::vector<Sprite*> taken;
  auto it = m_sprites.begin();
  for (int i = 0; i < window && it != m_sprites.end(); ++i) {
    Sprite* sprite = *it;
    if (!take(sprite)) {
      ++it;
      continue;
    }
    ForgetDuringPass(sprite);
    it = m_sprites.erase(it);
    taken.push_back(sprite);
  }
  return taken;
}
