#pragma once
// The layout of a backup set: its folder name, its files and the manifest "bck_info.dat".
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "settings/ini_file.h"

namespace qln::backup {

inline constexpr char kManifestFileName[] = "bck_info.dat";
inline constexpr char kManifestSection[] = "INFOS";
inline constexpr char kMailArchive[] = "TB_Mails.zip";
inline constexpr char kProgramArchive[] = "TB_Prog.zip";
inline constexpr char kVariableArchive[] = "Variable_Data.zip";
inline constexpr char kMailDirKey[] = "TB_Mail_Dir";
inline constexpr char kProgramDirKey[] = "TB_Prog_Dir";
inline constexpr char kVariableDirKey[] = "Variable_Dir";
inline constexpr char kRegKey[] = "TB_Reg";

// "DD_MM_YYYY#hh_nn_ss": always 19 characters, the set's key in the backup list.
std::string set_folder_name(const LocalTime& t);

// The manifest of one set, written key by key; each write is on the disk when it returns and
// raises Error when the platform refuses. The file appears with its first key.
class ManifestWriter {
 public:
  // `set_path` ends with a backslash.
  ManifestWriter(FileSystem& fs, const std::string& set_path)
      : ini_(fs, set_path + kManifestFileName) {}
  void write(std::string_view key, std::string_view value) {
    ini_.write_string(kManifestSection, key, value);
  }
  const std::string& path() const { return ini_.path(); }

 private:
  IniFile ini_;
};

}  // namespace qln::backup
