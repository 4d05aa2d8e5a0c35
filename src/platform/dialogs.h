#pragma once
// What the program logic asks of the user: notices, Yes/No questions and the common dialogs.
// The window framework implements it with real boxes and dialogs; tests script the answers.
#include <optional>
#include <string>

namespace qln {

struct FolderRequest {
  std::string start_folder;  // empty: wherever the last use left the dialog
  std::string status_text;   // empty: keep the last one
};

struct FileRequest {
  std::string filter;  // "description|pattern|description|pattern..."
  std::string default_extension;
  std::string file_name;  // initial name (save dialog)
  std::string initial_folder;
  std::string title;
  bool overwrite_prompt = false;  // save dialog: ask before replacing
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal message box with the application title as caption and an OK button.
  virtual void message(const std::string& text) = 0;
  // A modal Yes/No confirmation box; true for Yes.
  virtual bool confirm(const std::string& text) = 0;
  // The folder dialog; nullopt when cancelled. The path has no trailing backslash.
  virtual std::optional<std::string> choose_folder(const FolderRequest& request) = 0;
  // The open dialog (only existing files) and the save dialog; nullopt when cancelled.
  virtual std::optional<std::string> choose_open_file(const FileRequest& request) = 0;
  virtual std::optional<std::string> choose_save_file(const FileRequest& request) = 0;
};

}  // namespace qln
