#pragma once
// Dialogs that answer from a script and record what the logic asked, in order. A dialog with
// no answer left counts as a test failure and is cancelled, so a loop cannot run forever.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace qln::test {

class ScriptedDialogs final : public Dialogs {
 public:
  std::deque<std::optional<std::string>> folders, open_files, save_files;
  std::deque<bool> confirms;

  std::vector<std::string> messages;
  std::vector<std::string> calls;  // "message", "confirm", "folder", "open", "save"
  std::vector<FolderRequest> folder_requests;
  std::vector<FileRequest> file_requests;

  void message(const std::string& text) override {
    calls.push_back("message");
    messages.push_back(text);
  }
  bool confirm(const std::string& text) override {
    calls.push_back("confirm");
    messages.push_back(text);
    if (confirms.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    bool answer = confirms.front();
    confirms.pop_front();
    return answer;
  }
  std::optional<std::string> choose_folder(const FolderRequest& request) override {
    calls.push_back("folder");
    folder_requests.push_back(request);
    return next(folders, "folder");
  }
  std::optional<std::string> choose_open_file(const FileRequest& request) override {
    calls.push_back("open");
    file_requests.push_back(request);
    return next(open_files, "open");
  }
  std::optional<std::string> choose_save_file(const FileRequest& request) override {
    calls.push_back("save");
    file_requests.push_back(request);
    return next(save_files, "save");
  }

 private:
  static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers,
                                         const char* kind) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << kind << " dialog";
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace qln::test
