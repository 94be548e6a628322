#pragma once
// The bounded wait of the commands that wait for the player.

// One bounded wait for user activity, used by the commands that wait for input: up to 8
// passes of event pump, end-of-program key check and a 5 ms sleep. True when activity
// ended it before its last pass.
bool IdleWait();
