#pragma once
// Commands on single files and on the current directory. None of them consults the
// resource archive: they act on plain files. Paths handed back use forward slashes.

#include <string>

#include "core/basic_string.h"

// 1 when the file was deleted, else 0.
double DeleteDiskFile(const BasicString& fileName);
// Copies the source onto the target (replacing it); reports nothing. See CopyFileContents.
void CopyDiskFile(const BasicString& sourceName, const BasicString& targetName);
// 1 when the file can be opened for reading, else 0. A directory is not a file.
double DiskFileExists(const BasicString& fileName);
// The current directory with a trailing "/", backslashes turned into "/"; empty when the
// platform cannot tell it (the directory was removed, for example).
BasicString GetCurrentFolder();
// 1 when the current directory became path, else 0.
double SetCurrentFolder(const BasicString& path);
// Turns every backslash of text into "/" in place; returns the text's length.
double SlashPath(BasicString& text);

// The work behind CopyDiskFile. Nothing happens (false) when the source cannot be opened
// for reading, is no regular file (a directory, device or pipe), or is the target itself,
// or when the target cannot be created (or is a pipe without a reader). Otherwise the target is truncated and filled in 4096-byte blocks; after a
// failed read or write (or a failed close of the target) a regular target is deleted
// again, so no partial copy is left behind. True when the whole copy was written.
bool CopyFileContents(const char* sourceName, const char* targetName);

// The process's current directory as the platform reports it; empty on failure.
std::string CurrentDirectoryPath();
