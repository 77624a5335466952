// Placing an object's collision shape in the world.
#include "PhysicsLib/PhysicsObject.h"

#include "geometry/Matrix2D.h"

namespace {
std::vector<int>* g_watchedChanges = nullptr;
std::uint64_t g_shapeChanges = 0;

void NoteChange(int place) {
  ++g_shapeChanges;
  if (g_watchedChanges != nullptr && place >= 0) g_watchedChanges->push_back(place);
}
}  // namespace

std::vector<int>* PhysicsObject::WatchShapeChanges(std::vector<int>* changes) {
  std::vector<int>* previous = g_watchedChanges;
  g_watchedChanges = changes;
  return previous;
}

std::uint64_t PhysicsObject::ShapeChangeCount() {
  return g_shapeChanges;
}

void PhysicsObject::NoteShapeChange() const {
  NoteChange(m_watchedPlace.place);
}

PhysicsObject::WatchedPlace& PhysicsObject::WatchedPlace::operator=(const WatchedPlace&) {
  NoteChange(place);
  return *this;
}

PhysicsObject::PhysicsObject(const CollisionShape* source, const Vector2& position,
                             const CachedVector& velocity, CollisionCallback callback)
    : m_pSourceShape(nullptr),
      m_position(position),
      m_velocity(velocity),
      m_collisionCallback(callback),
      m_bMirrored(false),
      m_rotation(0.0),
      m_scale(1.0f, 1.0f),
      m_bInactive(false),
      m_bDead(false),
      m_bCollided(false),
      m_contactTime(0.0f),
      m_parkedVelocity(0.0f, 0.0f) {
  SetShape(source);
}

PhysicsObject::PhysicsObject(const PhysicsObject& other)
    : m_pSourceShape(other.m_pSourceShape),
      m_worldShape(other.m_worldShape),
      m_position(other.m_position),
      m_velocity(other.m_velocity),
      m_collisionCallback(other.m_collisionCallback),
      m_bMirrored(other.m_bMirrored),
      m_rotation(other.m_rotation),
      m_scale(other.m_scale),
      m_bInactive(other.m_bInactive),
      m_bDead(false),
      m_bCollided(false),
      m_contactTime(0.0f),
      m_parkedVelocity(0.0f, 0.0f) {}

void PhysicsObject::SetShape(const CollisionShape* shape) {
  m_pSourceShape = shape;
  NoteShapeChange();
  if (shape == nullptr) return;
  m_worldShape = *shape;

  const float c = static_cast<float>(m_rotation.Cos());
  const float s = static_cast<float>(m_rotation.Sin());
  const Matrix2D rotation(c, s, -s, c);
  const Matrix2D scale(m_scale.X(), 0.0f, 0.0f, m_scale.Y());
  Matrix2D m = scale * rotation;
  if (m_bMirrored) m = Matrix2D(-1.0f, 0.0f, 0.0f, 1.0f) * m;
  // The identity keeps the source's bounds as they are.
  if (m != Matrix2D::Identity()) m_worldShape.Transform(m);
  m_worldShape.Translate(CachedVector(m_position));
}

void PhysicsObject::MoveTo(const Vector2& position) {
  NoteShapeChange();
  m_worldShape.Translate(position - m_position);
  m_position = position;
}

void PhysicsObject::SetRotation(const Angle& rotation) {
  m_rotation = rotation;
  SetShape(m_pSourceShape);
}

void PhysicsObject::SetFacingLeft(bool facingLeft) {
  m_bMirrored = facingLeft;
  SetShape(m_pSourceShape);
}

void PhysicsObject::SweepBounds() {
  NoteShapeChange();
  m_worldShape.GetBounds().Sweep(m_velocity);
}
