#pragma once
// What the backup job talks to, scripted or recorded: dialogs, clock, command runner, the
// windows of an archive run, and an archive engine over real folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "backup/archive_engine.h"
#include "backup/progress_view.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/local_file_system.h"
#include "platform/processes.h"

namespace qln::test {

namespace fs = std::filesystem;

// The job joins paths with "\" as on Windows; natively that becomes "/".
inline std::string native(std::string path) {
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

// Paths in tests are UTF-8 on both platforms.
inline fs::path to_path(const std::string& utf8_path) {
  std::string n = native(utf8_path);
  return fs::path(std::u8string(n.begin(), n.end()));
}
inline std::string utf8(const fs::path& p) {
  std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

// The real file system, reached with the job's paths.
class JobPathFileSystem final : public FileSystem {
 public:
  bool file_exists(const std::string& p) override { return fs_.file_exists(native(p)); }
  bool directory_exists(const std::string& p) override { return fs_.directory_exists(native(p)); }
  std::optional<std::string> read_file(const std::string& p) override {
    return fs_.read_file(native(p));
  }
  bool write_file_atomic(const std::string& p, const std::string& d) override {
    return fs_.write_file_atomic(native(p), d);
  }
  bool write_file(const std::string& p, const std::string& d) override {
    return fs_.write_file(native(p), d);
  }
  bool delete_file(const std::string& p) override { return fs_.delete_file(native(p)); }
  bool move_file(const std::string& f, const std::string& t) override {
    return fs_.move_file(native(f), native(t));
  }
  bool create_directory(const std::string& p) override { return fs_.create_directory(native(p)); }
  std::vector<DirEntry> list_directory(const std::string& p) override {
    return fs_.list_directory(native(p));
  }

 private:
  FileSystem& fs_ = local_file_system();
};

// Answers from a script; a dialog with no answer left fails the test and is cancelled.
class ScriptedDialogs final : public Dialogs {
 public:
  std::deque<std::optional<std::string>> folders;
  std::vector<std::string> messages;
  std::vector<FolderRequest> folder_requests;
  std::function<void(const std::string&)> on_message;

  void message(const std::string& text) override {
    messages.push_back(text);
    if (on_message) on_message(text);
  }
  bool confirm(const std::string& text) override {
    ADD_FAILURE() << "unexpected question: " << text;
    return false;
  }
  std::optional<std::string> choose_folder(const FolderRequest& request) override {
    folder_requests.push_back(request);
    if (folders.empty()) {
      ADD_FAILURE() << "unexpected folder dialog";
      return std::nullopt;
    }
    auto answer = folders.front();
    folders.pop_front();
    return answer;
  }
  std::optional<std::string> choose_open_file(const FileRequest&) override {
    ADD_FAILURE() << "unexpected open dialog";
    return std::nullopt;
  }
  std::optional<std::string> choose_save_file(const FileRequest&) override {
    ADD_FAILURE() << "unexpected save dialog";
    return std::nullopt;
  }
};

class Clock final : public Environment {
 public:
  LocalTime time{2023, 3, 1, 9, 5, 3};
  std::optional<std::string> variable(const std::string&) override { return std::nullopt; }
  std::string temp_directory() override { return {}; }
  std::string startup_folder() override { return {}; }
  std::string program_folder() override { return {}; }
  LocalTime now() override { return time; }
};

// Records the commands; the export writes its file unless told otherwise.
class FakeRunner final : public CommandRunner {
 public:
  bool export_writes_file = true;
  std::vector<std::string> commands;
  int pumps = 0;

  bool run_and_wait(const std::string& file, const std::string& parameters) override {
    commands.push_back(file + " " + parameters);
    // export "branch" "file" /y: the second quoted text is the file.
    std::vector<std::string> quoted;
    for (std::size_t at = parameters.find('"'); at != std::string::npos;) {
      std::size_t end = parameters.find('"', at + 1);
      quoted.push_back(parameters.substr(at + 1, end - at - 1));
      at = parameters.find('"', end + 1);
    }
    if (export_writes_file && quoted.size() == 2)
      std::ofstream(to_path(quoted[1]), std::ios::binary) << "REGEDIT4\r\n";
    return true;
  }
  void process_messages() override { ++pumps; }
};

// Records every call in order; the main window's show step can be made to raise.
class RecordingView final : public backup::ProgressView {
 public:
  std::vector<std::string> calls;
  int entry_bar = -1, overall = 0, taskbar = -1;
  std::string label, hint;
  bool cancel = false;
  std::function<void()> on_show_main;
  int char_width = 7;

  void set_entry_bar(int p) override { entry_bar = p; }
  void set_overall_bar(int p) override { overall = std::clamp(p, 0, 100); }
  int overall_bar() const override { return overall; }
  void set_entry_label(const std::string& c, const std::string& h) override {
    label = c;
    hint = h;
  }
  int entry_label_text_width(const std::string& t) const override {
    return char_width * int(t.size());
  }
  void show_progress_window() override {
    calls.push_back("show progress");
    cancel = false;
  }
  void hide_progress_window() override { calls.push_back("hide progress"); }
  void show_main_window() override {
    calls.push_back("show main");
    if (on_show_main) on_show_main();
  }
  void hide_main_window() override { calls.push_back("hide main"); }
  void set_taskbar_progress(int value, int maximum) override {
    taskbar = value;
    calls.push_back("taskbar " + std::to_string(value) + "/" + std::to_string(maximum));
  }
  bool cancel_requested() const override { return cancel; }
  void process_messages() override {}
};

// Archives a real folder into a text file that lists every entry with its content, firing the
// events as the component does. Files named in `locked` cannot be opened; archives named in
// `bad` fail their test.
class FolderEngine final : public backup::ArchiveEngine {
 public:
  std::set<std::string> locked;              // file names
  std::set<std::string> bad;                 // archive names ("TB_Prog.zip")
  std::vector<std::string> created, tested;  // archive names in call order
  std::vector<std::string> bases;            // base_dir of each creation, as given
  std::function<void(const std::string& entry)> during_entry;
  std::function<void()> after_create;
  bool fail_after_start = false;  // an error of the component itself, mid-run

  void create_archive(const std::string& archive_path, const std::string& base_dir,
                      backup::ArchiveEvents& events) override {
    std::string name = utf8(to_path(archive_path).filename());
    created.push_back(name);
    bases.push_back(base_dir);
    std::ofstream(to_path(archive_path), std::ios::binary);  // created empty, as on open
    bool cancel = false;
    events.ArchiverOverallProgress(0, backup::ProgressPhase::ppStart, cancel);
    if (fail_after_start) throw Error("Archiver: Cannot write file - Native error: 00003");
    std::vector<fs::path> entries;
    for (const auto& e : fs::recursive_directory_iterator(to_path(base_dir))) entries.push_back(e);
    std::sort(entries.begin(), entries.end());
    std::ostringstream content;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::string rel = utf8(fs::relative(entries[i], to_path(base_dir)));
      std::replace(rel.begin(), rel.end(), '/', '\\');
      events.ArchiverFileProgress(rel, 0, backup::ProgressPhase::ppStart, cancel);
      if (during_entry) during_entry(rel);
      if (locked.count(utf8(entries[i].filename())))
        events.ArchiverProcessFileFailure(
            rel, "Archiver: Cannot open file \"" + rel + "\" - Native error: 00033");
      content << rel << "\n";
      if (fs::is_regular_file(entries[i]))
        content << std::ifstream(entries[i], std::ios::binary).rdbuf() << "\n";
      events.ArchiverFileProgress(rel, 100, backup::ProgressPhase::ppEnd, cancel);
      events.ArchiverOverallProgress(100.0 * double(i + 1) / double(entries.size()),
                                     backup::ProgressPhase::ppProcess, cancel);
    }
    std::ofstream(to_path(archive_path), std::ios::binary) << content.str();
    events.ArchiverOverallProgress(100, backup::ProgressPhase::ppEnd, cancel);
    if (after_create) after_create();
  }

  bool test_archive(const std::string& archive_path, backup::ArchiveEvents&) override {
    std::string name = utf8(to_path(archive_path).filename());
    tested.push_back(name);
    return fs::exists(to_path(archive_path)) && !bad.count(name);
  }
};

inline std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void write(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
}

}  // namespace qln::test
