#pragma once
// The wildcard rule the file listing applies to file names.

#include <string_view>

// True when name matches pattern: letters compare without regard to ASCII case, "?" is
// any one character except ".", "*" any run of characters (none included). On a mismatch
// the match backtracks to the most recent "*", which then swallows one more character.
bool MatchWildcard(std::string_view pattern, std::string_view name);
