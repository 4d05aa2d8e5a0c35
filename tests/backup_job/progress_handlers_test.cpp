// The four handlers of the archive component's events over a recorded progress view.
#include <gtest/gtest.h>

#include "backup/archiver_handlers.h"
#include "backup/job_errors.h"
#include "job_fakes.h"

namespace qln::backup {
namespace {

using namespace qln::test;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int> cases[] = {{98.5, 98},  {99.5, 100}, {0.5, 0},   {1.5, 2},
                                          {2.4999, 2}, {2.5001, 3}, {100, 100}, {0, 0}};
  for (auto [in, out] : cases) EXPECT_EQ(round_half_even(in), out) << in;
}

class HandlersTest : public ::testing::Test {
 protected:
  RecordingView view;
  ScriptedDialogs dialogs;
  bool auto_bck_active = false;
  ArchiverHandlers handlers{view, dialogs, auto_bck_active};
  bool cancel = false;
};

TEST_F(HandlersTest, FileProgressShortensTheLabelAndKeepsTheFullNameAsHint) {
  handlers.ArchiverFileProgress("Inbox\\a.tbb", 98.5, ProgressPhase::ppProcess, cancel);
  EXPECT_EQ(view.entry_bar, 98);
  EXPECT_EQ(view.label, "Inbox\\a.tbb");
  EXPECT_EQ(view.hint, "Inbox\\a.tbb");

  std::string long_name =
      "Mail\\Account\\Folder\\Subfolder\\Deeper\\Deepest\\And more\\messages_of_2023.tbb";
  handlers.ArchiverFileProgress(long_name, 99.5, ProgressPhase::ppProcess, cancel);
  EXPECT_EQ(view.entry_bar, 100);
  EXPECT_EQ(view.hint, long_name);
  EXPECT_LE(view.entry_label_text_width(view.label), kEntryLabelWidth);
  EXPECT_NE(view.label.find("messages_of_2023.tbb"), std::string::npos);
  EXPECT_FALSE(cancel);
}

TEST_F(HandlersTest, OverallProgressSwapsTheWindowsAtStartAndEnd) {
  handlers.ArchiverOverallProgress(0, ProgressPhase::ppStart, cancel);
  handlers.ArchiverOverallProgress(42.5, ProgressPhase::ppProcess, cancel);
  EXPECT_EQ(view.overall, 42);
  handlers.ArchiverOverallProgress(100, ProgressPhase::ppEnd, cancel);
  EXPECT_EQ(view.calls,
            (decltype(view.calls){"show progress", "hide main", "taskbar 0/100", "taskbar 42/100",
                                  "hide progress", "show main", "taskbar 100/100"}));
}

TEST_F(HandlersTest, AutomaticRunChangesNoWindowAndNoTaskbar) {
  auto_bck_active = true;
  for (ProgressPhase phase :
       {ProgressPhase::ppStart, ProgressPhase::ppProcess, ProgressPhase::ppEnd})
    handlers.ArchiverOverallProgress(50, phase, cancel);
  handlers.ArchiverFileProgress("a.txt", 50, ProgressPhase::ppProcess, cancel);
  EXPECT_TRUE(view.calls.empty());
  EXPECT_EQ(view.overall, 0);
  EXPECT_EQ(view.entry_bar, 50);  // unseen, but kept up to date

  // A failure is still told (the automatic run answers it), with no window shown.
  EXPECT_THROW(handlers.ArchiverDiskFull(1, "x.zip", cancel), Aborted);
  EXPECT_EQ(dialogs.messages, (decltype(dialogs.messages){"Disk full!"}));
  EXPECT_TRUE(view.calls.empty());
}

TEST_F(HandlersTest, FailuresShowTheirTextBringTheMainWindowBackAndAbort) {
  EXPECT_THROW(handlers.ArchiverDiskFull(1, "x.zip", cancel), Aborted);
  EXPECT_THROW(handlers.ArchiverProcessFileFailure("a.txt", "Archiver: Cannot open file"), Aborted);
  EXPECT_EQ(dialogs.messages,
            (decltype(dialogs.messages){"Disk full!", "Archiver: Cannot open file"}));
  EXPECT_EQ(view.calls,
            (decltype(view.calls){"hide progress", "show main", "hide progress", "show main"}));
}

TEST_F(HandlersTest, FailingShowStepIsShownAndDoesNotReplaceTheAbort) {
  view.on_show_main = [] { throw Error("registry value of the wrong type"); };
  EXPECT_NO_THROW(handlers.ArchiverOverallProgress(100, ProgressPhase::ppEnd, cancel));
  EXPECT_THROW(handlers.ArchiverProcessFileFailure("a", "failed"), Aborted);
  EXPECT_EQ(dialogs.messages,
            (decltype(dialogs.messages){"registry value of the wrong type", "failed",
                                        "registry value of the wrong type"}));
}

TEST_F(HandlersTest, CancelRequestSetsCancelAndStopsTheRun) {
  view.cancel = true;
  EXPECT_THROW(handlers.ArchiverFileProgress("a", 10, ProgressPhase::ppProcess, cancel), Cancelled);
  EXPECT_TRUE(cancel);
  cancel = false;
  EXPECT_THROW(handlers.ArchiverOverallProgress(10, ProgressPhase::ppProcess, cancel), Cancelled);
  EXPECT_TRUE(cancel);
}

}  // namespace
}  // namespace qln::backup
