#include "game/objects/CollisionResponses.h"

#include <cmath>
#include <string>

#include "PhysicsLib/PhysicsObject.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/EnemyObject.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "geometry/MatrixHelpers.h"

const CollisionCallback CollisionResponseTable[kCollisionResponseCount] = {
    CollideSlide,  CollideSlideKeepSpeed, CollideBounce,      CollideBounceEnergyKept, CollideGround,
    CollidePlayer, CollideDamage,         CollideCoreCollect, CollideShot,
};

namespace {

bool IsOverlap(const Contact* c) { return c->t < 0.0f; }

// The responses that read properties or names act only between game objects.
bool BetweenGameObjects(const Contact* c) {
  return ContactGameObject(c->a) && ContactGameObject(c->b);
}

const CollisionPolygon* FindShapePolygon(const PhysicsObject& object, int polygon) {
  const CollisionShape& shape = object.GetCollisionShape();
  if (polygon < 0 || polygon >= shape.GetPolygonCount()) return nullptr;
  const CollisionPolygon& found = shape.GetPolygon(static_cast<std::size_t>(polygon));
  return found.GetVertexCount() > 0 ? &found : nullptr;
}

Vector2 ShapeVertex(const PhysicsObject& object, int polygon, int feature) {
  const CollisionPolygon* found = FindShapePolygon(object, polygon);
  if (!found || feature < 0 || feature >= found->GetVertexCount()) return Vector2();
  return found->GetVertex(static_cast<std::size_t>(feature)).GetPosition();
}

CachedVector PerpendicularOf(const CachedVector& d) { return CachedVector(-d.Y(), d.X()); }

}  // namespace

GameObject* ContactGameObject(PhysicsObject* object) { return dynamic_cast<GameObject*>(object); }

CachedVector ShapeEdge(const PhysicsObject& object, int polygon, int feature) {
  const CollisionPolygon* found = FindShapePolygon(object, polygon);
  if (!found || feature < 0 || feature >= found->GetVertexCount()) return CachedVector();
  const int next = (feature + 1) % found->GetVertexCount();
  return found->GetVertex(static_cast<std::size_t>(next)).GetPosition() -
         found->GetVertex(static_cast<std::size_t>(feature)).GetPosition();
}

bool MovesOntoSurface(const CachedVector& surface, const CachedVector& motion) {
  // The sine of the angle from the motion to the surface has the sign of their
  // cross product; the cross product needs no angle of a zero vector.
  const float q = motion.X() * surface.Y() - motion.Y() * surface.X();
  if (motion.X() > 0.0f) return q <= 0.0f;
  if (motion.X() < 0.0f) return q >= 0.0f;
  return motion.Y() > 0.0f;
}

void PointAlongMotion(CachedVector& surface, const CachedVector& motion) {
  if ((motion.X() < 0.0f && surface.X() > 0.0f) || (motion.X() > 0.0f && surface.X() < 0.0f)) {
    surface = -surface;
  }
}

void CollideSlide(Contact* c) {
  if (IsOverlap(c)) return;
  CachedVector d;
  if (c->kindA == kFeatureEdge) {
    d = ShapeEdge(*c->a, c->polygonA, c->featureA);
  } else if (c->kindB != kFeatureEdge) {
    // Point against point: slide across the line joining them.
    d = PerpendicularOf(ShapeVertex(*c->b, c->polygonB, c->featureB) -
                        ShapeVertex(*c->a, c->polygonA, c->featureA));
  } else {
    d = ShapeEdge(*c->b, c->polygonB, c->featureB);
  }
  c->a->SetVelocity(ProjectionMatrix(d) * c->a->GetVelocity());
}

void CollideSlideKeepSpeed(Contact* c) {
  const float before = c->a->GetVelocity().GetLength();
  CollideSlide(c);
  const float after = c->a->GetVelocity().GetLength();
  if (before != 0.0f && after != 0.0f) c->a->SetVelocity(c->a->GetVelocity() * (before / after));
}

void CollideBounce(Contact* c) {
  if (IsOverlap(c)) return;
  CachedVector n;
  if (c->kindA == kFeatureEdge) {
    n = PerpendicularOf(ShapeEdge(*c->a, c->polygonA, c->featureA));
  } else if (c->kindB != kFeatureEdge) {
    n = ShapeVertex(*c->b, c->polygonB, c->featureB) - ShapeVertex(*c->a, c->polygonA, c->featureA);
  } else {
    n = PerpendicularOf(ShapeEdge(*c->b, c->polygonB, c->featureB));
  }
  c->a->SetVelocity(-(ReflectionMatrix(n) * c->a->GetVelocity()));
}

void CollideBounceEnergyKept(Contact* c) {
  if (!BetweenGameObjects(c)) return;
  GameObject* a = ContactGameObject(c->a);
  CollideBounce(c);
  a->SetVelocity(a->GetVelocity() * a->GetFlag("EnergyKept"));
}

void CollideGround(Contact* c) {
  if (IsOverlap(c) || !BetweenGameObjects(c)) return;
  GameObject* a = ContactGameObject(c->a);
  const bool isHero = a->GetName() == World::kPlayerName;
  if (a->IsAirborne()) {
    CachedVector surface = c->kindB != kFeatureEdge ? ShapeEdge(*c->a, c->polygonA, c->featureA)
                                                    : ShapeEdge(*c->b, c->polygonB, c->featureB);
    const CachedVector motion = c->a->GetVelocity() - c->b->GetVelocity();
    PointAlongMotion(surface, motion);
    if (std::fabs(surface.Y()) <= std::fabs(surface.X()) && MovesOntoSurface(surface, motion)) {
      if (isHero) {
        a->OnLanded();
      } else if (a->GetFlags().count("OnGround")) {
        // Objects that never declared the flag (the Constructor, boss parts, the
        // tire) land without it.
        a->SetFlag("OnGround", 1.0f);
      }
      CollideSlide(c);
      a->SetVelocity(a->GetVelocity() + c->b->GetVelocity());
      return;
    }
    if (surface.X() == 0.0f && std::fabs(surface.Y()) > 0.0f && isHero) {
      if (auto* hero = dynamic_cast<PlayerObject*>(a)) hero->SetWallContact();
    }
  }
  CollideSlide(c);
  a->SetVelocity(a->GetVelocity() + c->b->GetVelocity());
}

void CollidePlayer(Contact* c) {
  if (!IsOverlap(c)) {
    CollideGround(c);
    return;
  }
  // Only the hero's body polygon takes contact damage or touches pickups.
  if (c->polygonA != 1) return;
  GameObject* hero = ContactGameObject(c->a);
  GameObject* other = ContactGameObject(c->b);
  if (!hero || !other) return;
  if (other->IsEnemy()) {
    const auto* enemy = dynamic_cast<const EnemyObject*>(other);
    if (enemy && !enemy->HasNoContactDamage()) {
      hero->TakeDamage(1);
      return;
    }
  }
  const std::string& name = other->GetName();
  if (name == "Scrap" || name == "KajeRocket" || name == "TigerCShot" || name == "KajeEnergyShot") {
    hero->TakeDamage(1);
  } else if (name == "Powerup") {
    // The pickup's behaviour sees that it was touched.
    other->SetLastContact(*c);
  }
}

namespace {

// The strength of a hit by the hero's (or its shot's) state.
float DamageLevelOfState(int state) {
  switch (state) {
    case 5: case 9: case 13: case 16: return 1.0f;
    case 6: case 10: case 14: case 17: return 2.0f;
    case 15: return 3.0f;
    default: return 0.0f;
  }
}

// The orb colour of a hit by the hero's (or its shot's) state: 2 red, 3 green, 4 blue.
float DamageColorOfState(int state) {
  if (state >= 4 && state <= 6) return 2.0f;
  if (state >= 8 && state <= 10) return 3.0f;
  if (state >= 12 && state <= 14) return 4.0f;
  return 0.0f;
}

int PolygonType(const PhysicsObject& object, int polygon) {
  const CollisionShape& shape = object.GetCollisionShape();
  if (polygon < 0 || polygon >= shape.GetPolygonCount()) return -1;
  return shape.GetPolygon(static_cast<std::size_t>(polygon)).GetType();
}

// A copy for the HUD's list that flies in for 30 frames.
GameObject* CopyForHUD(const GameObject& original) {
  GameObject* copy = original.Clone();
  *copy = original;
  copy->SetFlag("Movement", 30.0f);
  return copy;
}

}  // namespace

void CollideDamage(Contact* c) {
  if (!BetweenGameObjects(c)) return;
  GameObject* a = ContactGameObject(c->a);
  GameObject* b = ContactGameObject(c->b);
  // The walker polygon (type 1) stands on things rather than being hurt.
  if (!IsOverlap(c) && PolygonType(*a, c->polygonA) == 1) {
    CollideGround(c);
    return;
  }
  if (c->polygonA != 1) return;  // only the body polygon is hurt
  a->SetFlag("DamageColor", DamageColorOfState(b->GetState()));
  a->SetFlag("DamageLevel", DamageLevelOfState(b->GetState()));
  auto* hero = dynamic_cast<PlayerObject*>(b);
  if (hero && hero->GetName() == World::kPlayerName && hero->IsAttacking() && c->polygonB == 2) {
    a->SetFlag("DamageReceived", hero->GetAttackDamage());
    a->SetLastContact(*c);
    return;
  }
  if (b->GetName() == "Shot") {
    a->SetFlag("DamageReceived", b->GetFlag("Damage"));
    a->SetLastContact(*c);
    b->SetLastContact(*c);  // the shot's behaviour sees that it hit
  }
}

void CollideCoreCollect(Contact* c) {
  if (!IsOverlap(c) || !BetweenGameObjects(c)) return;
  GameObject* piece = ContactGameObject(c->a);
  GameObject* hero = ContactGameObject(c->b);
  if (hero->GetName() != World::kPlayerName) return;

  const Vector2 onScreen = piece->GetPosition() - CachedVector(World::GetCameraOffset());
  const CachedVector toPanel = (Vector2(150.0f, 80.0f) - onScreen) * (1.0f / 30.0f);

  // A level may place the piece without its glow: then the piece goes alone.
  SpriteCollection* objects = World::GetObjects();
  Sprite* found = objects ? objects->Find("CoreGlow") : nullptr;
  if (GameObject* glow = ContactGameObject(found)) {
    glow->MoveTo(onScreen);
    glow->SetVelocity(toPanel);
    HUD::AddSprite(CopyForHUD(*glow));
    glow->SetDead(true);
  }

  piece->MoveTo(onScreen);
  piece->SetVelocity(toPanel);
  piece->SetCollisionCallback(nullptr);
  GameObject* copy = CopyForHUD(*piece);
  // Where in the level the hero stands decides the piece's reward.
  const Vector2& at = hero->GetPosition();
  if (at.X() < 256.0f && at.Y() < 768.0f) {
    copy->SetFlag("Specialty", 0.0f);
  } else if (at.X() > 1600.0f && at.Y() > 700.0f) {
    copy->SetFlag("Specialty", 1.0f);
  }
  HUD::AddSprite(copy);
  piece->SetDead(true);

  if (SoundEngine* sound = World::GetSoundEngine()) sound->Play("core_collection");
}

void CollideShot(Contact* c) {
  if (!IsOverlap(c) || !BetweenGameObjects(c)) return;
  GameObject* orb = ContactGameObject(c->a);
  GameObject* other = ContactGameObject(c->b);
  if (other->GetName() == "Shot") {
    const float color = DamageColorOfState(other->GetState());
    if (color == 0.0f) return;
    orb->SetFrame(static_cast<int>(color));
    other->SetLastContact(*c);
  } else if (other->GetName() == World::kPlayerName && c->polygonB != 1) {
    // The hero's weapon: the orb takes the hit the hero recorded, or this touch.
    const Contact recorded = other->TakeLastContact();
    orb->SetLastContact(recorded.IsHit() ? recorded : *c);
  }
}
