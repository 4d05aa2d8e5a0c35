#pragma once
// The real boxes and common dialogs behind qln::Dialogs.
#include <windows.h>

#include <string>

#include "platform/dialogs.h"
#include "ui/application_win.h"

namespace qln::ui {

class WinDialogs final : public Dialogs {
 public:
  explicit WinDialogs(WinApplication& app) : app_(app) {}

  void message(const std::string& text) override;
  bool confirm(const std::string& text) override;
  std::optional<std::string> choose_folder(const FolderRequest& request) override;
  std::optional<std::string> choose_open_file(const FileRequest& request) override;
  std::optional<std::string> choose_save_file(const FileRequest& request) override;

 private:
  WinApplication& app_;
  std::string last_folder_, last_status_;  // the folder dialog keeps what its last use left
};

}  // namespace qln::ui
