// Fuzzes the settings-file parser: the input is the whole file. What a file reads as must
// survive a write-back: formatting the sections and parsing that text again gives the
// same values for every section and key a game could ask for, and formatting is then
// stable.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/settings_syntax.h"

namespace {

// Every value reachable by (section, key) in first reads the same in second.
void CheckReachableValuesAgree(const SettingsSections& first, const SettingsSections& second) {
  for (const SettingsSection& section : first) {
    if (FindSettingsSection(first, section.name) != &section) continue;  // shadowed by an earlier one
    for (const SettingsEntry& entry : section.entries) {
      const std::string* expected = FindSettingValue(first, section.name, entry.key);
      const std::string* actual = FindSettingValue(second, section.name, entry.key);
      if (expected == nullptr) std::abort();
      if (actual == nullptr || *actual != *expected) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const SettingsSections sections = ParseSettingsText(text);
  for (const SettingsSection& section : sections) {
    if (section.entries.empty()) std::abort();
    for (const SettingsEntry& entry : section.entries) {
      if (entry.value.empty() || entry.key.size() > kSettingsLineLimit || entry.value.size() > kSettingsLineLimit) {
        std::abort();
      }
    }
  }

  const std::string written = FormatSettingsText(sections);
  const SettingsSections reread = ParseSettingsText(written);
  CheckReachableValuesAgree(sections, reread);
  CheckReachableValuesAgree(reread, sections);
  if (FormatSettingsText(reread) != FormatSettingsText(ParseSettingsText(FormatSettingsText(reread)))) std::abort();
  return 0;
}
