#include "ui/dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/wide.h"

namespace qln::ui {

using win32::narrow;
using win32::wide;

namespace {

HWND owner_window() {
  HWND active = GetActiveWindow();
  return active ? active : GetForegroundWindow();
}

struct BrowseState {
  std::wstring start, status;
};

int CALLBACK browse_callback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  auto* state = reinterpret_cast<BrowseState*>(data);
  if (msg == BFFM_INITIALIZED) {
    if (!state->start.empty())
      SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->start.c_str()));
    if (!state->status.empty())
      SendMessageW(hwnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(state->status.c_str()));
  }
  return 0;
}

// "description|pattern|..." as the double-NUL list the file dialogs take.
std::wstring filter_list(const std::string& filter) {
  std::wstring f = wide(filter);
  for (auto& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

std::optional<std::string> run_file_dialog(const FileRequest& r, bool save) {
  std::wstring filter = filter_list(r.filter);
  std::wstring ext = wide(r.default_extension);
  std::wstring folder = wide(r.initial_folder);
  std::wstring title = wide(r.title);
  std::vector<wchar_t> name(32768, L'\0');
  std::wstring initial = wide(r.file_name);
  initial.copy(name.data(), std::min(initial.size(), name.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_window();
  ofn.lpstrFilter = r.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = DWORD(name.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (save) {
    if (r.overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  }
  return narrow(name.data());
}

}  // namespace

void WinDialogs::message(const std::string& text) {
  MessageBoxW(owner_window(), wide(text).c_str(), wide(app_.title()).c_str(), MB_OK);
}

bool WinDialogs::confirm(const std::string& text) {
  return MessageBoxW(owner_window(), wide(text).c_str(), wide(app_.title()).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::string> WinDialogs::choose_folder(const FolderRequest& request) {
  if (!request.start_folder.empty()) last_folder_ = request.start_folder;
  if (!request.status_text.empty()) last_status_ = request.status_text;
  BrowseState state{wide(last_folder_), wide(last_status_)};
  std::wstring title = state.status;
  BROWSEINFOW bi{};
  bi.hwndOwner = owner_window();
  bi.lpszTitle = title.c_str();
  bi.ulFlags =
      BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_VALIDATE;
  bi.lpfn = browse_callback;
  bi.lParam = reinterpret_cast<LPARAM>(&state);
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return std::nullopt;
  std::vector<wchar_t> path(32768, L'\0');
  BOOL ok = SHGetPathFromIDListEx(pidl, path.data(), DWORD(path.size()), GPFIDL_DEFAULT);
  CoTaskMemFree(pidl);
  if (!ok) return std::nullopt;
  std::string chosen = narrow(path.data());
  while (chosen.size() > 3 && chosen.back() == '\\') chosen.pop_back();
  last_folder_ = chosen;
  return chosen;
}

std::optional<std::string> WinDialogs::choose_open_file(const FileRequest& request) {
  return run_file_dialog(request, false);
}

std::optional<std::string> WinDialogs::choose_save_file(const FileRequest& request) {
  return run_file_dialog(request, true);
}

}  // namespace qln::ui
