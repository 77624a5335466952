// One collision contact between two objects, as seen from the first.
#pragma once

#include <utility>

class PhysicsObject;

// What of an object was hit.
constexpr int kFeatureNone = 0;  // overlap contacts
constexpr int kFeatureVertex = 1;
constexpr int kFeatureEdge = 2;
constexpr int kFeatureCircle = 3;

// Time of an overlap contact.
constexpr float kOverlapTime = -1.0f;

struct Contact {
  float t = 0.0f;              // fraction of this step's motion; -1 for an overlap
  PhysicsObject* a = nullptr;  // the object whose callback receives the record
  PhysicsObject* b = nullptr;
  int polygonA = 0;
  int polygonB = 0;
  int featureA = 0;  // vertex index; an edge starts at this vertex
  int featureB = 0;
  int kindA = 0;  // kFeatureVertex, kFeatureEdge or kFeatureCircle
  int kindB = 0;

  Contact() = default;
  Contact(PhysicsObject* a, PhysicsObject* b, int polygonA, int polygonB, int featureA,
          int featureB, int kindA, int kindB, float t)
      : t(t),
        a(a),
        b(b),
        polygonA(polygonA),
        polygonB(polygonB),
        featureA(featureA),
        featureB(featureB),
        kindA(kindA),
        kindB(kindB) {}

  bool IsHit() const { return a != nullptr && b != nullptr; }

  // The record as seen from b.
  void Swap() {
    std::swap(a, b);
    std::swap(polygonA, polygonB);
    std::swap(featureA, featureB);
    std::swap(kindA, kindB);
  }

  bool operator<(const Contact& other) const { return t < other.t; }
};

// A collision response: may change either object of the contact.
using CollisionCallback = void (*)(Contact*);
