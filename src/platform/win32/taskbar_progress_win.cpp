#include "platform/win32/taskbar_progress.h"

#include <algorithm>

namespace qln::win32 {

TaskbarProgress::~TaskbarProgress() {
  if (taskbar_) taskbar_->Release();
  if (com_) CoUninitialize();
}

void TaskbarProgress::set(int value, int maximum) {
  if (maximum < 0) maximum = 0;
  value_ = std::clamp(value, 0, maximum);
  if (!window_ || failed_) return;
  if (!taskbar_) {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    com_ = SUCCEEDED(init);
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar_))) ||
        FAILED(taskbar_->HrInit())) {
      if (taskbar_) taskbar_->Release();
      taskbar_ = nullptr;
      failed_ = true;  // no taskbar (a server core, a test desktop): nothing to show
      return;
    }
    taskbar_->SetProgressState(window_, TBPF_NORMAL);
  }
  taskbar_->SetProgressValue(window_, ULONGLONG(value_), ULONGLONG(maximum));
}

}  // namespace qln::win32
