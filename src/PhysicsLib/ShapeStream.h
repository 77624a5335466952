// The shape block of animation files: polygon count, then per polygon its type, vertex
// count and vertices (x, y, radius), all little-endian. Triangles, bounds and flags are
// computed on reading. A block that cannot be read whole leaves the target unchanged and
// the stream failed.
#pragma once

#include <istream>
#include <ostream>

#include "PhysicsLib/CollisionPolygon.h"
#include "PhysicsLib/CollisionShape.h"

// Sanity limits for damaged files: far above any real shape, low enough that a corrupt
// count cannot make triangulation crawl.
constexpr unsigned kMaxShapePolygons = 4096;
constexpr unsigned kMaxPolygonVertices = 4096;

// Appends the block's polygons to the shape.
std::istream& ReadCollisionShape(std::istream& in, CollisionShape& shape);
std::ostream& WriteCollisionShape(std::ostream& out, const CollisionShape& shape);

// One polygon record (type, counted vertices), triangulated after reading.
std::istream& ReadPolygon(std::istream& in, CollisionPolygon& polygon);
std::ostream& WritePolygon(std::ostream& out, const CollisionPolygon& polygon);

// The counted vertex list of a polygon, appended to its corners.
std::istream& ReadPolygonVertices(std::istream& in, CollisionPolygon& polygon);
std::ostream& WritePolygonVertices(std::ostream& out, const CollisionPolygon& polygon);
