#include "files/settings_commands.h"

#include <string>

#include "files/archive.h"
#include "files/game_files.h"

void OpenSettingsFile(const BasicString& fileName) {
  SettingsStore& store = ActiveGameFiles().settings;
  // Written back before the lookup, which deletes an archive member unpacked earlier:
  // that may be the very file the store came from.
  store.WriteBack();
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) path = fileName.TextPointer();
  store.Load(path);
}

BasicString GetSetting(const BasicString& section, const BasicString& key) {
  const std::string* value = ActiveGameFiles().settings.Find(section.TextPointer(), key.TextPointer());
  return value ? BasicString(std::string_view(*value)) : BasicString("NO_DATA");
}

void PutSetting(const BasicString& section, const BasicString& key, const BasicString& value) {
  ActiveGameFiles().settings.Put(section.TextPointer(), key.TextPointer(), value.TextPointer());
}
