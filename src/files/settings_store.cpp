#include "files/settings_store.h"

#include <new>
#include <optional>
#include <utility>

#include "files/plain_file.h"

namespace {

// Removes element by moving the last one into its place (the order changes).
template <typename List, typename Element>
void RemoveByMovingLast(List& list, Element* element) {
  if (element != &list.back()) *element = std::move(list.back());
  list.pop_back();
}

}  // namespace

void SettingsStore::Load(const std::string& path) {
  sections_.clear();
  changed_ = false;
  path_ = path;
  // A file too large for the memory left reads as an empty one.
  try {
    if (const std::optional<std::string> text = ReadWholeFile(path)) sections_ = ParseSettingsText(*text);
  } catch (const std::bad_alloc&) {
    sections_.clear();
  }
}

void SettingsStore::WriteBack() {
  if (!changed_ || path_.empty()) return;
  ReplaceFileContents(path_, FormatSettingsText(sections_));
}

const std::string* SettingsStore::Find(std::string_view section, std::string_view key) const {
  return FindSettingValue(sections_, section, key);
}

void SettingsStore::Put(std::string_view section, std::string_view key, std::string_view value) {
  SettingsSection* found = FindSettingsSection(sections_, section);
  if (key.empty()) {
    if (found == nullptr) return;
    RemoveByMovingLast(sections_, found);
    changed_ = true;
    return;
  }
  if (found == nullptr) {
    sections_.push_back(SettingsSection{std::string(section), {}});
    found = &sections_.back();
  }
  SettingsEntry* entry = FindSettingsEntry(*found, key);
  if (entry == nullptr) {
    found->entries.push_back({std::string(key), std::string(value)});
  } else if (!value.empty()) {
    entry->value.assign(value);
  } else {
    RemoveByMovingLast(found->entries, entry);
  }
  changed_ = true;
}
