#pragma once
// Commands on the open settings file (sections of key = value lines). Names of sections
// and keys match ignoring ASCII letter case; the first matching section and key win.

#include "core/basic_string.h"

// Writes the open file back if it was changed, then opens fileName through the resource
// archive (the plain file, else the unpacked archive member, else the name itself, so
// that values put later create the file).
void OpenSettingsFile(const BasicString& fileName);
// The value, or "NO_DATA" when the section or the key is missing.
BasicString GetSetting(const BasicString& section, const BasicString& key);
// Adds or replaces the value; an empty value removes the key, an empty key the section.
void PutSetting(const BasicString& section, const BasicString& key, const BasicString& value);
