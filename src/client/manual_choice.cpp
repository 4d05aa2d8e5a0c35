#include "client/manual_choice.h"

#include <algorithm>

#include "client/footprint.h"
#include "client/paths.h"
#include "platform/codepage.h"
#include "platform/file_system.h"

namespace qln::client {
namespace {

bool is_program_file(const std::string& path) {
  std::string name = to_lower(name_of(path));
  return std::find(kProgramFiles.begin(), kProgramFiles.end(), name) != kProgramFiles.end();
}

bool holds_marker_file(FileSystem& files, const std::string& folder) {
  std::string base = CheckPfadEnd(folder);
  for (std::string_view marker : kMarkerFiles)
    if (files.file_exists(base + std::string(marker))) return true;
  return false;
}

}  // namespace

FileRequest program_file_request() {
  FileRequest request;
  request.filter = "TheBat*.exe|TheBat*.exe";
  return request;
}

std::optional<std::string> choose_program_directory(Dialogs& dialogs, const MessageLookup& misc) {
  for (;;) {
    std::optional<std::string> file = dialogs.choose_open_file(program_file_request());
    if (!file) return std::nullopt;
    if (is_program_file(*file)) return folder_of(*file);
    dialogs.message(text(misc, kMsg30));
  }
}

std::optional<std::string> choose_mail_directory(Dialogs& dialogs, FileSystem& files,
                                                 const MessageLookup& misc,
                                                 const FolderRequest& request) {
  for (;;) {
    std::optional<std::string> folder = dialogs.choose_folder(request);
    if (!folder) return std::nullopt;
    if (holds_marker_file(files, *folder)) return CheckPfadEnd(*folder);
    dialogs.message(text(misc, kMsg31));
  }
}

std::optional<std::string> choose_user_directory(Dialogs& dialogs, FileSystem& files,
                                                 const MessageLookup& misc,
                                                 const std::string& current_path,
                                                 const FolderRequest& request) {
  for (;;) {
    dialogs.message(text(misc, kMsg12));
    FolderRequest start = request;
    if (!current_path.empty() && files.directory_exists(current_path))
      start.start_folder = current_path;
    std::optional<std::string> folder = dialogs.choose_folder(start);
    if (!folder) return std::nullopt;
    if (files.directory_exists(*folder)) return CheckPfadEnd(*folder);
  }
}

}  // namespace qln::client
