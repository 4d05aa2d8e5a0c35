#include "backup/backup_job.h"

#include <exception>

#include "backup/backup_messages.h"
#include "backup/backup_set.h"
#include "backup/job_errors.h"
#include "client/paths.h"
#include "platform/codepage.h"
#include "registry/registry_commands.h"
#include "settings/settings_keys.h"

namespace qln::backup {
namespace {

struct Row {
  bool on;
  const std::string& dir;
  const char* archive;
  const char* key;
  const Message& missing;
};

bool is_separator(char c) { return c == '\\' || c == '/'; }

std::string without_trailing_separator(std::string path) {
  while (path.size() > 1 && is_separator(path.back())) path.pop_back();
  return path;
}

// Creates the folder and any missing parents; true when it exists afterwards.
bool create_folders(FileSystem& fs, const std::string& path) {
  std::string folder = without_trailing_separator(path);
  if (folder.empty() || fs.directory_exists(folder)) return !folder.empty();
  std::size_t cut = folder.find_last_of("\\/");
  if (cut != std::string::npos && cut > 0) {
    std::string parent = folder.substr(0, cut);
    // A drive root ("C:") is there or not; it cannot be made.
    if (!(parent.size() == 2 && parent[1] == ':')) create_folders(fs, parent);
  }
  fs.create_directory(folder);
  return fs.directory_exists(folder);
}

// Folder by folder and without regard to case: whether `path` is `dir` or lies below it.
bool lies_in(const std::string& path, const std::string& dir) {
  auto normal = [](const std::string& p) {
    std::string s = to_lower(p);
    for (char& c : s)
      if (c == '/') c = '\\';
    return client::CheckPfadEnd(s);
  };
  std::string a = normal(path), b = normal(dir);
  return a.compare(0, b.size(), b) == 0;
}

std::string failed_because(const BackupServices& s, const std::string& reason) {
  return client::text(s.misc, kMsg29) + "\r" + reason;
}

class Job {
 public:
  Job(const std::string& root, const BackupSnapshot& state, const BackupServices& s)
      : root_(client::CheckPfadEnd(root)), state_(state), s_(s) {}

  BackupOutcome run() {
    try {
      steps();
    } catch (const Cancelled&) {
      end_cancelled();
    } catch (const Aborted&) {
      // The failure handler has shown its message.
      out_.end = BackupEnd::failed;
    } catch (const std::exception& e) {
      out_.end = BackupEnd::failed;
      // An error of the component itself leaves the progress window up.
      s_.handlers.return_to_main_window();
      s_.dialogs.message(failed_because(s_, e.what()));
    }
    s_.view.set_taskbar_progress(0, 100);
    return out_;
  }

 private:
  void steps() {
    // A set inside a tree it archives would take in its own archives, and a restore of that
    // tree would wipe the set.
    for (const Row& row : rows_) {
      if (row.on && s_.files.directory_exists(row.dir) && lies_in(root_, row.dir)) {
        out_.end = BackupEnd::refused;
        s_.dialogs.message(failed_because(s_, "The backup folder " + root_ + " lies inside " +
                                                  row.dir + ", which is backed up."));
        return;
      }
    }

    s_.dialogs.message(client::text(s_.misc, kMsg1));
    s_.close_mail_client();

    name_ = set_folder_name(s_.env.now());
    set_ = root_ + name_ + "\\";
    out_.set_folder = set_;
    // A set of the same second may be a finished, listed one: never write into it.
    if (s_.files.directory_exists(without_trailing_separator(set_))) {
      out_.end = BackupEnd::refused;
      s_.dialogs.message(failed_because(s_, "The folder " + set_ + " exists already."));
      return;
    }
    if (!create_folders(s_.files, set_)) {
      out_.end = BackupEnd::no_set_folder;
      s_.dialogs.message(failed_because(s_, "The folder " + set_ + " cannot be created."));
      return;
    }

    ManifestWriter manifest(s_.files, set_);
    for (const Row& row : rows_) {
      if (!row.on) continue;
      if (!s_.files.directory_exists(row.dir)) {
        s_.dialogs.message(client::text(s_.misc, row.missing));
        continue;
      }
      std::string archive = set_ + row.archive;
      s_.engine.create_archive(archive, row.dir, s_.handlers);
      s_.view.set_taskbar_progress(0, 100);
      // FormShow of the next run clears the request, so it is looked at now.
      if (s_.view.cancel_requested()) throw Cancelled();
      manifest.write(row.key, row.dir);
      bool valid = s_.engine.test_archive(archive, s_.handlers);
      if (s_.view.cancel_requested()) throw Cancelled();
      if (!valid) {
        out_.end = BackupEnd::check_failed;
        s_.dialogs.message(client::text(s_.misc, kMsg29));
        remove_set();
        return;
      }
    }

    std::string reg_file = set_ + registry::kExportFileName;
    registry::Command export_reg = registry::export_command(reg_file);
    s_.runner.run_and_wait(export_reg.file, export_reg.parameters);
    s_.runner.process_messages();
    if (!s_.files.file_exists(reg_file)) s_.dialogs.message(kRegExportMissing);
    manifest.write(kRegKey, registry::kExportFileName);

    s_.settings.write_string(settings_keys::kBck, name_, set_);
    out_.listed = true;
    out_.end = BackupEnd::done;
    out_.run_close_decision = state_.close_tb_bck_check;

    if (s_.os_major_version >= 10) {
      s_.notifier.notify(kNotificationId, kNotificationTitle, kNotificationBody);
      out_.success_reported = true;
    } else if (!state_.no_msg_check) {
      s_.dialogs.message(client::text(s_.misc, kMsg7));
      out_.success_reported = true;
    }
  }

  void end_cancelled() {
    out_.end = BackupEnd::cancelled;
    out_.listed = false;
    out_.success_reported = false;
    out_.run_close_decision = false;
    s_.dialogs.message(client::text(s_.misc, kMsg6));
    s_.handlers.return_to_main_window();
    remove_set();
  }

  // The set goes where the user can still get it back. Should that fail, at least its
  // manifest goes, so that no search takes what is left for a set.
  void remove_set() {
    if (set_.empty()) return;
    if (!s_.recycle_bin.move_to_recycle_bin(without_trailing_separator(set_)))
      s_.files.delete_file(set_ + kManifestFileName);
  }

  std::string root_;
  const BackupSnapshot state_;  // a copy: nothing the windows do during the job changes it
  const BackupServices& s_;
  std::string name_, set_;
  BackupOutcome out_;
  // After state_: the rows refer to its directories.
  Row rows_[3] = {
      {state_.mail_on, state_.mail_dir, kMailArchive, kMailDirKey, kMsg2},
      {state_.program_on, state_.program_dir, kProgramArchive, kProgramDirKey, kMsg3},
      {state_.variable_on, state_.variable_dir, kVariableArchive, kVariableDirKey, kMsg5},
  };
};

}  // namespace

BackupOutcome MakeBackup(const std::string& backup_root, const BackupSnapshot& state,
                         const BackupServices& services) {
  return Job(backup_root, state, services).run();
}

BackupOutcome bck_saveClick(const BackupSnapshot& state, const BackupServices& s) {
  BackupOutcome out;
  if (s.lock.busy()) return out;
  JobLock::Hold hold(s.lock);

  if (!s.client_installed()) {
    out.end = BackupEnd::not_installed;
    s.dialogs.message(client::text(s.misc, client::kMsg32));
    return out;
  }

  FolderRequest request;
  request.status_text = client::text(s.misc, kMsg16);
  std::optional<std::string> root;
  if (!state.auto_dir.empty() && s.files.directory_exists(state.auto_dir) && state.STD_DIR_Checked)
    root = state.auto_dir;
  else
    root = s.dialogs.choose_folder(request);

  if (root) {
    out = MakeBackup(*root, state, s);
  } else {
    out.end = BackupEnd::no_folder;
  }
  out.tidy_panels = true;
  return out;
}

}  // namespace qln::backup
