#pragma once
// A backup job over real folders in a temporary directory: a mail, a program and a
// user-defined directory, a backup root, and a settings file.
#include <gtest/gtest.h>

#include <memory>

#include "backup/backup_job.h"
#include "job_fakes.h"
#include "platform/fake/fake_notifier.h"
#include "platform/fake/fake_recycle_bin.h"

namespace qln::backup {

using namespace qln::test;

class BackupJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() /
        ("qln_bck_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    write(dir / "mail" / "Inbox" / "messages.tbb", "mail data");
    write(dir / "mail" / "account.cfg", "cfg");
    fs::create_directories(dir / "mail" / "Empty");
    write(dir / "prog" / "TheBat.exe", "exe");
    write(dir / "extra" / "notes.txt", "notes");
    fs::create_directories(dir / "root");
    settings = std::make_unique<IniFile>(files, utf8(dir / "qln_settings.dat"));

    state.mail_dir = utf8(dir / "mail");
    state.program_dir = utf8(dir / "prog");
    state.variable_dir = utf8(dir / "extra") + "\\";  // chosen by hand
    state.mail_on = state.program_on = state.variable_on = true;
    state.auto_dir = utf8(dir / "root");
    state.STD_DIR_Checked = true;
  }
  void TearDown() override { fs::remove_all(dir); }

  BackupServices services() {
    return {dialogs,
            files,
            clock,
            *settings,
            [](const std::string& builtin, const std::string&) { return builtin; },
            runner,
            *engine_in_use,
            handlers,
            view,
            bin,
            notifier,
            lock,
            [this] { return installed; },
            [this] { ++shutdowns; },
            os_version};
  }
  BackupOutcome run() { return bck_saveClick(state, services()); }

  // The set folder as the job names it, and as a real path.
  std::string set_path() const { return state.auto_dir + "\\" + kName + "\\"; }
  fs::path set() const { return dir / "root" / kName; }
  std::string manifest() const { return read_all(set() / "bck_info.dat"); }
  std::vector<IniEntry> listed() const { return settings->entries("BCK"); }
  static std::string msg(const client::Message& m) { return m.builtin; }

  static constexpr char kName[] = "01_03_2023#09_05_03";
  fs::path dir;
  JobPathFileSystem files;
  ScriptedDialogs dialogs;
  Clock clock;
  FakeRunner runner;
  FolderEngine engine;
  ArchiveEngine* engine_in_use = &engine;
  RecordingView view;
  bool auto_bck_active = false;
  ArchiverHandlers handlers{view, dialogs, auto_bck_active};
  FakeRecycleBin bin;
  FakeNotifier notifier;
  JobLock lock;
  std::unique_ptr<IniFile> settings;
  bool installed = true;
  int shutdowns = 0;
  int os_version = 10;
  BackupSnapshot state;
};

}  // namespace qln::backup
