#pragma once
// The engine's private temporary directory: "<system temp>/trovane-<uid>/", mode 0700.
// It holds the error log and the files the resource archive unpacks, so other users can
// neither read them nor plant files under the names the engine uses.

#include <string>

// The directory with its trailing '/', created on first use; empty when no safe
// directory could be made (then writers skip their files).
const std::string& EngineTempDirectory();

// Creates (or checks) a private directory under base; returns it with a trailing '/',
// or "" when it exists but is not a directory owned by us with no access for others.
std::string PreparePrivateDirectory(const std::string& base);
