#include "sound/deferred_library.h"

void* OpenFirstLibrary(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return library;
  }
  return nullptr;
}
