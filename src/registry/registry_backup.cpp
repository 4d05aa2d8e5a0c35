#include "registry/registry_backup.h"

#include "client/discovery.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "registry/registry_commands.h"

namespace qln::registry {
namespace {

// Puts the fresh export in the chosen file's place; the old file stays whole until then.
bool put_in_place(FileSystem& files, const std::string& fresh, const std::string& chosen) {
  bool placed = false;
  if (!files.file_exists(chosen)) {
    placed = files.move_file(fresh, chosen);
  } else if (std::optional<std::string> data = files.read_file(fresh)) {
    placed = files.write_file_atomic(chosen, *data);
  }
  if (files.file_exists(fresh)) files.delete_file(fresh);
  return placed;
}

}  // namespace

FileRequest registry_save_request() {
  FileRequest request;
  request.filter = "*.reg|*.reg";
  request.default_extension = "reg";
  request.file_name = kExportFileName;
  request.overwrite_prompt = true;
  return request;
}

std::string fresh_export_path(FileSystem& files, const std::string& chosen) {
  for (int n = 1; n <= 100; ++n) {
    std::string path = chosen + ".new" + (n == 1 ? std::string() : std::to_string(n)) + ".reg";
    if (!files.file_exists(path) && !files.directory_exists(path)) return path;
  }
  return {};
}

RegistryBackupResult RegBckClick(Registry& registry, Dialogs& dialogs, CommandRunner& runner,
                                 FileSystem& files, const client::MessageLookup& misc) {
  if (!client::ClientInstalled(registry)) {
    dialogs.message(client::text(misc, client::kMsg32));
    return RegistryBackupResult::not_installed;
  }
  std::optional<std::string> chosen = dialogs.choose_save_file(registry_save_request());
  if (!chosen) return RegistryBackupResult::cancelled;

  bool written = false;
  std::string fresh = fresh_export_path(files, *chosen);
  if (!fresh.empty()) {
    Command command = export_command(fresh);
    runner.run_and_wait(command.file, command.parameters);
    runner.process_messages();
    written = files.file_exists(fresh) && put_in_place(files, fresh, *chosen);
  }
  dialogs.message(written ? kBackupSucceeded : kBackupFailed);
  return written ? RegistryBackupResult::backed_up : RegistryBackupResult::failed;
}

}  // namespace qln::registry
