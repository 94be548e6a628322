#pragma once
// Runs a piece of a test in a child process whose address space may grow by only so
// much, to show that hostile input cannot make a loader take more memory than its data
// fills, and that running out of memory is a failed load rather than a crash.

#include <cstddef>
#include <functional>

// Whether the limit can be applied: sanitizer builds reserve terabytes of address space
// up front, so there the tests that need it skip.
bool MemoryLimitsApply();

// body's result is the child's exit code; an exception out of body gives 126, a child
// killed by a signal 128 + the signal, a failed fork -1.
int ExitCodeWithMemoryLimit(std::size_t extraBytes, const std::function<int()>& body);
