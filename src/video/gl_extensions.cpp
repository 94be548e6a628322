#include "video/gl_extensions.h"

#include <SDL2/SDL.h>

#include <cstring>

bool HasExtensionWord(const char* extensionList, const char* name) {
  if (extensionList == nullptr || name == nullptr || *name == 0) return false;
  const std::size_t length = std::strlen(name);
  for (const char* found = std::strstr(extensionList, name); found != nullptr;
       found = std::strstr(found + 1, name)) {
    const bool startsWord = found == extensionList || found[-1] == ' ';
    const bool endsWord = found[length] == 0 || found[length] == ' ';
    if (startsWord && endsWord) return true;
  }
  return false;
}

namespace {

template <typename EntryPoint>
void Load(EntryPoint& entryPoint, const char* name) {
  entryPoint = reinterpret_cast<EntryPoint>(SDL_GL_GetProcAddress(name));
}

}  // namespace

void LoadExtensionEntryPoints(GlExtensionEntryPoints& e) {
  e = GlExtensionEntryPoints{};
  const char* extensionList = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));

  if (HasExtensionWord(extensionList, "GL_ARB_multitexture")) {
    Load(e.glActiveTextureARB, "glActiveTextureARB");
    Load(e.glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
    Load(e.glClientActiveTextureARB, "glClientActiveTextureARB");
    Load(e.glGenBuffersARB, "glGenBuffersARB");
    Load(e.glBindBufferARB, "glBindBufferARB");
    Load(e.glBufferDataARB, "glBufferDataARB");
    Load(e.glDeleteBuffersARB, "glDeleteBuffersARB");
    Load(e.glMapBufferARB, "glMapBufferARB");
    Load(e.glUnmapBufferARB, "glUnmapBufferARB");
  }
  if (HasExtensionWord(extensionList, "GL_ARB_fragment_program")) {
    Load(e.glCreateProgramObjectARB, "glCreateProgramObjectARB");
    Load(e.glDeleteObjectARB, "glDeleteObjectARB");
    Load(e.glCreateShaderObjectARB, "glCreateShaderObjectARB");
    Load(e.glShaderSourceARB, "glShaderSourceARB");
    Load(e.glCompileShaderARB, "glCompileShaderARB");
    Load(e.glGetObjectParameterivARB, "glGetObjectParameterivARB");
    Load(e.glAttachObjectARB, "glAttachObjectARB");
    Load(e.glGetInfoLogARB, "glGetInfoLogARB");
    Load(e.glLinkProgramARB, "glLinkProgramARB");
    Load(e.glUseProgramObjectARB, "glUseProgramObjectARB");
    Load(e.glGetUniformLocationARB, "glGetUniformLocationARB");
    Load(e.glUniform1fARB, "glUniform1fARB");
    Load(e.glUniform1iARB, "glUniform1iARB");
  }
}
