#include "files/settings_syntax.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsBlankOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// Trailing bytes below 32 and from 128 to 255 count as control characters.
bool IsControlByte(char c) { return static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 128; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Collects the sections of one file. A section is kept only once an entry has been
// added to it, when the next named header or the end of the file comes.
class SettingsCollector {
 public:
  void StartSection(std::string_view name) {
    StoreCurrent();
    current_.name.assign(name);
    current_.entries.clear();
  }
  void AddEntry(std::string_view key, std::string_view value) {
    current_.entries.push_back({std::string(key), std::string(value)});
  }
  SettingsSections Finish() {
    StoreCurrent();
    return std::move(sections_);
  }

 private:
  void StoreCurrent() {
    if (!current_.entries.empty()) sections_.push_back(std::move(current_));
    current_ = SettingsSection{};
  }

  SettingsSections sections_;
  SettingsSection current_;
};

// "[name]": the name runs to the first blank, "=" or line end; a "]" right before that
// point closes the header. So "[My Game]" names the section "My".
void ParseHeader(std::string_view line, std::size_t at, SettingsCollector& collector) {
  ++at;  // the "["
  while (at < line.size() && IsBlank(line[at])) ++at;
  std::size_t end = at;
  while (end < line.size() && !IsBlankOrLineEnd(line[end]) && line[end] != '=') ++end;
  std::string_view name = line.substr(at, end - at);
  if (!name.empty() && name.back() == ']') name.remove_suffix(1);
  if (!name.empty()) collector.StartSection(name);
}

// "key = value": lines without "=" after the key, or with nothing after it but control
// bytes, are dropped.
void ParseEntry(std::string_view line, std::size_t at, SettingsCollector& collector) {
  std::size_t end = at;
  while (end < line.size() && !IsBlankOrLineEnd(line[end]) && line[end] != '=') ++end;
  if (end == line.size()) return;
  const std::string_view key = line.substr(at, end - at);
  std::size_t next = end;
  if (line[next] != '=') {
    while (next < line.size() && IsBlank(line[next])) ++next;
    if (next == line.size() || line[next] != '=') return;
  }
  ++next;  // the "="
  while (next < line.size() && IsBlankOrLineEnd(line[next])) ++next;
  if (next == line.size()) return;
  std::string_view value = line.substr(next);
  while (!value.empty() && IsControlByte(value.back())) value.remove_suffix(1);
  // A value of nothing but control bytes is dropped like an empty one: kept as "", it
  // would be written back as "key=" and read as missing after the write-back.
  if (value.empty()) return;
  collector.AddEntry(key, value);
}

void ParseLine(std::string_view line, SettingsCollector& collector) {
  std::size_t at = 0;
  while (at < line.size() && IsBlankOrLineEnd(line[at])) ++at;
  if (at == line.size() || line[at] == ';') return;
  if (line[at] == '[') {
    ParseHeader(line, at, collector);
  } else {
    ParseEntry(line, at, collector);
  }
}

void AppendSection(std::string& text, const SettingsSection& section) {
  text += '[';
  text += section.name;
  text += "]\r\n";
  for (const SettingsEntry& entry : section.entries) {
    text += entry.key;
    text += '=';
    text += entry.value;
    text += "\r\n";
  }
}

}  // namespace

bool SettingsNamesMatch(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (LowerAscii(left[i]) != LowerAscii(right[i])) return false;
  }
  return true;
}

SettingsSections ParseSettingsText(std::string_view text) {
  SettingsCollector collector;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t limit = std::min(text.size(), start + kSettingsLineLimit);
    // Only the next piece is searched, so text without line feeds stays linear.
    const std::size_t lineFeed = text.substr(0, limit).find('\n', start);
    if (lineFeed != std::string_view::npos) {
      std::string_view line = text.substr(start, lineFeed - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ParseLine(line, collector);
      start = lineFeed + 1;
    } else {
      ParseLine(text.substr(start, limit - start), collector);
      start = limit;
    }
  }
  return collector.Finish();
}

std::string FormatSettingsText(const SettingsSections& sections) {
  std::string text;
  // Only the first section of a name is reachable, so at most one unnamed section matters.
  const SettingsSection* unnamed = FindSettingsSection(sections, "");
  if (unnamed != nullptr) AppendSection(text, *unnamed);
  for (const SettingsSection& section : sections) {
    if (&section != unnamed) AppendSection(text, section);
  }
  return text;
}

namespace {

template <typename Sections>
auto FirstSectionNamed(Sections& sections, std::string_view name) -> decltype(&sections[0]) {
  for (auto& section : sections) {
    if (SettingsNamesMatch(section.name, name)) return &section;
  }
  return nullptr;
}

template <typename Section>
auto FirstEntryKeyed(Section& section, std::string_view key) -> decltype(&section.entries[0]) {
  for (auto& entry : section.entries) {
    if (SettingsNamesMatch(entry.key, key)) return &entry;
  }
  return nullptr;
}

}  // namespace

SettingsSection* FindSettingsSection(SettingsSections& sections, std::string_view name) {
  return FirstSectionNamed(sections, name);
}

const SettingsSection* FindSettingsSection(const SettingsSections& sections, std::string_view name) {
  return FirstSectionNamed(sections, name);
}

SettingsEntry* FindSettingsEntry(SettingsSection& section, std::string_view key) {
  return FirstEntryKeyed(section, key);
}

const SettingsEntry* FindSettingsEntry(const SettingsSection& section, std::string_view key) {
  return FirstEntryKeyed(section, key);
}

const std::string* FindSettingValue(const SettingsSections& sections, std::string_view section,
                                    std::string_view key) {
  const SettingsSection* found = FindSettingsSection(sections, section);
  if (found == nullptr) return nullptr;
  const SettingsEntry* entry = FindSettingsEntry(*found, key);
  return entry ? &entry->value : nullptr;
}
