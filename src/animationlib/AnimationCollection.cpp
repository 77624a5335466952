// The owning animation list.
#include "animationlib/AnimationCollection.h"

#include <algorithm>

AnimationCollection::~AnimationCollection() {
  Clear();
}

void AnimationCollection::Add(Animation* animation) {
  m_vAnimations.push_back(animation);
}

Animation* AnimationCollection::Find(const std::string& name) const {
  for (Animation* animation : m_vAnimations) {
    if (animation != nullptr && animation->GetName() == name) return animation;
  }
  return nullptr;
}

bool AnimationCollection::Remove(Animation* animation) {
  auto found = std::find(m_vAnimations.begin(), m_vAnimations.end(), animation);
  if (found == m_vAnimations.end()) return false;
  delete *found;
  m_vAnimations.erase(found);
  return true;
}

void AnimationCollection::Clear() {
  while (!m_vAnimations.empty()) {
    delete m_vAnimations.back();
    m_vAnimations.pop_back();
  }
}
