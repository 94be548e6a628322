#include "support/memory_limited_child.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

bool MemoryLimitsApply() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return false;
#else
  return true;
#endif
#else
  return true;
#endif
}

int ExitCodeWithMemoryLimit(std::size_t extraBytes, const std::function<int()>& body) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    // The first field of statm is the address space in use, in pages.
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + extraBytes;
    const rlimit bound{limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &bound) != 0) _exit(125);
    // Nothing may leave the child but its exit code: an exception would carry it back
    // into the test runner, which would then go on running tests in two processes.
    int code = 126;
    try {
      code = body();
    } catch (...) {
    }
    _exit(code);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
