#pragma once
// Libraries the engine loads on first use instead of with the program: opening the first
// of several names that loads, and reaching its functions by name.

#include <dlfcn.h>

#include <initializer_list>

// Opens the first of names that loads (run-time name first, then the development link);
// null when none does. The library is never closed: its threads may run until the end.
void* OpenFirstLibrary(std::initializer_list<const char*> names);

// Looks up name in library into function; false when it is missing.
template <typename Function>
bool ResolveFunction(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}
