#pragma once
// The game's commands for collision and picking: a sphere, a box and a ray tested against
// an object slot under the current object transform, and points carried between the
// scene and the screen. With the engine's debug switch on, the three tests also draw what
// they tested. Every command does nothing (and returns 0) before start-up.

// 1 when the sphere hits a triangle of the frame of an object in the slot, else 0.
double SphereHitsObject(double slot, double frame, double radius, double x, double y, double z);
// 1 when the box centred on (x, y, z), width across x and z and height along y, hits.
double BoxHitsObject(double slot, double frame, double x, double y, double z, double width, double height);
// Distance to the nearest hit ahead, else the nearest behind (negative), else 0.
double RayHitsObject(double slot, double frame, double x, double y, double z, double dx, double dy, double dz);
// Screen position (rows from the top) and depth of a scene point; the outputs are
// written only on success.
void ProjectToScreen(double x, double y, double z, double& sx, double& sy, double& sz);
// The scene point under a screen position (rows from the top) at depth sz; the outputs
// are written only on success.
void ScreenToWorld(double sx, double sy, double sz, double& x, double& y, double& z);
