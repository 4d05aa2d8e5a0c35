#pragma once
// Starts the real quillane.exe from a private folder of its own (so its settings file and
// language files stay apart from other tests), finds its windows and controls by their texts,
// clicks them, and stops the program.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qln::e2e {

class AppUnderTest {
 public:
  AppUnderTest();   // a fresh private folder holding a copy of quillane.exe
  ~AppUnderTest();  // kills what still runs and removes the folder

  const std::string& folder() const { return folder_; }  // with trailing backslash
  std::string exe() const { return folder_ + "quillane.exe"; }

  // Environment variables for the next start: a value, or nullopt to remove the variable.
  std::map<std::string, std::optional<std::string>> environment;

  // Starts one more instance with a raw argument string; returns its index.
  int start(const std::string& arguments = {});
  DWORD pid(int instance = 0) const;
  // Waits for the instance to end; nullopt on time-out, else its exit code.
  std::optional<DWORD> wait_exit(int instance, DWORD timeout_ms);
  void kill(int instance = 0);
  bool running(int instance = 0) const;

  // The first visible top-level window of the program's own class with that exact text
  // (nullptr on time-out). Message boxes carry the application title too, but not this class.
  HWND wait_window(const std::string& text, DWORD timeout_ms = 20000, int instance = 0) const;
  // The first top-level window of the instance of that class, visible or not.
  HWND find_window_of_class(const std::string& class_name, int instance = 0) const;
  std::vector<HWND> top_level_windows(int instance = 0) const;

 private:
  struct Instance {
    PROCESS_INFORMATION pi{};
  };
  std::string folder_;
  std::vector<Instance> instances_;
};

// Window helpers, usable on any window of any process.
std::string window_text(HWND hwnd);
std::string class_name(HWND hwnd);
HWND find_child(HWND parent, const std::string& text);  // by exact window text
bool visible(HWND hwnd);
// A click as the user makes it: buttons get BM_CLICK, other controls a button press and release.
void click(HWND control);
// Waits until `condition` holds or the time is up; returns the last value of condition.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms);
// Closes a message box or dialog by its default button (IDOK, else IDYES).
void answer(HWND dialog, int id = IDOK);
// The texts of a dialog's static controls (the message of a message box).
std::string dialog_message(HWND dialog);

// Whole files, for looking at what the program wrote (empty when the file is missing).
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& data);

std::wstring wide(const std::string& s);
std::string narrow(const std::wstring& s);

}  // namespace qln::e2e
