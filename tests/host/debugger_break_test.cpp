// DebuggerBreak speaks only to an attached debugger: run in a child whose tracer is this
// process, and in one without a tracer.

#include <gtest/gtest.h>

#include <string>

#include "base/engine_state.h"
#include "host/program_commands.h"
#include "support/traced_child.h"

namespace {

// What a child calling DebuggerBreak(number) wrote to standard error.
std::string DebuggerTextOfBreak(int number, bool traced) {
  return StandardErrorOfChild(traced, [number, traced] {
    Engine().paused = 1;
    DebuggerBreak(number);
    // A break that spoke to a debugger also lets the game go on unpaused.
    return Engine().paused == (traced ? 0 : 1) ? 0 : 4;
  });
}

TEST(DebuggerBreakCommand, SendsBPWithTheNumberInHexToAnAttachedDebugger) {
  EXPECT_EQ(DebuggerTextOfBreak(255, true), "BPff\n");
  EXPECT_EQ(DebuggerTextOfBreak(255, false), "");
}

}  // namespace
