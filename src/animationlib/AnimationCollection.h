// An owning list of animations, looked up by name in insertion order.
#pragma once

#include <string>
#include <vector>

#include "animationlib/Animation.h"

class AnimationCollection {
 public:
  AnimationCollection() = default;
  ~AnimationCollection();
  AnimationCollection(const AnimationCollection&) = delete;
  AnimationCollection& operator=(const AnimationCollection&) = delete;

  // Takes ownership.
  void Add(Animation* animation);
  // The first animation with exactly this name, or null.
  Animation* Find(const std::string& name) const;
  // Deletes the animation and drops it; false (nothing deleted) when it is not here.
  bool Remove(Animation* animation);
  // Deletes every animation, last first.
  void Clear();

  int Count() const { return static_cast<int>(m_vAnimations.size()); }
  const std::vector<Animation*>& GetAnimations() const { return m_vAnimations; }

 private:
  std::vector<Animation*> m_vAnimations;
};
