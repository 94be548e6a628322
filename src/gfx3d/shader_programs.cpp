#include "gfx3d/shader_programs.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "files/archive.h"
#include "gfx3d/engine3d.h"
#include "host/error_log.h"
#include "host/renderer.h"

namespace {

bool IndexInTable(int index) { return index >= 0 && index < kShaderProgramSlots; }

bool HasShaderSupport(const GlExtensionEntryPoints& gl) {
  return gl.glCreateProgramObjectARB != nullptr && gl.glDeleteObjectARB != nullptr &&
         gl.glCreateShaderObjectARB != nullptr && gl.glShaderSourceARB != nullptr &&
         gl.glCompileShaderARB != nullptr && gl.glGetObjectParameterivARB != nullptr &&
         gl.glAttachObjectARB != nullptr && gl.glGetInfoLogARB != nullptr &&
         gl.glLinkProgramARB != nullptr && gl.glUseProgramObjectARB != nullptr &&
         gl.glGetUniformLocationARB != nullptr && gl.glUniform1fARB != nullptr;
}

// Shader sources come through the archive like every other file a game loads; a plain
// file on disk wins.
bool ReadShaderFile(const std::string& fileName, std::string& source) {
  std::string path;
  if (!ResolveLoaderPath(fileName.c_str(), path)) path = fileName;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return false;
  source = contents.str();
  return true;
}

std::string InfoLog(const GlExtensionEntryPoints& gl, GLhandleARB object) {
  GLint length = 0;
  gl.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
  if (length <= 0) return std::string();
  std::vector<GLcharARB> text(static_cast<std::size_t>(length) + 1, 0);
  GLsizei written = 0;
  gl.glGetInfoLogARB(object, length, &written, text.data());
  return std::string(text.data(), static_cast<std::size_t>(written > 0 ? written : 0));
}

// Compiles one shader; a failed compile hands its log to onError. The object is kept
// either way so that the entry owns it.
GLhandleARB CompileShader(Diveduva3D& scene, GLenum kind, const std::string& source, ShaderErrorRoutine onError) {
  const GlExtensionEntryPoints& gl = scene.renderer.extensions;
  const GLhandleARB shader = gl.glCreateShaderObjectARB(kind);
  const GLcharARB* text = source.c_str();
  const GLint length = static_cast<GLint>(source.size());
  gl.glShaderSourceARB(shader, 1, &text, &length);
  gl.glCompileShaderARB(shader);
  GLint compiled = 0;
  gl.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
  if (!compiled && onError != nullptr) onError(scene, InfoLog(gl, shader));
  return shader;
}

}  // namespace

bool LoadShaderProgram(Diveduva3D& scene, int index, const std::string& vertexPath,
                       const std::string& fragmentPath, ShaderErrorRoutine onError) {
  if (index >= kShaderProgramSlots) return false;
  const GlExtensionEntryPoints& gl = scene.renderer.extensions;
  if (!HasShaderSupport(gl) || scene.renderer.context == nullptr) {
    if (!scene.shaderSupportReported && onError != nullptr) onError(scene, "No OpenGL 2.0 Shader Support");
    scene.shaderSupportReported = true;
    return false;
  }
  if (index < 0) return false;
  DeleteShaderProgram(scene, index);

  // Both files are read before anything is compiled, so a missing file leaves the entry
  // empty instead of half built.
  std::string vertexSource, fragmentSource;
  for (const auto& [path, source] : {std::pair{&vertexPath, &vertexSource}, std::pair{&fragmentPath, &fragmentSource}}) {
    if (!path->empty() && !ReadShaderFile(*path, *source)) {
      if (onError != nullptr) onError(scene, "Cannot read shader file " + *path);
      return false;
    }
  }

  ShaderProgramEntry& entry = scene.shaders[static_cast<std::size_t>(index)];
  if (!vertexPath.empty()) entry.vertexShader = CompileShader(scene, GL_VERTEX_SHADER_ARB, vertexSource, onError);
  if (!fragmentPath.empty()) {
    entry.fragmentShader = CompileShader(scene, GL_FRAGMENT_SHADER_ARB, fragmentSource, onError);
  }
  if (entry.vertexShader == 0 && entry.fragmentShader == 0) return false;

  entry.program = gl.glCreateProgramObjectARB();
  if (entry.vertexShader != 0) gl.glAttachObjectARB(entry.program, entry.vertexShader);
  if (entry.fragmentShader != 0) gl.glAttachObjectARB(entry.program, entry.fragmentShader);
  gl.glLinkProgramARB(entry.program);
  GLint linked = 0;
  gl.glGetObjectParameterivARB(entry.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  if (!linked) {
    if (onError != nullptr) onError(scene, InfoLog(gl, entry.program));
    return false;
  }
  return true;
}

void UseShaderProgram(Diveduva3D& scene, int index) {
  scene.currentShader = index;
  const GlExtensionEntryPoints& gl = scene.renderer.extensions;
  if (gl.glUseProgramObjectARB == nullptr || scene.renderer.context == nullptr) return;
  gl.glUseProgramObjectARB(IndexInTable(index) ? scene.shaders[static_cast<std::size_t>(index)].program : 0);
}

void SetShaderValue(Diveduva3D& scene, const char* name, float value) {
  // Index -1 (the fixed function) has no program to look in.
  if (!IndexInTable(scene.currentShader) || name == nullptr) return;
  const GlExtensionEntryPoints& gl = scene.renderer.extensions;
  if (gl.glGetUniformLocationARB == nullptr || gl.glUniform1fARB == nullptr) return;
  const GLhandleARB program = scene.shaders[static_cast<std::size_t>(scene.currentShader)].program;
  if (program == 0) return;
  const GLint location = gl.glGetUniformLocationARB(program, name);
  if (location != -1) gl.glUniform1fARB(location, value);
}

void DeleteShaderProgram(Diveduva3D& scene, int index) {
  if (!IndexInTable(index)) return;
  ShaderProgramEntry& entry = scene.shaders[static_cast<std::size_t>(index)];
  const GlExtensionEntryPoints& gl = scene.renderer.extensions;
  if (gl.glDeleteObjectARB != nullptr && scene.renderer.context != nullptr) {
    for (GLuint name : {entry.program, entry.vertexShader, entry.fragmentShader}) {
      if (name != 0) gl.glDeleteObjectARB(name);
    }
  }
  entry = ShaderProgramEntry{};
}

void ReportShaderError(const Diveduva3D& scene, const std::string& message) {
  if (scene.debug) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
  } else {
    LogError(message.c_str());
  }
}
