#include "files/library_binding.h"

#include <gtest/gtest.h>

#include <SDL2/SDL_version.h>
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "support/traced_child.h"

namespace {

// The system loader, with a record of every name it was asked for.
struct RecordingLoader {
  std::vector<std::string>* requests;
  void* operator()(const char* name) const {
    requests->emplace_back(name);
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
  }
};

TEST(BindLibraryFunction, BindsAFunctionOfTheCLibrary) {
  BasicString library("libc.so.6");
  void* address = reinterpret_cast<void*>(1);
  BindLibraryFunction(library, "strlen", address);
  ASSERT_NE(address, nullptr);
  const auto length = reinterpret_cast<std::size_t (*)(const char*)>(address);
  EXPECT_EQ(length("seventeen letters"), 17u);
}

TEST(BindLibraryFunction, MixedCaseNamesShareOneLoadAndTheNameIsLowerCased) {
  LibraryCache& cache = ProcessLibraryCache();
  const std::size_t before = cache.Count();
  BasicString first("libSDL2-2.0.so.0");  // the real file name has capitals
  void* getVersion = nullptr;
  BindLibraryFunction(first, "SDL_GetVersion", getVersion);
  ASSERT_NE(getVersion, nullptr);
  EXPECT_EQ(first.View(), "libsdl2-2.0.so.0");
  SDL_version version{};
  reinterpret_cast<void (*)(SDL_version*)>(getVersion)(&version);
  EXPECT_EQ(version.major, 2);

  BasicString second("LIBSDL2-2.0.SO.0");  // no file has this name; the cache knows it
  void* getRevision = nullptr;
  BindLibraryFunction(second, "SDL_GetRevision", getRevision);
  ASSERT_NE(getRevision, nullptr);
  EXPECT_STRNE(reinterpret_cast<const char* (*)()>(getRevision)(), nullptr);
  EXPECT_EQ(cache.Count(), before + 1);
  EXPECT_EQ(cache.NameAt(cache.Count() - 1), "libsdl2-2.0.so.0");
}

TEST(BindLibraryFunction, MissingLibraryOrFunctionGivesNull) {
  BasicString missing("libDoesNotExist.so.7");
  void* address = reinterpret_cast<void*>(1);
  BindLibraryFunction(missing, "anything", address);
  EXPECT_EQ(address, nullptr);
  EXPECT_EQ(missing.View(), "libdoesnotexist.so.7");

  BasicString libc("libc.so.6");
  address = reinterpret_cast<void*>(1);
  BindLibraryFunction(libc, "no_such_function_here", address);
  EXPECT_EQ(address, nullptr);
  address = reinterpret_cast<void*>(1);
  BindLibraryFunction(libc, "", address);
  EXPECT_EQ(address, nullptr);

  // An empty name names no library (rather than the program itself).
  BasicString empty;
  address = reinterpret_cast<void*>(1);
  BindLibraryFunction(empty, "strlen", address);
  EXPECT_EQ(address, nullptr);
}

TEST(LibraryCache, LoadsEachLibraryOnceByGivenNameThenLowerCaseName) {
  std::vector<std::string> requests;
  LibraryCache cache(RecordingLoader{&requests});
  void* handle = cache.Find("libSDL2-2.0.so.0", "libsdl2-2.0.so.0");
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(cache.Find("LIBSDL2-2.0.SO.0", "libsdl2-2.0.so.0"), handle);
  EXPECT_EQ(cache.Find("libsdl2-2.0.so.0", "libsdl2-2.0.so.0"), handle);
  EXPECT_EQ(requests, std::vector<std::string>{"libSDL2-2.0.so.0"});
  EXPECT_EQ(cache.Count(), 1u);

  // A name that only exists in lower case is found at the second try.
  requests.clear();
  EXPECT_NE(cache.Find("LIBC.SO.6", "libc.so.6"), nullptr);
  EXPECT_EQ(requests, (std::vector<std::string>{"LIBC.SO.6", "libc.so.6"}));
  EXPECT_EQ(cache.Count(), 2u);
  EXPECT_EQ(cache.NameAt(0), "libsdl2-2.0.so.0");
  EXPECT_EQ(cache.NameAt(1), "libc.so.6");
}

TEST(LibraryCache, FailuresAreTriedAgainEveryTime) {
  std::vector<std::string> requests;
  LibraryCache cache(RecordingLoader{&requests});
  EXPECT_EQ(cache.Find("libnothere.so", "libnothere.so"), nullptr);
  EXPECT_EQ(cache.Find("libnothere.so", "libnothere.so"), nullptr);
  EXPECT_EQ(requests, (std::vector<std::string>{"libnothere.so", "libnothere.so"}));
  EXPECT_EQ(cache.Count(), 0u);
}

// What a child making a failing bind wrote to standard error.
std::string DebuggerTextOfFailedBind(int debugMode, bool traced) {
  return StandardErrorOfChild(traced, [debugMode] {
    Engine().debugMode = debugMode;
    BasicString library("libNotHere.so");
    void* address = nullptr;
    BindLibraryFunction(library, "f", address);
    return address == nullptr ? 0 : 4;
  });
}

TEST(BindLibraryFunction, FailedLoadIsToldToAnAttachedDebuggerInDebugModeOnly) {
  EXPECT_EQ(DebuggerTextOfFailedBind(1, true), "TXFailed to load: libnothere.so\n");
  EXPECT_EQ(DebuggerTextOfFailedBind(0, true), "");
  EXPECT_EQ(DebuggerTextOfFailedBind(1, false), "");
}

}  // namespace
