#include "ui/confirm_dialog_win.h"

#include <string>

namespace qln::ui {
namespace {

struct Search {
  const wchar_t* class_name;
  HWND found = nullptr;
};

BOOL CALLBACK find_own(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (std::wstring(cls) != s->class_name) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND find_own_window(const wchar_t* class_name) {
  Search s{class_name};
  EnumWindows(find_own, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace

HWND ConfirmDialog() {
  HWND dialog = find_own_window(L"TMessageForm");
  if (!dialog) dialog = find_own_window(L"#32770");
  if (!dialog) return nullptr;
  SetForegroundWindow(dialog);
  ShowWindow(dialog, SW_SHOWNORMAL);
  // Enter goes to the control that has the focus inside the dialog (the default button of a
  // message box); the dialog manager of its modal loop turns it into the default command.
  HWND target = GetFocus();
  if (!target || (target != dialog && !IsChild(dialog, target))) target = dialog;
  UINT scan = MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1 | (LPARAM(scan) << 16));
  PostMessageW(target, WM_KEYUP, VK_RETURN, 1 | (LPARAM(scan) << 16) | (LPARAM(3) << 30));
  return dialog;
}

}  // namespace qln::ui
