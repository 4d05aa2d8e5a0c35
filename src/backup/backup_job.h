#pragma once
// The backup job behind the button "Backup starten" and the daily timer: decide where the set
// goes, shut the mail client down, archive the selected directories, export the registry
// branch, write the manifest, list the set and report success.
//
// The job works on a snapshot of the main window's state taken when it starts, so a show of
// the main window between two archives (which re-reads the settings and the registry) does
// not change what the rows archive.
#include <functional>
#include <optional>
#include <string>

#include "backup/archive_engine.h"
#include "backup/archiver_handlers.h"
#include "backup/job_lock.h"
#include "backup/progress_view.h"
#include "client/messages.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/notification.h"
#include "platform/processes.h"
#include "platform/recycle_bin.h"
#include "settings/ini_file.h"

namespace qln::backup {

// The main window's state at the start of the job.
struct BackupSnapshot {
  std::string mail_dir;      // WorkingDirectory, as held (a path or "error")
  std::string program_dir;   // ProgramDir
  std::string variable_dir;  // VariableDir
  bool mail_on = false;      // WorkingDirectory_Check
  bool program_on = false;   // ProgramDir_check
  bool variable_on = false;  // variable_check
  std::string auto_dir;
  bool STD_DIR_Checked = false;
  bool no_msg_check = false;
  bool close_tb_bck_check = false;
  // A run of the daily backup. Kept for the record: the progress handlers read the main
  // window's own flag at every event.
  bool auto_bck_active = false;
};

struct BackupServices {
  Dialogs& dialogs;
  FileSystem& files;
  Environment& env;
  IniFile& settings;
  client::MessageLookup misc;
  CommandRunner& runner;
  ArchiveEngine& engine;
  ArchiverHandlers& handlers;
  ProgressView& view;
  RecycleBin& recycle_bin;
  Notifier& notifier;
  JobLock& lock;
  std::function<bool()> client_installed;   // ClientInstalled
  std::function<void()> close_mail_client;  // CloseMailClient
  int os_major_version = 10;
};

enum class BackupEnd {
  busy,           // another job was running: nothing happened
  not_installed,  // MSG_32 was shown
  no_folder,      // the folder dialog was cancelled
  refused,        // the backup root cannot hold a set; the reason was shown
  no_set_folder,  // the set folder could not be created; MSG_29 and the reason were shown
  check_failed,   // an archive failed its test: the set went to the recycle bin
  cancelled,      // the user stopped the job: the set went to the recycle bin
  failed,         // an error ended the job; the set stays as far as it was written
  done            // the set is complete and listed
};

struct BackupOutcome {
  BackupEnd end = BackupEnd::busy;
  std::string set_folder;         // set folder path with trailing backslash, once named
  bool listed = false;            // the set is in section BCK
  bool success_reported = false;  // notification sent or MSG_7 shown
  // The handler's closing steps: slide the settings panel in, close the backup list.
  bool tidy_panels = false;
  // close_tb_bck_check after a finished job: the caller runs the close decision once the
  // handler has returned.
  bool run_close_decision = false;
};

// bck_saveClick: the whole press of the button (or tick of the daily timer).
BackupOutcome bck_saveClick(const BackupSnapshot& state, const BackupServices& services);

// MakeBackup: one backup into `backup_root`; part of bck_saveClick, exposed for callers that
// chose the folder themselves. Expects the job lock to be held.
BackupOutcome MakeBackup(const std::string& backup_root, const BackupSnapshot& state,
                         const BackupServices& services);

}  // namespace qln::backup
