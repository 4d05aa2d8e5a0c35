#include <windows.h>
#include <shlobj.h>

#include "platform/environment.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

std::string with_backslash(std::string p) {
  if (!p.empty() && p.back() != '\\') p += '\\';
  return p;
}

class Win32Environment final : public Environment {
 public:
  std::optional<std::string> variable(const std::string& name) override {
    std::wstring wname = win32::wide(name);
    SetLastError(0);
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
    value.resize(n);
    return win32::narrow(value);
  }
  std::string temp_directory() override {
    wchar_t buf[MAX_PATH + 2];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    return with_backslash(win32::narrow(std::wstring(buf, n)));
  }
  std::string startup_folder() override {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &pidl)) || !pidl) return {};
    wchar_t buf[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListW(pidl, buf);
    CoTaskMemFree(pidl);
    if (!ok || !buf[0]) return {};
    return with_backslash(win32::narrow(buf));
  }
  std::string program_folder() override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
      if (n < path.size()) {
        path.resize(n);
        break;
      }
      path.resize(path.size() * 2);
    }
    return win32::narrow(path.substr(0, path.find_last_of(L'\\') + 1));
  }
  std::string time_separator() override {
    wchar_t buf[8] = {};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, buf, 8) || !buf[0]) return ":";
    return win32::narrow(buf);
  }
  LocalTime now() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  }
};

}  // namespace

Environment& local_environment() {
  static Win32Environment instance;
  return instance;
}

}  // namespace qln
