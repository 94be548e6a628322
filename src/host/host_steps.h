#pragma once
// The top floor's steps handed down to the floors below (base/host_steps.h).

// Engine: hands PresentFrame, IdleWait, the event pump of the engine's renderer and
// GameWindowChanged down. Start-up does; so do tests that drive the engine without it.
void HandHostStepsDown();
