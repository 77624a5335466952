// Level objects: the tire stacks that the hero's special moves knock loose, and
// the factory's lift.
#include <cmath>
#include <string>
#include <vector>

#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "behaviorlib/Behaviors.h"
#include "behaviorlib/SmallObjects.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Random.h"

namespace {

constexpr float kTireLaunchSpeed = 5.0f;
constexpr float kPlatformRise = 256.0f;
constexpr float kPlatformTravel = 512.0f;
constexpr float kPlatformSpeed = 2.5f;
// A lift that waits for the hero stops this far from him, the gap he rests at.
constexpr float kPlatformWaitGap = 0.1f;

// A resting tire flies off in a random direction; a loose one is left alone.
void Launch(Sprite* tire) {
  if (tire->GetFrame() != 0) return;
  tire->SetFrame(1);
  tire->SetBehavior(TireFall);
  const double angle = platform::Random() / 32768.0 * 2.0 * 3.14159265358979;
  tire->SetVelocity(static_cast<float>(kTireLaunchSpeed * std::cos(angle)),
                    static_cast<float>(kTireLaunchSpeed * std::sin(angle)));
}

// Sweeps `object` with its velocity against `against`, leaving its box as the
// physics step expects to find it.
Contact ProbeKeepingBox(PhysicsObject* object, PhysicsObjectList against) {
  const Bounds box = static_cast<const PhysicsObject&>(*object).GetCollisionShape().GetBounds();
  const Contact contact = CheckCollision(object, against);
  object->GetCollisionShape().GetBounds() = box;
  return contact;
}

// The lift's motion this frame, shortened so that it stops short of a hero it would push
// against the ground. The step hands a still hero the lift's velocity and moves him without
// sweeping him against anything else, so the lift would press him into the tiles, where he
// stays for good. Riding is untouched: a hero who can go along is pushed as before.
float MotionShortOfTrappedHero(GameObject* platform, float motion) {
  PlayerObject* hero = World::GetPlayer();
  SpriteCollection* objects = World::GetObjects();
  if (!hero || !objects || motion == 0.0f) return motion;

  // Would the lift reach the hero where he stands?
  const CachedVector heroVelocity = hero->GetVelocity();
  PhysicsObject* const heroes[] = {hero};
  hero->SetVelocity(0.0f, 0.0f);
  platform->SetVelocity(0.0f, motion);
  const Contact reach = ProbeKeepingBox(platform, heroes);
  hero->SetVelocity(heroVelocity);
  if (!reach.IsHit()) return motion;

  // Could he go the whole way with it (the lift held where it is)?
  const Bounds heroBox = static_cast<const PhysicsObject&>(*hero).GetCollisionShape().GetBounds();
  hero->SetVelocity(0.0f, motion);
  platform->SetVelocity(0.0f, 0.0f);
  const Contact blocked = objects->Probe(hero);
  hero->SetVelocity(heroVelocity);
  hero->GetCollisionShape().GetBounds() = heroBox;
  if (!blocked.IsHit()) return motion;

  // It comes as near as the hero's rest gap. A shorter move than that is rounding, and the
  // lift stands still instead: creeping, it would count as moving, and a hero riding it
  // would rise his rest gap clear of it each frame, up against the ground over him.
  const float room = reach.t * std::fabs(motion) - kPlatformWaitGap;
  if (room < kPlatformWaitGap) return 0.0f;
  return motion > 0.0f ? room : -room;
}

}  // namespace

void TireInit(GameObject* tire) {
  tire->SetCollisionCallback(CollideDamage);
  tire->SetFrameChangeCallback(nullptr);
  AddDamageFlags(tire);
  tire->SetBehavior(TireUpdate);
}

void TireUpdate(GameObject* tire) {
  const Contact contact = tire->TakeLastContact();
  PlayerObject* player = World::GetPlayer();
  if (!contact.IsHit() || !player || contact.b != player) return;
  if (player->GetState() != PLAYER_STRIDE && player->GetState() != PLAYER_CYCLONE) return;

  // The whole stack goes: take every other tire out of the list (in list order)
  // while this one hides under another name, then launch them, this one last.
  SpriteCollection* objects = World::GetObjects();
  const std::string name = tire->GetName();
  tire->SetName("NULL");
  std::vector<Sprite*> stack;
  while (Sprite* other = objects->RemoveByName(name)) stack.push_back(other);
  for (Sprite* other : stack) Launch(other);
  for (Sprite* other : stack) objects->Add(other);
  tire->SetName(name);
  Launch(tire);
}

void TireFall(GameObject* tire) {
  ApplyGravity(tire, 0.7f, 20.0f);
  KillIfOutsideView(tire, 500.0f, 500.0f);
}

void FactoryPlatformInit(GameObject* platform) {
  platform->AddFlag("FrameChange", -1.0f);
  AddMovementFlags(platform);
  platform->SetFlag("TargetY", platform->GetPosition().Y() - kPlatformRise);
  platform->SetFlag("DirectionY", -1.0f);
  platform->SetBehavior(FactoryPlatformMove);
}

void FactoryPlatformMove(GameObject* platform) {
  float& direction = platform->GetFlag("DirectionY");
  const float y = platform->GetPosition().Y();
  // Turns once the target is passed, measuring the next leg from here.
  if ((platform->GetFlag("TargetY") - y) * direction < 0.0f) {
    direction = -direction;
    platform->SetFlag("TargetY", y + kPlatformTravel * direction);
  }
  platform->SetVelocity(0.0f, MotionShortOfTrappedHero(platform, kPlatformSpeed * direction));
}
