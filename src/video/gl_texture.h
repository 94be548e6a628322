#pragma once
// An owned GL texture name. Create() makes a fresh name (deleting the one held), Reset()
// deletes it, and the destructor deletes it too, so a texture cannot outlive the record
// that holds it. A name is deleted only while a GL context is current: without one the
// context that owned it has gone, and its names with it.
//
// The handle converts to its GLuint, so binding and testing code reads as with a bare name.

#include <GL/gl.h>

class GlTexture {
 public:
  GlTexture() = default;
  ~GlTexture() { Reset(); }
  GlTexture(GlTexture&& other) noexcept;
  GlTexture& operator=(GlTexture&& other) noexcept;
  GlTexture(const GlTexture&) = delete;
  GlTexture& operator=(const GlTexture&) = delete;

  // Deletes the name held and generates a new one; returns it (0 without a context).
  GLuint Create();
  // Deletes the name held (when a context is current) and holds none.
  void Reset();
  // Forgets the name without deleting it: for a name whose context is known to be gone,
  // or one handed over to another owner. Returns the name.
  GLuint Release();

  GLuint get() const { return name_; }
  operator GLuint() const { return name_; }

 private:
  GLuint name_ = 0;
};
