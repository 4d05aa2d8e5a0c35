#include <windows.h>

#include "backup/close_mail_client.h"
#include "client/footprint.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace qln::backup {
namespace {

// The window's process, taken before the close request: once the window has gone, its
// process can no longer be found through it.
win32::Handle open_owner(HWND window, bool& may_terminate) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  may_terminate = false;
  if (pid == 0) return {};
  win32::Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
  if (process) {
    may_terminate = true;
    return process;
  }
  return win32::Handle(OpenProcess(SYNCHRONIZE, FALSE, pid));
}

bool has_ended(const win32::Handle& process, unsigned wait_ms) {
  return WaitForSingleObject(process.get(), wait_ms) == WAIT_OBJECT_0;
}

}  // namespace

MailClientShutdown CloseMailClient(const MailClientShutdownTimes& times) {
  std::wstring window_class = win32::wide(client::kMainWindowClass);
  HWND window = FindWindowW(window_class.c_str(), nullptr);
  if (!window) return MailClientShutdown::not_running;

  bool may_terminate = false;
  win32::Handle process = open_owner(window, may_terminate);

  SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, times.close_request_ms, nullptr);
  if (!IsWindow(window)) {
    // Without a handle there is nothing to wait on; the window has gone all the same.
    if (!process || has_ended(process, times.exit_wait_ms)) return MailClientShutdown::closed;
    return MailClientShutdown::still_running;
  }
  if (!process || !may_terminate || !TerminateProcess(process.get(), 0))
    return MailClientShutdown::still_running;
  return has_ended(process, times.exit_wait_ms) ? MailClientShutdown::ended
                                                : MailClientShutdown::still_running;
}

}  // namespace qln::backup
