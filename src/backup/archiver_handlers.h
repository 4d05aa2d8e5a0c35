#pragma once
// The four handlers of the archive component's events, shared by the backup and the restore
// job: progress onto the progress window and the taskbar button, failures as a message box
// followed by an abort.
#include "backup/archive_engine.h"
#include "backup/progress_view.h"
#include "platform/dialogs.h"

namespace qln::backup {

// Nearest integer, halves to the even neighbour (98.5 gives 98, 99.5 gives 100).
int round_half_even(double value);

// lbFile's width for the entry name.
inline constexpr int kEntryLabelWidth = 250;

class ArchiverHandlers final : public ArchiveEvents {
 public:
  // `auto_bck_active` is read at every event: while it is set, windows stay as they are.
  ArchiverHandlers(ProgressView& view, Dialogs& dialogs, const bool& auto_bck_active)
      : view_(view), dialogs_(dialogs), auto_bck_active_(auto_bck_active) {}

  // A cancel request sets `cancel` and raises Cancelled.
  void ArchiverFileProgress(const std::string& file_name, double progress, ProgressPhase phase,
                            bool& cancel) override;
  void ArchiverOverallProgress(double progress, ProgressPhase phase, bool& cancel) override;
  // Show the message, bring the main window back and raise Aborted.
  void ArchiverDiskFull(int volume_number, const std::string& volume_file_name,
                        bool& cancel) override;
  void ArchiverProcessFileFailure(const std::string& file_name,
                                  const std::string& error_message) override;

  // Hides the progress window and shows the main window; an error of the main window's show
  // step is shown and goes no further, so it cannot end the job. Nothing while
  // `auto_bck_active` is set.
  void return_to_main_window();

 private:
  void show_main_window();
  void check_cancel(bool& cancel);

  ProgressView& view_;
  Dialogs& dialogs_;
  const bool& auto_bck_active_;
};

}  // namespace qln::backup
