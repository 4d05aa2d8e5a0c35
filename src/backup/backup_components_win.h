#pragma once
// What the main window holds for its backup job besides the Archiver: the engine over it, the
// progress view and handlers, the taskbar progress, the notification sender, the recycle bin
// and the job lock, created once and living as long as the window.
#include <windows.h>

#include <memory>

#include "archive/archiver.h"
#include "backup/archiver_engine.h"
#include "backup/archiver_handlers.h"
#include "backup/job_lock.h"
#include "backup/progress_form_win.h"
#include "backup/progress_view_win.h"
#include "platform/dialogs.h"
#include "platform/recycle_bin.h"
#include "platform/win32/balloon_notifier.h"
#include "platform/win32/taskbar_progress.h"
#include "ui/application_win.h"

namespace qln::backup {

class BackupComponents {
 public:
  // `auto_bck_active` is the main window's flag, read at every archive event.
  BackupComponents(ui::WinApplication& app, TfrmProgress& progress, ui::Window& main_window,
                   Dialogs& dialogs, archive::Archiver& archiver, const bool& auto_bck_active)
      : view(progress, main_window, taskbar, [&app] { app.process_messages(); }),
        handlers(view, dialogs, auto_bck_active),
        engine(archiver),
        recycle_bin(make_shell_recycle_bin()) {}

  // Once the main window exists: its taskbar button shows the progress, and the notification
  // uses `icon` (which must outlive this object).
  void attach(HWND main_window, HICON icon) {
    taskbar.attach(main_window);
    notifier = std::make_unique<win32::BalloonNotifier>(icon);
  }

  win32::TaskbarProgress taskbar;
  WinProgressView view;
  ArchiverHandlers handlers;
  ArchiverEngine engine;
  std::unique_ptr<RecycleBin> recycle_bin;
  std::unique_ptr<win32::BalloonNotifier> notifier;  // after attach
  JobLock lock;
};

}  // namespace qln::backup
