#pragma once
// The registry tool's command lines for the export and import of the mail client's branch.
#include <string>

namespace qln::registry {

// Name of the export file in a backup set.
inline constexpr const char* kExportFileName = "TheBat!.reg";

struct Command {
  std::string file;
  std::string parameters;
  bool operator==(const Command&) const = default;
};

// /C reg export "HKEY_CURRENT_USER\Software\RIT" "{file}" /y
Command export_command(const std::string& export_file);
// /C reg import "{file}"
Command import_command(const std::string& reg_file);

// cmd.exe expands %NAME% even inside quotes, so a path with a percent sign would reach the
// tool changed; such a command runs reg.exe directly with the same arguments instead.
bool cmd_would_change(const std::string& path);

}  // namespace qln::registry
