// Collision shapes, the collision-type table, physics objects and the physics step, with
// the geometry value types they are built from.
#pragma once

#include "PhysicsLib/Bounds.h"
#include "PhysicsLib/CollisionPolygon.h"
#include "PhysicsLib/CollisionShape.h"
#include "PhysicsLib/CollisionTypes.h"
#include "PhysicsLib/CollisionVertex.h"
#include "PhysicsLib/Contact.h"
#include "PhysicsLib/PhysicsObject.h"
#include "PhysicsLib/PhysicsStep.h"
#include "PhysicsLib/ShapeStream.h"
#include "geometry/Geometry.h"
