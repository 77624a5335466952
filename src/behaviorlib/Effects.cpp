// Effects: the expanding flash, the HUD's grey orb and orb-break particles, and
// the falling body of the level-complete screen.
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/objects/GameObject.h"
#include "platform/Random.h"

namespace {

constexpr float kOrbLingerFrames = 42.0f;
constexpr float kBreakFlightEnd = 180.0f;

}  // namespace

void FlashBehavior(GameObject* flash) {
  const float rate = flash->GetFlag("ExpandRate");
  // A flash that does not grow would never reach its end size.
  if (rate <= 0.0f) {
    flash->SetDead(true);
    return;
  }
  flash->SetScaleX(flash->GetScaleX() + rate);
  flash->SetScaleY(flash->GetScaleY() + rate);
  if (flash->GetScaleX() > flash->GetFlag("EndSize")) flash->SetDead(true);
}

void GreyOrbBehavior(GameObject* orb) {
  float& timer = orb->GetFlag("Timer");
  if (orb->GetFlag("Visible") != 0.0f) {
    timer = 0.0f;
    orb->SetVisible(true);
    return;
  }
  // Lingers a moment after the HUD clears its request.
  if (timer >= kOrbLingerFrames) {
    orb->SetVisible(false);
    orb->SetFrame(1);
  } else {
    timer += 1.0f;
  }
}

void BreakOrbBehavior(GameObject* particle) {
  float& timer = particle->GetFlag("Timer");
  if (particle->GetFlag("Visible") != 1.0f) {
    timer = 0.0f;
    return;
  }
  if (timer < kOrbLingerFrames) {
    timer += 1.0f;
    return;
  }
  particle->SetVisible(true);
  const int vy = platform::Random() % 11 - 5;  // y is drawn first
  const int vx = platform::Random() % 11 - 5;
  particle->SetVelocity(static_cast<float>(vx), static_cast<float>(vy));
  particle->SetFlag("Angle", 3.14f / static_cast<float>(platform::Random() % 20 + 20));
  particle->SetDrawAngle(0.0f);
  particle->SetBehavior(BreakOrbFly);
}

void BreakOrbFly(GameObject* particle) {
  particle->SetDrawAngle(particle->GetDrawAngle() + particle->GetFlag("Angle"));
  float& timer = particle->GetFlag("Timer");
  timer += 1.0f;
  if (timer < kBreakFlightEnd) return;
  particle->SetVelocity(0.0f, 0.0f);
  timer = 0.0f;
  particle->SetVisible(false);
  particle->SetFlag("Visible", 0.0f);
  particle->SetBehavior(BreakOrbBehavior);
}

void DeadFallBehavior(GameObject* body) {
  body->SetVelocity(body->GetVelocity().X(), body->GetVelocity().Y() + 1.0f);
}
