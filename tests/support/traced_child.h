#pragma once
// Runs a piece of a test in a child process, optionally traced by this process as a
// debugger would, and returns what the child wrote to standard error. This is how the
// tests see text the engine sends to an attached debugger.

#include <functional>
#include <string>

// body's result is the child's exit code; any code but 0 (or a failed fork or trace)
// gives "child failed" instead of the text.
std::string StandardErrorOfChild(bool traced, const std::function<int()>& body);
