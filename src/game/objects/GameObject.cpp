// Game objects: properties, states and their animations, contacts, copies and
// the property-file reader.
#include "game/objects/GameObject.h"

#include "platform/Assert.h"

namespace {
// Kill parks an object here, far from any view.
const Vector2 kKillPosition(2000.0f, 2000.0f);
// Everything after a value on its line is skipped, up to this many characters.
constexpr std::streamsize kMaxLineRest = 1024;
}  // namespace

GameObject::GameObject(const std::string& name, Animation* animation, const Vector2& position,
                       ObjectCallbacks callbacks, float depth)
    : Sprite(name, animation, position, callbacks, depth),
      m_handle(ObjectRegistry::Register(this)) {
  AddStateAnimation(animation, 1);
}

GameObject::GameObject(const GameObject& other)
    : Sprite(other),
      m_movement(other.m_movement),
      m_nHealth(other.m_nHealth),
      m_bAirborne(other.m_bAirborne),
      m_nState(other.m_nState),
      m_Flags(other.m_Flags),
      m_lastContact(),
      m_vStateAnimations(other.m_vStateAnimations),
      m_handle(ObjectRegistry::Register(this)) {}

GameObject& GameObject::operator=(const GameObject& other) {
  if (this == &other) return *this;
  Sprite::operator=(other);
  m_movement = other.m_movement;
  m_nHealth = other.m_nHealth;
  m_bAirborne = other.m_bAirborne;
  m_nState = other.m_nState;
  m_Flags = other.m_Flags;
  m_lastContact = other.m_lastContact;
  m_vStateAnimations = other.m_vStateAnimations;
  return *this;
}

GameObject::~GameObject() {
  ObjectRegistry::Release(m_handle);
}

GameObject* GameObject::Clone() const {
  return new GameObject(*this);
}

void GameObject::LoadParameters(std::istream& in) {
  float* const block[] = {
      &m_movement.groundMaxSpeed, &m_movement.groundAcceleration, &m_movement.groundBraking,
      &m_movement.airMaxSpeed,    &m_movement.airAcceleration,    &m_movement.airBraking,
      &m_movement.jumpVelocity,
  };
  for (float* field : block) {
    // A failed read would store 0; only a number that was read replaces the default.
    float value = 0.0f;
    if (!(in >> value)) return;
    *field = value;
    in.ignore(kMaxLineRest, '\n');
  }
}

void GameObject::Kill() {
  SetState(kDeadState);
  MoveTo(kKillPosition);
}

void GameObject::SetAirborne(bool airborne) {
  m_bAirborne = airborne;
}

void GameObject::OnLanded() {}

void GameObject::TakeDamage(int amount) {
  m_nHealth -= amount;
}

float* GameObject::AddFlag(const std::string& name, float value) {
  return &m_Flags.emplace(name, value).first->second;
}

float& GameObject::GetFlag(const std::string& name) {
  auto flag = m_Flags.find(name);
  VT_ASSERT(m_Flags.end() != flag);
  return flag->second;
}

void GameObject::SetFlag(const std::string& name, float value) {
  auto flag = m_Flags.find(name);
  VT_ASSERT(m_Flags.end() != flag);
  flag->second = value;
}

void GameObject::CopyFlags(const GameObject& other) {
  m_Flags = other.m_Flags;
}

void GameObject::AddStateAnimation(Animation* animation, int state) {
  for (StateAnimation& entry : m_vStateAnimations) {
    if (entry.state == state) {
      entry.animation = animation;
      return;
    }
  }
  m_vStateAnimations.push_back({animation, state});
}

void GameObject::CopyStateAnimations(const GameObject& other) {
  m_vStateAnimations = other.m_vStateAnimations;
}

void GameObject::SetState(int state) {
  m_nState = state;
  for (const StateAnimation& entry : m_vStateAnimations) {
    if (entry.state == state && entry.animation != nullptr) {
      SetAnimation(entry.animation);
      return;
    }
  }
}

bool GameObject::IsAnimationFinished() const {
  return GetTicksLeft() == 1 && GetNextFrameIndex() <= GetFrame();
}

Contact GameObject::TakeLastContact() {
  const Contact contact = m_lastContact;
  m_lastContact = Contact();
  return contact;
}

bool FrameChangeCallback(GameObject* object) {
  // Declared here as well: an enemy with no behaviour has no Init to declare it,
  // and it must still run.
  *object->AddFlag("FrameChange", 0.0f) = static_cast<float>(object->GetFrame());
  return true;
}
