// Camera-focus requests and the queue they join.
#include "game/world/CameraFocus.h"

#include <utility>

#include "game/objects/GameObject.h"
#include "game/world/World.h"

CameraFocus::CameraFocus() : m_vPosition(0.0f, 0.0f) {}

CameraFocus::CameraFocus(const CameraFocus& other) = default;

void CameraFocus::Follow(const GameObject* object) {
  m_follow = object ? object->GetHandle() : NO_OBJECT;
  if (object) m_vLastFollowed = object->GetPosition();
}

Vector2 CameraFocus::Target() {
  if (m_follow == NO_OBJECT) return m_vPosition;
  // A followed object that has gone leaves its last point as the target.
  if (const GameObject* object = ObjectRegistry::Resolve(m_follow)) {
    m_vLastFollowed = object->GetPosition();
  }
  return m_vLastFollowed;
}

void PushCameraFocus(CameraFocus focus) {
  World::GetFocusQueue().push_back(std::move(focus));
}
