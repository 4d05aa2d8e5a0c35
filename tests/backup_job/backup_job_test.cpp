// The backup job over real folders, with the user's answers scripted and the archive engine
// writing real files.
#include <gtest/gtest.h>

#include <memory>

#include "backup/backup_job.h"
#include "backup/backup_messages.h"
#include "client/messages.h"
#include "platform/error.h"
#include "job_fixture.h"

namespace qln::backup {
namespace {

TEST_F(BackupJobTest, AllThreeRowsMakeAListedSetWithManifestInItsOrder) {
  BackupOutcome out = run();

  EXPECT_EQ(out.end, BackupEnd::done);
  EXPECT_TRUE(out.listed && out.success_reported && out.tidy_panels);
  EXPECT_FALSE(out.run_close_decision);
  EXPECT_EQ(out.set_folder, set_path());
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1)}));
  EXPECT_EQ(shutdowns, 1);
  EXPECT_EQ(engine.created,
            (decltype(engine.created){"TB_Mails.zip", "TB_Prog.zip", "Variable_Data.zip"}));
  EXPECT_EQ(engine.tested, engine.created);
  EXPECT_EQ(engine.bases,
            (decltype(engine.bases){state.mail_dir, state.program_dir, state.variable_dir}));
  EXPECT_NE(read_all(set() / "TB_Mails.zip").find("Inbox\\messages.tbb\nmail data"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(set() / "TheBat!.reg"));
  EXPECT_EQ(manifest(),
            "[INFOS]\r\nTB_Mail_Dir=" + state.mail_dir + "\r\nTB_Prog_Dir=" + state.program_dir +
                "\r\nVariable_Dir=" + state.variable_dir + "\r\nTB_Reg=TheBat!.reg\r\n");
  EXPECT_EQ(listed(), (decltype(listed()){IniEntry{kName, set_path()}}));
  EXPECT_EQ(notifier.sent,
            (decltype(notifier.sent){Notification{"Quillane", "Backup done",
                                                  "Your backup was completed successfully."}}));
  ASSERT_EQ(runner.commands.size(), 1u);
  EXPECT_NE(runner.commands[0].find("export \"HKEY_CURRENT_USER\\Software\\RIT\" \"" + set_path() +
                                    "TheBat!.reg\" /y"),
            std::string::npos);
  EXPECT_EQ(runner.pumps, 1);
  // Each archive hides the main window and brings it back; the taskbar ends at 0.
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "hide main"), 3);
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "show main"), 3);
  EXPECT_EQ(view.calls.back(), "taskbar 0/100");
  EXPECT_FALSE(lock.busy());
}

TEST_F(BackupJobTest, ManifestOfAProgramOnlySetIsExactlyThreeLinesInAnsi) {
  state.mail_on = state.variable_on = false;
  write(dir / fs::path(u8"Pr\u00f6gramm") / "TheBat.exe", "exe");
  state.program_dir = utf8(dir / fs::path(u8"Pr\u00f6gramm")) + "\\";  // chosen by hand: kept as is
  ASSERT_EQ(run().end, BackupEnd::done);
  std::string ansi_dir = utf8(dir / "Pr") + "\xF6gramm\\";
  EXPECT_EQ(manifest(), "[INFOS]\r\nTB_Prog_Dir=" + ansi_dir + "\r\nTB_Reg=TheBat!.reg\r\n");
}

TEST_F(BackupJobTest, NoRowGivesASetWithTheExportAndTbRegOnly) {
  state.mail_on = state.program_on = state.variable_on = false;
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::done);
  EXPECT_TRUE(engine.created.empty());
  EXPECT_EQ(manifest(), "[INFOS]\r\nTB_Reg=TheBat!.reg\r\n");
  EXPECT_TRUE(fs::exists(set() / "TheBat!.reg"));
  EXPECT_EQ(listed(), (decltype(listed()){IniEntry{kName, set_path()}}));
  EXPECT_TRUE(out.success_reported);
}

TEST_F(BackupJobTest, MissingMailDirectoryIsToldAndTheRestRuns) {
  state.mail_dir = "error";
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::done);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1), msg(kMsg2)}));
  EXPECT_EQ(engine.created, (decltype(engine.created){"TB_Prog.zip", "Variable_Data.zip"}));
  EXPECT_EQ(manifest().find("TB_Mail_Dir"), std::string::npos);
  EXPECT_EQ(listed().size(), 1u);
  EXPECT_EQ(notifier.sent.size(), 1u);
}

TEST_F(BackupJobTest, FileHeldOpenInProgramDirectoryEndsTheJobAndKeepsWhatWasWritten) {
  engine.locked = {"TheBat.exe"};
  BackupOutcome out = run();

  EXPECT_EQ(out.end, BackupEnd::failed);
  EXPECT_FALSE(out.listed || out.success_reported || out.run_close_decision);
  EXPECT_TRUE(out.tidy_panels);
  ASSERT_EQ(dialogs.messages.size(), 2u);  // MSG_1, then the component's text alone
  EXPECT_EQ(dialogs.messages[1], "Archiver: Cannot open file \"TheBat.exe\" - Native error: 00033");
  EXPECT_EQ(engine.created, (decltype(engine.created){"TB_Mails.zip", "TB_Prog.zip"}));
  EXPECT_TRUE(fs::exists(set() / "TB_Mails.zip"));
  EXPECT_EQ(manifest(), "[INFOS]\r\nTB_Mail_Dir=" + state.mail_dir + "\r\n");
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(notifier.sent.empty());
  EXPECT_TRUE(runner.commands.empty());
  EXPECT_TRUE(bin.recycled.empty());
  // The failure brought the main window back; the taskbar is reset.
  EXPECT_EQ(view.calls.back(), "taskbar 0/100");
  EXPECT_EQ(view.calls[view.calls.size() - 2], "show main");
}

TEST_F(BackupJobTest, SameFailureInTheMailDirectoryLeavesNoManifest) {
  engine.locked = {"account.cfg"};
  EXPECT_EQ(run().end, BackupEnd::failed);
  EXPECT_TRUE(fs::is_directory(set()));
  EXPECT_FALSE(fs::exists(set() / "bck_info.dat"));
}

TEST_F(BackupJobTest, FailedArchiveCheckSendsTheWholeSetToTheRecycleBin) {
  engine.bad = {"TB_Prog.zip"};
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::check_failed);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1), msg(kMsg29)}));
  EXPECT_EQ(engine.created, (decltype(engine.created){"TB_Mails.zip", "TB_Prog.zip"}));
  std::string set_without_backslash = set_path().substr(0, set_path().size() - 1);
  EXPECT_EQ(bin.recycled, (decltype(bin.recycled){set_without_backslash}));
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(notifier.sent.empty());
  EXPECT_TRUE(runner.commands.empty());
}

TEST_F(BackupJobTest, SetThatCannotGoToTheRecycleBinLosesItsManifest) {
  engine.bad = {"TB_Prog.zip"};
  bin.result = false;
  EXPECT_EQ(run().end, BackupEnd::check_failed);
  EXPECT_EQ(bin.recycled.size(), 1u);
  EXPECT_TRUE(fs::exists(set() / "TB_Mails.zip"));
  EXPECT_FALSE(fs::exists(set() / "bck_info.dat"));
}

TEST_F(BackupJobTest, BackupRootFromTheDialogUnlessTheStandardDirectoryExists) {
  struct Case {
    const char* what;
    std::string auto_dir;
    bool std_checked;
    bool dialog;
  };
  std::string root = utf8(dir / "root");
  const Case cases[] = {{"standard directory", root, true, false},
                        {"vanished standard directory", utf8(dir / "gone"), true, true},
                        {"option off", root, false, true},
                        {"no standard directory", "", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(set());
    dialogs.folder_requests.clear();
    state.auto_dir = c.auto_dir;
    state.STD_DIR_Checked = c.std_checked;
    if (c.dialog) dialogs.folders.push_back(root);
    BackupOutcome out = run();
    EXPECT_EQ(out.end, BackupEnd::done);
    EXPECT_EQ(out.set_folder, root + "\\" + kName + "\\");
    ASSERT_EQ(dialogs.folder_requests.size(), c.dialog ? 1u : 0u);
    if (c.dialog) {
      EXPECT_EQ(dialogs.folder_requests[0].status_text, msg(kMsg16));
    }
  }
}

TEST_F(BackupJobTest, CancelledFolderDialogMakesNoBackupButTidiesThePanels) {
  state.STD_DIR_Checked = false;
  dialogs.folders.push_back(std::nullopt);
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::no_folder);
  EXPECT_TRUE(out.tidy_panels);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(shutdowns, 0);
}

TEST_F(BackupJobTest, MailClientNotInstalledShowsMsg32Only) {
  installed = false;
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::not_installed);
  EXPECT_FALSE(out.tidy_panels);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(client::kMsg32)}));
  EXPECT_FALSE(fs::exists(set()));
}

TEST_F(BackupJobTest, CloseDecisionIsLeftToTheCallerAfterTheSuccessReport) {
  state.close_tb_bck_check = true;
  BackupOutcome out = run();
  EXPECT_TRUE(out.listed && out.success_reported && out.run_close_decision);

  engine.locked = {"TheBat.exe"};
  clock.time.second = 4;
  out = run();
  EXPECT_FALSE(out.run_close_decision);
}

TEST_F(BackupJobTest, SuccessReportByPlatformVersionAndNoMsgCheck) {
  struct Case {
    int version;
    bool no_msg;
    bool notified, msg7;
  };
  const Case cases[] = {{10, false, true, false},
                        {10, true, true, false},
                        {6, false, false, true},
                        {6, true, false, false}};
  int second = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.version) + (c.no_msg ? " no_msg_check" : ""));
    clock.time.second = second++;
    os_version = c.version;
    state.no_msg_check = c.no_msg;
    notifier.sent.clear();
    dialogs.messages.clear();
    BackupOutcome out = run();
    EXPECT_EQ(out.end, BackupEnd::done);
    EXPECT_EQ(notifier.sent.size(), c.notified ? 1u : 0u);
    EXPECT_EQ(dialogs.messages.back() == msg(kMsg7), c.msg7);
    EXPECT_EQ(out.success_reported, c.notified || c.msg7);
  }
}

TEST_F(BackupJobTest, MissingRegistryExportIsToldAndTheSetIsStillListed) {
  runner.export_writes_file = false;
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::done);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1), "Can't create TheBat!.reg"}));
  EXPECT_NE(manifest().find("TB_Reg=TheBat!.reg\r\n"), std::string::npos);
  EXPECT_EQ(listed().size(), 1u);
}

TEST_F(BackupJobTest, SetFolderThatCannotBeCreatedEndsWithMsg29AndTheReason) {
  write(dir / "blocker", "a file, not a folder");
  state.auto_dir = utf8(dir / "blocker") + "\\sub";
  state.STD_DIR_Checked = false;
  dialogs.folders.push_back(state.auto_dir);
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::no_set_folder);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].rfind(msg(kMsg29) + "\r", 0), 0u);
  EXPECT_NE(dialogs.messages[1].find(kName), std::string::npos);
  EXPECT_TRUE(engine.created.empty());
  EXPECT_TRUE(out.tidy_panels);
}

TEST_F(BackupJobTest, MissingParentsOfTheBackupRootAreCreated) {
  state.STD_DIR_Checked = false;
  dialogs.folders.push_back(utf8(dir / "new" / "deeper"));
  EXPECT_EQ(run().end, BackupEnd::done);
  EXPECT_TRUE(fs::exists(dir / "new" / "deeper" / kName / "bck_info.dat"));
}

TEST_F(BackupJobTest, BackupRootInsideAnArchivedDirectoryIsRefused) {
  fs::create_directories(dir / "MAIL" / "backups");
  state.mail_dir = utf8(dir / "MAIL");
  state.auto_dir = utf8(dir / "MAIL" / "backups");
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::refused);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind(msg(kMsg29), 0), 0u);
  EXPECT_EQ(shutdowns, 0);
  EXPECT_TRUE(engine.created.empty());

  // A sibling whose name only starts the same is not inside.
  state.auto_dir = utf8(dir / "MAIL-backups");
  fs::create_directories(state.auto_dir);
  dialogs.messages.clear();
  EXPECT_EQ(run().end, BackupEnd::done);
}

TEST_F(BackupJobTest, ExistingSetOfTheSameSecondIsNeverWrittenInto) {
  ASSERT_EQ(run().end, BackupEnd::done);
  std::string before = read_all(set() / "TB_Mails.zip");
  write(dir / "mail" / "new.tbb", "new");
  dialogs.messages.clear();
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::refused);
  EXPECT_EQ(read_all(set() / "TB_Mails.zip"), before);
  EXPECT_EQ(listed().size(), 1u);
  EXPECT_TRUE(bin.recycled.empty());
}

TEST_F(BackupJobTest, CancelStopsTheRunningArchiveAndRemovesTheSet) {
  engine.during_entry = [this](const std::string& entry) {
    if (entry == "TheBat.exe") view.cancel = true;
  };
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::cancelled);
  EXPECT_FALSE(out.listed || out.success_reported || out.run_close_decision);
  EXPECT_EQ(engine.created, (decltype(engine.created){"TB_Mails.zip", "TB_Prog.zip"}));
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1), msg(kMsg6)}));
  EXPECT_EQ(bin.recycled, (decltype(bin.recycled){set_path().substr(0, set_path().size() - 1)}));
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(runner.commands.empty());
  EXPECT_EQ(view.calls[view.calls.size() - 3], "hide progress");
  EXPECT_EQ(view.calls[view.calls.size() - 2], "show main");
}

TEST_F(BackupJobTest, CancelAfterTheLastEntryStillStopsTheJob) {
  // The request comes when the handlers have seen the run's end; the next run's FormShow
  // would clear it.
  engine.after_create = [this] { view.cancel = true; };
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::cancelled);
  EXPECT_EQ(engine.created, (decltype(engine.created){"TB_Mails.zip"}));
  EXPECT_FALSE(fs::exists(set() / "bck_info.dat"));
  EXPECT_TRUE(listed().empty());
}

TEST_F(BackupJobTest, ShowStepBetweenArchivesNeitherEndsTheJobNorChangesItsDirectories) {
  // The main window's show step re-reads the registry: the window's own state changes and
  // the step fails once.
  int shows = 0;
  view.on_show_main = [&] {
    state.program_dir = "error";
    if (++shows == 1) throw Error("read-only settings file");
  };
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::done);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){msg(kMsg1), "read-only settings file"}));
  EXPECT_EQ(engine.created,
            (decltype(engine.created){"TB_Mails.zip", "TB_Prog.zip", "Variable_Data.zip"}));
  EXPECT_EQ(engine.bases[1], utf8(dir / "prog"));
}

TEST_F(BackupJobTest, RefusedSettingsWriteIsShownAndNothingIsListed) {
  fs::create_directories(dir / "qln_settings.dat");  // a folder: no write can replace it
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::failed);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].rfind(msg(kMsg29) + "\r", 0), 0u);
  EXPECT_NE(dialogs.messages[1].find("qln_settings.dat"), std::string::npos);
  EXPECT_FALSE(out.success_reported);
  EXPECT_TRUE(out.tidy_panels);
  EXPECT_EQ(view.calls.back(), "taskbar 0/100");
}

TEST_F(BackupJobTest, ErrorOfTheComponentBringsTheMainWindowBackBeforeItsMessage) {
  engine.fail_after_start = true;
  dialogs.on_message = [this](const std::string& text) {
    if (text.find("Native error") != std::string::npos) {
      EXPECT_EQ(view.calls.back(), "show main");
    }
  };
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::failed);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1],
            msg(kMsg29) + "\rArchiver: Cannot write file - Native error: 00003");
  EXPECT_TRUE(listed().empty());
}

TEST_F(BackupJobTest, SecondStartDuringAJobDoesNothing) {
  engine.during_entry = [this](const std::string& entry) {
    if (entry != "account.cfg") return;
    BackupOutcome inner = run();  // the daily timer reaching its second inside the job
    EXPECT_EQ(inner.end, BackupEnd::busy);
    EXPECT_FALSE(inner.tidy_panels);
  };
  EXPECT_EQ(run().end, BackupEnd::done);
  EXPECT_EQ(engine.created.size(), 3u);
  EXPECT_FALSE(lock.busy());
}

TEST_F(BackupJobTest, AutomaticRunLeavesTheWindowsAlone) {
  auto_bck_active = true;
  state.auto_bck_active = true;
  EXPECT_EQ(run().end, BackupEnd::done);
  for (const std::string& call : view.calls) EXPECT_EQ(call, "taskbar 0/100");
}

}  // namespace
}  // namespace qln::backup
