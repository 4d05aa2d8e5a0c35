#include "lang/apply_language.h"

#include "platform/error.h"
#include "settings/settings_keys.h"
#include "settings/settings_location.h"

namespace qln::lang {

std::string language_folder(Environment& env) {
  auto temp = env.variable("TEMP");
  if (!temp || temp->empty()) return env.temp_directory();
  return with_trailing_separator(*temp);
}

std::optional<std::string> language_file_for(int language, const std::string& folder) {
  if (language == 0) return folder + kGermanFile;
  if (language == 1) return folder + kEnglishFile;
  return std::nullopt;
}

ListColumnCaptions list_column_captions(const Tlang_system& lang) {
  return {lang.misc("Vom:", "LIST_1"), lang.misc("Größe kb:", "LIST_2")};
}

void load_language(int language, const std::string& folder, Tlang_system& lang, IniFile& settings,
                   const std::function<void(const ListColumnCaptions&)>& set_columns) {
  auto file = language_file_for(language, folder);
  if (!file) return;
  lang.LoadLanguage(*file);
  if (set_columns) set_columns(list_column_captions(lang));
  settings.write_integer(settings_keys::kInfos, settings_keys::kLang, language);
}

void extract_language_files(FileSystem& fs, const std::string& folder,
                            const std::string& english_bytes, const std::string& german_bytes) {
  for (const auto& [name, bytes] :
       {std::pair{kEnglishFile, &english_bytes}, std::pair{kGermanFile, &german_bytes}}) {
    std::string path = folder + name;
    fs.delete_file(path);  // a stale or read-only copy must not stay in use
    if (!fs.write_file(path, *bytes))
      throw Error(format_message("Datei %s kann nicht erstellt werden", path));
  }
}

void delete_language_files(FileSystem& fs, const std::string& folder) {
  fs.delete_file(folder + kEnglishFile);
  fs.delete_file(folder + kGermanFile);
}

}  // namespace qln::lang
