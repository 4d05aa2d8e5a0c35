#include "registry/registry_commands.h"

#include "client/footprint.h"

namespace qln::registry {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

Command through_shell(const std::string& path, const std::string& arguments) {
  if (cmd_would_change(path)) return {"reg.exe", arguments};
  return {"cmd.exe", "/C reg " + arguments};
}

}  // namespace

bool cmd_would_change(const std::string& path) { return path.find('%') != std::string::npos; }

Command export_command(const std::string& export_file) {
  return through_shell(export_file, "export " + quoted(std::string(client::kClientBranch)) + " " +
                                        quoted(export_file) + " /y");
}

Command import_command(const std::string& reg_file) {
  return through_shell(reg_file, "import " + quoted(reg_file));
}

}  // namespace qln::registry
