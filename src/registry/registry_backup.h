#pragma once
// The registry backup menu: the mail client's registry branch to a .reg file of the user's
// choice.
#include <string>

#include "client/messages.h"
#include "platform/dialogs.h"

namespace qln {
class CommandRunner;
class FileSystem;
class Registry;
}  // namespace qln

namespace qln::registry {

inline constexpr const char* kBackupSucceeded = "Registry successfully backed up.";
inline constexpr const char* kBackupFailed = "Can't backup TheBat!.reg";

// The save dialog: proposes "TheBat!.reg", one "*.reg" filter, asks before replacing.
FileRequest registry_save_request();

// The file the export writes first, beside the chosen one: the first of "<chosen>.new.reg",
// "<chosen>.new2.reg", ... that does not exist; empty when none is free.
std::string fresh_export_path(FileSystem& files, const std::string& chosen);

enum class RegistryBackupResult { not_installed, cancelled, backed_up, failed };

// MSG_32 and nothing else when the client is not installed; otherwise the save dialog, the
// export and one of the two fixed English results. The export goes to a new file that takes
// the chosen file's place only once the export has written it, so a failed export leaves an
// earlier file of that name as it was and is reported as a failure.
RegistryBackupResult RegBckClick(Registry& registry, Dialogs& dialogs, CommandRunner& runner,
                                 FileSystem& files, const client::MessageLookup& misc);

}  // namespace qln::registry
