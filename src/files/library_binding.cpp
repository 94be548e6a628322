#include "files/library_binding.h"

#include <cstdio>
#include <utility>

#include <dlfcn.h>

#include "base/debugger_check.h"
#include "base/engine_state.h"

namespace {

// The growth of the cache's lists: room for 512 at the first append, 128 more each time
// they are full.
constexpr std::size_t kFirstCapacity = 512;
constexpr std::size_t kCapacityStep = 128;

void* LoadSystemLibrary(const char* name) {
  // An empty name would give the program itself here; elsewhere it names no library.
  if (name[0] == '\0') return nullptr;
  return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

template <typename T>
void GrowForAppend(std::vector<T>& list) {
  if (list.size() < list.capacity()) return;
  list.reserve(list.capacity() == 0 ? kFirstCapacity : list.capacity() + kCapacityStep);
}

}  // namespace

LibraryCache::LibraryCache() : LibraryCache(LoadSystemLibrary) {}

LibraryCache::LibraryCache(Loader loader) : loader_(std::move(loader)) {}

void* LibraryCache::Find(const std::string& givenName, const std::string& lowerName) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == lowerName) return handles_[i];
  }
  void* handle = loader_(givenName.c_str());
  if (handle == nullptr && lowerName != givenName) handle = loader_(lowerName.c_str());
  if (handle != nullptr) Append(lowerName, handle);
  return handle;
}

void LibraryCache::Append(const std::string& name, void* handle) {
  GrowForAppend(names_);
  GrowForAppend(handles_);
  names_.push_back(name);
  handles_.push_back(handle);
}

LibraryCache& ProcessLibraryCache() {
  LibraryCache*& cache = Subsystems().libraryCache;
  if (cache == nullptr) cache = new LibraryCache();
  return *cache;
}

void BindLibraryFunction(BasicString& libraryName, const BasicString& functionName, void*& address) {
  address = nullptr;
  const std::string givenName(libraryName.View());
  libraryName = ToLowerText(libraryName);
  const std::string lowerName(libraryName.View());

  void* library = ProcessLibraryCache().Find(givenName, lowerName);
  if (library == nullptr) {
    if (Engine().debugMode != 0 && IsDebuggerAttached()) {
      // The debugger's output channel is standard error, one line per message.
      std::fprintf(stderr, "TXFailed to load: %s\n", lowerName.c_str());
      std::fflush(stderr);
    }
    return;
  }
  address = dlsym(library, functionName.TextPointer());
}
