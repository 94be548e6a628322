#pragma once
// The OpenGL extension entry points the drawing code may use. They are loaded once a
// context is current, only when the driver names the extension in its extension string;
// every user tests its entry point for null before calling it.

#include <SDL2/SDL_opengl.h>

struct GlExtensionEntryPoints {
  // Loaded when "GL_ARB_multitexture" is offered (the buffer-object entry points ride on
  // the same test).
  PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
  PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
  PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
  PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
  PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
  PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
  PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
  PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
  PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;

  // Loaded when "GL_ARB_fragment_program" is offered (the shader-object entry points ride
  // on the same test).
  PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB = nullptr;
  PFNGLDELETEOBJECTARBPROC glDeleteObjectARB = nullptr;
  PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB = nullptr;
  PFNGLSHADERSOURCEARBPROC glShaderSourceARB = nullptr;
  PFNGLCOMPILESHADERARBPROC glCompileShaderARB = nullptr;
  PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB = nullptr;
  PFNGLATTACHOBJECTARBPROC glAttachObjectARB = nullptr;
  PFNGLGETINFOLOGARBPROC glGetInfoLogARB = nullptr;
  PFNGLLINKPROGRAMARBPROC glLinkProgramARB = nullptr;
  PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB = nullptr;
  PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB = nullptr;
  PFNGLUNIFORM1FARBPROC glUniform1fARB = nullptr;
  PFNGLUNIFORM1IARBPROC glUniform1iARB = nullptr;
};

// True when name is a whole word of the blank-separated list: preceded by the start of
// the list or a blank and followed by the end of the list or a blank. A null list or an
// empty name never matches.
bool HasExtensionWord(const char* extensionList, const char* name);

// Fills the entry points from the current context: each group only when its extension
// is a whole word of the GL extension string; a group whose extension is missing is
// left null. Needs a current context.
void LoadExtensionEntryPoints(GlExtensionEntryPoints& entryPoints);
