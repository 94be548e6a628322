#pragma once
// The game's commands on the object slots: loading, saving and building objects, and
// reading their triangles back. Slot numbers outside 0..4095 are refused.

#include "core/basic_string.h"
#include "core/runtime_array.h"

// Resolves fileName through the archive and loads it into the slot (a model or a scene).
// 1 on success; 0 when the name resolves to nothing (the slot keeps what it held) or the
// load fails (the slot is then empty).
double LoadObject(const BasicString& fileName, double slot);
// Writes the slot's first object as a binary model file. 1 when written, 0 when the slot
// holds no object or the file cannot be written.
double SaveObject(const BasicString& fileName, double slot);
// Starts building an object in the slot with a strip group.
void StartObject(double slot);
// Appends a vertex to the object being built; colour is 0x00BBGGRR.
void AddObjectVertex(double x, double y, double z, double u, double v, double colour);
// Starts a new strip in the object being built.
void NewObjectStrip();
// Finishes the object being built with the scene's tangent setting.
void EndObject();
// The number of triangle vertices of frame 0 over the slot's objects (3 per triangle).
double CountObjectVertices(double slot);
// Makes array 3 x 9 (zeroed) and stores in array(v, 0..8) x, y, z, u, v, colour, nx, ny,
// nz of the triangle vertices n, n + 1, n + 2 of the frame, counted through the slot's
// objects in order; objects without that frame count no vertices.
void GetObjectTriangle(double slot, double frame, double n, NumberArray& array);
