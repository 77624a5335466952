// The swept collision step, overlap reports and the collision probe.
#include "PhysicsLib/PhysicsStep.h"

#include <algorithm>
#include <cmath>

#include "PhysicsLib/BroadPhase.h"
#include "PhysicsLib/CollisionTypes.h"
#include "geometry/Circle.h"
#include "geometry/Ray2D.h"

namespace {

// Objects stop this much relative motion (pixels) short of a contact.
constexpr float kBackOff = 0.1f;
// Above any real time of impact: no contact found yet.
constexpr float kNoContact = 1.1f;

std::vector<Contact>& Contacts() {
  static std::vector<Contact> contacts;
  return contacts;
}

bool HasSolidSource(const PhysicsObject* object) {
  const CollisionShape* source = object->GetSourceShape();
  return source != nullptr && source->IsSolid();
}

bool HasOverlapSource(const PhysicsObject* object) {
  const CollisionShape* source = object->GetSourceShape();
  return source != nullptr && source->IsOverlap();
}

bool TakesPartInStep(const PhysicsObject* object) {
  return object->IsLive() && HasSolidSource(object);
}

bool IsLiveObject(const PhysicsObject* object) {
  return object->IsLive();
}

// Read-only: taking the writable shape counts as a change of it.
const CollisionShape& WorldShape(const PhysicsObject* object) {
  return object->GetCollisionShape();
}

std::vector<SweepIndex::Pair>& PairScratch() {
  static std::vector<SweepIndex::Pair> pairs;
  return pairs;
}

// A two-vertex polygon is a single segment, not two.
bool EdgeExists(int vertexCount, int index) {
  return vertexCount > 2 || (vertexCount == 2 && index == 0);
}

void RestoreParkedIfCollided(PhysicsObject* object) {
  if (!object->GetParkedVelocity().IsZero() && object->HasCollided()) {
    object->SetVelocity(object->GetParkedVelocity());
    object->SetParkedVelocity(0.0f, 0.0f);
  }
}

// A held object whose contact was dropped (its partner met something earlier) is still at
// its own contact position: it takes its motion back and stays collided, so it is re-swept
// and never carries a parked motion into the next step, where it would be lost.
void RestoreParked(PhysicsObject* object) {
  if (object->GetParkedVelocity().IsZero()) return;
  object->SetVelocity(object->GetParkedVelocity());
  object->SetParkedVelocity(0.0f, 0.0f);
  object->SetCollided(true);
}

void SortContacts() {
  std::stable_sort(Contacts().begin(), Contacts().end());
}

void DeliverContact(Contact& contact) {
  if (CollisionCallback callback = contact.a->GetCollisionCallback()) callback(&contact);
  PhysicsObject* other = contact.b;
  if (CollisionCallback callback = other->GetCollisionCallback()) {
    contact.Swap();
    callback(&contact);
  }
}

// Moves both objects of a contact back to just short of it and marks the movers.
void StopAtContact(Contact& contact) {
  PhysicsObject* a = contact.a;
  PhysicsObject* b = contact.b;
  const float speed = (a->GetVelocity() - b->GetVelocity()).GetLength();
  const float tc = speed == 0.0f ? 0.0f : contact.t - kBackOff / speed;
  for (PhysicsObject* object : {a, b}) {
    if (object->GetVelocity().IsZero()) {
      // A held object takes its motion back for whatever comes after this contact.
      if (!object->GetParkedVelocity().IsZero()) {
        object->SetVelocity(object->GetParkedVelocity());
        object->SetParkedVelocity(0.0f, 0.0f);
      }
    } else {
      object->MoveTo(object->GetPosition() + tc * object->GetVelocity());
    }
  }
  for (PhysicsObject* object : {a, b}) {
    if (!object->GetVelocity().IsZero()) object->SetCollided(true);
    object->SetContactTime(tc);
  }
}

// Sweeps a pair of which exactly one has stopped, holding the stopped one still.
void ResweepPair(PhysicsObject* a, PhysicsObject* b) {
  if (a->HasCollided() == b->HasCollided()) return;
  PhysicsObject* held = a->HasCollided() ? a : b;
  held->SetParkedVelocity(held->GetVelocity());
  held->SetVelocity(CachedVector());
  SweepShapes(a, b);
}

// Sweeps each object that has stopped against each that still moves. Returns whether that
// found more contacts.
bool Resweep(PhysicsObjectList objects) {
  if (IsBroadPhaseEnabled()) {
    // Nothing moves during a re-sweep, so the boxes' pairs can be found first.
    std::vector<SweepIndex::Pair>& pairs = PairScratch();
    FindOverlappingPairs(objects, IsLiveObject, pairs);
    for (const auto& [i, j] : pairs) ResweepPair(objects[i], objects[j]);
    return !Contacts().empty();
  }
  for (std::size_t i = 0; i < objects.size(); ++i) {
    PhysicsObject* a = objects[i];
    if (!a->IsLive()) continue;
    for (std::size_t j = i + 1; j < objects.size(); ++j) {
      PhysicsObject* b = objects[j];
      if (b->IsLive() && Bounds::Overlaps(*a, *b)) ResweepPair(a, b);
    }
  }
  return !Contacts().empty();
}

bool RangesMeetStrictly(float a0, float a1, float b0, float b1) {
  return std::min(a0, a1) < std::max(b0, b1) && std::min(b0, b1) < std::max(a0, a1);
}

// Whether a segment's box, grown by a radius, reaches a point (touching counts).
bool SegmentNear(const Vector2& s0, const Vector2& s1, float radius, const Vector2& p) {
  return p.X() >= std::min(s0.X(), s1.X()) - radius && p.X() <= std::max(s0.X(), s1.X()) + radius &&
         p.Y() >= std::min(s0.Y(), s1.Y()) - radius && p.Y() <= std::max(s0.Y(), s1.Y()) + radius;
}

bool PolygonsOverlap(const CollisionPolygon& pa, const CollisionPolygon& pb) {
  const int na = pa.GetVertexCount();
  const int nb = pb.GetVertexCount();
  if (na == 0 || nb == 0) return false;
  // First vertex of either polygon inside the other.
  if (pb.Contains(pa.GetVertices()[0].GetPosition())) return true;
  if (pa.Contains(pb.GetVertices()[0].GetPosition())) return true;
  for (int i = 0; i < na; ++i) {
    const Vector2& p = pa.GetVertices()[i].GetPosition();
    const Vector2& p2 = pa.GetVertices()[(i + 1) % na].GetPosition();
    const float ra = pa.GetVertices()[i].GetRadius();
    for (int j = 0; j < nb; ++j) {
      const Vector2& q = pb.GetVertices()[j].GetPosition();
      const Vector2& q2 = pb.GetVertices()[(j + 1) % nb].GetPosition();
      const float rb = pb.GetVertices()[j].GetRadius();
      if (ra != 0.0f || rb != 0.0f) {
        const float dx = q.X() - p.X();
        const float dy = q.Y() - p.Y();
        if ((ra + rb) * (ra + rb) >= dx * dx + dy * dy) return true;
      }
      if (ra != 0.0f && SegmentNear(q, q2, ra, p) &&
          std::isfinite(Circle(p, ra).IntersectRay(q, q2 - q))) {
        return true;
      }
      if (rb != 0.0f && SegmentNear(p, p2, rb, q) &&
          std::isfinite(Circle(q, rb).IntersectRay(p, p2 - p))) {
        return true;
      }
      if (RangesMeetStrictly(p.X(), p2.X(), q.X(), q2.X()) &&
          RangesMeetStrictly(p.Y(), p2.Y(), q.Y(), q2.Y()) &&
          std::isfinite(Ray2D(p, p2).IntersectLine(q, q2 - q))) {
        return true;
      }
    }
  }
  return false;
}

// The all-pairs overlap loop from row `first`, column `column` on. A's liveness counts once,
// when it is taken: an A that dies in its own callback still meets every later B this step
// (one shot can hurt two enemies in the same frame).
void ProcessOverlapsFrom(PhysicsObjectList objects, std::size_t first, std::size_t column,
                         bool firstTaken) {
  for (std::size_t i = first; i < objects.size(); ++i) {
    PhysicsObject* a = objects[i];
    const bool taken = i == first ? firstTaken : a->IsLive() && HasOverlapSource(a);
    if (!taken) continue;
    for (std::size_t j = i == first ? column : i + 1; j < objects.size(); ++j) {
      PhysicsObject* b = objects[j];
      if (!b->IsLive() || !HasOverlapSource(b)) continue;
      if (Bounds::Overlaps(*a, *b)) TestShapeOverlap(a, b);
    }
  }
}

// The same over the pairs of boxes that overlap, with liveness read when the all-pairs loop
// reads it. Once a callback moves or reshapes anything the pairs found are stale, and the
// all-pairs loop takes over where they stopped.
void ProcessOverlapPairs(PhysicsObjectList objects) {
  // Not the step's scratch: the callbacks run while these are walked.
  static std::vector<SweepIndex::Pair> pairs;
  FindOverlappingPairs(objects, HasOverlapSource, pairs);
  std::size_t row = objects.size();
  bool rowTaken = false;
  for (const auto& [i, j] : pairs) {
    PhysicsObject* a = objects[i];
    PhysicsObject* b = objects[j];
    if (i != row) {
      row = i;
      rowTaken = a->IsLive() && HasOverlapSource(a);
    }
    if (!rowTaken || !b->IsLive()) continue;
    const std::uint64_t changes = PhysicsObject::ShapeChangeCount();
    TestShapeOverlap(a, b);
    if (PhysicsObject::ShapeChangeCount() != changes) {
      ProcessOverlapsFrom(objects, i, j + 1, rowTaken);
      return;
    }
  }
}

}  // namespace

std::vector<Contact>& GetContactList() {
  return Contacts();
}

void SweepShapes(PhysicsObject* a, PhysicsObject* b) {
  const CachedVector rel = a->GetVelocity() - b->GetVelocity();
  if (!rel.IsZero()) {
    const Vector2 forward = rel;
    const Vector2 backward(-rel.X(), -rel.Y());
    float start = 0.0f;
    if (a->HasCollided()) {
      start = a->GetContactTime();
    } else if (b->HasCollided()) {
      start = b->GetContactTime();
    }

    float best = kNoContact;
    Contact found;
    const CollisionShape& shapeA = WorldShape(a);
    const CollisionShape& shapeB = WorldShape(b);
    for (int pA = 0; pA < shapeA.GetPolygonCount(); ++pA) {
      const CollisionPolygon& pa = shapeA.GetPolygons()[pA];
      const int na = pa.GetVertexCount();
      for (int pB = 0; pB < shapeB.GetPolygonCount(); ++pB) {
        const CollisionPolygon& pb = shapeB.GetPolygons()[pB];
        if (CollisionTypeTable::Get(pa.GetType(), pb.GetType()) != kCollisionSolid) continue;
        const int nb = pb.GetVertexCount();
        for (int i = 0; i < na; ++i) {
          const Vector2& p = pa.GetVertices()[i].GetPosition();
          const float ra = pa.GetVertices()[i].GetRadius();
          const Ray2D edgeA(p, pa.GetVertices()[(i + 1) % na].GetPosition());
          const bool hasEdgeA = EdgeExists(na, i);
          for (int j = 0; j < nb; ++j) {
            const Vector2& q = pb.GetVertices()[j].GetPosition();
            const float rb = pb.GetVertices()[j].GetRadius();
            const Ray2D edgeB(q, pb.GetVertices()[(j + 1) % nb].GetPosition());
            const bool hasEdgeB = EdgeExists(nb, j);

            // Keeps the earliest time at or after the start; ties keep the earlier find.
            auto consider = [&](float u, int kindA, int kindB) {
              if (std::isfinite(u) && u >= start && u < best) {
                best = u;
                found = Contact(a, b, pA, pB, i, j, kindA, kindB, u);
              }
            };

            if (ra == 0.0f && rb == 0.0f) {
              if (hasEdgeB) consider(edgeB.IntersectLine(p, forward), kFeatureVertex, kFeatureEdge);
              if (hasEdgeA)
                consider(edgeA.IntersectLine(q, backward), kFeatureEdge, kFeatureVertex);
            } else if (rb == 0.0f) {
              const Circle circleA(p, ra);
              if (hasEdgeB) {
                consider(edgeB.TimeOfImpact(circleA, forward), kFeatureCircle, kFeatureEdge);
              }
              consider(circleA.IntersectRay(q, backward), kFeatureCircle, kFeatureVertex);
              if (hasEdgeA)
                consider(edgeA.IntersectLine(q, backward), kFeatureEdge, kFeatureVertex);
            } else if (ra == 0.0f) {
              const Circle circleB(q, rb);
              consider(circleB.IntersectRay(p, forward), kFeatureVertex, kFeatureCircle);
              if (hasEdgeB) consider(edgeB.IntersectLine(p, forward), kFeatureVertex, kFeatureEdge);
              if (hasEdgeA) {
                consider(edgeA.TimeOfImpact(circleB, backward), kFeatureEdge, kFeatureCircle);
              }
            } else {
              const Circle circleA(p, ra);
              const Circle circleB(q, rb);
              consider(circleB.IntersectRaySwept(circleA, forward), kFeatureCircle, kFeatureCircle);
              if (hasEdgeB) {
                consider(edgeB.TimeOfImpact(circleA, forward), kFeatureCircle, kFeatureEdge);
              }
              if (hasEdgeA) {
                consider(edgeA.TimeOfImpact(circleB, backward), kFeatureEdge, kFeatureCircle);
              }
            }
          }
        }
      }
    }

    if (best <= 1.0f) {
      Contacts().push_back(found);
      a->SetCollided(false);
      b->SetCollided(false);
      return;
    }
  }
  RestoreParkedIfCollided(a);
  RestoreParkedIfCollided(b);
}

void ResolveCollisions(PhysicsObjectList objects) {
  std::vector<Contact>& contacts = Contacts();
  if (IsBroadPhaseEnabled()) {
    // The pair sweeps neither move anything nor read the flags cleared here, so clearing
    // them all first changes nothing.
    for (PhysicsObject* object : objects) {
      object->SetCollided(false);
      object->SetParkedVelocity(0.0f, 0.0f);
    }
    std::vector<SweepIndex::Pair>& pairs = PairScratch();
    FindOverlappingPairs(objects, TakesPartInStep, pairs);
    for (const auto& [i, j] : pairs) SweepShapes(objects[i], objects[j]);
  } else {
    for (std::size_t i = 0; i < objects.size(); ++i) {
      PhysicsObject* a = objects[i];
      a->SetCollided(false);
      a->SetParkedVelocity(0.0f, 0.0f);
      if (!TakesPartInStep(a)) continue;
      for (std::size_t j = i + 1; j < objects.size(); ++j) {
        PhysicsObject* b = objects[j];
        b->SetCollided(false);
        if (TakesPartInStep(b) && Bounds::Overlaps(*a, *b)) SweepShapes(a, b);
      }
    }
  }
  SortContacts();

  std::size_t next = 0;
  while (next < contacts.size()) {
    // A copy: callbacks get a record of their own to change.
    Contact contact = contacts[next++];
    if (!contact.a->HasCollided() && !contact.b->HasCollided()) {
      StopAtContact(contact);
      DeliverContact(contact);
    } else {
      RestoreParked(contact.a);
      RestoreParked(contact.b);
    }
    if (next == contacts.size()) {
      contacts.clear();
      next = 0;
      if (!Resweep(objects)) break;
      SortContacts();
    }
  }
  contacts.clear();
  // Whatever a callback did to the contacts, no motion stays parked past the step.
  for (PhysicsObject* object : objects) RestoreParked(object);

  for (PhysicsObject* object : objects) {
    if (object->IsLive() && !object->HasCollided()) {
      object->MoveTo(object->GetPosition() + object->GetVelocity());
    }
  }
}

void TestShapeOverlap(PhysicsObject* a, PhysicsObject* b) {
  // Indices, not references: a callback may rebuild either world shape.
  for (int pA = 0; pA < WorldShape(a).GetPolygonCount(); ++pA) {
    for (int pB = 0; pB < WorldShape(b).GetPolygonCount(); ++pB) {
      if (pA >= WorldShape(a).GetPolygonCount()) return;
      const CollisionPolygon& pa = WorldShape(a).GetPolygons()[pA];
      const CollisionPolygon& pb = WorldShape(b).GetPolygons()[pB];
      if (CollisionTypeTable::Get(pa.GetType(), pb.GetType()) != kCollisionOverlap) continue;
      if (!PolygonsOverlap(pa, pb)) continue;
      Contact contact(a, b, pA, pB, 0, 0, kFeatureNone, kFeatureNone, kOverlapTime);
      DeliverContact(contact);
    }
  }
}

void ProcessOverlaps(PhysicsObjectList objects) {
  if (IsBroadPhaseEnabled()) {
    ProcessOverlapPairs(objects);
  } else if (!objects.empty()) {
    ProcessOverlapsFrom(objects, 0, 1, objects[0]->IsLive() && HasOverlapSource(objects[0]));
  }
}

void PhysicsStep(PhysicsObjectList objects) {
  for (PhysicsObject* object : objects) {
    if (object->IsLive()) object->SweepBounds();
  }
  ResolveCollisions(objects);
  for (PhysicsObject* object : objects) {
    if (object->IsLive()) object->SetShape(object->GetSourceShape());
  }
  ProcessOverlaps(objects);
}

Contact CheckCollision(PhysicsObject* object, PhysicsObjectList objects) {
  object->SweepBounds();
  object->SetCollided(false);
  if (!object->IsLive()) return Contact();
  for (PhysicsObject* other : objects) {
    if (other == object || !other->IsLive()) continue;
    if (!Bounds::Overlaps(*object, *other)) continue;
    other->SetCollided(false);
    SweepShapes(object, other);
  }
  std::vector<Contact>& contacts = Contacts();
  if (contacts.empty()) return Contact();
  SortContacts();
  const Contact first = contacts.front();
  contacts.clear();
  return first;
}

namespace physics_detail {

namespace {
std::vector<std::vector<PhysicsObject*>>& ScratchPool() {
  static std::vector<std::vector<PhysicsObject*>> pool;
  return pool;
}
}  // namespace

std::vector<PhysicsObject*> AcquireScratch() {
  auto& pool = ScratchPool();
  if (pool.empty()) return {};
  std::vector<PhysicsObject*> scratch = std::move(pool.back());
  pool.pop_back();
  scratch.clear();
  return scratch;
}

void ReleaseScratch(std::vector<PhysicsObject*>&& scratch) {
  ScratchPool().push_back(std::move(scratch));
}

}  // namespace physics_detail
