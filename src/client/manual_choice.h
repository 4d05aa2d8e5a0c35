#pragma once
// The user's own choice of the three directories, with the dialogs and the loops that send
// the user back to the dialog after an unacceptable choice. Each returns the new directory
// (also the label's caption and hint), or nullopt when the user cancelled.
#include <optional>
#include <string>

#include "client/messages.h"
#include "platform/dialogs.h"

namespace qln {
class FileSystem;
}

namespace qln::client {

// The open dialog for the client's executable.
FileRequest program_file_request();

// Accepts only thebat64.exe, thebat.exe or thebat32.exe (any case); otherwise MSG_30 and the
// dialog again. The result is the file's folder without trailing backslash.
std::optional<std::string> choose_program_directory(Dialogs& dialogs, const MessageLookup& misc);

// The folder dialog as its last use left it (`request` says what that was). Accepts a folder
// that directly holds a file "Account.CFN", "CONFIG.CDB" or "AccOrder.CFG"; otherwise MSG_31
// and the dialog again. The result ends with a backslash.
std::optional<std::string> choose_mail_directory(Dialogs& dialogs, FileSystem& files,
                                                 const MessageLookup& misc,
                                                 const FolderRequest& request = {});

// MSG_12 before every dialog; the dialog starts in `current_path` when that names an existing
// folder (pass the label's full text, its hint: a caption shortened for display names none);
// a chosen folder that does not exist starts it all again. The result ends with a backslash.
// The caller stores it as Variable_dir and switches the icon on on screen.
std::optional<std::string> choose_user_directory(Dialogs& dialogs, FileSystem& files,
                                                 const MessageLookup& misc,
                                                 const std::string& current_path,
                                                 const FolderRequest& request = {});

}  // namespace qln::client
