#pragma once
// The text format of settings files: named sections of key = value lines.
//
// The parser works on the bytes of a whole file and knows nothing of files, archives or
// the settings commands, so the scene loader reads scene descriptions with it too.

#include <string>
#include <string_view>
#include <vector>

struct SettingsEntry {
  std::string key;
  std::string value;
};

struct SettingsSection {
  std::string name;
  std::vector<SettingsEntry> entries;  // in file order
};

// Sections in file order. The same name may occur more than once; lookups find the first.
using SettingsSections = std::vector<SettingsSection>;

// Lines end at a line feed (one carriage return before it is dropped); a line of more
// than this many bytes is split after them.
inline constexpr std::size_t kSettingsLineLimit = 1024;

// Parses a whole settings file. Comments (";"), lines that are not well-formed entries
// and sections without entries are dropped; entries before the first header belong to a
// section with the empty name.
SettingsSections ParseSettingsText(std::string_view text);

// The file written back: "[name]" then "key=value" per entry, every line ended by "\r\n".
// A section with the empty name is written first, because its entries only come back
// under that name when no other header precedes them.
std::string FormatSettingsText(const SettingsSections& sections);

// Names of sections and keys match ignoring ASCII letter case.
bool SettingsNamesMatch(std::string_view left, std::string_view right);

// The first section named name, or null.
SettingsSection* FindSettingsSection(SettingsSections& sections, std::string_view name);
const SettingsSection* FindSettingsSection(const SettingsSections& sections, std::string_view name);
// The first entry of section keyed key, or null.
SettingsEntry* FindSettingsEntry(SettingsSection& section, std::string_view key);
const SettingsEntry* FindSettingsEntry(const SettingsSection& section, std::string_view key);
// The value of key in the first section named section; null when either is missing (a
// later section of the same name is never consulted).
const std::string* FindSettingValue(const SettingsSections& sections, std::string_view section,
                                    std::string_view key);
