#pragma once
// The progress shown on a window's taskbar button (ITaskbarList3), state "normal".
#include <windows.h>
#include <shobjidl.h>

namespace qln::win32 {

class TaskbarProgress {
 public:
  TaskbarProgress() = default;
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;
  ~TaskbarProgress();

  // The window whose button shows the progress; the taskbar object is made at the first set.
  void attach(HWND window) { window_ = window; }
  // `value` is kept between 0 and `maximum`. Silent when the taskbar is not there.
  void set(int value, int maximum);
  int value() const { return value_; }

 private:
  HWND window_ = nullptr;
  ITaskbarList3* taskbar_ = nullptr;
  bool com_ = false;  // this object initialised COM and must undo it
  bool failed_ = false;
  int value_ = 0;
};

}  // namespace qln::win32
