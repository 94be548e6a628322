#pragma once
// The game's commands for the 3D scene: camera, lights, fog, object transforms, shadow
// and drawing switches, debug primitives and shader programs.
//
// Numbers arrive as doubles and are narrowed to floats; a number that is not finite (or
// does not fit a float) counts as 0, so no NaN or infinity reaches a GL matrix. Integer
// arguments are truncated toward zero. Every command does nothing before start-up.

#include "core/basic_string.h"
#include "core/runtime_array.h"

// Perspective for fov > 0, orthographic for fov <= 0; face culling off, lights and the
// effect light cleared.
void SetCamera(double near, double far, double fov);
void SetCameraPosition(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ);
void SetCameraUp(double x, double y, double z);
// The sign of v: 1 clockwise front faces, -1 counter-clockwise, 0 no culling.
void SetFaceOrientation(double v);
// Closes an open shadow pass and goes back to 2D drawing on the current viewport.
void EndScene3D();
void ClearDepthBuffer();

// Light index 0..7, or a negative index for the effect light; a light index above 7 or
// one that is not a number does nothing.
void SetLight(double index, double colour, double px, double py, double pz, double dx, double dy, double dz,
              double cutoff);
void SetAmbientLight(double index, double colour);
// Colour -1: fog off. exponential counts when its integer part is not 0.
void SetFog(double colour, double exponential, double startOrDensity, double end);

void PushObjectTransform();
void PopObjectTransform();
void SetObjectTranslation(double x, double y, double z);
void SetObjectScale(double x, double y, double z);
void AddObjectRotation(double angle, double x, double y, double z);
// matrix must hold exactly 16 numbers, column after column; otherwise nothing happens.
void AddObjectMatrix(const NumberArray& matrix);

// Tangent setting 0, 1 or 2: mode truncated, modulo 3.
void SetTangentMode(double mode);
// Returns the new switch: 1 or 0.
double SetSphereMapping(double on);
void SetTextureOffset(double du, double dv);

void DrawAxes(double x, double y, double z);
// Width and size are clamped to 1..512.
void DrawLine3D(double x1, double y1, double z1, double x2, double y2, double z2, double width, double colour);
void DrawPoint3D(double x, double y, double z, double size, double colour);

// 1 when the shader program index 0..254 was loaded and linked from the two files (an
// empty path names no file), else 0; compile and link logs go to the error log.
double LoadShader(double index, const BasicString& vertexPath, const BasicString& fragmentPath);
// Index 0..254 selects that program, anything else the fixed function.
void UseShader(double index);
void SetShaderValue(const BasicString& name, double value);
