// Reading and writing the shape block of animation files.
#include "PhysicsLib/ShapeStream.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "PhysicsLib/CollisionVertex.h"
#include "geometry/BinaryStream.h"

std::istream& ReadPolygonVertices(std::istream& in, CollisionPolygon& polygon) {
  std::uint32_t count = 0;
  if (!ReadRaw(in, count)) return in;
  if (count > kMaxPolygonVertices) {
    in.setstate(std::ios::failbit);
    return in;
  }
  // Grown as vertices arrive, so a damaged count allocates nothing the data doesn't hold.
  std::vector<CollisionVertex> vertices;
  for (std::uint32_t i = 0; i < count; ++i) {
    CollisionVertex vertex;
    if (!ReadBinary(in, vertex)) return in;
    vertices.push_back(vertex);
  }
  for (const CollisionVertex& vertex : vertices) polygon.AddVertex(vertex);
  return in;
}

std::ostream& WritePolygonVertices(std::ostream& out, const CollisionPolygon& polygon) {
  WriteRaw(out, static_cast<std::uint32_t>(polygon.GetVertexCount()));
  for (const CollisionVertex& vertex : polygon.GetVertices()) WriteBinary(out, vertex);
  return out;
}

std::istream& ReadPolygon(std::istream& in, CollisionPolygon& polygon) {
  std::int32_t type = 0;
  if (!ReadRaw(in, type)) return in;
  CollisionPolygon read(polygon);
  read.SetType(type);
  if (!ReadPolygonVertices(in, read)) return in;
  read.Decompose();
  polygon = std::move(read);
  return in;
}

std::ostream& WritePolygon(std::ostream& out, const CollisionPolygon& polygon) {
  WriteRaw(out, static_cast<std::int32_t>(polygon.GetType()));
  return WritePolygonVertices(out, polygon);
}

std::istream& ReadCollisionShape(std::istream& in, CollisionShape& shape) {
  std::uint32_t count = 0;
  if (!ReadRaw(in, count)) return in;
  if (count > kMaxShapePolygons) {
    in.setstate(std::ios::failbit);
    return in;
  }
  std::vector<CollisionPolygon> polygons;
  for (std::uint32_t i = 0; i < count; ++i) {
    CollisionPolygon polygon;
    if (!ReadPolygon(in, polygon)) return in;
    polygons.push_back(std::move(polygon));
  }
  for (const CollisionPolygon& polygon : polygons) shape.AddPolygon(polygon);
  shape.UpdateBounds();
  shape.ComputeTypeFlags();
  return in;
}

std::ostream& WriteCollisionShape(std::ostream& out, const CollisionShape& shape) {
  WriteRaw(out, static_cast<std::uint32_t>(shape.GetPolygonCount()));
  for (const CollisionPolygon& polygon : shape.GetPolygons()) WritePolygon(out, polygon);
  return out;
}
