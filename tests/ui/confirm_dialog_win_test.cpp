// ConfirmDialog answers this process's own boxes with their default button.
#include "ui/confirm_dialog_win.h"

#include <gtest/gtest.h>

namespace qln::ui {
namespace {

int answered = 0;

void CALLBACK confirm_tick(HWND, UINT, UINT_PTR, DWORD) {
  if (ConfirmDialog()) ++answered;
}

int show_box_while_confirming(UINT type) {
  answered = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 200, confirm_tick);
  int result = MessageBoxW(nullptr, L"Weiter?", L"Quillane", type);
  KillTimer(nullptr, timer);
  return result;
}

TEST(ConfirmDialog, AnswersOwnMessageBoxesWithTheirDefaultButton) {
  EXPECT_EQ(show_box_while_confirming(MB_OK), IDOK);
  EXPECT_GE(answered, 1);
  EXPECT_EQ(show_box_while_confirming(MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(show_box_while_confirming(MB_YESNO | MB_DEFBUTTON2), IDNO);
}

TEST(ConfirmDialog, FindsNothingWhenThisProcessShowsNoBox) { EXPECT_EQ(ConfirmDialog(), nullptr); }

}  // namespace
}  // namespace qln::ui
