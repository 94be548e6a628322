#pragma once
// Whether a debugger watches the process; debug output and breakpoints go to it only then.

// True when a debugger (a tracer) is attached to the process.
bool IsDebuggerAttached();
