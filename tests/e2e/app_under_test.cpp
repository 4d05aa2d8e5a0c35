#include "app_under_test.h"

#include <shellapi.h>

#include <stdexcept>

#include "platform/win32/wide.h"

namespace qln::e2e {

std::wstring wide(const std::string& s) { return win32::wide(s); }
std::string narrow(const std::wstring& s) { return win32::narrow(s); }

namespace {

std::string make_private_folder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::wstring dir = std::wstring(temp) + L"qln-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                     L"-" + std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount());
  CreateDirectoryW(dir.c_str(), nullptr);
  return narrow(dir) + "\\";
}

void remove_tree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        remove_tree(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

// The current environment with the overrides applied, as a CreateProcessW block.
std::wstring environment_block(const std::map<std::string, std::optional<std::string>>& changes) {
  std::map<std::wstring, std::wstring> vars;
  wchar_t* env = GetEnvironmentStringsW();
  for (const wchar_t* p = env; *p; p += wcslen(p) + 1) {
    std::wstring entry = p;
    auto eq = entry.find(L'=', 1);
    if (eq == std::wstring::npos) continue;
    vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  FreeEnvironmentStringsW(env);
  for (const auto& [name, value] : changes) {
    for (auto it = vars.begin(); it != vars.end();)
      it = _wcsicmp(it->first.c_str(), wide(name).c_str()) == 0 ? vars.erase(it) : std::next(it);
    if (value) vars[wide(name)] = wide(*value);
  }
  std::wstring block;
  for (const auto& [name, value] : vars) block += name + L"=" + value + L'\0';
  block += L'\0';
  return block;
}

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_top_level(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid) s->found.push_back(hwnd);
  return TRUE;
}

struct ChildSearch {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK find_child_by_text(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  wchar_t buf[1024] = {};
  GetWindowTextW(hwnd, buf, 1024);
  if (s->text == buf) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

AppUnderTest::AppUnderTest() : folder_(make_private_folder()) {
  if (!CopyFileW(wide(QLN_EXE).c_str(), wide(exe()).c_str(), FALSE))
    throw std::runtime_error("cannot copy " QLN_EXE);
  std::string temp = folder_ + "temp";
  CreateDirectoryW(wide(temp).c_str(), nullptr);
  environment["TEMP"] = temp;
}

AppUnderTest::~AppUnderTest() {
  for (std::size_t i = 0; i < instances_.size(); ++i) {
    if (running(int(i))) kill(int(i));
    CloseHandle(instances_[i].pi.hProcess);
    CloseHandle(instances_[i].pi.hThread);
  }
  std::wstring dir = wide(folder_);
  dir.pop_back();
  remove_tree(dir);
}

int AppUnderTest::start(const std::string& arguments) {
  std::wstring cmd = L"\"" + wide(exe()) + L"\"";
  if (!arguments.empty()) cmd += L" " + wide(arguments);
  std::wstring env = environment_block(environment);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  Instance inst;
  std::wstring dir = wide(folder_);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      env.data(), dir.c_str(), &si, &inst.pi))
    throw std::runtime_error("cannot start quillane.exe");
  instances_.push_back(inst);
  return int(instances_.size()) - 1;
}

DWORD AppUnderTest::pid(int instance) const { return instances_.at(instance).pi.dwProcessId; }

std::optional<DWORD> AppUnderTest::wait_exit(int instance, DWORD timeout_ms) {
  HANDLE h = instances_.at(instance).pi.hProcess;
  if (WaitForSingleObject(h, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(h, &code);
  return code;
}

void AppUnderTest::kill(int instance) {
  HANDLE h = instances_.at(instance).pi.hProcess;
  TerminateProcess(h, 1);
  WaitForSingleObject(h, 10000);
}

bool AppUnderTest::running(int instance) const {
  return WaitForSingleObject(instances_.at(instance).pi.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> AppUnderTest::top_level_windows(int instance) const {
  WindowSearch s{pid(instance), {}};
  EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND AppUnderTest::wait_window(const std::string& text, DWORD timeout_ms, int instance) const {
  HWND found = nullptr;
  wait_until(
      [&] {
        for (HWND h : top_level_windows(instance))
          if (IsWindowVisible(h) && class_name(h) == "QuillaneForm" && window_text(h) == text) {
            found = h;
            return true;
          }
        return false;
      },
      timeout_ms);
  return found;
}

HWND AppUnderTest::find_window_of_class(const std::string& cls, int instance) const {
  for (HWND h : top_level_windows(instance))
    if (class_name(h) == cls) return h;
  return nullptr;
}

std::string window_text(HWND hwnd) {
  wchar_t buf[2048] = {};
  GetWindowTextW(hwnd, buf, 2048);
  return narrow(buf);
}

std::string class_name(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return narrow(buf);
}

HWND find_child(HWND parent, const std::string& text) {
  ChildSearch s{wide(text)};
  EnumChildWindows(parent, find_child_by_text, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool visible(HWND hwnd) { return IsWindow(hwnd) && IsWindowVisible(hwnd); }

void click(HWND control) {
  if (class_name(control) == "Button") {
    PostMessageW(control, BM_CLICK, 0, 0);
    return;
  }
  RECT r;
  GetClientRect(control, &r);
  LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeout_ms) return condition();
    Sleep(50);
  }
}

void answer(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::string dialog_message(HWND dialog) {
  std::string text;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (class_name(child) == "Static") text += window_text(child);
  return text;
}

std::string read_file(const std::string& path) {
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, data.data(), DWORD(data.size()), &got, nullptr);
  CloseHandle(h);
  data.resize(got);
  return data;
}

void write_file(const std::string& path, const std::string& data) {
  HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace qln::e2e
