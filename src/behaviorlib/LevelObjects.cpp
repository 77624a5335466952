// Level objects: the tire stacks that the hero's special moves knock loose, and
// the factory's lift.
#include <cmath>
#include <string>
#include <vector>

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

// A resting tire flies off in a random direction; a loose one is left alone.
void Launch(Sprite* tire) {
  if (tire->GetFrame() != 0) return;
  tire->SetFrame(1);
  tire->SetBehavior(TireFall);
  const double angle = platform::Random() / 32768.0 * 2.0 * 3.14159265358979;
  tire->SetVelocity(static_cast<float>(kTireLaunchSpeed * std::cos(angle)),
                    static_cast<float>(kTireLaunchSpeed * std::sin(angle)));
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
  platform->SetVelocity(0.0f, kPlatformSpeed * direction);
}
