#pragma once
// Sphere, oriented box and ray tests against the triangles of one frame of a mesh
// object, and of every object in an object slot.
//
// The tested shape is brought into the object's own space with the inverse of the
// object transform taken as a rotation plus translation: a scale in the transform is
// ignored (the object is tested at its own size), shear is not undone.

#include <cstdint>

#include "gfx3d/engine3d.h"
#include "gfx3d/mesh_object.h"

// Undoes the rotation and translation of transform: R^T (point - t), with each column of
// R taken at unit length.
Vector3 InverseRigidTransform(const Matrix4& transform, const Vector3& point);

// The closest point of segment a-b to c (a when the segment is shorter than 1e-8).
Vector3 ClosestPointOnSegment(const Vector3& a, const Vector3& b, const Vector3& c);
// True when the angles the polygon's sides subtend at point sum to at least 0.99 x 2 pi.
bool PointInPolygon(const Vector3& point, const Vector3* vertices, int count);
// True when the sphere reaches into the triangle: it must cross the triangle's plane
// (a sphere that only touches the plane does not count), then contain the projected
// centre or come closer than radius to an edge.
bool SphereHitsTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& centre,
                        float radius);
// The ray parameter of the hit of the line origin -> second with the triangle (edges
// count); 0 for a miss, a degenerate triangle or a line parallel to its plane.
float RayTriangleParameter(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& origin,
                           const Vector3& second);
// Separating-axis test of a triangle against a box given by centre and three half-extent
// axes; touching counts as overlap.
bool BoxOverlapsTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& centre,
                         const Vector3 axes[3]);

// Per object; transform is the object transform. A frame number not below the frame
// count, or a frame of fewer than 3 triangle vertices, gives no hit (false or 0).
bool SphereHitsMesh(const MeshObject& object, std::uint32_t frame, float radius, const Vector3& centre,
                    const Matrix4& transform);
bool BoxHitsMesh(const MeshObject& object, std::uint32_t frame, const Vector3& centre, const Vector3 axes[3],
                 const Matrix4& transform);
// Nearest hit ahead (positive), else nearest behind (negative), else 0. The direction is
// normalised first, so the result is a distance for a transform without scale.
float RayHitsMesh(const MeshObject& object, std::uint32_t frame, const Vector3& origin, const Vector3& direction,
                  const Matrix4& transform);

// The product of the object transform stack as mesh drawing applies it, read back from
// GL's model-view stack; the identity without a context.
Matrix4 ObjectTransformMatrix(const Diveduva3D& scene);

// Over the objects of a slot with the scene's current object transform; an empty slot
// or a slot number outside 0..4095 gives no hit.
bool SlotSphereHit(Diveduva3D& scene, long long slot, std::uint32_t frame, float radius, const Vector3& centre);
bool SlotBoxHit(Diveduva3D& scene, long long slot, std::uint32_t frame, const Vector3& centre,
                const Vector3& axisX, const Vector3& axisY, const Vector3& axisZ);
float SlotRayHit(Diveduva3D& scene, long long slot, std::uint32_t frame, const Vector3& origin,
                 const Vector3& direction);
