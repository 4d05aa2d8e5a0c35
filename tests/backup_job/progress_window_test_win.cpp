// The progress window and the progress view of the real program: the handlers drive real
// windows, the taskbar button and the cancel control.
#include <windows.h>

#include <gtest/gtest.h>

#include "backup/archiver_handlers.h"
#include "backup/job_errors.h"
#include "backup/progress_form_win.h"
#include "backup/progress_view_win.h"
#include "job_fakes.h"
#include "ui/application_win.h"

namespace qln::backup {
namespace {

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.FormCreate();
    main.set_bounds({0, 0, 200, 100});
    main.create_window({});
    main.show();
  }

  ui::WinApplication app{GetModuleHandleW(nullptr), "Quillane"};
  TfrmProgress& form = app.add<TfrmProgress>(app);
  ui::Window& main = app.add<ui::Window>(app, "tb_form", "Quillane");
  win32::TaskbarProgress taskbar;
  WinProgressView view{form, main, taskbar, [this] { app.process_messages(); }};
  test::ScriptedDialogs dialogs;
  bool auto_bck_active = false;
  ArchiverHandlers handlers{view, dialogs, auto_bck_active};
  bool cancel = false;
};

TEST_F(ProgressWindowTest, RunSwapsTheWindowsAndFillsBarsAndLabel) {
  RECT r{};
  GetWindowRect(form.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 312);
  EXPECT_EQ(r.bottom - r.top, 128);

  handlers.ArchiverOverallProgress(0, ProgressPhase::ppStart, cancel);
  EXPECT_TRUE(IsWindowVisible(form.hwnd()));
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));

  std::string name =
      "Mail\\Account\\Folder\\Subfolder\\Deeper\\Deepest\\And more\\messages_of_2023.tbb";
  handlers.ArchiverFileProgress(name, 98.5, ProgressPhase::ppProcess, cancel);
  handlers.ArchiverOverallProgress(99.5, ProgressPhase::ppProcess, cancel);
  EXPECT_EQ(form.gFile.position(), 98);
  EXPECT_EQ(form.gOverall.position(), 100);
  EXPECT_EQ(taskbar.value(), 100);
  EXPECT_EQ(form.lbFile.hint(), name);
  EXPECT_NE(form.lbFile.caption(), name);
  EXPECT_LE(form.lbFile.text_width(form.lbFile.caption()), kEntryLabelWidth);

  handlers.ArchiverOverallProgress(100, ProgressPhase::ppEnd, cancel);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
}

TEST_F(ProgressWindowTest, CancelControlStopsTheRunAndTheNextShowClearsIt) {
  handlers.ArchiverOverallProgress(0, ProgressPhase::ppStart, cancel);
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.JvSpeedButton4.id(), BN_CLICKED),
               LPARAM(form.JvSpeedButton4.hwnd()));
  EXPECT_TRUE(view.cancel_requested());
  EXPECT_THROW(handlers.ArchiverFileProgress("a.txt", 10, ProgressPhase::ppProcess, cancel),
               Cancelled);
  EXPECT_TRUE(cancel);

  handlers.return_to_main_window();
  handlers.ArchiverOverallProgress(0, ProgressPhase::ppStart, cancel);
  EXPECT_FALSE(view.cancel_requested());
}

TEST_F(ProgressWindowTest, AutomaticRunShowsNoWindow) {
  auto_bck_active = true;
  handlers.ArchiverOverallProgress(0, ProgressPhase::ppStart, cancel);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  EXPECT_THROW(handlers.ArchiverProcessFileFailure("a.txt", "Archiver: failed"), Aborted);
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Archiver: failed"}));
}

}  // namespace
}  // namespace qln::backup
