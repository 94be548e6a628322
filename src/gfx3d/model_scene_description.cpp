#include "gfx3d/model_scene_description.h"

#include <algorithm>
#include <cstdlib>

#include "files/settings_syntax.h"

namespace {

// A setting read as an integer the way atoi does (leading number, else 0), clamped.
long long IntegerOf(const std::string* value) {
  if (value == nullptr) return 0;
  const long long number = std::strtoll(value->c_str(), nullptr, 10);
  return number < 0 ? (number < -0x7FFFFFFFLL ? -0x7FFFFFFFLL : number) : (number > 0x7FFFFFFFLL ? 0x7FFFFFFFLL : number);
}

// The largest n for which the section has a key that is exactly the decimal number n.
long long LargestNumberedKey(const SettingsSections& sections, std::string_view name) {
  const SettingsSection* section = FindSettingsSection(sections, name);
  long long largest = 0;
  if (section == nullptr) return 0;
  for (const SettingsEntry& entry : section->entries) {
    if (entry.key.empty() || entry.key.size() > 9 || entry.key.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    largest = std::max(largest, std::atoll(entry.key.c_str()));
  }
  return largest;
}

long long CountOf(const SettingsSections& sections, std::string_view name) {
  const long long count = IntegerOf(FindSettingValue(sections, name, "count"));
  return std::min({count, LargestNumberedKey(sections, name), static_cast<long long>(kMaxSceneEntries)});
}

std::string PathOf(const SettingsSections& sections, std::string_view name, long long n) {
  const std::string* value = FindSettingValue(sections, name, std::to_string(n));
  return value ? *value : std::string();
}

// A texture value v > 0 selects texture v (held as v - 1); anything else the first.
std::int32_t TextureIndexOf(const std::string* value) {
  const long long number = IntegerOf(value);
  return number > 0 ? static_cast<std::int32_t>(number - 1) : 0;
}

}  // namespace

SceneDescription ParseSceneDescription(std::string_view text) {
  const SettingsSections sections = ParseSettingsText(text);
  SceneDescription scene;
  const long long textureCount = CountOf(sections, "textures");
  for (long long n = 1; n <= textureCount; ++n) scene.texturePaths.push_back(PathOf(sections, "textures", n));
  const long long modelCount = CountOf(sections, "objects");
  for (long long n = 1; n <= modelCount; ++n) {
    SceneModelEntry& model = scene.models.emplace_back();
    model.path = PathOf(sections, "objects", n);
    model.textureA = TextureIndexOf(FindSettingValue(sections, "objects", std::to_string(n) + "ta"));
    model.textureB = TextureIndexOf(FindSettingValue(sections, "objects", std::to_string(n) + "tb"));
  }
  return scene;
}

std::string SceneFolder(const std::string& path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}
