// Sprites: frame timer, frame sounds, behaviour calls and drawing.
#include "animationlib/Sprite.h"

#include "platform/Assert.h"

Sprite::Sprite(const std::string& name, Animation* animation, const Vector2& position,
               ObjectCallbacks callbacks, float depth)
    : PhysicsObject(nullptr, position, CachedVector(0.0f, 0.0f), callbacks.collision),
      m_animation(animation),
      m_sName(name),
      m_fDepth(depth),
      m_frameChange(callbacks.frameChange),
      m_behavior(callbacks.behavior) {
  VT_ASSERT(m_animation);
  SetFrame(0);
}

Sprite::Sprite(const Sprite& other)
    : PhysicsObject(other),
      m_animation(other.m_animation),
      m_sName(other.m_sName),
      m_nFrame(other.m_nFrame),
      m_nTicksLeft(other.m_nTicksLeft),
      m_fDepth(other.m_fDepth),
      m_frameChange(other.m_frameChange),
      m_behavior(other.m_behavior),
      m_fDrawAngle(other.m_fDrawAngle),
      m_fOrbitAngle(other.m_fOrbitAngle),
      m_fOrbitCentreX(other.m_fOrbitCentreX),
      m_fOrbitCentreY(other.m_fOrbitCentreY),
      m_bDeactivateOffscreen(other.m_bDeactivateOffscreen),
      m_bVisible(other.m_bVisible) {}

Sprite& Sprite::operator=(const Sprite& other) = default;

Sprite* Sprite::Clone() const {
  return new Sprite(*this);
}

void Sprite::Tick() {
  if (IsLive()) AdvanceFrameTimer();
}

void Sprite::AdvanceFrameTimer() {
  if (m_nTicksLeft == 0) return;  // held: a 0-tick frame or a vetoed change
  --m_nTicksLeft;
  if (m_nTicksLeft > 0) return;
  if (m_nFrame >= 0 && m_nFrame < m_animation->GetFrameCount()) {
    const std::string& sound = m_animation->GetFrames()[m_nFrame].GetSoundName();
    if (!sound.empty() && s_frameSound) s_frameSound(sound);
  }
  AdvanceFrame();
}

GameObject* Sprite::CallbackTarget() {
  GameObject* object = AsGameObject();
  VT_ASSERT(object != nullptr);
  return object;
}

void Sprite::AdvanceFrame() {
  if (m_frameChange != nullptr && !m_frameChange(CallbackTarget())) return;
  SetFrame(GetNextFrameIndex());
}

void Sprite::SetFrame(int i) {
  VT_ASSERT(m_animation);
  const int frameCount = m_animation->GetFrameCount();
  m_nFrame = i;
  if (frameCount == 0) {
    // An animation whose file could not be read has nothing to show or hit.
    m_nTicksLeft = 0;
    SetShape(nullptr);
    return;
  }
  VT_ASSERT(i >= 0 && i < frameCount);
  const AnimationFrame& frame = m_animation->GetFrames()[i];
  SetShape(&frame.GetShape());
  m_nTicksLeft = frame.GetTicks();
}

void Sprite::RunBehavior() {
  if (IsLive() && m_behavior != nullptr) m_behavior(CallbackTarget());
}

void Sprite::SetAnimation(Animation* animation) {
  m_animation = animation;
  SetFrame(0);
}

bool Sprite::SwapLook(Animation* animation) {
  if (animation == nullptr || animation->GetFrameCount() != m_animation->GetFrameCount())
    return false;
  m_animation = animation;
  return true;
}

void Sprite::StartPulse(int period, float step, int count, bool pulsing) {
  if (m_bPulsing && pulsing) return;
  m_nPulsePeriod = period;
  m_fPulseStep = step;
  m_nPulseCount = count;
  m_bPulsing = pulsing;
  m_nPulseCounter = 0;
}

int Sprite::ReloadFrameTicks() {
  const bool known = m_nFrame >= 0 && m_nFrame < m_animation->GetFrameCount();
  m_nTicksLeft = known ? m_animation->GetFrames()[m_nFrame].GetTicks() : 0;
  return m_nTicksLeft;
}

int Sprite::GetNextFrameIndex() const {
  if (m_nFrame < 0 || m_nFrame >= m_animation->GetFrameCount()) return m_nFrame;
  return m_animation->GetFrames()[m_nFrame].GetNextFrame();
}

void Sprite::StepPulse() {
  // A pulse without a size, a length or a step cannot run (nor divide by zero).
  if (m_bPulsing && (m_fPulseStep == 0.0f || m_nPulseCount <= 0 || m_nPulsePeriod <= 0)) {
    m_bPulsing = false;
    m_nPulseCounter = 0;
  }
  if (!m_bPulsing && m_nPulseCounter == 0) return;
  if (m_nPulseCount <= 0 || m_nPulsePeriod <= 0) {
    m_nPulseCounter = 0;
    return;
  }

  const int c = m_nPulseCounter;
  const int p = m_nPulsePeriod;
  const int n = m_nPulseCount;
  const bool boundary = c - 1 < 0 || c / p != (c - 1) / p;
  const int half = (c / p) / n;
  const int cycle = 2 * n * p;
  const float step = m_fPulseStep;

  if (m_bPulsing) {
    if (boundary) {
      const float change = half == 0 ? step : -step;
      SetScaleX(GetScaleX() + change);
      SetScaleY(GetScaleY() + change);
    }
    m_nPulseCounter = c + 1 == cycle ? 0 : c + 1;
    return;
  }

  // Stopped midway: shrink back at each boundary, running the rest of the cycle
  // forward from the second half or back down from the first.
  if (boundary) {
    SetScaleX(GetScaleX() - step);
    SetScaleY(GetScaleY() - step);
  }
  m_nPulseCounter = half != 0 ? c + 1 : c - 1;
  if (m_nPulseCounter == cycle) {
    m_nPulseCounter = 0;
    SetScaleX(1.0f);
    SetScaleY(1.0f);
  }
}

void Sprite::Draw(const Vector2& offset, int flags) {
  VT_ASSERT(m_animation);
  if (flags & PASS_ANIMATE) StepPulse();
  if (GetScaleX() == 0.0f && GetScaleY() == 0.0f) return;

  float rotation = m_fDrawAngle;
  const float physicsRotation = static_cast<float>(GetRotation().GetRadians());
  if (physicsRotation != 0.0f) rotation = IsFacingLeft() ? -physicsRotation : physicsRotation;

  const Vector2 screen(GetPosition().X() - offset.X(), GetPosition().Y() - offset.Y());
  const Vector2 pivot(m_fOrbitCentreX - offset.X(), m_fOrbitCentreY - offset.Y());
  m_animation->Draw(screen, Vector2(1.0f, 1.0f), m_nFrame, IsFacingLeft(), rotation, pivot,
                    m_fOrbitAngle, GetScale());
}
