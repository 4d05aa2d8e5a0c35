#include "settings/settings_location.h"

namespace qln {

std::string with_trailing_separator(std::string folder) {
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return folder;
}

std::string settings_file_path(const std::string& program_folder) {
  return with_trailing_separator(program_folder) + kSettingsFileName;
}

bool migrate_settings_file(FileSystem& fs, const std::optional<std::string>& appdata_folder,
                           const std::string& program_folder) {
  if (!appdata_folder || appdata_folder->empty()) return false;
  std::string from = settings_file_path(*appdata_folder);
  std::string to = settings_file_path(program_folder);
  if (from == to || !fs.file_exists(from)) return false;
  // move_file refuses when the program folder has a file already: both then stay.
  return fs.move_file(from, to);
}

}  // namespace qln
