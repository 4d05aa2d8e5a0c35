#include "settings/read_settings.h"

#include "platform/error.h"
#include "settings/settings_keys.h"

namespace qln {

SettingsRead ReadSettings(IniFile& settings, const MessageLookup& misc, const LocalTime& now,
                          const DirectoryTest& directory_exists, std::string_view time_separator) {
  namespace k = settings_keys;
  SettingsRead out;

  const std::string now_text = format_time_of_day({now.hour, now.minute, now.second});
  if (settings.key_present(k::kInfos, k::kAutoTime)) {
    std::string stored = settings.read_string(k::kInfos, k::kAutoTime, now_text);
    out.auto_time = parse_time_of_day(stored, time_separator);
    if (!out.auto_time)
      out.auto_time_error = format_message("'%s' ist keine gültige Uhrzeit", stored);
  } else {
    settings.write_string(k::kInfos, k::kAutoTime, now_text);
  }

  const std::string choose_directory = misc("Bitte Verzeichnis wählen", "MSG_21");
  out.auto_dir_caption = settings.read_string(k::kInfos, k::kAutoDir, choose_directory);
  out.auto_dir = out.auto_dir_caption;

  out.variable_check = settings.read_bool(k::kInfos, k::kVariableCheck, false);
  if (settings.key_present(k::kInfos, k::kVariableDir)) {
    std::string dir = settings.read_string(k::kInfos, k::kVariableDir, choose_directory);
    if (directory_exists(dir)) out.variable_dir = std::move(dir);
  }

  out.program_dir_check = settings.read_bool(k::kInfos, k::kProgramDirCheck, true);
  out.working_directory_check = settings.read_bool(k::kInfos, k::kWorkingDirectoryCheck, true);

  out.std_dir_checked = settings.read_bool(k::kInfos, k::kStdDirChecked, false);
  out.no_msg_check = settings.read_bool(k::kInfos, k::kNoMsgCheck, false);
  out.close_tb_bck_check = settings.read_bool(k::kInfos, k::kCloseTbBckCheck, false);
  return out;
}

}  // namespace qln
