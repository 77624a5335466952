// A request for the camera: where the screen centre should go (a fixed point,
// or an object followed by its handle), whether the hero may move meanwhile, and
// the callback that releases the camera once it has arrived.
#pragma once

#include "game/objects/ObjectHandle.h"
#include "geometry/Vector2.h"

// Called while the camera serves a focus request; true releases the camera.
using FocusCallback = bool (*)();

class CameraFocus {
 public:
  // Position (0, 0), following nothing, the hero frozen, no callback.
  CameraFocus();
  CameraFocus(const CameraFocus& other);
  CameraFocus& operator=(const CameraFocus& other) = default;

  // Follows `object` (null follows nothing): its position is read afresh every
  // frame, and once it is gone the last point read stays the target.
  void Follow(const GameObject* object);
  bool IsFollowing() const { return m_follow != NO_OBJECT; }
  ObjectHandle GetFollowed() const { return m_follow; }

  // The point the screen centre moves to this frame.
  Vector2 Target();

  Vector2 m_vPosition;
  bool m_bPlayerControl = false;
  FocusCallback m_callback = nullptr;

 private:
  ObjectHandle m_follow = NO_OBJECT;
  Vector2 m_vLastFollowed;
};

// Appends a request to the World's camera-focus queue.
void PushCameraFocus(CameraFocus focus);
