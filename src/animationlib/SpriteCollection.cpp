// The object list's passes and bookkeeping.
#include "animationlib/SpriteCollection.h"

#include <algorithm>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/ScenerySprite.h"
#include "platform/Assert.h"
#include "platform/Random.h"

namespace {

// How far the screen shake moves the drawing on each axis: -5 to 5, whole pixels.
double ShakeStep() {
  return (platform::Random() % 11) - 5.0;
}

}  // namespace

SpriteCollection::SpriteCollection(int mask) : m_nMask(mask) {
  ++s_changes;
}

SpriteCollection::~SpriteCollection() {
  Clear();
  ++s_changes;
}

void SpriteCollection::Add(Sprite* sprite) {
  m_sprites.push_back(sprite);
  Sort();
}

void SpriteCollection::AddUnsorted(Sprite* sprite) {
  m_sprites.push_back(sprite);
  ++s_changes;
  m_probes.Append(sprite);
}

void SpriteCollection::Sort() {
  ++s_changes;
  m_probes.Invalidate();
  // std::list::sort is a stable merge sort: equal depths keep their list order.
  m_sprites.sort([](const Sprite* a, const Sprite* b) { return a->GetDepth() < b->GetDepth(); });
}

Sprite* SpriteCollection::At(int position) const {
  if (position < 0 || position >= Count()) return nullptr;
  auto it = m_sprites.begin();
  std::advance(it, position);
  return *it;
}

Sprite* SpriteCollection::Find(const std::string& name) const {
  for (Sprite* sprite : m_sprites) {
    if (sprite->GetName() == name) return sprite;
  }
  return nullptr;
}

std::vector<Sprite*> SpriteCollection::FindAll(const std::string& name) const {
  std::vector<Sprite*> found;
  for (Sprite* sprite : m_sprites) {
    if (sprite->GetName() == name) found.push_back(sprite);
  }
  return found;
}

bool SpriteCollection::Remove(Sprite* sprite) {
  auto found = std::find(m_sprites.begin(), m_sprites.end(), sprite);
  if (found == m_sprites.end()) return false;
  ForgetDuringPass(sprite);
  m_sprites.erase(found);
  delete sprite;
  return true;
}

Sprite* SpriteCollection::RemoveByName(const std::string& name) {
  auto found = std::find_if(m_sprites.begin(), m_sprites.end(),
                            [&](const Sprite* sprite) { return sprite->GetName() == name; });
  if (found == m_sprites.end()) return nullptr;
  Sprite* sprite = *found;
  ForgetDuringPass(sprite);
  m_sprites.erase(found);
  return sprite;
}

Sprite* SpriteCollection::RemoveAt(int position) {
  if (position < 0 || position >= Count()) return nullptr;
  auto it = m_sprites.begin();
  std::advance(it, position);
  Sprite* sprite = *it;
  ForgetDuringPass(sprite);
  m_sprites.erase(it);
  return sprite;
}

void SpriteCollection::Clear() {
  while (!m_sprites.empty()) {
    Sprite* sprite = m_sprites.back();
    ForgetDuringPass(sprite);
    m_sprites.pop_back();
    delete sprite;
  }
}

void SpriteCollection::BeginPass() {
  VT_ASSERT(!m_bInPass);
  m_vPass.assign(m_sprites.begin(), m_sprites.end());
  m_bInPass = true;
}

void SpriteCollection::EndPass() {
  m_bInPass = false;
  m_vPass.clear();
}

void SpriteCollection::ForgetDuringPass(Sprite* sprite) {
  // Every way out of the list passes here.
  ++s_changes;
  m_probes.Invalidate();
  if (!m_bInPass) return;
  std::replace(m_vPass.begin(), m_vPass.end(), sprite, static_cast<Sprite*>(nullptr));
}

void SpriteCollection::Update(bool shake) {
  if (m_nMask & PASS_BEHAVIOR) {
    BeginPass();
    if (IsBroadPhaseEnabled()) m_probes.Start();
    for (Sprite* sprite : m_vPass) {
      if (sprite != nullptr && sprite->IsLive()) sprite->RunBehavior();
    }
    if (m_probes.IsActive()) m_probes.Stop();
    EndPass();
    PhysicsStep(m_sprites);
  }

  Vector2 drawOffset = m_vOffset;
  if (shake) {
    drawOffset.SetX(static_cast<float>(drawOffset.X() + ShakeStep()));
    drawOffset.SetY(static_cast<float>(drawOffset.Y() + ShakeStep()));
  }

  if (m_nMask & PASS_DRAW) {
    BeginPass();
    for (Sprite* sprite : m_vPass) {
      if (sprite != nullptr && sprite->IsVisible() && sprite->IsLive()) {
        sprite->Draw(drawOffset, m_nMask);
      }
    }
    EndPass();
  }

  if (m_nMask & PASS_ANIMATE) {
    BeginPass();
    for (Sprite* sprite : m_vPass) {
      if (sprite != nullptr && sprite->IsLive()) sprite->Tick();
    }
    EndPass();
  }

  PurgeRemoved();
}

Contact SpriteCollection::Probe(PhysicsObject* object) {
  if (m_probes.IsActive()) return m_probes.Probe(object, m_sprites);
  return CheckCollision(object, m_sprites);
}

void SpriteCollection::PurgeRemoved() {
  for (auto it = m_sprites.begin(); it != m_sprites.end();) {
    Sprite* sprite = *it;
    if (!sprite->IsDead()) {
      ++it;
      continue;
    }
    ForgetDuringPass(sprite);
    it = m_sprites.erase(it);
    delete sprite;
  }
}

void SpriteCollection::UpdateParallax(const Vector2& camera) {
  for (Sprite* sprite : m_sprites) {
    if (!sprite->IsVisible()) continue;
    // Only scenery scrolls by parallax; anything else in the list stays put.
    if (auto* scenery = dynamic_cast<ScenerySprite*>(sprite)) scenery->FollowCamera(camera);
  }
}
