#pragma once
// The settings read at every show of the main window, as plain data: the caller owns the
// windows and puts the result into them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "settings/ini_file.h"
#include "settings/time_of_day.h"

namespace qln {

// The language component's lookup: (built-in German text, message key) -> shown text.
using MessageLookup = std::function<std::string(const std::string& val, const std::string& key)>;
using DirectoryTest = std::function<bool(const std::string& path)>;

struct SettingsRead {
  // For the settings window's auto_bck_time picker; nullopt: the picker keeps its value.
  std::optional<TimeOfDay> auto_time;
  // "'<stored value>' ist keine gültige Uhrzeit" when Auto_Time is present but no time.
  std::optional<std::string> auto_time_error;

  std::string auto_dir_caption;  // caption and hint of autoDir_label
  std::string auto_dir;          // the standard backup directory (or the MSG_21 text)

  bool variable_check = false;  // user-defined option icon
  // Set when Variable_dir is present and names an existing directory: caption and hint of
  // variable_dir_label and the user-defined directory. Otherwise both keep what they had.
  std::optional<std::string> variable_dir;

  bool program_dir_check = true;        // program option icon
  bool working_directory_check = true;  // mail option icon

  bool std_dir_checked = false;
  bool no_msg_check = false;
  bool close_tb_bck_check = false;
};

// Reads INFOS in the order the show step needs. A missing Auto_Time is written with `now`
// first (a refused write raises and ends the read there). An Auto_Time that is no time
// reports auto_time_error and the read goes on, so one bad hand edit does not lose the
// directories of every later backup. The autostart state and the location discovery run
// around this call at the caller: autostart before it, discovery after it.
SettingsRead ReadSettings(IniFile& settings, const MessageLookup& misc, const LocalTime& now,
                          const DirectoryTest& directory_exists,
                          std::string_view time_separator = ":");

}  // namespace qln
