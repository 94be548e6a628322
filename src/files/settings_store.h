#pragma once
// The settings file the game has open: its sections in memory, the path it came from,
// and whether it was changed since it was loaded.

#include <string>
#include <string_view>

#include "files/settings_syntax.h"

class SettingsStore {
 public:
  // Empties the store (dropping unsaved changes: call WriteBack first) and binds it to
  // path, reading the file there. A file that cannot be read leaves the store empty but
  // still bound, so values put later create it.
  void Load(const std::string& path);
  // Replaces the file at the bound path by the store's contents when the store was
  // changed. A file that cannot be written stays as it was; nothing is reported.
  void WriteBack();

  // The value of key in the first section named section, or null.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // A key not yet there is appended (even with an empty value); an existing key gets the
  // value, or is removed when the value is empty; an empty key removes the section. A
  // removed entry or section is replaced by the last one of its list.
  void Put(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Path() const { return path_; }
  const SettingsSections& Sections() const { return sections_; }
  bool IsChanged() const { return changed_; }

 private:
  std::string path_;
  SettingsSections sections_;
  bool changed_ = false;
};
