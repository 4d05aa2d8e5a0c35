#include <windows.h>
#include <shellapi.h>

#include "platform/dialogs.h"
#include "platform/processes.h"
#include "platform/win32/handle.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

std::string system_error_text(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) text = L"Systemfehler " + std::to_wstring(code);
  return win32::narrow(text);
}

class ShellCommandRunner final : public CommandRunner {
 public:
  ShellCommandRunner(Dialogs& dialogs, std::function<void()> pump)
      : dialogs_(dialogs),
        pump_(pump ? std::move(pump) : std::function<void()>(win32::pump_pending_messages)) {}

  bool run_and_wait(const std::string& file, const std::string& parameters) override {
    return RunAndWait(dialogs_, pump_, file, parameters);
  }
  void process_messages() override { pump_(); }

 private:
  Dialogs& dialogs_;
  std::function<void()> pump_;
};

}  // namespace

bool RunAndWait(Dialogs& dialogs, const std::function<void()>& process_messages,
                const std::string& file, const std::string& parameters) {
  std::wstring wfile = win32::wide(file);
  std::wstring wparameters = win32::wide(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No shell error box of its own: the failure is shown once, with the system's text, below.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = GetActiveWindow();
  info.lpVerb = L"open";
  info.lpFile = wfile.c_str();
  info.lpParameters = wparameters.c_str();
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info)) {
    dialogs.message(system_error_text(GetLastError()));
    return false;
  }
  win32::Handle process(info.hProcess);
  if (!process) return true;  // handed to a running program: nothing of ours to wait for
  while (WaitForSingleObject(process.get(), 50) == WAIT_TIMEOUT) {
    if (process_messages)
      process_messages();
    else
      win32::pump_pending_messages();
  }
  return true;
}

std::unique_ptr<CommandRunner> make_command_runner(Dialogs& dialogs,
                                                   std::function<void()> process_messages) {
  return std::make_unique<ShellCommandRunner>(dialogs, std::move(process_messages));
}

}  // namespace qln
