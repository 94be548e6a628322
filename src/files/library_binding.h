#pragma once
// Binding functions of dynamic libraries at run time for compiled games.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/basic_string.h"

// The libraries loaded so far, keyed by their lower-cased names, in load order. Libraries
// are never unloaded while the program runs, and a failed load is not remembered, so a
// missing library is tried again at every bind.
class LibraryCache {
 public:
  // Loads a library by name; null when it cannot be loaded.
  using Loader = std::function<void*(const char* name)>;

  LibraryCache();  // loads through the system's dynamic loader
  explicit LibraryCache(Loader loader);

  // The handle for the library: from the cache when lowerName is there (equal length and
  // bytes), else loaded by givenName first and by lowerName second (library names on this
  // platform are case-sensitive) and then remembered under lowerName. Null on failure.
  void* Find(const std::string& givenName, const std::string& lowerName);

  std::size_t Count() const { return names_.size(); }
  const std::string& NameAt(std::size_t index) const { return names_[index]; }

 private:
  void Append(const std::string& name, void* handle);

  Loader loader_;
  std::vector<std::string> names_;
  std::vector<void*> handles_;
};

// Sets address to the function's address in the library, or to null when the library
// cannot be loaded or does not export the function. libraryName is replaced by its
// lower-cased form. With debug mode on and a debugger attached, a failed load sends
// "TXFailed to load: " and the name to the debugger's output.
void BindLibraryFunction(BasicString& libraryName, const BasicString& functionName, void*& address);

// The process's library cache, created at its first use.
LibraryCache& ProcessLibraryCache();
