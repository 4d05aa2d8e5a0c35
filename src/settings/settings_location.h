#pragma once
// Where the settings file lives: beside the program's executable. Older versions kept it in
// the user's roaming application-data folder; it is moved over at start.
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace qln {

inline constexpr char kSettingsFileName[] = "qln_settings.dat";

// `folder` with a trailing separator ("\" added when it ends in neither "\" nor "/").
std::string with_trailing_separator(std::string folder);

// program_folder + "qln_settings.dat".
std::string settings_file_path(const std::string& program_folder);

// Moves "qln_settings.dat" from the application-data folder into the program folder when it
// is there and the program folder has none. An unset or empty application-data variable moves
// nothing (it would name the root of the current drive). Failures are silent; the result says
// whether the file was moved.
bool migrate_settings_file(FileSystem& fs, const std::optional<std::string>& appdata_folder,
                           const std::string& program_folder);

}  // namespace qln
