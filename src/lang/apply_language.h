#pragma once
// The portable part of switching the language: which file a language number names, the
// backup list's column captions, and the two language files in the TEMP folder.
#include <functional>
#include <optional>
#include <string>

#include "lang/lang_system.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "settings/ini_file.h"

namespace qln::lang {

inline constexpr char kGermanFile[] = "german.lng";
inline constexpr char kEnglishFile[] = "english.lng";

// The folder the language files go to: the TEMP variable with a trailing "\"; when TEMP is
// unset or empty, the system's temporary directory (not the root of the current drive).
std::string language_folder(Environment& env);

// folder + "german.lng" for 0, folder + "english.lng" for 1, nullopt for any other number.
std::optional<std::string> language_file_for(int language, const std::string& folder);

struct ListColumnCaptions {
  std::string date;  // LIST_1, built-in "Vom:"
  std::string size;  // LIST_2, built-in "Größe kb:"
  bool operator==(const ListColumnCaptions&) const = default;
};
ListColumnCaptions list_column_captions(const Tlang_system& lang);

// Steps of ApplyLanguage up to the settings read: for language 0 or 1, loads its file into the
// windows, hands the column captions to `set_columns` and writes `lang` to the settings file;
// any other number does nothing here. Errors of the load or the write propagate, so the
// caller's ReadSettings and Size_label do not run after them.
void load_language(int language, const std::string& folder, Tlang_system& lang, IniFile& settings,
                   const std::function<void(const ListColumnCaptions&)>& set_columns);

// Writes the embedded files (English first, each after deleting the old one). A file that
// cannot be written raises Error("Datei <path> kann nicht erstellt werden").
void extract_language_files(FileSystem& fs, const std::string& folder,
                            const std::string& english_bytes, const std::string& german_bytes);

// Deletes both files, English first; failures are ignored.
void delete_language_files(FileSystem& fs, const std::string& folder);

}  // namespace qln::lang
