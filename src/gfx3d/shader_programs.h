#pragma once
// Shader programs of the 3D scene: a table of 255 entries, each a program linked from a
// vertex and a fragment shader read from files. They need the shader-object extension
// entry points, which the window layer loads when the driver offers them.

#include <string>

class Diveduva3D;

// Receives one message of a failed load: a compile or link log, a file that cannot be
// read, or the missing extension.
using ShaderErrorRoutine = void (*)(const Diveduva3D& scene, const std::string& message);

// Deletes the entry's old program, compiles each named file (an empty path names none)
// and links what compiled into the entry's program. True when a program was linked.
// Without the extension, onError hears "No OpenGL 2.0 Shader Support" once per run.
bool LoadShaderProgram(Diveduva3D& scene, int index, const std::string& vertexPath,
                       const std::string& fragmentPath, ShaderErrorRoutine onError);
// Selects the entry's program, or the fixed function for an index outside 0..254.
void UseShaderProgram(Diveduva3D& scene, int index);
// Sets the named float uniform of the current program when it has one by that name.
void SetShaderValue(Diveduva3D& scene, const char* name, float value);
// Deletes the entry's program and shaders (nothing for an index outside 0..254).
void DeleteShaderProgram(Diveduva3D& scene, int index);

// The load command's error routine: to the debugger's output channel with a line feed
// when the scene's debug switch is on, else one line of the error log.
void ReportShaderError(const Diveduva3D& scene, const std::string& message);
