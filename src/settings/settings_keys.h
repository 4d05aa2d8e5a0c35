#pragma once
// Sections and keys of the settings file "qln_settings.dat".
namespace qln::settings_keys {

inline constexpr char kInfos[] = "INFOS";  // the user's settings
inline constexpr char kBck[] = "BCK";      // the backup list: set folder name = set path

inline constexpr char kLang[] = "lang";
inline constexpr char kAutoTime[] = "Auto_Time";
inline constexpr char kAutoDir[] = "Auto_dir";
inline constexpr char kStdDirChecked[] = "STD_DIR_Checked";
inline constexpr char kNoMsgCheck[] = "no_msg_check";
inline constexpr char kCloseTbBckCheck[] = "close_tb_bck_check";
inline constexpr char kProgramDirCheck[] = "ProgramDir_check";
inline constexpr char kWorkingDirectoryCheck[] = "WorkingDirectory_Check";
inline constexpr char kVariableCheck[] = "variable_check";
inline constexpr char kVariableDir[] = "Variable_dir";

}  // namespace qln::settings_keys
