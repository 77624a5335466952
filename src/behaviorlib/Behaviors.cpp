#include "behaviorlib/Behaviors.h"

#include <algorithm>
#include <cmath>

#include "D3DInterfaceLib/D3DInterface.h"
#include "PhysicsLib/PhysicsStep.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/CollisionResponses.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/Random.h"

namespace {

constexpr float kBackOff = 0.1f;  // how far short of a surface walkers stop
constexpr float kGroundProbe = 2.0f;
constexpr float kMovingProbeExtra = 6.0f;
constexpr float kHitStunFrames = 15.0f;
constexpr float kKnockBackSpeed = 2.0f;

Contact ProbeWorld(GameObject* object) {
  SpriteCollection* objects = World::GetObjects();
  if (!objects) return Contact();
  return objects->Probe(object);
}

// A new object from the named prototype; every prototype is a game object.
GameObject* CloneObject(const char* name) {
  GameObject* object = ContactGameObject(World::CloneSprite(name));
  VT_ASSERT(object);
  return object;
}

bool InMainList(const PhysicsObject* object) {
  SpriteCollection* objects = World::GetObjects();
  if (!objects) return false;
  const auto& sprites = objects->GetSprites();
  return std::find(sprites.begin(), sprites.end(), object) != sprites.end();
}

// Keeps the horizontal speed a slide changed; a jump off a slope lifts clear.
void KeepHorizontalSpeed(GameObject* object, float x0) {
  const float x = object->GetVelocity().X();
  if (x != 0.0f && x0 != 0.0f) object->SetVelocity(object->GetVelocity() * (x0 / x));
}

void LiftIfRising(GameObject* object) {
  if (object->GetVelocity().Y() < 0.0f) {
    object->SetVelocity(object->GetVelocity().X(), object->GetVelocity().Y() - kBackOff);
  }
}

}  // namespace

void AddDamageFlags(GameObject* object) {
  object->AddFlag("DamageReceived", 0.0f);
  object->AddFlag("DamageLevel", 0.0f);
  object->AddFlag("DamageColor", 0.0f);
  object->AddFlag("DamagedTime", 0.0f);
  object->AddFlag("FlashTime", 0.0f);
}

void AddGroundFlag(GameObject* object) { object->AddFlag("OnGround", 1.0f); }

void AddMovementFlags(GameObject* object) {
  object->AddFlag("TargetX", object->GetPosition().X());
  object->AddFlag("TargetY", object->GetPosition().Y());
  object->AddFlag("DirectionX", 1.0f);
  object->AddFlag("DirectionY", 0.0f);
  object->AddFlag("AggroDelay", 0.0f);
}

bool IsFalling(GameObject* object) {
  if (object->GetFlag("OnGround") != 1.0f) return true;
  const float x0 = object->GetVelocity().X();
  // Probe further while moving vertically, so a walker on a lift keeps its footing.
  const float probe = kGroundProbe + (object->GetVelocity().Y() == 0.0f ? 0.0f : kMovingProbeExtra);
  object->SetParkedVelocity(object->GetVelocity());
  object->SetVelocity(0.0f, probe);
  Contact contact = ProbeWorld(object);
  object->SetVelocity(x0, 0.0f);
  object->SetParkedVelocity(0.0f, 0.0f);
  if (!contact.IsHit()) return true;

  PhysicsObject* support = contact.b;
  if (support->GetVelocity().Y() != 0.0f) {
    // Against a moving support, probe again as if it stood still.
    object->SetParkedVelocity(object->GetVelocity());
    support->SetParkedVelocity(support->GetVelocity());
    object->SetVelocity(0.0f, probe);
    support->SetVelocity(0.0f, 0.0f);
    const Contact still = ProbeWorld(object);
    object->SetVelocity(x0, 0.0f);
    support->SetVelocity(support->GetParkedVelocity());
    object->SetParkedVelocity(0.0f, 0.0f);
    support->SetParkedVelocity(0.0f, 0.0f);
    // A rising support can be out of reach of the still probe: keep the first find.
    if (still.IsHit()) contact = still;
  }

  CollideSlideKeepSpeed(&contact);
  KeepHorizontalSpeed(object, x0);
  object->MoveTo(object->GetPosition() + CachedVector(0.0f, probe * contact.t - kBackOff));
  object->SetVelocity(object->GetVelocity() + contact.b->GetVelocity());
  LiftIfRising(object);
  return false;
}

void AccelerateX(GameObject* object, float acceleration, float maxSpeed) {
  if (object->GetFlag("DamagedTime") != 0.0f) return;
  const float vx = object->GetVelocity().X();
  if ((acceleration < 0.0f && vx > -maxSpeed) || (acceleration > 0.0f && vx < maxSpeed)) {
    object->SetVelocity(vx + acceleration, object->GetVelocity().Y());
  }
}

void WalkStep(GameObject* object) {
  const CachedVector velocity = object->GetVelocity();
  const float x0 = velocity.X();
  object->SetParkedVelocity(velocity);
  object->SetVelocity(x0, 0.0f);
  Contact contact = ProbeWorld(object);
  object->SetVelocity(object->GetParkedVelocity());
  object->SetParkedVelocity(0.0f, 0.0f);
  if (!contact.IsHit()) return;

  CachedVector edge = ShapeEdge(*contact.b, contact.polygonB, contact.featureB);
  const CachedVector motion = object->GetVelocity() - contact.b->GetVelocity();
  PointAlongMotion(edge, motion);
  if (std::fabs(edge.Y()) > std::fabs(edge.X())) return;  // too steep to walk up
  if (!MovesOntoSurface(edge, motion)) return;

  const float step = x0 * contact.t;
  object->MoveTo(object->GetPosition() + CachedVector(x0 > 0.0f ? step - kBackOff : step + kBackOff, 0.0f));
  CollideSlideKeepSpeed(&contact);
  KeepHorizontalSpeed(object, x0);
  LiftIfRising(object);
}

void ApplyGravity(GameObject* object, float gravity, float maxFallSpeed) {
  const float vy = object->GetVelocity().Y();
  if (vy < maxFallSpeed) object->SetVelocity(object->GetVelocity().X(), vy + gravity);
}

void UpdateDamageFlash(GameObject* object) {
  float& stun = object->GetFlag("DamagedTime");
  if (stun == 0.0f) return;
  object->TakeLastContact();  // no new hit lands while stunned
  stun -= 1.0f;
  if (stun == 0.0f) {
    object->SetVisible(true);
    return;
  }
  float& flash = object->GetFlag("FlashTime");
  flash -= 1.0f;
  if (flash <= 0.0f) {
    object->SetVisible(!object->IsVisible());
    flash = object->IsVisible() ? 3.0f : 2.0f;
  }
}

bool KillIfOutsideView(GameObject* object, float marginX, float marginY) {
  const Vector2& offset = World::GetObjects()->GetOffset();
  const D3DInterface* engine = D3DInterface::GetEngine();
  const Vector2& at = object->GetPosition();
  const bool inside = offset.X() - marginX <= at.X() &&
                      at.X() <= offset.X() + engine->GetScreenWidth() + marginX &&
                      offset.Y() - marginY <= at.Y() &&
                      at.Y() <= offset.Y() + engine->GetScreenHeight() + marginY;
  if (!inside) object->SetDead(true);
  return object->IsDead();
}

GameObject* SpawnFlash(const Vector2& position, int frame, float scale, float expandRate,
                       float endSize, float depth) {
  GameObject* flash = CloneObject("Flash");
  // Flashes are soft glows blown up to as much as eleven times their art: sampled
  // nearest, the glow's ramp would show as steps a dozen pixels wide.
  if (Animation* art = flash->GetAnimation()) art->SetSmoothScaling(true);
  flash->AddFlag("ExpandRate", expandRate);
  flash->AddFlag("EndSize", endSize);
  flash->SetInactive(false);
  flash->SetFrame(frame);
  flash->MoveTo(position);
  flash->SetDepth(depth);
  flash->SetScaleX(scale);
  flash->SetScaleY(scale);
  World::GetObjects()->Add(flash);
  return flash;
}

GameObject* SpawnSpark(int frame, Vector2 position, CachedVector velocity, float depth,
                       SpriteCollection* list, float gravity) {
  GameObject* spark = CloneObject("Spark");
  spark->MoveTo(position);
  spark->SetName("Spark");
  spark->SetFrame(frame);
  spark->SetDepth(depth);
  spark->AddFlag("Timer", static_cast<float>(15 + platform::Random() % 30));
  spark->AddFlag("Gravity", gravity);
  spark->AddFlag("EnergyKept", 0.35f);
  spark->SetDeactivateOffscreen(false);
  // y is drawn first.
  const int y = platform::Random() % 21 - 10;
  const int x = platform::Random() % 21 - 10;
  CachedVector direction(static_cast<float>(x), static_cast<float>(y));
  direction.Normalize();
  spark->SetVelocity(direction * 3.0f + velocity);
  spark->SetScaleX(0.8f);
  spark->SetScaleY(0.8f);
  spark->SetCollisionCallback(CollideBounceEnergyKept);
  (list ? list : World::GetObjects())->AddUnsorted(spark);
  return spark;
}

void SparkBehavior(GameObject* spark) {
  spark->SetVelocity(spark->GetVelocity().X(), spark->GetVelocity().Y() + spark->GetFlag("Gravity"));
  float& timer = spark->GetFlag("Timer");
  if (timer <= 0.0f) spark->SetDead(true);
  timer -= 1.0f;
}

void SpawnPowerup(const Vector2& position) {
  GameObject* powerup = CloneObject("Powerup");
  powerup->SetDeactivateOffscreen(false);
  powerup->SetInactive(false);
  powerup->SetFrame(2 + platform::Random() % 3);
  powerup->MoveTo(position);
  powerup->SetVelocity(0.0f, -5.0f);
  powerup->SetDepth(3.0f);
  powerup->AddFlag("Lifetime", kPowerupLifetime);
  World::GetObjects()->Add(powerup);
}

void KillEnemy(GameObject* object) {
  SpawnPowerup(object->GetPosition());
  object->SetDead(true);
}

Bounds OverlapRect(GameObject* a, GameObject* b) {
  const Bounds& p = a->GetCollisionShape().GetBounds();
  const Bounds& q = b->GetCollisionShape().GetBounds();
  return Bounds{std::max(p.left, q.left), std::max(p.top, q.top), std::min(p.right, q.right),
                std::min(p.bottom, q.bottom)};
}

void SpawnHitSparks(GameObject* attacker, GameObject* victim) {
  const float colour = victim->GetFlag("DamageColor");
  const float level = victim->GetFlag("DamageLevel");
  const int index = colour > 1.0f ? static_cast<int>((colour - 2.0f) * 3.0f + level) : 9;

  const Bounds r = OverlapRect(attacker, victim);
  const Vector2 centre((r.left + r.right) / 2.0f, (r.top + r.bottom) / 2.0f);
  CachedVector direction = centre - victim->GetPosition();
  if (centre == victim->GetPosition()) direction = attacker->GetPosition() - victim->GetPosition();
  direction.Normalize();
  direction *= 3.0f;

  // A box the hero's shape has shrunk away from is empty, not negative.
  const float width = std::max(0.0f, r.right - r.left);
  const float height = std::max(0.0f, r.bottom - r.top);
  const int count = std::min(15, static_cast<int>(std::sqrt(width * height)) / 10 + 2);

  VT_ASSERT(index >= 0 && index <= 9);
  // The gun's level 3 comes with plain sparks, which never read the level.
  if (!(index == 9 && level == 3.0f)) VT_ASSERT(level >= 0 && level <= 2);

  for (int i = 0; i < count; ++i) {
    int frame = index;
    if (index < 9) frame = index - platform::Random() % (static_cast<int>(level) + 1);
    const float depth = platform::Random() % 2 == 1 ? -0.01f : 0.01f;
    SpawnSpark(frame, centre, direction, depth, nullptr, 0.2f);
  }
}

void ShowHitOnHUD(int damage, int colour, bool killed) {
  HUD* pHUD = HUD::GetInstance();
  VT_ASSERT(pHUD);
  int r = 0, g = 0, b = 0;
  if (colour == 2) r = 255;
  if (colour == 3) g = 255;
  if (colour == 4) b = 255;
  int kind = 0;
  PlayerObject* player = World::GetPlayer();
  const int state = player ? player->GetState() : 0;
  if (state == PLAYER_STRIDE || state == PLAYER_CYCLONE) {
    r = g = b = 127;
    kind = state == PLAYER_STRIDE ? 3 : 5;
    damage *= 2;
  }
  const bool combo = player && player->IsComboTimerRunning();
  auto send = [&](int points, int messageKind, int red, int green, int blue) {
    if (combo) {
      pHUD->UpdateCombo(points, messageKind, 255, red, green, blue);
    } else {
      pHUD->AddMessage(points, messageKind, 255, red, green, blue);
    }
  };
  send(damage, kind, r, g, b);
  if (killed && (kind == 3 || kind == 5)) {
    send(damage * 2, kind + 1, 0, 0, 0);
  }
  if (player) player->RestartComboTimer();
}

bool HandleDamage(GameObject* object) {
  const Contact contact = object->TakeLastContact();
  auto* enemy = dynamic_cast<EnemyObject*>(object);
  if (!enemy) return false;

  // An open bottom bound (-1, also what a World without a level reports) kills nobody.
  const float bottom = World::GetLevelUpperBounds().Y();
  if (bottom != -1.0f && object->GetPosition().Y() > bottom && !enemy->HasNoContactDamage()) {
    KillEnemy(object);
  }
  if (!contact.IsHit()) return false;

  PlayerObject* player = World::GetPlayer();
  const bool byPlayer = player && contact.b == player;
  if (byPlayer && player->GetAttackId() == enemy->GetLastHitAttackId()) return false;

  float& health = object->GetFlag("Health");
  float& received = object->GetFlag("DamageReceived");
  health -= received;
  if (player) enemy->SetLastHitAttackId(player->GetAttackId());

  if (byPlayer) {
    SpawnHitSparks(player, object);
    if (!enemy->IsSummoned()) {
      ShowHitOnHUD(static_cast<int>(received), static_cast<int>(object->GetFlag("DamageColor")),
                   health <= 0.0f);
    }
  }
  if (health <= 0.0f) {
    if (!enemy->HasNoContactDamage()) KillEnemy(object);
  } else {
    object->SetFlag("DamagedTime", kHitStunFrames);
    // Knocked away from the attacker; an attacker that has left the list since
    // its hit was stored counts as standing on the enemy.
    const float attackerX = InMainList(contact.b) ? contact.b->GetPosition().X()
                                                  : object->GetPosition().X();
    object->SetVelocity(object->GetPosition().X() - attackerX <= 0.0f ? -kKnockBackSpeed
                                                                       : kKnockBackSpeed,
                        0.0f);
  }
  received = 0.0f;
  return true;
}

void BehaviorPatrolTurn(GameObject* object, float acceleration, float maxSpeed, float turnDistance) {
  float& direction = object->GetFlag("DirectionX");
  if ((object->GetFlag("TargetX") - object->GetPosition().X()) * direction < 0.0f) {
    direction = -direction;
    object->SetFlag("TargetX", object->GetPosition().X() + turnDistance * direction);
  }
  AccelerateX(object, acceleration * direction, maxSpeed);
  object->SetFacingLeft(direction < 0.0f);
}

void FaceTarget(GameObject* object, float acceleration, float maxSpeed) {
  float& direction = object->GetFlag("DirectionX");
  if ((object->GetFlag("TargetX") - object->GetPosition().X()) * direction < 0.0f) {
    direction = -direction;
  }
  const float vx = object->GetVelocity().X();
  if ((direction < 0.0f && vx > -maxSpeed) || (direction > 0.0f && vx < maxSpeed)) {
    object->SetVelocity(vx + acceleration * direction, object->GetVelocity().Y());
    object->SetFacingLeft(direction < 0.0f);
  }
}
